#pragma once
// Scene 4, the chalk talk: the owl's drawing lessons at the blackboard. The
// child picks a lesson, watches its finished drawing play, then draws it step
// by step on the board; every button, timer, animation end and stroke posts
// an event command that the one event handler carries out.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/command.h"
#include "engine/engine_thread.h"
#include "engine/record_table.h"
#include "media/visual.h"
#include "selection/chalk_talk_lesson.h"
#include "selection/slate_store.h"
#include "shell/base_scene.h"

class KVXAnimatedButtonMolecule;
class KVXQuitButton;
class MMAnimationMolecule;
class MMGenericSoundChannel;
class MMMouseInterpreter;
class MMPictureButtonMolecule;
class MMPictureButtonVisual;
class MMPictureMolecule;
class NextTimeThread;
class ChalkTalkScene;

enum ChalkTalkEvent : int16_t {
    kChalkStart = 0,
    kChalkWaitForLesson = 1,
    kChalkLeave = 2,
    kChalkGoOn = 3,
    kChalkLessonPressed = 5,
    kChalkOfferLesson = 6,
    kChalkLessonChosen = 7,
    kChalkPreview = 8,
    kChalkScroll = 9,
    kChalkStep = 10,
    kChalkPlay = 11,
    kChalkBuildSteps = 12,
    kChalkPreviewOver = 13,
    kChalkDeletePreview = 14,
    kChalkDeleteTeacher = 15,
    kChalkStepDone = 16,
    kChalkChildMayDraw = 17,
    kChalkAskChild = 18,
    kChalkRewardOver = 19,
    kChalkQuit = 20,
    kChalkCreditsOver = 21,
};

// "Event %d flag %d ChalkTalk": calls the scene's handler with its event and value.
class ChalkTalkEventCommand : public MMCommand {
public:
    ChalkTalkEventCommand(ChalkTalkScene* scene, int16_t event, int16_t value);
    MMCommand* Clone() const override { return new ChalkTalkEventCommand(*this); }
    void Perform() override;

private:
    ChalkTalkScene* scene;
    int16_t event;
    int16_t value;
};

// Posts its command once the delay has passed since its start (which every
// event of the scene moves on), then ends.
class TimerThread : public MMLightweightThread {
public:
    explicit TimerThread(MMStage* stage) : MMLightweightThread("Timer thread", stage) {}
    ~TimerThread() override { delete pending; }

    void Set(int32_t delayMs, MMCommand* command);
    void Start();
    void Restart() { start = StageTime(); }
    // The pending command is posted on the next run.
    void Fire() { fired = true; }
    bool Run() override;
    int32_t Delay() const { return delay; }

private:
    int32_t delay = -1;
    int32_t start = 0;
    MMCommand* pending = nullptr;
    bool fired = false;
};

// The blackboard: dark green, with the lesson's slate recording playing over it.
class ChalkTalkCanvasVisual : public MMOpaqueBoxVisual, public MMLightweightThread {
public:
    ChalkTalkCanvasVisual(MMStage* stage, const Box& box, int16_t layer, uint32_t ghostColour);

    void Draw(MMSurface* surface) override;
    bool Run() override;
    MagicSlateStore& Store() { return *store; }

    void StoreStroke(int16_t channel, int16_t frame, const Pair* points, int32_t count,
                     uint32_t colour, int16_t width);
    void StopPlayback();
    void StartPlayback();
    void SelectChannel(int16_t channel);
    void SelectFrame(int16_t frame);

private:
    std::unique_ptr<MagicSlateStore> store;
};

class ChalkTalkScene : public KVXBaseScene, public KVXSlateFrameListener {
public:
    explicit ChalkTalkScene(MMStage* stage);
    ~ChalkTalkScene() override;

    void Begin() override;
    void DeleteMolecules() override;
    void HandleEvent(int16_t event, int16_t value);
    void PostEvent(int16_t event, int16_t value);

