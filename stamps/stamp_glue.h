#pragma once
// Gluing: a stamp's picture goes into the canvas plane at the stamp's place
// on the stage, through the canvas's zoom, and the canvas redraws the box.
#include "framework/geometry.h"

class KVXCanvasVisual;
class MMPictureReference;

// The plane point under a stage point of the canvas (halved and moved to the
// zoom origin when the canvas is zoomed 2x).
Pair GluePlanePoint(const KVXCanvasVisual& canvas, const Pair& stagePoint);

// Opaque pixels replace the colour, partly clear ones blend; the picture's
// box and a pixel around it are redrawn. Answers the plane box glued.
Box GlueStampPicture(KVXCanvasVisual* canvas, const MMPictureReference& picture,
                     const Pair& stagePoint);
