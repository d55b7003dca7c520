#pragma once
// The mouse interpreter of a placed stamp: every event goes to the stamp.
#include "engine/mouse_interpreter.h"

class KVXStampBase;

class KVXStampInterpreter : public MMStandardMouseInterpreter {
public:
    KVXStampInterpreter(MMStage* stage, KVXStampBase* stamp);
    bool Interpret(const MMStageEvent& event) override;

private:
    KVXStampBase* stamp;
};
