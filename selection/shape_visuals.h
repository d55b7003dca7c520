#pragma once
// Rubber bands: inverting outlines shown over the canvas while a line,
// curve, shape or rope is dragged. The anchor is the visual's position.
#include <cstdint>

#include "media/visual.h"
#include "selection/curve_path.h"

// The box from anchor to end point, squared (the side is the larger of the
// two signed differences, taken as a magnitude) when asked, normalised.
Box RubberBandBox(const Pair& anchor, const Pair& end, bool squared);

class KVXShapeVisual : public MMPointBasedVisual {
public:
    KVXShapeVisual(MMVisual* target, int32_t x, int32_t y, int16_t layer);

    void TrackPoint(int32_t x, int32_t y);
    Box GetBounds() const override;
    void Draw(MMSurface* surface) override;
    bool ContainsPoint(int32_t, int32_t) override { return false; }

    // Set by the drawing interpreter: while it is not 0 only Shift squares.
    void SetConstrain(uint8_t value) { constrain = value; }
    Pair EndPoint() const { return end; }
    Pair Anchor() const { return {x, y}; }

protected:
    // The shape's own outline, drawn while the raster mode inverts.
    virtual void DrawOutline(MMSurface* surface);
    Box SquaredBounds() const;

    Pair end;
    MMVisual* target;
    uint8_t constrain = 0;
};

class KVXLineShapeVisual : public KVXShapeVisual {
public:
    using KVXShapeVisual::KVXShapeVisual;
    Box GetBounds() const override;

protected:
    void DrawOutline(MMSurface* surface) override;
};

class KVXCurveLineShapeVisual : public KVXLineShapeVisual {
public:
    static constexpr int32_t kMostPoints = 50;
    KVXCurveLineShapeVisual(MMVisual* target, int32_t x, int32_t y, int16_t layer);

    void StartBend();
    void SetControlPoint(int32_t x, int32_t y);
    Box GetBounds() const override;
    int16_t PointCount() const { return count; }
    const Pair* Points() const { return points; }

protected:
    void DrawOutline(MMSurface* surface) override;

private:
    int32_t mode = 0;
    Pair control;
    int16_t count = 0;
    Pair points[kMostPoints];
    CurvePath path;
};

class KVXEllipticalShapeVisual : public KVXShapeVisual {
public:
    using KVXShapeVisual::KVXShapeVisual;

protected:
    void DrawOutline(MMSurface* surface) override;
};

class KVXEllipticalCenterShapeVisual : public KVXEllipticalShapeVisual {
public:
    using KVXEllipticalShapeVisual::KVXEllipticalShapeVisual;
    Box GetBounds() const override;
};

class KVXRectangularShapeVisual : public KVXShapeVisual {
public:
    using KVXShapeVisual::KVXShapeVisual;

protected:
    void DrawOutline(MMSurface* surface) override;
};

class KVXTriangularShapeVisual : public KVXShapeVisual {
public:
    using KVXShapeVisual::KVXShapeVisual;

protected:
    void DrawOutline(MMSurface* surface) override;
};

class KVXPolyLineShapeVisual : public KVXShapeVisual {
public:
    static constexpr int16_t kMostPoints = 512;
    using KVXShapeVisual::KVXShapeVisual;

    // False once 512 points are held.
    bool AddPoint(int32_t x, int32_t y);
    Box GetBounds() const override;
    int16_t PointCount() const { return count; }

protected:
    void DrawOutline(MMSurface* surface) override;

private:
    int16_t count = 0;
    Pair points[kMostPoints];
};
