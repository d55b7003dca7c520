#include "engine/queued_task.h"

#include <cstdio>
#include <cstring>

#include "engine/command.h"
#include "engine/run_queue.h"
#include "engine/stage.h"

void MMCopyTaskName(char (&to)[kTaskNameSize], const char* from, const char* fallback)
{
    const char* text = (from && from[0]) ? from : fallback;
    std::snprintf(to, kTaskNameSize, "%s", text);
}

MMQueuedTask::MMQueuedTask(const char* name, MMStage* stage) : stage_(stage)
{
    MMCopyTaskName(name_, name, "some task");
}

MMQueuedTask::~MMQueuedTask() = default;

MMRunQueue* MMQueuedTask::Queue() const { return stage_ ? stage_->RunQueue() : nullptr; }

void MMQueuedTask::SetName(const char* name, const char* fallback)
{
    MMCopyTaskName(name_, name, fallback);
}

MMSemaphore::MMSemaphore(const char* name, MMStage* stage) : stage_(stage)
{
    MMCopyTaskName(name_, name, "some semaphore");
    if (MMRunQueue* queue = stage_ ? stage_->RunQueue() : nullptr)
        queue->AddSemaphore(this);
}

MMSemaphore::~MMSemaphore()
{
    if (MMRunQueue* queue = stage_ ? stage_->RunQueue() : nullptr)
        queue->RemoveSemaphore(this);
}

void MMSemaphore::SetName(const char* name, const char* fallback)
{
    MMCopyTaskName(name_, name, fallback);
}

MMManualSemaphore::MMManualSemaphore(const char* name, MMStage* stage) : MMSemaphore(name, stage)
{
    if (!name || !name[0])
        SetName(nullptr, "manual semaphore");
}

MMSoundFinishedSemaphore::MMSoundFinishedSemaphore(const char* name, MMStage* stage,
                                                   const volatile bool* active)
    : MMSemaphore(name, stage), active_(active)
{
    if (!name || !name[0])
        SetName(nullptr, "sound channel semaphore");
}

namespace {
MMCommand* MakeSemaphoreCommand(MMManualSemaphore* semaphore, const char* format,
                                void (MMManualSemaphore::*method)())
{
    char text[132];
    std::snprintf(text, sizeof text, format, semaphore->Name());
    return new MMClassCommand<MMManualSemaphore>(text, semaphore->Stage(), semaphore, method);
}
}  // namespace

MMCommand* MMManualSemaphore::MakeBlockCommand()
{
    return MakeSemaphoreCommand(this, "Block %s", &MMManualSemaphore::Block);
}

MMCommand* MMManualSemaphore::MakeUnblockCommand()
{
    return MakeSemaphoreCommand(this, "Unblock %s", &MMManualSemaphore::Unblock);
}
