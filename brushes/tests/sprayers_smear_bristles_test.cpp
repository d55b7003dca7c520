// Picture sprayers, the rainbow, colour conversion, the text brush, the
// smear and the bristles.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <cmath>
#include <cstring>
#include <vector>

#include "brush_test_support.h"
#include "brushes/brush_scene.h"
#include "brushes/hsv.h"
#include "brushes/multi_brush.h"
#include "brushes/rainbow_brush.h"
#include "brushes/smear_brush.h"
#include "brushes/sprayer_brushes.h"
#include "brushes/text_brush.h"
#include "canvas/canvas_scene.h"
#include "canvas_test_support.h"
#include "framework/random.h"
#include "media/bitmap_picture_collection.h"
#include "recording_brush.h"

namespace {

const uint8_t kFlat[2] = {0, 0};

struct SprayCall {
    int32_t animation;
    int32_t picture;
    Pair point;
    bool paste;
};

class FakeBrushScene : public KVXBrushScene {
public:
    void StartSprayedAnimation(int32_t animation, int32_t picture, const Pair& point,
                               bool paste) override
    {
        calls.push_back({animation, picture, point, paste});
    }
    void PlayPhaserSound() override { ++sounds; }
    std::vector<SprayCall> calls;
    int sounds = 0;
};

}  // namespace

TEST(Sprayers, DirectionSectors)
{
    EXPECT_EQ(0, DirectionSector(0, 5));    // straight down
    EXPECT_EQ(3, DirectionSector(5, 0));    // right, 90 degrees
    EXPECT_EQ(7, DirectionSector(0, -5));   // up, 180
    EXPECT_EQ(11, DirectionSector(-5, 0));  // left, 270
    EXPECT_EQ(15, DirectionSector(-1, 6));  // 351
    EXPECT_EQ(0, DirectionSector(1, 3));    // 18, below 33.75
    EXPECT_EQ(1, DirectionSector(1, 1));    // 45
}

TEST(Sprayers, ImageSprayDrawsFromItsEntries)
{
    FakeBrushScene scene;
    KVXBrushSprayer empty(&scene);
    BrushDab at = Sample(10.7, 20.2, 0);
    empty.Dab(&at);
    EXPECT_TRUE(scene.calls.empty()) << "an empty list sprays nothing";

    KVXBrushSprayer sprayer(&scene);
    sprayer.AddEntry(414, 7001, 1);
    sprayer.AddEntry(5, 7002, 0);
    ProgramRandom().Seed(5);
    int seen[2] = {0, 0};
    for (int i = 0; i < 40; ++i)
        sprayer.Dab(&at);
    ASSERT_EQ(40u, scene.calls.size());
    for (const SprayCall& c : scene.calls) {
        EXPECT_EQ((Pair{10, 20}), c.point);
        if (c.picture == 7001) {
            EXPECT_EQ(-1, c.animation) << "414 means none";
            EXPECT_TRUE(c.paste);
        }
        ++seen[c.picture - 7001];
    }
    EXPECT_GT(seen[0], 5);
    EXPECT_GT(seen[1], 5);
}

class RollerTest : public ::testing::Test {
protected:
    RollerTest()
    {
        for (int i = 0; i < 256; ++i)
            greys.entries[i] = RGBQUAD{uint8_t(i), uint8_t(i), uint8_t(i), 0};
        // Three 3 x 3 masks: full, left column only, centre only.
        const uint8_t masks[3][9] = {{255, 255, 255, 255, 255, 255, 255, 255, 255},
                                     {255, 0, 0, 255, 0, 0, 255, 0, 0},
                                     {0, 0, 0, 0, 255, 0, 0, 0, 0}};
        for (int k = 0; k < 3; ++k) {
            bits[k].reset(MMBitmap::CreateWithPixels({0, 0, 3, 3}, kPixelIndexed, nullptr));
            for (int y = 0; y < 3; ++y)
                std::memcpy(bits[k]->PixelAddress(0, y), masks[k] + 3 * y, 3);
            pictures.BindPicture(refs[k], int16_t(k), *bits[k], &greys);
            ids.push_back(refs[k].Id());
        }
    }
    ~RollerTest() override
    {
        for (auto& r : refs)
            r.Clear();
    }

