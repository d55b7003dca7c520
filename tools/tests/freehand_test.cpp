// The road of a freehand stroke: press, pen samples through the stage's pen
// ring, the "Freehand Ticker" on the stage's scheduler, the brush, the canvas.
#include <gtest/gtest.h>

#include "recording_brush.h"
#include "tool_fixture.h"
#include "tools/freehand_interpreter.h"

namespace {

// A brush that records the strokes it is given into a log shared by the
// brushes of one tool, and may let the test clock run on each sample.
class LogBrush : public RecordingBrush {
public:
    LogBrush(std::vector<std::string>* log, int id, uint32_t costMs)
        : log(log), id(id), costMs(costMs) {}
    void BeginStroke(const BrushDab* s) override { Note("begin", s); }
    void ContinueStroke(const BrushDab* s) override
    {
        Note("continue", s);
        FakeClock::now += costMs;
    }
    void EndStroke(const BrushDab* s) override { Note("end", s); }
    void Note(const char* what, const BrushDab* s)
    {
        log->push_back(std::to_string(id) + " " + what + " " + std::to_string(int(s->x)) + "," +
                       std::to_string(int(s->y)));
        samples.push_back(*s);
    }
    std::vector<std::string>* log;
    int id;
    uint32_t costMs;
};

class LogTool : public KVXToolStd {
public:
    LogTool(KVXCreationHost* host, uint32_t costMs)
        : KVXToolStd(host, kTestToolTable, 0), costMs(costMs) {}
    void MakeBrush() override
    {
        delete writeAllBrush;
        writeAllBrush = new LogBrush(&log, 100 + made, 0);
        SetBrush(new LogBrush(&log, made, costMs));
        ++made;
    }
    std::vector<std::string> log;
    int made = 0;
    uint32_t costMs;
};

struct FreehandTest : ToolFixture {
    KVXFreeHandToolInterpreter* Interpreter()
    {
        return dynamic_cast<KVXFreeHandToolInterpreter*>(canvas.GetMouseInterpreter());
    }
    void Press(int32_t x, int32_t y) { Interpreter()->Interpret(Event(x, y, kPointerHeld | kPointerPressed)); }
    void Release(int32_t x, int32_t y) { Interpreter()->Interpret(Event(x, y, kPointerReleased)); }
};

TEST_F(FreehandTest, AReplayedStrokePaintsTheToolsColourAndKeepsLockedPixels)
{
    OpenData();
    plane.PixelAt(20, 10)->type = kPixelLocked;
    PlainTool tool(&host, kTestToolTable, 0, colour);
    tool.Begin();
    ASSERT_NE(Interpreter(), nullptr);
    EXPECT_EQ(canvas.GetMouseInterpreter(), static_cast<MMMouseInterpreter*>(tool.Interpreter()));

    // Stage points; the canvas sits at (10, 10).
    const MMPointerSample recorded[] = {
        {20, 20, kMouseCursor, 255}, {30, 20, kMouseCursor, 255}, {40, 20, kMouseCursor, 255}};
    Press(20, 20);
    for (const MMPointerSample& s : recorded)
        bare.stage.QueuePointerSample(s);
    Pass();
    EXPECT_TRUE(Interpreter()->StrokeBegun());
    Release(40, 20);
    Pass();
    EXPECT_FALSE(Interpreter()->StrokeBegun());
    EXPECT_EQ(Interpreter()->StrokeTicker().State(), kMMThreadInactive);

    // The 5 x 5 nib is centred on every dab from canvas (10, 10) to (30, 10).
    const uint32_t painted = 0x001E140A;  // blue 10, green 20, red 30, type 0
    for (int32_t y = 6; y <= 14; ++y) {
        for (int32_t x = 6; x <= 34; ++x) {
            const KVXComponentPixel* p = plane.PixelAt(x, y);
            bool inside = y >= 8 && y <= 12 && x >= 8 && x <= 31;
            if (x == 20 && y == 10) {
                EXPECT_EQ(p->ColorWord(), (uint32_t(kPixelLocked) << 24) | 0xFFFFFF);
                continue;
            }
            if (x == 32)
                continue;  // the last dab's place depends on the spacing
            EXPECT_EQ(p->ColorWord(), inside ? painted : 0x00FFFFFFu) << x << "," << y;
            EXPECT_EQ(p->height, 3072) << x << "," << y;
        }
    }
    tool.DeleteMolecules();
    EXPECT_EQ(canvas.GetMouseInterpreter(), nullptr);
}

TEST_F(FreehandTest, PenSamplesBecomeCanvasPixelsWithASizeIndex)
{
    OpenData();
    KVXFreeHandToolInterpreter interpreter(&host, &bare.stage, &canvas, nullptr, nullptr, nullptr, 472);
    struct Case {
        int16_t pressure;
        int32_t size;
    };
    for (Case c : {Case{0, 0}, Case{128, 10}, Case{255, 19}}) {
        BrushDab dab = interpreter.MakePathSample({100, 7, kMouseCursor, c.pressure});
        EXPECT_EQ(dab.sizeIndex, c.size) << c.pressure;
        EXPECT_DOUBLE_EQ(dab.x, 100 + 100 / 65535.0);
        EXPECT_DOUBLE_EQ(dab.y, 7 + 7 / 65535.0);
        EXPECT_EQ(dab.dx, 0);
        EXPECT_EQ(dab.dy, 0);
    }
    canvas.SetZoom(true);
    canvas.SetScroll(40, 6);
    BrushDab zoomed = interpreter.MakePathSample({100, 7, kMouseCursor, 255});
    EXPECT_DOUBLE_EQ(zoomed.x, (100 + 100 / 65535.0) / 2 + 40);
    EXPECT_DOUBLE_EQ(zoomed.y, (7 + 7 / 65535.0) / 2 + 6);
}

TEST_F(FreehandTest, TheEraserEndIsChosenByTheFirstSampleAndShowsCursor15)
{
    OpenData();
    LogTool tool(&host, 0);
    tool.Begin();
    MMCursor* toolCursor = Interpreter()->Cursor();
    Press(20, 20);
    Queue(20, 20, kEraserCursor);
    Queue(25, 20, kMouseCursor);
    Pass();
    EXPECT_TRUE(Interpreter()->EraserStroke());
    EXPECT_EQ(Interpreter()->Cursor(), &host.cursors[kEraserEndCursor]);
    Release(25, 20);
    Pass();
    EXPECT_EQ(Interpreter()->Cursor(), toolCursor);
    // Canvas pixels: the stage point minus the canvas's place.
    EXPECT_EQ(tool.log, (std::vector<std::string>{"100 begin 10,10", "100 continue 15,10",
                                                  "100 end 15,10"}));

    tool.log.clear();
    Press(20, 20);
    Queue(20, 20, kMouseCursor);
    Queue(30, 20, kEraserCursor);
    Pass();
    Release(30, 20);
    Pass();
    EXPECT_EQ(tool.log, (std::vector<std::string>{"0 begin 10,10", "0 continue 20,10",
                                                  "0 end 20,10"}));
}

TEST_F(FreehandTest, APassFeedsAtMost100MillisecondsOfSamples)
{
    OpenData();
    LogTool tool(&host, 30);
    tool.Begin();
    Press(20, 20);
    for (int32_t i = 0; i < 10; ++i)
        Queue(20 + i, 20);
    Pass();
    // The first sample begins; four continue before 100 ms are spent.
    EXPECT_EQ(tool.log.size(), 5u);
    Pass();
    EXPECT_EQ(tool.log.size(), 9u);
    Pass();
    EXPECT_EQ(tool.log.size(), 10u);
}

TEST_F(FreehandTest, APressWithoutSamplesPaintsNothingAndControlClickPicks)
{
    OpenData();
    LogTool tool(&host, 0);
    tool.Begin();
    Press(20, 20);
    Release(20, 20);
    for (int i = 0; i < 3; ++i)
        Pass();
    EXPECT_TRUE(tool.log.empty());
    EXPECT_NE(Interpreter()->StrokeTicker().State(), kMMThreadInactive);

    plane.PixelAt(5, 6)->blue = 7;
    uint32_t under = plane.ColorAt(5, 6);
    MMCursor* toolCursor = Interpreter()->Cursor();
    Interpreter()->Interpret(Event(15, 16, kPointerControl));
    EXPECT_EQ(Interpreter()->Cursor(), &host.cursors[kPickCursor]);
    EXPECT_TRUE(host.picks.colours.empty());
    EXPECT_TRUE(Interpreter()->Interpret(Event(15, 16, kPointerControl | kPointerHeld | kPointerPressed)));
    EXPECT_FALSE(Interpreter()->StrokeActive());
    EXPECT_EQ(host.picks.colours, std::vector<uint32_t>{under});
    EXPECT_FALSE(Interpreter()->Interpret(Event(15, 16, kPointerReleased)));
    EXPECT_EQ(Interpreter()->Cursor(), toolCursor);
    EXPECT_TRUE(tool.log.empty());
}

TEST_F(FreehandTest, AStrokeCutOffIsEndedWithItsLastSample)
{
    OpenData();
    LogTool tool(&host, 0);
    tool.Begin();

    // A second press while the first stroke still drains.
    Press(20, 20);
    Queue(20, 20);
    Queue(24, 20);
    Pass();
    Release(24, 20);
    Queue(28, 20);
    Press(40, 30);
    EXPECT_EQ(tool.log, (std::vector<std::string>{"0 begin 10,10", "0 continue 14,10",
                                                  "0 end 14,10"}));
    tool.log.clear();
    Queue(40, 30);
    Pass();
    EXPECT_EQ(tool.log, (std::vector<std::string>{"0 begin 30,20"}));

    // A size change swaps the brush under the pen: the old brush ends its
    // stroke, the new one begins with the next sample.
    tool.log.clear();
    Queue(44, 30);
    Pass();
    tool.SetSizeType(1);
    Queue(48, 30);
    Pass();
    EXPECT_EQ(tool.log, (std::vector<std::string>{"0 continue 34,20", "0 end 34,20",
                                                  "1 begin 38,20"}));

    // Ending the tool ends the stroke too.
    tool.log.clear();
    tool.DeleteMolecules();
    EXPECT_EQ(tool.log, (std::vector<std::string>{"1 end 38,20"}));
}

}  // namespace
