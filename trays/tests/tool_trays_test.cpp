// Every tray on the program's own data files as the build wrote them: its
// tools and their tables, its twins, the modifier it refuses and the one it
// falls back to, the switch sliders, the twists, the rope reopening on the
// rectangle and the picture trays' chosen image becoming the size type.
#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "engine/picture_molecule.h"
#include "engine/tests/built_data.h"
#include "media/bitmap.h"
#include "media/picture_visual.h"
#include "media/bitmap_picture_collection.h"
#include "selection/rope_interpreters.h"
#include "shell/widgets/scroll_bars.h"
#include "tool_fixture.h"
#include "tools/chalk_tools.h"
#include "tools/eraser_tools.h"
#include "tools/fill_tools.h"
#include "tools/image_tools.h"
#include "tools/marker_tools.h"
#include "tools/oil_tools.h"
#include "tools/pencil_tools.h"
#include "tools/rope_tool.h"
#include "tools/shape_tool.h"
#include "tools/smear_tools.h"
#include "tools/spray_tools.h"
#include "trays/image_selection_button.h"
#include "trays/image_trays.h"
#include "trays/manager_tool.h"
#include "trays/paint_bucket_tray.h"
#include "trays/rope_tray.h"
#include "trays/scroll_bar_visual.h"
#include "trays/shape_tray.h"
#include "trays/tool_collection.h"
#include "trays/tool_trays.h"

namespace {

struct ToolRow {
    const std::type_info* type;
    int16_t table;
};

struct TrayCase {
    const char* name;
    int32_t type;
    std::vector<ToolRow> tools;
    std::vector<const std::type_info*> twins;
    int16_t opensOn;   // the modifier current after Begin
    int16_t asked;     // a modifier the tray is asked for
    int16_t given;     // the one it chooses instead (or the same)
    bool refusalSound;
    bool switchSlider;  // slider 1 only stands at 0 or 510
};

const TrayCase kTrays[] = {
    {"pencil", kPencilCollection, {{&typeid(PencilTool), 507}, {&typeid(BundlePencilTool), 508}},
     {&typeid(ModifierPencilTool)}, 0, 2, 0, true, false},
    {"chalk", kChalkCollection, {{&typeid(ChalkTool), 518}}, {&typeid(ModifierChalkTool)}, 0, 2, 0,
     true, false},
    {"crayon", kCrayonCollection, {{&typeid(CrayonTool), 522}, {&typeid(MeltedCrayonTool), 523}},
     {&typeid(ModifierCrayonTool), &typeid(ModifierMeltedCrayonTool)}, 0, 2, 0, true, false},
    {"marker",
     kMarkerCollection,
     {{&typeid(MarkerTool), 519},
      {&typeid(LeakyMarkerTool), 520},
      {&typeid(KVXToolInvisibleInkMarkerTool), 521},
      {&typeid(KVXToolInvisibleInkRevealMarkerTool), 521}},
     {&typeid(ModifierMarkerTool), &typeid(ModifierLeakyMarkerTool)},
     0,
     2,
     0,
     true,
     false},
    {"eraser",
     kEraserCollection,
     {{&typeid(SoftEraserTool), 525},
      {&typeid(SqueegeeEraserTool), 527},
      {&typeid(PhaserEraserTool), 528},
      {&typeid(WaterTool), 526}},
     {},
     0,
     1,
     0,
     true,
     false},
    {"paint brush",
     kPaintBrushCollection,
     {{&typeid(OilTool), 514},
      {&typeid(FingerPaintTool), 516},
      {&typeid(WaterColorTool), 515},
      {&typeid(ElectricToothbrushTool), 517}},
     {&typeid(ModifierOilTool), &typeid(ModifierFingerPaintTool), &typeid(ModifierWaterColorTool)},
     0,
     2,
     0,
     true,
     false},
    // Any modifier is the spray's to choose (its other buttons answer with
    // the dud sound themselves).
    {"spray",
     kSprayCollection,
     {{&typeid(FineSprayTool), 498},
      {&typeid(SpatterTool), 499},
      {&typeid(GloppyPaintTool), 500},
      {&typeid(WhippedCream), 506}},
     {&typeid(ModifierFineSprayTool), &typeid(ModifierSpatterTool), &typeid(ModifierGloppyPaintTool)},
     0,
     0,
     0,
     false,
     true},
    {"image spray", kImageSprayCollection, {{&typeid(KVXToolImageSpray), 539}}, {}, 0, 0, 0, false,
     false},
    {"image tube", kImageTubeCollection, {{&typeid(KVXToolImageTube), 541}}, {}, 0, 0, 0, false,
     false},
    {"paint bucket",
     kPaintBucketCollection,
     {{&typeid(FloodTool), 543},
      {&typeid(LinearGradientFloodTool), 543},
      {&typeid(RadialGradientFloodTool), 543},
      {&typeid(PatternFloodTool), 543}},
     {},
     0,
     2,
     0,
     false,
     true},
    {"rope", kRopeCollection, {{&typeid(RopeTool), 545}}, {}, 2, 0, 2, true, false},
    {"shape",
     kShapeCollection,
     {{&typeid(ShapeTool), 534},
      {&typeid(ShapeTool), 535},
      {&typeid(ShapeTool), 536},
      {&typeid(ShapeTool), 537}},
     {},
     0,
     1,
     0,
     true,
     false},
};

MMResourceId TableOf(KVXToolBase* tool)
{
    if (auto* standard = dynamic_cast<KVXToolStd*>(tool))
        return standard->TableId();
    if (auto* animated = dynamic_cast<KVXToolAnim*>(tool))
        return animated->TableId();
    return MM_NO_RESOURCE;
}

struct BuiltTrays : ToolFixture {
    uint32_t cell = 0x000000FF;
    KVXPlaneComponentTop* previewPlane = nullptr;
    MMBitmapWithPixels* bitmapA = nullptr;
    MMBitmapWithPixels* bitmapB = nullptr;
    KVXToolCollection* tray = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(OpenBuiltData()) << "run scripts/make-data.sh";
        new MMBitmapPictureCollection(40, 9);
        RegisterRopeInterpreters();
        bare.stage.TopEnclosure()->AddVisual(&canvas);
        MMRecordTable sizes;
        sizes.Load(MMMakeResourceId(0, kPreviewPlaneTable), 8, gDefaultHeap);
        Pair size = sizes.RowCount() > 0 ? sizes.PairAt(0, 0) : Pair{58, 26};
        previewPlane = new KVXPlaneComponentTop(size);
        bitmapA = MMBitmap::CreateWithPixels(Box{0, 0, size.x - 1, size.y - 1}, kPixelBGRA, nullptr);
        bitmapB = MMBitmap::CreateWithPixels(Box{0, 0, size.x - 1, size.y - 1}, kPixelBGRA, nullptr);
    }
    void TearDown() override
    {
        if (tray != nullptr)
            tray->DeleteMolecules();
        delete tray;
        delete bitmapA;
        delete bitmapB;
        delete previewPlane;
        bare.stage.TopEnclosure()->RemoveVisual(&canvas);
    }
    KVXToolCollection* Open(int32_t type)
    {
        tray = MakeToolCollection(type, &cell, &host, previewPlane, bitmapA, bitmapB);
        if (tray != nullptr)
            tray->Begin();
        return tray;
    }
    template <class T>
    T* Open(int32_t type)
    {
        return dynamic_cast<T*>(Open(type));
    }
};

