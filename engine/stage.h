#pragma once
// The stage: owns the running scene, the input that reaches it, the run queue
// of commands and lightweight threads, and the path from the offscreen picture
// to the window. It runs on a stage thread of its own that never blocks.
#include <windows.h>
#include <cstdint>
#include <vector>

#include "engine/command.h"
#include "engine/input_ring.h"
#include "engine/shared_stuff.h"
#include "engine/stage_event.h"
#include "framework/color_table.h"
#include "framework/geometry.h"
#include "framework/lock.h"
#include "framework/pulse_task.h"
#include "framework/thread.h"
#include "media/rectangle_list.h"
#include "media/transition_effect.h"

class AFApplication;
class MMBaseScene;
class MMControlSurface;
class MMEnclosure;
class MMMouseInterpreter;
class MMRunQueue;
class MMScene;
class MMSoundManager;
class MMStage;
class MMStageControl;
class MMStageCursorSet;
class MMStageWindow;
class MMTopEnclosure;
class MMTransitionEffect;
class WinMMOffscreenSurface;


class MMStageThread : public ALUserThread {
public:
    explicit MMStageThread(MMStage* stage) : stage_(stage) {}
    void Run() override;

private:
    MMStage* stage_;
};

enum MMShowState : int32_t {
    kShowNormal = 0,
    kShowFirstStep = 1,
    kShowWaitingForPaint = 2,
    kShowFirstTick = 3,
};

class MMStage {
public:
    // soundManager, topEnclosure, runQueue and cursors may be null: the stage
    // then makes its own (the sound manager for the window's handle).
    MMStage(MMStageWindow* window, const Box& stageBox, int32_t bitsPerPixel,
            MMSoundManager* soundManager, MMTopEnclosure* topEnclosure, MMRunQueue* runQueue,
            MMStageCursorSet* cursors);
    virtual ~MMStage();
    MMStage(const MMStage&) = delete;
    MMStage& operator=(const MMStage&) = delete;

    virtual void ThreadMain();                                             // 1
    virtual bool HasCommand(int32_t id);                                   // 2
    virtual MMStageControl* CreateControl(MMStageWindow* window, const Box& box);  // 3
    virtual void ThreadStart();                                            // 4
    virtual void Loop();                                                   // 5
    virtual void ThreadEnd();                                              // 6
    virtual void Step();                                                   // 7
    virtual void ChangeSceneOrDispatch();                                  // 8
    virtual void RunDueTasks();                                            // 9
    virtual void RedrawDirty();                                            // 10
    virtual void FrameTick();                                              // 11
    virtual void NextInputEvent();                                         // 12
    virtual void DispatchEvent(const MMStageEvent& event);                 // 13
    virtual void DispatchMouseEvent(const MMStageEvent& event);            // 14
    virtual void StoreEvent(const MMStageEvent& event);                    // 15
    virtual void HandleMenuCommand(int32_t id);                            // 16
    virtual void HandleKey(uint32_t keyData);                              // 17

    // Life (UI thread).
    bool StartWithScene(MMBaseScene* scene);
    // Stops the stage thread and waits for its end. Normally without a time
    // limit; with one, false when the thread has not ended in that time (the
    // stage then goes on as before: a request of a stop that gave up is
    // never accepted later).
    bool StopThread(DWORD timeout = INFINITE);
    // True once the stage thread found that its control window could not be
    // made; it ended at once with the error pending.
    bool StartFailed() const { return startFailed_; }
    void AddScene(MMBaseScene* scene);
    void RemoveScene(MMBaseScene* scene);
    // False when the offscreen surface could not be made.
    bool IsUsable() const { return offscreen_ != nullptr; }

    // Scene changes.
    void SetPendingScene(MMBaseScene* scene, MMTransitionEffect* transition,
                         const MMColorTable* colorTable);
    MMCommand* MakeChangeSceneCommand(MMBaseScene* scene, MMTransitionEffect* transition,
                                      const MMColorTable* colorTable);
    MMCommand* MakeQuitCommand(AFApplication* application);

    void Pause() { ++pauseCount_; }
    void Resume() { --pauseCount_; }
    bool IsPaused() const { return paused_; }
    int32_t PauseCount() const { return pauseCount_; }

    void Invalidate(const Box& box);
    void InvalidateList(const MMRectangleList& list);
    // The next blit of what changed goes to the screen through this effect
    // (a scene's own transition between two of its pictures).
    void SetNextBlitTransition(MMTransitionEffect* transition) { sceneTransition_ = transition; }
    MMTransitionEffect* NextBlitTransition() const { return sceneTransition_; }

    // Menu commands (any thread, under the lock).
    void BindMenuCommand(int32_t id, MMCommand* command);
    void UnbindMenuCommand(int32_t id);
    bool HasMenuCommand(int32_t id);

    // Input (the stage control side).
    void QueueInputEvent(const MMStageEvent& event);
    void QueuePointerSample(const MMPointerSample& sample);
    void EnableTablet(bool on);
    bool SetPointerSamplingMode(bool on);
    bool IsTabletEnabled() const;
    bool IsPointerSampling() const;
    void HandlePaint();
    // The stop request of WM_APP + 8, on the stage thread; `ticket` is the
    // request's wParam.
    bool RequestStop(WPARAM ticket);

    void SetEnteredEnclosure(MMMouseInterpreter* interpreter, MMEnclosure* enclosure);
    bool IsOnStageThread() const;
    bool HasTabletContext() const;

