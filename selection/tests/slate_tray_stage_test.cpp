// The slate tray on a stage with the built data and a 640 x 480 canvas at
// (144, 16): pointer strokes through its pen fill frames 0 to 4, tab clicks
// choose a frame and stop playback, a frame tab dragged onto another copies
// it and onto the wastebasket clears it, the shape button moves on through
// the three pens, and each tab shows its frame's colour in its window.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "engine/picture_molecule.h"
#include "media/bitmap.h"
#include "media/picture_visual.h"
#include "selection/magic_slate_tool_collection.h"
#include "selection/slate_interpreters.h"
#include "selection/slate_store.h"
#include "tools/tool_sound.h"
#include "shell/widgets/held_buttons.h"
#include "shell/widgets/toggle_button.h"
#include "trays/manager_tool.h"
#include "trays/tests/tray_world.h"
#include "trays/tool_trays.h"

namespace {

class SlateCanvasHost : public FakeCanvasScene {
public:
    KVXSlateRecording* MakeSlateRecording() override { return new MagicSlateStore; }
};

class Picks : public KVXPaletteTarget {
public:
    void NotifyPaletteMolecule(uint32_t colour) override { colours.push_back(colour); }
    std::vector<uint32_t> colours;
};

struct SlateTrayStageTest : TrayWorld {
    void SetUp() override
    {
        TrayWorld::SetUp();
        host.bytes = nullptr;
        host.picks = &picks;
        host.cursors = cursors;
        host.cursorCount = 42;
        tray = new KVXMagicSlateToolCollection(&cell, &host, nullptr, nullptr, nullptr);
        tray->Begin();
    }
    void TearDown() override
    {
        tray->DeleteMolecules();
        delete tray;
        TrayWorld::TearDown();
    }
    KVXCanvasScene* CanvasHost() override { return &slateHost; }

    MagicSlateStore& Store() { return *static_cast<MagicSlateStore*>(canvas->Slate()); }
    static MMStageEvent Event(int32_t x, int32_t y, uint32_t flags)
    {
        return MMStageEvent{kStageEventPointer, 0, 0, x, y, flags};
    }
    // A stroke of the current pen from one point to another.
    void Stroke(Pair from, Pair to)
    {
        MMMouseInterpreter* pen = canvas->GetMouseInterpreter();
        ASSERT_NE(nullptr, pen);
        pen->Interpret(Event(from.x, from.y, kPointerPressed | kPointerHeld));
        for (int i = 1; i <= 4; ++i)
            pen->Interpret(Event(from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4,
                                 kPointerHeld));
        pen->Interpret(Event(to.x, to.y, kPointerReleased));
    }
    Pair TabCentre(int16_t frame)
    {
        Box b = tray->FrameTab(frame)->Visual()->GetBounds();
        return {(b.left + b.right) / 2, (b.top + b.bottom) / 2};
    }
    // Press on a tab, move to a point, let go there; then the commands run.
    void DragTab(int16_t frame, Pair to)
    {
        MMMouseInterpreter* tab = tray->FrameTab(frame)->Interpreter();
        Pair at = TabCentre(frame);
        tab->Interpret(Event(at.x, at.y, kPointerPressed | kPointerHeld));
        tab->Interpret(Event((at.x + to.x) / 2, (at.y + to.y) / 2, kPointerHeld));
        tab->Interpret(Event(to.x, to.y, kPointerHeld));
        tab->Interpret(Event(to.x, to.y, kPointerReleased));
        Pass();
    }
    void ClickTab(int16_t frame) { DragTab(frame, TabCentre(frame)); }
    void Pass()
    {
        FakeClock::now += 16;
        stage->RunDueTasks();
    }
    // The colour shown in the middle of the tab, in its window, blue in the lowest byte.
    uint32_t SwatchOf(int16_t frame, int which)
    {
        MMBitmap bitmap;
        const MMPictureReference& picture = tray->Thumbnail(frame, which);
        if (!picture.LockBitmap(bitmap))
            return 0xFFFFFFFF;
        const uint8_t* p = bitmap.PixelAddress((bitmap.box.left + bitmap.box.right) / 2,
                                               (bitmap.box.top + bitmap.box.bottom) / 2);
        uint32_t colour = p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
        picture.Unlock();
        return colour;
    }

