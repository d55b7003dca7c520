// The painting screen's services: printing, the import panel and the
// imported picture, the sprayed animations and the feedback sounds.
#include "canvas/canvas_visual.h"
#include "engine/animation_molecule.h"
#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/molecule.h"
#include "engine/picture_molecule.h"
#include "engine/stage.h"
#include "engine/stage_window.h"
#include "media/offscreen_surface.h"
#include "media/sound/logical_sound_channel.h"
#include "media/visual.h"
#include "selection/slate_store.h"
#include "shell/app.h"
#include "shell/creation_parts.h"
#include "shell/creation_scene.h"
#include "shell/radio.h"
#include "shell/widgets/animated_button.h"
#include "stamps/recorded_stamps.h"

namespace {

const int16_t kPanelLayer = 9999;
const int16_t kPanelButtonOffset = 10000;
const int16_t kImportTable = 1273;
const int16_t kPrintTable = 1294;
const int16_t kPanelExtra = 2;
const int16_t kPhaserTable = 464;
const int16_t kPhaserExtra = 4;
const int16_t kSprayLayerOffset = 1000;
const int32_t kFullPage = 3;
const int32_t kPrintDone = 1;

// The background of a panel: the table that the first row names after its
// script.
MMPictureMolecule* PanelBackground(MMBaseScene* scene, const MMRecordTable& table)
{
    if (table.RowCount() < 1)
        return nullptr;
    MMRecordTable background;
    background.Load(table.LongAt(0, 6), 8, gDefaultHeap);
    if (background.RowCount() < 1)
        return nullptr;
    return new (gDefaultHeap) MMPictureMolecule(scene, MMPictureID(background.LongAt(0, 4)),
                                                background.PairAt(0, 0), kPanelLayer);
}

MMVisualMolecule* PanelBlocker(MMBaseScene* scene)
{
    auto* box = new (gDefaultHeap) MMBoxVisual(kStageBox, kPanelLayer);
    return box ? new (gDefaultHeap) MMVisualMolecule(scene, box) : nullptr;
}

// "End of Sprayed animation": the picture goes into the plane.
class SprayEndCommand : public MMCommand {
public:
    SprayEndCommand(MMStage* stage, CreationScene* scene, MMAnimationMolecule* animation,
                    int32_t picture, Pair origin, bool paste)
        : MMCommand("End of Sprayed animation", stage),
          scene(scene),
          animation(animation),
          picture(picture),
          origin(origin),
          paste(paste) {}
    MMCommand* Clone() const override { return new (gDefaultHeap) SprayEndCommand(*this); }
    void Perform() override { scene->EndOfSprayedAnimation(animation, picture, origin, paste); }

private:
    CreationScene* scene;
    MMAnimationMolecule* animation;
    int32_t picture;
    Pair origin;
    bool paste;
};

template <class T>
void DeleteAndClear(T*& pointer)
{
    delete pointer;
    pointer = nullptr;
}

}  // namespace

// Printing.

void CreationScene::handlePrintCmd()
{
    if (printDimmed)
        return;
    CreationPrepareStamps(stampManager);
    PrintKind(kFullPage);
}

int32_t CreationScene::PrintKind(int32_t kind)
{
    if (!canvasPlane || !gApp)
        return 0;
    bool radioWasPlaying = radio && radio->State() == kRadioStampPlacing;
    WinMMOffscreenSurface* surface =
        MMSurface::CreateBitmapDC(32, Box{0, 0, canvasPlane->width, canvasPlane->height}, nullptr);
    if (!surface)
        return 0;
    KVXStampsBlock block;
    CreationStampsToBlock(stampManager, block);
    KVXRecordedStamps stamps(block);
    canvasPlane->RenderWithOverlays(surface, &stamps, SlateStore(), 0, false);
    int32_t result = gApp->PrintPicture(surface, stampManager, SlateStore(), kind, false);
    surface->Dispose();
    CreationGlueLastAnimatedStamp(stampManager);
    if (radioWasPlaying)
        radio->EnterIdleState();
    return result;
}

