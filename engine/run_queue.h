#pragma once
// The stage's run queue: one list in descending 16-bit priority, first in,
// first out among equals, run once per stage step.
#include <windows.h>
#include <cstdint>
#include <vector>

class MMQueuedTask;
class MMSemaphore;

class MMRunQueue {
public:
    MMRunQueue();
    ~MMRunQueue();
    MMRunQueue(const MMRunQueue&) = delete;
    MMRunQueue& operator=(const MMRunQueue&) = delete;

    // Priority -1 means just ahead: one below the running task during a
    // pass, 30000 outside one. A task that already ran in the current pass
    // (activated again, or given a new priority) is only noted and linked
    // after the pass: no task runs twice in one pass.
    void Enqueue(MMQueuedTask* task, int16_t priority);
    // Takes the task out and calls its Cancel. During a pass the node is only
    // marked and unlinked after the pass, so the pass never loses its place.
    void Remove(MMQueuedTask* task);
    void SetPriority(MMQueuedTask* task, int16_t priority);
    // Takes the task out without telling it (for a task that is being deleted).
    void Forget(MMQueuedTask* task);
    bool IsQueued(const MMQueuedTask* task) const;
    int16_t PriorityOf(const MMQueuedTask* task) const;

    // One pass: samples every semaphore, then executes every task once.
    void RunOnce();
    bool InPass() const { return inPass_; }
    // Priority of the task that is executing; only meaningful during a pass.
    int16_t CurrentPriority() const;
    // Priority of the first task waiting; whenEmpty when none waits.
    int16_t FirstPriority(int16_t whenEmpty) const;

    void AddSemaphore(MMSemaphore* semaphore);
    void RemoveSemaphore(MMSemaphore* semaphore);

    // Shared by the cooperative threads to give the turn back to the stage.
    HANDLE HandOffEvent() const { return handOffEvent_; }

private:
    struct Node {
        Node* next;
        int16_t priority;
        MMQueuedTask* task;  // null once the task has left during a pass
    };

    Node* FindNode(const MMQueuedTask* task) const;
    bool RanThisPass(const MMQueuedTask* task) const;
    void Link(Node* node);
    void LinkNow(Node* node);
    void Unlink(Node* node);
    void Compact();
    void LinkDeferred();

    Node* first_ = nullptr;
    // Numbers the passes; during one, the nodes of the tasks that ran in it
    // and asked to be queued again.
    uint32_t pass_ = 0;
    std::vector<Node*> deferred_;
    Node* current_ = nullptr;
    bool inPass_ = false;
    bool removalNoted_ = false;
    std::vector<MMSemaphore*> semaphores_;
    HANDLE handOffEvent_;
};
