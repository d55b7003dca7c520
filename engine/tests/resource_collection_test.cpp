// Resource collections: locking every collection reserves first and reads
// only when all reservations succeeded, undoing everything otherwise;
// collection directories; references.
#include <gtest/gtest.h>
#include <cstring>
#include <set>
#include "engine/resource_collection.h"
#include "engine/resource_heap.h"

namespace {

// A heap-backed collection whose reservations and reads can be made to fail.
class TestCollection : public MMResourceCollection {
public:
    explicit TestCollection(int16_t count)
        : heap("test heap", count), manager(&heap),
          helper(&heap, count, this, &TestCollection::Reserve, &TestCollection::Read)
    {
    }
    ~TestCollection() override { heap.FreeAll(); }
    bool LockAll() override { return helper.LockAll(); }
    void UnlockAll(bool readItems) override { helper.UnlockAll(readItems); }
    void FreeUnused() override { helper.FreeUnused(); }

    bool Reserve(int16_t index)
    {
        if (failReserve.count(index) || !heap.Allocate(uint16_t(index), 16)) return false;
        if (heap.Lock(uint16_t(index))) return true;
        heap.Free(uint16_t(index));
        return false;
    }
    bool Read(int16_t index)
    {
        reads.insert(index);
        if (failRead.count(index)) return false;
        std::memset(heap.Pointer(uint16_t(index)), index, 16);
        return true;
    }

    MMResourceHeap heap;
    MMStandardReferenceManager manager;
    MMStandardResourceHelper<TestCollection> helper;
    std::set<int16_t> failReserve, failRead, reads;
};

TEST(ResourceCollectionTest, LockingAllCollectionsLoadsUsedItemsAndLeavesThemUnlocked)
{
    TestCollection first(4), second(3);
    EXPECT_TRUE(MMLockAllCollections());  // nothing used: nothing touched
    EXPECT_TRUE(first.reads.empty());
    EXPECT_FALSE(first.heap.IsAllocated(0));

    MMResourceReference a, b, c, d;
    a.Set(&first.manager, 0);   // absent: reserved, then read
    b.Set(&first.manager, 1);   // in memory, unlocked
    c.Set(&first.manager, 2);   // in memory, locked by someone
    d.Set(&second.manager, 2);  // absent
    ASSERT_TRUE(first.Reserve(1) && first.Read(1));
    first.heap.Unlock(1);
    ASSERT_TRUE(first.Reserve(2) && first.Read(2));
    ASSERT_TRUE(first.Reserve(3));  // not used: left alone
    first.heap.Unlock(3);
    first.reads.clear();

    ASSERT_TRUE(MMLockAllCollections());
    EXPECT_EQ(std::set<int16_t>({0}), first.reads);
    EXPECT_EQ(std::set<int16_t>({2}), second.reads);
    for (uint16_t s : {0, 1}) EXPECT_EQ(0, first.heap.LockCount(s));
    EXPECT_EQ(1, first.heap.LockCount(2));
    EXPECT_EQ(0, static_cast<uint8_t*>(first.heap.Pointer(0))[15]);
    EXPECT_TRUE(second.heap.IsAllocated(2));
    EXPECT_EQ(2, static_cast<uint8_t*>(second.heap.Pointer(2))[0]);
    first.heap.Unlock(2);

    // Scene change: unused items go, used ones stay.
    a.Clear();
    MMPurgeUnusedResources();
    EXPECT_FALSE(first.heap.IsAllocated(0));
    EXPECT_FALSE(first.heap.IsAllocated(3));
    EXPECT_TRUE(first.heap.IsAllocated(1));
}

TEST(ResourceCollectionTest, AFailedReservationUndoesEveryCollection)
{
    TestCollection first(3), second(3);
    MMResourceReference a, b, c, d;
    a.Set(&first.manager, 0);
    b.Set(&first.manager, 2);
    c.Set(&second.manager, 0);
    d.Set(&second.manager, 1);
    ASSERT_TRUE(first.Reserve(2));
    first.heap.Unlock(2);  // in memory before the cycle
    second.failReserve.insert(1);

    EXPECT_FALSE(MMLockAllCollections());
    EXPECT_TRUE(first.reads.empty());
    EXPECT_TRUE(second.reads.empty());
    EXPECT_FALSE(first.heap.IsAllocated(0));   // reserved in the cycle: released
    EXPECT_TRUE(first.heap.IsAllocated(2));    // was there: only unlocked
    EXPECT_EQ(0, first.heap.LockCount(2));
    EXPECT_FALSE(second.heap.IsAllocated(0));
    EXPECT_EQ(0, second.heap.LockCount(0));

    // A read that fails leaves its item empty; the others load.
    second.failReserve.clear();
    second.failRead.insert(0);
    EXPECT_TRUE(MMLockAllCollections());
    EXPECT_FALSE(second.heap.IsAllocated(0));
    EXPECT_TRUE(second.heap.IsAllocated(1));
    EXPECT_TRUE(first.heap.IsAllocated(0));
}

TEST(ResourceCollectionTest, DirectoryKeepsFixedAndGrowingEntries)
{
    int x = 0, y = 0, z = 0, w = 0;
    MMCollectionDirectory<int> directory;
    directory.Register(&x, 3);
    directory.Register(&y, 3);      // below 8: replaces
    directory.Register(&z, 0x4000);
    directory.Register(&w, 0x4000); // 8 or more: both kept
    EXPECT_EQ(&y, directory.Find(3));
    EXPECT_EQ(&z, directory.Find(0x4000));
    EXPECT_FALSE(directory.Contains(&x));
    EXPECT_EQ(&y, directory.At(0));
    EXPECT_EQ(&z, directory.At(1));
    EXPECT_EQ(&w, directory.At(2));
    EXPECT_EQ(nullptr, directory.At(3));
    directory.Unregister(&z, 0x4000);
    EXPECT_EQ(&w, directory.Find(0x4000));
    directory.Unregister(&y, 3);
    EXPECT_EQ(nullptr, directory.Find(3));
    EXPECT_EQ(&w, directory.At(0));
}

TEST(ResourceCollectionTest, CollectionsStandInOneListInConstructionOrder)
{
    size_t before = MMResourceCollection::All().size();
    {
        TestCollection first(1), second(1);
        ASSERT_EQ(before + 2, MMResourceCollection::All().size());
        EXPECT_EQ(&first, MMResourceCollection::All()[before]);
        EXPECT_EQ(&second, MMResourceCollection::All()[before + 1]);
    }
    EXPECT_EQ(before, MMResourceCollection::All().size());
}

}  // namespace
