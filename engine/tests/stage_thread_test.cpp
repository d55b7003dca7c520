#include <gtest/gtest.h>

#include <atomic>

#include "engine/command.h"
#include "engine/molecule.h"
#include "engine/stage_control.h"
#include "engine/engine_thread.h"
#include "framework/pending_error.h"
#include "window_fixture.h"

namespace {

// Every wait on the stage thread is bounded, so a stage that does not stop
// fails the test instead of hanging it.
const DWORD kStopBound = 10000;

// The command of the scene's hot spot: notes the thread it ran on.
struct Clicks {
    std::atomic<int> count{0};
    std::atomic<DWORD> thread{0};
    void Click()
    {
        thread = GetCurrentThreadId();
        ++count;
    }
};

class ButtonScene : public MMScene {
public:
    ButtonScene(MMStage* stage, Clicks* clicks) : MMScene(stage), clicks_(clicks) {}
    void Begin() override
    {
        new MMMouseVisualMolecule(
            this,
            new MMClassCommand<Clicks>("click", Stage(), clicks_, &Clicks::Click),
            Box{10, 10, 60, 60}, 100, nullptr);
        begun = true;
    }
    std::atomic<bool> begun{false};

private:
    Clicks* clicks_;
};

// Asks the UI thread for something every step, so that steps often wait
// on the UI thread while a stop request comes in.
class Nagger : public MMLightweightThread {
public:
    Nagger(MMStage* stage, MMMolecule* host) : MMLightweightThread("nagger", stage), host_(host) {}
    bool Run() override
    {
        host_->RunOnWindowThread(new AFClassCallback<Nagger>(this, &Nagger::OnUiThread));
        return true;
    }
    void OnUiThread() { ++calls; }
    std::atomic<int> calls{0};

private:
    MMMolecule* host_;
};

class NaggingScene : public MMScene {
public:
    using MMScene::MMScene;
    void Begin() override
    {
        host = new MMMolecule(this);
        nagger = new Nagger(Stage(), host);
        nagger->Activate();
    }
    void DeleteMolecules() override
    {
        delete nagger;
        nagger = nullptr;
        MMScene::DeleteMolecules();
    }
    MMMolecule* host = nullptr;
    Nagger* nagger = nullptr;
};

TEST(StageThread, ClickOnTheControlRunsTheCommandOnTheStageThread)
{
    Clicks clicks;
    MMStageWindow* window = MakeStageWindow();
    window->Show(true);
    MMStage* stage = new MMStage(window, Box{0, 0, 200, 150}, 32, nullptr, nullptr, nullptr,
                                 nullptr);
    ButtonScene* scene = new ButtonScene(stage, &clicks);
    EXPECT_FALSE(window->CanClose()) << "no control yet";
    ASSERT_TRUE(stage->StartWithScene(scene));
    ASSERT_TRUE(PumpUntil([&] { return window->Control() && scene->begun; }));
    HWND control = window->Control()->Window();
    ASSERT_TRUE(PumpUntil([&] { return stage->ShowState() == kShowNormal; }));
    EXPECT_TRUE(window->CanClose());

    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    ASSERT_TRUE(PumpUntil([&] { return clicks.count == 1; }));
    EXPECT_EQ(clicks.thread, stage->Thread()->threadId);
    EXPECT_NE(clicks.thread, GetCurrentThreadId());

    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
    PumpUntil([&] { return stage->InputRing().IsEmpty(); });

    ASSERT_TRUE(stage->StopThread(kStopBound));
    EXPECT_EQ(stage->Thread()->State(), kThreadEnded);
    EXPECT_EQ(stage->Control(), nullptr);
    EXPECT_EQ(stage->Scene(), nullptr);
    EXPECT_EQ(clicks.count, 1) << "a click outside the hot spot posts nothing";
    EXPECT_FALSE(window->CanClose()) << "the control is gone";
    EXPECT_TRUE(stage->StopThread(0)) << "a second stop returns at once";
    delete window;        // deletes the stage and the scene
}

TEST(StageThread, StopsWhileStepsWaitOnTheUiThread)
{
    MMStageWindow* window = MakeStageWindow();
    MMStage* stage = new MMStage(window, Box{0, 0, 200, 150}, 32, nullptr, nullptr, nullptr,
                                 nullptr);
    NaggingScene* scene = new NaggingScene(stage);
    stage->StartWithScene(scene);
    ASSERT_TRUE(PumpUntil([&] { return scene->nagger && scene->nagger->calls > 5; }));
    // Sends the stop request until a step is not running (what deleting the
    // window does, here with a bound).
    ASSERT_TRUE(stage->StopThread(kStopBound));
    EXPECT_EQ(stage->Thread()->State(), kThreadEnded);
    delete window;
}

// A step that never comes back to the message loop: blocks until released.
class Blocker : public MMLightweightThread {
public:
    Blocker(MMStage* stage, HANDLE release) : MMLightweightThread("blocker", stage), release_(release) {}
    bool Run() override
    {
        entered = true;
        WaitForSingleObject(release_, kStopBound);
        return false;
    }
    std::atomic<bool> entered{false};

private:
    HANDLE release_;
};

class BlockingScene : public MMScene {
public:
    BlockingScene(MMStage* stage, HANDLE release) : MMScene(stage), release_(release) {}
    void Begin() override
    {
        blocker = new Blocker(Stage(), release_);
        blocker->Activate();
    }
    void DeleteMolecules() override
    {
        delete blocker;
        blocker = nullptr;
        MMScene::DeleteMolecules();
    }
    Blocker* blocker = nullptr;

private:
    HANDLE release_;
};

TEST(StageThread, BoundedStopGivesUpWhileAStepIsStuckAndSucceedsLater)
{
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    MMStageWindow* window = MakeStageWindow();
    MMStage* stage = new MMStage(window, Box{0, 0, 200, 150}, 32, nullptr, nullptr, nullptr,
                                 nullptr);
    BlockingScene* scene = new BlockingScene(stage, release);
    stage->StartWithScene(scene);
    ASSERT_TRUE(PumpUntil([&] { return scene->blocker && scene->blocker->entered; }));
    EXPECT_FALSE(stage->StopThread(200));
    EXPECT_EQ(stage->Thread()->State(), kThreadRunning);
    SetEvent(release);
    ASSERT_TRUE(stage->StopThread(kStopBound));
    EXPECT_EQ(stage->Control(), nullptr);
    delete window;
    CloseHandle(release);
}

TEST(StageThread, StopsANeverStartedStage)
{
    MMStageWindow* window = MakeStageWindow();
    MMStage* stage = new MMStage(window, Box{0, 0, 200, 150}, 32, nullptr, nullptr, nullptr,
                                 nullptr);
    ASSERT_NE(stage->Thread(), nullptr);
    EXPECT_TRUE(stage->StopThread(kStopBound));
    EXPECT_EQ(stage->Thread()->State(), kThreadEnded);
    delete window;
}

// A stage whose control is made without a parent window, so that the
// control's window cannot be made.
class OrphanControlStage : public MMStage {
public:
    using MMStage::MMStage;
    MMStageControl* CreateControl(MMStageWindow*, const Box& box) override
    {
        return MMStage::CreateControl(nullptr, box);
    }
};

TEST(StageThread, StartFailsWithTheErrorWhenTheControlWindowCannotBeMade)
{
    ClearPendingError();
    MMStageWindow* window = MakeStageWindow();
    OrphanControlStage* stage = new OrphanControlStage(window, Box{0, 0, 64, 48}, 32, nullptr,
                                                       nullptr, nullptr, nullptr);
    stage->StartWithScene(nullptr);
    // The thread ends by itself, with the error pending and the window free
    // to close.
    ASSERT_TRUE(PumpUntil([&] { return stage->Thread()->State() == kThreadEnded; }));
    EXPECT_TRUE(stage->StartFailed());
    EXPECT_EQ(gPendingError.code, AFE_FAILURE_WITHOUT_ERROR);
    EXPECT_NE(gPendingError.systemError, 0);
    EXPECT_EQ(stage->Control(), nullptr);
    EXPECT_TRUE(window->CanClose());
    EXPECT_TRUE(stage->StopThread(kStopBound));
    delete window;
    ClearPendingError();
}

TEST(StageThread, ATimedOutStopIsNeverAcceptedLater)
{
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    MMStageWindow* window = MakeStageWindow();
    MMStage* stage = new MMStage(window, Box{0, 0, 200, 150}, 32, nullptr, nullptr, nullptr,
                                 nullptr);
    BlockingScene* scene = new BlockingScene(stage, release);
    stage->StartWithScene(scene);
    ASSERT_TRUE(PumpUntil([&] { return scene->blocker && scene->blocker->entered; }));
    EXPECT_FALSE(stage->StopThread(200));
    SetEvent(release);
    // The request of the stop that gave up is still queued for the stage
    // thread: the stage must go on running all the same.
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 500 && stage->Control() != nullptr) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(5);
    }
    EXPECT_EQ(stage->Thread()->State(), kThreadRunning);
    EXPECT_NE(stage->Control(), nullptr);
    EXPECT_FALSE(stage->QuitRequested());
    ASSERT_TRUE(stage->StopThread(kStopBound));
    delete window;
    CloseHandle(release);
}

