#pragma once
// A shared record with change notification: every holder's callback runs
// once per write, on the writer's thread.
#include <cstdint>

#include "framework/callbacks.h"

class MMSharedStuffBase;

class MMSharedHolder {
public:
    MMSharedHolder() = default;
    ~MMSharedHolder();
    MMSharedHolder(const MMSharedHolder&) = delete;
    MMSharedHolder& operator=(const MMSharedHolder&) = delete;

    void Attach(MMSharedStuffBase* record);
    void Detach();
    // Shares the other holder's record; the callback runs when it changed.
    void AssignFrom(const MMSharedHolder& other);
    void SetCallback(AFCallback* callback);
    MMSharedStuffBase* Record() const { return record_; }

private:
    friend class MMSharedStuffBase;
    MMSharedStuffBase* record_ = nullptr;
    AFCallback* callback_ = nullptr;
    MMSharedHolder* next_ = nullptr;
};

class MMSharedStuffBase {
public:
    virtual ~MMSharedStuffBase() = default;
    void BeginChange() { changing_ = true; }
    void EndChange();
    bool IsChanging() const { return changing_; }
    int32_t HolderCount() const { return holderCount_; }

private:
    friend class MMSharedHolder;
    bool changing_ = false;
    int32_t holderCount_ = 0;
    MMSharedHolder* firstHolder_ = nullptr;
};

template <class T>
class MMSharedStuff : public MMSharedStuffBase {
public:
    explicit MMSharedStuff(const T& value) : value(value) {}
    T value;
};
