// The squeegee's band: its mask is drawn by the platform's polygon fill, so
// the tests assert what any filled polygon gives.
#include <gtest/gtest.h>

#include "brush_test_support.h"
#include "brushes/squeegee_brush.h"
#include "canvas_test_support.h"

namespace {

typedef KVXBrushSqueegeeBase<KVXCoverTransfer, KVXPlainPixelTransfer, KVXNULLHeightTransfer,
                             KVXColorGeneratorColor, KVXOpacityGeneratorNib>
    Squeegee;
typedef KVXBrushSqueegeeBase<KVXNULLTransfer, KVXPlainPixelTransfer, KVXHeightEraser,
                             KVXColorGeneratorColor, KVXOpacityGeneratorNib>
    HeightSqueegee;

const uint8_t kFlat[2] = {100, 100};

class SqueegeeTest : public ::testing::Test {
protected:
    template <class Brush = Squeegee>
    Brush* Make(double halfWidth)
    {
        return new Brush(DiameterParams(0, halfWidth), kNoSaturation, kNibOpacity, kFlat, &canvas,
                         &nib, nullptr, black);
    }
    bool Painted(int x, int y) { return (canvas.ColorAt(x, y) & 0xFFFFFF) == 0; }
    int PaintedCount()
    {
        int n = 0;
        for (int y = 0; y < canvas.height; ++y)
            for (int x = 0; x < canvas.width; ++x)
                n += Painted(x, y);
        return n;
    }

    BlankCanvas canvas{20, 20};
    BytePlane nib{1, 1, 255};
    uint8_t black[4] = {0, 0, 0, 0};
};

}  // namespace

TEST_F(SqueegeeTest, FirstDabPaintsATriangleFromThePenDown)
{
    Squeegee* brush = Make(4);  // edge points 4 px either side
    BrushDab down = Sample(2, 10, 0);
    brush->BeginStroke(&down);  // the simple generator dabs here: no direction
    int afterDown = PaintedCount();
    EXPECT_EQ(0, afterDown) << "a point band paints nothing";
    BrushDab across = Sample(12, 10, 0, 10, 0);
    brush->Dab(&across);
    // Triangle (2, 10), (12, 6), (12, 14): inside near its wide end, not
    // at the corners of its box, nothing at its right edge (box right).
    EXPECT_TRUE(Painted(10, 10));
    EXPECT_TRUE(Painted(10, 8));
    EXPECT_TRUE(Painted(6, 10));
    EXPECT_FALSE(Painted(3, 7));
    EXPECT_FALSE(Painted(3, 13));
    EXPECT_FALSE(Painted(12, 10));
    EXPECT_FALSE(Painted(1, 10));
    int area = PaintedCount();
    EXPECT_GT(area, 25);
    EXPECT_LT(area, 50);
    EXPECT_EQ((Box{2, 6, 12, 14}), canvas.DirtyBox());
    // The next dab sweeps the quadrilateral between the two pairs.
    BrushDab next = Sample(17, 10, 0, 5, 0);
    brush->Dab(&next);
    EXPECT_TRUE(Painted(14, 7));
    EXPECT_TRUE(Painted(14, 12));
    EXPECT_EQ(4u, brush->band.points.size());
    delete brush;
}

TEST_F(SqueegeeTest, LastColumnAndRowKept)
{
    Squeegee* brush = Make(4);
    BrushDab down = Sample(12, 15, 0);
    brush->BeginStroke(&down);
    BrushDab past = Sample(30, 15, 0, 18, 0);
    brush->Dab(&past);
    EXPECT_TRUE(Painted(18, 15));
    for (int y = 0; y < 20; ++y)
        EXPECT_FALSE(Painted(19, y)) << "last column, row " << y;
    BrushDab down2 = Sample(5, 10, 0);
    brush->BeginStroke(&down2);
    BrushDab below = Sample(5, 30, 0, 0, 20);
    brush->Dab(&below);
    EXPECT_TRUE(Painted(5, 18));
    EXPECT_FALSE(Painted(5, 19));
    delete brush;
}

TEST_F(SqueegeeTest, LockedPixelsAreWipedAndHeightsLevelled)
{
    canvas.PixelAt(8, 10)->type = kPixelLocked;
    canvas.PixelAt(8, 10)->height = 4000;
    HeightSqueegee* brush = Make<HeightSqueegee>(4);
    BrushDab down = Sample(2, 10, 0);
    brush->BeginStroke(&down);
    BrushDab across = Sample(12, 10, 0, 10, 0);
    brush->Dab(&across);
    // Depth 100 at opacity 255: a = 200, moving 200/255 of the way to 3072.
    EXPECT_EQ(4000 - int(200 * 0.00392156862745098 * 928), canvas.PixelAt(8, 10)->height);
    EXPECT_EQ(0, canvas.PixelAt(8, 10)->type);
    EXPECT_EQ(255, canvas.PixelAt(8, 10)->red) << "the NULL colour transfer keeps colour";
    BrushDab end = Sample(12, 10, 0);
    brush->EndStroke(&end);
    EXPECT_TRUE(brush->band.points.empty());
    delete brush;
}
