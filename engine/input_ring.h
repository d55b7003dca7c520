#pragma once
// The stage's input ring: 16 slots, at most 15 events. The stage control
// (stage thread) and the stage window's menu commands (UI thread) both
// append, so every operation takes the ring's lock.
#include "engine/stage_event.h"
#include "framework/lock.h"
#include "framework/ring_buffer.h"

class MMInputRing {
public:
    enum { kSlots = 16 };

    MMInputRing();
    ~MMInputRing();
    MMInputRing(const MMInputRing&) = delete;
    MMInputRing& operator=(const MMInputRing&) = delete;

    // Appends, or replaces the newest event when both are pointer moves with
    // the same flags, or both pointer-left events. False when the ring is
    // full and the event is lost.
    bool Push(const MMStageEvent& event);
    // Copies out and removes the oldest event; false when empty.
    bool TakeFront(MMStageEvent* event);
    bool IsEmpty();
    int Count();
    void Clear();

private:
    Lock lock_;
    MMStageEvent slots_[kSlots];
    UURingBuffer ring_;
};

class MMPenRing {
public:
    enum { kSlots = 512 };
    MMPenRing() : ring_(sizeof(MMPointerSample), kSlots, slots_) {}
    MMPenRing(const MMPenRing&) = delete;
    MMPenRing& operator=(const MMPenRing&) = delete;

    bool Push(const MMPointerSample& sample) { return ring_.Push(&sample); }
    MMPointerSample* Front() const { return static_cast<MMPointerSample*>(ring_.Front()); }
    void Pop() { if (!ring_.IsEmpty()) ring_.Pop(); }
    bool IsEmpty() const { return ring_.IsEmpty(); }
    UURingBuffer& Ring() { return ring_; }

private:
    MMPointerSample slots_[kSlots];
    UURingBuffer ring_;
};
