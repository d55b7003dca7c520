#include "gallery/viewer_panel.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "framework/heap.h"
#include "engine/command.h"
#include "engine/picture_molecule.h"
#include "engine/record_table.h"
#include "gallery/book_list_panel.h"
#include "gallery/gallery_messages.h"
#include "gallery/sketchbook_list.h"
#include "gallery/sketchbook_page_content.h"
#include "gallery/thumbnail_pictures.h"
#include "gallery/under_the_hood_scene.h"
#include "media/font.h"
#include "media/picture_visual.h"
#include "media/surface.h"
#include "shell/widgets/animated_button.h"
#include "text/text_edits.h"

namespace {

enum : int16_t {
    kUpArrowKey = 13,
    kDownArrowKey = 14,
    kSlotPicturesKey = 15,
    kSelectionFrameKey = 18,
    kInsertionMarkerKey = 19,
    kDropHighlightKey = 20,
    kFirstSlotKey = 24,
};

constexpr int16_t kSlotLayer = 106;
constexpr int16_t kEditLayer = 107;
constexpr int16_t kFrameLayer = 107;
constexpr int16_t kMarkerLayer = 108;
constexpr int16_t kSlotCursor = 4;
constexpr int16_t kDimmedLabel = 99;
constexpr int16_t kPageNameLimit = 11;
constexpr int16_t kTitleLimit = 16;
constexpr Pair kNameCentre = {50, 82};
constexpr Pair kTitlePosition = {495, 415};
constexpr int16_t kTitleWidth = 195;

typedef MMClassCommand1Parameter<KVXUTHviewer, void (KVXUTHviewer::*)(int32_t), int32_t>
    SlotCommand;

}  // namespace

KVXUTHSmallImageButton::KVXUTHSmallImageButton(int16_t slot, KVXUTHviewer* viewer,
                                               KVXUnderTheHoodScene* scene,
                                               MpDragButtonVisual* visual,
                                               MpDragButtonInterpreter* interpreter)
    : MpDragButton(slot, scene, visual, nullptr, KVXAppCursor(kSlotCursor), interpreter),
      viewer(viewer)
{
}

void KVXUTHSmallImageButton::ShowThumbnail(const MMPictureReference& picture)
{
    thumbnail = picture;
    Visual()->SetNormalPicture(picture);
    Visual()->SetHighlightPicture(picture);
}

KVXUTHviewer::KVXUTHviewer(KVXUnderTheHoodScene* scene) : MMMolecule(scene), scene(scene)
{
    const MMRecordTable& layout = scene->Layout();
    for (int32_t i = 0; i < kViewerSlots; ++i) {
        int32_t row = layout.FindRowByKey(int16_t(kFirstSlotKey + i));
        if (row >= 0)
            positions[i] = layout.PairAt(row, 2);
    }
    int32_t row = layout.FindRowByKey(kUpArrowKey);
    if (row >= 0)
        up = new (gDefaultHeap) KVXAnimatedButtonMolecule(
            scene, layout.LongAt(row, 2),
            new (gDefaultHeap) MMClassCommand<KVXUTHviewer>("handleArrowUpCmd", Stage(), this,
                                                            &KVXUTHviewer::ArrowUp),
            kSlotLayer, 0, 100, 1);
    row = layout.FindRowByKey(kDownArrowKey);
    if (row >= 0)
        down = new (gDefaultHeap) KVXAnimatedButtonMolecule(
            scene, layout.LongAt(row, 2),
            new (gDefaultHeap) MMClassCommand<KVXUTHviewer>("handleArrowDownCmd", Stage(), this,
                                                            &KVXUTHviewer::ArrowDown),
            kSlotLayer, 0, 100, 1);
    MMPictureReference normal;
    MMPictureReference high;
    row = layout.FindRowByKey(kSlotPicturesKey);
    if (row >= 0) {
        MMRecordTable pictures;
        pictures.Load(layout.ItemIdAt(row, 2), 12, gDefaultHeap);
        if (pictures.RowCount() > 0) {
            normal.Load(pictures.LongAt(0, 4));
            high.Load(pictures.LongAt(0, 8));
        }
    }
    for (int32_t i = 0; i < kViewerSlots; ++i)
        MakeSlot(i, normal, high);
    MPTextEdit::Parameters titleParameters = {
        scene, kTitleLimit, kTitlePosition, kTitleWidth, kAlignCapTop, MakeMMColorFromRgb(0),
        scene->Font(1), MakeMMColorFromRgb(0)};
    title = new (gDefaultHeap) MPCenteredTextEdit(
        titleParameters, Pair{kTitlePosition.x + kTitleWidth / 2, kTitlePosition.y});
    if (title)
        title->SetLayer(kEditLayer);
    selectionFrame = MakePicture(kSelectionFrameKey, kFrameLayer, false);
    marker = MakePicture(kInsertionMarkerKey, kMarkerLayer, false);
    highlight = MakePicture(kDropHighlightKey, kEditLayer, true);
    if (marker)
        marker->Hide();
    if (highlight)
        highlight->Hide();
    int32_t count = PageCount();
    int32_t current = scene->CurrentPage();
    first = int16_t(FirstShownPage(current, count));
    currentSlot = int16_t(current - first);
    RefreshPage();
}

