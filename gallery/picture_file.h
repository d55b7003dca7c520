#pragma once
// Picture files chosen for import: BMP and JPEG, told apart by the end of
// the name in any case (the extensions are texts 9 and 10 of table 0).
#include <cstdint>

#include "framework/geometry.h"

class CDib;

// The picture of the file, or null with the refusal alert (its reason is
// LastGalleryReason()).
CDib* LoadPictureFile(const char* path);

// The largest box of the image's proportions inside target, centred.
Box FitBox(const Box& image, const Box& target);
