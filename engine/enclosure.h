#pragma once
// Enclosures keep visuals in layer order and give them a surface and a
// coordinate space: the top enclosure is the stage's offscreen surface; a
// child enclosure is shown inside its parent through an enclosure visual.
#include <vector>

#include "framework/geometry.h"

class MMStage;
class MMSurface;
class MMVisual;
class MMRectangleList;

class MMEnclosure {
public:
    MMEnclosure() = default;
    virtual ~MMEnclosure();
    MMEnclosure(const MMEnclosure&) = delete;
    MMEnclosure& operator=(const MMEnclosure&) = delete;

    virtual void SetSurface(MMSurface* surface);                  // 1
    virtual void Redraw(const MMRectangleList& list);             // 2
    virtual bool IsInside(const MMEnclosure* enclosure) const = 0; // 3
    virtual MMVisual* FindVisualAt(const Pair& point);            // 4
    virtual void ListFromStage(MMRectangleList& list) const {}    // 5
    virtual void BoxFromStage(Box& box) const {}                  // 6
    virtual void PointFromStage(Pair& point) const {}             // 7
    virtual void ListToStage(MMRectangleList& list) const {}      // 8
    virtual void BoxToStage(Box& box) const {}                    // 9
    virtual void PointToStage(Pair& point) const {}               // 10
    virtual Box GetBounds() const = 0;                            // 11
    virtual void Invalidate(const Box& box) = 0;                  // 12
    virtual void InvalidateList(const MMRectangleList& list) = 0; // 13

    void AddVisual(MMVisual* visual);
    void RemoveVisual(MMVisual* visual);
    // Stable re-sort by signed 16-bit layer (visuals call it when their layer changes).
    void SortVisuals();
    MMSurface* Surface() const { return surface_; }
    const std::vector<MMVisual*>& Visuals() const { return visuals_; }

protected:
    MMSurface* surface_ = nullptr;
    std::vector<MMVisual*> visuals_;
};

class MMTopEnclosure : public MMEnclosure {
public:
    explicit MMTopEnclosure(MMStage* stage) : stage_(stage) {}

    void SetSurface(MMSurface* surface) override;
    bool IsInside(const MMEnclosure* enclosure) const override { return false; }
    Box GetBounds() const override;
    void Invalidate(const Box& box) override;
    void InvalidateList(const MMRectangleList& list) override;

    MMStage* Stage() const { return stage_; }

private:
    MMStage* stage_;
};

class MMChildEnclosure : public MMEnclosure {
public:
    MMChildEnclosure() = default;
    MMChildEnclosure(int32_t x, int32_t y) : origin_{x, y} {}

    void Redraw(const MMRectangleList& list) override;
    bool IsInside(const MMEnclosure* enclosure) const override;
    MMVisual* FindVisualAt(const Pair& point) override;
    void ListFromStage(MMRectangleList& list) const override;
    void BoxFromStage(Box& box) const override;
    void PointFromStage(Pair& point) const override;
    void ListToStage(MMRectangleList& list) const override;
    void BoxToStage(Box& box) const override;
    void PointToStage(Pair& point) const override;
    Box GetBounds() const override;
    void Invalidate(const Box& box) override;
    void InvalidateList(const MMRectangleList& list) override;

    // The enclosure visual that shows this enclosure in its parent.
    void SetVisual(MMVisual* visual) { visual_ = visual; }
    MMVisual* Visual() const { return visual_; }
    const Pair& Origin() const { return origin_; }
    void SetOrigin(const Pair& origin) { origin_ = origin; }
    // The enclosure of the enclosure visual; null while it is in none.
    MMEnclosure* Parent() const;

private:
    Pair origin_ = {0, 0};
    MMVisual* visual_ = nullptr;
};
