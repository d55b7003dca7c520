#include "engine/stage.h"

#include <algorithm>

#include "engine/enclosure.h"
#include "engine/mouse_interpreter.h"
#include "engine/resource_collection.h"
#include "engine/run_queue.h"
#include "engine/scene.h"
#include "engine/stage_control.h"
#include "engine/stage_cursors.h"
#include "engine/stage_window.h"
#include "framework/application.h"
#include "framework/folders.h"
#include "framework/pending_error.h"
#include "media/offscreen_surface.h"
#include "media/sound/sound_manager.h"

void MMStageThread::Run() { stage_->ThreadMain(); }

namespace {
const MMStageEvent kInitialEvent = {kStageEventPointerLeft, 0, 0, -1, -1, 0};
}

MMStage::MMStage(MMStageWindow* window, const Box& stageBox, int32_t bitsPerPixel,
                 MMSoundManager* soundManager, MMTopEnclosure* topEnclosure, MMRunQueue* runQueue,
                 MMStageCursorSet* cursors)
    : window_(window), stageBox_(stageBox),
      currentEvent_(new MMSharedStuff<MMStageEvent>(kInitialEvent)), topEnclosure_(topEnclosure),
      runQueue_(runQueue), soundManager_(soundManager), cursors_(cursors),
      clock_(ElapsedMilliseconds)
{
    currentEventHolder_.Attach(currentEvent_);
    InitLock(&lock_);
    Box surfaceBox = {0, 0, stageBox.Width(), stageBox.Height()};
    offscreen_ = MMSurface::CreateBitmapDC(bitsPerPixel, surfaceBox, nullptr);
    if (!offscreen_)
        return;
    if (!topEnclosure_)
        topEnclosure_ = new MMTopEnclosure(this);
    topEnclosure_->SetSurface(offscreen_);
    thread_ = new MMStageThread(this);
    if (!cursors_)
        cursors_ = new MMStageCursorSet(this);
    if (window_)
        window_->SetStage(this);
    if (!soundManager_)
        soundManager_ = new MMSoundManager(window_ ? window_->window : nullptr);
    if (!runQueue_)
        runQueue_ = new MMRunQueue;
}

MMStage::~MMStage()
{
    // Normally the stage window has stopped the thread already; a stage
    // deleted without one must not leave its thread behind.
    StopThread();
    while (!scenes_.empty()) {
        MMBaseScene* first = scenes_.front();
        delete first;
        if (!scenes_.empty() && scenes_.front() == first)
            scenes_.erase(scenes_.begin());
    }
    delete runQueue_;
    delete soundManager_;
    inputRing_.Clear();
    delete cursors_;
    if (offscreen_)
        offscreen_->Dispose();
    delete topEnclosure_;
    delete thread_;
    {
        LockHolder hold(&lock_);
        menuCommands_.Clear();
    }
    DeleteLock(&lock_);
    currentEventHolder_.Detach();
}

bool MMStage::StartWithScene(MMBaseScene* scene)
{
    SetPendingScene(scene, nullptr, nullptr);
    if (!thread_)
        return false;
    thread_->Resume();
    return true;
}

// Asks the stage thread to stop until it accepts, but only while there is a
// live thread and a control window to ask; otherwise the loop is told
// directly. A thread that never started is started just to end at once.
// While it waits, this thread keeps answering the messages the stage thread
// sends it: tearing down the control window notifies its parent, which lives
// here, and a step may be waiting on this thread when the request arrives.
bool MMStage::StopThread(DWORD timeout)
{
    if (!thread_)
        return true;
    DWORD start = GetTickCount();
    if (!thread_->started) {
        quit_ = true;
        thread_->Resume();
        return WaitForThreadEnd(start, timeout);
    }
    // Each call's requests carry a ticket of their own, so that a request
    // still queued after this call gave up can never be accepted later.
    LONG ticket = InterlockedIncrement(&lastStopTicket_);
    if (ticket == 0)
        ticket = InterlockedIncrement(&lastStopTicket_);
    InterlockedExchange(&openStopTicket_, ticket);
    while (thread_->State() == kThreadRunning) {
        // Only the handle: the stage thread may delete the control object
        // at any moment once a request has been accepted.
        HWND hwnd = controlWindow_;
        if (!hwnd || !IsWindow(hwnd)) {
            // No control window to ask (not made yet, or it failed): the
            // loop sees the flag and ends by itself.
            quit_ = true;
            break;
        }
        DWORD left = TimeLeft(start, timeout);
        if (left == 0) {
            // Given up, unless the stage took the request meanwhile.
            if (InterlockedCompareExchange(&openStopTicket_, 0, ticket) == ticket)
                return false;
            break;
        }
        DWORD_PTR accepted = 0;
        if (timeout == INFINITE)
            accepted = SendMessageA(hwnd, kStageStopMessage, WPARAM(ticket), 0);
        else
            SendMessageTimeoutA(hwnd, kStageStopMessage, WPARAM(ticket), 0, SMTO_NORMAL, left,
                                &accepted);
        if (accepted)
            break;
        // A step is running: let it go on for a while before asking again.
        WaitForThreadEnd(GetTickCount(), std::min<DWORD>(kStopRetryDelay, TimeLeft(start, timeout)));
    }
    return WaitForThreadEnd(start, timeout);
}

