// Scripts played on a bare stage with the fake clock: which pictures each
// pass shows and which commands it posts.
#include <gtest/gtest.h>

#include "animation_fixture.h"
#include "media/picture_visual.h"

namespace {

enum Action { kNothing, kWakeUp };

struct Moment {
    int32_t time;
    const char* shown;
    Action before = kNothing;
};

struct Case {
    const char* what;
    ScriptRows rows;
    std::vector<Moment> passes;
    int16_t start = 1;
};

ScriptRows Rows() { return ScriptRows(); }

std::vector<Case> Cases()
{
    const MMResourceId p0 = ScriptPicture(0), p1 = ScriptPicture(1), p2 = ScriptPicture(2),
                       p3 = ScriptPicture(3), tone = ScriptTone(0);
    return {
        {"loop count 3 plays the looped frames three times",
         Rows().Visuals(1)
             .Frame(1, 100, 2, 3).Place(0, 0, 0, 0).Picture(p0)
             .Frame(0, 100).Place(0, 0, 0, 0).Picture(p1)
             .Frame(0, 100).Place(0, 0, 0, 0).Picture(p2),
         {{0, "0"}, {100, "1"}, {200, "0"}, {300, "1"}, {400, "0"}, {500, "1"}, {600, "2"},
          {700, "- >done"}}},
        {"loop count 0 plays them once",
         Rows().Visuals(1)
             .Frame(1, 100, 2, 0).Place(0, 0, 0, 0).Picture(p0)
             .Frame(0, 100).Place(0, 0, 0, 0).Picture(p1)
             .Frame(0, 100).Place(0, 0, 0, 0).Picture(p2),
         {{0, "0"}, {100, "1"}, {200, "2"}, {300, "- >done"}}},
        {"loop count -1 repeats until channel 0 is silent",
         Rows().Visuals(1).Channels(1)
             .Frame(1, 100).Place(0, 0, 0, 0).Picture(p0).Select(0, 0, 0).Sound(tone)
             .Frame(2, 100, 1, -1).Place(0, 0, 0, 0).Picture(p1)
             .Frame(3, 100).Place(0, 0, 0, 0).Picture(p2),
         {{0, "0"}, {100, "1"}, {200, "1"}, {300, "1"}, {400, "1"}, {500, "2"},
          {600, "- >done"}}},
        {"a frame with delay 0 waits until the thread is woken",
         Rows().Visuals(1)
             .Frame(1, 0).Place(0, 0, 0, 0).Picture(p0)
             .Frame(2, 100).Place(0, 0, 0, 0).Picture(p1),
         {{0, "0"}, {500, "0"}, {600, "1", kWakeUp}, {650, "1"}, {700, "- >done"}}},
        {"a synchronised script that falls behind plays frames back to back",
         Rows().Synchronised().Visuals(4)
             .Frame(1, 100).Place(0, 0, 0, 0).Picture(p0)
             .Frame(2, 100).Place(1, 0, 0, 0).Picture(p1)
             .Frame(3, 100).Place(2, 0, 0, 0).Picture(p2)
             .Frame(4, 100).Place(3, 0, 0, 0).Picture(p3)
             .Frame(5, 100),
         {{0, "0 - - -"}, {350, "0 1 2 3"}, {400, "0 1 2 3"}, {500, "- - - - >done"}}},
        {"without synchronisation a late frame is only one frame",
         Rows().Visuals(4)
             .Frame(1, 100).Place(0, 0, 0, 0).Picture(p0)
             .Frame(2, 100).Place(1, 0, 0, 0).Picture(p1)
             .Frame(3, 100).Place(2, 0, 0, 0).Picture(p2)
             .Frame(4, 100).Place(3, 0, 0, 0).Picture(p3),
         {{0, "0 - - -"}, {350, "0 1 - -"}, {450, "0 1 2 -"}}},
        {"a jump to a missing label ends the animation with the done command",
         Rows().Visuals(1)
             .Frame(1, 100).Place(0, 0, 0, 0).Picture(p0).Jump(7)
             .Frame(2, 100).Place(0, 0, 0, 0).Picture(p1),
         {{0, "0"}, {100, "- >done"}}},
        {"running from a missing label posts the done command at once",
         Rows().Visuals(1).Frame(1, 100).Place(0, 0, 0, 0).Picture(p0),
         {{0, "- >done"}},
         9},
        {"layer -1 hides; other negative layers change nothing",
         Rows().Visuals(1)
             .Frame(1, 100).Place(0, 3, 0, 0).Picture(p0)
             .Frame(2, 100).Place(0, -1, 5, 5)
             .Frame(3, 100).Place(0, -2, 5, 5)
             .Frame(4, 100).Place(0, 2, 5, 5),
         {{0, "0"}, {100, "-"}, {200, "-"}, {300, "0"}, {400, "- >done"}}},
        {"event rows post the commands bound to their numbers",
         Rows().Visuals(1)
             .Frame(1, 100).Place(0, 0, 0, 0).Picture(p0).Event(7)
             .Frame(2, 100).Event(8),
         {{0, "0 >event 7"}, {100, "0"}, {200, "- >done"}}},
        {"rows that index outside the visuals or channels are ignored",
         Rows().Visuals(1).Channels(1)
             .Frame(1, 100).Picture(p1).Place(4, 0, 0, 0).Picture(p1).Select(3, 0, 0)
             .Sound(tone).Row(12, 9, 3)
             .Frame(2, 100, 1, -5).Place(0, 0, 0, 0).Picture(p2)
             .Frame(3, 100).Place(0, 0, 0, 0).Picture(p3),
         {{0, "-"}, {100, "2"}, {200, "3"}, {300, "- >done"}}},
        {"a script without header rows has no visuals and still ends",
         Rows().Frame(1, 100).Place(0, 0, 0, 0).Picture(p0),
         {{0, ""}, {100, " >done"}}},
        {"a synchronised first frame with delay 0 keeps the grid after waking",
         Rows().Synchronised().Visuals(1)
             .Frame(1, 0).Place(0, 0, 0, 0).Picture(p0)
             .Frame(2, 100).Place(0, 0, 0, 0).Picture(p1)
             .Frame(3, 100).Place(0, 0, 0, 0).Picture(p2),
         {{0, "0"}, {1000, "1", kWakeUp}, {1050, "1"}, {1100, "2"}, {1200, "- >done"}}},
        {"a loop length below 1 counts as 1",
         Rows().Visuals(1)
             .Frame(1, 100, 0, 2).Place(0, 0, 0, 0).Picture(p0)
             .Frame(2, 100).Place(0, 0, 0, 0).Picture(p1),
         {{0, "0"}, {100, "0"}, {200, "1"}, {300, "- >done"}}},
    };
}

TEST_F(AnimationTest, ScriptsPlayTheirFrames)
{
    std::vector<Case> cases = Cases();
    std::vector<ScriptTable> tables;
    for (size_t i = 0; i < cases.size(); ++i)
        tables.push_back({int16_t(i), cases[i].rows});
    Open(tables);
    int32_t base = 0;
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        base += 10000;
        Pass(base - 5000);
        MMAnimationMolecule* molecule =
            new MMAnimationMolecule(scene, ScriptId(int16_t(i)), 1);
        molecule->SetCommand(7, new LogCommand(&stage, &log, "event 7"));
        molecule->SetDoneCommand(new LogCommand(&stage, &log, "done"));
        molecule->Run(c.start);
        for (const Moment& pass : c.passes) {
            if (pass.before == kWakeUp)
                molecule->WakeUp();
            Pass(base + pass.time);
            EXPECT_EQ(Shown(*molecule), pass.shown) << c.what << " at " << pass.time;
        }
        delete molecule;
        log.clear();
    }
}

