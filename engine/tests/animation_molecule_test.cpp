#include <gtest/gtest.h>

#include "animation_fixture.h"
#include "engine/enclosure.h"
#include "engine/run_queue.h"
#include "engine/scene.h"
#include "media/enclosure_visual.h"
#include "media/picture_visual.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_manager.h"

namespace {

ScriptRows TwoFrames()
{
    return ScriptRows()
        .Name("Waving hand")
        .Visuals(2)
        .Channels(1)
        .Frame(1, 100).Place(0, 4, 10, 20).Picture(ScriptPicture(0)).Select(0, 0, 0)
        .Sound(ScriptTone(0))
        .Frame(2, 100).Place(1, 0, 30, 40).Picture(ScriptPicture(1))
        .Frame(3, 100).Place(1, 0, 30, 40).Picture(ScriptPicture(2));
}

TEST_F(AnimationTest, BuildsWhatItsScriptDeclares)
{
    ScriptRows enclosed = ScriptRows().Visuals(1).Row(4, 50).Row(15)
                              .Frame(1, 100).Row(15, 5, 6, 55, 46).Place(0, 0, 10, 10)
                              .Picture(ScriptPicture(2));
    Open({{0, TwoFrames()}, {1, enclosed}});
    MMEnclosure* top = stage.TopEnclosure();

    MMAnimationMolecule plain(scene, ScriptId(0), 1);
    EXPECT_STREQ(plain.Thread()->Name(), "Waving hand");
    EXPECT_EQ(plain.Thread()->Priority(), 100);
    ASSERT_EQ(plain.VisualCount(), 2);
    EXPECT_EQ(plain.SoundChannelCount(), 1);
    EXPECT_EQ(plain.EnclosureVisual(), nullptr) << "no opcode-15 row";
    for (int16_t i = 0; i < 2; ++i) {
        EXPECT_EQ(plain.Visual(i)->Enclosure(), top);
        EXPECT_TRUE(plain.Visual(i)->IsHidden());
        EXPECT_EQ(plain.Visual(i)->Layer(), i + 1);
    }
    EXPECT_EQ(plain.Visual(2), nullptr);
    EXPECT_EQ(plain.SoundChannel(1), nullptr);
    EXPECT_FALSE(plain.IsRunning());
    EXPECT_TRUE(scene->HasNotificationRegistration(&plain, kNotifyFrameDone));

    MMAnimationMolecule boxed(scene, ScriptId(1), 1);
    MMEnclosureVisual* enclosure = boxed.EnclosureVisual();
    ASSERT_NE(enclosure, nullptr);
    EXPECT_EQ(enclosure->Enclosure(), top);
    EXPECT_EQ(enclosure->Layer(), 50);
    EXPECT_EQ(boxed.Visual(0)->Enclosure(), enclosure->Child());
    boxed.SetOffset(100, 0);
    boxed.SetLayerOffset(7);
    EXPECT_EQ(enclosure->Layer(), 57);
    EXPECT_EQ(boxed.Visual(0)->Layer(), 8);
    boxed.Show();
    Pass(0);
    EXPECT_EQ(enclosure->GetBounds(), (Box{105, 6, 155, 46})) << "the script's box, offset";
    EXPECT_EQ(boxed.Visual(0)->GetPosition(), (Pair{110, 10}));
    EXPECT_EQ(boxed.Visual(0)->Layer(), 7);
}

TEST_F(AnimationTest, ShowingARunningAnimationDoesNotRestartIt)
{
    Open({{0, TwoFrames()}});
    MMAnimationMolecule molecule(scene, ScriptId(0), 1);
    molecule.Show();
    Pass(0);
    Pass(100);
    EXPECT_EQ(Shown(molecule), "0 1");
    molecule.Show();
    Pass(200);
    EXPECT_EQ(Shown(molecule), "0 2") << "the third frame, not the first again";
    molecule.Hide();
    EXPECT_FALSE(molecule.IsRunning());
    EXPECT_EQ(Shown(molecule), "- -");
    EXPECT_FALSE(molecule.SoundChannel(0)->IsActive());
}

TEST_F(AnimationTest, CommandsBoundToEventsAndTheMouse)
{
    Open({{0, TwoFrames()}});
    MMAnimationMolecule molecule(scene, ScriptId(0), 1);
    int firstDeleted = 0, secondDeleted = 0;
    molecule.SetCommand(5, new LogCommand(&stage, &log, "first", &firstDeleted));
    molecule.SetCommand(5, new LogCommand(&stage, &log, "second", &secondDeleted));
    EXPECT_EQ(firstDeleted, 1) << "a second command for the event deletes the first";
    EXPECT_EQ(secondDeleted, 0);
    molecule.SetCommand(5, nullptr);
    EXPECT_EQ(secondDeleted, 1);
    EXPECT_EQ(molecule.FindCommand(5), nullptr);

    molecule.SetMouseCommand(new LogCommand(&stage, &log, "pressed"));
    MMMouseInterpreter* interpreter = molecule.Interpreter();
    ASSERT_NE(interpreter, nullptr);
    EXPECT_EQ(molecule.Visual(0)->GetMouseInterpreter(), interpreter);
    EXPECT_EQ(molecule.Visual(1)->GetMouseInterpreter(), interpreter);
    EXPECT_FALSE(interpreter->Interpret(MMStageEvent{kStageEventPointer, 0, 0, 1, 1, kPointerHeld}));
    EXPECT_FALSE(interpreter->Interpret(
        MMStageEvent{kStageEventPointer, 0, 0, 1, 1, kPointerHeld | kPointerPressed}));
    Pass(0);
    EXPECT_EQ(log, (std::vector<std::string>{"pressed"}));
    molecule.SetMouseCommand(nullptr);
    EXPECT_EQ(molecule.Interpreter(), nullptr);
    EXPECT_EQ(molecule.Visual(0)->GetMouseInterpreter(), nullptr);
    EXPECT_EQ(molecule.Visual(1)->GetMouseInterpreter(), nullptr);
}

TEST_F(AnimationTest, CommandMakersNameTheThreadAndRunAheadOfIt)
{
    Open({{0, TwoFrames()}});
    MMAnimationMolecule molecule(scene, ScriptId(0), 1);
    struct Case {
        MMCommand* command;
        const char* name;
        int16_t priority;
    } cases[] = {
        {molecule.MakeGotoCommand(3), "Goto(3) Waving hand", 101},
        {molecule.MakeInterruptGotoCommand(12), "Interrupt & goto(12) Waving han", 101},
        {molecule.MakeStopCommand(), "Stop Waving hand", 101},
        {molecule.MakeSleepCommand(), "Sleep Waving hand", 101},
        {molecule.MakeWakeUpCommand(), "WakeUp Waving hand", 101},
        {molecule.MakeSetOffsetCommand(-4, 250), "SetOffset(-4,250) Waving hand", -1},
        {molecule.MakeSetLayerOffsetCommand(9), "SetLayerOffset(9) Waving hand", -1},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.command->Name(), c.name);
        EXPECT_EQ(c.command->Priority(), c.priority) << c.name;
    }
    Case& gotoTwo = cases[0];
    delete gotoTwo.command;
    gotoTwo.command = molecule.MakeGotoCommand(2);
    gotoTwo.command->Post();
    Pass(0);
    EXPECT_EQ(Shown(molecule), "- 1") << "goto(2) started at the second frame";
    cases[5].command->Post();
    cases[6].command->Post();
    cases[3].command->Post();
    Pass(50);
    EXPECT_EQ(molecule.Offset(), (Pair{-4, 250}));
    EXPECT_EQ(molecule.LayerOffset(), 9);
    EXPECT_EQ(molecule.Visual(1)->GetPosition(), (Pair{26, 290}));
    EXPECT_EQ(molecule.Visual(1)->Layer(), 9);
    EXPECT_TRUE(molecule.IsAsleep());
    Pass(150);
    EXPECT_EQ(Shown(molecule), "- 1") << "asleep past its due time";
    cases[4].command->Post();
    Pass(160);
    EXPECT_EQ(Shown(molecule), "- 2");
    EXPECT_FALSE(molecule.IsAsleep());
    cases[2].command->Post();
    Pass(170);
    EXPECT_FALSE(molecule.IsRunning());
    EXPECT_EQ(Shown(molecule), "- -");
    for (const Case& c : cases)
        delete c.command;
}

