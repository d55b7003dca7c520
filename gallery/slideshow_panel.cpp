#include "gallery/slideshow_panel.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "canvas/plane.h"
#include "engine/command.h"
#include "engine/picture_molecule.h"
#include "engine/record_table.h"
#include "engine/stage.h"
#include "framework/color.h"
#include "gallery/drag_scene.h"
#include "gallery/gallery_messages.h"
#include "gallery/gallery_pictures.h"
#include "gallery/sketchbook_list.h"
#include "gallery/slideshow_sounds.h"
#include "media/font.h"
#include "media/word_wrapper.h"
#include "shell/app.h"
#include "shell/widgets/animation_thread.h"
#include "shell/widgets/toggle_button.h"

namespace {

// Rows of record table 754 (keyed, each at the index of its key).
constexpr int16_t kRowMusicEntries = 9;
constexpr int16_t kRowTransitionEntries = 10;
constexpr int16_t kRowDelayEntries = 11;
constexpr int16_t kRowToggle = 12;
constexpr int16_t kRowBoard = 13;
constexpr int16_t kRowLoop = 14;
constexpr int16_t kRowPlay = 15;
constexpr int16_t kRowExport = 16;
constexpr int16_t kRowPreview = 17;
constexpr int16_t kRowPlaying = 18;
constexpr int16_t kRowMusicButton = 19;
constexpr int16_t kRowTransitionButton = 20;
constexpr int16_t kRowDelayButton = 21;
constexpr int16_t kRowFrame = 22;
constexpr int16_t kRowText = 23;
constexpr int16_t kRowMark = 24;
constexpr int16_t kRowLayers = 25;
constexpr int16_t kRowColours = 26;
constexpr int16_t kRowIcon = 27;

constexpr int16_t kTextFirstTransition = 46;
constexpr int16_t kTextFirstMusic = 61;

// The export folder: the program's at first, then the one last chosen.
char gExportFolder[FS_PATH_SIZE] = "";

int16_t ButtonRow(int16_t kind)
{
    return kind == kListMusic ? kRowMusicButton
                              : kind == kListTransition ? kRowTransitionButton : kRowDelayButton;
}

int16_t EntryRow(int16_t kind)
{
    return kind == kListMusic ? kRowMusicEntries
                              : kind == kListTransition ? kRowTransitionEntries
                                                        : kRowDelayEntries;
}

}  // namespace

struct KVXUTHslideshow::Layout {
    MMRecordTable table;
    MMRecordTable entries[3];
    int16_t boardLayer = 110;
    int16_t buttonLayer = 111;
    int16_t listLayer = 120;
    int16_t textLayer = 121;
    MMColor textColor = MakeMMColorFromRgb(0x3B2A4F);
    MMColor chosenColor = MakeMMColorFromRgb(0xE8413C);

    int32_t Row(int16_t key) const { return table.FindRowByKey(key); }
    Pair PairOf(int16_t key, int32_t offset) const
    {
        int32_t row = Row(key);
        return row >= 0 ? table.PairAt(row, offset) : Pair{0, 0};
    }
    MMResourceId IdOf(int16_t key, int32_t offset) const
    {
        int32_t row = Row(key);
        return row >= 0 ? table.LongAt(row, offset) : MM_NO_RESOURCE;
    }
    int16_t ShortOf(int16_t key, int32_t offset, int16_t fallback) const
    {
        int32_t row = Row(key);
        return row >= 0 ? table.ShortAt(row, offset) : fallback;
    }
};

