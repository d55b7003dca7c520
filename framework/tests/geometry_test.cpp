#include <gtest/gtest.h>

#include "framework/geometry.h"

namespace {

enum Operation { kUnion, kIntersect, kNormalize };

TEST(GeometryTest, BoxUnionIntersectionAndNormalisation)
{
    struct Case {
        Operation operation;
        Box box;
        Box other;
        Box expected;
    } cases[] = {
        {kUnion, {0, 0, 0, 0}, {10, 10, 20, 20}, {10, 10, 20, 20}},
        {kUnion, {0, 0, 5, 5}, {3, 3, 3, 8}, {0, 0, 5, 5}},
        {kUnion, {0, 0, 5, 5}, {-2, 3, 4, 9}, {-2, 0, 5, 9}},
        {kIntersect, {0, 0, 10, 10}, {20, 20, 30, 30}, {0, 0, 0, 0}},
        {kIntersect, {0, 0, 10, 10}, {10, 0, 20, 10}, {10, 0, 10, 10}},
        {kIntersect, {0, 0, 10, 10}, {5, -5, 15, 5}, {5, 0, 10, 5}},
        {kNormalize, {10, 10, 0, 0}, {}, {0, 0, 10, 10}},
        {kNormalize, {0, 10, 10, 0}, {}, {0, 0, 10, 10}},
    };
    for (const Case& c : cases) {
        Box box = c.box;
        if (c.operation == kUnion)
            box.Union(c.other);
        else if (c.operation == kIntersect)
            box.Intersect(c.other);
        else
            box.Normalize();
        EXPECT_EQ(box, c.expected) << c.operation << " " << c.box.left << "," << c.box.top;
    }
    Box touching{0, 0, 10, 10};
    touching.Intersect(Box{10, 0, 20, 10});
    EXPECT_TRUE(touching.IsEmpty());
}

TEST(GeometryTest, PairLengthAndQuarterTurns)
{
    EXPECT_EQ((Pair{3, 4}.Length()), 5);
    EXPECT_EQ((Pair{0, 0}.Length()), 0);
    EXPECT_EQ((Pair{-30, 40}.Length()), 50);
    Pair p{3, 4};
    p.SetLength(10);
    EXPECT_EQ(p, (Pair{6, 8}));
    EXPECT_EQ(RotatePair(Pair{1, 2}, 90), (Pair{2, -1}));
    EXPECT_EQ(RotatePair(Pair{1, 2}, -90), (Pair{-2, 1}));
    EXPECT_EQ(RotateBox(Box{0, 0, 4, 2}, 90, Pair{0, 0}), (Box{0, -4, 2, 0}));
    Box box{0, 0, 10, 10};
    box.Offset(Pair{5, -2});
    box.Inflate(1);
    EXPECT_EQ(box, (Box{4, -3, 16, 9}));
}

}  // namespace

TEST(BoxTest, OverlapAndEnclosureCountSharedPixels)
{
    const Box box = {0, 0, 10, 10};
    struct Case {
        Box other;
        bool overlaps;
        bool encloses;
    } cases[] = {
        {{2, 2, 5, 5}, true, true},
        {{0, 0, 10, 10}, true, true},
        {{10, 0, 20, 10}, false, false},  // touching edges share no pixel
        {{-5, -5, 1, 1}, true, false},
        {{3, 3, 3, 8}, false, true},      // empty, inside
        {{20, 20, 30, 30}, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(box.Overlaps(c.other), c.overlaps) << c.other.left << "," << c.other.top;
        EXPECT_EQ(c.other.Overlaps(box), c.overlaps) << c.other.left << "," << c.other.top;
        EXPECT_EQ(box.Contains(c.other), c.encloses) << c.other.left << "," << c.other.top;
    }
    EXPECT_EQ(box.Intersected({20, 20, 30, 30}), (Box{0, 0, 0, 0}));
    EXPECT_EQ(box.United({3, 3, 3, 8}), box);
    EXPECT_EQ((Box{0, 0, 0, 0}).United({10, 10, 20, 20}), (Box{10, 10, 20, 20}));
}
