// The chalk tray with the real chalk tool on a test painting screen:
// choosing, refusing and ending its modifier, reopening, the size type kept,
// the sliders' detent and previews, and the twist that inverts the picture.
#include <gtest/gtest.h>

#include <typeinfo>

#include "engine/picture_molecule.h"
#include "media/bitmap.h"
#include "media/picture_visual.h"
#include "media/bitmap_picture_collection.h"
#include "shell/widgets/scroll_bars.h"
#include "tool_fixture.h"
#include "tools/chalk_tools.h"
#include "trays/chalk_tray.h"
#include "trays/modifier_buttons.h"

namespace {

TestTable Rows(int16_t id, int32_t rowSize, std::vector<std::vector<int32_t>> rows)
{
    // Each row: a 16-bit key, then 32-bit values (10-byte rows) or pairs
    // written as two 16-bit values (8- and 16-byte rows).
    TestTable t;
    t.table = id;
    t.rowSize = rowSize;
    for (const auto& row : rows) {
        size_t start = t.rows.size();
        for (size_t i = 0; i < row.size(); ++i) {
            if (i == 0 || rowSize != 10)
                PutShort(t.rows, int16_t(row[i]));
            else
                PutLong(t.rows, row[i]);
        }
        t.rows.resize(start + size_t(rowSize), 0);
    }
    return t;
}

struct ChalkTrayTest : ToolFixture {
    uint32_t cell = 0x000000FF;
    KVXPlaneComponentTop previewPlane{Pair{21, 13}};
    MMBitmapWithPixels* bitmapA = MMBitmap::CreateWithPixels(Box{0, 0, 20, 12}, kPixelBGRA, nullptr);
    MMBitmapWithPixels* bitmapB = MMBitmap::CreateWithPixels(Box{0, 0, 20, 12}, kPixelBGRA, nullptr);
    KVXChalkToolCollection* tray = nullptr;