KVXUTHviewer::~KVXUTHviewer() = default;

void KVXUTHviewer::MakeSlot(int32_t i, const MMPictureReference& normal,
                            const MMPictureReference& high)
{
    MMCommand* click = new (gDefaultHeap)
        SlotCommand("smallImagesCmd", Stage(), this, &KVXUTHviewer::SelectSlot, i);
    MMCommand* doubleClick = new (gDefaultHeap)
        SlotCommand("smallDClickCmd", Stage(), this, &KVXUTHviewer::OpenSlot, i);
    auto* interpreter = new (gDefaultHeap) MpDragButtonInterpreter(
        kDragViewerPage, scene, click, nullptr, KVXAppCursor(kSlotCursor), doubleClick, -1);
    auto* visual = new (gDefaultHeap)
        MpDragButtonVisual(normal, high, positions[i], interpreter, kSlotLayer);
    slots[i] = new (gDefaultHeap)
        KVXUTHSmallImageButton(int16_t(i), this, scene, visual, interpreter);
    slots[i]->Hide();
    if (!scene->Font(0))
        return;
    int32_t width = visual->GetBounds().Width() / 2;
    if (width <= 0)
        width = kThumbnailWidth / 2;
    Pair centre = {positions[i].x + kNameCentre.x, positions[i].y + kNameCentre.y};
    MMColor pale = {-1, 170, 255, 255, 0};
    MPTextEdit::Parameters parameters = {scene, kPageNameLimit, Pair{centre.x - width / 2, centre.y},
                                         int16_t(width), kAlignCapTop, pale, scene->Font(0), pale};
    names[i] = new (gDefaultHeap) MPCenteredTextEdit(parameters, centre);
    if (names[i]) {
        names[i]->SetLayer(kEditLayer);
        names[i]->Hide();
    }
}

MMPictureMolecule* KVXUTHviewer::MakePicture(int16_t key, int16_t layer, bool atRow)
{
    const MMRecordTable& layout = scene->Layout();
    int32_t row = layout.FindRowByKey(key);
    Pair at;
    MMPictureID picture;
    if (row < 0 || !MMPlacedPicture(layout.ItemIdAt(row, 2), 0, at, picture))
        return nullptr;
    return new (gDefaultHeap) MMPictureMolecule(scene, picture, atRow ? at : Pair{0, 0}, layer);
}

int32_t KVXUTHviewer::PageCount() const
{
    MpSketchbookList* books = scene->Books();
    SketchbookFile* book = books ? books->CurrentBook() : nullptr;
    return book ? book->PageCount() : 0;
}

int32_t KVXUTHviewer::CurrentPage() const { return first + currentSlot; }

