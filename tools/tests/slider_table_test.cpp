// What the sliders choose: (tool, slider 1, slider 2) to the slider-full
// flags, the height pair, the draw-method kind and the brush's kind.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <typeinfo>

#include "brushes/rainbow_brush.h"
#include "brushes/sprayer_brushes.h"
#include "tool_fixture.h"
#include "tools/marker_tools.h"
#include "tools/interpreter_with_brush.h"
#include "tools/roller_tools.h"

namespace {

typedef KVXBrushStdTransfer<KVXBuildupTransfer, KVXPlainPixelTransfer, KVXHeightTransfer,
                            KVXColorGeneratorBleed, KVXOpacityGeneratorNib>
    RaisingMarker;
typedef KVXBrushStdTransfer<KVXBuildupTransfer, KVXPlainPixelTransfer, KVXHeightCarve,
                            KVXColorGeneratorBleed, KVXOpacityGeneratorNib>
    CarvingMarker;
typedef KVXBrushRainbow<KVXBuildupTransfer, KVXPlainPixelTransfer, KVXHeightTransfer,
                        KVXColorGeneratorBleed, KVXOpacityGeneratorNib>
    RaisingRainbow;
typedef KVXBrushRainbow<KVXBuildupTransfer, KVXPlainPixelTransfer, KVXHeightCarve,
                        KVXColorGeneratorBleed, KVXOpacityGeneratorNib>
    CarvingRainbow;
typedef KVXBrushDirectionalSprayer<KVXCoverTransfer, KVXImageRollerPixelTypeTransfer,
                                   KVXHeightTransfer>
    RaisingRoller;
typedef KVXBrushDirectionalSprayer<KVXCoverTransfer, KVXImageRollerPixelTypeTransfer, KVXHeightCarve>
    CarvingRoller;

struct SliderTableTest : ToolFixture {
    void SetUp() override
    {
        rows[2].values[12] = 0;  // height ratio 0 / 255
        rows[2].values[13] = 255;
        // A roller table: row 0 names table 905, whose key-1 rows are pictures.
        TestTable roller;
        roller.table = 904;
        roller.rowSize = 8;
        PutShort(roller.rows, 905);
        PutShort(roller.rows, 0);
        PutLong(roller.rows, 0);
        extraTables.push_back(roller);
        TestTable pictures;
        pictures.table = 905;
        extraTables.push_back(pictures);
        OpenData();
    }
};

struct Row {
    const char* tool;
    int16_t slider1, slider2;
    bool full;
    int16_t heightMin, heightMax;
    int32_t drawKind;
    const std::type_info* brush;
};

TEST_F(SliderTableTest, SlidersChooseHeightsDrawMethodAndBrush)
{
    const Row table[] = {
        {"marker", 0, 255, false, 0, 0, 3, &typeid(CarvingMarker)},
        {"marker", 0, 256, true, 0, 1, 4, &typeid(RaisingMarker)},
        {"marker", 0, 0, false, 0, 255, 5, &typeid(CarvingMarker)},
        {"marker", 0, 510, true, 0, 255, 4, &typeid(RaisingMarker)},
        {"rainbow", 0, 255, false, 0, 0, 5, &typeid(CarvingRainbow)},
        {"rainbow", 0, 300, true, 0, 45, 4, &typeid(RaisingRainbow)},
        {"roller", 0, 255, false, 0, 0, 16, &typeid(CarvingRoller)},
        {"roller", 0, 256, true, 1, 1, 16, &typeid(RaisingRoller)},  // its height ratio is 1
    };
    for (const Row& r : table) {
        SCOPED_TRACE(std::string(r.tool) + " " + std::to_string(r.slider2));
        if (std::string(r.tool) == "roller") {
            KVXToolImageRoller roller(&host, colour, 904, 0);
            roller.Begin();
            roller.SetSlider1(r.slider1);
            roller.SetSlider2(r.slider2);
            EXPECT_EQ(roller.Slider2Full(), r.full);
            EXPECT_EQ(roller.HeightMin(), r.heightMin);
            EXPECT_EQ(roller.HeightMax(), r.heightMax);
            EXPECT_EQ(roller.DrawMethodKind(), r.drawKind);
            ASSERT_NE(roller.Brush(), nullptr);
            EXPECT_EQ(typeid(*roller.Brush()), *r.brush);
            EXPECT_EQ(canvas.GetMouseInterpreter(), static_cast<MMMouseInterpreter*>(roller.Interpreter()));
            roller.DeleteMolecules();
            continue;
        }
        std::unique_ptr<KVXToolStd> tool;
        if (std::string(r.tool) == "marker")
            tool = std::make_unique<MarkerTool>(&host, kTestToolTable, 2, colour);
        else
            tool = std::make_unique<RainbowMarkerTool>(&host, kTestToolTable, colour);
        tool->Begin();
        tool->SetSlider1(r.slider1);
        tool->SetSlider2(r.slider2);
        EXPECT_EQ(tool->Slider2Full(), r.full);
        EXPECT_EQ(tool->Pressures().heightMin, r.heightMin);
        EXPECT_EQ(tool->Pressures().heightMax, r.heightMax);
        EXPECT_EQ(tool->DrawMethodKind(), r.drawKind);
        ASSERT_NE(tool->Brush(), nullptr);
        EXPECT_EQ(typeid(*tool->Brush()), *r.brush);
        EXPECT_NE(tool->WriteAllBrush(), nullptr);
        EXPECT_EQ(canvas.GetMouseInterpreter(), static_cast<MMMouseInterpreter*>(tool->Interpreter()));
        tool->DeleteMolecules();
    }
}

TEST_F(SliderTableTest, ATableDefaultOf255ReadsFullUntilTheMarkerSetsItsSlider)
{
    rows[2].slider2 = 255;
    PlainTool plain(&host, kTestToolTable, 2, colour);
    EXPECT_TRUE(plain.Slider2Full());
    MarkerTool marker(&host, kTestToolTable, 2, colour);
    EXPECT_FALSE(marker.Slider2Full());
    EXPECT_EQ(marker.CursorIndex(), kToolCursor);
    EXPECT_EQ(marker.SoundId(), 484);
}

TEST_F(SliderTableTest, ARollerNotCurrentOnlyStoresItsHeights)
{
    KVXToolImageRoller roller(&host, colour, 904, 0);
    roller.SetSlider2(400);
    EXPECT_EQ(roller.HeightMax(), 145);
    EXPECT_EQ(roller.Brush(), nullptr);
    EXPECT_EQ(roller.Interpreter(), nullptr);
}

}  // namespace

namespace {

TEST_F(SliderTableTest, AMarkerTwinPaintsThePreviewAndTakesNoInterpreter)
{
    BlankCanvas preview(32, 16);
    ModifierMarkerTool twin(&host, kTestToolTable, 2, colour, &preview);
    twin.Begin();
    ASSERT_NE(twin.Brush(), nullptr);
    EXPECT_EQ(twin.Interpreter(), nullptr);
    EXPECT_EQ(canvas.GetMouseInterpreter(), nullptr);
    BrushDab dab;
    dab.Set(8, 8, 19, 0, 0);
    twin.Brush()->BeginStroke(&dab);
    twin.Brush()->EndStroke(&dab);
    EXPECT_NE(preview.ColorAt(8, 8), 0x00FFFFFFu);
    EXPECT_EQ(plane.ColorAt(8, 8), 0x00FFFFFFu);
    twin.DeleteMolecules();
    EXPECT_EQ(twin.Brush(), nullptr);

    ModifierLeakyMarkerTool inert(&host, kTestToolTable, 2, colour, &preview);
    inert.Begin();
    EXPECT_EQ(inert.Brush(), nullptr);
    inert.SetSlider2(400);
    EXPECT_EQ(inert.Slider2(), 400);
}

}  // namespace
