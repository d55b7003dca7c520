#pragma once
// The engine's two pulse-task managers, made and started by the engine
// start-up and stopped by its shut-down; null outside that span. Only the
// second gets tasks: streamed sound channels, buffered sound input and film
// streams are refilled on its thread.
#include "framework/pulse_task.h"

extern AFPulseTaskManager* gFirstEnginePulseTaskManager;
extern AFPulseTaskManager* gSecondEnginePulseTaskManager;