    MMColorTable greys;
    MMBitmapPictureCollection pictures{4, 0x4400};
    std::unique_ptr<MMBitmapWithPixels> bits[3];
    MMPictureReference refs[3];
    std::vector<int32_t> ids;
    BlankCanvas canvas{12, 8};
    uint8_t blue[4] = {255, 0, 0, 0};
};

TEST_F(RollerTest, RollsTheMaskOfItsDirection)
{
    typedef KVXBrushDirectionalSprayer<KVXCoverTransfer, KVXImageRollerPixelTypeTransfer,
                                       KVXHeightTransfer>
        Roller;
    const double params[4] = {0.5, 0.5, 4, 4};  // a dab every 2 pixels
    const uint8_t heights[2] = {10, 10};
    canvas.PixelAt(5, 3)->type = kPixelLocked;
    Roller roller(params, heights, &canvas, nullptr, blue, kNibOpacity, ids);
    BrushDab down = Sample(2, 2, 19);
    roller.BeginStroke(&down);
    EXPECT_TRUE(canvas.DirtyBox().IsEmpty()) << "the pen-down dab paints nothing";
    // Rolling right is sector 3, beyond the three masks: the last one.
    BrushDab right = Sample(6, 2, 19);
    roller.ContinueStroke(&right);
    EXPECT_EQ(Bgr(255, 0, 0), canvas.ColorAt(4, 2) & 0xFFFFFF);
    EXPECT_EQ(kPixelRollerPaint, canvas.PixelAt(4, 2)->type);
    EXPECT_EQ(3072 + 10, canvas.PixelAt(4, 2)->height);
    EXPECT_EQ(Bgr(255, 255, 255), canvas.ColorAt(4, 1) & 0xFFFFFF);
    // Rolling down uses mask 0, the full square; the locked pixel stays.
    BrushDab down2 = Sample(6, 6, 19);
    roller.ContinueStroke(&down2);
    EXPECT_EQ(Bgr(255, 0, 0), canvas.ColorAt(6, 5) & 0xFFFFFF);
    EXPECT_EQ(kPixelLocked, canvas.PixelAt(5, 3)->type);
    EXPECT_EQ(Bgr(255, 255, 255), canvas.ColorAt(5, 3) & 0xFFFFFF);

    Roller bare(params, heights, &canvas, nullptr, blue, kNibOpacity, {});
    bare.BeginStroke(&down);
    BrushDab away = Sample(2, 7, 19);
    bare.ContinueStroke(&away);  // no masks: nothing
    EXPECT_EQ(Bgr(255, 255, 255), canvas.ColorAt(2, 6) & 0xFFFFFF);
}

TEST(Hsv, Edges)
{
    double h, s, v;
    const uint8_t white[3] = {255, 255, 255};
    RgbToHsv(white, &h, &s, &v);
    EXPECT_EQ(0, h);
    EXPECT_EQ(0, s);
    EXPECT_EQ(1, v);
    const uint8_t black[3] = {0, 0, 0};
    RgbToHsv(black, &h, &s, &v);
    EXPECT_EQ(0, s);
    EXPECT_EQ(0, v);
    const uint8_t red[3] = {0, 0, 255};
    RgbToHsv(red, &h, &s, &v);
    EXPECT_EQ(0, h);
    EXPECT_EQ(1, s);
    const uint8_t blue[3] = {255, 0, 0};
    RgbToHsv(blue, &h, &s, &v);
    EXPECT_DOUBLE_EQ(240 * 0.002777777777777778, h);

    uint8_t out[3] = {1, 2, 3};
    double one = 1.0, full = 1.0;
    HsvToRgb(&one, &full, &full, out);
    EXPECT_EQ(0, out[0]);
    EXPECT_EQ(0, out[1]);
    EXPECT_EQ(255, out[2]) << "hue 1 is red";
    double negative = -0.1;
    HsvToRgb(&negative, &full, &full, out);
    EXPECT_EQ(255, out[2]) << "a negative hue writes nothing";
    // Truncation can lose a unit.
    const uint8_t orange[3] = {10, 128, 250};
    RgbToHsv(orange, &h, &s, &v);
    HsvToRgb(&h, &s, &v, out);
    EXPECT_LE(std::abs(out[1] - 128), 1);
    EXPECT_LE(std::abs(out[0] - 10), 1);
}

