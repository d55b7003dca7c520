#include <gtest/gtest.h>

#include <vector>
#include "framework/base_list.h"
#include "framework/ring_buffer.h"
#include "framework/uu_list.h"

namespace {

struct Tagged {
    int key;
    int tag;
    bool operator==(const Tagged& other) const { return key == other.key && tag == other.tag; }
};

int CompareKeys(const Tagged& a, const Tagged& b) { return a.key - b.key; }

std::vector<Tagged> Items(UUList<Tagged>& list)
{
    std::vector<Tagged> items;
    for (UUUntypedListNode* n = list.First(); n != list.End(); n = n->next)
        items.push_back(UUList<Tagged>::ItemOf(n));
    return items;
}

TEST(ListTest, MergeSortIsStable)
{
    UUList<Tagged> list;
    list.Sort(&CompareKeys);
    EXPECT_EQ(list.count, 0);
    list.Append({7, 'a'});
    list.Sort(&CompareKeys);
    EXPECT_EQ(Items(list), (std::vector<Tagged>{{7, 'a'}}));

    UUList<Tagged> four;
    for (Tagged t : {Tagged{2, 'a'}, Tagged{1, 'a'}, Tagged{2, 'b'}, Tagged{0, 'a'}})
        four.Append(t);
    four.Sort(&CompareKeys);
    EXPECT_EQ(Items(four), (std::vector<Tagged>{{0, 'a'}, {1, 'a'}, {2, 'a'}, {2, 'b'}}));
    EXPECT_EQ(four.count, 4);

    // A longer run with many ties keeps every tie in its original order.
    UUList<Tagged> many;
    for (int i = 0; i < 40; ++i)
        many.Append({(i * 7) % 5, i});
    many.Sort(&CompareKeys);
    std::vector<Tagged> sorted = Items(many);
    ASSERT_EQ(sorted.size(), 40u);
    for (size_t i = 1; i < sorted.size(); ++i) {
        ASSERT_LE(sorted[i - 1].key, sorted[i].key);
        if (sorted[i - 1].key == sorted[i].key) {
            ASSERT_LT(sorted[i - 1].tag, sorted[i].tag);
        }
    }

    UUList<Tagged> other;
    other.Append({9, 'z'});
    four.Swap(other);
    EXPECT_EQ(four.count, 1);
    EXPECT_EQ(other.count, 4);
    EXPECT_EQ(Items(four), (std::vector<Tagged>{{9, 'z'}}));
}

bool Before(void* a, void* b) { return *static_cast<int*>(a) < *static_cast<int*>(b); }

TEST(ListTest, BaseListIteratorsAndInsertionSort)
{
    int values[] = {3, 1, 3, 0};
    BaseList list;
    for (int& v : values)
        list.Append(&v);
    BaseListIterator beyond;
    beyond.InitAt(&list, 5);
    EXPECT_FALSE(beyond.IsValid());
    EXPECT_EQ(beyond.Index(), 0xFFFF);

    list.Sort(&Before);
    std::vector<int*> order;
    for (BaseListIterator it(&list, BaseListIterator::kFirst); it.IsValid(); it.Next())
        order.push_back(static_cast<int*>(list.ItemAt(it)));
    EXPECT_EQ(order, (std::vector<int*>{&values[3], &values[1], &values[0], &values[2]}));

    BaseListIterator second;
    second.InitAt(&list, 1);
    EXPECT_EQ(second.Index(), 1);
    EXPECT_EQ(list.RemoveAt(second), &values[1]);
    EXPECT_EQ(list.ItemAt(second), &values[0]);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.CountOf(&values[1]), 0);
    EXPECT_EQ(list.RemoveFirst(), &values[3]);
    EXPECT_EQ(list.RemoveLast(), &values[2]);
    EXPECT_EQ(list.RemoveLast(), &values[0]);
    EXPECT_EQ(list.RemoveLast(), nullptr);
    EXPECT_EQ(list.First(), nullptr);
}

TEST(ListTest, BaseListRefusesANodeItsCountCannotHold)
{
    BaseList list;
    int item = 0;
    for (int i = 0; i < 0xFFFF; ++i)
        ASSERT_NE(list.Append(&item), nullptr) << i;
    EXPECT_EQ(list.Append(&item), nullptr);
    EXPECT_EQ(list.Prepend(&item), nullptr);
    EXPECT_EQ(list.Count(), 0xFFFF);
    BaseListIterator last(&list, BaseListIterator::kLast);
    EXPECT_EQ(last.Index(), 0xFFFE);
    list.RemoveAll();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.First(), nullptr);
}

TEST(ListTest, RingHoldsOneLessThanItsCapacity)
{
    int storage[16];
    UURingBuffer ring(sizeof(int), 16, storage);
    EXPECT_EQ(ring.Front(), nullptr);
    EXPECT_EQ(ring.Back(), nullptr);
    for (int i = 0; i < 15; ++i) {
        ASSERT_TRUE(ring.Push(&i));
        EXPECT_EQ(*static_cast<int*>(ring.Back()), i);
    }
    int extra = 99;
    EXPECT_FALSE(ring.Push(&extra));
    EXPECT_EQ(*static_cast<int*>(ring.Front()), 0);
    ring.Pop();
    EXPECT_TRUE(ring.Push(&extra));
    EXPECT_FALSE(ring.Push(&extra));
    EXPECT_EQ(*static_cast<int*>(ring.Front()), 1);
    EXPECT_EQ(*static_cast<int*>(ring.Back()), 99);
}

}  // namespace
