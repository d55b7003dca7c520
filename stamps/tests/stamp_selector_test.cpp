// The selected stamp's frame and handles, its options panel, the stamp's own
// interpreter (dragging it, dropping it off the canvas) and the drawer of
// stamp mode with its genres and pages, on the built data.
#include <algorithm>
#include <cstring>

#include "engine/animation_molecule.h"
#include "shell/widgets/animated_button.h"
#include "shell/widgets/stamp_button.h"
#include "stamp_world.h"
#include "stamps/stamp_drawer_molecule.h"

namespace {

const int16_t kSea = 4;

bool Shown(const MMVisual* visual)
{
    return visual && !visual->IsHidden() && visual->Enclosure() != nullptr;
}

Pair CentreOf(const MMVisual* visual)
{
    Box b = visual->GetBounds();
    return {(b.left + b.right) / 2, (b.top + b.bottom) / 2};
}

// A point near the middle of the stamp where its picture takes the pointer.
Pair HitPoint(KVXStampBase* stamp)
{
    Box b = stamp->GetBox();
    Pair centre = {(b.left + b.right) / 2, (b.top + b.bottom) / 2};
    for (int r = 0; r < b.Width() / 2; ++r)
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx)
                if (stamp->Visual()->ContainsPoint(centre.x + dx, centre.y + dy))
                    return {centre.x + dx, centre.y + dy};
    return centre;
}

}  // namespace

TEST_F(StampWorld, ABackgroundShowsOnlyItsFrameAndOptionsHandle)
{
    Drop(EntryTable(kSea, 0, 0), 300, 200);
    KVXStampSelector* selector = manager->Selector();
    ASSERT_EQ(manager->Background(), selector->Stamp());
    EXPECT_TRUE(Shown(selector));
    EXPECT_TRUE(Shown(selector->OptionsHandle()));
    EXPECT_FALSE(Shown(selector->FlipXButton()));
    EXPECT_FALSE(Shown(selector->FlipYButton()));
    EXPECT_FALSE(Shown(selector->ScaleHandle()));

    Drop(EntryTable(kSea, 0, 4), 400, 250);
    for (MMVisual* handle : {static_cast<MMVisual*>(selector), static_cast<MMVisual*>(selector->FlipXButton()),
                             static_cast<MMVisual*>(selector->FlipYButton()),
                             static_cast<MMVisual*>(selector->ScaleHandle()),
                             static_cast<MMVisual*>(selector->OptionsHandle())})
        EXPECT_TRUE(Shown(handle));
    // Each handle is centred on its corner of the frame.
    Box frame = selector->GetBounds();
    EXPECT_EQ(Pair({frame.right, frame.top}), CentreOf(selector->ScaleHandle()));
    EXPECT_EQ(Pair({frame.left, frame.top}), CentreOf(selector->FlipXButton()));
    EXPECT_EQ(Pair({frame.right, frame.bottom}), CentreOf(selector->FlipYButton()));
    EXPECT_EQ(Pair({frame.left, frame.bottom}), CentreOf(selector->OptionsHandle()));
}

TEST_F(StampWorld, TheOptionsPanelGluesLineArtAndClosesWhenThePointerLeaves)
{
    Drop(EntryTable(kSea, 0, 4), 400, 250);
    KVXStampSelector* selector = manager->Selector();
    Pair handle = CentreOf(selector->OptionsHandle());
    Press(handle.x, handle.y, 0);
    ASSERT_NE(nullptr, selector->OptionsPanel());
    ASSERT_NE(nullptr, selector->BWButton());
    EXPECT_NE(nullptr, selector->PlayButton()->GetMouseInterpreter());
    // Off the panel: it closes.
    Pair panel = CentreOf(selector->OptionsPanel());
    Press(panel.x, panel.y, 0);
    Press(20, 580, 0);
    EXPECT_EQ(nullptr, selector->OptionsPanel());
    EXPECT_EQ(nullptr, selector->BWButton());

    Press(handle.x, handle.y, 0);
    Pair bw = CentreOf(selector->BWButton());
    Box stampBox = manager->Selected()->GetBox();
    Press(bw.x, bw.y, kPointerPressed | kPointerHeld);
    Press(bw.x, bw.y, kPointerReleased);
    Step(3);
    EXPECT_TRUE(manager->Listed().empty());
    EXPECT_EQ(nullptr, manager->Selected());
    EXPECT_FALSE(Shown(selector));
    // Line art: only black and clear, so what was glued is dark.
    int dark = 0;
    int coloured = 0;
    for (int y = stampBox.top; y < stampBox.bottom; ++y)
        for (int x = stampBox.left; x < stampBox.right; ++x) {
            const KVXComponentPixel* p = plane.PixelAt(x - 144, y - 16);
            if (std::memcmp(p, &kBlankPixel, 4) == 0)
                continue;
            (p->red + p->green + p->blue < 200 ? dark : coloured)++;
        }
    EXPECT_GT(dark, 50);
}

