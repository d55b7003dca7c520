#pragma once
// Wet paint that runs down the canvas: on every tick drippy pixels (type 26)
// move one row down, mixing colours and giving height away, until they have
// run out of height over their floor (the height each pixel had when the
// method was attached) and become ordinary paint.
#include <memory>

#include "canvas/draw_method.h"

// What every drippy kind shares: the drip box (where paint may move), the
// render that feeds it and the tick that runs the flow.
template <class Base>
class KVXDrippyMethod : public Base {
public:
    explicit KVXDrippyMethod(int32_t argument) : argument(argument) {}

    void Render(KVXPlaneComponent& view, const MMBitmap& target, bool zoomed) override
    {
        dripBox.Union(view.DirtyBox());
        Base::Render(view, target, zoomed);
    }
    void Tick(KVXPlaneComponent& plane) override
    {
        Flow(plane);
        plane.AddDirtyRect(dripBox);
        dripBox = Box{0, 0, 0, 0};
    }
    const Box& DripBox() const { return dripBox; }

protected:
    // Moves the paint of the drip box one row down and leaves in the drip
    // box what moved.
    void Flow(KVXPlaneComponent& plane);
    // One upper and lower pixel of the flow; x and y are the lower one's.
    virtual void FlowPixel(KVXPlaneComponent& plane, KVXComponentPixel& upper,
                           KVXComponentPixel& lower, int32_t x, int32_t y) = 0;
    // The margin the drip box takes after a flow: right and bottom always,
    // left and top too where paint may spread sideways into shadows.
    virtual bool GrowsUpLeft() const { return true; }
    void Moved(int32_t x, int32_t y) { dripBox.Union({x, y, x + 1, y + 1}); }

    Box dripBox = {0, 0, 0, 0};
    int32_t argument;
    WorkSurface* work = nullptr;
};

class KVXDrawMethodDrippyPlain : public KVXDrippyMethod<KVXDrawMethodPlain> {
public:
    using KVXDrippyMethod::KVXDrippyMethod;
    void Attach(WorkSurface* workSurface, KVXPlaneComponent& plane) override;
    void Detach(KVXPlaneComponent& plane) override;
    int32_t Kind() const override { return kDrawDrippyPlain; }

protected:
    void FlowPixel(KVXPlaneComponent& plane, KVXComponentPixel& upper, KVXComponentPixel& lower,
                   int32_t x, int32_t y) override;
    bool GrowsUpLeft() const override { return false; }
};

class KVXDrawMethodDrippyAddHeight : public KVXDrippyMethod<KVXDrawMethodRemoveHeight> {
public:
    using KVXDrippyMethod::KVXDrippyMethod;
    void Attach(WorkSurface* workSurface, KVXPlaneComponent& plane) override;
    void Detach(KVXPlaneComponent& plane) override;
    int32_t Kind() const override { return kDrawDrippyAddHeight; }

protected:
    void FlowPixel(KVXPlaneComponent& plane, KVXComponentPixel& upper, KVXComponentPixel& lower,
                   int32_t x, int32_t y) override;

private:
    std::unique_ptr<KVXPlaneHeightTop> floors;
};

class KVXDrawMethodDrippyRemoveHeight : public KVXDrippyMethod<KVXDrawMethodAddHeight> {
public:
    using KVXDrippyMethod::KVXDrippyMethod;
    void Attach(WorkSurface* workSurface, KVXPlaneComponent& plane) override;
    void Detach(KVXPlaneComponent& plane) override;
    int32_t Kind() const override { return kDrawDrippyRemoveHeight; }

protected:
    void FlowPixel(KVXPlaneComponent& plane, KVXComponentPixel& upper, KVXComponentPixel& lower,
                   int32_t x, int32_t y) override;
};

class KVXDrawMethodDrippyWater : public KVXDrippyMethod<KVXDrawMethodAddHeight> {
public:
    using KVXDrippyMethod::KVXDrippyMethod;
    void Attach(WorkSurface* workSurface, KVXPlaneComponent& plane) override;
    void Detach(KVXPlaneComponent& plane) override;
    int32_t Kind() const override { return kDrawDrippyWater; }

protected:
    void FlowPixel(KVXPlaneComponent& plane, KVXComponentPixel& upper, KVXComponentPixel& lower,
                   int32_t x, int32_t y) override;
};
