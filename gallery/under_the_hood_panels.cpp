// The gallery's trash (its panel and toggle button) and its slideshow
// panel, as the scene builds them and the other panels reach them.
#include <memory>

#include "gallery/book_list_panel.h"
#include "gallery/sketchbook_list.h"
#include "gallery/slideshow_panel.h"
#include "gallery/trash_panel.h"
#include "gallery/under_the_hood_scene.h"
#include "gallery/viewer_panel.h"
#include "shell/widgets/animated_button.h"
#include "shell/widgets/animation_thread.h"

namespace {

// What the trash and the slideshow panel ask of the scene. One per panel,
// a molecule of the scene so that it goes with the scene's molecules; the
// panels never call it from their destructors.
class GalleryPanelHost : public MMMolecule, public TrashPanelHost, public SlideshowPanelHost {
public:
    explicit GalleryPanelHost(KVXUnderTheHoodScene* scene) : MMMolecule(scene), scene(scene) {}

    MpSketchbookList* SketchbookList() override { return scene->Books(); }
    bool IsTrashOpen() override { return scene->TrashOpen(); }
    void SetTrashOpen(bool open) override { scene->SetTrashOpen(open); }
    MPTrashToggleButton* TrashToggle() override { return scene->TrashToggle(); }
    void StartZoom(const Box& from, const Box& to) override { scene->ZoomToDrop(from, to); }
    int32_t ChosenBook() override
    {
        return scene->BookList() != nullptr ? scene->BookList()->ChosenBook() : -1;
    }
    int32_t DraggedPage() override
    {
        return scene->Viewer() != nullptr ? scene->Viewer()->DraggedPage() : -1;
    }
    void StorePageNames() override
    {
        if (scene->Viewer() != nullptr)
            scene->Viewer()->StorePageNames();
    }
    void StoreBookTitle() override { scene->BuildDefaultTitle(); }
    void RefreshBookList() override { scene->RefreshBookList(); }
    void SelectEntry(int32_t book) override { scene->SelectEntry(book); }
    void RedrawViewer() override
    {
        if (scene->Viewer() != nullptr)
            scene->Viewer()->RefreshPage();
    }
    void SlideshowOpened(bool open) override { scene->SetSlideshowOpen(open); }

private:
    KVXUnderTheHoodScene* scene;
};

}  // namespace

void KVXUnderTheHoodScene::MakeSlideshowPanel()
{
    slideshow = new KVXUTHslideshow(this, *new GalleryPanelHost(this));
    slideshowOpen = 0;
}

void KVXUnderTheHoodScene::MakeTrashPanel()
{
    if (Books() != nullptr)
        trash = new MpUTHtrashContents(this, *new GalleryPanelHost(this));
}

void KVXUnderTheHoodScene::MakeTrashToggle()
{
    int32_t row = layout.FindRowByKey(kGalleryTrashToggle);
    if (row >= 0 && trash != nullptr) {
        trashToggle = new MPTrashToggleButton(this, *new GalleryPanelHost(this),
                                              layout.LongAt(row, 2), trash);
        trashToggle->SetCursor(KVXAppCursor(0));
    }
    UpdateTrashButtons();
}

void KVXUnderTheHoodScene::DeletePanels()
{
    if (slideshow != nullptr)
        slideshow->StopPreview();
}

void KVXUnderTheHoodScene::SetTrashCursors(int16_t slots, int16_t toggle)
{
    if (trash != nullptr)
        trash->SetHelpCursors(HelpMode());
    if (trashToggle != nullptr)
        trashToggle->SetCursor(KVXAppCursor(toggle));
}

void KVXUnderTheHoodScene::SlideshowHelpChanged()
{
    if (slideshow != nullptr)
        slideshow->SetHelpMode(HelpMode());
}

void KVXUnderTheHoodScene::SlideshowPageChanged()
{
    if (slideshow != nullptr)
        slideshow->Refresh();
}

void KVXUnderTheHoodScene::EmptyTrashPanel()
{
    if (trash == nullptr)
        return;
    trash->Empty();
    if (trashToggle != nullptr && !trashToggle->IsSelected())
        trashToggle->ShowReleased();
}

void KVXUnderTheHoodScene::UpdateTrashButtons()
{
    bool on = TrashCanOn();
    if (on) {
        if (trashToggle != nullptr) {
            trashToggle->Show();
            if (!trashToggle->IsSelected())
                trashToggle->ShowReleased();
        }
        if (garbageTruck != nullptr)
            garbageTruck->SetDisabled(false);
        return;
    }
    if (trashOpen && trashToggle != nullptr)
        trashToggle->Choose();
    ShowTrashContents(false);
    if (garbageTruck != nullptr)
        garbageTruck->SetDisabled(true);
    if (trashToggle != nullptr)
        trashToggle->Hide();
}

void KVXUnderTheHoodScene::SetTrashOpen(bool open)
{
    if (IsBusy())
        return;
    if (open && slideshow != nullptr && slideshow->IsOpen())
        slideshow->Close();
    ShowTrashContents(open);
}

void KVXUnderTheHoodScene::ShowTrashContents(bool show)
{
    trashOpen = show ? 1 : 0;
    if (trash == nullptr)
        return;
    if (show)
        trash->ShowItems();
    else
        trash->HideItems();
}

Box KVXUnderTheHoodScene::GetAnimationRect() const
{
    return trashToggle != nullptr ? trashToggle->AnimationBox() : Box{0, 0, 0, 0};
}

bool KVXUnderTheHoodScene::TrashDragOver(int32_t kind, const Pair& point)
{
    return trash != nullptr && trash->DragOver(kind, point);
}

bool KVXUnderTheHoodScene::TrashDrop(int32_t kind, const Pair& point)
{
    return trash != nullptr && trash->Drop(kind, point);
}

bool KVXUnderTheHoodScene::TrashPerformDrop()
{
    return trash != nullptr && trash->PerformDrop();
}

void KVXUnderTheHoodScene::TrashRefreshAndShow()
{
    if (trash == nullptr)
        return;
    trash->Refresh();
    if (trashOpen)
        trash->ShowItems();
}

void KVXUnderTheHoodScene::HideTrashHighlight()
{
    if (trash != nullptr)
        trash->HideHighlight();
}

void KVXUnderTheHoodScene::SetTrashDragged(int16_t entry)
{
    if (trash != nullptr)
        trash->ChooseItem(entry);
}

void KVXUnderTheHoodScene::EmptyTrashSlot(int16_t entry)
{
    if (trash != nullptr)
        trash->EntryDragged(entry);
}

bool KVXUnderTheHoodScene::RestoreTrashedPage(int32_t book, int32_t before)
{
    return trash != nullptr && trash->Contents().RestorePage(trash->ChosenSlot(), book, before);
}

int32_t KVXUnderTheHoodScene::RestoreTrashedBook()
{
    return trash != nullptr ? trash->Contents().RestoreBook(trash->ChosenSlot()) : -1;
}
