// The painting screen's buttons: the two modes and their switches, the
// buttons around the easel, the zoom toggle and the play buttons.
#include "canvas/canvas_visual.h"
#include "canvas/siren_handler.h"
#include "engine/command.h"
#include "engine/picture_molecule.h"
#include "engine/stage.h"
#include "engine/stage_cursors.h"
#include "engine/stage_window.h"
#include "media/picture_visual.h"
#include "selection/slate_store.h"
#include "shell/app.h"
#include "shell/creation_parts.h"
#include "shell/creation_scene.h"
#include "shell/menu_commands.h"
#include "shell/radio.h"
#include "shell/registry_settings.h"
#include "shell/widgets/animated_button.h"
#include "shell/widgets/quit_button.h"
#include "shell/widgets/toggle_button.h"

namespace {

const int16_t kButtonLayerOffset = 106;
const int16_t kToolModeLayerOffset = 5;
const int16_t kStampModeLayerOffset = -1;
const int16_t kModeAnimationLayerOffset = 97;
const int16_t kButtonPriority = 100;
const int16_t kResourceMode = 1;
const int16_t kZoomLayer = 106;
const MMResourceId kZoomClick = 148;
const int16_t kPlayTable = 1007;
const int16_t kPlayTableExtra = 4;
// Table 1007's keys for play, stop, glue in colour and glue as line art.
const int16_t kPlayKeys[4] = {0, 3, 1, 2};

bool PrintingOn()
{
    int32_t printing = 1;
    if (gApp && gApp->Settings())
        gApp->Settings()->GetPrinting(printing);
    return printing != 0;
}

}  // namespace

KVXAnimatedButtonMolecule* CreationScene::MakeButton(int16_t key, MMCommand* click,
                                                     int16_t layerOffset)
{
    int32_t row = layout.FindRowByKey(key);
    if (row < 0) {
        delete click;
        return nullptr;
    }
    return new (gDefaultHeap) KVXAnimatedButtonMolecule(
        this, layout.LongAt(row, 2), click, layerOffset, 0, kButtonPriority, kResourceMode);
}

// A button whose click only starts its script turns itself off when clicked:
// it takes the next click once woken.
void CreationScene::WakeButton(KVXAnimatedButtonMolecule* button)
{
    if (!button)
        return;
    button->Run(kLabelIdle);
    button->SetActive(true, false);
}

void CreationScene::SetDimmed(KVXAnimatedButtonMolecule* button, uint8_t& flag, bool dimmed)
{
    flag = dimmed ? 1 : 0;
    if (!button)
        return;
    button->Run(dimmed ? kLabelDimmed : kLabelIdle);
    button->SetActive(!dimmed, false);
}

KVXAnimatedButtonMolecule* CreationScene::Button(CreationLayoutKey key) const
{
    switch (key) {
    case kLayoutNewPicture: return newPictureButton;
    case kLayoutUndo: return undoButton;
    case kLayoutImport: return importButton;
    case kLayoutFlush: return flushButton;
    case kLayoutPrint: return printButton;
    case kLayoutToolModeButton: return toolModeButton;
    case kLayoutStampModeButton: return stampModeButton;
    case kLayoutSketchbookButton: return sketchbookButton;
    default: return nullptr;
    }
}

bool CreationScene::ButtonDimmed(CreationLayoutKey key) const
{
    switch (key) {
    case kLayoutPrint: return printDimmed != 0;
    case kLayoutToolModeButton: return toolModeDimmed != 0;
    case kLayoutStampModeButton: return stampModeDimmed != 0;
    default: return false;
    }
}

void CreationScene::MakeModeButtons()
{
    stampModeButton = MakeButton(kLayoutStampModeButton,
                                 Command("Stamp Mode", &CreationScene::SwitchToStampMode),
                                 kStampModeLayerOffset);
    toolModeButton = MakeButton(kLayoutToolModeButton,
                                Command("Tool Mode", &CreationScene::SwitchToToolMode),
                                kToolModeLayerOffset);
}

