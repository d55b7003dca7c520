#pragma once
#include <cstddef>
#include <cstdint>
#include <new>
#include <windows.h>

// Every block handed out by HeapAllocate carries, in the pointer-sized word
// in front of it, the Heap that made it (null for the runtime allocator), so
// one operator delete frees any block to the right owner. The bytes handed
// out start on a 16-byte boundary.

struct AllocationSite {
    const char* tag;
    const char* file;
    int line;
};

class Heap {
public:
    Heap();
    virtual ~Heap();
    virtual void* Allocate(size_t size, const AllocationSite* site) = 0;
    virtual void Free(void* block, const AllocationSite* site) = 0;
};

// A private Win32 heap with statistics; it ends the process when exhausted.
class AFHeap : public Heap {
public:
    explicit AFHeap(uint32_t maximumSize = 0);
    ~AFHeap() override;
    void* Allocate(size_t size, const AllocationSite* site) override;
    void Free(void* block, const AllocationSite* site) override;

    uint32_t currentBytes;
    uint32_t heapBytes;
    uint32_t peakBytes;
    uint32_t peakHeapBytes;
    HANDLE heap;
    bool isNT;
};

// Allocator mode: 0 not yet used, 1 in use without lock, 2 locked,
// 3 after the end of static life.
enum AllocatorModes {
    kAllocatorUnused = 0,
    kAllocatorUnlocked = 1,
    kAllocatorLocked = 2,
    kAllocatorEnded = 3,
};
int AllocatorMode();

const AllocationSite* AllocationSiteRecord();

void* HeapAllocate(size_t size, Heap* heap);
void* HeapAllocateDefault(size_t size);
void* HeapAllocateLocked(size_t size, const AllocationSite* site);
void HeapFreeLocked(void* block, const AllocationSite* site);
// The heap recorded in front of a block from HeapAllocate (null: runtime).
Heap* HeapOwnerOf(const void* pointer);

// The memory layer's global heap; nothing sets it, so it stays null and
// plain `new` takes its blocks from the runtime allocator.
extern Heap* gGlobalHeap;

// The application's default heap and the three heaps that fall back to it
// (list nodes, commands and small engine records; the engine's media heap;
// the MIDI player's heap). Set and cleared by the application object.
extern Heap* gDefaultHeap;
extern Heap* gListNodeHeap;
extern Heap* gMediaHeap;
extern Heap* gMidiHeap;

// `new (heap) T(...)`: construct an object in a block owned by `heap`;
// plain `delete` gives it back to that heap. A null heap means the runtime.
void* operator new(size_t size, Heap* heap) noexcept;
void* operator new[](size_t size, Heap* heap) noexcept;
void operator delete(void* pointer, Heap* heap) noexcept;
void operator delete[](void* pointer, Heap* heap) noexcept;
