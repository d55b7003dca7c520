// Purgeable resource heaps: least-recently-used purging across heaps,
// purging on allocation failure and over a memory limit, the use clock's
// wrap-around, automatic purging and the dump.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "engine/resource_collection.h"
#include "engine/resource_heap.h"
#include "framework/folders.h"
#include "resource_fixture.h"

namespace {

// Memory from a budget of blocks shared by every test heap, so that running
// out of memory is repeatable.
class BudgetHeap : public MMResourceHeap {
public:
    BudgetHeap(const char* name, int16_t count) : MMResourceHeap(name, count) {}
    HGLOBAL AllocateMemory(uint16_t slot, uint32_t bytes) override
    {
        if (blocksLeft == 0) return nullptr;
        --blocksLeft;
        return MMResourceHeap::AllocateMemory(slot, bytes);
    }
    void FreeMemory(uint16_t slot, HGLOBAL memory) override
    {
        ++blocksLeft;
        MMResourceHeap::FreeMemory(slot, memory);
    }
    static int blocksLeft;
};
int BudgetHeap::blocksLeft = 0;

class ResourceHeapTest : public ::testing::Test {
protected:
    void SetUp() override { BudgetHeap::blocksLeft = 1000; }
    void TearDown() override { MMResourceHeap::SetMemoryLimit(0); }

