// The modifier palette: buttons that post on a release inside, picture
// buttons showing their selected picture, the image choice stepping round its
// set, and previews stroked in black and in the current colour.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "brushes/brush_base.h"
#include "canvas/plane.h"
#include "engine/script_file.h"
#include "media/bitmap.h"
#include "media/bitmap_picture_collection.h"
#include "trays/color_pickers.h"
#include "trays/image_selection_button.h"
#include "trays/modifier_buttons.h"
#include "trays/stroked_modifiers.h"
#include "widget_fixture.h"

namespace {

void Row(TestTable& table, int16_t key, int32_t value)
{
    PutShort(table.rows, key);
    PutLong(table.rows, value);
    PutLong(table.rows, 0);
}

void Point(TestTable& table, int16_t x, int16_t y)
{
    PutShort(table.rows, 0);
    PutShort(table.rows, x);
    PutShort(table.rows, y);
    PutLong(table.rows, 0);
}

// Paints a 3 x 3 square of the cell's colour at every call and notes it.
class SquareBrush : public KVXBrushWithComponentPlane {
public:
    SquareBrush(KVXPlaneComponent* plane, const uint32_t* cell, std::string* log)
        : KVXBrushWithComponentPlane(plane), cell(cell), log(log) {}
    void BeginStroke(const BrushDab* s) override { Note("B", s); }
    void ContinueStroke(const BrushDab* s) override { Note("C", s); }
    void EndStroke(const BrushDab* s) override { Note("E", s); }
    void Dab(const BrushDab*) override {}
    void SetPathGenerator(PathGeneratorBase*) override {}

private:
    void Note(const char* what, const BrushDab* s)
    {
        *log += what;
        EXPECT_EQ(19, s->sizeIndex);
        for (int32_t y = int32_t(s->y) - 1; y <= int32_t(s->y) + 1; ++y)
            for (int32_t x = int32_t(s->x) - 1; x <= int32_t(s->x) + 1; ++x)
                plane->PixelAt(x, y)->SetColorWord(*cell & 0x00FFFFFFu);
    }
    const uint32_t* cell;
    std::string* log;
};

struct PaletteTest : WidgetTest {
    void SetUp() override
    {
        stage.SetPendingScene(&scene, nullptr, nullptr);
        stage.ChangeSceneOrDispatch();
        ASSERT_TRUE(OpenSolidPictures(scratch.folder, "p.MMP",
                                      {SolidPicture(20, 10, 1), SolidPicture(20, 10, 2),
                                       SolidPicture(20, 10, 3)}));
        // The program's own pictures; the tear-down deletes every collection.
        new MMBitmapPictureCollection(40, 9);
        // 600: an image set (previous arrow, next arrow absent, three
        // images); 601: no images; 602: a four-point stroke; 603: two
        // points; 604: no points.
        TestTable images{600, 0}, none{601, 1}, four{602, 2}, two{603, 3}, empty{604, 4};
        Row(images, 0, -1);
        Row(images, 2, TestPictureId(0));
        Row(images, 2, TestPictureId(1));
        Row(images, 2, TestPictureId(2));
        Row(none, 0, -1);
        Point(four, 3, 3);
        Point(four, 6, 4);
        Point(four, 9, 5);
        Point(four, 12, 6);
        Point(two, 4, 4);
        Point(two, 12, 8);
        ASSERT_TRUE(WriteScriptFile(scratch.folder, "t.mms", {images, none, four, two, empty},
                                    700, -1, 1252));
        ASSERT_TRUE(OpenScriptFile(scratch.folder, "t.mms"));
    }
    void TearDown() override
    {
        WidgetTest::TearDown();
        CloseAllScriptFiles();
        DeleteAllPictureCollections();
    }
};

TEST_F(PaletteTest, AButtonPostsOnlyWhenReleasedInside)
{
    new KVXModifiersPictureObject(&scene, 0, {30, 40}, TestPictureId(0), TestPictureId(1),
                                  Noting("modifier"), 5, nullptr);
    EXPECT_TRUE(Pointer(35, 45, kPointerPressed | kPointerHeld));
    EXPECT_FALSE(Pointer(80, 45, kPointerReleased));
    EXPECT_EQ("", Ran());
    Pointer(35, 45, kPointerPressed | kPointerHeld);
    Pointer(80, 45, kPointerHeld);
    EXPECT_FALSE(Pointer(36, 46, kPointerReleased));
    EXPECT_EQ("modifier", Ran());
}

TEST_F(PaletteTest, APictureButtonShowsPictureBWhileSelected)
{
    auto* button = new KVXModifiersPictureObject(&scene, 3, {30, 40}, TestPictureId(0),
                                                 TestPictureId(1), nullptr, 5, nullptr);
    EXPECT_EQ(3, button->ToolIndex());
    EXPECT_EQ(0, button->Visual()->GetPicture().Index());
    button->Select();
    EXPECT_EQ(1, button->Visual()->GetPicture().Index());
    button->Deselect();
    EXPECT_EQ(0, button->Visual()->GetPicture().Index());
}

TEST_F(PaletteTest, TheImageChoiceWrapsBothWaysAndPostsEachStep)
{
    auto* button = new KVXImageSelectionButton(&scene, 0, {30, 40}, 600, 0, Noting("image"), 5,
                                               nullptr);
    stage.RunDueTasks();
    EXPECT_EQ("image", Ran());
    EXPECT_EQ(3, button->Count());
    EXPECT_EQ(nullptr, button->NextArrow());
    button->Previous();
    stage.RunDueTasks();
    EXPECT_EQ(2, button->Index());
    EXPECT_EQ(2, button->Visual()->GetPicture().Index());
    EXPECT_EQ("image", Ran());
    button->Next();
    EXPECT_EQ(0, button->Index());
    EXPECT_EQ(0, button->Visual()->GetPicture().Index());
    // A set without images shows nothing, whichever way it steps.
    auto* empty = new KVXImageSelectionButton(&scene, 0, {30, 80}, 601, 4, nullptr, 5, nullptr);
    empty->Next();
    empty->Previous();
    EXPECT_EQ(0, empty->Index());
    EXPECT_TRUE(empty->Visual()->GetPicture().IsEmpty());
}

struct StrokeTest : PaletteTest {
    KVXPlaneComponentTop plane{Pair{17, 11}};
    MMBitmapWithPixels* bitmap = MMBitmap::CreateWithPixels(Box{0, 0, 16, 10}, kPixelBGRA, nullptr);
    uint32_t cell = ColorWord(200, 10, 20);
    std::string strokes;
    SquareBrush brush{&plane, &cell, &strokes};