void CreationScene::OpenPrintPanel()
{
    if (printBlocker)
        return;
    CreationCoverTextBox(toolManager, true);
    SetMenuAllowed(false);
    MMRecordTable table;
    table.LoadTenByteRows(kPrintTable, kPanelExtra);
    printBlocker = PanelBlocker(this);
    printBackground = PanelBackground(this, table);
    static const char* const names[6] = {
        "HandlePrintStickerButton",   "HandlePrintPostcardButton", "HandlePrintGreetingcardButton",
        "HandlePrintFullpageButton", "HandlePrintFlipbookButton", "HandlePrintCancelButton"};
    for (int32_t i = 0; i < 6 && i < table.RowCount(); ++i) {
        MMCommand* command =
            i == 5 ? Command(names[i], &CreationScene::HandlePrintCancelButton)
                   : new (gDefaultHeap) MMClassCommand1Parameter<CreationScene,
                                                                 void (CreationScene::*)(int32_t),
                                                                 int32_t>(
                         names[i], stage_, this, &CreationScene::HandlePrintKindButton, i);
        printButtons[i] = new (gDefaultHeap) KVXAnimatedButtonMolecule(
            this, table.LongAt(i, 2), command, kPanelButtonOffset, 0, 100, 1);
    }
}

void CreationScene::HandlePrintKindButton(int32_t kind)
{
    if (PrintKind(kind) != kPrintDone)
        ClosePrintPanel();
}

void CreationScene::HandlePrintCancelButton() { ClosePrintPanel(); }

void CreationScene::ClosePrintPanel()
{
    if (!printBlocker)
        return;
    for (KVXAnimatedButtonMolecule*& button : printButtons)
        DeleteAndClear(button);
    DeleteAndClear(printBackground);
    DeleteAndClear(printBlocker);
    CreationCoverTextBox(toolManager, false);
    SetMenuAllowed(true);
}

// The import panel.

void CreationScene::HandleImportButton()
{
    if (importBlocker || !gApp)
        return;
    CreationCoverTextBox(toolManager, true);
    SetMenuAllowed(false);
    MMRecordTable table;
    table.LoadTenByteRows(kImportTable, kPanelExtra);
    importBlocker = PanelBlocker(this);
    importBackground = PanelBackground(this, table);
    if (table.RowCount() > 0)
        importButtons[0] = new (gDefaultHeap) KVXAnimatedButtonMolecule(
            this, table.LongAt(0, 2),
            Command("HandleImportFileButton", &CreationScene::HandleImportFileButton),
            kPanelButtonOffset, 0, 100, 1);
    int32_t twainRow = table.FindRowByKey(1, 0, 1);
    bool sources = gApp->TwainSourceCount() > 0;
    if (sources && twainRow >= 0) {
        importButtons[1] = new (gDefaultHeap) KVXAnimatedButtonMolecule(
            this, table.LongAt(twainRow, 2),
            Command("HandleImportTwainButton", &CreationScene::HandleImportTwainButton),
            kPanelButtonOffset, 0, 100, 1);
    } else if (table.RowCount() > 3) {
        importButtons[1] = new (gDefaultHeap) KVXAnimatedButtonMolecule(
            this, table.LongAt(3, 2), nullptr, kPanelButtonOffset, 0, 100, 1);
        if (importButtons[1]) {
            importButtons[1]->Run(kLabelDimmed);
            importButtons[1]->SetActive(false, false);
        }
    }
    if (table.RowCount() > 2)
        importButtons[2] = new (gDefaultHeap) KVXAnimatedButtonMolecule(
            this, table.LongAt(2, 2),
            Command("HandleImportCancelButton", &CreationScene::HandleImportCancelButton),
            kPanelButtonOffset, 0, 100, 1);
}

void CreationScene::HandleImportFileButton()
{
    CloseImportPanel();
    WinMMOffscreenSurface* surface = gApp ? gApp->ImportPicture() : nullptr;
    if (!surface) {
        if (!gApp || !gApp->CanImportFiles())
            EnsureSoundChannel();
        return;
    }
    SetImportedPicture(surface);
    PlaceImportedPicture();
}

void CreationScene::HandleImportTwainButton()
{
    CloseImportPanel();
    if (gApp)
        gApp->PostBringUpTwain();
}

void CreationScene::HandleImportCancelButton() { CloseImportPanel(); }

void CreationScene::CloseImportPanel()
{
    if (!importBlocker)
        return;
    for (KVXAnimatedButtonMolecule*& button : importButtons)
        DeleteAndClear(button);
    DeleteAndClear(importBackground);
    DeleteAndClear(importBlocker);
    CreationCoverTextBox(toolManager, false);
    SetMenuAllowed(true);
}

void CreationScene::SetMenuAllowed(bool allowed)
{
    MMStageWindow* window = stage_->Window();
    if (!allowed && window)
        window->SetMenu(false);
    if (gApp)
        gApp->SetMenuAllowed(allowed);
}

