// The slate tray's strokes, tabs, trash and pasting on a real recording.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "selection/magic_slate_tool_collection.h"
#include "selection/slate_store.h"

namespace {

struct Tray : KVXMagicSlateToolCollection {
    void TrackFrameTab(int16_t, int32_t, int32_t) override {}
    void DropFrameTab(int16_t, int32_t, int32_t) override {}
};

struct SlateTrayTest : ::testing::Test {
    SlateTrayTest() : store(std::make_unique<MagicSlateStore>())
    {
        store->Init();
        store->SetOwner(&tray);
        tray.SetSlate(store.get());
        tray.SetChannelColour(0, 0x000000FF);
        tray.SetPenWidth(2, 6);
    }
    void Stroke(int x)
    {
        std::vector<Pair> points = {{x, 10}, {x + 20, 15}, {x + 40, 30}};
        tray.StoreStroke(points.data(), 3);
    }
    Tray tray;
    std::unique_ptr<MagicSlateStore> store;
};

TEST_F(SlateTrayTest, FiveStrokesFillFramesZeroToFourAndTheSixthReplacesFour)
{
    for (int i = 0; i < 6; ++i)
        Stroke(100 + i * 10);
    for (int f = 0; f < 5; ++f) {
        const SlateFrame& frame = store->channels[0].frames[f];
        EXPECT_EQ(1, frame.state) << f;
        EXPECT_EQ(100 + f * 10 + (f == 4 ? 10 : 0), frame.points[0].x) << f;
        EXPECT_EQ(6, frame.width);
        EXPECT_EQ(0x000000FFu, frame.colour);
    }
    EXPECT_EQ(4, tray.CurrentFrame());
    EXPECT_TRUE(tray.AutoAdvance()) << "the next stroke draws frame 4 again";
    EXPECT_TRUE(store->IsRunning());
}

TEST_F(SlateTrayTest, ATabClickStopsPlaybackAndTheNextStrokeReplacesThatFrame)
{
    Stroke(0);
    Stroke(10);
    Stroke(20);
    ASSERT_TRUE(store->IsRunning());
    tray.SelectFrame(1);
    EXPECT_FALSE(store->IsRunning());
    EXPECT_FALSE(tray.AutoAdvance());
    EXPECT_EQ(1, tray.LitTab());
    EXPECT_EQ(1, store->currentFrame) << "the store shows the chosen frame";
    Stroke(70);
    EXPECT_EQ(70, store->channels[0].frames[1].points[0].x);
    EXPECT_EQ(1, tray.CurrentFrame()) << "no advance";
    Stroke(80);
    EXPECT_EQ(80, store->channels[0].frames[1].points[0].x);
    EXPECT_EQ(2, tray.CurrentFrame());
}

TEST_F(SlateTrayTest, TrashWhilePlayingTakesTheLastDrawnFrameFirst)
{
    Stroke(0);
    Stroke(10);
    std::vector<Pair> other = {{5, 5}, {9, 9}, {20, 20}};
    store->StoreFrame(4, 2, other.data(), 3, 0xFF, 2);
    store->Start();
    tray.Trash();
    EXPECT_EQ(0, store->channels[4].frames[2].state) << "channel 4 goes first";
    tray.Trash();
    EXPECT_EQ(0, store->channels[0].frames[1].state);
    EXPECT_EQ(1, store->channels[0].frames[0].state);
    store->Stop();
    tray.SelectFrame(0);
    tray.Trash();
    EXPECT_FALSE(store->HasStrokes());
}

TEST_F(SlateTrayTest, PastingReplacesTheRecordingFrameForFrame)
{
    Stroke(0);
    std::vector<KVXPreparedSlateStroke> prepared = {
        {{{1, 1}, {5, 9}, {9, 1}}, 0x00FF00, 3, 0, 0},
        {{{2, 2}, {6, 8}, {8, 2}}, 0x00FF00, 3, 3, 0},
        {{{40, 40}, {60, 60}}, 0xFF0000, 5, 1, 2},
    };
    tray.PastePrepared(prepared);
    EXPECT_EQ((Pair{1, 1}), store->channels[0].frames[0].points[0]);
    EXPECT_EQ(2, store->channels[0].frames[1].state) << "in-betweens as drawn";
    EXPECT_EQ(1, store->channels[0].frames[3].state);
    EXPECT_EQ(5, store->channels[2].frames[1].width);
    EXPECT_EQ(0x00FF00u, store->channels[0].frames[0].colour);
    EXPECT_TRUE(store->IsRunning());
}

TEST(SlateStrokeTest, AClickGivesTwoEqualPointsAndMovesOfFiveAreDropped)
{
    KVXSlateStrokePoints pen;
    pen.Press({30, 40});
    std::vector<Pair> click = pen.Release({30, 40});
    ASSERT_EQ(2u, click.size());
    EXPECT_EQ(click[0], click[1]);

    pen.Press({0, 0});
    pen.Move({3, 4});   // 5 away: dropped
    pen.Move({6, 0});   // 6 away: kept
    for (int i = 0; i < 700; ++i)
        pen.Move({6 + (i + 1) * 6, 0});
    std::vector<Pair> long_stroke = pen.Release({9999, 0});
    EXPECT_EQ(511u, long_stroke.size()) << "512 kept, the stroke takes one less";
    EXPECT_EQ((Pair{6, 0}), long_stroke[1]);

    std::vector<Pair> circle = SlateCirclePoints({0, 0, 200, 120});
    EXPECT_LE(circle.size(), 512u);
    for (size_t i = 1; i < circle.size(); ++i) {
        double dx = circle[i].x - circle[i - 1].x, dy = circle[i].y - circle[i - 1].y;
        EXPECT_GT(dx * dx + dy * dy, 16.0) << i;
    }
    EXPECT_EQ(5u, SlateSquarePoints({0, 0, 30, 30}).size());
    EXPECT_TRUE(SlateSquarePoints({0, 0, 0, 30}).empty()) << "an empty box gives nothing";
}

}  // namespace
