// The real atelier.exe from the painting screen to the gallery and back,
// driven with real pointer input and read back from the screen and the
// book files: a copy of a page goes to the trash and back, and the book
// plays as a slideshow to its end.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "atelier_driver.h"
#include "engine/record_table.h"
#include "framework/heap.h"
#include "gallery/sketchbook_file.h"
#include "shell_fixture.h"

namespace {

// The middle of a button: its script's first placed visual (opcode 6, x and
// y at 6 and 8) plus half a 64-pixel button.
Pair ButtonMiddle(const MMRecordTable& layout, int16_t key)
{
    int32_t row = layout.FindRowByKey(key);
    if (row < 0)
        return {-1, -1};
    MMRecordTable script;
    script.Load(layout.LongAt(row, 2), 10, gDefaultHeap);
    for (int32_t r = 0; r < script.RowCount(); ++r)
        if (script.ShortAt(r, 0) == 6)
            return {script.ShortAt(r, 6) + 32, script.ShortAt(r, 8) + 32};
    return {-1, -1};
}

struct Places {
    Box canvas;
    Pair toGallery;  // the painting screen's sketchbook button
    Pair back;       // the gallery's way back to painting
    Pair exit;
    Pair firstSlot;  // the middle of the board's first thumbnail
    Pair secondSlot;
    Pair duplicate;
    Pair trash;      // the trash's toggle
    Pair slideshow;  // the slideshow panel's toggle
    Pair play;       // the panel's play button
};

bool ReadPlaces(Places& out)
{
    if (!OpenBuiltData())
        return false;
    MMRecordTable creation;
    creation.LoadTenByteRows(734, 66);
    out.canvas = creation.RectAt(0, 2);
    out.toGallery = ButtonMiddle(creation, 64);
    MMRecordTable gallery;
    gallery.LoadTenByteRows(743, 0);
    out.back = ButtonMiddle(gallery, 2);
    out.exit = ButtonMiddle(gallery, 3);
    Pair slot = gallery.PairAt(gallery.FindRowByKey(24), 2);
    out.firstSlot = {slot.x + 50, slot.y + 40};
    slot = gallery.PairAt(gallery.FindRowByKey(25), 2);
    out.secondSlot = {slot.x + 50, slot.y + 40};
    out.duplicate = ButtonMiddle(gallery, 17);
    out.trash = ButtonMiddle(gallery, 22);
    MMRecordTable panel;
    panel.Load(754, 28, gDefaultHeap);
    out.slideshow = ButtonMiddle(panel, 12);
    Pair play = panel.PairAt(panel.FindRowByKey(15), 2);
    out.play = {play.x + 24, play.y + 24};  // a 48-pixel round button
    CloseBuiltData();
    return out.toGallery.x > 0 && out.back.x > 0 && out.exit.x > 0 && out.duplicate.x > 0 &&
           out.trash.x > 0 && out.slideshow.x > 0 && out.play.x > 24;
}

// The pages of the program's one book (in its books folder, beside
// cache.img) and of its trash book; -1 while a file cannot be read.
struct Books {
    FSDirectory books, trash;
    explicit Books(const std::string& program)
        : books((program + "Carnets\\").c_str()), trash((program + "Corbeille\\").c_str())
    {
    }
    static int32_t PagesOf(const FSDirectory& folder, const char* name)
    {
        SketchbookFile book(folder, name);
        int32_t pages = book.OpenExisting(true) && book.ReadPageTable() ? book.PageCount() : -1;
        book.Close();
        return pages;
    }
    std::string BookName() const
    {
        WIN32_FIND_DATAA found;
        HANDLE walk = FindFirstFileA((std::string(books.Path()) + "*").c_str(), &found);
        std::string name;
        if (walk == INVALID_HANDLE_VALUE)
            return name;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                lstrcmpiA(found.cFileName, "cache.img") != 0)
                name = found.cFileName;
        } while (FindNextFileA(walk, &found));
        FindClose(walk);
        return name;
    }
    int32_t BookPages() const { return PagesOf(books, BookName().c_str()); }
    int32_t TrashPages() const { return PagesOf(trash, "trash.img"); }
};

// The slideshow ends after its last page only when it does not loop; the
// prefix's setting is put back afterwards.
struct LoopOff {
    HKEY key = nullptr;
    DWORD old = 0;
    bool had = false;
    LoopOff()
    {
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, SettingsKeyPath(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        DWORD size = sizeof old;
        had = RegQueryValueExA(key, "Loop", nullptr, nullptr, reinterpret_cast<BYTE*>(&old),
                               &size) == ERROR_SUCCESS;
        DWORD off = 0;
        RegSetValueExA(key, "Loop", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&off), sizeof off);
    }
    ~LoopOff()
    {
        if (!key)
            return;
        if (had)
            RegSetValueExA(key, "Loop", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old),
                           sizeof old);
        else
            RegDeleteValueA(key, "Loop");
        RegCloseKey(key);
    }
};

bool IsBlack(COLORREF c) { return GetRValue(c) < 16 && GetGValue(c) < 16 && GetBValue(c) < 16; }
// The gallery's felt board: purple.
bool IsFelt(COLORREF c) { return GetBValue(c) > GetGValue(c) + 50 && GetRValue(c) > GetGValue(c); }

}  // namespace

