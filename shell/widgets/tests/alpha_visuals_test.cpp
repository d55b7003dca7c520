// Alpha visuals: a palette picture blended through a mask picture, and text
// rendered smooth at half size.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "canvas/blend.h"
#include "engine/picture_collection.h"
#include "engine/picture_loader.h"
#include "framework/tests/scratch_folder.h"
#include "media/offscreen_surface.h"
#include "recording_enclosure.h"
#include "resource_fixture.h"
#include "shell/widgets/alpha_visuals.h"
#include "text/smart_font.h"
#include "text/text_renderer.h"

namespace {

// Image 0: 6 x 4, index x + 10 y, colours (i, 2i, 3i). Mask 1: 5 x 5, the
// byte of each pixel from kMask.
const uint8_t kMask[5][5] = {{0, 0, 255, 255, 254},
                             {128, 0, 255, 1, 254},
                             {64, 200, 255, 2, 3},
                             {255, 255, 255, 254, 0},
                             {9, 9, 9, 9, 9}};

TestPicture Picture(int16_t width, int16_t height)
{
    TestPicture picture;
    picture.width = width;
    picture.height = height;
    picture.bits = 8;
    picture.ownTable = true;
    picture.pixels.assign(size_t(picture.Pitch()) * height, 0);
    picture.bitmap.bitsPerPixel = 8;
    picture.bitmap.bytesPerPixel = 1;
    picture.bitmap.pixelKind = kPixelIndexed;
    picture.bitmap.transparencyKind = kTransparencyOpaque;
    picture.bitmap.box = Box{0, 0, width, height};
    picture.bitmap.pitch = picture.Pitch();
    return picture;
}

struct AlphaTest : ::testing::Test {
    ScratchFolder scratch;
    WinMMOffscreenSurface* surface = MMSurface::CreateBitmapDC(32, Box{0, 0, 120, 40}, nullptr);
    RecordingEnclosure enclosure;
    MMPictureReference image;
    MMPictureReference mask;

    void SetUp() override
    {
        std::vector<TestPicture> pictures = {Picture(6, 4), Picture(5, 5)};
        for (int i = 0; i < 256; ++i) {
            pictures[0].table.entries[i] = {uint8_t(i), uint8_t(2 * i), uint8_t(3 * i), 0};
            pictures[1].table.entries[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
        }
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x)
                pictures[0].pixels[size_t(y) * pictures[0].Pitch() + x] = uint8_t(x + 10 * y);
        for (int y = 0; y < 5; ++y)
            std::memcpy(&pictures[1].pixels[size_t(y) * pictures[1].Pitch()], kMask[y], 5);
        for (TestPicture& p : pictures)
            p.bitmap.pixels = p.pixels.data();
        ASSERT_TRUE(WritePictureFile(scratch.folder, "alpha.MMP", pictures, {}));
        ASSERT_NE(MMOpenPictureFile(scratch.folder, "alpha.MMP", false), nullptr);
        image.Load(MMMakeResourceId(kTestPictureCollection, 0));
        mask.Load(MMMakeResourceId(kTestPictureCollection, 1));
        Fill();
        enclosure.SetSurface(surface);
    }
    void TearDown() override
    {
        enclosure.SetSurface(nullptr);
        surface->Dispose();
        image.Clear();
        mask.Clear();
        DeleteAllPictureCollections();
    }
    // Destination pixel (x, y) before drawing: blue x, green y, red 99.
    void Fill()
    {
        const MMBitmap& store = surface->Store();
        for (int32_t y = 0; y < 40; ++y)
            for (int32_t x = 0; x < 120; ++x) {
                uint8_t* p = store.PixelAddress(x, y);
                p[0] = uint8_t(x * 2);
                p[1] = uint8_t(y);
                p[2] = 99;
                p[3] = 7;
            }
    }
    const uint8_t* At(int32_t x, int32_t y) const { return surface->Store().PixelAddress(x, y); }
};

TEST_F(AlphaTest, ThePicturesOverlapGivesTheBounds)
{
    KVXAlphaVisual visual(mask, image, 10, 20, 4);
    EXPECT_EQ(visual.GetBounds(), (Box{10, 20, 15, 24}));
    EXPECT_TRUE(visual.GetOpaqueBox().IsZero());
    EXPECT_EQ(visual.Layer(), 4);
    visual.SetPosition(1, 2);
    EXPECT_EQ(visual.GetBounds(), (Box{1, 2, 6, 6}));
}

TEST_F(AlphaTest, APointHitsWhereTheMaskIsBelow255)
{
    KVXAlphaVisual visual(mask, image, 10, 20, 4);
    EXPECT_TRUE(visual.ContainsPoint(14, 20));   // 254
    EXPECT_FALSE(visual.ContainsPoint(12, 20));  // 255
    EXPECT_TRUE(visual.ContainsPoint(10, 20));   // 0
    EXPECT_FALSE(visual.ContainsPoint(15, 20));  // outside: right is exclusive
    EXPECT_FALSE(visual.ContainsPoint(10, 24));  // the mask's last row is not in the bounds
}

TEST_F(AlphaTest, OnePictureAloneIsEmpty)
{
    for (int which = 0; which < 2; ++which) {
        MMPictureReference none;
        KVXAlphaVisual visual(which ? none : mask, which ? image : none, 3, 3, 1);
        EXPECT_TRUE(visual.GetBounds().IsZero());
        EXPECT_FALSE(visual.ContainsPoint(3, 3));
        enclosure.AddVisual(&visual);
        enclosure.RedrawAll();
        enclosure.RemoveVisual(&visual);
        EXPECT_EQ(At(3, 3)[0], 6);
        EXPECT_EQ(At(3, 3)[3], 7);
    }
}

TEST_F(AlphaTest, DrawingBlendsEachChannelThroughTheMask)
{
    KVXAlphaVisual visual(mask, image, 10, 20, 4);
    enclosure.AddVisual(&visual);
    enclosure.RedrawAll();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            uint8_t m = kMask[y][x];
            int c = x + 10 * y;
            const uint8_t picture[3] = {uint8_t(c), uint8_t(2 * c), uint8_t(3 * c)};
            const uint8_t before[3] = {uint8_t(20 + 2 * x), uint8_t(20 + y), 99};
            const uint8_t* p = At(10 + x, 20 + y);
            for (int k = 0; k < 3; ++k)
                ASSERT_EQ(p[k], BlendTable[255 - m][picture[k]] + BlendTable[m][before[k]])
                    << x << "," << y << " channel " << k;
            ASSERT_EQ(p[3], 0);
        }
    EXPECT_EQ(At(9, 20)[3], 7);
    EXPECT_EQ(At(15, 20)[3], 7);
    enclosure.RemoveVisual(&visual);
}

