#include "stamps/stamp_selector.h"

#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/record_table.h"
#include "engine/scene.h"
#include "engine/stage.h"
#include "framework/heap.h"
#include "media/picture_visual.h"
#include "shell/widgets/animation_thread.h"
#include "stamps/base_stamp_manager.h"
#include "stamps/stamp_base.h"

namespace {

const int16_t kFrameLayer = 100;
const int16_t kHandleLayer = 176;
const int16_t kPanelLayer = 180;
const int16_t kNormalCursor = 0;
const int16_t kScalingCursor = 29;

enum : int16_t { kRowFlipX = 0, kRowFlipY = 1, kRowScale = 2, kRowOptions = 3 };
enum : int16_t { kRowPanel = 0, kRowColour = 1, kRowLineArt = 2, kRowPlay = 3 };

// The normal (offset 0) and highlighted (offset 4) pictures of a row's table.
void LoadButtonPictures(MMResourceId tableId, int16_t row, MMPictureReference* normal,
                        MMPictureReference* highlight)
{
    MMRecordTable table;
    table.Load(tableId, 10, gDefaultHeap);
    int32_t at = table.FindRowByKey(row);
    MMResourceId pictures = at < 0 ? MMResourceId(-1) : table.ItemIdAt(at, 2);
    table.Free();
    MMRecordTable pair;
    pair.Load(pictures, 8, gDefaultHeap);
    if (pair.RowCount() > 0) {
        normal->Load(pair.LongAt(0, 0));
        highlight->Load(pair.LongAt(0, 4));
    }
    pair.Free();
}

Pair SizeOf(const MMVisual* visual)
{
    Box bounds = visual->GetBounds();
    return {bounds.Width(), bounds.Height()};
}

void AddOnce(MMEnclosure* enclosure, MMVisual* visual)
{
    if (visual && visual->Enclosure() == nullptr)
        enclosure->AddVisual(visual);
}

void RemoveIfIn(MMEnclosure* enclosure, MMVisual* visual)
{
    if (visual && visual->Enclosure() == enclosure)
        enclosure->RemoveVisual(visual);
}

}  // namespace

KVXManipulatorInterpreter::KVXManipulatorInterpreter(MMStage* stage, KVXStampSelector* selector,
                                                     MMVisual* handle)
    : MMStandardMouseInterpreter(stage), selector(selector), handle(handle)
{
    SetCursor(KVXAppCursor(kNormalCursor));
}

bool KVXManipulatorInterpreter::InsideHandle(const MMStageEvent& event) const
{
    return handle && handle->ContainsPoint(event.x, event.y);
}

bool KVXOptionsSmallManipulatorInterpreter::Interpret(const MMStageEvent& event)
{
    if (event.type == kStageEventPointer && InsideHandle(event))
        selector->OpenOptionsPanel();
    return false;
}

bool KVXOptionsBigManipulatorInterpreter::Interpret(const MMStageEvent& event)
{
    pressed = event.type == kStageEventPointer && InsideHandle(event);
    return false;
}

void KVXOptionsBigManipulatorInterpreter::CaptureLost()
{
    CheckPointer();
}

void KVXOptionsBigManipulatorInterpreter::CheckPointer()
{
    if (!handle || !stage_)
        return;
    const MMStageEvent& current = stage_->CurrentEvent();
    Box panel = handle->GetBounds();
    if (!panel.Contains(Pair{current.x, current.y})) {
        handle->SetHidden(true);
        selector->CloseOptionsPanel();
    }
}

KVXOptionsInterpreter::KVXOptionsInterpreter(MMStage* stage, MMCommand* command,
                                             MMPictureButtonVisual* button,
                                             KVXOptionsBigManipulatorInterpreter* panel)
    : MMPushButtonInterpreter(stage, command, button, nullptr, KVXAppCursor(kNormalCursor)),
      panel(panel)
{
}

void KVXOptionsInterpreter::CaptureLost()
{
    MMPushButtonInterpreter::CaptureLost();
    panel->CheckPointer();
}

KVXStampSelector::KVXStampSelector(MMBaseScene* owner, KVXBaseStampManager* manager,
                                   const Box& frame, int16_t layer)
    : KVXFrameVisual(frame, layer), owner(owner), manager(manager)
{
    flipYButton = MakeHandle(kRowFlipY);
    MMMouseInterpreter* interpreter = new MMPushButtonInterpreter(owner->Stage(), Command("FlipY Command",
                                              &KVXStampSelector::FlipYCommand),
                                              flipYButton, nullptr, KVXAppCursor(kNormalCursor));
    flipYButton->SetMouseInterpreter(interpreter);
    flipXButton = MakeHandle(kRowFlipX);
    interpreter = new MMPushButtonInterpreter(owner->Stage(), Command("FlipX Command",
                                              &KVXStampSelector::FlipXCommand),
                                              flipXButton, nullptr, KVXAppCursor(kNormalCursor));
    flipXButton->SetMouseInterpreter(interpreter);
    scaleHandle = MakeHandle(kRowScale);
    scaleHandle->SetMouseInterpreter(
        new KVXScaleManipulatorInterpreter(owner->Stage(), scaleHandle, this));
    optionsHandle = MakeHandle(kRowOptions);
    optionsHandle->SetMouseInterpreter(
        new KVXOptionsSmallManipulatorInterpreter(owner->Stage(), this, optionsHandle));
    HideHandles();
}

