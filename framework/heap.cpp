#include "framework/heap.h"

#include <cstdlib>
#include "framework/lock.h"

Heap* gGlobalHeap = nullptr;
Heap* gDefaultHeap = nullptr;
Heap* gListNodeHeap = nullptr;
Heap* gMediaHeap = nullptr;
Heap* gMidiHeap = nullptr;

namespace {

// The caller's bytes start on a 16-byte boundary, as the compilers assume of
// `new` (SSE spills, aligned members). In front of them: the owner word and,
// before it, where the block that the heap gave begins.
constexpr size_t kOwnerSize = sizeof(Heap*);
constexpr size_t kAlignment = 16;
constexpr size_t kHeaderSize = 2 * sizeof(void*) > kAlignment ? 2 * sizeof(void*) : kAlignment;
constexpr size_t kExtraSize = kHeaderSize + kAlignment - 1;

Lock gAllocatorLock;
volatile int gAllocatorMode = kAllocatorUnused;
AllocationSite gSite;

// Serialises one allocator operation once static initialisation has
// switched the locked mode on.
class AllocatorGuard {
public:
    explicit AllocatorGuard(bool switchOn = false) : switchOn_(switchOn)
    {
        locked_ = gAllocatorMode == kAllocatorLocked;
        if (gAllocatorMode == kAllocatorUnused) {
            gAllocatorMode = kAllocatorUnlocked;
            gSite.tag = "at";
            gSite.file = "no_memtools_debug_info";
            gSite.line = -1;
        }
        if (switchOn_)
            gAllocatorMode = kAllocatorLocked;
        if (locked_)
            EnterLock(&gAllocatorLock);
    }
    ~AllocatorGuard()
    {
        if (locked_)
            LeaveLock(&gAllocatorLock);
        if (switchOn_)
            gAllocatorMode = kAllocatorEnded;
    }
    AllocatorGuard(const AllocatorGuard&) = delete;
    AllocatorGuard& operator=(const AllocatorGuard&) = delete;

private:
    bool switchOn_;
    bool locked_;
};

// Holds the switch-on guard from static initialisation until the static
// objects are destroyed, so every allocation in between takes the lock.
struct AllocatorLife {
    AllocatorLife() { InitLock(&gAllocatorLock); guard = new (&storage) AllocatorGuard(true); }
    ~AllocatorLife()
    {
        guard->~AllocatorGuard();
        DeleteLock(&gAllocatorLock);
    }
    alignas(AllocatorGuard) unsigned char storage[sizeof(AllocatorGuard)];
    AllocatorGuard* guard;
};
AllocatorLife gAllocatorLife __attribute__((init_priority(101)));

void** BlockStartWord(void* pointer)
{
    return reinterpret_cast<void**>(static_cast<unsigned char*>(pointer) - kOwnerSize -
                                    sizeof(void*));
}

void* OwnedBlock(size_t size, Heap* heap)
{
    if (size > static_cast<size_t>(-1) - kExtraSize)
        return nullptr;
    void* block = heap ? heap->Allocate(size + kExtraSize, &gSite) : std::malloc(size + kExtraSize);
    if (!block)
        return nullptr;
    uintptr_t start = reinterpret_cast<uintptr_t>(block) + kHeaderSize;
    void* pointer = reinterpret_cast<void*>((start + kAlignment - 1) & ~(kAlignment - 1));
    *BlockStartWord(pointer) = block;
    *reinterpret_cast<Heap**>(static_cast<unsigned char*>(pointer) - kOwnerSize) = heap;
    return pointer;
}

void FreeOwnedBlock(void* pointer)
{
    if (!pointer)
        return;
    void* block = *BlockStartWord(pointer);
    Heap* owner = HeapOwnerOf(pointer);
    if (owner)
        owner->Free(block, &gSite);
    else
        std::free(block);
}

}  // namespace

int AllocatorMode() { return gAllocatorMode; }