TEST_F(BuiltTrays, EveryTrayHasItsToolsTwinsAndModifierRule)
{
    for (const TrayCase& c : kTrays) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(Open(c.type), nullptr);
        ASSERT_EQ(int16_t(c.tools.size()), tray->ToolCount());
        for (size_t i = 0; i < c.tools.size(); ++i) {
            KVXToolBase* tool = tray->ToolAt(int16_t(i));
            EXPECT_EQ(*c.tools[i].type, typeid(*tool)) << i;
            EXPECT_EQ(MMMakeResourceId(0, c.tools[i].table), TableOf(tool)) << i;
        }
        for (size_t i = 0; i < c.twins.size(); ++i) {
            KVXToolBase* twin = tray->ModifierTwin(int16_t(i));
            ASSERT_NE(twin, nullptr) << i;
            EXPECT_EQ(*c.twins[i], typeid(*twin)) << i;
        }
        EXPECT_EQ(c.opensOn, tray->CurrentModifier());
        ASSERT_NE(tray->CurrentTool(), nullptr);
        KVXToolBase* opened = tray->CurrentTool();
        int32_t duds = tray->DudSounds();
        tray->SelectModifier(c.asked);
        EXPECT_EQ(c.given, tray->CurrentModifier());
        EXPECT_EQ(duds + (c.refusalSound ? 1 : 0), tray->DudSounds());
        EXPECT_EQ(opened, tray->CurrentTool()) << "no restart when the choice stays";
        if (tray->Slider(0) != nullptr) {
            KVXModifierScrollBarMolecule* slider = tray->Slider(0);
            for (auto [chosen, kept] : {std::pair{300, 510}, std::pair{100, 0}, std::pair{510, 510}}) {
                slider->ChangePosition(int16_t(chosen));
                tray->ForwardSizeOrShape(0, true);
                int16_t expected = c.switchSlider ? int16_t(kept) : slider->Position();
                EXPECT_EQ(expected, slider->Position()) << chosen;
            }
        }
        tray->SelectModifier(-1);
        EXPECT_EQ(-1, tray->CurrentModifier());
        EXPECT_EQ(nullptr, tray->CurrentTool());
        tray->DeleteMolecules();
        EXPECT_EQ(0, tray->ToolCount());
        EXPECT_EQ(0, tray->ModifierCount());
        EXPECT_EQ(nullptr, tray->Slider(0));
        delete tray;
        tray = nullptr;
    }
}

