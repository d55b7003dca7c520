#pragma once
// What one pixel of a dab does to the canvas: the colour transfers mix the
// paint colour in, the pixel-type transfers say what kind of paint the pixel
// now holds, the height transfers raise, carve or level its paint. Colour and
// type act only where the opacity is not 0; the height transfers take the
// amount h = BlendTable[opacity][depth], which is 0 there.
#include <algorithm>
#include <cstdint>

#include "brushes/buildup_table.h"
#include "canvas/blend.h"
#include "canvas/component_pixel.h"

struct KVXCoverTransfer {
    static void Apply(KVXComponentPixel& p, const uint8_t* c, uint8_t o) { BlendRgb(&p.blue, c, o); }
};

struct KVXBuildupTransfer {
    static uint8_t Channel(uint8_t value, uint8_t paint, uint8_t o)
    {
        return uint8_t((uint32_t(value) * (uint32_t(BuildupTable[paint][o]) + 1)) >> 16);
    }
    static void Apply(KVXComponentPixel& p, const uint8_t* c, uint8_t o)
    {
        p.blue = Channel(p.blue, c[0], o);
        p.green = Channel(p.green, c[1], o);
        p.red = Channel(p.red, c[2], o);
    }
};

struct KVXNULLTransfer {
    static void Apply(KVXComponentPixel&, const uint8_t*, uint8_t) {}
};

struct KVXToGreyScaleTransfer {
    static void Apply(KVXComponentPixel& p, const uint8_t*, uint8_t o)
    {
        uint8_t g = uint8_t((p.blue + p.green + p.red) / 3);
        uint8_t grey[3] = {g, g, g};
        BlendRgb(&p.blue, grey, o);
    }
};

struct KVXColorCycleColorTransfer {
    static void Apply(KVXComponentPixel& p, const uint8_t* c, uint8_t)
    {
        p.blue = c[0];
        p.green = c[1];
        p.red = c[2];
        p.type = c[3];
    }
};

template <uint8_t kType>
struct KVXPixelTypeTransfer {
    static constexpr uint8_t kValue = kType;
    static void Apply(KVXComponentPixel& p) { p.type = kType; }
};
struct KVXPlainPixelTransfer : KVXPixelTypeTransfer<kPixelPlain> {};
struct KVXDrippyPixelTypeTransfer : KVXPixelTypeTransfer<kPixelDrippy> {};
struct KVXInvisibleInkPixelTypeTransfer : KVXPixelTypeTransfer<kPixelInvisibleInk> {};
struct KVXRevealInvisibleInkPixelTypeTransfer : KVXPixelTypeTransfer<kPixelRevealedInk> {};
struct KVXImageRollerPixelTypeTransfer : KVXPixelTypeTransfer<kPixelRollerPaint> {};
struct KVXColorCycleColorPixelTypeTransfer : KVXPixelTypeTransfer<kPixelColorCycle> {};

// Height transfers take the pixel's height and the amount h, and give the
// new height.
struct KVXHeightTransfer {
    static constexpr bool kChangesHeight = true;
    static uint16_t Apply(uint16_t height, uint8_t h)
    {
        return uint16_t(std::min<uint32_t>(65535u, uint32_t(height) + h));
    }
};

struct KVXHeightCarve {
    static constexpr bool kChangesHeight = true;
    static uint16_t Apply(uint16_t height, uint8_t h) { return h < height ? uint16_t(height - h) : 0; }
};

// Pulls the height a fraction of the way back to the blank height, never
// past it. The doubled amount is kept to 8 bits on purpose: the eraser
// depths stay below 128, where doubling does not wrap.
struct KVXHeightEraser {
    static constexpr bool kChangesHeight = true;
    static uint16_t Apply(uint16_t height, uint8_t h)
    {
        uint8_t a = uint8_t(2 * h);
        if (a == 0)
            return height;
        int32_t e = int32_t(height) - int32_t(kBlankHeight);
        double k = a * 0.00392156862745098;
        if (e >= 0)
            return uint16_t(height - int32_t(k * e));
        return uint16_t(height + int32_t(-(k * e)));
    }
};

struct KVXNULLHeightTransfer {
    static constexpr bool kChangesHeight = false;
    static uint16_t Apply(uint16_t height, uint8_t) { return height; }
};
