#pragma once
// The gallery's slideshow panel: for the current page the child picks a
// music, a transition and a delay from three press-and-slide lists, hears
// the music, switches looping, starts the slideshow (scene 3) and exports
// the page. The toggle beside the viewer opens and closes the panel.
#include <cstdint>
#include <memory>

#include "engine/molecule.h"
#include "engine/picture_collection.h"
#include "framework/geometry.h"
#include "gallery/slideshow_export.h"
#include "gallery/slideshow_thread.h"
#include "gallery/ss_button.h"
#include "media/color.h"
#include "shell/widgets/category_buttons.h"

class KVXToggleButtonMolecule;
class MMCommand;
class MMMouseVisualMolecule;
class MMPictureMolecule;
class MMWordWrapMolecule;
class MPViewerPanelToggleButton;
class MpDragScene;
class MpSketchbookList;

// What the panel needs of the gallery scene.
class SlideshowPanelHost {
public:
    virtual ~SlideshowPanelHost() = default;
    virtual MpSketchbookList* SketchbookList() = 0;
    virtual bool IsTrashOpen() = 0;
    // The scene's slideshow-open flag follows the panel.
    virtual void SlideshowOpened(bool open) = 0;
};

constexpr int16_t kSlideshowLayoutTable = 754;
constexpr int32_t kSlideshowLayoutRowSize = 28;

enum SlideshowListKind : int16_t {
    kListTransition = 0,
    kListMusic = 1,
    kListDelay = 2,
    kListNone = -1,
};

class KVXUTHslideshow : public MMMolecule, public MpUTHssButtonListener, public SoundWaitListener {
public:
    static constexpr int32_t kLabelSize = 30;
    static constexpr int32_t kMaxLines = 30;
    static constexpr int16_t kPreviewPriority = 500;
    static constexpr int16_t kCatcherLayer = 9998;

    // dialogs: the export's save and options dialogs (null: the platform's).
    KVXUTHslideshow(MpDragScene* scene, SlideshowPanelHost& host,
                    ExportDialogs* dialogs = nullptr);
    ~KVXUTHslideshow() override;

    void Show() override;
    void Hide() override;

    void Refresh();
    void OpenList(int16_t kind);
    void ChooseEntry(int16_t entry);
    void ApplyListChoice();
    void OnLoop();
    void OnPlay();
    void GoToSlideshow();
    bool OnExport();
    void PreviewMusic();
    void StopPreview();
    void EndPreview() override;
    // Help mode: the panel's commands do nothing while it is on.
    void SetHelpMode(bool on) { helpMode = on; }

    // The list buttons' press, slide and release.
    void Press(int32_t kind) override;
    void Move(const Pair& point) override;
    void Release() override;

    bool IsOpen() const { return open; }
    // Called by the toggle when its animations end.
    void Opened();
    void Closed();
    // Closes at once (the trash opens).
    void Close();

    int16_t OpenKind() const { return listKind; }
    int16_t Choice(int16_t kind) const;
    int16_t MarkedEntry() const { return marked; }
    const char* ListLabel(int16_t kind) const;
    bool IsPreviewing() const { return preview != nullptr; }
    MPViewerPanelToggleButton* Toggle() const { return toggle; }
    // The stage box of entry i of the open list.
    Box EntryBox(int16_t entry) const;
    int16_t EntryCount(int16_t kind) const;
    MpUTHssButton* ListButton(int16_t kind) const { return listButtons[kind]; }
    MpUTHssButton* PlayButton() const { return play; }
    MpUTHssButton* ExportButton() const { return exportButton; }
    MpUTHssButton* PreviewButton() const { return previewButton; }
    KVXToggleButtonMolecule* LoopToggle() const { return loop; }
    MMPictureMolecule* Board() const { return board; }

private:
    struct Layout;

    bool Busy() const;
    void LoadLayout();
    void BuildButtons();
    void BuildList();
    void ShowList(bool on);
    void MarkEntry(int16_t entry);
    const char* ChoiceText(int16_t kind, int16_t choice) const;
    int32_t CurrentBook() const;
    int32_t CurrentPage() const;
    void ExportCommand();
    void ListCommand();
    void PickAtPointer();
    int16_t EntryAt(const Pair& point) const;
    MpUTHssButton* MakeButton(int16_t row, int32_t value, const char* command,
                              void (KVXUTHslideshow::*method)(), bool listens = false);

    MpDragScene* scene;
    SlideshowPanelHost& host;
    std::unique_ptr<Layout> layout;
    ExportDialogs ownDialogs;
    ExportDialogs* dialogs;
    MPViewerPanelToggleButton* toggle = nullptr;
    KVXToggleButtonMolecule* loop = nullptr;
    MpUTHssButton* play = nullptr;
    MpUTHssButton* exportButton = nullptr;
    MpUTHssButton* previewButton = nullptr;
    MpUTHssButton* listButtons[3] = {nullptr, nullptr, nullptr};
    MMPictureMolecule* board = nullptr;
    MMPictureMolecule* frame = nullptr;
    MMPictureMolecule* mark = nullptr;
    MMMouseVisualMolecule* catcher = nullptr;
    MMWordWrapMolecule* lines[kMaxLines] = {};
    MMPictureMolecule* icons[kMaxLines] = {};
    char labels[3][kLabelSize + 1] = {};
    int16_t choices[3] = {0, 0, 2};
    int16_t listKind = kListNone;
    int16_t marked = -1;
    std::unique_ptr<MMCommand> goToSlideshow;
    MpSoundWaitThread* preview = nullptr;
    MpSoundWaitThread* endedPreview = nullptr;
    bool open = false;
    bool helpMode = false;
    bool visited = false;
};

// The two-state button beside the viewer that opens and closes the panel;
// it refuses to open in help mode or while the trash is open.
class MPViewerPanelToggleButton : public MPCategoryMolecule {
public:
    static constexpr int16_t kClosingLabel = 10;

    MPViewerPanelToggleButton(MpDragScene* scene, MMResourceId scriptId, KVXUTHslideshow* panel,
                              SlideshowPanelHost& host, const bool& helpMode);

    void Choose() override;
    // Back to closed at once, without the closing animation's command.
    void Deselect();
    void OpenDone();
    void CloseDone();

private:
    KVXUTHslideshow* panel;
    SlideshowPanelHost& host;
    const bool& helpMode;
};
