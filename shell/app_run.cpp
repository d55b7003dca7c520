// The application's run cycle: start-up checks, the main window and stage,
// the message loop and the shut-down.
#include "shell/app.h"

#include <cstring>

#include "canvas/canvas_scene.h"
#include "canvas/plane.h"
#include "canvas/undo_snapshot.h"
#include "engine/engine_startup.h"
#include "engine/record_table.h"
#include "engine/stage_cursors.h"
#include "framework/cursor.h"
#include "framework/folders.h"
#include "gallery/gallery_folders.h"
#include "framework/pending_error.h"
#include "framework/random.h"
#include "framework/string_table.h"
#include "framework/thread.h"
#include "media/bitmap_picture_collection.h"
#include "media/offscreen_surface.h"
#include "media/transition_dissolves.h"
#include "media/transition_wipes.h"
#include "selection/chalk_talk_scene.h"
#include "selection/rope_interpreters.h"
#include "gallery/canvas_page_content.h"
#include "gallery/magic_slate_part.h"
#include "gallery/sketchbook_list.h"
#include "gallery/slideshow_scene.h"
#include "gallery/twain_manager.h"
#include "gallery/under_the_hood_scene.h"
#include "selection/slate_store.h"
#include "shell/alert_box.h"
#include "stamps/stamps_block.h"
#include "shell/app_transitions.h"
#include "shell/creation_scene.h"
#include "shell/intro_scene.h"
#include "shell/passage_scenes.h"
#include "shell/menu_commands.h"
#include "shell/print_configuration.h"
#include "shell/registry_settings.h"
#include "shell/stage.h"
#include "shell/stage_window.h"

namespace {

ScreenMetricsFunction gScreenMetrics = GetSystemMetrics;

const uint32_t kStringCannotStart = 100;
const uint32_t kStringTitle = 102;
const uint32_t kStringInsertData = 108;
const uint32_t kStringScreenTooSmall = 109;
const int16_t kLayoutTable = 734;
const int16_t kLayoutExtra = 66;
const int32_t kSketchbookFolderLength = 64;
const int16_t kPictureSlots = 67;
const uint16_t kPictureCollection = 50000;
const int32_t kFadeDeadline = 1400;
const int kFirstCursorResource = 128;
const int kWaitCursorResource = 170;

const AFWindowClass kMainWindowClass = {
    CS_DBLCLKS | CS_OWNDC,
    0,
    0,
    true,
    MAKEINTRESOURCEA(550),
    MAKEINTRESOURCEA(550),
    false,
    IDC_ARROW,
    static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)),
    "menu",
    "PennaroWindowClass",
    &AFWindow::WindowProc,
};

void SetThreadPriorityOf(KVXStage* stage, int priority)
{
    if (stage && stage->ThreadHandle())
        SetThreadPriority(stage->ThreadHandle(), priority);
}

}  // namespace

void SetScreenMetrics(ScreenMetricsFunction function)
{
    gScreenMetrics = function ? function : GetSystemMetrics;
}

const TwainMessages& RegisteredTwainMessages()
{
    static const TwainMessages messages = {
        RegisterWindowMessageA("TwainManager::BringUpTwainMessage"),
        RegisterWindowMessageA("TwainManager::TwainBitmapReadyMessage"),
        RegisterWindowMessageA("TwainManager::TwainShutDown"),
        RegisterWindowMessageA("TwainManager::SelectTwainDeviceMessage"),
        RegisterWindowMessageA("TwainManager::InitializeTwain"),
    };
    return messages;
}

bool KVXApp::Initialize()
{
    ProgramRandom().Seed(int32_t(ElapsedMilliseconds()));
    if (!AFApplication::Initialize())
        return false;
    bool started = EngineStartUp();
    while (!started) {
        if (UseSecondResourceFolder())
            break;
        char text[256];
        // Without the text, or when no box could be shown, asking again
        // would ask for ever.
        if (!LoadResourceString(kStringInsertData, text))
            break;
        int32_t answer = AlertBox(text, kAlertRetryCancel).Show();
        if (answer == kAnswerCancel) {
            // The child said no: the run loop must not report it again.
            ClearPendingError();
            return false;
        }
        if (answer != kAnswerRetry)
            break;
        ClearPendingError();
        started = EngineStartUp();
    }
    if (!started) {
        char text[256];
        if (LoadResourceString(kStringCannotStart, text)) {
            AlertBox(text, kAlertInformation).Show();
            ClearPendingError();
        }
        return false;
    }
    MMRecordTable layout;
    layout.LoadTenByteRows(kLayoutTable, kLayoutExtra);
    Box canvas = layout.RectAt(0, 2);
    CanvasBox = canvas;
    CanvasBoxCopy = canvas;
    if (!CreateTransitions())
        return false;
    LoadAcceleratorTable();
    bool made = CreateCanvas();
    layout.Free();
    return made;
}

