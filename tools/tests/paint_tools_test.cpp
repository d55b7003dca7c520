// The painting tools: what their sliders make of flags, heights, draw
// method and brush; the fine spray that paints on while the pen rests; a
// chalk stroke replayed through the pen ring; the eraser end of a tool
// without one of its own.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "brushes/multi_brush.h"
#include "brushes/single_brushes.h"
#include "brushes/smear_brush.h"
#include "brushes/squeegee_brush.h"
#include "tool_fixture.h"
#include "tools/chalk_tools.h"
#include "tools/eraser_tools.h"
#include "tools/freehand_interpreter.h"
#include "tools/oil_tools.h"
#include "tools/pencil_tools.h"
#include "tools/smear_tools.h"
#include "tools/spray_tools.h"

namespace {

template <class PT, class HT>
using Spray = KVXBrushStdTransfer<KVXCoverTransfer, PT, HT, KVXColorGeneratorSaturation,
                                  KVXOpacityGeneratorNib>;
template <class CT, class HT>
using Eraser = KVXBrushWriteAll<CT, KVXPlainPixelTransfer, HT, KVXColorGeneratorColor,
                                KVXOpacityGeneratorNib>;
template <class HT>
using Chalk = KVXBrushStdTransfer<KVXCoverTransfer, KVXPlainPixelTransfer, HT,
                                  KVXColorGeneratorSaturation, KVXOpacityGeneratorGrainy>;
template <class PT, class HT>
using Finger = KVXBrushDirectionalCAndHMover<KVXCoverTransfer, PT, HT, KVXColorGeneratorSaturation,
                                             KVXOpacityGeneratorNib>;

template <class B>
bool Is(BrushBase* b)
{
    return dynamic_cast<B*>(b) != nullptr;
}

template <class G>
bool Walks(BrushBase* b)
{
    auto* policy = dynamic_cast<KVXPolicyBrush*>(b);
    return policy && dynamic_cast<G*>(policy->PathGenerator()) != nullptr;
}

struct PaintToolTest : ToolFixture {
    KVXFreeHandToolInterpreter* Interpreter()
    {
        return dynamic_cast<KVXFreeHandToolInterpreter*>(canvas.GetMouseInterpreter());
    }
    void Press(int32_t x, int32_t y)
    {
        Interpreter()->Interpret(Event(x, y, kPointerHeld | kPointerPressed));
    }
    void Release(int32_t x, int32_t y) { Interpreter()->Interpret(Event(x, y, kPointerReleased)); }
    void Passes(int count, uint32_t ms)
    {
        for (int i = 0; i < count; ++i) {
            FakeClock::now += ms;
            bare.stage.RunDueTasks();
        }
    }
};

}  // namespace