TEST_F(StampWorld, TheScaleHandleKeepsTheAspectWithinTheLimits)
{
    Drop(EntryTable(kSea, 0, 4), 400, 250);
    KVXStampBase* octopus = manager->Selected();
    Pair natural = octopus->NaturalSize();
    Pair handle = CentreOf(manager->Selector()->ScaleHandle());
    Box before = octopus->GetBox();
    Press(handle.x, handle.y, kPointerPressed | kPointerHeld);
    // Far past the natural size: natural size at most.
    Press(before.left + 4 * natural.x, before.bottom - 4 * natural.y, kPointerHeld);
    EXPECT_EQ(natural, octopus->GetSize());
    EXPECT_EQ(before.left, octopus->GetBox().left);
    EXPECT_EQ(before.bottom, octopus->GetBox().bottom);
    // Down to nothing: a tenth, and no side below 25 pixels.
    Press(before.left, before.bottom, kPointerHeld);
    Pair small = octopus->GetSize();
    EXPECT_GE(small.x, 25);
    EXPECT_GE(small.y, 25);
    EXPECT_GE(small.x, natural.x / 10);
    Press(before.left, before.bottom, kPointerReleased);
    EXPECT_LE(octopus->SizeStep(), 3);
    EXPECT_EQ(natural.x * small.y / natural.y, small.x) << "the aspect stays";
}

TEST_F(StampWorld, AStampDraggedOffTheCanvasIsRemoved)
{
    Drop(EntryTable(kSea, 0, 4), 400, 250);
    KVXStampBase* octopus = manager->Selected();
    Pair at = HitPoint(octopus);
    Box before = octopus->GetBox();
    Press(at.x, at.y, kPointerPressed | kPointerHeld);
    EXPECT_TRUE(octopus->Dragging());
    Press(at.x + 30, at.y + 20, kPointerHeld);
    EXPECT_EQ(Pair({before.left + 30, before.top + 20}), octopus->Visual()->GetPosition());
    Press(60, 300, kPointerHeld);
    EXPECT_TRUE(octopus->IsHidden()) << "off the canvas the stamp hides behind a small frame";
    EXPECT_FALSE(Shown(manager->Selector()->ScaleHandle()));
    Press(60, 300, kPointerReleased);
    Step(3);
    EXPECT_TRUE(manager->Listed().empty());
}

TEST_F(StampWorld, StampModeBuildsTheDrawerGenresAndPages)
{
    manager->Begin();
    ASSERT_NE(nullptr, manager->Drawer());
    EXPECT_EQ(5u, manager->GenreButtons().size());
    EXPECT_EQ(2, manager->PageCount());
    for (int i = 0; i < 40 && !manager->DrawerOpen(); ++i)
        Step();
    ASSERT_TRUE(manager->DrawerOpen());
    EXPECT_EQ(5u, manager->StampButtons().size());
    EXPECT_TRUE(manager->Catcher()->IsHidden()) << "the stamps can be chosen";
    EXPECT_TRUE(manager->Drawer()->Ready());

    manager->NextPage();
    Step(2);
    EXPECT_EQ(1, manager->Page());
    EXPECT_EQ(4u, manager->StampButtons().size());
    manager->NextPage();
    Step(2);
    EXPECT_EQ(0, manager->Page()) << "next from the last page wraps";
    manager->PreviousPage();
    Step(2);
    EXPECT_EQ(1, manager->Page()) << "previous from the first page wraps";

    manager->SelectGenre(kSea);
    EXPECT_FALSE(manager->DrawerOpen());
    EXPECT_TRUE(manager->StampButtons().empty());
    EXPECT_FALSE(manager->Drawer()->Ready());
    for (int i = 0; i < 80 && !manager->DrawerOpen(); ++i)
        Step();
    ASSERT_TRUE(manager->DrawerOpen());
    EXPECT_EQ(kSea, manager->Genre());
    EXPECT_EQ(0, manager->Page());
    EXPECT_EQ(5u, manager->StampButtons().size());
    EXPECT_FALSE(manager->GenreTitle()->IsHidden());

    // A stamp button dropped on the canvas places its stamp there.
    manager->StampButtons()[3]->PlaceStamp();
    EXPECT_EQ(1u, manager->Listed().size());
    EXPECT_EQ(kSea, manager->Listed()[0]->Genre());

    manager->End();
    EXPECT_EQ(nullptr, manager->Drawer());
    EXPECT_TRUE(manager->GenreButtons().empty());
    EXPECT_EQ(1u, manager->Listed().size()) << "the stamps stay when stamp mode ends";
}

