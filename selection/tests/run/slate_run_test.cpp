// The real atelier.exe with its slate tray, driven with real pointer input
// and read back from the screen: the tray opens from its tool button, two
// free-pen strokes fill frames 0 and 1 and colour their tabs, frame 1's tab
// dragged onto tab 3 copies it there, and once the loop is switched on the
// canvas shows the drawings from frame 0 to frame 1 round and round; the
// slate's button clicked again takes the child to the chalk talk, whose door
// leads back to the painting screen and its slate tray with the drawing kept.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "atelier_driver.h"
#include "engine/record_table.h"
#include "framework/heap.h"
#include "shell/creation_parts.h"
#include "shell_fixture.h"
#include "trays/manager_tool.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kSlateButtonRow = 12;  // the slate's row of the tool-button table

struct Places {
    Box canvas;
    Pair exit;
    Pair slateButton;
    std::vector<Pair> swatches;  // the middle of each frame tab's colour window
    Box loop;                    // the loop toggle
    Pair chalkLeave;             // the chalk talk's door back to painting
};

bool ReadPlaces(Places& out)
{
    if (!OpenBuiltData())
        return false;
    MMRecordTable layout;
    layout.LoadTenByteRows(734, 66);
    out.canvas = layout.RectAt(0, 2);
    bool found = ScriptMiddle(layout.LongAt(layout.FindRowByKey(5), 2), out.exit);
    MMRecordTable tools;
    tools.Load(kToolButtonTable, 10, gDefaultHeap);
    int32_t row = tools.FindRowByKey(kSlateButtonRow);
    found = found && row >= 0 && ScriptMiddle(tools.LongAt(row, 2), out.slateButton);
    MMRecordTable tray;
    tray.LoadTenByteRows(TrayTableId(772), 28);
    MMRecordTable tabs;
    tabs.Load(TrayItemAt(tray, tray.FindRowByKey(0)), 40, gDefaultHeap);
    for (int32_t i = 0; i < tabs.RowCount(); ++i) {
        Pair at = tabs.PairAt(i, 0);
        Box window = tabs.RectAt(i, 8);
        out.swatches.push_back({at.x + (window.left + window.right) / 2,
                                at.y + (window.top + window.bottom) / 2});
    }
    MMRecordTable toggle;
    toggle.Load(TrayItemAt(tray, tray.FindRowByKey(6)), 12, gDefaultHeap);
    if (toggle.RowCount() > 0) {
        Pair at = toggle.PairAt(0, 0);
        Pair size = CreationPictureSize(toggle.LongAt(0, 4));
        out.loop = {at.x, at.y, at.x + size.x, at.y + size.y};
    }
    MMRecordTable chalk;
    chalk.LoadTenByteRows(1271, 25);
    MMRecordTable door;
    door.Load(chalk.ItemIdAt(chalk.FindRowByKey(0), 2), 8, gDefaultHeap);
    if (door.RowCount() > 0) {
        Pair at = door.PairAt(0, 0);
        Pair size = CreationPictureSize(door.LongAt(0, 4));
        out.chalkLeave = {at.x + size.x / 2, at.y + size.y / 2};
        found = found && size.x > 0;
    }
    CloseBuiltData();
    return found && out.swatches.size() == 5 && !out.loop.IsEmpty();
}

// The first chalk's colour, cherry red (232, 65, 60).
bool IsChalk(COLORREF c) { return Distance(c, RGB(232, 65, 60)) < 40; }
// An empty frame's tab shows grey in its window.
bool IsEmptyTab(COLORREF c) { return Distance(c, RGB(200, 200, 200)) < 12; }
// The chalk talk's blackboard: dark green.
bool IsBoard(COLORREF c) { return GetGValue(c) > GetRValue(c) + 20 && GetGValue(c) > GetBValue(c) + 20 && GetGValue(c) < 90; }

// The screen's pixels in a box, row by row, in one copy.
std::vector<COLORREF> Grab(POINT at, int32_t width, int32_t height)
{
    std::vector<COLORREF> out;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr && bits != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, at.x, at.y, SRCCOPY);
        GdiFlush();
        const uint8_t* p = static_cast<const uint8_t*>(bits);
        for (int32_t i = 0; i < width * height; ++i, p += 4)
            out.push_back(RGB(p[2], p[1], p[0]));
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return out;
}

struct SlateRun : ::testing::Test {
    void SetUp() override { RemoveSettingsKey(); }
    void TearDown() override { RemoveSettingsKey(); }
};