TEST(Rainbow, TwentyDabsComeBackToRed)
{
    typedef KVXBrushRainbow<KVXBuildupTransfer, KVXPlainPixelTransfer, KVXHeightTransfer,
                            KVXColorGeneratorBleed, KVXOpacityGeneratorNib>
        Rainbow;
    BlankCanvas canvas(30, 4);
    BytePlane nib(1, 1, 255);
    uint8_t red[4] = {0, 0, 255, 0};
    Rainbow brush(DiameterParams(255, 255), kNoSaturation, kNibOpacity, kFlat, &canvas, &nib,
                  nullptr, red);
    BrushDab start = Sample(0, 1, 19);
    brush.BeginStroke(&start);  // the first dab
    double h, s, v;
    RgbToHsv(brush.running, &h, &s, &v);
    EXPECT_NEAR(0.05, h, 0.005);
    EXPECT_EQ(0, canvas.PixelAt(0, 1)->blue) << "the first dab paints red";
    for (int i = 1; i < 20; ++i) {
        BrushDab d = Sample(i, 1, 19);
        brush.ContinueStroke(&d);
    }
    EXPECT_EQ(0, brush.running[0]);
    EXPECT_EQ(0, brush.running[1]);
    EXPECT_EQ(255, brush.running[2]);
    EXPECT_NE(0, canvas.PixelAt(7, 1)->green) << "yellow on the way";
    // A new stroke starts from the tool's colour; white stays white.
    red[0] = red[1] = 255;
    brush.BeginStroke(&start);
    EXPECT_EQ(255, brush.running[0]);
    EXPECT_EQ(255, brush.running[1]);
}

namespace {

class FakeTextBox : public KVXTextBox {
public:
    void PlaceBox(const Box& box) override { calls.push_back("place"), placed = box; }
    void TakeFocus() override { calls.push_back("focus"); }
    void FocusStage() override { calls.push_back("stage"); }
    void Hide() override { calls.push_back("hide"); }
    void ReapplyFormat() override { calls.push_back("format"); }
    void RenderIntoCanvas(KVXPlaneComponent&, int16_t x, int16_t y) override
    {
        calls.push_back("render " + std::to_string(x) + " " + std::to_string(y));
    }
    std::vector<std::string> calls;
    Box placed = {0, 0, 0, 0};
};

}  // namespace

TEST(TextBrush, PlacesBoxesOfAtLeast32)
{
    BlankCanvas canvas(4, 4);
    FakeTextBox box;
    KVXBrushText brush(&canvas, &box);
    Box saved = CanvasBox;
    CanvasBox = {100, 50, 600, 450};
    brush.PlaceTextBox(10, 20, 42, 52);
    EXPECT_EQ((Box{110, 70, 142, 102}), box.placed);
    brush.PlaceTextBox(10, 20, 41, 52);
    brush.PlaceTextBox(10, 20, 42, 51);
    brush.PlaceTextBox(42, 20, 10, 52);
    EXPECT_EQ((std::vector<std::string>{"place", "focus", "stage", "stage", "stage"}), box.calls);
    box.calls.clear();
    brush.textX = 7;
    brush.textY = 9;
    BrushDab click = Sample(0, 0, 0);
    brush.BeginStroke(&click);
    EXPECT_EQ((std::vector<std::string>{"hide", "render 7 9", "format"}), box.calls);
    EXPECT_EQ(2, canvas.changeState.value);
    CanvasBox = saved;
}

