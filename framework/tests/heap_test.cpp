#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include "framework/heap.h"

namespace {

class CountingHeap : public Heap {
public:
    void* Allocate(size_t size, const AllocationSite* site) override
    {
        ++allocations;
        lastSite = site;
        lastAllocated = std::malloc(size);
        return lastAllocated;
    }
    void Free(void* block, const AllocationSite*) override
    {
        ++frees;
        lastFreed = block;
        std::free(block);
    }
    int allocations = 0;
    int frees = 0;
    void* lastFreed = nullptr;
    void* lastAllocated = nullptr;
    const AllocationSite* lastSite = nullptr;
};

struct Probe {
    explicit Probe(int v) : value(v) {}
    int value;
};

TEST(HeapTest, EveryBlockCarriesItsOwner)
{
    // The whole program runs in locked mode from static initialisation on.
    EXPECT_EQ(AllocatorMode(), kAllocatorLocked);

    int* plain = new int(5);
    EXPECT_EQ(HeapOwnerOf(plain), nullptr);
    delete plain;
    char* array = new char[10];
    EXPECT_EQ(HeapOwnerOf(array), nullptr);
    delete[] array;

    CountingHeap heap;
    Probe* probe = new (&heap) Probe(7);
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->value, 7);
    EXPECT_EQ(HeapOwnerOf(probe), &heap);
    EXPECT_EQ(heap.allocations, 1);
    EXPECT_STREQ(heap.lastSite->file, "no_memtools_debug_info");
    EXPECT_EQ(heap.lastSite->line, -1);
    delete probe;  // the plain delete finds the owner
    EXPECT_EQ(heap.frees, 1);
    EXPECT_EQ(heap.lastFreed, heap.lastAllocated);  // the block the heap gave, whole

    void* runtime = HeapAllocate(12, nullptr);
    EXPECT_EQ(HeapOwnerOf(runtime), nullptr);
    operator delete(runtime);
    operator delete(static_cast<void*>(nullptr));
    EXPECT_EQ(heap.frees, 1);
}

bool IsAligned16(const void* pointer) { return reinterpret_cast<uintptr_t>(pointer) % 16 == 0; }

TEST(HeapTest, BlocksStartOn16ByteBoundaries)
{
    CountingHeap heap;
    AFHeap privateHeap;
    for (size_t size : {size_t(1), size_t(3), size_t(8), size_t(12), size_t(16), size_t(33),
                        size_t(100), size_t(4096)}) {
        void* blocks[] = {HeapAllocate(size, nullptr), HeapAllocate(size, &heap),
                          HeapAllocate(size, &privateHeap), new char[size]};
        for (void* block : blocks) {
            ASSERT_NE(block, nullptr);
            EXPECT_TRUE(IsAligned16(block)) << size;
            std::memset(block, 0xA5, size);  // the caller's bytes leave the owner alone
        }
        EXPECT_EQ(HeapOwnerOf(blocks[0]), nullptr);
        EXPECT_EQ(HeapOwnerOf(blocks[1]), &heap);
        EXPECT_EQ(HeapOwnerOf(blocks[2]), &privateHeap);
        EXPECT_EQ(HeapOwnerOf(blocks[3]), nullptr);
        for (void* block : blocks)
            operator delete(block);
    }
    EXPECT_EQ(heap.allocations, heap.frees);
    EXPECT_EQ(privateHeap.currentBytes, 0u);
}

#if defined(__i386__)
// The shipping build: the owner word is 4 bytes, and the runtime's own blocks
// are only 8-byte aligned, so the 16 comes from the allocator alone.
TEST(HeapTest, OwnerWordOfPlainNewIsFourBytes)
{
    ASSERT_EQ(sizeof(Heap*), 4u);
    for (int round = 0; round < 16; ++round) {
        int* plain = new int(round);
        uint32_t word;
        std::memcpy(&word, reinterpret_cast<char*>(plain) - 4, 4);
        EXPECT_EQ(word, 0u);
        EXPECT_TRUE(IsAligned16(plain));
        delete plain;
    }
}
#endif

TEST(HeapTest, OversizedRequestsAreRefusedNotWrapped)
{
    CountingHeap heap;
    EXPECT_EQ(HeapAllocate(SIZE_MAX - 1, &heap), nullptr);
    EXPECT_EQ(HeapAllocate(SIZE_MAX - 3, nullptr), nullptr);
    EXPECT_EQ(heap.allocations, 0);
    // A heap that gives nothing makes `new` give null without constructing.
    struct EmptyHeap : Heap {
        void* Allocate(size_t, const AllocationSite*) override { return nullptr; }
        void Free(void*, const AllocationSite*) override {}
    } empty;
    EXPECT_EQ(new (&empty) Probe(1), nullptr);
}

TEST(HeapTest, PrivateHeapCountsWhatTheSystemGives)
{
    AFHeap heap;
    void* block = heap.Allocate(1, AllocationSiteRecord());
    ASSERT_NE(block, nullptr);
    SIZE_T size = HeapSize(heap.heap, 0, block);
    EXPECT_GE(size, 4u);
    EXPECT_EQ(heap.currentBytes, size);
    EXPECT_EQ(heap.peakBytes, size);
    EXPECT_GT(heap.heapBytes, 0u);
    heap.Free(block, AllocationSiteRecord());
    EXPECT_EQ(heap.currentBytes, 0u);
    EXPECT_EQ(heap.peakBytes, size);

    int* owned = new (&heap) int(3);
    EXPECT_EQ(HeapOwnerOf(owned), &heap);
    EXPECT_GT(heap.currentBytes, 0u);
    delete owned;
    EXPECT_EQ(heap.currentBytes, 0u);
}

}  // namespace
