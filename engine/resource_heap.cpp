#include "engine/resource_heap.h"

#include <cstdio>
#include <cstring>
#include "engine/resource_collection.h"
#include "framework/folders.h"
#include "framework/files.h"
#include "framework/heap.h"

namespace {

const int kPageSize = 256;

MMResourceHeap* gFirstHeap = nullptr;
uint32_t gClock = 0;
uint32_t gMemoryLimit = 0;
uint32_t gCurrentMemory = 0;

bool Purgeable(uint16_t flags, uint16_t lockCount, bool ignoreUsed)
{
    if (lockCount != 0) return false;
    if (flags & (MM_SLOT_PINNED | MM_SLOT_VALUABLE)) return false;
    return ignoreUsed || !(flags & MM_SLOT_USED);
}

}  // namespace

MMResourceHeap::MMResourceHeap(const char* heapName, int16_t count)
    : itemCount(count < 0 ? 0 : count), next(gFirstHeap)
{
    std::snprintf(name, sizeof name, "%s", heapName ? heapName : "");
    for (int first = 0; first < itemCount; first += kPageSize) {
        int entries = itemCount - first < kPageSize ? itemCount - first : kPageSize;
        pages.emplace_back(entries, SlotEntry{nullptr, 0, 0, gClock});
    }
    gFirstHeap = this;
}

MMResourceHeap::~MMResourceHeap()
{
    for (MMResourceHeap** link = &gFirstHeap; *link; link = &(*link)->next)
        if (*link == this) {
            *link = next;
            break;
        }
}

HGLOBAL MMResourceHeap::AllocateMemory(uint16_t, uint32_t bytes)
{
    return GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes);
}

void MMResourceHeap::FreeMemory(uint16_t, HGLOBAL memory) { GlobalFree(memory); }

bool MMResourceHeap::LockMemory(uint16_t, HGLOBAL memory) { return GlobalLock(memory) != nullptr; }

void MMResourceHeap::UnlockMemory(uint16_t, HGLOBAL memory) { GlobalUnlock(memory); }

void* MMResourceHeap::Address(uint16_t, HGLOBAL memory)
{
    void* address = GlobalLock(memory);
    GlobalUnlock(memory);
    return address;
}

uint32_t MMResourceHeap::MemorySize(uint16_t, HGLOBAL memory) { return GlobalSize(memory); }

MMResourceHeap::SlotEntry* MMResourceHeap::Entry(uint16_t slot)
{
    if (slot >= uint16_t(itemCount)) return nullptr;
    return &pages[slot / kPageSize][slot % kPageSize];
}

const MMResourceHeap::SlotEntry* MMResourceHeap::Entry(uint16_t slot) const
{
    if (slot >= uint16_t(itemCount)) return nullptr;
    return &pages[slot / kPageSize][slot % kPageSize];
}

bool MMResourceHeap::Allocate(uint16_t slot, uint32_t bytes)
{
    SlotEntry* entry = Entry(slot);
    if (!entry) return false;
    // Memory already held would be lost.
    if (entry->memory) Free(slot);
    if (gMemoryLimit != 0) {
        while (gMemoryLimit < gCurrentMemory + bytes)
            if (PurgeOne() == 0) return false;
    }
    HGLOBAL memory = AllocateMemory(slot, bytes);
    while (!memory && PurgeOne() != 0)
        memory = AllocateMemory(slot, bytes);
    if (memory) gCurrentMemory += MemorySize(slot, memory);
    entry->flags &= ~MM_SLOT_PURGED;
    entry->lastUse = Stamp();
    entry->lockCount = 0;
    if (!memory) return false;
    entry->memory = memory;
    return true;
}

bool MMResourceHeap::IsAllocated(uint16_t slot) const
{
    const SlotEntry* entry = Entry(slot);
    return entry && entry->memory;
}

void MMResourceHeap::Free(uint16_t slot)
{
    SlotEntry* entry = Entry(slot);
    if (!entry) return;
    entry->flags &= ~MM_SLOT_PURGED;
    if (!entry->memory) return;
    gCurrentMemory -= MemorySize(slot, entry->memory);
    // A freed slot holds no lock: its memory is gone.
    if (entry->lockCount != 0) UnlockMemory(slot, entry->memory);
    entry->lockCount = 0;
    FreeMemory(slot, entry->memory);
    entry->memory = nullptr;
}

