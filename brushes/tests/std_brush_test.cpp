// The standard transfer brush and the write-all brush on small canvases.
#include <gtest/gtest.h>

#include "brush_test_support.h"
#include "brushes/std_brush.h"

namespace {

typedef KVXBrushStdTransfer<KVXCoverTransfer, KVXPlainPixelTransfer, KVXHeightTransfer,
                            KVXColorGeneratorColor, KVXOpacityGeneratorNib>
    CoverBrush;
typedef KVXBrushWriteAll<KVXCoverTransfer, KVXPlainPixelTransfer, KVXHeightTransfer,
                         KVXColorGeneratorColor, KVXOpacityGeneratorNib>
    CoverWriteAll;
typedef KVXBrushStdTransfer<KVXCoverTransfer, KVXPlainPixelTransfer, KVXHeightTransfer,
                            KVXColorGeneratorSaturation, KVXOpacityGeneratorNib>
    SaturationBrush;

const std::vector<uint8_t> kNib5 = {
    0,  64,  64,  64,  0,   //
    64, 128, 128, 128, 64,  //
    64, 128, 255, 128, 64,  //
    64, 128, 128, 128, 64,  //
    0,  64,  64,  64,  0,
};

class StdBrushTest : public ::testing::Test {
protected:
    StdBrushTest() : canvas(8, 8), nib(5, 5, kNib5), texture(8, 8, 255) {}
    template <class Brush>
    Brush* Make(const uint8_t* ramp = kNoSaturation)
    {
        return new Brush(DiameterParams(255, 255), ramp, kNibOpacity, heights, &canvas, &nib,
                         &texture, red);
    }
    KVXComponentPixel At(int x, int y) { return *canvas.PixelAt(x, y); }

    BlankCanvas canvas;
    BytePlane nib;
    BytePlane texture;
    uint8_t red[4] = {0, 0, 255, 0};
    uint8_t heights[2] = {10, 200};
};

void ExpectPixel(const KVXComponentPixel& p, int blue, int green, int red, int type, int height)
{
    EXPECT_EQ(blue, p.blue);
    EXPECT_EQ(green, p.green);
    EXPECT_EQ(red, p.red);
    EXPECT_EQ(type, p.type);
    EXPECT_EQ(height, p.height);
}

}  // namespace

TEST_F(StdBrushTest, KnownThreeSampleStroke)
{
    CoverBrush* brush = Make<CoverBrush>();
    ASSERT_EQ(1, brush->Nibs().Count());
    ASSERT_EQ(5, brush->Nibs().SizeFor(19));
    BrushDab a = Sample(2, 2, 19), b = Sample(5.7, 3.2, 10), c = Sample(7, 7, 0);
    brush->BeginStroke(&a);
    brush->ContinueStroke(&b);
    brush->EndStroke(&c);

    ExpectPixel(At(2, 2), 0, 0, 255, 0, 3272);    // nib centre, depth 200
    ExpectPixel(At(4, 3), 95, 95, 255, 0, 3177);  // 64 at depth 200, then 128 at depth 110
    ExpectPixel(At(6, 6), 127, 127, 255, 0, 3077);
    ExpectPixel(At(7, 7), 0, 0, 255, 0, 3082);
    ExpectPixel(At(0, 0), 255, 255, 255, 0, 3072);  // nib corner 0
    ExpectPixel(At(7, 0), 255, 255, 255, 0, 3072);  // no nib there
    EXPECT_EQ((Box{0, 0, 8, 8}), canvas.DirtyBox());
    EXPECT_EQ(2, canvas.changeState.value);
    delete brush;
}

TEST_F(StdBrushTest, EdgeAndOffCanvasDabs)
{
    uint8_t ramp[4] = {200, 100, 150, 50};
    SaturationBrush* brush = Make<SaturationBrush>(ramp);
    brush->Colors().Start(&canvas.PixelAt(3, 3)->blue, 19);
    uint8_t weight = brush->colors.weight;
    uint8_t pending[4];
    std::memcpy(pending, brush->colors.pending, 4);

    BrushDab off = Sample(-3, 20, 19);
    brush->Dab(&off);
    EXPECT_EQ(weight, brush->colors.weight) << "the generator is not stepped";
    EXPECT_EQ(0, std::memcmp(pending, brush->colors.pending, 4));
    EXPECT_TRUE(canvas.DirtyBox().IsEmpty());

    BrushDab corner = Sample(7, 0, 19);  // nib box {5, -2, 10, 3}
    brush->Dab(&corner);
    EXPECT_EQ((Box{5, 0, 8, 3}), canvas.DirtyBox());
    EXPECT_NE(weight, brush->colors.weight);
    EXPECT_EQ(255, At(7, 0).red);
    delete brush;
}

TEST_F(StdBrushTest, LockedPixelsOnlyForTheWriteAllBrush)
{
    canvas.PixelAt(2, 2)->type = kPixelLocked;
    BrushDab dab = Sample(2, 2, 19);
    CoverBrush* brush = Make<CoverBrush>();
    brush->Dab(&dab);
    ExpectPixel(At(2, 2), 255, 255, 255, kPixelLocked, 3072);
    EXPECT_EQ(255, At(2, 1).red);
    delete brush;

    CoverWriteAll* eraser = Make<CoverWriteAll>();
    eraser->Dab(&dab);
    ExpectPixel(At(2, 2), 0, 0, 255, kPixelPlain, 3272);
    delete eraser;
}

TEST_F(StdBrushTest, SamplePixelClampsIntoThePlane)
{
    CoverBrush* brush = Make<CoverBrush>();
    canvas.PixelAt(7, 7)->blue = 1;
    canvas.PixelAt(0, 0)->blue = 2;
    uint8_t out[4];
    EXPECT_EQ(1, brush->SamplePixel(out, Sample(50, 9, 0))[0]);
    EXPECT_EQ(2, brush->SamplePixel(out, Sample(-4, -0.5, 0))[0]);
    canvas.changeState.value = 3;
    BrushDab dab = Sample(2, 2, 0);
    brush->EndStroke(&dab);
    EXPECT_EQ(3, canvas.changeState.value);
    delete brush;
}

TEST_F(StdBrushTest, SecondGeneratorReplacesTheFirst)
{
    struct Counting : SimplePathGenerator {
        explicit Counting(int* deaths) : deaths(deaths) {}
        ~Counting() override { ++*deaths; }
        int* deaths;
    };
    int deaths = 0;
    CoverBrush* brush = Make<CoverBrush>();
    brush->SetPathGenerator(new Counting(&deaths));
    Counting* second = new Counting(&deaths);
    brush->SetPathGenerator(second);
    EXPECT_EQ(1, deaths);
    EXPECT_EQ(brush, second->Brush());
    delete brush;
    EXPECT_EQ(2, deaths);
}