    void SetUp() override
    {
        rows.resize(5);
        for (SettingsRow& row : rows)
            row.prefix = "chalkTl";
        extraTables.push_back(SettingsTable(518, rows, 0));
        // Buttons: two rows of 590 (position, backgrounds none), strokes
        // 683 naming point table 950.
        extraTables.push_back(Rows(590, 16, {{10, 60, -1, -1, -1, -1}, {10, 80, -1, -1, -1, -1}}));
        TestTable strokes;
        strokes.table = 683;
        strokes.rowSize = 2;
        PutShort(strokes.rows, 950);
        PutShort(strokes.rows, 950);
        extraTables.push_back(strokes);
        extraTables.push_back(Rows(950, 10, {{0, 0x00030003, 0}, {0, 0x00050009, 0}, {0, 0x0008000F, 0}}));
        // Sliders: set 592 names 951 and 952; each names geometry 953,
        // placement 954 and previews 955 (three pictures).
        extraTables.push_back(Rows(592, 10, {{1, 951}, {1, 952}}));
        for (int16_t id : {951, 952})
            extraTables.push_back(Rows(id, 10, {{0, 953}, {1, 954}, {2, -1}, {3, 955}}));
        extraTables.push_back(Rows(953, 10, {{6, 510}, {8, 100}}));
        extraTables.push_back(Rows(954, 8, {{100, 20, -1, -1}}));
        extraTables.push_back(Rows(955, 8, {{0, 0, -1, -1}, {0, 0, -1, -1}, {0, 0, 0, 0x4000}}));
        OpenData();
        ASSERT_EQ(MMMakeResourceId(kTestPictureCollection, 0), nib);
        new MMBitmapPictureCollection(40, 9);
        host.scene = &scene;
        tray = new KVXChalkToolCollection(&cell, &host, &previewPlane, bitmapA, bitmapB);
    }
    void TearDown() override
    {
        if (tray != nullptr)
            tray->DeleteMolecules();
        delete tray;
        delete bitmapA;
        delete bitmapB;
    }
    ChalkTool* Chalk() const { return dynamic_cast<ChalkTool*>(tray->CurrentTool()); }
};

TEST_F(ChalkTrayTest, ModifierZeroOnlyAndReselectingRestartsNothing)
{
    tray->Begin();
    ASSERT_EQ(1, tray->ToolCount());
    EXPECT_EQ(typeid(ChalkTool), typeid(*tray->ToolAt(0)));
    EXPECT_EQ(2, tray->ModifierCount());
    EXPECT_EQ(0, tray->CurrentModifier());
    ASSERT_NE(Chalk(), nullptr);
    KVXInterpreterWithBrush* interpreter = Chalk()->Interpreter();
    ASSERT_NE(interpreter, nullptr);
    tray->SelectModifier(0);
    EXPECT_EQ(interpreter, Chalk()->Interpreter());
    // Modifier 1 is refused: modifier 0 stays, its tool untouched.
    tray->SelectModifier(1);
    EXPECT_EQ(0, tray->CurrentModifier());
    EXPECT_EQ(interpreter, Chalk()->Interpreter());
    tray->SelectModifier(-1);
    EXPECT_EQ(-1, tray->CurrentModifier());
    EXPECT_EQ(nullptr, tray->CurrentTool());
    EXPECT_EQ(nullptr, dynamic_cast<ChalkTool*>(tray->ToolAt(0))->Interpreter());
}

TEST_F(ChalkTrayTest, ReopeningSelectsTheInitialModifierAndKeepsTheSizeType)
{
    tray->Begin();
    tray->SetSizeType(3);
    EXPECT_EQ(3, Chalk()->SizeType());
    tray->DeleteMolecules();
    EXPECT_EQ(0, tray->ToolCount());
    EXPECT_EQ(0, tray->ModifierCount());
    EXPECT_EQ(nullptr, tray->Slider(0));
    tray->Begin();
    EXPECT_EQ(0, tray->CurrentModifier());
    EXPECT_EQ(3, tray->SizeType());
    EXPECT_EQ(3, Chalk()->SizeType());
    // The stored size type again reaches no tool.
    Chalk()->SetSizeType(1);
    tray->SetSizeType(3);
    EXPECT_EQ(1, Chalk()->SizeType());
}

TEST_F(ChalkTrayTest, SlidersSnapToTheMiddleAndPreviewsFollow)
{
    tray->Begin();
    KVXModifierScrollBarMolecule* slider = tray->Slider(0);
    ASSERT_NE(slider, nullptr);
    ASSERT_NE(tray->Slider(1), nullptr);
    EXPECT_EQ(510, slider->Range());
    for (auto [chosen, kept] : {std::pair{230, 230}, std::pair{231, 255}, std::pair{279, 255},
                                std::pair{280, 280}}) {
        slider->ChangePosition(int16_t(chosen));
        EXPECT_EQ(kept, slider->Position()) << chosen;
    }
    slider->SetPosition(0);
    tray->UpdateFirstPreview();
    EXPECT_TRUE(tray->SliderPreview(0)->Visual()->GetPicture().IsEmpty());
    slider->SetPosition(510);
    tray->UpdateFirstPreview();
    EXPECT_EQ(nib, tray->SliderPreview(0)->Visual()->GetPicture().Id());
}

TEST_F(ChalkTrayTest, TwistingTwiceGivesThePictureBackAndEachTwistUndoes)
{
    tray->Begin();
    plane.PixelAt(5, 6)->SetColorWord(0x01102030);
    plane.PixelAt(5, 6)->height = 4000;
    tray->ResetModifiers();
    EXPECT_EQ(0x01EFDFCFu, plane.PixelAt(5, 6)->ColorWord());
    EXPECT_EQ(4000, plane.PixelAt(5, 6)->height);
    EXPECT_EQ(0x00000000u, plane.PixelAt(0, 0)->ColorWord() & 0xFFFFFF);
    canvas.SwapWithUndo();
    EXPECT_EQ(0x01102030u, plane.PixelAt(5, 6)->ColorWord());
    tray->ResetModifiers();
    tray->ReselectCurrent();
    EXPECT_EQ(0x01102030u, plane.PixelAt(5, 6)->ColorWord());
    EXPECT_EQ(0, tray->Mode());
}

}  // namespace
