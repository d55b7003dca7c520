#include "stamps/stamp_interpreter.h"

#include "stamps/stamp_base.h"

KVXStampInterpreter::KVXStampInterpreter(MMStage* stage, KVXStampBase* stamp)
    : MMStandardMouseInterpreter(stage), stamp(stamp)
{
}

bool KVXStampInterpreter::Interpret(const MMStageEvent& event)
{
    return stamp->HandleMouse(event);
}
