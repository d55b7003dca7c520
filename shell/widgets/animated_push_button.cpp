#include "shell/widgets/animated_push_button.h"

#include "engine/command.h"
#include "engine/scene.h"
#include "engine/stage.h"
#include "media/picture_visual.h"
#include "shell/widgets/quit_button.h"

KVXPushButtonInterpreter::KVXPushButtonInterpreter(KVXPushButton* button, MMCursor* cursor,
                                                   int32_t value)
    : MMMouseInterpreter(button->Stage()), button(button), value(value), cursor(cursor)
{
}

KVXPushButtonInterpreter::~KVXPushButtonInterpreter() { delete command; }

void KVXPushButtonInterpreter::SetCommand(MMCommand* newCommand)
{
    if (newCommand != command)
        delete command;
    command = newCommand;
}

bool KVXPushButtonInterpreter::Interpret(const MMStageEvent& event)
{
    Pair point = {event.x, event.y};
    bool inside = button->ContainsPoint(point);
    if (pressed) {
        if (event.data & kPointerReleased) {
            button->ShowUp();
            if (inside && command)
                command->Post();
            pressed = false;
            return false;
        }
        if (inside)
            button->ShowDown();
        else
            button->ShowUp();
        return true;
    }
    if ((event.data & kPointerPressed) && inside) {
        button->ShowDown();
        pressed = true;
    }
    return pressed;
}

KVXPushButton::KVXPushButton(MMBaseScene* scene, int16_t layerOffset, MMCommand* command,
                             MMResourceId scriptId, int16_t resourceMode,
                             MMAnimationThread* thread, int32_t value)
    : KVXAnimationMolecule(scene, scriptId, resourceMode,
                           EnsureAnimationThread(scene->Stage(), thread))
{
    SetLayerOffset(layerOffset);
    interpreter = new KVXPushButtonInterpreter(this, nullptr, value);
    interpreter->SetCommand(command);
    for (int16_t i = 0; i < VisualCount(); ++i)
        Visual(i)->SetMouseInterpreter(interpreter);
    interpreter->SetCursor(KVXAppCursor(0));
    Thread()->SetPriority(KVXPriorityAheadOfQueue(Stage()));
    state = kPushUp;
    Run(1);
    SetDisabled(disabled);
}

KVXPushButton::~KVXPushButton()
{
    Stop();
    for (int16_t i = 0; i < VisualCount(); ++i)
        Visual(i)->SetMouseInterpreter(nullptr);
    if (Stage() && Stage()->PointerInterpreter() == interpreter)
        Stage()->SetEnteredEnclosure(nullptr, nullptr);
    delete interpreter;
}

void KVXPushButton::SetDisabled(bool flag)
{
    disabled = flag;
    if (flag) {
        state = kPushDisabled;
        Stop();
    } else {
        state = kPushUp;
        Run(1);
    }
}

void KVXPushButton::ShowDown()
{
    if (state == kPushDown)
        return;
    state = kPushDown;
    Run(5);
}

void KVXPushButton::ShowUp()
{
    if (state == kPushUp)
        return;
    state = kPushUp;
    Run(1);
}

bool KVXPushButton::ContainsPoint(const Pair& point) const
{
    return KVXAnimationContainsPoint(*this, point);
}
