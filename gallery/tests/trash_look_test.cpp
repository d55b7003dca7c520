// The trash panel's look on a stage with the program's data: the glow
// over the open panel, the garbage truck, the slots' labels.
#include <windows.h>

#include "panel_rig.h"

namespace {

class TrashLookTest : public PanelTest {
protected:
    Pair PanelCentre() const
    {
        Box box = scene->trash->PanelBox();
        return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    }
};

}  // namespace

TEST_F(TrashLookTest, HighlightWhileOverTheOpenPanelAndTheGarbageTruck)
{
    MakeBooks({3, 1});
    Enter();
    scene->SetTrashOpen(true);
    const Pair page = {PanelScene::kPageAt.x + 10, PanelScene::kPageAt.y + 10};
    Pointer(page.x, page.y, kPointerPressed | kPointerHeld);
    Pointer(200, 300, kPointerHeld);
    EXPECT_FALSE(scene->trash->IsHighlightShown());
    Pointer(PanelCentre().x, PanelCentre().y, kPointerHeld);
    EXPECT_EQ(kDragViewerPage, scene->trash->Armed());
    EXPECT_TRUE(scene->trash->IsHighlightShown());
    Pointer(200, 300, kPointerHeld);
    EXPECT_EQ(0, scene->trash->Armed());
    EXPECT_FALSE(scene->trash->IsHighlightShown());
    Pointer(PanelCentre().x, PanelCentre().y, kPointerHeld);
    Pointer(PanelCentre().x, PanelCentre().y, kPointerReleased);
    scene->FinishZoom();
    Sleep(1100);
    scene->book->SetEntry(1);
    Drag({PanelScene::kBookAt.x + 5, PanelScene::kBookAt.y + 5}, {{200, 300}, PanelCentre()});
    ASSERT_EQ(2, scene->trash->Count());
    EXPECT_EQ(1, list->BookCount());
    EXPECT_EQ(1, scene->bookListRefreshes);

    // The garbage truck: the book's file and the trashed page go for good.
    scene->trash->Empty();
    EXPECT_EQ(0, scene->trash->Count());
    EXPECT_TRUE(scene->trash->IsEmpty());
    EXPECT_FALSE(FSFileExists(trashFolder, "b"));
    EXPECT_EQ(0, list->TrashBook()->PageCount());
    EXPECT_EQ(2, list->PageCountOf(0));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(scene->trash->SlotButton(i)->Visual()->IsHidden());
}

TEST_F(TrashLookTest, LabelsFitTheirSlotAndPagesSitLower)
{
    MakeBooks({3, 1});
    list->SetPageName(0, 0, "Mon grand chateau");
    Enter();
    scene->SetTrashOpen(true);
    Drag({PanelScene::kPageAt.x + 5, PanelScene::kPageAt.y + 5}, {{200, 300}, PanelCentre()});
    Sleep(1100);
    scene->book->SetEntry(1);
    Drag({PanelScene::kBookAt.x + 5, PanelScene::kBookAt.y + 5}, {{200, 300}, PanelCentre()});
    ASSERT_EQ(2, scene->trash->Count());
    const std::string& shown = scene->trash->SlotText(0);
    Box slot0 = scene->trash->SlotButton(0)->Visual()->GetBounds();
    Box label0 = scene->trash->SlotLabelBox(0);
    Box slot1 = scene->trash->SlotButton(1)->Visual()->GetBounds();
    Box label1 = scene->trash->SlotLabelBox(1);
    // Too long for its 97 pixels: cut, three more characters gone, "...".
    ASSERT_GT(shown.size(), 3u);
    EXPECT_EQ("...", shown.substr(shown.size() - 3));
    EXPECT_EQ(0u, std::string("Mon grand chateau").find(shown.substr(0, shown.size() - 3)));
    EXPECT_LE(label0.Width(), slot0.Width() - 4);
    // Centred under the slot; a page's label 36 pixels lower than a book's.
    EXPECT_NEAR((slot0.left + slot0.right) / 2, (label0.left + label0.right) / 2, 1);
    EXPECT_EQ(slot0.top + 46 + 36, label0.top);
    EXPECT_EQ(slot1.top + 46, label1.top);
}

TEST_F(TrashLookTest, ItsToggleOpensTheTrashAndTakesDropsWhenClosed)
{
    MakeBooks({3});
    Enter();
    ASSERT_NE(nullptr, scene->toggle);
    Box toggle = scene->toggle->AnimationBox();
    ASSERT_FALSE(toggle.IsEmpty());
    const Pair centre = {(toggle.left + toggle.right) / 2, (toggle.top + toggle.bottom) / 2};
    // Closed: a page dropped on the toggle goes in.
    Drag({PanelScene::kPageAt.x + 5, PanelScene::kPageAt.y + 5}, {{200, 300}, centre});
    EXPECT_EQ(1, scene->trash->Count());
    EXPECT_TRUE(scene->trash->SlotButton(0)->Visual()->IsHidden());
    // A click opens it once the opening animation has ended.
    Click(centre);
    for (int i = 0; i < 20; ++i)
        Step();
    EXPECT_TRUE(scene->trashOpen);
    EXPECT_FALSE(scene->trash->SlotButton(0)->Visual()->IsHidden());
    // Another closes it.
    Click(centre);
    Step();
    EXPECT_FALSE(scene->trashOpen);
    EXPECT_TRUE(scene->trash->SlotButton(0)->Visual()->IsHidden());
}
