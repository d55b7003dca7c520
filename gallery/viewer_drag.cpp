// The viewer's drags: a page moved within the book, a book opened, a
// trashed book or page brought back.
#include <memory>

#include "framework/heap.h"
#include "engine/picture_molecule.h"
#include "gallery/book_list_panel.h"
#include "gallery/gallery_messages.h"
#include "gallery/sketchbook_list.h"
#include "gallery/sketchbook_page_content.h"
#include "gallery/thumbnail_pictures.h"
#include "gallery/under_the_hood_scene.h"
#include "gallery/viewer_panel.h"
#include "media/picture_visual.h"
#include "shell/widgets/animated_button.h"

namespace {

constexpr int32_t kSlotWidth = kThumbnailWidth;

}  // namespace

bool KVXUTHviewer::InsideBox(const Pair& point) const
{
    return point.x >= kViewerBox.left && point.x < kViewerBox.right &&
           point.y >= kViewerBox.top && point.y < kViewerBox.bottom;
}

bool KVXUTHviewer::OverArrow(KVXAnimatedButtonMolecule* arrow, const Pair& point) const
{
    return arrow && arrow->IsActive() && !arrow->IsHidden() && arrow->ContainsPoint(point);
}

void KVXUTHviewer::ShowDropHighlight(bool show)
{
    if (!highlight)
        return;
    if (show && highlight->IsHidden())
        highlight->Show();
    else if (!show && !highlight->IsHidden())
        highlight->Hide();
}

void KVXUTHviewer::RecordDraggedPage(int32_t slot) { draggedPage = int16_t(first + slot); }

void KVXUTHviewer::DragStarted(int32_t slot)
{
    MpSketchbookList* books = scene->Books();
    SketchbookFile* book = books ? books->CurrentBook() : nullptr;
    if (scene->HelpMode() || !book || slot < 0 || slot >= kViewerSlots || !slots[slot])
        return;
    std::unique_ptr<uint32_t[]> pixels(new (std::nothrow) uint32_t[kThumbnailWidth * kThumbnailHeight]);
    MMPictureReference picture;
    if (pixels && book->ReadThumbnailUncached(first + slot, pixels.get()))
        picture = ThumbnailPicture(pixels.get(), true);
    slots[slot]->Visual()->SetDragPicture(picture);
}

int32_t KVXUTHviewer::InsertionIndex(const Pair& point) const
{
    return ::InsertionIndex(point, positions, kSlotWidth, first, PageCount());
}

void KVXUTHviewer::PlaceInsertionMarker(const Pair& point)
{
    if (!marker)
        return;
    int32_t index = InsertionIndex(point);
    int32_t width = marker->Visual()->GetBounds().Width();
    int32_t count = PageCount();
    if (index < 0 || index >= first + kViewerSlots) {
        int32_t last = std::min(count - first - 1, kViewerSlots - 1);
        if (last < 0)
            last = 0;
        marker->Visual()->SetPosition(positions[last].x + kSlotWidth + 2 * width, positions[last].y);
        return;
    }
    int32_t slot = index - first;
    // The gap left of a row's first thumbnail is as wide as the others.
    int32_t gap = positions[1].x - positions[0].x - kSlotWidth;
    marker->Visual()->SetPosition(positions[slot].x - gap / 2 - width / 2, positions[slot].y);
}

bool KVXUTHviewer::DragOver(int32_t kind, const Pair& point)
{
    bool inside = InsideBox(point);
    if (kind == kDragBook || kind == kDragTrashedBook) {
        if (inside && !armed) {
            armed = kind;
            ShowDropHighlight(true);
            scene->HideTrashHighlight();
        } else if (!inside) {
            armed = 0;
            ShowDropHighlight(false);
        }
        return armed != 0;
    }
    armed = 0;
    if (inside) {
        ShowDropHighlight(true);
        scene->HideTrashHighlight();
        if (scene->BookList())
            scene->BookList()->ResetHighlights(-1);
        PlaceInsertionMarker(point);
        if (marker)
            marker->Show();
        armed = kind;
        return true;
    }
    ShowDropHighlight(false);
    if (OverArrow(up, point))
        ScrollUpRows(1);
    else if (OverArrow(down, point))
        ScrollDownRows(1);
    if (marker)
        marker->Hide();
    return false;
}

bool KVXUTHviewer::Drop(int32_t kind, const Pair& point)
{
    ShowDropHighlight(false);
    dropPoint = point;
    bool accepted = false;
    if (InsideBox(point) && (kind == kDragBook || kind == kDragTrashedBook)) {
        armed = kind;
        scene->ZoomToDrop(scene->DragImageBox(), kViewerBox);
        accepted = true;
    } else if (InsideBox(point) && (kind == kDragViewerPage || kind == kDragTrashedPage)) {
        armed = kind;
        insertion = int16_t(InsertionIndex(point));
        if (insertion == -1 || insertion > first + kViewerSlots - 1) {
            PerformDrop();
        } else {
            Box target = slots[insertion - first]->Visual()->GetBounds();
            scene->ZoomToDrop(scene->DragImageBox(), target);
        }
        accepted = true;
    } else {
        armed = 0;
    }
    if (marker)
        marker->Hide();
    return accepted;
}

bool KVXUTHviewer::PerformDrop()
{
    if (!armed)
        return false;
    int32_t kind = armed;
    MpSketchbookList* books = scene->Books();
    SketchbookFile* book = books ? books->CurrentBook() : nullptr;
    if (kind == kDragBook) {
        scene->BuildDefaultTitle();
        first = 0;
        StorePageNames();
        if (scene->BookList())
            scene->SelectEntry(scene->BookList()->ChosenBook());
    } else if ((kind == kDragViewerPage || kind == kDragTrashedPage) && book) {
        StorePageNames();
        int32_t count = PageCount();
        // Reordering keeps the count: only a page coming in needs room.
        if (kind == kDragTrashedPage && count >= kBookPageLimit) {
            GalleryAlert(kAlertBookFull, "full book", kAlertKindInformation);
        } else {
            int32_t landed = insertion;
            if (kind == kDragViewerPage && draggedPage >= 0) {
                if (insertion == -1) {
                    book->MovePageTo(draggedPage, count - 1);
                } else {
                    book->MovePageBefore(draggedPage, insertion);
                    if (draggedPage < insertion)
                        landed = insertion - 1;
                }
            } else if (kind == kDragTrashedPage) {
                scene->RestoreTrashedPage(books->CurrentBookIndex(), insertion);
                scene->TrashRefreshAndShow();
            }
            book->ReadPageTable();
            if (landed == -1)
                landed = PageCount() - 1;
            if (landed < first || landed >= first + kViewerSlots)
                first = int16_t(FirstShownPage(landed, PageCount()));
            SelectSlot(landed - first);
            RefreshPage();
            insertion = 0;
        }
    } else if (kind == kDragTrashedBook) {
        scene->BuildDefaultTitle();
        StorePageNames();
        int32_t restored = scene->RestoreTrashedBook();
        first = 0;
        if (restored >= 0)
            scene->SelectEntry(restored);
        scene->TrashRefreshAndShow();
    }
    ShowDropHighlight(false);
    armed = 0;
    draggedPage = -1;
    return true;
}
