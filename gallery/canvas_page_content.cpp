#include "gallery/canvas_page_content.h"

#include <memory>
#include <new>

#include "canvas/component_pixel.h"
#include "canvas/plane.h"
#include "framework/byte_order_streams.h"
#include "media/bitmap.h"
#include "stamps/stamps_block.h"

CanvasPageContent::CanvasPageContent(KVXPlaneComponent& plane, SketchbookSlatePart& slate,
                                     KVXStampsBlock& stamps, KVXPageStamps* drawer)
    : plane(plane), slate(slate), stamps(stamps), drawer(drawer)
{
}

int32_t CanvasPageContent::Allotment() const
{
    return PageAllotment(plane.width, plane.height);
}

bool CanvasPageContent::RenderThumbnail(uint32_t* pixels, bool blank)
{
    MMBitmap target;
    target.bitsPerPixel = 32;
    target.bytesPerPixel = 4;
    target.pixelKind = kPixelBGRA;
    target.transparencyKind = kTransparencyOpaque;
    target.box = {0, 0, kThumbnailWidth, kThumbnailHeight};
    target.pixels = reinterpret_cast<uint8_t*>(pixels);
    target.pitch = kThumbnailWidth * 4;
    return plane.RenderThumbnail(target, drawer, slate.Recording(), blank);
}

bool CanvasPageContent::Write(FSWriter& writer)
{
    return plane.WritePixels(writer) && slate.Write(writer) && stamps.Write(writer);
}

bool CanvasPageContent::WriteBlank(FSWriter& writer)
{
    std::unique_ptr<uint32_t[]> colors(new (std::nothrow) uint32_t[size_t(plane.width)]);
    std::unique_ptr<uint16_t[]> heights(new (std::nothrow) uint16_t[size_t(plane.width)]);
    if (!colors || !heights)
        return false;
    for (int32_t x = 0; x < plane.width; ++x) {
        colors[x] = kBlankPixel.ColorWord();
        heights[x] = kBlankHeight;
    }
    for (int32_t y = 0; y < plane.height; ++y)
        writer.WriteLongs(colors.get(), plane.width);
    for (int32_t y = 0; y < plane.height; ++y)
        writer.WriteShorts(heights.get(), plane.width);
    KVXStampsBlock empty;
    return writer.GetError() == 0 && slate.WriteFresh(writer) && empty.Write(writer);
}

// The picture decides: a damaged slate or stamp record loses only itself
// (each says so through the pending error), and the stamps after a damaged
// slate are still read, so that the page written back keeps them.
bool CanvasPageContent::Read(FSReader& reader)
{
    if (!plane.ReadPixels(reader))
        return false;
    slate.Read(reader);
    stamps.Read(reader);
    return true;
}
