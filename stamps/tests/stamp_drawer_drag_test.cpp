// Stamp buttons dragged out of the drawer on the real stage while the drawer
// is still moving: the drag frame must go, the stamp must land, and every
// button of the drawer must be back afterwards.
#include "engine/animation_molecule.h"
#include "engine/stage_cursors.h"
#include "media/picture_visual.h"
#include "shell/widgets/frame_visual.h"
#include "shell/widgets/stamp_button.h"
#include "stamp_world.h"

namespace {

const uint32_t kPress = kPointerPressed | kPointerHeld;
const Pair kDropPoint = {400, 250};

// A point of the button that takes the pointer on the stage.
bool ButtonPoint(KVXAnimatedButtonMolecule* button, Pair* point)
{
    for (int16_t v = 0; v < button->VisualCount(); ++v) {
        if (button->Visual(v)->IsHidden())
            continue;
        Box b = button->Visual(v)->GetBounds();
        for (int32_t y = b.top; y < b.bottom; ++y)
            for (int32_t x = b.left; x < b.right; ++x)
                if (button->ContainsPoint({x, y})) {
                    *point = {x, y};
                    return true;
                }
    }
    return false;
}

class StampDrawerDrag : public StampWorld {
public:
    // Steps until the drawer has built its buttons; they still run their
    // coming-out animation then.
    void OpenUntilButtons()
    {
        for (int i = 0; i < 80 && manager->StampButtons().empty(); ++i)
            Step();
        ASSERT_FALSE(manager->StampButtons().empty());
    }

    // Presses the button and drags it to the drop point, still held.
    KVXAnimatedStampButtonMolecule* PressAndDrag(size_t index)
    {
        KVXAnimatedStampButtonMolecule* button = manager->StampButtons()[index];
        Pair at = {0, 0};
        EXPECT_TRUE(ButtonPoint(button, &at));
        Press(at.x, at.y, kPress);
        EXPECT_TRUE(button->IsDragging());
        Press(at.x + 50, at.y, kPointerHeld);
        Press(kDropPoint.x, kDropPoint.y, kPointerHeld);
        return button;
    }

    // No drag frame, blocker or zoom left on any button, all of them shown.
    void ExpectButtonsAllBack()
    {
        for (KVXAnimatedStampButtonMolecule* each : manager->StampButtons()) {
            EXPECT_FALSE(each->IsDragging());
            EXPECT_EQ(nullptr, each->Frame());
            EXPECT_EQ(nullptr, each->ZoomThread());
            EXPECT_EQ(nullptr, each->InputBlocker());
            EXPECT_FALSE(each->IsDisabled());
            EXPECT_FALSE(each->IsHidden());
        }
    }

    // The button scripts of the open page's entries, and of the buttons.
    std::vector<MMResourceId> PageScripts()
    {
        MMResourceId page = MMItemOfRow(MMItemOfRow(996, 2, manager->Genre()), 2, manager->Page());
        std::vector<MMResourceId> scripts;
        for (int32_t e = 0; MMItemOfRow(page, 0, e) != -1; ++e)
            scripts.push_back(MMItemOfRow(MMItemOfRow(page, 0, e), 0, 0));
        return scripts;
    }
    std::vector<MMResourceId> ButtonScripts()
    {
        std::vector<MMResourceId> scripts;
        for (KVXAnimatedStampButtonMolecule* each : manager->StampButtons())
            scripts.push_back(each->ScriptId());
        return scripts;
    }

    bool IsDrawerButton(MMMouseInterpreter* interpreter)
    {
        for (KVXAnimatedButtonMolecule* each : manager->GenreButtons())
            if (interpreter == static_cast<MMMouseInterpreter*>(each))
                return true;
        for (KVXAnimatedStampButtonMolecule* each : manager->StampButtons())
            if (interpreter == static_cast<MMMouseInterpreter*>(each))
                return true;
        return false;
    }

