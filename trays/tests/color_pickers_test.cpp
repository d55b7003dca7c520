// The colour pickers: colour conversions, the rainbow drawn into the
// offscreen, dragging past its edges, the 35 colour boxes and their pages,
// and a colour given to the picker kept exactly as given.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "engine/enclosure.h"
#include "media/offscreen_surface.h"
#include "media/sound/logical_sound_channel.h"
#include "trays/color_pickers.h"
#include "widget_fixture.h"

namespace {

const Box kRainbow = {20, 10, 80, 50};  // 60 x 40
const Box kSwatch = {90, 10, 110, 30};

uint32_t Grey(uint8_t g) { return ColorWord(g, g, g); }

struct PickerTest : WidgetTest {
    KVXToolColorPickerMolecule* picker = nullptr;

    void SetUp() override
    {
        stage.SetPendingScene(&scene, nullptr, nullptr);
        stage.ChangeSceneOrDispatch();
        picker = new KVXToolColorPickerMolecule(&scene, kRainbow, kSwatch, 300, 5,
                                                TestSoundId(0), TestSoundId(1),
                                                Noting("chosen"));
    }
};

TEST(ColorConversion, GreysPrimariesAndThePalette)
{
    for (uint8_t g : {0, 68, 187, 255}) {
        double h = -1, s = -1, v = -1;
        ColorToHsv(Grey(g), h, s, v);
        EXPECT_EQ(0.0, h);
        EXPECT_EQ(0.0, s);
        EXPECT_DOUBLE_EQ(g / 255.0, v);
        EXPECT_EQ(Grey(g), HsvToColor(h, s, v));
    }
    struct Primary {
        uint32_t colour;
        double hue;
    } primaries[] = {{ColorWord(255, 0, 0), 0.0},
                     {ColorWord(0, 255, 0), 1.0 / 3},
                     {ColorWord(0, 0, 255), 2.0 / 3}};
    for (const Primary& p : primaries) {
        double h, s, v;
        ColorToHsv(p.colour, h, s, v);
        EXPECT_DOUBLE_EQ(p.hue, h);
        EXPECT_EQ(1.0, s);
        EXPECT_EQ(1.0, v);
        EXPECT_EQ(p.colour, HsvToColor(h, s, v));
    }
    // Truncation may lose one step per channel, never more.
    for (uint32_t colour : kDefaultPalette) {
        double h, s, v;
        ColorToHsv(colour, h, s, v);
        uint32_t back = HsvToColor(h, s, v);
        for (int shift : {0, 8, 16})
            EXPECT_LE(std::abs(int((colour >> shift) & 255) - int((back >> shift) & 255)), 1)
                << std::hex << colour;
    }
    EXPECT_EQ(ColorWord(187, 187, 187), kDefaultPalette[1]);
    EXPECT_EQ(ColorWord(204, 153, 102), kDefaultPalette[34]);
}

TEST_F(PickerTest, TheRainbowRowsReadBackFromTheOffscreen)
{
    WinMMOffscreenSurface* surface = MMSurface::CreateBitmapDC(32, Box{0, 0, 120, 60}, nullptr);
    ASSERT_NE(surface, nullptr);
    KVXRainbowBoxVisual* rainbow = picker->Rainbow();
    surface->SetClipBox(kRainbow);
    rainbow->Draw(surface);
    const MMBitmap& store = surface->Store();
    int32_t mismatches = 0;
    for (int32_t y = 0; y < kRainbow.Height(); ++y)
        for (int32_t x = 0; x < kRainbow.Width(); ++x) {
            Pair m = rainbow->Marker();
            if (std::abs(x - m.x) <= 4 && std::abs(y - m.y) <= 4)
                continue;  // the marker ring
            uint32_t shown;
            std::memcpy(&shown, store.PixelAddress(kRainbow.left + x, kRainbow.top + y), 4);
            mismatches += !SameColor(shown, rainbow->ColorAt(x, y));
        }
    EXPECT_EQ(0, mismatches);
    // Top row white, the middle row pure hues, the bottom row nearly black.
    EXPECT_EQ(Grey(255), rainbow->ColorAt(7, 0));
    double h, s, v;
    ColorToHsv(rainbow->ColorAt(7, 20), h, s, v);
    EXPECT_EQ(1.0, s);
    EXPECT_EQ(1.0, v);
    ColorToHsv(rainbow->ColorAt(7, 39), h, s, v);
    EXPECT_LT(v, 0.06);
    surface->Dispose();
}

TEST_F(PickerTest, DraggingFarLeftScrollsFifteenAndSpeedsTheSoundUp)
{
    ASSERT_TRUE(OpenTones(scratch.folder, "t.MMA", 2));
    KVXRainbowBoxVisual* rainbow = picker->Rainbow();
    Pointer(40, 30, kPointerPressed | kPointerHeld);
    ASSERT_TRUE(picker->IsPressed());
    EXPECT_EQ(2, rainbow->PenWidth());
    int32_t offset = rainbow->Offset();
    Pointer(kRainbow.left + 1 - 250, 30, kPointerHeld);
    EXPECT_EQ((offset - 15 + 300) % 300, rainbow->Offset());
    EXPECT_EQ((100 + 1024) * 64, picker->DragChannel()->Frequency());
    EXPECT_EQ(1, rainbow->Marker().x);
    // Back inside, the sound plays at its own rate.
    Pointer(40, 30, kPointerHeld);
    EXPECT_EQ(0x10000, picker->DragChannel()->Frequency());
    EXPECT_EQ(rainbow->ColorAt(20, 20), *picker->CurrentColor());
    EXPECT_EQ(rainbow->ColorAt(20, 20), picker->Swatch()->Color());
    EXPECT_EQ("", Ran());
    Pointer(40, 30, kPointerReleased);
    EXPECT_EQ("chosen", Ran());
    EXPECT_EQ(1, rainbow->PenWidth());
}

// A box colour the rainbow cannot show (greys hold S = 0 and V below 1)
// stays the colour chosen.
TEST_F(PickerTest, AGivenColourIsKeptExactly)
{
    for (uint32_t colour : {Grey(187), Grey(0), ColorWord(6, 105, 163), Grey(255)}) {
        picker->SetColor(colour);
        EXPECT_EQ(colour, *picker->CurrentColor()) << std::hex << colour;
        EXPECT_EQ(colour, picker->Swatch()->Color());
        Pair m = picker->Rainbow()->Marker();
        EXPECT_EQ(30, m.x);
        EXPECT_GE(m.y, 0);
        EXPECT_LT(m.y, kRainbow.Height());
    }
    // A grey places the marker by its value alone, on hue 0's column.
    picker->SetColor(Grey(68));
    EXPECT_EQ(int32_t((1 - (68 / 255.0) / 2) * 40), picker->Rainbow()->Marker().y);
    EXPECT_EQ(270, picker->Rainbow()->Offset());
    stage.RunDueTasks();
    EXPECT_EQ("chosen chosen chosen chosen chosen", Ran());
}

struct BoxTest : WidgetTest {
    std::vector<Box> boxes;
    KVXToolColorBoxSetVisual* set = nullptr;
    KVXToolColorBoxSetMolecule* molecule = nullptr;

