#pragma once
// The creation scene's picture import: the open dialog, then the chosen BMP
// or JPEG picture on white in a 32-bit off-screen surface, at its own size
// or fitted into the canvas when it is larger.
#include <windows.h>
#include <commdlg.h>

#include "framework/folders.h"
#include "framework/geometry.h"

class WinMMOffscreenSurface;
struct DecodedPicture;

// The open dialog; tests answer in its place.
typedef BOOL(WINAPI* PictureOpenDialog)(OPENFILENAMEA* record);
PictureOpenDialog SetPictureOpenDialog(PictureOpenDialog dialog);

// Null when the dialog was cancelled or the file refused (with the alert).
// importFolder is where the dialog opens; it becomes the chosen file's.
WinMMOffscreenSurface* ImportPictureFile(const Box& canvas, HWND owner, FSDirectory& importFolder);

// The decoded picture of a BMP or JPEG file; false with the refusal alert.
bool LoadPicturePixels(const char* path, DecodedPicture& picture);