void KVXUTHviewer::SetCurrentPage(int32_t page)
{
    currentSlot = int16_t(page - first);
    scene->SetCurrentPage(page);
}

bool KVXUTHviewer::IsShown(int32_t page) const
{
    return page >= first && page < first + kViewerSlots && page < PageCount();
}

void KVXUTHviewer::RefreshPage()
{
    ShowDropHighlight(false);
    if (first >= PageCount() && first >= kViewerColumns) {
        first = int16_t(first - kViewerColumns);
        SetCurrentPage(first);
    }
    HideSlots();
    if (selectionFrame)
        selectionFrame->Show();
    FillSlots(0);
    UpdateNames();
    UpdateArrows();
}

void KVXUTHviewer::FillSlot(int32_t i)
{
    MpSketchbookList* books = scene->Books();
    SketchbookFile* book = books ? books->CurrentBook() : nullptr;
    int32_t page = first + i;
    if (!slots[i])
        return;
    if (!book || page >= book->PageCount()) {
        slots[i]->ShowThumbnail(MMPictureReference());
        slots[i]->Hide();
        if (names[i])
            names[i]->Hide();
        return;
    }
    slots[i]->ShowThumbnail(ThumbnailPicture(book->ReadThumbnail(page), false));
    slots[i]->Show();
}

void KVXUTHviewer::TakeSlot(int32_t to, int32_t from)
{
    if (!slots[to] || !slots[from])
        return;
    if (first + to >= PageCount()) {
        FillSlot(to);
        return;
    }
    slots[to]->ShowThumbnail(slots[from]->Thumbnail());
    slots[to]->Visual()->SetDragPicture(slots[from]->Visual()->DragPicture());
    slots[to]->Show();
}

void KVXUTHviewer::FillSlots(int32_t mode)
{
    // One opening of the book for all the thumbnails read.
    MpSketchbookList* books = scene->Books();
    SketchbookFile* book = books ? books->CurrentBook() : nullptr;
    bool opened = book && !book->IsOpen() && book->OpenExisting(true);
    if (mode == 1) {
        for (int32_t i = 0; i < 6; ++i)
            TakeSlot(i, i + 3);
        for (int32_t i = 6; i < kViewerSlots; ++i)
            FillSlot(i);
    } else if (mode == 2) {
        for (int32_t i = kViewerSlots - 1; i >= 3; --i)
            TakeSlot(i, i - 3);
        for (int32_t i = 2; i >= 0; --i)
            FillSlot(i);
    } else {
        for (int32_t i = 0; i < kViewerSlots; ++i)
            FillSlot(i);
    }
    if (opened)
        book->Close();
}

void KVXUTHviewer::UpdateNames()
{
    MpSketchbookList* books = scene->Books();
    SketchbookFile* book = books ? books->CurrentBook() : nullptr;
    int32_t count = PageCount();
    if (count > 0 && (currentSlot >= count || CurrentPage() >= count)) {
        StoreCurrentPageName();
        SetCurrentPage(count - 1);
    }
    if (title)
        title->SetText(book ? book->BookName() : "");
    for (int32_t i = 0; i < kViewerSlots; ++i) {
        bool exists = first + i < count;
        if (slots[i])
            exists ? slots[i]->Show() : slots[i]->Hide();
        if (!names[i])
            continue;
        if (exists) {
            names[i]->SetText(book->PageName(first + i));
            names[i]->Show();
        } else {
            names[i]->Hide();
        }
    }
    MoveSelectionFrame();
    scene->SlideshowPageChanged();
}

void KVXUTHviewer::EnableArrow(KVXAnimatedButtonMolecule* arrow, bool on)
{
    if (!arrow || arrow->IsActive() == on)
        return;
    arrow->SetActive(on, false);
    arrow->Run(on ? int16_t(kLabelIdle) : kDimmedLabel);
}

void KVXUTHviewer::UpdateArrows()
{
    ViewerArrows arrows = ViewerArrowsFor(first, PageCount());
    EnableArrow(up, arrows.up);
    EnableArrow(down, arrows.down);
}

