// The tool manager on the program's data: its fourteen tool buttons and the
// current colour, switching trays, the size buttons and the "tool Size"
// commands, a colour box and a colour picked on the canvas reaching the
// current-colour cell, clicks on the open tray's button twisting and
// untwisting it, and a second visit that finds the tray and colour of
// the first.
#include <typeinfo>

#include "shell/widgets/animated_choice_buttons.h"
#include "tools/chalk_tools.h"
#include "tools/pencil_tools.h"
#include "tray_world.h"
#include "trays/color_pickers.h"
#include "trays/crayon_tray.h"
#include "trays/manager_tool.h"
#include "trays/pencil_tray.h"
#include "trays/tool_collection.h"

namespace {

int32_t SizeOf(KVXToolBase* tool)
{
    auto* standard = dynamic_cast<KVXToolStd*>(tool);
    return standard != nullptr ? standard->SizeType() : -1;
}

class ManagerToolTest : public TrayWorld {
public:
    void SetUp() override
    {
        TrayWorld::SetUp();
        manager = new KVXManagerTool(&host);
        host.picks = manager;
        manager->Begin();
        // The commands the beginning posted run before the child's first click.
        Step(3);
    }
    void TearDown() override
    {
        manager->DeleteMolecules();
        delete manager;
        TrayWorld::TearDown();
    }
    void Open(int32_t type)
    {
        manager->ActivateCollection(&collections[type], &buttons[type], type);
    }
    // The manager's own slots, as its buttons' commands hold them.
    void Bind()
    {
        for (int32_t t = 0; t < kToolCollectionTypes; ++t) {
            collections[t] = manager->Collection(t);
            buttons[t] = manager->ToolButton(t);
        }
    }

