#pragma once
// Purgeable resource heaps: one slot of movable global memory per resource
// item. All heaps share one use clock, one memory total, an optional memory
// limit and one least-recently-used purge rule. MMHeap is the engine's
// allocator heap, which frees unused resource items before it gives up.
#include <windows.h>
#include <cstdint>
#include <vector>
#include "framework/heap.h"

// Slot flags.
enum : uint16_t {
    MM_SLOT_USED = 0x01,        // some reference holds the item
    MM_SLOT_PURGED = 0x02,      // its memory was purged and must be loaded again
    MM_SLOT_PINNED = 0x04,      // valuable: never purged (set by Pin)
    MM_SLOT_VALUABLE = 0x08,    // valuable too; nothing sets it
    MM_SLOT_AUTO_PURGE = 0x10   // purged as soon as the last reference goes
};

class MMResourceHeap {
public:
    // Links the heap at the head of the chain of all heaps.
    MMResourceHeap(const char* name, int16_t itemCount);
    // Unlinks the heap; the items' memory must have been freed (FreeAll).
    virtual ~MMResourceHeap();

    // Memory primitives, one virtual operation each so that a test can
    // stand in for the system's global memory.
    virtual HGLOBAL AllocateMemory(uint16_t slot, uint32_t bytes);
    virtual void FreeMemory(uint16_t slot, HGLOBAL memory);
    virtual bool LockMemory(uint16_t slot, HGLOBAL memory);
    virtual void UnlockMemory(uint16_t slot, HGLOBAL memory);
    virtual void* Address(uint16_t slot, HGLOBAL memory);
    virtual uint32_t MemorySize(uint16_t slot, HGLOBAL memory);

    // True when the slot holds memory; purges least recently used items of
    // every heap while memory is short.
    bool Allocate(uint16_t slot, uint32_t bytes);
    bool IsAllocated(uint16_t slot) const;
    void Free(uint16_t slot);
    void FreeAll();
    // Frees an unlocked slot's memory and marks it purged; the bytes freed.
    uint32_t Purge(uint16_t slot);
    bool IsPurged(uint16_t slot) const;

    bool Lock(uint16_t slot);
    void Unlock(uint16_t slot);
    uint16_t LockCount(uint16_t slot) const;
    // The address of the slot's memory (kept in place while locked).
    void* Pointer(uint16_t slot);

    void MarkReferenced(uint16_t slot);
    void UnmarkReferenced(uint16_t slot);
    bool IsReferenced(uint16_t slot) const;
    void Pin(uint16_t slot);
    void Unpin(uint16_t slot);
    bool IsValuable(uint16_t slot) const;
    void SetAutoPurge(uint16_t slot);
    void ClearAutoPurge(uint16_t slot);
    bool IsAutoPurge(uint16_t slot) const;

    uint32_t LastUse(uint16_t slot) const;
    int16_t ItemCount() const { return itemCount; }
    const char* Name() const { return name; }

    // Purges the least recently used purgeable slot of all heaps; the bytes
    // freed, 0 when nothing could be purged.
    static uint32_t PurgeOne();
    // 0 = no limit.
    static void SetMemoryLimit(uint32_t bytes);
    static uint32_t MemoryLimit();
    static uint32_t CurrentMemory();
    // The next value of the shared use clock.
    static uint32_t Stamp();
    static uint32_t Clock();
    // For tests of the clock's wrap-around.
    static void SetClock(uint32_t value);
    static void Compact();
    // Appends the state of every heap to "HEAPDUMP.TXT" in the program folder.
    static bool Dump();
    static MMResourceHeap* FirstHeap();
    MMResourceHeap* NextHeap() const { return next; }

private:
    struct SlotEntry {
        HGLOBAL memory;
        uint16_t flags;
        uint16_t lockCount;
        uint32_t lastUse;
    };

    SlotEntry* Entry(uint16_t slot);
    const SlotEntry* Entry(uint16_t slot) const;
    static void ShiftAllStamps();

    std::vector<std::vector<SlotEntry>> pages;  // up to 256 entries a page
    int16_t itemCount;
    char name[32];
    MMResourceHeap* next;
};

// The engine's allocator heap: when an allocation fails it frees every
// resource item that no reference holds and tries once more; when that fails
// too the process ends with exit code 1.
class MMHeap : public Heap {
public:
    void* Allocate(size_t size, const AllocationSite* site) override;
    void Free(void* block, const AllocationSite* site) override;
};
