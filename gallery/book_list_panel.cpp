#include "gallery/book_list_panel.h"

#include "framework/heap.h"
#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/record_table.h"
#include "gallery/drag_button.h"
#include "gallery/gallery_messages.h"
#include "gallery/label_fitting.h"
#include "gallery/sketchbook_list.h"
#include "gallery/under_the_hood_scene.h"
#include "gallery/viewer_panel.h"
#include "media/font.h"
#include "media/surface.h"
#include "media/word_wrapper.h"
#include "shell/widgets/animated_button.h"

namespace {

constexpr int16_t kEntryLayer = 106;
constexpr int16_t kTextEllipsis = 19;
constexpr int16_t kSlotCursor = 4;
constexpr int16_t kDimmedLabel = 99;
constexpr int32_t kLabelTop = 46;
constexpr int32_t kLabelBottom = 61;

typedef MMClassCommand1Parameter<KVXUTHsketchbookList, void (KVXUTHsketchbookList::*)(int32_t),
                                 int32_t>
    EntryCommand;

int32_t TextWidth(MMBaseScene* scene, MMFont* font, const std::string& text)
{
    MMEnclosure* top = scene ? scene->TopEnclosure() : nullptr;
    MMSurface* surface = top ? top->Surface() : nullptr;
    if (!surface || !font)
        return 0;
    surface->SelectFont(font);
    int32_t width = text.empty() ? 0 : surface->TextWidth(text.c_str(), int32_t(text.size()));
    surface->ReleaseFont();
    return width;
}

}  // namespace

KVXUTHsketchbookList::KVXUTHsketchbookList(KVXUnderTheHoodScene* scene)
    : MMMolecule(scene), scene(scene)
{
    MMRecordTable table;
    table.LoadTenByteRows(kBookListTable, 0);
    for (int32_t i = 0; i < kBookEntries; ++i) {
        int32_t row = table.FindRowByKey(int16_t(5 + i));
        if (row >= 0)
            positions[i] = table.PairAt(row, 2);
    }
    MMRecordTable pictures;
    int32_t row = table.FindRowByKey(2);
    if (row >= 0) {
        pictures.Load(table.ItemIdAt(row, 2), 12, gDefaultHeap);
        if (pictures.RowCount() > 0) {
            normalPicture.Load(pictures.LongAt(0, 4));
            highlightPicture.Load(pictures.LongAt(0, 8));
        }
    }
    for (int16_t key : {int16_t(3), int16_t(4)}) {
        MMRecordTable eight;
        row = table.FindRowByKey(key);
        if (row < 0)
            continue;
        eight.Load(table.ItemIdAt(row, 2), 8, gDefaultHeap);
        if (eight.RowCount() > 0)
            (key == 3 ? targetPicture : dragPicture).Load(eight.LongAt(0, 4));
    }
    row = table.FindRowByKey(0);
    if (row >= 0)
        up = new (gDefaultHeap) KVXAnimatedButtonMolecule(
            scene, table.LongAt(row, 2),
            new (gDefaultHeap) MMClassCommand<KVXUTHsketchbookList>(
                "arrowUpCmd", Stage(), this, &KVXUTHsketchbookList::ScrollUp),
            kEntryLayer, 0, 100, 1);
    row = table.FindRowByKey(1);
    if (row >= 0)
        down = new (gDefaultHeap) KVXAnimatedButtonMolecule(
            scene, table.LongAt(row, 2),
            new (gDefaultHeap) MMClassCommand<KVXUTHsketchbookList>(
                "arrowDownCmd", Stage(), this, &KVXUTHsketchbookList::ScrollDown),
            kEntryLayer, 0, 100, 1);
    EnableArrow(up, false);
    EnableArrow(down, false);
    for (int32_t i = 0; i < kBookEntries; ++i)
        MakeEntry(i);
    Refresh();
    UpdateUpArrow();
    UpdateDownArrow();
}

KVXUTHsketchbookList::~KVXUTHsketchbookList() = default;