KVXStampSelector::~KVXStampSelector()
{
    CloseOptionsPanel();
    for (MMPictureButtonVisual** each : {&flipYButton, &flipXButton, &scaleHandle, &optionsHandle})
        DeleteButton(*each);
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->RemoveVisual(this);
}

MMCommand* KVXStampSelector::Command(const char* name, void (KVXStampSelector::*method)())
{
    return new MMClassCommand<KVXStampSelector>(name, owner->Stage(), this, method);
}

MMPictureButtonVisual* KVXStampSelector::MakeHandle(int16_t row)
{
    MMPictureButtonVisual::Parameters parameters = {};
    LoadButtonPictures(kStampHandlesTable, row, &parameters.normal, &parameters.highlight);
    parameters.position = {0, 0};
    parameters.layer = kHandleLayer;
    auto* button = new MMPictureButtonVisual;
    button->ConstructWithPictures(parameters);
    parameters.normal.Clear();
    parameters.highlight.Clear();
    return button;
}

void KVXStampSelector::DeleteButton(MMPictureButtonVisual*& button)
{
    if (!button)
        return;
    auto* interpreter = dynamic_cast<MMStandardMouseInterpreter*>(button->GetMouseInterpreter());
    if (interpreter)
        interpreter->ReleaseCapture();
    if (MMEnclosure* enclosure = button->Enclosure())
        enclosure->RemoveVisual(button);
    button->SetMouseInterpreter(nullptr);
    delete interpreter;
    delete button;
    button = nullptr;
}

void KVXStampSelector::AttachStamp(KVXStampBase* value)
{
    if (value == stamp)
        return;
    stamp = value;
    if (stamp) {
        SetFrame(stamp->GetBox());
    }
}

void KVXStampSelector::SetFrame(const Box& frame)
{
    SetBox(frame);
    PlaceHandles();
}

void KVXStampSelector::MoveFrameTo(int32_t x, int32_t y)
{
    SetPosition(x, y);
    PlaceHandles();
}

void KVXStampSelector::PlaceHandles()
{
    if (!stamp)
        return;
    const struct {
        MMPictureButtonVisual* button;
        KVXHandleCorner corner;
    } places[] = {{flipYButton, kHandleBottomRight},
                  {flipXButton, kHandleTopLeft},
                  {optionsHandle, kHandleBottomLeft},
                  {scaleHandle, kHandleTopRight}};
    for (const auto& place : places) {
        Pair at = stamp->HandlePositionAt(place.corner, SizeOf(place.button));
        place.button->Invalidate();
        place.button->SetPosition(at.x, at.y);
        place.button->Invalidate();
    }
}

void KVXStampSelector::ShowHandles()
{
    SetHidden(false);
    bool canFlip = stamp && stamp->CanFlipX() && stamp->CanFlipY();
    flipXButton->SetHidden(!canFlip);
    flipYButton->SetHidden(!canFlip);
    scaleHandle->SetHidden(!(stamp && stamp->CanScale()));
    optionsHandle->SetHidden(stamp == nullptr);
}

void KVXStampSelector::HideHandles()
{
    SetHidden(true);
    for (MMPictureButtonVisual* each : {flipXButton, flipYButton, scaleHandle, optionsHandle})
        each->SetHidden(true);
}

void KVXStampSelector::AddToEnclosure(MMEnclosure* enclosure)
{
    if (Enclosure() != enclosure) {
        if (Enclosure())
            Enclosure()->RemoveVisual(this);
        SetLayer(kFrameLayer);
        enclosure->AddVisual(this);
    }
    for (MMPictureButtonVisual* each : {flipXButton, flipYButton, optionsHandle, scaleHandle})
        AddOnce(enclosure, each);
}

void KVXStampSelector::RemoveFromEnclosure(MMEnclosure* enclosure)
{
    CloseOptionsPanel();
    RemoveIfIn(enclosure, this);
    for (MMPictureButtonVisual* each : {flipXButton, flipYButton, optionsHandle, scaleHandle})
        RemoveIfIn(enclosure, each);
}

MMPictureButtonVisual* KVXStampSelector::MakePanelButton(int16_t row, const Pair& at,
                                                         MMCommand* command)
{
    MMPictureButtonVisual::Parameters parameters = {};
    LoadButtonPictures(kStampOptionsTable, row, &parameters.normal, &parameters.highlight);
    parameters.position = at;
    parameters.layer = int16_t(kPanelLayer + 1);
    auto* button = new MMPictureButtonVisual;
    button->ConstructWithPictures(parameters);
    parameters.normal.Clear();
    parameters.highlight.Clear();
    auto* panel = static_cast<KVXOptionsBigManipulatorInterpreter*>(
        optionsPanel->GetMouseInterpreter());
    button->SetMouseInterpreter(new KVXOptionsInterpreter(owner->Stage(), command, button, panel));
    return button;
}

