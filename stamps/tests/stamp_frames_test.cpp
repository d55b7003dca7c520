// The still frames of a stamp's animation script, as page pictures draw them.
#include <gtest/gtest.h>

#include "engine/record_table.h"
#include "engine/script_file.h"
#include "framework/heap.h"
#include "resource_fixture.h"
#include "stamps/stamp_frames.h"

namespace {

void Row(TestTable& table, int16_t op, int16_t a, int16_t b, int16_t c, int16_t d)
{
    for (int16_t v : {op, a, b, c, d})
        PutShort(table.rows, v);
}

void PictureRow(TestTable& table, int32_t picture)
{
    PutShort(table.rows, 7);
    PutLong(table.rows, picture);
    PutLong(table.rows, 0);
}

struct StampFramesTest : ::testing::Test {
    TempFolder temp;
    MMRecordTable script;

    void SetUp() override
    {
        // A name row, then three frames; the second sets no place.
        TestTable table;
        table.table = 300;
        table.item = 0;
        Row(table, 1, 1, 0, 0, 0);
        Row(table, 5, 1, 80, 0, 0);
        Row(table, 6, 0, 0, 4, 6);
        PictureRow(table, 0x69780101);
        Row(table, 5, 2, 80, 0, 0);
        PictureRow(table, 0x69780102);
        Row(table, 5, 3, 80, 0, 0);
        Row(table, 6, 0, 0, 10, 0);
        PictureRow(table, 0x69780103);
        Row(table, 11, 1, 0, 0, 0);
        ASSERT_TRUE(WriteScriptFile(temp.Folder(), "f.mms", {table}, 310, int16_t(MM_NO_CODE_PAGE),
                                    int16_t(MM_NO_CODE_PAGE)));
        ASSERT_TRUE(OpenScriptFile(temp.Folder(), "f.mms"));
        script.Load(MMMakeResourceId(0, 300), 10, gDefaultHeap);
        ASSERT_TRUE(script.IsLoaded());
    }
    void TearDown() override
    {
        script.Free();
        CloseAllScriptFiles();
    }
};

TEST_F(StampFramesTest, StepsWalkTheFramesAndWrapAround)
{
    EXPECT_EQ(3, CountStampFrames(script));
    struct Case {
        int32_t step;
        MMResourceId picture;
        Pair at;
    };
    const Case cases[] = {
        {0, 0x69780101, {4, 6}}, {1, 0x69780102, {0, 0}}, {2, 0x69780103, {10, 0}},
        {3, 0x69780101, {4, 6}}, {7, 0x69780102, {0, 0}},
    };
    for (const Case& c : cases) {
        KVXStampFrame frame;
        ASSERT_TRUE(StampFrameAt(script, c.step, &frame)) << c.step;
        EXPECT_EQ(c.picture, frame.picture) << c.step;
        EXPECT_EQ(c.at, frame.at) << c.step;
    }
}

TEST_F(StampFramesTest, MirroredStampsPlaceFramesFromTheOppositeEdge)
{
    KVXStampFrame frame;
    frame.at = {4, 6};
    const Pair picture = {20, 30};
    const Pair stamp = {50, 40};
    Box plain = StampFrameBox(frame, picture, stamp, false, false);
    EXPECT_EQ(4, plain.left);
    EXPECT_EQ(6, plain.top);
    EXPECT_EQ(24, plain.right);
    EXPECT_EQ(36, plain.bottom);
    Box both = StampFrameBox(frame, picture, stamp, true, true);
    EXPECT_EQ(26, both.left);
    EXPECT_EQ(4, both.top);
    EXPECT_EQ(46, both.right);
    EXPECT_EQ(34, both.bottom);
}

TEST(StampFrames, AScriptWithoutFramesGivesNone)
{
    MMRecordTable empty;
    KVXStampFrame frame;
    EXPECT_EQ(0, CountStampFrames(empty));
    EXPECT_FALSE(StampFrameAt(empty, 0, &frame));
}

}  // namespace
