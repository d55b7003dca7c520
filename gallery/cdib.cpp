#include "gallery/cdib.h"

#include <cstring>
#include <vector>

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

int64_t RowBytesOf(int32_t width, int32_t bits)
{
    return (int64_t(width) * bits + 31) / 32 * 4;
}

}  // namespace

int64_t PackedDibSize(int32_t width, int32_t height, int32_t bits, uint32_t compression)
{
    return RowBytesOf(width, bits) * height + ColorTableBytes(bits, compression) + 40;
}

CDib::CDib() : global(nullptr), width(0), height(0), bits(0), uses(1) {}

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

uint8_t* CDib::Lock() const
{
    return global != nullptr ? static_cast<uint8_t*>(GlobalLock(global)) : nullptr;
}

void CDib::Unlock() const
{
    GlobalUnlock(global);
}

int64_t CDib::RowBytes() const
{
    return RowBytesOf(width, bits);
}

int32_t CDib::TableBytes(const BITMAPINFOHEADER& header) const
{
    return ColorTableBytes(header.biBitCount, header.biCompression);
}

bool CDib::SetGlobal(HGLOBAL handle)
{
    Release();
    global = handle;
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(Lock());
    if (header == nullptr)
        return false;
    int32_t b = header->biBitCount;
    bool plain = GlobalSize(global) >= sizeof *header && header->biSize == sizeof *header &&
                 header->biWidth > 0 && header->biHeight > 0 &&
                 (b == 1 || b == 4 || b == 8 || b == 16 || b == 24 || b == 32) &&
                 (header->biCompression == BI_RGB ||
                  (header->biCompression == BI_BITFIELDS && (b == 16 || b == 32))) &&
                 PackedDibSize(header->biWidth, header->biHeight, b, header->biCompression) <=
                     int64_t(GlobalSize(global));
    if (plain) {
        width = header->biWidth;
        height = header->biHeight;
        bits = b;
    }
    Unlock();
    if (!plain)
        Release();
    return plain;
}

bool CDib::Create(int32_t newWidth, int32_t newHeight, int32_t newBits)
{
    int64_t size = PackedDibSize(newWidth, newHeight, newBits, BI_RGB);
    if (newWidth <= 0 || newHeight <= 0 || size > INT32_MAX)
        return false;
    HGLOBAL handle = GlobalAlloc(GHND, SIZE_T(size));
    auto* header = static_cast<BITMAPINFOHEADER*>(handle ? GlobalLock(handle) : nullptr);
    if (header == nullptr) {
        if (handle != nullptr)
            GlobalFree(handle);
        return false;
    }
    header->biSize = sizeof *header;
    header->biWidth = newWidth;
    header->biHeight = newHeight;
    header->biPlanes = 1;
    header->biBitCount = WORD(newBits);
    header->biCompression = BI_RGB;
    GlobalUnlock(handle);
    return SetGlobal(handle);
}

bool CDib::SetPicture(const DecodedPicture& picture)
{
    if (!Create(picture.width, picture.height, 32))
        return false;
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(Lock());
    auto* rows = reinterpret_cast<uint32_t*>(header + 1);
    for (int32_t y = 0; y < picture.height; ++y)
        std::memcpy(rows + size_t(picture.height - 1 - y) * picture.width,
                    picture.pixels.data() + size_t(y) * picture.width, size_t(picture.width) * 4);
    Unlock();
    return true;
}

uint32_t CDib::PixelAt(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    uint8_t* block = Lock();
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block);
    const uint8_t* row = block + header->biSize + TableBytes(*header) + (height - 1 - y) * RowBytes();
    uint32_t value = 0;
    if (bits < 8) {
        int32_t bit = x * bits;
        value = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
    } else {
        std::memcpy(&value, row + x * (bits / 8), size_t(bits / 8));
    }
    Unlock();
    return value;
}

void CDib::SetPixelAt(int32_t x, int32_t y, uint32_t value)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    uint8_t* block = Lock();
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block);
    uint8_t* row = block + header->biSize + TableBytes(*header) + (height - 1 - y) * RowBytes();
    if (bits < 8) {
        int32_t bit = x * bits;
        int shift = 8 - bits - bit % 8;
        uint8_t mask = uint8_t(((1u << bits) - 1) << shift);
        row[bit / 8] = uint8_t((row[bit / 8] & ~mask) | ((value << shift) & mask));
    } else {
        std::memcpy(row + x * (bits / 8), &value, size_t(bits / 8));
    }
    Unlock();
}

int32_t CDib::GetUnpackedRowSize() const
{
    return bits > 8 ? width * 3 : width;
}

