#include "gallery/trash_panel.h"

#include <algorithm>
#include <vector>

#include "engine/command.h"
#include "engine/picture_molecule.h"
#include "engine/record_table.h"
#include "framework/color.h"
#include "gallery/drag_button.h"
#include "gallery/drag_scene.h"
#include "gallery/gallery_messages.h"
#include "gallery/gallery_pictures.h"
#include "gallery/label_fitting.h"
#include "gallery/sketchbook_list.h"
#include "gallery/sketchbook_page_content.h"
#include "media/font.h"
#include "media/offscreen_surface.h"
#include "media/surface.h"
#include "media/word_wrapper.h"
#include "shell/widgets/animation_thread.h"

namespace {

constexpr int16_t kTextEllipsis = 19;
constexpr int16_t kCursorDraggable = 4;
constexpr int16_t kCursorHelp = 27;
// The trash's own pictures (page thumbnails and their drag copies).
constexpr uint16_t kTrashPictureCollection = 50011;
constexpr int16_t kTrashPictureSlots = 16;

// Row 0 of the slideshow panel's table gives the label colours.
constexpr int16_t kPanelTable = 754;
constexpr int32_t kPanelRowSize = 28;
constexpr int16_t kButtonLayer = 106;

}  // namespace

const Pair MpUTHtrashContents::kSlotPositions[kTrashSlots] = {{339, 467}, {446, 467}, {551, 467}};
const Box MpUTHtrashContents::kDefaultPanelBox = {241, 350, 558, 459};

MpUTHtrashContents::MpUTHtrashContents(MpDragScene* scene, TrashPanelHost& host)
    : MMMolecule(scene),
      scene(scene),
      host(host),
      contents(*host.SketchbookList()),
      pictures(kTrashPictureCollection, kTrashPictureSlots)
{
    LoadLayout();
    measure = MMSurface::CreateBitmapDC(32, Box{0, 0, 4, 4}, nullptr);
    for (int16_t i = 0; i < kTrashSlots; ++i) {
        MMCommand* command = new MMClassCommand1Parameter<MpUTHtrashContents,
                                                          void (MpUTHtrashContents::*)(int16_t),
                                                          int16_t>(
            "trashItemCmd", scene->Stage(), this, &MpUTHtrashContents::ChooseItem, i);
        MMCursor* cursor = KVXAppCursor(kCursorDraggable);
        auto* visual = new MpDragButtonVisual(slotNormal, slotHighlighted, kSlotPositions[i],
                                              nullptr, kSlotLayer);
        auto* interpreter = new MpDragButtonInterpreter(kDragTrashedPage, scene, command, visual,
                                                        cursor, nullptr, -1);
        slots[i].button = new MpDragButton(i, scene, visual, nullptr, cursor, interpreter);
        slots[i].button->Hide();
        if (scene->Font(0) != nullptr) {
            Box box = {kSlotPositions[i].x + 2, kSlotPositions[i].y + 46,
                       kSlotPositions[i].x + visual->GetBounds().Width() - 15,
                       kSlotPositions[i].y + 61};
            slots[i].label = MMWordWrapMolecule::ConstructInBox(scene, box, bookColor,
                                                                scene->Font(0), kLabelLayer, " ");
            slots[i].label->Hide();
            slots[i].labelBox = box;
        }
    }
    if (highlight != nullptr) {
        highlight->Hide();
        Box bounds = highlight->Visual()->GetBounds();
        if (!bounds.IsEmpty())
            panelBox = bounds;
    }
    Refresh();
}

MpUTHtrashContents::~MpUTHtrashContents()
{
    if (measure != nullptr)
        measure->Dispose();
}

