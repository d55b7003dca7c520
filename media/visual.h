#pragma once
// Visuals: what an enclosure draws into the stage's offscreen surface, in
// layer order (higher on top), and asks from the top down for hits.
#include <cstdint>
#include "framework/color_table.h"
#include "media/color.h"
#include "framework/geometry.h"

class MMEnclosure;
class MMMouseInterpreter;
class MMRectangleList;
class MMSurface;

class MMVisual {
public:
    MMVisual() = default;
    // Does not leave the enclosure: the owner removes the visual first.
    virtual ~MMVisual();

    // Draws once per region box that meets the bounds, clipped to that box.
    virtual void RedrawRegion(MMSurface* surface, const MMRectangleList& region);
    virtual Box GetBounds() const = 0;
    virtual Box GetOpaqueBox() const;
    virtual void Invalidate();
    virtual void SetPosition(int32_t x, int32_t y) = 0;
    virtual Pair GetPosition() const = 0;
    virtual bool ContainsPoint(int32_t x, int32_t y);
    virtual MMVisual* FindVisualAt(int32_t x, int32_t y);
    virtual MMMouseInterpreter* GetMouseInterpreter() const;
    virtual void SetEnclosure(MMEnclosure* newEnclosure);
    virtual void SetLayer(int16_t newLayer);
    virtual void SetHidden(bool flag);
    // Draws into the surface, which is already clipped.
    virtual void Draw(MMSurface* surface) = 0;

    int16_t Layer() const { return layer; }
    bool IsHidden() const { return hidden != 0; }
    MMEnclosure* Enclosure() const { return enclosure; }
    void SetMouseInterpreter(MMMouseInterpreter* value) { interpreter = value; }

protected:
    MMMouseInterpreter* interpreter = nullptr;
    MMEnclosure* enclosure = nullptr;
    int16_t layer = 0;
    uint8_t hidden = 0;
};

class MMPointBasedVisual : public MMVisual {
public:
    MMPointBasedVisual() = default;
    MMPointBasedVisual(int32_t x, int32_t y) : x(x), y(y) {}

    void SetPosition(int32_t newX, int32_t newY) override;
    Pair GetPosition() const override;

protected:
    int32_t x = 0;
    int32_t y = 0;
};

class MMBoxBasedVisual : public MMVisual {
public:
    MMBoxBasedVisual() = default;
    explicit MMBoxBasedVisual(const Box& box) : box(box) {}

    Box GetBounds() const override;
    void SetPosition(int32_t x, int32_t y) override;
    Pair GetPosition() const override;
    virtual void SetBox(const Box& newBox);
    virtual void CenterAt(int32_t x, int32_t y);

protected:
    Box box = {0, 0, 0, 0};
};

// Covers its whole box: hit anywhere inside, hides what lies below.
class MMOpaqueBoxVisual : public MMBoxBasedVisual {
public:
    MMOpaqueBoxVisual() = default;
    explicit MMOpaqueBoxVisual(const Box& box) : MMBoxBasedVisual(box) {}

    Box GetOpaqueBox() const override;
};

class MMSolidBoxVisual : public MMOpaqueBoxVisual {
public:
    MMSolidBoxVisual(MMColor color, int16_t layer);
    MMSolidBoxVisual(const Box& box, MMColor color, int16_t layer);

    void Draw(MMSurface* surface) override;
    MMColor Color() const { return color; }

private:
    MMColor color;
};

// The invisible box a molecule or scene places over its area to take the
// pointer for its interpreter: draws and marks nothing.
class MMBoxVisual : public MMBoxBasedVisual {
public:
    MMBoxVisual(const Box& box, int16_t layer);

    bool ContainsPoint(int32_t x, int32_t y) override;
    void Invalidate() override;
    void Draw(MMSurface* surface) override;
};

class MMCellArrayVisual : public MMOpaqueBoxVisual {
public:
    MMCellArrayVisual(MMColor background, MMColor selection, int16_t layer);
    MMCellArrayVisual(const Box& box, MMColor background, MMColor selection, int16_t layer);
    MMCellArrayVisual(const Box& box, int32_t cellWidth, int32_t cellHeight, MMColor background,
                      MMColor selection, int16_t layer);
    MMCellArrayVisual(int32_t x, int32_t y, int32_t columns, int32_t rows, int32_t cellWidth,
                      int32_t cellHeight, MMColor background, MMColor selection, int16_t layer);

    void Draw(MMSurface* surface) override;
    void SetBox(const Box& newBox) override;
    virtual void SetSelectedCell(int32_t column, int32_t row);
    virtual void DrawCell(MMSurface* surface, const Pair& cell, const Box& cellBox,
                          bool selected) = 0;

    // Cells of no size make an empty grid.
    void SetCellSize(int32_t width, int32_t height);
    // (-1, -1) while the cells have no size.
    Pair CellAt(int32_t x, int32_t y) const;
    Box CellBox(int32_t column, int32_t row) const;
    int32_t Columns() const { return columns; }
    int32_t Rows() const { return rows; }

private:
    void ComputeCounts();
    void InvalidateCell(int32_t column, int32_t row);

    int32_t columns = 1;
    int32_t rows = 1;
    int32_t cellWidth = 1;
    int32_t cellHeight = 1;
    int32_t selectedColumn = -1;
    int32_t selectedRow = -1;
    MMColor background;
    MMColor selection;
};