TEST_F(AlphaTest, OnlyTheRedrawnPartIsBlended)
{
    KVXAlphaVisual visual(mask, image, 10, 20, 4);
    enclosure.AddVisual(&visual);
    MMRectangleList part;
    part.Add(Box{12, 21, 40, 30});
    enclosure.Redraw(part);
    EXPECT_EQ(At(10, 20)[3], 7) << "outside the redrawn part";
    EXPECT_EQ(At(13, 22)[3], 0);
    const uint8_t* p = At(13, 22);  // mask 2, index 23
    EXPECT_EQ(p[0], BlendTable[253][23] + BlendTable[2][26]);
    enclosure.RemoveVisual(&visual);
}

// The stage's way: redraw what was marked, the background first.
struct AlphaTextTest : AlphaTest {
    MMSolidBoxVisual background{Box{0, 0, 120, 40}, {-1, 10, 20, 30, 0}, 0};
    MPSmartFont font{"Tahoma", 14, 700, false, false};

    void SetUp() override
    {
        AlphaTest::SetUp();
        enclosure.AddVisual(&background);
        RedrawMarked();
    }
    void TearDown() override
    {
        enclosure.RemoveVisual(&background);
        AlphaTest::TearDown();
    }
    void RedrawMarked()
    {
        MMRectangleList list;
        for (const Box& box : enclosure.marked)
            list.Add(box);
        enclosure.marked.clear();
        enclosure.Redraw(list);
        GdiFlush();
    }
    // Every pixel of the text's box is the colour blended over the
    // background through the text's mask.
    void ExpectText(const KVXAlphaTextVisual& text, const char* words)
    {
        MPTextRenderer renderer(surface);
        renderer.SetFont(&font);
        WinMMOffscreenSurface* expected = renderer.RenderHalfSizeAlpha(words, 0, 255);
        ASSERT_NE(expected, nullptr);
        const MMBitmap& m = expected->Store();
        Box bounds = text.GetBounds();
        ASSERT_EQ(bounds.Width(), m.Width());
        ASSERT_EQ(bounds.Height(), m.Height());
        ASSERT_LE(bounds.right, 120);
        for (int32_t y = 0; y < m.Height(); ++y)
            for (int32_t x = 0; x < m.Width(); ++x) {
                uint8_t c = *m.PixelAddress(x, y);
                const uint8_t* p = At(bounds.left + x, bounds.top + y);
                ASSERT_EQ(p[0], BlendTable[255 - c][0x20] + BlendTable[c][10]) << x << "," << y;
                ASSERT_EQ(p[2], BlendTable[255 - c][0xC0] + BlendTable[c][30]) << x << "," << y;
            }
        expected->Dispose();
    }
};

TEST_F(AlphaTextTest, TextIsRenderedOnceAndMovedWithoutRenderingAgain)
{
    KVXAlphaTextVisual text(4, 3, "Merci", 0);
    text.SetStyleFields(&font, {-1, 0x20, 0x40, 0xC0, 0}, kAlignBaseline, kAlignLeft);
    text.SetLayer(2);
    enclosure.AddVisual(&text);
    EXPECT_TRUE(text.IsDirty());
    RedrawMarked();
    EXPECT_TRUE(text.IsReady());
    EXPECT_EQ(text.RenderCount(), 1);
    EXPECT_EQ(text.GetPosition(), (Pair{4, 3}));
    EXPECT_EQ(text.GetBounds().left, 4);
    EXPECT_EQ(text.GetBounds().top, 3);
    ExpectText(text, "Merci");

    text.SetPosition(9, 9);
    EXPECT_FALSE(text.IsDirty());
    RedrawMarked();
    EXPECT_EQ(text.RenderCount(), 1);
    ExpectText(text, "Merci");

    text.SetText("Au revoir !", 0);
    EXPECT_TRUE(text.IsDirty());
    RedrawMarked();
    EXPECT_EQ(text.RenderCount(), 2);
    ExpectText(text, "Au revoir !");
    enclosure.RemoveVisual(&text);
}

TEST_F(AlphaTest, TextInAFontThatIsNotSmartShowsNothing)
{
    MMSystemFont font("Tahoma", 14, 400, false, false);
    KVXAlphaTextVisual text(4, 3, "Merci", 0);
    text.SetFont(&font);
    enclosure.AddVisual(&text);
    enclosure.RedrawAll();
    EXPECT_FALSE(text.IsReady());
    EXPECT_EQ(At(6, 6)[3], 7);
    enclosure.RemoveVisual(&text);
}

}  // namespace
