// The toggle button: a complete click inside flips it and posts; anything
// else leaves it as it was.
#include <gtest/gtest.h>

#include "media/sound/logical_sound_channel.h"
#include "shell/widgets/toggle_button.h"
#include "widget_fixture.h"

namespace {

struct ToggleTest : WidgetTest {
    KVXToggleButtonMolecule* toggle = nullptr;

    void SetUp() override
    {
        // Off 0, on 1: 20 x 10 at (30, 40).
        ASSERT_TRUE(OpenSolidPictures(scratch.folder, "t.MMP",
                                      {SolidPicture(20, 10, 1), SolidPicture(20, 10, 2)}));
        stage.SetPendingScene(&scene, nullptr, nullptr);
        stage.ChangeSceneOrDispatch();
        toggle = new KVXToggleButtonMolecule({&scene, 30, 40, TestPictureId(0), TestPictureId(1),
                                              Noting("flip"), 12, nullptr, nullptr});
    }
    void TearDown() override
    {
        delete toggle;
        WidgetTest::TearDown();
    }
    int16_t Shown() const { return toggle->Visual()->GetPicture().Index(); }
};

TEST_F(ToggleTest, ACompleteClickInsideFlipsAndPostsEachTime)
{
    EXPECT_EQ(toggle->Visual()->Layer(), 12);
    EXPECT_EQ(Shown(), 0);
    EXPECT_TRUE(Pointer(35, 45, kPointerPressed | kPointerHeld));
    EXPECT_TRUE(Pointer(36, 45, kPointerHeld));
    EXPECT_FALSE(Pointer(36, 45, kPointerReleased));
    EXPECT_TRUE(toggle->IsOn());
    EXPECT_EQ(Shown(), 1);
    EXPECT_EQ(Ran(), "flip");
    Pointer(35, 45, kPointerPressed | kPointerHeld);
    Pointer(35, 45, kPointerReleased);
    EXPECT_FALSE(toggle->IsOn());
    EXPECT_EQ(Shown(), 0);
    EXPECT_EQ(Ran(), "flip");
}

TEST_F(ToggleTest, AReleaseOutsideOrAButtonLetGoWithoutReleaseChangesNothing)
{
    struct Case {
        const char* name;
        int32_t lastX;
        uint32_t lastFlags;
    };
    const Case cases[] = {{"release outside", 80, kPointerReleased},
                          {"let go without a release", 35, 0}};
    for (const Case& c : cases) {
        Pointer(35, 45, kPointerPressed | kPointerHeld);
        EXPECT_TRUE(Pointer(80, 45, kPointerHeld)) << c.name << ": held, the capture stays";
        EXPECT_FALSE(Pointer(c.lastX, 45, c.lastFlags)) << c.name;
        EXPECT_FALSE(toggle->Interpreter()->IsPressed()) << c.name;
        EXPECT_FALSE(toggle->IsOn()) << c.name;
        EXPECT_EQ(Ran(), "") << c.name;
    }
}

TEST_F(ToggleTest, HidingWhilePressedTurnsItOff)
{
    toggle->SetOn();
    EXPECT_EQ(Ran(), "") << "SetOn posts nothing";
    EXPECT_EQ(Shown(), 1);
    Pointer(35, 45, kPointerPressed | kPointerHeld);
    toggle->Hide();
    EXPECT_FALSE(toggle->IsOn());
    EXPECT_TRUE(toggle->Visual()->IsHidden());
    EXPECT_FALSE(toggle->Interpreter()->IsPressed());
    toggle->Show();
    EXPECT_FALSE(toggle->Visual()->IsHidden());
}

TEST_F(ToggleTest, OnlyAToggleWithASoundHasAChannel)
{
    EXPECT_EQ(toggle->Interpreter()->Channel(), nullptr);
    ASSERT_TRUE(OpenTones(scratch.folder, "t.MMA", 1));
    auto* withSound = new KVXToggleButtonInterpreter(&stage, Noting("flip"), nullptr, nullptr,
                                                     nullptr, TestSoundId(0));
    ASSERT_NE(withSound->Channel(), nullptr);
    KVXToggleButtonMolecule sounding(&scene, new KVXToggleButtonVisual({100, 100}, nullptr, 3),
                                     nullptr, nullptr, withSound);
    sounding.Visual()->SetOffPicture(toggle->Visual()->OffPicture());
    sounding.Visual()->SetOnPicture(toggle->Visual()->OnPicture());
    Pointer(105, 105, kPointerPressed | kPointerHeld);
    Pointer(105, 105, kPointerReleased);
    EXPECT_TRUE(sounding.IsOn());
    EXPECT_EQ(withSound->Channel()->SoundId(), TestSoundId(0));
    EXPECT_TRUE(withSound->Channel()->Request().active);
    EXPECT_EQ(Ran(), "flip");
}

}  // namespace
