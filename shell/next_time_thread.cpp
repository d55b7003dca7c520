#include "shell/next_time_thread.h"

#include "engine/command.h"

namespace {
const int16_t kNextTimePriority = 30000;
}

NextTimeThread::NextTimeThread(MMStage* stage) : MMLightweightThread("Next time thread", stage)
{
    SetPriority(kNextTimePriority);
}

NextTimeThread::~NextTimeThread()
{
    while (!commands.IsEmpty()) {
        UUUntypedListNode* first = commands.First();
        delete UUList<MMCommand*>::ItemOf(first);
        commands.RemoveAndDelete(first);
    }
}

void NextTimeThread::Enqueue(MMCommand* command)
{
    if (command && !commands.Append(command))
        delete command;
}

bool NextTimeThread::Run()
{
    if (State() == kMMThreadTerminating)
        return false;
    while (!commands.IsEmpty()) {
        UUUntypedListNode* first = commands.First();
        MMCommand* command = UUList<MMCommand*>::ItemOf(first);
        commands.RemoveAndDelete(first);
        command->Post();
        delete command;
    }
    SleepFor(0);
    return true;
}
