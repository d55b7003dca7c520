// The real atelier.exe painting: a driver waits for the painting screen,
// moves the real pointer, chooses a tool, drags a stroke over the canvas,
// reads the stroke back from the screen and leaves by the exit button.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "atelier_driver.h"
#include "engine/record_table.h"
#include "framework/heap.h"
#include "shell_fixture.h"

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
    Pair exit;       // the middle of the exit button
    Pair tool;       // the middle of the first tool button
    bool hasTool = false;  // without trays the marker is current from the start
};

bool ReadPlaces(Places& out)
{
    if (!OpenBuiltData())
        return false;
    MMRecordTable layout;
    layout.LoadTenByteRows(734, 66);
    out.canvas = layout.RectAt(0, 2);
    MMRecordTable exit;
    exit.Load(layout.LongAt(layout.FindRowByKey(5), 2), 10, gDefaultHeap);
    // The exit script's first placed visual: opcode 6 with x and y at 6 and 8.
    for (int32_t row = 0; row < exit.RowCount(); ++row)
        if (exit.ShortAt(row, 0) == 6) {
            out.exit = {exit.ShortAt(row, 6) + 32, exit.ShortAt(row, 8) + 32};
            break;
        }
    CloseBuiltData();
    return true;
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
    void Clear()
    {
        for (const std::string& sub : {std::string("Carnets\\"), std::string()}) {
            WIN32_FIND_DATAA found;
            HANDLE walk = FindFirstFileA((folder + sub + "*").c_str(), &found);
            if (walk == INVALID_HANDLE_VALUE)
                continue;
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileA((folder + sub + found.cFileName).c_str());
            } while (FindNextFileA(walk, &found));
            FindClose(walk);
            RemoveDirectoryA((folder + sub).c_str());
        }
    }
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
bool IsBlueish(COLORREF c) { return GetBValue(c) > GetRValue(c) + 60; }

TEST_F(PaintingRun, AStrokeShowsOnTheCanvasIsKeptAndTheExitButtonEndsTheProgram)
{
    Places places;
    ASSERT_TRUE(ReadPlaces(places));
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
        if (places.hasTool)
            Click(painting.Screen(places.tool));
        // Along the stroke the canvas is nearer the paint (blue at first)
        // than the paper; away from it, paper.
        const COLORREF blue = RGB(0, 0, 255);
        int samples = 0;
        int painted = 0;
        auto strokeShows = [&] {
            samples = painted = 0;
            for (int x = from.x + 40; x <= to.x - 40; x += 40, ++samples) {
                COLORREF c = painting.At({x, middle.y});
                if (Distance(c, blue) < Distance(c, paper))
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
    ASSERT_TRUE(again.Open(copy.folder, places, middle, IsBlueish))
        << std::hex << again.At(middle);
    EXPECT_TRUE(WaitFor([&] { return IsPaper(again.At(away)); }, 10000))
        << std::hex << again.At(away);
    again.Exit(places);
}

}  // namespace