const AllocationSite* AllocationSiteRecord() { return &gSite; }

Heap::Heap() { AllocatorGuard guard; }

Heap::~Heap() { AllocatorGuard guard; }

void* HeapAllocate(size_t size, Heap* heap)
{
    AllocatorGuard guard;
    return OwnedBlock(size, heap);
}

void* HeapAllocateDefault(size_t size) { return HeapAllocate(size, gGlobalHeap); }

void* HeapAllocateLocked(size_t size, const AllocationSite*)
{
    AllocatorGuard guard;
    return std::malloc(size);
}

void HeapFreeLocked(void* block, const AllocationSite*)
{
    AllocatorGuard guard;
    std::free(block);
}

Heap* HeapOwnerOf(const void* pointer)
{
    return *reinterpret_cast<Heap* const*>(static_cast<const unsigned char*>(pointer) - kOwnerSize);
}

AFHeap::AFHeap(uint32_t maximumSize)
    : currentBytes(0), heapBytes(0), peakBytes(0), peakHeapBytes(0), heap(nullptr), isNT(false)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (GetVersionExA(&version))
        isNT = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    heap = HeapCreate(0, 0, maximumSize);
}

AFHeap::~AFHeap()
{
    if (heap)
        HeapDestroy(heap);
}

void* AFHeap::Allocate(size_t size, const AllocationSite*)
{
    if (size > 0xFFFFFFF0u)
        ExitProcess(1);
    SIZE_T bytes = (size + 3) & ~static_cast<size_t>(3);
    void* block = heap ? HeapAlloc(heap, 0, bytes) : nullptr;
    if (isNT) {
        PROCESS_HEAP_ENTRY entry = {};
        if (heap && HeapLock(heap)) {
            bool walked = HeapWalk(heap, &entry);
            HeapUnlock(heap);
            if (walked && (entry.wFlags & PROCESS_HEAP_REGION))
                heapBytes = entry.Region.dwCommittedSize;
        }
    } else {
        heapBytes += bytes + 16;
    }
    if (!block)
        ExitProcess(1);
    currentBytes += HeapSize(heap, 0, block);
    if (currentBytes > peakBytes)
        peakBytes = currentBytes;
    if (heapBytes > peakHeapBytes)
        peakHeapBytes = heapBytes;
    return block;
}

void AFHeap::Free(void* block, const AllocationSite*)
{
    SIZE_T size = HeapSize(heap, 0, block);
    currentBytes -= size;
    if (!isNT)
        heapBytes -= size + 16;
    HeapFree(heap, 0, block);
}

// The whole program allocates through the owner-word allocator: plain `new`
// takes runtime blocks (null owner) and `delete` frees every block to its
// owner. They return null on failure (built with -fcheck-new).
void* operator new(size_t size) { return HeapAllocateDefault(size); }
void* operator new[](size_t size) { return HeapAllocateDefault(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return HeapAllocateDefault(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return HeapAllocateDefault(size); }

void operator delete(void* pointer) noexcept
{
    AllocatorGuard guard;
    FreeOwnedBlock(pointer);
}
void operator delete[](void* pointer) noexcept { operator delete(pointer); }
void operator delete(void* pointer, size_t) noexcept { operator delete(pointer); }
void operator delete[](void* pointer, size_t) noexcept { operator delete(pointer); }
void operator delete(void* pointer, const std::nothrow_t&) noexcept { operator delete(pointer); }
void operator delete[](void* pointer, const std::nothrow_t&) noexcept { operator delete(pointer); }

void* operator new(size_t size, Heap* heap) noexcept { return HeapAllocate(size, heap); }
void* operator new[](size_t size, Heap* heap) noexcept { return HeapAllocate(size, heap); }
void operator delete(void* pointer, Heap*) noexcept { operator delete(pointer); }
void operator delete[](void* pointer, Heap*) noexcept { operator delete(pointer); }
