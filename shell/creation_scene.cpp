#include "shell/creation_scene.h"

#include "canvas/canvas_visual.h"
#include "canvas/siren_handler.h"
#include "canvas/undo_snapshot.h"
#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/molecule.h"
#include "engine/mouse_interpreter.h"
#include "engine/picture_molecule.h"
#include "engine/stage.h"
#include "engine/stage_control.h"
#include "media/offscreen_surface.h"
#include "media/picture_visual.h"
#include "media/sound/logical_sound_channel.h"
#include "selection/slate_store.h"
#include "shell/app.h"
#include "shell/creation_parts.h"
#include "shell/menu_commands.h"
#include "shell/next_time_thread.h"
#include "shell/radio.h"
#include "shell/registry_settings.h"
#include "shell/widgets/animated_button.h"
#include "shell/widgets/quit_button.h"
#include "shell/widgets/scroll_bars.h"
#include "shell/widgets/toggle_button.h"
#include "trays/manager_tool.h"
#include "trays/texture_list.h"
#include "trays/texture_molecule.h"

namespace {

const int16_t kDecorationLayer = 100;
const int16_t kLeftFrameLayer = 95;
const int16_t kBadgeLayer = 101;
const int16_t kCanvasLayer = 50;
const int16_t kBlockerLayer = 9999;
const int16_t kDecorationKeys[] = {kLayoutToolIndicatorTable, 52, 50, 51};

}  // namespace

CreationScene::CreationScene(MMStage* stage, KVXPlaneComponentTop* plane, UndoSnapshot* snapshot)
    : KVXBaseScene(stage), canvasPlane(plane), undoSnapshot(snapshot)
{
    if (canvasPlane) {
        canvasPlane->Fill(kBlankPixel);
        texturePlane = new (gDefaultHeap) KVXPlaneUCharTop(canvasPlane->Size());
        if (texturePlane && texturePlane->bits)
            texturePlane->Fill(128);
    }
}

CreationScene::~CreationScene()
{
    DeleteManagers();
    delete nextTime;
    delete importedPicture;
    delete texturePlane;
}

MMCommand* CreationScene::Command(const char* name, void (CreationScene::*method)())
{
    return new (gDefaultHeap) MMClassCommand<CreationScene>(name, stage_, this, method);
}

void CreationScene::Begin()
{
    pageFlag = 1;
    if (gApp)
        gApp->EnterCanvas();
    inputBlocker = new (gDefaultHeap)
        MMMouseVisualMolecule(this, static_cast<MMStandardMouseInterpreter*>(nullptr),
                              kStageBox, kBlockerLayer);
    if (inputBlocker)
        inputBlocker->Hide();
    if (gApp)
        gApp->ReleasePassageStamps();
    if (stage_->Control())
        stage_->Control()->FlushInput();
    nextTime = new (gDefaultHeap) NextTimeThread(stage_);
    if (nextTime)
        nextTime->Activate();
    if (!feedbackChannel && stage_->SoundManager())
        feedbackChannel = new (gDefaultHeap) MMGenericSoundChannel(stage_->SoundManager());
    layout.LoadTenByteRows(kCreationLayoutTable, kCreationLayoutExtra);
    Decorate();
    MakeModeButtons();
    MakeCanvas();
    // Rows 55 and 57 place their pictures like the decoration rows, side by
    // side: one over the other, the lower one showed only at the edges.
    Pair badgePosition;
    MMPictureID badgePicture;
    if (CreationPlacedPicture(layout, kLayoutRainbowBadge, 0, badgePosition, badgePicture))
        rainbowBadge = new (gDefaultHeap)
            MMPictureMolecule(this, badgePicture, badgePosition, kDecorationLayer);
    MakeRadio();
    MakeManagers();
    LoadPage();
    if (canvasVisual) {
        canvasMolecule = new (gDefaultHeap) MMVisualMolecule(this, canvasVisual);
        canvasVisual->SetDrawMethod(kDrawStatic, 0, 0);
        canvasPlane->MarkAllDirty();
        canvasVisual->Invalidate();
    }
    if (stage_->Control())
        TakeKeyboardFocus();
    mode = savedMode;
    MakeButtons();
    MMResourceId startingTexture = StartingTexture();
    texture.Load(startingTexture);
    ApplyTexture(startingTexture);
    textureMolecule = new (gDefaultHeap)
        KVXTextureMolecule(this, Command("Texture button Create", &CreationScene::TextureButtonCreate));
    TextureButtonCreate();
    MakeZoomToggle();
    MakePlayButtons();
    if (stage_->Control())
        stage_->Control()->FlushInput();
    EnterMode();
    if (gApp)
        gApp->PostInitializeTwain();
    playDimmed[kPlaySlot] = 1;
    playDimmed[kStopSlot] = 1;
    CreationGlueFlaggedStamps(stampManager);
    UpdateStampButtons();
}

