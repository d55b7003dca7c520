#pragma once
// Holds commands that must run after the current frame and posts them to
// the run queue on its next step, late in the pass.
#include "engine/engine_thread.h"
#include "framework/uu_list.h"

class MMCommand;

class NextTimeThread : public MMLightweightThread {
public:
    explicit NextTimeThread(MMStage* stage);
    ~NextTimeThread() override;

    // Takes the command (a null one is ignored).
    void Enqueue(MMCommand* command);
    bool Run() override;
    int32_t Count() const { return commands.count; }

private:
    UUList<MMCommand*> commands;
};