KVXUTHslideshow::KVXUTHslideshow(MpDragScene* scene, SlideshowPanelHost& host,
                                 ExportDialogs* dialogs)
    : MMMolecule(scene),
      scene(scene),
      host(host),
      layout(new Layout),
      dialogs(dialogs != nullptr ? dialogs : &ownDialogs),
      goToSlideshow(new MMClassCommand<KVXUTHslideshow>("goToSSCmd", scene->Stage(), this,
                                                        &KVXUTHslideshow::GoToSlideshow))
{
    if (gExportFolder[0] == '\0' && gApp != nullptr)
        lstrcpynA(gExportFolder, gApp->Folder(1), sizeof gExportFolder);
    LoadLayout();
    BuildButtons();
    BuildList();
    toggle = new MPViewerPanelToggleButton(scene, layout->IdOf(kRowToggle, 2), this, host,
                                           helpMode);
    Refresh();
    Hide();
}

KVXUTHslideshow::~KVXUTHslideshow()
{
    // The buttons may be gone already: only the sound stops.
    if (preview != nullptr) {
        preview->Cancel();
        preview->Terminate();
        delete preview;
    }
    delete endedPreview;
}

// The lists open through the buttons' listener: their commands do nothing.
void KVXUTHslideshow::ListCommand()
{
}

void KVXUTHslideshow::ExportCommand()
{
    OnExport();
}

void KVXUTHslideshow::LoadLayout()
{
    layout->table.Load(kSlideshowLayoutTable, kSlideshowLayoutRowSize, nullptr);
    for (int16_t kind = 0; kind < 3; ++kind) {
        int32_t row = layout->Row(EntryRow(kind));
        if (row >= 0)
            layout->entries[kind].Load(layout->table.ItemIdAt(row, 2), 12, nullptr);
    }
    layout->boardLayer = layout->ShortOf(kRowLayers, 2, layout->boardLayer);
    layout->buttonLayer = layout->ShortOf(kRowLayers, 4, layout->buttonLayer);
    layout->listLayer = layout->ShortOf(kRowLayers, 6, layout->listLayer);
    layout->textLayer = layout->ShortOf(kRowLayers, 8, layout->textLayer);
    if (layout->Row(kRowColours) >= 0) {
        layout->textColor = MakeMMColorFromRgb(uint32_t(layout->IdOf(kRowColours, 2)));
        layout->chosenColor = MakeMMColorFromRgb(uint32_t(layout->IdOf(kRowColours, 6)));
    }
}

MpUTHssButton* KVXUTHslideshow::MakeButton(int16_t row, int32_t value, const char* command,
                                           void (KVXUTHslideshow::*method)(), bool listens)
{
    auto* visual = new MpUTHssButtonVisual(GalleryLayoutPicture(layout->IdOf(row, 6)),
                                           GalleryLayoutPicture(layout->IdOf(row, 10)),
                                           layout->PairOf(row, 2), layout->buttonLayer);
    MMCommand* posted = new MMClassCommand<KVXUTHslideshow, void (KVXUTHslideshow::*)()>(
        command, scene->Stage(), this, method);
    MpUTHssButtonListener* listener = listens ? this : nullptr;
    auto* interpreter = new MpUTHssButtonInterpreter(scene->Stage(), value, listener, posted,
                                                     visual, KVXAppCursor(0));
    return new MpUTHssButton(scene, visual, interpreter);
}

void KVXUTHslideshow::BuildButtons()
{
    Pair at = layout->PairOf(kRowBoard, 2);
    board = new MMPictureMolecule(scene, GalleryLayoutPicture(layout->IdOf(kRowBoard, 6)), at,
                                  layout->boardLayer);
    Pair loopAt = layout->PairOf(kRowLoop, 2);
    KVXToggleButtonMolecule::Parameters parameters = {
        scene,
        loopAt.x,
        loopAt.y,
        MMPictureID(layout->IdOf(kRowLoop, 6)),
        MMPictureID(layout->IdOf(kRowLoop, 10)),
        new MMClassCommand<KVXUTHslideshow>("loopButtonCmd", scene->Stage(), this,
                                            &KVXUTHslideshow::OnLoop),
        layout->buttonLayer,
        KVXAppCursor(0),
        nullptr};
    loop = new KVXToggleButtonMolecule(parameters);
    if (gApp != nullptr && gApp->IsLoopOn())
        loop->SetOn();
    play = MakeButton(kRowPlay, 0, "playButtonCmd", &KVXUTHslideshow::OnPlay);
    exportButton = MakeButton(kRowExport, 0, "exportButtonCmd", &KVXUTHslideshow::ExportCommand);
    previewButton = MakeButton(kRowPreview, 0, "previewButtonCmd", &KVXUTHslideshow::PreviewMusic);
    const char* names[3] = {"transListButtonCmd", "musicListButtonCmd", "delayListButtonCmd"};
    for (int16_t kind = 0; kind < 3; ++kind) {
        listButtons[kind] =
            MakeButton(ButtonRow(kind), kind, names[kind], &KVXUTHslideshow::ListCommand, true);
    }
}

