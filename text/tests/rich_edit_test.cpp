// The platform's rich-edit control behind its proxy molecule, on a real stage
// window: windows, formats, keys, the cover and drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "engine/stage_event.h"
#include "framework/callbacks.h"
#include "media/offscreen_surface.h"
#include "media/surface.h"
#include "text/rich_edit_control.h"
#include "text/rich_text_proxy.h"
#include "rich_edit_stage.h"

namespace {

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

TEST(RichEditUnits, PixelsTwipsAndColourReferences)
{
    struct Case {
        int32_t pixels, dpi, twips;
    } cases[] = {{12, 96, 180}, {72, 96, 1080}, {32, 96, 480}, {13, 96, 200}, {12, 120, 140}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.twips, TwipsForPixels(c.pixels, c.dpi)) << c.pixels << " at " << c.dpi;
        EXPECT_NEAR(c.pixels, PixelsForTwips(c.twips, c.dpi), 1);
    }
    EXPECT_EQ(COLORREF(0x000000FF), ColorRefFor(MakeMMColorFromRgb(0xFF0000)));
    EXPECT_EQ(COLORREF(0x00102030), ColorRefFor(MakeMMColorFromRgb(0x302010)));
    EXPECT_EQ(COLORREF(0x01000007), ColorRefFor(MakeMMColorFromIndex(7)));
}

TEST_F(RichEditStage, TheControlHasItsThreeWindowsClassesAndStyles)
{
    MMRichTextProxyMolecule* proxy = MakeBox();
    AFEditRichTextControl* control = proxy->Control();
    ASSERT_NE(control, nullptr);
    HWND clip = control->Window();
    HWND edit = control->EditWindow();
    HWND cover = control->CoverWindow();
    ASSERT_TRUE(clip && edit && cover);
    EXPECT_EQ("RichEditClip", ClassOf(clip));
    EXPECT_STRCASEEQ("RichEdit", ClassOf(edit).c_str());
    EXPECT_EQ("CoverUpTheRichEdit", ClassOf(cover));
    EXPECT_EQ(window->window, GetParent(clip));
    EXPECT_EQ(clip, GetParent(edit));
    EXPECT_EQ(clip, GetParent(cover));
    DWORD clipStyle = WS_CHILD | WS_CLIPCHILDREN | WS_BORDER;
    EXPECT_EQ(clipStyle, DWORD(GetWindowLongA(clip, GWL_STYLE)) & clipStyle);
    EXPECT_EQ(DWORD(kRichEditStyle), DWORD(GetWindowLongA(edit, GWL_STYLE)) & kRichEditStyle);
    EXPECT_EQ(DWORD(WS_CHILD | WS_CLIPSIBLINGS),
              DWORD(GetWindowLongA(cover, GWL_STYLE)) & (WS_CHILD | WS_CLIPSIBLINGS | WS_POPUP));
    EXPECT_EQ(LRESULT(0xC0001), SendMessageA(edit, EM_GETEVENTMASK, 0, 0));
    EXPECT_TRUE(IsWindowVisible(edit)) << "shown on creation";
    // The edit window fills the box, which lies in the stage's window.
    RECT r;
    GetWindowRect(edit, &r);
    POINT corner = {r.left, r.top};
    ScreenToClient(window->window, &corner);
    EXPECT_EQ(50, corner.x);
    EXPECT_EQ(40, corner.y);
    EXPECT_EQ(200, r.right - r.left);
    EXPECT_EQ(100, r.bottom - r.top);
    EXPECT_EQ(Box({50 - control->BorderOffset().x, 40 - control->BorderOffset().y,
                   250 + control->BorderOffset().x, 140 + control->BorderOffset().y}),
              proxy->Placement());

    proxy->Hide();
    EXPECT_FALSE(IsWindowVisible(edit));
    EXPECT_FALSE(IsWindowVisible(clip));
    proxy->SetBounds(Box{10, 20, 110, 70}, Box{10, 20, 110, 70});
    GetWindowRect(edit, &r);
    EXPECT_EQ(100, r.right - r.left);
    EXPECT_EQ(50, r.bottom - r.top);
    delete proxy;
    EXPECT_FALSE(IsWindow(clip));
    EXPECT_FALSE(IsWindow(edit));
}

