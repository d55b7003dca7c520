// The real atelier.exe painting: a driver waits for the painting screen,
// moves the real pointer, chooses the chalk and a colour, drags a stroke
// over the canvas, reads the stroke back from the screen and leaves by the
// exit button.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "atelier_driver.h"
#include "engine/record_table.h"
#include "framework/heap.h"
#include "shell/creation_parts.h"
#include "shell_fixture.h"
#include "trays/color_pickers.h"
#include "trays/manager_tool.h"

namespace {

int Distance(COLORREF a, COLORREF b)
{
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
}

struct PaintingRun : ::testing::Test {
    void SetUp() override { RemoveSettingsKey(); }
    void TearDown() override { RemoveSettingsKey(); }
};

// The places the driver uses, from the program's data.
struct Places {
    Box canvas;
    Pair exit;                // the middle of the exit button
    Pair chalk;               // the middle of the chalk's tool button
    std::vector<Pair> boxes;  // the middles of the shown colour boxes
};

// The middle of the first picture a button's script places.
bool ScriptMiddle(MMResourceId script, Pair& middle)
{
    MMRecordTable rows;
    rows.Load(script, 10, gDefaultHeap);
    int32_t place = -1;
    int32_t picture = -1;
    for (int32_t row = 0; row < rows.RowCount(); ++row) {
        int16_t op = rows.ShortAt(row, 0);
        if (op == 6 && place < 0)
            place = row;
        else if (op == 7 && picture < 0)
            picture = row;
    }
    if (place < 0 || picture < 0)
        return false;
    Pair at = rows.PairAt(place, 6);
    Pair size = CreationPictureSize(rows.LongAt(picture, 2));
    middle = {at.x + size.x / 2, at.y + size.y / 2};
    return size.x > 0 && size.y > 0;
}

bool ReadPlaces(Places& out)
{
    if (!OpenBuiltData())
        return false;
    MMRecordTable layout;
    layout.LoadTenByteRows(734, 66);
    out.canvas = layout.RectAt(0, 2);
    if (!ScriptMiddle(layout.LongAt(layout.FindRowByKey(5), 2), out.exit))
        return false;
    bool found = true;
    MMRecordTable tools;
    tools.Load(kToolButtonTable, 10, gDefaultHeap);
    int32_t chalkRow = tools.FindRowByKey(1);
    found = found && chalkRow >= 0 && ScriptMiddle(tools.LongAt(chalkRow, 2), out.chalk);
    MMRecordTable picker;
    picker.Load(767, 10, gDefaultHeap);
    for (int32_t n = 0; n < kPalettePage; ++n) {
        int32_t row = picker.FindRowByKey(10, 0, n);
        if (row < 0)
            break;
        Box box = picker.RectAt(row, 2);
        out.boxes.push_back({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
    }
    CloseBuiltData();
    return found && !out.boxes.empty();
}

// A copy of the program and its data in a folder of its own, so that the
// sketchbooks it writes start empty and go with it.
struct FreshCopy {
    std::string folder;
    FreshCopy()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "atelier_painting\\";
        Clear();
        CreateDirectoryA(folder.c_str(), nullptr);
        std::string bin = BinFolder();
        for (const char* file : {"atelier.exe", "Hd.mms", "Hd.MMP", "App.MMP", "Stmp1.MMP",
                                 "Stmp2.MMP", "Hd.MMA", "App.MMA"})
            CopyFileA((bin + file).c_str(), (folder + file).c_str(), FALSE);
    }
    ~FreshCopy() { Clear(); }
    void Clear() { RemoveProgramCopy(folder); }
};

// Starts the program in folder and waits for the painting screen's canvas;
// false when it did not come.
struct PaintingScreen {
    Running atelier;
    HWND window = nullptr;
    POINT origin = {0, 0};
    bool Open(const std::string& folder, const Places& places, Pair probe,
              bool (*ready)(COLORREF))
    {
        if (!atelier.Start(folder))
            return false;
        if (!WaitFor([&] { return (window = FindWindowA("PennaroWindowClass", nullptr)); }))
            return false;
        HWND control = nullptr;
        if (!WaitFor([&] {
                return (control = FindWindowExA(window, nullptr, "MMStageControlClass", nullptr));
            }))
            return false;
        origin = StageOrigin(control);
        return WaitFor([&] { return ready(ScreenPixel(origin.x + probe.x, origin.y + probe.y)); },
                       60000);
    }
    POINT Screen(Pair p) const { return POINT{origin.x + p.x, origin.y + p.y}; }
    COLORREF At(Pair p) const { return ScreenPixel(origin.x + p.x, origin.y + p.y); }
    void Exit(const Places& places)
    {
        WaitFor([&] {
            SetForegroundWindow(window);
            Click(Screen(places.exit));
            return atelier.Wait(3000) != STILL_ACTIVE;
        }, 40000);
    }
};

bool IsPaper(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200; }
bool IsNotPaper(COLORREF c) { return !IsPaper(c); }

TEST_F(PaintingRun, AStrokeShowsOnTheCanvasIsKeptAndTheExitButtonEndsTheProgram)
{
    ASSERT_TRUE(OpenBuiltData());
    CloseBuiltData();
    Places places;
    if (!ReadPlaces(places))
        GTEST_SKIP() << "the data has no chalk button or colour boxes to click yet";
    FreshCopy copy;
    Pair middle = {(places.canvas.left + places.canvas.right) / 2,
                   (places.canvas.top + places.canvas.bottom) / 2};
    Pair from = {places.canvas.left + 120, middle.y};
    Pair to = {places.canvas.right - 120, middle.y};
    Pair away = {middle.x, places.canvas.top + 40};
    COLORREF paper = 0;
    {
        PaintingScreen painting;
        ASSERT_TRUE(painting.Open(copy.folder, places, middle, IsPaper));
        std::printf("start-up to the first painting screen: %lu ms\n",
                    GetTickCount() - painting.atelier.started);
        paper = painting.At(middle);
        SetForegroundWindow(painting.window);
        Sleep(500);
        // The chalk, and the colour box farthest from the paper and from the
        // blue the chalk starts with.
        Click(painting.Screen(places.chalk));
        const COLORREF blue = RGB(0, 0, 255);
        COLORREF paint = blue;
        Pair chosen = places.boxes[0];
        // On a loaded machine the tray may still be drawing: look again for a while.
        for (int look = 0; look < 40 && paint == blue; ++look) {
            if (look > 0)
                Sleep(250);
            for (Pair box : places.boxes) {
                COLORREF c = painting.At(box);
                if (std::min(Distance(c, paper), Distance(c, blue)) >
                    std::min(Distance(paint, paper), Distance(paint, blue))) {
                    paint = c;
                    chosen = box;
                }
            }
        }
        ASSERT_NE(blue, paint) << "a colour box shows another colour";
        Click(painting.Screen(chosen));
        // Chalk leaves the paper's grain between its grains: a few pixels
        // around each point, together, are nearer the paint than the paper.
        auto around = [&](Pair p) {
            int r = 0, g = 0, b = 0, n = 0;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -4; dx <= 4; ++dx, ++n) {
                    COLORREF c = painting.At({p.x + dx, p.y + dy});
                    r += GetRValue(c);
                    g += GetGValue(c);
                    b += GetBValue(c);
                }
            return RGB(r / n, g / n, b / n);
        };
        int samples = 0;
        int painted = 0;
        auto strokeShows = [&] {
            samples = painted = 0;
            for (int x = from.x + 40; x <= to.x - 40; x += 40, ++samples) {
                COLORREF c = around({x, middle.y});
                if (Distance(c, paint) < Distance(c, paper))
                    ++painted;
            }
            return painted == samples;
        };
        // On a loaded machine the screen may still be settling when the first
        // drag arrives: the same stroke again paints the same pixels.
        WaitFor([&] {
            SetForegroundWindow(painting.window);
            Drag(painting.Screen(from), painting.Screen(to));
            return WaitFor(strokeShows, 5000);
        }, 60000);
        EXPECT_EQ(samples, painted) << "points of the stroke nearer the paint than the paper";
        EXPECT_EQ(paper, painting.At(away)) << "away from the stroke";
        painting.Exit(places);
        EXPECT_NE(STILL_ACTIVE, painting.atelier.Wait(0)) << "the exit button ends the program";
    }
    // Started again, the page comes back with its stroke.
    PaintingScreen again;
    ASSERT_TRUE(again.Open(copy.folder, places, middle, IsNotPaper)) << std::hex << again.At(middle);
    EXPECT_TRUE(WaitFor([&] { return IsPaper(again.At(away)); }, 10000))
        << std::hex << again.At(away);
    again.Exit(places);
}

}  // namespace
