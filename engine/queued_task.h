#pragma once
// Everything the stage's run queue runs: named tasks, and the semaphores that
// engine threads wait on.
#include <cstdint>

class MMStage;
class MMRunQueue;

enum { kTaskNameSize = 32 };

class MMQueuedTask {
public:
    MMQueuedTask(const char* name, MMStage* stage);
    virtual ~MMQueuedTask();
    // One slice; true to stay queued, false to leave the queue.
    virtual bool Execute() = 0;
    // Told when the task is taken out of the queue.
    virtual void Cancel() = 0;

    const char* Name() const { return name_; }
    MMStage* Stage() const { return stage_; }
    MMRunQueue* Queue() const;
    // Copies a name cut to 31 characters; an empty one gives the fallback.
    void SetName(const char* name, const char* fallback = "some task");

protected:
    char name_[kTaskNameSize];
    MMStage* stage_;

private:
    friend class MMRunQueue;
    uint32_t ranInPass_ = 0;  // the run queue's pass in which it last ran
};

class MMSemaphore {
public:
    MMSemaphore(const char* name, MMStage* stage);
    virtual ~MMSemaphore();
    virtual bool IsSignalled() = 0;

    // The value sampled at the start of the current pass.
    bool Signalled() const { return signalled_; }
    void Sample() { signalled_ = IsSignalled(); }
    const char* Name() const { return name_; }
    MMStage* Stage() const { return stage_; }

protected:
    void SetName(const char* name, const char* fallback);

    char name_[kTaskNameSize];
    bool signalled_ = true;
    MMStage* stage_;
};

class MMCommand;

class MMManualSemaphore : public MMSemaphore {
public:
    MMManualSemaphore(const char* name, MMStage* stage);
    bool IsSignalled() override { return blockCount_ == 0; }
    void Block() { ++blockCount_; }
    void Unblock() { --blockCount_; }
    int16_t BlockCount() const { return blockCount_; }
    // "Block %s" and "Unblock %s" with this semaphore's name.
    MMCommand* MakeBlockCommand();
    MMCommand* MakeUnblockCommand();

private:
    int16_t blockCount_ = 0;
};

// Signalled once the sound it watches has finished: the logical sound
// channel hands over the address of its record's active flag.
class MMSoundFinishedSemaphore : public MMSemaphore {
public:
    MMSoundFinishedSemaphore(const char* name, MMStage* stage, const volatile bool* active);
    bool IsSignalled() override { return !active_ || !*active_; }

private:
    const volatile bool* active_;
};

// Copies text into a task-sized name, cut to 31 characters.
void MMCopyTaskName(char (&to)[kTaskNameSize], const char* from, const char* fallback);
