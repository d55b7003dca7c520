#include "media/visual.h"

#include "engine/enclosure.h"
#include "media/rectangle_list.h"
#include "media/surface.h"

MMVisual::~MMVisual() = default;

void MMVisual::RedrawRegion(MMSurface* surface, const MMRectangleList& region)
{
    Box bounds = GetBounds();
    if (bounds.IsEmpty()) {
        return;
    }
    for (const Box& dirty : region) {
        if (!bounds.Overlaps(dirty)) {
            continue;
        }
        Box saved = surface->GetClipBox();
        Box clip = dirty;
        clip.Intersect(bounds);
        clip.Intersect(saved);
        surface->SetClipBox(clip);
        Draw(surface);
        surface->SetClipBox(saved);
    }
}

Box MMVisual::GetOpaqueBox() const
{
    return {0, 0, 0, 0};
}

void MMVisual::Invalidate()
{
    if (enclosure != nullptr && !hidden) {
        enclosure->Invalidate(GetBounds());
    }
}

bool MMVisual::ContainsPoint(int32_t x, int32_t y)
{
    return GetOpaqueBox().Contains(Pair{x, y});
}

MMVisual* MMVisual::FindVisualAt(int32_t x, int32_t y)
{
    return ContainsPoint(x, y) ? this : nullptr;
}

MMMouseInterpreter* MMVisual::GetMouseInterpreter() const
{
    return interpreter;
}

void MMVisual::SetEnclosure(MMEnclosure* newEnclosure)
{
    Invalidate();
    enclosure = newEnclosure;
    Invalidate();
}

void MMVisual::SetLayer(int16_t newLayer)
{
    if (newLayer == layer) {
        return;
    }
    layer = newLayer;
    if (enclosure != nullptr) {
        enclosure->SortVisuals();
        Invalidate();
    }
}

void MMVisual::SetHidden(bool flag)
{
    if ((hidden != 0) == flag) {
        return;
    }
    Invalidate();
    hidden = flag ? 1 : 0;
    Invalidate();
}

void MMPointBasedVisual::SetPosition(int32_t newX, int32_t newY)
{
    if (newX == x && newY == y) {
        return;
    }
    Invalidate();
    x = newX;
    y = newY;
    Invalidate();
}

Pair MMPointBasedVisual::GetPosition() const
{
    return {x, y};
}

Box MMBoxBasedVisual::GetBounds() const
{
    return box;
}

void MMBoxBasedVisual::SetPosition(int32_t x, int32_t y)
{
    if (x == box.left && y == box.top) {
        return;
    }
    Invalidate();
    box.Offset({x - box.left, y - box.top});
    Invalidate();
}

Pair MMBoxBasedVisual::GetPosition() const
{
    return {box.left, box.top};
}

void MMBoxBasedVisual::SetBox(const Box& newBox)
{
    if (newBox == box) {
        return;
    }
    Invalidate();
    box = newBox;
    Invalidate();
}

void MMBoxBasedVisual::CenterAt(int32_t x, int32_t y)
{
    Pair half = {box.Width() / 2, box.Height() / 2};
    SetPosition(x - half.x, y - half.y);
}

Box MMOpaqueBoxVisual::GetOpaqueBox() const
{
    return box;
}

MMSolidBoxVisual::MMSolidBoxVisual(MMColor color, int16_t layer) : color(color)
{
    SetLayer(layer);
}

MMSolidBoxVisual::MMSolidBoxVisual(const Box& box, MMColor color, int16_t layer)
    : MMOpaqueBoxVisual(box), color(color)
{
    SetLayer(layer);
}

void MMSolidBoxVisual::Draw(MMSurface* surface)
{
    surface->FillBox(box, color);
}

MMBoxVisual::MMBoxVisual(const Box& box, int16_t layer) : MMBoxBasedVisual(box)
{
    SetLayer(layer);
}

bool MMBoxVisual::ContainsPoint(int32_t x, int32_t y)
{
    return box.Contains(Pair{x, y});
}