TEST(Smear, WeightsAndOrder)
{
    for (int e = 0; e < 16; ++e) {
        const int32_t* w = SmearWeights.w[e];
        EXPECT_EQ(256, w[0] + w[1] + w[2] + w[3]);
    }
    EXPECT_EQ(256, SmearWeights.w[0][0]);
    EXPECT_EQ(16 * 2 * 3, SmearWeights.w[2 * 4 + 1][1]);  // fx 2, fy 1: right neighbour

    typedef KVXBrushDirectionalCAndHMover<KVXCoverTransfer, KVXPlainPixelTransfer,
                                          KVXHeightTransfer, KVXColorGeneratorColor,
                                          KVXOpacityGeneratorNib>
        Smear;
    // A row of grey levels 0, 20, 40, ...: the smear drags them right.
    BlankCanvas canvas(12, 1);
    for (int x = 0; x < 12; ++x) {
        KVXComponentPixel* p = canvas.PixelAt(x, 0);
        p->blue = p->green = p->red = uint8_t(20 * x);
        p->height = uint16_t(1000 + 100 * x);
    }
    BytePlane nib(9, 9, 255);
    uint8_t white[4] = {255, 255, 255, 0};
    const uint8_t heights[2] = {0, 0};
    const double weak[4] = {0.0, 1.0, 0.0, 1.0};  // opacity 1 everywhere
    Smear still(DiameterParams(255, 255), kNoSaturation, weak, heights, &canvas, &nib, nullptr,
                white);
    BrushDab noMove = Sample(5, 0, 19);
    still.Dab(&noMove);
    // No direction: each pixel samples itself and only moves toward white.
    EXPECT_EQ(BlendBytes(40, 255, 1), canvas.PixelAt(2, 0)->red);
    EXPECT_EQ(1200, canvas.PixelAt(2, 0)->height);

    const double full[4] = {0.0, 255.0, 0.0, 255.0};
    BlankCanvas row(12, 1);
    for (int x = 0; x < 12; ++x) {
        KVXComponentPixel* p = row.PixelAt(x, 0);
        p->blue = p->green = p->red = uint8_t(20 * x);
        p->height = uint16_t(1000 + 100 * x);
    }
    row.PixelAt(9, 0)->type = kPixelLocked;
    uint8_t black[4] = {0, 0, 0, 0};
    Smear mover(DiameterParams(255, 255), kNoSaturation, full, heights, &row, &nib, nullptr, black);
    BrushDab right = Sample(5, 0, 19, 4, 0);
    mover.Dab(&right);
    // Clip 1 to 10: a sample lies 255 x 9 / 728 = 3.15 pixels behind, so
    // pixel 5 reads between 1 and 2 as they were (written right to left).
    EXPECT_EQ(0, row.PixelAt(5, 0)->red) << "full opacity gives the black dab colour";
    EXPECT_EQ((1000 + 100 * 1) + (100 * 3 * 16 * 4 >> 8) + 0, row.PixelAt(5, 0)->height);
    EXPECT_EQ(1000 + 100 * 1, row.PixelAt(2, 0)->height) << "clamped to the clip's left column";
    EXPECT_EQ(kPixelLocked, row.PixelAt(9, 0)->type);
    EXPECT_EQ(1900, row.PixelAt(9, 0)->height);
}

