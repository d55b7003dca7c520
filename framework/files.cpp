#include "framework/files.h"

#include <windows.h>

#include <cstring>

#include "framework/string_table.h"

namespace {

struct OpenModeRow {
    DWORD access;
    DWORD sharing;
    DWORD creation;
};

const OpenModeRow kOpenModes[] = {
    {GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING},
    {GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS},
    {GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS},
};

// Process-wide texts of the CD box, filled by the first recoverable file.
char gCDMessage[256];
char gCDCaption[256];

bool AskWithMessageBox(const char* message, const char* caption)
{
    return MessageBoxA(nullptr, message, caption,
                       MB_SYSTEMMODAL | MB_ICONERROR | MB_OKCANCEL) == IDOK;
}

FSRetryPrompt gRetryPrompt = AskWithMessageBox;

}  // namespace

// FSFile

FSFile::FSFile() : handle(INVALID_HANDLE_VALUE), isOpen(false), readOnly(true) {}

FSFile::FSFile(const FSDirectory& folder, const char* name) : FSFile()
{
    Open(folder, name, FS_OPEN_READ);
}

FSFile::FSFile(const FSDirectory& folder, const char* name, int mode, const FSFileKind& kind)
    : FSFile()
{
    Open(folder, name, mode, kind);
}

FSFile::~FSFile()
{
    if (isOpen)
        Close();
}

bool FSFile::Open(const FSDirectory& folder, const char* name, int mode, const FSFileKind&)
{
    if (isOpen)
        Close();
    SetError(0);
    readOnly = mode == FS_OPEN_READ;
    if (mode < FS_OPEN_READ || mode > FS_OPEN_READ_WRITE) {
        SetError(ERROR_INVALID_PARAMETER);
    } else {
        char path[FS_PATH_SIZE];
        if (!FSJoinPath(path, folder, name)) {
            SetError(FSDirectoryExists(folder) ? ERROR_FILENAME_EXCED_RANGE : ERROR_PATH_NOT_FOUND);
        } else {
            const OpenModeRow& row = kOpenModes[mode];
            handle = CreateFileA(path, row.access, row.sharing, nullptr, row.creation,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
            if (handle == INVALID_HANDLE_VALUE)
                SetError(static_cast<int32_t>(GetLastError()));
        }
    }
    isOpen = GetError() == 0;
    return isOpen;
}

bool FSFile::Close()
{
    if (handle != INVALID_HANDLE_VALUE && !CloseHandle(handle))
        SetError(static_cast<int32_t>(GetLastError()));
    handle = INVALID_HANDLE_VALUE;
    isOpen = false;
    return GetError() == 0;
}

bool FSFile::SetEnd()
{
    if (GetError() != 0)
        return false;
    if (!SetEndOfFile(handle))
        SetError(static_cast<int32_t>(GetLastError()));
    return GetError() == 0;
}

bool FSFile::Flush()
{
    if (GetError() != 0)
        return false;
    if (!FlushFileBuffers(handle))
        SetError(static_cast<int32_t>(GetLastError()));
    return GetError() == 0;
}

bool FSFile::Seek(int32_t distance, int origin, int32_t* position)
{
    if (position)
        *position = -1;
    if (GetError() != 0)
        return false;
    DWORD result = SetFilePointer(handle, distance, nullptr, static_cast<DWORD>(origin));
    if (result == INVALID_SET_FILE_POINTER) {
        SetError(static_cast<int32_t>(GetLastError()));
        return false;
    }
    if (position)
        *position = static_cast<int32_t>(result);
    return true;
}

bool FSFile::ReadBytes(void* destination, int32_t count)
{
    if (GetError() != 0)
        return false;
    if (count < 0)
        SetError(FS_ERROR_BAD_COUNT);
    if (count <= 0)
        return GetError() == 0;
    DWORD done = 0;
    // A failed read keeps the system's error: only a read that succeeded
    // short is the end of the file.
    if (!ReadFile(handle, destination, static_cast<DWORD>(count), &done, nullptr))
        SetError(static_cast<int32_t>(GetLastError()));
    else if (done < static_cast<DWORD>(count))
        SetError(FS_ERROR_END_OF_FILE);
    return GetError() == 0;
}

bool FSFile::WriteBytes(const void* source, int32_t count)
{
    if (GetError() != 0)
        return false;
    if (count < 0)
        SetError(FS_ERROR_BAD_COUNT);
    if (count <= 0)
        return GetError() == 0;
    DWORD done = 0;
    if (!WriteFile(handle, source, static_cast<DWORD>(count), &done, nullptr))
        SetError(static_cast<int32_t>(GetLastError()));
    else if (done < static_cast<DWORD>(count))
        SetError(FS_ERROR_WRITE_FAULT);
    return GetError() == 0;
}

// FSRecoverableCDFile

FSRecoverableCDFile::FSRecoverableCDFile() { LoadTexts(); }

FSRecoverableCDFile::FSRecoverableCDFile(const FSDirectory& folder, const char* name)
{
    LoadTexts();
    Open(folder, name, FS_OPEN_READ);
}

void FSRecoverableCDFile::LoadTexts()
{
    if (gCDMessage[0] == 0)
        LoadGroupStringOrDefault(kGroupCDRetry, 0, gCDMessage, "Reinsert the CD");
    if (gCDCaption[0] == 0)
        LoadGroupStringOrDefault(kGroupCDRetry, 1, gCDCaption, "Missing CD");
    std::memcpy(message, gCDMessage, sizeof message);
    std::memcpy(caption, gCDCaption, sizeof caption);
}

FSRetryPrompt FSRecoverableCDFile::SetRetryPrompt(FSRetryPrompt prompt)
{
    FSRetryPrompt old = gRetryPrompt;
    gRetryPrompt = prompt ? prompt : AskWithMessageBox;
    return old;
}

bool FSRecoverableCDFile::ReadBytes(void* destination, int32_t count)
{
    if (GetError() != 0)
        return false;
    // Each retry starts again where this read began, so a short read that
    // moved the file pointer does not shift the data.
    int32_t start = Tell();
    for (;;) {
        if (ReadOnce(destination, count))
            return true;
        // Only a missing disc can be mended by putting it back.
        if (!IsMissingMedium(GetError()))
            return false;
        if (!gRetryPrompt(message, caption))
            return false;
        SetError(0);
        if (start >= 0)
            Seek(start, FS_SEEK_FROM_START, nullptr);
    }
}

bool FSRecoverableCDFile::ReadOnce(void* destination, int32_t count)
{
    return FSFile::ReadBytes(destination, count);
}

bool FSRecoverableCDFile::IsMissingMedium(int32_t error)
{
    switch (error) {
    case ERROR_NOT_READY:
    case ERROR_WRONG_DISK:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_MEDIA_CHANGED:
    case ERROR_NO_MEDIA_IN_DRIVE:
    case ERROR_UNRECOGNIZED_MEDIA:
        return true;
    default:
        return false;
    }
}