void CreationScene::MakeButtons()
{
    newPictureButton =
        MakeButton(kLayoutNewPicture, Command("handleNewImageCmd", &CreationScene::handleNewImageCmd),
                   kButtonLayerOffset);
    flushButton = MakeButton(kLayoutFlush, nullptr, kButtonLayerOffset);
    if (flushButton)
        flushButton->BindEventCommand(1, Command("handleFlushCmd", &CreationScene::handleFlushCmd),
                                      nullptr);
    printButton = MakeButton(kLayoutPrint, Command("handlePrintCmd", &CreationScene::handlePrintCmd),
                             kButtonLayerOffset);
    SetDimmed(printButton, printDimmed, !PrintingOn());
    undoButton = MakeButton(kLayoutUndo,
                            Command("StarthandleUndoCmd", &CreationScene::StarthandleUndoCmd),
                            kButtonLayerOffset);
    if (undoButton)
        undoButton->BindEventCommand(1, Command("handleUndoCmd", &CreationScene::handleUndoCmd),
                                     undoButton->ClickCommand());
    if (canvasVisual)
        sirenHandler = new (gDefaultHeap)
            KVXSirenHandler(this, canvasVisual, stage_->SoundManager());
    int32_t exitRow = layout.FindRowByKey(kLayoutExit);
    if (exitRow >= 0)
        exitButton = new (gDefaultHeap) KVXQuitButton(
            this, layout.LongAt(exitRow, 2),
            Command("handleExitButton", &CreationScene::handleExitButton), kButtonLayerOffset, 0,
            kButtonPriority, kResourceMode, 0);
    importButton = MakeButton(kLayoutImport,
                              Command("HandleImportButton", &CreationScene::HandleImportButton),
                              kButtonLayerOffset);
    sketchbookButton = MakeButton(
        kLayoutSketchbookButton,
        Command("HandleSketchbookButton", &CreationScene::HandleSketchbookButton),
        kButtonLayerOffset);
}

void CreationScene::MakeZoomToggle()
{
    int32_t on = layout.FindRowByKey(kLayoutZoomOn);
    int32_t off = layout.FindRowByKey(kLayoutZoomOff);
    if (on < 0 || off < 0 || layout.FindRowByKey(kLayoutZoomPoint) < 0)
        return;
    Pair point = layout.PointOfKey17(0);
    MMCommand* command = Command("handleZoomCmd", &CreationScene::handleZoomCmd);
    auto* interpreter = new (gDefaultHeap) KVXToggleButtonInterpreter(
        stage_, command, nullptr, nullptr, KVXAppCursor(0), kZoomClick);
    KVXToggleButtonMolecule::Parameters parameters = {
        this, point.x, point.y, MMPictureID(layout.LongAt(off, 2)), MMPictureID(layout.LongAt(on, 2)),
        nullptr, kZoomLayer, KVXAppCursor(0), interpreter};
    zoomToggle = new (gDefaultHeap) KVXToggleButtonMolecule(parameters);
}

void CreationScene::MakePlayButtons()
{
    MMRecordTable table;
    table.LoadTenByteRows(kPlayTable, kPlayTableExtra);
    for (int32_t slot = 0; slot < 4; ++slot) {
        int32_t row = table.FindRowByKey(kPlayKeys[slot]);
        if (row < 0)
            continue;
        MMCommand* command =
            slot == kGlueColourSlot
                ? Command("PlayButton command", &CreationScene::GlueInColourCommand)
            : slot == kGlueLineArtSlot
                ? Command("PlayButton command", &CreationScene::GlueAsLineArtCommand)
                : Command("PlayButton command", &CreationScene::PlayButtonCommand);
        playButtons[slot] = new (gDefaultHeap) KVXAnimatedButtonMolecule(
            this, table.LongAt(row, 2), command, kButtonLayerOffset, 0, kButtonPriority,
            kResourceMode);
        if (playButtons[slot])
            playButtons[slot]->Stop();
    }
}

// The mode in force at the start of a visit.
void CreationScene::EnterMode()
{
    if (mode == kToolMode) {
        BeginTools();
        SetDimmed(toolModeButton, toolModeDimmed, true);
        if (toolModeButton)
            toolModeButton->Select(false);
        ShowIndicator(kLayoutToolIndicatorTable, true);
    } else {
        CreationStampManagerBegin(stampManager);
        SetDimmed(stampModeButton, stampModeDimmed, true);
        if (stampModeButton)
            stampModeButton->Select(false);
        HideZoomButton();
        if (importButton)
            importButton->Show();
        ShowIndicator(kLayoutStampIndicatorTable, true);
        EnableMenuItem(kMenuImport, false);
    }
}

