// Run-length encoded pictures: the encoder's layout, and drawing that gives
// the same bytes as the plain picture at 1:1, mirrored, scaled and clipped.
#include <gtest/gtest.h>

#include "framework/byte_order_streams.h"
#include "framework/color_table.h"
#include "media/blit_request.h"
#include "media_test_support.h"

namespace {

uint16_t Word(const std::vector<uint8_t>& data, int at)
{
    uint16_t value;
    std::memcpy(&value, data.data() + at, 2);
    return value;
}

// Places the picture 5 columns and 2 rows before the target's end.
const int kNearEnd = 1000;
const int kTargetMargin = 17;

struct Placement {
    Box source;
    Box destination;
};

const Placement kPlacements[] = {
    {{0, 0, 0, 0}, {3, 2, 0, 0}},                // 1:1
    {{0, 0, 0, 0}, {-7, -3, 0, 0}},              // 1:1 clipped left and top
    {{0, 0, 0, 0}, {kNearEnd, kNearEnd, 0, 0}},  // 1:1 clipped right and bottom
    {{1, 0, 0, 0}, {0, 0, 0, 0}},                // mirrored
    {{1, 1, 0, 0}, {-5, 4, 0, 0}},               // mirrored both ways, clipped
    {{0, 0, 2, 2}, {0, 0, 0, 0}},                // scaled up (x2)
    {{0, 0, 3, 1}, {-4, 0, 0, 0}},               // scaled down in x, clipped
    {{1, 0, 3, 2}, {2, -2, 0, 0}},               // scaled and mirrored, clipped
};

// source: mirror flags in left/top, scale numerator/denominator in right/bottom
// (0 = 1:1); destination: position.
void Place(const Placement& p, int w, int h, Box& sourceBox, Box& destinationBox)
{
    sourceBox = {0, 0, w, h};
    if (p.source.left) {
        sourceBox = {w, sourceBox.top, 0, sourceBox.bottom};
    }
    if (p.source.top) {
        sourceBox = {sourceBox.left, h, sourceBox.right, 0};
    }
    int dw = w;
    int dh = h;
    if (p.source.right) {
        dw = w * p.source.right / 2;
        dh = h * p.source.bottom / 2;
    }
    int left = p.destination.left == kNearEnd ? w + kTargetMargin - 5 : p.destination.left;
    int top = p.destination.top == kNearEnd ? h + kTargetMargin - 2 : p.destination.top;
    destinationBox = {left, top, left + dw, top + dh};
}

void ExpectSameDrawing(const MMBitmap& plain, const MMEncodedImage& encoded,
                       const MMColorTable* table, int targetKind, const char* what)
{
    int w = plain.Width();
    int h = plain.Height();
    for (const Placement& placement : kPlacements) {
        Box sourceBox;
        Box destinationBox;
        Place(placement, w, h, sourceBox, destinationBox);
        auto expected = MakeBitmap(targetKind, w + kTargetMargin, h + kTargetMargin, 0x5A);
        auto actual = MakeBitmap(targetKind, w + kTargetMargin, h + kTargetMargin, 0x5A);
        MMBitmapBlitRequest a;
        MMBitmapBlitRequest b;
        a.colorTable = table;
        b.colorTable = table;
        bool mirrored = sourceBox.left > sourceBox.right || sourceBox.top > sourceBox.bottom;
        bool scaled = destinationBox.Width() != w || destinationBox.Height() != h;
        if (mirrored || scaled) {
            ASSERT_TRUE(a.PrepareBoxToBox(plain, *expected, sourceBox, destinationBox));
            ASSERT_TRUE(b.PrepareBoxToBox(encoded, *actual, sourceBox, destinationBox));
        } else {
            ASSERT_TRUE(a.PrepareToBox(plain, *expected, destinationBox));
            ASSERT_TRUE(b.PrepareToBox(encoded, *actual, destinationBox));
        }
        a.Perform();
        b.Perform();
        ASSERT_EQ(Bytes(*expected), Bytes(*actual))
            << what << ": source " << sourceBox.left << "," << sourceBox.top << ","
            << sourceBox.right << "," << sourceBox.bottom << " onto " << destinationBox.left << ","
            << destinationBox.top << "," << destinationBox.right << "," << destinationBox.bottom;
    }
}

}  // namespace

TEST(EncodedImage, DrawsLikeThePlainPicture)
{
    MMColorTable table;
    for (int i = 0; i < 256; ++i) {
        table.entries[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i),
                            static_cast<BYTE>(i * 7), 0};
    }
    struct Case {
        int kind;
        int transparency;
        int target;
        const char* what;
    } cases[] = {
        {kPixelBGRA, kTransparencyKeyed, kPixelBGRA, "32-bit keyed"},
        {kPixelBGRA, kTransparencyStraight, kPixelBGRA, "32-bit straight alpha"},
        {kPixelBGRA, kTransparencyPremultiplied, kPixelRGB, "32-bit premultiplied onto RGB"},
        {kPixelIndexed, kTransparencyKeyed, kPixelBGRA, "8-bit keyed"},
        {kPixelIndexed, kTransparencyKeyed, kPixelIndexed, "8-bit keyed onto indexes"},
    };
    unsigned seed = 1;
    for (const Case& c : cases) {
        auto plain = MakeSprite(c.kind, c.transparency, 41, 23, seed++);
        auto encoded = Encode(*plain);
        ASSERT_NE(nullptr, encoded) << c.what;
        ExpectSameDrawing(*plain, encoded->image, &table, c.target, c.what);
    }
}

