// The pencil, crayon, marker, eraser, paint-brush and spray trays on the
// program's data, opened by the tool manager: what their twist chooses and
// undoes, the sliders their tools show, and buttons drawn again when a
// slider or the colour changes. (Their tools, twins, refusals and switch
// slider are rows of the table over every tray.)
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <typeindex>
#include <typeinfo>
#include <vector>

#include "canvas/bitmap_ops.h"
#include "engine/animation_molecule.h"
#include "media/bitmap.h"
#include "media/picture_visual.h"
#include "shell/widgets/scroll_bars.h"
#include "tools/chalk_tools.h"
#include "tools/eraser_tools.h"
#include "tools/marker_tools.h"
#include "tools/oil_tools.h"
#include "tools/pencil_tools.h"
#include "tools/smear_tools.h"
#include "tools/spray_tools.h"
#include "tray_world.h"
#include "trays/crayon_tray.h"
#include "trays/manager_tool.h"
#include "trays/marker_tray.h"
#include "trays/paint_bucket_tray.h"
#include "shell/widgets/animated_button.h"
#include "trays/modifier_buttons.h"
#include "trays/scroll_bar_visual.h"
#include "trays/stroked_modifiers.h"
#include "trays/tool_collection.h"
#include "trays/tray_tables.h"

namespace {

class FamilyTraysTest : public TrayWorld {
public:
    void SetUp() override
    {
        TrayWorld::SetUp();
        manager = new KVXManagerTool(&host);
        host.picks = manager;
        manager->Begin();
    }
    void TearDown() override
    {
        manager->DeleteMolecules();
        delete manager;
        TrayWorld::TearDown();
    }
    KVXToolCollection* Open(int32_t type)
    {
        manager->SelectCollection(type);
        return manager->CurrentCollection();
    }
    bool ThumbShown(KVXToolCollection* tray, int16_t which)
    {
        auto* visual = dynamic_cast<KVXScrollBarVisual*>(tray->Slider(which)->Visual());
        return visual != nullptr && visual->ThumbShown();
    }

    // Opaque pixels of the picture that are mostly red.
    static int32_t RedPixels(const MMPictureReference& picture)
    {
        MMBitmap bits;
        if (!picture.LockBitmap(bits))
            return -1;
        int32_t count = 0;
        for (int32_t y = bits.box.top; y < bits.box.bottom; ++y) {
            const uint8_t* p = bits.PixelAddress(bits.box.left, y);
            for (int32_t x = bits.box.left; x < bits.box.right; ++x, p += 4)
                count += p[3] < 128 && p[2] > 180 && p[1] < 90 && p[0] < 90;
        }
        picture.Unlock();
        return count;
    }

    // The colour word of the picture's pixel (x, y) from its top-left corner;
    // -1 when it cannot be read or is not opaque.
    static int64_t PixelOf(const MMPictureReference& picture, int32_t x, int32_t y)
    {
        MMBitmap bits;
        if (!picture.LockBitmap(bits))
            return -1;
        const uint8_t* p = bits.PixelAddress(bits.box.left + x, bits.box.top + y);
        int64_t colour = p[3] < 128 ? int64_t(p[0] | p[1] << 8 | p[2] << 16) : -1;
        picture.Unlock();
        return colour;
    }

    // A press on the control's picture plays the refusal sound and leaves
    // the tray's choice as it was.
    void ExpectRefusal(KVXToolCollection* tray, MMAnimationMolecule* control)
    {
        ASSERT_NE(nullptr, control);
        // Drawn over the tray, as its buttons are.
        EXPECT_EQ(tray->ModifierAt(0)->Visual()->Layer(), control->Visual(0)->Layer());
        KVXToolBase* tool = tray->CurrentTool();
        int16_t modifier = tray->CurrentModifier();
        int32_t duds = tray->DudSounds();
        Box box = control->Visual(0)->GetBounds();
        int32_t x = (box.left + box.right) / 2, y = (box.top + box.bottom) / 2;
        Mouse(x, y, 0);  // the pointer comes over it first, as a hand's would
        Click(x, y);
        Step(12);
        EXPECT_EQ(duds + 1, tray->DudSounds());
        EXPECT_EQ(modifier, tray->CurrentModifier());
        EXPECT_EQ(tool, tray->CurrentTool());
    }

