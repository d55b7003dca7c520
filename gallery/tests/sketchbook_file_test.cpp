#include <memory>
#include <random>

#include "framework/pending_error.h"
#include "gallery/magic_slate_part.h"
#include "selection/slate_store.h"

#include "book_fixture.h"

namespace {

constexpr int32_t kSmallAllotment = 52426 + 8 * 6 * 6;

// A book of `pages` pages of an 8 x 6 canvas, page p painted with seed p + 1.
void MakeBook(const FSDirectory& folder, const char* name, int pages)
{
    TestCanvas canvas(8, 6);
    SketchbookFile book(folder, name);
    ASSERT_TRUE(book.Open(pages, &canvas.content));
    for (int p = 0; p < pages; ++p) {
        canvas.Paint(p + 1);
        ASSERT_TRUE(book.WritePage(canvas.content, p));
    }
    book.Close();
}

// Whether page p of the book holds what MakeBook painted there.
bool PageHolds(SketchbookFile& book, int32_t page, uint32_t seed)
{
    TestCanvas loaded(8, 6), painted(8, 6);
    painted.Paint(seed);
    return book.LoadPage(loaded.content, page) && loaded.SameAs(painted);
}

}  // namespace

TEST_F(BookTest, NewBookAndBlankPageHoldExactBytes)
{
    TestCanvas canvas(8, 6);
    SketchbookFile empty(scratch.folder, "book 12x");
    ASSERT_TRUE(empty.Open(0, &canvas.content));
    empty.Close();
    std::string bytes = Bytes("book 12x");
    ASSERT_EQ(1897u, bytes.size());
    EXPECT_EQ(std::string("Tavelo Quillmark v1.0\0\0\0\0\0", 26), bytes.substr(0, 26));
    EXPECT_EQ(std::string("Carnet 12\0\0\0\0\0\0\0\0", 17), bytes.substr(26, 17));
    for (int i = 0; i < 50; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(-1, Long(bytes, SlotAt(i)));
        EXPECT_EQ(0, Long(bytes, SlotAt(i) + 4));
        EXPECT_EQ(std::string(" \0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 17), bytes.substr(SlotAt(i) + 8, 17));
        EXPECT_EQ(2, Short(bytes, SlotAt(i) + 31));
        EXPECT_EQ(0, Long(bytes, SlotAt(i) + 33));
    }
    EXPECT_FALSE(FSFileExists(scratch.folder, "book 12x.new"));

    SketchbookFile one(scratch.folder, "one");
    ASSERT_TRUE(one.Open(1, &canvas.content));
    one.Close();
    bytes = Bytes("one");
    ASSERT_EQ(size_t(1897 + 31916 + kSmallAllotment), bytes.size());
    EXPECT_EQ(std::string("Carnet \0", 8), bytes.substr(26, 8));
    EXPECT_EQ(1897, Long(bytes, SlotAt(0)));
    EXPECT_EQ(kSmallAllotment, Long(bytes, SlotAt(0) + 4));
    EXPECT_EQ(std::string("Page 0\0", 7), bytes.substr(SlotAt(0) + 8, 7));
    EXPECT_EQ(1, Long(bytes, SlotAt(0) + 33));
    for (int i = 0; i < 101 * 79; ++i)
        ASSERT_EQ(0x00FFFFFF, Long(bytes, 1897 + 4 * i)) << i;
    size_t picture = 1897 + 31916;
    for (int i = 0; i < 48; ++i) {
        ASSERT_EQ(int32_t(0x00FFFFFF), Long(bytes, picture + 4 * i));
        ASSERT_EQ(3072, Short(bytes, picture + 192 + 2 * i));
    }
    size_t slate = picture + 48 * 6;
    EXPECT_EQ(0x5A, uint8_t(bytes[slate]));
    uint8_t stamps[kStampsBlockSize];
    FSMemory memory(stamps, sizeof stamps);
    ASSERT_TRUE(KVXStampsBlock().Write(memory));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(stamps), sizeof stamps),
              bytes.substr(slate + kSlateStoredSize));
}

