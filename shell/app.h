#pragma once
// The paint program's application object: it owns, for the whole run, the
// stage window and stage, the settings, the scenes, the transition effects,
// the canvas plane with its undo copy and the application cursors.
#include <windows.h>
#include <cstdint>

#include "framework/application.h"
#include "framework/geometry.h"

class Heap;
class KVXStampsBlock;
class MagicSlateStore;
class SketchbookPageContent;
class WinMMOffscreenSurface;
class AFPrintable;
struct PackedDibLayout;
struct TW_IMAGEINFO;
class KVXPlaneComponentTop;
class KVXStage;
class KVXStageWindow;
class MMBaseScene;
class MMCursor;
class MMStage;
class MMTransitionEffect;
class MPBitmapCollection;
class MpSketchbookList;
class RegistrySettings;
class TwainManager;
class UndoSnapshot;

enum : int32_t {
    kSceneIntro = 0,
    kSceneCreation = 1,
    kSceneGallery = 2,
    kSceneSlideshow = 3,
    kSceneChalkTalk = 4,
    kSceneToGallery = 5,
    kSceneFromGallery = 6,
    kSceneCount = 7,
};

enum : int32_t {
    kTransitionCut = 0,
    kTransitionBoxOut = 12,
    kTransitionUndoDissolve = 19,
    kTransitionCount = 22,
};

const int32_t kAppCursorCount = 42;
const int32_t kFolderCount = 5;
// The folders kept by the application: the sketchbooks and their trash.
enum : int32_t { kBooksFolder = 2, kTrashFolder = 4 };
const int32_t kFolderSize = 256;
const int32_t kDisplayModeFull = 13402;

class KVXApp : public AFApplication {
public:
    KVXApp(Heap* heap, int32_t unused);
    ~KVXApp() override;

    void Quit() override;
    bool Initialize() override;
    void Terminate() override;
    bool OpenDefault() override;
    void DeleteAllWindows() override;
    void MessageLoop() override;
    // Command-line names (an "open with", a picture dropped on the icon) are
    // not documents here: every one is refused, so the main window opens.
    bool OpenFile(const FSDirectory& folder, const char* name) override { return false; }

    MMBaseScene* GetScene(int32_t n) const;
    // Asks the stage for scene n through transition; a missing scene
    // changes nothing.
    void ChangeScene(MMStage* stage, int32_t n, MMTransitionEffect* transition);
    MMCursor* GetCursor(int32_t n) const;
    MMTransitionEffect* GetTransition(int32_t n) const;
    // On the quit path: the leave step when the creation scene is current.
    void SaveCanvasOnLeave();
    // The leave step of a visit of the creation scene, which runs once per
    // visit however the visit ends; EnterCanvas starts a visit.
    void EnterCanvas() { canvasLeft = false; }
    void LeaveCanvas();
    int32_t LeaveStepCount() const { return leaveSteps; }
    void SetDisplayMode(int32_t command);

    // Services to the screens: printing, the current page, the loop
    // setting and the bridge to the scanner on the UI thread.
    int32_t PrintPicture(WinMMOffscreenSurface* surface, void* printable, void* second,
                         int32_t kind, bool dispose);
    int32_t RunPrintSession(WinMMOffscreenSurface* surface, void* printable, void* second,
                            int32_t kind, bool dispose);
    void MarkCurrentPageModified();
    void ClearCurrentPageModified();
    bool IsLoopOn();
    void SetLoop(bool on);
    void StartTwain();
    DWORD PostInitializeTwain();
    DWORD PostBringUpTwain();
    DWORD PostTwainShutDown();
    DWORD PostTwainMessage(int32_t index);
    int32_t TwainSourceCount() const;
    // On the UI thread: the scanner's picture (a packed DIB), fitted into the
    // canvas, goes to the painting screen as its imported picture.
    void ReceiveTwainImage(const TW_IMAGEINFO& info, HGLOBAL dib);
    // The picture of a packed DIB, fitted into the canvas box; null when the
    // block is refused.
    static WinMMOffscreenSurface* FitPackedDib(const void* block, SIZE_T size,
                                              const Box& canvas);
    // The file import's open dialog and picture; null when none came.
    WinMMOffscreenSurface* ImportPicture();
    bool CanImportFiles() const { return sketchbookList != nullptr; }
    // The picture the scanner handed over, or the given one.
    WinMMOffscreenSurface* TakeImportedPicture(WinMMOffscreenSurface* given);
    void SetMenuAllowed(bool allowed) { menuAllowed = allowed ? 1 : 0; }
    bool MenuAllowed() const { return menuAllowed != 0; }

