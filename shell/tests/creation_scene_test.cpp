// The painting screen on a stage stepped by hand with the program's data:
// its canvas, buttons, modes, commands, sprayed animations and panels.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "canvas/canvas_visual.h"
#include "canvas/undo_snapshot.h"
#include "engine/animation_molecule.h"
#include "engine/picture_loader.h"
#include "engine/picture_molecule.h"
#include "engine/record_table.h"
#include "engine/stage_cursors.h"
#include "framework/color.h"
#include "framework/heap.h"
#include "media/bitmap.h"
#include "media/bitmap_picture_collection.h"
#include "media/offscreen_surface.h"
#include "media/picture_visual.h"
#include "media/sound/logical_sound_channel.h"
#include "selection/rope_interpreters.h"
#include "shell/app.h"
#include "shell/creation_parts.h"
#include "shell/creation_scene.h"
#include "shell/menu_commands.h"
#include "shell/passage_scenes.h"
#include "shell/radio.h"
#include "shell/registry_settings.h"
#include "shell/stage_window.h"
#include "shell/widgets/animated_button.h"
#include "shell/widgets/quit_button.h"
#include "shell/widgets/toggle_button.h"
#include "stamps/stamp_manager.h"
#include "stamps/stamps_block.h"
#include "text/rich_edit_control.h"
#include "text/text_box.h"
#include "text/text_tray.h"
#include "tools/tool_base.h"
#include "trays/color_pickers.h"
#include "trays/manager_tool.h"
#include "trays/rope_tray.h"
#include "trays/texture_molecule.h"
#include "trays/tool_collection.h"
#include "shell_fixture.h"
#include "stage_fixture.h"

namespace {

const Box kCanvas = {144, 16, 784, 496};

MMResourceId LayoutValue(int16_t key)
{
    MMRecordTable layout;
    layout.LoadTenByteRows(kCreationLayoutTable, kCreationLayoutExtra);
    int32_t row = layout.FindRowByKey(key);
    return row < 0 ? MM_NO_RESOURCE : layout.LongAt(row, 2);
}

// Item n of the rows keyed key of a table.
MMResourceId ItemOf(MMResourceId table, int16_t key, int32_t n)
{
    MMRecordTable rows;
    rows.Load(table, 10, gDefaultHeap);
    int32_t row = rows.FindRowByKey(key, 0, n);
    return row < 0 ? MM_NO_RESOURCE : rows.LongAt(row, 2);
}

// The stamps of entry e of the first page of the drawer's genre g.
MMResourceId StampEntry(int16_t g, int16_t e)
{
    return ItemOf(ItemOf(ItemOf(996, 2, g), 2, 0), 0, e);
}

struct CreationSceneTest : ::testing::Test {
    AFHeap heap;
    KVXApp app{&heap, -1};
    BareStage bare{true};
    MMStage& stage = bare.stage;
    Box savedCanvas = CanvasBox;
    std::unique_ptr<KVXPlaneComponentTop> plane;
    std::unique_ptr<UndoSnapshot> undo;
    std::unique_ptr<CreationScene> creation;
    RegistrySettings* settings = nullptr;

