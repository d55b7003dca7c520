#include <gtest/gtest.h>

#include "engine/command.h"
#include "engine/scroll_bar.h"
#include "stage_fixture.h"

namespace {

struct ScrollBarTest : ::testing::Test {
    BareStage bare;
    MMStage& stage = bare.stage;
    RecordingScene scene{&stage, &bare.log};
    MMScrollBarMolecule* bar = nullptr;
    int posts = 0;

    void Make(const Box& box, int16_t range, int16_t page)
    {
        MMPlainScrollBarVisual* visual = new MMPlainScrollBarVisual(kScrollVertical);
        visual->SetBox(box);
        bar = new MMScrollBarMolecule(&scene, visual, 0, page, 10, nullptr);
        bar->SetRange(range);
        struct Counter {
            int* count;
            void Add() { ++*count; }
        };
        static Counter counter;
        counter.count = &posts;
        bar->SetCommand(new MMClassCommand<Counter>("scrolled", &stage, &counter, &Counter::Add));
    }
    void TearDown() override { delete bar; }
    bool Event(int32_t y, uint32_t flags, uint32_t clock)
    {
        FakeClock::now = clock;
        return bar->Interpreter()->Interpret(MMStageEvent{kStageEventPointer, 0, 0, 8, y, flags});
    }
    MMScrollBarVisual& Visual() { return *bar->Visual(); }
};

TEST_F(ScrollBarTest, LayoutOfAVerticalBar)
{
    Make(Box{0, 0, 16, 100}, 90, 10);
    EXPECT_EQ(Visual().ButtonSize(), 16);
    EXPECT_EQ(Visual().TrackSpan(), 70);
    EXPECT_EQ(Visual().ThumbLength(), 16) << "MulDiv(70, 10, 100) = 7 is raised to 16";
    EXPECT_EQ(Visual().ThumbRange(), 54);
    EXPECT_EQ(Visual().FirstButtonBox(), (Box{0, 0, 16, 16}));
    EXPECT_EQ(Visual().TrackBox(), (Box{0, 15, 16, 85}));
    EXPECT_EQ(Visual().SecondButtonBox(), (Box{0, 84, 16, 100}));
    struct Part {
        int32_t y, part;
    } parts[] = {{0, 1}, {15, 1}, {16, 3}, {31, 3}, {32, 4}, {83, 4}, {84, 5}, {99, 5}, {100, 0}};
    for (const Part& p : parts)
        EXPECT_EQ(Visual().FindPart(8, p.y), p.part) << p.y;
    bar->SetPosition(45);
    EXPECT_EQ(Visual().ThumbPos(), 27);
    EXPECT_EQ(Visual().FindPart(8, 20), kScrollTrackBefore);
}

TEST_F(ScrollBarTest, StepsClampToTheRange)
{
    Make(Box{0, 0, 16, 100}, 90, 10);
    struct Case {
        int16_t from;
        int32_t part;
        int16_t to;
    } cases[] = {{3, kScrollTrackBefore, 0},  {88, kScrollTrackAfter, 90},
                 {50, kScrollTrackAfter, 59}, {50, kScrollFirstButton, 49},
                 {90, kScrollSecondButton, 90}, {0, kScrollFirstButton, 0}};
    for (const Case& c : cases) {
        bar->SetPosition(c.from);
        bar->Step(c.part);
        EXPECT_EQ(bar->Position(), c.to) << c.from << " part " << c.part;
    }
}

TEST_F(ScrollBarTest, HeldButtonRepeatsAfterHalfASecondWhileOverIt)
{
    Make(Box{0, 0, 16, 100}, 90, 10);
    const uint32_t press = kPointerPressed | kPointerHeld, held = kPointerHeld;
    EXPECT_TRUE(Event(90, press, 1000));
    EXPECT_EQ(bar->Position(), 1) << "one step at once";
    EXPECT_EQ(Visual().PressedPart(), kScrollSecondButton);
    Event(90, held, 1500);
    EXPECT_EQ(bar->Position(), 1);
    Event(90, held, 1501);
    Event(90, held, 1502);
    EXPECT_EQ(bar->Position(), 3);
    Event(50, held, 1600);
    EXPECT_EQ(bar->Position(), 3) << "no repeat off the button";
    EXPECT_EQ(Visual().PressedPart(), kScrollNone) << "shown released while off it";
    Event(90, held, 1700);
    EXPECT_EQ(bar->Position(), 4);
    EXPECT_FALSE(Event(90, kPointerReleased, 1800));
    EXPECT_EQ(Visual().PressedPart(), kScrollNone);
    stage.RunQueue()->RunOnce();
    EXPECT_EQ(posts, 4);
}

TEST_F(ScrollBarTest, ThumbDragChangesThePositionOnReleaseWithoutTracking)
{
    Make(Box{0, 0, 16, 100}, 90, 10);
    Event(20, kPointerPressed | kPointerHeld, 1000);
    Event(47, kPointerHeld, 1010);
    EXPECT_EQ(Visual().ThumbPos(), 27);
    EXPECT_EQ(bar->Position(), 0);
    Event(200, kPointerHeld, 1020);
    EXPECT_EQ(Visual().ThumbPos(), 54) << "clamped to the thumb range";
    Event(47, kPointerHeld, 1025);
    Event(47, kPointerReleased, 1030);
    EXPECT_EQ(bar->Position(), 45) << "MulDiv(90, 27, 54)";
    bar->SetTracking(true);
    Event(20 + 27, kPointerPressed | kPointerHeld, 1040);
    Event(20 + 27 + 6, kPointerHeld, 1050);
    EXPECT_EQ(bar->Position(), 55);
}

TEST_F(ScrollBarTest, ThumbAsLongAsTheTrackGivesPositionZero)
{
    Make(Box{0, 0, 16, 100}, 0, 10);
    EXPECT_EQ(Visual().ThumbLength(), Visual().TrackSpan());
    EXPECT_EQ(Visual().ThumbRange(), 0);
    Event(30, kPointerPressed | kPointerHeld, 1000);
    Event(70, kPointerReleased, 1010);
    EXPECT_EQ(bar->Position(), 0);
    delete bar;
    // A non-zero range over a track no longer than the thumb.
    Make(Box{0, 0, 16, 46}, 10, 1);
    EXPECT_EQ(Visual().ThumbRange(), 0);
    bar->SetPosition(5);
    bar->SyncFromThumb(true);
    EXPECT_EQ(bar->Position(), 0);
}

}  // namespace
