// The drawer's interpreter as a table of events: the looks it asks for and
// whether it holds the pointer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stamps/stamp_drawer.h"

namespace {

class RecordingDrawer : public KVXStampDrawerState {
public:
    std::vector<std::string> log;

protected:
    void RestartAnimation(int16_t start) override { log.push_back(std::to_string(start)); }
    void ShowHitBox(bool shown) override { log.push_back(shown ? "box" : "no box"); }
};

const Box kDrawerBox = {10, 50, 110, 400};

MMStageEvent Pointer(int32_t x, int32_t y, uint32_t flags)
{
    return MMStageEvent{kStageEventPointer, 0, 0, x, y, flags};
}

struct Step {
    MMStageEvent event;
    bool held;
};

struct DrawerRun {
    const char* name;
    bool ready;
    std::vector<Step> steps;
    std::vector<std::string> log;
    int32_t rack;
};

const uint32_t kPress = kPointerPressed | kPointerHeld;

TEST(StampDrawer, EventsGiveTheLooksOfTheRackAndToggleOnlyWhenReady)
{
    const DrawerRun runs[] = {
        {"click toggles to the tools rack",
         true,
         {{Pointer(50, 100, kPress), true}, {Pointer(50, 100, kPointerHeld), true},
          {Pointer(52, 101, kPointerReleased), false}},
         {"300", "400", "box", "no box"},
         kToolsRack},
        {"released outside: the released look, no toggle",
         true,
         {{Pointer(50, 100, kPress), true}, {Pointer(200, 100, kPointerReleased), false}},
         {"300", "350"},
         kStampsRack},
        {"not ready: the press look only",
         false,
         {{Pointer(50, 100, kPress), true}, {Pointer(50, 100, kPointerReleased), false}},
         {"300"},
         kStampsRack},
        {"double click does nothing",
         true,
         {{Pointer(50, 100, kPress | kPointerDoubleClick), false},
          {Pointer(50, 100, kPointerReleased), false}},
         {},
         kStampsRack},
        {"press outside the box (right edge excluded)",
         true,
         {{Pointer(110, 100, kPress), false}, {Pointer(10, 399, kPress), true}},
         {"300"},
         kStampsRack},
        {"neither held nor released: the released look",
         true,
         {{Pointer(50, 100, kPress), true}, {Pointer(50, 100, 0), false}},
         {"300", "350"},
         kStampsRack},
    };
    for (const DrawerRun& run : runs) {
        SCOPED_TRACE(run.name);
        RecordingDrawer drawer;
        if (!run.ready)
            drawer.ClearReady();
        KVXStampDrawerInterpreter interpreter(nullptr, &drawer, kDrawerBox);
        for (const Step& step : run.steps)
            EXPECT_EQ(step.held, interpreter.Interpret(step.event));
        EXPECT_EQ(run.log, drawer.log);
        EXPECT_EQ(run.rack, drawer.Rack());
    }
}

TEST(StampDrawer, TheToolsRackTogglesBackAndUsesItsOwnLooks)
{
    RecordingDrawer drawer;
    drawer.ShowToolsRack();
    drawer.Feedback(kDrawerPressed);
    drawer.Feedback(kDrawerReleased);
    drawer.Feedback(kDrawerToggle);
    drawer.Feedback(7);
    const std::vector<std::string> expected = {"box", "400", "450", "300", "box", "no box"};
    EXPECT_EQ(expected, drawer.log);
    EXPECT_EQ(kStampsRack, drawer.Rack());
}

}  // namespace
