// The real atelier.exe painting: a driver waits for the painting screen,
// moves the real pointer, chooses the chalk and a colour, drags a stroke
// over the canvas, reads the stroke back from the screen and leaves by the
// exit button.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <vector>

#include "atelier_driver.h"
#include "engine/record_table.h"
#include "framework/heap.h"
#include "shell/creation_parts.h"
#include "shell_fixture.h"
#include "trays/color_pickers.h"
#include "trays/manager_tool.h"

namespace {

// The places the driver uses, from the program's data.
struct Places {
    Box canvas = {0, 0, 0, 0};
    Pair exit = {0, 0};       // the middle of the exit button
    Pair chalk = {0, 0};      // the middle of the chalk's tool button
    std::vector<Pair> boxes;  // the middles of the shown colour boxes
};

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


// The chalk, and the colour box farthest from the paper and from the blue
// the chalk starts with: its colour (blue when no box shows another) and place.
struct Choice {
    COLORREF paint;
    Pair box;
};

Choice ChooseChalkAndColour(const PaintingScreen& painting, const Places& places,
                            COLORREF paper)
{
    Click(painting.Screen(places.chalk));
    const COLORREF blue = RGB(0, 0, 255);
    Choice choice = {blue, places.boxes[0]};
    // On a loaded machine the tray may still be drawing: look again for a while.
    for (int look = 0; look < 40 && choice.paint == blue; ++look) {
        if (look > 0)
            Sleep(250);
        for (Pair box : places.boxes) {
            COLORREF c = painting.At(box);
            if (std::min(Distance(c, paper), Distance(c, blue)) >
                std::min(Distance(choice.paint, paper), Distance(choice.paint, blue))) {
                choice.paint = c;
                choice.box = box;
            }
        }
    }
    if (choice.paint != blue)
        Click(painting.Screen(choice.box));
    return choice;
}

// Chalk leaves the paper's grain between its grains: a few pixels around a
// point, together, are nearer the paint than the paper.
COLORREF Around(const PaintingScreen& painting, Pair p)
{
    int r = 0, g = 0, b = 0, n = 0;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -4; dx <= 4; ++dx, ++n) {
            COLORREF c = painting.At({p.x + dx, p.y + dy});
            r += GetRValue(c);
            g += GetGValue(c);
            b += GetBValue(c);
        }
    return RGB(r / n, g / n, b / n);
}

struct PaintingRun : ::testing::Test {
    void SetUp() override { RemoveSettingsKey(); }
    void TearDown() override
    {
        screen.reset();
        copy.reset();
        RemoveSettingsKey();
    }
    // A copy of the program on its painting screen with the chalk and a colour
    // chosen; skips when the data has no places to click.
    void OpenWithChalk(const char* copyName)
    {
        if (!ReadPlaces(places))
            GTEST_SKIP() << "the data has no chalk button or colour boxes to click yet";
        copy.emplace(copyName);
        middle = {(places.canvas.left + places.canvas.right) / 2,
                  (places.canvas.top + places.canvas.bottom) / 2};
        PaintingScreen& painting = screen.emplace();
        ASSERT_TRUE(painting.Open(copy->folder, middle, IsPaper));
        paper = painting.At(middle);
        SetForegroundWindow(painting.window);
        Sleep(500);
        paint = ChooseChalkAndColour(painting, places, paper).paint;
        ASSERT_NE(RGB(0, 0, 255), paint) << "a colour box shows another colour";
    }
    bool Opened() const { return !IsSkipped() && !HasFatalFailure(); }

    Places places;
    Pair middle = {0, 0};
    std::optional<ProgramCopy> copy;
    std::optional<PaintingScreen> screen;
    COLORREF paper = 0;
    COLORREF paint = 0;
};

TEST_F(PaintingRun, AStrokeShowsOnTheCanvasIsKeptAndTheExitButtonEndsTheProgram)
{
    ASSERT_TRUE(OpenBuiltData());
    CloseBuiltData();
    Places places;
    if (!ReadPlaces(places))
        GTEST_SKIP() << "the data has no chalk button or colour boxes to click yet";
    ProgramCopy copy("atelier_painting");
    Pair middle = {(places.canvas.left + places.canvas.right) / 2,
                   (places.canvas.top + places.canvas.bottom) / 2};
    Pair from = {places.canvas.left + 120, middle.y};
    Pair to = {places.canvas.right - 120, middle.y};
    Pair away = {middle.x, places.canvas.top + 40};
    COLORREF paper = 0;
    {
        PaintingScreen painting;
        ASSERT_TRUE(painting.Open(copy.folder, middle, IsPaper));
        std::printf("start-up to the first painting screen: %lu ms\n",
                    GetTickCount() - painting.atelier.started);
        paper = painting.At(middle);
        SetForegroundWindow(painting.window);
        Sleep(500);
        Choice choice = ChooseChalkAndColour(painting, places, paper);
        const COLORREF paint = choice.paint;
        ASSERT_NE(RGB(0, 0, 255), paint) << "a colour box shows another colour";
        auto around = [&](Pair p) { return Around(painting, p); };
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
        // drag arrives, and the colour box may have been clicked before the
        // chalk's tray took over: the colour again, and the same stroke again,
        // paint the same pixels.
        WaitFor([&] {
            SetForegroundWindow(painting.window);
            Click(painting.Screen(choice.box));
            Drag(painting.Screen(from), painting.Screen(to));
            return WaitFor(strokeShows, 5000);
        }, 60000);
        EXPECT_EQ(samples, painted) << "points of the stroke nearer the paint than the paper; "
                                    << std::hex << "paint " << paint << ", paper " << paper
                                    << ", the stroke's middle " << around(middle);
        EXPECT_EQ(paper, painting.At(away)) << "away from the stroke";
        painting.Exit(places.exit);
        EXPECT_NE(STILL_ACTIVE, painting.atelier.Wait(0)) << "the exit button ends the program";
    }
    // Started again, the page comes back with its stroke.
    PaintingScreen again;
    ASSERT_TRUE(again.Open(copy.folder, middle, IsNotPaper)) << std::hex << again.At(middle);
    EXPECT_TRUE(WaitFor([&] { return IsPaper(again.At(away)); }, 10000))
        << std::hex << again.At(away);
    again.Exit(places.exit);
}