void KVXUTHslideshow::BuildList()
{
    frame = new MMPictureMolecule(scene, GalleryLayoutPicture(layout->IdOf(kRowFrame, 2)),
                                  Pair{0, 0}, layout->listLayer);
    // Behind the lines: the chosen line's words are read over it.
    mark = new MMPictureMolecule(scene, GalleryLayoutPicture(layout->IdOf(kRowMark, 2)), Pair{0, 0},
                                 int16_t(layout->textLayer - 1));
    for (int16_t i = 0; i < kMaxLines; ++i) {
        if (scene->Font(0) != nullptr)
            lines[i] = MMWordWrapMolecule::ConstructInBox(scene, Box{0, 0, 1, 1},
                                                          layout->textColor, scene->Font(0),
                                                          layout->textLayer, " ");
        icons[i] = new MMPictureMolecule(scene, MMPictureReference(), Pair{0, 0},
                                         layout->textLayer);
    }
    catcher = new MMMouseVisualMolecule(
        scene, new MMClassCommand<KVXUTHslideshow>("listPickCmd", scene->Stage(), this,
                                                   &KVXUTHslideshow::PickAtPointer),
        Box{0, 0, 800, 600}, kCatcherLayer, KVXAppCursor(0));
    ShowList(false);
}

bool KVXUTHslideshow::Busy() const
{
    return helpMode || scene->IsBusy();
}

int32_t KVXUTHslideshow::CurrentBook() const
{
    MpSketchbookList* list = host.SketchbookList();
    return list != nullptr ? list->CurrentBookIndex() : -1;
}

int32_t KVXUTHslideshow::CurrentPage() const
{
    MpSketchbookList* list = host.SketchbookList();
    return list != nullptr ? list->CurrentPage() : -1;
}

void KVXUTHslideshow::Show()
{
    MMMolecule::Show();
    board->Show();
    loop->Show();
    for (MpUTHssButton* button : {play, exportButton, previewButton, listButtons[0],
                                  listButtons[1], listButtons[2]})
        button->Show();
}

void KVXUTHslideshow::Hide()
{
    MMMolecule::Hide();
    ShowList(false);
    listKind = kListNone;
    board->Hide();
    loop->Hide();
    for (MpUTHssButton* button : {play, exportButton, previewButton, listButtons[0],
                                  listButtons[1], listButtons[2]})
        button->Hide();
}

const char* KVXUTHslideshow::ChoiceText(int16_t kind, int16_t choice) const
{
    if (kind == kListDelay)
        return DelayLabel(choice);
    int16_t first = kind == kListMusic ? kTextFirstMusic : kTextFirstTransition;
    return GalleryText(int16_t(first + choice));
}

int16_t KVXUTHslideshow::EntryCount(int16_t kind) const
{
    return kind == kListMusic ? kMusicChoices
                              : kind == kListTransition ? kTransitionChoices : kDelayChoices;
}

int16_t KVXUTHslideshow::Choice(int16_t kind) const
{
    return kind >= 0 && kind < 3 ? choices[kind] : -1;
}

