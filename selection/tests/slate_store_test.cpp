// The slate recording: key frames, subdivision, in-betweens and playback.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "canvas_test_support.h"
#include "framework/color.h"
#include "media/offscreen_surface.h"
#include "media/surface.h"
#include "selection/magic_slate_tool_collection.h"
#include "selection/slate_store.h"

namespace {

std::unique_ptr<MagicSlateStore> NewStore()
{
    auto store = std::make_unique<MagicSlateStore>();
    store->Init();
    return store;
}

std::vector<Pair> Line(int n, Pair from, Pair by)
{
    std::vector<Pair> points;
    for (int i = 0; i < n; ++i)
        points.push_back({from.x + by.x * i, from.y + by.y * i});
    return points;
}

void Store(MagicSlateStore& store, int channel, int frame, const std::vector<Pair>& points,
           uint32_t colour = 0x0000FF, int width = 2)
{
    ASSERT_TRUE(store.StoreFrame(channel, frame, points.data(), int32_t(points.size()), colour,
                                 width));
}

struct Told : KVXMagicSlateToolCollection, KVXSlateFrameListener {
    void TrackFrameTab(int16_t, int32_t, int32_t) override {}
    void DropFrameTab(int16_t, int32_t, int32_t) override {}
    void HighlightFrameTab(int16_t frame) override { tabs.push_back(frame); }
    void RefreshThumbnails() override { ++refreshes; }
    void HighlightFrameButton(int16_t frame) override { buttons.push_back(frame); }
    std::vector<int16_t> tabs, buttons;
    int refreshes = 0;
};

TEST(SlateStoreTest, AFreshStoreHoldsNothingAndDrawsNothing)
{
    auto store = NewStore();
    EXPECT_FALSE(store->HasStrokes());
    EXPECT_EQ((Box{0, 0, 0, 0}), store->GetBounds());
    store->Start();
    store->DrawPlaybackStep(nullptr);
    EXPECT_EQ(0, store->step) << "an empty recording does not advance";
    for (const SlateChannel& channel : store->channels)
        for (const SlateFrame& frame : channel.frames)
            EXPECT_EQ(0xC0C0C0u, frame.ghostColour);
    EXPECT_FALSE(store->StoreFrame(5, 0, nullptr, 0, 0, 1));
    EXPECT_FALSE(store->StoreFrame(0, -1, nullptr, 0, 0, 1));
    EXPECT_FALSE(store->SelectChannel(5));
    EXPECT_FALSE(store->SelectFrame(-1));
    EXPECT_FALSE(store->CopyFrame(0, 0, 1)) << "frame 0 was never drawn";
}

TEST(SlateStoreTest, BoundsGrowByTheWidthAndOnlyUntilCleared)
{
    auto store = NewStore();
    Store(*store, 1, 2, {{10, 20}, {30, 5}}, 0xFF, 3);
    EXPECT_EQ((Box{7, 2, 33, 23}), store->channels[1].frames[2].bounds);
    EXPECT_EQ((Box{7, 2, 33, 23}), store->GetBounds());
    Store(*store, 1, 2, {{12, 12}, {14, 14}}, 0xFF, 3);
    EXPECT_EQ((Box{7, 2, 33, 23}), store->channels[1].frames[2].bounds);
    Store(*store, 3, 0, {{100, 100}, {101, 100}}, 0xFF, 1);
    EXPECT_EQ((Box{7, 2, 102, 101}), store->GetBounds());
    store->ClearFrame(1, 2);
    EXPECT_EQ((Box{99, 99, 102, 101}), store->GetBounds());
    EXPECT_EQ(0, store->FrameState(1, 2));
}

// One channel's key frames as stored, then what each frame holds.
struct Shape {
    int frame;      // -1 clears the frame given in count
    int count;
    Pair from, by;
};

struct FrameWant {
    int state;
    int count;
    Pair first, last;
};

struct InBetweenCase {
    const char* name;
    std::vector<Shape> stores;
    FrameWant want[5];
};

const InBetweenCase kInBetweens[] = {
    {"ten points, then four: frame 1 split at its longest segments",
     {{0, 10, {0, 0}, {10, 0}}, {1, 4, {0, 0}, {0, 30}}},
     {{1, 10, {0, 0}, {90, 0}}, {1, 10, {0, 0}, {0, 90}}, {0, 0}, {0, 0}, {0, 0}}},
    {"frames 0 and 3: thirds between them",
     {{0, 2, {0, 0}, {30, 0}}, {3, 2, {90, 0}, {30, 60}}},
     {{1, 2, {0, 0}, {30, 0}}, {2, 2, {30, 0}, {60, 20}}, {2, 2, {60, 0}, {90, 40}},
      {1, 2, {90, 0}, {120, 60}}, {0, 0}}},
    {"frame 3 cleared again: the thirds stay",
     {{0, 2, {0, 0}, {30, 0}}, {3, 2, {90, 0}, {30, 60}}, {-1, 3}},
     {{1, 2, {0, 0}, {30, 0}}, {2, 2, {30, 0}, {60, 20}}, {2, 2, {60, 0}, {90, 40}},
      {0, 0}, {0, 0}}},
    {"frames 2 and 4 without frame 0: nothing between",
     {{2, 3, {0, 0}, {5, 5}}, {4, 3, {40, 0}, {5, 5}}},
     {{0, 0}, {0, 0}, {1, 3, {0, 0}, {10, 10}}, {0, 0}, {1, 3, {40, 0}, {50, 10}}}},
    {"a one-point frame repeats its point",
     {{0, 1, {7, 9}, {0, 0}}, {1, 3, {0, 0}, {3, 0}}},
     {{1, 3, {7, 9}, {7, 9}}, {1, 3, {0, 0}, {6, 0}}, {0, 0}, {0, 0}, {0, 0}}},
    {"600 points are cut to 512",
     {{0, 600, {0, 0}, {1, 0}}},
     {{1, 512, {0, 0}, {511, 0}}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}},
    {"truncation toward zero",
     {{0, 2, {-1, -1}, {0, 0}}, {2, 2, {0, 0}, {0, 0}}},
     {{1, 2, {-1, -1}, {-1, -1}}, {2, 2, {0, 0}, {0, 0}}, {1, 2, {0, 0}, {0, 0}}, {0, 0},
      {0, 0}}},
};

TEST(SlateStoreTest, SubdivisionAndInBetweens)
{
    for (const InBetweenCase& c : kInBetweens) {
        SCOPED_TRACE(c.name);
        auto store = NewStore();
        for (const Shape& s : c.stores) {
            if (s.frame < 0)
                store->ClearFrame(2, s.count);
            else
                Store(*store, 2, s.frame, Line(s.count, s.from, s.by));
        }
        for (int f = 0; f < 5; ++f) {
            const SlateFrame& frame = store->channels[2].frames[f];
            const FrameWant& want = c.want[f];
            SCOPED_TRACE("frame " + std::to_string(f));
            EXPECT_EQ(want.state, frame.state);
            EXPECT_EQ(want.count, frame.count);
            if (want.count > 0 && frame.count > 0) {
                EXPECT_EQ(want.first, frame.points[0]);
                EXPECT_EQ(want.last, frame.points[frame.count - 1]);
            }
        }
    }
}

TEST(SlateStoreTest, SplitsTakeTheFirstLongestSegmentAndInBetweensMixColourAndWidth)
{
    auto store = NewStore();
    Store(*store, 0, 0, Line(5, {0, 0}, {1, 1}));
    Store(*store, 0, 1, {{0, 0}, {8, 0}, {16, 0}});
    const SlateFrame& split = store->channels[0].frames[1];
    const Pair want[] = {{0, 0}, {4, 0}, {8, 0}, {12, 0}, {16, 0}};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(want[i], split.points[i]) << i;

    store = NewStore();
    Store(*store, 4, 0, {{0, 0}, {1, 0}}, 0x11000000 | 0x0000FF, 1);
    Store(*store, 4, 2, {{0, 0}, {1, 0}}, 0x22FF0000, 7);
    const SlateFrame& between = store->channels[4].frames[1];
    EXPECT_EQ(0x007F007Fu, between.colour & 0xFFFFFF);
    EXPECT_EQ(4, between.width);
}

TEST(SlateStoreTest, CopyAndClearAllTellTheTray)
{
    auto store = NewStore();
    Told told;
    store->SetOwner(&told);
    Store(*store, 0, 0, Line(4, {1, 1}, {2, 0}));
    EXPECT_TRUE(store->CopyFrame(0, 0, 3));
    EXPECT_EQ(1, store->channels[0].frames[3].state);
    EXPECT_EQ(2, store->channels[0].frames[1].state);
    store->Start();
    store->ClearAll();
    EXPECT_FALSE(store->HasStrokes());
    EXPECT_FALSE(store->IsRunning());
    EXPECT_EQ(1, told.refreshes);
    EXPECT_EQ((std::vector<int16_t>{0, 0}), told.tabs);
}

struct Position {
    int16_t frame, step;
};

std::vector<Position> Play(MagicSlateStore& store, int ticks, Told* told = nullptr)
{
    std::vector<Position> seen;
    for (int i = 0; i < ticks; ++i) {
        store.SetStepFlag(true);
        store.DrawPlaybackStep(nullptr);
        seen.push_back({store.currentFrame, store.step});
    }
    return seen;
}

std::string Trace(const std::vector<Position>& seen)
{
    std::string out;
    for (const Position& p : seen)
        out += std::to_string(p.frame) + "." + std::to_string(p.step) + " ";
    return out;
}

std::string Steps(std::initializer_list<std::pair<int, std::pair<int, int>>> runs)
{
    std::string out;
    for (auto& run : runs) {
        int from = run.second.first, to = run.second.second;
        for (int s = from; from <= to ? s <= to : s >= to; s += from <= to ? 1 : -1)
            out += std::to_string(run.first) + "." + std::to_string(s) + " ";
    }
    return out;
}

TEST(SlateStoreTest, PlaybackStepsPingPongLoopAndStopAtFrameThree)
{
    struct Case {
        const char* name;
        int drawn;  // key frames 0 .. drawn - 1
        bool loop;
        int ticks;
        std::string want;
    };
    const Case cases[] = {
        {"three frames, ping-pong: each turn shows its frame twice", 3, false, 63,
         Steps({{0, {1, 12}}, {1, {1, 12}}, {1, {12, 0}}, {0, {12, 0}}, {0, {0, 12}}})},
        {"three frames, loop", 3, true, 36,
         Steps({{0, {1, 12}}, {1, {1, 12}}, {0, {1, 12}}})},
        {"five frames, loop", 5, true, 50,
         Steps({{0, {1, 12}}, {1, {1, 12}}, {2, {1, 12}}, {3, {1, 12}}, {0, {1, 2}}})},
        {"one frame, ping-pong", 1, false, 14, Steps({{0, {1, 12}}, {0, {12, 11}}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto store = NewStore();
        for (int f = 0; f < c.drawn; ++f)
            Store(*store, 1, f, Line(3, {f * 10, 0}, {1, 1}));
        store->SetLooping(c.loop);
        store->Start();
        EXPECT_EQ(c.want, Trace(Play(*store, c.ticks)));
    }
}

TEST(SlateStoreTest, PlaybackAdvancesOncePerTickAndNotWhilePaused)
{
    auto store = NewStore();
    Told told;
    store->SetOwner(&told);
    store->SetFrameListener(&told);
    Store(*store, 0, 0, Line(3, {0, 0}, {1, 1}));
    Store(*store, 0, 1, Line(3, {9, 0}, {1, 1}));
    store->Start();
    store->DrawPlaybackStep(nullptr);
    store->DrawPlaybackStep(nullptr);
    EXPECT_EQ(1, store->step) << "frame due is taken once";
    store->SetPaused(true);
    Play(*store, 3);
    EXPECT_EQ(1, store->step);
    store->SetPaused(false);
    told.buttons.clear();
    Play(*store, 5);
    EXPECT_EQ((std::vector<int16_t>{1}), told.buttons) << "the listener hears step 6";
    EXPECT_EQ(1, told.tabs.back());
}

// The recording drawn on a bitmap: which colour lies where.
struct Canvas {
    Canvas() { surface = MMSurface::CreateBitmapDC(32, {0, 0, 64, 48}, nullptr); }
    ~Canvas()
    {
        if (surface)
            surface->Dispose();
    }
    uint32_t At(int x, int y)
    {
        MMBitmap pixels;
        surface->GetBitmap(pixels);
        return TargetWord(pixels, x, y) & 0xFFFFFF;
    }
    MMSurface* surface;
};

TEST(SlateStoreTest, DrawAtStepShowsKeyFramesAndInBetweensAndFrameFourPastTheEnd)
{
    auto store = NewStore();
    Store(*store, 0, 0, {{4, 4}, {4, 40}}, 0x0000FF, 1);
    Store(*store, 0, 1, {{28, 4}, {28, 40}}, 0x0000FF, 1);
    Store(*store, 1, 4, {{50, 10}, {60, 10}}, 0x00FF00, 1);
    struct Case {
        int n;
        int x, y;
        uint32_t colour;
    } cases[] = {{0, 4, 20, 0x0000FF}, {6, 16, 20, 0x0000FF}, {12, 28, 20, 0x0000FF},
                 {60, 55, 10, 0x00FF00}, {60, 28, 20, 0x0000FF}, {500, 55, 10, 0x00FF00},
                 {-3, 4, 20, 0x0000FF}, {6, 4, 20, 0}};
    for (const Case& c : cases) {
        Canvas canvas;
        ASSERT_NE(nullptr, canvas.surface);
        store->DrawAtStep(canvas.surface, c.n);
        EXPECT_EQ(c.colour, canvas.At(c.x, c.y)) << "step " << c.n;
    }
}

// A long wide stroke is drawn in short runs for speed: the same pixels as one
// polyline, for every pen width a tray offers.
TEST(SlateStoreTest, AStrokeDrawsTheSamePixelsAsOnePolyline)
{
    SlateFrame frame = {};
    frame.count = 200;
    for (int i = 0; i < frame.count; ++i)
        frame.points[i] = {4 + (i * 7) % 56, 4 + (i * 13 + i / 9) % 40};
    frame.colour = 0x00E8413C;
    for (int16_t width : {1, 2, 5, 12}) {
        frame.width = width;
        Canvas runs, whole;
        ASSERT_NE(nullptr, runs.surface);
        ASSERT_NE(nullptr, whole.surface);
        DrawSlateFrame(runs.surface, frame, false);
        whole.surface->DrawPolyline(frame.points, frame.count, MakeMMColorFromRgb(frame.colour), width);
        int differ = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                differ += runs.At(x, y) != whole.At(x, y);
        EXPECT_EQ(0, differ) << "width " << width;
    }
}

}  // namespace