    // From the board's interpreters.
    void ChildStartedDrawing();
    void StoreStep(const Pair* points, int32_t count);
    const Box& CanvasBox() const { return canvasBox; }

    void HighlightFrameButton(int16_t frame) override;
    void CopyToPrepared();

    ChalkTalkCanvasVisual* Canvas() const { return canvas; }
    KVXChalkTalkLesson* Lesson() const { return lesson.get(); }
    int16_t LessonCount() const { return int16_t(lessonButtons.size()); }
    int16_t CurrentLesson() const { return currentLesson; }
    int16_t ChosenLesson() const { return chosenLesson; }
    int16_t DisplayedStep() const { return displayedStep; }
    const std::vector<MMPictureButtonMolecule*>& StepButtons() const { return stepButtons; }
    MMAnimationMolecule* Teacher() const { return teacher; }
    MMAnimationMolecule* Reward() const { return reward; }
    MMMouseInterpreter* BoardInterpreter() const { return boardInterpreter; }
    KVXQuitButton* QuitButton() const { return quitButton; }
    TimerThread* Timer() const { return timer; }
    int16_t LitFrame() const { return litFrame; }
    MMPictureButtonVisual* FrameLight(int16_t frame) const
    {
        return frame >= 0 && frame < 5 ? lights[frame] : nullptr;
    }

private:
    // The current step's data, or null when the lesson has none.
    const KVXChalkStep* StepShown() const;
    void LoadLesson(int16_t v);
    void SetUpStep(int16_t v);
    void ArrangeStepButtons();
    void BuildStepButtons(int16_t v);
    void DeleteStepButtons();
    void InstallInterpreter(int16_t kind);
    void RemoveInterpreter();
    void MarkLesson(int16_t v, bool restartOthers);
    void ShowCanvas(bool show);
    void SetTimer(int16_t delayKey, int16_t event, int16_t value);
    void PlaySound(MMGenericSoundChannel* channel, MMResourceId id);
    void StopSound(MMGenericSoundChannel* channel);
    void DeleteAnimation(MMAnimationMolecule*& animation);
    void RestartTeacher(int16_t start);
    MMAnimationMolecule* Animate(MMResourceId script, int16_t layer, int16_t doneEvent,
                                 int16_t doneValue);
    void ClearBusy();
    int16_t Delay(int16_t key) const;
    MMResourceId SoundAt(int16_t key) const;

    MMRecordTable table;
    MMRecordTable lessonList;
    std::vector<KVXAnimatedButtonMolecule*> lessonButtons;
    std::vector<MMPictureButtonMolecule*> stepButtons;
    MMRecordTable stepPictures;
    KVXAnimatedButtonMolecule* arrows[2] = {nullptr, nullptr};
    MMPictureButtonVisual* lights[5] = {nullptr, nullptr, nullptr, nullptr, nullptr};
    KVXQuitButton* quitButton = nullptr;
    MMAnimationMolecule* preview = nullptr;
    MMAnimationMolecule* teacher = nullptr;
    MMAnimationMolecule* reward = nullptr;
    MMAnimationMolecule* intro = nullptr;
    std::vector<MMResourceId> rewardScripts;
    MMGenericSoundChannel* narration = nullptr;
    MMGenericSoundChannel* music = nullptr;
    ChalkTalkCanvasVisual* canvas = nullptr;
    Box canvasBox = {0, 0, 0, 0};
    MMMouseInterpreter* boardInterpreter = nullptr;
    MMPictureMolecule* decoration = nullptr;
    std::unique_ptr<KVXChalkTalkLesson> lesson;
    MMResourceId lessonTable = -1;
    std::vector<MMResourceId> teacherScripts;
    int16_t currentLesson = -1;
    int16_t chosenLesson = -1;
    int16_t displayedStep = 0;
    int16_t litFrame = -1;
    bool continueFlag = false;
    bool childHasDrawn = false;
    bool restartHeld = false;
    bool strokeStored = false;
    NextTimeThread* nextTime = nullptr;
    TimerThread* timer = nullptr;
};