    void TearDown() override
    {
        scene.DeleteMolecules();
        delete bitmap;
        PaletteTest::TearDown();
    }
    KVXStrokedPreview Preview(MMResourceId points)
    {
        return {&cell, points, MM_NO_RESOURCE, MM_NO_RESOURCE, &plane, bitmap};
    }
    // Byte i of pixel (x, y) of the shown picture.
    static uint8_t At(const MMPictureReference& picture, int32_t x, int32_t y, int i)
    {
        MMBitmap shown;
        EXPECT_TRUE(picture.LockBitmap(shown));
        uint8_t value = shown.PixelAddress(x, y)[i];
        picture.Unlock();
        return value;
    }
};

TEST_F(StrokeTest, TheStrokeIsBlackUnselectedColouredSelectedAndClearElsewhere)
{
    auto* button = new KVXStrokedModifierObject(&scene, 0, {30, 40}, &brush, Preview(602),
                                                nullptr, 5, nullptr);
    EXPECT_EQ("BCCEBCCE", strokes);
    EXPECT_EQ(ColorWord(200, 10, 20), cell);
    const MMPictureReference& normal = button->Visual()->NormalPicture();
    const MMPictureReference& lit = button->Visual()->HighlightPicture();
    ASSERT_FALSE(normal.IsEmpty());
    ASSERT_FALSE(lit.IsEmpty());
    EXPECT_EQ((Pair{16, 10}), normal.GetSize());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(0, At(normal, 6, 4, i)) << i;
    EXPECT_EQ(0, At(normal, 6, 4, 3));
    EXPECT_EQ(20, At(lit, 6, 4, 0));
    EXPECT_EQ(10, At(lit, 6, 4, 1));
    EXPECT_EQ(200, At(lit, 6, 4, 2));
    EXPECT_EQ(0, At(lit, 6, 4, 3));
    // Untouched white is clear.
    EXPECT_EQ(255, At(normal, 15, 0, 3));
    EXPECT_EQ(255, At(lit, 15, 0, 3));
    EXPECT_FALSE(button->Visual()->IsHighlighted());
    button->Select();
    EXPECT_TRUE(button->Visual()->IsHighlighted());
    EXPECT_EQ(lit.Index(), button->Visual()->GetPicture().Index());
    button->Deselect();
    EXPECT_EQ(normal.Index(), button->Visual()->GetPicture().Index());
}

TEST_F(StrokeTest, TwoPointsBeginAndEndAndNoPointsStrokeNothing)
{
    new KVXStrokedModifierObject(&scene, 0, {30, 40}, &brush, Preview(603), nullptr, 5, nullptr);
    EXPECT_EQ("BEBE", strokes);
    strokes.clear();
    auto* empty = new KVXStrokedModifierObject(&scene, 0, {30, 60}, &brush, Preview(604),
                                               nullptr, 5, nullptr);
    EXPECT_EQ("", strokes);
    EXPECT_EQ(255, At(empty->Visual()->NormalPicture(), 3, 3, 3));
}

}  // namespace
