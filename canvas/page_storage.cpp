#include <memory>
#include <new>

#include "canvas/bitmap_blit.h"
#include "canvas/bitmap_ops.h"
#include "canvas/canvas_scene.h"
#include "canvas/page_stamps.h"
#include "canvas/plane.h"
#include "canvas/resample.h"
#include "canvas/slate_recording.h"
#include "framework/byte_order_streams.h"
#include "media/offscreen_surface.h"

namespace {

template <class T>
std::unique_ptr<T[]> RowBuffer(int32_t width)
{
    return std::unique_ptr<T[]>(new (std::nothrow) T[size_t(width)]);
}

// After a failed read: what was not read is blank, and heights that were
// not read are the blank height.
void BlankUnread(KVXPlaneComponent& plane, int32_t colorRows, int32_t heightRows)
{
    for (int32_t y = heightRows; y < plane.height; ++y) {
        KVXComponentPixel* p = plane.Row(y);
        for (int32_t x = 0; x < plane.width; ++x) {
            if (y < colorRows) {
                p[x].height = kBlankHeight;
                p[x].shadow = 0;
            } else {
                p[x] = kBlankPixel;
            }
        }
    }
}

}  // namespace

bool KVXPlaneComponent::WritePixels(FSWriter& writer) const
{
    auto colors = RowBuffer<uint32_t>(width);
    for (int32_t y = 0; y < height; ++y) {
        const KVXComponentPixel* p = Row(y);
        if (colors) {
            for (int32_t x = 0; x < width; ++x)
                colors[x] = p[x].ColorWord();
            if (!writer.WriteLongs(colors.get(), width))
                return false;
            continue;
        }
        for (int32_t x = 0; x < width; ++x) {
            uint32_t word = p[x].ColorWord();
            if (!writer.WriteLongs(&word, 1))
                return false;
        }
    }
    colors.reset();
    auto heights = RowBuffer<uint16_t>(width);
    for (int32_t y = 0; y < height; ++y) {
        const KVXComponentPixel* p = Row(y);
        if (heights) {
            for (int32_t x = 0; x < width; ++x)
                heights[x] = p[x].height;
            if (!writer.WriteShorts(heights.get(), width))
                return false;
            continue;
        }
        for (int32_t x = 0; x < width; ++x)
            if (!writer.WriteShorts(&p[x].height, 1))
                return false;
    }
    return true;
}

bool KVXPlaneComponent::ReadPixels(FSReader& reader)
{
    auto colors = RowBuffer<uint32_t>(width);
    for (int32_t y = 0; y < height; ++y) {
        KVXComponentPixel* p = Row(y);
        for (int32_t x = 0; x < width; x += colors ? width : 1) {
            int32_t n = colors ? width : 1;
            uint32_t single;
            uint32_t* words = colors ? colors.get() : &single;
            if (!reader.ReadLongs(words, n)) {
                BlankUnread(*this, y, 0);
                return false;
            }
            for (int32_t i = 0; i < n; ++i)
                p[x + i].SetColorWord(words[i]);
        }
    }
    colors.reset();
    auto heights = RowBuffer<uint16_t>(width);
    for (int32_t y = 0; y < height; ++y) {
        KVXComponentPixel* p = Row(y);
        for (int32_t x = 0; x < width; x += heights ? width : 1) {
            int32_t n = heights ? width : 1;
            uint16_t single;
            uint16_t* values = heights ? heights.get() : &single;
            if (!reader.ReadShorts(values, n)) {
                BlankUnread(*this, height, y);
                return false;
            }
            for (int32_t i = 0; i < n; ++i) {
                p[x + i].height = values[i];
                p[x + i].shadow = 0;
            }
        }
    }
    return true;
}

void KVXPlaneComponent::RenderWithOverlays(MMSurface* surface, KVXPageStamps* stamps,
                                           KVXSlateRecording* slate, int32_t step, bool stampFlag)
{
    if (surface == nullptr)
        return;
    surface->Lock();
    MMBitmap bitmap;
    if (surface->GetBitmap(bitmap))
        RenderPlain(bitmap);
    for (int32_t slot : {3, 2}) {
        MMPictureID id = stamps ? stamps->LayerPicture(slot) : -1;
        if (id == -1)
            continue;
        MMPictureReference picture;
        picture.Load(id);
        BlitBitmapAt(surface, picture, {0, 0});
        picture.Clear();
    }
    // Slate and stamps are placed in stage coordinates.
    surface->SetOrigin({CanvasBox.left, CanvasBox.top});
    surface->SetClipBox(surface->GetBounds());
    if (slate != nullptr)
        slate->DrawAtStep(surface, step);
    if (stamps != nullptr)
        stamps->DrawStamps(surface, step >= 1 ? step - 1 : 0, stampFlag);
    surface->SetOrigin({0, 0});
    surface->SetClipBox(surface->GetBounds());
    surface->Unlock();
}

bool KVXPlaneComponent::RenderThumbnail(const MMBitmap& target, KVXPageStamps* stamps,
                                        KVXSlateRecording* slate, bool blank)
{
    if (blank) {
        FillBitmapColor(target, 255, 255, 255);
        return true;
    }
    MMSurface* surface = MMSurface::CreateBitmapDC(32, Bounds(), nullptr);
    if (surface == nullptr) {
        ResampleCanvasShaded(*this, target);
        return true;
    }
    RenderWithOverlays(surface, stamps, slate, 1, true);
    surface->Lock();
    MMBitmap rendered;
    if (surface->GetBitmap(rendered)) {
        rendered.SetAlphaInBox(0);
        ResampleBitmap(rendered, target);
    }
    surface->Unlock();
    surface->Dispose();
    return true;
}
