#pragma once
// Shared pieces of the shell tests: the program's built data files, a fresh
// settings key, and message boxes that answer without a user.
#include <windows.h>

#include <string>
#include <vector>

#include "engine/tests/built_data.h"
#include "framework/folders.h"

void CloseBuiltData();
// The two sound files of the built data (closed by CloseBuiltData).
bool OpenBuiltSounds();

// Removes the program's settings key, as on a machine that never ran it.
void RemoveSettingsKey();
const char* SettingsKeyPath();

// A message box that records its call and answers the next queued button.
struct ShownBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT style;
};
struct BoxScript {
    static std::vector<ShownBox> shown;
    static std::vector<int> answers;  // empty: IDOK
    static int WINAPI Show(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
    static void Reset()
    {
        shown.clear();
        answers.clear();
    }
};
