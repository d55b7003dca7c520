#include "gallery/picture_file.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <vector>

#include "gallery/cdib.h"
#include "gallery/gallery_messages.h"
#include "gallery/picture_decoding.h"
#include "gallery/picture_import.h"

namespace {

bool EndsWith(const char* path, const char* ending)
{
    size_t n = std::strlen(path), k = std::strlen(ending);
    return k > 0 && n >= k && lstrcmpiA(path + n - k, ending) == 0;
}

// The whole file, when it is no larger than the largest picture can be.
bool ReadWholeFile(const char* path, std::vector<uint8_t>& bytes)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool read = GetFileSizeEx(file, &size) && size.QuadPart < (int64_t(1) << 31) - 1;
    if (read) {
        bytes.resize(size_t(size.QuadPart));
        DWORD got = 0;
        read = bytes.empty() ||
               (ReadFile(file, bytes.data(), DWORD(bytes.size()), &got, nullptr) &&
                got == bytes.size());
    }
    CloseHandle(file);
    return read;
}

}  // namespace

bool LoadPicturePixels(const char* path, DecodedPicture& picture)
{
    const char* reason = nullptr;
    if (path == nullptr) {
        reason = "no file";
    } else if (EndsWith(path, GalleryText(kTextJpegExtension))) {
        DecodeJpeg(path, picture, &reason);
    } else if (EndsWith(path, GalleryText(kTextBmpExtension))) {
        std::vector<uint8_t> bytes;
        if (!ReadWholeFile(path, bytes))
            reason = "file not read";
        else
            DecodeBmp(bytes.data(), bytes.size(), picture, &reason);
    } else {
        reason = "not a BMP or JPEG file";
    }
    if (reason == nullptr)
        return true;
    GalleryAlert(kAlertPictureRefused, reason, kAlertKindInformation);
    return false;
}

CDib* LoadPictureFile(const char* path)
{
    DecodedPicture picture;
    if (!LoadPicturePixels(path, picture))
        return nullptr;
    std::unique_ptr<CDib> dib(new CDib);
    if (!dib->SetPicture(picture)) {
        GalleryAlert(kAlertPictureRefused, "no memory", kAlertKindInformation);
        return nullptr;
    }
    return dib.release();
}

Box FitBox(const Box& image, const Box& target)
{
    int32_t w = image.Width(), h = image.Height();
    int32_t tw = target.Width(), th = target.Height();
    if (int64_t(w) * th < int64_t(h) * tw) {
        int32_t fitted = MulDiv(w, th, h);
        int32_t x = target.left + (tw - fitted) / 2;
        return {x, target.top, x + fitted, target.bottom};
    }
    int32_t fitted = MulDiv(h, tw, w);
    int32_t y = target.top + (th - fitted) / 2;
    return {target.left, y, target.right, y + fitted};
}
