#include <gtest/gtest.h>

#include <windows.h>
#include "framework/pulse_task.h"
#include "framework/thread.h"

namespace {

uint32_t gFakeNow = 0;
uint32_t FakeClock() { return gFakeNow; }

TEST(ThreadTest, ClockStartsAtOneAndWraps)
{
    gFakeNow = 5000;
    ElapsedClock clock(&FakeClock);
    EXPECT_EQ(clock.Now(), 1u);
    gFakeNow += 10;
    EXPECT_EQ(clock.Now(), 11u);

    gFakeNow = 0xFFFFFFF0u;
    ElapsedClock wrapping(&FakeClock);
    EXPECT_EQ(wrapping.Now(), 1u);
    gFakeNow = 5;
    EXPECT_EQ(wrapping.Now(), 22u);
    EXPECT_GE(ElapsedMilliseconds(), 1u);
}

class RecordingThread : public ALUserThread {
public:
    void Run() override { seen = ALThread::Current(); }
    ALThread* seen = nullptr;
};

TEST(ThreadTest, UserThreadsStartSuspendedAndKnowThemselves)
{
    EXPECT_EQ(ALThread::Current(), MainThread());
    RecordingThread thread;
    ASSERT_NE(thread.handle, nullptr);
    EXPECT_EQ(thread.State(), kThreadCreated);
    EXPECT_EQ(thread.seen, nullptr);
    thread.Resume();
    thread.WaitForEnd();
    EXPECT_EQ(thread.State(), kThreadEnded);
    EXPECT_EQ(thread.seen, &thread);
    EXPECT_EQ(thread.threadId, thread.osThreadId);
}

// Answers a fixed delay; may schedule itself while it pulses.
class ScriptedTask : public AFPulseTask {
public:
    explicit ScriptedTask(int32_t answer, int32_t scheduleDuringPulse = -1)
        : answer(answer), scheduleDuringPulse(scheduleDuringPulse)
    {
    }
    int32_t Pulse() override
    {
        ++pulses;
        if (scheduleDuringPulse >= 0)
            Schedule(scheduleDuringPulse);
        return answer;
    }
    int32_t answer;
    int32_t scheduleDuringPulse;
    int pulses = 0;
};

class PulseTaskTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gFakeNow = 1000;
        manager.SetClock(&FakeClock);
    }
    AFPulseTaskManager manager;
};

TEST_F(PulseTaskTest, TasksRunAtTheirDueTimes)
{
    ScriptedTask everyPass(0), later(50), once(kNever);
    for (AFPulseTask* task : {static_cast<AFPulseTask*>(&everyPass), static_cast<AFPulseTask*>(&later),
                              static_cast<AFPulseTask*>(&once)})
        manager.Add(task);
    EXPECT_EQ(manager.NextDue(), 0);

    manager.RunDue();
    EXPECT_EQ(everyPass.due, 1000);
    EXPECT_EQ(later.due, 1050);
    EXPECT_EQ(once.due, kNever);
    EXPECT_EQ(manager.NextDue(), 1000);

    gFakeNow = 1049;
    manager.RunDue();
    EXPECT_EQ(everyPass.pulses, 2);
    EXPECT_EQ(later.pulses, 1);
    EXPECT_EQ(once.pulses, 1);

    gFakeNow = 1050;
    once.Schedule(10);
    EXPECT_EQ(once.due, 1060);
    manager.RunDue();
    EXPECT_EQ(later.pulses, 2);
    EXPECT_EQ(once.pulses, 1);
    gFakeNow = 1060;
    manager.RunDue();
    EXPECT_EQ(once.pulses, 2);
    EXPECT_EQ(everyPass.pulses, 4);

    manager.Remove(&everyPass);
    EXPECT_EQ(everyPass.manager, nullptr);
    manager.RunDue();
    EXPECT_EQ(everyPass.pulses, 4);
    manager.Remove(&everyPass);  // not in the list: left alone
    manager.Remove(&later);
    manager.Remove(&once);
    EXPECT_EQ(manager.NextDue(), kNever);
}

