// The quit button, whose command waits for the script's event 1, and the
// category buttons, which ignore the mouse until their script's event 1.
#include <gtest/gtest.h>

#include "button_fixture.h"
#include "shell/widgets/category_buttons.h"
#include "shell/widgets/quit_button.h"

namespace {

ScriptRows SelectReachedAtThree(int16_t label)
{
    ScriptRows rows;
    if (label == 3)
        rows.Event(1);
    return rows;
}

// Labels 1, 3, 4, 5, 6 and 44 (or without 44); label 3 holds 100 ms, then a
// frame raises event 1.
ScriptRows CategoryScript(bool withLeave)
{
    ScriptRows rows = ScriptRows().Visuals(1);
    for (int16_t label : {1, 3, 4, 5, 6, 44}) {
        if (label == 44 && !withLeave)
            continue;
        rows.Frame(label, label == 3 ? 100 : 0).Place(0, 0, 10, 10).Picture(LabelPicture(label));
        rows.Event(int16_t(1000 + label));
        if (label == 3)
            rows.Frame(0, 0).Event(1);
    }
    return rows;
}

struct QuitAndCategoryTest : ButtonTest {
    void SetUp() override
    {
        Open({{0, LabelScript({1, 3, 5, 6}, SelectReachedAtThree)},
              {1, CategoryScript(true)},
              {2, CategoryScript(false)}});
    }
};

TEST_F(QuitAndCategoryTest, TheQuitCommandWaitsForTheSelectionThenASecondClickPostsTheOther)
{
    auto* quit = new KVXQuitButton(scene, ScriptId(0), Noting("quit"), 5, 0, 0, 1, 0);
    quit->SetSecondCommand(Noting("second"));
    Watch(*quit);
    Pass();
    EXPECT_EQ(Play({kEnter, kPress, kReleaseIn}), "- | L5 | L3,quit");
    EXPECT_TRUE(quit->SelectionReached());
    quit->Run(3);
    Pass();
    Pass();
    EXPECT_EQ(Ran(), "L3") << "event 1 again while selected posts nothing";
    EXPECT_EQ(Play({kPress, kHeldOut, kReleaseOut}), "L5 | L6 | -")
        << "released outside: the selected look, nothing posted";
    EXPECT_EQ(Play({kDoubleClick, kReleaseIn}), "- | -") << "a double click is no press";
    EXPECT_EQ(Play({kPress, kReleaseIn}), "L5 | second,L1");
    EXPECT_FALSE(quit->SelectionReached());
    quit->SetState(false);
    EXPECT_EQ(Play({kPress, kReleaseIn}), "- | -");
    delete quit;
}

TEST_F(QuitAndCategoryTest, AnInactiveQuitButtonDropsItsLayerOffset)
{
    auto* quit = new KVXQuitButton(scene, ScriptId(0), Noting("quit"), 7, 0, 0, 1, 0);
    EXPECT_EQ(quit->LayerOffset(), 7);
    quit->SetInactive(true);
    EXPECT_EQ(quit->State(), kQuitInactive);
    EXPECT_EQ(quit->LayerOffset(), 0);
    quit->SetInactive(false);
    EXPECT_EQ(quit->State(), kQuitUp);
    EXPECT_EQ(quit->LayerOffset(), 7);
    delete quit;
}

TEST_F(QuitAndCategoryTest, ACategoryIgnoresTheMouseUntilItsSelectionAnimationReachesEventOne)
{
    auto* category = new MPCategoryMolecule(scene, ScriptId(1), 1);
    Watch(*category);
    Pass();
    EXPECT_EQ(Play({kEnter, kDoubleClick, kReleaseIn}), "L4 | - | -")
        << "a double click does nothing";
    EXPECT_EQ(Play({kPress, kReleaseIn}), "L5 | L3");
    EXPECT_TRUE(category->IsSelected());
    EXPECT_FALSE(category->CategoryInterpreter()->IsEnabled());
    EXPECT_EQ(Play({kPress, kReleaseIn, kLeave}), "- | - | -") << "input is off";
    for (int i = 0; i < 6; ++i)
        Pass();
    EXPECT_EQ(Ran(), "-");
    EXPECT_TRUE(category->CategoryInterpreter()->IsEnabled()) << "event 1 turned it on";
    EXPECT_EQ(Play({kEnter, kLeave}), "- | -") << "selected: no hover, no leave";
    category->SetSelected(false);
    Pass();
    EXPECT_EQ(Ran(), "L1");
    EXPECT_EQ(Play({kEnter, kLeave}), "L4 | L44");
    delete category;
}

TEST_F(QuitAndCategoryTest, ACategoryWithoutLeaveLabelRunsIdleAndTellsItsGroup)
{
    auto* first = new MPCategoryMolecule(scene, ScriptId(2), 1);
    Watch(*first);
    Pass();
    EXPECT_EQ(Play({kEnter, kLeave}), "L4 | L1");

    MPRadioGroupMolecule group(scene);
    auto* second = new MPCategoryMolecule(scene, ScriptId(1), 1);
    group.Add(first);
    group.Add(second);
    EXPECT_TRUE(group.SelectIndex(1, true));
    EXPECT_TRUE(group.IsSelectedAt(1));
    EXPECT_FALSE(group.IsSelectedAt(0));
    EXPECT_EQ(group.Remove(second), second);
    EXPECT_EQ(group.Remove(second), nullptr);
    delete second;
    // The first member is chosen by the mouse: the group deselects the rest.
    EXPECT_EQ(Play({kEnter, kPress, kReleaseIn}), "L4 | L5 | L3");
    EXPECT_TRUE(group.IsSelectedAt(0));
}

}  // namespace