// A step that keeps answering sent messages for a while without returning
// to the loop: every stop request it sees is refused.
class Pumper : public MMLightweightThread {
public:
    Pumper(MMStage* stage) : MMLightweightThread("pumper", stage) {}
    bool Run() override
    {
        entered = true;
        DWORD start = GetTickCount();
        while (GetTickCount() - start < 500) {
            MSG message;
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            Sleep(1);
        }
        return false;
    }
    std::atomic<bool> entered{false};
};

class PumpingScene : public MMScene {
public:
    using MMScene::MMScene;
    void Begin() override
    {
        pumper = new Pumper(Stage());
        pumper->Activate();
    }
    void DeleteMolecules() override
    {
        delete pumper;
        pumper = nullptr;
        MMScene::DeleteMolecules();
    }
    Pumper* pumper = nullptr;
};

std::atomic<int> gStopRequests{0};

LRESULT CALLBACK CountStopRequests(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && reinterpret_cast<CWPSTRUCT*>(lParam)->message == kStageStopMessage)
        ++gStopRequests;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(StageThread, StopWaitsBetweenRequestsWhileAStepRuns)
{
    MMStageWindow* window = MakeStageWindow();
    MMStage* stage = new MMStage(window, Box{0, 0, 200, 150}, 32, nullptr, nullptr, nullptr,
                                 nullptr);
    PumpingScene* scene = new PumpingScene(stage);
    stage->StartWithScene(scene);
    ASSERT_TRUE(PumpUntil([&] { return scene->pumper && scene->pumper->entered; }));
    gStopRequests = 0;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CountStopRequests, nullptr,
                                   stage->Thread()->threadId);
    ASSERT_NE(hook, nullptr);
    ASSERT_TRUE(stage->StopThread(kStopBound));
    UnhookWindowsHookEx(hook);
    // About half a second of refusals, asked again every 10 ms at most.
    EXPECT_GE(gStopRequests.load(), 1);
    EXPECT_LE(gStopRequests.load(), 80);
    delete window;
}

}  // namespace
