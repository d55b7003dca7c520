#pragma once
// The program's data files as the build wrote them: build/<arch>/bin,
// beside build/<arch>/tests where the test programs run.
#include <windows.h>

#include <string>

#include "engine/picture_loader.h"
#include "engine/script_file.h"
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

// Opens the scripts file and the two picture files there; false when one is
// missing (scripts/make-data.sh writes them).
inline bool OpenBuiltData()
{
    FSDirectory folder = BuiltDataFolder();
    return OpenScriptFile(folder, "Hd.mms") && MMOpenPictureFile(folder, "Hd.MMP", false) &&
           MMOpenPictureFile(folder, "App.MMP", false);
}