    void SetUp() override
    {
        gApp = &app;
        RemoveSettingsKey();
        ASSERT_TRUE(OpenBuiltData());
        ASSERT_TRUE(OpenBuiltSounds());
        for (const char* name : {"Stmp1.MMP", "Stmp2.MMP"})
            ASSERT_NE(nullptr, MMOpenPictureFile(BuiltDataFolder(), name, false)) << name;
        CanvasBox = kCanvas;
        plane.reset(new KVXPlaneComponentTop({640, 480}));
        undo.reset(new UndoSnapshot(*plane));
        settings = new RegistrySettings;
        settings->Open();
        app.SetSettingsForTest(settings);
        creation.reset(new CreationScene(&stage, plane.get(), undo.get()));
        app.SetSceneSlot(kSceneCreation, creation.get());
        stage.StartClock();
        Enter();
    }
    void TearDown() override
    {
        if (stage.Scene() == creation.get())
            creation->DeleteMolecules();
        creation.reset();
        for (int32_t n = 0; n < kSceneCount; ++n)
            app.SetSceneSlot(n, nullptr);
        app.SetSettingsForTest(nullptr);
        delete settings;
        RemoveSettingsKey();
        CanvasBox = savedCanvas;
        CloseBuiltData();
        gApp = nullptr;
    }
    void Enter(MMBaseScene* scene = nullptr)
    {
        stage.SetPendingScene(scene ? scene : creation.get(), nullptr, nullptr);
        stage.ChangeSceneOrDispatch();
    }
    // One stage step of ms milliseconds.
    void Step(int32_t ms = 20)
    {
        FakeClock::now += ms;
        stage.ChangeSceneOrDispatch();
        stage.RunDueTasks();
        stage.FrameTick();
    }
    void StepFor(int32_t ms)
    {
        for (int32_t t = 0; t < ms; t += 20)
            Step();
    }
    void Paint(int32_t x, int32_t y)
    {
        *plane->PixelAt(x, y) = {0, 0, 255, 0, 3072, 0};
    }
    bool Blank(int32_t x, int32_t y) const
    {
        return plane->ColorAt(x, y) == kBlankPixel.ColorWord();
    }
};

TEST_F(CreationSceneTest, BeginWiresTheCanvasButtonsAndRadioAndEndLeavesOnce)
{
    KVXCanvasVisual* canvas = creation->CanvasVisual();
    ASSERT_NE(nullptr, canvas);
    EXPECT_EQ(plane.get(), canvas->Plane());
    EXPECT_EQ(50, canvas->Layer());
    EXPECT_EQ(kCanvas, canvas->GetBounds());
    EXPECT_NE(nullptr, canvas->DrawMethod());
    EXPECT_NE(nullptr, creation->SlateStore());
    ASSERT_NE(nullptr, creation->TexturePlane());
    EXPECT_EQ((Pair{640, 480}), creation->TexturePlane()->Size());
    EXPECT_NE(MM_NO_RESOURCE, creation->Texture().Id());
    for (CreationLayoutKey key : {kLayoutNewPicture, kLayoutUndo, kLayoutImport, kLayoutFlush,
                                  kLayoutPrint, kLayoutToolModeButton, kLayoutStampModeButton,
                                  kLayoutSketchbookButton})
        EXPECT_NE(nullptr, creation->Button(key)) << key;
    EXPECT_NE(nullptr, creation->ExitButton());
    EXPECT_NE(nullptr, creation->ZoomToggle());
    EXPECT_TRUE(creation->IsZoomButtonShown());
    for (int32_t slot = 0; slot < 4; ++slot) {
        EXPECT_NE(nullptr, creation->PlayButton(slot)) << slot;
        EXPECT_TRUE(creation->PlayButtonDimmed(slot)) << slot;
    }
    ASSERT_NE(nullptr, creation->Radio());
    EXPECT_TRUE(creation->Radio()->IsIdle());
    EXPECT_EQ(kToolMode, creation->Mode());
    EXPECT_TRUE(creation->ButtonDimmed(kLayoutToolModeButton));
    EXPECT_FALSE(creation->ButtonDimmed(kLayoutStampModeButton));
    EXPECT_EQ(1, plane->changeState.value) << "a loaded page is marked changed";

    EXPECT_EQ(0, app.LeaveStepCount());
    creation->DeleteMolecules();
    EXPECT_EQ(1, app.LeaveStepCount());
    EXPECT_EQ(nullptr, creation->CanvasVisual());
    EXPECT_TRUE(creation->Molecules().empty());
    // The stage ending the scene again after a quit is the same visit.
    creation->DeleteMolecules();
    EXPECT_EQ(1, app.LeaveStepCount());
    Enter();
    creation->DeleteMolecules();
    EXPECT_EQ(2, app.LeaveStepCount());
}

// The easel's two signs, the palette badge (row 55) and the rainbow (row 57),
// sit side by side off the canvas: neither peeks out from under the other.
TEST_F(CreationSceneTest, TheEaselSignsSitSideBySide)
{
    std::vector<MMPictureID> pictures;
    for (int16_t key : {int16_t(kLayoutBadge), int16_t(kLayoutRainbowBadge)}) {
        MMRecordTable placed;
        placed.Load(LayoutValue(key), 8, gDefaultHeap);
        ASSERT_EQ(1, placed.RowCount()) << key;
        pictures.push_back(MMPictureID(placed.LongAt(0, 4)));
    }
    std::vector<Box> boxes;
    for (MMPictureID picture : pictures)
        for (MMMolecule* m : creation->Molecules())
            if (auto* p = dynamic_cast<MMPictureMolecule*>(m))
                if (p->Visual() && p->Visual()->GetPicture().Id() == picture)
                    boxes.push_back(p->Visual()->GetBounds());
    ASSERT_EQ(2u, boxes.size());
    for (const Box& box : boxes) {
        EXPECT_FALSE(box.IsEmpty());
        EXPECT_TRUE((Box{0, 0, 800, 600}).Contains(box));
        EXPECT_FALSE(box.Overlaps(kCanvas));
    }
    EXPECT_FALSE(boxes[0].Overlaps(boxes[1]));
}

// A click at the middle of any awake button of the screen reaches that
// button, in both modes: no picture lies over it.
TEST_F(CreationSceneTest, EveryAwakeButtonTakesAClickAtItsMiddle)
{
    // The button's first visual, and the interpreter that takes its clicks.
    auto reaches = [&](MMAnimationMolecule* button, MMMouseInterpreter* own) {
        MMPictureBasedVisual* visual = button->Visual(0);
        if (!visual)
            return false;
        Pair middle = visual->GetBounds().Center();
        MMStageEvent event = {kStageEventPointer, 0, 0, middle.x, middle.y, kPointerPressed};
        MMMouseInterpreter* interpreter = nullptr;
        MMEnclosure* enclosure = nullptr;
        return creation->FindTarget(event, &interpreter, &enclosure) && interpreter == own;
    };
    struct Case {
        int32_t mode;
        std::vector<CreationLayoutKey> keys;
    };
    const Case cases[] = {
        {kToolMode,
         {kLayoutNewPicture, kLayoutUndo, kLayoutImport, kLayoutFlush, kLayoutPrint,
          kLayoutStampModeButton, kLayoutSketchbookButton}},
        {kStampMode, {kLayoutNewPicture, kLayoutUndo, kLayoutToolModeButton}},
    };
    for (const Case& c : cases) {
        if (c.mode == kStampMode)
            creation->SwitchToStampMode();
        StepFor(3000);
        ASSERT_EQ(c.mode, creation->Mode());
        for (CreationLayoutKey key : c.keys) {
            ASSERT_NE(nullptr, creation->Button(key)) << key;
            KVXAnimatedButtonMolecule* button = creation->Button(key);
            EXPECT_TRUE(reaches(button, button)) << "mode " << c.mode << ", row " << key;
        }
        KVXQuitButton* exit = creation->ExitButton();
        ASSERT_NE(nullptr, exit);
        EXPECT_TRUE(reaches(exit, exit->ButtonInterpreter())) << "mode " << c.mode;
    }
}

// Entering the screen shows the button of the mode in force as chosen: it
// comes to rest in its dimmed look, as after a switch, not awake.
TEST_F(CreationSceneTest, TheChosenModesButtonRestsDimmedOnEntry)
{
    struct Case {
        int32_t mode;
        CreationLayoutKey chosen;
    };
    for (Case c :
         {Case{kToolMode, kLayoutToolModeButton}, Case{kStampMode, kLayoutStampModeButton}}) {
        if (c.mode == kStampMode) {
            creation->SwitchToStampMode();
            StepFor(3000);
            creation->DeleteMolecules();
            Enter();
        }
        StepFor(1000);
        ASSERT_EQ(c.mode, creation->Mode());
        KVXAnimatedButtonMolecule* button = creation->Button(c.chosen);
        ASSERT_NE(nullptr, button);
        ASSERT_NE(nullptr, button->Visual(0));
        EXPECT_TRUE(creation->ButtonDimmed(c.chosen));
        MMPictureID atEntry = button->Visual(0)->GetPicture().Id();
        button->Run(kLabelIdle);
        StepFor(200);
        EXPECT_NE(atEntry, button->Visual(0)->GetPicture().Id()) << c.mode;
        button->Run(kLabelDimmed);
        StepFor(200);
        EXPECT_EQ(atEntry, button->Visual(0)->GetPicture().Id()) << c.mode;
    }
}

TEST_F(CreationSceneTest, ModeSwitchesRunTheirAnimationAndTheModeOutlivesAVisit)
{
    MMPictureID stampIndicator = MM_NO_RESOURCE;
    {
        MMRecordTable layout;
        layout.LoadTenByteRows(kCreationLayoutTable, kCreationLayoutExtra);
        MMRecordTable table;
        table.Load(layout.LongAt(layout.FindRowByKey(kLayoutStampIndicatorTable), 2), 8,
                   gDefaultHeap);
        stampIndicator = table.LongAt(0, 4);
    }
    int16_t busy = stage.Cursors()->BusyCount();
    creation->SwitchToStampMode();
    EXPECT_EQ(kStampMode, creation->Mode());
    EXPECT_TRUE(creation->ButtonDimmed(kLayoutStampModeButton));
    EXPECT_FALSE(creation->IsZoomButtonShown());
    EXPECT_EQ(busy + 1, stage.Cursors()->BusyCount()) << "busy while the switch runs";
    StepFor(3000);
    EXPECT_FALSE(creation->ButtonDimmed(kLayoutToolModeButton));
    EXPECT_EQ(stampIndicator, creation->ModeIndicator()->Visual()->GetPicture().Id());
    EXPECT_EQ(busy, stage.Cursors()->BusyCount());

    creation->DeleteMolecules();
    EXPECT_EQ(kStampMode, app.creationMode);
    Enter();
    EXPECT_EQ(kStampMode, creation->Mode());
    EXPECT_TRUE(creation->ButtonDimmed(kLayoutStampModeButton));
    EXPECT_FALSE(creation->IsZoomButtonShown());

    creation->SwitchToToolMode();
    StepFor(3000);
    EXPECT_EQ(kToolMode, creation->Mode());
    EXPECT_TRUE(creation->ButtonDimmed(kLayoutToolModeButton));
    EXPECT_FALSE(creation->ButtonDimmed(kLayoutStampModeButton));
    EXPECT_TRUE(creation->IsZoomButtonShown());
}

TEST_F(CreationSceneTest, TheToolManagerComesWithToolModeAndKeepsItsTrayAndColour)
{
    KVXManagerTool* manager = creation->ToolManager();
    ASSERT_NE(nullptr, manager);
    EXPECT_EQ(static_cast<KVXPaletteTarget*>(manager), creation->ColorPickerOwner());
    ASSERT_NE(nullptr, manager->Palette()) << "begun with tool mode";
    manager->SelectCollection(kChalkCollection);
    ASSERT_NE(nullptr, manager->CurrentCollection());
    EXPECT_NE(nullptr, manager->CurrentTool());
    const uint32_t red = ColorWord(255, 0, 0);
    manager->NotifyPaletteMolecule(red);
    manager->ColorChosen();
    EXPECT_TRUE(SameColor(red, *manager->ColorCell()));

    creation->SwitchToStampMode();
    StepFor(3000);
    EXPECT_EQ(nullptr, manager->Palette()) << "ended with tool mode";
    EXPECT_EQ(nullptr, manager->CurrentCollection());
    creation->SwitchToToolMode();
    StepFor(3000);
    EXPECT_NE(nullptr, manager->Palette());
    EXPECT_EQ(kChalkCollection, manager->CurrentType());

    // A visit later the same manager opens the chalk with the red.
    creation->DeleteMolecules();
    EXPECT_EQ(nullptr, manager->Palette());
    Enter();
    EXPECT_EQ(manager, creation->ToolManager());
    EXPECT_EQ(kChalkCollection, manager->CurrentType());
    EXPECT_NE(nullptr, manager->CurrentCollection());
    EXPECT_TRUE(SameColor(red, *manager->ColorCell()));
}

TEST_F(CreationSceneTest, StampsWakeTheGlueButtonsTravelWithThePageAndGlueIntoTheCanvas)
{
    KVXBaseStampManager* stamps = creation->StampManager();
    ASSERT_NE(nullptr, stamps);
    creation->SwitchToStampMode();
    StepFor(3000);
    auto* drawer = dynamic_cast<KVXStampManager*>(stamps);
    ASSERT_NE(nullptr, drawer);
    EXPECT_NE(nullptr, drawer->Drawer()) << "stamp mode opens the drawer";

    MMRecordTable entry;
    entry.Load(StampEntry(4, 3), 10, gDefaultHeap);
    ASSERT_GT(entry.RowCount(), 0);
    stamps->PlaceStampsFromTable(&entry, 300, 250);
    ASSERT_TRUE(stamps->HasStamps());
    EXPECT_FALSE(creation->PlayButtonDimmed(kGlueLineArtSlot));
    EXPECT_FALSE(creation->PlayButtonDimmed(kGlueColourSlot));

    // The page's stamps block carries the stamp out and back.
    KVXStampsBlock block;
    ASSERT_TRUE(CreationStampsToBlock(stamps, block));
    EXPECT_EQ(1, block.Count());
    creation->DeleteMolecules();
    EXPECT_FALSE(stamps->HasStamps()) << "the visit's stamps go with it";
    EXPECT_EQ(nullptr, drawer->Drawer());
    Enter();
    EXPECT_EQ(stamps, creation->StampManager());
    EXPECT_EQ(kStampMode, creation->Mode());
    ASSERT_TRUE(CreationStampsFromBlock(stamps, block));
    ASSERT_TRUE(stamps->HasStamps());

    Box box = stamps->Listed().empty() ? Box{0, 0, 0, 0} : stamps->Listed()[0]->GetBox();
    int32_t blank = 0;
    for (int32_t y = box.top; y < box.bottom; ++y)
        for (int32_t x = box.left; x < box.right; ++x)
            blank += Blank(x - kCanvas.left, y - kCanvas.top) ? 1 : 0;
    creation->GlueAsLineArtCommand();
    EXPECT_FALSE(stamps->HasStamps());
    EXPECT_TRUE(creation->PlayButtonDimmed(kGlueLineArtSlot));
    int32_t blankAfter = 0;
    for (int32_t y = box.top; y < box.bottom; ++y)
        for (int32_t x = box.left; x < box.right; ++x)
            blankAfter += Blank(x - kCanvas.left, y - kCanvas.top) ? 1 : 0;
    EXPECT_LT(blankAfter, blank) << "the stamp's picture went into the canvas";
}

// One glue button glues every stamp in colour, the other as black-and-white
// line art; either can be undone.
TEST_F(CreationSceneTest, TheGlueButtonsGlueInColourOrAsLineArt)
{
    KVXBaseStampManager* stamps = creation->StampManager();
    ASSERT_NE(nullptr, stamps);
    // The program's stage lends its collection for the stamps' rendered
    // pictures; this one goes with the picture files.
    stamps->SetPictureCollection(new MMBitmapPictureCollection{64, 0x4500});
    creation->SwitchToStampMode();
    StepFor(3000);
    struct Case {
        int32_t slot;
        bool colour;
    };
    for (Case c : {Case{kGlueColourSlot, true}, Case{kGlueLineArtSlot, false}}) {
        MMRecordTable entry;
        entry.Load(StampEntry(4, 3), 10, gDefaultHeap);
        stamps->PlaceStampsFromTable(&entry, 300, 250);
        ASSERT_TRUE(stamps->HasStamps()) << c.slot;
        ASSERT_FALSE(creation->PlayButtonDimmed(c.slot));
        Box box = stamps->Listed()[0]->GetBox();
        ASSERT_FALSE(box.IsEmpty());
        KVXAnimatedButtonMolecule* button = creation->PlayButton(c.slot);
        ASSERT_NE(nullptr, button);
        ASSERT_NE(nullptr, button->ClickCommand());
        button->ClickCommand()->Perform();
        EXPECT_FALSE(stamps->HasStamps()) << c.slot;
        EXPECT_TRUE(creation->PlayButtonDimmed(c.slot));

        int32_t painted = 0;
        int32_t coloured = 0;
        for (int32_t y = box.top; y < box.bottom; ++y)
            for (int32_t x = box.left; x < box.right; ++x) {
                const KVXComponentPixel* p = plane->PixelAt(x - kCanvas.left, y - kCanvas.top);
                painted += Blank(x - kCanvas.left, y - kCanvas.top) ? 0 : 1;
                coloured += p->red != p->green || p->green != p->blue ? 1 : 0;
            }
        EXPECT_GT(painted, 0) << c.slot;
        EXPECT_EQ(c.colour, coloured > 0) << c.slot << ": " << coloured << " coloured pixels";

        creation->StarthandleUndoCmd();
        creation->handleUndoCmd();
        for (int32_t y = box.top; y < box.bottom; ++y)
            for (int32_t x = box.left; x < box.right; ++x)
                ASSERT_TRUE(Blank(x - kCanvas.left, y - kCanvas.top))
                    << c.slot << " " << x << "," << y;
    }
}

// An imported picture becomes the rope's floating selection.
TEST_F(CreationSceneTest, AnImportedPictureFloatsOnTheRopeTray)
{
    RegisterRopeInterpreters();
    WinMMOffscreenSurface* surface = MMSurface::CreateBitmapDC(32, Box{0, 0, 40, 30}, nullptr);
    ASSERT_NE(nullptr, surface);
    surface->FillBox(Box{0, 0, 40, 30}, MakeMMColorFromRgb(RGB(255, 0, 0)));
    creation->SetImportedPicture(surface);
    creation->HandleMenuCommand(10000);
    EXPECT_EQ(nullptr, creation->ImportedPicture());
    KVXManagerTool* manager = creation->ToolManager();
    EXPECT_EQ(kRopeCollection, manager->CurrentType());
    auto* rope = dynamic_cast<KVXRopeToolCollection*>(manager->CurrentCollection());
    ASSERT_NE(nullptr, rope);
    ASSERT_NE(nullptr, rope->RopeInterpreter());
    EXPECT_TRUE(rope->RopeInterpreter()->HasSelection());
}

// The rope lifts pixels one to one: a picture imported onto a zoomed canvas
// floats over the unzoomed canvas, and the zoom stays away until the rope
// tray closes.
TEST_F(CreationSceneTest, TheRopeTrayUnzoomsTheCanvasAndHidesTheZoom)
{
    RegisterRopeInterpreters();
    StepFor(3000);
    creation->handleZoomCmd();
    ASSERT_TRUE(creation->CanvasVisual()->IsZoomed());
    WinMMOffscreenSurface* surface = MMSurface::CreateBitmapDC(32, Box{0, 0, 40, 30}, nullptr);
    ASSERT_NE(nullptr, surface);
    creation->SetImportedPicture(surface);
    creation->HandleMenuCommand(10000);
    KVXManagerTool* manager = creation->ToolManager();
    ASSERT_EQ(kRopeCollection, manager->CurrentType());
    EXPECT_FALSE(creation->CanvasVisual()->IsZoomed());
    EXPECT_FALSE(creation->ZoomToggle()->IsOn());
    EXPECT_FALSE(creation->IsZoomButtonShown());
    auto* rope = dynamic_cast<KVXRopeToolCollection*>(manager->CurrentCollection());
    ASSERT_NE(nullptr, rope);
    ASSERT_NE(nullptr, rope->RopeInterpreter());
    EXPECT_EQ((Box{444, 241, 484, 271}), rope->RopeInterpreter()->Selection().GetBox());
    manager->HandleKey(uint32_t('>') << 16);
    EXPECT_FALSE(creation->CanvasVisual()->IsZoomed()) << "no zoom key while the rope is out";
    manager->SelectCollection(kChalkCollection);
    EXPECT_TRUE(creation->IsZoomButtonShown());
    EXPECT_FALSE(creation->CanvasVisual()->IsZoomed());
}

// The flush wipes a floating selection with the rest of the picture: the
// rope tray stays open without it, and undo brings the picture back whole.
TEST_F(CreationSceneTest, TheFlushWipesAFloatingSelectionToo)
{
    RegisterRopeInterpreters();
    StepFor(3000);
    WinMMOffscreenSurface* surface = MMSurface::CreateBitmapDC(32, Box{0, 0, 40, 30}, nullptr);
    ASSERT_NE(nullptr, surface);
    surface->FillBox(Box{0, 0, 40, 30}, MakeMMColorFromRgb(RGB(255, 0, 0)));
    GdiFlush();
    creation->SetImportedPicture(surface);
    creation->HandleMenuCommand(10000);
    KVXManagerTool* manager = creation->ToolManager();
    auto* rope = dynamic_cast<KVXRopeToolCollection*>(manager->CurrentCollection());
    ASSERT_NE(nullptr, rope);
    ASSERT_TRUE(rope->RopeInterpreter()->HasSelection());
    Paint(10, 10);
    plane->changeState.value = 2;
    // The picture floats centred: canvas (300, 225) to (340, 255).
    creation->handleFlushCmd();
    StepFor(4000);
    EXPECT_EQ(kRopeCollection, manager->CurrentType());
    ASSERT_NE(nullptr, rope->RopeInterpreter());
    EXPECT_FALSE(rope->RopeInterpreter()->HasSelection());
    EXPECT_TRUE(Blank(320, 240));
    EXPECT_TRUE(Blank(10, 10));
    creation->StarthandleUndoCmd();
    creation->handleUndoCmd();
    EXPECT_FALSE(Blank(320, 240)) << "the picture came back down";
    EXPECT_FALSE(Blank(10, 10));
}

TEST_F(CreationSceneTest, NewPictureClearsOnlyAChangedCanvas)
{
    Paint(5, 5);
    plane->changeState.value = 0;
    creation->handleNewImageCmd();
    EXPECT_FALSE(Blank(5, 5)) << "nothing was drawn since the page came";
    plane->changeState.value = 2;
    creation->handleNewImageCmd();
    EXPECT_TRUE(Blank(5, 5));
    creation->StarthandleUndoCmd();
    creation->handleUndoCmd();
    EXPECT_FALSE(Blank(5, 5)) << "undo gives the whole picture back";
}

// The slate tray shows the picture rendered once when it opened; a new
// picture must show blank there too, not the old picture.
TEST_F(CreationSceneTest, NewPictureShowsBlankUnderTheSlateTray)
{
    StepFor(3000);
    Paint(100, 100);
    plane->changeState.value = 2;
    KVXManagerTool* manager = creation->ToolManager();
    manager->SelectCollection(kMagicSlateCollection);
    ASSERT_EQ(kMagicSlateCollection, manager->CurrentType());
    creation->handleNewImageCmd();
    ASSERT_TRUE(Blank(100, 100));
    KVXDrawMethod* method = creation->CanvasVisual()->DrawMethod();
    ASSERT_NE(nullptr, method);
    std::unique_ptr<MMBitmapWithPixels> shown(
        MMBitmap::CreateWithPixels({0, 0, 640, 480}, kPixelBGRA, nullptr));
    KVXPlaneComponent view;
    view.MakeSubView(*plane, {0, 0, 640, 480});
    method->Render(view, *shown, false);
    uint32_t shownWord = 0;
    std::memcpy(&shownWord, shown->PixelAddress(100, 100), 4);
    EXPECT_EQ(0x00FFFFFFu, shownWord) << "white, not the red painted there before";
}

TEST_F(CreationSceneTest, UndoAtChangeStateOneIsRefusedWithRowSixtyThree)
{
    plane->MarkChanged();
    Paint(7, 7);
    creation->StarthandleUndoCmd();
    ASSERT_NE(nullptr, creation->FeedbackChannel());
    EXPECT_EQ(LayoutValue(kLayoutRefusalSound), creation->FeedbackChannel()->SoundId());
    EXPECT_TRUE(creation->UndoSkip());
    creation->handleUndoCmd();
    EXPECT_FALSE(Blank(7, 7));
    EXPECT_FALSE(creation->UndoSkip());

    // A change since the snapshot: undo takes it back, with one of the undo sounds.
    plane->changeState.value = 2;
    creation->StarthandleUndoCmd();
    EXPECT_NE(LayoutValue(kLayoutRefusalSound), creation->FeedbackChannel()->SoundId());
    EXPECT_FALSE(creation->UndoSkip());
    creation->handleUndoCmd();
    EXPECT_TRUE(Blank(7, 7));
}

TEST_F(CreationSceneTest, ASprayedAnimationHoldsOffNewFlushAndUndoUntilItEnds)
{
    MMResourceId animation = LayoutValue(kLayoutToToolMode);
    creation->StartSprayedAnimation(animation, -1, Pair{20, 30}, true);
    EXPECT_EQ(1, creation->RunningAnimations());
    Paint(3, 3);
    plane->changeState.value = 2;
    creation->handleNewImageCmd();
    EXPECT_FALSE(Blank(3, 3));
    creation->handleFlushCmd();
    EXPECT_FALSE(creation->CanvasVisual()->IsWiping());
    EXPECT_EQ(2, plane->changeState.value);
    creation->StarthandleUndoCmd();
    EXPECT_EQ(LayoutValue(kLayoutRefusalSound), creation->FeedbackChannel()->SoundId());
    creation->handleUndoCmd();
    EXPECT_FALSE(Blank(3, 3));
    StepFor(3000);
    EXPECT_EQ(0, creation->RunningAnimations());
    creation->handleNewImageCmd();
    EXPECT_TRUE(Blank(3, 3));
}

// The flush and undo buttons start their work from their script's event:
// each takes click after click, not only the first.
TEST_F(CreationSceneTest, FlushAndUndoTakeEveryClick)
{
    auto click = [&](CreationLayoutKey key) {
        Pair middle = creation->Button(key)->Visual(0)->GetBounds().Center();
        for (uint32_t flags : {0u, uint32_t(kPointerHeld | kPointerPressed), uint32_t(kPointerReleased)})
            stage.QueueInputEvent({kStageEventPointer, 0, 0, middle.x, middle.y, flags});
        StepFor(4000);
    };
    StepFor(3000);
    for (int round = 0; round < 3; ++round) {
        Paint(9, 9);
        plane->changeState.value = 2;
        click(kLayoutFlush);
        EXPECT_TRUE(Blank(9, 9)) << "flush " << round;
        EXPECT_FALSE(creation->CanvasVisual()->IsWiping());
    }
    // The wipe's snapshot holds the painted pixel: undo swaps it in and out.
    for (int round = 0; round < 3; ++round) {
        plane->changeState.value = 2;
        click(kLayoutUndo);
        EXPECT_EQ(round % 2 == 1, Blank(9, 9)) << "undo " << round;
    }
}

// A 5 x 3 opaque red picture of the test's own collection.
struct RedPicture {
    MMBitmapPictureCollection pictures{2, 777};
    MMPictureReference reference;
    RedPicture(int32_t w, int32_t h)
    {
        std::unique_ptr<MMBitmapWithPixels> bitmap(
            MMBitmap::CreateWithPixels({0, 0, w, h}, kPixelBGRA, nullptr));
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) {
                uint8_t* p = bitmap->PixelAddress(x, y);
                p[0] = 0, p[1] = 0, p[2] = 255, p[3] = 0;
            }
        bitmap->transparencyKind = kTransparencyOpaque;
        pictures.BindPicture(reference, 0, *bitmap, nullptr);
    }
};

