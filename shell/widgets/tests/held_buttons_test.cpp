// Frame-tab and chalk buttons: highlighted once clicked; a frame tab can be
// dragged (an XOR frame follows the pointer) and dropped on its tray.
#include <gtest/gtest.h>

#include <cstdio>

#include "button_fixture.h"
#include "engine/stage.h"
#include "selection/magic_slate_tool_collection.h"
#include "shell/widgets/frame_visual.h"
#include "shell/widgets/held_buttons.h"

namespace {

class FakeSlateTray : public KVXMagicSlateToolCollection {
public:
    explicit FakeSlateTray(std::vector<std::string>* log) : log(log) {}
    void TrackFrameTab(int16_t frame, int32_t x, int32_t y) override { Note("track", frame, x, y); }
    void DropFrameTab(int16_t frame, int32_t x, int32_t y) override { Note("drop", frame, x, y); }

private:
    void Note(const char* what, int16_t frame, int32_t x, int32_t y)
    {
        char text[64];
        std::snprintf(text, sizeof text, "%s %d %d,%d", what, frame, int(x), int(y));
        log->push_back(text);
    }
    std::vector<std::string>* log;
};

// Pictures: normal = label 1's, highlighted = label 3's, alternate = label 4's.
struct HeldButtonTest : ButtonTest {
    FakeSlateTray tray{&log};
    void SetUp() override { Open({{0, LabelScript({1})}}); }
    static const char* Look(KVXHeldButtonMolecule* button)
    {
        MMPictureID shown = button->Visual()->GetPicture().Id();
        return shown == LabelPicture(1) ? "normal"
               : shown == LabelPicture(3) ? "highlighted"
               : shown == LabelPicture(4) ? "alternate"
                                          : "?";
    }
    KVXFrameTabButtonMolecule* MakeTab()
    {
        return new KVXFrameTabButtonMolecule({scene, &tray, 10, 10, LabelPicture(3),
                                              LabelPicture(4), LabelPicture(1), 2, Noting("tab"),
                                              12, nullptr, nullptr});
    }
};

TEST_F(HeldButtonTest, AFrameTabClickedInsidePostsAndStaysHighlighted)
{
    KVXFrameTabButtonMolecule* tab = MakeTab();
    EXPECT_EQ(tab->Visual()->Layer(), 12);
    EXPECT_STREQ(Look(tab), "normal");
    Pointer(kEnter);
    EXPECT_STREQ(Look(tab), "normal") << "a tab does not react to hovering";
    Pointer(kPress);
    EXPECT_TRUE(stage.Captured());
    EXPECT_STREQ(Look(tab), "alternate");
    Pointer(kReleaseIn);
    EXPECT_FALSE(stage.Captured());
    EXPECT_STREQ(Look(tab), "highlighted");
    EXPECT_EQ(Ran(), "tab");
    tab->Interpreter()->ShowAlternate();
    tab->Interpreter()->ShowNormal();
    EXPECT_STREQ(Look(tab), "highlighted") << "a held button ignores both";
    tab->Unhighlight();
    EXPECT_STREQ(Look(tab), "normal");
    delete tab;
}

TEST_F(HeldButtonTest, AFrameTabDraggedOutIsDroppedOnTheTrayWithAFrameFollowingThePointer)
{
    KVXFrameTabButtonMolecule* tab = MakeTab();
    KVXFrameTabButtonInterpreter* interpreter = tab->TabInterpreter();
    Pointer(kEnter);
    Pointer(kPress);
    Pointer(kHeldMove);
    EXPECT_FALSE(interpreter->IsDragging());
    EXPECT_EQ(Ran(), "track 2 17,15");
    Pointer({"out", 60, 50, kPointerHeld});
    ASSERT_TRUE(interpreter->IsDragging());
    KVXFrameVisual* frame = interpreter->DragFrame();
    EXPECT_EQ(frame->GetBounds(), (Box{48, 20, 73, 80})) << "25 x 60 around the pointer";
    EXPECT_EQ(frame->Layer(), 1100);
    EXPECT_TRUE(frame->IsXor());
    EXPECT_STREQ(Look(tab), "normal");
    Pointer({"further", 90, 70, kPointerHeld});
    EXPECT_EQ(frame->GetBounds(), (Box{78, 40, 103, 100}));
    EXPECT_EQ(Ran(), "track 2 60,50,track 2 90,70");
    Pointer({"drop", 90, 70, kPointerReleased});
    EXPECT_FALSE(interpreter->IsDragging());
    EXPECT_EQ(interpreter->DragFrame(), nullptr);
    EXPECT_EQ(Ran(), "drop 2 90,70") << "dropped outside: the tray's drop, no command";
    EXPECT_STREQ(Look(tab), "highlighted");
    delete tab;
}

TEST_F(HeldButtonTest, AChalkButtonShowsItsAlternateWhileHoveredAndHoldsOnceClicked)
{
    auto* chalk = new KVXchalkButtonMolecule({scene, 7, 10, 10, LabelPicture(3), LabelPicture(4),
                                              LabelPicture(1), Noting("chalk"), 3, nullptr,
                                              nullptr});
    Pointer(kEnter);
    EXPECT_STREQ(Look(chalk), "alternate");
    Pointer(kLeave);
    EXPECT_STREQ(Look(chalk), "normal");
    Pointer(kEnter);
    Pointer(kPress);
    Pointer(kHeldOut);
    EXPECT_STREQ(Look(chalk), "normal") << "held outside";
    Pointer(kHeldMove);
    EXPECT_STREQ(Look(chalk), "alternate");
    Pointer(kReleaseIn);
    EXPECT_EQ(Ran(), "chalk");
    EXPECT_STREQ(Look(chalk), "highlighted");
    Pointer(kLeave);
    Pointer(kEnter);
    EXPECT_STREQ(Look(chalk), "highlighted");
    chalk->Unhighlight();
    EXPECT_STREQ(Look(chalk), "normal");
    delete chalk;
}

}  // namespace
