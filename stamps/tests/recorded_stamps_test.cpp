// A page's stamps drawn from its block into the page picture: the layers'
// line art, the characters at their boxes in colour or at their animation's
// frame, and the foreground on top.
#include <gtest/gtest.h>

#include <cstring>

#include "canvas/canvas_scene.h"
#include "canvas/plane.h"
#include "canvas_test_support.h"
#include "engine/script_file.h"
#include "media/bitmap_picture_collection.h"
#include "media/offscreen_surface.h"
#include "resource_fixture.h"
#include "stamps/recorded_stamps.h"

namespace {

class RecordedStampsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CanvasBox = {100, 50, 140, 80};
        Bind(lineArt, 0, 40, 30, 0x00111111);
        Bind(red, 1, 4, 4, 0x00FF0000);
        Bind(blue, 2, 4, 4, 0x000000FF);
        Bind(green, 3, 40, 6, 0x0000FF00);
        // Animation table 301 (one script per size step) and script 300,
        // whose one frame shows the blue picture 1 pixel in.
        TestTable steps;
        steps.table = steps.item = 301;
        steps.rowSize = 2;
        for (int i = 0; i < 11; ++i)
            PutShort(steps.rows, 300);
        TestTable script;
        script.table = script.item = 300;
        for (int16_t v : {5, 1, 80, 0, 0, 6, 0, 0, 1, 0})
            PutShort(script.rows, v);
        PutShort(script.rows, 7);
        PutLong(script.rows, blue.Id());
        PutLong(script.rows, 0);
        ASSERT_TRUE(WriteScriptFile(temp.Folder(), "r.mms", {script, steps}, 310,
                                    int16_t(MM_NO_CODE_PAGE), int16_t(MM_NO_CODE_PAGE)));
        ASSERT_TRUE(OpenScriptFile(temp.Folder(), "r.mms"));

        block.places[kStampBackground].kind = kStampBackground;
        block.places[kStampBackground].bwPicture = lineArt.Id();
        block.places[kStampBackground].size = {40, 30};
        KVXStampRecord& character = block.places[3];
        character.kind = kStampCharacter;
        character.colourPicture = red.Id();
        character.animationTable = MMMakeResourceId(0, 301);
        character.sizeStep = 10;
        character.bounds = {110, 60, 118, 68};
        character.size = {8, 8};
        KVXStampRecord& foreground = block.places[kStampForeground];
        foreground.kind = kStampForeground;
        foreground.colourPicture = green.Id();
        foreground.bounds = {100, 74, 140, 80};
        foreground.size = {40, 6};
    }
    void TearDown() override
    {
        for (MMPictureReference* p : {&lineArt, &red, &blue, &green})
            p->Clear();
        CloseAllScriptFiles();
        CanvasBox = {0, 0, 0, 0};
    }
    void Bind(MMPictureReference& picture, int16_t index, int w, int h, uint32_t word)
    {
        auto bitmap = MakeTarget(w, h, 0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                std::memcpy(bitmap->PixelAddress(x, y), &word, 4);
        bitmap->transparencyKind = kTransparencyStraight;
        pictures.BindPicture(picture, index, *bitmap, nullptr);
    }
    uint32_t Render(bool plain, int step, int x, int y)
    {
        KVXPlaneComponentTop plane({40, 30});
        Paint(plane, Bgr(250, 250, 250), 3072);
        MMSurface* surface = MMSurface::CreateBitmapDC(32, {0, 0, 40, 30}, nullptr);
        EXPECT_NE(nullptr, surface);
        if (!surface)
            return 0;
        KVXRecordedStamps stamps(block);
        plane.RenderWithOverlays(surface, &stamps, nullptr, step, plain);
        MMBitmap pixels;
        surface->GetBitmap(pixels);
        uint32_t word = TargetWord(pixels, x, y) & 0xFFFFFF;
        surface->Dispose();
        return word;
    }

    TempFolder temp;
    MMBitmapPictureCollection pictures{4, 0x4300};
    MMPictureReference lineArt, red, blue, green;
    KVXStampsBlock block;
};

TEST_F(RecordedStampsTest, LayersGiveTheirLineArtToTheOverlayStep)
{
    KVXRecordedStamps stamps(block);
    EXPECT_EQ(lineArt.Id(), stamps.LayerPicture(3));
    EXPECT_EQ(-1, stamps.LayerPicture(2));
    EXPECT_EQ(0x111111u, Render(true, 1, 1, 1));
}

TEST_F(RecordedStampsTest, PlainCharactersAreDrawnInColourAtTheirBoxScaled)
{
    EXPECT_EQ(0xFF0000u, Render(true, 1, 10, 10));
    EXPECT_EQ(0xFF0000u, Render(true, 1, 17, 17)) << "4 x 4 drawn 8 x 8";
    EXPECT_EQ(0x111111u, Render(true, 1, 18, 10));
    EXPECT_EQ(0x00FF00u, Render(true, 1, 20, 26)) << "the foreground on top";
}

TEST_F(RecordedStampsTest, AnimatedCharactersShowTheirFrameAndMirrorIt)
{
    EXPECT_EQ(0x0000FFu, Render(false, 1, 11, 10)) << "the frame 1 pixel in";
    EXPECT_EQ(0x111111u, Render(false, 1, 10, 10));
    EXPECT_EQ(0x111111u, Render(false, 1, 16, 10));
    block.places[3].mirroredX = 1;
    EXPECT_EQ(0x111111u, Render(false, 1, 11, 10));
    EXPECT_EQ(0x0000FFu, Render(false, 1, 16, 10)) << "placed from the right edge";
    block.places[3].animationTable = -1;
    EXPECT_EQ(0xFF0000u, Render(false, 1, 10, 10)) << "without frames: in colour";
}

TEST_F(RecordedStampsTest, AnEmptyPageDrawsNothing)
{
    KVXStampsBlock empty;
    KVXRecordedStamps stamps(empty);
    EXPECT_EQ(-1, stamps.LayerPicture(3));
    stamps.DrawStamps(nullptr, 0, true);
    block = empty;
    EXPECT_EQ(Bgr(250, 250, 250), Render(true, 1, 12, 12));
}

}  // namespace
