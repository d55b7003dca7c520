// The painting tools on the program's own data files, as the build wrote
// them: the image tube's pieces and sound, the image spray's entries, the
// whipped cream's picture, the bundle's pencils at their offsets, the oil's
// rake and the modifier twins.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <cstring>
#include <string>

#include "brushes/brush_scene.h"
#include "brushes/multi_brush.h"
#include "brushes/single_brushes.h"
#include "brushes/sprayer_brushes.h"
#include "canvas/effect_draw_methods.h"
#include "engine/picture_collection.h"
#include "engine/tests/built_data.h"
#include "tool_fixture.h"
#include "tools/chalk_tools.h"
#include "tools/color_cycle_tool.h"
#include "tools/eraser_tools.h"
#include "tools/freehand_interpreter.h"
#include "tools/gridded_sprayer.h"
#include "tools/image_tools.h"
#include "tools/oil_tools.h"
#include "tools/pencil_tools.h"
#include "tools/smear_tools.h"
#include "tools/spray_tools.h"

namespace {

struct Placed {
    int32_t animation;
    int32_t picture;
    Pair point;
};

class PlacingHost : public TestHost {
public:
    KVXBrushScene* BrushScene() override { return &placing; }
    struct Log : KVXBrushScene {
        void StartSprayedAnimation(int32_t animation, int32_t picture, const Pair& point,
                                   bool) override
        {
            placed.push_back({animation, picture, point});
        }
        void PlayPhaserSound() override {}
        std::vector<Placed> placed;
    } placing;
};

struct BuiltDataTools : ToolFixture {
    PlacingHost built;

    // The phaser's draw method holds its frames until it goes.
    void TearDown() override { canvas.SetDrawMethod(3, 255, 255, 0); }

    void SetUp() override
    {
        ASSERT_TRUE(OpenBuiltData()) << "run scripts/make-data.sh";
        built.scene = &scene;
        built.canvas = &canvas;
        built.plane = &plane;
        built.bytes = &texture;
    }

    KVXFreeHandToolInterpreter* Interpreter()
    {
        return dynamic_cast<KVXFreeHandToolInterpreter*>(canvas.GetMouseInterpreter());
    }
    // A stroke through the pen ring, the ticker and the tool's interpreter.
    void Replay(std::initializer_list<Pair> points)
    {
        Pair first = *points.begin();
        Interpreter()->Interpret(Event(first.x, first.y, kPointerHeld | kPointerPressed));
        for (const Pair& at : points) {
            Queue(at.x, at.y);
            FakeClock::now += 5;
            bare.stage.RunDueTasks();
        }
        Pair last = *(points.end() - 1);
        Interpreter()->Interpret(Event(last.x, last.y, kPointerReleased));
        FakeClock::now += 5;
        bare.stage.RunDueTasks();
    }

    void Stroke(BrushBase* brush, std::initializer_list<Pair> points)
    {
        BrushDab d;
        bool first = true;
        for (const Pair& at : points) {
            d.Set(at.x, at.y, 19, 0, 0);
            if (first)
                brush->BeginStroke(&d);
            else
                brush->ContinueStroke(&d);
            first = false;
        }
        brush->EndStroke(&d);
    }
};

}  // namespace

TEST_F(BuiltDataTools, TheImageTubeLaysItsPiecesWithItsOwnSound)
{
    MMRecordTable sounds, tubes;
    sounds.Load(kImageTubeSounds, 2, nullptr);
    tubes.Load(kImageTubeTable, 8, nullptr);
    ASSERT_GE(tubes.RowCount(), 2);
    for (int32_t type = 0; type < 2; ++type) {
        SCOPED_TRACE(type);
        built.placing.placed.clear();
        KVXToolImageTube tube(&built, kImageTubeTable, type);
        EXPECT_EQ(sounds.ItemIdAt(type, 0), tube.SoundId());
        EXPECT_EQ(ToolCursorIndex(24, -1), tube.CursorIndex());
        tube.Begin();
        auto* brush = dynamic_cast<KVXBrushGriddedSprayer*>(tube.Brush());
        ASSERT_NE(brush, nullptr);
        for (const KVXSprayEntry& e : brush->entries) {
            EXPECT_NE(-1, e.picture);
            EXPECT_EQ(1, e.flag);
        }
        // Right through three 100-pixel cells of the canvas's plane.
        Stroke(brush, {{10, 20}, {110, 20}, {210, 20}});
        ASSERT_EQ(3u, built.placing.placed.size());
        EXPECT_EQ(brush->entries[5].picture, built.placing.placed[0].picture);
        EXPECT_EQ(brush->entries[13].picture, built.placing.placed[1].picture);
        EXPECT_EQ(brush->entries[15].picture, built.placing.placed[2].picture);
        tube.DeleteMolecules();
    }
}