// The indicator shows a picture of row key: directly, or from the first
// row of the table it names.
void CreationScene::ShowIndicator(int16_t key, bool table)
{
    if (!modeIndicator || !modeIndicator->Visual())
        return;
    MMPictureReference picture;
    if (key < 0) {
        picture.Load(MM_NO_RESOURCE);
    } else if (table) {
        Pair position;
        MMPictureID id;
        picture.Load(CreationPlacedPicture(layout, key, 0, position, id) ? id : MM_NO_RESOURCE);
    } else {
        int32_t row = layout.FindRowByKey(key);
        picture.Load(row < 0 ? MM_NO_RESOURCE : MMPictureID(layout.LongAt(row, 2)));
    }
    modeIndicator->Visual()->SetPicture(picture);
}

void CreationScene::EnableMenuItem(int32_t id, bool enabled)
{
    if (MMStageWindow* window = stage_->Window())
        window->EnableMenuItem(UINT(id), enabled);
}

void CreationScene::DimPrintByPrinting()
{
    bool on = PrintingOn();
    SetDimmed(printButton, printDimmed, !on);
    EnableMenuItem(kMenuPrint, on);
}

void CreationScene::StartModeAnimation(int16_t key, void (CreationScene::*shown)())
{
    int32_t row = layout.FindRowByKey(key);
    modeAnimation = row < 0 ? nullptr
                            : new (gDefaultHeap) MMAnimationMolecule(this, layout.LongAt(row, 2),
                                                                     kResourceMode);
    if (!modeAnimation) {
        (this->*shown)();
        return;
    }
    modeAnimation->SetLayerOffset(kModeAnimationLayerOffset);
    modeAnimation->SetDoneCommand(Command("Tool Mode", shown));
    modeAnimation->Run(1);
}

void CreationScene::DeleteModeAnimation()
{
    delete modeAnimation;
    modeAnimation = nullptr;
}

void CreationScene::SwitchToStampMode()
{
    if (mode == kStampMode || modeAnimation)
        return;
    if (MMStageCursorSet* cursors = stage_->Cursors())
        cursors->PushBusy();
    if (mode == kToolMode)
        EndTools();
    if (canvasVisual && canvasVisual->IsZoomed()) {
        handleZoomCmd();
        if (zoomToggle)
            zoomToggle->SetOff();
        if (playDimmed[kPlaySlot] && playDimmed[kStopSlot])
            UpdatePlayButtons();
    }
    HideZoomButton();
    mode = kStampMode;
    SetDimmed(stampModeButton, stampModeDimmed, true);
    ShowIndicator(-1, false);
    QueueCommand(Command("Tool Mode", &CreationScene::WakeImportAndPrint));
    EnableMenuItem(kMenuImport, false);
    StartModeAnimation(kLayoutToStampMode, &CreationScene::StampModeShown);
}

void CreationScene::WakeImportAndPrint()
{
    if (importButton)
        importButton->Run(kLabelIdle);
    DimPrintByPrinting();
}

void CreationScene::StampModeShown()
{
    ShowIndicator(kLayoutStampIndicator, false);
    QueueCommand(Command("Tool Mode", &CreationScene::FinishStampMode));
}

void CreationScene::FinishStampMode()
{
    DeleteModeAnimation();
    CreationStampManagerBegin(stampManager);
    SetDimmed(toolModeButton, toolModeDimmed, false);
    ShowIndicator(kLayoutStampIndicatorTable, true);
    if (importButton)
        importButton->Show();
    SetDimmed(printButton, printDimmed, !PrintingOn());
    if (MMStageCursorSet* cursors = stage_->Cursors())
        cursors->PopBusy();
}

void CreationScene::SwitchToToolMode()
{
    if (mode == kToolMode || modeAnimation)
        return;
    if (MMStageCursorSet* cursors = stage_->Cursors())
        cursors->PushBusy();
    if (mode == kStampMode)
        CreationStampManagerEnd(stampManager);
    SetDimmed(toolModeButton, toolModeDimmed, true);
    savedMode = kStampMode;
    mode = kToolMode;
    ShowIndicator(-1, false);
    EnableMenuItem(kMenuImport, true);
    ShowZoomButton();
    StartModeAnimation(kLayoutToToolMode, &CreationScene::ToolModeShown);
}

void CreationScene::ToolModeShown()
{
    ShowIndicator(kLayoutToolIndicator, false);
    QueueCommand(Command("Tool Mode", &CreationScene::FinishToolMode));
}

void CreationScene::FinishToolMode()
{
    DeleteModeAnimation();
    BeginTools();
    SetDimmed(stampModeButton, stampModeDimmed, false);
    ShowIndicator(kLayoutToolIndicatorTable, true);
    SetDimmed(printButton, printDimmed, !PrintingOn());
    if (MMStageCursorSet* cursors = stage_->Cursors())
        cursors->PopBusy();
}

