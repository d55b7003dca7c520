// Area-weighted resampling of bitmaps and planes, mirrored copies and the
// whole-bitmap shrink of 8-bit pictures.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "canvas/resample.h"
#include "canvas_test_support.h"

namespace {

// An 8-bit description of rows held by the test.
MMBitmap Bytes(std::vector<uint8_t>& pixels, int32_t width, int32_t height)
{
    MMBitmap b;
    b.bitsPerPixel = 8;
    b.bytesPerPixel = 1;
    b.pixelKind = kPixelIndexed;
    b.transparencyKind = 0;
    b.box = {0, 0, width, height};
    b.pixels = pixels.data();
    b.pitch = width;
    return b;
}

void SetPixel(const MMBitmap& b, int x, int y, uint32_t word) { std::memcpy(b.PixelAddress(x, y), &word, 4); }

}  // namespace

TEST(Resample, Ceil16)
{
    EXPECT_EQ(3, Ceil16(3.0));
    EXPECT_EQ(4, Ceil16(3.5));
    EXPECT_EQ(3, Ceil16(3.0 + 1.0 / 131072)) << "below 1/65536 counts as none";
    EXPECT_EQ(4, Ceil16(3.0 + 1.0 / 65536));
}

TEST(Resample, BitmapWindows)
{
    struct Case {
        int sourceWidth, destinationWidth;
        std::vector<int> source, expected;
    } cases[] = {
        {4, 4, {9, 8, 7, 6}, {9, 8, 7, 6}},
        {4, 2, {1, 2, 200, 203}, {2, 202}},  // (1 + 2 + 1) / 2 rounds up
        // Windows [0, 3.33), [3.33, 6.67), [6.67, 10): the middle one weighs
        // columns 3 and 6 by 2/3.
        {10, 3, {0, 0, 0, 90, 0, 0, 90, 0, 0, 0}, {9, 36, 9}},
        // Enlarged: each window widened to a pixel, the last one ending at the edge.
        {2, 4, {10, 21, 0, 0}, {10, 16, 21, 21}},
    };
    for (const Case& c : cases) {
        auto source = MakeTarget(c.sourceWidth, 1, 0);
        auto destination = MakeTarget(c.destinationWidth, 1, 0);
        for (int x = 0; x < c.sourceWidth; ++x)
            SetPixel(*source, x, 0, uint32_t(c.source[x]));
        ResampleBitmap(*source, *destination);
        for (int x = 0; x < c.destinationWidth; ++x)
            EXPECT_EQ(uint32_t(c.expected[x]), TargetWord(*destination, x, 0))
                << c.sourceWidth << " into " << c.destinationWidth << ", pixel " << x;
    }
}

TEST(Resample, TransparentAveragesKeepOrBlendTheDestination)
{
    auto source = MakeTarget(2, 2, 0);
    auto destination = MakeTarget(1, 1, 0);
    for (int i = 0; i < 4; ++i)
        SetPixel(*source, i % 2, i / 2, 0xFF204060);
    SetPixel(*destination, 0, 0, 0x00102030);
    ResampleBitmap(*source, *destination);
    EXPECT_EQ(0xFF102030u, TargetWord(*destination, 0, 0)) << "clear: only the alpha byte";

    for (int i = 0; i < 4; ++i)
        SetPixel(*source, i % 2, i / 2, 0x80C8C8C8);
    SetPixel(*destination, 0, 0, 0x00646464);
    ResampleBitmap(*source, *destination);
    // (100 x 128 + 200 x 127) / 255 = 149.
    EXPECT_EQ(0x80959595u, TargetWord(*destination, 0, 0));
}

TEST(Resample, PlanesAverageEveryByte)
{
    KVXPlaneComponentTop source({2, 2});
    KVXPlaneComponentTop destination({1, 1});
    source.Fill({0, 100, 200, kPixelDrippy, 3000, 9});
    *source.PixelAt(1, 0) = {4, 100, 200, kPixelPlain, 3001, 9};
    *source.PixelAt(1, 1) = {4, 100, 200, kPixelPlain, 3001, 9};
    ResamplePlane(source, destination);
    const KVXComponentPixel& p = *destination.PixelAt(0, 0);
    EXPECT_EQ(2, p.blue);
    EXPECT_EQ(13, p.type);
    EXPECT_EQ(3001, p.height) << "3000.5 rounds up";
    EXPECT_EQ(0, p.shadow);
}

