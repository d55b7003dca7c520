#pragma once
// The animated exit button: a click plays the selection animation, and only
// the script's event 1 ("select reached") posts the quit command; a second
// click returns the button to idle and posts the optional second command.
#include <cstdint>

#include "engine/mouse_interpreter.h"
#include "shell/widgets/animation_thread.h"

class KVXQuitButton;

class KVXQuitButtonInterpreter : public MMStandardMouseInterpreter {
public:
    KVXQuitButtonInterpreter(MMStage* stage, KVXQuitButton* button, MMCursor* cursor,
                             int32_t value);

    bool Interpret(const MMStageEvent& event) override;
    void CaptureLost() override {}

    void SetEnabled(bool flag) { enabled = flag; }
    bool IsEnabled() const { return enabled; }
    bool IsPressed() const { return pressed; }

private:
    KVXQuitButton* button;
    bool pressed = false;
    bool enabled = true;
    int32_t value;
};

enum KVXQuitButtonState : int32_t { kQuitUp = 0, kQuitDown = 1, kQuitInactive = 2 };

class KVXQuitButton : public KVXAnimationMolecule {
public:
    KVXQuitButton(MMBaseScene* scene, MMResourceId scriptId, MMCommand* quitCommand,
                  int16_t layerOffset, int16_t cursorIndex, int32_t unused, int16_t resourceMode,
                  int32_t interpreterValue);
    ~KVXQuitButton() override;

    void SetInactive(bool flag);
    // A disabled interpreter drops a press in progress and ignores events.
    void SetState(bool enabled);
    void SetSecondCommand(MMCommand* command);
    void SelectReached();

    void ShowDown();
    void ShowUp();
    void Clicked();
    bool ContainsPoint(const Pair& point) const;

    KVXQuitButtonInterpreter* ButtonInterpreter() const { return interpreter; }
    bool IsInactive() const { return inactive; }
    int32_t State() const { return state; }
    bool SelectionReached() const { return selectionReached; }

private:
    KVXQuitButtonInterpreter* interpreter = nullptr;
    bool inactive = false;
    int32_t state = kQuitInactive;
    bool selectionReached = false;
    MMCommand* secondCommand = nullptr;
    MMCommand* quitCommand;
    int16_t layerOffset;
};

// One below the first task waiting in the stage's run queue; 30000, as for
// a command posted just ahead, when the queue is empty.
int16_t KVXPriorityAheadOfQueue(MMStage* stage);
