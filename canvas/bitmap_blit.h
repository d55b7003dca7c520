#pragma once
// A whole picture drawn on a surface with its top-left corner at a point.
#include "framework/geometry.h"

class MMPictureReference;
class MMSurface;

void BlitBitmapAt(MMSurface* surface, const MMPictureReference& picture, const Pair& point);