void MpUTHtrashContents::LoadLayout()
{
    MMRecordTable panel;
    panel.Load(kPanelTable, kPanelRowSize, nullptr);
    int32_t colours = panel.FindRowByKey(0);
    if (colours >= 0) {
        bookColor = MakeMMColorFromRgb(uint32_t(panel.LongAt(colours, 2)));
        pageColor = MakeMMColorFromRgb(uint32_t(panel.LongAt(colours, 6)));
    }
    MMRecordTable layout;
    layout.LoadTenByteRows(kTrashLayoutTable, 0);
    int32_t row = layout.FindRowByKey(kLayoutTrashSlots);
    if (row >= 0) {
        MMRecordTable table;
        table.Load(layout.ItemIdAt(row, 2), 12, nullptr);
        if (table.RowCount() > 0) {
            slotNormal = GalleryLayoutPicture(table.LongAt(0, 4));
            slotHighlighted = GalleryLayoutPicture(table.LongAt(0, 8));
        }
    }
    row = layout.FindRowByKey(kLayoutTrashHighlight);
    Pair at;
    MMPictureID picture;
    if (row >= 0 && MMPlacedPicture(layout.ItemIdAt(row, 2), 0, at, picture))
        highlight =
            new MMPictureMolecule(scene, GalleryLayoutPicture(picture), at, kHighlightLayer);
    row = layout.FindRowByKey(kLayoutTrashBook);
    if (row >= 0) {
        MMRecordTable table;
        table.Load(layout.ItemIdAt(row, 2), 12, nullptr);
        if (table.RowCount() > 0) {
            bookNormal = GalleryLayoutPicture(table.LongAt(0, 0));
            bookHighlighted = GalleryLayoutPicture(table.LongAt(0, 4));
            bookDrag = GalleryLayoutPicture(table.LongAt(0, 8));
        }
    }
}

void MpUTHtrashContents::Refresh()
{
    for (Slot& slot : slots) {
        slot.button->Hide();
        if (slot.label != nullptr)
            slot.label->Hide();
        slot.shownText.clear();
    }
    contents.Refresh();
    MpSketchbookList* list = host.SketchbookList();
    if (list != nullptr)
        list->ClearThumbnailCache(true);
    for (int32_t i = 0; i < kTrashSlots; ++i)
        FillSlot(i);
    if (!host.IsTrashOpen())
        HideItems();
}

void MpUTHtrashContents::FillSlot(int32_t i)
{
    MpDragButton* button = slots[i].button;
    MpDragButtonVisual* visual = button->Visual();
    if (i >= contents.Count()) {
        visual->SetNormalPicture(slotNormal);
        visual->SetHighlightPicture(slotHighlighted);
        visual->SetDragPicture(MMPictureReference());
        return;
    }
    const TrashSlot& item = contents.Slot(i);
    if (item.kind == 1) {
        visual->SetNormalPicture(bookNormal);
        visual->SetHighlightPicture(bookHighlighted);
        visual->SetDragPicture(bookDrag);
        button->Interpreter()->SetKind(kDragTrashedBook);
        if (slots[i].label != nullptr)
            slots[i].label->SetColor(bookColor);
    } else {
        SketchbookFile* trash = host.SketchbookList()->TrashBook();
        const uint32_t* thumbnail = trash != nullptr ? trash->ReadThumbnail(item.index) : nullptr;
        MMPictureReference picture =
            pictures.Make(thumbnail, kThumbnailWidth, kThumbnailHeight, false);
        std::vector<uint32_t> copy(size_t(kThumbnailWidth) * kThumbnailHeight);
        MMPictureReference drag;
        if (trash != nullptr && trash->ReadThumbnailUncached(item.index, copy.data()))
            drag = pictures.Make(copy.data(), kThumbnailWidth, kThumbnailHeight, true);
        visual->SetNormalPicture(picture);
        visual->SetHighlightPicture(picture);
        visual->SetDragPicture(drag);
        button->Interpreter()->SetKind(kDragTrashedPage);
        if (slots[i].label != nullptr)
            slots[i].label->SetColor(pageColor);
    }
    LayOutLabel(i);
}

int32_t MpUTHtrashContents::TextWidth(const std::string& text)
{
    MMFont* font = scene->Font(0);
    if (font == nullptr || measure == nullptr)
        return 0;
    measure->SelectFont(font);
    int32_t width = text.empty() ? 0 : measure->TextWidth(text.c_str(), int32_t(text.size()));
    measure->ReleaseFont();
    return width;
}

