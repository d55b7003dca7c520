#include <ctime>

#include "book_fixture.h"
#include "gallery/sketchbook_list.h"

namespace {

class ListTest : public BookTest {
protected:
    void SetUp() override
    {
        BookTest::SetUp();
        FSCreateSubfolder(scratch.folder, "Corbeille", trashFolder);
    }
    std::string TrashBytes(const char* name) const
    {
        FILE* file = std::fopen((std::string(trashFolder.Path()) + name).c_str(), "rb");
        std::string bytes;
        if (file == nullptr)
            return bytes;
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, n);
        std::fclose(file);
        return bytes;
    }
    // A book of `pages` blank pages made at `time`.
    void MakeBook(const char* name, int pages, int32_t time)
    {
        SketchbookFile book(scratch.folder, name);
        book.SetCreationTime(time);
        ASSERT_TRUE(book.Open(pages, &canvas.content));
        book.Close();
    }

    FSDirectory trashFolder;
    TestCanvas canvas{8, 6};
};

}  // namespace

TEST_F(ListTest, AnEmptyFolderGetsOneNewBook)
{
    MpSketchbookList list(scratch.folder, trashFolder, canvas.content);
    EXPECT_TRUE(list.IsStarting());
    ASSERT_TRUE(list.ScanFolder());
    EXPECT_FALSE(list.IsStarting());
    ASSERT_EQ(1, list.BookCount());
    EXPECT_EQ(0, list.CurrentBookIndex());
    EXPECT_STREQ("carnet 0", list.BookAt(0)->FileName());
    EXPECT_STREQ("Carnet 0", list.BookName(0));
    EXPECT_EQ(1, list.PageCountOf(0));
    EXPECT_EQ(nullptr, list.BookName(-1));
    EXPECT_EQ(1897u, TrashBytes("trash.img").size());
    EXPECT_EQ(1897u, Bytes("cache.img").size());
    EXPECT_EQ(std::string("trash.img"), list.TrashBook()->BookName());
}

TEST_F(ListTest, OnlySoundBooksAreListedOldestFirstAndNoMoreThan50)
{
    MakeBook("b", 1, 300);
    MakeBook("a", 2, 200);
    Put("text.txt", "Tavelo Quillmark v1.0 but not a book");
    std::string old = Bytes("a");
    PutLong(old, SlotAt(1), 32);  // what an old book's slots look like read as new ones
    Put("old", old);
    FSDirectory sub;
    FSCreateSubfolder(scratch.folder, "folder", sub);
    MakeBook("cache.img", 1, 1);
    MakeBook("half.new", 1, 1);
    MpSketchbookList list(scratch.folder, trashFolder, canvas.content);
    ASSERT_TRUE(list.ScanFolder());
    ASSERT_EQ(2, list.BookCount());
    EXPECT_STREQ("a", list.BookAt(0)->FileName());
    EXPECT_STREQ("b", list.BookAt(1)->FileName());
    EXPECT_EQ(2, list.PageCountOf(0));

    std::string one = Bytes("b");
    for (int i = 0; i < 50; ++i)
        Put(("copy " + std::to_string(i)).c_str(), one);
    MpSketchbookList full(scratch.folder, trashFolder, canvas.content);
    ASSERT_TRUE(full.ScanFolder());
    EXPECT_EQ(50, full.BookCount());
    EXPECT_FALSE(full.CreateBook());
    EXPECT_EQ(50, full.BookCount());
}

TEST_F(ListTest, PagesMoveThroughTheTrashAndEmptyBooksGo)
{
    MakeBook("a", 2, 100);
    MakeBook("b", 1, 200);
    MpSketchbookList list(scratch.folder, trashFolder, canvas.content);
    ASSERT_TRUE(list.ScanFolder());
    ASSERT_TRUE(list.SetPageName(0, 1, "Mon chat"));
    list.SetCurrentPage(1);

    int32_t trashIndex = -1;
    int32_t before = int32_t(std::time(nullptr));
    ASSERT_TRUE(list.TrashPage(1, trashIndex));
    EXPECT_EQ(0, trashIndex);
    EXPECT_EQ(0, list.CurrentPage());
    EXPECT_EQ(1, list.PageCountOf(0));
    EXPECT_STREQ("Mon chat", list.TrashPageName(0));
    int32_t times[3];
    list.TrashPageTimes(times);
    EXPECT_GE(times[0], before);
    EXPECT_EQ(0, times[1]);

    // Back into book b, before its first page.
    ASSERT_TRUE(list.RestorePage(1, 0, 0));
    EXPECT_EQ(2, list.PageCountOf(1));
    EXPECT_STREQ("Mon chat", list.BookAt(1)->PageName(0));
    EXPECT_EQ(0, list.BookAt(1)->Slot(0).info.mark);
    // The trash book, left empty, is made again.
    EXPECT_EQ(1897u, TrashBytes("trash.img").size());

    // The last page of book a leaves: the book and its file go.
    ASSERT_TRUE(list.SelectBook(0));
    bool emptied = false;
    ASSERT_TRUE(list.MovePage(*list.BookAt(1), *list.BookAt(0), 0, &emptied));
    EXPECT_TRUE(emptied);
    EXPECT_FALSE(FSFileExists(scratch.folder, "a"));
    ASSERT_EQ(1, list.BookCount());
    EXPECT_EQ(0, list.CurrentBookIndex());
    EXPECT_EQ(3, list.PageCountOf(0));
}

