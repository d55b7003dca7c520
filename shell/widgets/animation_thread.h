#pragma once
// The paint program's scripted animations: the molecule adds nothing to the
// engine's, and its thread leaves the sounds playing when an animation ends,
// so that a click sound outlives the click's few frames.
#include <cstdint>

#include "engine/animation_molecule.h"
#include "engine/animation_thread.h"

class MMCursor;

class KVXAnimationMolecule : public MMAnimationMolecule {
public:
    using MMAnimationMolecule::MMAnimationMolecule;
};

class KVXAnimationThread : public MMAnimationThread {
public:
    using MMAnimationThread::MMAnimationThread;

    void OnSleep() override;
    // A button that asked for silence skips exactly one sound request. Taken
    // at the script row, not by name: <mmsystem.h> turns that name into a
    // macro in some files and not in others.
    void Step() override;
};

// True at the first shown visual, from the top one down, that holds the
// point.
bool KVXAnimationContainsPoint(const MMAnimationMolecule& molecule, const Pair& point);

// True when a frame row of the molecule's script carries the label.
bool KVXScriptHasLabel(const MMAnimationMolecule& molecule, int16_t label);

// Cursor n of the application's table; none while no application runs.
MMCursor* KVXAppCursor(int16_t n);

// The given thread, or a new KVXAnimationThread for the stage.
MMAnimationThread* EnsureAnimationThread(MMStage* stage, MMAnimationThread* thread);
