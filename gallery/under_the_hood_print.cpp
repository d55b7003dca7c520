// The gallery's print projects of the current page and the import of a
// sketchbook of the earlier version into a new book.
#include <cstring>
#include <memory>

#include "canvas/plane.h"
#include "framework/heap.h"
#include "engine/stage.h"
#include "engine/stage_window.h"
#include "framework/files.h"
#include "gallery/book_list_panel.h"
#include "gallery/magic_slate_part.h"
#include "gallery/old_sketchbook.h"
#include "gallery/sketchbook_list.h"
#include "gallery/under_the_hood_scene.h"
#include "gallery/viewer_panel.h"
#include "media/offscreen_surface.h"
#include "media/surface.h"
#include "selection/slate_store.h"
#include "shell/app.h"

namespace {

constexpr int32_t kNothingPrepared = 3;

HWND OwnerWindow(MMStage* stage)
{
    MMStageWindow* window = stage ? stage->Window() : nullptr;
    return window ? window->window : nullptr;
}

}  // namespace

int32_t KVXUnderTheHoodScene::PrintProject(int32_t kind)
{
    if (HelpMode()) {
        PlayEmptySound();
        return 0;
    }
    KVXPlaneComponentTop* plane = gApp ? gApp->CanvasPlane() : nullptr;
    if (!plane)
        return kNothingPrepared;
    WinMMOffscreenSurface* surface =
        MMSurface::CreateBitmapDC(32, Box{0, 0, plane->width, plane->height}, nullptr);
    if (!surface)
        return kNothingPrepared;
    std::unique_ptr<MagicSlateStore> slate(new (gDefaultHeap) MagicSlateStore);
    int32_t result = kNothingPrepared;
    if (slate) {
        slate->Init();
        if (gApp->LoadCurrentPage(slate.get())) {
            plane->RenderWithOverlays(surface, nullptr, slate.get(), 0, false);
            result = gApp->PrintPicture(surface, nullptr, slate.get(), kind, false);
        }
    }
    surface->Dispose();
    return result;
}

// The old book goes into a new book; a failed import takes the new book
// away again, so nothing half-made stays in the list.
void KVXUnderTheHoodScene::ImportOldBook()
{
    MpSketchbookList* books = Books();
    KVXPlaneComponentTop* plane = gApp ? gApp->CanvasPlane() : nullptr;
    if (!books || !plane)
        return;
    char folderPath[FS_PATH_SIZE] = "";
    char name[FS_NAME_SIZE] = "";
    lstrcpynA(folderPath, gApp->Folder(0), sizeof folderPath);
    if (ChooseOldSketchbook(OwnerWindow(stage_), folderPath, name)) {
        int32_t old = books->CurrentBookIndex();
        int32_t count = books->BookCount();
        ZoomDone(-2);
        bool imported = false;
        if (books->BookCount() == count + 1) {
            std::unique_ptr<MagicSlateStore> slate(new (gDefaultHeap) MagicSlateStore);
            FSDirectory folder;
            folder.Set(folderPath);
            if (slate) {
                slate->Init();
                MagicSlatePart part(*slate);
                imported = ImportOldSketchbook(*books->CurrentBook(), *plane, part, folder, name);
            }
            if (!imported) {
                int32_t made = books->CurrentBookIndex();
                std::unique_ptr<SketchbookFile> book = books->RemoveBookAt(made);
                books->SelectBook(old < made ? old : old - 1);
                SetCurrentPage(books->CurrentPage());
                if (book) {
                    book->Close();
                    FSDeleteFile(book->Folder(), book->FileName());
                }
                RefreshBookList();
            }
        }
    }
    if (viewer) {
        viewer->ClearSlots();
        viewer->RefreshPage();
    }
}
