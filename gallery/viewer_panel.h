#pragma once
// The gallery's view of the current book: nine thumbnails in three rows of
// three, each with its page's name to edit, the book's title, arrows that
// scroll a row, a frame around the current page and a marker where a
// dragged page would go.
#include <cstdint>

#include "engine/molecule.h"
#include "engine/picture_collection.h"
#include "gallery/drag_button.h"
#include "gallery/viewer_layout.h"

class KVXAnimatedButtonMolecule;
class KVXUnderTheHoodScene;
class KVXUTHviewer;
class MMPictureMolecule;
class MPCenteredTextEdit;

class KVXUTHSmallImageButton : public MpDragButton {
public:
    KVXUTHSmallImageButton(int16_t slot, KVXUTHviewer* viewer, KVXUnderTheHoodScene* scene,
                           MpDragButtonVisual* visual, MpDragButtonInterpreter* interpreter);
    // The thumbnail as both pictures; none clears them.
    void ShowThumbnail(const MMPictureReference& picture);
    const MMPictureReference& Thumbnail() const { return thumbnail; }

private:
    KVXUTHviewer* viewer;
    MMPictureReference thumbnail;
};

class KVXUTHviewer : public MMMolecule {
public:
    explicit KVXUTHviewer(KVXUnderTheHoodScene* scene);
    ~KVXUTHviewer() override;

    void ArrowUp();
    void ArrowDown();
    void SelectSlot(int32_t slot);
    void OpenSlot(int32_t slot);

    void RefreshPage();
    void FillSlots(int32_t mode);
    void UpdateNames();
    void UpdateArrows();
    void HideSlots();
    void ClearSlots();
    void StorePageNames();
    void StoreCurrentPageName();
    void MoveSelectionFrame();
    bool IsShown(int32_t page) const;
    void ShowFirstPage();
    void ScrollDownRows(int32_t rows);
    void ScrollUpRows(int32_t rows);

    void DragStarted(int32_t slot);
    bool DragOver(int32_t kind, const Pair& point);
    bool Drop(int32_t kind, const Pair& point);
    bool PerformDrop();
    int32_t InsertionIndex(const Pair& point) const;
    void PlaceInsertionMarker(const Pair& point);

    // The page a drag of a thumbnail carries, recorded once per drag.
    void RecordDraggedPage(int32_t slot);
    bool HasDraggedPage() const { return draggedPage >= 0; }
    void ClearDraggedPage() { draggedPage = -1; }
    int32_t DraggedPage() const { return draggedPage; }

    void FocusTitle();
    void TitleText(char* text, int32_t size) const;
    void SetFirstShown(int32_t page) { first = int16_t(page); }
    int32_t FirstShown() const { return first; }
    int32_t CurrentSlot() const { return currentSlot; }
    int32_t Armed() const { return armed; }
    int32_t PendingIndex() const { return insertion; }
    int32_t PageCount() const;

    KVXUTHSmallImageButton* Slot(int32_t i) const { return slots[i]; }
    MPCenteredTextEdit* NameEdit(int32_t i) const { return names[i]; }
    MPCenteredTextEdit* TitleEdit() const { return title; }
    KVXAnimatedButtonMolecule* UpArrow() const { return up; }
    KVXAnimatedButtonMolecule* DownArrow() const { return down; }
    MMPictureMolecule* SelectionFrame() const { return selectionFrame; }
    MMPictureMolecule* InsertionMarker() const { return marker; }
    MMPictureMolecule* DropHighlight() const { return highlight; }
    const Pair& SlotPosition(int32_t i) const { return positions[i]; }

private:
    void MakeSlot(int32_t i, const MMPictureReference& normal, const MMPictureReference& high);
    MMPictureMolecule* MakePicture(int16_t key, int16_t layer, bool atRow);
    void EnableArrow(KVXAnimatedButtonMolecule* arrow, bool on);
    void ShowDropHighlight(bool show);
    bool InsideBox(const Pair& point) const;
    bool OverArrow(KVXAnimatedButtonMolecule* arrow, const Pair& point) const;
    void SetCurrentPage(int32_t page);
    int32_t CurrentPage() const;
    void FillSlot(int32_t i);
    void TakeSlot(int32_t to, int32_t from);

    int16_t insertion = 0;
    int16_t currentSlot = 0;
    int32_t armed = 0;
    Pair dropPoint = {0, 0};
    KVXUnderTheHoodScene* scene;
    MMPictureMolecule* selectionFrame = nullptr;
    MMPictureMolecule* marker = nullptr;
    MMPictureMolecule* highlight = nullptr;
    Pair positions[kViewerSlots] = {};
    KVXUTHSmallImageButton* slots[kViewerSlots] = {};
    MPCenteredTextEdit* names[kViewerSlots] = {};
    MPCenteredTextEdit* title = nullptr;
    KVXAnimatedButtonMolecule* up = nullptr;
    KVXAnimatedButtonMolecule* down = nullptr;
    int16_t first = 0;
    int16_t draggedPage = -1;
};
