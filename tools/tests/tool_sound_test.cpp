// The freehand stroke's sound: its loop follows the pen's speed (or pitch),
// turns play a random accent, and the loop falls silent 250 ms after the pen
// stops.
#include <gtest/gtest.h>

#include <cmath>

#include "media/sound/logical_sound_channel.h"
#include "tool_fixture.h"
#include "tools/tool_sound.h"

namespace {

struct ToolSoundTest : ToolFixture {
    void SetUp() override { OpenData(); }
    const MMResourceId loop = MMMakeResourceId(kTestSoundCollection, 1);
};

TEST_F(ToolSoundTest, TheLoopSwellsWithTheSpeedAndFallsSilent250MillisecondsLater)
{
    KVXToolSound sound(&bare.stage, 472);
    EXPECT_FALSE(sound.PitchMode());
    sound.Start(100, 100);
    ASSERT_NE(sound.LoopChannel(), nullptr);
    ASSERT_NE(sound.EffectChannel(), nullptr);
    EXPECT_EQ(sound.LoopChannel()->SoundId(), loop);
    EXPECT_TRUE(sound.LoopChannel()->Request().loop);
    EXPECT_EQ(sound.LoopChannel()->Volume(), 0);
    EXPECT_EQ(sound.EffectChannel()->SoundId(), MMMakeResourceId(kTestSoundCollection, 0));
    EXPECT_FALSE(sound.EffectChannel()->Request().loop);

    struct Case {
        double x, y;
        int32_t volume;
    };
    // Speed is |dx| + |dy| of the truncated differences, at most 16.
    for (Case c : {Case{100, 100, 0}, Case{104, 104, 512}, Case{112, 104, 512},
                   Case{140, 104, 1024}, Case{141.5, 104.9, 64}}) {
        sound.Track(c.x, c.y);
        EXPECT_EQ(sound.LoopChannel()->Volume(), c.volume) << c.x << "," << c.y;
    }
    sound.Tick(1000);
    sound.Tick(1250);
    EXPECT_EQ(sound.LoopChannel()->Volume(), 64);
    sound.Tick(1251);
    EXPECT_EQ(sound.LoopChannel()->Volume(), 0);
    sound.Stop();
    EXPECT_EQ(sound.LoopChannel(), nullptr);
    EXPECT_EQ(sound.EffectChannel(), nullptr);
}

TEST_F(ToolSoundTest, InPitchModeTheSpeedSetsTheFrequency)
{
    KVXToolSound sound(&bare.stage, 465);
    EXPECT_TRUE(sound.PitchMode());
    sound.Start(0, 0);
    struct Case {
        double x;
        int32_t frequency;
    };
    for (Case c : {Case{0, 60949}, Case{1, 61523}, Case{9, 65536}, Case{25, 74303}, Case{45, 74303}}) {
        sound.Track(c.x, 0);
        EXPECT_EQ(sound.LoopChannel()->Frequency(), c.frequency) << c.x;
        EXPECT_EQ(sound.LoopChannel()->Volume(), 1024) << c.x;
    }
    sound.Tick(1000);
    sound.Tick(5000);
    EXPECT_EQ(sound.LoopChannel()->Volume(), 1024);
}

TEST_F(ToolSoundTest, TurnsOfThreeOrFourPlayAVariantWhenTheEffectChannelIsFree)
{
    KVXToolSound sound(&bare.stage, 472);
    sound.Start(0, 100);
    const MMResourceId variants[] = {MMMakeResourceId(kTestSoundCollection, 2),
                                     MMMakeResourceId(kTestSoundCollection, 3)};
    // Moving up is angle 0; the angle is atan2(last x - x, last y - y).
    sound.Track(0, 90);
    EXPECT_DOUBLE_EQ(sound.LastAngle(), 0);
    // The start sound still plays: a turn now plays nothing.
    sound.Track(0, 100);
    EXPECT_EQ(sound.EffectChannel()->SoundId(), MMMakeResourceId(kTestSoundCollection, 0));

    struct Case {
        double dx, dy;  // the move
        bool plays;
    };
    // From up (0): down is pi (turn 3), right is -pi / 2 + 6.18 (turn 4),
    // angle 2.5 is turn 2, -0.78 + 6.18 is turn 5.
    const Case cases[] = {{0, 10, true}, {10, 0, true}, {-10 * std::sin(2.5), -10 * std::cos(2.5), false},
                          {10 * std::sin(0.78), -10 * std::cos(0.78), false}, {-10, 0, false}};
    double x = 0, y = 100;
    for (const Case& c : cases) {
        sound.Track(x, y - 10);  // up again: angle 0
        y -= 10;
        sound.EffectChannel()->Stop();
        sound.Track(x + c.dx, y + c.dy);
        x += c.dx;
        y += c.dy;
        bool played = IsChannelPlaying(sound.EffectChannel());
        EXPECT_EQ(played, c.plays) << c.dx << "," << c.dy;
        if (played) {
            MMResourceId id = sound.EffectChannel()->SoundId();
            EXPECT_TRUE(id == variants[0] || id == variants[1]);
        }
    }
}

TEST_F(ToolSoundTest, AnglesAreLiftedBy618)
{
    KVXToolSound sound(&bare.stage, 472);
    sound.Start(100, 100);
    sound.Track(105, 0);
    EXPECT_NEAR(sound.LastAngle(), std::atan2(-5.0, 100.0) + 6.18, 1e-12);
}

TEST(ToolSoundWithoutChannels, EveryStepIsSkipped)
{
    KVXToolSound sound(nullptr, 472);
    sound.Start(0, 0);
    EXPECT_EQ(sound.LoopChannel(), nullptr);
    sound.Track(10, 10);
    sound.Tick(1);
    sound.Tick(1000);
    sound.Stop();
    KVXRopeSound rope(nullptr, 491);
    rope.PlayLoop(0, 0);
    rope.PlayEndVariant();
    EXPECT_EQ(rope.LoopChannel(), nullptr);
}

}  // namespace