const char* KVXUTHslideshow::ListLabel(int16_t kind) const
{
    return kind >= 0 && kind < 3 ? labels[kind] : "";
}

void KVXUTHslideshow::Refresh()
{
    MpSketchbookList* list = host.SketchbookList();
    int32_t book = CurrentBook();
    int32_t page = CurrentPage();
    if (list != nullptr && book >= 0 && page >= 0) {
        choices[kListTransition] = ClampTransitionChoice(list->GetPageTransition(book, page));
        choices[kListMusic] = ClampMusicChoice(list->GetPageMusic(book, page));
        choices[kListDelay] = ClampDelayChoice(list->GetPageDelay(book, page));
    }
    for (int16_t kind = 0; kind < 3; ++kind) {
        lstrcpynA(labels[kind], ChoiceText(kind, choices[kind]), sizeof labels[kind]);
        listButtons[kind]->Visual()->SetLabel(labels[kind], scene->Font(0));
    }
}

Box KVXUTHslideshow::EntryBox(int16_t entry) const
{
    if (listKind == kListNone)
        return {0, 0, 0, 0};
    Pair button = layout->PairOf(ButtonRow(listKind), 2);
    Pair offset = layout->PairOf(kRowFrame, 6);
    Pair text = layout->PairOf(kRowText, 2);
    int16_t height = layout->ShortOf(kRowText, 6, 20);
    int16_t width = layout->ShortOf(kRowText, 8, 200);
    int32_t left = button.x + offset.x + text.x;
    int32_t top = button.y + offset.y + text.y + entry * height;
    return {left, top, left + width, top + height};
}

void KVXUTHslideshow::ShowList(bool on)
{
    if (frame == nullptr)
        return;
    if (!on) {
        catcher->Hide();
        frame->Hide();
        mark->Hide();
        for (int16_t i = 0; i < kMaxLines; ++i) {
            if (lines[i] != nullptr)
                lines[i]->Hide();
            icons[i]->Hide();
        }
        return;
    }
    Pair button = layout->PairOf(ButtonRow(listKind), 2);
    Pair offset = layout->PairOf(kRowFrame, 6);
    frame->Visual()->SetPosition(button.x + offset.x, button.y + offset.y);
    frame->Show();
    const MMRecordTable& entries = layout->entries[listKind];
    Pair iconOffset = layout->PairOf(kRowIcon, 2);
    for (int16_t i = 0; i < kMaxLines; ++i) {
        bool used = i < EntryCount(listKind);
        if (!used) {
            if (lines[i] != nullptr)
                lines[i]->Hide();
            icons[i]->Hide();
            continue;
        }
        Box box = EntryBox(i);
        MMResourceId icon = i < entries.RowCount() ? entries.LongAt(i, 4) : MM_NO_RESOURCE;
        Pair at = i < entries.RowCount() ? entries.PairAt(i, 0) : Pair{0, 0};
        icons[i]->Visual()->SetPicture(GalleryLayoutPicture(icon));
        icons[i]->Visual()->SetPosition(box.left + iconOffset.x + at.x,
                                        box.top + iconOffset.y + at.y);
        icons[i]->Show();
        if (lines[i] != nullptr) {
            lines[i]->Show();
            lines[i]->SetColor(layout->textColor);
            lines[i]->SetFrameBox(0, box);
            lines[i]->SetText(ChoiceText(listKind, i));
        }
    }
}

void KVXUTHslideshow::MarkEntry(int16_t entry)
{
    if (marked >= 0 && marked < kMaxLines && lines[marked] != nullptr)
        lines[marked]->SetColor(layout->textColor);
    marked = entry;
    if (entry < 0 || entry >= EntryCount(listKind)) {
        mark->Hide();
        return;
    }
    if (lines[entry] != nullptr)
        lines[entry]->SetColor(layout->chosenColor);
    Box box = EntryBox(entry);
    Pair offset = layout->PairOf(kRowMark, 6);
    mark->Visual()->SetPosition(box.left + offset.x, box.top + offset.y);
    mark->Show();
}

