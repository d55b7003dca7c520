// Text on surfaces: the anchor rule with a font of known metrics, and a real
// GDI font on a back buffer whose drawn pixels must lie in the measured box.
#include <gtest/gtest.h>

#include <cstring>
#include "fake_font.h"
#include "media/offscreen_surface.h"

namespace {

struct Back {
    WinMMOffscreenSurface* surface;
    explicit Back(const Box& box = {0, 0, 64, 48})
        : surface(MMSurface::CreateBitmapDC(32, box, nullptr))
    {
    }
    ~Back() { surface->Dispose(); }
};

const MMColor kBlack = {-1, 0, 0, 0, 0};

struct AnchorCase {
    const char* text;
    int32_t horizontal;
    int32_t vertical;
    Pair pen;           // where DrawStyledText puts the pen for the point (10, 20)
    int widthCalls;     // how often the text was measured to place it
};

}  // namespace

TEST(SurfaceText, AnchorsPlaceThePenByWidthAndCapHeight)
{
    // Width 5 per character, cap height 7.
    const AnchorCase cases[] = {
        {"a", kAlignLeft, kAlignBaseline, {10, 20}, 0},
        {"a", kAlignCenter, kAlignBaseline, {8, 20}, 1},  // 10 + 5 x (-1) / 2
        {"a", kAlignRight, kAlignBaseline, {5, 20}, 1},
        {"abc", kAlignCenter, kAlignCapMiddle, {3, 23}, 1},  // 7 x 1 / 2 = 3 below
        {"abc", kAlignRight, kAlignCapTop, {-5, 27}, 1},
        {"", kAlignRight, kAlignBaseline, {10, 20}, 1},  // measured, width 0
        {"", kAlignLeft, kAlignCapTop, {10, 27}, 0},
        {"a", 7, -1, {10, 20}, 0},  // alignments out of range do not move
    };
    Back back;
    for (const AnchorCase& c : cases) {
        FakeFont font;
        back.surface->DrawStyledText(c.text, {10, 20}, {&font, kBlack, c.horizontal, c.vertical});
        SCOPED_TRACE(c.text);
        SCOPED_TRACE(c.horizontal * 10 + c.vertical);
        ASSERT_EQ(1u, font.drawnAt.size());
        EXPECT_EQ(c.pen, font.drawnAt[0]);
        EXPECT_EQ(c.text, font.drawn[0]);
        // The draw itself measures once more only to move the fake pen.
        EXPECT_EQ(c.widthCalls + 1, font.widthCalls);
        EXPECT_EQ(nullptr, back.surface->selectedFont);
        EXPECT_EQ(0, back.surface->LockCount());
    }
}

TEST(SurfaceText, MeasuredBoxesTakeAscentDescentAndOverhangs)
{
    struct MeasureCase {
        const char* text;
        int32_t horizontal;
        int32_t vertical;
        Box box;
    } cases[] = {
        {"", kAlignLeft, kAlignBaseline, {10, 11, 10, 23}},       // no overhang asked
        {"ab", kAlignLeft, kAlignBaseline, {10, 11, 20, 23}},
        {"jab", kAlignLeft, kAlignBaseline, {8, 11, 25, 23}},     // 2 more on the left
        {"abf", kAlignLeft, kAlignBaseline, {10, 11, 26, 23}},    // 1 more on the right
        {"fa", kAlignLeft, kAlignBaseline, {10, 11, 20, 23}},     // only the last counts
        {"ab", kAlignCenter, kAlignCapMiddle, {5, 14, 15, 26}},
        {"ab", kAlignRight, kAlignCapTop, {0, 18, 10, 30}},
    };
    Back back;
    for (const MeasureCase& c : cases) {
        FakeFont font;
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.box, back.surface->MeasureStyledText(c.text, {10, 20},
                                                         {&font, kBlack, c.horizontal, c.vertical}));
        EXPECT_EQ(0, back.surface->LockCount());
    }
    FakeFont font;
    EXPECT_EQ((Box{10, 20, 10, 20}),
              back.surface->MeasureStyledText(nullptr, {10, 20}, {&font, kBlack, 0, 0}));
    EXPECT_EQ(0, font.selects);
}

TEST(SurfaceText, SelectingAFontLocksTheSurfaceUntilItIsReleased)
{
    Back back;
    FakeFont font;
    back.surface->SelectFont(&font);
    EXPECT_EQ(1, back.surface->LockCount());
    EXPECT_EQ(&font, back.surface->selectedFont);
    EXPECT_EQ(back.surface, font.surface);
    EXPECT_EQ(13, back.surface->FontLineHeight());
    back.surface->MoveTextTo(3, 4);
    EXPECT_EQ((Pair{3, 4}), back.surface->TextPosition());
    back.surface->ReleaseFont();
    EXPECT_EQ(0, back.surface->LockCount());
    EXPECT_EQ(nullptr, font.surface);
}

// --- a real font ------------------------------------------------------------

namespace {

std::string FaceOf(MMSystemFont& font, MMSurface* surface)
{
    surface->SelectFont(&font);
    char face[LF_FACESIZE] = {};
    GetTextFaceA(surface->GetDC(), LF_FACESIZE, face);
    surface->ReleaseFont();
    return face;
}

// Pixels of the back buffer that are not white.
std::vector<Pair> Inked(WinMMOffscreenSurface* surface)
{
    MMBitmap store;
    surface->GetBitmap(store);
    std::vector<Pair> inked;
    for (int32_t y = store.box.top; y < store.box.bottom; ++y) {
        for (int32_t x = store.box.left; x < store.box.right; ++x) {
            const uint8_t* p = store.PixelAddress(x, y);
            if (p[0] != 255 || p[1] != 255 || p[2] != 255) {
                inked.push_back({x, y});
            }
        }
    }
    return inked;
}

}  // namespace

