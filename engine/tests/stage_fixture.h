#pragma once
// Shared pieces of the engine tests: a clock the test drives, a sound
// service and a scene that record what the stage asks of them.
#include <string>
#include <vector>

#include "engine/enclosure.h"
#include "engine/run_queue.h"
#include "engine/scene.h"
#include "engine/stage.h"
#include "media/sound/sound_manager.h"

struct FakeClock {
    static inline uint32_t now = 1000;
    static uint32_t Now() { return now; }
};

typedef std::vector<std::string> CallLog;

// A sound manager without a device that records the stage's calls.
class RecordingSound : public MMSoundManager {
public:
    explicit RecordingSound(CallLog* log) : MMSoundManager(nullptr, nullptr), log_(log) {}
    void Enable() override { log_->push_back("enable"); }
    int Disable() override { log_->push_back("disable"); return 1; }
    void Suspend() override { log_->push_back("suspend"); }
    int Resume() override { log_->push_back("resume"); return 0; }
    void Service() override { log_->push_back("service"); }

private:
    CallLog* log_;
};

class RecordingScene : public MMScene {
public:
    RecordingScene(MMStage* stage, CallLog* log) : MMScene(stage), log_(log) {}
    void Begin() override { log_->push_back("begin"); ++begun; }
    void DeleteMolecules() override
    {
        log_->push_back("end");
        MMScene::DeleteMolecules();
    }
    void NotifyStagePaused() override { log_->push_back("paused"); }
    void NotifyStageResumed() override { log_->push_back("resumed"); }
    void NotifyFrameStarting() override { log_->push_back("starting"); }
    void NotifyFrameDone() override { log_->push_back("done"); }
    int begun = 0;

private:
    CallLog* log_;
};

// A stage without window or thread, driven step by step from the test.
struct BareStage {
    CallLog log;
    MMStage stage;
    explicit BareStage(bool withSound = true)
        : stage(nullptr, Box{0, 0, 200, 150}, 32, withSound ? new RecordingSound(&log) : nullptr,
                nullptr, nullptr, nullptr)
    {
        FakeClock::now = 1000;
        stage.SetClock(FakeClock::Now);
    }
};