void KVXUTHviewer::HideSlots()
{
    for (int32_t i = 0; i < kViewerSlots; ++i) {
        if (slots[i])
            slots[i]->Hide();
        if (names[i])
            names[i]->Hide();
    }
}

void KVXUTHviewer::ClearSlots()
{
    for (KVXUTHSmallImageButton* slot : slots) {
        if (!slot)
            continue;
        slot->ShowThumbnail(MMPictureReference());
        slot->Visual()->SetDragPicture(MMPictureReference());
    }
}

void KVXUTHviewer::StorePageNames()
{
    MpSketchbookList* books = scene->Books();
    if (!books || !books->CurrentBook())
        return;
    int32_t count = PageCount();
    for (int32_t i = 0; i < kViewerSlots && first + i < count; ++i)
        if (names[i] && std::strcmp(names[i]->Text(), books->CurrentBook()->PageName(first + i)))
            books->SetPageName(books->CurrentBookIndex(), first + i, names[i]->Text());
}

void KVXUTHviewer::StoreCurrentPageName()
{
    MpSketchbookList* books = scene->Books();
    int32_t page = CurrentPage();
    if (!books || !IsShown(page) || !names[page - first])
        return;
    books->SetPageName(books->CurrentBookIndex(), page, names[page - first]->Text());
}

void KVXUTHviewer::MoveSelectionFrame()
{
    int32_t page = CurrentPage();
    if (!IsShown(page) || !slots[page - first])
        return;
    if (names[page - first])
        scene->SetFocus(names[page - first]);
    if (selectionFrame)
        selectionFrame->Visual()->SetPosition(positions[page - first].x,
                                               positions[page - first].y);
}

void KVXUTHviewer::ShowFirstPage()
{
    first = 0;
    currentSlot = 0;
    scene->SetCurrentPage(0);
    RefreshPage();
}

void KVXUTHviewer::ScrollDownRows(int32_t rows)
{
    ViewerScroll scroll = ScrollViewerDown(first, CurrentPage(), PageCount(), rows);
    first = int16_t(scroll.first);
    SetCurrentPage(scroll.current);
    UpdateArrows();
    FillSlots(1);
    UpdateNames();
}

void KVXUTHviewer::ScrollUpRows(int32_t rows)
{
    ViewerScroll scroll = ScrollViewerUp(first, CurrentPage(), PageCount(), rows);
    first = int16_t(scroll.first);
    SetCurrentPage(scroll.current);
    UpdateArrows();
    FillSlots(2);
    UpdateNames();
}

void KVXUTHviewer::ArrowUp()
{
    if (scene->HelpMode()) {
        scene->PlayHelpSound();
        return;
    }
    StorePageNames();
    if (first > 0)
        ScrollUpRows(1);
}

void KVXUTHviewer::ArrowDown()
{
    if (scene->HelpMode()) {
        scene->PlayHelpSound();
        return;
    }
    StorePageNames();
    if (ViewerArrowsFor(first, PageCount()).down)
        ScrollDownRows(1);
}

void KVXUTHviewer::SelectSlot(int32_t slot)
{
    if (scene->HelpMode()) {
        scene->PlayHelpSound();
        return;
    }
    ShowDropHighlight(false);
    if (marker)
        marker->Hide();
    SetCurrentPage(first + slot);
    MoveSelectionFrame();
    scene->SlideshowPageChanged();
}

void KVXUTHviewer::OpenSlot(int32_t slot)
{
    if (scene->HelpMode()) {
        scene->PlayHelpSound();
        return;
    }
    SelectSlot(slot);
    scene->LeaveGallery();
}

void KVXUTHviewer::FocusTitle()
{
    if (title)
        scene->SetFocus(title);
}

void KVXUTHviewer::TitleText(char* text, int32_t size) const
{
    if (size <= 0)
        return;
    text[0] = 0;
    if (title)
        std::strncat(text, title->Text(), size_t(size - 1));
}