// (tool, slider 1, slider 2) -> flags, height max, draw method, brush.
TEST_F(PaintToolTest, SlidersChooseFlagsHeightsDrawMethodAndBrush)
{
    OpenData();
    struct Case {
        const char* what;
        std::function<KVXToolStd*()> make;
        int16_t slider1, slider2;
        int full1, full2;  // -1 where the tool keeps the table's flag
        int16_t heightMax;
        int32_t kind;
        std::function<bool(BrushBase*)> brush;
    };
    auto fine = [&] { return new FineSprayTool(&host, kTestToolTable, 0, colour); };
    auto soft = [&] { return new SoftEraserTool(&host, kTestToolTable, 0); };
    auto chalk = [&] { return new ChalkTool(&host, kTestToolTable, 0, colour); };
    auto oil = [&] { return new OilTool(&host, kTestToolTable, 0, colour); };
    auto finger = [&] { return new FingerPaintTool(&host, kTestToolTable, 0, colour); };
    auto squeegee = [&] { return new SqueegeeEraserTool(&host, kTestToolTable, 0); };
    const Case cases[] = {
        {"fine spray drippy, raising", fine, 300, 400, 1, 1, 145, 7,
         Is<Spray<KVXDrippyPixelTypeTransfer, KVXHeightTransfer>>},
        {"fine spray drippy, flat", fine, 300, 255, 1, 0, 0, 3,
         Is<Spray<KVXDrippyPixelTypeTransfer, KVXHeightCarve>>},
        {"fine spray plain, carving", fine, 0, 100, 0, 0, 155, 5,
         Is<Spray<KVXPlainPixelTransfer, KVXHeightCarve>>},
        {"soft eraser, height only", soft, 255, 169, -1, -1, 0, 5,
         Is<Eraser<KVXNULLTransfer, KVXHeightEraser>>},
        {"soft eraser, colour and height", soft, 255, 170, -1, -1, 0, 5,
         Is<Eraser<KVXCoverTransfer, KVXHeightEraser>>},
        {"soft eraser, colour and height, plain", soft, 255, 339, -1, -1, 0, 3,
         Is<Eraser<KVXCoverTransfer, KVXHeightEraser>>},
        {"soft eraser, colour only", soft, 255, 340, -1, -1, 0, 3,
         Is<Eraser<KVXCoverTransfer, KVXNULLHeightTransfer>>},
        {"squeegee, colour only", squeegee, 255, 340, -1, -1, 0, 3,
         Is<KVXBrushSqueegeeBase<KVXCoverTransfer, KVXPlainPixelTransfer, KVXNULLHeightTransfer,
                                 KVXColorGeneratorColor, KVXOpacityGeneratorNib>>},
        {"chalk flat", chalk, 255, 255, -1, 0, 0, 3, Is<Chalk<KVXHeightCarve>>},
        {"chalk raising", chalk, 255, 510, -1, 1, 255, 4, Is<Chalk<KVXHeightTransfer>>},
        {"chalk carving", chalk, 255, 0, -1, 0, 255, 5, Is<Chalk<KVXHeightCarve>>},
        {"chalk line style 0", chalk, 0, 255, -1, 0, 0, 3, Walks<DashedLinePathGenerator>},
        {"chalk line style 6", chalk, 510, 255, -1, 0, 0, 3,
         Walks<RandomAnglesPathGenerator>},
        {"oil drippy, flat", oil, 256, 255, 1, 0, 0, 3, Is<KVXBrushRake>},
        {"oil plain, raising", oil, 255, 300, 0, 1, 45, 4, Is<KVXBrushRake>},
        {"finger drippy, carving", finger, 256, 0, 1, 0, 255, 8,
         Is<Finger<KVXDrippyPixelTypeTransfer, KVXHeightCarve>>},
        {"finger plain, raising", finger, 0, 510, 0, 1, 255, 4,
         Is<Finger<KVXPlainPixelTransfer, KVXHeightTransfer>>},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<KVXToolStd> tool(c.make());
        tool->Begin();
        tool->SetSlider1(c.slider1);
        tool->SetSlider2(c.slider2);
        if (c.full1 >= 0) {
            EXPECT_EQ(c.full1 != 0, tool->Slider1Full());
        }
        if (c.full2 >= 0) {
            EXPECT_EQ(c.full2 != 0, tool->Slider2Full());
        }
        if (dynamic_cast<SoftEraserTool*>(tool.get()) == nullptr) {
            EXPECT_EQ(c.heightMax, tool->Pressures().heightMax);
        } else {
            EXPECT_EQ(127, tool->Pressures().opacityMax) << "slider 1 halved";
        }
        EXPECT_EQ(c.kind, tool->DrawMethodKind());
        EXPECT_TRUE(c.brush(tool->Brush()));
        EXPECT_EQ(tool->Brush(), Interpreter()->Brush()) << "the interpreter paints with it";
        tool->DeleteMolecules();
    }
}

TEST_F(PaintToolTest, SlidersOfAToolNotCurrentOnlyStoreTheirValues)
{
    OpenData();
    FineSprayTool spray(&host, kTestToolTable, 0, colour);
    spray.SetSlider1(300);
    spray.SetSlider2(400);
    EXPECT_EQ(nullptr, spray.Brush());
    EXPECT_EQ(7, spray.DrawMethodKind());
    spray.Begin();
    EXPECT_TRUE((Is<Spray<KVXDrippyPixelTypeTransfer, KVXHeightTransfer>>(spray.Brush())));
    // Slider 1 of a current spray: the brush takes the paint kind later.
    BrushBase* before = spray.Brush();
    spray.SetSlider1(0);
    EXPECT_EQ(before, spray.Brush());
    EXPECT_EQ(4, spray.DrawMethodKind());
    spray.SetSlider2(400);
    EXPECT_TRUE((Is<Spray<KVXPlainPixelTransfer, KVXHeightTransfer>>(spray.Brush())));
    spray.DeleteMolecules();
}

TEST_F(PaintToolTest, GloppyRadiiFollowTheDiametersAndASizeChangeKeepsTheMetaball)
{
    rows[0].values[8] = 128;
    rows[0].values[9] = 200;
    rows[1].values[8] = 51;
    rows[1].values[9] = 255;
    OpenData();
    GloppyPaintTool glop(&host, kTestToolTable, 0, colour);
    EXPECT_EQ(10, glop.DrawMethodKind());
    glop.Begin();
    auto* metaball = dynamic_cast<KVXBrushMetaball*>(glop.Brush());
    ASSERT_NE(metaball, nullptr);
    EXPECT_EQ(50, metaball->radiusMin);
    EXPECT_EQ(78, metaball->radiusMax);
    glop.SetSizeType(1);
    EXPECT_EQ(metaball, glop.Brush());
    EXPECT_EQ(20, metaball->radiusMin);
    EXPECT_EQ(100, metaball->radiusMax);
    glop.DeleteMolecules();
}

