#pragma once
// Named commands: a bound member call that is posted as a copy into the run
// queue, runs once and deletes itself.
#include "engine/queued_task.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

class MMCommand : public MMQueuedTask {
public:
    MMCommand(const char* name, MMStage* stage, int16_t priority = -1);
    MMCommand(const MMCommand&) = default;

    bool Execute() override;  // Perform, then delete this; false
    void Cancel() override {}
    // Queues a clone at this command's priority; false when none could be made.
    virtual bool Post();
    virtual MMCommand* Clone() const = 0;
    virtual void Perform() = 0;

    int16_t Priority() const { return priority_; }
    void SetPriority(int16_t priority) { priority_ = priority; }

private:
    int16_t priority_;
};

template <class T, class M = void (T::*)()>
class MMClassCommand : public MMCommand {
public:
    MMClassCommand(const char* name, MMStage* stage, T* object, M method, int16_t priority = -1)
        : MMCommand(name, stage, priority), object_(object), method_(method) {}
    MMCommand* Clone() const override { return new MMClassCommand(*this); }
    void Perform() override { (object_->*method_)(); }

private:
    T* object_;
    M method_;
};

template <class T, class M, class P>
class MMClassCommand1Parameter : public MMCommand {
public:
    MMClassCommand1Parameter(const char* name, MMStage* stage, T* object, M method, P argument,
                             int16_t priority = -1)
        : MMCommand(name, stage, priority), object_(object), method_(method), argument_(argument) {}
    MMCommand* Clone() const override { return new MMClassCommand1Parameter(*this); }
    void Perform() override { (object_->*method_)(argument_); }

private:
    T* object_;
    M method_;
    std::decay_t<P> argument_;
};

template <class T, class M, class P1, class P2>
class MMClassCommand2Parameters : public MMCommand {
public:
    MMClassCommand2Parameters(const char* name, MMStage* stage, T* object, M method, P1 a1, P2 a2,
                              int16_t priority = -1)
        : MMCommand(name, stage, priority), object_(object), method_(method), a1_(a1), a2_(a2) {}
    MMCommand* Clone() const override { return new MMClassCommand2Parameters(*this); }
    void Perform() override { (object_->*method_)(a1_, a2_); }

private:
    T* object_;
    M method_;
    std::decay_t<P1> a1_;
    std::decay_t<P2> a2_;
};

template <class T, class M, class P1, class P2, class P3>
class MMClassCommand3Parameters : public MMCommand {
public:
    MMClassCommand3Parameters(const char* name, MMStage* stage, T* object, M method, P1 a1, P2 a2,
                              P3 a3, int16_t priority = -1)
        : MMCommand(name, stage, priority), object_(object), method_(method), a1_(a1), a2_(a2),
          a3_(a3) {}
    MMCommand* Clone() const override { return new MMClassCommand3Parameters(*this); }
    void Perform() override { (object_->*method_)(a1_, a2_, a3_); }

private:
    T* object_;
    M method_;
    std::decay_t<P1> a1_;
    std::decay_t<P2> a2_;
    std::decay_t<P3> a3_;
};

// Commands kept under integer keys (menu command ids, animation events).
// The set owns its commands.
class MMCommandSet {
public:
    struct Item {
        int32_t key;
        MMCommand* command;
    };

    MMCommandSet() = default;
    ~MMCommandSet();
    MMCommandSet(const MMCommandSet&) = delete;
    MMCommandSet& operator=(const MMCommandSet&) = delete;

    void Add(int32_t key, MMCommand* command);
    void Remove(int32_t key);
    // The first item with the key takes the command and deletes its old
    // one; false (and the command left to the caller) when none has the key.
    bool Replace(int32_t key, MMCommand* command);
    MMCommand* Find(int32_t key) const;
    bool Post(int32_t key) const;
    void Clear();
    size_t Count() const { return items_.size(); }

private:
    std::vector<Item> items_;
};
