// The dirty region: disjoint boxes that cover what was added, at most 20.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>
#include "media/rectangle_list.h"

namespace {

bool Overlap(const Box& a, const Box& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void ExpectDisjointAndNonEmpty(const MMRectangleList& list)
{
    ASSERT_LE(list.Count(), MMRectangleList::kCapacity);
    for (int i = 0; i < list.Count(); ++i) {
        const Box& a = list.At(i);
        ASSERT_LT(a.left, a.right);
        ASSERT_LT(a.top, a.bottom);
        for (int j = i + 1; j < list.Count(); ++j) {
            ASSERT_FALSE(Overlap(a, list.At(j))) << i << " and " << j;
        }
    }
}

// Pixels of a 64 x 64 grid inside the list's boxes.
std::vector<bool> Grid(const MMRectangleList& list)
{
    std::vector<bool> grid(64 * 64, false);
    for (const Box& box : list) {
        for (int y = box.top; y < box.bottom; ++y) {
            for (int x = box.left; x < box.right; ++x) {
                grid[y * 64 + x] = true;
            }
        }
    }
    return grid;
}

Box RandomBox(std::mt19937& random)
{
    int left = random() % 60;
    int top = random() % 60;
    return {left, top, left + 1 + static_cast<int>(random() % (64 - left)),
            top + 1 + static_cast<int>(random() % (64 - top))};
}

}  // namespace

TEST(RectangleList, RandomAdditionsStayDisjointAndCovering)
{
    std::mt19937 random(2024);
    for (int round = 0; round < 200; ++round) {
        MMRectangleList list;
        std::vector<bool> added(64 * 64, false);
        int additions = 1 + random() % 40;
        for (int n = 0; n < additions; ++n) {
            Box box = RandomBox(random);
            if (random() % 3 == 0) {  // small boxes fill the list up
                box.right = box.left + 1 + random() % 4;
                box.bottom = box.top + 1 + random() % 4;
                box.right = std::min(box.right, 64);
                box.bottom = std::min(box.bottom, 64);
            }
            list.Add(box);
            for (int y = box.top; y < box.bottom; ++y) {
                for (int x = box.left; x < box.right; ++x) {
                    added[y * 64 + x] = true;
                }
            }
            ExpectDisjointAndNonEmpty(list);
            ASSERT_TRUE(list.CoversBox(box));
            std::vector<bool> grid = Grid(list);
            for (int i = 0; i < 64 * 64; ++i) {
                ASSERT_TRUE(!added[i] || grid[i]) << "round " << round << " pixel " << i;
            }
            int area = 0;
            for (bool pixel : grid) {
                area += pixel;
            }
            ASSERT_EQ(area, list.Area());
        }
    }
}

TEST(RectangleList, FewAdditionsGiveExactlyTheUnion)
{
    std::mt19937 random(77);
    for (int round = 0; round < 300; ++round) {
        MMRectangleList list;
        std::vector<bool> added(64 * 64, false);
        for (int n = 0; n < 4; ++n) {
            Box box = RandomBox(random);
            list.Add(box);
            for (int y = box.top; y < box.bottom; ++y) {
                for (int x = box.left; x < box.right; ++x) {
                    added[y * 64 + x] = true;
                }
            }
        }
        ExpectDisjointAndNonEmpty(list);
        ASSERT_EQ(added, Grid(list)) << "round " << round;
    }
}

TEST(RectangleList, ContainedAndContainingBoxes)
{
    MMRectangleList list;
    list.Add({0, 0, 10, 10});
    list.Add({2, 2, 5, 5});
    ASSERT_EQ(1, list.Count());
    EXPECT_EQ((Box{0, 0, 10, 10}), list.At(0));

    list.Add({20, 0, 30, 10});
    list.Add({-1, -1, 40, 11});
    ASSERT_EQ(1, list.Count());
    EXPECT_EQ((Box{-1, -1, 40, 11}), list.At(0));
}

TEST(RectangleList, OverlappingAndTouchingBoxesMerge)
{
    MMRectangleList list;
    list.Add({0, 0, 10, 10});
    list.Add({5, 0, 15, 10});
    ASSERT_EQ(1, list.Count());
    EXPECT_EQ((Box{0, 0, 15, 10}), list.At(0));

    MMRectangleList touching;
    touching.Add({0, 0, 10, 10});
    touching.Add({10, 0, 20, 10});
    ASSERT_EQ(1, touching.Count());
    EXPECT_EQ((Box{0, 0, 20, 10}), touching.At(0));
}

TEST(RectangleList, AFullListMergesTheTwentyFirstBox)
{
    MMRectangleList list;
    for (int i = 0; i < 20; ++i) {
        list.Add({i * 10, (i % 2) * 10, i * 10 + 5, (i % 2) * 10 + 5});
    }
    ASSERT_EQ(20, list.Count());
    Box extra = {0, 40, 5, 45};
    list.Add(extra);
    EXPECT_LE(list.Count(), 20);
    ExpectDisjointAndNonEmpty(list);
    // The cheapest union in extra area is the one with the box straight above.
    EXPECT_NE(list.end(), std::find(list.begin(), list.end(), Box{0, 0, 5, 45}));
    EXPECT_TRUE(list.CoversBox(extra));
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(list.CoversBox({i * 10, (i % 2) * 10, i * 10 + 5, (i % 2) * 10 + 5}));
    }
}

TEST(RectangleList, QueriesAndClipping)
{
    MMRectangleList list;
    EXPECT_EQ((Box{0, 0, 0, 0}), list.Bounds());
    list.Add({0, 0, 10, 10});
    list.Add({10, 5, 20, 15});
    EXPECT_TRUE(list.CoversBox({5, 5, 15, 10}));  // split across two boxes
    EXPECT_FALSE(list.CoversBox({5, 5, 15, 12}));
    EXPECT_TRUE(list.ContainsPoint({19, 14}));
    EXPECT_FALSE(list.ContainsPoint({20, 14}));
    EXPECT_TRUE(list.Intersects({9, 9, 11, 11}));
    EXPECT_FALSE(list.Intersects({10, 0, 20, 5}));
    EXPECT_EQ((Box{0, 0, 20, 15}), list.Bounds());
    EXPECT_EQ(200, list.Area());

    MMRectangleList clipped = list;
    clipped.ClipToBox({5, 5, 12, 7});
    EXPECT_EQ(14, clipped.Area());
    clipped.Offset({100, 0});
    EXPECT_TRUE(clipped.ContainsPoint({105, 5}));

    MMRectangleList other;
    other.Add({8, 8, 12, 12});
    list.IntersectWithList(other);
    EXPECT_EQ(12, list.Area());

    MMRectangleList sorted;
    sorted.Add({50, 50, 60, 60});
    sorted.Add({0, 50, 5, 55});
    sorted.Add({30, 0, 40, 5});
    sorted.SortByTopLeft();
    EXPECT_EQ(30, sorted.At(0).left);
    EXPECT_EQ(0, sorted.At(1).left);
    EXPECT_EQ(50, sorted.At(2).left);
}