TEST_F(CreationSceneTest, SprayedPicturesLandCentredOnThePoint)
{
    RedPicture red(5, 3);
    ASSERT_NE(MM_NO_RESOURCE, red.reference.Id());
    struct Case {
        MMResourceId animation;
        MMResourceId picture;
        bool paste;
        int32_t running;
    };
    MMResourceId animation = LayoutValue(kLayoutToToolMode);
    const Case cases[] = {
        {-1, -1, true, 0},
        {-1, red.reference.Id(), true, 0},
        {-1, red.reference.Id(), false, 0},
        {animation, -1, true, 1},
        {animation, red.reference.Id(), false, 1},
    };
    for (const Case& c : cases) {
        plane->Fill(kBlankPixel);
        plane->changeState.value = 0;
        creation->StartSprayedAnimation(c.animation, c.picture, Pair{100, 50}, c.paste);
        EXPECT_EQ(c.running, creation->RunningAnimations());
        if (c.running) {
            bool found = false;
            for (MMMolecule* m : creation->Molecules())
                if (auto* a = dynamic_cast<MMAnimationMolecule*>(m))
                    if (a->ScriptId() == c.animation && a->LayerOffset() == 1000) {
                        Pair expected = {kCanvas.left + 100, kCanvas.top + 50};
                        if (c.picture != -1)
                            expected = {expected.x - 2, expected.y - 1};
                        EXPECT_EQ(expected, a->Offset());
                        found = true;
                    }
            EXPECT_TRUE(found);
            StepFor(3000);
            EXPECT_EQ(0, creation->RunningAnimations());
        }
        bool placed = c.picture != -1;
        // Integer halves: 5 x 3 centred on (100, 50) covers 98..102 x 49..51.
        EXPECT_EQ(placed, !Blank(98, 49)) << c.animation << " " << c.picture;
        EXPECT_EQ(placed, !Blank(102, 51));
        EXPECT_TRUE(Blank(97, 50));
        EXPECT_TRUE(Blank(103, 50));
        EXPECT_TRUE(Blank(100, 48));
        EXPECT_EQ(placed ? 1 : 0, plane->changeState.value);
    }
}

