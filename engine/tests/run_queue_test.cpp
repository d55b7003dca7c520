#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/command.h"
#include "engine/run_queue.h"
#include "engine/stage.h"
#include "stage_fixture.h"

namespace {

typedef std::vector<std::string> Trace;

// A task that records its name each time it runs and may act on the queue.
class Probe : public MMQueuedTask {
public:
    Probe(const char* name, MMStage* stage, Trace* trace, bool stay = true)
        : MMQueuedTask(name, stage), trace(trace), stay(stay) {}
    bool Execute() override
    {
        trace->push_back(Name());
        if (action)
            action();
        return stay;
    }
    void Cancel() override { trace->push_back(std::string("cancel ") + Name()); }
    Trace* trace;
    bool stay;
    std::function<void()> action;
};

class Note {
public:
    explicit Note(Trace* trace) : trace(trace) {}
    void Say(const char* text) { trace->push_back(text); }
    Trace* trace;
};

typedef MMClassCommand1Parameter<Note, void (Note::*)(const char*), const char*> NoteCommand;

struct RunQueueTest : ::testing::Test {
    BareStage bare;
    MMStage& stage = bare.stage;
    MMRunQueue& queue = *stage.RunQueue();
    Trace trace;
};

struct OrderCase {
    const char* what;
    std::vector<std::pair<const char*, int16_t>> tasks;  // queued in this order
    std::vector<std::string> expected;
};

TEST_F(RunQueueTest, RunsByPriorityFirstInFirstOutAmongEquals)
{
    const OrderCase cases[] = {
        {"equal priorities keep their order", {{"a200", 200}, {"b200", 200}, {"c201", 201}},
         {"c201", "a200", "b200"}},
        {"just ahead outside a pass is 30000", {{"t200", 200}, {"cmd", -1}, {"u30000", 30000}},
         {"cmd", "u30000", "t200"}},
        {"negative priorities compare signed", {{"neg", -5}, {"zero", 0}, {"big", 32000}},
         {"big", "zero", "neg"}},
    };
    for (const OrderCase& c : cases) {
        trace.clear();
        MMRunQueue local;
        std::vector<std::unique_ptr<Probe>> probes;
        for (auto& [name, priority] : c.tasks) {
            probes.push_back(std::make_unique<Probe>(name, &stage, &trace, false));
            local.Enqueue(probes.back().get(), priority);
        }
        local.RunOnce();
        EXPECT_EQ(trace, c.expected) << c.what;
        trace.clear();
        local.RunOnce();
        EXPECT_TRUE(trace.empty()) << c.what << ": tasks that answered false left the queue";
    }
}

TEST_F(RunQueueTest, TheFirstWaitingPriorityIsTheHighestOrTheFallback)
{
    MMRunQueue local;
    EXPECT_EQ(local.FirstPriority(30001), 30001);
    Probe low("low", &stage, &trace), high("high", &stage, &trace);
    local.Enqueue(&low, 120);
    local.Enqueue(&high, 450);
    EXPECT_EQ(local.FirstPriority(30001), 450);
    local.Remove(&high);
    EXPECT_EQ(local.FirstPriority(30001), 120);
    local.Remove(&low);
}

TEST_F(RunQueueTest, JustAheadDuringAPassGoesBelowTheRunningTask)
{
    Note note(&trace);
    Probe running("running200", &stage, &trace);
    Probe second("second200", &stage, &trace);
    Probe low("low150", &stage, &trace);
    Probe high("high300", &stage, &trace, false);
    NoteCommand command("say", &stage, &note, &Note::Say, "posted");
    running.action = [&] {
        command.Post();
        // Higher than the runner, queued during the pass: still after it.
        if (!queue.IsQueued(&high))
            queue.Enqueue(&high, 300);
    };
    queue.Enqueue(&running, 200);
    queue.Enqueue(&second, 200);
    queue.Enqueue(&low, 150);
    queue.RunOnce();
    EXPECT_EQ(trace, (Trace{"running200", "high300", "second200", "posted", "low150"}));
    running.action = nullptr;
    trace.clear();
    queue.RunOnce();
    EXPECT_EQ(trace, (Trace{"running200", "second200", "low150"}));
}

TEST_F(RunQueueTest, RemoveAndSetPriorityDuringAPassKeepThePassIntact)
{
    Probe first("first", &stage, &trace);
    Probe second("second", &stage, &trace);
    Probe third("third", &stage, &trace);
    // The running task removes itself and the one before it, and moves the
    // one after it to the front.
    second.action = [&] {
        queue.Remove(&first);
        queue.Remove(&second);
        queue.SetPriority(&third, 500);
    };
    queue.Enqueue(&first, 300);
    queue.Enqueue(&second, 200);
    queue.Enqueue(&third, 100);
    queue.RunOnce();
    EXPECT_EQ(trace, (Trace{"first", "second", "cancel first", "cancel second", "third"}));
    EXPECT_FALSE(queue.IsQueued(&first));
    EXPECT_FALSE(queue.IsQueued(&second));
    EXPECT_EQ(queue.PriorityOf(&third), 500);
    trace.clear();
    queue.RunOnce();
    EXPECT_EQ(trace, (Trace{"third"}));
}

TEST_F(RunQueueTest, ATaskRequeuedByItselfDuringAPassRunsOnceInIt)
{
    Probe self("self", &stage, &trace);
    Probe other("other", &stage, &trace);
    int slices = 0;
    // Bounded, so that a queue that reruns it still ends the pass.
    self.action = [&] {
        if (++slices > 20)
            return;
        queue.SetPriority(&self, int16_t(100 - slices));
        EXPECT_TRUE(queue.IsQueued(&self));
        EXPECT_EQ(queue.PriorityOf(&self), 100 - slices);
    };
    queue.Enqueue(&self, 300);
    queue.Enqueue(&other, 200);
    queue.RunOnce();
    EXPECT_EQ(trace, (Trace{"self", "other"}));
    EXPECT_EQ(queue.PriorityOf(&self), 99);
    trace.clear();
    queue.RunOnce();
    EXPECT_EQ(trace, (Trace{"other", "self"}));

    // Taken out and queued again by itself: the same.
    self.action = [&] {
        if (++slices > 40)
            return;
        queue.Forget(&self);
        queue.Enqueue(&self, 500);
    };
    trace.clear();
    queue.RunOnce();
    EXPECT_EQ(trace, (Trace{"other", "self"}));
    trace.clear();
    self.action = nullptr;
    queue.RunOnce();
    EXPECT_EQ(trace, (Trace{"self", "other"}));
    queue.Forget(&self);
    queue.Forget(&other);
}

TEST_F(RunQueueTest, PostedCommandRunsOnceAsACopy)
{
    Note note(&trace);
    NoteCommand command("say", &stage, &note, &Note::Say, "hello");
    EXPECT_TRUE(command.Post());
    EXPECT_TRUE(command.Post());
    queue.RunOnce();
    EXPECT_EQ(trace, (Trace{"hello", "hello"}));
    trace.clear();
    queue.RunOnce();
    EXPECT_TRUE(trace.empty());
    EXPECT_STREQ(command.Name(), "say");
}

TEST_F(RunQueueTest, CommandSetOwnsAndPostsByKey)
{
    Note note(&trace);
    MMCommandSet set;
    set.Add(7, new NoteCommand("a", &stage, &note, &Note::Say, "first"));
    set.Add(7, new NoteCommand("b", &stage, &note, &Note::Say, "second"));
    EXPECT_TRUE(set.Post(7));
    EXPECT_FALSE(set.Post(8));
    queue.RunOnce();
    EXPECT_EQ(trace, (Trace{"first"}));
    set.Remove(7);
    ASSERT_NE(set.Find(7), nullptr);
    EXPECT_STREQ(set.Find(7)->Name(), "b");
    EXPECT_TRUE(set.Replace(7, new NoteCommand("c", &stage, &note, &Note::Say, "third")));
    EXPECT_STREQ(set.Find(7)->Name(), "c");
    EXPECT_EQ(set.Count(), 1u);

    // Replacing a command by itself keeps it; a key that is not stored takes
    // nothing, and the command stays the caller's.
    MMCommand* stored = set.Find(7);
    EXPECT_TRUE(set.Replace(7, stored));
    ASSERT_EQ(set.Find(7), stored);
    EXPECT_TRUE(set.Post(7));
    std::unique_ptr<NoteCommand> mine(new NoteCommand("d", &stage, &note, &Note::Say, "mine"));
    EXPECT_FALSE(set.Replace(9, mine.get()));
    EXPECT_EQ(set.Find(9), nullptr);
    EXPECT_TRUE(mine->Post());
    trace.clear();
    queue.RunOnce();
    EXPECT_EQ(trace, (Trace{"third", "mine"}));
}

TEST_F(RunQueueTest, DefaultAndCutNames)
{
    Note note(&trace);
    NoteCommand unnamed("", &stage, &note, &Note::Say, "x");
    EXPECT_STREQ(unnamed.Name(), "some command");
    MMManualSemaphore semaphore("0123456789012345678901234567890123456789", &stage);
    std::unique_ptr<MMCommand> block(semaphore.MakeBlockCommand());
    EXPECT_STREQ(block->Name(), "Block 0123456789012345678901234");
    EXPECT_EQ(std::string(block->Name()).size(), 31u);
    MMManualSemaphore plain("", &stage);
    EXPECT_STREQ(plain.Name(), "manual semaphore");
}

TEST_F(RunQueueTest, SemaphoreIsSampledOnceAtTheStartOfAPass)
{
    MMManualSemaphore semaphore("gate", &stage);
    std::unique_ptr<MMCommand> block(semaphore.MakeBlockCommand());
    std::unique_ptr<MMCommand> unblock(semaphore.MakeUnblockCommand());
    block->Post();
    queue.RunOnce();
    EXPECT_EQ(semaphore.BlockCount(), 1);
    EXPECT_TRUE(semaphore.Signalled()) << "sampled before the block ran";
    unblock->Post();
    queue.RunOnce();
    EXPECT_FALSE(semaphore.Signalled());
    queue.RunOnce();
    EXPECT_TRUE(semaphore.Signalled());
}

}  // namespace
