#pragma once
// Shared pieces of the widget tests: solid pictures written with the
// engine's writer, a scene on a bare stage, pointer events dispatched the
// stage's way and commands that note when they run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/command.h"
#include "engine/picture_collection.h"
#include "engine/picture_loader.h"
#include "engine/scene.h"
#include "engine/stage.h"
#include "framework/tests/scratch_folder.h"
#include "resource_fixture.h"
#include "stage_fixture.h"

// A 32-bit opaque picture whose blue byte is `blue` everywhere.
TestPicture SolidPicture(int16_t width, int16_t height, uint8_t blue);
// Writes the pictures as collection kTestPictureCollection and opens them.
bool OpenSolidPictures(const FSDirectory& folder, const char* name,
                       std::vector<TestPicture> pictures);
inline MMPictureID TestPictureId(int16_t i) { return MMMakeResourceId(kTestPictureCollection, i); }
// Writes `count` short tones as sound collection kTestSoundId's and opens them.
const uint16_t kTestSounds = 0x4001;
bool OpenTones(const FSDirectory& folder, const char* name, int count);
inline MMResourceId TestSoundId(int16_t i) { return MMMakeResourceId(kTestSounds, i); }

class WidgetScene : public MMScene {
public:
    using MMScene::MMScene;
    void Begin() override {}
};

// Notes its name in the log each time a posted copy runs.
class NotingCommand : public MMCommand {
public:
    NotingCommand(MMStage* stage, std::vector<std::string>* log, const char* name)
        : MMCommand(name, stage), log_(log) {}
    MMCommand* Clone() const override { return new NotingCommand(*this); }
    void Perform() override { log_->push_back(Name()); }

private:
    std::vector<std::string>* log_;
};

struct WidgetTest : ::testing::Test {
    ScratchFolder scratch;
    BareStage bare;
    MMStage& stage = bare.stage;
    WidgetScene scene{&bare.stage};
    std::vector<std::string> log;

    void TearDown() override;
    // Dispatches a pointer event as the stage does, then runs the posted
    // commands.
    bool Pointer(int32_t x, int32_t y, uint32_t flags);
    MMCommand* Noting(const char* name) { return new NotingCommand(&stage, &log, name); }
    // What ran since the last call, joined by spaces.
    std::string Ran();
};