TEST_F(CreationSceneTest, PrintingOffDimsThePrintButton)
{
    EXPECT_FALSE(creation->ButtonDimmed(kLayoutPrint));
    settings->SetPrinting(0);
    EXPECT_TRUE(creation->HandleMenuCommand(13102));
    EXPECT_TRUE(creation->ButtonDimmed(kLayoutPrint));
    settings->SetPrinting(1);
    EXPECT_TRUE(creation->HandleMenuCommand(13102));
    EXPECT_FALSE(creation->ButtonDimmed(kLayoutPrint));
}

const AFWindowClass kMenuWindowClass = {
    CS_OWNDC | CS_DBLCLKS, 0, 0, false, nullptr, nullptr, false, IDC_ARROW,
    static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), "menu", "CreationTestStageWindow",
    AFWindow::WindowProc};

// The painting screen on a real stage window, whose menu the screen greys
// and hides, and inside which a text box's real control lives.
struct WindowedCreation : ::testing::Test {
    AFHeap heap;
    KVXApp app{&heap, -1};
    Box savedCanvas = CanvasBox;
    RegistrySettings settings;
    KVXStageWindow* window = nullptr;
    MMStage* stage = nullptr;
    KVXPlaneComponentTop plane{Pair{640, 480}};
    UndoSnapshot undo{plane};
    CreationScene* scene = nullptr;