// The lanes' sample gives each channel's weighted sum of the four pixels,
// (w00 c00 + w10 c10 + w01 c01 + w11 c11) >> 8, for random paint with
// heights over the whole range, every quarter pair, and axes clamped to one
// pixel.
TEST(Smear, SamplesMixEachChannelOfTheFourPixels)
{
    BlankCanvas canvas(9, 7);
    uint32_t seed = 99;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    SmearColorAndHeightMover mover(&canvas);
    for (int round = 0; round < 40; ++round) {
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 9; ++x) {
                KVXComponentPixel* p = canvas.PixelAt(x, y);
                p->SetColorWord(next());
                p->height = uint16_t(round % 4 == 0 ? 65535 - next() % 3 : next());
                p->shadow = uint16_t(next());
            }
        for (int qx = 0; qx < 4; ++qx)
            for (int qy = 0; qy < 4; ++qy) {
                int32_t x = int32_t(next() % 9);
                int32_t y = int32_t(next() % 7);
                SmearAxis ax = {x, round % 3 == 0 || x == 8 ? x : x + 1, qx};
                SmearAxis ay = {y, round % 5 == 0 || y == 6 ? y : y + 1, qy};
                const int32_t* w = SmearWeights.w[qx * 4 + qy];
                const KVXComponentPixel& p00 = *canvas.PixelAt(ax.low, ay.low);
                const KVXComponentPixel& p10 = *canvas.PixelAt(ax.high, ay.low);
                const KVXComponentPixel& p01 = *canvas.PixelAt(ax.low, ay.high);
                const KVXComponentPixel& p11 = *canvas.PixelAt(ax.high, ay.high);
                auto mix = [w](uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
                    return (w[0] * a + w[1] * b + w[2] * c + w[3] * d) >> 8;
                };
                KVXComponentPixel sample = mover.Sample(ax, ay);
                ASSERT_EQ(mix(p00.blue, p10.blue, p01.blue, p11.blue), sample.blue);
                ASSERT_EQ(mix(p00.green, p10.green, p01.green, p11.green), sample.green);
                ASSERT_EQ(mix(p00.red, p10.red, p01.red, p11.red), sample.red);
                ASSERT_EQ(mix(p00.height, p10.height, p01.height, p11.height), sample.height)
                    << "round " << round << ", quarters " << qx << ", " << qy;
                ASSERT_EQ(0, sample.type);
                ASSERT_EQ(0, sample.shadow);
            }
    }
}

// The integer sample places agree with the doubles for every opacity and
// pixel, also for shifts that land on a quarter or a hair beside one.
TEST(Smear, QuickAxesMatchTheSamplePlaces)
{
    BlankCanvas canvas(80, 60);
    SmearColorAndHeightMover mover(&canvas);
    const double steps[] = {0.0,     0.25,   -0.25,  0.1,     1.0 / 3,  -0.0123,
                            0.35,    -0.349, 0.0625, 1e-300,  -3.0,     0.2 / 7,
                            std::nextafter(0.25 / 3, 1.0), std::nextafter(0.25 / 3, 0.0),
                            std::nextafter(-0.5 / 9, 0.0), std::nextafter(-0.5 / 9, -1.0)};
    const Box clips[] = {{0, 0, 80, 60}, {3, 5, 40, 9}, {10, 2, 11, 3}, {70, 50, 80, 60}};
    for (const Box& clip : clips) {
        for (double stepX : steps) {
            for (double stepY : {steps[3], stepX}) {
                mover.clip = clip;
                mover.originX = clip.left;
                mover.originY = clip.top;
                mover.stepX = stepX;
                mover.stepY = stepY;
                mover.PrepareShifts();
                for (int o = 0; o < 256; ++o) {
                    for (int32_t i = 0; i < clip.Width(); ++i) {
                        SmearAxis a = mover.AxisX(i, uint8_t(o));
                        SmearAxis b = mover.QuickAxisX(i, uint8_t(o));
                        ASSERT_EQ(a.low, b.low) << stepX << " " << o << " " << i;
                        ASSERT_EQ(a.high, b.high) << stepX << " " << o << " " << i;
                        ASSERT_EQ(a.quarter, b.quarter) << stepX << " " << o << " " << i;
                    }
                    for (int32_t j = 0; j < clip.Height(); ++j) {
                        SmearAxis a = mover.AxisY(j, uint8_t(o));
                        SmearAxis b = mover.QuickAxisY(j, uint8_t(o));
                        ASSERT_EQ(a.low, b.low) << stepY << " " << o << " " << j;
                        ASSERT_EQ(a.high, b.high) << stepY << " " << o << " " << j;
                        ASSERT_EQ(a.quarter, b.quarter) << stepY << " " << o << " " << j;
                    }
                }
            }
        }
    }
}

