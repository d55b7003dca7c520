#pragma once
// The gallery's trash as the child sees it: three slots under the trash
// toggle showing the oldest thrown-away books and pages, a highlight while
// something is dragged over the open panel, and the toggle button that
// opens and closes it. What the slots hold comes from the sketchbook list
// (TrashContents); books and pages go in only once the zoom has ended.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/molecule.h"
#include "engine/picture_collection.h"
#include "framework/color.h"
#include "framework/geometry.h"
#include "gallery/gallery_pictures.h"
#include "gallery/trash_contents.h"
#include "shell/widgets/category_buttons.h"

class MMCursor;
class MMPictureMolecule;
class MMSurface;
class MMWordWrapMolecule;
class MPTrashToggleButton;
class MpDragButton;
class MpDragScene;
class MpSketchbookList;
class WinMMOffscreenSurface;

// What the trash needs of the gallery scene.
class TrashPanelHost {
public:
    virtual ~TrashPanelHost() = default;
    virtual MpSketchbookList* SketchbookList() = 0;
    virtual bool IsTrashOpen() = 0;
    // Opens or closes the panel (the scene closes the slideshow panel first).
    virtual void SetTrashOpen(bool open) = 0;
    virtual MPTrashToggleButton* TrashToggle() = 0;
    // A drop waits for the zoom; the scene then calls PerformDrop.
    virtual void StartZoom(const Box& from, const Box& to) = 0;
    // The book list's dragged book and the viewer's dragged page.
    virtual int32_t ChosenBook() = 0;
    virtual int32_t DraggedPage() = 0;
    virtual void StorePageNames() = 0;
    virtual void StoreBookTitle() = 0;
    virtual void RefreshBookList() = 0;
    virtual void SelectEntry(int32_t book) = 0;
    virtual void RedrawViewer() = 0;
};

// Layout rows of the gallery's record table 743.
constexpr int16_t kTrashLayoutTable = 743;
constexpr int16_t kLayoutTrashSlots = 7;
constexpr int16_t kLayoutTrashHighlight = 8;
constexpr int16_t kLayoutTrashBook = 9;
constexpr int16_t kLayoutTrashToggle = 22;

class MpUTHtrashContents : public MMMolecule {
public:
    static constexpr int16_t kSlotLayer = 9999;
    static constexpr int16_t kLabelLayer = 39;
    static constexpr int16_t kHighlightLayer = 126;
    static constexpr int32_t kPageLabelDrop = 36;
    static const Pair kSlotPositions[kTrashSlots];
    static const Box kDefaultPanelBox;

    MpUTHtrashContents(MpDragScene* scene, TrashPanelHost& host);
    ~MpUTHtrashContents() override;

    void Refresh();
    void ShowItems();
    void HideItems();
    void Empty();
    void EntryDragged(int16_t slot);
    void ChooseItem(int16_t slot);
    int32_t ChosenPage() const;
    const char* ChosenName() const;
    void SetHelpCursors(bool on);

    bool DragOver(int32_t kind, const Pair& point);
    bool Drop(int32_t kind, const Pair& point);
    bool PerformDrop();

    int32_t Count() const { return contents.Count(); }
    bool IsEmpty() const { return Count() == 0; }
    int32_t Armed() const { return contents.Armed(); }
    const Box& PanelBox() const { return panelBox; }
    TrashContents& Contents() { return contents; }
    MpDragButton* SlotButton(int32_t i) const { return slots[i].button; }
    MMWordWrapMolecule* SlotLabel(int32_t i) const { return slots[i].label; }
    const std::string& SlotText(int32_t i) const { return slots[i].shownText; }
    const Box& SlotLabelBox(int32_t i) const { return slots[i].labelBox; }
    bool IsHighlightShown() const;
    void HideHighlight();
    int16_t ChosenSlot() const { return chosen; }

private:
    struct Slot {
        MpDragButton* button = nullptr;
        MMWordWrapMolecule* label = nullptr;
        std::string shownText;
        Box labelBox = {0, 0, 0, 0};
    };

    void LoadLayout();
    void FillSlot(int32_t i);
    void LayOutLabel(int32_t i);
    bool Inside(const Pair& point);
    int32_t TextWidth(const std::string& text);

    MpDragScene* scene;
    TrashPanelHost& host;
    TrashContents contents;
    GalleryPictures pictures;
    Slot slots[kTrashSlots];
    MMPictureMolecule* highlight = nullptr;
    Box panelBox = kDefaultPanelBox;
    MMPictureReference slotNormal;
    MMPictureReference slotHighlighted;
    MMPictureReference bookNormal;
    MMPictureReference bookHighlighted;
    MMPictureReference bookDrag;
    // Black books; pages in blue 170, green 255, red 255.
    MMColor bookColor = MakeMMColorFromRgb(0x000000);
    MMColor pageColor = MakeMMColorFromRgb(0xFFFFAA);
    int16_t chosen = -1;
    WinMMOffscreenSurface* measure = nullptr;
};

// The trash's toggle: its animations say whether the trash holds items,
// and its opening animation ends by opening the panel.
class MPTrashToggleButton : public MPCategoryMolecule {
public:
    MPTrashToggleButton(MpDragScene* scene, TrashPanelHost& host, MMResourceId scriptId,
                        MpUTHtrashContents* trash);

    void Choose() override;
    void ShowPressed() override;
    void ShowReleased() override;
    void ShowHover() override;
    void ShowNormal() override;
    // The end of the opening animation.
    void OpenDone();
    // The box of the animation's first visual.
    Box AnimationBox() const;
    bool IsChoosing() const { return choosing != 0; }

private:
    int16_t Start(int16_t empty, int16_t items) const;

    MpDragScene* dragScene;
    TrashPanelHost& host;
    MpUTHtrashContents* trash;
    uint8_t choosing = 0;
    uint8_t armed = 0;
};
