// The gallery's trash (its panel and toggle button) and its slideshow
// panel, as the scene builds them and the other panels reach them. Until
// those panels exist the gallery runs without them: nothing is thrown away
// and no slideshow opens.
#include "gallery/under_the_hood_scene.h"

void KVXUnderTheHoodScene::MakeSlideshowPanel() {}

void KVXUnderTheHoodScene::MakeTrashPanel() {}

void KVXUnderTheHoodScene::MakeTrashToggle() { UpdateTrashButtons(); }

void KVXUnderTheHoodScene::DeletePanels() {}

void KVXUnderTheHoodScene::SetTrashCursors(int16_t slots, int16_t toggle) {}

void KVXUnderTheHoodScene::SlideshowHelpChanged() {}

void KVXUnderTheHoodScene::SlideshowPageChanged() {}

void KVXUnderTheHoodScene::EmptyTrashPanel() {}

void KVXUnderTheHoodScene::UpdateTrashButtons() {}

void KVXUnderTheHoodScene::SetTrashOpen(bool open)
{
    if (IsBusy())
        return;
    ShowTrashContents(open);
}

void KVXUnderTheHoodScene::ShowTrashContents(bool show) { trashOpen = show ? 1 : 0; }

Box KVXUnderTheHoodScene::GetAnimationRect() const { return {0, 0, 0, 0}; }

bool KVXUnderTheHoodScene::TrashDragOver(int32_t kind, const Pair& point) { return false; }

bool KVXUnderTheHoodScene::TrashDrop(int32_t kind, const Pair& point) { return false; }

bool KVXUnderTheHoodScene::TrashPerformDrop() { return false; }

void KVXUnderTheHoodScene::TrashRefreshAndShow() {}

void KVXUnderTheHoodScene::HideTrashHighlight() {}

void KVXUnderTheHoodScene::SetTrashDragged(int16_t entry) {}

bool KVXUnderTheHoodScene::RestoreTrashedPage(int32_t book, int32_t before) { return false; }

int32_t KVXUnderTheHoodScene::RestoreTrashedBook() { return -1; }