void KVXUTHslideshow::OpenList(int16_t kind)
{
    if (kind < 0 || kind > 2)
        return;
    listKind = kind;
    visited = false;
    ShowList(true);
    MarkEntry(choices[kind]);
}

void KVXUTHslideshow::ChooseEntry(int16_t entry)
{
    if (listKind == kListNone)
        return;
    int16_t clamped = listKind == kListMusic ? ClampMusicChoice(entry)
                      : listKind == kListTransition ? ClampTransitionChoice(entry)
                                                    : ClampDelayChoice(entry);
    MarkEntry(clamped);
}

void KVXUTHslideshow::ApplyListChoice()
{
    int16_t kind = listKind;
    ShowList(false);
    listKind = kListNone;
    if (kind == kListNone || marked < 0)
        return;
    if (kind == kListMusic)
        StopPreview();
    choices[kind] = marked;
    marked = -1;
    lstrcpynA(labels[kind], ChoiceText(kind, choices[kind]), sizeof labels[kind]);
    listButtons[kind]->Visual()->SetLabel(labels[kind], scene->Font(0));
    MpSketchbookList* list = host.SketchbookList();
    int32_t book = CurrentBook();
    int32_t page = CurrentPage();
    if (list == nullptr || book < 0 || page < 0)
        return;
    if (kind == kListTransition)
        list->SetPageTransition(book, page, choices[kind]);
    else if (kind == kListMusic)
        list->SetPageMusic(book, page, choices[kind]);
    else
        list->SetPageDelay(book, page, choices[kind]);
}

void KVXUTHslideshow::Press(int32_t kind)
{
    if (Busy())
        return;
    OpenList(int16_t(kind));
}

int16_t KVXUTHslideshow::EntryAt(const Pair& point) const
{
    for (int16_t i = 0; listKind != kListNone && i < EntryCount(listKind); ++i)
        if (EntryBox(i).Contains(point))
            return i;
    return -1;
}

void KVXUTHslideshow::Move(const Pair& point)
{
    int16_t entry = EntryAt(point);
    if (entry < 0)
        return;
    visited = true;
    if (entry != marked)
        ChooseEntry(entry);
}

void KVXUTHslideshow::Release()
{
    if (listKind == kListNone)
        return;
    // A plain click leaves the list open for a second click on an entry.
    if (visited)
        ApplyListChoice();
    else
        catcher->Show();
}

void KVXUTHslideshow::PickAtPointer()
{
    const MMStageEvent& event = scene->Stage()->CurrentEvent();
    int16_t entry = EntryAt(Pair{event.x, event.y});
    if (entry >= 0)
        ChooseEntry(entry);
    ApplyListChoice();
}

void KVXUTHslideshow::OnLoop()
{
    bool looping = gApp != nullptr && gApp->IsLoopOn();
    bool now = Busy() ? looping : !looping;
    if (!Busy() && gApp != nullptr)
        gApp->SetLoop(now);
    if (now)
        loop->SetOn();
    else
        loop->SetOff();
}

void KVXUTHslideshow::OnPlay()
{
    if (Busy())
        return;
    goToSlideshow->Post();
}

void KVXUTHslideshow::GoToSlideshow()
{
    if (Busy() || gApp == nullptr)
        return;
    StopPreview();
    gApp->ChangeScene(scene->Stage(), kSceneSlideshow, gApp->GetTransition(kTransitionBoxOut));
}

