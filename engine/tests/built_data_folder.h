#pragma once
// The folder the build writes the program's data files to: build/<arch>/bin,
// beside build/<arch>/tests where the test programs run.
#include <windows.h>

#include <string>

#include "framework/folders.h"

inline FSDirectory BuiltDataFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path);
    p = p.substr(0, p.rfind('\\'));
    p = p.substr(0, p.rfind('\\')) + "\\bin\\";
    return FSDirectory(p.c_str());
}
