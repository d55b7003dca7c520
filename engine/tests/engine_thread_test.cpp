#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "engine/command.h"
#include "engine/engine_thread.h"
#include "stage_fixture.h"

namespace {

class Ticker : public MMLightweightThread {
public:
    Ticker(const char* name, MMStage* stage) : MMLightweightThread(name, stage) {}
    bool Run() override
    {
        ++slices;
        states.push_back(State());
        if (sleepFor >= 0)
            SleepFor(sleepFor);
        return slices < lastSlice;
    }
    void OnSleep() override { ++sleeps; }
    void OnWake() override { ++wakes; }
    int slices = 0;
    int lastSlice = INT_MAX;
    int sleepFor = -1;
    int sleeps = 0;
    int wakes = 0;
    std::vector<int32_t> states;
};

struct EngineThreadTest : ::testing::Test {
    BareStage bare;
    MMStage& stage = bare.stage;
    MMRunQueue& queue = *stage.RunQueue();

    // A step's stage time comes from the clock; tasks see it during the pass.
    void Pass(uint32_t clock)
    {
        FakeClock::now = clock;
        stage.ChangeSceneOrDispatch();
        queue.RunOnce();
    }
};

TEST_F(EngineThreadTest, SleepingDecidesWhenASliceRuns)
{
    stage.StartClock();
    Ticker ticker("ticker", &stage);
    ticker.sleepFor = 100;
    ticker.Activate();
    EXPECT_EQ(ticker.State(), kMMThreadActivated);
    Pass(1000);
    EXPECT_EQ(ticker.slices, 1);
    EXPECT_EQ(ticker.State(), kMMThreadRunning);
    Pass(1099);
    EXPECT_EQ(ticker.slices, 1) << "not yet due";
    Pass(1100);
    EXPECT_EQ(ticker.slices, 2);
    ticker.sleepFor = 0;
    Pass(1300);
    Pass(1300);
    EXPECT_EQ(ticker.slices, 4) << "SleepFor(0) is due at the next pass";
}

TEST_F(EngineThreadTest, AThreadActivatingItselfEverySliceRunsOncePerPass)
{
    class Restarter : public MMLightweightThread {
    public:
        Restarter(MMStage* stage) : MMLightweightThread("restarter", stage) {}
        bool Run() override
        {
            if (++slices < 50)  // bounded, so that a rerunning queue still ends
                Activate();
            return true;
        }
        int slices = 0;
    } thread(&stage);
    thread.Activate();
    Pass(0);
    EXPECT_EQ(thread.slices, 1);
    EXPECT_TRUE(queue.IsQueued(&thread));
    Pass(10);
    EXPECT_EQ(thread.slices, 2);
    thread.SetPriority(300);
    thread.Terminate();
}

TEST_F(EngineThreadTest, SleepAndWakeNotifyOnlyOnChangeWhileRunning)
{
    Ticker ticker("ticker", &stage);
    ticker.SleepUntil(INT_MAX);
    EXPECT_EQ(ticker.sleeps, 0) << "inactive threads are not told";
    ticker.Activate();
    Pass(1000);
    ticker.SleepUntil(INT_MAX);
    ticker.SleepUntil(INT_MAX);
    EXPECT_EQ(ticker.sleeps, 1);
    ticker.SleepFor(10);
    EXPECT_EQ(ticker.wakes, 1);
    Pass(1000);
    EXPECT_EQ(ticker.slices, 1);
}

TEST_F(EngineThreadTest, TerminatingARunningThreadGivesItAFinalSlice)
{
    Ticker ticker("ticker", &stage);
    ticker.Activate();
    Pass(1000);
    ticker.Terminate();
    EXPECT_EQ(ticker.states, (std::vector<int32_t>{kMMThreadActivated, kMMThreadTerminating}));
    EXPECT_EQ(ticker.State(), kMMThreadInactive);
    EXPECT_FALSE(queue.IsQueued(&ticker));
    Ticker fresh("fresh", &stage);
    fresh.Activate();
    fresh.Terminate();
    EXPECT_EQ(fresh.slices, 0) << "an activated thread that never ran gets no slice";
}

TEST_F(EngineThreadTest, ThreadCommandsRunJustAheadOfTheThread)
{
    Ticker ticker("ticker", &stage);
    std::unique_ptr<MMCommand> activate(ticker.MakeActivateCommand());
    std::unique_ptr<MMCommand> suspend(ticker.MakeSuspendCommand());
    std::unique_ptr<MMCommand> resume(ticker.MakeResumeCommand());
    std::unique_ptr<MMCommand> terminate(ticker.MakeTerminateCommand());
    EXPECT_STREQ(activate->Name(), "Activate ticker");
    EXPECT_STREQ(terminate->Name(), "Terminate ticker");
    EXPECT_EQ(static_cast<MMCommand*>(suspend.get())->Priority(), 201);
    activate->Post();
    Pass(1000);
    EXPECT_EQ(ticker.slices, 1) << "activated behind the command in the same pass";
    suspend->Post();
    Pass(1000);
    Pass(1000);
    EXPECT_EQ(ticker.slices, 1);
    resume->Post();
    Pass(1000);
    EXPECT_EQ(ticker.slices, 2);
    terminate->Post();
    Pass(1000);
    EXPECT_EQ(ticker.State(), kMMThreadInactive);
}

TEST_F(EngineThreadTest, WaitingOnASemaphoreFollowsThePassSample)
{
    MMManualSemaphore gate("gate", &stage);
    Ticker ticker("ticker", &stage);
    ticker.Activate();
    Pass(1000);
    gate.Block();
    ticker.WaitOnSemaphore(&gate);
    EXPECT_TRUE(ticker.Waited());
    Pass(1000);
    EXPECT_EQ(ticker.slices, 1);
    gate.Unblock();
    Pass(1000);
    EXPECT_EQ(ticker.slices, 2);
    EXPECT_FALSE(ticker.Waited()) << "cleared at the start of every slice";
}

TEST_F(EngineThreadTest, ADeletedQueuedThreadLeavesNoNodeBehind)
{
    auto ticker = std::make_unique<Ticker>("ticker", &stage);
    ticker->Activate();
    Pass(1000);
    ticker.reset();
    Pass(1000);  // would touch the deleted thread
    SUCCEED();
}

class Counter : public MMCooperativeThread {
public:
    Counter(MMStage* stage, std::vector<std::string>* trace)
        : MMCooperativeThread("counter", stage), trace(trace) {}
    void Body() override
    {
        for (int i = 0;; ++i) {
            trace->push_back("body " + std::to_string(i));
            if (!SleepFor(0))
                break;
        }
        trace->push_back("unwound");
    }
    std::vector<std::string>* trace;
};

TEST_F(EngineThreadTest, CooperativeThreadAlternatesWithTheStage)
{
    std::vector<std::string> trace;
    Counter counter(&stage, &trace);
    counter.Activate();
    for (int i = 0; i < 3; ++i) {
        Pass(1000 + i);
        trace.push_back("stage");
    }
    counter.Terminate();
    EXPECT_EQ(trace, (std::vector<std::string>{"body 0", "stage", "body 1", "stage", "body 2",
                                               "stage", "unwound"}));
    EXPECT_TRUE(counter.Finished());
    EXPECT_EQ(counter.State(), kMMThreadInactive);
}

}  // namespace
