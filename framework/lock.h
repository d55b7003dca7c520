#pragma once
#include <windows.h>

// Every lock of the framework and the engine is a plain critical section.
struct Lock {
    CRITICAL_SECTION section;
};

void InitLock(Lock* lock);
void DeleteLock(Lock* lock);
void EnterLock(Lock* lock);
void LeaveLock(Lock* lock);

// Holds a lock for the life of a scope.
class LockHolder {
public:
    explicit LockHolder(Lock* lock) : lock_(lock) { EnterLock(lock_); }
    ~LockHolder() { LeaveLock(lock_); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

private:
    Lock* lock_;
};