TEST(EncodedImage, WideScaledRowsDecodeWithoutOverflow)
{
    // 700 pixels of 32 bits are 2800 bytes a row, more than a 2048-byte buffer.
    auto plain = MakeSprite(kPixelBGRA, kTransparencyKeyed, 700, 5, 99);
    auto encoded = Encode(*plain);
    ASSERT_NE(nullptr, encoded);
    ExpectSameDrawing(*plain, encoded->image, nullptr, kPixelBGRA, "wide");
}

TEST(EncodedImage, RunsAndOffsetsOfTheEncoder)
{
    // A row of 300 clear pixels and 2 opaque ones.
    auto bitmap = MakeBitmap(kPixelIndexed, 302, 1);
    bitmap->PixelAddress(300, 0)[0] = 4;
    bitmap->PixelAddress(301, 0)[0] = 5;
    auto encoded = Encode(*bitmap);
    ASSERT_NE(nullptr, encoded);
    const std::vector<uint8_t>& data = encoded->data;
    ASSERT_EQ(6, Word(data, 0));  // runs after 2 + 4 x h bytes
    EXPECT_EQ((std::vector<uint8_t>{255, 0, 45, 2}),
              std::vector<uint8_t>(data.begin() + 6, data.begin() + 10));
    EXPECT_EQ(10, Word(data, 2));
    EXPECT_EQ(12, Word(data, 4));  // end offset: the size of the data
    EXPECT_EQ(12u, data.size());
    EXPECT_EQ(4, data[10]);
    EXPECT_EQ(5, data[11]);
}

TEST(EncodedImage, ThirtyTwoBitPixelsStartFourByteAligned)
{
    // One row: clear, opaque, clear, opaque, clear -> 5 run bytes after 6
    // bytes of offsets end at 11; the pixels start at 12.
    auto bitmap = MakeBitmap(kPixelBGRA, 5, 1, 0);
    for (int x : {0, 2, 4}) {
        bitmap->PixelAddress(x, 0)[3] = 255;
    }
    bitmap->transparencyKind = kTransparencyKeyed;
    int32_t size = MeasureEncodedSize(*bitmap);
    EXPECT_EQ(12 + 8, size);  // the alignment bytes are counted
    std::vector<uint8_t> exact(size);
    EXPECT_EQ(size, EncodeBitmap(*bitmap, exact.data(), size));
    EXPECT_EQ(12, Word(exact, 2));
    std::vector<uint8_t> small(size - 1);
    EXPECT_EQ(0, EncodeBitmap(*bitmap, small.data(), size - 1));

    auto encoded = Encode(*bitmap);
    EXPECT_EQ(nullptr, encoded->image.PixelAddress({0, 0}));
    EXPECT_EQ(encoded->data.data() + 12, encoded->image.PixelAddress({1, 0}));
    // The second opaque run lies past the first run's pixels.
    EXPECT_EQ(encoded->data.data() + 16, encoded->image.PixelAddress({3, 0}));
}

TEST(EncodedImage, MeasureRefusesOversizedData)
{
    auto big = MakeBitmap(kPixelBGRA, 200, 100, 0);  // 80000 opaque bytes
    EXPECT_EQ(0, MeasureEncodedSize(*big));
    auto rgb = MakeBitmap(kPixelBGR, 4, 4);
    EXPECT_EQ(0, MeasureEncodedSize(*rgb));
}

namespace {

struct Call {
    int width;
    int column;
};
std::vector<Call> gCalls;
const uint8_t* gRowStart;

void RecordCall(const uint8_t*, uint8_t* destination, const MMBlitRequest& request)
{
    gCalls.push_back({request.width, static_cast<int>(destination - gRowStart)});
}

}  // namespace

TEST(EncodedImage, OneToOneVisitsOnlyVisibleOpaqueRuns)
{
    // Counts 2, 1, 1, 1 over width 5, drawn from column 1 with width 3.
    std::vector<uint8_t> data = {6, 0, 10, 0, 11, 0, 2, 1, 1, 1, 9};
    MMEncodedImage image;
    image.bitsPerPixel = 8;
    image.bytesPerPixel = 1;
    image.pixelKind = kPixelIndexed;
    image.transparencyKind = kTransparencyKeyed;
    image.box = {0, 0, 5, 1};
    image.pixels = data.data();
    auto target = MakeBitmap(kPixelIndexed, 8, 1);
    MMBitmapBlitRequest request;
    request.destination = *target;
    request.sourceX = 1 << 16;
    request.width = 3;
    gCalls.clear();
    gRowStart = target->pixels;
    image.BlitRows(request, RecordCall);
    ASSERT_EQ(1u, gCalls.size());
    EXPECT_EQ(1, gCalls[0].width);
    EXPECT_EQ(1, gCalls[0].column);
    EXPECT_EQ(3, request.width);  // restored for the next row or perform
}

TEST(EncodedImage, SwappingDataOfTheOtherByteOrder)
{
    const int h = 4;
    auto plain = MakeSprite(kPixelBGRA, kTransparencyKeyed, 9, h, 5);
    auto encoded = Encode(*plain);
    const std::vector<uint8_t> native = encoded->data;
    // The same data as a big-endian file holds it.
    std::vector<uint8_t> foreign = native;
    uint16_t first = Word(native, 2 * h);
    uint16_t end = Word(native, 4 * h);
    SwapShortBytes(foreign.data(), 2 * h + 1);
    SwapLongBytes(foreign.data() + first, (end - first) / 4);
    ASSERT_NE(native, foreign);
    SwapEncodedImageBytes(foreign.data(), h, 4);
    EXPECT_EQ(native, foreign);
}
