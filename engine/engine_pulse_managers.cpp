#include "engine/engine_pulse_managers.h"

AFPulseTaskManager* gFirstEnginePulseTaskManager = nullptr;
AFPulseTaskManager* gSecondEnginePulseTaskManager = nullptr;
