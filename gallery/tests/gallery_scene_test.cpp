// The gallery on a stage stepped by hand, with the program's data and real
// books in a scratch folder: the viewer, the bookcase, the drops between
// them checked in the files, new books, copies and help mode.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "book_fixture.h"
#include "engine/picture_loader.h"
#include "engine/picture_molecule.h"
#include "engine/script_file.h"
#include "engine/tests/built_data.h"
#include "framework/heap.h"
#include "gallery/book_list_panel.h"
#include "gallery/sketchbook_list.h"
#include "gallery/slideshow_panel.h"
#include "gallery/trash_panel.h"
#include "gallery/under_the_hood_scene.h"
#include "gallery/viewer_panel.h"
#include "media/picture_visual.h"
#include "shell/app.h"
#include "shell/menu_commands.h"
#include "shell/widgets/animated_button.h"
#include "stage_fixture.h"
#include "text/text_edits.h"

namespace {

std::vector<int16_t> shownAlerts;

void RecordAlert(int32_t, int16_t key, const char*) { shownAlerts.push_back(key); }

class GalleryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(OpenBuiltData()) << "run scripts/make-data.sh";
    }
    static void TearDownTestSuite()
    {
        DeleteAllPictureCollections();
        CloseAllScriptFiles();
    }

    GalleryTest()
        : stage(nullptr, Box{0, 0, 800, 600}, 32, new RecordingSound(&log), nullptr, nullptr,
                nullptr)
    {
        FakeClock::now = 1000;
        stage.SetClock(FakeClock::Now);
        stage.StartClock();
        gApp = &app;
        shownAlerts.clear();
        oldShow = SetGalleryAlertShow(RecordAlert);
    }
    ~GalleryTest() override
    {
        Leave();
        delete scene;
        app.SetSketchbookListForTest(nullptr);
        list.reset();
        SetGalleryAlertShow(oldShow);
        gApp = nullptr;
    }

    // Books of these page counts (pages named "b<book>p<page>"), the
    // current one and its current page.
    void MakeBooks(const std::vector<int>& pages, int current, int page)
    {
        static int sets = 0;
        std::string set = "set " + std::to_string(++sets);
        ASSERT_TRUE(FSCreateSubfolder(scratch.folder, set.c_str(), books));
        FSCreateSubfolder(books, "Corbeille", trashFolder);
        for (size_t b = 0; b < pages.size(); ++b) {
            std::string name = "carnet " + std::to_string(b);
            SketchbookFile book(books, name.c_str());
            book.SetCreationTime(int32_t(1000 + b));
            ASSERT_TRUE(book.Open(pages[b], &canvas.content));
            book.Close();
            for (int p = 0; p < pages[b]; ++p)
                book.EditPageInfo(p, [&](SketchbookPageInfo& info) {
                    std::snprintf(info.name, sizeof info.name, "b%dp%d", int(b), p);
                });
        }
        app.SetSketchbookListForTest(nullptr);
        list.reset(new MpSketchbookList(books, trashFolder, canvas.content));
        ASSERT_TRUE(list->ScanFolder());
        ASSERT_TRUE(list->SelectBook(current));
        app.SetSketchbookListForTest(list.get());
        app.SetCurrentPicture(int16_t(page));
    }
    void Enter()
    {
        scene = new KVXUnderTheHoodScene(&stage);
        stage.SetPendingScene(scene, nullptr, nullptr);
        Step(10);
    }
    void Leave()
    {
        if (scene && stage.Scene() == scene) {
            stage.SetPendingScene(nullptr, nullptr, nullptr);
            Step(10);
        }
    }
    void Step(int ms)
    {
        for (int t = 0; t < ms; t += 10) {
            FakeClock::now += 10;
            stage.ChangeSceneOrDispatch();
            stage.RunDueTasks();
        }
    }
    bool StepUntil(int ms, const std::function<bool()>& done)
    {
        for (int t = 0; t < ms && !done(); t += 10)
            Step(10);
        return done();
    }
    void Pointer(int x, int y, uint32_t flags)
    {
        MMStageEvent event = {kStageEventPointer, 0, stage.StageTime(), x, y, flags};
        stage.DispatchEvent(event);
    }
    // Press, a drag in steps, release; then the zoom runs out.
    void Drag(const Pair& from, const Pair& to)
    {
        Pointer(from.x, from.y, kPointerPressed | kPointerHeld);
        for (int i = 1; i <= 4; ++i)
            Pointer(from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4,
                    kPointerHeld);
        Pointer(to.x, to.y, kPointerReleased);
        Step(10);
        StepUntil(2000, [&] { return !scene->Zooming(); });
        Step(20);
    }
    Pair SlotCentre(int slot) const
    {
        Pair at = scene->Viewer()->SlotPosition(slot);
        return {at.x + 50, at.y + 40};
    }
    Pair EntryCentre(int entry) const
    {
        Box box = scene->BookList()->Entry(entry)->Visual()->GetBounds();
        return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    }
    // The names of a book's pages as its file holds them.
    std::string PageNames(int book)
    {
        SketchbookFile file(books, list->BookAt(book)->FileName());
        std::string names;
        if (!file.OpenExisting(true) || !file.ReadPageTable())
            return "?";
        for (int i = 0; i < file.PageCount(); ++i)
            names += (i ? " " : "") + std::string(file.PageName(i));
        file.Close();
        return names;
    }
    std::vector<int> ShownSlots() const
    {
        std::vector<int> shown;
        for (int i = 0; i < kViewerSlots; ++i)
            if (!scene->Viewer()->Slot(i)->IsHidden())
                shown.push_back(i);
        return shown;
    }

    AFHeap heap;
    KVXApp app{&heap, -1};
    CallLog log;
    MMStage stage;
    ScratchFolder scratch;
    FSDirectory books;
    FSDirectory trashFolder;
    TestCanvas canvas{8, 6};
    std::unique_ptr<MpSketchbookList> list;
    KVXUnderTheHoodScene* scene = nullptr;
    GalleryAlertShow oldShow = nullptr;
};

}  // namespace