TEST_F(AnimationTest, AnchoredThreadMirrorsAboutItsAnchor)
{
    Open({{0, Rows().Visuals(1)
                  .Frame(1, 100).Place(0, 0, 15, 7).Picture(ScriptPicture(0))
                  .Frame(2, 100).Place(0, 0, 15, 7).Picture(ScriptPicture(1))}});
    // Anchor (10, 5) lands on (100, 50); picture 0 is 20 x 10, picture 1 30 x 16.
    struct Case {
        bool horizontal, vertical;
        Pair offset, first, second;
    } cases[] = {
        {false, false, {90, 45}, {105, 52}, {105, 52}},
        {true, false, {110, 45}, {75, 52}, {65, 52}},
        {false, true, {90, 55}, {105, 38}, {105, 32}},
        {true, true, {110, 55}, {75, 38}, {65, 32}},
    };
    int32_t base = 0;
    for (const Case& c : cases) {
        base += 1000;
        auto* thread = new MMAnchoredAnimationThread(&stage);
        MMAnimationMolecule molecule(scene, ScriptId(0), 1, thread);
        thread->SetAnchor(Pair{10, 5}, Pair{100, 50});
        thread->SetFlip(c.horizontal, c.vertical);
        EXPECT_EQ(molecule.Offset(), c.offset);
        molecule.Run(1);
        MMPictureBasedVisual* visual = molecule.Visual(0);
        Pass(base);
        EXPECT_EQ(visual->GetPosition(), c.first) << c.horizontal << c.vertical;
        Pass(base + 100);
        EXPECT_EQ(visual->GetPosition(), c.second) << c.horizontal << c.vertical;
        EXPECT_EQ(visual->MirrorsHorizontally(), c.horizontal);
        EXPECT_EQ(visual->MirrorsVertically(), c.vertical);
        EXPECT_EQ(thread->AnchorPosition(), (Pair{100, 50}));
    }
}

TEST_F(AnimationTest, FlippingAPlacedVisualPlacesItAgain)
{
    Open({{0, Rows().Visuals(1).Frame(1, 0).Place(0, 0, 15, 7).Picture(ScriptPicture(1))}});
    auto* thread = new MMAnchoredAnimationThread(&stage);
    MMAnimationMolecule molecule(scene, ScriptId(0), 1, thread);
    thread->SetAnchor(Pair{10, 5}, Pair{100, 50});
    molecule.Run(1);
    Pass(0);
    MMPictureBasedVisual* visual = molecule.Visual(0);
    EXPECT_EQ(visual->GetPosition(), (Pair{105, 52}));
    thread->SetFlip(true, false);
    EXPECT_EQ(visual->GetPosition(), (Pair{65, 52})) << "100 - 5 - 30";
    EXPECT_TRUE(visual->MirrorsHorizontally());
    thread->SetOffset(0, 0);
    EXPECT_EQ(thread->AnchorPosition(), (Pair{-10, 5}));
    EXPECT_EQ(visual->GetPosition(), (Pair{-45, 7}));
}

}  // namespace
