#pragma once
// A packed device-independent bitmap in global memory: the 40-byte header,
// the colour table and the rows, bottom-up. Pictures decoded here are
// 32-bit rows (blue, green, red, 0) without a colour table; bitmaps of 1, 4,
// 8, 16 and 24 bits come from elsewhere (the scanner).
#include <windows.h>

#include <cstdint>

struct DecodedPicture;

class CDib {
public:
    CDib();
    virtual ~CDib();
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // Takes the handle; false (and zeros) when it cannot be locked or its
    // header is not one of a plain bitmap that fits the block.
    bool SetGlobal(HGLOBAL handle);
    bool SetPicture(const DecodedPicture& picture);
    // A new blank bitmap (colour table zeroed).
    bool Create(int32_t width, int32_t height, int32_t bits);
    // The whole picture stretched into box (COLORONCOLOR, SRCCOPY).
    void Draw(HDC dc, const RECT& box) const;

    int32_t Width() const { return width; }
    int32_t Height() const { return height; }
    int32_t BitsPerPixel() const { return bits; }
    HGLOBAL Handle() const { return global; }

    // The stored value of pixel (x, y) from the top: an index up to 8 bits,
    // else the pixel's bytes, low first.
    uint32_t PixelAt(int32_t x, int32_t y) const;
    void SetPixelAt(int32_t x, int32_t y, uint32_t value);

    int32_t GetUnpackedRowSize() const;
    // One byte per pixel for 1, 4 and 8 bits, three for 24; false else.
    bool GetUnpackedRow(int32_t y, uint8_t* out) const;
    // Copies the colour table (4 bytes an entry); its byte count.
    int32_t CopyColorTable(uint8_t* out) const;
    HPALETTE CreatePalette() const;
    void MirrorRows();
    void FlipVertical();
    // 0 and 360 change nothing; 180 mirrors and flips; 90 and 270 exchange
    // width and height.
    bool Rotate(int32_t degrees);
    CDib* Duplicate() const;
    // This bitmap when only one user holds it, else a copy for the caller.
    CDib* MakeUnique();
    void AddUse() { ++uses; }

private:
    void Release();
    uint8_t* Lock() const;
    void Unlock() const;
    int64_t RowBytes() const;
    int32_t TableBytes(const BITMAPINFOHEADER& header) const;

    HGLOBAL global;
    int32_t width;
    int32_t height;
    int32_t bits;
    int32_t uses;
};

// The packed size of a bitmap: header, colour table and rows.
int64_t PackedDibSize(int32_t width, int32_t height, int32_t bits, uint32_t compression);
