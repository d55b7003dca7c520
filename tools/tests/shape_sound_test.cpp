// The sound of a dragged shape: its loop from the sound table, its pitch
// from the drag's length.
#include <gtest/gtest.h>

#include "engine/script_file.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "media/sound/sound_loader.h"
#include "resource_fixture.h"
#include "sound_fixture.h"
#include "stage_fixture.h"
#include "tools/shape_sound.h"

namespace {

struct ShapeSoundTest : ::testing::Test {
    ScratchFolder scratch;
    BareStage bare;
    const MMResourceId loop = MMMakeResourceId(kTestSoundCollection, 1);

    void SetUp() override
    {
        // Table 456: a start sound (key 0, not played) and the loop (key 1).
        TestTable table;
        table.table = 456;
        table.item = 0;
        PutShort(table.rows, 0);
        PutLong(table.rows, MMMakeResourceId(kTestSoundCollection, 0));
        PutLong(table.rows, 0);
        PutShort(table.rows, 1);
        PutLong(table.rows, loop);
        PutLong(table.rows, 0);
        ASSERT_TRUE(WriteScriptFile(scratch.folder, "s.mms", {table}, 460, int16_t(MM_NO_CODE_PAGE),
                                    int16_t(MM_NO_CODE_PAGE)));
        ASSERT_TRUE(OpenScriptFile(scratch.folder, "s.mms"));
        std::vector<TestSound> sounds(2);
        for (TestSound& sound : sounds) {
            sound.samples = Tone(440, 2205, true);
            sound.source.stereo = true;
        }
        ASSERT_TRUE(WriteSoundFile(scratch.folder, "s.MMA", sounds));
        ASSERT_NE(CreateSoundLoader("s.MMA", scratch.folder, false), nullptr);
    }
    void TearDown() override
    {
        DeleteAllSoundCollections();
        CloseAllScriptFiles();
    }
};

TEST_F(ShapeSoundTest, TheLoopPlaysAndThePitchFallsWithTheDrag)
{
    KVXShapeSound sound(&bare.stage, MMMakeResourceId(0, 456));
    EXPECT_EQ(sound.Size(), 640);
    EXPECT_EQ(sound.Channel(), nullptr);
    sound.Update(10, 10);  // no channel yet: skipped
    sound.Start(100, 50);
    ASSERT_NE(sound.Channel(), nullptr);
    EXPECT_EQ(sound.Channel()->SoundId(), loop);
    EXPECT_TRUE(sound.Channel()->Request().active);
    EXPECT_TRUE(sound.Channel()->Request().loop);

    struct Case {
        double x, y;
        int16_t distance;
        int32_t frequency;
    };
    const Case cases[] = {
        {420, 50, 320, 49152},        // the drag of 320 pixels
        {100, 50, 0, 0x10000},
        {103, 54, 5, 0x10000 - 5 * 0x8000 / 640},
        {100, 690, 640, 0x8000},
        {100.9, 50.9, 1, 0x10000 - 0x8000 / 640},  // truncated
    };
    for (const Case& c : cases) {
        sound.Update(c.x, c.y);
        EXPECT_EQ(sound.Distance(), c.distance) << c.x << "," << c.y;
        EXPECT_EQ(sound.Channel()->Frequency(), c.frequency) << c.x << "," << c.y;
    }
    sound.Stop();
    EXPECT_EQ(sound.Channel(), nullptr);
}

TEST_F(ShapeSoundTest, ATableWithoutALoopRowMakesASilentChannel)
{
    KVXShapeSound sound(&bare.stage, MMMakeResourceId(0, 457));
    sound.Start(0, 0);
    ASSERT_NE(sound.Channel(), nullptr);
    EXPECT_FALSE(sound.Channel()->Request().active);
    sound.Update(0, 320);
    EXPECT_EQ(sound.Channel()->Frequency(), 49152);
}

}  // namespace
