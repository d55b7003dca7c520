// Visuals in an enclosure: layer order, invalidation, hit testing, and
// drawing into a real back buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>
#include "engine/enclosure.h"
#include "recording_enclosure.h"
#include "media/enclosure_visual.h"
#include "media/offscreen_surface.h"
#include "media/rectangle_list.h"
#include "media/visual.h"

namespace {

class RecordingVisual : public MMBoxBasedVisual {
public:
    explicit RecordingVisual(const Box& box) : MMBoxBasedVisual(box) {}
    void Draw(MMSurface* surface) override { clips.push_back(surface->GetClipBox()); }
    std::vector<Box> clips;
};

MMColor Rgb(uint8_t red, uint8_t green, uint8_t blue)
{
    return {-1, blue, green, red, 0};
}

uint32_t PixelAt(MMSurface* surface, int x, int y)
{
    MMBitmap store;
    surface->GetBitmap(store);
    uint32_t value;
    std::memcpy(&value, store.PixelAddress(x, y), 4);
    return value & 0xFFFFFF;
}

class Visuals : public ::testing::Test {
protected:
    void SetUp() override
    {
        surface = MMSurface::CreateBitmapDC(32, {0, 0, 60, 40}, nullptr);
        ASSERT_NE(nullptr, surface);
        enclosure.SetSurface(surface);
    }
    void TearDown() override
    {
        enclosure.SetSurface(nullptr);
        if (surface != nullptr) {
            surface->Dispose();
        }
    }
    void RedrawAll() { enclosure.RedrawAll(); }

    WinMMOffscreenSurface* surface = nullptr;
    RecordingEnclosure enclosure;
};

}  // namespace

TEST_F(Visuals, RedrawnInLayerOrderIntoTheBackBuffer)
{
    MMSolidBoxVisual background({0, 0, 60, 40}, Rgb(0, 0, 255), 2);
    MMSolidBoxVisual first({10, 10, 30, 30}, Rgb(255, 0, 0), 5);
    MMSolidBoxVisual second({20, 20, 40, 35}, Rgb(0, 255, 0), 5);
    enclosure.AddVisual(&first);
    enclosure.AddVisual(&second);
    enclosure.AddVisual(&background);  // added last, drawn first
    RedrawAll();
    EXPECT_EQ(0x0000FFu, PixelAt(surface, 5, 5));
    EXPECT_EQ(0xFF0000u, PixelAt(surface, 15, 15));
    EXPECT_EQ(0x00FF00u, PixelAt(surface, 25, 25));  // same layer: the later one on top

    enclosure.marked.clear();
    first.SetLayer(9);
    ASSERT_EQ(1u, enclosure.marked.size());
    EXPECT_EQ((Box{10, 10, 30, 30}), enclosure.marked[0]);
    RedrawAll();
    EXPECT_EQ(0xFF0000u, PixelAt(surface, 25, 25));

    // Only the dirty rectangle is drawn again.
    second.SetLayer(10);
    MMRectangleList dirty;
    dirty.Add({20, 20, 22, 22});
    enclosure.Redraw(dirty);
    GdiFlush();
    EXPECT_EQ(0x00FF00u, PixelAt(surface, 21, 21));
    EXPECT_EQ(0xFF0000u, PixelAt(surface, 25, 25));

    for (MMVisual* visual : {static_cast<MMVisual*>(&first), static_cast<MMVisual*>(&second),
                             static_cast<MMVisual*>(&background)}) {
        enclosure.RemoveVisual(visual);
    }
}

TEST_F(Visuals, HidingMarksOnceAndHidesFromDrawingAndHits)
{
    MMSolidBoxVisual box({0, 0, 10, 10}, Rgb(255, 0, 0), 1);
    enclosure.AddVisual(&box);
    enclosure.marked.clear();
    box.SetHidden(true);
    EXPECT_EQ(1u, enclosure.marked.size());
    box.SetHidden(true);
    EXPECT_EQ(1u, enclosure.marked.size());
    EXPECT_EQ(nullptr, enclosure.FindVisualAt({5, 5}));
    RedrawAll();
    EXPECT_EQ(0u, PixelAt(surface, 5, 5));
    box.SetHidden(false);
    EXPECT_EQ(2u, enclosure.marked.size());
    EXPECT_EQ(&box, enclosure.FindVisualAt({5, 5}));
    enclosure.RemoveVisual(&box);

    MMSolidBoxVisual loose({0, 0, 10, 10}, Rgb(255, 0, 0), 1);
    enclosure.marked.clear();
    loose.SetLayer(4);
    loose.SetPosition(3, 3);
    EXPECT_EQ(4, loose.Layer());
    EXPECT_TRUE(enclosure.marked.empty());
}

TEST_F(Visuals, HitTesting)
{
    MMSolidBoxVisual lower({0, 0, 10, 10}, Rgb(1, 1, 1), 0);
    MMSolidBoxVisual upper({5, 5, 15, 15}, Rgb(2, 2, 2), 0);
    MMBoxBasedVisual* plain = new RecordingVisual({0, 0, 50, 40});
    MMBoxVisual area({40, 0, 60, 40}, 0);
    enclosure.AddVisual(plain);
    enclosure.AddVisual(&lower);
    enclosure.AddVisual(&upper);
    enclosure.AddVisual(&area);
    EXPECT_EQ(&upper, enclosure.FindVisualAt({7, 7}));  // same layer, added later
    EXPECT_EQ(&lower, enclosure.FindVisualAt({4, 9}));
    EXPECT_EQ(nullptr, enclosure.FindVisualAt({15, 14}));  // right edge excluded
    EXPECT_EQ(nullptr, enclosure.FindVisualAt({30, 30}));  // the plain visual is never hit
    EXPECT_EQ(&area, enclosure.FindVisualAt({45, 5}));

    enclosure.marked.clear();
    area.SetPosition(0, 0);
    EXPECT_TRUE(enclosure.marked.empty());  // the invisible box marks nothing

    MMSolidBoxVisual centred({0, 0, 5, 5}, Rgb(3, 3, 3), 0);
    centred.CenterAt(10, 10);
    EXPECT_EQ((Pair{8, 8}), centred.GetPosition());

    for (MMVisual* visual : {static_cast<MMVisual*>(plain), static_cast<MMVisual*>(&lower),
                             static_cast<MMVisual*>(&upper), static_cast<MMVisual*>(&area)}) {
        enclosure.RemoveVisual(visual);
    }
    delete plain;
}