TEST_F(SlateRun, TheSlateTrayRecordsCopiesAndPlaysFramesOnTheRealWindow)
{
    Places places;
    ASSERT_TRUE(ReadPlaces(places));
    ProgramCopy copy("atelier_slate");
    const Box& canvas = places.canvas;
    Pair middle = {(canvas.left + canvas.right) / 2, (canvas.top + canvas.bottom) / 2};
    const int32_t yA = canvas.top + 120;
    const int32_t yB = canvas.top + 300;
    const int32_t left = canvas.left + 100;
    const int32_t right = canvas.right - 100;
    PaintingScreen painting;
    ASSERT_TRUE(painting.Open(copy.folder, middle, IsPaper)) << "the painting screen";
    auto tab = [&](int i) { return painting.At(places.swatches[size_t(i)]); };

    ASSERT_TRUE(painting.ClickUntil(places.slateButton, [&] { return IsEmptyTab(tab(0)); }))
        << "the slate tray's first tab: " << std::hex << tab(0);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(IsEmptyTab(tab(i))) << i << ": " << std::hex << tab(i);

    // Two strokes of the free pen: frame 0 high, frame 1 low. A drag may come
    // while the tray still settles: the same stroke again records the same frame.
    ASSERT_TRUE(WaitFor([&] {
        SetForegroundWindow(painting.window);
        Drag(painting.Screen({left, yA}), painting.Screen({right, yA}));
        return WaitFor([&] { return IsChalk(tab(0)); }, 5000);
    }, 60000)) << "frame 0's tab takes the chalk's colour: " << std::hex << tab(0);
    EXPECT_TRUE(IsChalk(painting.At({middle.x, yA}))) << std::hex << painting.At({middle.x, yA});
    EXPECT_TRUE(IsEmptyTab(tab(1)));
    Drag(painting.Screen({left, yB}), painting.Screen({right, yB}));
    ASSERT_TRUE(WaitFor([&] { return IsChalk(tab(1)); }, 5000)) << std::hex << tab(1);
    EXPECT_TRUE(IsEmptyTab(tab(3)));

    // Frame 1's tab dragged onto tab 3 copies the frame there.
    Drag(painting.Screen(places.swatches[1]), painting.Screen(places.swatches[3]));
    EXPECT_TRUE(WaitFor([&] { return IsChalk(tab(3)); }, 5000)) << std::hex << tab(3);
    EXPECT_TRUE(IsChalk(tab(1))) << "the dragged frame stays";
    EXPECT_TRUE(IsEmptyTab(tab(4)));

    // The loop toggle shows its other picture once clicked.
    POINT loopAt = painting.Screen({places.loop.left, places.loop.top});
    int32_t loopWidth = places.loop.right - places.loop.left;
    int32_t loopHeight = places.loop.bottom - places.loop.top;
    std::vector<COLORREF> loopOff = Grab(loopAt, loopWidth, loopHeight);
    SetForegroundWindow(painting.window);
    Click(painting.Screen({(places.loop.left + places.loop.right) / 2,
                           (places.loop.top + places.loop.bottom) / 2}));
    EXPECT_TRUE(WaitFor([&] { return Grab(loopAt, loopWidth, loopHeight) != loopOff; }, 5000));

    // As playback loops, one column across both strokes shows frame 1 and
    // the drawings in between; round and round, the loop comes back from
    // frame 1 (and its copy) to the first twelfth past frame 0.
    const int32_t firstStep = yA + (yB - yA) / 12;
    POINT columnTop = painting.Screen({middle.x, yA - 20});
    int32_t height = yB - yA + 41;
    std::set<int32_t> rows;  // the chalk's middle row of each look
    bool roundAgain = false;
    bool seenSecond = false;
    auto betweenCount = [&] {
        int32_t n = 0;
        for (int32_t row : rows)
            if (row > firstStep + 8 && row < yB - 8)
                ++n;
        return n;
    };
    // Until all was seen, or half a minute on a loaded machine.
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 30000 && !(roundAgain && betweenCount() >= 3)) {
        std::vector<COLORREF> column = Grab(columnTop, 1, height);
        int32_t first = -1, last = -1;
        for (int32_t y = 0; y < int32_t(column.size()); ++y)
            if (IsChalk(column[size_t(y)])) {
                if (first < 0)
                    first = y;
                last = y;
            }
        if (first >= 0) {
            int32_t at = yA - 20 + (first + last) / 2;
            rows.insert(at);
            if (std::abs(at - yB) <= 4)
                seenSecond = true;
            else if (seenSecond && std::abs(at - firstStep) <= 4)
                roundAgain = true;
        }
        Sleep(15);
    }
    ASSERT_FALSE(rows.empty()) << "the strokes play on the canvas";
    EXPECT_TRUE(seenSecond) << "frame 1 and its copy";
    EXPECT_GE(betweenCount(), 3) << "the drawings in between";
    EXPECT_TRUE(roundAgain) << "the loop comes round to frame 0's first step";
    EXPECT_GE(*rows.begin(), yA - 4) << "nothing above the strokes";
    EXPECT_LE(*rows.rbegin(), yB + 4) << "nothing below them";

    // The open slate's button once more: its twist, off to the chalk talk;
    // its door brings the painting screen back with the slate tray open.
    Pair below = {middle.x, canvas.bottom - 40};
    ASSERT_TRUE(painting.ClickUntil(places.slateButton, [&] { return IsBoard(painting.At(below)); }))
        << "the chalk talk's board: " << std::hex << painting.At(below);
    ASSERT_TRUE(painting.ClickUntil(places.chalkLeave, [&] { return IsPaper(painting.At(below)); }))
        << "the painting screen again: " << std::hex << painting.At(below);
    EXPECT_TRUE(WaitFor([&] { return IsEmptyTab(tab(4)); }, 5000))
        << "the slate tray's last tab: " << std::hex << tab(4);
    for (int i : {0, 1, 3})
        EXPECT_TRUE(IsChalk(tab(i))) << "the drawing kept on frame " << i << ": " << std::hex << tab(i);

    painting.Exit(places.exit);
    EXPECT_NE(STILL_ACTIVE, painting.atelier.Wait(0)) << "the exit button ends the program";
}

}  // namespace