    SlateCanvasHost slateHost;
    Picks picks;
    MMCursor cursors[42];
    uint32_t cell = 0x000000FF;
    KVXMagicSlateToolCollection* tray = nullptr;
};

TEST_F(SlateTrayStageTest, BeginBuildsTheTrayFromItsTable)
{
    for (int16_t f = 0; f < 5; ++f)
        ASSERT_NE(nullptr, tray->FrameTab(f)) << f;
    EXPECT_TRUE(tray->FrameTab(0)->Visual()->IsHighlighted());
    EXPECT_FALSE(tray->FrameTab(1)->Visual()->IsHighlighted());
    EXPECT_NE(nullptr, tray->ChannelTab());
    EXPECT_NE(nullptr, tray->TrashButton());
    EXPECT_NE(nullptr, tray->LoopToggle());
    EXPECT_EQ(nullptr, tray->ClipboardButton()) << "nothing prepared to paste";
    EXPECT_EQ((Box{103, 311, 135, 343}), tray->DropArea());
    // The chalk colours (red, green, blue in the table) and the pen widths.
    EXPECT_EQ(0x00E8413Cu, tray->ChannelColour(0));
    EXPECT_EQ(0x00E8413Cu, cell) << "the current colour is the chalk's";
    EXPECT_EQ(12, tray->PenWidth(4));
    EXPECT_NE(nullptr, dynamic_cast<KVXMagicSlateInterpreter*>(canvas->GetMouseInterpreter()));
    EXPECT_EQ(&cursors[9], canvas->GetMouseInterpreter()->Cursor()) << "key 26 of the cursors";
    EXPECT_EQ(kDrawStatic, canvas->DrawMethod()->Kind());
    EXPECT_EQ(tray, Store().owner);
    // Empty frames show grey in their window, opaque.
    EXPECT_EQ(0x00C8C8C8u, SwatchOf(2, 0));

    std::unique_ptr<KVXToolCollection> made(
        MakeToolCollection(kMagicSlateCollection, &cell, &host, nullptr, nullptr, nullptr));
    EXPECT_NE(nullptr, dynamic_cast<KVXMagicSlateToolCollection*>(made.get())) << "the manager's type 13";
}

TEST_F(SlateTrayStageTest, StrokesFillFramesAndTabsStopPlaybackAndChooseTheFrame)
{
    for (int i = 0; i < 6; ++i)
        Stroke({200 + 10 * i, 100}, {300 + 10 * i, 200});
    for (int f = 0; f < 5; ++f) {
        const SlateFrame& frame = Store().channels[0].frames[f];
        EXPECT_EQ(1, frame.state) << f;
        EXPECT_EQ(200 + 10 * f + (f == 4 ? 10 : 0), frame.points[0].x) << "stage points, as drawn";
        EXPECT_EQ(0x00E8413Cu, frame.colour);
        EXPECT_EQ(5, frame.width) << "size 2's width";
    }
    EXPECT_TRUE(Store().IsRunning());
    EXPECT_EQ(0x00E8413Cu, SwatchOf(3, 0)) << "a drawn frame's tab shows its colour";
    EXPECT_EQ(0x00E8413Cu, SwatchOf(3, 1));

    ClickTab(1);
    EXPECT_EQ(1, tray->CurrentFrame());
    EXPECT_FALSE(Store().IsRunning());
    EXPECT_FALSE(tray->AutoAdvance());
    EXPECT_TRUE(tray->FrameTab(1)->Visual()->IsHighlighted());
    EXPECT_FALSE(tray->FrameTab(4)->Visual()->IsHighlighted());
    Stroke({400, 300}, {500, 300});
    EXPECT_EQ(400, Store().channels[0].frames[1].points[0].x) << "frame 1 drawn again";
    EXPECT_EQ(1, tray->CurrentFrame());

    // A click on the canvas stores two equal points; a larger size gives a wider pen.
    tray->SetSizeType(4);
    MMMouseInterpreter* pen = canvas->GetMouseInterpreter();
    pen->Interpret(Event(250, 250, kPointerPressed | kPointerHeld));
    pen->Interpret(Event(250, 250, kPointerReleased));
    const SlateFrame& click = Store().channels[0].frames[1];
    ASSERT_GE(click.count, 2) << "as many points as the channel's other frames";
    for (int i = 1; i < click.count; ++i)
        EXPECT_EQ(click.points[0], click.points[i]) << "one spot";
    EXPECT_EQ((Pair{250, 250}), click.points[0]);
    EXPECT_EQ(12, click.width);
}

TEST_F(SlateTrayStageTest, DraggedTabsCopyOntoATabAndRubOutInTheWastebasket)
{
    Stroke({200, 100}, {300, 200});
    Stroke({220, 120}, {320, 220});
    Store().Stop();
    DragTab(0, TabCentre(3));
    EXPECT_EQ(1, Store().channels[0].frames[3].state) << "frame 0 copied onto frame 3";
    EXPECT_EQ(200, Store().channels[0].frames[3].points[0].x);
    EXPECT_EQ(0x00E8413Cu, SwatchOf(3, 0));
    EXPECT_FALSE(tray->DropAreaLit());

    Box drop = tray->DropArea();
    MMMouseInterpreter* tab = tray->FrameTab(3)->Interpreter();
    Pair at = TabCentre(3);
    tab->Interpret(Event(at.x, at.y, kPointerPressed | kPointerHeld));
    tab->Interpret(Event(drop.left + 5, drop.top + 5, kPointerHeld));
    tab->Interpret(Event(drop.left + 6, drop.top + 6, kPointerHeld));
    EXPECT_TRUE(tray->DropAreaLit());
    tab->Interpret(Event(drop.left + 6, drop.top + 6, kPointerReleased));
    EXPECT_EQ(0, Store().channels[0].frames[3].state) << "rubbed out";
    EXPECT_EQ(1, Store().channels[0].frames[1].state);
    EXPECT_FALSE(tray->DropAreaLit());
    EXPECT_EQ(0x00C8C8C8u, SwatchOf(3, 0));
}

TEST_F(SlateTrayStageTest, TheShapeButtonMovesOnAndTheTrashAndLoopAct)
{
    // Each visible button names the current pen; a click moves on.
    tray->ChooseShape(kSlateCircle);
    EXPECT_NE(nullptr, dynamic_cast<KVXMagicSlateCircleInterpreter*>(canvas->GetMouseInterpreter()));
    Stroke({300, 100}, {400, 180});
    const SlateFrame& circle = Store().channels[0].frames[0];
    EXPECT_GT(circle.count, 8);
    tray->ChooseShape(kSlateSquare);
    EXPECT_NE(nullptr, dynamic_cast<KVXMagicSlateSquareInterpreter*>(canvas->GetMouseInterpreter()));
    Stroke({300, 100}, {400, 180});
    const SlateFrame& square = Store().channels[0].frames[1];
    Box sides = {square.points[0].x, square.points[0].y, square.points[0].x, square.points[0].y};
    for (int i = 0; i < square.count; ++i) {
        const Pair& p = square.points[i];
        sides = {std::min(sides.left, p.x), std::min(sides.top, p.y), std::max(sides.right, p.x),
                 std::max(sides.bottom, p.y)};
    }
    EXPECT_EQ(300, sides.left);
    EXPECT_EQ(100, sides.top);
    for (int i = 0; i < square.count; ++i) {
        const Pair& p = square.points[i];
        EXPECT_TRUE(p.x == sides.left || p.x == sides.right || p.y == sides.top || p.y == sides.bottom)
            << "on the square's sides: " << p.x << "," << p.y;
    }
    EXPECT_EQ(square.points[0], square.points[square.count - 1]) << "closed";
    tray->ChooseShape(kSlateFreehand);
    EXPECT_NE(nullptr, dynamic_cast<KVXMagicSlateInterpreter*>(canvas->GetMouseInterpreter()));

    ASSERT_TRUE(Store().IsRunning());
    tray->Trash();
    EXPECT_EQ(0, Store().channels[0].frames[1].state) << "while playing the last frame goes";
    EXPECT_EQ(1, Store().channels[0].frames[0].state);

    bool looping = Store().IsLooping();
    tray->LoopToggle()->Interpreter()->Interpret(Event(55, 327, kPointerPressed | kPointerHeld));
    tray->LoopToggle()->Interpreter()->Interpret(Event(55, 327, kPointerReleased));
    Pass();
    EXPECT_NE(looping, Store().IsLooping());
}

TEST_F(SlateTrayStageTest, TheClipboardPastesThePreparedDrawingAndTheColourGoesToTheChalk)
{
    AppPreparedSlateStrokes() = {{{{200, 200}, {260, 240}, {300, 200}}, 0x00112233, 6, 0, 0},
                                 {{{210, 210}, {270, 250}, {310, 210}}, 0x00112233, 6, 2, 0}};
    tray->DeleteMolecules();
    tray->Begin();
    ASSERT_NE(nullptr, tray->ClipboardButton());
    tray->PasteClipboard();
    EXPECT_EQ(1, Store().channels[0].frames[2].state);
    EXPECT_EQ(2, Store().channels[0].frames[1].state) << "the in-between";
    EXPECT_EQ(0x00112233u, SwatchOf(2, 0));
    AppPreparedSlateStrokes().clear();

    uint32_t picked = 0x0000FF00;
    tray->StoreOwnerValue(&picked);
    EXPECT_EQ(picked, tray->ChannelColour(0));
    Stroke({200, 100}, {300, 200});
    EXPECT_EQ(picked, Store().channels[0].frames[0].colour);
}

// A stroke whose capture is lost is dropped with its sound; the next one records.
TEST_F(SlateTrayStageTest, ALostCaptureDropsTheStrokeAndSilencesThePen)
{
    auto* pen = dynamic_cast<KVXMagicSlateInterpreter*>(canvas->GetMouseInterpreter());
    ASSERT_NE(nullptr, pen);
    pen->Interpret(Event(200, 100, kPointerPressed | kPointerHeld));
    pen->Interpret(Event(240, 120, kPointerHeld));
    ASSERT_TRUE(pen->StrokeActive());
    ASSERT_NE(nullptr, pen->Sound()->LoopChannel()) << "the pen sounds while it draws";
    pen->CaptureLost();
    EXPECT_FALSE(pen->StrokeActive());
    EXPECT_EQ(nullptr, pen->Sound()->LoopChannel());
    EXPECT_FALSE(Store().HasStrokes());
    EXPECT_EQ(0, tray->CurrentFrame());
    Stroke({200, 100}, {300, 200});
    EXPECT_EQ(1, Store().channels[0].frames[0].state);
    EXPECT_EQ((Pair{200, 100}), Store().channels[0].frames[0].points[0]);
}

// The three shape buttons lie one over the other: clicks on their place go to
// the one shown, which moves on to the next pen and brings its button up.
TEST_F(SlateTrayStageTest, ClicksOnTheStackedShapeButtonsGoRoundThePens)
{
    ASSERT_NE(nullptr, tray->ShapeButton(kSlateFreehand));
    Box place = tray->ShapeButton(kSlateFreehand)->Visual()->GetBounds();
    Pair at = {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    const int16_t round[] = {kSlateCircle, kSlateSquare, kSlateFreehand, kSlateCircle};
    for (int16_t expected : round) {
        MMVisual* shown = stage->TopEnclosure()->FindVisualAt(at);
        ASSERT_NE(nullptr, shown);
        ASSERT_NE(nullptr, shown->GetMouseInterpreter());
        shown->GetMouseInterpreter()->Interpret(Event(at.x, at.y, kPointerPressed | kPointerHeld));
        shown->GetMouseInterpreter()->Interpret(Event(at.x, at.y, kPointerReleased));
        Pass();
        EXPECT_EQ(expected, tray->Shape());
        MMMouseInterpreter* pen = canvas->GetMouseInterpreter();
        EXPECT_EQ(expected == kSlateCircle, dynamic_cast<KVXMagicSlateCircleInterpreter*>(pen) != nullptr);
        EXPECT_EQ(expected == kSlateSquare, dynamic_cast<KVXMagicSlateSquareInterpreter*>(pen) != nullptr);
    }
}

}  // namespace