// The rows keyed 48, 52, 50 and 51 each name a table whose first row places
// a picture; row 56 two pictures, one above the other; row 55 one picture,
// placed the same way.
void CreationScene::Decorate()
{
    for (int16_t key : kDecorationKeys) {
        Pair position;
        MMPictureID picture;
        if (!CreationPlacedPicture(layout, key, 0, position, picture))
            continue;
        auto* molecule =
            new (gDefaultHeap) MMPictureMolecule(this, picture, position, kDecorationLayer);
        if (key == kLayoutToolIndicatorTable)
            modeIndicator = molecule;
    }
    Pair first;
    MMPictureID lower;
    Pair unused;
    MMPictureID upper;
    if (CreationPlacedPicture(layout, kLayoutLeftFrames, 0, first, lower)) {
        new (gDefaultHeap) MMPictureMolecule(this, lower, first, kLeftFrameLayer);
        if (CreationPlacedPicture(layout, kLayoutLeftFrames, 1, unused, upper)) {
            Pair above = {first.x, first.y - CreationPictureSize(lower).y};
            new (gDefaultHeap) MMPictureMolecule(this, upper, above, kLeftFrameLayer);
        }
    }
    Pair badgePosition;
    MMPictureID badgePicture;
    if (CreationPlacedPicture(layout, kLayoutBadge, 0, badgePosition, badgePicture))
        new (gDefaultHeap) MMPictureMolecule(this, badgePicture, badgePosition, kBadgeLayer);
}

void CreationScene::MakeCanvas()
{
    if (!canvasPlane)
        return;
    canvasVisual = new (gDefaultHeap)
        KVXCanvasVisual(this, this, CanvasBox, kCanvasLayer, canvasPlane, undoSnapshot);
    if (!canvasVisual)
        return;
    canvasVisual->Activate();
    canvasVisual->SnapshotForUndo(false);
}

KVXSlateRecording* CreationScene::MakeSlateRecording()
{
    return new (gDefaultHeap) MagicSlateStore;
}

MagicSlateStore* CreationScene::SlateStore() const
{
    return canvasVisual ? static_cast<MagicSlateStore*>(canvasVisual->Slate()) : nullptr;
}

MMScrollBarVisual* CreationScene::MakeZoomScrollBarVisual(MMResourceId picture,
                                                         MMResourceId firstTable,
                                                         MMResourceId secondTable,
                                                         const Box& strip)
{
    MMRecordTable first;
    MMRecordTable second;
    first.Load(firstTable, 12, gDefaultHeap);
    second.Load(secondTable, 12, gDefaultHeap);
    if (first.RowCount() < 1 || second.RowCount() < 1)
        return nullptr;
    KVXZoomScrollBarVisual::Pictures pictures = {
        MMPictureID(first.LongAt(0, 0)),  MMPictureID(first.LongAt(0, 4)),
        MMPictureID(first.LongAt(0, 8)),  MMPictureID(second.LongAt(0, 0)),
        MMPictureID(second.LongAt(0, 4)), MMPictureID(picture),
    };
    auto* visual = new (gDefaultHeap)
        KVXZoomScrollBarVisual(strip.left, strip.top, pictures, int16_t(kCanvasLayer + 1));
    if (visual)
        visual->SetBox(strip);
    return visual;
}

void CreationScene::LoadPage()
{
    if (gApp && gApp->LoadCurrentPage(SlateStore()) && gApp->PageStamps())
        CreationStampsFromBlock(stampManager, *gApp->PageStamps());
    if (canvasPlane) {
        canvasPlane->MarkAllDirty();
        canvasPlane->MarkChanged();
    }
    ReadRadioState();
}

void CreationScene::QueueCommand(MMCommand* command)
{
    if (nextTime)
        nextTime->Enqueue(command);
    else
        delete command;
}