void MpUTHtrashContents::LayOutLabel(int32_t i)
{
    if (i >= contents.Count())
        return;
    const TrashSlot& item = contents.Slot(i);
    Pair at = kSlotPositions[i];
    int32_t width = slots[i].button->Visual()->GetBounds().Width();
    Box box = {at.x + 2, at.y + 46, at.x + width - 2, at.y + 61};
    std::string shown = FitLabelText(item.label, GalleryText(kTextEllipsis),
                                     [&](const std::string& text) {
                                         return TextWidth(text) <= box.Width();
                                     });
    int32_t textWidth = std::min(TextWidth(shown), box.Width());
    int32_t left = box.left + (box.Width() - textWidth) / 2;
    box.left = left;
    box.right = left + textWidth;
    if (item.kind == 2)
        box.Offset(Pair{0, kPageLabelDrop});
    slots[i].shownText = shown;
    slots[i].labelBox = box;
    if (slots[i].label != nullptr) {
        slots[i].label->SetFrameBox(0, Box{box.left, box.top, box.right + 1, box.bottom});
        slots[i].label->SetText(shown.empty() ? " " : shown.c_str());
    }
}

void MpUTHtrashContents::ShowItems()
{
    contents.DragOver(0, false);
    if (!host.IsTrashOpen())
        return;
    for (int32_t i = 0; i < contents.Count(); ++i) {
        slots[i].button->Show();
        if (slots[i].label != nullptr)
            slots[i].label->Show();
    }
}

void MpUTHtrashContents::HideItems()
{
    for (Slot& slot : slots) {
        slot.button->Hide();
        if (slot.label != nullptr)
            slot.label->Hide();
    }
    if (highlight != nullptr)
        highlight->Hide();
}

void MpUTHtrashContents::Empty()
{
    for (Slot& slot : slots) {
        slot.button->Hide();
        slot.button->Visual()->SetNormalPicture(MMPictureReference());
        slot.button->Visual()->SetHighlightPicture(MMPictureReference());
        slot.button->Visual()->SetDragPicture(MMPictureReference());
        if (slot.label != nullptr)
            slot.label->Hide();
    }
    contents.Empty();
    Refresh();
}

void MpUTHtrashContents::EntryDragged(int16_t slot)
{
    if (scene->IsBusy() || slot < 0 || slot >= kTrashSlots)
        return;
    MpDragButtonVisual* visual = slots[slot].button->Visual();
    visual->SetNormalPicture(MMPictureReference());
    visual->SetHighlightPicture(MMPictureReference());
    if (slots[slot].label != nullptr)
        slots[slot].label->Hide();
}

void MpUTHtrashContents::ChooseItem(int16_t slot)
{
    if (!scene->IsBusy())
        chosen = slot;
}

int32_t MpUTHtrashContents::ChosenPage() const
{
    if (chosen < 0 || chosen >= contents.Count())
        return -1;
    return contents.Slot(chosen).index;
}

const char* MpUTHtrashContents::ChosenName() const
{
    if (chosen < 0 || chosen >= contents.Count())
        return "";
    return contents.Slot(chosen).fileName.c_str();
}

void MpUTHtrashContents::SetHelpCursors(bool on)
{
    for (Slot& slot : slots)
        slot.button->Interpreter()->SetCursor(KVXAppCursor(kCursorDraggable));
}

void MpUTHtrashContents::HideHighlight()
{
    if (highlight != nullptr)
        highlight->Hide();
}

bool MpUTHtrashContents::IsHighlightShown() const
{
    return highlight != nullptr && !highlight->IsHidden();
}

bool MpUTHtrashContents::Inside(const Pair& point)
{
    MPTrashToggleButton* toggle = host.TrashToggle();
    if (toggle != nullptr && toggle->AnimationBox().Contains(point))
        return true;
    return host.IsTrashOpen() && panelBox.Contains(point);
}

bool MpUTHtrashContents::DragOver(int32_t kind, const Pair& point)
{
    if (kind != kDragBook && kind != kDragViewerPage)
        return Armed() != 0;
    bool inside = Inside(point);
    bool open = host.IsTrashOpen();
    MPTrashToggleButton* toggle = host.TrashToggle();
    if (inside && Armed() == 0) {
        if (open && highlight != nullptr)
            highlight->Show();
        else if (!open && toggle != nullptr)
            toggle->ShowPressed();
        contents.DragOver(kind, true);
    } else if (!inside && Armed() != 0) {
        contents.DragOver(kind, false);
        if (!open && toggle != nullptr)
            toggle->ShowReleased();
        if (open && highlight != nullptr)
            highlight->Hide();
    }
    return Armed() != 0;
}

