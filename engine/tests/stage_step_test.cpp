#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "engine/command.h"
#include "engine/mouse_interpreter.h"
#include "engine/stage_cursors.h"
#include "media/visual.h"
#include "stage_fixture.h"

namespace {

class RecordingInterpreter : public MMMouseInterpreter {
public:
    explicit RecordingInterpreter(MMStage* stage) : MMMouseInterpreter(stage) {}
    bool Interpret(const MMStageEvent& event) override
    {
        events.push_back(event);
        return capture;
    }
    void CaptureLost() override { ++lost; }
    MMCursor* Cursor() override { return nullptr; }
    std::vector<MMStageEvent> events;
    bool capture = false;
    int lost = 0;
};

// A scene with one invisible box that takes the pointer.
class BoxScene : public RecordingScene {
public:
    BoxScene(MMStage* stage, CallLog* log) : RecordingScene(stage, log), interpreter(stage) {}
    void Begin() override
    {
        RecordingScene::Begin();
        box = new MMBoxVisual(Box{10, 10, 30, 30}, 5);
        box->SetMouseInterpreter(&interpreter);
        TopEnclosure()->AddVisual(box);
    }
    void DeleteMolecules() override
    {
        RecordingScene::DeleteMolecules();
        if (box) {
            TopEnclosure()->RemoveVisual(box);
            delete box;
            box = nullptr;
        }
    }
    bool HandleMenuCommand(int32_t id) override { return id == handledMenu; }
    RecordingInterpreter interpreter;
    MMBoxVisual* box = nullptr;
    int32_t handledMenu = -1;
};

MMStageEvent Pointer(int32_t x, int32_t y, uint32_t flags)
{
    return MMStageEvent{kStageEventPointer, 0, 0, x, y, flags};
}

struct StageStepTest : ::testing::Test {
    BareStage bare;
    MMStage& stage = bare.stage;
    CallLog& log = bare.log;