TEST_F(GalleryTest, BeginBuildsTheButtonsAndPanelsAndLeavingKeepsThePage)
{
    MakeBooks({3}, 0, 1);
    Enter();
    for (int16_t key : {kGalleryBackToPainting, kGalleryPrint, kGalleryGarbageTruck,
                        kGalleryNewBook, kGalleryDuplicate})
        EXPECT_NE(nullptr, scene->Button(key)) << key;
    EXPECT_NE(nullptr, scene->HelpToggle());
    ASSERT_NE(nullptr, scene->Viewer());
    ASSERT_NE(nullptr, scene->BookList());
    EXPECT_TRUE(scene->ZoomFrame()->IsHidden());
    EXPECT_EQ((std::vector<int>{0, 1, 2}), ShownSlots());
    EXPECT_STREQ("b0p1", scene->Viewer()->NameEdit(1)->Text());
    EXPECT_EQ(scene->Viewer()->TitleEdit(), scene->Focus());
    EXPECT_EQ((Pair{437, 70}), scene->Viewer()->SelectionFrame()->Visual()->GetPosition());

    // A renamed page keeps its name in the file once the gallery ends.
    scene->Viewer()->NameEdit(2)->SetText("soleil");
    Leave();
    EXPECT_EQ("b0p0 b0p1 soleil", PageNames(0));
    EXPECT_EQ(1, app.CurrentPage());
}

