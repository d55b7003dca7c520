#pragma once
// A fresh folder under the system's temporary folder, removed with
// everything in it when the test ends.

#include <windows.h>

#include <cstdio>
#include <string>

#include "framework/folders.h"

class ScratchFolder {
public:
    ScratchFolder()
    {
        static int serial = 0;
        FSDirectory temp;
        FSTempFolder(temp);
        char name[64];
        std::snprintf(name, sizeof name, "pennaro-%lu-%d", GetCurrentProcessId(), ++serial);
        FSCreateSubfolder(temp, name, folder);
    }
    ~ScratchFolder()
    {
        if (folder.IsValid())
            DeleteDirectoryTree(folder);
    }

    // Writes a file of the given bytes into `in` (default: this folder).
    void WriteFile(const char* name, const std::string& bytes, const FSDirectory* in = nullptr)
    {
        std::string path = std::string((in ? *in : folder).Path()) + name;
        FILE* f = std::fopen(path.c_str(), "wb");
        if (f) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
    }

    FSDirectory Subfolder(const char* name, const FSDirectory* in = nullptr)
    {
        FSDirectory made;
        FSCreateSubfolder(in ? *in : folder, name, made);
        return made;
    }

    FSDirectory folder;
};