void CreationScene::ShowZoomButton()
{
    if (zoomToggle && zoomToggle->IsHidden())
        zoomToggle->Show();
}

void CreationScene::HideZoomButton()
{
    if (zoomToggle && !zoomToggle->IsHidden())
        zoomToggle->Hide();
}

bool CreationScene::IsZoomButtonShown() const { return zoomToggle && !zoomToggle->IsHidden(); }

void CreationScene::handleZoomCmd()
{
    if (!canvasVisual)
        return;
    bool zoomIn = !canvasVisual->IsZoomed();
    canvasVisual->SetZoom(zoomIn);
    if (zoomIn) {
        CreationHideAllStamps(stampManager);
        for (int32_t slot = 0; slot < 4; ++slot)
            SetDimmed(playButtons[slot], playDimmed[slot], true);
    } else {
        CreationNotifyAllStamps(stampManager);
        if (HasStamps()) {
            SetDimmed(playButtons[kGlueColourSlot], playDimmed[kGlueColourSlot], false);
            SetDimmed(playButtons[kGlueLineArtSlot], playDimmed[kGlueLineArtSlot], false);
        }
        UpdatePlayButtons();
    }
}

bool CreationScene::HasStamps() const { return CreationHasStamps(stampManager); }

bool CreationScene::HasAnimatedStamps() const
{
    return CreationAnimatedStampCount(stampManager) > 0;
}

bool CreationScene::IsQuitting() const { return stage_->QuitRequested() || (gApp && gApp->QuitFlag()); }

void CreationScene::UpdatePlayButtons()
{
    MagicSlateStore* slate = SlateStore();
    bool playable = (slate && slate->HasStrokes()) || HasAnimatedStamps();
    bool playing = canvasVisual && canvasVisual->IsSlatePlaying();
    if (!playable) {
        SetDimmed(playButtons[kPlaySlot], playDimmed[kPlaySlot], true);
        SetDimmed(playButtons[kStopSlot], playDimmed[kStopSlot], true);
        return;
    }
    SetDimmed(playButtons[kPlaySlot], playDimmed[kPlaySlot], playing);
    SetDimmed(playButtons[kStopSlot], playDimmed[kStopSlot], !playing);
}

void CreationScene::UpdateStampButtons()
{
    if (IsQuitting())
        return;
    bool stamps = HasStamps();
    SetDimmed(playButtons[kGlueColourSlot], playDimmed[kGlueColourSlot], !stamps);
    SetDimmed(playButtons[kGlueLineArtSlot], playDimmed[kGlueLineArtSlot], !stamps);
    UpdatePlayButtons();
}

void CreationScene::EnableStampButtons()
{
    if (!HasStamps())
        return;
    SetDimmed(playButtons[kGlueColourSlot], playDimmed[kGlueColourSlot], false);
    SetDimmed(playButtons[kGlueLineArtSlot], playDimmed[kGlueLineArtSlot], false);
}

// Play and stop share one command: while playing (play dimmed) it stops.
void CreationScene::PlayButtonCommand()
{
    if (!canvasVisual)
        return;
    if (playDimmed[kPlaySlot] && !playDimmed[kStopSlot]) {
        SetDimmed(playButtons[kStopSlot], playDimmed[kStopSlot], true);
        SetDimmed(playButtons[kPlaySlot], playDimmed[kPlaySlot], false);
        canvasVisual->StopSlatePlayback();
        CreationStopStamps(stampManager);
        if (radio)
            radio->StopStampPlay();
    } else {
        SetDimmed(playButtons[kPlaySlot], playDimmed[kPlaySlot], true);
        SetDimmed(playButtons[kStopSlot], playDimmed[kStopSlot], false);
        canvasVisual->StartSlatePlayback();
        if (!canvasVisual->IsZoomed())
            CreationPlayStamps(stampManager);
        if (radio)
            radio->LeaveIdleState();
    }
    if (radio)
        radio->Refresh();
}

// The stamp manager takes the undo snapshot before it glues.
void CreationScene::GlueInColourCommand()
{
    CreationGlueAllStamps(stampManager, true);
    UpdateStampButtons();
}

void CreationScene::GlueAsLineArtCommand()
{
    CreationGlueAllStamps(stampManager, false);
    UpdateStampButtons();
}