    void SetUp() override
    {
        stage.SetPendingScene(&scene, nullptr, nullptr);
        stage.ChangeSceneOrDispatch();
        // Two rows of five boxes, 10 x 10 each.
        for (int32_t k = 0; k < 10; ++k)
            boxes.push_back(Box{10 * (k % 5), 100 + 10 * (k / 5), 10 * (k % 5) + 10,
                                110 + 10 * (k / 5)});
        KVXToolColorBoxSetMolecule::Layout layout = {
            boxes.data(), 10, {0, 0}, {MM_NO_RESOURCE, MM_NO_RESOURCE}, {0, 0},
            {MM_NO_RESOURCE, MM_NO_RESOURCE}};
        molecule = new KVXToolColorBoxSetMolecule(&scene, layout, 5, TestSoundId(0),
                                                  Noting("box"));
        set = molecule->Boxes();
    }
};

TEST_F(BoxTest, TheLastPageWrapsToTheFirstColours)
{
    for (int i = 0; i < 6; ++i)
        set->ScrollForward();
    ASSERT_EQ(30, set->PageStart());
    for (int32_t k = 0; k < 5; ++k) {
        EXPECT_EQ(30 + k, set->ColorIndexOfBox(k));
        EXPECT_EQ(k, set->ColorIndexOfBox(5 + k));
        EXPECT_EQ(30 + k, set->HitTest(10 * k + 5, 105));
        EXPECT_EQ(k, set->HitTest(10 * k + 5, 115));
    }
    set->ScrollForward();
    EXPECT_EQ(0, set->PageStart());
    set->ScrollBack();
    EXPECT_EQ(30, set->PageStart());
    set->ScrollBack();
    EXPECT_EQ(25, set->PageStart());
    EXPECT_EQ(-1, set->HitTest(60, 105));
}

TEST_F(BoxTest, APressReleasedOutsideTheBoxChoosesNothing)
{
    Pointer(15, 105, kPointerPressed | kPointerHeld);
    Pointer(25, 105, kPointerReleased);
    EXPECT_EQ(-1, set->Selected());
    EXPECT_EQ("", Ran());
    Pointer(15, 105, kPointerPressed | kPointerHeld);
    Pointer(16, 106, kPointerReleased);
    EXPECT_EQ(1, set->Selected());
    EXPECT_EQ("box", Ran());
    // A colour outside the palette frames no box.
    set->SelectColor(ColorWord(1, 2, 3));
    EXPECT_EQ(-1, set->Selected());
    set->SelectColor(Grey(187) | 0x7F000000u);
    EXPECT_EQ(1, set->Selected());
}

}  // namespace
