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
#include "gallery/gallery_messages.h"
#include "gallery/old_sketchbook.h"
#include "gallery/print_projects.h"
#include "gallery/sketchbook_list.h"
#include "gallery/under_the_hood_scene.h"
#include "gallery/viewer_panel.h"
#include "selection/slate_store.h"
#include "shell/app.h"
#include "shell/print_configuration.h"
#include "shell/registry_settings.h"

namespace {

constexpr int32_t kNothingPrepared = 3;
constexpr int32_t kNoPrinter = 4;

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
    MpSketchbookList* books = Books();
    SketchbookFile* book = books ? books->CurrentBook() : nullptr;
    if (!plane || !book)
        return kNothingPrepared;
    KVXPrintConfiguration* configuration =
        gApp->Settings() ? gApp->Settings()->PrintConfiguration() : nullptr;
    if (!configuration || !configuration->HasPrinter()) {
        GalleryAlert(kAlertNoPrinter, "no printer", kAlertKindInformation);
        return kNoPrinter;
    }
    return PrintPageProject(*configuration, *book, CurrentPage(), *plane, int16_t(kind),
                            GalleryText(kTextPrintTitle), GalleryText(kTextPrintStatus));
}

// The old book goes into a new book; a failed import takes the new book
// away again, so nothing half-made stays in the list.
void KVXUnderTheHoodScene::ImportOldBook()
{
    MpSketchbookList* books = Books();
    KVXPlaneComponentTop* plane = gApp ? gApp->CanvasPlane() : nullptr;
    if (books && books->BookCount() >= kBookLimit) {
        GalleryAlert(kAlertNoMoreBooks, "fifty books", kAlertKindInformation);
        return;
    }
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