    // The current page of the current book into the canvas plane, the
    // slate store and the page's stamps; blank without a book.
    bool LoadCurrentPage(MagicSlateStore* slate);
    // The radio's four words of the page.
    int16_t* PageSceneData();
    MpSketchbookList* SketchbookList() const { return sketchbookList; }
    // The stamps block of the page the painting screen holds.
    KVXStampsBlock* PageStamps() const { return pageStamps; }
    TwainManager* Twain() const { return twainManager; }
    void SetSketchbookListForTest(MpSketchbookList* list) { sketchbookList = list; }
    void SetCurrentPageForTest(int16_t page) { currentPage = page; }
    // The gallery's choice of page: the application's and the list's.
    void SetCurrentPicture(int16_t page);
    // Scene 6's stamp manager goes when the painting screen begins.
    void ReleasePassageStamps();

    KVXStageWindow* StageWindow() const { return stageWindow; }
    KVXStage* Stage() const { return stage; }
    RegistrySettings* Settings() const { return settings; }
    KVXPlaneComponentTop* CanvasPlane() const { return canvasPlane; }
    UndoSnapshot* Snapshot() const { return undoSnapshot; }
    HACCEL Accelerators() const { return accelerators; }
    bool QuitFlag() const { return quitFlag != 0; }
    int32_t DisplayMode() const { return displayMode; }
    int16_t CurrentPage() const { return currentPage; }
    const char* Folder(int32_t i) const { return folders[i]; }

    // Cursor i for tests and scenes that build their own (owned by the app).
    void SetCursorSlot(int32_t n, MMCursor* cursor) { cursors[n] = cursor; }
    void SetSceneSlot(int32_t n, MMBaseScene* scene) { scenes[n] = scene; }
    void LoadAcceleratorTable();
    void SetStageWindowForTest(KVXStageWindow* window) { stageWindow = window; }
    void SetStageForTest(KVXStage* value) { stage = value; }
    // The print jobs' document name in place of the program's title.
    void SetPrintDocumentForTest(const char* name) { printDocument = name; }
    void SetSettingsForTest(RegistrySettings* value) { settings = value; }
    void SetCanvasForTest(KVXPlaneComponentTop* plane, UndoSnapshot* snapshot)
    {
        canvasPlane = plane;
        undoSnapshot = snapshot;
    }

    int32_t displayMode;
    int32_t word0;
    int32_t word1;
    void* block;
    int32_t creationMode;

protected:
    bool CreateTransitions();
    void DeleteTransitions();
    bool CreateCanvas();
    bool SetUpFolders();
    void LoadCursors();
    void DeleteCursors();

    KVXStageWindow* stageWindow;
    KVXStage* stage;
    RegistrySettings* settings;
    uint8_t flag0;
    char folders[kFolderCount][kFolderSize];
    uint8_t flag1;
    int16_t currentPage;
    uint8_t loopFlag;
    MpSketchbookList* sketchbookList;
    MPBitmapCollection* pictureCollection;
    MMBaseScene* scenes[kSceneCount];
    MMTransitionEffect* transitions[kTransitionCount];
    KVXPlaneComponentTop* canvasPlane;
    UndoSnapshot* undoSnapshot;
    TwainManager* twainManager;
    volatile uint8_t quitFlag;
    HACCEL accelerators;
    int32_t word;
    MMCursor* cursors[kAppCursorCount];
    uint8_t flag2;
    bool SetUpSketchbooks();
    bool WritePageOnLeave();
    void CreateTwainManager();
    static void ImageReceiver(const TW_IMAGEINFO& info, HGLOBAL dib, void* context);
    static void StageNotifier(int code, void* context);

    KVXStampsBlock* pageStamps = nullptr;
    MagicSlateStore* blankSlate = nullptr;
    class MagicSlatePart* blankSlatePart = nullptr;
    SketchbookPageContent* blankContent = nullptr;
    WinMMOffscreenSurface* volatile scannedPicture = nullptr;
    uint8_t menuAllowed = 1;
    const char* printDocument = nullptr;
    bool canvasLeft = true;
    int32_t leaveSteps = 0;
};

// The screen size the start-up checks; a test may put its own in place.
typedef int(WINAPI* ScreenMetricsFunction)(int index);
void SetScreenMetrics(ScreenMetricsFunction function);

// The registered messages of the scanner bridge.
struct TwainMessages {
    UINT bringUp;
    UINT bitmapReady;
    UINT shutDown;
    UINT selectDevice;
    UINT initialize;
};
const TwainMessages& RegisteredTwainMessages();

// Set by WinMain before the run loop starts; every screen reaches the
// application through it.
extern KVXApp* gApp;
extern HINSTANCE gInstance;

// The stage's size and the smallest screen the program runs on.
extern const Box kStageBox;
// A copy of the canvas box (canvas/canvas_scene.h) that the tools read.
extern Box CanvasBoxCopy;