TEST_F(ListTest, MovesRefusedAsPinned)
{
    MakeBook("a", 2, 100);
    MakeBook("full", 50, 200);
    MpSketchbookList list(scratch.folder, trashFolder, canvas.content);
    ASSERT_TRUE(list.ScanFolder());
    std::string a = Bytes("a"), full = Bytes("full");
    ClearGalleryAlert();
    EXPECT_FALSE(list.MovePageBetweenBooks(1, 0, 0));
    EXPECT_EQ(kAlertBookFull, LastGalleryAlert());
    ClearGalleryAlert();
    EXPECT_FALSE(list.MovePageBetweenBooks(0, 1, 50));
    EXPECT_EQ(kAlertBookFull, LastGalleryAlert());
    EXPECT_FALSE(list.MovePageBetweenBooks(1, 0, 2));
    EXPECT_EQ(a, Bytes("a"));
    EXPECT_EQ(full, Bytes("full"));
}

TEST_F(ListTest, ABookTrashedAndRestoredKeepsItsPagesAndTime)
{
    MakeBook("a", 3, 100);
    MakeBook("b", 1, 200);
    MpSketchbookList list(scratch.folder, trashFolder, canvas.content);
    ASSERT_TRUE(list.ScanFolder());
    std::string bytes = Bytes("a");
    int32_t before = int32_t(std::time(nullptr)) - 2;
    ASSERT_TRUE(list.MoveBookToTrash(0));
    EXPECT_EQ(1, list.BookCount());
    EXPECT_EQ(-1, list.CurrentBookIndex());
    TrashedBookRecord records[3];
    ASSERT_EQ(1, list.ListTrashFolder(records));
    EXPECT_STREQ("a", records[0].fileName);
    EXPECT_STREQ("Carnet ", records[0].bookName);
    EXPECT_EQ(100, records[0].creationTime);
    EXPECT_GE(records[0].movedTime, before);

    EXPECT_EQ(1, list.RestoreBook("a"));
    EXPECT_EQ(bytes, Bytes("a"));
    EXPECT_EQ(3, list.PageCountOf(1));
    EXPECT_EQ(100, list.BookAt(1)->CreationTime());
    EXPECT_EQ(-1, list.RestoreBook("a"));
    EXPECT_EQ(0, list.ListTrashFolder(records));
}

TEST_F(ListTest, LeavingTheCreationSceneWritesTheCurrentPageOnlyWithAutoSave)
{
    MakeBook("a", 3, 100);
    MpSketchbookList list(scratch.folder, trashFolder, canvas.content);
    ASSERT_TRUE(list.ScanFolder());
    list.SetCurrentPage(2);
    for (bool autoSave : {false, true}) {
        SCOPED_TRACE(autoSave);
        TestCanvas painted(8, 6);
        painted.Paint(autoSave ? 21 : 20);
        EXPECT_TRUE(list.LeaveCreationScene(painted.content, painted.plane, autoSave));
        EXPECT_EQ(kBlankPixel.ColorWord(), painted.pixels[5].ColorWord());
        TestCanvas loaded(8, 6), expected(8, 6);
        expected.Paint(21);
        ASSERT_TRUE(list.CurrentBook()->LoadPage(loaded.content, 2));
        EXPECT_EQ(autoSave, loaded.SameAs(expected));
        ASSERT_TRUE(list.CurrentBook()->LoadPage(loaded.content, 0));
        EXPECT_FALSE(loaded.SameAs(expected));
    }
}

TEST_F(ListTest, PageValues)
{
    MakeBook("a", 2, 100);
    MpSketchbookList list(scratch.folder, trashFolder, canvas.content);
    ASSERT_TRUE(list.ScanFolder());
    EXPECT_EQ(2, list.GetPageDelay(0, 1));
    EXPECT_EQ(0, list.GetPageDelay(0, 5));
    EXPECT_TRUE(list.SetPageDelay(0, 1, 5));
    EXPECT_TRUE(list.SetPageTransition(0, 1, 7));
    EXPECT_TRUE(list.MarkPageModified(0, 1));
    list.SetCurrentPage(1);
    EXPECT_TRUE(list.CurrentPageModified());
    EXPECT_TRUE(list.ClearPageModified(0, 1));
    EXPECT_FALSE(list.IsPageModified(0, 1));
    EXPECT_TRUE(list.UpdatePageGenre(3, false));
    EXPECT_FALSE(list.UpdatePageGenre(4, false));
    EXPECT_FALSE(list.UpdatePageGenre(-1, true));
    EXPECT_TRUE(list.UpdatePageGenre(4, true));
    MpSketchbookList again(scratch.folder, trashFolder, canvas.content);
    ASSERT_TRUE(again.ScanFolder());
    EXPECT_EQ(5, again.GetPageDelay(0, 1));
    EXPECT_EQ(7, again.GetPageTransition(0, 1));
    EXPECT_EQ(4, again.GetPageMusic(0, 1));
    EXPECT_FALSE(list.SetPageMusic(0, 2, 1));
}