void KVXUTHsketchbookList::MakeEntry(int32_t i)
{
    MMCommand* click = new (gDefaultHeap)
        EntryCommand("handleBookButtonCmd", Stage(), this, &KVXUTHsketchbookList::ChooseEntry, i);
    MMCommand* doubleClick = new (gDefaultHeap)
        EntryCommand("handleBookDClickCmd", Stage(), this, &KVXUTHsketchbookList::OpenEntry, i);
    MMCursor* cursor = KVXAppCursor(kSlotCursor);
    auto* interpreter = new (gDefaultHeap)
        MpDragButtonInterpreter(kDragBook, scene, click, nullptr, cursor, doubleClick, -1);
    auto* visual = new (gDefaultHeap)
        MpDragButtonVisual(normalPicture, highlightPicture, positions[i], interpreter, kEntryLayer);
    visual->SetDragPicture(dragPicture);
    entries[i] = new (gDefaultHeap)
        MpDragButton(int16_t(i), scene, visual, click, cursor, interpreter);
    Box box = {positions[i].x + 2, positions[i].y + kLabelTop,
               positions[i].x + visual->GetBounds().Width() - 2, positions[i].y + kLabelBottom};
    labels[i] = MMWordWrapMolecule::ConstructInBox(scene, box, MakeMMColorFromRgb(0), scene->Font(0),
                                                   kEntryLayer, "");
}

int32_t KVXUTHsketchbookList::BookOf(int32_t entry) const
{
    if (entry < 0 || entry >= shown || !entries[entry])
        return -1;
    return shownBooks[entry];
}

void KVXUTHsketchbookList::Refresh()
{
    MpSketchbookList* books = scene->Books();
    count = int16_t(books ? books->BookCount() : 0);
    BookColumn column = LayOutBookColumn(count, books ? books->CurrentBookIndex() : -1, first);
    first = int16_t(column.first);
    shown = int16_t(column.books.size());
    for (int32_t i = 0; i < kBookEntries; ++i) {
        if (entries[i])
            entries[i]->Hide();
        if (labels[i])
            labels[i]->Hide();
    }
    for (int32_t i = 0; i < shown; ++i) {
        if (!entries[i])
            continue;
        int32_t book = column.books[size_t(i)];
        shownBooks[i] = int16_t(book);
        SetEntryPictures(i, normalPicture, highlightPicture);
        entries[i]->Show();
        PlaceLabel(i, books->BookName(book));
    }
}

void KVXUTHsketchbookList::PlaceLabel(int32_t i, const char* name)
{
    MMWordWrapMolecule* label = labels[i];
    if (!label || !entries[i])
        return;
    int32_t width = entries[i]->Visual()->GetBounds().Width();
    int32_t room = width - 4;
    MMFont* font = scene->Font(0);
    std::string text = FitLabelText(name ? name : "", GalleryText(kTextEllipsis),
                                    [&](const std::string& t) {
                                        return TextWidth(scene, font, t) <= room;
                                    });
    int32_t measured = TextWidth(scene, font, text);
    Pair at = positions[i];
    int32_t left = at.x + width / 2 - measured / 2;
    label->SetFrameBox(0, Box{left, at.y + kLabelTop, left + measured + 1, at.y + kLabelBottom});
    label->SetText(text.c_str());
    label->Show();
}

void KVXUTHsketchbookList::SetEntryPictures(int32_t i, const MMPictureReference& normal,
                                            const MMPictureReference& highlighted)
{
    if (!entries[i])
        return;
    entries[i]->Visual()->SetNormalPicture(normal);
    entries[i]->Visual()->SetHighlightPicture(highlighted);
}

void KVXUTHsketchbookList::EnableArrow(KVXAnimatedButtonMolecule* arrow, bool on)
{
    if (!arrow || arrow->IsActive() == on)
        return;
    arrow->SetActive(on, false);
    arrow->Run(on ? int16_t(kLabelIdle) : kDimmedLabel);
}

void KVXUTHsketchbookList::UpdateDownArrow()
{
    EnableArrow(down, count > 5 && first + kBookEntries < count - 1);
    EnableArrow(up, count > 5 && first > 0);
}

void KVXUTHsketchbookList::UpdateUpArrow()
{
    if (count > kBookEntries) {
        if (first + kBookEntries >= count - 1)
            EnableArrow(down, false);
        if (first == 0)
            EnableArrow(up, false);
    } else {
        EnableArrow(down, false);
        EnableArrow(up, false);
    }
}

void KVXUTHsketchbookList::ScrollUp()
{
    if (scene->HelpMode()) {
        scene->PlayEmptySound();
        return;
    }
    if (first > 0)
        --first;
    if (first == 0)
        EnableArrow(up, false);
    EnableArrow(down, true);
    Refresh();
}

void KVXUTHsketchbookList::ScrollDown()
{
    if (scene->HelpMode()) {
        scene->PlayEmptySound();
        return;
    }
    ++first;
    if (shown + first >= count - 1)
        EnableArrow(down, false);
    EnableArrow(up, true);
    Refresh();
}