void MMResourceHeap::FreeAll()
{
    for (int slot = 0; slot < itemCount; ++slot) Free(uint16_t(slot));
}

uint32_t MMResourceHeap::Purge(uint16_t slot)
{
    SlotEntry* entry = Entry(slot);
    if (!entry || !entry->memory || entry->lockCount != 0) return 0;
    uint32_t size = MemorySize(slot, entry->memory);
    Free(slot);
    entry->flags |= MM_SLOT_PURGED;
    return size;
}

bool MMResourceHeap::IsPurged(uint16_t slot) const
{
    const SlotEntry* entry = Entry(slot);
    return entry && (entry->flags & MM_SLOT_PURGED);
}

bool MMResourceHeap::Lock(uint16_t slot)
{
    SlotEntry* entry = Entry(slot);
    if (!entry || !entry->memory) return false;
    if (entry->lockCount == 0 && !LockMemory(slot, entry->memory)) return false;
    if (entry->lockCount == 0xFFFF) return false;
    ++entry->lockCount;
    return true;
}

void MMResourceHeap::Unlock(uint16_t slot)
{
    SlotEntry* entry = Entry(slot);
    if (!entry || entry->lockCount == 0) return;
    --entry->lockCount;
    entry->lastUse = Stamp();
    if (entry->lockCount == 0 && entry->memory) UnlockMemory(slot, entry->memory);
}

uint16_t MMResourceHeap::LockCount(uint16_t slot) const
{
    const SlotEntry* entry = Entry(slot);
    return entry ? entry->lockCount : 0;
}

void* MMResourceHeap::Pointer(uint16_t slot)
{
    SlotEntry* entry = Entry(slot);
    if (!entry || !entry->memory) return nullptr;
    return Address(slot, entry->memory);
}

void MMResourceHeap::MarkReferenced(uint16_t slot)
{
    if (SlotEntry* entry = Entry(slot)) entry->flags |= MM_SLOT_USED;
}

void MMResourceHeap::UnmarkReferenced(uint16_t slot)
{
    SlotEntry* entry = Entry(slot);
    if (!entry) return;
    entry->flags &= ~MM_SLOT_USED;
    if (entry->flags & MM_SLOT_AUTO_PURGE) Purge(slot);
}

bool MMResourceHeap::IsReferenced(uint16_t slot) const
{
    const SlotEntry* entry = Entry(slot);
    return entry && (entry->flags & MM_SLOT_USED);
}

void MMResourceHeap::Pin(uint16_t slot)
{
    if (SlotEntry* entry = Entry(slot)) entry->flags |= MM_SLOT_PINNED;
}

void MMResourceHeap::Unpin(uint16_t slot)
{
    if (SlotEntry* entry = Entry(slot)) entry->flags &= ~MM_SLOT_PINNED;
}

bool MMResourceHeap::IsValuable(uint16_t slot) const
{
    const SlotEntry* entry = Entry(slot);
    return entry && (entry->flags & (MM_SLOT_PINNED | MM_SLOT_VALUABLE));
}

void MMResourceHeap::SetAutoPurge(uint16_t slot)
{
    if (SlotEntry* entry = Entry(slot)) entry->flags |= MM_SLOT_AUTO_PURGE;
}

void MMResourceHeap::ClearAutoPurge(uint16_t slot)
{
    if (SlotEntry* entry = Entry(slot)) entry->flags &= ~MM_SLOT_AUTO_PURGE;
}

bool MMResourceHeap::IsAutoPurge(uint16_t slot) const
{
    const SlotEntry* entry = Entry(slot);
    return entry && (entry->flags & MM_SLOT_AUTO_PURGE);
}

uint32_t MMResourceHeap::LastUse(uint16_t slot) const
{
    const SlotEntry* entry = Entry(slot);
    return entry ? entry->lastUse : 0;
}

uint32_t MMResourceHeap::PurgeOne()
{
    for (int pass = 0; pass < 2; ++pass) {
        MMResourceHeap* victimHeap = nullptr;
        uint16_t victimSlot = 0;
        uint32_t best = 0xFFFFFFFF;
        for (MMResourceHeap* heap = gFirstHeap; heap; heap = heap->next) {
            for (int slot = heap->itemCount - 1; slot >= 0; --slot) {
                const SlotEntry* entry = heap->Entry(uint16_t(slot));
                if (!entry->memory || !Purgeable(entry->flags, entry->lockCount, pass == 1))
                    continue;
                // Ties keep the earlier candidate: the heap nearer the head,
                // the higher slot.
                if (!victimHeap || entry->lastUse < best) {
                    victimHeap = heap;
                    victimSlot = uint16_t(slot);
                    best = entry->lastUse;
                }
            }
        }
        if (victimHeap) return victimHeap->Purge(victimSlot);
    }
    return 0;
}