bool CreationScene::HandleKey(uint32_t keyData)
{
    if (mode == kToolMode && CreationToolManagerKey(toolManager, keyData))
        return true;
    return CreationStampManagerKey(stampManager, keyData);
}

bool CreationScene::HandleMenuCommand(int32_t id)
{
    switch (id) {
    case kMenuImportedPicture:
        PlaceImportedPicture();
        return true;
    case kMenuPrint:
        handlePrintCmd();
        return true;
    case kMenuImport:
        HandleImportButton();
        return true;
    case kMenuPrinting:
        DimPrintByPrinting();
        return true;
    case kMenuUndo:
        handleUndoCmd();
        return true;
    default:
        break;
    }
    if (mode == kToolMode && CreationToolManagerMenu(toolManager, id))
        return true;
    return CreationStampManagerMenu(stampManager, id);
}

void CreationScene::DeleteMolecules()
{
    if (nextTime) {
        nextTime->Terminate();
        delete nextTime;
        nextTime = nullptr;
    }
    delete sirenHandler;
    sirenHandler = nullptr;
    for (MMGenericSoundChannel** channel : {&feedbackChannel, &phaserChannel}) {
        if (*channel) {
            (*channel)->Stop();
            delete *channel;
            *channel = nullptr;
        }
    }
    if (mode == kToolMode && !CreationTrayIsCurrent(toolManager, kMagicSlateCollection))
        CreationToolManagerFinish(toolManager, true);
    if (canvasVisual) {
        canvasVisual->SetDrawMethod(kDrawStatic, 0, 0);
        canvasVisual->Invalidate();
    }
    if (gApp) {
        WriteRadioState();
        gApp->LeaveCanvas();
    }
    if (auto* held = dynamic_cast<MMStandardMouseInterpreter*>(stage_->PointerInterpreter()))
        held->ReleaseCapture();
    savedMode = mode;
    if (gApp)
        gApp->creationMode = mode;
    if (mode == kStampMode) {
        CreationStampManagerEnd(stampManager);
        EnableMenuItem(kMenuImport, true);
    } else {
        EndTools();
    }
    if (canvasVisual)
        canvasVisual->Terminate();
    texture.Clear();
    CreationRemoveAllStamps(stampManager);
    CloseImportPanel();
    ClosePrintPanel();
    // The buttons, the blocker, the canvas visual and the pictures go with
    // the scene's molecules.
    KVXBaseScene::DeleteMolecules();
    DeleteRadio();
    canvasVisual = nullptr;
    canvasMolecule = nullptr;
    inputBlocker = nullptr;
    modeIndicator = nullptr;
    rainbowBadge = nullptr;
    modeAnimation = nullptr;
    textureMolecule = nullptr;
    printButton = importButton = flushButton = undoButton = nullptr;
    newPictureButton = sketchbookButton = toolModeButton = stampModeButton = nullptr;
    exitButton = nullptr;
    zoomToggle = nullptr;
    for (int32_t i = 0; i < 4; ++i) {
        playButtons[i] = nullptr;
        playDimmed[i] = 1;
    }
    runningAnimations = 0;
    layout.Free();
}

void CreationScene::MakeRadio()
{
    radio = new (gDefaultHeap) KVXRadio(this, stage_->SoundManager(), 0);
    if (radio)
        radio->Begin();
}

void CreationScene::DeleteRadio()
{
    delete radio;
    radio = nullptr;
}

void CreationScene::ReadRadioState()
{
    if (radio && gApp)
        radio->ReadState(gApp->PageSceneData());
}

void CreationScene::WriteRadioState()
{
    if (radio && gApp)
        radio->WriteState(gApp->PageSceneData());
}

KVXPaletteTarget* CreationScene::ColorPickerOwner() { return CreationPaletteTarget(toolManager); }

MMCursor* CreationScene::AppCursor(int32_t n) { return gApp ? gApp->GetCursor(n) : nullptr; }

UURegistryKey* CreationScene::SettingsKey()
{
    return gApp && gApp->Settings() ? gApp->Settings()->Key() : nullptr;
}

void CreationScene::BeginTools() { CreationToolManagerBegin(toolManager); }

void CreationScene::EndTools() { CreationToolManagerEnd(toolManager); }