void KVXUTHsketchbookList::BookAdded()
{
    ++count;
    shown = int16_t(count < 6 ? count - 1 : kBookEntries);
    first = int16_t(FirstAfterBookAdded(count));
    Refresh();
    UpdateUpArrow();
    UpdateDownArrow();
}

void KVXUTHsketchbookList::ChooseEntry(int32_t entry)
{
    if (!scene->HelpMode())
        chosen = int16_t(entry);
}

int32_t KVXUTHsketchbookList::ChosenBook() const
{
    if (chosen < 0 || chosen >= kBookEntries || !entries[chosen])
        return 0;
    return shownBooks[chosen];
}

void KVXUTHsketchbookList::EmptyEntry(int32_t entry)
{
    if (scene->HelpMode() || entry < 0 || entry >= kBookEntries || !entries[entry])
        return;
    SetEntryPictures(entry, MMPictureReference(), MMPictureReference());
    if (labels[entry])
        labels[entry]->Hide();
}

void KVXUTHsketchbookList::OpenEntry(int32_t entry)
{
    if (scene->HelpMode()) {
        scene->PlayEmptySound();
        return;
    }
    chosen = int16_t(entry);
    if (entry < 0 || entry >= shown || !entries[entry])
        return;
    scene->SetZoomKind(shownBooks[entry]);
    scene->StartZoom(entries[entry]->Visual()->GetBounds(), kZoomTarget);
    EmptyEntry(entry);
}

bool KVXUTHsketchbookList::EntryHolds(int32_t i, const Pair& point) const
{
    if (i >= shown || !entries[i] || entries[i]->IsHidden())
        return false;
    Box box = entries[i]->Visual()->GetBounds();
    return point.x >= box.left && point.x < box.right && point.y >= box.top &&
           point.y < box.bottom;
}

int32_t KVXUTHsketchbookList::FindEntry(const Pair& point) const
{
    for (int32_t i = 0; i < shown; ++i)
        if (EntryHolds(i, point))
            return i;
    return -1;
}

bool KVXUTHsketchbookList::DragOver(int32_t kind, const Pair& point)
{
    if (kind != kDragViewerPage && kind != kDragTrashedPage)
        return armed != 0;
    int32_t over = FindEntry(point);
    if (over >= 0) {
        armed = kind;
        SetEntryPictures(over, targetPicture, targetPicture);
    } else {
        armed = 0;
    }
    ResetHighlights(over);
    return armed != 0;
}

void KVXUTHsketchbookList::ResetHighlights(int32_t except)
{
    for (int32_t i = 0; i < shown; ++i)
        if (i != except && entries[i] && !entries[i]->IsHidden())
            SetEntryPictures(i, normalPicture, normalPicture);
}

void KVXUTHsketchbookList::ShowNormal(int32_t i)
{
    SetEntryPictures(i, normalPicture, highlightPicture);
}

bool KVXUTHsketchbookList::Drop(int32_t kind, const Pair& point)
{
    dropPoint = point;
    if (kind == kDragViewerPage || kind == kDragTrashedPage) {
        int32_t over = FindEntry(point);
        if (over >= 0) {
            armed = kind;
            scene->ZoomToDrop(scene->DragImageBox(), entries[over]->Visual()->GetBounds());
            return true;
        }
    }
    armed = 0;
    return false;
}

bool KVXUTHsketchbookList::PerformDrop()
{
    if (!armed)
        return false;
    int32_t kind = armed;
    armed = 0;
    int32_t over = FindEntry(dropPoint);
    MpSketchbookList* books = scene->Books();
    if (over < 0 || !books)
        return true;
    int32_t book = shownBooks[over];
    if (books->PageCountOf(book) >= kBookPageLimit) {
        GalleryAlert(kAlertBookFull, "full book", kAlertKindInformation);
        ShowNormal(over);
        return true;
    }
    ShowNormal(over);
    KVXUTHviewer* viewer = scene->Viewer();
    if (kind == kDragViewerPage) {
        scene->BuildDefaultTitle();
        if (viewer)
            viewer->StorePageNames();
        // The page the child dragged, which need not be the current one.
        int32_t page = viewer && viewer->HasDraggedPage() ? viewer->DraggedPage()
                                                            : scene->CurrentPage();
        int32_t current = books->CurrentBookIndex();
        if (books->MovePageBetweenBooks(book, current, page))
            scene->SelectEntry(books->CurrentBookIndex());
        else if (viewer)
            viewer->RefreshPage();
    } else {
        scene->RestoreTrashedPage(book, -1);
        scene->TrashRefreshAndShow();
    }
    return true;
}
