// Gradient fills through the canvas visual's work surface: the press's
// checkerboard, linear weights across the drag, radial rings, and a press
// that sees no release.
#include <gtest/gtest.h>

#include "brushes/gradient_brush.h"
#include "canvas_fixture.h"
#include "canvas_test_support.h"

namespace {

const uint8_t kNoHeights[2] = {0, 0};

class GradientTest : public CanvasVisualFixture {
protected:
    template <class Brush>
    Brush* Make()
    {
        return new Brush(DiameterParams(255, 255), kNoSaturation, kNibOpacity, kNoHeights, &plane,
                         &nib, nullptr, black, &canvas, &mode, &heightValue, red);
    }
    void Drag(BrushBase& brush, double x0, double y0, double x1, double y1)
    {
        BrushDab press = Sample(x0, y0, 0);
        BrushDab release = Sample(x1, y1, 0);
        brush.BeginStroke(&press);
        brush.ContinueStroke(&release);
        brush.EndStroke(&release);
    }
    int Red(int x, int y) { return plane.PixelAt(x, y)->red; }

    BytePlane nib{1, 1, 255};
    uint8_t black[4] = {0, 0, 0, 0};
    uint8_t red[4] = {0, 0, 255, 0};
    int16_t mode = 510;
    int16_t heightValue = 255;
};

}  // namespace

TEST_F(GradientTest, LinearRisesAlongADragToTheRight)
{
    auto* brush = Make<KVXBrushlinearGradientFlood>();
    BrushDab press = Sample(5, 5, 0);
    brush->BeginStroke(&press);
    EXPECT_TRUE(brush->HasRegion());
    EXPECT_EQ(Bgr(255, 255, 255), plane.ColorAt(5, 5) & 0xFFFFFF) << "a span's seed keeps its colour";
    EXPECT_EQ(Bgr(0, 0, 0), plane.ColorAt(6, 5) & 0xFFFFFF) << "odd x + y shown black";
    EXPECT_EQ(Bgr(255, 255, 255), plane.ColorAt(7, 5) & 0xFFFFFF);
    BrushDab release = Sample(30, 5, 0);
    brush->EndStroke(&release);
    EXPECT_FALSE(brush->HasRegion());
    EXPECT_LT(Red(0, 3), 10);
    EXPECT_GT(Red(38, 3), 230);
    EXPECT_LT(Red(38, 3), 255);
    // Rising without a dip: the checkerboard is painted over.
    for (int x = 1; x < 39; ++x) {
        EXPECT_GE(Red(x, 7), Red(x - 1, 7)) << x;
        EXPECT_EQ(Red(x, 7), Red(x, 12)) << "the same weight down a column";
    }
    EXPECT_EQ(0, canvas.Work()->busy);
    delete brush;
}

TEST_F(GradientTest, NoDragSweepsFromTheRightAndCancelReleases)
{
    auto* brush = Make<KVXBrushlinearGradientFlood>();
    BrushDab press = Sample(20, 10, 0);
    brush->BeginStroke(&press);
    ASSERT_EQ(Bgr(0, 0, 0), plane.ColorAt(21, 10) & 0xFFFFFF);
    brush->Cancel();
    EXPECT_FALSE(brush->HasRegion());
    EXPECT_GT(Red(1, 10), 230);
    EXPECT_LT(Red(39, 10), 10);
    for (int x = 1; x < 39; ++x)
        EXPECT_GE(Red(x, 11), Red(x + 1, 11)) << "the checkerboard is painted over at " << x;
    delete brush;
}

TEST_F(GradientTest, PressOutsideTheCanvasFindsNothing)
{
    auto* brush = Make<KVXBrushlinearGradientFlood>();
    Drag(*brush, 45, 5, 10, 5);
    EXPECT_FALSE(brush->HasRegion());
    for (int x = 0; x < 40; ++x)
        ASSERT_TRUE(SamePixel(kBlankPixel, *plane.PixelAt(x, 5)));
    delete brush;
}

TEST_F(GradientTest, RadialRingsAboutThePress)
{
    auto* brush = Make<KVXBrushRadialGradientFlood>();
    Drag(*brush, 20, 10, 30, 10);  // rings 25.5 apart in weight
    EXPECT_LT(Red(20, 10), Red(25, 10)) << "low at the press point";
    EXPECT_GT(Red(25, 10), Red(21, 10));
    EXPECT_GT(Red(29, 10), 190);
    EXPECT_GT(Red(29, 10), Red(25, 10));
    EXPECT_LT(Red(37, 10), Red(30, 10)) << "and back down beyond the drag";
    // A release on the press point still paints, rings a pixel apart.
    Drag(*brush, 20, 10, 20, 10);
    EXPECT_EQ(0, plane.PixelAt(21, 10)->blue);
    delete brush;
}