bool CDib::GetUnpackedRow(int32_t y, uint8_t* out) const
{
    if (bits == 16 || bits == 32 || bits == 0 || y < 0 || y >= height)
        return false;
    for (int32_t x = 0; x < width; ++x) {
        uint32_t value = PixelAt(x, y);
        if (bits == 24) {
            out[3 * x] = uint8_t(value);
            out[3 * x + 1] = uint8_t(value >> 8);
            out[3 * x + 2] = uint8_t(value >> 16);
        } else {
            out[x] = uint8_t(value);
        }
    }
    return true;
}

int32_t CDib::CopyColorTable(uint8_t* out) const
{
    uint8_t* block = Lock();
    if (block == nullptr)
        return 0;
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block);
    int32_t bytes = TableBytes(*header);
    std::memcpy(out, block + header->biSize, size_t(bytes));
    Unlock();
    return bytes;
}

HPALETTE CDib::CreatePalette() const
{
    if (bits == 0 || bits > 8)
        return nullptr;
    int32_t entries = 1 << bits;
    std::vector<uint8_t> table(size_t(entries) * 4);
    CopyColorTable(table.data());
    std::vector<uint8_t> memory(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * size_t(entries));
    auto* palette = reinterpret_cast<LOGPALETTE*>(memory.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = WORD(entries);
    for (int32_t i = 0; i < entries; ++i)
        palette->palPalEntry[i] = {table[4 * i + 2], table[4 * i + 1], table[4 * i], 0};
    return ::CreatePalette(palette);
}

void CDib::MirrorRows()
{
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width / 2; ++x) {
            uint32_t left = PixelAt(x, y);
            SetPixelAt(x, y, PixelAt(width - 1 - x, y));
            SetPixelAt(width - 1 - x, y, left);
        }
    }
}

void CDib::FlipVertical()
{
    uint8_t* block = Lock();
    if (block == nullptr)
        return;
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block);
    uint8_t* rows = block + header->biSize + TableBytes(*header);
    size_t bytes = size_t(RowBytes());
    std::vector<uint8_t> swap(bytes);
    for (int32_t y = 0; y < height / 2; ++y) {
        uint8_t* a = rows + y * bytes;
        uint8_t* b = rows + (height - 1 - y) * bytes;
        std::memcpy(swap.data(), a, bytes);
        std::memcpy(a, b, bytes);
        std::memcpy(b, swap.data(), bytes);
    }
    Unlock();
}

bool CDib::Rotate(int32_t degrees)
{
    if (degrees == 0 || degrees == 360)
        return true;
    if (degrees == 180) {
        MirrorRows();
        FlipVertical();
        return true;
    }
    if ((degrees != 90 && degrees != 270) || global == nullptr)
        return false;
    CDib turned;
    if (!turned.Create(height, width, bits))
        return false;
    std::vector<uint8_t> table(1024);
    int32_t tableBytes = CopyColorTable(table.data());
    uint8_t* block = turned.Lock();
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block);
    std::memcpy(block + header->biSize, table.data(), size_t(tableBytes));
    turned.Unlock();
    // 90: new row r is source column width - 1 - r; 270: new column c is
    // source row height - 1 - c.
    for (int32_t y = 0; y < turned.height; ++y) {
        for (int32_t x = 0; x < turned.width; ++x) {
            uint32_t value = degrees == 90 ? PixelAt(width - 1 - y, x) : PixelAt(y, height - 1 - x);
            turned.SetPixelAt(x, y, value);
        }
    }
    Release();
    global = turned.global;
    width = turned.width;
    height = turned.height;
    bits = turned.bits;
    turned.global = nullptr;
    return true;
}

CDib* CDib::Duplicate() const
{
    if (global == nullptr)
        return nullptr;
    SIZE_T size = GlobalSize(global);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    void* to = copy ? GlobalLock(copy) : nullptr;
    if (to == nullptr) {
        if (copy != nullptr)
            GlobalFree(copy);
        return nullptr;
    }
    std::memcpy(to, Lock(), size);
    Unlock();
    GlobalUnlock(copy);
    CDib* dib = new CDib;
    if (!dib->SetGlobal(copy)) {
        delete dib;
        return nullptr;
    }
    return dib;
}

CDib* CDib::MakeUnique()
{
    if (uses <= 1)
        return this;
    CDib* copy = Duplicate();
    if (copy != nullptr)
        --uses;
    return copy;
}

void CDib::Draw(HDC dc, const RECT& box) const
{
    uint8_t* block = Lock();
    if (block == nullptr)
        return;
    auto* info = reinterpret_cast<BITMAPINFO*>(block);
    int previous = SetStretchBltMode(dc, COLORONCOLOR);
    const uint8_t* rows = block + info->bmiHeader.biSize + TableBytes(info->bmiHeader);
    StretchDIBits(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, 0, 0, width,
                  height, rows, info, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, previous);
    Unlock();
}
