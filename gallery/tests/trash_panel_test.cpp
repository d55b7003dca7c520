// The trash panel on a stage with the program's data: drops by pointer
// input onto the open panel, over real books whose files are checked
// after each step.
#include <windows.h>

#include "panel_rig.h"

namespace {

class TrashPanelTest : public PanelTest {
protected:
    Pair PanelCentre() const
    {
        Box box = scene->trash->PanelBox();
        return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    }
    // "book:NAME" or "page:NAME" of each slot.
    std::string Slots() const
    {
        std::string text;
        MpUTHtrashContents& trash = *scene->trash;
        for (int32_t i = 0; i < trash.Count(); ++i)
            text += std::string(i ? " " : "") +
                    (trash.Contents().Slot(i).kind == 1 ? "book:" : "page:") +
                    trash.Contents().Slot(i).label;
        return text;
    }
    int32_t TrashPages() const { return list->TrashBook()->PageCount(); }
};

}  // namespace

TEST_F(TrashPanelTest, DropsByKindAndTargetOnRealBooks)
{
    MakeBooks({5, 2});
    Enter();
    scene->SetTrashOpen(true);
    const std::string bookB = list->BookName(1);
    const Pair page = {PanelScene::kPageAt.x + 10, PanelScene::kPageAt.y + 10};
    const Pair book = {PanelScene::kBookAt.x + 10, PanelScene::kBookAt.y + 10};
    const Pair away = {200, 300};
    const Pair in = PanelCentre();
    struct Step {
        const char* what;
        bool trashCan;
        int how;  // 0 page dragged in, 1 book dragged in, 2 page released away,
                  // 3 page released in without moving there, 4 slot 0 dragged in
        int16_t entry;
        int refused;
        int32_t pagesOfA;
        std::string slots;
        int32_t trashPages;
        bool bookBInTrash;
    } steps[] = {
        {"a page", true, 0, 0, 0, 4, "page:a0", 1, false},
        {"a book", true, 1, 1, 0, 4, "page:a0 book:" + bookB, 1, true},
        {"released away", true, 2, 0, 1, 4, "page:a0 book:" + bookB, 1, true},
        {"an unarmed drop", true, 3, 0, 2, 4, "page:a0 book:" + bookB, 1, true},
        {"a trashed page on the trash", true, 4, 0, 3, 4, "page:a0 book:" + bookB, 1, true},
        {"the third", true, 0, 0, 3, 3, "page:a0 book:" + bookB + " page:a1", 2, true},
        // The fourth goes in, then the oldest (page a0) goes for good.
        {"the fourth", true, 0, 0, 3, 2, "book:" + bookB + " page:a1 page:a2", 2, true},
        {"no trash can", false, 0, 0, 4, 2, "book:" + bookB + " page:a1 page:a2", 2, true},
    };
    int refusedBefore = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        scene->trashCan = s.trashCan;
        MpDragButton* standIn = s.how == 1 ? scene->book : scene->page;
        standIn->SetEntry(s.entry);
        switch (s.how) {
        case 0:
            Drag(page, {away, in});
            break;
        case 1:
            Drag(book, {away, in});
            break;
        case 2:
            Drag(page, {in, away});
            break;
        case 3:
            Pointer(page.x, page.y, kPointerPressed | kPointerHeld);
            Pointer(away.x, away.y, kPointerHeld);
            Pointer(in.x, in.y, kPointerReleased);
            scene->FinishZoom();
            break;
        case 4: {
            Box slot = scene->trash->SlotButton(0)->Visual()->GetBounds();
            Drag({slot.left + 20, slot.top + 20}, {away, in});
            break;
        }
        }
        EXPECT_EQ(s.refused, scene->refused);
        EXPECT_EQ(s.pagesOfA, list->PageCountOf(0));
        EXPECT_EQ(s.slots, Slots());
        EXPECT_EQ(s.trashPages, TrashPages());
        EXPECT_EQ(s.bookBInTrash, FSFileExists(trashFolder, "b"));
        EXPECT_NE(s.bookBInTrash, FSFileExists(scratch.folder, "b"));
        EXPECT_EQ(0, scene->trash->Armed());
        EXPECT_FALSE(scene->trash->IsHighlightShown());
        // Trash times are whole seconds: each item gets one of its own.
        if (s.refused == refusedBefore)
            Sleep(1100);
        refusedBefore = s.refused;
    }
    // A trashed book's slot drags as a book, a page's as a page.
    EXPECT_EQ(kDragTrashedBook, scene->trash->SlotButton(0)->Interpreter()->Kind());
    EXPECT_EQ(kDragTrashedPage, scene->trash->SlotButton(1)->Interpreter()->Kind());
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(scene->trash->SlotButton(i)->Visual()->IsHidden());
}