// Strokes of smear dabs on random paint with random nibs and texture (so
// opacities vary from pixel to pixel, 0 included), some pixels locked, in
// every direction, along and across the canvas edges: the quick dab leaves
// exactly the bytes of the plain one, dab after dab.
template <class Smear>
void ExpectQuickDabsMatchPlain(uint32_t seed)
{
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    const int32_t kWidth = 70;
    const int32_t kHeight = 50;
    BlankCanvas quick(kWidth, kHeight);
    BlankCanvas plain(kWidth, kHeight);
    for (int32_t y = 0; y < kHeight; ++y)
        for (int32_t x = 0; x < kWidth; ++x) {
            KVXComponentPixel p = {};
            p.SetColorWord((next() & 0xFFFFFF) | uint32_t(next() % 9 == 0 ? kPixelLocked : 0) << 24);
            p.height = uint16_t(next() % 5 == 0 ? 65535 - next() % 300 : next());
            p.shadow = uint16_t(next());
            *quick.PixelAt(x, y) = p;
            *plain.PixelAt(x, y) = p;
        }
    std::vector<uint8_t> nibBytes(23 * 23);
    for (uint8_t& b : nibBytes)
        b = uint8_t(next() % 4 == 0 ? 0 : next());
    BytePlane nib(23, 23, nibBytes);
    std::vector<uint8_t> textureBytes(40 * 30);
    for (uint8_t& b : textureBytes)
        b = uint8_t(next());
    BytePlane texture(40, 30, textureBytes);
    const double opacities[4] = {200.0, 255.0, 60.0, 128.0};
    const uint8_t heights[2] = {40, 200};
    uint8_t colour[4] = {30, 90, 200, 0};
    Smear quickBrush(DiameterParams(3, 64), kNoSaturation, opacities, heights, &quick, &nib,
                     &texture, colour);
    Smear plainBrush(DiameterParams(3, 64), kNoSaturation, opacities, heights, &plain, &nib,
                     &texture, colour);
    const Pair directions[] = {{0, 0}, {3, 0}, {-4, 0}, {0, 5}, {0, -2}, {3, 4},
                               {-7, 1}, {2, -9}, {-5, -5}, {1, 1}, {40, -3}, {-1, 30}};
    for (int dab = 0; dab < 120; ++dab) {
        const Pair& d = directions[dab % 12];
        BrushDab sample = Sample(double(next() % 90) - 10, double(next() % 70) - 10,
                                 int32_t(next() % kBrushSizes), d.x, d.y);
        quickBrush.Dab(&sample);
        plainBrush.PlainDab(&sample);
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < kWidth; ++x)
                ASSERT_EQ(0, std::memcmp(quick.PixelAt(x, y), plain.PixelAt(x, y),
                                         sizeof(KVXComponentPixel)))
                    << "dab " << dab << " at " << sample.x << ", " << sample.y << " size "
                    << sample.sizeIndex << " moving " << d.x << ", " << d.y << ": pixel " << x
                    << ", " << y;
    }
}

