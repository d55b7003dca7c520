#pragma once
// What a sketchbook page holds after its thumbnail, as the canvas side
// gives it: the picture, the slate recording and the stamps, always
// Allotment() bytes together.
#include <cstdint>

class FSReader;
class FSWriter;

constexpr int32_t kThumbnailWidth = 101;
constexpr int32_t kThumbnailHeight = 79;
constexpr int32_t kThumbnailBytes = kThumbnailWidth * kThumbnailHeight * 4;
static_assert(kThumbnailBytes == 31916, "a page's thumbnail is 31916 bytes");
constexpr int32_t kSlateStoredSize = 51750;

// The bytes after the thumbnail of a page of a width x height canvas.
int32_t PageAllotment(int32_t width, int32_t height);

class SketchbookPageContent {
public:
    virtual ~SketchbookPageContent() = default;
    virtual int32_t Allotment() const = 0;
    // 79 rows of 101 words (blue, green, red, 0), top row first; blank gives
    // the thumbnail of a blank page.
    virtual bool RenderThumbnail(uint32_t* pixels, bool blank) = 0;
    // Picture, slate and stamps, in that order, each only after the one
    // before succeeded.
    virtual bool Write(FSWriter& writer) = 0;
    // A blank page: white picture, fresh slate, no stamps.
    virtual bool WriteBlank(FSWriter& writer) = 0;
    virtual bool Read(FSReader& reader) = 0;
};
