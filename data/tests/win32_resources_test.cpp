// The program's Win32 resources: the strings, menu and shortcuts it loads by
// id, and the ids that must stay free because a scan stops at the first gap.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

namespace {

std::string LoadText(UINT id)
{
    char text[512] = {};
    int n = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return std::string(text, n > 0 ? n : 0);
}

TEST(Win32Resources, StringsTheProgramLoads)
{
    EXPECT_EQ(LoadText(110), "Software\\Holvane\\Tavelo Vornique\\1.0");
    for (UINT id : {100u, 102u, 108u, 109u, 550u, 551u, 553u, 56784u, 56785u})
        EXPECT_FALSE(LoadText(id).empty()) << id;
    EXPECT_EQ(LoadText(60176), "Hd.mms");
    EXPECT_EQ(LoadText(61176), "Hd.MMP");
    EXPECT_EQ(LoadText(61177), "App.MMP");
    EXPECT_EQ(LoadText(61178), "Stmp1.MMP");
    EXPECT_EQ(LoadText(61179), "Stmp2.MMP");
    EXPECT_EQ(LoadText(62176), "Hd.MMA");
    EXPECT_EQ(LoadText(62177), "App.MMA");
    // Each group of file names ends at its first gap; 640 would name a film file.
    for (UINT id : {60177u, 61180u, 62178u, 640u}) EXPECT_TRUE(LoadText(id).empty()) << id;
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(550), MAKEINTRESOURCEA(5)), nullptr)
        << "dialog 550 would replace the print status box";
}

TEST(Win32Resources, MenuHoldsEveryCommand)
{
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), "menu");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 4);
    const UINT commands[] = {12901, 12902, 12904, 12906, 13001, 13002, 13003, 13004, 13005, 13006,
                             13007, 13008, 13101, 13102, 13103, 13104, 13105, 13106, 12801};
    for (UINT id : commands) {
        char text[128] = {};
        EXPECT_GT(GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND), 0) << id;
    }
    HMENU file = GetSubMenu(menu, 0);
    EXPECT_EQ(GetMenuItemID(file, GetMenuItemCount(file) - 1), 12906u) << "Quit is the last item";
    for (UINT reserved : {7u, 10u, 10000u, 13401u, 13402u}) {
        char text[128] = {};
        EXPECT_EQ(GetMenuStringA(menu, reserved, text, sizeof text, MF_BYCOMMAND), 0) << reserved;
    }
    DestroyMenu(menu);
}

TEST(Win32Resources, ShortcutsEndWithUndo)
{
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(171));
    ASSERT_NE(table, nullptr);
    ACCEL entries[32];
    int n = CopyAcceleratorTableA(table, entries, 32);
    ASSERT_EQ(n, 9);
    struct Want { BYTE flags; WORD key; WORD command; };
    const Want wanted[] = {
        {FVIRTKEY | FCONTROL, 'P', 12902}, {FVIRTKEY | FCONTROL, 'Q', 12906},
        {FVIRTKEY | FCONTROL, VK_OEM_PLUS, 13009}, {FVIRTKEY | FCONTROL, VK_OEM_MINUS, 13010},
        {0, 0x1B, 13501}, {0, 0x1D, 13502}, {FVIRTKEY | FCONTROL, VK_SPACE, 13601},
        {FVIRTKEY | FALT, VK_F4, 13701}, {FVIRTKEY | FCONTROL, 'Z', 13201}};
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(entries[i].fVirt & 0x7F & ~FNOINVERT, wanted[i].flags) << i;
        EXPECT_TRUE(entries[i].fVirt & FNOINVERT) << i;
        EXPECT_EQ(entries[i].key, wanted[i].key) << i;
        EXPECT_EQ(entries[i].cmd, wanted[i].command) << i;
    }
    DestroyAcceleratorTable(table);
}

}  // namespace