TEST(Smear, QuickDabsMatchThePlainDab)
{
    ExpectQuickDabsMatchPlain<KVXBrushDirectionalCAndHMover<
        KVXCoverTransfer, KVXPlainPixelTransfer, KVXHeightTransfer, KVXColorGeneratorSaturation,
        KVXOpacityGeneratorNib>>(7);
    ExpectQuickDabsMatchPlain<KVXBrushDirectionalCAndHMover<
        KVXCoverTransfer, KVXDrippyPixelTypeTransfer, KVXHeightCarve, KVXColorGeneratorSaturation,
        KVXOpacityGeneratorNib>>(8);
    ExpectQuickDabsMatchPlain<KVXBrushDirectionalCAndHMover<
        KVXBuildupTransfer, KVXPlainPixelTransfer, KVXHeightTransfer, KVXColorGeneratorBleed,
        KVXOpacityGeneratorNib>>(9);
    ExpectQuickDabsMatchPlain<KVXBrushDirectionalCAndHMover<
        KVXCoverTransfer, KVXPlainPixelTransfer, KVXHeightTransfer, KVXColorGeneratorColor,
        KVXOpacityGeneratorTexture>>(10);
}

TEST(Bristles, RakeOffsetsAcrossTheStroke)
{
    for (int count : {4, 5}) {
        BlankCanvas canvas(4, 4);
        KVXBrushRake rake(&canvas, 3.0);
        std::vector<RecordingBrush*> bristles;
        for (int i = 0; i < count; ++i) {
            auto* b = new RecordingBrush;
            bristles.push_back(b);
            BrushBase* owned = b;
            rake.AddBrush(owned);
            EXPECT_EQ(nullptr, owned);
        }
        rake.SetPathGenerator(new SimplePathGenerator);
        BrushDab down = Sample(50, 50, 7);
        rake.BeginStroke(&down);
        EXPECT_DOUBLE_EQ(-(count / 2) * 3.0, rake.startOffset);
        for (auto* b : bristles) {
            ASSERT_EQ(1u, b->samples.size());
            EXPECT_EQ("begin", b->strokes[0]);
            EXPECT_EQ(50, b->samples[0].x) << "the first dab starts every bristle on the spot";
        }
        BrushDab along = Sample(50, 60, 7, 0, 10);  // travelling down: normal (1, 0)
        rake.ContinueStroke(&along);
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(2u, bristles[i]->samples.size());
            EXPECT_DOUBLE_EQ(50 + (i - count / 2) * 3.0, bristles[i]->samples[1].x) << count;
            EXPECT_DOUBLE_EQ(60, bristles[i]->samples[1].y);
        }
        BrushDab still = Sample(50, 60, 7, 0, 0);
        rake.Dab(&still);
        for (auto* b : bristles)
            EXPECT_DOUBLE_EQ(50, b->samples.back().x) << "no direction: on the dab point";
        rake.EndStroke(&still);
        EXPECT_EQ("continue", bristles[0]->strokes.back()) << "bristles are never ended";
        EXPECT_EQ(2, canvas.changeState.value);
    }
}

TEST(Bristles, BundleAtItsOffsets)
{
    BlankCanvas canvas(4, 4);
    KVXBrushMultiBundle bundle(&canvas);
    auto* a = new RecordingBrush;
    auto* b = new RecordingBrush;
    BrushBase* owned = a;
    bundle.AddBrush(owned);
    owned = b;
    bundle.AddBrushAt(owned, {3, -2});
    bundle.SetPathGenerator(new SimplePathGenerator);
    BrushDab down = Sample(10, 10, 4);
    bundle.BeginStroke(&down);
    BrushDab next = Sample(12, 10, 4);
    bundle.ContinueStroke(&next);
    EXPECT_EQ((std::vector<std::string>{"begin", "continue"}), b->strokes);
    EXPECT_EQ(13, b->samples[0].x);
    EXPECT_EQ(8, b->samples[0].y);
    EXPECT_EQ(12, a->samples[1].x);
    bundle.EndStroke(&next);
    EXPECT_EQ(2u, a->strokes.size()) << "the bundle ends no bristle";

    KVXBrushRake empty(&canvas, 2.0);
    empty.SetPathGenerator(new SimplePathGenerator);
    empty.BeginStroke(&down);
    empty.ContinueStroke(&next);
}
