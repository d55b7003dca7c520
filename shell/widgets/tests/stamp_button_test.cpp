// The stamp button: dragged as an XOR frame, dropped on the canvas it zooms
// to the stamp's size in ten steps and has the manager place the stamps.
#include <gtest/gtest.h>

#include <cstdio>

#include "button_fixture.h"
#include "engine/record_table.h"
#include "framework/heap.h"
#include "media/picture_visual.h"
#include "canvas/canvas_scene.h"
#include "shell/widgets/frame_visual.h"
#include "shell/widgets/stamp_button.h"
#include "stamps/stamp_drop_target.h"

namespace {

class FakeStampManager : public KVXStampDropTarget {
public:
    explicit FakeStampManager(std::vector<std::string>* log) : log(log) {}
    void StartDragSound() override { log->push_back("start sound"); }
    void EndDragSound() override { log->push_back("end sound"); }
    bool PlaceStampsFromTable(MMRecordTable* table, int32_t x, int32_t y) override
    {
        char text[64];
        std::snprintf(text, sizeof text, "place %d,%d rows %d", int(x), int(y),
                      int(table->RowCount()));
        log->push_back(text);
        return true;
    }

private:
    std::vector<std::string>* log;
};

std::string BoxText(const Box& box)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d,%d,%d,%d", int(box.left), int(box.top), int(box.right),
                  int(box.bottom));
    return text;
}

// Drawer entries 1 to 4 name the stamp tables 5 to 8 of kinds 0, 1, 3 and
// 4; the kind-4 stamp's picture is the 20 x 10 label picture of label 1.
struct StampButtonTest : ButtonTest {
    FakeStampManager manager{&log};
    Box savedCanvas = CanvasBox;

    void SetUp() override
    {
        std::vector<ScriptTable> scripts = {{0, LabelScript({1, 3, 4, 5, 44})}};
        const int16_t kinds[] = {0, 1, 3, 4};
        for (int16_t i = 0; i < 4; ++i)
            scripts.push_back({int16_t(1 + i), ScriptRows().Row(0).Id(1, ScriptId(int16_t(5 + i)))});
        for (int16_t i = 0; i < 4; ++i)
            scripts.push_back({int16_t(5 + i), ScriptRows().Row(0, kinds[i]).Id(2, LabelPicture(1))});
        Open(scripts);
        CanvasBox = {0, 0, 150, 100};
    }
    void TearDown() override
    {
        CanvasBox = savedCanvas;
        ButtonTest::TearDown();
    }
    KVXAnimatedStampButtonMolecule* Make(int16_t entry, MMCommand* second = nullptr,
                                         bool withManager = true)
    {
        MMRecordTable* table = nullptr;
        if (entry >= 0) {
            table = new MMRecordTable;
            table->Load(ScriptId(entry), 10, gDefaultHeap);
        }
        auto* button = new KVXAnimatedStampButtonMolecule(
            scene, withManager ? &manager : nullptr, table, ScriptId(0), nullptr, second, 109, 0,
            100, 1);
        Watch(*button);
        Pass();
        Ran();
        return button;
    }
    // Picks the button up at (15, 15) and lets it go at (x, y).
    void Drop(int32_t x, int32_t y)
    {
        Pointer(kEnter);
        Pointer(kPress);
        Pointer({"drag", x, y, kPointerHeld});
        Dispatch({"drop", x, y, kPointerReleased});
    }
};

TEST_F(StampButtonTest, TheFrameMovesNineStepsSnapsOnTheTenthAndPlacesOnTheEleventhPass)
{
    KVXAnimatedStampButtonMolecule* button = Make(3);
    Pointer(kEnter);
    Pointer(kPress);
    EXPECT_TRUE(button->IsDragging());
    EXPECT_TRUE(button->IsDisabled());
    EXPECT_TRUE(button->Visual(0)->IsHidden());
    ASSERT_NE(button->Frame(), nullptr);
    EXPECT_EQ(BoxText(button->Frame()->GetBounds()), "-5,-5,35,35");
    EXPECT_EQ(button->Frame()->Layer(), 50);
    EXPECT_TRUE(button->Frame()->IsXor());
    Pointer({"drag", 60, 50, kPointerHeld});
    EXPECT_EQ(BoxText(button->Frame()->GetBounds()), "40,30,80,70");
    EXPECT_EQ(Ran(), "L4,start sound") << "the button hides at once: no pressed frame";
    Dispatch({"drop", 60, 50, kPointerReleased});
    EXPECT_FALSE(stage.Captured());
    ASSERT_NE(button->ZoomThread(), nullptr);
    ASSERT_NE(button->InputBlocker(), nullptr);
    EXPECT_EQ(button->ZoomThread()->Priority(), 500);
    EXPECT_STREQ(button->ZoomThread()->Name(), "stamp Zoom");

    Pass();
    EXPECT_EQ(BoxText(button->Frame()->GetBounds()), "40,30,80,70");
    EXPECT_EQ(Ran(), "end sound");
    for (int step = 1; step <= 9; ++step) {
        Pass();
        Box expected = {40 - 10 * step, 30 - 10 * step, 80 + 10 * step, 70 + 10 * step};
        EXPECT_EQ(BoxText(button->Frame()->GetBounds()), BoxText(expected)) << step;
    }
    Pass();
    EXPECT_EQ(BoxText(button->Frame()->GetBounds()), "-60,-70,180,170") << "240 x 240";
    EXPECT_EQ(Ran(), "-");
    Pass();
    EXPECT_EQ(Ran(), "place 60,50 rows 2,L1") << "the zoom ends and the button is back";
    EXPECT_EQ(button->Frame(), nullptr);
    EXPECT_EQ(button->ZoomThread(), nullptr);
    EXPECT_EQ(button->InputBlocker(), nullptr);
    EXPECT_FALSE(button->IsDisabled());
    EXPECT_FALSE(button->Visual(0)->IsHidden());
    delete button;
}

