#include "selection/chalk_talk_scene.h"

#include "engine/animation_molecule.h"
#include "engine/picture_molecule.h"
#include "media/sound/logical_sound_channel.h"
#include "selection/magic_slate_tool_collection.h"
#include "selection/chalk_talk_tables.h"
#include "shell/app.h"
#include "shell/closing_credits.h"
#include "shell/widgets/animated_button.h"
#include "shell/widgets/quit_button.h"

using namespace chalk_talk;

void ChalkTalkScene::HandleEvent(int16_t event, int16_t v)
{
    if (timer)
        timer->Restart();
    MagicSlateStore* store = canvas ? &canvas->Store() : nullptr;
    switch (event) {
    case kChalkStart:
        PostEvent(kChalkWaitForLesson, -1);
        break;
    case kChalkWaitForLesson:
        SetTimer(kDelayFirstLessonKey, kChalkOfferLesson, 0);
        PlaySound(narration, SoundAt(5));
        ClearBusy();
        break;
    case kChalkLeave:
        ClearBusy();
        if (gApp)
            gApp->ChangeScene(stage_, kSceneCreation, nullptr);
        break;
    case kChalkGoOn:
        if (store && !store->IsRunning()) {
            bool sounding = narration && narration->IsActive();
            StopSound(narration);
            if (sounding && continueFlag && timer)
                timer->Fire();
        }
        if (intro && intro->IsRunning()) {
            intro->Stop();
            PostEvent(kChalkWaitForLesson, -1);
        }
        if (preview && preview->IsRunning())
            preview->Stop();
        if (teacher && !reward && StepShown()) {
            if (canvas)
                canvas->SelectFrame(StepShown()->frame);
            teacher->Restart(12);
        }
        break;
    case kChalkLessonPressed:
        if (StepShown() && canvas)
            canvas->SelectFrame(StepShown()->frame);
        AppPreparedSlateStrokes().clear();
        if (store) {
            store->ClearAll();
            store->Stop();
        }
        ShowCanvas(false);
        if (intro)
            intro->Stop();
        if (timer)
            timer->Terminate();
        StopSound(narration);
        StopSound(music);
        DeleteAnimation(teacher);
        DeleteAnimation(reward);
        DeleteAnimation(preview);
        for (MMPictureButtonMolecule* button : stepButtons)
            button->Hide();
        if (decoration)
            decoration->Show();
        for (KVXAnimatedButtonMolecule* arrow : arrows)
            if (arrow)
                arrow->SetDisabled(true);
        MarkLesson(v, true);
        break;
    case kChalkOfferLesson:
        if (v >= 0 && v < LessonCount())
            lessonButtons[v]->Show();
        StopSound(narration);
        MarkLesson(v, true);
        break;
    case kChalkLessonChosen:
        currentLesson = v;
        LoadLesson(v);
        PostEvent(kChalkPreview, v);
        break;
    case kChalkPreview: {
        RemoveInterpreter();
        if (timer)
            timer->Terminate();
        if (lesson)
            lesson->StorePreview();
        MMRecordTable lessonRows;
        lessonRows.LoadTenByteRows(lessonTable, 1);
        int32_t loopRow = lessonRows.FindRowByKey(kLessonKeyLoops);
        if (store) {
            store->SetLooping(loopRow >= 0 && lessonRows.ShortAt(loopRow, 2) != 0);
            store->SetPaused(false);
            store->Start();
        }
        ShowCanvas(true);
        int32_t previewRow = lessonRows.FindRowByKey(kLessonKeyPreview);
        DeleteAnimation(preview);
        preview = Animate(previewRow >= 0 ? lessonRows.LongAt(previewRow, 2) : -1, kTeacherLayer,
                          kChalkPreviewOver, v);
        if (!preview)
            PostEvent(kChalkPreviewOver, v);
        break;
    }
    case kChalkScroll:
        displayedStep = int16_t(displayedStep + v);
        if (displayedStep < 0)
            displayedStep = 0;
        if (displayedStep >= int16_t(stepButtons.size()))
            displayedStep = int16_t(stepButtons.size() - 1);
        ArrangeStepButtons();
        break;
    case kChalkStep: {
        if (!lesson)
            break;
        if (store)
            store->Stop();
        StopSound(narration);
        StopSound(music);
        if (timer)
            timer->Terminate();
        DeleteAnimation(reward);
        DeleteAnimation(teacher);
        lesson->GoToStep(v);
        if (v < lesson->StepCount() - 1) {
            ShowCanvas(true);
            displayedStep = v;
            ArrangeStepButtons();
            SetUpStep(v);
            continueFlag = true;
        } else {
            ShowCanvas(true);
            displayedStep = v;
            ArrangeStepButtons();
            PostEvent(kChalkStepDone, v);
        }
        break;
    }
    case kChalkPlay:
        if (store) {
            store->SetPaused(false);
            store->Start();
        }
        break;
    case kChalkBuildSteps:
        BuildStepButtons(v);
        break;
    case kChalkPreviewOver:
        ShowCanvas(false);
        if (store) {
            store->ClearAll();
            store->Stop();
        }
        continueFlag = false;
        MarkLesson(currentLesson, false);
        if (lesson)
            SetTimer(kDelayNextStepKey, kChalkStep, lesson->CurrentStep());
        PlaySound(narration, SoundAt(5));
        PostEvent(kChalkBuildSteps, v);
        PostEvent(kChalkDeletePreview, -1);
        break;
    case kChalkDeletePreview:
        DeleteAnimation(preview);
        break;
    case kChalkDeleteTeacher:
        DeleteAnimation(teacher);
        break;
    case kChalkStepDone:
        if (lesson && lesson->CurrentStep() < lesson->StepCount() - 2) {
            SetTimer(kDelayNextStepKey, kChalkStep, int16_t(lesson->CurrentStep() + 1));
        } else {
            PostEvent(kChalkPlay, -1);
            MMRecordTable lessonRows;
            lessonRows.LoadTenByteRows(lessonTable, 1);
            int32_t r = lessonRows.FindRowByKey(kLessonKeyMusic);
            PlaySound(music, r >= 0 ? lessonRows.LongAt(r, 2) : -1);
            r = lessonRows.FindRowByKey(kLessonKeySound);
            PlaySound(narration, r >= 0 ? lessonRows.LongAt(r, 2) : -1);
            CopyToPrepared();
        }
        RemoveInterpreter();
        PostEvent(kChalkDeleteTeacher, -1);
        break;
    case kChalkChildMayDraw:
        ClearBusy();
        childHasDrawn = restartHeld = strokeStored = false;
        ShowCanvas(true);
        if (StepShown() && canvas) {
            canvas->SelectFrame(StepShown()->frame);
            canvas->SelectChannel(StepShown()->channel);
            InstallInterpreter(StepShown()->kind);
        }
        break;
    case kChalkAskChild:
        if (childHasDrawn) {
            ClearBusy();
            if (strokeStored)
                RestartTeacher(2);
            else
                restartHeld = true;
        } else {
            DeleteAnimation(reward);
            reward = Animate(PickOne(rewardScripts), kRewardLayer, kChalkRewardOver, v);
            if (!reward)
                PostEvent(kChalkRewardOver, v);
            RemoveInterpreter();
        }
        break;
    case kChalkRewardOver:
        DeleteAnimation(reward);
        if (teacher && StepShown()) {
            lesson->StoreGuide(lesson->CurrentStep());
            if (canvas) {
                canvas->SelectFrame(StepShown()->frame);
                canvas->Invalidate();
            }
            if (lesson->CurrentStep() >= lesson->StepCount() - 2)
                CopyToPrepared();
            RestartTeacher(33);
        } else {
            PostEvent(kChalkDeleteTeacher, -1);
        }
        break;
    case kChalkQuit:
        ClearBusy();
        if (!quitButton)
            break;
        quitButton->SetState(false);
        // The credits post the end event as they end, and delete themselves.
        new ClosingCreditsMolecule(quitButton, new ChalkTalkEventCommand(this, kChalkCreditsOver, -1));
        break;
    case kChalkCreditsOver:
        if (quitButton)
            quitButton->SetState(true);
        break;
    default:
        break;
    }
}
