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
        // Wine reuses process ids after its server restarts, so a folder left
        // by a killed run may carry this name: take the next serial instead.
        for (int tries = 0; tries < 100 && !folder.IsValid(); ++tries) {
            std::snprintf(name, sizeof name, "pennaro-%lu-%d", GetCurrentProcessId(), ++serial);
            FSCreateSubfolder(temp, name, folder);
        }
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
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return;
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }

    FSDirectory Subfolder(const char* name, const FSDirectory* in = nullptr)
    {
        FSDirectory made;
        FSCreateSubfolder(in ? *in : folder, name, made);
        return made;
    }

    FSDirectory folder;
};
