// The pencil, crayon, marker, eraser, paint-brush and spray trays on the
// program's data, opened by the tool manager: what their twist chooses and
// undoes, the sliders their tools show, and buttons drawn again when a
// slider or the colour changes. (Their tools, twins, refusals and switch
// slider are rows of the table over every tray.)
#include <string>
#include <typeindex>
#include <typeinfo>
#include <vector>

#include "media/bitmap.h"
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
#include "trays/modifier_buttons.h"
#include "trays/scroll_bar_visual.h"
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

}  // namespace
