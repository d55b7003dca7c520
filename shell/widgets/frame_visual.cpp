#include "shell/widgets/frame_visual.h"

#include <windows.h>

#include "engine/enclosure.h"
#include "media/surface.h"

KVXFrameVisual::KVXFrameVisual() = default;

KVXFrameVisual::KVXFrameVisual(const Box& box, int16_t layer) : MMBoxBasedVisual(box)
{
    SetLayer(layer);
}

KVXFrameVisual::KVXFrameVisual(const Parameters& parameters)
    : MMBoxBasedVisual(parameters.box), xorStyle(false), frameColor(parameters.color)
{
    SetLayer(parameters.layer);
}

void KVXFrameVisual::Invalidate()
{
    if (enclosure == nullptr)
        return;
    const Box& b = box;
    enclosure->Invalidate(Box{b.left, b.top, b.left + 1, b.bottom});
    enclosure->Invalidate(Box{b.right - 1, b.top, b.right, b.bottom});
    enclosure->Invalidate(Box{b.left, b.top, b.right, b.top + 1});
    enclosure->Invalidate(Box{b.left, b.bottom - 1, b.right, b.bottom});
}

void KVXFrameVisual::Draw(MMSurface* surface)
{
    if (!xorStyle) {
        surface->FrameBox(GetBounds(), frameColor, 1);
        return;
    }
    HDC dc = surface->GetDC();
    int previous = SetROP2(dc, R2_XORPEN);
    surface->FrameBox(GetBounds(), MMColor{-1, 255, 255, 255, 0}, 1);
    SetROP2(dc, previous);
}
