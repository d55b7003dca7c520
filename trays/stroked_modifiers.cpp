#include "trays/stroked_modifiers.h"

#include <algorithm>
#include <memory>

#include "brushes/brush_dab.h"
#include "brushes/brush_base.h"
#include "canvas/bitmap_ops.h"
#include "canvas/gloppy_draw_methods.h"
#include "canvas/plane.h"
#include "canvas/work_surface.h"
#include "engine/record_table.h"
#include "framework/heap.h"
#include "media/bitmap.h"

namespace {

const int32_t kPreviewSize = 19;

void MarkBlankClear(const MMBitmap& bitmap)
{
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        uint8_t* p = bitmap.PixelAddress(0, y);
        for (int32_t x = 0; x < bitmap.Width(); ++x, p += 4)
            p[3] = (p[0] == kBlankPixel.blue && p[1] == kBlankPixel.green &&
                    p[2] == kBlankPixel.red)
                       ? 255
                       : 0;
    }
}

// Paint that ran off the button's background is not shown: no pixel of the
// preview is more opaque than the background under it.
void ClipToBackground(const MMBitmap& bitmap, MMPictureID background)
{
    std::unique_ptr<MMBitmapWithPixels> shape(
        MMBitmap::CreateWithPixels(bitmap.box, kPixelBGRA, nullptr));
    if (!shape)
        return;
    FillBitmapColor(*shape, 0, 0, 0);
    SetBitmapAlpha(*shape, 255);
    ComposePictureOverBitmap({shape.get(), bitmap.box.left, bitmap.box.top, background});
    for (int32_t y = bitmap.box.top; y < bitmap.box.bottom; ++y) {
        uint8_t* p = bitmap.PixelAddress(bitmap.box.left, y);
        const uint8_t* s = shape->PixelAddress(bitmap.box.left, y);
        for (int32_t x = bitmap.box.left; x < bitmap.box.right; ++x, p += 4, s += 4)
            p[3] = std::max(p[3], s[3]);
    }
}

Pair PointAt(const MMRecordTable& table, int32_t row) { return table.PairAt(row, 2); }

}  // namespace

KVXStrokedModifierBase::KVXStrokedModifierBase(MMBaseScene* scene, int16_t toolIndex,
                                               const Pair& position,
                                               const KVXStrokedPreview& preview,
                                               MMCommand* command, int16_t layer,
                                               MMCursor* cursor)
    : KVXBaseModifiersObject(scene, toolIndex, position, MM_NO_RESOURCE, MM_NO_RESOURCE, command,
                             layer, cursor),
      preview(preview)
{
}

void KVXStrokedModifierBase::Select() { visual->SetHighlighted(true); }

void KVXStrokedModifierBase::Deselect() { visual->SetHighlighted(false); }

MMPictureReference KVXStrokedModifierBase::Draw(MMPictureID backgroundId)
{
    KVXPlaneComponentTop& plane = *preview.plane;
    plane.Fill(kBlankPixel);
    MMPictureReference background;
    background.Load(backgroundId);
    if (!background.IsEmpty())
        plane.StampPicture(background, Pair{0, 0});
    BuildPreview();
    plane.RenderPlain(*preview.bitmap);
    preview.bitmap->transparencyKind = kTransparencyStraight;
    MarkBlankClear(*preview.bitmap);
    if (!background.IsEmpty())
        ClipToBackground(*preview.bitmap, backgroundId);
    return BindTrayPicture(*preview.bitmap);
}

void KVXStrokedModifierBase::Rebuild()
{
    if (preview.plane == nullptr || preview.bitmap == nullptr || preview.colorCell == nullptr)
        return;
    uint32_t saved = *preview.colorCell;
    MMPictureReference none;
    *preview.colorCell = saved & 0xFF000000u;
    visual->SetNormalPicture(none);
    visual->SetNormalPicture(Draw(preview.backgroundA));
    *preview.colorCell = saved;
    visual->SetHighlightPicture(none);
    visual->SetHighlightPicture(Draw(preview.backgroundB));
    visual->Invalidate();
}

KVXStrokedModifierObject::KVXStrokedModifierObject(MMBaseScene* scene, int16_t toolIndex,
                                                   const Pair& position,
                                                   BrushBase* brush,
                                                   const KVXStrokedPreview& preview,
                                                   MMCommand* command, int16_t layer,
                                                   MMCursor* cursor)
    : KVXStrokedModifierBase(scene, toolIndex, position, preview, command, layer, cursor),
      brush(brush)
{
    Rebuild();
}

void KVXStrokedModifierObject::BuildPreview()
{
    if (brush == nullptr)
        return;
    MMRecordTable points;
    points.Load(preview.pointTable, 10, gDefaultHeap);
    int32_t count = points.RowCount();
    if (count == 0)
        return;
    BrushDab dab;
    auto at = [&](int32_t row) -> const BrushDab* {
        Pair p = PointAt(points, row);
        return &dab.Set(p.x, p.y, kPreviewSize, 0, 0);
    };
    brush->BeginStroke(at(0));
    for (int32_t row = 1; row < count - 1; ++row)
        brush->ContinueStroke(at(row));
    brush->EndStroke(at(count - 1));
}

KVXStrokedGlobbyModifierObject::KVXStrokedGlobbyModifierObject(
    MMBaseScene* scene, int16_t toolIndex, const Pair& position, int16_t parameter,
    const KVXStrokedPreview& preview, MMCommand* command, int16_t layer, MMCursor* cursor)
    : KVXStrokedModifierBase(scene, toolIndex, position, preview, command, layer, cursor),
      parameter(parameter), random(toolIndex + 1)
{
    Rebuild();
}

void KVXStrokedGlobbyModifierObject::BuildPreview()
{
    MMRecordTable points;
    points.Load(preview.pointTable, 10, gDefaultHeap);
    KVXPlaneComponentTop& plane = *preview.plane;
    KVXDrawMethodGloppy method(parameter);
    WorkSurface surface(plane.Bounds());
    method.Attach(&surface, plane);
    uint32_t colour = *preview.colorCell & 0x00FFFFFFu;
    for (int32_t row = 0; row < points.RowCount(); row += random.Range(4, 8))
        method.AddGlob(plane, PointAt(points, row), random.Range(8, 16), colour);
    method.Detach(plane);
}
