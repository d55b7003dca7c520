#include <climits>
#include <cstring>

#include "framework/byte_order_streams.h"
#include "framework/files.h"
#include "gallery/picture_decoding.h"

namespace {

constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;

struct BmpHeader {
    int32_t pixelOffset;
    int32_t headerSize;
    int32_t width;
    int32_t height;
    int16_t planes;
    int16_t bits;
    uint32_t compression;
    uint32_t imageSize;
    uint32_t colorsUsed;
    uint32_t masks[3];
};

struct Channel {
    uint32_t mask;
    int shift;
    int width;  // bits of the field
};

Channel MakeChannel(uint32_t mask)
{
    Channel c = {mask, 0, 0};
    if (mask == 0)
        return c;
    while (((mask >> c.shift) & 1) == 0)
        ++c.shift;
    while (c.shift + c.width < 32 && ((mask >> (c.shift + c.width)) & 1) != 0)
        ++c.width;
    return c;
}

// A field widened to 8 bits by repeating its bits from the top, as the
// system's own decoders do.
uint32_t Scaled(const Channel& c, uint32_t value)
{
    if (c.width == 0)
        return 0;
    uint32_t v = (value >> c.shift) & ((uint64_t(1) << c.width) - 1);
    if (c.width >= 8)
        return v >> (c.width - 8);
    uint32_t repeated = 0;
    int filled = 0;
    while (filled < 8) {
        repeated = repeated << c.width | v;
        filled += c.width;
    }
    return repeated >> (filled - 8);
}

class Decoder {
public:
    Decoder(const uint8_t* bytes, size_t size, DecodedPicture& out)
        : bytes(bytes), size(size), out(out) {}

    const char* Run()
    {
        const char* refused = ReadHeader();
        if (refused == nullptr)
            refused = ReadPalette();
        if (refused != nullptr)
            return refused;
        out.width = header.width;
        out.height = height;
        out.pixels.assign(size_t(header.width) * height, 0);
        if (header.compression == kRle8 || header.compression == kRle4)
            return DecodeRle();
        return DecodeRows();
    }

private:
    const char* ReadHeader()
    {
        if (size < 14 + 40 || bytes[0] != 'B' || bytes[1] != 'M')
            return "not a BMP file";
        FSMemory memory(const_cast<uint8_t*>(bytes), uint32_t(14 + 40));
        memory.Seek(10, FS_SEEK_FROM_START, nullptr);
        memory.ReadLongs(&header.pixelOffset);
        memory.ReadLongs(&header.headerSize);
        memory.ReadLongs(&header.width);
        memory.ReadLongs(&header.height);
        memory.ReadShorts(&header.planes);
        memory.ReadShorts(&header.bits);
        memory.ReadLongs(&header.compression);
        memory.ReadLongs(&header.imageSize);
        memory.Seek(46, FS_SEEK_FROM_START, nullptr);
        memory.ReadLongs(&header.colorsUsed);
        int32_t hs = header.headerSize;
        if ((hs != 40 && hs != 108 && hs != 124) || size_t(14 + hs) > size || header.planes != 1)
            return "bad header";
        int16_t b = header.bits;
        uint32_t c = header.compression;
        bool sound = (c == kRgb && (b == 1 || b == 4 || b == 8 || b == 16 || b == 24 || b == 32)) ||
                     (c == kRle8 && b == 8) || (c == kRle4 && b == 4) ||
                     (c == kBitFields && (b == 16 || b == 32));
        if (!sound)
            return "bad header";
        topDown = header.height < 0;
        if (header.height == INT_MIN)
            return "bad size";
        height = topDown ? -header.height : header.height;
        if (header.width <= 0 || height <= 0 || header.width > kLargestPictureSide ||
            height > kLargestPictureSide)
            return "bad size";
        if (int64_t(header.width) * height * 4 > (int64_t(1) << 31))
            return "too large";
        if (topDown && (c == kRle8 || c == kRle4))
            return "bad header";
        tableStart = 14 + hs;
        if (c == kBitFields) {
            size_t at = 14 + 40;
            if (hs == 40)
                tableStart += 12;
            if (size_t(tableStart) > size)
                return "data past the end";
            for (int i = 0; i < 3; ++i)
                std::memcpy(&header.masks[i], bytes + at + 4 * i, 4);
        } else if (b == 16) {
            header.masks[0] = 0x7C00, header.masks[1] = 0x3E0, header.masks[2] = 0x1F;
        } else {
            header.masks[0] = 0xFF0000, header.masks[1] = 0xFF00, header.masks[2] = 0xFF;
        }
        for (int i = 0; i < 3; ++i)
            channels[i] = MakeChannel(header.masks[i]);
        return nullptr;
    }

    const char* ReadPalette()
    {
        if (header.bits > 8)
            return nullptr;
        uint32_t most = 1u << header.bits;
        paletteSize = header.colorsUsed != 0 ? header.colorsUsed : most;
        if (paletteSize > most)
            return "bad header";
        if (size_t(tableStart) + size_t(paletteSize) * 4 > size)
            return "data past the end";
        for (uint32_t i = 0; i < paletteSize; ++i) {
            const uint8_t* p = bytes + tableStart + 4 * i;
            palette[i] = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
        }
        return nullptr;
    }

