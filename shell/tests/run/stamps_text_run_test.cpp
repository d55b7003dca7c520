// The real atelier.exe with stamps and text, driven with the real pointer
// and keyboard and read back from the screen: a text box dragged on the
// canvas, "Ami" typed into it and committed by the next box; the canvas
// zoomed and zoomed out again by the text tray; a stamp dragged from the
// drawer onto the canvas in stamp mode, beside the text.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/picture_loader.h"
#include "engine/record_table.h"
#include "framework/heap.h"
#include "atelier_driver.h"
#include "shell_fixture.h"
#include "trays/manager_tool.h"

namespace {

struct StampsAndTextRun : ::testing::Test {
    void SetUp() override { RemoveSettingsKey(); }
    void TearDown() override { RemoveSettingsKey(); }
};

// The places the driver uses, from the program's data.
struct Places {
    Box canvas;
    Pair exit;
    Pair zoom;       // the middle of the zoom toggle
    Pair textTool;   // the text tray's tool button
    Pair chalkTool;  // the chalk tray's tool button
    Pair stampMode;  // the stamp mode button
    Pair stamp;      // the first character or prop button of the drawer's first page
};

MMResourceId ItemOf(MMResourceId table, int16_t key, int32_t n)
{
    MMRecordTable rows;
    rows.Load(table, 10, gDefaultHeap);
    int32_t row = rows.FindRowByKey(key, 0, n);
    return row < 0 ? MM_NO_RESOURCE : rows.LongAt(row, 2);
}

// Whether the entry places a character or a prop first (layer codes 0, 1
// and 3 are the background, midground and foreground).
bool PlacesACharacter(MMResourceId entry)
{
    MMRecordTable stamp;
    stamp.Load(ItemOf(entry, 1, 0), 10, gDefaultHeap);
    int32_t row = stamp.FindRowByKey(0);
    if (row < 0)
        return false;
    int16_t layer = stamp.ShortAt(row, 2);
    return layer != 0 && layer != 1 && layer != 3;
}

bool ReadPlaces(Places& out)
{
    if (!OpenBuiltData())
        return false;
    // The drawer's buttons show stamps' pictures.
    for (const char* name : {"Stmp1.MMP", "Stmp2.MMP"})
        if (!MMOpenPictureFile(BuiltDataFolder(), name, false))
            return false;
    MMRecordTable layout;
    layout.LoadTenByteRows(734, 66);
    out.canvas = layout.RectAt(0, 2);
    bool found = ScriptMiddle(layout.LongAt(layout.FindRowByKey(5), 2), out.exit) &&
                 ScriptMiddle(layout.LongAt(layout.FindRowByKey(39), 2), out.stampMode);
    Pair toggle = layout.PairAt(layout.FindRowByKey(17), 2);
    Pair toggleSize = CreationPictureSize(layout.LongAt(layout.FindRowByKey(19), 2));
    out.zoom = {toggle.x + toggleSize.x / 2, toggle.y + toggleSize.y / 2};
    // The tool buttons' rows: the chalk's is 1, the text tray's 11.
    MMRecordTable tools;
    tools.Load(kToolButtonTable, 10, gDefaultHeap);
    found = found && ScriptMiddle(tools.LongAt(tools.FindRowByKey(1), 2), out.chalkTool) &&
            ScriptMiddle(tools.LongAt(tools.FindRowByKey(11), 2), out.textTool);
    MMResourceId page = ItemOf(ItemOf(996, 2, 0), 2, 0);
    bool stamp = false;
    for (int32_t n = 0; !stamp; ++n) {
        MMResourceId entry = ItemOf(page, 0, n);
        if (entry == MM_NO_RESOURCE)
            break;
        stamp = PlacesACharacter(entry) && ScriptMiddle(ItemOf(entry, 0, 0), out.stamp);
    }
    CloseBuiltData();
    return found && stamp && toggleSize.x > 0;
}

// The program's rich-edit control, found from outside (the system spells its
// class in capitals).
struct ChildOfClass {
    const char* name;
    HWND found = nullptr;
    static BOOL CALLBACK Visit(HWND window, LPARAM self)
    {
        auto* me = reinterpret_cast<ChildOfClass*>(self);
        if (lstrcmpiA(ClassOf(window).c_str(), me->name) == 0 && IsWindowVisible(window)) {
            me->found = window;
            return FALSE;
        }
        return TRUE;
    }
};

HWND ShownRichEdit(HWND main)
{
    ChildOfClass child{"RichEdit"};
    EnumChildWindows(main, ChildOfClass::Visit, LPARAM(&child));
    return child.found;
}

std::string ControlText(HWND control)
{
    char text[64] = "";
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, LPARAM(text), SMTO_ABORTIFHUNG, 2000,
                        &answer);
    return text;
}


