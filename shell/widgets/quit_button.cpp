#include "shell/widgets/quit_button.h"

#include "engine/command.h"
#include "engine/run_queue.h"
#include "engine/scene.h"
#include "engine/stage.h"
#include "media/picture_visual.h"

int16_t KVXPriorityAheadOfQueue(MMStage* stage)
{
    MMRunQueue* queue = stage ? stage->RunQueue() : nullptr;
    int16_t first = queue ? queue->FirstPriority(30001) : int16_t(30001);
    return int16_t(first - 1);
}

KVXQuitButtonInterpreter::KVXQuitButtonInterpreter(MMStage* stage, KVXQuitButton* button,
                                                   MMCursor* cursor, int32_t value)
    : MMStandardMouseInterpreter(stage, nullptr, cursor), button(button), value(value)
{
}

bool KVXQuitButtonInterpreter::Interpret(const MMStageEvent& event)
{
    if (!enabled) {
        pressed = false;
        return false;
    }
    Pair point = {event.x, event.y};
    if (pressed) {
        if ((event.data & kPointerReleased) || !(event.data & kPointerHeld)) {
            button->ShowUp();
            if (button->ContainsPoint(point))
                button->Clicked();
            pressed = false;
            return false;
        }
        if (button->ContainsPoint(point))
            button->ShowDown();
        else
            button->ShowUp();
        return true;
    }
    if ((event.data & kPointerPressed) && !(event.data & kPointerDoubleClick) &&
        button->ContainsPoint(point)) {
        button->ShowDown();
        pressed = true;
        return true;
    }
    return pressed;
}

KVXQuitButton::KVXQuitButton(MMBaseScene* scene, MMResourceId scriptId, MMCommand* quitCommand,
                             int16_t layerOffset, int16_t cursorIndex, int32_t,
                             int16_t resourceMode, int32_t interpreterValue)
    : KVXAnimationMolecule(scene, scriptId, resourceMode,
                           EnsureAnimationThread(scene->Stage(), nullptr)),
      quitCommand(quitCommand), layerOffset(layerOffset)
{
    SetLayerOffset(layerOffset);
    interpreter = new KVXQuitButtonInterpreter(Stage(), this, nullptr, interpreterValue);
    SetInterpreter(interpreter);
    interpreter->SetCursor(KVXAppCursor(cursorIndex));
    SetCommand(1, new MMClassCommand<KVXQuitButton>("select reached", Stage(), this,
                                                    &KVXQuitButton::SelectReached));
    Thread()->SetPriority(KVXPriorityAheadOfQueue(Stage()));
    state = kQuitUp;
    Run(1);
    SetInactive(false);
}

KVXQuitButton::~KVXQuitButton()
{
    Stop();
    delete quitCommand;
    delete secondCommand;
}

void KVXQuitButton::SetInactive(bool flag)
{
    inactive = flag;
    if (flag) {
        state = kQuitInactive;
        SetLayerOffset(0);
        return;
    }
    state = kQuitUp;
    if (!IsRunning())
        Run(1);
    SetLayerOffset(layerOffset);
}

void KVXQuitButton::SetState(bool enabled) { interpreter->SetEnabled(enabled); }

void KVXQuitButton::SetSecondCommand(MMCommand* command)
{
    if (command != secondCommand)
        delete secondCommand;
    secondCommand = command;
}

void KVXQuitButton::SelectReached()
{
    if (selectionReached)
        return;
    selectionReached = true;
    if (quitCommand)
        quitCommand->Post();
}

void KVXQuitButton::ShowDown()
{
    if (state == kQuitDown)
        return;
    state = kQuitDown;
    Run(5);
}

void KVXQuitButton::ShowUp()
{
    if (state == kQuitUp)
        return;
    state = kQuitUp;
    Run(selectionReached ? 6 : 1);
}

void KVXQuitButton::Clicked()
{
    if (!selectionReached) {
        Run(3);
        return;
    }
    selectionReached = false;
    Run(1);
    if (secondCommand)
        secondCommand->Post();
}

bool KVXQuitButton::ContainsPoint(const Pair& point) const
{
    return KVXAnimationContainsPoint(*this, point);
}