TEST_F(AnimationTest, DestructionLeavesNothingBehind)
{
    Open({{0, TwoFrames()}, {1, ScriptRows().Visuals(1).Row(15).Frame(1, 100)}});
    MMSoundManager* sounds = stage.SoundManager();
    for (int16_t table : {0, 1}) {
        auto* molecule = new MMAnimationMolecule(scene, ScriptId(table), 2);
        molecule->SetMouseCommand(new LogCommand(&stage, &log, "pressed"));
        molecule->SetDoneCommand(new LogCommand(&stage, &log, "done"));
        molecule->Show();
        Pass(1000 * table);
        EXPECT_TRUE(molecule->IsRunning());
        MMAnimationThread* thread = molecule->Thread();
        delete molecule;
        EXPECT_TRUE(stage.TopEnclosure()->Visuals().empty()) << table;
        EXPECT_FALSE(stage.RunQueue()->IsQueued(thread));
        EXPECT_TRUE(scene->Molecules().empty());
        EXPECT_FALSE(scene->HasAnyNotificationRegistration(molecule));
        EXPECT_EQ(sounds->Channels().count, 0) << table;
        for (int16_t picture = 0; picture < 3; ++picture)
            EXPECT_EQ(PictureUses(picture), 0) << table;
        Pass(1000 * table + 500);
        EXPECT_TRUE(log.empty()) << "no done command from a deleted animation";
    }
}

