// The paint program's scroll bars: snapping, the modifier slider's thumb.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/widgets/scroll_bars.h"
#include "stage_fixture.h"
#include "trays/scroll_bar_visual.h"

namespace {

class QuietScene : public MMScene {
public:
    using MMScene::MMScene;
    void Begin() override {}
};

class FakeSlider : public KVXScrollBarVisual {
public:
    FakeSlider() : KVXScrollBarVisual(kScrollHorizontal) {}
    void DrawFirstButton(MMSurface*, const Box&, bool) override {}
    void DrawTrack(MMSurface*, const Box&, const Box&, bool) override {}
    void DrawSecondButton(MMSurface*, const Box&, bool) override {}
    void SetThumbHidden(bool hidden) override { calls.push_back(hidden); }
    std::vector<bool> calls;
};

struct ScrollBarTest : ::testing::Test {
    BareStage bare;
    QuietScene scene{&bare.stage};
};

TEST_F(ScrollBarTest, ASnapZoneOfFiveAroundFiftyTakesOnlyTheInside)
{
    struct Case {
        int16_t chosen;
        int16_t kept;
    };
    const Case cases[] = {{46, 50}, {54, 50}, {50, 50}, {45, 45}, {55, 55}, {0, 0}, {100, 100}};
    for (const Case& c : cases) {
        auto* visual = new FakeSlider;
        visual->SetBox(Box{0, 0, 100, 10});
        KVXScrollBarMolecule bar(&scene, visual, 0, 1, 50, 5, 108, nullptr);
        bar.SetRange(100);
        bar.ChangePosition(c.chosen);
        EXPECT_EQ(bar.Position(), c.kept) << c.chosen;
    }
}

TEST_F(ScrollBarTest, AModifierSliderNeverSnapsAndShowsAndHidesItsThumb)
{
    auto* visual = new FakeSlider;
    visual->SetBox(Box{0, 0, 100, 10});
    KVXModifierScrollBarMolecule bar(&scene, visual, 108, nullptr);
    bar.SetRange(100);
    for (int16_t chosen : {1, 46, 50, 99}) {
        bar.ChangePosition(chosen);
        EXPECT_EQ(bar.Position(), chosen);
    }
    EXPECT_EQ(bar.SnapHalfWidth(), 0);
    bar.HideSlider();
    bar.ShowSlider();
    EXPECT_EQ(visual->calls, (std::vector<bool>{true, false}));
}

}  // namespace

// ---------------------------------------------------------------------------
#include <cstring>

#include "engine/picture_collection.h"
#include "engine/picture_loader.h"
#include "framework/tests/scratch_folder.h"
#include "media/offscreen_surface.h"
#include "recording_enclosure.h"
#include "resource_fixture.h"
#include "widget_fixture.h"

namespace {

MMPictureID Id(int16_t i) { return MMMakeResourceId(kTestPictureCollection, i); }

TEST(ZoomScrollBar, ItIsLaidOutAndDrawnFromItsSixPictures)
{
    ScratchFolder scratch;
    // Arrows 10, 11 (pressed), 20, 21 (pressed); thumb 30 (12 x 16);
    // background 40 (100 x 16): a horizontal bar.
    std::vector<TestPicture> pictures = {SolidPicture(16, 16, 10), SolidPicture(16, 16, 11),
                                         SolidPicture(16, 16, 20), SolidPicture(16, 16, 21),
                                         SolidPicture(12, 16, 30), SolidPicture(100, 16, 40)};
    for (TestPicture& p : pictures)
        p.bitmap.pixels = p.pixels.data();
    ASSERT_TRUE(WritePictureFile(scratch.folder, "zoom.MMP", pictures, {}));
    ASSERT_NE(MMOpenPictureFile(scratch.folder, "zoom.MMP", false), nullptr);
    {
        KVXZoomScrollBarVisual bar(10, 5, {Id(0), Id(1), Id(2), Id(3), Id(4), Id(5)}, 9);
        EXPECT_FALSE(bar.IsVertical());
        EXPECT_EQ(bar.Layer(), 9);
        // 100 long, shortened by the background's short side.
        EXPECT_EQ(bar.GetBounds(), (Box{10, 5, 94, 21}));
        EXPECT_EQ(bar.FirstButtonBox(), (Box{10, 5, 26, 21}));
        EXPECT_EQ(bar.SecondButtonBox(), (Box{78, 5, 94, 21}));
        bar.SetThumbPos(20);
        bar.SetPressedPart(kScrollSecondButton);

        WinMMOffscreenSurface* surface =
            MMSurface::CreateBitmapDC(32, Box{0, 0, 120, 30}, nullptr);
        RecordingEnclosure enclosure;
        enclosure.SetSurface(surface);
        enclosure.AddVisual(&bar);
        enclosure.RedrawAll();
        auto blue = [&](int x, int y) { return surface->Store().PixelAddress(x, y)[0]; };
        EXPECT_EQ(blue(12, 8), 10);
        EXPECT_EQ(blue(80, 8), 21) << "the second arrow is pressed";
        // The thumb starts at the track's start (one pixel into the first
        // arrow) plus its position, at its own size.
        EXPECT_EQ(blue(25 + 20, 8), 30);
        EXPECT_EQ(blue(25 + 20 + 11, 8), 30);
        EXPECT_EQ(blue(25 + 20 + 12, 8), 40);
        EXPECT_EQ(blue(70, 8), 40);
        EXPECT_EQ(blue(95, 8), 0) << "drawn only inside the bar's box";
        // In a strip a pixel thicker than its picture, as the canvas lays
        // it, the groove fills the strip's last row too.
        bar.SetBox(Box{10, 5, 110, 22});
        enclosure.RedrawAll();
        EXPECT_EQ(blue(70, 21), 40);
        EXPECT_EQ(blue(70, 5), 40);
        enclosure.RemoveVisual(&bar);
        enclosure.SetSurface(nullptr);
        surface->Dispose();
    }
    DeleteAllPictureCollections();
}

}  // namespace
