// Picture push buttons with a click sound, and the button that can be
// disabled.
#include <gtest/gtest.h>

#include "media/sound/logical_sound_channel.h"
#include "shell/widgets/push_buttons.h"
#include "widget_fixture.h"

namespace {

struct PushTest : WidgetTest {
    KVXPictureButtonWithDisablingMolecule* button = nullptr;

    void Make(MMResourceId soundId)
    {
        // Normal 0, highlighted 1, disabled 2: 20 x 10 at (30, 40).
        ASSERT_TRUE(OpenSolidPictures(scratch.folder, "p.MMP",
                                      {SolidPicture(20, 10, 1), SolidPicture(20, 10, 2),
                                       SolidPicture(20, 10, 3)}));
        stage.SetPendingScene(&scene, nullptr, nullptr);
        stage.ChangeSceneOrDispatch();
        button = new KVXPictureButtonWithDisablingMolecule(
            {&scene, 30, 40, TestPictureId(0), TestPictureId(1), TestPictureId(2), 5,
             Noting("push"), nullptr, soundId});
    }
    void TearDown() override
    {
        delete button;
        WidgetTest::TearDown();
    }
    int16_t Shown() const { return button->Visual()->GetPicture().Index(); }
};

TEST_F(PushTest, ASilentPressHighlightsAndTheReleaseInsidePosts)
{
    Make(MM_NO_RESOURCE);
    EXPECT_TRUE(Pointer(35, 45, kPointerPressed | kPointerHeld));
    EXPECT_EQ(Shown(), 1);
    EXPECT_FALSE(button->Interpreter()->Channel()->Request().active);
    EXPECT_EQ(Ran(), "");
    EXPECT_FALSE(Pointer(35, 45, kPointerReleased));
    EXPECT_EQ(Shown(), 0);
    EXPECT_EQ(Ran(), "push");
}

TEST_F(PushTest, DraggingOutAndBackInTogglesTheHighlightAtEachCrossing)
{
    Make(MM_NO_RESOURCE);
    Pointer(35, 45, kPointerPressed | kPointerHeld);
    const struct {
        int32_t x;
        int16_t shown;
    } path[] = {{45, 1}, {55, 0}, {70, 0}, {49, 1}, {50, 0}, {31, 1}};
    for (const auto& step : path) {
        EXPECT_TRUE(Pointer(step.x, 45, kPointerHeld));
        EXPECT_EQ(Shown(), step.shown) << step.x;
    }
    Pointer(60, 45, kPointerReleased);
    EXPECT_EQ(Shown(), 0);
    EXPECT_EQ(Ran(), "") << "released outside";
}

TEST_F(PushTest, AButtonWithASoundPlaysItOnThePress)
{
    ASSERT_TRUE(OpenTones(scratch.folder, "p.MMA", 2));
    Make(TestSoundId(1));
    Pointer(35, 45, kPointerPressed | kPointerHeld);
    MMGenericSoundChannel* channel = button->Interpreter()->Channel();
    EXPECT_EQ(channel->SoundId(), TestSoundId(1));
    EXPECT_TRUE(channel->Request().active);
    EXPECT_FALSE(channel->Request().loop);
}

TEST_F(PushTest, ADisabledButtonShowsItsDisabledPictureAndIgnoresThePointer)
{
    Make(MM_NO_RESOURCE);
    button->SetDisabled(true);
    EXPECT_EQ(Shown(), 2);
    EXPECT_FALSE(Pointer(35, 45, kPointerPressed | kPointerHeld));
    EXPECT_FALSE(Pointer(35, 45, kPointerReleased));
    EXPECT_EQ(Shown(), 2);
    EXPECT_EQ(Ran(), "");
    button->SetDisabled(false);
    EXPECT_EQ(Shown(), 0);
    Pointer(35, 45, kPointerPressed | kPointerHeld);
    Pointer(35, 45, kPointerReleased);
    EXPECT_EQ(Ran(), "push");
}

}  // namespace
