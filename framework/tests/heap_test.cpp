#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include "framework/heap.h"

namespace {

class CountingHeap : public Heap {
public:
    void* Allocate(size_t size, const AllocationSite* site) override
    {
        ++allocations;
        lastSite = site;
        return std::malloc(size);
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
    EXPECT_EQ(heap.lastFreed, reinterpret_cast<char*>(probe) - sizeof(Heap*));

    void* runtime = HeapAllocate(12, nullptr);
    EXPECT_EQ(HeapOwnerOf(runtime), nullptr);
    operator delete(runtime);
    operator delete(static_cast<void*>(nullptr));
    EXPECT_EQ(heap.frees, 1);
}

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