    uint32_t* OutRow(int32_t fileRow)
    {
        int32_t y = topDown ? fileRow : height - 1 - fileRow;
        return out.pixels.data() + size_t(y) * header.width;
    }

    const char* DecodeRows()
    {
        size_t stride = (size_t(header.width) * header.bits + 31) / 32 * 4;
        if (header.pixelOffset < 0 || size_t(header.pixelOffset) > size ||
            stride * height > size - header.pixelOffset)
            return "data past the end";
        for (int32_t r = 0; r < height; ++r) {
            const uint8_t* row = bytes + header.pixelOffset + stride * r;
            uint32_t* target = OutRow(r);
            for (int32_t x = 0; x < header.width; ++x) {
                const char* refused = Pixel(row, x, target[x]);
                if (refused != nullptr)
                    return refused;
            }
        }
        return nullptr;
    }

    const char* Pixel(const uint8_t* row, int32_t x, uint32_t& pixel)
    {
        switch (header.bits) {
        case 1:
            return Indexed((row[x / 8] >> (7 - x % 8)) & 1, pixel);
        case 4:
            return Indexed(x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15, pixel);
        case 8:
            return Indexed(row[x], pixel);
        case 24:
            pixel = uint32_t(row[3 * x]) | uint32_t(row[3 * x + 1]) << 8 |
                    uint32_t(row[3 * x + 2]) << 16;
            return nullptr;
        default: {
            uint32_t v = 0;
            std::memcpy(&v, row + x * (header.bits / 8), header.bits / 8);
            pixel = Scaled(channels[2], v) | Scaled(channels[1], v) << 8 |
                    Scaled(channels[0], v) << 16;
            return nullptr;
        }
        }
    }

    const char* Indexed(uint32_t index, uint32_t& pixel)
    {
        if (index >= paletteSize)
            return "palette index past the palette";
        pixel = palette[index];
        return nullptr;
    }

    // Runs and deltas are checked against the row and the image before a
    // single pixel is written.
    const char* DecodeRle()
    {
        if (header.pixelOffset < 0 || size_t(header.pixelOffset) > size)
            return "data past the end";
        size_t p = header.pixelOffset;
        size_t end = size;
        if (header.imageSize != 0 && header.imageSize < end - p)
            end = p + header.imageSize;
        bool four = header.compression == kRle4;
        // Runs may fill a stored row up to its padding; what lies past the
        // picture's width is dropped.
        int32_t rowLimit = int32_t((int64_t(header.width) * header.bits + 31) / 32 * 32 / header.bits);
        int32_t x = 0, r = 0;
        for (;;) {
            if (p + 2 > end)
                return "data past the end";
            uint8_t count = bytes[p], value = bytes[p + 1];
            p += 2;
            if (count > 0) {
                if (r >= height)
                    return "run past the image";
                if (x + count > rowLimit)
                    return "run past the row";
                for (int i = 0; i < count; ++i) {
                    uint32_t index = four ? (i % 2 == 0 ? value >> 4 : value & 15) : value;
                    const char* refused = Put(r, x++, index);
                    if (refused != nullptr)
                        return refused;
                }
                continue;
            }
            if (value == 0) {
                x = 0;
                if (++r > height)
                    return "run past the image";
            } else if (value == 1) {
                return nullptr;
            } else if (value == 2) {
                if (p + 2 > end)
                    return "data past the end";
                x += bytes[p];
                r += bytes[p + 1];
                p += 2;
                if (x > rowLimit || r >= height)
                    return "delta past the image";
            } else {
                size_t used = four ? (value + 1) / 2 : value;
                if (p + used > end)
                    return "data past the end";
                if (r >= height)
                    return "run past the image";
                if (x + value > rowLimit)
                    return "run past the row";
                for (int i = 0; i < value; ++i) {
                    uint32_t index = four ? (i % 2 == 0 ? bytes[p + i / 2] >> 4
                                                        : bytes[p + i / 2] & 15)
                                          : bytes[p + i];
                    const char* refused = Put(r, x++, index);
                    if (refused != nullptr)
                        return refused;
                }
                p += (used + 1) & ~size_t(1);
            }
        }
    }

    // One pixel of an RLE row; only pixels inside the picture are kept.
    const char* Put(int32_t r, int32_t x, uint32_t index)
    {
        uint32_t pixel;
        const char* refused = Indexed(index, pixel);
        if (refused == nullptr && x < header.width)
            OutRow(r)[x] = pixel;
        return refused;
    }

    const uint8_t* bytes;
    size_t size;
    DecodedPicture& out;
    BmpHeader header = {};
    bool topDown = false;
    int32_t height = 0;
    int32_t tableStart = 0;
    uint32_t paletteSize = 0;
    uint32_t palette[256] = {};
    Channel channels[3] = {};
};

}  // namespace

bool DecodeBmp(const uint8_t* bytes, size_t size, DecodedPicture& out, const char** reason)
{
    out = DecodedPicture();
    Decoder decoder(bytes, size, out);
    const char* refused = decoder.Run();
    if (reason != nullptr)
        *reason = refused;
    if (refused != nullptr)
        out = DecodedPicture();
    return refused == nullptr;
}
