// The bucket pours where the pen goes down; the shape tool paints its
// rubber band's box straight into the canvas, clipped to it.
#include <gtest/gtest.h>

#include "tool_fixture.h"
#include "tools/fill_tools.h"
#include "tools/shape_tool.h"

namespace {

struct FillShapeTest : ToolFixture {
    void SetUp() override { OpenData(); }
    void Interpret(KVXToolBase& tool, int32_t x, int32_t y, uint32_t flags)
    {
        tool.Interpreter()->Interpret(Event(x, y, flags));
    }
};

TEST_F(FillShapeTest, TheBucketFillsTheBlankCanvasFromThePress)
{
    FloodTool fill(&host, kTestToolTable, colour);
    EXPECT_EQ(fill.SizeType(), 2);
    EXPECT_EQ(fill.SoundId(), 479);
    fill.Begin();
    Interpret(fill, 20, 20, kPointerHeld | kPointerPressed);
    Queue(20, 20);
    Pass();
    Interpret(fill, 20, 20, kPointerReleased);
    Pass();
    EXPECT_EQ(plane.ColorAt(10, 10), 0x001E140Au);
    EXPECT_EQ(plane.ColorAt(63, 47), 0x001E140Au);
    fill.DeleteMolecules();
}

TEST_F(FillShapeTest, AFilledRectangleIsPaintedAndItsDirtyBoxStaysInThePlane)
{
    ShapeTool shape(&host, kShapeRectangle, kFillSolid, kTestToolTable, colour);
    shape.Begin();
    EXPECT_NE(shape.Brush(), nullptr);  // slider 2 is 255
    EXPECT_EQ(shape.DrawMethodKind(), 1);
    Interpret(shape, 20, 20, kPointerHeld | kPointerPressed);
    Interpret(shape, 90, 30, kPointerHeld);
    Interpret(shape, 90, 30, kPointerReleased);
    EXPECT_EQ(plane.ColorAt(15, 12), 0x001E140Au);
    EXPECT_EQ(plane.ColorAt(5, 5), 0x00FFFFFFu);
    EXPECT_LE(plane.DirtyBox().right, 64);
    EXPECT_LE(plane.DirtyBox().bottom, 48);
    shape.DeleteMolecules();

    ShapeTool raised(&host, kShapeEllipse, kFillOutline, kTestToolTable, colour);
    raised.SetSlider2(300);
    raised.Begin();
    EXPECT_EQ(raised.Brush(), nullptr);
    raised.DeleteMolecules();
}

}  // namespace