    KVXManagerTool* manager = nullptr;
    KVXToolCollection* collections[kToolCollectionTypes] = {};
    KVXAnimatedToolButtonMolecule* buttons[kToolCollectionTypes] = {};
};

TEST_F(ManagerToolTest, FourteenButtonsBlueCellAndThePencilTrayFirst)
{
    for (int32_t type = 0; type < kToolCollectionTypes; ++type)
        EXPECT_NE(nullptr, manager->ToolButton(type)) << type;
    EXPECT_EQ(0x000000FFu, *manager->ColorCell());
    EXPECT_EQ(kPencilCollection, manager->CurrentType());
    ASSERT_NE(nullptr, manager->CurrentCollection());
    EXPECT_EQ(typeid(KVXPencilToolCollection), typeid(*manager->CurrentCollection()));
    EXPECT_EQ(typeid(PencilTool), typeid(*manager->CurrentTool()));
    EXPECT_TRUE(manager->ToolButton(kPencilCollection)->IsSelected());
    EXPECT_TRUE(manager->SizeButtons().shown);
    EXPECT_EQ(2, manager->SizeButtons().current);
    ASSERT_NE(nullptr, manager->Palette());
    EXPECT_EQ(0x000000FFu, *manager->Palette()->CurrentColor() & 0xFFFFFFu);
}

TEST_F(ManagerToolTest, AClickOnAToolButtonOpensItsTray)
{
    // The crayon's button: third in the top row of the tool buttons.
    Click(71 + 15, 116 + 15);
    Step(3);
    EXPECT_EQ(kCrayonCollection, manager->CurrentType());
    EXPECT_EQ(typeid(CrayonTool), typeid(*manager->CurrentTool()));
    EXPECT_TRUE(manager->ToolButton(kCrayonCollection)->IsSelected());
    EXPECT_FALSE(manager->ToolButton(kPencilCollection)->IsSelected());
}

TEST_F(ManagerToolTest, ClicksOnTheOpenTraysButtonTwistAndUntwistIt)
{
    const int32_t crayonX = 71 + 15, crayonY = 116 + 15;
    // After each click: the tray's mode and whether its tool is the twin of
    // the twisted mode; a click on the pencil in between resets the button.
    const struct {
        int32_t x, y;
        int16_t mode;
        bool melted;
    } clicks[] = {{crayonX, crayonY, 0, false}, {crayonX, crayonY, 1, true},
                  {crayonX, crayonY, 0, false}, {crayonX, crayonY, 1, true},
                  {9 + 15, 116 + 15, -1, false}, {crayonX, crayonY, 0, false},
                  {crayonX, crayonY, 1, true}};
    for (size_t i = 0; i < sizeof clicks / sizeof clicks[0]; ++i) {
        Click(clicks[i].x, clicks[i].y);
        Step(3);
        if (clicks[i].mode < 0) {
            EXPECT_NE(kCrayonCollection, manager->CurrentType()) << i;
            continue;
        }
        ASSERT_EQ(kCrayonCollection, manager->CurrentType()) << i;
        EXPECT_EQ(clicks[i].mode, manager->CurrentCollection()->Mode()) << i;
        EXPECT_EQ(clicks[i].melted,
                  typeid(MeltedCrayonTool) == typeid(*manager->CurrentTool())) << i;
        EXPECT_TRUE(manager->ToolButton(kCrayonCollection)->IsSelected()) << i;
    }
}

TEST_F(ManagerToolTest, SwitchingClosesTheOldTrayBeforeOpeningTheNewWithItsOwnSize)
{
    Bind();
    Open(kCrayonCollection);
    KVXToolCollection* crayon = manager->Collection(kCrayonCollection);
    manager->HandleSizeButton(&collections[kCrayonCollection], 4);
    EXPECT_EQ(4, crayon->SizeType());
    EXPECT_EQ(4, SizeOf(manager->CurrentTool()));
    Open(kPencilCollection);
    EXPECT_EQ(0, crayon->ToolCount());
    EXPECT_EQ(0, crayon->ModifierCount());
    KVXToolCollection* pencil = manager->CurrentCollection();
    EXPECT_EQ(typeid(KVXPencilToolCollection), typeid(*pencil));
    // The pencil keeps the size it had; the size buttons show it.
    EXPECT_EQ(2, pencil->SizeType());
    EXPECT_EQ(2, SizeOf(manager->CurrentTool()));
    EXPECT_EQ(2, manager->SizeButtons().current);
    EXPECT_FALSE(manager->ToolButton(kCrayonCollection)->IsSelected());
    EXPECT_EQ(manager->ToolButton(kPencilCollection), manager->CurrentButton());
}

TEST_F(ManagerToolTest, TheCurrentSizeAgainAndToolSizeCommandsLeaveTheButtons)
{
    Bind();
    KVXToolBase* tool = manager->CurrentTool();
    tool->SetSizeType(1);
    KVXToolCollection* current = manager->CurrentCollection();
    manager->HandleSizeButton(&current, 2);
    EXPECT_EQ(1, SizeOf(tool));
    manager->HandleSizeButton(&current, 5);
    EXPECT_EQ(1, SizeOf(tool));
    EXPECT_EQ(2, manager->SizeButtons().current);

    manager->SetCurrentToolSize(4);
    EXPECT_EQ(4, SizeOf(tool));
    EXPECT_EQ(2, manager->SizeButtons().current);
    EXPECT_EQ(2, current->SizeType());
}

TEST_F(ManagerToolTest, TheGreyBoxPutsItsExactGreyInTheCell)
{
    KVXToolColorBoxSetVisual* boxes = manager->Palette()->Boxes()->Boxes();
    ASSERT_EQ(10, boxes->BoxCount());
    ASSERT_EQ(1, boxes->ColorIndexOfBox(1));
    Box grey = boxes->BoxAt(1);
    Click((grey.left + grey.right) / 2, (grey.top + grey.bottom) / 2);
    Step(3);
    EXPECT_EQ(1, boxes->Selected());
    EXPECT_EQ(0x00BBBBBBu, *manager->ColorCell() & 0xFFFFFFu);
    EXPECT_EQ(0x00BBBBBBu, manager->CurrentCollection()->ColorCell()[0] & 0xFFFFFFu);
}

TEST_F(ManagerToolTest, ControlClickOnTheCanvasTakesThePixelsColour)
{
    plane.PixelAt(100, 100)->SetColorWord(0x00123456);
    Mouse(144 + 100, 16 + 100, kPointerPressed | kPointerHeld | kPointerControl);
    Mouse(144 + 100, 16 + 100, kPointerReleased | kPointerControl);
    Step(3);
    EXPECT_EQ(0x00123456u, *manager->ColorCell() & 0xFFFFFFu);
}

TEST_F(ManagerToolTest, ASecondVisitReopensTheTrayWithTheColour)
{
    Bind();
    Open(kCrayonCollection);
    manager->NotifyPaletteMolecule(0x0000C000);
    Step(3);
    ASSERT_EQ(0x0000C000u, *manager->ColorCell() & 0xFFFFFFu);
    manager->DeleteMolecules();
    EXPECT_EQ(nullptr, manager->CurrentCollection());
    manager->Begin();
    EXPECT_EQ(kCrayonCollection, manager->CurrentType());
    ASSERT_NE(nullptr, manager->CurrentCollection());
    EXPECT_EQ(typeid(KVXCrayonToolCollection), typeid(*manager->CurrentCollection()));
    EXPECT_EQ(0x0000C000u, *manager->ColorCell() & 0xFFFFFFu);
    EXPECT_EQ(0x0000C000u, *manager->Palette()->CurrentColor() & 0xFFFFFFu);
    EXPECT_TRUE(manager->ToolButton(kCrayonCollection)->IsSelected());
}

}  // namespace
