// The tool manager's keys on a rope selection: the arrows move it one pixel,
// Delete and Backspace drop it without putting it down; without a
// selection, or outside the rope tray, the keys go on to the scene.
#include <gtest/gtest.h>

#include "media/bitmap_picture_collection.h"
#include "selection/rope_interpreters.h"
#include "tool_fixture.h"
#include "trays/manager_tool.h"

namespace {

uint32_t KeyCode(uint16_t code) { return code; }

struct ManagerKeys : ToolFixture {
    KVXManagerTool* manager = nullptr;

    void SetUp() override
    {
        OpenData();
        new MMBitmapPictureCollection(40, 9);
        RegisterRopeInterpreters();
        bare.stage.TopEnclosure()->AddVisual(&canvas);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                plane.PixelAt(x, y)->SetColorWord(0xFF0000);
        manager = new KVXManagerTool(&host);
        manager->Begin();
    }
    void TearDown() override
    {
        manager->DeleteMolecules();
        delete manager;
        bare.stage.TopEnclosure()->RemoveVisual(&canvas);
    }
    KVXBaseRopeToolInterpreter* Lasso()
    {
        manager->SelectCollection(kRopeCollection);
        auto* rope = dynamic_cast<KVXBaseRopeToolInterpreter*>(canvas.GetMouseInterpreter());
        if (rope != nullptr)
            rope->MakeSelection({{20, 20}, {40, 20}, {40, 40}, {20, 40}, {20, 20}});
        return rope;
    }
};

TEST_F(ManagerKeys, ArrowsMoveTheRopeSelectionByOnePixel)
{
    KVXBaseRopeToolInterpreter* rope = Lasso();
    ASSERT_NE(rope, nullptr);
    ASSERT_TRUE(rope->HasSelection());
    ASSERT_EQ(rope, manager->RopeSelection());
    Box start = rope->Selection().GetBox();
    const struct {
        uint16_t code;
        int dx, dy;
    } arrows[] = {{kRopeKeyLeft, -1, 0}, {kRopeKeyRight, 1, 0}, {kRopeKeyUp, 0, -1},
                  {kRopeKeyDown, 0, 1}};
    for (const auto& arrow : arrows) {
        ASSERT_TRUE(manager->HandleKey(KeyCode(arrow.code))) << arrow.code;
        Box box = rope->Selection().GetBox();
        EXPECT_EQ(start.left + arrow.dx, box.left) << arrow.code;
        EXPECT_EQ(start.top + arrow.dy, box.top) << arrow.code;
        manager->HandleKey(KeyCode(arrow.code == kRopeKeyLeft    ? kRopeKeyRight
                                   : arrow.code == kRopeKeyRight ? kRopeKeyLeft
                                   : arrow.code == kRopeKeyUp    ? kRopeKeyDown
                                                                 : kRopeKeyUp));
        EXPECT_EQ(start.left, rope->Selection().GetBox().left);
        EXPECT_EQ(start.top, rope->Selection().GetBox().top);
    }
    EXPECT_FALSE(manager->HandleKey(KeyCode(1013))) << "Home is not the rope's";
}

TEST_F(ManagerKeys, DeleteAndBackspaceDropTheSelectionAndLeaveItsHole)
{
    for (uint16_t code : {kRopeKeyDelete, kRopeKeyBackspace}) {
        KVXBaseRopeToolInterpreter* rope = Lasso();
        ASSERT_NE(rope, nullptr);
        ASSERT_TRUE(rope->HasSelection());
        EXPECT_TRUE(manager->HandleKey(KeyCode(code)));
        EXPECT_FALSE(rope->HasSelection());
        EXPECT_EQ(0xFFFFFFu, plane.PixelAt(25 - 10, 25 - 10)->ColorWord() & 0xFFFFFF)
            << "dropped, not put down";
        EXPECT_FALSE(manager->HandleKey(KeyCode(code))) << "no selection: the scene's key";
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                plane.PixelAt(x, y)->SetColorWord(0xFF0000);
    }
}

TEST_F(ManagerKeys, OutsideTheRopeTrayTheKeysAreTheScenes)
{
    manager->SelectCollection(kChalkCollection);
    EXPECT_EQ(nullptr, manager->RopeSelection());
    EXPECT_FALSE(manager->HandleKey(KeyCode(kRopeKeyLeft)));
    // No painting screen here, so no zoom button: '<' is not swallowed.
    EXPECT_FALSE(manager->HandleKey(uint32_t('<') << 16));
}

}  // namespace