TEST(Resample, ShadedCanvasShrinksWhatThePlainMethodShows)
{
    KVXPlaneComponentTop plane({4, 4});
    Paint(plane, Bgr(40, 80, 120), 3072);
    plane.PixelAt(0, 0)->height = 3072 + 40;
    auto thumbnail = MakeTarget(2, 2);
    ResampleCanvasShaded(plane, *thumbnail);
    // The top-right 2 x 2 is flat paint (its last column stored as it is).
    EXPECT_EQ(Bgr(40, 80, 120), TargetWord(*thumbnail, 1, 0));
    EXPECT_NE(Bgr(40, 80, 120), TargetWord(*thumbnail, 0, 0)) << "the raised corner is shaded";
    EXPECT_EQ(3072 + 8, plane.PixelAt(1, 1)->shadow) << "shadows are kept on the way";
}

TEST(Resample, MirrorBitmap)
{
    auto source = MakeTarget(2, 2, 0);
    for (int i = 0; i < 4; ++i)
        SetPixel(*source, i % 2, i / 2, uint32_t(i + 1));
    struct Case {
        bool x, y;
        uint32_t topLeft, topRight;
    } cases[] = {{true, false, 2, 1}, {false, true, 3, 4}, {true, true, 4, 3}, {false, false, 0xAA, 0xAA}};
    for (const Case& c : cases) {
        auto destination = MakeTarget(2, 2, 0xAA);
        MirrorBitmap(*source, *destination, c.x, c.y);
        EXPECT_EQ(c.topLeft & 0xFF, TargetWord(*destination, 0, 0) & 0xFF) << c.x << c.y;
        EXPECT_EQ(c.topRight & 0xFF, TargetWord(*destination, 1, 0) & 0xFF) << c.x << c.y;
    }
}

TEST(ByteShrink, Paths)
{
    struct Case {
        int from, to;
        std::vector<uint8_t> source, expected;
    } cases[] = {
        // Halving: the floor of each 2 x 2 mean.
        {4, 2, {1, 2, 9, 9, 2, 2, 9, 9, 0, 0, 4, 4, 0, 0, 4, 5}, {1, 9, 0, 4}},
        // Three by three blocks, rounded to nearest: (4.5 + 13) / 9.
        {6, 2, {1, 1, 1, 0, 0, 0, 1, 1, 1, 0, 0, 0, 1, 2, 4, 0, 0, 0,
                0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 18}, {1, 0, 0, 2}},
        // Windows [0, 1.5) and [1.5, 3) share column and row 1.
        {3, 2, {7, 7, 7, 7, 7, 7, 7, 7, 7}, {7, 7, 7, 7}},
        {3, 2, {0, 0, 90, 0, 0, 90, 0, 0, 90}, {0, 60, 0, 60}},
        {2, 2, {3, 4, 5, 6}, {3, 4, 5, 6}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> source = c.source, out(c.to * c.to, 0xEE);
        ResampleBitmapWhole(Bytes(source, c.from, c.from), Bytes(out, c.to, c.to));
        EXPECT_EQ(c.expected, out) << c.from << " into " << c.to;
    }
}

TEST(ByteShrink, NeverReadsPastTheSource)
{
    // The source's last byte is the last of a page followed by a page that
    // cannot be read.
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    DWORD page = info.dwPageSize;
    uint8_t* memory = static_cast<uint8_t*>(
        VirtualAlloc(nullptr, 2 * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    ASSERT_NE(nullptr, memory);
    DWORD old;
    ASSERT_TRUE(VirtualProtect(memory + page, page, PAGE_NOACCESS, &old));
    for (int side : {5, 4}) {
        uint8_t* pixels = memory + page - side * side;
        std::memset(pixels, 8, side * side);
        MMBitmap source;
        source.bitsPerPixel = 8;
        source.bytesPerPixel = 1;
        source.box = {0, 0, side, side};
        source.pixels = pixels;
        source.pitch = side;
        std::vector<uint8_t> out(16, 0);
        std::vector<uint8_t> storage(16);
        ResampleBitmapWhole(source, Bytes(out, 4, 4));
        EXPECT_EQ(std::vector<uint8_t>(16, 8), out) << side;
    }
    VirtualFree(memory, 0, MEM_RELEASE);
}
