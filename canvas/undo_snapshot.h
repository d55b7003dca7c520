#pragma once
// The undo copy of the canvas: one plane of the canvas's size, refreshed at
// the start of every stroke and exchanged with the canvas to undo.
#include "canvas/plane.h"

class UndoSnapshot {
public:
    explicit UndoSnapshot(const KVXPlaneComponentTop& plane);
    UndoSnapshot(const UndoSnapshot&) = delete;
    UndoSnapshot& operator=(const UndoSnapshot&) = delete;

    void Checkpoint(const KVXPlaneComponentTop& plane);
    // The plane shows the copy; the copy holds the picture of before.
    void Swap(KVXPlaneComponentTop& plane);
    const KVXPlaneComponentTop& Copy() const { return copy; }

private:
    KVXPlaneComponentTop copy;
};
