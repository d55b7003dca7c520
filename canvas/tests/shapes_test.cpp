// Flat and raised shapes drawn into the canvas.
#include <gtest/gtest.h>

#include "canvas/plane.h"
#include "canvas/point_array.h"
#include "canvas/work_surface.h"
#include "canvas_test_support.h"
#include "media/color.h"

namespace {

const MMColor kRed = {-1, 0, 0, 255, 0};
const uint32_t kGrey = Bgr(100, 100, 100);

class ShapesTest : public ::testing::Test {
protected:
    ShapesTest() : plane({120, 120}), work(Box{0, 0, 120, 120})
    {
        Paint(plane, kGrey, 3072);
    }
    bool Red(int x, int y) { return plane.ColorAt(x, y) == Bgr(0, 0, 255); }
    KVXPlaneComponentTop plane;
    WorkSurface work;
};

}  // namespace

TEST(PointArray, TriangleOfABox)
{
    PointArray points;
    points.AssignRect(kPointArrayTriangle, {10, 20, 31, 40});
    ASSERT_EQ(4, points.Count());
    EXPECT_EQ((Pair{20, 20}), points[0]);
    EXPECT_EQ((Pair{31, 40}), points[1]);
    EXPECT_EQ((Pair{10, 40}), points[2]);
    EXPECT_EQ(points[0], points[3]);
    points.ShrinkTriangleToCentroid(255);  // halfway to (20.33, 33.33)
    EXPECT_EQ((Pair{20, 26}), points[0]);
    EXPECT_EQ((Pair{25, 36}), points[1]);
    PointArray none;
    none.AssignRect(kPointArrayTriangle, {5, 5, 5, 9});
    EXPECT_EQ(0, none.Count());
    DoublePair meet = IntersectLines({0, 0}, {10, 10}, {0, 10}, {10, 0});
    EXPECT_DOUBLE_EQ(5.0, meet.x);
    EXPECT_DOUBLE_EQ(5.0, meet.y);
}

TEST_F(ShapesTest, Rectangles)
{
    plane.PixelAt(12, 12)->type = kPixelLocked;
    plane.FillBox({10, 10, 20, 15}, kRed, 40);
    EXPECT_TRUE(Red(10, 10));
    EXPECT_TRUE(Red(19, 14));
    EXPECT_FALSE(Red(20, 14));
    EXPECT_EQ(3112, plane.PixelAt(15, 12)->height);
    EXPECT_EQ(kGrey | 0x01000000u, plane.ColorAt(12, 12)) << "locked";
    EXPECT_EQ(3072, plane.PixelAt(12, 12)->height);

    plane.FillBoxBorder({30, 30, 40, 40}, kRed, 2, -5000);
    EXPECT_TRUE(Red(31, 35));
    EXPECT_FALSE(Red(32, 35));
    EXPECT_EQ(0, plane.PixelAt(31, 35)->height) << "clamped at 0";
    plane.FillBoxBorder({50, 50, 60, 56}, kRed, 3, 0);
    for (int y = 50; y < 56; ++y)
        for (int x = 50; x < 60; ++x)
            ASSERT_TRUE(Red(x, y)) << "a width of half the box fills it";
    plane.FillBox({115, 115, 130, 130}, kRed, 0);
    EXPECT_TRUE(Red(119, 119));
}

TEST_F(ShapesTest, EllipsesAndTrianglesThroughTheWorkSurface)
{
    plane.FillEllipse({0, 0, 40, 40}, kRed, 0, 10, &work);
    EXPECT_TRUE(Red(20, 20));
    EXPECT_TRUE(Red(2, 20));
    EXPECT_FALSE(Red(2, 2));
    EXPECT_EQ(0, work.busy);
    plane.FillEllipse({50, 0, 90, 40}, kRed, 5, 0, &work);
    EXPECT_FALSE(Red(70, 20)) << "a ring";
    EXPECT_TRUE(Red(52, 20));
    plane.FillEllipse({0, 50, 10, 60}, kRed, 8, 0, &work);
    EXPECT_TRUE(Red(5, 55)) << "no inner ellipse once it would be inverted";

    Paint(plane, kGrey, 3072);
    plane.FillTriangle({10, 10, 50, 50}, kRed, 0, 0, &work);
    EXPECT_TRUE(Red(30, 45));
    EXPECT_TRUE(Red(30, 12));
    EXPECT_FALSE(Red(12, 12));
    EXPECT_FALSE(Red(48, 12));
    // A ring of 3: the inner triangle is (16, 18, 44, 47): the middle stays.
    plane.FillTriangle({60, 10, 100, 50}, kRed, 3, 0, &work);
    EXPECT_FALSE(Red(80, 40));
    EXPECT_TRUE(Red(80, 48));
    plane.FillTriangleBorder({10, 60, 50, 100}, kRed, 255, 0, &work);
    EXPECT_FALSE(Red(30, 90)) << "shrunk halfway toward the centroid";
    EXPECT_TRUE(Red(30, 99));
}

TEST_F(ShapesTest, RaisedShapes)
{
    ASSERT_TRUE(work.EnsureSurface());
    // A box 100 wide and 40 high works on the 100 x 100 square around it.
    plane.RaiseBoxHeights({10, 40, 110, 80}, 255, &work);
    EXPECT_EQ(3072 + 32 * 50, plane.PixelAt(60, 60)->height);
    EXPECT_LT(3072, plane.PixelAt(60, 15)->height) << "above the box, inside the square";
    EXPECT_EQ(3072, plane.PixelAt(60, 9)->height);

    Paint(plane, kGrey, 3072);
    plane.RaiseEllipseHeights({40, 40, 60, 60}, 255, &work);
    EXPECT_EQ(3072 + 320, plane.PixelAt(50, 50)->height);
    EXPECT_EQ(3072, plane.PixelAt(41, 41)->height) << "outside the circle";
    plane.RefractEllipseColors({40, 40, 60, 60}, 255, &work);
    EXPECT_EQ(kGrey, plane.ColorAt(45, 50)) << "flat colour stays flat";

    plane.RaiseEllipseHeights({0, 0, 1, 30}, 255, &work);
    EXPECT_EQ(3072, plane.PixelAt(0, 15)->height) << "narrower than 2: nothing";

    Paint(plane, kGrey, 3072);
    plane.RaiseTriangleHeights({20, 20, 80, 80}, 255, &work);
    EXPECT_LT(3072 + 500, plane.PixelAt(50, 60)->height);
    EXPECT_EQ(3072, plane.PixelAt(22, 22)->height);
    plane.RefractTriangleColors({20, 20, 80, 80}, 255, &work);
    EXPECT_EQ(kGrey, plane.ColorAt(22, 22) & 0xFFFFFF);
}