TEST_F(GalleryTest, ViewerShowsNineOrScrollsAndKeepsTheColumn)
{
    struct Case {
        int pages, page;
        int first;
        bool up, down;
        size_t shown;
    } cases[] = {
        {9, 4, 0, false, false, 9},
        {10, 4, 0, false, true, 9},
        {22, 20, 12, true, true, 9},
        {22, 21, 15, true, false, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.pages) + " pages, page " + std::to_string(c.page));
        MakeBooks({c.pages}, 0, c.page);
        Enter();
        KVXUTHviewer* viewer = scene->Viewer();
        EXPECT_EQ(c.first, viewer->FirstShown());
        EXPECT_EQ(c.page, app.CurrentPage());
        EXPECT_EQ(c.up, viewer->UpArrow()->IsActive());
        EXPECT_EQ(c.down, viewer->DownArrow()->IsActive());
        EXPECT_EQ(c.shown, ShownSlots().size());
        EXPECT_STREQ(("b0p" + std::to_string(c.first)).c_str(), viewer->NameEdit(0)->Text());
        Leave();
        delete scene;
        scene = nullptr;
    }

    // Scrolling down with the current page in the first row keeps its column.
    MakeBooks({22}, 0, 0);
    Enter();
    scene->Viewer()->SelectSlot(1);
    ASSERT_EQ(1, app.CurrentPage());
    scene->Viewer()->ArrowDown();
    EXPECT_EQ(3, scene->Viewer()->FirstShown());
    EXPECT_EQ(4, app.CurrentPage());
    EXPECT_STREQ("b0p3", scene->Viewer()->NameEdit(0)->Text());
    EXPECT_EQ(scene->Viewer()->NameEdit(1), scene->Focus()) << "the current page's name";
}

// The open slideshow panel stands over the viewer: a page's thumbnail, name
// or selection frame under it neither shows through nor takes a click, and
// comes back once the panel closes.
TEST_F(GalleryTest, TheOpenSlideshowPanelCoversTheViewer)
{
    MakeBooks({9}, 0, 2);
    Enter();
    KVXUTHslideshow* panel = scene->Slideshow();
    ASSERT_NE(nullptr, panel);
    MMEnclosure* top = scene->TopEnclosure();
    auto centre = [](const Box& box) {
        return Pair{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    };
    // Every viewer visual whose middle lies on the board's picture, with its name.
    auto covered = [&] {
        std::vector<std::pair<std::string, MMVisual*>> visuals;
        KVXUTHviewer* viewer = scene->Viewer();
        for (int i = 0; i < kViewerSlots; ++i) {
            visuals.push_back({"slot " + std::to_string(i), viewer->Slot(i)->Visual()});
            visuals.push_back({"name " + std::to_string(i), viewer->NameEdit(i)->TextVisual()});
        }
        visuals.push_back({"selection frame", viewer->SelectionFrame()->Visual()});
        MMVisual* board = panel->Board()->Visual();
        std::vector<std::pair<std::string, MMVisual*>> under;
        for (auto& v : visuals) {
            Pair at = centre(v.second->GetBounds());
            if (!v.second->IsHidden() && board->ContainsPoint(at.x, at.y))
                under.push_back(v);
        }
        return under;
    };
    ASSERT_FALSE(panel->IsOpen());
    Box toggle = panel->Toggle()->Visual(0)->GetBounds();
    Pointer(centre(toggle).x, centre(toggle).y, 0);
    Pointer(centre(toggle).x, centre(toggle).y, kPointerPressed | kPointerHeld);
    Pointer(centre(toggle).x, centre(toggle).y, kPointerReleased);
    ASSERT_TRUE(StepUntil(2000, [&] { return panel->IsOpen(); }));
    auto under = covered();
    EXPECT_GE(under.size(), 5u) << "slots 1, 2, 4, 5, the frame and names lie under the board";
    for (auto& v : under)
        EXPECT_NE(v.second, top->FindVisualAt(centre(v.second->GetBounds()))) << v.first;

    panel->Close();
    Step(20);
    for (auto& v : under)
        if (v.first != "selection frame")
            EXPECT_EQ(v.second, top->FindVisualAt(centre(v.second->GetBounds()))) << v.first;
}

// The sunny frame of the chosen page lies on its thumbnail and covers its
// square corners: none of the page pokes out around it.
TEST_F(GalleryTest, TheChosenPagesFrameCoversItsThumbnailsCorners)
{
    MakeBooks({3}, 0, 1);
    Enter();
    KVXUTHviewer* viewer = scene->Viewer();
    auto* frame = dynamic_cast<MMPictureVisual*>(viewer->SelectionFrame()->Visual());
    ASSERT_NE(nullptr, frame);
    ASSERT_FALSE(frame->IsHidden());
    Box box = frame->GetBounds();
    EXPECT_EQ(viewer->Slot(viewer->CurrentSlot())->Visual()->GetBounds(), box);
    const MMPictureReference& picture = frame->GetPicture();
    for (Pair corner : {Pair{0, 0}, Pair{box.Width() - 1, 0}, Pair{0, box.Height() - 1},
                        Pair{box.Width() - 1, box.Height() - 1}})
        EXPECT_LT(picture.TransparencyAt(corner), 128) << corner.x << "," << corner.y;
}

// The board's arrows stand on the wall between the bookcase (its right edge
// at 192) and the board's frame (from 264), not half over the frame.
TEST_F(GalleryTest, TheBoardsArrowsStandBesideTheBoard)
{
    MakeBooks({12}, 0, 0);
    Enter();
    KVXUTHviewer* viewer = scene->Viewer();
    for (KVXAnimatedButtonMolecule* arrow : {viewer->UpArrow(), viewer->DownArrow()}) {
        ASSERT_NE(nullptr, arrow);
        Box box = arrow->Visual(0)->GetBounds();
        EXPECT_GE(box.left, 194) << box.top;
        EXPECT_LE(box.right, 262) << box.top;
    }
}

TEST_F(GalleryTest, BookcaseForOneFiveAndSixBooks)
{
    struct Case {
        int books, current;
        std::vector<int> shown;
        bool down;
    } cases[] = {
        {1, 0, {}, false},
        {5, 2, {0, 1, 3, 4}, false},
        {6, 0, {1, 2, 3, 4}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.books) + " books");
        MakeBooks(std::vector<int>(size_t(c.books), 1), c.current, 0);
        Enter();
        KVXUTHsketchbookList* column = scene->BookList();
        std::vector<int> shown;
        for (int i = 0; i < column->ShownCount(); ++i) {
            EXPECT_FALSE(column->Entry(i)->IsHidden());
            shown.push_back(column->BookOf(i));
        }
        EXPECT_EQ(c.shown, shown);
        EXPECT_FALSE(column->UpArrow()->IsActive());
        EXPECT_EQ(c.down, column->DownArrow()->IsActive());
        if (c.down) {
            column->ScrollDown();
            EXPECT_EQ(5, column->BookOf(3));
            EXPECT_TRUE(column->UpArrow()->IsActive());
            EXPECT_FALSE(column->DownArrow()->IsActive());
        }
        Leave();
        delete scene;
        scene = nullptr;
    }
}