TEST_F(AnimationTest, ResourceModesHoldUsesOfTheScriptsPictures)
{
    ScriptRows waits = ScriptRows().Visuals(1)
                           .Frame(1, 0).Place(0, 0, 0, 0).Picture(ScriptPicture(0))
                           .Frame(2, 100).Place(0, 0, 0, 0).Picture(ScriptPicture(0))
                           .Frame(3, 100).Place(0, 0, 0, 0).Picture(ScriptPicture(2));
    Open({{0, TwoFrames()}, {1, waits}});
    // Picture 2 is shown by no frame played here, so only the thread's uses
    // count; a use held outside makes a release too many show.
    MMUsePicture(ScriptPicture(2));
    struct Case {
        int16_t mode;
        int built, playing, stopped;
    } cases[] = {{0, 1, 1, 1}, {1, 2, 2, 2}, {2, 2, 2, 2}, {3, 1, 2, 1}};
    int32_t t = 0;
    for (const Case& c : cases) {
        auto* molecule = new MMAnimationMolecule(scene, ScriptId(0), c.mode);
        EXPECT_EQ(PictureUses(2), c.built) << "mode " << c.mode;
        molecule->Run(1);
        Pass(t += 1000);
        EXPECT_EQ(PictureUses(2), c.playing) << "mode " << c.mode;
        EXPECT_EQ(PictureUses(1), c.playing - 1) << "every picture of the script";
        molecule->Stop();
        EXPECT_EQ(PictureUses(2), c.stopped) << "mode " << c.mode;
        molecule->Run(1);
        Pass(t += 1000);
        delete molecule;
        EXPECT_EQ(PictureUses(2), 1) << "mode " << c.mode << " destroyed while playing";
    }

    // Mode 3 gives its uses back while asleep and takes them once on waking.
    auto* molecule = new MMAnimationMolecule(scene, ScriptId(1), 3);
    molecule->Run(1);
    Pass(t += 1000);
    EXPECT_EQ(PictureUses(2), 2) << "asleep in its first slice: still held";
    molecule->WakeUp();
    EXPECT_EQ(PictureUses(2), 2) << "woken before it ever slept: no second use";
    Pass(t += 1000);
    molecule->Sleep();
    EXPECT_EQ(PictureUses(2), 1);
    molecule->Stop();
    EXPECT_EQ(PictureUses(2), 1) << "stopping a sleeping animation releases nothing more";
    molecule->Run(1);
    Pass(t += 1000);
    molecule->Sleep();
    molecule->WakeUp();
    EXPECT_EQ(PictureUses(2), 2);
    delete molecule;
    EXPECT_EQ(PictureUses(2), 1);
    MMReleasePicture(ScriptPicture(2));
}

}  // namespace
