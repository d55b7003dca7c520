#include "shell/app.h"

#include <cstring>

#include "canvas/plane.h"
#include "canvas/undo_snapshot.h"
#include "engine/stage.h"
#include "engine/stage_cursors.h"
#include "framework/cursor.h"
#include "media/sound/sound_format.h"
#include "media/transition_effect.h"

KVXApp* gApp = nullptr;
HINSTANCE gInstance = nullptr;
const Box kStageBox = {0, 0, 800, 600};
Box CanvasBoxCopy = {0, 0, 0, 0};

namespace {
// 22050 Hz, 16-bit, stereo.
const uint32_t kAppSoundFormat = 26;
}  // namespace

KVXApp::KVXApp(Heap* heap, int32_t)
    : AFApplication(heap),
      displayMode(kDisplayModeFull),
      word0(0),
      word1(0),
      block(nullptr),
      creationMode(0),
      stageWindow(nullptr),
      stage(nullptr),
      settings(nullptr),
      flag0(0),
      flag1(0),
      currentPage(0),
      loopFlag(0),
      sketchbookList(nullptr),
      pictureCollection(nullptr),
      scenes{},
      transitions{},
      canvasPlane(nullptr),
      undoSnapshot(nullptr),
      twainManager(nullptr),
      quitFlag(0),
      accelerators(nullptr),
      word(0),
      cursors{},
      flag2(1)
{
    std::memset(folders, 0, sizeof(folders));
    SoundFormat = kAppSoundFormat;
}

KVXApp::~KVXApp()
{
    word0 = 0;
    if (block)
        ::operator delete(block);
}

MMBaseScene* KVXApp::GetScene(int32_t n) const
{
    if (n < 0 || n >= kSceneCount)
        return nullptr;
    return scenes[n];
}

void KVXApp::ChangeScene(MMStage* target, int32_t n, MMTransitionEffect* transition)
{
    MMBaseScene* scene = GetScene(n);
    if (!scene || !target)
        return;
    MMCommand* command = target->MakeChangeSceneCommand(scene, transition, nullptr);
    if (!command)
        return;
    command->Post();
    delete command;
}

MMCursor* KVXApp::GetCursor(int32_t n) const
{
    int16_t index = int16_t(n);
    if (index < 0 || index >= kAppCursorCount)
        return nullptr;
    return cursors[index];
}

MMTransitionEffect* KVXApp::GetTransition(int32_t n) const
{
    if (n < 0 || n >= kTransitionCount)
        return nullptr;
    return transitions[n];
}

void KVXApp::Quit()
{
    PostThreadMessageA(uiThreadId, WM_QUIT, 0, 0);
    quitFlag = 1;
}

void KVXApp::SetDisplayMode(int32_t command)
{
    displayMode = command;
    if (canvasPlane) {
        canvasPlane->SetDirtyBox(canvasPlane->Bounds());
        canvasPlane->SetDirtyFlag(0);
    }
}

