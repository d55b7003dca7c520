#pragma once
// A packed device-independent bitmap in global memory: the 40-byte header,
// the colour table and the rows, bottom-up. Pictures decoded here are
// always 32-bit rows (blue, green, red, 0) without a colour table.
#include <windows.h>

#include <cstdint>

struct DecodedPicture;

class CDib {
public:
    CDib();
    virtual ~CDib();
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // Takes the handle; false (and zeros) when it cannot be locked.
    bool SetGlobal(HGLOBAL handle);
    bool SetPicture(const DecodedPicture& picture);
    // The whole picture stretched into box (COLORONCOLOR, SRCCOPY).
    void Draw(HDC dc, const RECT& box) const;

    int32_t Width() const { return width; }
    int32_t Height() const { return height; }
    int32_t BitsPerPixel() const { return bits; }
    HGLOBAL Handle() const { return global; }
    // The pixel at (x, y) from the top, for 32-bit pictures.
    uint32_t PixelAt(int32_t x, int32_t y) const;

private:
    void Release();

    HGLOBAL global;
    int32_t width;
    int32_t height;
    int32_t bits;
};

// The packed size of a bitmap: header, colour table and rows.
int64_t PackedDibSize(int32_t width, int32_t height, int32_t bits, uint32_t compression);