void KVXApp::LoadAcceleratorTable()
{
    accelerators = ::LoadAcceleratorsA(gInstance ? gInstance : GetModuleHandleA(nullptr),
                                     MAKEINTRESOURCEA(kAcceleratorTable));
}

bool KVXApp::CreateTransitions()
{
    MMTransitionEffect* made[kTransitionCount] = {
        new MMTransitionEffect,
        new MMTransitionWipeLeft,
        new MMTransitionWipeRight,
        new MMTransitionWipeUp,
        new MMTransitionWipeDown,
        new MMTransitionPushLeft,
        new MMTransitionPushRight,
        new MMTransitionPushUp,
        new MMTransitionPushDown,
        new MMTransitionDissolve,
        new MMTransitionFadeToBlack,
        new MMTransitionRandomBoxes,
        new MMTransitionBoxOut,
        new MMTransitionRandomLines,
        new MMTransitionBlinds,
        new KVXTransitionPanRight,
        new KVXTransitionPanLeft,
        new KVXTransitionWipeUp(CanvasBox),
        new KVXTransitionWipeDown(CanvasBox),
        new KVXTransitionUndoDissolve(CanvasBox),
        new KVXTransitionRevealLeft,
        new KVXTransitionRevealRight,
    };
    bool all = true;
    for (int32_t i = 0; i < kTransitionCount; ++i) {
        transitions[i] = made[i];
        all = all && made[i];
    }
    if (transitions[10])
        transitions[10]->SetDeadline(kFadeDeadline);
    return all;
}

void KVXApp::DeleteTransitions()
{
    for (MMTransitionEffect*& effect : transitions) {
        delete effect;
        effect = nullptr;
    }
}

bool KVXApp::CreateCanvas()
{
    Pair size = {CanvasBox.Width(), CanvasBox.Height()};
    canvasPlane = new (gDefaultHeap) KVXPlaneComponentTop(size);
    if (canvasPlane && !canvasPlane->bits) {
        delete canvasPlane;
        canvasPlane = nullptr;
    }
    if (!canvasPlane)
        return false;
    canvasPlane->SetDirtyBox(canvasPlane->Bounds());
    canvasPlane->SetDirtyFlag(0);
    undoSnapshot = new (gDefaultHeap) UndoSnapshot(*canvasPlane);
    if (!undoSnapshot || !undoSnapshot->Copy().bits)
        return false;
    CreateTwainManager();
    return twainManager != nullptr;
}

