#include "gallery/page_picture.h"

#include <new>

#include "canvas/bitmap_blit.h"
#include "canvas/plane.h"
#include "engine/picture_collection.h"
#include "engine/record_table.h"
#include "gallery/sketchbook_file.h"
#include "media/surface.h"
#include "selection/slate_store.h"
#include "stamps/recorded_stamps.h"

namespace {
constexpr MMResourceId kExportMarkTable = 735;
}

PagePicture::PagePicture(KVXPlaneComponent& plane)
    : plane(plane),
      slate(new MagicSlateStore),
      slatePart(*slate),
      content(plane, slatePart, stamps, nullptr)
{
    slate->Init();
}

PagePicture::~PagePicture() = default;

bool PagePicture::Load(SketchbookFile& book, int32_t page)
{
    drawer.reset();
    bool loaded = book.LoadPage(content, page);
    SketchbookPageInfo info;
    modified = loaded && book.ReadPageInfo(page, info) && info.modified != 0;
    drawer.reset(new (std::nothrow) KVXRecordedStamps(stamps));
    return loaded;
}

void PagePicture::Render(MMSurface* surface, int32_t step, bool plain)
{
    plane.RenderWithOverlays(surface, drawer.get(), slate.get(), step, plain);
}

KVXPageStamps* PagePicture::Drawer()
{
    return drawer.get();
}

bool PagePicture::HasStrokes() const
{
    return slate->HasStrokes();
}

bool PagePicture::HasPlacedStamps() const
{
    return stamps.Count() > 0;
}

void DrawExportMark(MMSurface* surface)
{
    MMRecordTable table;
    table.LoadTenByteRows(kExportMarkTable, 0);
    if (surface == nullptr || table.RowCount() == 0)
        return;
    MMPictureReference mark;
    mark.Load(table.LongAt(0, 2));
    Box bounds = surface->GetBounds();
    Pair size = mark.GetSize();
    if (size.x <= 0 || size.y <= 0) {
        mark.Clear();
        return;
    }
    Pair at = {bounds.left + (bounds.Width() - size.x) / 2, bounds.bottom - size.y};
    BlitBitmapAt(surface, mark, at);
    mark.Clear();
}