bool MpUTHtrashContents::Drop(int32_t kind, const Pair& point)
{
    if (kind == kDragTrashedBook || kind == kDragTrashedPage) {
        contents.Drop(kind, false);
        if (highlight != nullptr)
            highlight->Hide();
        return false;
    }
    if (!Inside(point))
        return false;
    // A drop the trash was not armed for is refused and deletes nothing.
    if (!contents.Drop(kind, true)) {
        if (highlight != nullptr)
            highlight->Hide();
        return false;
    }
    MPTrashToggleButton* toggle = host.TrashToggle();
    Box target = host.IsTrashOpen() || toggle == nullptr ? panelBox : toggle->AnimationBox();
    host.StartZoom(scene->DragImageBox(), target);
    return true;
}

bool MpUTHtrashContents::PerformDrop()
{
    int32_t armed = Armed();
    if (armed == 0)
        return false;
    MpSketchbookList* list = host.SketchbookList();
    if (armed == kDragBook) {
        if (contents.PerformDrop(host.ChosenBook(), -1))
            host.RefreshBookList();
    } else {
        host.StorePageNames();
        host.StoreBookTitle();
        if (contents.PerformDrop(-1, host.DraggedPage()) && list != nullptr)
            host.SelectEntry(list->CurrentBookIndex());
        else
            host.RedrawViewer();
    }
    Refresh();
    if (!IsEmpty()) {
        if (MPTrashToggleButton* toggle = host.TrashToggle())
            toggle->ShowPressed();
        ShowItems();
    }
    if (!host.IsTrashOpen())
        HideItems();
    else if (highlight != nullptr)
        highlight->Hide();
    contents.DragOver(0, false);
    return true;
}

MPTrashToggleButton::MPTrashToggleButton(MpDragScene* scene, TrashPanelHost& host,
                                         MMResourceId scriptId, MpUTHtrashContents* trash)
    : MPCategoryMolecule(scene, scriptId, 0), dragScene(scene), host(host), trash(trash)
{
    SetLayerOffset(kButtonLayer);
    SetCommand(1, new MMClassCommand<MPTrashToggleButton>("VPSelect 1 Done Cmd", scene->Stage(),
                                                          this, &MPTrashToggleButton::OpenDone));
    if (host.IsTrashOpen()) {
        MPSelection::SetSelected(true);
        Run(Start(6, 106));
    } else {
        Run(Start(1, 2));
    }
}

int16_t MPTrashToggleButton::Start(int16_t empty, int16_t items) const
{
    return trash == nullptr || trash->IsEmpty() ? empty : items;
}

Box MPTrashToggleButton::AnimationBox() const
{
    MMPictureBasedVisual* visual = VisualCount() > 0 ? Visual(0) : nullptr;
    return visual != nullptr ? visual->GetBounds() : Box{0, 0, 0, 0};
}

void MPTrashToggleButton::Choose()
{
    if (dragScene->IsBusy())
        return;
    if (selected) {
        MPSelection::SetSelected(false);
        Run(Start(1, 2));
        EnableInput();
        host.SetTrashOpen(false);
        return;
    }
    choosing = 1;
    Run(Start(3, 103));
    MPSelection::SetSelected(true);
    DisableInput();
}

void MPTrashToggleButton::OpenDone()
{
    choosing = 0;
    armed = 1;
    EnableInput();
    host.SetTrashOpen(true);
}

void MPTrashToggleButton::ShowPressed()
{
    Run(Start(4, 104));
}

void MPTrashToggleButton::ShowReleased()
{
    Run(Start(44, 144));
}

void MPTrashToggleButton::ShowHover()
{
    if (!selected)
        Run(5);
}

void MPTrashToggleButton::ShowNormal()
{
    if (!selected)
        Run(Start(1, 2));
}