TEST_F(BuiltTrays, TheTraysShowTheirButtonsAndSliders)
{
    const struct {
        int32_t type;
        int16_t buttons;
        bool sliders;
    } shown[] = {{kPencilCollection, 1, true},     {kCrayonCollection, 1, true},
                 {kMarkerCollection, 3, true},     {kEraserCollection, 3, true},
                 {kPaintBrushCollection, 3, true}, {kSprayCollection, 3, true},
                 {kImageSprayCollection, 1, false}, {kImageTubeCollection, 1, false},
                 {kPaintBucketCollection, 4, true}, {kRopeCollection, 3, true},
                 {kShapeCollection, 3, true}};
    // Every tray's sliders are the same two: the first tray's places,
    // track and thumb.
    struct SliderLook {
        Box bounds;
        MMPictureID thumb, track;
    };
    std::vector<SliderLook> first;
    for (const auto& s : shown) {
        SCOPED_TRACE(s.type);
        ASSERT_NE(Open(s.type), nullptr);
        EXPECT_EQ(s.buttons, tray->ModifierCount());
        for (int16_t i = 0; i < tray->ModifierCount(); ++i)
            EXPECT_FALSE(tray->ModifierAt(i)->Visual()->NormalPicture().IsEmpty()) << i;
        EXPECT_EQ(s.sliders, tray->Slider(0) != nullptr && tray->Slider(1) != nullptr);
        if (s.sliders) {
            EXPECT_EQ(510, tray->Slider(1)->Range());
            EXPECT_FALSE(tray->SliderPreview(1)->Visual()->GetPicture().IsEmpty());
            for (int16_t which = 0; which < 2; ++which) {
                auto* visual = dynamic_cast<KVXScrollBarVisual*>(tray->Slider(which)->Visual());
                ASSERT_NE(nullptr, visual) << which;
                SliderLook look = {visual->GetBounds(), visual->ThumbId(), visual->TrackId()};
                if (first.size() < 2)
                    first.push_back(look);
                const SliderLook& shared = first[size_t(which)];
                EXPECT_EQ(shared.bounds, look.bounds) << which;
                EXPECT_EQ(shared.thumb, look.thumb) << which;
                EXPECT_EQ(shared.track, look.track) << which;
                // The thumb at either end stays clear of the picture of the
                // value beside the groove.
                MMPictureMolecule* preview = tray->SliderPreview(which);
                ASSERT_NE(nullptr, preview) << which;
                EXPECT_FALSE(look.bounds.Overlaps(preview->Visual()->GetBounds())) << which;
            }
        }
        tray->DeleteMolecules();
        delete tray;
        tray = nullptr;
    }
}

TEST_F(BuiltTrays, TheBucketsTwistPoursTheColourKeepingTypesAndHeights)
{
    Open(kPaintBucketCollection);
    plane.PixelAt(3, 4)->SetColorWord(0x01102030);
    plane.PixelAt(3, 4)->height = 4000;
    plane.PixelAt(3, 4)->type = kPixelLocked;
    cell = 0x00336699;
    tray->ResetModifiers();
    EXPECT_EQ(0x00336699u, plane.PixelAt(3, 4)->ColorWord() & 0xFFFFFF);
    EXPECT_EQ(4000, plane.PixelAt(3, 4)->height);
    EXPECT_EQ(kPixelLocked, plane.PixelAt(3, 4)->type);
    EXPECT_EQ(0x00336699u, plane.PixelAt(63, 47)->ColorWord() & 0xFFFFFF);
    canvas.SwapWithUndo();
    EXPECT_EQ(0x102030u, plane.PixelAt(3, 4)->ColorWord() & 0xFFFFFF);
    cell = 0x00FF0000;
    tray->ReselectCurrent();
    EXPECT_EQ(0x00FF0000u, plane.PixelAt(10, 10)->ColorWord() & 0xFFFFFF);
    EXPECT_EQ(0, tray->Mode());
}

