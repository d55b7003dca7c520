// The slideshow panel on a stage with the program's data: its toggle, its
// three lists by pointer input, loop, preview, play and export, over a real
// book whose page choices are checked in the file.
#include <windows.h>

#include "engine/picture_molecule.h"
#include "gallery/gallery_messages.h"
#include "gallery/slideshow_sounds.h"
#include "media/offscreen_surface.h"
#include "panel_rig.h"
#include "shell/widgets/toggle_button.h"

namespace {

class SlideshowPanelTest : public PanelTest {
protected:
    KVXUTHslideshow& Panel() { return *scene->slideshow; }
    Pair Centre(const Box& box) const { return {(box.left + box.right) / 2, (box.top + box.bottom) / 2}; }
    Pair ButtonCentre(MpUTHssButton* button) { return Centre(button->Visual()->GetBounds()); }
    Pair ToggleCentre()
    {
        MMPictureBasedVisual* visual = Panel().Toggle()->Visual(0);
        return Centre(visual->GetBounds());
    }
    void StepFor(int32_t ms)
    {
        for (int32_t t = 0; t < ms; t += 20)
            Step();
    }
    void OpenPanel()
    {
        Click(ToggleCentre());
        StepFor(400);
        ASSERT_TRUE(Panel().IsOpen());
    }
};

}  // namespace