bool KVXApp::OpenDefault()
{
    Box screen = {0, 0, gScreenMetrics(SM_CXSCREEN), gScreenMetrics(SM_CYSCREEN)};
    if (screen.Width() < kStageBox.Width() || screen.Height() < kStageBox.Height()) {
        char text[256];
        if (LoadResourceString(kStringScreenTooSmall, text))
            AlertBox(text, kAlertInformation).Show();
        return false;
    }
    AFWindowCreation creation = {&kMainWindowClass, screen, WS_POPUP | WS_CLIPCHILDREN, 0};
    stageWindow = new (gDefaultHeap) KVXStageWindow(creation);
    if (!stageWindow || !stageWindow->window)
        return false;
    // Shortcuts typed while the window itself has the focus work too.
    if (!stageWindow->accelerators)
        stageWindow->accelerators = accelerators;
    Box client = screen;
    client.top += GetSystemMetrics(SM_CYMENU) + GetSystemMetrics(SM_CYBORDER) - 1;
    stageWindow->SetClientBox(client);
    char title[256];
    if (LoadResourceString(kStringTitle, title))
        stageWindow->SetTitle(title);
    stageWindow->BringToForeground();
    stageWindow->SetMenu(false);
    // Centred in the client area as it is once the menu bar is gone, so the
    // stage is not shifted by the bar's height.
    Box area = stageWindow->ClientBox();
    Pair offset = {(area.Width() - kStageBox.Width()) / 2,
                   (area.Height() - kStageBox.Height()) / 2};
    Box stageBox = kStageBox;
    stageBox.Offset(offset);
    stage = new (gDefaultHeap) KVXStage(stageWindow, stageBox);
    if (!stage)
        return false;
    settings = new (gDefaultHeap) RegistrySettings;
    if (!settings)
        return false;
    settings->Open();
    scenes[kSceneIntro] = new (gDefaultHeap) IntroScene(stage);
    scenes[kSceneCreation] = new (gDefaultHeap) CreationScene(stage, canvasPlane, undoSnapshot);
    scenes[kSceneChalkTalk] = new (gDefaultHeap) ChalkTalkScene(stage);
    scenes[kSceneSlideshow] = new (gDefaultHeap) MpSlideshowScene(stage);
    RegisterRopeInterpreters();
    scenes[kSceneGallery] = new (gDefaultHeap) KVXUnderTheHoodScene(stage);
    scenes[kSceneToGallery] = new (gDefaultHeap) KVXTransitionToUTHScene(stage);
    scenes[kSceneFromGallery] = new (gDefaultHeap) KVXTransitionFromUTHScene(stage);
    if (!SetUpFolders())
        return false;
    stage->StartWithScene(scenes[kSceneIntro]);
    LoadCursors();
    AFCursor* wait = new (gDefaultHeap) AFCursor;
    if (wait && wait->LoadAnimated(kWaitCursorResource) && stage->Cursors() &&
        stage->Cursors()->Wait())
        stage->Cursors()->Wait()->TakeImage(wait);
    else
        delete wait;
    if (settings->PrintConfiguration())
        settings->PrintConfiguration()->SetOwnerWindow(stageWindow);
    return true;
}

bool KVXApp::SetUpFolders()
{
    FSDirectory program;
    FSProgramFolder(program);
    lstrcpynA(folders[0], program.Path(), kFolderSize);
    lstrcpynA(folders[1], program.Path(), kFolderSize);
    pictureCollection = new (gDefaultHeap) MPBitmapCollection(kPictureSlots, kPictureCollection);
    FSDirectory books;
    FSDirectory trash;
    if (GalleryFolders(program, books, trash)) {
        lstrcpynA(folders[kBooksFolder], books.Path(), kFolderSize);
        lstrcpynA(folders[kTrashFolder], trash.Path(), kFolderSize);
    }
    settings->SetTextureId(MM_NO_RESOURCE);
    return pictureCollection != nullptr && SetUpSketchbooks();
}

// The books of the program folder, the trash in the sketchbook folder; the
// current book and page as the settings left them.
bool KVXApp::SetUpSketchbooks()
{
    currentPage = 0;
    if (!folders[kBooksFolder][0] || !folders[kTrashFolder][0] || !canvasPlane)
        return true;
    pageStamps = new (gDefaultHeap) KVXStampsBlock;
    blankSlate = new (gDefaultHeap) MagicSlateStore;
    if (!pageStamps || !blankSlate)
        return false;
    blankSlate->Init();
    blankSlatePart = new (gDefaultHeap) MagicSlatePart(*blankSlate);
    blankContent = new (gDefaultHeap)
        CanvasPageContent(*canvasPlane, *blankSlatePart, *pageStamps, nullptr);
    FSDirectory books;
    books.Set(folders[kBooksFolder]);
    FSDirectory trash;
    trash.Set(folders[kTrashFolder]);
    sketchbookList = new (gDefaultHeap) MpSketchbookList(books, trash, *blankContent);
    if (!sketchbookList || !sketchbookList->ScanFolder())
        return false;
    char name[kSketchbookFolderLength + 1] = "";
    if (settings->GetSketchbookName(name, sizeof name) && name[0])
        sketchbookList->SelectBookByName(name);
    int32_t page = 0;
    settings->GetImageNumber(page);
    SketchbookFile* book = sketchbookList->CurrentBook();
    // A book without pages gets its first, so that the painting has a page.
    if (book && book->PageCount() == 0)
        book->AddPage(*blankContent);
    if (page < 0 || !book || page >= book->PageCount())
        page = 0;
    currentPage = int16_t(page);
    sketchbookList->SetCurrentPage(currentPage);
    return true;
}

