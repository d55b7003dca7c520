#include "gallery/old_sketchbook.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "canvas/component_pixel.h"
#include "canvas/plane.h"
#include "gallery/canvas_page_content.h"
#include "gallery/gallery_messages.h"
#include "gallery/sketchbook_file.h"
#include "stamps/stamps_block.h"

namespace {

struct OldPage {
    int32_t position;
    int32_t allotment;
    char name[17];
    char secondText[33];
};

// A page written with what a freshly initialised slate stores.
class FreshSlate : public SketchbookSlatePart {
public:
    explicit FreshSlate(SketchbookSlatePart& slate) : slate(slate) {}
    bool Write(FSWriter& writer) override { return slate.WriteFresh(writer); }
    bool WriteFresh(FSWriter& writer) override { return slate.WriteFresh(writer); }
    bool Read(FSReader&) override { return false; }
    KVXSlateRecording* Recording() override { return nullptr; }

private:
    SketchbookSlatePart& slate;
};

// The used pages in slot order; false for a table that is not sound.
bool ReadOldTable(FSFile& file, int32_t fileSize, std::vector<OldPage>& pages)
{
    uint8_t table[kOldTableEnd - 47];
    if (!file.Seek(47, FS_SEEK_FROM_START, nullptr) || !file.ReadBytes(table, sizeof table))
        return false;
    for (int32_t i = 0; i < 50; ++i) {
        const uint8_t* slot = table + i * kOldSlotSize;
        OldPage page = {};
        std::memcpy(&page.position, slot, 4);
        std::memcpy(&page.allotment, slot + 4, 4);
        if (page.position <= 0)
            continue;
        if (page.position < kOldTableEnd)
            return false;
        std::memcpy(page.name, slot + 8, 16);
        std::memcpy(page.secondText, slot + 25, 32);
        pages.push_back(page);
    }
    (void)fileSize;
    return true;
}

bool CopyOldPicture(FSFile& file, const OldPage& page, int32_t fileSize,
                    KVXPlaneComponent& plane, std::vector<uint32_t>& picture)
{
    if (page.allotment != kOldAllotment ||
        int64_t(page.position) + kThumbnailBytes + kOldAllotment > fileSize ||
        !file.Seek(page.position + kThumbnailBytes, FS_SEEK_FROM_START, nullptr) ||
        !file.ReadLongs(picture.data(), int32_t(picture.size())))
        return false;
    plane.FillElements(plane.Bounds(), kBlankPixel);
    int32_t left = (plane.width - kOldPictureWidth) / 2;
    int32_t top = (plane.height - kOldPictureHeight) / 2;
    for (int32_t y = 0; y < kOldPictureHeight; ++y) {
        int32_t py = y + top;
        if (py < 0 || py >= plane.height)
            continue;
        for (int32_t x = 0; x < kOldPictureWidth; ++x) {
            int32_t px = x + left;
            if (px >= 0 && px < plane.width)
                plane.PixelAt(px, py)->SetColorWord(picture[size_t(y) * kOldPictureWidth + x] &
                                                    0x00FFFFFF);
        }
    }
    return true;
}

}  // namespace

bool ImportOldSketchbook(SketchbookFile& target, KVXPlaneComponent& plane,
                         SketchbookSlatePart& slate, const FSDirectory& folder, const char* name)
{
    target.RemovePage(0);
    if (!target.ReadPageTable())
        return false;
    FSFile old;
    char header[47];
    if (!old.Open(folder, name, FS_OPEN_READ) || !old.ReadBytes(header, sizeof header))
        return false;
    char signature[kSignatureSize] = {};
    std::memcpy(signature, kBookSignature, std::strlen(kBookSignature));
    int32_t fileSize = -1;
    old.Seek(0, FS_SEEK_FROM_END, &fileSize);
    std::vector<OldPage> pages;
    if (std::memcmp(header, signature, kSignatureSize) != 0 ||
        !ReadOldTable(old, fileSize, pages)) {
        GalleryAlert(kAlertNotOldBook, "not an old book");
        return false;
    }
    std::vector<uint32_t> picture(size_t(kOldPictureWidth) * kOldPictureHeight);
    char bookName[kBookNameSize] = {};
    std::memcpy(bookName, header + kSignatureSize, kBookNameSize - 1);
    target.SetBookName(bookName);

    FreshSlate fresh(slate);
    KVXStampsBlock noStamps;
    CanvasPageContent content(plane, fresh, noStamps, nullptr);
    bool copied = target.OpenExisting(false) && target.WritePageTable();
    for (const OldPage& page : pages) {
        if (!copied)
            break;
        int32_t index = target.PageCount();
        char first = page.secondText[0];
        copied = CopyOldPicture(old, page, fileSize, plane, picture) && target.AddPage(content) &&
                 target.EditPageInfo(index, [&](SketchbookPageInfo& info) {
                     std::memcpy(info.name, page.name, 16);
                     info.name[16] = '\0';
                     info.modified = first != ' ' && first != '\0' ? 1 : 0;
                 }) &&
                 target.WritePage(content, index);
    }
    if (!copied && LastGalleryAlert() == 0)
        GalleryAlert(kAlertReadFailed, "old page not copied");
    target.Close();
    return copied;
}