    KVXManagerTool* manager = nullptr;
};

// The tool each tray's twist chooses, and its buttons when untwisted.
struct TwistCase {
    int32_t type;
    std::type_index twisted;
    int16_t buttons;
};

const std::vector<TwistCase>& Twists()
{
    static const std::vector<TwistCase> cases = {
        {kPencilCollection, typeid(BundlePencilTool), 1},
        {kCrayonCollection, typeid(MeltedCrayonTool), 1},
        {kMarkerCollection, typeid(KVXToolInvisibleInkRevealMarkerTool), 3},
        {kEraserCollection, typeid(WaterTool), 3},
        {kPaintBrushCollection, typeid(ElectricToothbrushTool), 3},
        {kSprayCollection, typeid(WhippedCream), 3},
    };
    return cases;
}

TEST_F(FamilyTraysTest, TheTwistChoosesTheOtherToolAndTheUntwistComesBack)
{
    for (const TwistCase& c : Twists()) {
        SCOPED_TRACE(c.type);
        KVXToolCollection* tray = Open(c.type);
        tray->ResetModifiers();
        EXPECT_EQ(1, tray->Mode());
        EXPECT_EQ(0, tray->CurrentModifier());
        ASSERT_NE(nullptr, tray->CurrentTool());
        EXPECT_EQ(c.twisted, std::type_index(typeid(*tray->CurrentTool())));
        tray->ReselectCurrent();
        EXPECT_EQ(0, tray->Mode());
        EXPECT_EQ(0, tray->CurrentModifier());
        EXPECT_EQ(tray->ToolAt(0), tray->CurrentTool());
        EXPECT_EQ(c.buttons, tray->ModifierCount());
    }
}

TEST_F(FamilyTraysTest, TheCrayonsTwistDrawsItsButtonsWithTheMeltedTwin)
{
    auto* tray = dynamic_cast<KVXCrayonToolCollection*>(Open(kCrayonCollection));
    ASSERT_NE(nullptr, tray);
    EXPECT_EQ(typeid(ModifierCrayonTool), typeid(*tray->Twin()));
    tray->ResetModifiers();
    EXPECT_EQ(typeid(ModifierMeltedCrayonTool), typeid(*tray->Twin()));
    EXPECT_EQ(1, tray->ModifierAt(0)->ToolIndex());
    // The twisted crayon paints with a freehand interpreter of its own.
    EXPECT_NE(nullptr, dynamic_cast<MeltedCrayonTool*>(tray->CurrentTool())->Interpreter());
    tray->ReselectCurrent();
    EXPECT_EQ(typeid(ModifierCrayonTool), typeid(*tray->Twin()));
    EXPECT_EQ(0, tray->ModifierAt(0)->ToolIndex());
}

TEST_F(FamilyTraysTest, TheSprayTakesAnyModifierWithoutARefusal)
{
    KVXToolCollection* tray = Open(kSprayCollection);
    tray->SelectModifier(2);
    EXPECT_EQ(2, tray->CurrentModifier());
    EXPECT_EQ(tray->ToolAt(2), tray->CurrentTool());
    EXPECT_EQ(0, tray->DudSounds());
}

TEST_F(FamilyTraysTest, SlidersShowWhatTheCurrentToolTakes)
{
    KVXToolCollection* eraser = Open(kEraserCollection);
    eraser->ResetModifiers();
    EXPECT_FALSE(ThumbShown(eraser, 0));
    EXPECT_FALSE(ThumbShown(eraser, 1));
    eraser->ReselectCurrent();
    EXPECT_TRUE(ThumbShown(eraser, 0));
    EXPECT_TRUE(ThumbShown(eraser, 1));

    KVXToolCollection* marker = Open(kMarkerCollection);
    EXPECT_EQ(TrayTableId(606), marker->SliderTable());
    marker->ResetModifiers();
    EXPECT_EQ(TrayTableId(609), marker->SliderTable());
    EXPECT_TRUE(ThumbShown(marker, 0));
    EXPECT_FALSE(ThumbShown(marker, 1));
}

TEST_F(FamilyTraysTest, AMovedSliderRedrawsTheCurrentButtonAndKeepsItChosen)
{
    for (int32_t type : {kEraserCollection, kMarkerCollection, kSprayCollection}) {
        SCOPED_TRACE(type);
        KVXToolCollection* tray = Open(type);
        tray->Slider(1)->SetPosition(400);
        tray->ForwardSizeOrShape(1, true);
        EXPECT_EQ(3, tray->ModifierCount());
        EXPECT_EQ(0, tray->CurrentModifier());
        EXPECT_EQ(tray->ToolAt(0), tray->CurrentTool());
        int16_t s1 = 0, s2 = 0;
        ASSERT_TRUE(ToolSliderValues(tray->CurrentTool(), s1, s2));
        EXPECT_EQ(400, s2);
    }
}

TEST_F(FamilyTraysTest, ANewColourRedrawsTheStrokedButtons)
{
    for (int32_t type : {kPencilCollection, kCrayonCollection, kMarkerCollection,
                         kPaintBrushCollection, kSprayCollection}) {
        SCOPED_TRACE(type);
        KVXToolCollection* tray = Open(type);
        uint32_t blue = 0x000000FF;
        tray->StoreOwnerValue(&blue);
        EXPECT_EQ(0, RedPixels(tray->ModifierAt(0)->HighlightPicture()));
        uint32_t red = 0x00FF0000;
        tray->StoreOwnerValue(&red);
        EXPECT_EQ(red, *tray->ColorCell());
        EXPECT_GT(RedPixels(tray->ModifierAt(0)->HighlightPicture()), 20);
        EXPECT_EQ(0, RedPixels(tray->ModifierAt(0)->NormalPicture()));
        EXPECT_EQ(0, tray->CurrentModifier());
    }
}

TEST_F(FamilyTraysTest, TheMarkersArrowsAnswerWithTheRefusalSound)
{
    auto* marker = dynamic_cast<KVXMarkerToolCollection*>(Open(kMarkerCollection));
    ASSERT_NE(nullptr, marker);
    Step(2);  // their scripts place them
    for (int32_t k = 0; k < 2; ++k) {
        SCOPED_TRACE(k);
        MMAnimationMolecule* arrow = marker->GradientArrow(k);
        ASSERT_NE(nullptr, arrow);
        ASSERT_NE(nullptr, arrow->Interpreter());
        EXPECT_STREQ("Change Gradient Type", arrow->Interpreter()->Command()->Name());
        ExpectRefusal(marker, arrow);
    }
    // They belong to the untwisted tray.
    marker->ResetModifiers();
    EXPECT_EQ(nullptr, marker->GradientArrow(0));
    EXPECT_EQ(nullptr, marker->GradientArrow(1));
    marker->ReselectCurrent();
    EXPECT_NE(nullptr, marker->GradientArrow(0));
    EXPECT_NE(nullptr, marker->GradientArrow(1));
    manager->SelectCollection(kChalkCollection);
    EXPECT_EQ(nullptr, marker->GradientArrow(0));
}

TEST_F(FamilyTraysTest, TheTwistedMarkersRainbowPenShowsItsGradientsHueSteps)
{
    auto* marker = dynamic_cast<KVXMarkerToolCollection*>(Open(kMarkerCollection));
    ASSERT_NE(nullptr, marker);
    // The built gradient: six stops, the first cherry.
    EXPECT_EQ(5, marker->GradientSteps());
    EXPECT_EQ(0xE8413Cu, marker->GradientStart());
    EXPECT_EQ(0xE8413Cu, marker->GradientBand(0));
    EXPECT_EQ(marker->GradientBand(0), marker->GradientBand(6)) << "a whole turn of the wheel";
    marker->ResetModifiers();
    ASSERT_EQ(3, marker->ModifierCount());
    KVXBaseModifiersObject* pen = marker->ModifierAt(2);
    // Six bands of four pixels in the middle of the 57 x 25 button, in
    // both its pictures.
    std::set<int64_t> seen;
    for (int32_t k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        for (int32_t x : {16 + 4 * k, 16 + 4 * k + 3})
            for (const MMPictureReference* picture :
                 {&pen->NormalPicture(), &pen->HighlightPicture()})
                for (int32_t y : {10, 13})
                    EXPECT_EQ(int64_t(marker->GradientBand(k)), PixelOf(*picture, x, y)) << x << y;
        seen.insert(PixelOf(pen->NormalPicture(), 16 + 4 * k, 12));
    }
    EXPECT_EQ(6u, seen.size());
    // Outside the bands, the pill and the button's background.
    EXPECT_NE(int64_t(marker->GradientBand(0)), PixelOf(pen->NormalPicture(), 14, 12));
    EXPECT_NE(int64_t(marker->GradientBand(0)), PixelOf(pen->NormalPicture(), 19, 9));
    // The two other twisted buttons have no bands.
    EXPECT_NE(int64_t(marker->GradientBand(0)),
              PixelOf(marker->ModifierAt(1)->NormalPicture(), 19, 12));
}

// Drawn on the tray's cream, a bitmap button's corners show the cream and
// its middle the button.
TEST_F(FamilyTraysTest, BitmapButtonsLetTheTrayShowThroughTheirCorners)
{
    const uint32_t cream = 0x00FFEBC2;
    struct Case {
        int32_t type;
        bool twisted;
    };
    for (Case c : {Case{kEraserCollection, false}, Case{kPaintBucketCollection, false},
                   Case{kRopeCollection, false}, Case{kShapeCollection, false},
                   Case{kMarkerCollection, true}}) {
        SCOPED_TRACE(c.type);
        KVXToolCollection* tray = Open(c.type);
        if (c.twisted)
            tray->ResetModifiers();
        int32_t buttons = 0;
        for (int16_t i = 0; i < tray->ModifierCount(); ++i) {
            auto* button = dynamic_cast<KVXModifierBitmapObject*>(tray->ModifierAt(i));
            if (button == nullptr)
                continue;
            ++buttons;
            for (const MMPictureReference* picture :
                 {&button->NormalPicture(), &button->HighlightPicture()}) {
                Pair size = picture->GetSize();
                ASSERT_GT(size.x, 8);
                std::unique_ptr<MMBitmapWithPixels> under(
                    MMBitmap::CreateWithPixels({0, 0, size.x, size.y}, kPixelBGRA, nullptr));
                for (int32_t k = 0; k < size.x * size.y; ++k)
                    std::memcpy(under->pixels + 4 * k, &cream, 4);
                DrawPictureIntoBitmap({under.get(), 0, 0, picture->Id()});
                auto at = [&](int32_t x, int32_t y) {
                    uint32_t word;
                    std::memcpy(&word, under->PixelAddress(x, y), 4);
                    return word;
                };
                for (Pair corner : {Pair{0, 0}, Pair{size.x - 1, 0}, Pair{0, size.y - 1},
                                    Pair{size.x - 1, size.y - 1}})
                    EXPECT_EQ(cream, at(corner.x, corner.y)) << i << " " << corner.x << ","
                                                             << corner.y;
                EXPECT_NE(cream, at(size.x / 2, size.y / 2)) << i;
            }
        }
        EXPECT_GT(buttons, 0);
    }
}

// A sample stroke that runs off its button's background (the spatter's
// big drops) shows nothing there: the button keeps its rounded shape.
TEST_F(FamilyTraysTest, SampleStrokesStayOnTheirButtons)
{
    for (int32_t type : {kPencilCollection, kCrayonCollection, kMarkerCollection,
                         kPaintBrushCollection, kSprayCollection}) {
        SCOPED_TRACE(type);
        KVXToolCollection* tray = Open(type);
        for (int16_t i = 0; i < tray->ModifierCount(); ++i) {
            auto* button = dynamic_cast<KVXStrokedModifierBase*>(tray->ModifierAt(i));
            if (button == nullptr)
                continue;
            struct Look {
                const MMPictureReference* picture;
                MMPictureID background;
            } looks[] = {{&button->NormalPicture(), button->Preview().backgroundA},
                         {&button->HighlightPicture(), button->Preview().backgroundB}};
            for (const Look& look : looks) {
                MMPictureReference background;
                background.Load(look.background);
                MMBitmap bits;
                ASSERT_TRUE(look.picture->LockBitmap(bits)) << i;
                int32_t outside = 0, shown = 0;
                for (int32_t y = 0; y < bits.Height(); ++y)
                    for (int32_t x = 0; x < bits.Width(); ++x) {
                        if (background.TransparencyAt(Pair{x, y}) != 255)
                            continue;
                        ++outside;
                        shown += bits.PixelAddress(bits.box.left + x, bits.box.top + y)[3] != 255;
                    }
                look.picture->Unlock();
                EXPECT_GT(outside, 0) << i;
                EXPECT_EQ(0, shown) << i;
            }
        }
    }
}

TEST_F(FamilyTraysTest, TheBucketsFillControlsAnswerWithTheRefusalSound)
{
    auto* bucket = dynamic_cast<KVXPaintBucketToolCollection*>(Open(kPaintBucketCollection));
    ASSERT_NE(nullptr, bucket);
    EXPECT_EQ(5, bucket->ControlCount());
    Step(2);
    for (int32_t k = 0; k < 2; ++k) {
        SCOPED_TRACE(k);
        ExpectRefusal(bucket, bucket->ControlButton(k));
        ExpectRefusal(bucket, bucket->ControlAnimation(k));
    }
}

}  // namespace
