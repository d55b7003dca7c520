// The text tool's rules: the box's places and limits, the handle sound, the
// style buttons, the colour, the sizes, and the font list's names and rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/font_list.h"
#include "text/text_box_geometry.h"
#include "text/text_styles.h"

namespace {

const Box kCanvas = {100, 50, 700, 450};

TEST(TextBoxGeometry, ARectangleOpensTheBoxFrom32PixelsOn)
{
    struct Case {
        Box rect;
        bool opens;
    } cases[] = {
        {{0, 0, 32, 32}, true},   {{0, 0, 31, 100}, false}, {{0, 0, 100, 31}, false},
        {{50, 50, 10, 90}, false}, {{10, 10, 10, 10}, false}, {{5, 5, 400, 300}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.opens, OpensTextBox(c.rect)) << c.rect.left << "," << c.rect.right;
}

TEST(TextBoxGeometry, ScalingKeeps32By32AndTheCanvas)
{
    Box box = {200, 100, 300, 200};
    struct Case {
        Pair corner;
        Box expected;
    } cases[] = {
        {{350, 260}, {200, 100, 350, 260}},
        {{210, 90}, {200, 100, 232, 132}},    // never below 32 x 32
        {{900, 900}, {200, 100, 700, 450}},   // clipped to the canvas
        {{699, 449}, {200, 100, 699, 449}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, ScaledTextBox(box, c.corner, kCanvas)) << c.corner.x;
    EXPECT_EQ(Pair({300, 200}), ScaleHandlePlace(box));
    EXPECT_EQ(Pair({184, 84}), MoveHandlePlace(box, Pair{16, 16}));
}

TEST(TextBoxGeometry, MovingKeepsTheWholeBoxInsideTheCanvas)
{
    Box box = {200, 100, 300, 200};
    struct Case {
        Pair topLeft;
        Box expected;
    } cases[] = {
        {{250, 150}, {250, 150, 350, 250}}, {{0, 0}, {100, 50, 200, 150}},
        {{650, 400}, {600, 350, 700, 450}}, {{-50, 420}, {100, 350, 200, 450}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, MovedTextBox(box, c.topLeft, kCanvas));
    // Wider than the canvas: the right edge decides.
    EXPECT_EQ(Box({-100, 50, 700, 150}), MovedTextBox({0, 0, 800, 100}, {300, 0}, kCanvas));
    EXPECT_EQ(Box({300, 50, 400, 100}), ClipToCanvas({300, 0, 400, 100}, kCanvas));
    EXPECT_TRUE(ClipToCanvas({0, 0, 50, 40}, kCanvas).IsEmpty());
}

TEST(TextBoxGeometry, TheHandleSoundFallsAndStaysInRange)
{
    struct Case {
        int32_t distance, start, frequency;
    } cases[] = {
        {0, 400, 0x10000},    {200, 400, 0x10000 - 200 * 61440 / 400},
        {400, 400, 4096},     {401, 400, 4096},
        {50, 0, 0x10000},     {-10, 400, 0x10000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.frequency, TextHandleFrequency(c.distance, c.start)) << c.distance;
    EXPECT_EQ(500, TextHandleStartDistance({300, 400}));
}

TEST(TextStyles, ButtonsFollowEachOther)
{
    KVXTextStyleButtons buttons;
    EXPECT_TRUE(buttons.plain);
    buttons.SetBold(true);
    EXPECT_FALSE(buttons.plain);
    buttons.SetItalic(true);
    buttons.PressPlain();
    EXPECT_TRUE(buttons.plain);
    EXPECT_FALSE(buttons.bold || buttons.italic || buttons.underline);
    buttons.SetUnderline(true);
    buttons.SetBold(true);
    buttons.SetUnderline(false);
    EXPECT_FALSE(buttons.plain) << "bold is still on";
    buttons.SetBold(false);
    EXPECT_TRUE(buttons.plain) << "the last style off turns plain on";
}

TEST(TextStyles, WhitePaintsAlmostWhiteAndSizesFollowTheTwist)
{
    EXPECT_EQ(0x00FAFAFAu, PaintableTextColour(0x00FFFFFF));
    EXPECT_EQ(0x7FFAFAFAu, PaintableTextColour(0x7FFFFFFF));
    EXPECT_EQ(0x00FFFFFEu, PaintableTextColour(0x00FFFFFE));
    const int32_t plain[] = {12, 18, 32, 48, 72};
    const int32_t twisted[] = {96, 171, 246, 321, 396};
    const int32_t tool[] = {24, 26, 64, 96, 142};
    for (int32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(plain[i], TextSizeForIndex(i, false));
        EXPECT_EQ(twisted[i], TextSizeForIndex(i, true));
        EXPECT_EQ(tool[i], TwistedToolTextSize(i));
    }
    EXPECT_EQ(0, TextSizeForIndex(5, false));
    EXPECT_EQ(0, TextSizeForIndex(-1, true));
}

TEST(FontList, FacesAreKeptOnceWithoutVerticalOnesSortedWithoutCase)
{
    std::vector<std::string> faces;
    KeepTrueTypeFace(faces, "Zeta Sans", TRUETYPE_FONTTYPE);
    KeepTrueTypeFace(faces, "Zeta Sans", TRUETYPE_FONTTYPE);  // once per style
    KeepTrueTypeFace(faces, "@Zeta Sans", TRUETYPE_FONTTYPE);
    KeepTrueTypeFace(faces, "Bitmap Only", RASTER_FONTTYPE);
    KeepTrueTypeFace(faces, "alpha", TRUETYPE_FONTTYPE | DEVICE_FONTTYPE);
    KeepTrueTypeFace(faces, "Beta", TRUETYPE_FONTTYPE);
    KeepTrueTypeFace(faces, "A Face Whose Name Runs On Past Thirty-Two", TRUETYPE_FONTTYPE);
    SortFaceNames(faces);
    std::vector<std::string> expected = {"A Face Whose Name Runs On Past T", "alpha", "Beta",
                                         "Zeta Sans"};
    EXPECT_EQ(expected, faces);
    EXPECT_EQ(2, StartFaceIndex(faces, "BETA"));
    EXPECT_EQ(0, StartFaceIndex(faces, "Not Installed")) << "the first sorted face";
}

TEST(FontList, TheMachinesFacesIncludeTheStartFace)
{
    HDC dc = CreateCompatibleDC(nullptr);
    std::vector<std::string> faces = EnumerateTrueTypeFaces(dc);
    DeleteDC(dc);
    SortFaceNames(faces);
    ASSERT_FALSE(faces.empty());
    for (size_t i = 0; i < faces.size(); ++i) {
        EXPECT_NE('@', faces[i][0]);
        EXPECT_LE(faces[i].size(), 32u);
        if (i > 0)
            EXPECT_LT(CompareFaceNames(faces[i - 1], faces[i]), 0) << "once each, in order";
    }
    int32_t start = StartFaceIndex(faces, "DejaVu Sans");
    EXPECT_EQ("DejaVu Sans", faces[start]);
}

TEST(FontList, NamesAreFittedWithTheSuffix)
{
    auto width = [](const std::string& s) { return int32_t(s.size()) * 10; };
    struct Case {
        std::string name;
        int32_t room;
        std::string fitted;
    } cases[] = {
        {"Short", 100, "Short"},
        {"Much Too Long A Name", 100, "Much To..."},  // cut to 10, three more go
        {"Abcd", 20, "..."},                        // never more than the name has
        {"Abcd", 0, "..."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.fitted, FitFaceName(c.name, c.room, "...", width)) << c.name;
}

TEST(FontList, SixteenFacesShowWithoutArrowsSeventeenScroll)
{
    MPFontListRows few(16);
    EXPECT_FALSE(few.HasArrows());
    EXPECT_EQ(16, few.ShownRows());
    EXPECT_EQ(0, few.FaceAtRow(0));
    EXPECT_EQ(15, few.FaceAtRow(15));
    few.PointAt(3);
    EXPECT_TRUE(few.Release());
    EXPECT_EQ(3, few.Selected());

    MPFontListRows many(17);
    EXPECT_TRUE(many.HasArrows());
    EXPECT_EQ(18, many.ShownRows());
    EXPECT_EQ(-1, many.FaceAtRow(0));
    EXPECT_EQ(-1, many.FaceAtRow(17));
    EXPECT_EQ(0, many.FaceAtRow(1));
    many.PointAt(0);
    EXPECT_FALSE(many.Scrolling()) << "nothing above the first face";
    many.PointAt(17);
    EXPECT_TRUE(many.Scrolling());
    EXPECT_TRUE(many.ScrollStep());
    EXPECT_EQ(1, many.FirstShown());
    EXPECT_FALSE(many.Scrolling()) << "the last face is shown";
    EXPECT_FALSE(many.ScrollStep());
    many.PointAt(16);
    EXPECT_TRUE(many.Release());
    EXPECT_EQ(16, many.Selected()) << "row 16 + first shown 1 - the arrow row";

    MPFontListRows list(40);
    list.Select(30);
    EXPECT_EQ(15, list.FirstShown());
    EXPECT_EQ(30, list.FaceAtRow(16));
    list.PointAt(-1);
    EXPECT_FALSE(list.Release()) << "released outside: nothing chosen";
    EXPECT_EQ(30, list.Selected());
}

}  // namespace
