#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/command.h"
#include "gallery/drag_button.h"
#include "gallery/drag_scene.h"
#include "gallery/zoom_thread.h"

namespace {

// Records what the interpreter tells the scene, as words.
class RecordingScene : public MpDragScene {
public:
    RecordingScene() : MpDragScene(nullptr) {}
    bool DragOver(int32_t kind, const Pair& p, int16_t entry) override
    {
        return Say("over" + std::to_string(kind) + ":" + At(p)), true;
    }
    bool Drop(int16_t entry, int32_t kind, const Pair& p) override
    {
        return Say("drop" + std::to_string(kind) + ":" + At(p)), true;
    }
    void DragStarted(int16_t entry, int32_t kind) override { Say("start" + std::to_string(entry)); }
    void MoveDragImage(const Pair& p) override { Say("image:" + At(p)); }
    void HideDragImage() override { Say("hide"); }
    void SetGrabOffset(const Pair& offset) override { Say("grab:" + At(offset)); }

    static std::string At(const Pair& p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
    void Say(const std::string& word) { said += (said.empty() ? "" : " ") + word; }
    std::string said;
};

// A button of a fixed box (no picture needed).
class BoxVisual : public MpDragButtonVisual {
public:
    BoxVisual() : MpDragButtonVisual({}, {}, {100, 100}, nullptr, 106) {}
    Box GetBounds() const override { return {100, 100, 200, 180}; }
};

class CountingCommand : public MMCommand {
public:
    CountingCommand(int* count) : MMCommand("count", nullptr), count(count) {}
    bool Post() override { return ++*count, true; }
    MMCommand* Clone() const override { return new CountingCommand(count); }
    void Perform() override {}
    int* count;
};

MMStageEvent Pointer(int32_t x, int32_t y, uint32_t flags)
{
    MMStageEvent event = {};
    event.type = kStageEventPointer;
    event.x = x;
    event.y = y;
    event.data = flags;
    return event;
}

struct DragRig {
    DragRig()
        : interpreter(kDragViewerPage, &scene, new CountingCommand(&clicks), &visual, nullptr,
                      new CountingCommand(&doubleClicks), -1)
    {
        interpreter.SetEntry(3);
    }
    std::string Run(const std::vector<MMStageEvent>& events)
    {
        for (const MMStageEvent& e : events)
            interpreter.Interpret(e);
        return scene.said;
    }
    RecordingScene scene;
    BoxVisual visual;
    int clicks = 0;
    int doubleClicks = 0;
    MpDragButtonInterpreter interpreter;
};

const uint32_t kPress = kPointerPressed | kPointerHeld;
const uint32_t kMove = kPointerHeld;
const uint32_t kRelease = kPointerReleased;

}  // namespace

TEST(DragInterpreter, EdgeCases)
{
    struct Case {
        const char* what;
        bool busy;
        std::vector<MMStageEvent> events;
        std::string said;
        int clicks, doubleClicks;
    } cases[] = {
        {"click", false, {Pointer(120, 110, kPress), Pointer(121, 110, kMove), Pointer(121, 110, kRelease)},
         "grab:20,10", 1, 0},
        // Straight down: past 1 pixel in y starts the drag too.
        {"down to the trash", false,
         {Pointer(120, 110, kPress), Pointer(120, 112, kMove), Pointer(120, 300, kMove),
          Pointer(120, 300, kRelease)},
         "grab:20,10 start3 image:120,112 over2:120,112 image:120,300 over2:120,300 drop2:120,300 hide",
         0, 0},
        // Released back inside after a drag: the click command still posts.
        {"back inside", false,
         {Pointer(120, 110, kPress), Pointer(150, 110, kMove), Pointer(130, 120, kRelease)},
         "grab:20,10 start3 image:150,110 over2:150,110 hide", 1, 0},
        {"double click", false, {Pointer(120, 110, kPress | kPointerDoubleClick)}, "", 0, 1},
        {"press outside", false, {Pointer(20, 10, kPress), Pointer(30, 10, kRelease)}, "", 0, 0},
        // Busy: the press highlights and the click posts, nothing is dragged.
        {"busy", true,
         {Pointer(120, 110, kPress), Pointer(160, 140, kMove), Pointer(300, 300, kRelease),
          Pointer(120, 110, kPress), Pointer(120, 110, kRelease)},
         "grab:20,10 grab:20,10", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DragRig rig;
        rig.scene.SetBusy(c.busy);
        EXPECT_EQ(c.said, rig.Run(c.events));
        EXPECT_EQ(c.clicks, rig.clicks);
        EXPECT_EQ(c.doubleClicks, rig.doubleClicks);
        EXPECT_FALSE(rig.interpreter.IsPressed());
        EXPECT_FALSE(rig.visual.IsHighlighted());
    }
}

namespace {

class RecordingZoom : public ZoomHost {
public:
    void SetZoomFrame(const Box& box) override { frames.push_back(box); }
    void ZoomDone(int32_t kind) override { done.push_back(kind); }
    std::vector<Box> frames;
    std::vector<int32_t> done;
};

}  // namespace

TEST(Zoom, SevenFramesWithTruncatedSteps)
{
    RecordingZoom host;
    ZoomPath path;
    path.SetBoxes({10, 20, 40, 60}, {215, 26, 555, 304});
    path.SetKind(4);
    int steps = 0;
    while (path.Step(host))
        ++steps;
    EXPECT_EQ(8, steps);
    ASSERT_EQ(8u, host.frames.size());
    EXPECT_EQ((Box{10, 20, 40, 60}), host.frames[0]);
    // (205 / 6, 6 / 6, 515 / 6, 244 / 6) = (34, 1, 85, 40) a step.
    EXPECT_EQ((Box{44, 21, 125, 100}), host.frames[1]);
    EXPECT_EQ((Box{214, 26, 550, 300}), host.frames[6]);
    EXPECT_TRUE(host.frames[7].IsEmpty());
    EXPECT_EQ((std::vector<int32_t>{4}), host.done);
    EXPECT_EQ(-1, path.Kind());

    // Less than 6 apart: no move, still six steps.
    RecordingZoom close;
    path.SetBoxes({0, 0, 5, 5}, {3, 3, 8, 8});
    while (path.Step(close)) {
    }
    ASSERT_EQ(8u, close.frames.size());
    EXPECT_EQ((Box{0, 0, 5, 5}), close.frames[6]);

    // Both empty: no frame, done at once.
    RecordingZoom none;
    path.SetBoxes({0, 0, 0, 0}, {5, 5, 5, 5});
    path.SetKind(-2);
    EXPECT_FALSE(path.Step(none));
    EXPECT_TRUE(none.frames.empty());
    EXPECT_EQ((std::vector<int32_t>{-2}), none.done);
}
