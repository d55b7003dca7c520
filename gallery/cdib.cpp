#include "gallery/cdib.h"

#include <cstring>

#include "gallery/picture_decoding.h"

namespace {

int32_t ColorTableBytes(int32_t bits, uint32_t compression)
{
    switch (bits) {
    case 1: return 8;
    case 4: return 64;
    case 8: return 1024;
    case 16:
    case 32: return compression != BI_RGB ? 12 : 0;
    default: return 0;
    }
}

int64_t RowBytes(int32_t width, int32_t bits)
{
    return (int64_t(width) * bits + 31) / 32 * 4;
}

}  // namespace

int64_t PackedDibSize(int32_t width, int32_t height, int32_t bits, uint32_t compression)
{
    return RowBytes(width, bits) * height + ColorTableBytes(bits, compression) + 40;
}

CDib::CDib() : global(nullptr), width(0), height(0), bits(0) {}

CDib::~CDib()
{
    Release();
}

void CDib::Release()
{
    if (global != nullptr)
        GlobalFree(global);
    global = nullptr;
    width = height = bits = 0;
}

bool CDib::SetGlobal(HGLOBAL handle)
{
    Release();
    global = handle;
    auto* header = static_cast<BITMAPINFOHEADER*>(global ? GlobalLock(global) : nullptr);
    if (header == nullptr)
        return false;
    width = header->biWidth;
    height = header->biHeight;
    bits = header->biBitCount;
    GlobalUnlock(global);
    return true;
}

bool CDib::SetPicture(const DecodedPicture& picture)
{
    int64_t size = PackedDibSize(picture.width, picture.height, 32, BI_RGB);
    if (picture.width <= 0 || picture.height <= 0 || size > INT32_MAX)
        return false;
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, SIZE_T(size));
    auto* header = static_cast<BITMAPINFOHEADER*>(handle ? GlobalLock(handle) : nullptr);
    if (header == nullptr) {
        if (handle != nullptr)
            GlobalFree(handle);
        return false;
    }
    std::memset(header, 0, sizeof *header);
    header->biSize = sizeof *header;
    header->biWidth = picture.width;
    header->biHeight = picture.height;
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
    auto* rows = reinterpret_cast<uint32_t*>(header + 1);
    for (int32_t y = 0; y < picture.height; ++y)
        std::memcpy(rows + size_t(picture.height - 1 - y) * picture.width,
                    picture.pixels.data() + size_t(y) * picture.width, size_t(picture.width) * 4);
    GlobalUnlock(handle);
    return SetGlobal(handle);
}

uint32_t CDib::PixelAt(int32_t x, int32_t y) const
{
    if (bits != 32 || x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(global));
    uint32_t pixel = reinterpret_cast<uint32_t*>(header + 1)[size_t(height - 1 - y) * width + x];
    GlobalUnlock(global);
    return pixel;
}

void CDib::Draw(HDC dc, const RECT& box) const
{
    auto* info = static_cast<BITMAPINFO*>(global ? GlobalLock(global) : nullptr);
    if (info == nullptr)
        return;
    int previous = SetStretchBltMode(dc, COLORONCOLOR);
    const uint8_t* rows = reinterpret_cast<const uint8_t*>(info) + info->bmiHeader.biSize +
                          ColorTableBytes(bits, info->bmiHeader.biCompression);
    StretchDIBits(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, 0, 0, width,
                  height, rows, info, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, previous);
    GlobalUnlock(global);
}
