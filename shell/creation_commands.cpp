// The painting screen's commands: a new picture, the flush, undo, the
// texture, the exit and the way to the sketchbooks.
#include "canvas/canvas_visual.h"
#include "engine/command.h"
#include "engine/molecule.h"
#include "engine/stage.h"
#include "engine/stage_cursors.h"
#include "framework/random.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "selection/slate_store.h"
#include "shell/app.h"
#include "shell/creation_parts.h"
#include "shell/creation_scene.h"
#include "shell/radio.h"
#include "shell/registry_settings.h"
#include "shell/widgets/animated_button.h"

void CreationScene::TellTrayToFinish()
{
    if (mode == kToolMode)
        CreationToolManagerFinish(toolManager, true);
}

void CreationScene::handleNewImageCmd()
{
    if (runningAnimations > 0 || !canvasPlane)
        return;
    TellTrayToFinish();
    if (canvasPlane->changeState.value == 0)
        return;
    newPictureFlag = 1;
    KVXDrawMethod* method = canvasVisual ? canvasVisual->DetachMethod() : nullptr;
    // Undo brings the whole picture back, not the one before its last stroke.
    if (canvasVisual)
        canvasVisual->SnapshotForUndo(false);
    if (MagicSlateStore* slate = SlateStore())
        slate->ClearAll();
    CreationRemoveAllStamps(stampManager);
    UpdateStampButtons();
    if (radio && !radio->IsIdle())
        radio->EnterIdleState();
    if (canvasVisual)
        canvasVisual->Clear();
    canvasPlane->Fill(kBlankPixel);
    canvasPlane->MarkAllDirty();
    if (canvasVisual) {
        canvasVisual->AttachMethod(method);
        canvasVisual->Invalidate();
        if (mode != kToolMode)
            canvasVisual->SetDrawMethod(kDrawStatic, 0, 0);
    }
}

// The wipe runs on the canvas's thread; the steps after it wait two passes,
// so that the button's animation and a redraw come first.
void CreationScene::handleFlushCmd()
{
    if (runningAnimations > 0 || !canvasPlane) {
        WakeButton(flushButton);
        return;
    }
    // The rope tray stays open, but a floating selection goes down first:
    // the wipe takes it with the rest, and undo gives it back.
    if (mode == kToolMode && CreationRopeTrayIsCurrent(toolManager))
        CreationPutDownRopeSelection(toolManager);
    else if (mode == kToolMode)
        CreationToolManagerFinish(toolManager, true);
    canvasPlane->changeState.Advance();
    if (gApp)
        gApp->ClearCurrentPageModified();
    if (MMStageCursorSet* cursors = stage_->Cursors())
        cursors->PushBusy();
    if (inputBlocker)
        inputBlocker->Show();
    WakeButton(flushButton);
    if (canvasVisual)
        canvasVisual->StartWipe();
    QueueCommand(Command("handleFlushCmd", &CreationScene::FinishFlush));
}

void CreationScene::FinishFlush()
{
    QueueCommand(Command("handleFlushCmd", &CreationScene::FinishFlushWithAnimation));
}

void CreationScene::FinishFlushWithAnimation()
{
    CreationRemoveAllStamps(stampManager);
    if (radio && !radio->IsIdle())
        radio->EnterIdleState();
    UpdateStampButtons();
    if (inputBlocker)
        inputBlocker->Hide();
    if (MMStageCursorSet* cursors = stage_->Cursors())
        cursors->PopBusy();
}

void CreationScene::StarthandleUndoCmd()
{
    if (runningAnimations > 0 || (canvasPlane && canvasPlane->changeState.value == 1)) {
        int32_t row = layout.FindRowByKey(kLayoutRefusalSound);
        PlayOn(feedbackChannel, row < 0 ? MM_NO_RESOURCE : layout.LongAt(row, 2));
        undoSkip = 1;
        return;
    }
    int32_t row = layout.FindRowByKey(kLayoutUndoSounds);
    if (row < 0)
        return;
    MMRecordTable sounds;
    sounds.Load(layout.LongAt(row, 2), 4, gDefaultHeap);
    if (sounds.RowCount() > 0)
        PlayOn(feedbackChannel,
               sounds.LongAt(int32_t(ProgramRandom().Next() % uint32_t(sounds.RowCount())), 0));
}

void CreationScene::handleUndoCmd()
{
    if (!undoSkip && canvasVisual)
        canvasVisual->SwapWithUndo();
    undoSkip = 0;
    QueueCommand(Command("Undo reactive", &CreationScene::UndoReactive));
}

void CreationScene::UndoReactive()
{
    WakeButton(undoButton);
}

void CreationScene::handleExitButton()
{
    if (gApp)
        gApp->Quit();
}

// The way to the sketchbooks: scene 5 leads on to the gallery.
void CreationScene::HandleSketchbookButton()
{
    // Without a gallery to go to, the way there is refused.
    if (runningAnimations > 0 || !gApp || !gApp->GetScene(kSceneGallery)) {
        EnsureSoundChannel();
        return;
    }
    gApp->ChangeScene(stage_, kSceneToGallery, nullptr);
}

void CreationScene::TextureButtonCreate()
{
    MMResourceId id = texture.Id();
    if (gApp && gApp->Settings())
        gApp->Settings()->GetTextureId(id);
    ApplyTexture(id);
}

void CreationScene::ApplyTexture(MMResourceId id)
{
    MMPictureReference chosen;
    chosen.Load(id);
    if (chosen.Id() != MM_NO_RESOURCE)
        texture = chosen;
    if (texturePlane && texturePlane->bits && texture.Id() != MM_NO_RESOURCE)
        texturePlane->LoadFromPicture(texture, Pair{0, 0});
    CreationToolManagerTextureChanged(toolManager);
}

void CreationScene::PlayOn(MMGenericSoundChannel*& channel, MMResourceId sound)
{
    if (!channel) {
        if (!stage_->SoundManager())
            return;
        channel = new (gDefaultHeap) MMGenericSoundChannel(stage_->SoundManager());
        if (!channel)
            return;
    } else {
        channel->Stop();
    }
    MMSoundReference reference;
    reference.Load(sound);
    channel->Play(reference, false);
}
