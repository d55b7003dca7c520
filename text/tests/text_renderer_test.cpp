// Smart fonts and the text renderer on real GDI surfaces.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "canvas/blend.h"
#include "media/offscreen_surface.h"
#include "media/surface.h"
#include "text/smart_font.h"
#include "text/text_renderer.h"

namespace {

struct Surface32 {
    WinMMOffscreenSurface* surface;
    explicit Surface32(int32_t width = 200, int32_t height = 100, uint8_t fill = 255)
        : surface(MMSurface::CreateBitmapDC(32, Box{0, 0, width, height}, nullptr))
    {
        const MMBitmap& store = surface->Store();
        for (int32_t y = 0; y < height; ++y)
            std::memset(store.PixelAddress(0, y), fill, size_t(width) * 4);
    }
    ~Surface32() { surface->Dispose(); }
    const uint8_t* At(int32_t x, int32_t y) const { return surface->Store().PixelAddress(x, y); }
};

struct RendererTest : ::testing::Test {
    Surface32 work;
    MPSmartFont font{"Tahoma", 20, 700, false, false};
    MPTextRenderer renderer{work.surface};
    void SetUp() override { renderer.SetFont(&font); }
};

TEST(SmartFont, ACloneKeepsFaceWeightAndStylesAtTheNewSize)
{
    MPSmartFont font("Tahoma", 12, 700, true, true);
    MPSmartFont* clone = font.CloneAtSize(30);
    ASSERT_NE(clone, nullptr);
    EXPECT_STREQ(clone->Face(), "Tahoma");
    EXPECT_EQ(clone->Size(), 30);
    EXPECT_EQ(clone->Weight(), 700);
    EXPECT_TRUE(clone->Italic());
    EXPECT_TRUE(clone->Underline());
    delete clone;
}

TEST_F(RendererTest, TheTwinFontIsTwiceTheSize)
{
    EXPECT_EQ(static_cast<MPSmartFont*>(renderer.DoubleFont())->Size(), 40);
    EXPECT_GT(renderer.DoubleHeight(), renderer.Height());
    EXPECT_GT(renderer.Ascent(), 0);
    EXPECT_EQ(renderer.GreyPalette().entries[77].rgbGreen, 77);
}

TEST_F(RendererTest, AnEmptyTextMeasuresNothingAndDrawsNothing)
{
    EXPECT_EQ(renderer.MeasureWidth(&font, "", 0), 0);
    EXPECT_EQ(renderer.RenderHalfSizeAlpha("", 0, 255), nullptr);
    Box drawn = renderer.DrawText("", 0, 10, 50, 0, 255);
    EXPECT_TRUE(drawn.IsZero());
    for (int32_t x = 0; x < 200; ++x)
        ASSERT_EQ(work.At(x, 40)[0], 255);
}

TEST_F(RendererTest, OddExtentsOfTheLargeTextAreRoundedUp)
{
    // Find texts whose double-size width is odd and even: the mask takes
    // half of the next even number, never losing the last column.
    int odd = 0;
    for (std::string text = "i"; text.size() < 12; text += "il") {
        int32_t width = renderer.MeasureWidth(renderer.DoubleFont(), text.c_str(), 0);
        WinMMOffscreenSurface* mask = renderer.RenderHalfSizeAlpha(text.c_str(), 0, 255);
        ASSERT_NE(mask, nullptr);
        EXPECT_EQ(mask->Store().Width(), (width + 1) / 2) << text;
        EXPECT_EQ(mask->Store().Height(), (renderer.DoubleHeight() + 1) / 2);
        odd += width % 2;
        mask->Dispose();
    }
    EXPECT_GT(odd, 0) << "no text of odd width was tried";
}

TEST_F(RendererTest, TheMaskIsTheMeanOfTwoByTwoBlackAndWhitePixels)
{
    WinMMOffscreenSurface* mask = renderer.RenderHalfSizeAlpha("Wow", 0, 255);
    ASSERT_NE(mask, nullptr);
    const MMBitmap& m = mask->Store();
    std::set<int> seen;
    for (int32_t y = 0; y < m.Height(); ++y)
        for (int32_t x = 0; x < m.Width(); ++x)
            seen.insert(*m.PixelAddress(x, y));
    mask->Dispose();
    // Four pixels of 0 or 255 summed and shifted right by 2.
    for (int value : seen)
        EXPECT_TRUE(value == 0 || value == 63 || value == 127 || value == 191 || value == 255)
            << value;
    EXPECT_TRUE(seen.count(0) && seen.count(255));
    EXPECT_TRUE(seen.count(63) || seen.count(127) || seen.count(191)) << "no smooth edge";
}

TEST_F(RendererTest, DrawingBlendsTheColourThroughTheMaskAtTheBaseline)
{
    // A patterned destination, so both sides of the mix show.
    const MMBitmap& store = work.surface->Store();
    for (int32_t y = 0; y < 100; ++y)
        for (int32_t x = 0; x < 200; ++x) {
            uint8_t* p = store.PixelAddress(x, y);
            p[0] = uint8_t(x);
            p[1] = uint8_t(y * 2);
            p[2] = uint8_t(x + y);
            p[3] = 9;
        }
    WinMMOffscreenSurface* mask = renderer.RenderHalfSizeAlpha("Ag", 0, 200);
    ASSERT_NE(mask, nullptr);
    const MMBitmap& m = mask->Store();
    const int32_t x0 = 7, baseline = 60, top = baseline - renderer.Ascent();
    Box drawn = renderer.DrawText("Ag", 0, x0, baseline, 0x102030, 200);
    EXPECT_EQ(drawn, (Box{x0, top, x0 + m.Width(), top + m.Height()}));
    const uint8_t ink[3] = {0x30, 0x20, 0x10};
    for (int32_t y = 0; y < m.Height(); ++y) {
        for (int32_t x = 0; x < m.Width(); ++x) {
            uint8_t c = *m.PixelAddress(x, y);
            const uint8_t* p = work.At(x0 + x, top + y);
            uint8_t before[3] = {uint8_t(x0 + x), uint8_t((top + y) * 2), uint8_t(x0 + x + top + y)};
            for (int k = 0; k < 3; ++k)
                ASSERT_EQ(p[k], BlendTable[c][before[k]] + BlendTable[255 - c][ink[k]])
                    << x << "," << y;
            ASSERT_EQ(p[3], 9);
        }
    }
    mask->Dispose();
}

TEST_F(RendererTest, AShadowOfLevel80DarkensByAtMost80)
{
    Box drawn = renderer.DrawText("WM", 0, 5, 60, 0x000000, 80);
    ASSERT_FALSE(drawn.IsEmpty());
    int darkest = 255;
    for (int32_t y = drawn.top; y < drawn.bottom; ++y)
        for (int32_t x = drawn.left; x < drawn.right; ++x)
            darkest = std::min<int>(darkest, work.At(x, y)[1]);
    EXPECT_EQ(darkest, 175);
}

TEST_F(RendererTest, TextHalfOutsideTheSurfaceDrawsOnlyTheInsidePart)
{
    Box drawn = renderer.DrawText("Wide", 0, 180, 30, 0, 255);
    EXPECT_EQ(drawn.right, 200);
    EXPECT_EQ(drawn.left, 180);
}

TEST(TextRenderer, WithoutAFontNothingIsRendered)
{
    Surface32 work;
    MPTextRenderer renderer(work.surface);
    EXPECT_EQ(renderer.RenderHalfSizeAlpha("abc", 0, 255), nullptr);
    EXPECT_TRUE(renderer.DrawText("abc", 0, 0, 20, 0, 255).IsZero());
    renderer.SetFontByName("Tahoma", 16);
    EXPECT_NE(renderer.DoubleFont(), nullptr);
    Box drawn = renderer.DrawText("abc", 0, 0, 20, 0, 255);
    EXPECT_FALSE(drawn.IsEmpty());
}

}  // namespace