TEST_F(BuiltDataTools, TheImageSprayDrawsFromItsSet)
{
    KVXToolImageSpray spray(&built, kImageSprayTable, 1);
    EXPECT_EQ(ToolCursorIndex(19, -1), spray.CursorIndex());
    EXPECT_EQ(6, KVXToolImageSpray(&built, 506, 1).CursorIndex()) << "only table 539 has its cursor";
    spray.Begin();
    auto* sprayer = dynamic_cast<KVXBrushSprayer*>(spray.Brush());
    ASSERT_NE(sprayer, nullptr);
    ASSERT_EQ(3u, sprayer->entries.size());
    EXPECT_NE(-1, sprayer->entries[0].animation) << "the first lands with a pop";
    EXPECT_EQ(-1, sprayer->entries[1].animation);
    Stroke(sprayer, {{20, 20}});
    ASSERT_EQ(1u, built.placing.placed.size()) << "the pen-down dab";
    bool listed = false;
    for (const KVXSprayEntry& e : sprayer->entries)
        listed |= e.picture == built.placing.placed[0].picture;
    EXPECT_TRUE(listed);
    EXPECT_EQ((Pair{20, 20}), built.placing.placed[0].point);
    spray.DeleteMolecules();
}

TEST_F(BuiltDataTools, TheWhippedCreamStampsTheFirstPictureOfItsRow)
{
    KVXToolImageSpray none(&built, 506, 9);
    none.Begin();
    EXPECT_TRUE(dynamic_cast<KVXBrushSprayer*>(none.Brush())->entries.empty()) << "no such row";
    none.DeleteMolecules();

    WhippedCream cream(&built, 506, colour);
    EXPECT_EQ(ToolCursorIndex(23, -1), cream.CursorIndex());
    cream.Begin();
    auto* sprayer = dynamic_cast<KVXBrushSingleImageSprayer*>(cream.Brush());
    ASSERT_NE(sprayer, nullptr);
    ASSERT_EQ(1u, sprayer->pictureIds.size());
    MMPictureReference picture;
    picture.Load(sprayer->pictureIds[0]);
    EXPECT_GT(picture.GetSize().x, 0);
    Stroke(sprayer, {{20, 24}, {40, 24}});
    EXPECT_NE(0x00FFFFFFu, plane.ColorAt(40, 24)) << "cream along the stroke";
    cream.DeleteMolecules();
}

TEST_F(BuiltDataTools, TheBundleStandsItsPencilsAtTheTablesOffsets)
{
    MMRecordTable settings, offsets;
    settings.Load(508, kToolRowSize, nullptr);
    struct Case {
        int32_t type;
        MMResourceId table;
    };
    for (Case c : {Case{2, 511}, Case{4, 513}}) {
        SCOPED_TRACE(c.type);
        offsets.Load(c.table, 10, nullptr);
        EXPECT_EQ(c.table, BundleOffsetTable(c.type));
        BundlePencilTool bundle(&built, 508, c.type, colour);
        bundle.Begin();
        KVXBrushMultiBundle* pencils = bundle.Bundle();
        ASSERT_NE(pencils, nullptr);
        ASSERT_EQ(settings.ShortAt(c.type, 28), pencils->BristleCount());
        for (int32_t j = 0; j < pencils->BristleCount(); ++j) {
            Pair expected = {offsets.ShortAt(offsets.FindRow(0, 0, j, 0), 2),
                             offsets.ShortAt(offsets.FindRow(0, 0, j, 1), 2)};
            EXPECT_EQ(expected, pencils->offsets[size_t(j)]) << j;
        }
        // A new slider 2 replaces the bundle: deleted once, rebuilt whole.
        bundle.SetSlider2(400);
        EXPECT_EQ(settings.ShortAt(c.type, 28), bundle.Bundle()->BristleCount());
        EXPECT_EQ(bundle.Brush(), bundle.Interpreter()->Brush());
        bundle.DeleteMolecules();
        EXPECT_EQ(nullptr, bundle.Bundle());
    }
    EXPECT_EQ(511, BundleOffsetTable(7));
}

TEST_F(BuiltDataTools, TheOilRakeHasTheRowsBristlesAndTheTwinPaintsItsPreview)
{
    MMRecordTable settings;
    settings.Load(514, kToolRowSize, nullptr);
    OilTool oil(&built, 514, 2, colour);
    oil.Begin();
    ASSERT_NE(oil.Rake(), nullptr);
    EXPECT_EQ(settings.ShortAt(2, 28), oil.Rake()->BristleCount());
    EXPECT_NE(nullptr, oil.WriteAllBrush());
    oil.DeleteMolecules();

    BlankCanvas preview(32, 32);
    ModifierChalkTool twin(&built, 518, colour, &preview);
    twin.Begin();
    ASSERT_NE(twin.Brush(), nullptr);
    EXPECT_EQ(nullptr, twin.WriteAllBrush()) << "a twin has no eraser end";
    EXPECT_EQ(nullptr, twin.Interpreter());
    EXPECT_EQ(nullptr, canvas.GetMouseInterpreter());
    BrushDab at;
    at.Set(16, 16, 19, 0, 0);
    twin.Brush()->BeginStroke(&at);
    twin.Brush()->EndStroke(&at);
    EXPECT_FALSE(preview.DirtyBox().IsEmpty()) << "the preview is painted";
    EXPECT_TRUE(plane.DirtyBox().IsEmpty()) << "the canvas is not";
    twin.DeleteMolecules();
    EXPECT_EQ(nullptr, twin.Brush());
}

