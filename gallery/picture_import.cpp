#include "gallery/picture_import.h"

#include <cstdio>
#include <cstring>

#include "canvas/resample.h"
#include "gallery/gallery_messages.h"
#include "gallery/picture_decoding.h"
#include "gallery/picture_file.h"
#include "media/bitmap.h"
#include "media/offscreen_surface.h"

namespace {

PictureOpenDialog gDialog = &GetOpenFileNameA;

MMBitmap BitmapOf(DecodedPicture& picture)
{
    MMBitmap bitmap;
    bitmap.bitsPerPixel = 32;
    bitmap.bytesPerPixel = 4;
    bitmap.pixelKind = kPixelBGRA;
    bitmap.transparencyKind = kTransparencyOpaque;
    bitmap.box = {0, 0, picture.width, picture.height};
    bitmap.pixels = reinterpret_cast<uint8_t*>(picture.pixels.data());
    bitmap.pitch = picture.width * 4;
    return bitmap;
}

}  // namespace

PictureOpenDialog SetPictureOpenDialog(PictureOpenDialog dialog)
{
    PictureOpenDialog old = gDialog;
    gDialog = dialog != nullptr ? dialog : &GetOpenFileNameA;
    return old;
}

WinMMOffscreenSurface* ImportPictureFile(const Box& canvas, HWND owner, FSDirectory& importFolder)
{
    const char* bmp = GalleryText(kTextBmpExtension);
    const char* jpeg = GalleryText(kTextJpegExtension);
    char filter[128];
    int n = std::snprintf(filter, sizeof filter, "*%s,*%s", bmp, jpeg) + 1;
    n += std::snprintf(filter + n, sizeof filter - n - 1, "*%s;*%s", bmp, jpeg) + 1;
    filter[n] = '\0';
    char folder[FS_PATH_SIZE];
    std::snprintf(folder, sizeof folder, "%s", importFolder.Path());
    size_t length = std::strlen(folder);
    if (length > 3 && folder[length - 1] == '\\')
        folder[length - 1] = '\0';
    char path[256] = {};
    OPENFILENAMEA record = {};
    record.lStructSize = sizeof record;
    record.hwndOwner = owner;
    record.lpstrFilter = filter;
    record.lpstrFile = path;
    record.nMaxFile = sizeof path;
    record.lpstrInitialDir = folder;
    record.lpstrTitle = "Ouvrir fichier Bitmap";
    record.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_LONGNAMES;
    if (!gDialog(&record))
        return nullptr;
    path[sizeof path - 1] = '\0';
    char chosen[FS_PATH_SIZE];
    std::snprintf(chosen, sizeof chosen, "%s", path);
    if (char* slash = std::strrchr(chosen, '\\')) {
        slash[1] = '\0';
        importFolder.Set(chosen);
    }

    DecodedPicture picture;
    if (!LoadPicturePixels(path, picture))
        return nullptr;
    Box box = {0, 0, picture.width, picture.height};
    Box room = {0, 0, canvas.Width(), canvas.Height()};
    if (picture.width > room.right || picture.height > room.bottom)
        box = FitBox(box, room);
    WinMMOffscreenSurface* surface = MMSurface::CreateBitmapDC(32, box, nullptr);
    if (surface == nullptr) {
        GalleryAlert(kAlertPictureRefused, "no memory", kAlertKindInformation);
        return nullptr;
    }
    surface->FillBox(box, MakeMMColorFromRgb(0xFFFFFF));
    surface->Lock();
    MMBitmap target;
    if (surface->GetBitmap(target))
        ResampleBitmap(BitmapOf(picture), target);
    surface->Unlock();
    return surface;
}