    size_t FramesOnStage()
    {
        size_t frames = 0;
        for (MMVisual* each : manager->TopEnclosure()->Visuals())
            if (dynamic_cast<KVXFrameVisual*>(each) && each != manager->Selector())
                ++frames;
        return frames;
    }
};

TEST_F(StampDrawerDrag, AButtonDraggedWhileItIsStillComingOutPlacesItsStamp)
{
    manager->Begin();
    OpenUntilButtons();
    size_t buttons = manager->StampButtons().size();
    KVXAnimatedStampButtonMolecule* button = PressAndDrag(3);
    ASSERT_NE(nullptr, button->Frame());
    EXPECT_TRUE(button->IsHidden()) << "still coming out, it hides as it is picked up";
    EXPECT_TRUE(stage->Captured()) << "the button keeps the pointer while it is dragged";
    Press(kDropPoint.x, kDropPoint.y, kPointerReleased);
    ASSERT_NE(nullptr, button->ZoomThread()) << "let go on the canvas: the frame zooms";
    Step(16);
    EXPECT_EQ(1u, manager->Listed().size());
    EXPECT_EQ(0u, FramesOnStage());
    EXPECT_EQ(buttons, manager->StampButtons().size());
    ExpectButtonsAllBack();
    manager->End();
}

// The drawer rebuilds its buttons while one of them is dragged or zooms:
// the old button goes with its frame and blocker, nothing runs on it later.
TEST_F(StampDrawerDrag, ARebuildDuringADragOrZoomLeavesNoFrameAndAllButtons)
{
    struct Case {
        const char* name;
        bool dropFirst;   // let go on the canvas before the rebuild
        int stepsBefore;  // zoom passes before the rebuild
        bool genre;       // genre change, else page turn
    };
    const Case cases[] = {
        {"page turn while dragged", false, 0, false},
        {"genre change while dragged", false, 0, true},
        {"page turn as the zoom starts", true, 0, false},
        {"page turn mid zoom", true, 5, false},
        {"page turn as the stamp is placed", true, 11, false},
        {"genre change as the stamp is placed", true, 11, true},
        {"genre change mid zoom", true, 5, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        manager->Begin();
        OpenUntilButtons();
        PressAndDrag(1);
        if (c.dropFirst) {
            Press(kDropPoint.x, kDropPoint.y, kPointerReleased);
            Step(c.stepsBefore);
        }
        if (c.genre)
            manager->SelectGenre(int16_t((manager->Genre() + 1) % manager->GenreCount()));
        else
            manager->NextPage();
        if (!c.dropFirst)
            Press(kDropPoint.x, kDropPoint.y, kPointerReleased);
        for (int i = 0; i < 120 && !manager->DrawerOpen(); ++i)
            Step();
        Step(16);
        ASSERT_TRUE(manager->DrawerOpen());
        EXPECT_EQ(0u, FramesOnStage());
        EXPECT_FALSE(manager->StampButtons().empty());
        ExpectButtonsAllBack();
        EXPECT_LE(manager->Listed().size(), 1u);
        manager->End();
        manager->RemoveAllStamps(false);
    }
}

// While a dropped stamp zooms to its size, the pointer reaches nothing else:
// not the drawer's buttons, not its genres, not the zooming button itself.
TEST_F(StampDrawerDrag, DuringTheZoomPressesReachNoButton)
{
    manager->Begin();
    OpenUntilButtons();
    Step(60);  // the buttons are still now
    KVXAnimatedStampButtonMolecule* zooming = manager->StampButtons()[3];
    std::vector<Pair> points;
    Pair at = {0, 0};
    ASSERT_TRUE(ButtonPoint(zooming, &at));
    points.push_back(at);
    ASSERT_TRUE(ButtonPoint(manager->StampButtons()[1], &at));
    points.push_back(at);
    ASSERT_TRUE(ButtonPoint(manager->GenreButtons()[2], &at));
    points.push_back(at);
    int16_t genre = manager->Genre();

    PressAndDrag(3);
    Press(kDropPoint.x, kDropPoint.y, kPointerReleased);
    Step(3);
    for (const Pair& p : points) {
        Press(p.x, p.y, 0);
        Press(p.x, p.y, kPress);
        EXPECT_FALSE(IsDrawerButton(stage->PointerInterpreter())) << p.x << "," << p.y;
        Press(p.x + 1, p.y, kPointerHeld);
        Step();
        Press(p.x + 1, p.y, kPointerReleased);
        Step();
    }
    Step(120);
    EXPECT_EQ(genre, manager->Genre());
    EXPECT_TRUE(manager->DrawerOpen());
    EXPECT_EQ(1u, manager->Listed().size()) << "only the dropped stamp";
    EXPECT_EQ(0u, FramesOnStage());
    ExpectButtonsAllBack();
    manager->End();
}

// A page turn that arrives while the drawer still moves (its command queued
// with the genre's or just before the opening) changes the page; the buttons
// come once, when the drawer is open, and stay.
TEST_F(StampDrawerDrag, APageTurnWhileTheDrawerMovesWaitsForTheOpenDrawer)
{
    const struct {
        const char* name;
        bool genre;  // the turn follows a genre change, else the first opening
        int steps;   // passes of the animation before the turn
    } cases[] = {
        {"at the opening", false, 0},
        {"mid opening", false, 4},
        {"with a genre change", true, 0},
        {"mid close and reopen", true, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        manager->Begin();
        if (c.genre) {
            OpenUntilButtons();
            Step(4);
            manager->SelectGenre(int16_t((manager->Genre() + 1) % manager->GenreCount()));
        }
        Step(c.steps);
        ASSERT_NE(nullptr, manager->DrawerAnimation());
        int16_t next = int16_t((manager->Page() + 1) % manager->PageCount());
        manager->NextPage();
        Step();
        EXPECT_TRUE(manager->StampButtons().empty()) << "no buttons while the drawer moves";
        EXPECT_FALSE(manager->DrawerOpen());
        for (int i = 0; i < 120 && !manager->DrawerOpen(); ++i)
            Step();
        ASSERT_TRUE(manager->DrawerOpen());
        EXPECT_EQ(next, manager->Page());
        EXPECT_EQ(nullptr, manager->DrawerAnimation());
        EXPECT_TRUE(manager->Catcher()->IsHidden());
        EXPECT_EQ(0, stage->Cursors()->BusyCount());
        std::vector<KVXAnimatedStampButtonMolecule*> built = manager->StampButtons();
        EXPECT_FALSE(built.empty());
        EXPECT_EQ(PageScripts(), ButtonScripts());
        Step(120);
        EXPECT_EQ(built, manager->StampButtons()) << "built once";
        manager->End();
    }
}

// Stamp mode left while the drawer closes for a new genre: nothing of the
// drawer comes back after the end, and the next visit turns pages again.
TEST_F(StampDrawerDrag, LeavingWhileTheDrawerClosesLeavesNoAnimationAndPagesStillTurn)
{
    for (int steps : {0, 1, 3, 8}) {
        SCOPED_TRACE(steps);
        manager->Begin();
        OpenUntilButtons();
        manager->SelectGenre(int16_t((manager->Genre() + 1) % manager->GenreCount()));
        Step(steps);
        manager->End();
        Step(40);
        EXPECT_EQ(nullptr, manager->DrawerAnimation());
        EXPECT_TRUE(manager->StampButtons().empty());
        EXPECT_EQ(0, stage->Cursors()->BusyCount());

        manager->Begin();
        OpenUntilButtons();
        int16_t next = int16_t((manager->Page() + 1) % manager->PageCount());
        manager->NextPage();
        Step(2);
        EXPECT_EQ(next, manager->Page());
        EXPECT_EQ(PageScripts(), ButtonScripts()) << "the page's buttons are built";
        manager->End();
    }
}

}  // namespace