TEST_F(GalleryTest, DropsByKindAndTargetOnRealBooks)
{
    MakeBooks({4, 2, 1}, 0, 0);
    Enter();
    // A page dragged behind the third goes there; the current page follows it.
    Drag(SlotCentre(0), Pair{SlotCentre(2).x + 60, SlotCentre(2).y});
    EXPECT_EQ("b0p1 b0p2 b0p0 b0p3", PageNames(0));
    EXPECT_EQ(2, app.CurrentPage());
    // Straight down out of the board onto nothing: refused, nothing moves.
    Drag(SlotCentre(3), Pair{SlotCentre(3).x, 560});
    EXPECT_EQ("b0p1 b0p2 b0p0 b0p3", PageNames(0));
    // The current page dropped on the second book's entry moves into it.
    ASSERT_EQ(1, scene->BookList()->BookOf(0));
    Drag(SlotCentre(2), EntryCentre(0));
    EXPECT_EQ("b0p1 b0p2 b0p3", PageNames(0));
    EXPECT_EQ("b1p0 b1p1 b0p0", PageNames(1));
    // A book dropped on the board opens it.
    Drag(EntryCentre(1), SlotCentre(4));
    EXPECT_EQ(2, list->CurrentBookIndex());
    EXPECT_EQ(0, app.CurrentPage());
    EXPECT_STREQ("b2p0", scene->Viewer()->NameEdit(0)->Text());
    // A book dropped on another book's entry is refused and shown again.
    Drag(EntryCentre(0), EntryCentre(1));
    EXPECT_EQ(2, list->CurrentBookIndex());
    EXPECT_FALSE(scene->BookList()->Entry(0)->IsHidden());
    EXPECT_NE(MM_NO_RESOURCE, scene->BookList()->Entry(0)->Visual()->NormalPicture().Id());
    EXPECT_TRUE(shownAlerts.empty());
}