int32_t Count(const std::vector<COLORREF>& pixels, bool (*test)(COLORREF))
{
    int32_t n = 0;
    for (COLORREF c : pixels)
        n += test(c);
    return n;
}

int32_t Differing(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b)
{
    int32_t n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        n += a[i] != b[i];
    return n;
}

// The text starts in the tray's first colour, blue.
bool IsNotBlack(COLORREF c) { return c != RGB(0, 0, 0); }

bool IsInk(COLORREF c) { return Distance(c, RGB(0, 0, 255)) < Distance(c, RGB(250, 250, 250)); }

Box Around(Pair p, int32_t half) { return Box{p.x - half, p.y - half, p.x + half, p.y + half}; }

TEST_F(StampsAndTextRun, TypedTextAndADrawerStampShowOnTheCanvasAndTheTextTrayZoomsOut)
{
    Places places;
    ASSERT_TRUE(ReadPlaces(places));
    ProgramCopy copy("atelier_stamps_text");
    const Box& canvas = places.canvas;
    Pair middle = {(canvas.left + canvas.right) / 2, (canvas.top + canvas.bottom) / 2};
    // The text's box and the next box, which commits it, left of the middle;
    // the stamp's place, right of them.
    const Box textBox = {canvas.left + 60, canvas.top + 80, canvas.left + 340, canvas.top + 200};
    const Pair nextFrom = {canvas.left + 60, canvas.top + 300};
    const Pair nextTo = {canvas.left + 300, canvas.top + 400};
    const Pair stampAt = {canvas.right - 140, canvas.top + 160};

    PaintingScreen painting;
    ASSERT_TRUE(painting.Open(copy.folder, middle, IsPaper));
    SetForegroundWindow(painting.window);
    // The intro's white box also passes for paper: the screen is there once
    // the zoom toggle shows and holds still.
    const Box toggle = Around(places.zoom, 8);
    std::vector<COLORREF> toggleShown;
    ASSERT_TRUE(WaitFor([&] {
        std::vector<COLORREF> before = painting.Pixels(toggle);
        Sleep(300);
        toggleShown = painting.Pixels(toggle);
        return before == toggleShown && Count(toggleShown, IsNotBlack) > 0;
    }, 60000));
    auto toggleHidden = [&] { return Differing(painting.Pixels(toggle), toggleShown) > 0; };
    // The text tray hides the zoom toggle; a box dragged on the canvas takes
    // "Ami" from the keyboard. (A click on an open tray's button would twist
    // it: a button is clicked again only when nothing came of the click.)
    ASSERT_TRUE(painting.ClickUntil(places.textTool, toggleHidden)) << "the text tray opens";
    HWND edit = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        SetForegroundWindow(painting.window);
        Drag(painting.Screen({textBox.left, textBox.top}),
             painting.Screen({textBox.right, textBox.bottom}));
        return WaitFor([&] { return (edit = ShownRichEdit(painting.window)); }, 5000);
    }, 60000)) << "a text box opens on the canvas";
    RECT placed;
    GetWindowRect(edit, &placed);
    EXPECT_LE(painting.Screen({textBox.left, textBox.top}).x, placed.left + 2);
    EXPECT_GE(painting.Screen({textBox.right, textBox.bottom}).y, placed.bottom - 2);
    // Keys go to the foreground window, which a test alongside may take for a
    // moment: a click in the box gives it the keys again, and the box is
    // emptied before the next try.
    std::string typed;
    WaitFor([&] {
        SendMessageTimeoutA(edit, WM_SETTEXT, 0, LPARAM(""), SMTO_ABORTIFHUNG, 2000, nullptr);
        SetForegroundWindow(painting.window);
        Click(POINT{(placed.left + placed.right) / 2, (placed.top + placed.bottom) / 2});
        Press({VK_SHIFT, 'A'});
        Press({'M'});
        Press({'I'});
        return WaitFor([&] { return (typed = ControlText(edit)) == "Ami"; }, 3000);
    }, 60000);
    ASSERT_EQ("Ami", typed);

    // The next box commits the text into the paint.
    std::vector<COLORREF> text;
    WaitFor([&] {
        SetForegroundWindow(painting.window);
        Drag(painting.Screen(nextFrom), painting.Screen(nextTo));
        return WaitFor([&] {
            text = painting.Pixels(textBox);
            return Count(text, IsInk) > 100;
        }, 5000);
    }, 40000);
    EXPECT_GT(Count(text, IsInk), 100) << "the text's pixels on the canvas";
    EXPECT_TRUE(IsPaper(painting.At({textBox.right + 20, textBox.top + 20})));
    const Box stampPlace = Around(stampAt, 90);
    EXPECT_EQ(0, Count(painting.Pixels(stampPlace), IsNotPaper));

    // Zoomed in under another tray, the canvas shows the text at twice its
    // size; opening the text tray shows it at its own size again.
    ASSERT_TRUE(painting.ClickUntil(places.chalkTool, [&] { return !toggleHidden(); }));
    auto zoomed = [&] { return Differing(painting.Pixels(textBox), text) > 500; };
    ASSERT_TRUE(painting.ClickUntil(places.zoom, zoomed)) << "zoomed in";
    EXPECT_TRUE(painting.ClickUntil(places.textTool, [&] {
        return Differing(painting.Pixels(textBox), text) == 0;
    })) << Differing(painting.Pixels(textBox), text) << " pixels differ from the unzoomed text";
    EXPECT_TRUE(toggleHidden());

    // Stamp mode: a character dragged from the drawer lands on the canvas.
    // Stamp mode takes the tool buttons away for the drawer.
    const Box textTool = Around(places.textTool, 10);
    const std::vector<COLORREF> toolShown = painting.Pixels(textTool);
    ASSERT_TRUE(painting.ClickUntil(places.stampMode, [&] {
        return Differing(painting.Pixels(textTool), toolShown) > 100;
    })) << "stamp mode";
    // The drawer opens, then its buttons come: the stamp's button is there
    // once its place holds still in more than the drawer's colours.
    const Box button = Around(places.stamp, 16);
    const std::vector<COLORREF> drawer = painting.Pixels(button);
    ASSERT_TRUE(WaitFor([&] {
        std::vector<COLORREF> before = painting.Pixels(button);
        Sleep(500);
        return before == painting.Pixels(button) && Differing(before, drawer) > 100;
    }, 30000)) << "the drawer's buttons";
    // The line art and the selection's frame and handles: more than the
    // frame of the drag alone.
    int32_t drawn = 0;
    WaitFor([&] {
        SetForegroundWindow(painting.window);
        Drag(painting.Screen(places.stamp), painting.Screen(stampAt));
        return WaitFor([&] {
            return (drawn = Count(painting.Pixels(stampPlace), IsNotPaper)) > 1000;
        }, 5000);
    }, 30000);
    EXPECT_GT(drawn, 1000) << "the stamp's pixels where it was dropped";
    EXPECT_GT(Count(painting.Pixels(textBox), IsInk), 100) << "the text is still there";

    painting.Exit(places.exit);
    EXPECT_NE(STILL_ACTIVE, painting.atelier.Wait(0)) << "the exit button ends the program";
}

}  // namespace
