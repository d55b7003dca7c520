#include "engine/key_table.h"

#include <windows.h>

namespace {
constexpr uint8_t S = kKeyShift;
constexpr uint8_t C = kKeyControl;
constexpr uint8_t W = kKeySwallowChar;
}

const MMKeyTableRow kStageKeyTable[45] = {
    {VK_DELETE, W, 0, 1000},   {VK_BACK, W, 0, 1001},      {VK_TAB, W, 0, 1002},
    {VK_TAB, S, 0, 1003},      {VK_ESCAPE, W, 0, 1004},    {VK_RETURN, W, 0, 1005},
    {VK_RETURN, C, 0, 1006},   {VK_HELP, 0, 0, 1007},      {VK_INSERT, 0, 0, 1008},
    {VK_LEFT, 0, 0, 1009},     {VK_RIGHT, 0, 0, 1010},     {VK_UP, 0, 0, 1011},
    {VK_DOWN, 0, 0, 1012},     {VK_HOME, 0, 0, 1013},      {VK_END, 0, 0, 1014},
    {VK_HOME, C, 0, 1015},     {VK_END, C, 0, 1016},       {VK_LEFT, C, 0, 1017},
    {VK_RIGHT, C, 0, 1018},    {VK_PRIOR, 0, 0, 1019},     {VK_NEXT, 0, 0, 1020},
    {VK_LEFT, S, 0, 1021},     {VK_RIGHT, S, 0, 1022},     {VK_UP, S, 0, 1023},
    {VK_DOWN, S, 0, 1024},     {VK_HOME, S, 0, 1025},      {VK_END, S, 0, 1026},
    {VK_HOME, S | C, 0, 1027}, {VK_END, S | C, 0, 1028},   {VK_LEFT, S | C, 0, 1029},
    {VK_RIGHT, S | C, 0, 1030}, {VK_PRIOR, S, 0, 1031},    {VK_NEXT, S, 0, 1032},
    {VK_F1, 0, 0, 1037},       {VK_F2, 0, 0, 1038},        {VK_F3, 0, 0, 1039},
    {VK_F4, 0, 0, 1040},       {VK_F5, 0, 0, 1041},        {VK_F6, 0, 0, 1042},
    {VK_F7, 0, 0, 1043},       {VK_F8, 0, 0, 1044},        {VK_F9, 0, 0, 1045},
    {VK_F10, 0, 0, 1046},      {VK_F11, 0, 0, 1047},       {VK_F12, 0, 0, 1048},
};

const MMKeyTableRow* MMFindKey(uint16_t virtualKey, uint8_t modifiers)
{
    for (const MMKeyTableRow& row : kStageKeyTable) {
        if (row.virtualKey == virtualKey && (row.flags & (S | C)) == modifiers)
            return &row;
    }
    return nullptr;
}