// Every painting tool of the trays, with its own table, paints a stroke
// replayed through the pen ring.
TEST_F(BuiltDataTools, EveryPaintToolPaintsAReplayedStroke)
{
    struct Case {
        const char* what;
        std::function<KVXToolStd*()> make;
    };
    const uint8_t* c = colour;
    const Case cases[] = {
        {"chalk", [&] { return new ChalkTool(&built, 518, 2, c); }},
        {"crayon", [&] { return new CrayonTool(&built, 522, 2, c); }},
        {"melted crayon", [&] { return new MeltedCrayonTool(&built, 523, 2, c); }},
        {"pencil", [&] { return new PencilTool(&built, 507, 2, c); }},
        {"bundle", [&] { return new BundlePencilTool(&built, 508, 2, c); }},
        {"oil", [&] { return new OilTool(&built, 514, 2, c); }},
        {"watercolour", [&] { return new WaterColorTool(&built, 515, 2, c); }},
        {"finger paint", [&] { return new FingerPaintTool(&built, 516, 2, c); }},
        {"toothbrush", [&] { return new ElectricToothbrushTool(&built, 517, 2, c); }},
        {"fine spray", [&] { return new FineSprayTool(&built, 498, 2, c); }},
        {"spatter", [&] { return new SpatterTool(&built, 499, 2, c); }},
        {"gloppy paint", [&] { return new GloppyPaintTool(&built, 500, 2, c); }},
        {"soft eraser", [&] { return new SoftEraserTool(&built, 525, 2); }},
        {"water", [&] { return new WaterTool(&built, 526, 2, c); }},
        {"squeegee", [&] { return new SqueegeeEraserTool(&built, 527, 2); }},
        {"phaser", [&] { return new PhaserEraserTool(&built, 528); }},
    };
    KVXComponentPixel paint = kBlankPixel;
    paint.blue = 200;
    paint.green = 40;
    paint.red = 90;
    paint.height = 3400;
    for (const Case& t : cases) {
        SCOPED_TRACE(t.what);
        plane.Fill(paint);
        plane.SetDirtyBox({0, 0, 0, 0});
        std::unique_ptr<KVXToolStd> tool(t.make());
        tool->Begin();
        ASSERT_NE(Interpreter(), nullptr);
        Replay({{20, 20}, {30, 24}, {40, 30}, {50, 34}});
        if (auto* phaser = dynamic_cast<KVXDrawMethodPhaser*>(canvas.DrawMethod())) {
            EXPECT_TRUE(phaser->IsRunning()) << "a burst at the press";
        } else {
            EXPECT_FALSE(plane.DirtyBox().IsEmpty());
        }
        tool->DeleteMolecules();
    }
}

// The colour-cycle tool (on the chalk's settings) lays cycling paint that
// changes colour along the stroke, raises the paint and leaves locked
// pixels alone.
TEST_F(BuiltDataTools, ColourCyclePaintChangesColourAlongTheStroke)
{
    plane.Fill(kBlankPixel);
    KVXComponentPixel locked = kBlankPixel;
    locked.type = kPixelLocked;
    const int32_t lockedColumn = 30;
    for (int32_t y = 0; y < plane.height; ++y)
        *plane.PixelAt(lockedColumn, y) = locked;
    KVXToolColorCycle tool(518, nullptr, &built);
    tool.Begin();
    ASSERT_NE(Interpreter(), nullptr);
    Replay({{10, 30}, {25, 30}, {40, 30}, {55, 30}, {70, 30}});
    std::set<uint32_t> colours;
    for (int32_t y = 0; y < plane.height; ++y) {
        for (int32_t x = 0; x < plane.width; ++x) {
            const KVXComponentPixel& p = *plane.PixelAt(x, y);
            if (x == lockedColumn) {
                EXPECT_EQ(std::memcmp(&p, &locked, sizeof p), 0) << "a locked pixel stays";
            } else if (p.type == kPixelColorCycle) {
                EXPECT_GT(p.height, kBlankPixel.height);
                colours.insert(p.blue | p.green << 8 | p.red << 16);
            } else {
                EXPECT_EQ(std::memcmp(&p, &kBlankPixel, sizeof p), 0) << "paint is all cycling paint";
            }
        }
    }
    EXPECT_GE(colours.size(), 3u);
    tool.DeleteMolecules();
}