TEST_F(Visuals, OneDrawPerDirtyRectangleThatMeetsTheVisual)
{
    RecordingVisual visual({10, 10, 30, 30});
    MMRectangleList region;
    region.Add({0, 0, 12, 12});
    region.Add({40, 0, 50, 10});
    region.Add({25, 25, 35, 35});
    surface->SetClipBox({0, 0, 60, 40});
    visual.RedrawRegion(surface, region);
    ASSERT_EQ(2u, visual.clips.size());
    EXPECT_EQ((Box{10, 10, 12, 12}), visual.clips[0]);
    EXPECT_EQ((Box{25, 25, 30, 30}), visual.clips[1]);
    EXPECT_EQ((Box{0, 0, 60, 40}), surface->GetClipBox());
}

TEST_F(Visuals, EnclosureVisualsDrawAndHitThroughTheirChild)
{
    MMSolidBoxVisual below({0, 0, 60, 40}, Rgb(0, 0, 255), 1);
    MMChildWindowVisual* panel = new MMChildWindowVisual(new MMChildEnclosure);
    panel->SetBox({20, 10, 50, 30});
    panel->SetLayer(5);
    MMSolidBoxVisual inner({2, 2, 6, 6}, Rgb(255, 0, 0), 1);
    panel->Child()->AddVisual(&inner);
    enclosure.AddVisual(&below);
    enclosure.AddVisual(panel);
    EXPECT_EQ((Pair{20, 10}), panel->Child()->Origin());

    RedrawAll();
    EXPECT_EQ(0xFF0000u, PixelAt(surface, 23, 13));  // inner at (2, 2) inside the panel
    EXPECT_EQ(0x0000FFu, PixelAt(surface, 30, 20));
    EXPECT_EQ(&inner, enclosure.FindVisualAt({23, 13}));
    EXPECT_EQ(&below, enclosure.FindVisualAt({30, 20}));  // empty panel lets the pointer through

    enclosure.marked.clear();
    inner.SetPosition(4, 4);
    ASSERT_FALSE(enclosure.marked.empty());
    EXPECT_EQ((Box{22, 12, 26, 16}), enclosure.marked[0]);  // moved into the parent

    panel->SetBox({0, 0, 30, 20});
    EXPECT_EQ((Pair{0, 0}), panel->Child()->Origin());
    panel->SetHidden(true);
    EXPECT_EQ(&below, enclosure.FindVisualAt({5, 5}));

    panel->Child()->RemoveVisual(&inner);
    enclosure.RemoveVisual(panel);
    enclosure.RemoveVisual(&below);
    delete panel;
}

namespace {

class Grid : public MMCellArrayVisual {
public:
    using MMCellArrayVisual::MMCellArrayVisual;
    void DrawCell(MMSurface*, const Pair& cell, const Box&, bool selected) override
    {
        cells.push_back(cell);
        if (selected) {
            selectedDrawn = cell;
        }
    }
    std::vector<Pair> cells;
    Pair selectedDrawn = {-1, -1};
};

}  // namespace

TEST_F(Visuals, CellArrayCountsWholeCellsAndMarksSelection)
{
    Grid grid({0, 0, 25, 10}, 10, 5, Rgb(0, 0, 0), Rgb(255, 0, 0), 1);
    EXPECT_EQ(3, grid.Columns());
    EXPECT_EQ(2, grid.Rows());
    EXPECT_EQ((Pair{2, 1}), grid.CellAt(21, 6));
    enclosure.AddVisual(&grid);
    enclosure.marked.clear();
    grid.SetSelectedCell(1, 1);
    ASSERT_EQ(1u, enclosure.marked.size());  // no old cell yet
    EXPECT_EQ((Box{10, 5, 20, 10}), enclosure.marked[0]);
    grid.SetSelectedCell(1, 1);
    EXPECT_EQ(1u, enclosure.marked.size());
    RedrawAll();
    EXPECT_EQ(6u, grid.cells.size());
    EXPECT_EQ((Pair{1, 1}), grid.selectedDrawn);
    EXPECT_EQ(0xFF0000u, PixelAt(surface, 15, 7));
    enclosure.RemoveVisual(&grid);
}

TEST_F(Visuals, CellArrayWithoutCellSizeHasNoCells)
{
    // A grid made over an empty box has cells of size 0 until it is given one.
    Grid grid({0, 0, 0, 0}, Rgb(0, 0, 0), Rgb(255, 0, 0), 1);
    grid.SetBox({0, 0, 20, 10});
    EXPECT_EQ(0, grid.Columns());
    EXPECT_EQ(0, grid.Rows());
    EXPECT_EQ((Pair{-1, -1}), grid.CellAt(5, 5));
    grid.SetCellSize(0, 4);
    EXPECT_EQ(0, grid.Columns());
    grid.SetCellSize(10, 5);
    EXPECT_EQ(2, grid.Columns());
    EXPECT_EQ(2, grid.Rows());
    EXPECT_EQ((Pair{1, 1}), grid.CellAt(15, 5));
}
