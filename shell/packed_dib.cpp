#include "shell/packed_dib.h"

#include <cstdlib>

namespace {

const int32_t kSideLimit = 1 << 15;

}  // namespace

bool CheckPackedDib(const void* block, SIZE_T size, PackedDibLayout& layout)
{
    const auto* header = static_cast<const BITMAPINFOHEADER*>(block);
    if (!header || size < sizeof(BITMAPINFOHEADER) || header->biSize != sizeof(BITMAPINFOHEADER))
        return false;
    int32_t bits = header->biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    bool fields = header->biCompression == BI_BITFIELDS && (bits == 16 || bits == 32);
    if (header->biCompression != BI_RGB && !fields)
        return false;
    int32_t width = header->biWidth;
    int32_t height = header->biHeight == INT32_MIN ? 0 : std::abs(header->biHeight);
    if (width <= 0 || height <= 0 || width > kSideLimit || height > kSideLimit ||
        header->biPlanes != 1)
        return false;
    int64_t colors = 0;
    if (bits <= 8) {
        int64_t most = int64_t(1) << bits;
        if (header->biClrUsed > uint64_t(most))
            return false;
        colors = header->biClrUsed ? header->biClrUsed : most;
    } else if (header->biClrUsed > 256) {
        return false;
    } else {
        colors = header->biClrUsed;
    }
    int64_t table = colors * 4 + (fields ? 12 : 0);
    int64_t rowBytes = (int64_t(width) * bits + 31) / 32 * 4;
    int64_t end = int64_t(sizeof(BITMAPINFOHEADER)) + table + rowBytes * height;
    if (end > int64_t(size))
        return false;
    layout = {width, height, bits, int32_t(colors),
              int32_t(sizeof(BITMAPINFOHEADER) + table)};
    return true;
}
