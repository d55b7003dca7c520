#pragma once
// The one-pixel outline of a box, in a colour or inverted (XOR) so that it
// shows on any background; drawing an inverted frame twice restores the
// pixels below.
#include <cstdint>

#include "media/color.h"
#include "media/visual.h"

class KVXFrameVisual : public MMBoxBasedVisual {
public:
    struct Parameters {
        Box box;
        MMColor color;
        int16_t layer;
    };

    KVXFrameVisual();
    KVXFrameVisual(const Box& box, int16_t layer);
    explicit KVXFrameVisual(const Parameters& parameters);

    // Only the outline is redrawn: four strips one pixel thick.
    void Invalidate() override;
    void Draw(MMSurface* surface) override;

    bool IsXor() const { return xorStyle; }
    const MMColor& FrameColor() const { return frameColor; }

private:
    bool xorStyle = true;
    MMColor frameColor = {-2, 0, 0, 0, 0};
};