TEST_F(PaintToolTest, FineSprayPaintsWhileThePenRests)
{
    // A faint spray: every dab moves the paper a little toward the colour.
    rows[0].values[4] = 40;
    rows[0].values[5] = 40;
    OpenData();
    FineSprayTool spray(&host, kTestToolTable, 0, colour);
    spray.SetSlider2(255);
    spray.Begin();
    BrushDab down;
    down.Set(30, 20, 19, 0, 0);
    spray.Brush()->BeginStroke(&down);
    uint8_t first = plane.PixelAt(30, 20)->blue;
    EXPECT_LT(first, 255) << "the pen-down dab";
    Passes(100, 1);
    uint8_t rested = plane.PixelAt(30, 20)->blue;
    EXPECT_LT(rested, first) << "dabs every 10 ms at the resting pen";
    spray.Brush()->EndStroke(&down);
    Passes(50, 1);
    EXPECT_EQ(rested, plane.PixelAt(30, 20)->blue) << "nothing once the pen is up";
    spray.DeleteMolecules();
}

// The chalk through the pen ring, with a solid 5 x 5 nib, full opacity, a
// texture that lets everything through and dabs 255 pixels apart: slider 2
// at 255 leaves the paper's height, at 510 raises every pixel of the press's
// dab by 255.
TEST_F(PaintToolTest, AReplayedChalkStrokeRaisesOnlyAboveTheMiddle)
{
    rows[0].values[10] = 255;
    rows[0].values[11] = 255;
    rows[0].values[6] = 255;
    rows[0].values[7] = 255;
    rows[0].values[13] = 255;
    OpenData();
    plane.PixelAt(9, 10)->type = kPixelLocked;
    struct Case {
        int16_t slider2;
        uint16_t height;
    };
    for (Case c : {Case{255, 3072}, Case{510, 3072 + 255}}) {
        SCOPED_TRACE(c.slider2);
        plane.Fill(kBlankPixel);
        plane.PixelAt(9, 10)->type = kPixelLocked;
        ChalkTool chalk(&host, kTestToolTable, 0, colour);
        chalk.SetSlider2(c.slider2);
        chalk.Begin();
        Press(20, 20);
        for (int32_t x : {20, 30, 40})
            Queue(x, 20);
        Passes(1, 1);
        Release(40, 20);
        Passes(1, 1);
        const uint32_t painted = 0x001E140A;
        for (int32_t y = 6; y <= 14; ++y) {
            for (int32_t x = 6; x <= 9; ++x) {
                const KVXComponentPixel* p = plane.PixelAt(x, y);
                if (x == 9 && y == 10) {
                    EXPECT_EQ(p->ColorWord(), (uint32_t(kPixelLocked) << 24) | 0xFFFFFF);
                    EXPECT_EQ(p->height, 3072);
                    continue;
                }
                bool inside = y >= 8 && y <= 12 && x >= 8;
                EXPECT_EQ(p->ColorWord(), inside ? painted : 0x00FFFFFFu) << x << "," << y;
                EXPECT_EQ(p->height, inside ? c.height : 3072) << x << "," << y;
            }
        }
        chalk.DeleteMolecules();
    }
}

// The soft eraser has no eraser end of its own: the stylus's eraser end
// erases with the tip's brush.
TEST_F(PaintToolTest, TheEraserEndOfTheSoftEraserErasesLikeItsTip)
{
    rows[0].values[12] = 60;
    rows[0].values[13] = 120;
    OpenData();
    KVXComponentPixel red = kBlankPixel;
    red.red = 255;
    red.green = 0;
    red.blue = 0;
    red.height = 3500;
    plane.Fill(red);
    SoftEraserTool eraser(&host, kTestToolTable, 0);
    eraser.SetSlider1(510);
    eraser.SetSlider2(255);
    eraser.Begin();
    EXPECT_EQ(nullptr, eraser.WriteAllBrush());
    for (int16_t cursor : {kMouseCursor, kEraserCursor}) {
        int32_t y = cursor == kMouseCursor ? 20 : 40;
        Press(20, y);
        Queue(20, y, cursor);
        Passes(1, 1);
        Release(20, y);
        Passes(1, 1);
    }
    const KVXComponentPixel* tip = plane.PixelAt(10, 10);
    const KVXComponentPixel* end = plane.PixelAt(10, 30);
    EXPECT_EQ(0x00FFFFFFu, tip->ColorWord());
    EXPECT_EQ(tip->ColorWord(), end->ColorWord());
    EXPECT_EQ(tip->height, end->height);
    EXPECT_LT(tip->height, 3500) << "pulled toward the paper's height";
    eraser.DeleteMolecules();
}
