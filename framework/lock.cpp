#include "framework/lock.h"

void InitLock(Lock* lock) { InitializeCriticalSection(&lock->section); }
void DeleteLock(Lock* lock) { DeleteCriticalSection(&lock->section); }
void EnterLock(Lock* lock) { EnterCriticalSection(&lock->section); }
void LeaveLock(Lock* lock) { LeaveCriticalSection(&lock->section); }