    void Tick(uint32_t clock)
    {
        FakeClock::now = clock;
        stage.Invalidate(Box{0, 0, 4, 4});
        stage.FrameTick();
    }
};

TEST_F(StageStepTest, FrameTickOrderWithPauseAndResume)
{
    RecordingScene scene(&stage, &log);
    stage.SetPendingScene(&scene, nullptr, nullptr);
    stage.StartClock();
    stage.ChangeSceneOrDispatch();
    log.clear();
    struct Case {
        const char* what;
        int pauseChange;
        std::vector<std::string> expected;
    } cases[] = {
        {"normal tick", 0, {"starting", "service", "done"}},
        {"tick that pauses", +2, {"suspend", "paused", "starting", "service"}},
        {"paused tick only blits", 0, {}},
        {"count still above 0", -1, {}},
        {"tick that resumes", -1, {"resume", "resumed", "service", "done"}},
        {"normal again", 0, {"starting", "service", "done"}},
    };
    uint32_t clock = 2000;
    for (const Case& c : cases) {
        for (int i = 0; i < c.pauseChange; ++i)
            stage.Pause();
        for (int i = 0; i > c.pauseChange; --i)
            stage.Resume();
        log.clear();
        Tick(clock += 100);
        EXPECT_EQ(log, c.expected) << c.what;
        EXPECT_TRUE(stage.DirtyList().IsEmpty()) << c.what << ": every tick blits";
    }
}

TEST_F(StageStepTest, StageClockStandsStillDuringAPause)
{
    RecordingScene scene(&stage, &log);
    stage.SetPendingScene(&scene, nullptr, nullptr);
    FakeClock::now = 1000;
    stage.StartClock();
    stage.ChangeSceneOrDispatch();
    Tick(1500);
    EXPECT_EQ(stage.StageTime(), 500);
    stage.Pause();
    Tick(1600);  // pauses at 1600
    Tick(5000);
    EXPECT_EQ(stage.StageTime(), 600);
    FakeClock::now = 5100;
    stage.QueueInputEvent(Pointer(1, 1, 0));
    MMStageEvent queued;
    ASSERT_TRUE(stage.InputRing().TakeFront(&queued));
    EXPECT_EQ(queued.stageTime, 600) << "events queued while paused carry the frozen clock";
    stage.Resume();
    Tick(6000);
    EXPECT_EQ(stage.StageTime(), 600) << "the pause from 1600 to 6000 is not counted";
    Tick(6100);
    EXPECT_EQ(stage.StageTime(), 700);
}

namespace {

// A clock whose first read by the stage thread once armed (the resume's
// read) lets the other thread queue an event, and holds the resume for up to
// 300 ms to see whether that thread gets at the clock before it is done.
struct ResumeRaceClock {
    static inline std::atomic<uint32_t> now{1000};
    static inline std::atomic<bool> armed{false};
    static inline std::atomic<bool> resuming{false};
    static inline std::atomic<bool> otherRead{false};
    static inline std::atomic<int> readsDuringResume{0};
    static inline std::thread::id stageThread;
    static uint32_t Now()
    {
        if (std::this_thread::get_id() != stageThread) {
            if (resuming)
                ++readsDuringResume;
            otherRead = true;
        } else if (armed.exchange(false)) {
            resuming = true;
            auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
            while (!otherRead && std::chrono::steady_clock::now() < until)
                std::this_thread::yield();
            resuming = false;
        }
        return now;
    }
};

}  // namespace

// An event queued by the UI thread while the stage thread resumes the clock
// waits until the resume is done, and carries the resumed stage time.
TEST_F(StageStepTest, EventQueuedDuringAResumeWaitsForTheClock)
{
    RecordingScene scene(&stage, &log);
    stage.SetPendingScene(&scene, nullptr, nullptr);
    stage.SetClock(ResumeRaceClock::Now);
    ResumeRaceClock::stageThread = std::this_thread::get_id();
    ResumeRaceClock::now = 1000;
    stage.StartClock();
    stage.ChangeSceneOrDispatch();
    stage.Pause();
    ResumeRaceClock::now = 1600;
    stage.FrameTick();  // pauses at 1600
    ResumeRaceClock::now = 5000;
    stage.Resume();
    std::thread ui([&] {
        while (!ResumeRaceClock::resuming)
            std::this_thread::yield();
        stage.QueueInputEvent(Pointer(1, 1, 0));
    });
    ResumeRaceClock::armed = true;
    stage.FrameTick();  // resumes at 5000
    ui.join();
    EXPECT_EQ(0, ResumeRaceClock::readsDuringResume.load())
        << "the UI thread read the clock while the stage thread was resuming it";
    MMStageEvent queued;
    ASSERT_TRUE(stage.InputRing().TakeFront(&queued));
    EXPECT_EQ(600, queued.stageTime) << "the pause from 1600 to 5000 is not counted";
}

TEST_F(StageStepTest, SceneChangeWaitsWhilePausedAndEndsTheOldScene)
{
    RecordingScene first(&stage, &log);
    RecordingScene second(&stage, &log);
    stage.SetPendingScene(&first, nullptr, nullptr);
    stage.ChangeSceneOrDispatch();
    EXPECT_EQ(stage.Scene(), &first);
    stage.Pause();
    Tick(1100);
    std::unique_ptr<MMCommand> change(stage.MakeChangeSceneCommand(&second, nullptr, nullptr));
    EXPECT_STREQ(change->Name(), "change scene");
    change->Post();
    stage.RunQueue()->RunOnce();  // the command runs even though the stage is paused here
    log.clear();
    stage.ChangeSceneOrDispatch();
    stage.RunDueTasks();
    EXPECT_EQ(stage.Scene(), &first);
    EXPECT_TRUE(log.empty());
    stage.Resume();
    Tick(1200);
    log.clear();
    stage.ChangeSceneOrDispatch();
    EXPECT_EQ(log, (CallLog{"end", "begin"}));
    EXPECT_EQ(stage.Scene(), &second);
    EXPECT_EQ(stage.Cursors()->BusyCount(), 0);
}

TEST_F(StageStepTest, DispatchRoutesToTheInterpreterUnderThePointer)
{
    BoxScene scene(&stage, &log);
    RecordingInterpreter& target = scene.interpreter;
    stage.SetPendingScene(&scene, nullptr, nullptr);
    stage.QueueInputEvent(Pointer(15, 15, kPointerPressed | kPointerHeld));
    stage.ChangeSceneOrDispatch();
    EXPECT_TRUE(target.events.empty()) << "the step that begins a scene dispatches nothing";

    stage.ChangeSceneOrDispatch();
    ASSERT_EQ(target.events.size(), 1u);
    EXPECT_EQ(target.events[0].data, kPointerPressed | kPointerHeld);
    EXPECT_EQ(stage.PointerInterpreter(), &target);

    // An idle step repeats the current event without its one-shot bits.
    target.events.clear();
    stage.ChangeSceneOrDispatch();
    ASSERT_EQ(target.events.size(), 1u);
    EXPECT_EQ(target.events[0].data, uint32_t(kPointerHeld));

    // While the interpreter captures, events outside still reach it.
    target.capture = true;
    stage.ChangeSceneOrDispatch();
    stage.QueueInputEvent(Pointer(50, 40, kPointerHeld));
    stage.ChangeSceneOrDispatch();
    EXPECT_EQ(target.events.back().x, 50);
    target.capture = false;
    stage.ChangeSceneOrDispatch();
    stage.QueueInputEvent(Pointer(50, 40, 0));
    stage.ChangeSceneOrDispatch();
    EXPECT_EQ(stage.PointerInterpreter(), nullptr);
    EXPECT_EQ(target.lost, 1);

    // A pointer-left event is stored and calls nobody.
    size_t seen = target.events.size();
    stage.QueueInputEvent(MMStageEvent{kStageEventPointerLeft, 0, 0, -1, -1, 0});
    stage.ChangeSceneOrDispatch();
    stage.ChangeSceneOrDispatch();
    EXPECT_EQ(stage.CurrentEvent().type, kStageEventPointerLeft);
    EXPECT_EQ(target.events.size(), seen);
    stage.SetPendingScene(nullptr, nullptr, nullptr);
    stage.ChangeSceneOrDispatch();
}

// The scene changes while the pointer rests on one of its boxes, even
// pressed: the box's interpreter goes with the scene, and the next event
// reaches nothing of it.
TEST_F(StageStepTest, ASceneChangeLetsGoOfTheInterpreterUnderThePointer)
{
    for (bool captured : {false, true}) {
        SCOPED_TRACE(captured);
        auto scene = std::make_unique<BoxScene>(&stage, &log);
        RecordingScene next(&stage, &log);
        scene->interpreter.capture = captured;
        stage.SetPendingScene(scene.get(), nullptr, nullptr);
        stage.QueueInputEvent(Pointer(15, 15, kPointerPressed | kPointerHeld));
        stage.ChangeSceneOrDispatch();
        stage.ChangeSceneOrDispatch();
        ASSERT_EQ(stage.PointerInterpreter(), &scene->interpreter);
        stage.SetPendingScene(&next, nullptr, nullptr);
        stage.ChangeSceneOrDispatch();
        EXPECT_EQ(stage.PointerInterpreter(), nullptr);
        size_t seen = scene->interpreter.events.size();
        int lost = scene->interpreter.lost;
        scene.reset();
        stage.QueueInputEvent(Pointer(16, 16, kPointerReleased));
        stage.ChangeSceneOrDispatch();
        stage.ChangeSceneOrDispatch();
        EXPECT_EQ(stage.PointerInterpreter(), nullptr);
        EXPECT_EQ(0, lost) << "not told once its scene had begun to go";
        EXPECT_GT(seen, 0u);
        stage.SetPendingScene(nullptr, nullptr, nullptr);
        stage.ChangeSceneOrDispatch();
    }
}

TEST_F(StageStepTest, MenuCommandGoesToTheSceneFirst)
{
    BoxScene scene(&stage, &log);
    scene.handledMenu = 12801;
    stage.SetPendingScene(&scene, nullptr, nullptr);
    stage.ChangeSceneOrDispatch();
    int performed = 0;
    struct Counter {
        int* count;
        void Add() { ++*count; }
    } counter{&performed};
    stage.BindMenuCommand(12801, new MMClassCommand<Counter>("a", &stage, &counter, &Counter::Add));
    stage.BindMenuCommand(13201, new MMClassCommand<Counter>("b", &stage, &counter, &Counter::Add));
    EXPECT_TRUE(stage.HasCommand(13201));
    stage.QueueInputEvent(MMStageEvent{kStageEventMenuCommand, 0, 0, 0, 0, 12801});
    stage.QueueInputEvent(MMStageEvent{kStageEventMenuCommand, 0, 0, 0, 0, 13201});
    stage.ChangeSceneOrDispatch();
    stage.ChangeSceneOrDispatch();
    stage.RunDueTasks();
    EXPECT_EQ(performed, 1);
    stage.UnbindMenuCommand(13201);
    EXPECT_FALSE(stage.HasMenuCommand(13201));
    stage.SetPendingScene(nullptr, nullptr, nullptr);
    stage.ChangeSceneOrDispatch();
}

TEST_F(StageStepTest, FirstStepShowsTheSceneWithoutATickThenWaitsForThePaint)
{
    RecordingScene scene(&stage, &log);
    int performed = 0;
    struct Counter {
        int* count;
        void Add() { ++*count; }
    } counter{&performed};
    MMClassCommand<Counter> command("count", &stage, &counter, &Counter::Add);
    stage.StartClock();
    stage.SetPendingScene(&scene, nullptr, nullptr);
    command.Post();
    ASSERT_EQ(stage.ShowState(), kShowFirstStep);
    stage.Step();
    EXPECT_EQ(log, (CallLog{"begin"})) << "the first step has no frame tick";
    EXPECT_EQ(performed, 1) << "but it runs the queue";
    EXPECT_EQ(stage.ShowState(), kShowWaitingForPaint);
    log.clear();
    command.Post();
    stage.Step();
    stage.Step();
    EXPECT_TRUE(log.empty()) << "nothing runs until the control is painted";
    EXPECT_EQ(performed, 1);
    stage.SetPendingScene(nullptr, nullptr, nullptr);
    stage.ChangeSceneOrDispatch();
}

TEST(StageWithoutSurface, StartAndTickDoNothingHarmful)
{
    CallLog log;
    MMStage stage(nullptr, Box{0, 0, 0, 0}, 32, nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(stage.IsUsable());
    EXPECT_EQ(stage.Thread(), nullptr);
    EXPECT_FALSE(stage.StartWithScene(nullptr));
    stage.StopThread();
    stage.Invalidate(Box{0, 0, 1, 1});
    stage.FrameTick();
    stage.ChangeSceneOrDispatch();
    stage.RunDueTasks();
    SUCCEED();
}

}  // namespace

namespace {

struct Subscriber {
    int calls = 0;
    void Changed() { ++calls; }
};

TEST_F(StageStepTest, CurrentEventSubscribersAreToldOncePerWrite)
{
    Subscriber subscriber;
    MMSharedHolder holder;
    holder.Attach(stage.CurrentEventRecord());
    holder.SetCallback(new AFClassCallback<Subscriber>(&subscriber, &Subscriber::Changed));
    EXPECT_EQ(stage.CurrentEventRecord()->HolderCount(), 2);
    stage.QueueInputEvent(Pointer(3, 4, 0));
    stage.QueueInputEvent(MMStageEvent{kStageEventPointerLeft, 0, 0, -1, -1, 0});
    stage.ChangeSceneOrDispatch();
    stage.ChangeSceneOrDispatch();
    EXPECT_EQ(subscriber.calls, 2);
    MMSharedHolder other;
    other.AssignFrom(holder);
    EXPECT_EQ(stage.CurrentEventRecord()->HolderCount(), 3);
    holder.AssignFrom(other);
    EXPECT_EQ(subscriber.calls, 2) << "already sharing: nothing happens";
}

}  // namespace
