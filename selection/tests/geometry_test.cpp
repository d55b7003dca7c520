// Outlines of boxes, the curve of the curved lines, and the rubber bands.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "canvas/point_array.h"
#include "canvas_test_support.h"
#include "media/offscreen_surface.h"
#include "media/surface.h"
#include "selection/curve_path.h"
#include "selection/shape_visuals.h"

namespace {

std::vector<uint8_t> Snapshot(MMSurface* surface)
{
    surface->Lock();
    MMBitmap pixels;
    std::vector<uint8_t> bytes;
    if (surface->GetBitmap(pixels)) {
        for (int y = pixels.box.top; y < pixels.box.bottom; ++y) {
            const uint8_t* row = pixels.PixelAddress(pixels.box.left, y);
            bytes.insert(bytes.end(), row, row + pixels.box.Width() * 4);
        }
    }
    surface->Unlock();
    return bytes;
}

TEST(OutlineTest, EllipsesRunOnceRoundInsideTheirBoxSymmetrically)
{
    const Box boxes[] = {{0, 0, 2, 2},     {10, 20, 50, 30},  {-7, -3, 4, 90},
                         {100, 100, 101, 140}, {0, 0, 400, 300}, {5, 5, 8, 6}};
    for (const Box& box : boxes) {
        SCOPED_TRACE(testing::Message() << box.left << "," << box.top << "," << box.right << ","
                                        << box.bottom);
        PointArray outline;
        outline.AssignRect(kPointArrayEllipse, box);
        const int n = outline.Count();
        ASSERT_GT(n, 0);
        EXPECT_EQ(outline[0], outline[n - 1]) << "closed";
        if (box.Width() <= 1 || box.Height() <= 1) {
            EXPECT_EQ(5, n) << "a thin ellipse is the rectangle";
            continue;
        }
        EXPECT_EQ(0, n % 4);
        int a = box.Width() / 2, b = box.Height() / 2;
        Pair centre = {box.left + a, box.top + b};
        EXPECT_EQ((Pair{centre.x, centre.y + b}), outline[0]);
        const int q = n / 4;
        auto rel = [&](int i) { return Pair{outline[i].x - centre.x, outline[i].y - centre.y}; };
        for (int i = 0; i < n; ++i) {
            EXPECT_GE(outline[i].x, box.left);
            EXPECT_LE(outline[i].x, box.right);
            EXPECT_GE(outline[i].y, box.top);
            EXPECT_LE(outline[i].y, box.bottom);
        }
        for (int i = 0; i < q; ++i) {
            Pair p = rel(i);
            EXPECT_EQ((Pair{p.x, -p.y}), rel(2 * q - 1 - i));
            EXPECT_EQ((Pair{-p.x, -p.y}), rel(2 * q + i));
            EXPECT_EQ((Pair{-p.x, p.y}), rel(4 * q - 1 - i));
        }
    }
}

TEST(OutlineTest, RectanglesTrianglesAndEmptyBoxes)
{
    PointArray outline;
    outline.AssignRect(kPointArrayRectangle, {1, 2, 6, 9});
    const Pair corners[] = {{1, 2}, {6, 2}, {6, 9}, {1, 9}, {1, 2}};
    ASSERT_EQ(5, outline.Count());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(corners[i], outline[i]);
    outline.AssignRect(kPointArrayTriangle, {0, 0, 10, 8});
    EXPECT_EQ(4, outline.Count());
    EXPECT_EQ((Pair{5, 0}), outline[3]);
    for (int kind : {0, 1, 2}) {
        outline.AssignRect(kind, {3, 3, 3, 9});
        EXPECT_EQ(0, outline.Count()) << kind;
    }
    outline.AssignRect(7, {0, 0, 10, 10});
    EXPECT_EQ(0, outline.Count());
}

TEST(OutlineTest, SquaredBoxesTakeTheLargerSignedDifference)
{
    struct Case {
        Pair anchor, end;
        Box want;
    } cases[] = {{{100, 100}, {50, 110}, {90, 100, 100, 110}},
                 {{0, 0}, {30, 10}, {0, 0, 30, 30}},
                 {{0, 0}, {-30, -10}, {-10, -10, 0, 0}},
                 {{5, 5}, {5, 5}, {5, 5, 5, 5}}};
    for (const Case& c : cases)
        EXPECT_EQ(c.want, RubberBandBox(c.anchor, c.end, true));
    EXPECT_EQ((Box{50, 100, 100, 110}), RubberBandBox({100, 100}, {50, 110}, false));
}

TEST(CurvePathTest, AControlPointOnTheStartGivesAStraightSecondArc)
{
    CurvePath path;
    path.Init(50, 2.0);
    path.SetPoints({10, 10}, {10, 10}, {50, 40});
    Pair points[50];
    int n = path.ComputePoints(points);
    EXPECT_EQ(int(50 / 2.0 + 1.5), n);
    EXPECT_EQ((Pair{10, 10}), points[0]);
    EXPECT_EQ((Pair{50, 40}), points[n - 1]);
    for (int i = 1; i < n; ++i) {
        // On the line 3x - 4y = -10, to rounding.
        EXPECT_LE(std::abs(3 * points[i].x - 4 * points[i].y + 10), 4) << i;
        EXPECT_GE(points[i].x, points[i - 1].x);
    }
    EXPECT_EQ(-1, path.ComputePoints(nullptr));
    path.Init(5, 2.0);
    EXPECT_EQ(5, path.ComputePoints(points)) << "held to the largest count";
    Pair end = {10, 12};
    EXPECT_EQ(2, path.ComputePoints(points, &end));
    EXPECT_EQ(2.0, PointDistance(10, 10, 10, 12));
}

TEST(IntersectLinesTest, VerticalAndSlantedLines)
{
    DoublePair p = IntersectLines({5, 0}, {5, 10}, {0, 3}, {10, 3});
    EXPECT_NEAR(5.0, p.x, 1e-6);
    EXPECT_NEAR(3.0, p.y, 1e-6);
    p = IntersectLines({0, 0}, {10, 10}, {0, 10}, {10, 0});
    EXPECT_NEAR(5.0, p.x, 1e-9);
    EXPECT_NEAR(5.0, p.y, 1e-9);
}

// A rubber band inverts what it covers; drawn twice it leaves the picture
// as it was.
TEST(RubberBandTest, DrawingTwiceRestoresTheSurface)
{
    MMSurface* surface = MMSurface::CreateBitmapDC(32, {0, 0, 60, 40}, nullptr);
    ASSERT_NE(nullptr, surface);
    surface->SetClipBox(surface->GetBounds());
    surface->Lock();
    MMBitmap pixels;
    ASSERT_TRUE(surface->GetBitmap(pixels));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            std::memset(pixels.PixelAddress(x, y), (x * 7 + y * 3) & 0xFF, 4);
    surface->Unlock();
    std::vector<uint8_t> before = Snapshot(surface);
    ASSERT_EQ(size_t(60 * 40 * 4), before.size());

    std::vector<std::unique_ptr<KVXShapeVisual>> bands;
    bands.emplace_back(new KVXLineShapeVisual(nullptr, 3, 4, 150));
    bands.emplace_back(new KVXRectangularShapeVisual(nullptr, 3, 4, 150));
    bands.emplace_back(new KVXEllipticalShapeVisual(nullptr, 3, 4, 150));
    bands.emplace_back(new KVXTriangularShapeVisual(nullptr, 3, 4, 150));
    auto* curve = new KVXCurveLineShapeVisual(nullptr, 3, 4, 150);
    bands.emplace_back(curve);
    for (auto& band : bands) {
        band->TrackPoint(50, 33);
        band->SetConstrain(1);
    }
    curve->StartBend();
    curve->SetControlPoint(40, 5);
    EXPECT_GT(curve->PointCount(), 2);
    for (auto& band : bands) {
        band->Draw(surface);
        EXPECT_NE(before, Snapshot(surface));
        band->Draw(surface);
        EXPECT_EQ(before, Snapshot(surface));
    }
    surface->Dispose();
}

TEST(RubberBandTest, APolylineHoldsAtMost512Points)
{
    KVXPolyLineShapeVisual band(nullptr, 0, 0, 150);
    for (int i = 0; i < 512; ++i)
        ASSERT_TRUE(band.AddPoint(i, i % 7));
    EXPECT_FALSE(band.AddPoint(600, 600));
    EXPECT_EQ(512, band.PointCount());
    EXPECT_EQ((Box{-1, -1, 512, 7}), band.GetBounds());
}

}  // namespace
