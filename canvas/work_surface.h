#pragma once
// The canvas's second buffer: a 32-bit offscreen surface as large as the
// canvas, addressed in canvas coordinates, lent to one user at a time (the
// draw method attached, a shape being drawn), which sets the busy byte.
#include <cstdint>

#include "canvas/plane.h"
#include "framework/geometry.h"

class MMSurface;

struct WorkSurface {
    WorkSurface() = default;
    explicit WorkSurface(const Box& box) : box(box) {}
    ~WorkSurface();
    WorkSurface(const WorkSurface&) = delete;
    WorkSurface& operator=(const WorkSurface&) = delete;

    // Makes the surface when there is none; false when it cannot be made.
    bool EnsureSurface();
    // The pixel memory seen as elements of T in canvas coordinates: a row
    // holds 4 / sizeof(T) times as many elements as the surface has pixels.
    template <class T>
    KVXBitmap<T> PlaneOf() const
    {
        KVXBitmap<T> view;
        uint8_t* origin = nullptr;
        int32_t pitchBytes = 0;
        if (!Memory(origin, pitchBytes))
            return view;
        view.width = box.Width() * 4 / int32_t(sizeof(T));
        view.height = box.Height();
        view.pitch = pitchBytes / int32_t(sizeof(T));
        view.bits = reinterpret_cast<T*>(origin);
        return view;
    }

    MMSurface* surface = nullptr;
    uint8_t busy = 0;
    Box box = {0, 0, 0, 0};

private:
    bool Memory(uint8_t*& origin, int32_t& pitchBytes) const;
};
