#include "book_fixture.h"
#include "gallery/old_sketchbook.h"

namespace {

struct OldPageSpec {
    const char* name;
    const char* secondText;  // 33 bytes, given as far as it goes
    uint32_t seed;
    int32_t allotment = kOldAllotment;
};

uint32_t OldPixel(uint32_t seed, int32_t x, int32_t y)
{
    return ((seed * 0x10101u + uint32_t(x) * 7 + uint32_t(y) * 0x300) & 0x00FFFFFF) | 0xAB000000u;
}

// An old-format book of the given pages, made as the earlier version wrote it.
std::string OldBook(const char* bookName, const std::vector<OldPageSpec>& pages,
                    const char* signature = "Tavelo Quillmark v1.0")
{
    std::string b(kOldTableEnd, '\0');
    std::memcpy(&b[0], signature, std::strlen(signature));
    std::memcpy(&b[26], bookName, std::strlen(bookName));
    for (int i = 0; i < 50; ++i) {
        size_t slot = 47 + i * kOldSlotSize;
        PutLong(b, slot, -1);
        b[slot + 8] = ' ';
        b[slot + 25] = ' ';
    }
    for (size_t i = 0; i < pages.size(); ++i) {
        size_t slot = 47 + i * kOldSlotSize;
        PutLong(b, slot, int32_t(b.size()));
        PutLong(b, slot + 4, pages[i].allotment);
        std::memset(&b[slot + 8], 0, 60);
        std::memcpy(&b[slot + 8], pages[i].name, std::strlen(pages[i].name));
        std::memcpy(&b[slot + 25], pages[i].secondText, std::strlen(pages[i].secondText));
        b.append(kThumbnailBytes, '\x7F');
        std::string picture(kOldAllotment, '\0');
        for (int y = 0; y < kOldPictureHeight; ++y)
            for (int x = 0; x < kOldPictureWidth; ++x)
                PutLong(picture, size_t(y * kOldPictureWidth + x) * 4, int32_t(OldPixel(pages[i].seed, x, y)));
        b += picture.substr(0, size_t(std::min(pages[i].allotment, kOldAllotment)));
    }
    return b;
}

class OldBookTest : public BookTest {
protected:
    // A new book of one blank page on a canvas of the given size.
    void Import(int32_t width, int32_t height, const std::string& old, bool succeeds)
    {
        canvas = std::make_unique<TestCanvas>(width, height);
        Put("old.bok", old);
        target = std::make_unique<SketchbookFile>(scratch.folder, "target");
        ASSERT_TRUE(target->Open(1, &canvas->content));
        target->Close();
        EXPECT_EQ(succeeds, ImportOldSketchbook(*target, canvas->plane, canvas->slate,
                                                scratch.folder, "old.bok"));
        EXPECT_EQ(old, Bytes("old.bok"));
    }
    // The pixel of page p at canvas (x, y).
    KVXComponentPixel Loaded(int32_t page, int32_t x, int32_t y)
    {
        TestCanvas loaded(canvas->plane.width, canvas->plane.height);
        EXPECT_TRUE(target->LoadPage(loaded.content, page));
        EXPECT_EQ(0x5A, loaded.slate.bytes[0]);  // a fresh slate
        EXPECT_EQ(0, loaded.stamps.Count());
        return loaded.pixels[size_t(y) * loaded.plane.width + x];
    }

    std::unique_ptr<TestCanvas> canvas;
    std::unique_ptr<SketchbookFile> target;
};

}  // namespace

TEST_F(OldBookTest, ThreePagesWithNamesFlagsAndCentredPictures)
{
    Import(640, 480,
           OldBook("Vieux carnet", {{"Maison", " ", 1}, {"Soleil", "texte", 2}, {"Chat", "", 3}}),
           true);
    ASSERT_TRUE(target->ReadPageTable());
    ASSERT_EQ(3, target->PageCount());
    EXPECT_STREQ("Vieux carnet", target->BookName());
    const char* names[] = {"Maison", "Soleil", "Chat"};
    int16_t modified[] = {0, 1, 0};
    for (int p = 0; p < 3; ++p) {
        EXPECT_STREQ(names[p], target->PageName(p));
        EXPECT_EQ(modified[p], target->Slot(p).info.modified);
    }
    // Centred at ((640 - 482) / 2, (480 - 371) / 2) = (79, 54), type 0.
    KVXComponentPixel corner = Loaded(1, 79, 54);
    EXPECT_EQ(OldPixel(2, 0, 0) & 0x00FFFFFF, corner.ColorWord());
    EXPECT_EQ(kBlankHeight, corner.height);
    EXPECT_EQ(OldPixel(3, 481, 370) & 0x00FFFFFF, Loaded(2, 79 + 481, 54 + 370).ColorWord());
    EXPECT_EQ(kBlankPixel.ColorWord(), Loaded(0, 78, 54).ColorWord());
    EXPECT_EQ(kBlankPixel.ColorWord(), Loaded(0, 79, 54 + 371).ColorWord());
}

TEST_F(OldBookTest, PicturesAreClippedOnASmallerCanvas)
{
    Import(400, 300, OldBook("Petit", {{"Une", "x", 4}}), true);
    // Offsets (400 - 482) / 2 = -41 and (300 - 371) / 2 = -35.
    EXPECT_EQ(OldPixel(4, 41, 35) & 0x00FFFFFF, Loaded(0, 0, 0).ColorWord());
    EXPECT_EQ(OldPixel(4, 41 + 399, 35 + 299) & 0x00FFFFFF, Loaded(0, 399, 299).ColorWord());
}

TEST_F(OldBookTest, RefusedFilesAndABadAllotment)
{
    ClearGalleryAlert();
    Import(64, 48, OldBook("Autre", {{"Une", " ", 1}}, "Another signature"), false);
    EXPECT_EQ(kAlertNotOldBook, LastGalleryAlert());
    ASSERT_TRUE(target->ReadPageTable());
    EXPECT_EQ(0, target->PageCount());  // only its first page went

    Import(64, 48, OldBook("Coupé", {{"Une", " ", 1}, {"Deux", " ", 2, 1000}, {"Trois", " ", 3}}),
           false);
    ASSERT_TRUE(target->ReadPageTable());
    EXPECT_STREQ("Une", target->PageName(0));
    EXPECT_EQ(OldPixel(1, 209, 161) & 0x00FFFFFF, Loaded(0, 0, 0).ColorWord());
}