void KVXApp::LoadCursors()
{
    for (int32_t i = 0; i < kAppCursorCount; ++i) {
        AFCursor* image = new (gDefaultHeap) AFCursor;
        if (image)
            image->LoadAnimated(kFirstCursorResource + i);
        MMCursor* cursor = new (gDefaultHeap) MMCursor;
        if (cursor)
            cursor->SetImage(image);
        cursors[i] = cursor;
        if (!cursor)
            delete image;
    }
}

void KVXApp::DeleteCursors()
{
    for (MMCursor*& cursor : cursors) {
        if (!cursor)
            continue;
        delete cursor->Image();
        delete cursor;
        cursor = nullptr;
    }
}

void KVXApp::MessageLoop()
{
    const TwainMessages& twain = RegisteredTwainMessages();
    for (;;) {
        if (IsErrorPending())
            PostQuitMessage(0);
        MSG message;
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (quitFlag)
                return;
            WaitMessage();
            continue;
        }
        if (message.message == WM_QUIT)
            return;
        if (twainManager && twainManager->HandleMessage(message))
            continue;
        if (twainManager && twainManager->IsSourceEnabled() && twainManager->ProcessEvent(&message))
            continue;
        if (message.message == twain.bringUp) {
            SetThreadPriorityOf(stage, THREAD_PRIORITY_BELOW_NORMAL);
        } else if (message.message == twain.bitmapReady) {
            if (stageWindow)
                stageWindow->HandleCommand(kMenuTwainBitmapReady);
        } else if (message.message == twain.shutDown) {
            SetThreadPriorityOf(stage, THREAD_PRIORITY_NORMAL);
            if (stageWindow)
                stageWindow->HandleCommand(kMenuTwainShutDown);
        } else if (message.message == twain.selectDevice ||
                   message.message == twain.initialize) {
            // The scanner bridge comes with the gallery.
        } else {
            AFWindow* main = activeWindow;
            if (main && main->window && main->accelerators &&
                TranslateAcceleratorA(main->window, main->accelerators, &message))
                continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void KVXApp::DeleteAllWindows()
{
    AFApplication::DeleteAllWindows();
    // The stage went with its window, and the scenes with the stage.
    stageWindow = nullptr;
    stage = nullptr;
    for (MMBaseScene*& scene : scenes)
        scene = nullptr;
    delete settings;
    settings = nullptr;
    DeleteCursors();
}

void KVXApp::Terminate()
{
    delete sketchbookList;
    sketchbookList = nullptr;
    delete blankContent;
    blankContent = nullptr;
    delete blankSlatePart;
    blankSlatePart = nullptr;
    delete blankSlate;
    blankSlate = nullptr;
    delete pageStamps;
    pageStamps = nullptr;
    if (twainManager) {
        twainManager->Shutdown();
        delete twainManager;
        twainManager = nullptr;
    }
    if (scannedPicture) {
        scannedPicture->Dispose();
        scannedPicture = nullptr;
    }
    delete pictureCollection;
    pictureCollection = nullptr;
    EngineShutDown();
    AFApplication::Terminate();
    DeleteTransitions();
    delete undoSnapshot;
    undoSnapshot = nullptr;
    delete canvasPlane;
    canvasPlane = nullptr;
}

void KVXApp::SaveCanvasOnLeave()
{
    MMBaseScene* creation = scenes[kSceneCreation];
    if (creation && creation->Stage() && creation->Stage()->Scene() == creation)
        LeaveCanvas();
}

void KVXApp::LeaveCanvas()
{
    if (canvasLeft)
        return;
    canvasLeft = true;
    ++leaveSteps;
    if (!canvasPlane)
        return;
    WritePageOnLeave();
    canvasPlane->Fill(kBlankPixel);
    canvasPlane->MarkAllDirty();
    canvasPlane->MarkUnchanged();
}