// The genre buttons and the genre's title stand side by side below the
// mode sign of the painting screen (36, 76 to 108, 116) and above the stamps.
TEST_F(StampWorld, TheGenresLieBetweenTheModeSignAndTheStamps)
{
    manager->Begin();
    for (int i = 0; i < 40 && !manager->DrawerOpen(); ++i)
        Step();
    ASSERT_TRUE(manager->DrawerOpen());
    ASSERT_FALSE(manager->StampButtons().empty());
    int32_t stampsTop = 600;
    for (KVXAnimatedStampButtonMolecule* stamp : manager->StampButtons())
        stampsTop = std::min(stampsTop, stamp->Visual(0)->GetBounds().top);
    std::vector<Box> taken = {manager->GenreTitle()->GetBounds()};
    for (KVXAnimatedButtonMolecule* genre : manager->GenreButtons()) {
        Box box = genre->Visual(0)->GetBounds();
        SCOPED_TRACE(testing::Message() << box.left << "," << box.top);
        EXPECT_GE(box.top, 116);
        EXPECT_LE(box.bottom, stampsTop);
        for (const Box& other : taken)
            EXPECT_FALSE(box.Overlaps(other));
        taken.push_back(box);
    }
    manager->End();
}

TEST_F(StampWorld, TheDrawerShowsItsRacksLooks)
{
    KVXStampDrawerMolecule drawer(host, {10, 50, 110, 400});
    drawer.HideAnimation();
    drawer.Reset();
    EXPECT_EQ(kStampsRack, drawer.Rack());
    EXPECT_FALSE(drawer.HitBox()->IsHidden());
    const struct {
        int32_t feedback;
        int16_t start;
        int32_t rack;
    } steps[] = {{kDrawerPressed, 300, kStampsRack}, {kDrawerReleased, 350, kStampsRack},
                 {kDrawerToggle, 400, kToolsRack},   {kDrawerPressed, 400, kToolsRack},
                 {kDrawerReleased, 450, kToolsRack}, {kDrawerToggle, 300, kStampsRack}};
    for (const auto& s : steps) {
        drawer.Feedback(s.feedback);
        EXPECT_EQ(s.start, drawer.LastStart()) << s.feedback;
        EXPECT_EQ(s.rack, drawer.Rack()) << s.feedback;
    }
    drawer.ClearReady();
    drawer.Feedback(kDrawerToggle);
    EXPECT_EQ(kStampsRack, drawer.Rack()) << "no toggle while the drawer moves";
    EXPECT_NE(-1, drawer.Animation()->ScriptId());
    EXPECT_EQ(1, drawer.Animation()->VisualCount());
}

TEST_F(StampWorld, APlayedStampHidesForItsAnimationAndComesBackSelected)
{
    Drop(EntryTable(kSea, 0, 3), 400, 250);
    KVXStampBase* fish = manager->Selected();
    ASSERT_NE(nullptr, fish);
    manager->Selector()->PlayCommand();
    EXPECT_EQ(nullptr, manager->Selected());
    ASSERT_NE(nullptr, fish->Animation());
    EXPECT_TRUE(fish->IsHidden());
    EXPECT_TRUE(fish->IsAnimated());
    EXPECT_EQ(1, manager->CountAnimatedStamps());
    for (int i = 0; i < 200 && fish->Animation(); ++i)
        Step();
    EXPECT_EQ(nullptr, fish->Animation()) << "the animation ended";
    EXPECT_FALSE(fish->IsHidden());
    EXPECT_EQ(fish, manager->Selected());
}
