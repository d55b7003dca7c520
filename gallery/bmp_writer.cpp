#include "gallery/bmp_writer.h"

#include <cstring>
#include <vector>

#include "framework/byte_order_streams.h"
#include "media/bitmap.h"
#include "media/surface.h"

namespace {

constexpr uint16_t kBmpType = 19778;  // "BM"
constexpr int32_t kInfoHeaderSize = 40;

}  // namespace

bool WriteBmpFile(MMSurface& surface, FSWriter& writer)
{
    surface.Lock();
    MMBitmap bitmap;
    bool ok = surface.GetBitmap(bitmap) && bitmap.bitsPerPixel == 32;
    int32_t width = bitmap.box.Width();
    int32_t height = bitmap.box.Height();
    ok = ok && width > 0 && height > 0;
    int32_t rowBytes = width * 4;
    uint16_t type = kBmpType;
    int32_t fileHead[3] = {height * rowBytes + kBmpHeadersSize, 0, kBmpHeadersSize};
    int32_t info[3] = {kInfoHeaderSize, width, height};
    int16_t planesAndBits[2] = {1, 32};
    int32_t rest[6] = {0, 0, 0, 0, 0, 0};
    ok = ok && writer.WriteShorts(&type) && writer.WriteLongs(fileHead, 3) &&
         writer.WriteLongs(info, 3) && writer.WriteShorts(planesAndBits, 2) &&
         writer.WriteLongs(rest, 6);
    std::vector<uint8_t> row(ok ? size_t(rowBytes) : 0);
    for (int32_t y = height - 1; ok && y >= 0; --y) {
        std::memcpy(row.data(), bitmap.PixelAddress(bitmap.box.left, bitmap.box.top + y),
                    size_t(rowBytes));
        for (int32_t x = 0; x < width; ++x)
            row[size_t(x) * 4 + 3] = 0;
        ok = writer.WriteBytes(row.data(), rowBytes) && writer.GetError() == 0;
    }
    surface.Unlock();
    return ok;
}