TEST_F(RichEditStage, CallsFromTheStageThreadWaitForTheWindowThread)
{
    MMRichTextProxyMolecule* proxy = MakeBox();
    std::atomic<bool> done{false};
    std::thread stageSide([&] {
        proxy->SetBold(true);
        done = true;
    });
    Sleep(300);
    EXPECT_FALSE(done) << "the call waits until this (the window) thread takes messages";
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
    stageSide.join();
    EXPECT_TRUE(ReadFormat(proxy).dwEffects & CFE_BOLD);
    delete proxy;
}

TEST_F(RichEditStage, FormatsAreSentInTwipsAndReadBack)
{
    MMRichTextProxyMolecule* proxy = MakeBox();
    ASSERT_EQ(96, proxy->Dpi());
    struct Case {
        int32_t pixels, twips;
    } sizes[] = {{12, 180}, {72, 1080}};
    for (const Case& c : sizes) {
        proxy->SetTextSize(c.pixels);
        EXPECT_EQ(c.twips, ReadFormat(proxy).yHeight);
        EXPECT_EQ(c.pixels, proxy->TextSizePixels());
    }
    proxy->SetFaceName("DejaVu Sans", 1, 0);
    proxy->SetBold(false);  // the control's first face may be a bold one
    proxy->SetTextColor(MakeMMColorFromRgb(0xFF0000));
    proxy->SetItalic(true);
    proxy->SetUnderline(true);
    CHARFORMATA format = ReadFormat(proxy);
    EXPECT_STREQ("DejaVu Sans", format.szFaceName);
    EXPECT_EQ(COLORREF(0x000000FF), format.crTextColor);
    EXPECT_EQ(DWORD(CFE_ITALIC | CFE_UNDERLINE),
              format.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE));
    EXPECT_STREQ("DejaVu Sans", proxy->FaceName());
    EXPECT_TRUE(proxy->IsItalic() && proxy->IsUnderline() && !proxy->IsBold());
    EXPECT_EQ(0xFF, proxy->TextColor().red);
    proxy->SetPlain();
    EXPECT_EQ(0u, ReadFormat(proxy).dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE));
    EXPECT_FALSE(proxy->IsItalic() || proxy->IsUnderline());
    proxy->SetAlignment(1);
    EXPECT_EQ(1, proxy->Alignment());
    delete proxy;
}

TEST_F(RichEditStage, PostedKeysArriveAndEditsAreUndone)
{
    MMRichTextProxyMolecule* proxy = MakeBox();
    EXPECT_TRUE(proxy->IsEmpty());
    Type(proxy, "Ami\xE9");
    EXPECT_TRUE(PumpUntil([&] { return Text(proxy) == "Ami\xE9"; })) << Text(proxy);
    EXPECT_FALSE(proxy->IsEmpty());
    EXPECT_TRUE(proxy->IsModified());
    EXPECT_FALSE(proxy->HandleKey(MMStageEvent::KeyData(0x25, 'x', 0)))
        << "a key command is not typing";
    proxy->SetSelection(0, 3);
    EXPECT_TRUE(PumpUntil([&] {
        int32_t a, b;
        proxy->GetSelection(&a, &b);
        return a == 0 && b == 3;
    }));
    proxy->Clear();
    EXPECT_EQ("\xE9", Text(proxy));
    proxy->Undo();
    EXPECT_EQ("Ami\xE9", Text(proxy));
    proxy->SetModified(false);
    EXPECT_FALSE(proxy->IsModified());
    delete proxy;
}

TEST_F(RichEditStage, AChangeRefreshesTheFormatCacheAndCallsTheListener)
{
    MMRichTextProxyMolecule* proxy = MakeBox();
    AFEditRichTextControl* control = proxy->Control();
    int calls = 0;
    control->SetChangeListener(AFMakeCallback([&] { ++calls; }));
    control->CopyFormatCache(nullptr, nullptr);
    EXPECT_FALSE(control->FormatsChanged());
    proxy->SetItalic(true);
    Type(proxy, "i");
    EXPECT_TRUE(PumpUntil([&] { return calls > 0; }));
    EXPECT_TRUE(control->FormatsChanged());
    CHARFORMATA cached = {};
    control->CopyFormatCache(&cached, nullptr);
    EXPECT_TRUE(cached.dwEffects & CFE_ITALIC);
    EXPECT_FALSE(control->FormatsChanged()) << "copying out clears the flag";
    delete proxy;
}

