#pragma once
// Fonts: every text the engine measures or draws goes through a font that is
// selected into one surface for the length of one text sequence.
#include <windows.h>
#include <cstdint>
#include "framework/geometry.h"
#include "media/color.h"

class MMSurface;

class MMFont {
public:
    virtual ~MMFont() = default;
    virtual void Select(MMSurface* surface) = 0;                                   // 1
    virtual void Deselect() = 0;                                                   // 2
    virtual int32_t GetCapHeight() = 0;                                            // 3
    virtual int32_t GetAscent() = 0;                                               // 4
    virtual int32_t GetDescent() = 0;                                              // 5
    virtual int32_t GetLineHeight() = 0;                                           // 6
    // A length of 0 means up to the terminator.
    virtual int32_t GetTextWidth(const char* text, int32_t length) = 0;            // 7
    // Writes length + 1 running sums of the character widths, from 0.
    virtual void GetCharOffsets(int16_t* offsets, const char* text, int32_t length) = 0;  // 8
    // How far the character's ink reaches out of its cell on that side.
    virtual int32_t GetLeftOverhang(const char* character) = 0;                    // 9
    virtual int32_t GetRightOverhang(const char* character) = 0;                   // 10
    virtual void MovePen(int32_t x, int32_t y) = 0;                                // 11
    virtual Pair GetPenPosition() = 0;                                             // 12
    // Draws at the pen, on the baseline; the pen moves behind the text.
    virtual void DrawText(MMColor color, const char* text, int32_t length) = 0;    // 13
};

// One GDI font; its metrics are read on the first surface it is selected into.
class MMSystemFont : public MMFont {
public:
    // height is the character height in pixels (not the cell height); face
    // names longer than 31 characters are cut.
    MMSystemFont(const char* faceName, int32_t height, int32_t weight, bool italic,
                 bool underline);
    ~MMSystemFont() override;
    MMSystemFont(const MMSystemFont&) = delete;
    MMSystemFont& operator=(const MMSystemFont&) = delete;

    void Select(MMSurface* surface) override;
    void Deselect() override;
    int32_t GetCapHeight() override { return capHeight; }
    int32_t GetAscent() override { return ascent; }
    int32_t GetDescent() override { return descent; }
    int32_t GetLineHeight() override { return lineHeight; }
    int32_t GetTextWidth(const char* text, int32_t length) override;
    void GetCharOffsets(int16_t* offsets, const char* text, int32_t length) override;
    int32_t GetLeftOverhang(const char* character) override;
    int32_t GetRightOverhang(const char* character) override;
    void MovePen(int32_t x, int32_t y) override;
    Pair GetPenPosition() override;
    void DrawText(MMColor color, const char* text, int32_t length) override;

    HFONT Handle() const { return font; }
    MMSurface* Surface() const { return surface; }

protected:
    HDC DC() const;
    bool GetCharABC(const char* character, ABC& widths);

    MMSurface* surface = nullptr;
    bool metricsValid = false;
    int32_t capHeight = 0;
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t lineHeight = 0;
    HFONT font = nullptr;
};
