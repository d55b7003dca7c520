// Surfaces printed into a page held in memory, and the one-surface session
// on the machine's printer.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/print_configuration.h"
#include "framework/tests/memory_print_session.h"
#include "media/offscreen_surface.h"
#include "media/printable_surface.h"

namespace {

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kBlack = 0x000000;

// A 32-bit surface of 64 x 480: red rows on top, blue rows at the bottom.
WinMMOffscreenSurface* StripedSurface()
{
    WinMMOffscreenSurface* surface = MMSurface::CreateBitmapDC(32, {0, 0, 64, 480}, nullptr);
    if (surface != nullptr) {
        surface->FillBox({0, 0, 64, 10}, MakeMMColorFromRgb(0xFF0000));
        surface->FillBox({0, 470, 64, 480}, MakeMMColorFromRgb(0x0000FF));
    }
    return surface;
}

void ExpectStripes(const MemoryPrintSession& page, int height)
{
    EXPECT_EQ(kRed, page.Pixel(5, 0));
    EXPECT_EQ(kBlack, page.Pixel(5, height / 2));
    EXPECT_EQ(kBlue, page.Pixel(5, height - 1));
}

}  // namespace

TEST(PrintableSurface, ReadsTheBottomUpRowsTheRightWayUp)
{
    WinMMOffscreenSurface* surface = StripedSurface();
    ASSERT_NE(nullptr, surface);
    {
        MemoryPrintSession page(64, 480);
        MMPrintableSurface printable(Box{0, 0, 64, 480}, surface);
        EXPECT_TRUE(printable.PrintOn(page));
        ExpectStripes(page, 480);
    }
    {
        // Stretched to half size: still the right way up.
        MemoryPrintSession page(32, 240);
        MMPrintableSurface printable(Box{0, 0, 32, 240}, surface);
        EXPECT_TRUE(printable.PrintOn(page));
        ExpectStripes(page, 240);
    }
    {
        // A surface whose origin moved prints the same pixels.
        surface->SetOrigin({10, 20});
        MemoryPrintSession page(64, 480);
        MMPrintableSurface printable(Box{0, 0, 64, 480}, surface);
        EXPECT_TRUE(printable.PrintOn(page));
        ExpectStripes(page, 480);
    }
    EXPECT_EQ(0, surface->LockCount());
    surface->Dispose();  // the printables did not own it
}

TEST(PrintableSurface, OwnSurfacePrintsThroughItsColourTable)
{
    MMColorTable colors;
    colors.entries[5] = {0x00, 0xC0, 0x20, 0};  // blue, green, red
    MMPrintableSurface printable(Box{2, 2, 10, 10}, 8, Box{0, 0, 4, 4}, &colors);
    ASSERT_NE(nullptr, printable.Surface());
    MMBitmap store;
    ASSERT_TRUE(printable.Surface()->GetBitmap(store));
    EXPECT_EQ(8, store.bitsPerPixel);
    for (int y = 0; y < 4; ++y)
        std::memset(store.PixelAddress(0, y), 5, 4);

    MemoryPrintSession page(12, 12);
    EXPECT_TRUE(printable.PrintOn(page));
    EXPECT_EQ(0x20C000u, page.Pixel(2, 2));
    EXPECT_EQ(0x20C000u, page.Pixel(9, 9));
    EXPECT_EQ(0xFFFFFFu, page.Pixel(10, 10));

    MMPrintableSurface nothing(Box{0, 0, 4, 4}, 16, Box{0, 0, 4, 4}, nullptr);
    EXPECT_EQ(nullptr, nothing.Surface());
    EXPECT_FALSE(nothing.PrintOn(page));
}

TEST(PrintSurface, FitsTheSurfaceToThePrintersPage)
{
    AFPrintConfiguration configuration;
    ASSERT_TRUE(configuration.HasPrinter());
    WinMMOffscreenSurface* surface = MMSurface::CreateBitmapDC(32, {0, 0, 640, 480}, nullptr);
    ASSERT_NE(nullptr, surface);
    {
        MMPrintSurface session(configuration, *surface);
        ASSERT_TRUE(session.HasDeviceContext());
        Pair page = session.PageSizePixels();
        ASSERT_GT(page.x, 0);
        Box expected = AFPrintSession::FitBox({0, 0, 640, 480}, {0, 0, page.x, page.y});
        EXPECT_EQ(expected, session.PrintableBox());
        EXPECT_EQ(0, expected.left);
        EXPECT_EQ(page.x, expected.right);
    }
    surface->Dispose();
}
