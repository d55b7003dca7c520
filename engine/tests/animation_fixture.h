#pragma once
// Resource files for animation and start-up tests, written through the
// engine's writing side: scripts of 10-byte rows, solid pictures and short
// tones.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/resource_collection.h"
#include "framework/folders.h"

// Rows of one animation script.
struct ScriptRows {
    std::vector<uint8_t> rows;
    std::string strings;

    ScriptRows& Row(int16_t opcode, int16_t a = 0, int16_t b = 0, int16_t c = 0, int16_t d = 0);
    // An opcode with a 32-bit operand (a picture or sound id).
    ScriptRows& Id(int16_t opcode, MMResourceId id);
    ScriptRows& Name(const char* name);

    ScriptRows& Visuals(int16_t n) { return Row(1, n); }
    ScriptRows& Channels(int16_t n) { return Row(2, n); }
    ScriptRows& Synchronised() { return Row(3, 1); }
    ScriptRows& Frame(int16_t label, int16_t delay, int16_t loopLength = 0, int16_t loops = 0)
    {
        return Row(5, label, delay, loopLength, loops);
    }
    ScriptRows& Place(int16_t visual, int16_t layer, int16_t x, int16_t y)
    {
        return Row(6, visual, layer, x, y);
    }
    ScriptRows& Picture(MMResourceId id) { return Id(7, id); }
    ScriptRows& Select(int16_t channel, int16_t keep, int16_t loop)
    {
        return Row(8, channel, keep, loop);
    }
    ScriptRows& Sound(MMResourceId id) { return Id(9, id); }
    ScriptRows& Event(int16_t n) { return Row(10, n); }
    ScriptRows& Jump(int16_t label) { return Row(11, label); }
};

struct ScriptTable {
    int16_t table;
    ScriptRows rows;
};

bool WriteScripts(const FSDirectory& folder, const char* name, uint16_t collectionId,
                  const std::vector<ScriptTable>& tables);

// A 32-bit opaque picture of one colour.
struct SolidPicture {
    int16_t width;
    int16_t height;
    uint8_t red, green, blue;
};

bool WritePictures(const FSDirectory& folder, const char* name, uint16_t collectionId,
                   const std::vector<SolidPicture>& pictures);

// 22050 Hz 16-bit mono tones of the given lengths in milliseconds.
bool WriteTones(const FSDirectory& folder, const char* name, uint16_t collectionId,
                const std::vector<int32_t>& milliseconds);

// ---------------------------------------------------------------------------
// A bare stage driven pass by pass on the fake clock, with one scene and the
// animation test files open: pictures 0 to 3 (20 x 10 red, 30 x 16 green,
// 8 x 8 blue, 6 x 6 yellow) and one 300 ms tone.
#include <gtest/gtest.h>

#include "engine/animation_molecule.h"
#include "engine/command.h"
#include "framework/tests/scratch_folder.h"
#include "stage_fixture.h"

const uint16_t kAnimationScripts = 1;
const uint16_t kAnimationPictures = 2;
const uint16_t kAnimationSounds = 3;

inline MMResourceId ScriptPicture(int16_t i) { return MMMakeResourceId(kAnimationPictures, i); }
inline MMResourceId ScriptTone(int16_t i) { return MMMakeResourceId(kAnimationSounds, i); }
inline MMResourceId ScriptId(int16_t table) { return MMMakeResourceId(kAnimationScripts, table); }

class PlainScene : public MMScene {
public:
    using MMScene::MMScene;
    void Begin() override {}
};

// Notes its text in a log when it runs; counts its deletions.
class LogCommand : public MMCommand {
public:
    LogCommand(MMStage* stage, std::vector<std::string>* log, const char* text,
               int* deletions = nullptr)
        : MMCommand(text, stage), log_(log), text_(text), deletions_(deletions) {}
    LogCommand(const LogCommand& other) : MMCommand(other), log_(other.log_), text_(other.text_) {}
    ~LogCommand() override
    {
        if (deletions_)
            ++*deletions_;
    }
    MMCommand* Clone() const override { return new LogCommand(*this); }
    void Perform() override { log_->push_back(text_); }

private:
    std::vector<std::string>* log_;
    std::string text_;
    int* deletions_ = nullptr;
};

struct AnimationTest : ::testing::Test {
    ScratchFolder scratch;
    BareStage bare{false};
    MMStage& stage = bare.stage;
    PlainScene* scene = nullptr;
    std::vector<std::string> log;
    int32_t time = 0;

    // Writes the scripts and opens the three files; starts the scene.
    void Open(const std::vector<ScriptTable>& scripts);
    void TearDown() override;
    // One stage step at stage time t: input, the run queue, the frame tick.
    void Pass(int32_t t);
    // Per visual its picture index or "-" when hidden, then what was logged
    // since the last call.
    std::string Shown(const MMAnimationMolecule& molecule);
    int32_t PictureUses(int16_t picture);
};
