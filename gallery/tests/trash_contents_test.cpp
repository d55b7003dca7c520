#include <windows.h>

#include <memory>

#include "book_fixture.h"
#include "gallery/sketchbook_list.h"
#include "gallery/trash_contents.h"

namespace {

class TrashTest : public BookTest {
protected:
    void SetUp() override
    {
        BookTest::SetUp();
        FSCreateSubfolder(scratch.folder, "Corbeille", trashFolder);
        listHolder.reset(new MpSketchbookList(scratch.folder, trashFolder, canvas.content));
        trashHolder.reset(new TrashContents(*listHolder));
        for (const char* name : {"a", "b"}) {
            SketchbookFile book(scratch.folder, name);
            book.SetCreationTime(name[0] == 'a' ? 100 : 200);
            ASSERT_TRUE(book.Open(4, &canvas.content));
            book.Close();
        }
        ASSERT_TRUE(listHolder->ScanFolder());
        ASSERT_EQ(2, listHolder->BookCount());
        // Each name tells its page.
        for (int p = 0; p < 4; ++p)
            listHolder->SetPageName(0, p, ("a" + std::to_string(p)).c_str());
    }
    // "book:FILE" or "page:NAME" of each slot.
    std::string Slots()
    {
        TrashContents& trash = *trashHolder;
        std::string text;
        for (int32_t i = 0; i < trash.Count(); ++i)
            text += (i ? " " : "") + (trash.Slot(i).kind == 1 ? "book:" + trash.Slot(i).fileName
                                                              : "page:" + trash.Slot(i).label);
        return text;
    }
    bool InTrashFolder(const char* name) { return FSFileExists(trashFolder, name); }
    // Trash times are whole seconds: each throw gets a second of its own.
    void NextSecond() { Sleep(1100); }

    FSDirectory trashFolder;
    TestCanvas canvas{8, 6};
    std::unique_ptr<MpSketchbookList> listHolder;
    std::unique_ptr<TrashContents> trashHolder;
};

}  // namespace

TEST_F(TrashTest, DropsByKindOnRealBooks)
{
    MpSketchbookList& list = *listHolder;
    TrashContents& trash = *trashHolder;
    trash.Refresh();
    EXPECT_EQ(0, trash.Count());

    // Unarmed, or armed by another kind: refused, nothing moves.
    EXPECT_FALSE(trash.Drop(2, true));
    EXPECT_FALSE(trash.PerformDrop(0, 0));
    EXPECT_TRUE(trash.DragOver(1, true));
    EXPECT_FALSE(trash.Drop(2, true));
    EXPECT_EQ(0, trash.Armed());
    // Trashed items dropped on the trash: refused and disarmed.
    EXPECT_TRUE(trash.DragOver(2, true));
    EXPECT_FALSE(trash.Drop(4, true));
    EXPECT_EQ(0, trash.Armed());
    // Leaving disarms.
    EXPECT_TRUE(trash.DragOver(2, true));
    EXPECT_FALSE(trash.DragOver(2, false));
    EXPECT_EQ(4, list.PageCountOf(0));

    // A page, a book, a page.
    EXPECT_TRUE(trash.DragOver(2, true));
    ASSERT_TRUE(trash.Drop(2, true));
    ASSERT_TRUE(trash.PerformDrop(-1, 0));
    EXPECT_EQ(3, list.PageCountOf(0));
    EXPECT_EQ(1, list.TrashBook()->PageCount());
    NextSecond();
    EXPECT_TRUE(trash.DragOver(1, true));
    ASSERT_TRUE(trash.Drop(1, true));
    ASSERT_TRUE(trash.PerformDrop(1, -1));
    EXPECT_EQ(1, list.BookCount());
    EXPECT_TRUE(InTrashFolder("b"));
    EXPECT_FALSE(FSFileExists(scratch.folder, "b"));
    NextSecond();
    ASSERT_TRUE(trash.ThrowPage(0));
    EXPECT_EQ("page:a0 book:b page:a1", Slots());

    // A fourth item: the oldest goes for good once the new one is in.
    NextSecond();
    ASSERT_TRUE(trash.ThrowPage(0));
    EXPECT_EQ("book:b page:a1 page:a2", Slots());
    EXPECT_EQ(2, list.TrashBook()->PageCount());
    EXPECT_EQ(1, list.PageCountOf(0));

    // A move that fails deletes nothing: a book of that name is already in
    // the trash folder.
    scratch.WriteFile("a", "not a book", &trashFolder);
    EXPECT_FALSE(trash.ThrowBook(0));
    EXPECT_EQ("book:b page:a1 page:a2", Slots());
    EXPECT_TRUE(InTrashFolder("b"));
    FSDeleteFile(trashFolder, "a");

    // Back out: the book, then a page at the front of the current book.
    EXPECT_EQ(1, trash.RestoreBook(0));
    EXPECT_EQ(2, list.BookCount());
    EXPECT_FALSE(InTrashFolder("b"));
    EXPECT_EQ("page:a1 page:a2", Slots());
    ASSERT_TRUE(trash.RestorePage(1, 0, 0));
    EXPECT_STREQ("a2", list.BookAt(0)->PageName(0));
    EXPECT_EQ("page:a1", Slots());

    // The garbage truck: the trash book starts again empty.
    trash.Empty();
    EXPECT_EQ(0, trash.Count());
    int32_t size = 0;
    EXPECT_TRUE(FSGetFileSize(trashFolder, "trash.img", size));
    EXPECT_EQ(1897, size);
}
