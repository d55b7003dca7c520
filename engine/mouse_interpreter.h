#pragma once
// Mouse interpreters turn the stage's pointer events into actions for one
// visual. An interpreter's answer is the capture: while it answers true the
// stage keeps sending it every pointer event.
#include <cstdint>

#include "engine/stage_event.h"

class MMStage;
class MMCommand;
class MMCursor;
class MMVisual;
class MMHighlightable;

class MMMouseInterpreter {
public:
    explicit MMMouseInterpreter(MMStage* stage) : stage_(stage) {}
    virtual ~MMMouseInterpreter() = default;
    MMMouseInterpreter(const MMMouseInterpreter&) = delete;
    MMMouseInterpreter& operator=(const MMMouseInterpreter&) = delete;

    virtual void CurrentCursor();                           // 1
    virtual bool Interpret(const MMStageEvent& event) = 0;  // 2
    virtual void CaptureLost() {}                           // 3
    virtual MMCursor* Cursor() = 0;                         // 4

    MMStage* Stage() const { return stage_; }

protected:
    MMStage* stage_;
};

class MMStandardMouseInterpreter : public MMMouseInterpreter {
public:
    explicit MMStandardMouseInterpreter(MMStage* stage);
    MMStandardMouseInterpreter(MMStage* stage, MMCommand* command, MMCursor* cursor);
    ~MMStandardMouseInterpreter() override;

    MMCursor* Cursor() override { return cursor_; }
    virtual void PostCommand();  // 5

    void SetCursor(MMCursor* cursor);
    void SetCommand(MMCommand* command);
    MMCommand* Command() const { return command_; }
    void SetEventFilter(int16_t mask, int16_t value) { mask_ = mask; value_ = value; }
    bool Matches(const MMStageEvent& event) const;
    // Gives up the pointer when this interpreter holds it.
    void ReleaseCapture();

protected:
    MMCommand* command_ = nullptr;
    MMCursor* cursor_ = nullptr;
    int16_t mask_ = kPointerPressed;
    int16_t value_ = kPointerPressed;
};

// Posts its command on each matching event that it accepts; never captures.
class MMSingleEventInterpreter : public MMStandardMouseInterpreter {
public:
    using MMStandardMouseInterpreter::MMStandardMouseInterpreter;
    bool Interpret(const MMStageEvent& event) override;
    virtual bool Accepts(int32_t x, int32_t y) { return true; }  // 6
};

class MMHotSpotInterpreter : public MMSingleEventInterpreter {
public:
    MMHotSpotInterpreter(MMStage* stage, MMVisual* hotSpot, MMCommand* command, MMCursor* cursor);
    bool Accepts(int32_t x, int32_t y) override;
    void SetHotSpot(MMVisual* hotSpot) { hotSpot_ = hotSpot; }
    MMVisual* HotSpot() const { return hotSpot_; }

protected:
    MMVisual* hotSpot_;
};

class MMTrackHotSpotInterpreter : public MMHotSpotInterpreter {
public:
    MMTrackHotSpotInterpreter(MMStage* stage, MMVisual* hotSpot, MMCommand* command,
                              MMCursor* cursor);
    ~MMTrackHotSpotInterpreter() override;
    void CurrentCursor() override;
    void CaptureLost() override;
    void SetEnterCommand(MMCommand* command);
    void SetLeaveCommand(MMCommand* command);

private:
    MMCommand* enterCommand_ = nullptr;
    MMCommand* leaveCommand_ = nullptr;
};

class MMHighlightHotSpotInterpreter : public MMSingleEventInterpreter {
public:
    MMHighlightHotSpotInterpreter(MMStage* stage, MMVisual* hotSpot,
                                  MMHighlightable* highlightable, MMCommand* command,
                                  MMCursor* cursor);
    void CurrentCursor() override;
    void CaptureLost() override;
    bool Accepts(int32_t x, int32_t y) override;
    void SetHotSpot(MMVisual* hotSpot, MMHighlightable* highlightable);
    MMVisual* HotSpot() const { return hotSpot_; }
    MMHighlightable* Highlightable() const { return highlightable_; }

private:
    MMVisual* hotSpot_ = nullptr;
    MMHighlightable* highlightable_ = nullptr;
};

class MMPushButtonInterpreter : public MMStandardMouseInterpreter {
public:
    explicit MMPushButtonInterpreter(MMStage* stage);
    MMPushButtonInterpreter(MMStage* stage, MMCommand* command, MMVisual* button,
                            MMHighlightable* highlightable, MMCursor* cursor);
    bool Interpret(const MMStageEvent& event) override;
    void CaptureLost() override;
    virtual void SetHighlighted(bool on);  // 6

    void SetButton(MMVisual* button, MMHighlightable* highlightable);
    MMVisual* Button() const { return button_; }
    bool Pressed() const { return pressed_; }

private:
    bool Inside(const MMStageEvent& event) const;

    MMVisual* button_ = nullptr;
    MMHighlightable* highlightable_ = nullptr;
    bool pressed_ = false;
};

class MMDummyMouseInterpreter : public MMStandardMouseInterpreter {
public:
    using MMStandardMouseInterpreter::MMStandardMouseInterpreter;
    bool Interpret(const MMStageEvent& event) override { return false; }
};

// Visuals that can show a highlight convert to this (the media layer's
// picture buttons implement it).
MMHighlightable* MMAsHighlightable(MMVisual* visual);
void MMSetHighlighted(MMHighlightable* highlightable, bool on);
