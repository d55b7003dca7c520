#pragma once
// Sketchbooks of the earlier version: the same signature, 68-byte slots
// from 47 (regions from 3447), pages of a 101 x 79 thumbnail and a picture
// of 482 x 371 words, top row first.
#include <windows.h>

#include <cstdint>

#include "framework/files.h"

class KVXPlaneComponent;
class SketchbookFile;
class SketchbookSlatePart;

constexpr int32_t kOldSlotSize = 68;
constexpr int32_t kOldTableEnd = 47 + 50 * kOldSlotSize;
constexpr int32_t kOldPictureWidth = 482;
constexpr int32_t kOldPictureHeight = 371;
constexpr int32_t kOldAllotment = kOldPictureWidth * kOldPictureHeight * 4;
static_assert(kOldTableEnd == 3447 && kOldAllotment == 715288, "the old format");

// The open dialog for an old book (through the picture import's dialog
// seam): folder in and out (the import/export folder, FS_PATH_SIZE), name in
// and out (FS_NAME_SIZE); true when a file was chosen.
bool ChooseOldSketchbook(HWND owner, char* folder, char* name);

// Copies every page of the old book into target after removing target's
// first page: names and flags kept, pictures centred on the canvas, a fresh
// slate and no stamps. Pages copied before a failure stay.
bool ImportOldSketchbook(SketchbookFile& target, KVXPlaneComponent& plane,
                         SketchbookSlatePart& slate, const FSDirectory& folder, const char* name);