bool KVXUTHslideshow::OnExport()
{
    MpSketchbookList* list = host.SketchbookList();
    if (Busy() || list == nullptr || list->CurrentBook() == nullptr || gApp == nullptr ||
        gApp->CanvasPlane() == nullptr)
        return false;
    StopPreview();
    ExportPage page = {list->CurrentBook(), CurrentPage(), gApp->CanvasPlane(),
                       choices[kListMusic], choices[kListDelay]};
    SlideshowExport exporter(*dialogs, gExportFolder);
    return exporter.OnExport(page);
}

void KVXUTHslideshow::PreviewMusic()
{
    if (Busy())
        return;
    if (preview != nullptr) {
        StopPreview();
        return;
    }
    if (choices[kListMusic] <= 0)
        return;
    delete endedPreview;
    endedPreview = nullptr;
    previewButton->Visual()->SetPictures(GalleryLayoutPicture(layout->IdOf(kRowPlaying, 2)),
                                         GalleryLayoutPicture(layout->IdOf(kRowPlaying, 6)));
    preview = new MpSoundWaitThread(scene->Stage(), *this, SlideshowMusicSound(choices[kListMusic]));
    preview->SetPriority(kPreviewPriority);
    preview->Activate();
}

void KVXUTHslideshow::StopPreview()
{
    if (preview == nullptr)
        return;
    preview->Cancel();
    preview->Terminate();
    delete preview;
    preview = nullptr;
    previewButton->Visual()->SetPictures(GalleryLayoutPicture(layout->IdOf(kRowPreview, 6)),
                                         GalleryLayoutPicture(layout->IdOf(kRowPreview, 10)));
}

void KVXUTHslideshow::EndPreview()
{
    // The wait thread ends once this returns: it is deleted at the next
    // preview or with the panel.
    delete endedPreview;
    endedPreview = preview;
    preview = nullptr;
    previewButton->Visual()->SetPictures(GalleryLayoutPicture(layout->IdOf(kRowPreview, 6)),
                                         GalleryLayoutPicture(layout->IdOf(kRowPreview, 10)));
}

void KVXUTHslideshow::Opened()
{
    open = true;
    Refresh();
    Show();
    host.SlideshowOpened(true);
}

void KVXUTHslideshow::Closed()
{
    open = false;
    host.SlideshowOpened(false);
}

void KVXUTHslideshow::Close()
{
    if (!open && !toggle->IsSelected())
        return;
    Hide();
    toggle->Deselect();
    Closed();
}

MPViewerPanelToggleButton::MPViewerPanelToggleButton(MpDragScene* scene, MMResourceId scriptId,
                                                     KVXUTHslideshow* panel,
                                                     SlideshowPanelHost& host,
                                                     const bool& helpMode)
    : MPCategoryMolecule(scene, scriptId, 0), panel(panel), host(host), helpMode(helpMode)
{
    SetLayerOffset(106);
    SetCommand(1, new MMClassCommand<MPViewerPanelToggleButton>(
                      "VPSelect 1 Done Cmd", scene->Stage(), this,
                      &MPViewerPanelToggleButton::OpenDone));
    SetCommand(2, new MMClassCommand<MPViewerPanelToggleButton>(
                      "VPSelect 2 Done Cmd", scene->Stage(), this,
                      &MPViewerPanelToggleButton::CloseDone));
}

void MPViewerPanelToggleButton::Choose()
{
    if (selected) {
        if (helpMode)
            return;
        MPSelection::SetSelected(false);
        panel->Hide();
        Run(kClosingLabel);
        return;
    }
    // Neither in help mode nor over the open trash.
    if (helpMode || host.IsTrashOpen()) {
        ShowNormal();
        return;
    }
    Run(3);
    MPSelection::SetSelected(true);
    DisableInput();
}

void MPViewerPanelToggleButton::Deselect()
{
    MPSelection::SetSelected(false);
    EnableInput();
    Run(1);
}

void MPViewerPanelToggleButton::OpenDone()
{
    EnableInput();
    if (selected)
        panel->Opened();
}

void MPViewerPanelToggleButton::CloseDone()
{
    panel->Closed();
}
