#pragma once
// The canvas visual as the text box's commit sees it.
#include "text/text_commit.h"

class KVXCanvasVisual;

class KVXCanvasTextTarget : public KVXTextCanvas {
public:
    explicit KVXCanvasTextTarget(KVXCanvasVisual* canvas) : canvas(canvas) {}
    KVXPlaneComponentTop* Plane() override;
    Pair Origin() override;
    void TakeUndoSnapshot() override;
    void PlaneChanged() override;

private:
    KVXCanvasVisual* canvas;
};
