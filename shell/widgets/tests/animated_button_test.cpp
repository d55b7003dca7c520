// Animated buttons: tables of pointer sequences over scripts with different
// frame labels, read back as the labels run and the commands posted.
#include <gtest/gtest.h>

#include "button_fixture.h"
#include "engine/stage.h"
#include "media/picture_visual.h"
#include "media/sound/logical_sound_channel.h"
#include "shell/widgets/animated_button.h"
#include "shell/widgets/animated_choice_buttons.h"
#include "shell/widgets/animated_push_button.h"

namespace {

// Scripts by their labels.
enum : int16_t {
    kOnlyIdle = 0,         // 1
    kFull = 1,             // 1, 3, 4, 5, 44
    kSixWithoutThree = 2,  // 1, 6
    kSilencedLeave = 3,    // 1, 90
    kRadio = 4,            // 1, 3, 4, 5, 7, 44, 77
    kTool = 5,             // 1, 3, 4, 5, 8, 9, 44
    kLeaveOnly = 6,        // 1, 44
    kClickSounds = 7,      // as kFull, label 3 plays tone 0 on channel 0 and tone 1 on 1
};

const std::vector<PointerStep> kClick = {kEnter, kPress, kReleaseIn, kLeave};
const std::vector<PointerStep> kOutside = {kEnter, kPress, kHeldOut, kReleaseOut, kLeave};
const std::vector<PointerStep> kPressFirst = {kPress, kReleaseIn, kPress, kReleaseIn};
const std::vector<PointerStep> kDouble = {kEnter, kDoubleClick, kReleaseIn};
const std::vector<PointerStep> kThreeClicks = {kEnter,  kPress,     kReleaseIn, kPress,
                                               kReleaseIn, kPress, kReleaseIn, kLeave};

struct Case {
    const char* name;
    int16_t script;
    const std::vector<PointerStep>* steps;
    const char* expected;
};

ScriptRows ClickSounds(int16_t label)
{
    ScriptRows rows;
    if (label == 3)
        rows.Select(0, 0, 0).Sound(ScriptTone(0)).Select(1, 0, 0).Sound(ScriptTone(1));
    return rows;
}

struct AnimatedButtonTest : ButtonTest {
    void SetUp() override
    {
        Open({{kOnlyIdle, LabelScript({1})},
              {kFull, LabelScript({1, 3, 4, 5, 44})},
              {kSixWithoutThree, LabelScript({1, 6})},
              {kSilencedLeave, LabelScript({1, 90})},
              {kRadio, LabelScript({1, 3, 4, 5, 7, 44, 77})},
              {kTool, LabelScript({1, 3, 4, 5, 8, 9, 44})},
              {kLeaveOnly, LabelScript({1, 44})},
              {kClickSounds, LabelScript({1, 3, 4, 5, 44}, ClickSounds)}});
    }
    void Check(KVXAnimatedButtonMolecule* button, const Case& c)
    {
        Watch(*button);
        Pass();
        EXPECT_EQ(Play(*c.steps), c.expected) << c.name;
        delete button;
    }
};

TEST_F(AnimatedButtonTest, TheBaseButtonRunsItsLabelsAndPostsOnAClickInside)
{
    const Case cases[] = {
        {"only idle: a click runs 1 and posts", kOnlyIdle, &kClick, "- | - | click,L1 | L1"},
        {"hover, press, click, leave", kFull, &kClick, "L4 | L5 | click,L3 | L44"},
        {"released outside: idle, nothing posted", kFull, &kOutside, "L4 | L5 | - | L1 | L44"},
        {"a press as the first event does not count", kFull, &kPressFirst,
         "L4 | - | L5 | click,L3"},
        {"a double click is a press", kFull, &kDouble, "L4 | L5 | click,L3"},
        {"6 stands for 3", kSixWithoutThree, &kClick, "- | - | click,L6 | L1"},
        {"90 when leaving without 44", kSilencedLeave, &kClick, "- | - | click,L1 | L90"},
    };
    for (const Case& c : cases)
        Check(new KVXAnimatedButtonMolecule(scene, ScriptId(c.script), Noting("click"), 5, 0, 100,
                                            1),
              c);
}

TEST_F(AnimatedButtonTest, TheRadioButtonIsSelectedThenTurnsOnAndOff)
{
    const Case cases[] = {
        {"selected, on, off", kRadio, &kThreeClicks,
         "L4 | L5 | click,L3 | - | on,L7 | - | off,L77 | -"},
        {"without 7 and 77 every later click posts on", kFull, &kThreeClicks,
         "L4 | L5 | click,L3 | - | on,click | - | on,click | -"},
        {"6 without 3 posts the click once", kSixWithoutThree, &kClick, "- | - | click,L6 | -"},
    };
    for (const Case& c : cases)
        Check(new KVXAnimatedRadioButtonMolecule(scene, ScriptId(c.script), Noting("click"),
                                                 Noting("on"), Noting("off"), 5, 0, 100, 1),
              c);
}

TEST_F(AnimatedButtonTest, TheToolButtonStaysSelectedAndGreetsThePointerWithEightAndNine)
{
    const std::vector<PointerStep> again = {kEnter, kPress, kReleaseIn, kLeave,
                                            kEnter, kPress, kReleaseIn, kLeave};
    const Case cases[] = {
        {"a second click posts nothing", kTool, &again,
         "L4 | L5 | click,L3 | L9 | L8 | - | - | L9"},
        {"6 without 3 posts the click once", kSixWithoutThree, &kClick, "- | - | click,L6 | -"},
        {"without 4 the pointer is greeted with 44", kLeaveOnly, &kClick,
         "L44 | - | click,L1 | -"},
    };
    for (const Case& c : cases)
        Check(new KVXAnimatedToolButtonMolecule(scene, ScriptId(c.script), Noting("click"),
                                                nullptr, nullptr, 109, 0, 100, 1),
              c);
}

TEST_F(AnimatedButtonTest, ASizeButtonIsSelectedByThePressAndLeavingOnlySilencesIt)
{
    auto* size = new KVXAnimatedToolSizeButton(scene, ScriptId(kFull), Noting("click"), 5, 0, 100, 1);
    Watch(*size);
    Pass();
    EXPECT_EQ(Play({kEnter, kPress, kReleaseIn, kLeave, kEnter, kPress, kReleaseIn}),
              "L4 | L5 | click,L3 | - | L4 | - | click,L3");
    EXPECT_TRUE(size->IsSelected());
    size->Reset();
    Pass();
    EXPECT_FALSE(size->IsSelected());
    EXPECT_EQ(Ran(), "L1");
    delete size;
}

TEST_F(AnimatedButtonTest, AOneShotButtonPostsOnceUntilItIsActiveAgain)
{
    auto* button =
        new KVXAnimatedButtonMolecule(scene, ScriptId(kFull), Noting("old"), 5, 0, 100, 1);
    Watch(*button);
    EXPECT_TRUE(button->BindEventCommand(7, Noting("event"), Noting("click")));
    Pass();
    EXPECT_EQ(Play({kEnter, kPress, kReleaseIn, kPress, kReleaseIn}),
              "L4 | L5 | click,L3 | - | -");
    EXPECT_FALSE(button->IsActive());
    button->SetActive(false, true);
    EXPECT_EQ(Play({kPress, kReleaseIn}), "click | -") << "posted on the press, no animation";
    button->SetActive(true, false);
    EXPECT_EQ(Play({kPress, kReleaseIn}), "L5 | click,L3");
    delete button;
}

TEST_F(AnimatedButtonTest, DisablingHidesAndSilencesTheButtonUntilItIsEnabled)
{
    auto* button =
        new KVXAnimatedButtonMolecule(scene, ScriptId(kFull), Noting("click"), 5, 0, 100, 1);
    Watch(*button);
    Pass();
    button->SetDisabled(true);
    EXPECT_TRUE(button->Visual(0)->IsHidden());
    EXPECT_FALSE(button->IsRunning());
    EXPECT_EQ(Play({kEnter, kPress, kReleaseIn}), "- | - | -");
    button->SetDisabled(false);
    Pass();
    EXPECT_EQ(Ran(), "L1");
    EXPECT_FALSE(button->Visual(0)->IsHidden());
    EXPECT_EQ(Play({kMove, kPress, kReleaseIn}), "L4 | L5 | click,L3");
    delete button;
}

TEST_F(AnimatedButtonTest, SelectWithoutSoundMutesExactlyOneSoundRequest)
{
    auto* button =
        new KVXAnimatedButtonMolecule(scene, ScriptId(kClickSounds), Noting("click"), 5, 0, 100, 1);
    Pass();
    EXPECT_FALSE(button->Select(false));
    Pass();
    EXPECT_FALSE(button->SoundChannel(0)->Request().active) << "the first request is skipped";
    EXPECT_TRUE(button->SoundChannel(1)->Request().active);
    EXPECT_EQ(button->SoundChannel(1)->SoundId(), ScriptTone(1));
    EXPECT_TRUE(button->SoundOnNextPlay());
    EXPECT_EQ(Ran(), "-") << "Select posts nothing";
    button->SoundChannel(1)->Stop();
    button->Select(true);
    Pass();
    EXPECT_TRUE(button->SoundChannel(0)->Request().active);
    delete button;
}

TEST_F(AnimatedButtonTest, TheAnimatedPushButtonIsDownWhileHeldInsideAndPostsOnTheReleaseInside)
{
    auto* push = new KVXPushButton(scene, 5, Noting("push"), ScriptId(kFull), 1, nullptr, 0);
    Watch(*push);
    Pass();
    EXPECT_EQ(Play({kEnter, kPress, kHeldOut, kHeldMove, kReleaseIn}),
              "- | L5 | L1 | L5 | push,L1");
    EXPECT_EQ(Play({kPress, kHeldOut, kReleaseOut}), "L5 | L1 | -") << "released outside";
    push->SetDisabled(true);
    EXPECT_EQ(push->State(), kPushDisabled);
    EXPECT_EQ(Play({kEnter, kPress, kReleaseIn}), "- | - | -");
    delete push;
}

}  // namespace