TEST_F(BookTest, FullSizePagesReloadEqual)
{
    TestCanvas canvas(640, 480);
    EXPECT_EQ(51750 + 676 + 640 * 480 * 6, canvas.content.Allotment());
    SketchbookFile book(scratch.folder, "big");
    ASSERT_TRUE(book.Open(2, &canvas.content));
    book.Close();
    ASSERT_EQ(size_t(1897 + 2 * (31916 + canvas.content.Allotment())), Bytes("big").size());
    canvas.Paint(77);
    ASSERT_TRUE(book.WritePage(canvas.content, 1));
    TestCanvas loaded(640, 480);
    ASSERT_TRUE(book.LoadPage(loaded.content, 1));
    EXPECT_TRUE(loaded.SameAs(canvas));
    ASSERT_TRUE(book.LoadPage(loaded.content, 0));
    EXPECT_EQ(kBlankPixel.ColorWord(), loaded.pixels[1234].ColorWord());
    EXPECT_EQ(0, book.Slot(1).info.mark);
    EXPECT_EQ(1, book.Slot(0).info.mark);
    book.Close();
}

TEST_F(BookTest, PageEdits)
{
    MakeBook(scratch.folder, "b", 4);
    SketchbookFile book(scratch.folder, "b");
    ASSERT_TRUE(book.ReadPageTable());
    ASSERT_EQ(4, book.PageCount());
    int32_t size = int32_t(Bytes("b").size());

    // Out of range: refused, nothing written.
    TestCanvas canvas(8, 6);
    std::string before = Bytes("b");
    EXPECT_FALSE(book.WritePage(canvas.content, 4));
    EXPECT_FALSE(book.WritePage(canvas.content, -1));
    EXPECT_FALSE(book.LoadPage(canvas.content, 4));
    EXPECT_EQ(kAlertReadFailed, LastGalleryAlert());
    EXPECT_FALSE(book.RemovePage(-1));
    EXPECT_FALSE(book.MovePageTo(0, 4));
    EXPECT_EQ(before, Bytes("b"));

    // Moves keep the pages' contents.
    ASSERT_TRUE(book.MovePageTo(0, 2));  // 2 3 1 4
    EXPECT_TRUE(PageHolds(book, 2, 1));
    EXPECT_TRUE(PageHolds(book, 0, 2));
    ASSERT_TRUE(book.MovePageBefore(2, 0));  // 1 2 3 4
    EXPECT_TRUE(PageHolds(book, 0, 1));
    EXPECT_EQ(std::string("Page 0"), book.PageName(0));

    // Removing releases the region into the slot after the pages...
    int32_t region1 = book.Slot(1).position;
    ASSERT_TRUE(book.RemovePage(1));
    EXPECT_EQ(3, book.PageCount());
    EXPECT_EQ(-region1, book.Slot(3).position);
    EXPECT_TRUE(PageHolds(book, 1, 3));
    // ...which the next page of the same size reuses.
    ASSERT_TRUE(book.AddPage(canvas.content));
    EXPECT_EQ(region1, book.Slot(3).position);
    EXPECT_EQ(size, int32_t(Bytes("b").size()));
    EXPECT_EQ(std::string("Page 3"), book.PageName(3));
    EXPECT_EQ(3, book.FirstNewPage());

    // A released region too small for the page is passed over.
    TestCanvas wide(9, 6);
    ASSERT_TRUE(book.RemovePage(0));
    ASSERT_TRUE(book.AddPage(wide.content));
    EXPECT_EQ(size, book.Slot(3).position);
    EXPECT_LT(book.Slot(4).position, -1);
    EXPECT_TRUE(book.IsBook());
    EXPECT_FALSE(book.LoadPage(canvas.content, 3));  // another canvas size
    EXPECT_TRUE(book.LoadPage(wide.content, 3));

    // Writing a page takes a fresh region and releases the old one.
    int32_t old = book.Slot(0).position;
    canvas.Paint(9);
    ASSERT_TRUE(book.WritePage(canvas.content, 0));
    EXPECT_NE(old, book.Slot(0).position);
    EXPECT_TRUE(PageHolds(book, 0, 9));
    bool released = false;
    for (int i = book.PageCount(); i < 50; ++i)
        released = released || book.Slot(i).position == -old;
    EXPECT_TRUE(released);
}

