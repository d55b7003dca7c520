// The gallery's drags between its panels and the zoom before each takes
// effect.
#include "engine/molecule.h"
#include "engine/stage.h"
#include "engine/stage_control.h"
#include "gallery/book_list_panel.h"
#include "gallery/sketchbook_list.h"
#include "gallery/under_the_hood_scene.h"
#include "gallery/viewer_panel.h"
#include "shell/app.h"
#include "shell/widgets/frame_visual.h"

void KVXUnderTheHoodScene::DragStarted(int16_t entry, int32_t kind)
{
    switch (kind) {
    case kDragBook:
        if (bookList)
            bookList->EmptyEntry(entry);
        break;
    case kDragTrashedBook:
        SetTrashDragged(entry);
        EmptyTrashSlot(entry);
        break;
    case kDragViewerPage:
        if (viewer)
            viewer->DragStarted(entry);
        break;
    default:
        break;
    }
}

bool KVXUnderTheHoodScene::DragOver(int32_t kind, const Pair& point, int16_t entry)
{
    if (viewer && kind == kDragViewerPage && !viewer->HasDraggedPage())
        viewer->RecordDraggedPage(entry);
    if (viewer && viewer->DragOver(kind, point))
        return true;
    if (bookList && bookList->DragOver(kind, point))
        return true;
    return TrashCanOn() && TrashDragOver(kind, point);
}

bool KVXUnderTheHoodScene::Drop(int16_t entry, int32_t kind, const Pair& point)
{
    if (kind == kDragBook && bookList)
        bookList->ChooseEntry(entry);
    else if (kind == kDragViewerPage && viewer && !viewer->HasDraggedPage())
        viewer->RecordDraggedPage(entry);
    else if (kind == kDragTrashedBook || kind == kDragTrashedPage)
        SetTrashDragged(entry);
    bool accepted = (viewer && viewer->Drop(kind, point)) ||
                    (bookList && bookList->Drop(kind, point)) ||
                    (TrashCanOn() && TrashDrop(kind, point));
    if (!accepted) {
        PlayEmptySound();
        if (kind == kDragBook)
            RefreshBookList();
        else if (kind == kDragTrashedBook)
            TrashRefreshAndShow();
        if (viewer)
            viewer->ClearDraggedPage();
    }
    return accepted;
}

void KVXUnderTheHoodScene::SetZoomKind(int32_t kind)
{
    if (zoomThread)
        zoomThread->Path().SetKind(kind);
}

void KVXUnderTheHoodScene::ZoomToDrop(const Box& from, const Box& to)
{
    SetZoomKind(-1);
    StartZoom(from, to);
}

bool KVXUnderTheHoodScene::Zooming() const
{
    return zoomThread && zoomThread->Path().Running();
}

void KVXUnderTheHoodScene::StartZoom(const Box& from, const Box& to)
{
    if (!zoomThread) {
        // Without the thread the action still happens, at once.
        ZoomDone(-1);
        return;
    }
    int32_t kind = zoomThread->Path().Kind();
    zoomThread->Terminate();
    zoomThread->Path().SetBoxes(from, to);
    zoomThread->Path().SetKind(kind);
    if (zoomFrame)
        zoomFrame->Show();
    zoomThread->Activate();
}

void KVXUnderTheHoodScene::SetZoomFrame(const Box& box)
{
    if (!frameBox)
        return;
    if (box.right <= box.left || box.bottom <= box.top) {
        if (zoomFrame)
            zoomFrame->Hide();
        return;
    }
    frameBox->SetBox(box);
}

void KVXUnderTheHoodScene::ZoomDone(int32_t kind)
{
    if (zoomFrame)
        zoomFrame->Hide();
    MpSketchbookList* books = Books();
    if (kind == -1) {
        bool done = (viewer && viewer->PerformDrop()) || (bookList && bookList->PerformDrop());
        if (!done)
            TrashPerformDrop();
        if (viewer)
            viewer->ClearDraggedPage();
        RefreshBookList();
    } else if (kind == -2) {
        BuildDefaultTitle();
        if (viewer)
            viewer->StorePageNames();
        if (books && books->CurrentBook())
            books->CurrentBook()->ClearThumbnails();
        if (books && books->CreateBook()) {
            SetCurrentPage(0);
            if (bookList)
                bookList->BookAdded();
            if (viewer)
                viewer->ShowFirstPage();
            FocusViewerTitle();
        }
        if (gApp) {
            gApp->word0 = 0;
            gApp->word1 = 0;
        }
        if (stage_ && stage_->Control())
            stage_->Control()->FlushInput();
    } else if (kind >= 0) {
        BuildDefaultTitle();
        if (viewer) {
            viewer->StorePageNames();
            viewer->SetFirstShown(0);
        }
        SelectEntry(kind);
    }
}

void KVXUnderTheHoodScene::SelectEntry(int32_t book)
{
    if (viewer)
        viewer->ClearSlots();
    MpSketchbookList* books = Books();
    if (books && books->SelectBook(book))
        SetCurrentPage(books->CurrentPage());
    RefreshBookList();
    if (viewer)
        viewer->RefreshPage();
}

void KVXUnderTheHoodScene::RefreshBookList()
{
    if (!bookList)
        return;
    bookList->Refresh();
    bookList->UpdateUpArrow();
    bookList->UpdateDownArrow();
}