TEST_F(RichEditStage, TheCoverHidesALineCutByTheBoxEdge)
{
    MMRichTextProxyMolecule* proxy = MakeBox(Box{50, 40, 250, 80});
    proxy->SetTextSize(12);
    AFEditRichTextControl* control = proxy->Control();
    Box beyond = {200, 40, 210, 50};
    EXPECT_EQ(beyond, control->CoverBox()) << "everything fits: the cover waits outside";
    Type(proxy, "one\rtwo\rthree\rfour\rfive");
    EXPECT_TRUE(PumpUntil([&] { return Text(proxy).size() > 20; }));
    Box cover = control->CoverBox();
    EXPECT_EQ(0, cover.left);
    EXPECT_EQ(200, cover.right);
    EXPECT_EQ(40, cover.bottom);
    EXPECT_GT(cover.top, 0);
    EXPECT_LT(cover.top, 40);
    POINTL line = {0, 0};
    LRESULT lastInside = SendMessageA(control->EditWindow(), EM_LINEINDEX, 2, 0);
    SendMessageA(control->EditWindow(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&line),
                 lastInside);
    if (line.y < 40) {
        EXPECT_EQ(line.y, cover.top) << "the cover starts at the cut line's top";
    }
    RECT placed;
    GetWindowRect(control->CoverWindow(), &placed);
    EXPECT_EQ(cover.Height(), placed.bottom - placed.top);
    delete proxy;
}

TEST_F(RichEditStage, DrawingIntoASurfaceInksInsideTheBoxOnly)
{
    MMRichTextProxyMolecule* proxy = MakeBox(Box{50, 40, 250, 140});
    proxy->SetTextSize(32);
    proxy->SetTextColor(MakeMMColorFromRgb(0x000000));
    Type(proxy, "Ami");
    ASSERT_TRUE(PumpUntil([&] { return Text(proxy) == "Ami"; }));
    WinMMOffscreenSurface* surface = MMSurface::CreateBitmapDC(32, Box{0, 0, 200, 100}, nullptr);
    ASSERT_NE(surface, nullptr);
    const MMBitmap& store = surface->Store();
    for (int32_t y = 0; y < 100; ++y)
        std::memset(store.PixelAddress(0, y), 255, 200 * 4);
    proxy->DrawInto(surface);
    int32_t inked = 0;
    Box drawn = {200, 100, 0, 0};
    for (int32_t y = 0; y < 100; ++y)
        for (int32_t x = 0; x < 200; ++x)
            if (store.PixelAddress(x, y)[1] < 128) {
                ++inked;
                drawn.left = std::min(drawn.left, x);
                drawn.top = std::min(drawn.top, y);
                drawn.right = std::max(drawn.right, x + 1);
                drawn.bottom = std::max(drawn.bottom, y + 1);
            }
    EXPECT_GT(inked, 60) << "the text is drawn";
    EXPECT_LT(drawn.right, 120) << "three letters at 32 pixels";
    EXPECT_LT(drawn.bottom, 60) << "one line";
    surface->Dispose();
    delete proxy;
}

TEST_F(RichEditStage, WithoutTheLibraryEveryCallDoesNothing)
{
    FreeRichEditLibrary();
    SetRichEditLibraryName("NoSuchRichEdit.dll");
    ASSERT_FALSE(LoadRichEditLibrary());
    MMRichTextProxyMolecule* proxy = MakeBox();
    ASSERT_NE(proxy->Control(), nullptr);
    EXPECT_EQ(nullptr, proxy->Control()->Window());
    EXPECT_EQ(nullptr, proxy->Control()->EditWindow());
    proxy->SetTextSize(12);
    proxy->SetBold(true);
    EXPECT_TRUE(proxy->HandleKey(MMStageEvent::KeyData(0, 'A', 0)));
    proxy->SetBounds(Box{0, 0, 50, 50}, Box{0, 0, 50, 50});
    EXPECT_TRUE(proxy->IsEmpty());
    EXPECT_EQ(0, proxy->TextLength());
    EXPECT_EQ("", Text(proxy));
    delete proxy;
    SetRichEditLibraryName(nullptr);
}

}  // namespace