TEST_F(GalleryTest, TrashedBooksAndPagesComeBackByKindAndTarget)
{
    MakeBooks({4, 2, 1}, 0, 0);
    Enter();
    scene->SetTrashOpen(true);
    MpUTHtrashContents& trash = *scene->Trash();
    Box panel = trash.PanelBox();
    const Pair inTrash = {(panel.left + panel.right) / 2, (panel.top + panel.bottom) / 2};
    // The slot that shows an item (its page name or book file), -1 none.
    auto slotOf = [&](const std::string& item) {
        for (int32_t i = 0; i < trash.Count(); ++i) {
            const TrashSlot& slot = trash.Contents().Slot(i);
            if ((slot.kind == 1 ? slot.fileName : slot.label) == item)
                return i;
        }
        return -1;
    };
    auto contents = [&] {
        std::string text;
        for (const char* item : {"b0p0", "b0p1", "carnet 2"})
            if (slotOf(item) >= 0)
                text += std::string(text.empty() ? "" : " ") + item;
        return text;
    };
    // Two pages and a book go in, in whatever second each lands.
    Drag(SlotCentre(0), inTrash);
    ASSERT_EQ(2, scene->BookList()->BookOf(1));
    Drag(EntryCentre(1), inTrash);
    Drag(SlotCentre(0), inTrash);
    ASSERT_EQ("b0p0 b0p1 carnet 2", contents());
    ASSERT_EQ("b0p2 b0p3", PageNames(0));
    ASSERT_EQ(2, list->BookCount());
    EXPECT_TRUE(FSFileExists(trashFolder, "carnet 2"));

    const Pair entry0 = EntryCentre(0);
    const Pair behindFirst = {SlotCentre(0).x + 60, SlotCentre(0).y};
    struct Case {
        const char* what;
        const char* item;
        Pair to;
        std::string left;  // in the trash afterwards
        std::string book0, book1;
        int32_t books;
    } cases[] = {
        {"a trashed page on the trash", "b0p1", inTrash, "b0p0 b0p1 carnet 2", "b0p2 b0p3",
         "b1p0 b1p1", 2},
        {"a trashed book on a book", "carnet 2", entry0, "b0p0 b0p1 carnet 2", "b0p2 b0p3",
         "b1p0 b1p1", 2},
        {"a trashed page on a book goes last", "b0p0", entry0, "b0p1 carnet 2", "b0p2 b0p3",
         "b1p0 b1p1 b0p0", 2},
        {"a trashed page into the board", "b0p1", behindFirst, "carnet 2", "b0p2 b0p1 b0p3",
         "b1p0 b1p1 b0p0", 2},
        {"a trashed book into the board opens it", "carnet 2", SlotCentre(1), "",
         "b0p2 b0p1 b0p3", "b1p0 b1p1 b0p0", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int32_t slot = slotOf(c.item);
        ASSERT_GE(slot, 0);
        Box from = trash.SlotButton(slot)->Visual()->GetBounds();
        Drag({(from.left + from.right) / 2, (from.top + from.bottom) / 2}, c.to);
        EXPECT_EQ(c.left, contents());
        EXPECT_EQ(c.books, list->BookCount());
        EXPECT_EQ(c.book0, PageNames(0));
        EXPECT_EQ(c.book1, PageNames(1));
        // What stays in the trash is shown where it was.
        for (int32_t i = 0; i < trash.Count(); ++i) {
            EXPECT_FALSE(trash.SlotButton(i)->Visual()->IsHidden()) << i;
            EXPECT_NE(MM_NO_RESOURCE, trash.SlotButton(i)->Visual()->NormalPicture().Id()) << i;
        }
    }
    EXPECT_EQ(0, list->TrashBook()->PageCount());
    EXPECT_FALSE(FSFileExists(trashFolder, "carnet 2"));
    EXPECT_TRUE(FSFileExists(books, "carnet 2"));
    EXPECT_STREQ("carnet 2", list->CurrentBook()->FileName());
    EXPECT_STREQ("b2p0", scene->Viewer()->NameEdit(0)->Text());
    EXPECT_TRUE(shownAlerts.empty());
}

TEST_F(GalleryTest, FullBooksTakeNoMorePagesButStillReorder)
{
    MakeBooks({kBookPageLimit, kBookPageLimit}, 0, 0);
    Enter();
    Drag(SlotCentre(0), Pair{SlotCentre(1).x + 60, SlotCentre(1).y});
    EXPECT_TRUE(shownAlerts.empty());
    EXPECT_EQ("b0p1 b0p0", PageNames(0).substr(0, 9));
    Drag(SlotCentre(0), EntryCentre(0));
    EXPECT_EQ((std::vector<int16_t>{kAlertBookFull}), shownAlerts);
    EXPECT_EQ(kBookPageLimit, list->PageCountOf(0));
    EXPECT_EQ(kBookPageLimit, list->PageCountOf(1));
}

TEST_F(GalleryTest, NewBookAndDuplicateAndHelpMode)
{
    MakeBooks({2}, 0, 1);
    Enter();
    scene->NewBook();
    EXPECT_TRUE(scene->Zooming());
    ASSERT_TRUE(StepUntil(2000, [&] { return !scene->Zooming(); }));
    ASSERT_EQ(2, list->BookCount());
    EXPECT_EQ(1, list->CurrentBookIndex());
    EXPECT_EQ(0, app.CurrentPage());
    ASSERT_EQ(1, scene->BookList()->ShownCount());
    EXPECT_EQ(0, scene->BookList()->BookOf(0));

    scene->SelectEntry(0);
    scene->Viewer()->SelectSlot(1);
    scene->DuplicatePage();
    EXPECT_EQ("b0p0 Copie 0 b0p1", PageNames(0));
    scene->DuplicatePage();
    EXPECT_EQ("b0p0 Copie 1 Copie 0 b0p1", PageNames(0));

    // In help mode the new book, the copy and the truck do nothing.
    scene->ToggleHelp();
    EXPECT_TRUE(scene->HelpMode());
    scene->NewBook();
    EXPECT_FALSE(scene->Zooming());
    scene->DuplicatePage();
    EXPECT_EQ("b0p0 Copie 1 Copie 0 b0p1", PageNames(0));
    scene->ToggleHelp();
    EXPECT_FALSE(scene->HelpMode());
}

TEST_F(GalleryTest, NoFiftyFirstBook)
{
    MakeBooks(std::vector<int>(kBookLimit, 1), 0, 0);
    Enter();
    scene->NewBook();
    EXPECT_FALSE(scene->Zooming());
    EXPECT_TRUE(scene->HandleMenuCommand(kMenuImport)) << "an old book would be a 51st";
    EXPECT_EQ((std::vector<int16_t>{kAlertNoMoreBooks, kAlertNoMoreBooks}), shownAlerts);
    EXPECT_EQ(kBookLimit, list->BookCount());
}

TEST_F(GalleryTest, DuplicateRefusesAFullBookAndMenuCommandsReachTheBase)
{
    MakeBooks({kBookPageLimit}, 0, 0);
    Enter();
    scene->DuplicatePage();
    EXPECT_EQ((std::vector<int16_t>{kAlertBookFull}), shownAlerts);
    EXPECT_EQ(kBookPageLimit, list->PageCountOf(0));
    EXPECT_TRUE(scene->HandleMenuCommand(kMenuPrinting));
    EXPECT_TRUE(scene->HandleMenuCommand(kMenuTrashCan));
    EXPECT_FALSE(scene->HandleMenuCommand(kMenuDuplicate)) << "the base handles it too";
}