// A quick stroke whose pointer jumps far between the press and the first
// move still starts where the button went down.
TEST_F(PaintingRun, AStrokeStartsWhereTheButtonWentDown)
{
    OpenWithChalk("atelier_stroke_start");
    if (!Opened())
        return;
    PaintingScreen& painting = *screen;
    Pair from = {places.canvas.left + 100, middle.y};
    Pair to = {places.canvas.right - 100, middle.y};
    auto painted = [&](Pair p) {
        COLORREF c = Around(painting, p);
        return Distance(c, paint) < Distance(c, paper);
    };
    // A stroke dragged as a hand would, above, shows that the screen takes strokes.
    Pair above = {middle.x, middle.y - 80};
    ASSERT_TRUE(WaitFor([&] {
        SetForegroundWindow(painting.window);
        Drag(painting.Screen({from.x, above.y}), painting.Screen({to.x, above.y}));
        return WaitFor([&] { return painted(above); }, 5000);
    }, 60000)) << "a stroke shows";
    MouseTo(painting.Screen(from));
    Sleep(150);
    MouseButton(true);
    Sleep(400);
    MouseTo(painting.Screen(to));
    Sleep(400);
    MouseButton(false);
    // One long step lays the chalk's grains thinly: a point is painted when
    // it stands clearly off the paper.
    auto touched = [&](Pair p) {
        return Distance(Around(painting, p), paper) > Distance(paint, paper) / 4;
    };
    Pair nearStart = {from.x + 10, from.y};
    EXPECT_TRUE(WaitFor([&] { return touched(nearStart) && touched(middle); }, 5000))
        << std::hex << "near the start " << Around(painting, nearStart) << ", the middle "
        << Around(painting, middle) << ", paint " << paint << ", paper " << paper;
    painting.Exit(places.exit);
}

// The zoom keys as typed on the painting screen: ">" shows the canvas's
// top-left quarter at twice the size, "<" the whole canvas again; each is
// swallowed when the canvas already stands that way.
TEST_F(PaintingRun, TheZoomKeysMagnifyTheCanvasAndComeBack)
{
    OpenWithChalk("atelier_zoom");
    if (!Opened())
        return;
    PaintingScreen& painting = *screen;
    // A stroke along canvas row 60 from x 40 to 200: unzoomed it lies at
    // its place; zoomed it lies twice as far from the corner, and its place
    // shows the empty paper above it.
    auto onCanvas = [&](int x, int y) {
        return Pair{places.canvas.left + x, places.canvas.top + y};
    };
    // Magnified, the chalk's grains spread and let more paper through: a
    // point is painted when it stands clearly off the paper.
    auto painted = [&](Pair p) {
        return Distance(Around(painting, p), paper) > Distance(paint, paper) / 4;
    };
    Pair stroke = onCanvas(120, 60);
    Pair zoomedStroke = onCanvas(240, 120);
    ASSERT_TRUE(WaitFor([&] {
        SetForegroundWindow(painting.window);
        Drag(painting.Screen(onCanvas(40, 60)), painting.Screen(onCanvas(200, 60)));
        return WaitFor([&] { return painted(stroke); }, 5000);
    }, 60000)) << "the stroke shows";
    std::function<bool()> zoomed = [&] { return painted(zoomedStroke) && !painted(stroke); };
    std::function<bool()> unzoomed = [&] { return painted(stroke) && !painted(zoomedStroke); };
    ASSERT_TRUE(WaitFor(unzoomed, 10000));
    HWND control = FindWindowExA(painting.window, nullptr, "MMStageControlClass", nullptr);
    ASSERT_NE(nullptr, control);
    auto type = [&](char c) { PostMessageA(control, WM_CHAR, WPARAM(c), 1); };
    const struct {
        char key;
        bool zoomedAfter;
    } steps[] = {{'<', false}, {'>', true}, {'>', true}, {'<', false}, {'<', false}, {'>', true}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.key);
        type(step.key);
        Sleep(300);
        EXPECT_TRUE(WaitFor(step.zoomedAfter ? zoomed : unzoomed, 10000));
    }
    type('<');
    WaitFor(unzoomed, 10000);
    painting.Exit(places.exit);
}

}  // namespace