TEST_F(PulseTaskTest, ScheduleDuringPulseKeepsTheEarlierTime)
{
    struct Case {
        int32_t answer;
        int32_t scheduled;
        int32_t expectedDue;
    } cases[] = {
        {kNever, 5, 1005},
        {20, 5, 1005},
        {20, 30, 1020},
    };
    for (const Case& c : cases) {
        ScriptedTask task(c.answer, c.scheduled);
        manager.Add(&task);
        manager.RunDue();
        EXPECT_EQ(task.due, c.expectedDue) << c.answer << " " << c.scheduled;
        manager.Remove(&task);
    }
}

// Removes itself from its own Pulse and deletes itself, as a finished job may.
class OneShotTask : public AFPulseTask {
public:
    explicit OneShotTask(int* pulses) : pulses(pulses) {}
    int32_t Pulse() override
    {
        ++*pulses;
        manager->Remove(this);
        delete this;
        return 0;
    }
    int* pulses;
};

TEST_F(PulseTaskTest, TaskRemovingItselfWhilePulsingEndsItsTurnOnly)
{
    int firstShots = 0, middleShots = 0;
    ScriptedTask between(0), last(0);
    manager.Add(new OneShotTask(&firstShots));
    manager.Add(&between);
    manager.Add(new OneShotTask(&middleShots));
    manager.Add(&last);
    manager.RunDue();
    EXPECT_EQ(firstShots, 1);
    EXPECT_EQ(middleShots, 1);
    EXPECT_EQ(between.pulses, 1);
    EXPECT_EQ(last.pulses, 1);
    EXPECT_EQ(manager.tasks.count, 2);
    manager.RunDue();
    EXPECT_EQ(firstShots, 1);
    EXPECT_EQ(between.pulses, 2);
    EXPECT_EQ(last.pulses, 2);
    manager.Remove(&between);
    manager.Remove(&last);
}

// Blocks inside its pulse until released.
class BlockingTask : public AFPulseTask {
public:
    BlockingTask()
        : entered(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
          release(CreateEventA(nullptr, TRUE, FALSE, nullptr))
    {
    }
    ~BlockingTask() override
    {
        CloseHandle(entered);
        CloseHandle(release);
    }
    int32_t Pulse() override
    {
        SetEvent(entered);
        WaitForSingleObject(release, INFINITE);
        InterlockedIncrement(&pulses);
        return 0;
    }
    HANDLE entered;
    HANDLE release;
    volatile LONG pulses = 0;
};

class Remover : public ALUserThread {
public:
    Remover(AFPulseTaskManager* manager, AFPulseTask* task) : manager(manager), task(task) {}
    void Run() override { manager->Remove(task); }
    AFPulseTaskManager* manager;
    AFPulseTask* task;
};

TEST(PulseTaskThreadTest, RemoveWaitsForTheRunningPulseAndStopEndsTheWorker)
{
    AFPulseTaskManager manager;
    BlockingTask task;
    manager.Add(&task);
    manager.Start();
    ASSERT_TRUE(manager.IsRunning());
    ASSERT_EQ(WaitForSingleObject(task.entered, 10000), WAIT_OBJECT_0);

    Remover remover(&manager, &task);
    remover.Resume();
    EXPECT_EQ(WaitForSingleObject(remover.handle, 100), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(task.manager, &manager);
    SetEvent(task.release);
    remover.WaitForEnd();
    EXPECT_EQ(task.manager, nullptr);
    LONG pulses = task.pulses;
    EXPECT_GE(pulses, 1);

    manager.Stop();
    EXPECT_FALSE(manager.IsRunning());
    EXPECT_EQ(task.pulses, pulses);

    // A stopped manager starts again; a task added meanwhile runs then.
    BlockingTask second;
    SetEvent(second.release);
    manager.Add(&second);
    manager.Start();
    ASSERT_EQ(WaitForSingleObject(second.entered, 10000), WAIT_OBJECT_0);
    manager.Stop();
    manager.Remove(&second);
    EXPECT_GE(second.pulses, 1);
}

}  // namespace