void KVXStampSelector::OpenOptionsPanel()
{
    MMEnclosure* enclosure = owner->TopEnclosure();
    if (optionsPanel || !stamp || !enclosure)
        return;
    MMRecordTable table;
    table.Load(kStampOptionsTable, 10, gDefaultHeap);
    int32_t row = table.FindRowByKey(kRowPanel);
    MMPictureReference picture;
    if (row >= 0)
        picture.Load(table.LongAt(row, 2));
    table.Free();
    Box frame = GetBounds();
    MMPictureButtonVisual::Parameters parameters = {};
    parameters.normal = picture;
    parameters.highlight = picture;
    parameters.position = {frame.left, frame.top};
    parameters.layer = kPanelLayer;
    optionsPanel = new MMPictureButtonVisual;
    optionsPanel->ConstructWithPictures(parameters);
    parameters.normal.Clear();
    parameters.highlight.Clear();
    Pair size = picture.IsEmpty() ? Pair{0, 0} : picture.GetSize();
    picture.Clear();
    optionsPanel->SetMouseInterpreter(
        new KVXOptionsBigManipulatorInterpreter(owner->Stage(), this, optionsPanel));
    enclosure->AddVisual(optionsPanel);
    // The three buttons stand in a row across the panel.
    int32_t third = size.x / 3;
    int32_t cell = third > 0 ? third : 1;
    auto at = [&](int i) {
        return Pair{frame.left + i * cell + (cell - 32) / 2, frame.top + (size.y - 32) / 2};
    };
    colourButton = MakePanelButton(kRowColour, at(0),
                                   Command("RenderColor Command", &KVXStampSelector::RenderColorCommand));
    bwButton = MakePanelButton(kRowLineArt, at(1),
                               Command("RenderBW Command", &KVXStampSelector::RenderBWCommand));
    playButton = MakePanelButton(
        kRowPlay, at(2),
        stamp->IsPlaced() ? Command("Play Command", &KVXStampSelector::PlayCommand) : nullptr);
    for (MMPictureButtonVisual* each : {colourButton, bwButton, playButton})
        enclosure->AddVisual(each);
}

void KVXStampSelector::CloseOptionsPanel()
{
    // Releasing a button's capture tells the panel, which closes it again.
    if (closingPanel)
        return;
    closingPanel = true;
    for (MMPictureButtonVisual** each : {&colourButton, &bwButton, &playButton, &optionsPanel})
        DeleteButton(*each);
    closingPanel = false;
}

void KVXStampSelector::FlipXCommand()
{
    if (!stamp)
        return;
    manager->PlayStampSound(kStampSoundFlip);
    stamp->FlipX();
}

void KVXStampSelector::FlipYCommand()
{
    if (!stamp)
        return;
    manager->PlayStampSound(kStampSoundFlip);
    stamp->FlipY();
}

void KVXStampSelector::RenderColorCommand()
{
    if (!stamp)
        return;
    manager->PlayStampSound(kStampSoundGlueColour);
    CloseOptionsPanel();
    KVXStampBase* glued = stamp;
    manager->GlueStamp(glued, true, true, true);
    stamp = nullptr;
}

void KVXStampSelector::RenderBWCommand()
{
    if (!stamp)
        return;
    manager->PlayStampSound(kStampSoundGlueLineArt);
    CloseOptionsPanel();
    KVXStampBase* glued = stamp;
    manager->GlueStamp(glued, false, true, true);
    stamp = nullptr;
}

void KVXStampSelector::PlayCommand()
{
    if (!stamp)
        return;
    manager->PlayStampSound(kStampSoundPlay);
    CloseOptionsPanel();
    manager->PlayStamp(stamp);
    manager->UpdatePlayButtons();
}

void KVXStampSelector::BeginScale(const Pair& point)
{
    if (stamp)
        stamp->BeginScale(point);
}

void KVXStampSelector::DragScale(const Pair& point)
{
    if (stamp)
        stamp->DragScale(point);
}

void KVXStampSelector::EndScale(const Pair& point)
{
    if (stamp)
        stamp->EndScale(point);
}

void KVXStampSelector::StartScaleSound()
{
    if (stamp)
        manager->StartScaleSound(stamp);
}

void KVXStampSelector::UpdateScaleSound()
{
    if (stamp)
        manager->ScaleSoundAt(stamp);
}

void KVXStampSelector::EndScaleSound()
{
    manager->EndScaleSound();
}

void KVXStampSelector::TakeUndoSnapshot()
{
    manager->TakeUndoSnapshot();
}

void KVXStampSelector::ShowScaling(bool scaling)
{
    auto* interpreter = dynamic_cast<MMStandardMouseInterpreter*>(scaleHandle->GetMouseInterpreter());
    if (interpreter)
        interpreter->SetCursor(KVXAppCursor(scaling ? kScalingCursor : kNormalCursor));
    scaleHandle->SetHighlighted(scaling);
}

Box KVXStampSelector::CanvasBox() const
{
    return manager->CanvasBox();
}
