#include "engine/run_queue.h"

#include <algorithm>

#include "engine/queued_task.h"

MMRunQueue::MMRunQueue() { handOffEvent_ = CreateEventA(nullptr, FALSE, FALSE, nullptr); }

MMRunQueue::~MMRunQueue()
{
    if (handOffEvent_)
        CloseHandle(handOffEvent_);
    // The tasks belong to their owners; only the nodes are ours.
    for (Node* node : deferred_)
        delete node;
    while (first_) {
        Node* next = first_->next;
        delete first_;
        first_ = next;
    }
}

int16_t MMRunQueue::CurrentPriority() const { return current_ ? current_->priority : 30001; }

int16_t MMRunQueue::FirstPriority(int16_t whenEmpty) const
{
    for (const Node* node = first_; node; node = node->next) {
        if (node->task)
            return node->priority;
    }
    return whenEmpty;
}

void MMRunQueue::Enqueue(MMQueuedTask* task, int16_t priority)
{
    if (!task)
        return;
    if (priority == -1)
        priority = int16_t((inPass_ && current_ ? current_->priority : 30001) - 1);
    Link(new Node{nullptr, priority, task});
}

bool MMRunQueue::RanThisPass(const MMQueuedTask* task) const
{
    return inPass_ && task->ranInPass_ == pass_;
}

// A task that already ran in this pass waits for the pass to end; any other
// is linked at once.
void MMRunQueue::Link(Node* node)
{
    if (RanThisPass(node->task))
        deferred_.push_back(node);
    else
        LinkNow(node);
}

// From the executing node during a pass (so a task queued by the running one
// is never placed before it), else from the head; after every node of a
// greater or equal priority.
void MMRunQueue::LinkNow(Node* node)
{
    Node* start = inPass_ ? current_ : nullptr;
    if (!start) {
        if (!first_ || first_->priority < node->priority) {
            node->next = first_;
            first_ = node;
            return;
        }
        start = first_;
    }
    Node* at = start;
    while (at->next && at->next->priority >= node->priority)
        at = at->next;
    node->next = at->next;
    at->next = node;
}

void MMRunQueue::Unlink(Node* node)
{
    if (first_ == node) {
        first_ = node->next;
        return;
    }
    for (Node* at = first_; at; at = at->next) {
        if (at->next == node) {
            at->next = node->next;
            return;
        }
    }
}

// The whole list is searched, so a task before or at the executing node is
// found too.
MMRunQueue::Node* MMRunQueue::FindNode(const MMQueuedTask* task) const
{
    for (Node* at = first_; at; at = at->next) {
        if (at->task == task)
            return at;
    }
    for (Node* node : deferred_) {
        if (node->task == task)
            return node;
    }
    return nullptr;
}

void MMRunQueue::Forget(MMQueuedTask* task)
{
    Node* node = FindNode(task);
    if (!node)
        return;
    auto waiting = std::find(deferred_.begin(), deferred_.end(), node);
    if (waiting != deferred_.end()) {
        deferred_.erase(waiting);
        delete node;
    } else if (inPass_) {
        node->task = nullptr;
        removalNoted_ = true;
    } else {
        Unlink(node);
        delete node;
    }
}

void MMRunQueue::Remove(MMQueuedTask* task)
{
    if (!FindNode(task))
        return;
    Forget(task);
    task->Cancel();
}

void MMRunQueue::SetPriority(MMQueuedTask* task, int16_t priority)
{
    Node* node = FindNode(task);
    if (!node)
        return;
    if (std::find(deferred_.begin(), deferred_.end(), node) != deferred_.end()) {
        node->priority = priority;
    } else if (inPass_) {
        // The pass may be standing on this node: leave a marked husk behind
        // and link a fresh node.
        node->task = nullptr;
        removalNoted_ = true;
        Link(new Node{nullptr, priority, task});
    } else {
        Unlink(node);
        node->priority = priority;
        Link(node);
    }
}

bool MMRunQueue::IsQueued(const MMQueuedTask* task) const { return FindNode(task) != nullptr; }

int16_t MMRunQueue::PriorityOf(const MMQueuedTask* task) const
{
    Node* node = FindNode(task);
    return node ? node->priority : 0;
}

void MMRunQueue::RunOnce()
{
    for (MMSemaphore* semaphore : semaphores_)
        semaphore->Sample();
    inPass_ = true;
    if (++pass_ == 0)
        pass_ = 1;  // 0 is the mark of a task that never ran
    for (current_ = first_; current_; current_ = current_->next) {
        MMQueuedTask* task = current_->task;
        if (!task)
            continue;
        task->ranInPass_ = pass_;
        bool stay = task->Execute();
        // The task may have removed itself while it ran; then it is gone.
        if (!stay && current_->task == task) {
            current_->task = nullptr;
            removalNoted_ = true;
        }
    }
    inPass_ = false;
    if (removalNoted_)
        Compact();
    LinkDeferred();
}

void MMRunQueue::LinkDeferred()
{
    std::vector<Node*> nodes;
    nodes.swap(deferred_);
    for (Node* node : nodes)
        LinkNow(node);
}

void MMRunQueue::Compact()
{
    removalNoted_ = false;
    Node** link = &first_;
    while (*link) {
        Node* node = *link;
        if (node->task) {
            link = &node->next;
        } else {
            *link = node->next;
            delete node;
        }
    }
}

void MMRunQueue::AddSemaphore(MMSemaphore* semaphore) { semaphores_.push_back(semaphore); }

void MMRunQueue::RemoveSemaphore(MMSemaphore* semaphore)
{
    semaphores_.erase(std::remove(semaphores_.begin(), semaphores_.end(), semaphore),
                      semaphores_.end());
}
