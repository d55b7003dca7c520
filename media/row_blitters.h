#pragma once
// The row routines of blit requests, chosen by table lookup.
#include <cstdint>
#include "media/bitmap.h"

enum MMStepKind : int32_t { kStepOne = 0, kStepMirrored = 1, kStepScaled = 2 };

int32_t MMStepKindOf(int32_t xStep);

// Null when no routine exists for the combination.
MMRowRoutine MMFindRowRoutine(int32_t sourceKind, int32_t transparencyKind,
                              int32_t destinationKind, bool hasIndexMap, int32_t stepKind);

// Engine start-up: MMX copies replace four 1:1 routines when the processor
// has MMX.
void SelectMmxSpanRoutines();
// Puts the plain routines back (and clears the MMX flag).
void SelectPlainSpanRoutines();
bool MMXSpanRoutinesInUse();
