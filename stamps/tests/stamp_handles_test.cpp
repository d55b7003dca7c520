// The handles of a selected stamp: their places on the frame, the scale
// handle's interpreter as a table of events, and the scale sound's pitch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/visual.h"
#include "stamps/stamp_handles.h"
#include "stamps/stamp_scale_sound.h"

namespace {

const Box kCanvas = {144, 16, 784, 496};

TEST(StampHandles, HandlesAreCentredOnTheCornersOfTheFrameWithinTheCanvas)
{
    const Box frame = {100, 200, 300, 300};  // hangs off the canvas's left edge
    const Pair handle = {20, 16};
    struct Case {
        KVXHandleCorner corner;
        bool layer;
        Pair at;
    };
    const Case cases[] = {
        {kHandleBottomRight, false, {290, 292}}, {kHandleTopLeft, false, {134, 192}},
        {kHandleBottomLeft, false, {134, 292}},  {kHandleTopRight, false, {290, 192}},
        {kHandleBottomLeft, true, {154, 272}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.at, HandlePosition(c.corner, frame, kCanvas, handle, c.layer)) << c.corner;
}

class HitVisual : public MMVisual {
public:
    Box GetBounds() const override { return {400, 100, 420, 120}; }
    bool ContainsPoint(int32_t x, int32_t y) override { return GetBounds().Contains({x, y}); }
    void SetPosition(int32_t, int32_t) override {}
    Pair GetPosition() const override { return {400, 100}; }
    void Draw(MMSurface*) override {}
};

class RecordingTarget : public KVXScaleHandleTarget {
public:
    std::vector<std::string> log;
    void BeginScale(const Pair& p) override { log.push_back("begin " + Text(p)); }
    void DragScale(const Pair& p) override { log.push_back("drag " + Text(p)); }
    void EndScale(const Pair& p) override { log.push_back("end " + Text(p)); }
    void StartScaleSound() override { log.push_back("sound"); }
    void UpdateScaleSound() override { log.push_back("pitch"); }
    void EndScaleSound() override { log.push_back("sound end"); }
    void TakeUndoSnapshot() override { log.push_back("snapshot"); }
    void ShowScaling(bool on) override { log.push_back(on ? "scaling" : "normal"); }
    Box CanvasBox() const override { return kCanvas; }

private:
    static std::string Text(const Pair& p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
};

MMStageEvent Pointer(int32_t x, int32_t y, uint32_t flags)
{
    return MMStageEvent{kStageEventPointer, 0, 0, x, y, flags};
}

TEST(StampHandles, TheScaleHandleDrivesTheStampWithinTheCanvas)
{
    HitVisual handle;
    RecordingTarget target;
    KVXScaleManipulatorInterpreter interpreter(nullptr, &handle, &target);
    struct Step {
        MMStageEvent event;
        bool held;
    };
    const Step steps[] = {
        {Pointer(300, 300, kPointerPressed | kPointerHeld), false},  // not on the handle
        {Pointer(410, 110, kPointerPressed | kPointerHeld), true},
        {Pointer(450, 90, kPointerHeld), true},
        {Pointer(100, 600, kPointerHeld), true},  // kept off the canvas's edges
        {Pointer(460, 80, kPointerReleased), false},
        {Pointer(460, 80, kPointerHeld), false},
    };
    for (const Step& step : steps)
        EXPECT_EQ(step.held, interpreter.Interpret(step.event));
    const std::vector<std::string> expected = {
        "scaling", "sound",     "begin 410,110", "drag 450,90", "pitch",    "drag 154,486",
        "pitch",   "sound end", "end 460,80",    "snapshot",    "normal"};
    EXPECT_EQ(expected, target.log);
}

TEST(StampHandles, TheScaleSoundFallsFromItsPivotAndStaysInRange)
{
    KVXScaleSoundPitch pitch;
    pitch.Start({300, 400}, 0);
    EXPECT_EQ(300, pitch.Pivot().x);
    EXPECT_EQ(500, pitch.StartDistance());
    EXPECT_EQ(0x10000, pitch.FrequencyFor({100, 400, 300, 500}));
    EXPECT_EQ(0x8000, pitch.FrequencyFor({100, 700, 700, 800}));
    EXPECT_EQ(4096, pitch.FrequencyFor({100, 3000, 3000, 3100}));
    KVXScaleSoundPitch atOrigin;
    atOrigin.Start({0, 0}, 0);
    EXPECT_EQ(0x10000, atOrigin.FrequencyFor({0, 50, 80, 100})) << "no start distance";
}

}  // namespace
