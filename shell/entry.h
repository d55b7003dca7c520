#pragma once
// The program's start: one running copy at a time, then the application's
// run cycle.
#include <windows.h>

// 0 when another copy runs (its window brought forward), else 1 after the run.
int RunAtelier(HINSTANCE instance);
