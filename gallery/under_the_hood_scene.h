#pragma once
// The gallery (scene 2): the book list, the viewer of the current book, the
// trash and the slideshow panel, and the buttons for a new book, a copy of
// a page, printing, emptying the trash, help, the closing credits and the
// way back to painting. Books and pages are dragged between the panels; a
// short zoom runs before a drop, a new book or an opened book takes effect.
#include <cstdint>

#include "engine/record_table.h"
#include "gallery/drag_scene.h"
#include "gallery/zoom_thread.h"

class KVXAnimatedButtonMolecule;
class KVXQuitButton;
class KVXToggleButtonMolecule;
class KVXUTHsketchbookList;
class KVXUTHviewer;
class KVXUTHslideshow;
class MPTrashToggleButton;
class MpUTHtrashContents;
class MMCommand;
class MMVisualMolecule;
class KVXFrameVisual;
class MpSketchbookList;

constexpr int16_t kGalleryLayoutTable = 743;
constexpr int16_t kGalleryButtonLayer = 106;
extern const Box kZoomTarget;

// Keys of table 743.
enum GalleryLayoutKey : int16_t {
    kGalleryBackground = 0,
    kGalleryBackgroundUpper = 1,
    kGalleryBackToPainting = 2,
    kGalleryExit = 3,
    kGalleryPrint = 4,
    kGalleryGarbageTruck = 6,
    kGalleryHelpPosition = 10,
    kGalleryHelpOn = 11,
    kGalleryHelpOff = 12,
    kGalleryNewBook = 16,
    kGalleryDuplicate = 17,
    kGalleryTrashToggle = 22,
};

class KVXUnderTheHoodScene : public MpDragScene, public ZoomHost {
public:
    explicit KVXUnderTheHoodScene(MMStage* stage);
    ~KVXUnderTheHoodScene() override;

    void Begin() override;
    void DeleteMolecules() override;
    bool HandleMenuCommand(int32_t id) override;

    bool DragOver(int32_t kind, const Pair& point, int16_t entry) override;
    bool Drop(int16_t entry, int32_t kind, const Pair& point) override;
    void DragStarted(int16_t entry, int32_t kind) override;

    void SetZoomFrame(const Box& box) override;
    void ZoomDone(int32_t kind) override;

    // What the panels ask of the scene.
    void StartZoom(const Box& from, const Box& to);
    void SetZoomKind(int32_t kind);
    // A panel took a drop: it happens once the zoom ends.
    void ZoomToDrop(const Box& from, const Box& to);
    bool Zooming() const;
    void SelectEntry(int32_t book);
    void RefreshBookList();
    void BuildDefaultTitle();
    void SetTrashOpen(bool open);
    bool TrashOpen() const { return trashOpen != 0; }
    Box GetAnimationRect() const;
    int32_t PrintProject(int32_t kind);
    bool HelpMode() const { return IsBusy(); }
    void PlayHelpSound();
    void PlayEmptySound();
    bool TrashCanOn() const;

    // The commands.
    void FocusViewerTitle();
    void ShowCredits();
    void ReturnFromCredits();
    void EmptyTrash();
    void ToggleHelp();
    void NewBook();
    void DuplicatePage();
    void PrintCurrentPage();
    void LeaveGallery();
    void UpdatePrintButton();
    void UpdateDuplicateButton();
    void UpdateTrashButtons();

    // The trash and the slideshow panel, as the other panels need them
    // (all in under_the_hood_panels.cpp).
    void ShowTrashContents(bool show);
    bool TrashDragOver(int32_t kind, const Pair& point);
    bool TrashDrop(int32_t kind, const Pair& point);
    bool TrashPerformDrop();
    void TrashRefreshAndShow();
    void HideTrashHighlight();
    void SetTrashDragged(int16_t entry);
    // A trashed book's slot looks empty while the book is dragged.
    void EmptyTrashSlot(int16_t entry);
    // The chosen trashed page into `book` before `before` (-1: last), the
    // chosen trashed book back into the list (its index, -1 refused).
    bool RestoreTrashedPage(int32_t book, int32_t before);
    int32_t RestoreTrashedBook();
    void SlideshowPageChanged();
    bool SlideshowOpen() const { return slideshowOpen != 0; }
    void SetSlideshowOpen(bool open) { slideshowOpen = open ? 1 : 0; }

    MpSketchbookList* Books() const;
    const MMRecordTable& Layout() const { return layout; }
    KVXUTHviewer* Viewer() const { return viewer; }
    KVXUTHsketchbookList* BookList() const { return bookList; }
    MpUTHtrashContents* Trash() const { return trash; }
    MPTrashToggleButton* TrashToggle() const { return trashToggle; }
    KVXUTHslideshow* Slideshow() const { return slideshow; }
    MpZoomThread* Zoom() const { return zoomThread; }
    MMVisualMolecule* ZoomFrame() const { return zoomFrame; }
    KVXAnimatedButtonMolecule* Button(int16_t key) const;
    KVXToggleButtonMolecule* HelpToggle() const { return helpToggle; }
    int32_t CurrentPage() const;
    void SetCurrentPage(int32_t page);

    MMCommand* Command(const char* name, void (KVXUnderTheHoodScene::*method)());

private:
    KVXAnimatedButtonMolecule* MakeButton(int16_t key, MMCommand* click);
    void MakeBackground();
    void MakeButtons();
    void MakeHelpToggle();
    void MakeZoom();
    void BuildViewer();
    void MakeBookList();
    void MakeViewer();
    void ImportOldBook();
    void SetButtonCursor(KVXAnimatedButtonMolecule* button, int16_t cursor);
    // The panels h26b's files build (under_the_hood_panels.cpp).
    void MakeSlideshowPanel();
    void MakeTrashPanel();
    void MakeTrashToggle();
    void DeletePanels();
    void SetTrashCursors(int16_t slots, int16_t toggle);
    void EmptyTrashPanel();
    void SlideshowHelpChanged();

    MMRecordTable layout;
    uint8_t slideshowOpen = 0;
    uint8_t trashOpen = 0;
    KVXFrameVisual* frameBox = nullptr;
    MMVisualMolecule* zoomFrame = nullptr;
    MpZoomThread* zoomThread = nullptr;
    KVXAnimatedButtonMolecule* garbageTruck = nullptr;
    KVXToggleButtonMolecule* helpToggle = nullptr;
    MPTrashToggleButton* trashToggle = nullptr;
    KVXAnimatedButtonMolecule* newBook = nullptr;
    KVXAnimatedButtonMolecule* duplicate = nullptr;
    KVXAnimatedButtonMolecule* backToPainting = nullptr;
    KVXAnimatedButtonMolecule* print = nullptr;
    KVXQuitButton* exitButton = nullptr;
    KVXUTHviewer* viewer = nullptr;
    KVXUTHslideshow* slideshow = nullptr;
    MpUTHtrashContents* trash = nullptr;
    KVXUTHsketchbookList* bookList = nullptr;
    MMGenericSoundChannel* sceneChannel = nullptr;
};
