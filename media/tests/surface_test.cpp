// Drawing surfaces over GDI: the DIB-section back buffer, clip regions,
// locks, primitives, palettes, and copies to a real window.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/pending_error.h"
#include "media/offscreen_surface.h"

namespace {

struct Surface {
    explicit Surface(WinMMOffscreenSurface* s) : s(s) {}
    ~Surface()
    {
        if (s != nullptr) {
            s->Dispose();
        }
    }
    WinMMOffscreenSurface* operator->() const { return s; }
    WinMMOffscreenSurface* s;
};

uint32_t PixelAt(MMSurface* surface, int x, int y)
{
    MMBitmap store;
    surface->GetBitmap(store);
    uint32_t value;
    std::memcpy(&value, store.PixelAddress(x, y), 4);
    return value & 0xFFFFFF;
}

bool HasClipRegion(HDC dc)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    int result = GetClipRgn(dc, region);
    DeleteObject(region);
    return result == 1;
}

const MMColor kRed = {-1, 0, 0, 255, 0};

}  // namespace

TEST(OffscreenSurface, StoreDescribesTheBottomUpSection)
{
    Surface wide(MMSurface::CreateBitmapDC(32, {0, 0, 10, 3}, nullptr));
    ASSERT_NE(nullptr, wide.s);
    MMBitmap store;
    ASSERT_TRUE(wide->GetBitmap(store));
    EXPECT_EQ(-40, store.pitch);
    EXPECT_EQ(static_cast<uint8_t*>(wide->Bits()) + 80, store.pixels);
    EXPECT_EQ(kPixelBGRA, wide->GetPixelKind());
    EXPECT_TRUE(store.IsValid());

    Surface narrow(MMSurface::CreateBitmapDC(24, {0, 0, 3, 2}, nullptr));
    ASSERT_NE(nullptr, narrow.s);
    narrow->GetBitmap(store);
    EXPECT_EQ(-12, store.pitch);
    EXPECT_EQ(kPixelBGR, store.pixelKind);
}

TEST(OffscreenSurface, GdiAndBlittersShareThePixels)
{
    Surface surface(MMSurface::CreateBitmapDC(32, {100, 50, 140, 80}, nullptr));
    ASSERT_NE(nullptr, surface.s);
    surface->FillBox({110, 60, 120, 70}, kRed);
    GdiFlush();
    EXPECT_EQ(0xFF0000u, PixelAt(surface.s, 110, 60));
    EXPECT_EQ(0xFF0000u, PixelAt(surface.s, 119, 69));
    EXPECT_EQ(0u, PixelAt(surface.s, 120, 69));

    surface->SetOrigin({0, 0});
    EXPECT_EQ((Box{0, 0, 40, 30}), surface->GetBounds());
    surface->SetOrigin({10, 20});
    EXPECT_EQ((Box{10, 20, 50, 50}), surface->GetBounds());
    EXPECT_EQ(0xFF0000u, PixelAt(surface.s, 20, 30));  // the same pixel, new coordinates
}

TEST(OffscreenSurface, ClipRegionIsSelectedOnlyWhenNeeded)
{
    Surface surface(MMSurface::CreateBitmapDC(32, {0, 0, 20, 20}, nullptr));
    ASSERT_NE(nullptr, surface.s);
    surface->SetClipBox({-5, -5, 30, 30});
    EXPECT_FALSE(HasClipRegion(surface->GetDC()));
    surface->SetClipBox({0, 0, 19, 20});
    EXPECT_TRUE(surface->IsClipPending());
    EXPECT_TRUE(HasClipRegion(surface->GetDC()));
    EXPECT_FALSE(surface->IsClipPending());

    surface->SetClipBox({0, 0, 5, 5});
    surface->SetClipBox({5, 5, 10, 10});
    surface->FillBox({0, 0, 20, 20}, kRed);
    GdiFlush();
    EXPECT_EQ(0u, PixelAt(surface.s, 4, 4));
    EXPECT_EQ(0xFF0000u, PixelAt(surface.s, 5, 5));
    EXPECT_EQ(0u, PixelAt(surface.s, 10, 10));

    MMBitmap clipped;
    EXPECT_TRUE(surface->GetClippedBitmap(clipped));
    EXPECT_EQ((Box{5, 5, 10, 10}), clipped.box);
    surface->SetClipBox({50, 50, 60, 60});
    EXPECT_FALSE(surface->GetClippedBitmap(clipped));
    EXPECT_TRUE(clipped.box.IsEmpty());
}

namespace {

class UnlockCounter : public MMDrawingSurface {
public:
    void OnUnlocked() override { ++unlocks; }
    int unlocks = 0;
};

}  // namespace

TEST(Surface, NestedLocksEndWithOneUnlockCall)
{
    UnlockCounter surface;
    surface.Lock();
    surface.Lock();
    surface.Unlock();
    EXPECT_EQ(0, surface.unlocks);
    surface.Unlock();
    EXPECT_EQ(1, surface.unlocks);
    EXPECT_EQ(0, surface.LockCount());
}

