#include "engine/mouse_interpreter.h"

#include "engine/command.h"
#include "engine/stage.h"
#include "engine/stage_cursors.h"
#include "media/picture_visual.h"
#include "media/visual.h"

namespace {
MMCursor* DefaultCursor(MMStage* stage)
{
    MMStageCursorSet* cursors = stage ? stage->Cursors() : nullptr;
    return cursors ? cursors->Arrow() : nullptr;
}
}  // namespace

void MMMouseInterpreter::CurrentCursor()
{
    if (MMStageCursorSet* cursors = stage_ ? stage_->Cursors() : nullptr)
        cursors->SetCursor(Cursor());
}

MMStandardMouseInterpreter::MMStandardMouseInterpreter(MMStage* stage)
    : MMMouseInterpreter(stage), cursor_(DefaultCursor(stage))
{
}

MMStandardMouseInterpreter::MMStandardMouseInterpreter(MMStage* stage, MMCommand* command,
                                                       MMCursor* cursor)
    : MMMouseInterpreter(stage), command_(command), cursor_(cursor ? cursor : DefaultCursor(stage))
{
}

MMStandardMouseInterpreter::~MMStandardMouseInterpreter() { delete command_; }

void MMStandardMouseInterpreter::SetCursor(MMCursor* cursor)
{
    cursor_ = cursor;
    if (stage_ && stage_->PointerInterpreter() == this && stage_->Cursors())
        stage_->Cursors()->SetCursor(cursor_);
}

void MMStandardMouseInterpreter::SetCommand(MMCommand* command)
{
    if (command == command_)
        return;
    delete command_;
    command_ = command;
}

bool MMStandardMouseInterpreter::Matches(const MMStageEvent& event) const
{
    return (uint16_t(event.data) & uint16_t(mask_)) == uint16_t(value_);
}

void MMStandardMouseInterpreter::PostCommand()
{
    if (command_)
        command_->Post();
}

void MMStandardMouseInterpreter::ReleaseCapture()
{
    if (stage_ && stage_->PointerInterpreter() == this)
        stage_->SetEnteredEnclosure(nullptr, nullptr);
}

bool MMSingleEventInterpreter::Interpret(const MMStageEvent& event)
{
    if (Matches(event) && Accepts(event.x, event.y))
        PostCommand();
    return false;
}

MMHotSpotInterpreter::MMHotSpotInterpreter(MMStage* stage, MMVisual* hotSpot, MMCommand* command,
                                           MMCursor* cursor)
    : MMSingleEventInterpreter(stage, command, cursor), hotSpot_(hotSpot)
{
}

bool MMHotSpotInterpreter::Accepts(int32_t x, int32_t y)
{
    return hotSpot_ && hotSpot_->ContainsPoint(x, y);
}

MMTrackHotSpotInterpreter::MMTrackHotSpotInterpreter(MMStage* stage, MMVisual* hotSpot,
                                                     MMCommand* command, MMCursor* cursor)
    : MMHotSpotInterpreter(stage, hotSpot, command, cursor)
{
}

MMTrackHotSpotInterpreter::~MMTrackHotSpotInterpreter()
{
    delete enterCommand_;
    delete leaveCommand_;
}

void MMTrackHotSpotInterpreter::CurrentCursor()
{
    MMHotSpotInterpreter::CurrentCursor();
    if (enterCommand_)
        enterCommand_->Post();
}

void MMTrackHotSpotInterpreter::CaptureLost()
{
    if (leaveCommand_)
        leaveCommand_->Post();
}

void MMTrackHotSpotInterpreter::SetEnterCommand(MMCommand* command)
{
    if (command == enterCommand_)
        return;
    delete enterCommand_;
    enterCommand_ = command;
}

void MMTrackHotSpotInterpreter::SetLeaveCommand(MMCommand* command)
{
    if (command == leaveCommand_)
        return;
    delete leaveCommand_;
    leaveCommand_ = command;
}

MMHighlightHotSpotInterpreter::MMHighlightHotSpotInterpreter(MMStage* stage, MMVisual* hotSpot,
                                                             MMHighlightable* highlightable,
                                                             MMCommand* command, MMCursor* cursor)
    : MMSingleEventInterpreter(stage, command, cursor)
{
    SetHotSpot(hotSpot, highlightable);
}

void MMHighlightHotSpotInterpreter::SetHotSpot(MMVisual* hotSpot, MMHighlightable* highlightable)
{
    hotSpot_ = hotSpot;
    highlightable_ = (!highlightable && hotSpot) ? MMAsHighlightable(hotSpot) : highlightable;
}

void MMHighlightHotSpotInterpreter::CurrentCursor()
{
    MMSingleEventInterpreter::CurrentCursor();
    MMSetHighlighted(highlightable_, true);
}

void MMHighlightHotSpotInterpreter::CaptureLost() { MMSetHighlighted(highlightable_, false); }

bool MMHighlightHotSpotInterpreter::Accepts(int32_t x, int32_t y)
{
    return hotSpot_ && hotSpot_->ContainsPoint(x, y);
}

MMPushButtonInterpreter::MMPushButtonInterpreter(MMStage* stage) : MMStandardMouseInterpreter(stage)
{
}

MMPushButtonInterpreter::MMPushButtonInterpreter(MMStage* stage, MMCommand* command,
                                                 MMVisual* button, MMHighlightable* highlightable,
                                                 MMCursor* cursor)
    : MMStandardMouseInterpreter(stage, command, cursor)
{
    SetButton(button, highlightable);
}

void MMPushButtonInterpreter::SetButton(MMVisual* button, MMHighlightable* highlightable)
{
    button_ = button;
    highlightable_ = (!highlightable && button) ? MMAsHighlightable(button) : highlightable;
}

void MMPushButtonInterpreter::SetHighlighted(bool on) { MMSetHighlighted(highlightable_, on); }

bool MMPushButtonInterpreter::Inside(const MMStageEvent& event) const
{
    return button_ && button_->ContainsPoint(event.x, event.y);
}

bool MMPushButtonInterpreter::Interpret(const MMStageEvent& event)
{
    bool active = ((event.data & kPointerPressed) && Matches(event) && Inside(event)) ||
                  (pressed_ && (event.data & kPointerHeld));
    if (active && !pressed_) {
        SetHighlighted(true);
        pressed_ = true;
        return true;
    }
    if (active) {
        SetHighlighted(Inside(event));
        return true;
    }
    if (pressed_) {
        if ((event.data & kPointerReleased) && Inside(event))
            PostCommand();
        SetHighlighted(false);
        pressed_ = false;
    }
    return false;
}

void MMPushButtonInterpreter::CaptureLost()
{
    if (pressed_) {
        SetHighlighted(false);
        pressed_ = false;
    }
}

MMHighlightable* MMAsHighlightable(MMVisual* visual) { return dynamic_cast<MMHighlightable*>(visual); }

void MMSetHighlighted(MMHighlightable* highlightable, bool on)
{
    if (highlightable)
        highlightable->SetHighlighted(on);
}
