#pragma once
// The canvas pixel: colour, pixel type, paint height and the height of the
// shadow that falls onto it.
#include <cstdint>
#include <cstring>

// Pixel types: what a pixel is and how the draw methods show it.
enum KVXPixelType : uint8_t {
    kPixelPlain = 0,
    kPixelLocked = 1,        // hidden ink: brushes, shapes and pictures leave it alone
    kPixelInvisibleInk = 10, // counts down to 1 as it fades
    kPixelRevealedInk = 20,
    kPixelRollerPaint = 25,  // counts down to 21 as it fades in
    kPixelDrippy = 26,
    kPixelColorCycle = 127,
};

struct KVXComponentPixel {
    uint8_t blue;
    uint8_t green;
    uint8_t red;
    uint8_t type;
    uint16_t height;
    uint16_t shadow;

    // Bytes 0 to 3 as one little-endian word: blue low, type high.
    uint32_t ColorWord() const
    {
        uint32_t word;
        std::memcpy(&word, this, sizeof word);
        return word;
    }
    void SetColorWord(uint32_t word) { std::memcpy(this, &word, sizeof word); }
    bool IsLocked() const { return type == kPixelLocked; }
};
static_assert(sizeof(KVXComponentPixel) == 8, "a canvas pixel is 8 bytes");

constexpr uint16_t kBlankHeight = 3072;
constexpr KVXComponentPixel kBlankPixel = {255, 255, 255, kPixelPlain, kBlankHeight, 0};

// A cell of the gloppy paint field: two running sums.
struct Density {
    float a;
    float b;
};
static_assert(sizeof(Density) == 8, "a density cell is 8 bytes");