TEST_F(BookTest, CompactionCutsTheFile)
{
    // Three blank pages lie in page order: regions at 1897, 1897 + R, 1897 + 2R.
    TestCanvas canvas(8, 6);
    const int32_t r = 31916 + kSmallAllotment;
    SketchbookFile book(scratch.folder, "c");
    ASSERT_TRUE(book.Open(3, &canvas.content));
    book.Close();

    // The freed region ends the file: the file is cut there.
    ASSERT_TRUE(book.RemovePage(2));
    ASSERT_TRUE(book.Compact());
    EXPECT_EQ(size_t(1897 + 2 * r), Bytes("c").size());
    EXPECT_EQ(-1, book.Slot(2).position);

    // A freed region inside: the region that ends the file moves into it.
    canvas.Paint(3);
    ASSERT_TRUE(book.AddPage(canvas.content));
    ASSERT_EQ(1897 + 2 * r, book.Slot(2).position);
    std::string moved = Bytes("c").substr(1897 + 2 * r);
    ASSERT_TRUE(book.RemovePage(0));
    ASSERT_TRUE(book.Compact());
    EXPECT_EQ(size_t(1897 + 2 * r), Bytes("c").size());
    EXPECT_EQ(1897, book.Slot(1).position);
    EXPECT_EQ(moved, Bytes("c").substr(1897, r));

    // A released region past the cut becomes never-used.
    ASSERT_TRUE(book.AddPage(canvas.content));  // pages at R, 0, 2R
    ASSERT_TRUE(book.RemovePage(2));
    ASSERT_TRUE(book.RemovePage(0));            // page at 0; released R, then 2R
    ASSERT_TRUE(book.Compact());
    book.Close();
    EXPECT_EQ(size_t(1897 + r), Bytes("c").size());
    ASSERT_TRUE(book.ReadPageTable());
    EXPECT_EQ(1, book.PageCount());
    EXPECT_EQ(1897, book.Slot(0).position);
    for (int i = 1; i < 50; ++i)
        EXPECT_EQ(-1, book.Slot(i).position) << i;
}

TEST_F(BookTest, FiftyPagesAndNoMore)
{
    TestCanvas canvas(8, 6);
    SketchbookFile book(scratch.folder, "full");
    ASSERT_TRUE(book.Open(50, &canvas.content));
    ASSERT_EQ(50, book.PageCount());
    std::string before = Bytes("full");
    EXPECT_FALSE(book.AddPage(canvas.content));
    int32_t current = 7;
    ClearGalleryAlert();
    EXPECT_FALSE(book.AddPageAndSelect(canvas.content, true, current));
    EXPECT_EQ(kAlertBookFull, LastGalleryAlert());
    EXPECT_EQ(7, current);
    EXPECT_EQ(before, Bytes("full"));

    // With no slot left for the old region, writing a page compacts.
    canvas.Paint(5);
    ASSERT_TRUE(book.WritePage(canvas.content, 20));
    EXPECT_EQ(before.size(), Bytes("full").size());
    EXPECT_TRUE(PageHolds(book, 20, 5));
    book.Close();
}

TEST_F(BookTest, ThumbnailsAreReadOnceAndBlankIsWhite)
{
    MakeBook(scratch.folder, "t", 2);
    SketchbookFile book(scratch.folder, "t");
    ASSERT_TRUE(book.ReadPageTable());
    const uint32_t* first = book.ReadThumbnail(1);
    ASSERT_NE(nullptr, first);
    std::string bytes = Bytes("t");
    EXPECT_EQ(uint32_t(Long(bytes, book.Slot(1).position)), first[0]);
    EXPECT_EQ(0u, first[0] >> 24);
    // Gone from the disk, still cached.
    ASSERT_TRUE(FSDeleteFile(scratch.folder, "t"));
    EXPECT_EQ(first, book.ReadThumbnail(1));
    uint32_t copy[101 * 79];
    EXPECT_FALSE(book.ReadThumbnailUncached(1, copy));
    EXPECT_EQ(kAlertReadFailed, LastGalleryAlert());
}