    static void Touch(MMResourceHeap& heap, uint16_t slot)
    {
        ASSERT_TRUE(heap.Lock(slot));
        heap.Unlock(slot);
    }
    // Which slot of which heap the next PurgeOne takes, as "a1"; "" for none.
    static std::string PurgeNext(std::initializer_list<MMResourceHeap*> heaps)
    {
        std::vector<std::vector<bool>> before;
        for (MMResourceHeap* heap : heaps) {
            before.emplace_back();
            for (uint16_t s = 0; s < uint16_t(heap->ItemCount()); ++s)
                before.back().push_back(heap->IsAllocated(s));
        }
        if (MMResourceHeap::PurgeOne() == 0) return "";
        int h = 0;
        for (MMResourceHeap* heap : heaps) {
            for (uint16_t s = 0; s < uint16_t(heap->ItemCount()); ++s)
                if (before[h][s] && !heap->IsAllocated(s)) {
                    EXPECT_TRUE(heap->IsPurged(s));
                    return heap->Name() + std::to_string(s);
                }
            ++h;
        }
        return "?";
    }
};

TEST_F(ResourceHeapTest, PurgesLeastRecentlyUsedAcrossHeapsSparingUsedLockedAndPinned)
{
    BudgetHeap a("a", 3), b("b", 3);
    for (uint16_t s = 0; s < 3; ++s) {
        ASSERT_TRUE(a.Allocate(s, 64));
        ASSERT_TRUE(b.Allocate(s, 64));
    }
    for (auto [heap, slot] : std::vector<std::pair<MMResourceHeap*, uint16_t>>{
             {&a, 0}, {&b, 2}, {&a, 2}, {&b, 0}, {&a, 1}, {&b, 1}})
        Touch(*heap, slot);
    ASSERT_TRUE(a.Lock(1));  // locked: never purged
    b.MarkReferenced(0);     // used: only when nothing unused is left
    a.Pin(2);                // valuable: never purged
    const char* expected[] = {"a0", "b2", "b1", "b0", ""};
    for (const char* name : expected) EXPECT_EQ(name, PurgeNext({&a, &b}));
    EXPECT_TRUE(a.IsAllocated(1));
    EXPECT_TRUE(a.IsAllocated(2));
    a.Unlock(1);
    a.Unpin(2);
    a.FreeAll();
    b.FreeAll();
}

TEST_F(ResourceHeapTest, EqualStampsGoToTheNewestHeapAndTheHighestSlot)
{
    BudgetHeap older("c", 2), newer("d", 2);
    for (MMResourceHeap* heap : {static_cast<MMResourceHeap*>(&older), static_cast<MMResourceHeap*>(&newer)})
        for (uint16_t s = 0; s < 2; ++s) {
            MMResourceHeap::SetClock(1000);
            ASSERT_TRUE(heap->Allocate(s, 16));
        }
    for (const char* name : {"d1", "d0", "c1", "c0"}) EXPECT_EQ(name, PurgeNext({&older, &newer}));
}

TEST_F(ResourceHeapTest, AllocationPurgesUntilItFitsOrFails)
{
    BudgetHeap heap("h", 257);
    BudgetHeap::blocksLeft = 3;
    for (uint16_t s = 0; s < 3; ++s) ASSERT_TRUE(heap.Allocate(s, 32));
    Touch(heap, 0);  // slot 1 is now the least recently used
    EXPECT_TRUE(heap.Allocate(256, 32));  // the second page's only slot
    EXPECT_TRUE(heap.IsPurged(1));
    EXPECT_FALSE(heap.Allocate(257, 32));  // no such slot

    for (uint16_t s : {0, 2, 256}) ASSERT_TRUE(heap.Lock(s));
    EXPECT_FALSE(heap.Allocate(1, 32));  // everything locked
    EXPECT_FALSE(heap.IsAllocated(1));
    EXPECT_FALSE(heap.IsPurged(1));
    for (uint16_t s : {0, 2, 256}) heap.Unlock(s);
    heap.FreeAll();
    EXPECT_EQ(3, BudgetHeap::blocksLeft);
}

TEST_F(ResourceHeapTest, MemoryLimitPurgesDownToIt)
{
    BudgetHeap heap("h", 3);
    uint32_t start = MMResourceHeap::CurrentMemory();
    for (uint16_t s = 0; s < 3; ++s) ASSERT_TRUE(heap.Allocate(s, 100));
    uint32_t block = (MMResourceHeap::CurrentMemory() - start) / 3;
    MMResourceHeap::SetMemoryLimit(start + 2 * block);
    EXPECT_TRUE(heap.IsPurged(0));
    EXPECT_TRUE(heap.IsAllocated(1));
    EXPECT_TRUE(heap.Allocate(0, 100));  // purges slot 1 to stay under the limit
    EXPECT_TRUE(heap.IsPurged(1));
    ASSERT_TRUE(heap.Lock(0));
    ASSERT_TRUE(heap.Lock(2));
    EXPECT_FALSE(heap.Allocate(1, 100));
    heap.Unlock(0);
    heap.Unlock(2);
    MMResourceHeap::SetMemoryLimit(0);
    heap.FreeAll();
    EXPECT_EQ(start, MMResourceHeap::CurrentMemory());
}

TEST_F(ResourceHeapTest, ClockPastHalfItsRangeScalesStampsAndClockTogether)
{
    BudgetHeap heap("h", 3);
    MMResourceHeap::SetClock(0x7FFF0000u);
    ASSERT_TRUE(heap.Allocate(0, 8));       // stamp 0x7FFF0000
    MMResourceHeap::SetClock(0x80000000u);
    ASSERT_TRUE(heap.Allocate(1, 8));       // scales first: slot 0 becomes 0x7FFF
    EXPECT_EQ(0x7FFFu, heap.LastUse(0));
    EXPECT_EQ(0x8000u, heap.LastUse(1));
    EXPECT_EQ(0x8001u, MMResourceHeap::Clock());
    ASSERT_TRUE(heap.Allocate(2, 8));
    EXPECT_EQ(0x7FFFu, heap.LastUse(0));    // no second scaling
    EXPECT_EQ(0x8001u, heap.LastUse(2));
    EXPECT_EQ("h0", PurgeNext({&heap}));    // order survives
    heap.FreeAll();
}

TEST_F(ResourceHeapTest, AutoPurgeItemGoesWithItsLastReference)
{
    BudgetHeap heap("h", 2);
    MMStandardReferenceManager manager(&heap);
    ASSERT_TRUE(heap.Allocate(1, 8));
    heap.SetAutoPurge(1);
    {
        MMResourceReference reference;
        reference.Set(&manager, 1);
        reference.Set(&manager, 1);  // re-setting never lets the count reach 0
        EXPECT_EQ(1, manager.UseCount(1));
        EXPECT_TRUE(heap.IsAllocated(1));
        MMResourceReference copy(reference);
        EXPECT_EQ(2, manager.UseCount(1));
    }
    EXPECT_EQ(0, manager.UseCount(1));
    EXPECT_TRUE(heap.IsPurged(1));
    heap.FreeAll();

    MMDummyReferenceManager dummy(4);
    for (int i = 0; i < 0x8000; ++i) dummy.Use(0);
    EXPECT_EQ(0x7FFF, dummy.UseCount(3));
}

TEST_F(ResourceHeapTest, DumpAppendsEveryHeap)
{
    FSDirectory program;
    ASSERT_TRUE(FSProgramFolder(program));
    FSDeleteFile(program, "HEAPDUMP.TXT");
    BudgetHeap heap("dumped", 2);
    ASSERT_TRUE(heap.Allocate(1, 8));
    heap.MarkReferenced(1);
    ASSERT_TRUE(MMResourceHeap::Dump());
    std::vector<uint8_t> bytes = ReadFileBytes(program, "HEAPDUMP.TXT");
    std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(0u, text.find("==============\ntime "));
    EXPECT_NE(std::string::npos, text.find("heap dumped: 0\nitemCount 2\n00001 size(00000008) lastUsed("));
    EXPECT_NE(std::string::npos, text.find(") Used\n\n"));
    heap.FreeAll();
    FSDeleteFile(program, "HEAPDUMP.TXT");
}

}  // namespace