TEST_F(SlideshowPanelTest, ItsToggleOpensAndClosesItUnlessRefused)
{
    MakeBooks({2});
    Enter();
    struct Case {
        const char* what;
        bool help, trashOpen;
        bool open;
    } cases[] = {
        {"help mode", true, false, false},
        {"trash open", false, true, false},
        {"opens", false, false, true},
        {"closes", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Panel().SetHelpMode(c.help);
        scene->trashOpen = c.trashOpen;
        Click(ToggleCentre());
        StepFor(400);
        EXPECT_EQ(c.open, Panel().IsOpen());
        EXPECT_EQ(c.open, scene->slideshowOpen);
        EXPECT_EQ(!c.open, Panel().PlayButton()->Visual()->IsHidden());
        EXPECT_EQ(!c.open, Panel().ListButton(kListMusic)->Visual()->IsHidden());
    }
    // The trash opening closes the panel at once.
    Panel().SetHelpMode(false);
    scene->trashOpen = false;
    OpenPanel();
    scene->SetTrashOpen(true);
    EXPECT_FALSE(Panel().IsOpen());
    EXPECT_FALSE(scene->slideshowOpen);
    EXPECT_TRUE(Panel().PlayButton()->Visual()->IsHidden());
}

TEST_F(SlideshowPanelTest, ListsStoreTheChoicesInThePage)
{
    MakeBooks({2});
    list->SetCurrentPage(1);
    list->SetPageMusic(0, 1, 40);  // beyond the list: the last music
    Enter();
    OpenPanel();
    EXPECT_EQ(15, Panel().Choice(kListMusic));
    EXPECT_STREQ(GalleryText(76), Panel().ListLabel(kListMusic));
    EXPECT_STREQ("5", Panel().ListLabel(kListDelay));  // a new page waits 5 s

    // Press on the music list, slide to entry 3, release there.
    Pointer(ButtonCentre(Panel().ListButton(kListMusic)).x,
            ButtonCentre(Panel().ListButton(kListMusic)).y, kPointerPressed | kPointerHeld);
    EXPECT_EQ(kListMusic, Panel().OpenKind());
    EXPECT_EQ(15, Panel().MarkedEntry());
    Pair three = Centre(Panel().EntryBox(3));
    Pointer(three.x, three.y, kPointerHeld);
    EXPECT_EQ(3, Panel().MarkedEntry());
    Pointer(three.x, three.y, kPointerReleased);
    EXPECT_EQ(kListNone, Panel().OpenKind());
    EXPECT_EQ(3, list->GetPageMusic(0, 1));
    EXPECT_STREQ(GalleryText(64), Panel().ListLabel(kListMusic));

    // A click leaves the transition list open; a click on entry 5 chooses.
    Click(ButtonCentre(Panel().ListButton(kListTransition)));
    EXPECT_EQ(kListTransition, Panel().OpenKind());
    Click(Centre(Panel().EntryBox(5)));
    EXPECT_EQ(kListNone, Panel().OpenKind());
    EXPECT_EQ(5, list->GetPageTransition(0, 1));
    EXPECT_STREQ(GalleryText(51), Panel().ListLabel(kListTransition));

    // A click away from the open delay list changes nothing.
    Click(ButtonCentre(Panel().ListButton(kListDelay)));
    EXPECT_EQ(kListDelay, Panel().OpenKind());
    Click({780, 20});
    EXPECT_EQ(kListNone, Panel().OpenKind());
    EXPECT_EQ(2, list->GetPageDelay(0, 1));
    // The other page kept its own choices.
    EXPECT_EQ(0, list->GetPageMusic(0, 0));
    EXPECT_EQ(0, list->GetPageTransition(0, 0));
}

TEST_F(SlideshowPanelTest, LoopPreviewPlayAndExport)
{
    MakeBooks({1});
    Enter();
    OpenPanel();
    // Loop: each click stores the other value, except in help mode.
    app.SetLoop(false);
    Click(Centre(Panel().LoopToggle()->Visual()->GetBounds()));
    Step();
    EXPECT_TRUE(app.IsLoopOn());
    EXPECT_TRUE(Panel().LoopToggle()->IsOn());
    Panel().SetHelpMode(true);
    Click(Centre(Panel().LoopToggle()->Visual()->GetBounds()));
    Step();
    EXPECT_TRUE(app.IsLoopOn());
    EXPECT_TRUE(Panel().LoopToggle()->IsOn());
    Panel().SetHelpMode(false);

    // Without music the preview does nothing; with music it plays until
    // clicked again.
    Click(ButtonCentre(Panel().PreviewButton()));
    Step();
    EXPECT_FALSE(Panel().IsPreviewing());
    list->SetPageMusic(0, 0, 3);
    Panel().Refresh();
    Click(ButtonCentre(Panel().PreviewButton()));
    Step();
    EXPECT_TRUE(Panel().IsPreviewing());
    Click(ButtonCentre(Panel().PreviewButton()));
    Step();
    EXPECT_FALSE(Panel().IsPreviewing());

    // Export as a picture through the dialogs' seam.
    scene->dialogs.answerFolder = scratch.folder.Path();
    scene->dialogs.answers = {{"mon dessin.png", kExportKindBmp}};
    Click(ButtonCentre(Panel().ExportButton()));
    Step();
    EXPECT_EQ(1, scene->dialogs.asked);
    EXPECT_EQ(54 + kWidth * kHeight * 4, int(Bytes("mon dessin.bmp").size()));
    // A cancelled dialog writes nothing.
    Click(ButtonCentre(Panel().ExportButton()));
    Step();
    EXPECT_EQ(2, scene->dialogs.asked);

    // Play: on to the slideshow. The button goes with the scene's molecules
    // while under the pointer: from then on the stage keeps no interpreter
    // of it (the next pointer event would call the deleted one).
    Click(ButtonCentre(Panel().PlayButton()));
    for (int i = 0; i < 5 && stage.Scene() != &slideshowStandIn; ++i)
        Step();
    EXPECT_EQ(&slideshowStandIn, stage.Scene());
    EXPECT_EQ(nullptr, stage.PointerInterpreter());
}

// The three list buttons lie on the board's cream card (14, 58 to 226, 332
// of the board, inside its 3-pixel outline), not over its edges.
TEST_F(SlideshowPanelTest, TheListButtonsLieOnTheBoardsCard)
{
    MakeBooks({2});
    Enter();
    OpenPanel();
    Box board = Panel().Board()->Visual()->GetBounds();
    Box card = {board.left + 16, board.top + 60, board.left + 224, board.top + 330};
    for (int16_t kind : {kListMusic, kListTransition, kListDelay}) {
        SCOPED_TRACE(kind);
        Box box = Panel().ListButton(kind)->Visual()->GetBounds();
        EXPECT_GE(box.left, card.left);
        EXPECT_LE(box.right, card.right);
        EXPECT_GE(box.top, card.top);
        EXPECT_LE(box.bottom, card.bottom);
    }
}

// The chosen line of an open list shows its words in cherry over the
// yellow bar behind it.
TEST_F(SlideshowPanelTest, TheChosenLineReadsOverItsBar)
{
    MakeBooks({2});
    Enter();
    OpenPanel();
    Click(ButtonCentre(Panel().ListButton(kListMusic)));
    ASSERT_EQ(kListMusic, Panel().OpenKind());
    Step();
    Box line = Panel().EntryBox(Panel().MarkedEntry());
    MMBitmap pixels;
    ASSERT_TRUE(stage.Offscreen()->GetBitmap(pixels));
    int32_t cherry = 0, bar = 0;
    for (int32_t y = line.top; y < line.bottom; ++y)
        for (int32_t x = line.left; x < line.right; ++x) {
            const uint8_t* p = pixels.PixelAddress(x, y);
            cherry += p[2] > 180 && p[1] < 110 && p[0] < 110;
            bar += p[2] > 240 && p[1] > 200 && p[0] < 150;
        }
    EXPECT_GT(bar, 100) << "the bar shows";
    EXPECT_GT(cherry, 20) << "and the words over it";
}