TEST(GalleryRun, FromPaintingToTheGalleryAndBack)
{
    Places places;
    ASSERT_TRUE(ReadPlaces(places));
    ProgramCopy copy("atelier_gallery");
    LoopOff loopOff;
    Pair middle = {(places.canvas.left + places.canvas.right) / 2,
                   (places.canvas.top + places.canvas.bottom) / 2};
    Pair felt = {290, 58};
    PaintingScreen painting;
    ASSERT_TRUE(painting.Open(copy.folder, middle, IsPaper)) << "the painting screen";
    auto screen = [&](Pair p) { return painting.Screen(p); };
    auto at = [&](Pair p) { return painting.At(p); };
    auto clickUntil = [&](Pair button, auto shown) { return painting.ClickUntil(button, shown); };
    ASSERT_TRUE(clickUntil(places.toGallery, [&] { return IsFelt(at(felt)); }))
        << std::hex << at(felt);
    EXPECT_TRUE(WaitFor([&] { return IsPaper(at(places.firstSlot)); }, 10000))
        << "the book's blank page on the board: " << std::hex << at(places.firstSlot);

    // A copy of the page, dragged to the closed trash's toggle: it leaves
    // the board and the book for the trash book.
    Books books(copy.folder);
    // A click that came while the gallery still settled takes nothing and is
    // made again, but only after long enough that a slow copy has shown: a
    // second copy would make a third page.
    ASSERT_TRUE(WaitFor([&] {
        SetForegroundWindow(painting.window);
        Click(screen(places.duplicate));
        return WaitFor([&] { return books.BookPages() >= 2; }, 15000);
    }, 60000)) << books.BookPages();
    ASSERT_EQ(2, books.BookPages());
    EXPECT_TRUE(WaitFor([&] { return IsPaper(at(places.secondSlot)); }, 10000))
        << std::hex << at(places.secondSlot);
    // A drag that comes while the board still settles takes nothing: the
    // page is dragged again while it is still in the book.
    EXPECT_TRUE(WaitFor([&] {
        Drag(screen(places.secondSlot), screen(places.trash));
        return WaitFor([&] { return books.BookPages() == 1 && books.TrashPages() == 1; }, 10000);
    }, 60000)) << books.BookPages() << " pages in the book, " << books.TrashPages() << " in the trash";
    EXPECT_TRUE(WaitFor([&] { return !IsPaper(at(places.secondSlot)); }, 10000))
        << "the page left the board: " << std::hex << at(places.secondSlot);
    // The trash opened, its first slot dragged back behind the first page.
    const Pair trashed = {339 + 40, 467 + 30};
    COLORREF closed = at(trashed);
    ASSERT_TRUE(clickUntil(places.trash, [&] { return at(trashed) != closed; }))
        << "the trash's slot shows: " << std::hex << at(trashed);
    // The slot shows as the trash starts to open: the drag waits until it
    // holds still, and one that took nothing is made again.
    auto holdsStill = [&](Pair p) {
        COLORREF before = at(p);
        Sleep(300);
        return at(p) == before;
    };
    EXPECT_TRUE(WaitFor([&] {
        WaitFor([&] { return holdsStill(trashed); }, 5000);
        Drag(screen(trashed), screen({places.firstSlot.x + 60, places.firstSlot.y}));
        return WaitFor([&] { return books.BookPages() == 2 && books.TrashPages() == 0; }, 10000);
    }, 60000)) << books.BookPages() << " pages in the book, " << books.TrashPages() << " in the trash";
    EXPECT_TRUE(WaitFor([&] { return IsPaper(at(places.secondSlot)); }, 10000))
        << "the page is back on the board: " << std::hex << at(places.secondSlot);

    // The trash closed again (the slideshow panel does not open over it),
    // the panel opened and played: both pages full screen on black, each
    // for its 5 seconds, then the gallery again.
    ASSERT_TRUE(clickUntil(places.trash, [&] { return at(trashed) == closed; }));
    COLORREF noPanel = at(places.play);
    ASSERT_TRUE(clickUntil(places.slideshow, [&] { return at(places.play) != noPanel; }))
        << "the panel's play button: " << std::hex << at(places.play);
    Sleep(500);
    const Pair corner = {5, 5};
    const Pair shown = {109 + 320, 44 + 240};
    ASSERT_TRUE(clickUntil(places.play, [&] { return IsBlack(at(corner)); }))
        << "the slideshow's black: " << std::hex << at(corner);
    DWORD started = GetTickCount();
    EXPECT_TRUE(WaitFor([&] { return IsPaper(at(shown)); }, 10000))
        << "the page on black: " << std::hex << at(shown);
    EXPECT_TRUE(WaitFor([&] { return IsFelt(at(felt)); }, 40000))
        << std::hex << at(felt) << " " << at(corner) << std::dec << " after "
        << GetTickCount() - started << " ms, running " << (painting.atelier.Wait(0) == STILL_ACTIVE);
    EXPECT_GE(GetTickCount() - started, 9000u) << "two pages of 5 seconds";

    ASSERT_TRUE(clickUntil(places.back, [&] { return IsPaper(at(middle)); }))
        << std::hex << at(middle);
    painting.Exit(places.exit);
    EXPECT_NE(STILL_ACTIVE, painting.atelier.Wait(0)) << "the exit button ends the program";
}
