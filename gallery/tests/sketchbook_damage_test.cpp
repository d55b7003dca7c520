// Damaged and foreign files: listed as far as they are sound, other pages
// still load, and reading never changes a file.
#include <random>

#include "book_fixture.h"
#include "gallery/sketchbook_list.h"

namespace {

constexpr int32_t kRegion = 31916 + 52426 + 8 * 6 * 6;

// Three pages painted with seeds 1, 2, 3, in page order at 1897 + p x region.
std::string GoodBook(const FSDirectory& folder)
{
    TestCanvas canvas(8, 6);
    {
        SketchbookFile book(folder, "good");
        book.Open(0, &canvas.content);
        for (int p = 0; p < 3; ++p) {
            canvas.Paint(p + 1);
            book.AddPage(canvas.content);
        }
        book.Close();
    }
    // Give the pages their painted contents in place.
    std::string bytes;
    FILE* file = std::fopen((std::string(folder.Path()) + "good").c_str(), "rb");
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, n);
    std::fclose(file);
    for (int p = 0; p < 3; ++p) {
        canvas.Paint(p + 1);
        uint8_t page[kRegion - 31916];
        FSMemory memory(page, sizeof page);
        canvas.content.Write(memory);
        bytes.replace(1897 + p * kRegion + 31916, sizeof page,
                      std::string(reinterpret_cast<char*>(page), sizeof page));
    }
    return bytes;
}

struct DamageCase {
    const char* what;
    void (*damage)(std::string& bytes);
    bool isBook;
    int32_t pages;
    std::vector<int> loads;      // pages that load with their own contents
    std::vector<int> damaged;
};

const DamageCase kCases[] = {
    {"cut in the header", [](std::string& b) { b.resize(30); }, false, 0, {}, {}},
    {"cut in the table", [](std::string& b) { b.resize(1000); }, false, 0, {}, {}},
    {"cut in the last page", [](std::string& b) { b.resize(1897 + 2 * kRegion + 500); },
     true, 3, {0, 1}, {2}},
    {"cut in a thumbnail", [](std::string& b) { b.resize(1897 + kRegion + 20); },
     true, 3, {0}, {1, 2}},
    {"another signature", [](std::string& b) { b[3] = 'X'; }, false, 0, {}, {}},
    {"position 0", [](std::string& b) { PutLong(b, SlotAt(1), 0); }, false, 0, {}, {}},
    {"region inside the table", [](std::string& b) { PutLong(b, SlotAt(1), 1000); },
     false, 0, {}, {}},
    {"position far past the end", [](std::string& b) { PutLong(b, SlotAt(1), 0x7FFFFF00); },
     true, 3, {0, 2}, {1}},
    {"overlapping regions",
     [](std::string& b) { PutLong(b, SlotAt(2), 1897 + kRegion + 100); }, true, 3, {0}, {1, 2}},
    {"released region overlapping a page",
     [](std::string& b) {
         PutLong(b, SlotAt(3), -(1897 + 2 * kRegion + 8));
         PutLong(b, SlotAt(3) + 4, 52426 + 288);
     },
     true, 3, {0, 1}, {2}},
    {"allotment of no canvas", [](std::string& b) { PutLong(b, SlotAt(0) + 4, 52427); },
     false, 0, {}, {}},
    {"allotment of another canvas",
     [](std::string& b) { PutLong(b, SlotAt(0) + 4, 52426 + 6 * 40); }, true, 3, {1, 2}, {}},
    {"name without NUL", [](std::string& b) { b.replace(SlotAt(1) + 8, 17, 17, 'n'); },
     true, 3, {0, 1, 2}, {}},
    {"used slots after unused ones",
     [](std::string& b) {
         std::string slot0 = b.substr(SlotAt(0), 37);
         b.replace(SlotAt(0), 37, b.substr(SlotAt(10), 37));
         b.replace(SlotAt(10), 37, slot0);
     },
     true, 3, {}, {}},
    {"an old book: 68-byte slots from 3447",
     [](std::string& b) {
         std::string table(50 * 68, '\0');
         for (int i = 0; i < 50; ++i) {
             int32_t position = i < 2 ? 3447 + i * (31916 + 715288) : -1;
             int32_t allotment = i < 2 ? 715288 : 0;
             std::memcpy(&table[i * 68], &position, 4);
             std::memcpy(&table[i * 68 + 4], &allotment, 4);
             table[i * 68 + 8] = ' ';
             table[i * 68 + 25] = ' ';
         }
         b = b.substr(0, 47) + table + std::string(2 * (31916 + 715288), '\0');
     },
     false, 0, {}, {}},
};

}  // namespace

