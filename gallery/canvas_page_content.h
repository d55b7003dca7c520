#pragma once
// A page as the creation scene holds it: the canvas plane, the slate
// recording and the stamps block.
#include "gallery/sketchbook_page_content.h"

class KVXPlaneComponent;
class KVXPageStamps;
class KVXSlateRecording;
class KVXStampsBlock;

// The slate recording as a page stores it: always 51750 bytes.
class SketchbookSlatePart {
public:
    virtual ~SketchbookSlatePart() = default;
    virtual bool Write(FSWriter& writer) = 0;
    // What a freshly initialised recording stores.
    virtual bool WriteFresh(FSWriter& writer) = 0;
    virtual bool Read(FSReader& reader) = 0;
    // For the thumbnail; may be null.
    virtual KVXSlateRecording* Recording() = 0;
};

class CanvasPageContent : public SketchbookPageContent {
public:
    // drawer draws the placed stamps into the thumbnail (may be null).
    CanvasPageContent(KVXPlaneComponent& plane, SketchbookSlatePart& slate,
                      KVXStampsBlock& stamps, KVXPageStamps* drawer);

    int32_t Allotment() const override;
    bool RenderThumbnail(uint32_t* pixels, bool blank) override;
    bool Write(FSWriter& writer) override;
    bool WriteBlank(FSWriter& writer) override;
    bool Read(FSReader& reader) override;

private:
    KVXPlaneComponent& plane;
    SketchbookSlatePart& slate;
    KVXStampsBlock& stamps;
    KVXPageStamps* drawer;
};