TEST(Surface, PolygonsBeyondFiftyAreNotDrawn)
{
    Surface surface(MMSurface::CreateBitmapDC(32, {0, 0, 240, 20}, nullptr));
    ASSERT_NE(nullptr, surface.s);
    Pair points[60 * 4];
    int16_t counts[60];
    for (int i = 0; i < 60; ++i) {
        int x = i * 4;
        points[4 * i + 0] = {x, 0};
        points[4 * i + 1] = {x + 3, 0};
        points[4 * i + 2] = {x + 3, 10};
        points[4 * i + 3] = {x, 10};
        counts[i] = 4;
    }
    EXPECT_TRUE(surface->FillPolyPolygon(points, counts, 60, kRed));
    GdiFlush();
    EXPECT_EQ(0xFF0000u, PixelAt(surface.s, 49 * 4 + 1, 5));
    EXPECT_EQ(0u, PixelAt(surface.s, 50 * 4 + 1, 5));

    EXPECT_TRUE(surface->FillPolyPolygon(points + 4, counts, 1, kRed));  // one: Polygon
}

TEST(Surface, ScrollReportsTheUncoveredStrip)
{
    Surface surface(MMSurface::CreateBitmapDC(32, {0, 0, 50, 100}, nullptr));
    ASSERT_NE(nullptr, surface.s);
    RECT rectangle = {0, 0, 50, 100};
    EXPECT_TRUE(surface->Scroll(rectangle, 0, -10));
    EXPECT_TRUE(surface->Scroll(rectangle, 0, 0));
}

TEST(OffscreenSurface, FailedBackBufferSetsThePendingError)
{
    ClearPendingError();
    WinMMOffscreenSurface* surface = MMSurface::CreateBitmapDC(32, {0, 0, 100000, 100000}, nullptr);
    EXPECT_EQ(nullptr, surface);
    EXPECT_TRUE(IsErrorPending());
    ClearPendingError();
}

TEST(OffscreenSurface, OnlyEightTwentyFourAndThirtyTwoBitBackBuffers)
{
    // The store describes 8-, 24- or 32-bit pixels only; a section of any
    // other depth would be smaller than the rows the blitters write.
    for (int32_t bits : {1, 4, 16, 0, 48}) {
        ClearPendingError();
        WinMMOffscreenSurface* surface = MMSurface::CreateBitmapDC(bits, {0, 0, 8, 2}, nullptr);
        EXPECT_EQ(nullptr, surface) << bits;
        EXPECT_TRUE(IsErrorPending()) << bits;
        if (surface != nullptr) {
            surface->Dispose();
        }
    }
    ClearPendingError();
}

TEST(Palettes, EachSurfaceDeletesOnlyThePalettesItMade)
{
    MMColorTable table;
    for (int i = 0; i < 256; ++i) {
        table.entries[i] = {static_cast<BYTE>(i), 0, static_cast<BYTE>(255 - i), 0};
    }
    WinMMOffscreenSurface* surface = MMSurface::CreateBitmapDC(8, {0, 0, 4, 4}, &table);
    ASSERT_NE(nullptr, surface);
    HPALETTE first = static_cast<HPALETTE>(GetCurrentObject(surface->GetDC(), OBJ_PAL));
    surface->SetColorTable(table);
    HPALETTE second = static_cast<HPALETTE>(GetCurrentObject(surface->GetDC(), OBJ_PAL));
    EXPECT_NE(first, second);
    EXPECT_EQ(0u, GetObjectType(first));  // replaced and deleted once
    surface->Dispose();
    EXPECT_EQ(0u, GetObjectType(second));

    // A window surface does not own the window's palette.
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(nullptr, window);
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entries[2];
    } logical = {0x300, 2, {{1, 2, 3, 0}, {4, 5, 6, 0}}};
    HPALETTE owned = CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
    HDC windowDC = GetDC(window);
    SelectPalette(windowDC, owned, FALSE);
    ReleaseDC(window, windowDC);
    MMControlSurface* control = new MMControlSurface(window, owned);
    control->Dispose();
    EXPECT_EQ(static_cast<DWORD>(OBJ_PAL), GetObjectType(owned));
    DestroyWindow(window);
    DeleteObject(owned);
}

TEST(ControlSurface, CopiesTheBackBufferToTheWindow)
{
    HWND window = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 64, 48, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    UpdateWindow(window);
    MMControlSurface* control = new MMControlSurface(window, nullptr);
    EXPECT_EQ((Box{0, 0, 64, 48}), control->GetBounds());
    MMBitmap none;
    EXPECT_FALSE(control->GetClippedBitmap(none));
    Surface back(MMSurface::CreateBitmapDC(32, {0, 0, 64, 48}, nullptr));
    ASSERT_NE(nullptr, back.s);
    back->FillBox({0, 0, 64, 48}, kRed);
    back->FillBox({10, 10, 20, 20}, {-1, 255, 0, 0, 0});
    GdiFlush();
    if (control->UsesDrawDib()) {
        GTEST_SKIP() << "palette display";
    }
    control->CopyFromOffscreen(*back.s, {0, 0, 64, 48});
    GdiFlush();
    HDC dc = GetDC(window);
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 5, 5));
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 15, 15));
    ReleaseDC(window, dc);

    back->FillBox({0, 0, 64, 48}, {-1, 0, 255, 0, 0});
    GdiFlush();
    control->CopyFromOffscreenTo(*back.s, {0, 0}, {30, 30, 40, 40});
    GdiFlush();
    dc = GetDC(window);
    EXPECT_EQ(RGB(0, 255, 0), GetPixel(dc, 35, 35));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 25, 25));
    ReleaseDC(window, dc);
    control->Dispose();
    DestroyWindow(window);
}