DWORD MMStage::TimeLeft(DWORD start, DWORD timeout)
{
    if (timeout == INFINITE)
        return INFINITE;
    DWORD spent = GetTickCount() - start;
    return spent >= timeout ? 0 : timeout - spent;
}

bool MMStage::WaitForThreadEnd(DWORD start, DWORD timeout)
{
    HANDLE handle = thread_->handle;
    if (!handle)
        return true;
    for (;;) {
        DWORD left = TimeLeft(start, timeout);
        DWORD woken = MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0)
            return true;
        if (woken != WAIT_OBJECT_0 + 1)
            return false;
        // Runs the messages sent to this thread; posted ones stay queued.
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

void MMStage::AddScene(MMBaseScene* scene) { scenes_.push_back(scene); }

void MMStage::RemoveScene(MMBaseScene* scene)
{
    scenes_.erase(std::remove(scenes_.begin(), scenes_.end(), scene), scenes_.end());
    if (pendingScene_ == scene) {
        pendingScene_ = nullptr;
        hasPendingScene_ = false;
    }
}

void MMStage::SetPendingScene(MMBaseScene* scene, MMTransitionEffect* transition,
                              const MMColorTable* colorTable)
{
    pendingScene_ = scene;
    pendingTransition_ = transition;
    pendingHasColorTable_ = colorTable != nullptr;
    if (colorTable)
        pendingColorTable_.Assign(*colorTable);
    hasPendingScene_ = true;
}

MMCommand* MMStage::MakeChangeSceneCommand(MMBaseScene* scene, MMTransitionEffect* transition,
                                           const MMColorTable* colorTable)
{
    return new MMChangeSceneCommand(this, scene, transition, colorTable);
}

MMCommand* MMStage::MakeQuitCommand(AFApplication* application)
{
    return new MMClassCommand<AFApplication>("quit", this, application, &AFApplication::Quit);
}

void MMStage::Invalidate(const Box& box) { dirtyList_.Add(box); }

void MMStage::InvalidateList(const MMRectangleList& list) { dirtyList_.AddList(list); }

void MMStage::BindMenuCommand(int32_t id, MMCommand* command)
{
    LockHolder hold(&lock_);
    menuCommands_.Add(id, command);
}

void MMStage::UnbindMenuCommand(int32_t id)
{
    LockHolder hold(&lock_);
    menuCommands_.Remove(id);
}

bool MMStage::HasCommand(int32_t id) { return HasMenuCommand(id); }

bool MMStage::HasMenuCommand(int32_t id)
{
    LockHolder hold(&lock_);
    return menuCommands_.Find(id) != nullptr;
}

int32_t MMStage::StageTimeAt(uint32_t now) const
{
    if (clockOrigin_ == INT32_MAX)
        return 0;
    // While paused the stage clock stands at the moment the pause began.
    if (paused_)
        return pauseStart_ - clockOrigin_;
    return int32_t(now) - clockOrigin_;
}

void MMStage::ThreadMain()
{
    if (quit_)
        return;
    ThreadStart();
    if (startFailed_)
        return;
    Loop();
    ThreadEnd();
}

MMStageControl* MMStage::CreateControl(MMStageWindow* window, const Box& box)
{
    return new MMStageControl(window, box, this);
}

void MMStage::ThreadStart()
{
    GdiSetBatchLimit(1);
    HWND stageWindow = window_ ? window_->window : nullptr;
    if (stageWindow)
        AttachThreadInput(GetCurrentThreadId(), GetWindowThreadProcessId(stageWindow, nullptr),
                          TRUE);
    control_ = CreateControl(window_, stageBox_);
    controlWindow_ = control_ ? control_->Window() : nullptr;
    if (!controlWindow_) {
        // Without its window the control never registers with the stage
        // window, which could then never close: the start fails instead.
        DWORD error = GetLastError();
        delete control_;
        control_ = nullptr;
        startFailed_ = true;
        quit_ = true;
        SetPendingError(AFE_FAILURE_WITHOUT_ERROR, FSDirectory(), "", int32_t(error));
        return;
    }
    controlSurface_ = new MMControlSurface(control_->Window(), window_ ? window_->palette : nullptr);
    if (soundManager_)
        soundManager_->Enable();
    StartClock();
    control_->Show(true);
}

void MMStage::Loop()
{
    while (!quit_) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            HACCEL table = window_ ? window_->accelerators : nullptr;
            if (!table || !TranslateAcceleratorA(window_->window, table, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            if (quit_ || !inputRing_.IsEmpty())
                break;
        }
        if (quit_)
            break;
        Step();
    }
    FinishStop();
}

void MMStage::FinishStop()
{
    if (scene_) {
        scene_->DeleteMolecules();
        scene_ = nullptr;
    }
    MMStageControl* control = control_ ? control_ : retiredControl_;
    controlWindow_ = nullptr;
    control_ = nullptr;
    retiredControl_ = nullptr;
    delete control;
}

void MMStage::ThreadEnd()
{
    if (soundManager_)
        soundManager_->Disable();
    if (controlSurface_) {
        controlSurface_->Dispose();
        controlSurface_ = nullptr;
    }
}

void MMStage::Step()
{
    inStep_ = true;
    switch (showState_) {
    case kShowNormal:
        ChangeSceneOrDispatch();
        RunDueTasks();
        drawing_ = true;
        RedrawDirty();
        FrameTick();
        drawing_ = false;
        break;
    case kShowFirstStep:
        ChangeSceneOrDispatch();
        RunDueTasks();
        drawing_ = true;
        RedrawDirty();
        if (control_ && control_->owner)
            control_->owner->Show(true);
        showState_ = kShowWaitingForPaint;
        break;
    case kShowFirstTick:
        FrameTick();
        drawing_ = false;
        showState_ = kShowNormal;
        break;
    default:
        break;
    }
    inStep_ = false;
}

void MMStage::ChangeSceneOrDispatch()
{
    if (paused_)
        return;
    if (!hasPendingScene_) {
        stageTime_ = StageTimeAt(Now());
        NextInputEvent();
        return;
    }
    if (cursors_)
        cursors_->PushBusy();
    if (scene_) {
        // The interpreter under the pointer goes with the leaving scene's
        // molecules: the next event must not reach it, nor tell it it lost
        // the pointer once it is gone.
        pointerInterpreter_ = nullptr;
        pointerEnclosure_ = nullptr;
        captured_ = false;
        scene_->DeleteMolecules();
        MMPurgeUnusedResources();
    }
    scene_ = pendingScene_;
    sceneTransition_ = pendingTransition_;
    colorTablePending_ = pendingHasColorTable_;
    colorTable_.Assign(pendingColorTable_);
    hasPendingScene_ = false;
    pendingScene_ = nullptr;
    pendingTransition_ = nullptr;
    pendingHasColorTable_ = false;
    stageTime_ = StageTimeAt(Now());
    if (scene_) {
        scene_->Begin();
        MMLockAllCollections();
    }
    if (cursors_)
        cursors_->PopBusy();
}

void MMStage::RunDueTasks()
{
    if (!paused_ && runQueue_)
        runQueue_->RunOnce();
}

void MMStage::RedrawDirty()
{
    if (paused_ || dirtyList_.IsEmpty())
        return;
    dirtyList_.SortByTopLeft();
    if (colorTablePending_ && offscreen_)
        offscreen_->SetColorTable(colorTable_);
    if (topEnclosure_)
        topEnclosure_->Redraw(dirtyList_);
}

void MMStage::FrameTick()
{
    bool pausing = pauseCount_ > 0 && !paused_;
    bool resuming = pauseCount_ == 0 && paused_;
    if (resuming) {
        LockHolder hold(&lock_);
        paused_ = false;
        clockOrigin_ += int32_t(Now()) - pauseStart_;
    }
    if (pausing) {
        if (soundManager_)
            soundManager_->Suspend();
        if (scene_)
            scene_->NotifyStagePaused();
    } else if (resuming) {
        if (soundManager_)
            soundManager_->Resume();
        if (scene_)
            scene_->NotifyStageResumed();
    }
    Blit();
    stageTime_ = StageTimeAt(Now());
    if (!paused_) {
        if (!resuming && scene_)
            scene_->NotifyFrameStarting();
        if (soundManager_)
            soundManager_->Service();
        stageTime_ = StageTimeAt(Now());
        if (!pausing && scene_)
            scene_->NotifyFrameDone();
    }
    if (pausing) {
        LockHolder hold(&lock_);
        pauseStart_ = int32_t(Now());
        paused_ = true;
    }
}

void MMStage::Blit()
{
    if (paintList_.IsEmpty() && dirtyList_.IsEmpty())
        return;
    if (colorTablePending_) {
        Box whole = controlSurface_ ? controlSurface_->GetBounds() : stageBox_;
        whole.Offset(Pair{-whole.left, -whole.top});
        paintList_.Add(whole);
    } else {
        paintList_.AddList(dirtyList_);
    }
    dirtyList_.Clear();
    if (!paintList_.IsEmpty()) {
        const MMColorTable* table = colorTablePending_ ? &colorTable_ : nullptr;
        colorTablePending_ = false;
        MMTransitionEffect* transition = sceneTransition_;
        sceneTransition_ = nullptr;
        if (controlSurface_ && offscreen_) {
            if (transition) {
                transition->Run(controlSurface_, offscreen_, paintList_.Bounds(), table);
            } else {
                for (const Box& box : paintList_)
                    cut_.Run(controlSurface_, offscreen_, box, table);
            }
        }
    }
    paintList_.Clear();
}

void MMStage::NextInputEvent()
{
    MMStageEvent event;
    if (!inputRing_.TakeFront(&event)) {
        event = CurrentEvent();
        event.data &= kPointerRepeatMask;
    }
    DispatchEvent(event);
}

void MMStage::DispatchEvent(const MMStageEvent& event)
{
    switch (event.type) {
    case kStageEventPointer: DispatchMouseEvent(event); break;
    case kStageEventPointerLeft: StoreEvent(event); break;
    case kStageEventMenuCommand: HandleMenuCommand(int32_t(event.data)); break;
    case kStageEventKey: HandleKey(event.data); break;
    default: break;
    }
}

void MMStage::SetCurrentEvent(const MMStageEvent& event)
{
    currentEvent_->BeginChange();
    currentEvent_->value = event;
    currentEvent_->EndChange();
}

void MMStage::DispatchMouseEvent(const MMStageEvent& event)
{
    SetCurrentEvent(event);
    if (!scene_)
        return;
    if (!captured_) {
        MMMouseInterpreter* interpreter = nullptr;
        MMEnclosure* enclosure = nullptr;
        if (!scene_->FindTarget(event, &interpreter, &enclosure) || !interpreter) {
            interpreter = nullptr;
            enclosure = nullptr;
        }
        SetEnteredEnclosure(interpreter, enclosure);
    }
    if (!pointerInterpreter_) {
        captured_ = false;
        return;
    }
    MMStageEvent local = event;
    if (pointerEnclosure_) {
        Pair point = {event.x, event.y};
        pointerEnclosure_->PointFromStage(point);
        local.x = point.x;
        local.y = point.y;
    }
    captured_ = pointerInterpreter_->Interpret(local);
}

void MMStage::StoreEvent(const MMStageEvent& event) { SetCurrentEvent(event); }

void MMStage::HandleMenuCommand(int32_t id)
{
    if (scene_ && scene_->HandleMenuCommand(id))
        return;
    LockHolder hold(&lock_);
    menuCommands_.Post(id);
}

void MMStage::HandleKey(uint32_t keyData)
{
    if (scene_)
        scene_->HandleKey(keyData);
}

void MMStage::SetEnteredEnclosure(MMMouseInterpreter* interpreter, MMEnclosure* enclosure)
{
    if (interpreter == pointerInterpreter_)
        return;
    MMMouseInterpreter* old = pointerInterpreter_;
    pointerInterpreter_ = interpreter;
    pointerEnclosure_ = enclosure;
    captured_ = false;
    if (old)
        old->CaptureLost();
    if (interpreter)
        interpreter->CurrentCursor();
    else if (cursors_)
        cursors_->SetCursor(cursors_->Arrow());
}

// Refused while a step runs (the sender asks again); the control itself is
// deleted once its window procedure has returned, when the loop ends.
bool MMStage::RequestStop(WPARAM ticket)
{
    if (inStep_)
        return false;
    // Only the request of a stop that still waits for it, and only once.
    if (ticket == 0 ||
        InterlockedCompareExchange(&openStopTicket_, 0, LONG(ticket)) != LONG(ticket))
        return false;
    quit_ = true;
    if (scene_) {
        scene_->DeleteMolecules();
        scene_ = nullptr;
    }
    retiredControl_ = control_;
    controlWindow_ = nullptr;
    control_ = nullptr;
    return true;
}

void MMStage::QueueInputEvent(const MMStageEvent& event)
{
    MMStageEvent copy = event;
    {
        // The UI thread queues menu commands while the stage thread may be
        // pausing or resuming the clock.
        LockHolder hold(&lock_);
        copy.stageTime = StageTimeAt(Now());
    }
    inputRing_.Push(copy);
}

void MMStage::QueuePointerSample(const MMPointerSample& sample)
{
    if (sample.x == lastSampleX_ && sample.y == lastSampleY_ &&
        sample.pressure == lastSamplePressure_)
        return;
    lastSampleX_ = sample.x;
    lastSampleY_ = sample.y;
    lastSampleCursor_ = sample.cursor;
    lastSamplePressure_ = sample.pressure;
    penRing_.Push(sample);
}

void MMStage::EnableTablet(bool on)
{
    if (!IsPointerSampling() && on)
        lastSamplePressure_ = -1;
    if (control_)
        control_->EnableTablet(on);
}

bool MMStage::SetPointerSamplingMode(bool on)
{
    return control_ ? control_->SetPointerSamplingMode(on) : false;
}

bool MMStage::IsTabletEnabled() const { return control_ && control_->TabletEnabled(); }
bool MMStage::IsPointerSampling() const { return control_ && control_->SamplingOn(); }

void MMStage::HandlePaint()
{
    MMStageControl* control = control_ ? control_ : retiredControl_;
    HWND hwnd = control ? control->Window() : nullptr;
    if (!hwnd)
        return;
    PAINTSTRUCT paint;
    if (BeginPaint(hwnd, &paint)) {
        Box box = {paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right,
                   paint.rcPaint.bottom};
        if (drawing_)
            paintList_.Add(box);
        else if (controlSurface_ && offscreen_ && !box.IsEmpty())
            controlSurface_->CopyFromOffscreen(*offscreen_, box);
    }
    EndPaint(hwnd, &paint);
    if (showState_ == kShowWaitingForPaint)
        showState_ = kShowFirstTick;
    else if (showState_ == kShowFirstStep)
        showState_ = kShowNormal;
}

bool MMStage::IsOnStageThread() const { return thread_ && ALThread::Current() == thread_; }

bool MMStage::HasTabletContext() const { return control_ && control_->TabletContext() != nullptr; }

MMChangeSceneCommand::MMChangeSceneCommand(MMStage* stage, MMBaseScene* scene,
                                           MMTransitionEffect* transition,
                                           const MMColorTable* colorTable)
    : MMCommand("change scene", stage, -1), scene_(scene), transition_(transition),
      hasColorTable_(colorTable != nullptr)
{
    if (colorTable)
        colorTable_.Assign(*colorTable);
}

void MMChangeSceneCommand::Perform()
{
    if (stage_)
        stage_->SetPendingScene(scene_, transition_, hasColorTable_ ? &colorTable_ : nullptr);
}