    void SetUp() override
    {
        gApp = &app;
        RemoveSettingsKey();
        ASSERT_TRUE(OpenBuiltData());
        CanvasBox = kCanvas;
        settings.Open();
        app.SetSettingsForTest(&settings);
        AFWindowCreation creation = {&kMenuWindowClass, Box{0, 0, 800, 600}, WS_POPUP, 0};
        window = new KVXStageWindow(creation);
        // The window owns the stage from here on.
        stage = new MMStage(window, Box{0, 0, 800, 600}, 32, nullptr, nullptr, nullptr, nullptr);
        FakeClock::now = 1000;
        stage->SetClock(FakeClock::Now);
        scene = new CreationScene(stage, &plane, &undo);
        stage->SetPendingScene(scene, nullptr, nullptr);
        stage->ChangeSceneOrDispatch();
    }
    void TearDown() override
    {
        if (scene)
            scene->DeleteMolecules();
        delete scene;
        delete window;
        app.SetSettingsForTest(nullptr);
        CanvasBox = savedCanvas;
        CloseBuiltData();
        RemoveSettingsKey();
        gApp = nullptr;
    }
    void StepFor(int32_t ms)
    {
        for (int32_t t = 0; t < ms; t += 20) {
            FakeClock::now += 20;
            stage->ChangeSceneOrDispatch();
            stage->RunDueTasks();
            stage->FrameTick();
        }
    }
};

