#pragma once
// An imported picture (a file or a scanner's) arrives on the canvas as the
// rope's floating selection: the rope tray is opened when another is, and
// the picture is taken whole, centred on the canvas.
class KVXManagerTool;
class MMSurface;

// False when there is no rope to take it or the picture is not 32-bit; the
// surface stays the caller's.
bool TakePictureAsRopeSelection(KVXManagerTool* manager, MMSurface* surface);