void MMResourceHeap::SetMemoryLimit(uint32_t bytes)
{
    gMemoryLimit = bytes;
    while (gMemoryLimit != 0 && gMemoryLimit < gCurrentMemory)
        if (PurgeOne() == 0) break;
}

uint32_t MMResourceHeap::MemoryLimit() { return gMemoryLimit; }

uint32_t MMResourceHeap::CurrentMemory() { return gCurrentMemory; }

void MMResourceHeap::ShiftAllStamps()
{
    for (MMResourceHeap* heap = gFirstHeap; heap; heap = heap->next)
        for (auto& page : heap->pages)
            for (SlotEntry& entry : page) entry.lastUse >>= 16;
}

uint32_t MMResourceHeap::Stamp()
{
    // Once the clock passes half its range, stamps and clock are scaled down
    // together, so the order of uses survives and the clock never wraps.
    if (gClock > 0x7FFFFFFFu) {
        ShiftAllStamps();
        gClock >>= 16;
    }
    return gClock++;
}

uint32_t MMResourceHeap::Clock() { return gClock; }

void MMResourceHeap::SetClock(uint32_t value) { gClock = value; }

void MMResourceHeap::Compact() { GlobalCompact(0xFFFFFFFF); }

MMResourceHeap* MMResourceHeap::FirstHeap() { return gFirstHeap; }

bool MMResourceHeap::Dump()
{
    FSDirectory folder;
    if (!FSProgramFolder(folder)) return false;
    FSFile file;
    if (!file.Open(folder, "HEAPDUMP.TXT", FS_OPEN_READ_WRITE)) return false;
    int32_t end;
    file.Seek(0, FS_SEEK_FROM_END, &end);
    char line[160];
    auto put = [&](const char* text) { file.WriteBytes(text, int32_t(std::strlen(text))); };
    put("==============\n");
    std::snprintf(line, sizeof line, "time %lu\n", (unsigned long)gClock);
    put(line);
    std::snprintf(line, sizeof line, "max memory %lu\n", (unsigned long)gMemoryLimit);
    put(line);
    std::snprintf(line, sizeof line, "cur memory %lu\n", (unsigned long)gCurrentMemory);
    put(line);
    int position = 0;
    for (MMResourceHeap* heap = gFirstHeap; heap; heap = heap->next, ++position) {
        std::snprintf(line, sizeof line, "heap %s: %d\n", heap->name, position);
        put(line);
        std::snprintf(line, sizeof line, "itemCount %d\n", heap->itemCount);
        put(line);
        for (int slot = 0; slot < heap->itemCount; ++slot) {
            const SlotEntry* entry = heap->Entry(uint16_t(slot));
            if (!entry->memory && !(entry->flags & (MM_SLOT_USED | MM_SLOT_PURGED))) continue;
            unsigned long size =
                entry->memory ? heap->MemorySize(uint16_t(slot), entry->memory) : 0;
            std::snprintf(line, sizeof line, "%05d size(%08lx) lastUsed(%08lx)%s%s%s%s%s\n",
                          slot, size, (unsigned long)entry->lastUse,
                          entry->flags & MM_SLOT_USED ? " Used" : "",
                          entry->flags & MM_SLOT_PURGED ? " Purged" : "",
                          entry->lockCount ? " Locked" : "",
                          entry->flags & (MM_SLOT_PINNED | MM_SLOT_VALUABLE) ? " Valuable" : "",
                          entry->flags & MM_SLOT_AUTO_PURGE ? " AutoPurge" : "");
            put(line);
        }
        put("\n");
    }
    put("\n");
    bool ok = file.GetError() == 0;
    return file.Close() && ok;
}

void* MMHeap::Allocate(size_t size, const AllocationSite* site)
{
    void* block = HeapAllocateLocked(size, site);
    if (block) return block;
    MMPurgeUnusedResources();
    block = HeapAllocateLocked(size, site);
    if (!block) ExitProcess(1);
    return block;
}

void MMHeap::Free(void* block, const AllocationSite* site) { HeapFreeLocked(block, site); }
