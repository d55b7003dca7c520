#pragma once
// Animated buttons on a bare stage: scripts written with the engine's
// writer, one 20 x 10 picture per frame label so that the label a button ran
// can be read back from its visual, pointer events dispatched the stage's
// way and commands that note when they run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "animation_fixture.h"
#include "engine/animation_molecule.h"

// The labels of the buttons, in the order of their pictures.
const std::vector<int16_t>& ButtonLabels();
MMResourceId LabelPicture(int16_t label);
// Visual 0 at (10, 10) with the label's picture in each labelled frame,
// which raises event 1000 + label and holds; a frame may add rows after its
// picture.
ScriptRows LabelScript(const std::vector<int16_t>& labels,
                       ScriptRows (*extra)(int16_t label) = nullptr);

// A pointer step: where and with which flags.
struct PointerStep {
    const char* name;
    int32_t x;
    int32_t y;
    uint32_t flags;
};

extern const PointerStep kEnter, kMove, kPress, kHeldMove, kHeldOut, kReleaseIn, kReleaseOut,
    kLeave, kDoubleClick;

struct ButtonTest : ::testing::Test {
    ScratchFolder scratch;
    BareStage bare;
    MMStage& stage = bare.stage;
    PlainScene* scene = nullptr;
    std::vector<std::string> log;
    int32_t time = 0;

    // Writes the scripts, the label pictures and two tones; starts the scene.
    void Open(const std::vector<ScriptTable>& scripts);
    void TearDown() override;
    // One stage step 10 ms after the last: input, the run queue, the tick.
    void Pass();
    // Dispatches the step's event as the stage does.
    void Dispatch(const PointerStep& step);
    // Dispatches, then two passes: the second runs what the script posted.
    void Pointer(const PointerStep& step);
    MMCommand* Noting(const char* name) { return new LogCommand(&stage, &log, name); }
    // Binds the label events of the script: each run of label L notes "L<L>".
    void Watch(MMAnimationMolecule& molecule);
    // What ran since the last call, joined by ",", "-" for nothing.
    std::string Ran();
    // Each step's reaction, joined by " | ".
    std::string Play(const std::vector<PointerStep>& steps);
};
