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