TEST_F(BookTest, DamageTable)
{
    std::string good = GoodBook(scratch.folder);
    for (const DamageCase& c : kCases) {
        SCOPED_TRACE(c.what);
        std::string bytes = good;
        c.damage(bytes);
        Put("good", bytes);
        SketchbookFile book(scratch.folder, "good");
        EXPECT_EQ(c.isBook, book.ReadPageTable());
        EXPECT_EQ(c.pages, book.PageCount());
        for (int p : c.loads) {
            TestCanvas loaded(8, 6), painted(8, 6);
            painted.Paint(p + 1);
            EXPECT_TRUE(book.LoadPage(loaded.content, p) && loaded.SameAs(painted)) << p;
            EXPECT_NE(nullptr, book.ReadThumbnail(p));
        }
        for (int p : c.damaged) {
            TestCanvas loaded(8, 6);
            EXPECT_TRUE(book.IsDamaged(p)) << p;
            ClearGalleryAlert();
            EXPECT_FALSE(book.LoadPage(loaded.content, p)) << p;
            EXPECT_EQ(kAlertReadFailed, LastGalleryAlert());
            EXPECT_EQ(nullptr, book.ReadThumbnail(p));
        }
        if (std::string(c.what) == "name without NUL") {
            EXPECT_EQ(std::string(16, 'n'), book.PageName(1));
        }
        if (std::string(c.what) == "used slots after unused ones") {
            EXPECT_EQ(std::string("Page 1"), book.PageName(0));
        }
        if (!c.isBook) {
            TestCanvas canvas(8, 6);
            EXPECT_FALSE(book.AddPage(canvas.content));
            EXPECT_FALSE(book.WritePage(canvas.content, 0));
            EXPECT_FALSE(book.RemovePage(0));
        }
        EXPECT_EQ(bytes, Bytes("good"));
    }
}

TEST_F(BookTest, DamagedRegionsAreNeverReusedCopiedOrReleased)
{
    std::string bytes = GoodBook(scratch.folder);
    PutLong(bytes, SlotAt(2), 1897 + kRegion + 100);  // pages 1 and 2 overlap
    Put("good", bytes);
    SketchbookFile book(scratch.folder, "good");
    TestCanvas canvas(8, 6);
    canvas.Paint(40);
    EXPECT_FALSE(book.WritePage(canvas.content, 1));
    ASSERT_TRUE(book.RemovePage(1));  // forgotten, not released
    EXPECT_EQ(2, book.PageCount());
    ASSERT_TRUE(book.AddPage(canvas.content));
    EXPECT_GE(book.Slot(2).position, int32_t(bytes.size()));
    // With the forgotten region gone, the old page 2 overlaps nothing now.
    EXPECT_FALSE(book.IsDamaged(1));
}

TEST_F(BookTest, SeededFuzzingNeverCrashesOrWritesWhileReading)
{
    std::string good = GoodBook(scratch.folder);
    std::mt19937 random(1234);
    for (int round = 0; round < 150; ++round) {
        std::string bytes = good;
        int changes = 1 + int(random() % 8);
        for (int k = 0; k < changes; ++k) {
            size_t at = random() % 2 == 0 ? random() % 1897 : random() % bytes.size();
            bytes[at] = char(random());
        }
        if (random() % 4 == 0)
            bytes.resize(random() % bytes.size());
        Put("good", bytes);
        SketchbookFile book(scratch.folder, "good");
        book.ReadPageTable();
        for (int p = 0; p < book.PageCount(); ++p) {
            TestCanvas loaded(8, 6);
            book.LoadPage(loaded.content, p);
            book.ReadThumbnail(p);
        }
        ASSERT_EQ(bytes, Bytes("good")) << round;
    }
}