TEST_F(BookTest, TheSlateStoreOfAPageReloadsEqual)
{
    auto store = std::make_unique<MagicSlateStore>();
    store->Init();
    Pair points[] = {{10, 10}, {40, 30}, {70, 15}};
    ASSERT_TRUE(store->StoreFrame(1, 2, points, 3, 0x00FF8000, 3));
    MagicSlatePart part(*store);
    TestCanvas canvas(8, 6);
    canvas.Paint(4);
    CanvasPageContent content(canvas.plane, part, canvas.stamps, nullptr);
    SketchbookFile book(scratch.folder, "slate");
    ASSERT_TRUE(book.Open(1, &content));
    book.Close();
    // A blank page holds a fresh store.
    auto fresh = std::make_unique<MagicSlateStore>();
    fresh->Init();
    std::vector<uint8_t> freshBytes(kSlateStoredSize);
    FSMemory freshMemory(freshBytes.data(), kSlateStoredSize);
    ASSERT_TRUE(fresh->Write(freshMemory));
    EXPECT_EQ(std::string(freshBytes.begin(), freshBytes.end()),
              Bytes("slate").substr(1897 + 31916 + 8 * 6 * 6, kSlateStoredSize));

    ASSERT_TRUE(book.WritePage(content, 0));
    auto loadedStore = std::make_unique<MagicSlateStore>();
    loadedStore->Init();
    MagicSlatePart loadedPart(*loadedStore);
    TestCanvas loaded(8, 6);
    CanvasPageContent loadedContent(loaded.plane, loadedPart, loaded.stamps, nullptr);
    ASSERT_TRUE(book.LoadPage(loadedContent, 0));
    std::vector<uint8_t> a(kSlateStoredSize), b(kSlateStoredSize);
    FSMemory ma(a.data(), kSlateStoredSize), mb(b.data(), kSlateStoredSize);
    ASSERT_TRUE(store->Write(ma));
    ASSERT_TRUE(loadedStore->Write(mb));
    EXPECT_EQ(a, b);
    EXPECT_EQ(1, loadedStore->FrameState(1, 2));
    EXPECT_EQ(canvas.pixels[7].ColorWord(), loaded.pixels[7].ColorWord());

    // A damaged channel (channel 1's first point count, after channel 0's
    // five frames of 2068 bytes and its box) loses only itself: the page
    // still loads with its picture and the stamps stored after the slate.
    std::string bytes = Bytes("slate");
    size_t count = size_t(book.Slot(0).Start()) + 31916 + 8 * 6 * 6 + 5 * 2068 + 8 + 512 * 4;
    bytes[count] = bytes[count + 1] = 0x7F;
    book.Close();
    Put("slate", bytes);
    auto damagedStore = std::make_unique<MagicSlateStore>();
    damagedStore->Init();
    MagicSlatePart damagedPart(*damagedStore);
    TestCanvas damaged(8, 6);
    CanvasPageContent damagedContent(damaged.plane, damagedPart, damaged.stamps, nullptr);
    SketchbookFile reread(scratch.folder, "slate");
    EXPECT_TRUE(reread.LoadPage(damagedContent, 0));
    EXPECT_EQ(kSlateEmpty, damagedStore->FrameState(1, 2));
    EXPECT_EQ(canvas.pixels[7].ColorWord(), damaged.pixels[7].ColorWord());
    EXPECT_TRUE(damaged.stamps.places[3] == canvas.stamps.places[3]);
    EXPECT_EQ(canvas.stamps.sceneData[1], damaged.stamps.sceneData[1]);
    ClearPendingError();
}