TEST(SystemFont, DejaVuSansMetricsAndWidths)
{
    Back back;
    MMSystemFont font("DejaVu Sans", 20, FW_NORMAL, false, false);
    ASSERT_NE(nullptr, font.Handle());
    ASSERT_EQ("DejaVu Sans", FaceOf(font, back.surface));
    LOGFONTA made = {};
    GetObjectA(font.Handle(), sizeof(made), &made);
    EXPECT_EQ(-20, made.lfHeight);  // a character height, not a cell height
    EXPECT_EQ(FW_NORMAL, made.lfWeight);
    EXPECT_EQ(DEFAULT_CHARSET, made.lfCharSet);
    EXPECT_EQ(OUT_TT_PRECIS, made.lfOutPrecision);
    EXPECT_EQ(PROOF_QUALITY, made.lfQuality);

    back.surface->SelectFont(&font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(back.surface->GetDC(), &metrics);
    EXPECT_EQ(metrics.tmAscent - metrics.tmInternalLeading, font.GetCapHeight());
    EXPECT_EQ(metrics.tmAscent, font.GetAscent());
    EXPECT_EQ(metrics.tmDescent, font.GetDescent());
    EXPECT_EQ(metrics.tmHeight + metrics.tmExternalLeading, font.GetLineHeight());

    int32_t a = font.GetTextWidth("a", 1);
    int32_t b = font.GetTextWidth("b", 0);
    EXPECT_GT(a, 0);
    int16_t offsets[3] = {-1, -1, -1};
    font.GetCharOffsets(offsets, "ab", 0);
    EXPECT_EQ(0, offsets[0]);
    EXPECT_EQ(a, offsets[1]);
    EXPECT_EQ(a + b, offsets[2]);
    EXPECT_EQ(0, font.GetLeftOverhang("a"));
    back.surface->ReleaseFont();
    // The stock font is back in the device context.
    EXPECT_NE(static_cast<HGDIOBJ>(font.Handle()),
              GetCurrentObject(back.surface->GetDC(), OBJ_FONT));
}

TEST(SystemFont, FacesThatAreNotInstalledFallBackToOneThatIs)
{
    Back back;
    MMSystemFont geneva("geneva", 12, FW_NORMAL, false, false);
    EXPECT_FALSE(FaceOf(geneva, back.surface).empty());
    const char* longName = "A face name of forty characters, far too";
    MMSystemFont cut(longName, 12, FW_NORMAL, false, false);
    ASSERT_NE(nullptr, cut.Handle());
    LOGFONTA made = {};
    GetObjectA(cut.Handle(), sizeof(made), &made);
    EXPECT_EQ(std::string(longName, 31), made.lfFaceName);
    back.surface->SelectFont(&geneva);
    EXPECT_GT(back.surface->TextWidth("geneva", 0), 0);
    back.surface->ReleaseFont();
}

TEST(SystemFont, EmptyTextIsNotMeasuredAndMetricsAreReadOnce)
{
    MMSystemFont font("DejaVu Sans", 12, FW_NORMAL, false, false);
    EXPECT_EQ(0, font.GetTextWidth("", 0));  // not selected: GDI was not asked

    Back first;
    first.surface->SelectFont(&font);
    int32_t ascent = font.GetAscent();
    first.surface->ReleaseFont();
    // A second surface that measures in half-size units would report other
    // metrics; the font keeps those of its first surface.
    Back second;
    HDC dc = second.surface->GetDC();
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 2, 2, nullptr);
    SetViewportExtEx(dc, 1, 1, nullptr);
    second.surface->SelectFont(&font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    EXPECT_NE(ascent, metrics.tmAscent);
    EXPECT_EQ(ascent, font.GetAscent());
    second.surface->ReleaseFont();
}

TEST(SystemFont, DrawnPixelsLieInTheMeasuredBox)
{
    // Nine alignments of an italic "J", whose hook reaches left of its cell,
    // and of a word, drawn at the centre of a white back buffer.
    MMSystemFont italic("DejaVu Sans", 28, FW_NORMAL, true, false);
    MMSystemFont upright("DejaVu Sans", 20, FW_BOLD, false, false);
    Back back({0, 0, 160, 120});
    ASSERT_EQ("DejaVu Sans", FaceOf(italic, back.surface));
    struct Sample {
        MMSystemFont* font;
        const char* text;
    } samples[] = {{&italic, "J"}, {&italic, "fJf"}, {&upright, "Wave"}};
    for (const Sample& sample : samples) {
        for (int32_t horizontal = 0; horizontal < 3; ++horizontal) {
            for (int32_t vertical = 0; vertical < 3; ++vertical) {
                SCOPED_TRACE(std::string(sample.text) + " " + std::to_string(horizontal) + " " +
                             std::to_string(vertical));
                back.surface->FillBox({0, 0, 160, 120}, {-1, 255, 255, 255, 0});
                MMTextStyle style = {sample.font, kBlack, horizontal, vertical};
                back.surface->DrawStyledText(sample.text, {80, 60}, style);
                Box box = back.surface->MeasureStyledText(sample.text, {80, 60}, style);
                std::vector<Pair> inked = Inked(back.surface);
                ASSERT_FALSE(inked.empty());
                for (const Pair& p : inked) {
                    ASSERT_TRUE(box.Contains(p)) << p.x << "," << p.y << " outside " << box.left
                                                 << "," << box.top << "," << box.right << ","
                                                 << box.bottom;
                }
            }
        }
    }
    back.surface->SelectFont(&italic);
    EXPECT_GT(back.surface->LeadingOverhang("J"), 0);
    back.surface->ReleaseFont();
}