// The main window's menu under the painting screen: 13102 greys and wakes
// Print (12902) with the print button; a panel takes the menu bar away.
TEST_F(WindowedCreation, PrintingGreysThePrintItemAndPanelsHideTheMenuBar)
{
    auto greyed = [&] {
        return (GetMenuState(window->menu, kMenuPrint, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };

    settings.SetPrinting(0);
    EXPECT_TRUE(scene->HandleMenuCommand(kMenuPrinting));
    EXPECT_TRUE(scene->ButtonDimmed(kLayoutPrint));
    EXPECT_TRUE(greyed());
    settings.SetPrinting(1);
    EXPECT_TRUE(scene->HandleMenuCommand(kMenuPrinting));
    EXPECT_FALSE(scene->ButtonDimmed(kLayoutPrint));
    EXPECT_FALSE(greyed());

    struct Panel {
        void (CreationScene::*open)();
        void (CreationScene::*close)();
    };
    for (Panel panel : {Panel{&CreationScene::HandleImportButton, &CreationScene::HandleImportCancelButton},
                        Panel{&CreationScene::OpenPrintPanel, &CreationScene::HandlePrintCancelButton}}) {
        window->SetMenu(true);
        (scene->*panel.open)();
        EXPECT_FALSE(window->IsMenuShown());
        EXPECT_FALSE(app.MenuAllowed());
        (scene->*panel.close)();
        EXPECT_TRUE(app.MenuAllowed());
    }
}

// The real control of a live text box would stand over a panel or the
// radio: while one is open a still picture of the box stands in for it.
TEST_F(WindowedCreation, PanelsAndTheRadioCoverALiveTextBox)
{
    window->Show(true);
    KVXManagerTool* manager = scene->ToolManager();
    ASSERT_NE(nullptr, manager);
    manager->SelectCollection(kTextCollection);
    auto* tray = dynamic_cast<KVXTextToolCollection*>(manager->CurrentCollection());
    ASSERT_NE(nullptr, tray);
    KVXTextEditWrapper* box = tray->TextBox();
    ASSERT_NE(nullptr, box);
    ASSERT_NE(nullptr, box->Control()) << "the rich-edit library loads";
    const Box placed = {300, 200, 500, 300};
    box->PlaceBox(placed);
    HWND edit = box->Control()->EditWindow();
    ASSERT_TRUE(IsWindowVisible(edit));

    KVXRadio* radio = scene->Radio();
    ASSERT_NE(nullptr, radio);
    struct Cover {
        const char* name;
        std::function<void()> open;
        std::function<void()> close;
    };
    const Cover covers[] = {
        {"import panel", [&] { scene->HandleImportButton(); }, [&] { scene->HandleImportCancelButton(); }},
        {"print panel", [&] { scene->OpenPrintPanel(); }, [&] { scene->HandlePrintCancelButton(); }},
        {"radio", [&] { radio->Open(); StepFor(600); }, [&] { radio->Close(); StepFor(600); }},
    };
    for (const Cover& cover : covers) {
        cover.open();
        KVXTextCloakVisual* cloak = box->CloakVisual();
        ASSERT_NE(nullptr, cloak) << cover.name;
        EXPECT_EQ(placed, cloak->GetBounds()) << cover.name;
        EXPECT_TRUE(box->IsHidden()) << cover.name;
        EXPECT_FALSE(IsWindowVisible(edit)) << cover.name;
        cover.close();
        EXPECT_EQ(nullptr, box->CloakVisual()) << cover.name;
        EXPECT_FALSE(box->IsHidden()) << cover.name;
        EXPECT_TRUE(IsWindowVisible(edit)) << cover.name;
    }
}

TEST_F(CreationSceneTest, WithoutAGalleryTheSketchbookButtonIsRefused)
{
    creation->HandleSketchbookButton();
    EXPECT_EQ(nullptr, stage.PendingScene());
    EXPECT_EQ(LayoutValue(kLayoutRefusalSound), creation->FeedbackChannel()->SoundId());
    RecordingScene gallery(&stage, &bare.log);
    app.SetSceneSlot(kSceneGallery, &gallery);
    KVXTransitionToUTHScene toGallery(&stage);
    app.SetSceneSlot(kSceneToGallery, &toGallery);
    creation->HandleSketchbookButton();
    stage.RunQueue()->RunOnce();
    EXPECT_EQ(&toGallery, stage.PendingScene());
}

TEST_F(CreationSceneTest, TheImportPanelWithoutScannerOffersTheFileAndADimmedCamera)
{
    creation->HandleImportButton();
    ASSERT_TRUE(creation->ImportPanelOpen());
    EXPECT_FALSE(app.MenuAllowed());
    for (int32_t i = 0; i < 3; ++i)
        EXPECT_NE(nullptr, creation->ImportPanelButton(i)) << i;
    EXPECT_FALSE(creation->ImportPanelButton(1)->IsActive());
    // The buttons stand on the board's cream card (258, 218 to 538, 356),
    // clear of its outline.
    stage.RunQueue()->RunOnce();
    for (int32_t i = 0; i < 3; ++i) {
        Box box = creation->ImportPanelButton(i)->Visual(0)->GetBounds();
        EXPECT_GE(box.left, 258) << i;
        EXPECT_LE(box.right, 538) << i;
        EXPECT_GE(box.top, 218) << i;
        EXPECT_LE(box.bottom, 354) << i;
    }
    // Without sketchbooks there is no file import: refused with the sound.
    creation->HandleImportFileButton();
    EXPECT_FALSE(creation->ImportPanelOpen());
    EXPECT_TRUE(app.MenuAllowed());
    EXPECT_EQ(LayoutValue(kLayoutRefusalSound), creation->FeedbackChannel()->SoundId());
    creation->HandleImportButton();
    creation->HandleImportCancelButton();
    EXPECT_FALSE(creation->ImportPanelOpen());
}

TEST_F(CreationSceneTest, ThePrintPanelBuildsSixButtonsAndCloses)
{
    creation->OpenPrintPanel();
    ASSERT_TRUE(creation->PrintPanelOpen());
    EXPECT_FALSE(app.MenuAllowed());
    creation->HandlePrintCancelButton();
    EXPECT_FALSE(creation->PrintPanelOpen());
    EXPECT_TRUE(app.MenuAllowed());
}

// Labels and events of one script: the labels of its frames, and the events
// posted within the frames of each label.
struct ScriptShape {
    std::set<int16_t> labels;
    std::set<std::pair<int16_t, int16_t>> events;  // (label, event)
};

ScriptShape ShapeOf(MMResourceId script)
{
    ScriptShape shape;
    MMRecordTable table;
    table.Load(script, 10, gDefaultHeap);
    int16_t label = 0;
    for (int32_t row = 0; row < table.RowCount(); ++row) {
        int16_t op = table.ShortAt(row, 0);
        if (op == 5 && table.ShortAt(row, 2) != 0) {
            label = table.ShortAt(row, 2);
            shape.labels.insert(label);
        } else if (op == 10) {
            shape.events.insert({label, table.ShortAt(row, 2)});
        }
    }
    return shape;
}

TEST_F(CreationSceneTest, ButtonScriptsHaveTheirLabelsAndEvents)
{
    struct Case {
        int16_t key;
        int16_t eventLabel;  // the label whose frames post event 1, 0 for none
    };
    const Case cases[] = {
        {kLayoutNewPicture, 0}, {kLayoutUndo, 3},           {kLayoutImport, 0},
        {kLayoutFlush, 3},      {kLayoutPrint, 0},          {kLayoutToolModeButton, 0},
        {kLayoutStampModeButton, 0}, {kLayoutSketchbookButton, 0},
    };
    for (const Case& c : cases) {
        ScriptShape shape = ShapeOf(LayoutValue(c.key));
        EXPECT_TRUE(shape.labels.count(1)) << c.key;
        EXPECT_TRUE(shape.labels.count(3) || shape.labels.count(6)) << c.key;
        EXPECT_TRUE(shape.labels.count(99)) << c.key << " has a dimmed look";
        EXPECT_EQ(c.eventLabel != 0, shape.events.count({c.eventLabel, 1}) == 1) << c.key;
    }
    ScriptShape exit = ShapeOf(LayoutValue(kLayoutExit));
    for (int16_t label : {1, 3, 5, 6})
        EXPECT_TRUE(exit.labels.count(label)) << label;
    EXPECT_TRUE(exit.events.count({3, 1})) << "the exit's choice is reached in label 3";
    MMRecordTable play;
    play.LoadTenByteRows(1007, 4);
    for (int16_t key : {0, 1, 2, 3}) {
        ScriptShape shape = ShapeOf(play.LongAt(play.FindRowByKey(key), 2));
        EXPECT_TRUE(shape.labels.count(1) && shape.labels.count(99)) << key;
    }
}

TEST_F(CreationSceneTest, TheExitButtonQuits)
{
    creation->handleExitButton();
    EXPECT_TRUE(app.QuitFlag());
}

// Scene 6 shows the painting screen's look: no print button when printing
// is off, no import button when the screen was left in stamp mode, the
// texture button without a command of its own, the page's stamps.
TEST_F(CreationSceneTest, ThePassageBackShowsTheButtonsOfTheModeLeft)
{
    creation->DeleteMolecules();
    app.SetCanvasForTest(plane.get(), undo.get());
    KVXTransitionFromUTHScene passage(&stage);
    app.SetSceneSlot(kSceneFromGallery, &passage);
    auto scripts = [&] {
        std::set<MMResourceId> ids;
        for (MMMolecule* m : passage.Molecules())
            if (auto* b = dynamic_cast<KVXAnimatedButtonMolecule*>(m))
                ids.insert(b->ScriptId());
        return ids;
    };
    struct Case {
        int32_t printing;
        int32_t mode;
    };
    for (Case c : {Case{1, kToolMode}, Case{0, kToolMode}, Case{1, kStampMode}}) {
        settings->SetPrinting(c.printing);
        app.creationMode = c.mode;
        passage.Begin();
        std::set<MMResourceId> ids = scripts();
        EXPECT_EQ(c.printing != 0, ids.count(LayoutValue(kLayoutPrint)) == 1);
        EXPECT_EQ(c.mode == kToolMode, ids.count(LayoutValue(kLayoutImport)) == 1);
        EXPECT_TRUE(ids.count(LayoutValue(kLayoutNewPicture)));
        EXPECT_TRUE(ids.count(LayoutValue(kLayoutExit)));
        EXPECT_NE(nullptr, passage.CanvasVisual());
        ASSERT_NE(nullptr, passage.StampManager());
        // A stamp held for the look outlives the scene's molecules until the
        // next visit or the painting screen lets it go.
        MMRecordTable entry;
        entry.Load(StampEntry(4, 3), 10, gDefaultHeap);
        passage.StampManager()->PlaceStampsFromTable(&entry, 300, 250);
        EXPECT_TRUE(passage.StampManager()->HasStamps());
        int32_t textures = 0;
        for (MMMolecule* m : passage.Molecules())
            textures += dynamic_cast<KVXTextureMolecule*>(m) ? 1 : 0;
        EXPECT_EQ(1, textures);
        stage.RunQueue()->RunOnce();
        EXPECT_EQ(creation.get(), stage.PendingScene());
        stage.SetPendingScene(nullptr, nullptr, nullptr);
        passage.DeleteMolecules();
        EXPECT_NE(nullptr, passage.StampManager());
    }
    Enter();
    EXPECT_EQ(nullptr, passage.StampManager()) << "the painting screen released it";
    app.SetCanvasForTest(nullptr, nullptr);
}

}  // namespace
