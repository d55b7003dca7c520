#pragma once
// An animated push button: label 5 while held down inside, label 1 up; the
// command is posted on the release inside.
#include <cstdint>

#include "engine/mouse_interpreter.h"
#include "shell/widgets/animation_thread.h"

class KVXPushButton;

class KVXPushButtonInterpreter : public MMMouseInterpreter {
public:
    KVXPushButtonInterpreter(KVXPushButton* button, MMCursor* cursor, int32_t value);
    ~KVXPushButtonInterpreter() override;

    bool Interpret(const MMStageEvent& event) override;
    void CaptureLost() override {}
    MMCursor* Cursor() override { return cursor; }

    void SetCursor(MMCursor* newCursor) { cursor = newCursor; }
    void SetCommand(MMCommand* newCommand);
    bool IsPressed() const { return pressed; }

private:
    KVXPushButton* button;
    int32_t value;
    MMCursor* cursor;
    MMCommand* command = nullptr;
    bool pressed = false;
};

enum KVXPushButtonState : int32_t { kPushUp = 0, kPushDown = 1, kPushDisabled = 2 };

class KVXPushButton : public KVXAnimationMolecule {
public:
    KVXPushButton(MMBaseScene* scene, int16_t layerOffset, MMCommand* command,
                  MMResourceId scriptId, int16_t resourceMode, MMAnimationThread* thread,
                  int32_t value);
    ~KVXPushButton() override;

    void SetDisabled(bool flag);
    void ShowDown();
    void ShowUp();
    bool ContainsPoint(const Pair& point) const;

    KVXPushButtonInterpreter* ButtonInterpreter() const { return interpreter; }
    int32_t State() const { return state; }

private:
    KVXPushButtonInterpreter* interpreter;
    bool disabled = false;
    int32_t state = kPushUp;
};