TEST_F(BuiltTrays, TheRopeReopensOnTheRectangleAndItsTwistKeepsIt)
{
    auto* rope = Open<KVXRopeToolCollection>(kRopeCollection);
    ASSERT_NE(rope, nullptr);
    ASSERT_NE(rope->RopeInterpreter(), nullptr);
    EXPECT_EQ(kRopeRectangle, dynamic_cast<RopeTool*>(rope->CurrentTool())->Shape());
    rope->ResetModifiers();
    EXPECT_EQ(1, rope->Mode());
    EXPECT_EQ(2, rope->CurrentModifier()) << "the twist rebuilds nothing";
    EXPECT_EQ(0, rope->RopeInterpreter()->Mode());
    rope->ReselectCurrent();
    EXPECT_EQ(0, rope->Mode());
    EXPECT_EQ(2, rope->CurrentModifier());
    ASSERT_NE(rope->RopeInterpreter(), nullptr);
    rope->DeleteMolecules();
    EXPECT_EQ(2, rope->InitialModifier());
    rope->Begin();
    EXPECT_EQ(2, rope->CurrentModifier());
    EXPECT_EQ(0, rope->DudSounds()) << "opening asks for nothing refused";
}

TEST_F(BuiltTrays, TheRopesWandDabsThePictureAtTheSecondSlidersStrength)
{
    auto* rope = Open<KVXRopeToolCollection>(kRopeCollection);
    ASSERT_NE(rope->FilterButton(), nullptr);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            plane.PixelAt(x, y)->SetColorWord((x / 4 + y / 4) % 2 ? 0xFF0000 : 0x0000FF);
    std::vector<uint32_t> before;
    for (int x = 0; x < 64; ++x)
        before.push_back(plane.PixelAt(x, 20)->ColorWord());
    rope->Slider(1)->SetPosition(510);
    rope->HandleFilterButton();
    int changed = 0;
    for (int x = 0; x < 64; ++x)
        changed += plane.PixelAt(x, 20)->ColorWord() != before[size_t(x)];
    EXPECT_GT(changed, 0) << "without a selection the whole picture is dabbed";
    canvas.SwapWithUndo();
    EXPECT_EQ(before[5], plane.PixelAt(5, 20)->ColorWord()) << "and it can be undone";
}

TEST_F(BuiltTrays, ThePictureTraysChosenImageIsTheSizeType)
{
    for (int32_t type : {kImageSprayCollection, kImageTubeCollection}) {
        SCOPED_TRACE(type);
        auto* images = Open<KVXImageToolCollection>(type);
        ASSERT_NE(images, nullptr);
        KVXImageSelectionButton* button = images->ImageButton();
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(0, images->SizeType());
        button->Previous();  // wraps round to the last
        images->SelectModifier(0);
        EXPECT_EQ(button->Count() - 1, button->Index());
        EXPECT_EQ(button->Count() - 1, images->SizeType());
        EXPECT_EQ(button->Count() - 1, dynamic_cast<KVXToolAnim*>(images->CurrentTool())->SizeType());
        button->Next();  // and back to the first
        images->SelectModifier(0);
        EXPECT_EQ(0, images->SizeType());
        button->Next();
        images->SelectModifier(0);
        EXPECT_EQ(1, images->SizeType());
        // The spray's twisted mode keeps a choice of its own; the tube's twist
        // does nothing.
        images->ResetModifiers();
        EXPECT_EQ(type == kImageSprayCollection ? 0 : 1, images->SizeType());
        images->ReselectCurrent();
        EXPECT_EQ(1, images->SizeType());
        EXPECT_EQ(0, images->Mode());
        images->DeleteMolecules();
        delete tray;
        tray = nullptr;
    }
}

TEST_F(BuiltTrays, TheShapeTrayFollowsTheShapeAndItsDepthSlider)
{
    auto* shapes = Open<KVXShapeToolCollection>(kShapeCollection);
    ASSERT_NE(shapes, nullptr);
    EXPECT_EQ(0, shapes->CurrentToolIndex());
    EXPECT_GE(shapes->LearnedSlider(0), 1);
    // Only the ellipse: another shape is refused.
    int32_t duds = shapes->DudSounds();
    shapes->SetSizeType(2);
    EXPECT_EQ(duds + 1, shapes->DudSounds());
    EXPECT_EQ(0, shapes->Shape());
    EXPECT_EQ(0, shapes->CurrentModifier());
    auto* first = dynamic_cast<KVXScrollBarVisual*>(shapes->Slider(0)->Visual());
    ASSERT_NE(first, nullptr);
    shapes->Slider(1)->SetPosition(300);
    shapes->ForwardSizeOrShape(1, false);
    EXPECT_FALSE(first->ThumbShown());
    shapes->Slider(1)->SetPosition(100);
    shapes->ForwardSizeOrShape(1, false);
    EXPECT_TRUE(first->ThumbShown());
    // The twist offers the glob alone.
    shapes->ResetModifiers();
    EXPECT_EQ(1, shapes->Mode());
    EXPECT_EQ(3, shapes->CurrentToolIndex());
    EXPECT_EQ(1, shapes->ModifierCount());
    shapes->ReselectCurrent();
    EXPECT_EQ(0, shapes->CurrentToolIndex());
    EXPECT_EQ(3, shapes->ModifierCount());
}

}  // namespace
