// The slate tray's tab pictures: each tab picture drawn over the colour of
// its frame (or of the chalk), which shows through the picture's window.
#include <algorithm>
#include <memory>

#include "canvas/bitmap_ops.h"
#include "canvas/slate_recording.h"
#include "framework/heap.h"
#include "media/bitmap.h"
#include "media/bitmap_picture_collection.h"
#include "selection/magic_slate_tool_collection.h"
#include "shell/widgets/held_buttons.h"

namespace {

const uint32_t kEmptySwatch = 0x00C8C8C8;  // grey 200
// The three pictures of a tab row in the order normal, highlighted,
// alternate; each is followed by the window where the swatch shows.
const int32_t kPictureOffsets[3] = {4, 28, 16};

std::unique_ptr<MMBitmapWithPixels> Backdrop(const Pair& size, uint8_t grey, const Box& window,
                                             uint32_t swatch)
{
    std::unique_ptr<MMBitmapWithPixels> bitmap(
        MMBitmap::CreateWithPixels(Box{0, 0, size.x, size.y}, kPixelBGRA, gDefaultHeap));
    if (!bitmap)
        return bitmap;
    FillBitmapColor(*bitmap, grey, grey, grey);
    SetBitmapAlpha(*bitmap, 0);
    Box inside = window;
    inside.Intersect(Box{0, 0, size.x, size.y});
    for (int32_t y = inside.top; y < inside.bottom; ++y) {
        uint8_t* p = bitmap->PixelAddress(inside.left, y);
        for (int32_t x = inside.left; x < inside.right; ++x, p += 4) {
            p[0] = uint8_t(swatch);
            p[1] = uint8_t(swatch >> 8);
            p[2] = uint8_t(swatch >> 16);
        }
    }
    return bitmap;
}

// Over white and over black: where the two differ the picture lets the
// backdrop through, and by how much is its transparency.
bool SwatchedPicture(MMBitmapPictureCollection* collection, MMPictureID id, const Box& window,
                     uint32_t swatch, MMPictureReference& out)
{
    out.Clear();
    MMPictureReference picture;
    picture.Load(id);
    Pair size = picture.Collection() != nullptr ? picture.GetSize() : Pair{0, 0};
    int16_t slot = collection != nullptr ? collection->FreeSlot() : -1;
    if (size.x < 1 || size.y < 1 || slot < 0)
        return false;
    std::unique_ptr<MMBitmapWithPixels> light = Backdrop(size, 255, window, swatch);
    std::unique_ptr<MMBitmapWithPixels> dark = Backdrop(size, 0, window, swatch);
    if (!light || !dark)
        return false;
    DrawPictureIntoBitmap({light.get(), 0, 0, id});
    DrawPictureIntoBitmap({dark.get(), 0, 0, id});
    for (int32_t y = 0; y < size.y; ++y) {
        const uint8_t* l = light->PixelAddress(0, y);
        uint8_t* d = dark->PixelAddress(0, y);
        for (int32_t x = 0; x < size.x; ++x, l += 4, d += 4) {
            int32_t clear = 0;
            for (int k = 0; k < 3; ++k)
                clear = std::max(clear, int32_t(l[k]) - int32_t(d[k]));
            for (int k = 0; k < 3 && clear > 0; ++k)
                d[k] = clear >= 255 ? 0 : uint8_t(std::min(255, d[k] * 255 / (255 - clear)));
            d[3] = uint8_t(clear);
        }
    }
    dark->transparencyKind = kTransparencyStraight;
    collection->BindPicture(out, slot, *dark, nullptr);
    return !out.IsEmpty();
}

}  // namespace

bool KVXMagicSlateToolCollection::MakeTabPictures(const MMRecordTable& table, int32_t row,
                                                  uint32_t colour, MMPictureReference out[3])
{
    if (row < 0 || row >= table.RowCount())
        return false;
    bool made = true;
    for (int i = 0; i < 3; ++i) {
        int32_t offset = kPictureOffsets[i];
        made = SwatchedPicture(pictures.get(), table.LongAt(row, offset),
                               table.RectAt(row, offset + 4), colour, out[i]) && made;
    }
    return made;
}

void KVXMagicSlateToolCollection::SetTabPictures(KVXHeldButtonMolecule* tab,
                                                 const MMPictureReference made[3])
{
    if (tab == nullptr)
        return;
    if (!made[0].IsEmpty())
        tab->SetNormalPicture(made[0]);
    if (!made[1].IsEmpty())
        tab->SetHighlightPicture(made[1]);
    if (!made[2].IsEmpty())
        tab->SetAlternatePicture(made[2]);
}

void KVXMagicSlateToolCollection::MakeFrameThumbnail(int16_t frame)
{
    if (frame < 0 || frame >= kTabs || !frameTabTable.IsLoaded())
        return;
    uint32_t swatch = slate != nullptr && slate->FrameState(currentChannel, frame) == 1
                          ? slate->FrameColour(currentChannel, frame)
                          : kEmptySwatch;
    MMPictureReference made[3];
    MakeTabPictures(frameTabTable, frame, swatch, made);
    SetTabPictures(FrameTab(frame), made);
    for (int i = 0; i < 3; ++i)
        thumbnails[frame][i] = made[i];
}

void KVXMagicSlateToolCollection::MakeChannelTabPictures()
{
    if (!channelTabTable.IsLoaded())
        return;
    MMPictureReference made[3];
    MakeTabPictures(channelTabTable, 0, channelColours[0], made);
    SetTabPictures(channelTab, made);
    for (int i = 0; i < 3; ++i)
        channelPictures[i] = made[i];
}

void KVXMagicSlateToolCollection::RefreshThumbnails()
{
    ++thumbnailRedraws;
    for (int16_t frame = 0; frame < kTabs; ++frame)
        MakeFrameThumbnail(frame);
}
