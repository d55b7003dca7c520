// The canvas bitmap of a sketchbook page, and the page rendered whole and
// as a thumbnail.
#include <gtest/gtest.h>

#include <vector>

#include "canvas/page_stamps.h"
#include "canvas/plane.h"
#include "canvas_test_support.h"
#include "fake_canvas_scene.h"
#include "framework/files.h"
#include "media/offscreen_surface.h"

namespace {

std::vector<uint8_t> Written(const KVXPlaneComponent& plane, bool& ok)
{
    std::vector<uint8_t> bytes(plane.width * plane.height * 6);
    FSMemory memory(bytes.data(), uint32_t(bytes.size()));
    ok = plane.WritePixels(memory);
    return bytes;
}

KVXPlaneComponentTop* ThreeByTwo()
{
    auto* plane = new KVXPlaneComponentTop({3, 2});
    plane->Fill(kBlankPixel);
    *plane->PixelAt(1, 0) = {0x11, 0x22, 0x33, kPixelLocked, 0x1234, 7};
    *plane->PixelAt(2, 1) = {1, 2, 3, kPixelDrippy, 5, 9};
    return plane;
}

const std::vector<uint8_t> kThreeByTwoBytes = {
    0xFF, 0xFF, 0xFF, 0x00, 0x11, 0x22, 0x33, 0x01, 0xFF, 0xFF, 0xFF, 0x00,  // colours, row 0
    0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x01, 0x02, 0x03, 0x1A,  // row 1
    0x00, 0x0C, 0x34, 0x12, 0x00, 0x0C,                                      // heights, row 0
    0x00, 0x0C, 0x00, 0x0C, 0x05, 0x00,                                      // row 1
};

}  // namespace

TEST(Page, WritesColourWordsThenHeights)
{
    std::unique_ptr<KVXPlaneComponentTop> plane(ThreeByTwo());
    bool ok = false;
    EXPECT_EQ(kThreeByTwoBytes, Written(*plane, ok));
    EXPECT_TRUE(ok);

    KVXPlaneComponentTop blank({2, 1});
    blank.Fill(kBlankPixel);
    std::vector<uint8_t> expected = {0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0, 0x00, 0x0C, 0x00, 0x0C};
    EXPECT_EQ(expected, Written(blank, ok));

    std::vector<uint8_t> tooSmall(10);
    FSMemory memory(tooSmall.data(), uint32_t(tooSmall.size()));
    EXPECT_FALSE(plane->WritePixels(memory));
}

TEST(Page, ReadsBothByteOrdersAndClearsTheShadows)
{
    std::vector<uint8_t> swapped = kThreeByTwoBytes;
    for (size_t i = 0; i < 24; i += 4)
        std::reverse(swapped.begin() + i, swapped.begin() + i + 4);
    for (size_t i = 24; i < swapped.size(); i += 2)
        std::swap(swapped[i], swapped[i + 1]);
    for (bool bigEndian : {false, true}) {
        std::vector<uint8_t> bytes = bigEndian ? swapped : kThreeByTwoBytes;
        FSMemory memory(bytes.data(), uint32_t(bytes.size()));
        memory.SetSwapsBytes(bigEndian);
        KVXPlaneComponentTop plane({3, 2});
        plane.Fill({9, 9, 9, 9, 9, 9});
        EXPECT_TRUE(plane.ReadPixels(memory));
        EXPECT_EQ(0x01332211u, plane.ColorAt(1, 0)) << "type 1 survives";
        EXPECT_EQ(0x1234, plane.PixelAt(1, 0)->height);
        EXPECT_EQ(0x1A030201u, plane.ColorAt(2, 1));
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(0, plane.PixelAt(i % 3, i / 3)->shadow);
    }
}

TEST(Page, ATruncatedPageLeavesNothingOfThePictureBefore)
{
    struct Case {
        size_t bytes;
        uint32_t colorAt10;
        uint16_t heightAt10;
    } cases[] = {
        {16, 0x01332211u, kBlankHeight},  // colours of row 0 only
        {28, 0x01332211u, kBlankHeight},  // colours, part of a height row
        {30, 0x01332211u, 0x1234},        // heights of row 0 only
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes(kThreeByTwoBytes.begin(), kThreeByTwoBytes.begin() + c.bytes);
        FSMemory memory(bytes.data(), uint32_t(bytes.size()));
        KVXPlaneComponentTop plane({3, 2});
        plane.Fill({1, 2, 3, 4, 5, 6});
        EXPECT_FALSE(plane.ReadPixels(memory));
        EXPECT_EQ(c.colorAt10, plane.ColorAt(1, 0)) << c.bytes;
        EXPECT_EQ(c.heightAt10, plane.PixelAt(1, 0)->height) << c.bytes;
        EXPECT_EQ(c.bytes < 24 ? 0x00FFFFFFu : 0x1A030201u, plane.ColorAt(2, 1)) << c.bytes;
        EXPECT_EQ(kBlankHeight, plane.PixelAt(2, 1)->height) << c.bytes;
        EXPECT_EQ(0, plane.PixelAt(2, 1)->shadow) << c.bytes;
    }
}

namespace {

class RecordingStamps : public KVXPageStamps {
public:
    MMPictureID LayerPicture(int32_t slot) const override
    {
        asked.push_back(slot);
        return -1;
    }
    void DrawStamps(MMSurface* surface, int32_t step, bool flag) override
    {
        drawnAt = step;
        bounds = surface->GetBounds();
    }
    mutable std::vector<int32_t> asked;
    int32_t drawnAt = -1;
    Box bounds = {0, 0, 0, 0};
};

}  // namespace

TEST(Page, RendersWithOverlaysInStageCoordinates)
{
    CanvasBox = {80, 60, 88, 66};
    KVXPlaneComponentTop plane({8, 6});
    Paint(plane, Bgr(1, 2, 3), 3072);
    MMSurface* surface = MMSurface::CreateBitmapDC(32, {0, 0, 8, 6}, nullptr);
    ASSERT_NE(nullptr, surface);
    RecordingStamps stamps;
    std::vector<std::string> log;
    FakeSlate slate(&log);
    plane.RenderWithOverlays(surface, &stamps, &slate, 3, true);
    EXPECT_EQ((std::vector<int32_t>{3, 2}), stamps.asked);
    EXPECT_EQ(2, stamps.drawnAt);
    EXPECT_EQ((Box{80, 60, 88, 66}), stamps.bounds);
    EXPECT_EQ((Box{0, 0, 8, 6}), surface->GetBounds());
    MMBitmap pixels;
    surface->GetBitmap(pixels);
    EXPECT_EQ(Bgr(1, 2, 3), TargetWord(pixels, 4, 4) & 0xFFFFFF);
    surface->Dispose();

    auto thumbnail = MakeTarget(2, 2, 0);
    EXPECT_TRUE(plane.RenderThumbnail(*thumbnail, &stamps, &slate, false));
    EXPECT_EQ(Bgr(1, 2, 3), TargetWord(*thumbnail, 0, 0));
    EXPECT_TRUE(plane.RenderThumbnail(*thumbnail, nullptr, nullptr, true));
    EXPECT_EQ(Bgr(255, 255, 255), TargetWord(*thumbnail, 1, 1));
    CanvasBox = {0, 0, 0, 0};
}
