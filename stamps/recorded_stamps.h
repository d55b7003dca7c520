#pragma once
// A page's stamps drawn from its stamps block, without placing them: for the
// pictures of pages that are not open on the painting screen (thumbnails,
// printing, the slideshow and its export). Layers give their line art to the
// page's overlay step; characters and props are drawn at their boxes, each
// at its animation's frame for the step (or in colour when drawn plain, and
// when it has no animation), then the foreground in colour.
#include <cstdint>

#include "canvas/page_stamps.h"
#include "stamps/stamps_block.h"

class MMPictureReference;

class KVXRecordedStamps : public KVXPageStamps {
public:
    // Stamps are drawn in stage coordinates: the page's overlay step puts
    // the surface's origin at the canvas's top-left corner.
    explicit KVXRecordedStamps(const KVXStampsBlock& block);

    // Slot 3 the background, slot 2 the midground.
    MMPictureID LayerPicture(int32_t slot) const override;
    void DrawStamps(MMSurface* surface, int32_t step, bool plain) override;

private:
    void DrawListed(MMSurface* surface, const KVXStampRecord& record, int32_t step, bool plain);
    bool DrawFrame(MMSurface* surface, const KVXStampRecord& record, int32_t step);
    void DrawPicture(MMSurface* surface, MMPictureID id, const Box& box, bool mirrorX,
                     bool mirrorY);
    Box PlaceOf(const KVXStampRecord& record) const;

    KVXStampsBlock block;
};