    // Accessors.
    MMStageWindow* Window() const { return window_; }
    MMStageControl* Control() const { return control_; }
    MMStageThread* Thread() const { return thread_; }
    MMBaseScene* Scene() const { return scene_; }
    MMBaseScene* PendingScene() const { return pendingScene_; }
    const Box& StageBox() const { return stageBox_; }
    int32_t StageTime() const { return stageTime_; }
    MMRunQueue* RunQueue() const { return runQueue_; }
    MMStageCursorSet* Cursors() const { return cursors_; }
    MMSoundManager* SoundManager() const { return soundManager_; }
    MMTopEnclosure* TopEnclosure() const { return topEnclosure_; }
    WinMMOffscreenSurface* Offscreen() const { return offscreen_; }
    MMControlSurface* ControlSurface() const { return controlSurface_; }
    MMMouseInterpreter* PointerInterpreter() const { return pointerInterpreter_; }
    MMEnclosure* PointerEnclosure() const { return pointerEnclosure_; }
    bool Captured() const { return captured_; }
    const MMStageEvent& CurrentEvent() const { return currentEvent_->value; }
    MMSharedStuff<MMStageEvent>* CurrentEventRecord() const { return currentEvent_; }
    MMInputRing& InputRing() { return inputRing_; }
    MMPenRing& PenRing() { return penRing_; }
    const MMRectangleList& DirtyList() const { return dirtyList_; }
    const MMRectangleList& PaintList() const { return paintList_; }
    int32_t ShowState() const { return showState_; }
    bool InStep() const { return inStep_; }
    bool Drawing() const { return drawing_; }
    bool QuitRequested() const { return quit_; }
    const std::vector<MMBaseScene*>& Scenes() const { return scenes_; }
    AFPulseTaskManager& PulseManager() { return pulseManager_; }

    // The engine clock the stage reads (ElapsedMilliseconds unless a test
    // gives its own).
    void SetClock(MMClockSource clock)
    {
        clock_ = clock;
        cut_.SetClock(clock);
    }
    uint32_t Now() const { return clock_(); }
    // Stage time 0 is now (the stage thread's start does this).
    void StartClock()
    {
        LockHolder hold(&lock_);
        clockOrigin_ = int32_t(Now());
    }
    // Stage time of a moment on the engine clock; frozen while paused.
    int32_t StageTimeAt(uint32_t now) const;

protected:
    static DWORD TimeLeft(DWORD start, DWORD timeout);
    bool WaitForThreadEnd(DWORD start, DWORD timeout);
    void Blit();
    // Ends the current scene and deletes the control, on the stage thread.
    void FinishStop();
    void SetCurrentEvent(const MMStageEvent& event);

    MMStageWindow* window_;
    MMStageControl* volatile control_ = nullptr;
    MMStageControl* retiredControl_ = nullptr;
    // The control's window while the stage thread takes stop requests.
    HWND volatile controlWindow_ = nullptr;
    MMStageThread* thread_ = nullptr;
    std::vector<MMBaseScene*> scenes_;
    Box stageBox_;
    volatile bool quit_ = false;
    volatile bool startFailed_ = false;
    // Tickets of the stop requests: the last one handed out, and the one
    // that the stage may still accept (0: none).
    volatile LONG lastStopTicket_ = 0;
    volatile LONG openStopTicket_ = 0;
    int32_t pauseCount_ = 0;
    bool paused_ = false;
    int32_t clockOrigin_ = INT32_MAX;
    int32_t pauseStart_ = INT32_MAX;
    int32_t stageTime_ = 0;
    volatile int32_t showState_ = kShowFirstStep;
    volatile bool inStep_ = false;
    bool drawing_ = true;
    bool hasPendingScene_ = false;
    MMBaseScene* pendingScene_ = nullptr;
    MMTransitionEffect* pendingTransition_ = nullptr;
    MMColorTable pendingColorTable_;
    bool pendingHasColorTable_ = false;
    MMInputRing inputRing_;
    MMSharedStuff<MMStageEvent>* currentEvent_;
    MMSharedHolder currentEventHolder_;
    bool captured_ = false;
    MMBaseScene* scene_ = nullptr;
    MMTransitionEffect* sceneTransition_ = nullptr;
    MMColorTable colorTable_;
    bool colorTablePending_ = false;
    MMMouseInterpreter* pointerInterpreter_ = nullptr;
    MMEnclosure* pointerEnclosure_ = nullptr;
    MMRectangleList dirtyList_;
    MMRectangleList paintList_;
    MMControlSurface* controlSurface_ = nullptr;
    WinMMOffscreenSurface* offscreen_ = nullptr;
    MMTopEnclosure* topEnclosure_ = nullptr;
    MMRunQueue* runQueue_ = nullptr;
    MMSoundManager* soundManager_ = nullptr;
    MMStageCursorSet* cursors_ = nullptr;
    Lock lock_;
    MMCommandSet menuCommands_;
    int32_t lastSampleX_ = 0;
    int32_t lastSampleY_ = 0;
    int16_t lastSampleCursor_ = 0;
    int16_t lastSamplePressure_ = -1;
    MMPenRing penRing_;
    AFPulseTaskManager pulseManager_;
    MMClockSource clock_;
    // The plain copy of every frame that no scene change's effect takes.
    MMTransitionCut cut_;
};

// "change scene": sets the stage's pending scene when it runs.
class MMChangeSceneCommand : public MMCommand {
public:
    MMChangeSceneCommand(MMStage* stage, MMBaseScene* scene, MMTransitionEffect* transition,
                         const MMColorTable* colorTable);
    MMCommand* Clone() const override { return new MMChangeSceneCommand(*this); }
    void Perform() override;

private:
    MMBaseScene* scene_;
    MMTransitionEffect* transition_;
    MMColorTable colorTable_;
    bool hasColorTable_;
};

// The stop request the UI thread sends to the stage control.
const UINT kStageStopMessage = WM_APP + 8;  // 0x8008
// How long StopThread lets a running step go on before asking again.
const DWORD kStopRetryDelay = 10;
