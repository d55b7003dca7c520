#include "stamps/recorded_stamps.h"

#include "engine/picture_collection.h"
#include "engine/record_table.h"
#include "framework/heap.h"
#include "media/blit_request.h"
#include "media/surface.h"
#include "stamps/stamp_frames.h"

KVXRecordedStamps::KVXRecordedStamps(const KVXStampsBlock& block) : block(block) {}

MMPictureID KVXRecordedStamps::LayerPicture(int32_t slot) const
{
    if (slot == 3 && !block.places[kStampBackground].IsEmpty())
        return block.places[kStampBackground].bwPicture;
    if (slot == 2 && !block.places[kStampMidground].IsEmpty())
        return block.places[kStampMidground].bwPicture;
    return -1;
}

Box KVXRecordedStamps::PlaceOf(const KVXStampRecord& record) const
{
    return {record.bounds.left, record.bounds.top, record.bounds.left + record.size.x,
            record.bounds.top + record.size.y};
}

void KVXRecordedStamps::DrawPicture(MMSurface* surface, MMPictureID id, const Box& box,
                                    bool mirrorX, bool mirrorY)
{
    MMPictureReference picture;
    picture.Load(id);
    if (!picture.IsEmpty()) {
        Pair size = picture.GetSize();
        Box source = {mirrorX ? size.x : 0, mirrorY ? size.y : 0, mirrorX ? 0 : size.x,
                      mirrorY ? 0 : size.y};
        MMDrawPicture(surface, picture, source, box, nullptr, nullptr);
    }
    picture.Clear();
}

bool KVXRecordedStamps::DrawFrame(MMSurface* surface, const KVXStampRecord& record, int32_t step)
{
    if (record.animationTable == -1)
        return false;
    MMRecordTable steps;
    steps.Load(record.animationTable, 2, gDefaultHeap);
    MMResourceId scriptId = steps.ItemIdAt(record.sizeStep, 0);
    steps.Free();
    MMRecordTable script;
    script.Load(scriptId, 10, gDefaultHeap);
    KVXStampFrame frame;
    bool found = StampFrameAt(script, step, &frame);
    script.Free();
    if (!found)
        return false;
    MMPictureReference picture;
    picture.Load(frame.picture);
    Pair size = picture.IsEmpty() ? Pair{0, 0} : picture.GetSize();
    picture.Clear();
    if (size.x <= 0 || size.y <= 0)
        return false;
    Box place = PlaceOf(record);
    Box box = StampFrameBox(frame, size, {record.size.x, record.size.y}, record.mirroredX != 0,
                            record.mirroredY != 0);
    box.Offset({place.left, place.top});
    DrawPicture(surface, frame.picture, box, record.mirroredX != 0, record.mirroredY != 0);
    return true;
}

void KVXRecordedStamps::DrawListed(MMSurface* surface, const KVXStampRecord& record, int32_t step,
                                   bool plain)
{
    // A stamp without a frame to show is drawn in colour rather than left out.
    if (!plain && DrawFrame(surface, record, step))
        return;
    DrawPicture(surface, record.colourPicture, PlaceOf(record), record.mirroredX != 0,
                record.mirroredY != 0);
}

void KVXRecordedStamps::DrawStamps(MMSurface* surface, int32_t step, bool plain)
{
    if (surface == nullptr || block.Count() == 0)
        return;
    for (int32_t place = kLayerPlaces; place < kStampPlaces; ++place) {
        if (!block.places[place].IsEmpty())
            DrawListed(surface, block.places[place], step, plain);
    }
    const KVXStampRecord& foreground = block.places[kStampForeground];
    if (!foreground.IsEmpty())
        DrawPicture(surface, foreground.colourPicture, PlaceOf(foreground), false, false);
}