TEST_F(StampButtonTest, KindsZeroOneAndThreeZoomTo240AndOthersToHalfTheirPicture)
{
    const struct {
        int16_t entry;
        const char* target;
    } cases[] = {{1, "-60,-70,180,170"}, {2, "-60,-70,180,170"}, {3, "-60,-70,180,170"},
                 {4, "55,48,65,53"}};
    for (const auto& c : cases) {
        KVXAnimatedStampButtonMolecule* button = Make(c.entry);
        Drop(60, 50);
        ASSERT_NE(button->ZoomThread(), nullptr) << c.entry;
        EXPECT_EQ(BoxText(button->ZoomThread()->Target()), c.target) << c.entry;
        for (int pass = 0; pass < 12; ++pass)
            Pass();
        EXPECT_EQ(button->ZoomThread(), nullptr) << c.entry;
        delete button;
        Ran();
    }
}

TEST_F(StampButtonTest, DroppingOnOrPastTheCanvasEdgeCancels)
{
    const Pair drops[] = {{150, 50}, {60, 100}, {-1, 50}, {170, 120}};
    for (const Pair& at : drops) {
        KVXAnimatedStampButtonMolecule* button = Make(3);
        Drop(at.x, at.y);
        Pass();
        Pass();
        EXPECT_EQ(Ran(), "L4,start sound,end sound,L1") << at.x << "," << at.y;
        EXPECT_EQ(button->ZoomThread(), nullptr);
        EXPECT_EQ(button->Frame(), nullptr);
        EXPECT_FALSE(button->IsDisabled());
        EXPECT_FALSE(button->Visual(0)->IsHidden());
        delete button;
    }
}

TEST_F(StampButtonTest, ADoubleClickPlacesAtTheCanvasCentreWithoutADrag)
{
    KVXAnimatedStampButtonMolecule* button = Make(3);
    Pointer(kEnter);
    Pointer(kDoubleClick);
    EXPECT_FALSE(button->IsDragging());
    EXPECT_EQ(button->Frame(), nullptr);
    EXPECT_EQ(Ran(), "L4,place 75,50 rows 2");
    delete button;
}

TEST_F(StampButtonTest, WithoutATableTheSecondCommandIsPostedAndWithNeitherTheZoomEnds)
{
    const struct {
        const char* name;
        bool second;
        const char* placed;
    } cases[] = {{"second command", true, "second,L1"}, {"neither", false, "L1"}};
    for (const auto& c : cases) {
        KVXAnimatedStampButtonMolecule* button = Make(-1, c.second ? Noting("second") : nullptr);
        Drop(60, 50);
        for (int pass = 0; pass < 11; ++pass)
            Pass();
        Ran();
        Pass();
        EXPECT_EQ(Ran(), c.placed) << c.name;
        EXPECT_EQ(button->ZoomThread(), nullptr) << c.name;
        EXPECT_EQ(button->InputBlocker(), nullptr) << c.name << ": the input blocker is down";
        EXPECT_EQ(button->Frame(), nullptr) << c.name;
        delete button;
    }
}

// While a drop zooms, the button takes no new press (it would take the frame
// the zoom draws), and a button deleted with its zoom's end still queued
// leaves nothing in the queue to run on it.
TEST_F(StampButtonTest, AZoomingButtonRefusesAPressAndItsQueuedEndDiesWithIt)
{
    KVXAnimatedStampButtonMolecule* button = Make(3);
    Drop(60, 50);
    Pass();
    Ran();
    KVXFrameVisual* frame = button->Frame();
    ASSERT_NE(frame, nullptr);
    for (uint32_t flags : {kPointerPressed | kPointerHeld,
                           kPointerPressed | kPointerHeld | kPointerDoubleClick}) {
        MMStageEvent press = {kStageEventPointer, 0, 0, 15, 15, flags};
        EXPECT_FALSE(button->Interpret(press));
        EXPECT_FALSE(button->IsDragging());
        EXPECT_EQ(button->Frame(), frame);
    }
    for (int pass = 0; pass < 11; ++pass)
        Pass();
    EXPECT_EQ(Ran(), "place 60,50 rows 2,L1") << "one stamp, from the drop";

    button = Make(3);
    Drop(60, 50);
    Ran();
    button->PostEndZoom();
    delete button;
    Pass();
    Pass();
    EXPECT_EQ(Ran(), "-");
}

}  // namespace
