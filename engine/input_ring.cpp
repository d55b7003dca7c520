#include "engine/input_ring.h"

MMInputRing::MMInputRing() : ring_(sizeof(MMStageEvent), kSlots, slots_) { InitLock(&lock_); }

MMInputRing::~MMInputRing() { DeleteLock(&lock_); }

bool MMInputRing::Push(const MMStageEvent& event)
{
    LockHolder hold(&lock_);
    MMStageEvent* newest = static_cast<MMStageEvent*>(ring_.Back());
    if (newest && newest->type == event.type &&
        ((event.type == kStageEventPointer && newest->data == event.data) ||
         event.type == kStageEventPointerLeft)) {
        *newest = event;
        return true;
    }
    return ring_.Push(&event);
}

bool MMInputRing::TakeFront(MMStageEvent* event)
{
    LockHolder hold(&lock_);
    MMStageEvent* oldest = static_cast<MMStageEvent*>(ring_.Front());
    if (!oldest)
        return false;
    *event = *oldest;
    ring_.Pop();
    return true;
}

bool MMInputRing::IsEmpty()
{
    LockHolder hold(&lock_);
    return ring_.IsEmpty();
}

int MMInputRing::Count()
{
    LockHolder hold(&lock_);
    return (ring_.writeIndex - ring_.readIndex + kSlots) % kSlots;
}

void MMInputRing::Clear()
{
    LockHolder hold(&lock_);
    while (!ring_.IsEmpty())
        ring_.Pop();
}
