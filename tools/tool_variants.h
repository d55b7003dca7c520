#pragma once
// Pieces the painting tools share: the line modes that let a tray switch a
// current tool between freehand, straight and curved lines, and the flagged
// brushes that pick the pixel-type and height policies from the tool's
// switches.
#include "brushes/brush_base.h"
#include "brushes/transfers.h"
#include "canvas/canvas_visual.h"
#include "engine/record_table.h"
#include "framework/heap.h"
#include "tools/interpreter_with_brush.h"
#include "tools/shape_interpreter.h"
#include "tools/tool_base.h"

// A 16-bit column of a settings row beyond those the base reads (the
// bristles of the oil and the bundle); 0 where the row has none.
inline int16_t SettingsColumn(MMResourceId table, int32_t row, int32_t offset)
{
    MMRecordTable rows;
    rows.Load(table, kToolRowSize, gDefaultHeap);
    return rows.ShortAt(row, offset);
}

// The metaball's radius of a diameter: diameter / 255 x 100, truncated.
inline int16_t MetaballRadius(int16_t diameter)
{
    return int16_t(int32_t(diameter * (1.0 / 255) * 100));
}

// The watercolour and the gloppy paint: a metaball brush on an iterating
// path, whose radii follow the size type.
class KVXMetaballTool : public KVXToolStd {
public:
    using KVXToolStd::KVXToolStd;
    void SetSizeType(int32_t type) override;
    void MakeBrush() override;
};

// Straight and curved lines show cursor 22 of the application's set.
constexpr int32_t kLineCursor = 22;

template <class Base>
class KVXLineModeTool : public Base {
public:
    using Base::Base;

    // Each does nothing while the tool is not current.
    void UseFreeHandInterpreter()
    {
        if (this->interpreter)
            this->ReplaceInterpreter();
    }
    void UseStraightLineInterpreter()
    {
        if (this->interpreter)
            this->SwapInterpreter(new (gDefaultHeap) KVXStraightLineToolInterpreter(
                this->creationScene, this->Stage(), this->GetCreationCanvas(), this->brush,
                this->AppCursor(kLineCursor)));
    }
    void UseCurvedLineInterpreter()
    {
        if (this->interpreter)
            this->SwapInterpreter(new (gDefaultHeap) KVXCurvedLineToolInterpreter(
                this->creationScene, this->Stage(), this->GetCreationCanvas(), this->brush,
                this->AppCursor(kLineCursor)));
    }

};

// The standard arguments of a tool's pressures, then what the brush needs
// besides (its colour), into the instantiation the switches select.
template <template <class, class, class, class, class> class Brush, class CT, class PT, class CG,
          class OG, class... Extra>
BrushBase* NewRaisingOrCarving(bool raise, const KVXStdBrushArgs& a, Extra... extra)
{
    if (raise)
        return new (gDefaultHeap) Brush<CT, PT, KVXHeightTransfer, CG, OG>(
            a.path, a.ramp, a.opacity, a.heights, a.plane, a.nib, a.texture, extra...);
    return new (gDefaultHeap) Brush<CT, PT, KVXHeightCarve, CG, OG>(
        a.path, a.ramp, a.opacity, a.heights, a.plane, a.nib, a.texture, extra...);
}

template <template <class, class, class, class, class> class Brush, class CT, class CG, class OG,
          class... Extra>
BrushBase* NewDrippyOrPlain(bool drippy, bool raise, const KVXStdBrushArgs& a, Extra... extra)
{
    if (drippy)
        return NewRaisingOrCarving<Brush, CT, KVXDrippyPixelTypeTransfer, CG, OG>(raise, a, extra...);
    return NewRaisingOrCarving<Brush, CT, KVXPlainPixelTransfer, CG, OG>(raise, a, extra...);
}