TEST_F(BookTest, AFailingWriteLeavesEarlierPagesIntact)
{
    std::string good = GoodBook(scratch.folder);
    TestCanvas canvas(8, 6);
    canvas.Paint(50);
    for (int writer = 0; writer < 2; ++writer) {
        for (int n = 1;; ++n) {
            SCOPED_TRACE(std::to_string(writer) + " write " + std::to_string(n));
            Put("good", good);
            SketchbookFile book(scratch.folder, "good");
            ASSERT_TRUE(book.ReadPageTable());
            SketchbookStream::FailWrite(n);
            bool done = writer == 0 ? book.WritePage(canvas.content, 1) : book.AddPage(canvas.content);
            bool failed = !done;
            SketchbookStream::FailWrite(0);
            SketchbookFile reread(scratch.folder, "good");
            ASSERT_TRUE(reread.ReadPageTable());
            for (int p = 0; p < 3; ++p) {
                TestCanvas loaded(8, 6), painted(8, 6);
                painted.Paint(writer == 0 && p == 1 && !failed ? 50 : p + 1);
                EXPECT_TRUE(reread.LoadPage(loaded.content, p) && loaded.SameAs(painted)) << p;
            }
            EXPECT_EQ(failed ? 3 : (writer == 0 ? 3 : 4), reread.PageCount());
            if (!failed)
                break;
            EXPECT_EQ(kAlertWriteFailed, LastGalleryAlert());
            ASSERT_LT(n, 100);
        }
    }
}

TEST_F(BookTest, FailingCopiesAndCompactionsLoseNothing)
{
    std::string good = GoodBook(scratch.folder);
    TestCanvas blank(8, 6);
    FSDirectory trashFolder;
    FSCreateSubfolder(scratch.folder, "Corbeille", trashFolder);
    auto holds = [](SketchbookFile& book, int32_t page, uint32_t seed) {
        TestCanvas loaded(8, 6), painted(8, 6);
        painted.Paint(seed);
        return book.LoadPage(loaded.content, page) && loaded.SameAs(painted);
    };
    for (int n = 1;; ++n) {
        SCOPED_TRACE("copy, write " + std::to_string(n));
        Put("good", good);
        FSDeleteFile(scratch.folder, "other");
        {
            SketchbookFile other(scratch.folder, "other");
            other.SetCreationTime(int32_t(0x7FFFFFF0));
            ASSERT_TRUE(other.Open(1, &blank.content));
            other.Close();
        }
        MpSketchbookList list(scratch.folder, trashFolder, blank.content);
        ASSERT_TRUE(list.ScanFolder());
        ASSERT_EQ(2, list.BookCount());
        SketchbookFile& source = *list.BookAt(0);
        SketchbookFile& destination = *list.BookAt(1);
        SketchbookStream::FailWrite(n);
        bool moved = list.MovePage(destination, source, 1);
        SketchbookStream::FailWrite(0);
        SketchbookFile goodAgain(scratch.folder, "good"), otherAgain(scratch.folder, "other");
        ASSERT_TRUE(goodAgain.ReadPageTable() && otherAgain.ReadPageTable());
        // Page 1 is somewhere whole, the others never moved.
        bool inSource = goodAgain.PageCount() == 3 && holds(goodAgain, 1, 2);
        bool inDestination = otherAgain.PageCount() == 2 && holds(otherAgain, 1, 2);
        EXPECT_TRUE(inSource || inDestination);
        EXPECT_TRUE(holds(goodAgain, 0, 1));
        EXPECT_TRUE(holds(goodAgain, goodAgain.PageCount() - 1, 3));
        if (moved) {
            EXPECT_TRUE(inDestination);
            EXPECT_EQ(2, goodAgain.PageCount());
            break;
        }
        ASSERT_LT(n, 100);
    }
    FSDeleteFile(scratch.folder, "other");
    for (int n = 1;; ++n) {
        SCOPED_TRACE("compaction, write " + std::to_string(n));
        Put("good", good);
        SketchbookFile book(scratch.folder, "good");
        ASSERT_TRUE(book.RemovePage(0));
        SketchbookStream::FailWrite(n);
        bool compacted = book.Compact();
        SketchbookStream::FailWrite(0);
        SketchbookFile reread(scratch.folder, "good");
        ASSERT_TRUE(reread.ReadPageTable());
        ASSERT_EQ(2, reread.PageCount());
        EXPECT_TRUE(holds(reread, 0, 2));
        EXPECT_TRUE(holds(reread, 1, 3));
        if (compacted) {
            EXPECT_EQ(size_t(1897 + 2 * kRegion), Bytes("good").size());
            break;
        }
        ASSERT_LT(n, 100);
    }
}