void CreationScene::SetImportedPicture(WinMMOffscreenSurface* surface)
{
    if (importedPicture && importedPicture != surface)
        importedPicture->Dispose();
    importedPicture = surface;
}

// The picture becomes the rope's floating selection; without the rope it is
// refused with the refusal sound.
void CreationScene::PlaceImportedPicture()
{
    WinMMOffscreenSurface* surface = importedPicture;
    if (gApp)
        surface = gApp->TakeImportedPicture(surface);
    importedPicture = nullptr;
    if (!surface)
        return;
    if (!CreationTakeAsSelection(toolManager, surface))
        EnsureSoundChannel();
    surface->Dispose();
}

// Sprayed animations.

void CreationScene::StartSprayedAnimation(int32_t animation, int32_t picture, const Pair& point,
                                          bool paste)
{
    Pair half = {0, 0};
    if (picture != MM_NO_RESOURCE) {
        Pair size = CreationPictureSize(picture);
        half = {size.x / 2, size.y / 2};
    }
    Pair origin = {point.x - half.x, point.y - half.y};
    if (animation == MM_NO_RESOURCE) {
        if (picture != MM_NO_RESOURCE)
            EndOfSprayedAnimation(nullptr, picture, origin, paste);
        return;
    }
    auto* molecule = new (gDefaultHeap) MMAnimationMolecule(this, animation, 1);
    if (!molecule)
        return;
    molecule->SetOffset(CanvasBox.left + origin.x, CanvasBox.top + origin.y);
    molecule->SetLayerOffset(kSprayLayerOffset);
    molecule->SetDoneCommand(new (gDefaultHeap) SprayEndCommand(stage_, this, molecule, picture,
                                                                origin, paste));
    MMCommand* run = molecule->MakeGotoCommand(1);
    if (run) {
        run->Post();
        delete run;
    }
    ++runningAnimations;
}

void CreationScene::EndOfSprayedAnimation(MMAnimationMolecule* animation, int32_t picture,
                                          Pair origin, bool paste)
{
    if (picture != MM_NO_RESOURCE && canvasPlane) {
        MMPictureReference reference;
        reference.Load(picture);
        if (paste)
            canvasPlane->PastePicture(reference, origin);
        else
            canvasPlane->LoadFromPicture(reference, origin);
        Pair size = reference.GetSize();
        Box area = {origin.x - 1, origin.y - 1, origin.x + size.x + 1, origin.y + size.y + 1};
        area.Intersect(canvasPlane->Bounds());
        if (!area.IsEmpty())
            canvasPlane->AddDirtyRect(area);
        if (canvasVisual)
            canvasVisual->Invalidate();
        canvasPlane->MarkChanged();
    }
    if (animation) {
        QueueCommand(new (gDefaultHeap) MMClassCommand1Parameter<
                     CreationScene, void (CreationScene::*)(MMAnimationMolecule*),
                     MMAnimationMolecule*>("Delete an animation", stage_, this,
                                           &CreationScene::DeleteAnimation, animation));
    }
}

void CreationScene::DeleteAnimation(MMAnimationMolecule* animation)
{
    const std::vector<MMMolecule*>& list = Molecules();
    for (MMMolecule* molecule : list) {
        if (molecule == animation) {
            delete animation;
            break;
        }
    }
    if (runningAnimations > 0)
        --runningAnimations;
}

// Feedback sounds.

void CreationScene::EnsureSoundChannel()
{
    int32_t row = layout.FindRowByKey(kLayoutRefusalSound);
    if (row < 0) {
        MMRecordTable table;
        table.LoadTenByteRows(kCreationLayoutTable, kCreationLayoutExtra);
        row = table.FindRowByKey(kLayoutRefusalSound);
        PlayOn(feedbackChannel, row < 0 ? MM_NO_RESOURCE : table.LongAt(row, 2));
        return;
    }
    PlayOn(feedbackChannel, layout.LongAt(row, 2));
}

void CreationScene::PlayPhaserSound()
{
    MMRecordTable table;
    table.LoadTenByteRows(kPhaserTable, kPhaserExtra);
    int32_t row = table.FindRowByKey(1);
    PlayOn(phaserChannel, row < 0 ? MM_NO_RESOURCE : table.LongAt(row, 2));
}

void CreationScene::DeleteSoundChannel()
{
    if (!phaserChannel)
        return;
    phaserChannel->Stop();
    DeleteAndClear(phaserChannel);
}