void MMBoxVisual::Invalidate() {}

void MMBoxVisual::Draw(MMSurface*) {}

MMCellArrayVisual::MMCellArrayVisual(MMColor background, MMColor selection, int16_t layer)
    : background(background), selection(selection)
{
    box = {0, 0, 1, 1};
    SetLayer(layer);
}

MMCellArrayVisual::MMCellArrayVisual(const Box& box, MMColor background, MMColor selection,
                                     int16_t layer)
    : MMOpaqueBoxVisual(box), cellWidth(box.Width()), cellHeight(box.Height()),
      background(background), selection(selection)
{
    SetLayer(layer);
}

MMCellArrayVisual::MMCellArrayVisual(const Box& box, int32_t cellWidth, int32_t cellHeight,
                                     MMColor background, MMColor selection, int16_t layer)
    : MMOpaqueBoxVisual(box), cellWidth(cellWidth), cellHeight(cellHeight),
      background(background), selection(selection)
{
    ComputeCounts();
    SetLayer(layer);
}

MMCellArrayVisual::MMCellArrayVisual(int32_t x, int32_t y, int32_t columns, int32_t rows,
                                     int32_t cellWidth, int32_t cellHeight, MMColor background,
                                     MMColor selection, int16_t layer)
    : MMOpaqueBoxVisual({x, y, x + columns * cellWidth, y + rows * cellHeight}),
      columns(columns), rows(rows), cellWidth(cellWidth), cellHeight(cellHeight),
      background(background), selection(selection)
{
    SetLayer(layer);
}

void MMCellArrayVisual::ComputeCounts()
{
    if (cellWidth <= 0 || cellHeight <= 0) {
        columns = 0;
        rows = 0;
        return;
    }
    columns = (box.right + cellWidth - box.left - 1) / cellWidth;
    rows = (box.bottom + cellHeight - box.top - 1) / cellHeight;
}

Box MMCellArrayVisual::CellBox(int32_t column, int32_t row) const
{
    int32_t left = box.left + column * cellWidth;
    int32_t top = box.top + row * cellHeight;
    return {left, top, left + cellWidth, top + cellHeight};
}

Pair MMCellArrayVisual::CellAt(int32_t x, int32_t y) const
{
    if (cellWidth <= 0 || cellHeight <= 0) {
        return {-1, -1};
    }
    return {(x - box.left) / cellWidth, (y - box.top) / cellHeight};
}

void MMCellArrayVisual::Draw(MMSurface* surface)
{
    if (background.index >= -1) {
        surface->FillBox(box, background);
    }
    const Box& clip = surface->GetClipBox();
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < columns; ++c) {
            Box cell = CellBox(c, r);
            if (!cell.Overlaps(clip)) {
                continue;
            }
            bool selected = c == selectedColumn && r == selectedRow;
            if (selected && selection.index >= -1) {
                surface->FillBox(cell, selection);
            }
            DrawCell(surface, {c, r}, cell, selected);
        }
    }
}

void MMCellArrayVisual::SetBox(const Box& newBox)
{
    MMOpaqueBoxVisual::SetBox(newBox);
    ComputeCounts();
}

void MMCellArrayVisual::SetCellSize(int32_t width, int32_t height)
{
    cellWidth = width;
    cellHeight = height;
    ComputeCounts();
    Invalidate();
}

void MMCellArrayVisual::InvalidateCell(int32_t column, int32_t row)
{
    if (enclosure != nullptr && column >= 0) {
        enclosure->Invalidate(CellBox(column, row));
    }
}

void MMCellArrayVisual::SetSelectedCell(int32_t column, int32_t row)
{
    if (column == selectedColumn && row == selectedRow) {
        return;
    }
    InvalidateCell(selectedColumn, selectedRow);
    selectedColumn = column;
    selectedRow = row;
    InvalidateCell(selectedColumn, selectedRow);
}
