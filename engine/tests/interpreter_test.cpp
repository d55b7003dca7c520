#include <gtest/gtest.h>

#include "engine/command.h"
#include "engine/molecule.h"
#include "engine/mouse_interpreter.h"
#include "engine/picture_molecule.h"
#include "engine/stage_cursors.h"
#include "media/picture_visual.h"
#include "media/visual.h"
#include "stage_fixture.h"

namespace {

class LitBox : public MMOpaqueBoxVisual, public MMHighlightable {
public:
    explicit LitBox(const Box& box) : MMOpaqueBoxVisual(box) {}
    void Draw(MMSurface*) override {}
    bool IsHighlighted() override { return highlighted != 0; }
    void SetHighlighted(bool flag) override { highlighted = flag; }
};

struct Posts {
    int count = 0;
    void Add() { ++count; }
};

struct InterpreterTest : ::testing::Test {
    BareStage bare;
    MMStage& stage = bare.stage;
    Posts posts;
    LitBox button{Box{10, 10, 20, 20}};

    MMCommand* Command() { return new MMClassCommand<Posts>("post", &stage, &posts, &Posts::Add); }
    int Run()
    {
        stage.RunQueue()->RunOnce();
        return posts.count;
    }
};

MMStageEvent At(int32_t x, int32_t y, uint32_t flags)
{
    return MMStageEvent{kStageEventPointer, 0, 0, x, y, flags};
}

TEST_F(InterpreterTest, PushButtonSequences)
{
    const uint32_t press = kPointerPressed | kPointerHeld, held = kPointerHeld,
                   release = kPointerReleased;
    struct Step {
        MMStageEvent event;
        bool capture, lit;
    };
    struct Sequence {
        const char* what;
        std::vector<Step> steps;
        int posted;
    } sequences[] = {
        {"press and release inside", {{At(15, 15, press), true, true}, {At(15, 15, release), false, false}}, 1},
        {"out and back in", {{At(15, 15, press), true, true}, {At(40, 40, held), true, false},
                             {At(15, 15, held), true, true}, {At(15, 15, release), false, false}}, 1},
        {"release outside", {{At(15, 15, press), true, true}, {At(40, 40, release), false, false}}, 0},
        {"press outside then move in", {{At(40, 40, press), false, false}, {At(15, 15, held), false, false},
                                        {At(15, 15, release), false, false}}, 0},
        {"double click presses", {{At(15, 15, kPointerDoubleClick | press), true, true},
                                  {At(15, 15, release), false, false}}, 1},
        {"held bit lost", {{At(15, 15, press), true, true}, {At(15, 15, 0), false, false}}, 0},
    };
    for (const Sequence& sequence : sequences) {
        MMPushButtonInterpreter interpreter(&stage, Command(), &button, nullptr, nullptr);
        posts.count = 0;
        for (const Step& step : sequence.steps) {
            EXPECT_EQ(interpreter.Interpret(step.event), step.capture) << sequence.what;
            EXPECT_EQ(button.IsHighlighted(), step.lit) << sequence.what;
        }
        EXPECT_EQ(Run(), sequence.posted) << sequence.what;
    }
}

TEST_F(InterpreterTest, SingleEventPostsOncePerPressInsideItsHotSpot)
{
    MMHotSpotInterpreter interpreter(&stage, &button, Command(), nullptr);
    EXPECT_FALSE(interpreter.Interpret(At(15, 15, kPointerPressed | kPointerHeld)));
    interpreter.Interpret(At(15, 15, kPointerHeld));  // an idle step's repeat
    interpreter.Interpret(At(15, 15, kPointerReleased));
    interpreter.Interpret(At(15, 15, kPointerDoubleClick | kPointerPressed | kPointerHeld));
    interpreter.Interpret(At(30, 30, kPointerPressed | kPointerHeld));
    EXPECT_EQ(Run(), 2);
}

TEST_F(InterpreterTest, ReleasingTheCaptureTellsTheInterpreterAndShowsTheArrow)
{
    LitBox* box = new LitBox(Box{0, 0, 10, 10});
    MMMouseVisualMolecule molecule(nullptr, new MMPushButtonInterpreter(&stage, Command(), box,
                                                                        nullptr, nullptr),
                                   box);
    MMPushButtonInterpreter* interpreter =
        static_cast<MMPushButtonInterpreter*>(molecule.Interpreter());
    stage.SetEnteredEnclosure(interpreter, nullptr);
    interpreter->Interpret(At(5, 5, kPointerPressed | kPointerHeld));
    EXPECT_TRUE(box->IsHighlighted());
    molecule.Hide();
    EXPECT_EQ(stage.PointerInterpreter(), nullptr);
    EXPECT_FALSE(box->IsHighlighted()) << "CaptureLost ends the press";
    EXPECT_FALSE(interpreter->Pressed());
    EXPECT_EQ(stage.Cursors()->Requested(), stage.Cursors()->Arrow());
}

TEST_F(InterpreterTest, MouseVisualMoleculeMakesItsVisualTheHotSpot)
{
    struct Case {
        const char* what;
        MMStandardMouseInterpreter* interpreter;
    };
    LitBox* trackBox = new LitBox(Box{0, 0, 10, 10});
    LitBox* highlightBox = new LitBox(Box{0, 0, 10, 10});
    MMMouseVisualMolecule track(nullptr,
                                new MMTrackHotSpotInterpreter(&stage, nullptr, Command(), nullptr),
                                trackBox);
    MMMouseVisualMolecule highlight(
        nullptr, new MMHighlightHotSpotInterpreter(&stage, nullptr, nullptr, Command(), nullptr),
        highlightBox);
    for (const Case& c : {Case{"track", track.Interpreter()},
                          Case{"highlight", highlight.Interpreter()}}) {
        posts.count = 0;
        c.interpreter->Interpret(At(5, 5, kPointerPressed | kPointerHeld));
        c.interpreter->Interpret(At(25, 25, kPointerPressed | kPointerHeld));
        EXPECT_EQ(Run(), 1) << c.what << ": a press inside the molecule's box posts";
    }
    highlight.Interpreter()->CurrentCursor();
    EXPECT_TRUE(highlightBox->IsHighlighted()) << "the visual is also the highlight";
    highlight.Interpreter()->CaptureLost();
    EXPECT_FALSE(highlightBox->IsHighlighted());
}

TEST_F(InterpreterTest, PictureButtonOwnsTheCommandItIsGiven)
{
    // A command that tells when it is deleted.
    struct Counted : MMClassCommand<Posts> {
        Counted(MMStage* stage, Posts* posts, int* deleted)
            : MMClassCommand<Posts>("counted", stage, posts, &Posts::Add), deleted(deleted)
        {
        }
        ~Counted() override { ++*deleted; }
        int* deleted;
    };
    int deleted = 0;
    {
        // With its own interpreter, the command handed over is not used.
        MMPictureButtonMolecule button(
            nullptr, new MMPictureButtonVisual, new Counted(&stage, &posts, &deleted), nullptr,
            new MMPushButtonInterpreter(&stage, Command(), nullptr, nullptr, nullptr));
        EXPECT_EQ(deleted, 1);
    }
    EXPECT_EQ(deleted, 1);

    deleted = 0;
    {
        // The interpreter's own command handed over again is deleted once.
        Counted* shared = new Counted(&stage, &posts, &deleted);
        MMPictureButtonMolecule button(
            nullptr, new MMPictureButtonVisual, shared, nullptr,
            new MMPushButtonInterpreter(&stage, shared, nullptr, nullptr, nullptr));
        EXPECT_EQ(deleted, 0);
    }
    EXPECT_EQ(deleted, 1);
}

// Cursors that count how often they are shown and hidden.
class CountingCursor : public MMCursor {
public:
    void Activate() override { ++activations; }
    void Deactivate() override { ++deactivations; }
    int activations = 0, deactivations = 0;
};

TEST_F(InterpreterTest, BusyLevelsNestOverTheRequestedCursor)
{
    MMStageCursorSet& cursors = *stage.Cursors();
    CountingCursor pen;
    cursors.PushBusy();
    cursors.PushBusy();
    cursors.SetCursor(&pen);
    EXPECT_EQ(cursors.Shown(), cursors.Wait());
    cursors.PopBusy();
    EXPECT_EQ(cursors.Shown(), cursors.Wait()) << "one level still pushed";
    cursors.PopBusy();
    EXPECT_EQ(cursors.Shown(), &pen);
    EXPECT_EQ(pen.activations, 1);
    cursors.SetCursor(&pen);
    cursors.Show(&pen);
    EXPECT_EQ(pen.activations, 1) << "showing the shown cursor neither activates nor deactivates";
    cursors.PopBusy();
    EXPECT_EQ(cursors.BusyCount(), -1);
    EXPECT_EQ(cursors.Shown(), &pen);
    cursors.SetCursor(cursors.IBeam());
    EXPECT_EQ(cursors.Shown(), cursors.IBeam()) << "a count below 0 is not busy";
    EXPECT_EQ(pen.deactivations, 1);
}

}  // namespace
