// Rubber-band drawing: straight lines of one point every 5 pixels fed to
// the brush as pressure-255 samples, the two-gesture curve and its cancel.
#include <gtest/gtest.h>

#include "recording_brush.h"
#include "selection/shape_visuals.h"
#include "tool_fixture.h"
#include "tools/shape_interpreter.h"
#include "tools/shape_sound.h"

namespace {

struct ShapeInterpreterTest : ToolFixture {
    void SetUp() override { OpenData(); }
    RecordingBrush brush;
    MMStageEvent Press(int32_t x, int32_t y) { return Event(x, y, kPointerHeld | kPointerPressed); }
    MMStageEvent Drag(int32_t x, int32_t y) { return Event(x, y, kPointerHeld); }
    MMStageEvent Release(int32_t x, int32_t y) { return Event(x, y, kPointerReleased); }
    MMStageEvent Move(int32_t x, int32_t y) { return Event(x, y, 0); }
    std::vector<std::pair<int, int>> Points() const
    {
        std::vector<std::pair<int, int>> out;
        for (const BrushDab& s : brush.samples)
            out.push_back({int(s.x), int(s.y)});
        return out;
    }
};

TEST_F(ShapeInterpreterTest, LinesOfNoneOneAndThreePoints)
{
    struct Case {
        Pair end;
        int32_t count;
    };
    for (Case c : {Case{{18, 13}, 0}, Case{{21, 13}, 1}, Case{{30, 13}, 3}}) {
        EXPECT_EQ(LinePointCount({14, 13}, c.end), c.count) << c.end.x;
    }
    Pair three[3];
    LinePoints({20, 20}, {35, 20}, 3, three);
    EXPECT_EQ(three[1].x, 25);
    EXPECT_EQ(three[2].x, 35);

    KVXStraightLineToolInterpreter line(&host, &bare.stage, &canvas, &brush, nullptr);
    // Too short: nothing is drawn.
    EXPECT_TRUE(line.Interpret(Press(20, 20)));
    EXPECT_TRUE(line.FeedbackShown());
    EXPECT_TRUE(line.Interpret(Drag(22, 22)));
    EXPECT_FALSE(line.Interpret(Release(22, 22)));
    EXPECT_FALSE(line.FeedbackShown());
    EXPECT_TRUE(brush.strokes.empty());

    // n = 1: the end point begins and ends the stroke.
    line.Interpret(Press(20, 20));
    line.Interpret(Release(27, 20));
    EXPECT_EQ(brush.strokes, (std::vector<std::string>{"begin", "end"}));
    EXPECT_EQ(Points(), (std::vector<std::pair<int, int>>{{17, 10}, {17, 10}}));
    EXPECT_EQ(brush.samples[0].sizeIndex, 19);

    // n = 3: start, a third of the way, end, and the end again.
    brush.strokes.clear();
    brush.samples.clear();
    line.Interpret(Press(20, 20));
    line.Interpret(Drag(30, 20));
    line.Interpret(Release(36, 20));
    EXPECT_EQ(brush.strokes, (std::vector<std::string>{"begin", "continue", "continue", "end"}));
    EXPECT_EQ(Points(), (std::vector<std::pair<int, int>>{{10, 10}, {15, 10}, {26, 10}, {26, 10}}));
    EXPECT_EQ(line.ShapeSound()->Channel(), nullptr);
}

TEST_F(ShapeInterpreterTest, ACurveReleasedWhereItWasPressedIsCancelled)
{
    KVXCurvedLineToolInterpreter curve(&host, &bare.stage, &canvas, &brush, nullptr);
    EXPECT_TRUE(curve.Interpret(Press(30, 30)));
    EXPECT_EQ(curve.Phase(), 1);
    curve.Interpret(Drag(40, 30));
    EXPECT_FALSE(curve.Interpret(Release(30, 30)));
    EXPECT_EQ(curve.Phase(), 0);
    EXPECT_FALSE(curve.FeedbackShown());
    EXPECT_TRUE(brush.strokes.empty());

    // Drag, release, bend, click: the curve's points go to the brush.
    curve.Interpret(Press(20, 30));
    curve.Interpret(Drag(60, 30));
    EXPECT_TRUE(curve.Interpret(Release(60, 30)));
    EXPECT_EQ(curve.Phase(), 2);
    curve.Interpret(Move(40, 20));
    EXPECT_FALSE(curve.Interpret(Press(40, 20)));
    EXPECT_EQ(curve.Phase(), 0);
    ASSERT_GE(brush.strokes.size(), 3u);
    EXPECT_EQ(brush.strokes.front(), "begin");
    EXPECT_EQ(brush.strokes.back(), "end");
    EXPECT_EQ(Points().front(), std::make_pair(10, 20));
    EXPECT_EQ(Points().back(), std::make_pair(50, 20));
}

TEST_F(ShapeInterpreterTest, APressOutsideTheCanvasOrAControlClickDrawsNoShape)
{
    KVXStraightLineToolInterpreter line(&host, &bare.stage, &canvas, &brush, nullptr);
    line.SetPending(&host.picks);
    EXPECT_FALSE(line.Interpret(Press(5, 5)));
    EXPECT_FALSE(line.Dragging());
    EXPECT_TRUE(line.Interpret(Event(20, 20, kPointerHeld | kPointerPressed | kPointerControl)));
    EXPECT_FALSE(line.Dragging());
    EXPECT_EQ(host.picks.colours, std::vector<uint32_t>{plane.ColorAt(10, 10)});
    line.Interpret(Event(40, 20, kPointerReleased));
    EXPECT_TRUE(brush.strokes.empty());
}

}  // namespace

namespace {

TEST_F(ShapeInterpreterTest, ACurrentToolSwitchesBetweenFreehandAndLines)
{
    PlainTool tool(&host, kTestToolTable, 0, colour);
    tool.UseStraightLineInterpreter();
    EXPECT_EQ(tool.Interpreter(), nullptr) << "not current: nothing changes";
    tool.Begin();
    tool.UseStraightLineInterpreter();
    auto* line = dynamic_cast<KVXStraightLineToolInterpreter*>(tool.Interpreter());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(canvas.GetMouseInterpreter(), static_cast<MMMouseInterpreter*>(line));
    EXPECT_EQ(line->Cursor(), &host.cursors[22]);
    EXPECT_TRUE(line->PickEnabled());
    tool.UseCurvedLineInterpreter();
    EXPECT_NE(dynamic_cast<KVXCurvedLineToolInterpreter*>(tool.Interpreter()), nullptr);
    tool.UseFreeHandInterpreter();
    EXPECT_EQ(dynamic_cast<KVXShapeInterpreter*>(tool.Interpreter()), nullptr);
    EXPECT_EQ(canvas.GetMouseInterpreter(), static_cast<MMMouseInterpreter*>(tool.Interpreter()));
    tool.DeleteMolecules();
}

}  // namespace
