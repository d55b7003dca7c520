#include "framework/folders.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "framework/text.h"

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Byte offset just after the character at `p`.
const char* NextChar(const char* p)
{
    if (IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] != 0)
        return p + 2;
    return p + 1;
}

bool EndsWithBackslash(const char* text)
{
    int length = static_cast<int>(std::strlen(text));
    if (length == 0)
        return false;
    int last = LastCharOffset(text, length);
    return last == length - 1 && text[last] == '\\';
}

// Offset of the last single-byte backslash at or after `from`, or -1.
int LastBackslash(const char* text, int from, int end)
{
    int found = -1;
    for (const char* p = text + from; p < text + end && *p; p = NextChar(p)) {
        if (*p == '\\')
            found = static_cast<int>(p - text);
    }
    return found;
}

// A server or share name: at least one character, no ":" and no "\", then
// a backslash. Returns the offset after that backslash, or -1.
int NetworkComponentEnd(const char* path, int from)
{
    const char* p = path + from;
    const char* start = p;
    while (*p && *p != '\\') {
        if (*p == ':')
            return -1;
        p = NextChar(p);
    }
    if (p == start || *p != '\\')
        return -1;
    return static_cast<int>(p - path) + 1;
}

// folder + name without testing that the folder exists; false when cut.
bool JoinUnchecked(char* out, const FSDirectory& folder, const char* name)
{
    bool fitted = StringCopyBounded(folder.Path(), out, FS_PATH_SIZE);
    return StringAppendBounded(name ? name : "", out, FS_PATH_SIZE) && fitted;
}

bool FolderFromSystemPath(FSDirectory& folder, const char* path, DWORD length)
{
    folder.Clear();
    if (length == 0 || length >= static_cast<DWORD>(FS_PATH_SIZE))
        return false;
    return folder.Set(path) > 0;
}

bool IsDotOrDotDot(const char* name)
{
    return CompareText(name, ".", false) == 0 || CompareText(name, "..", false) == 0;
}

}  // namespace

// FSDirectory

FSDirectory::FSDirectory() { path[0] = 0; }

FSDirectory::FSDirectory(const char* text)
{
    path[0] = 0;
    Set(text);
}

int FSDirectory::Set(const char* text)
{
    char work[FS_PATH_SIZE];
    bool fitted = text != nullptr && StringCopyBounded(text, work, FS_PATH_SIZE);
    if (fitted && !EndsWithBackslash(work))
        fitted = StringAppendBounded("\\", work, FS_PATH_SIZE);
    int root = fitted ? RootPrefixLength(work) : -1;
    if (root < 0) {
        path[0] = 0;
        return -1;
    }
    std::memcpy(path, work, FS_PATH_SIZE);
    return root;
}

void FSDirectory::Clear() { path[0] = 0; }

bool FSDirectory::IsValid() const { return path[0] != 0; }

bool FSDirectory::operator==(const FSDirectory& other) const
{
    if (!IsValid() || !other.IsValid())
        return !IsValid() && !other.IsValid();
    // Case folding only: a word sort would equate "A-1" with "A1".
    char mine[FS_PATH_SIZE];
    char theirs[FS_PATH_SIZE];
    std::memcpy(mine, path, FS_PATH_SIZE);
    std::memcpy(theirs, other.path, FS_PATH_SIZE);
    UpperCase(mine);
    UpperCase(theirs);
    return std::strcmp(mine, theirs) == 0;
}

int RootPrefixLength(const char* path)
{
    if (path == nullptr)
        return -1;
    if (IsLetter(path[0]) && path[1] == ':' && path[2] == '\\')
        return 3;
    if (path[0] == '\\' && path[1] == '\\') {
        int shareStart = NetworkComponentEnd(path, 2);
        if (shareStart < 0)
            return -1;
        return NetworkComponentEnd(path, shareStart);
    }
    return -1;
}

bool FSIsRoot(const FSDirectory& folder)
{
    return FSDirectoryExists(folder) &&
           static_cast<int>(std::strlen(folder.Path())) == RootPrefixLength(folder.Path());
}

bool FSParentFolder(const FSDirectory& folder, char* name, FSDirectory& parent)
{
    name[0] = 0;
    parent.Clear();
    if (!FSDirectoryExists(folder))
        return false;
    char work[FS_PATH_SIZE];
    std::memcpy(work, folder.Path(), FS_PATH_SIZE);
    if (FSIsRoot(folder)) {
        StringCopyBounded(work, name, FS_NAME_SIZE);
        return true;
    }
    if (!SplitLastComponent(work, name))
        return false;
    return parent.Set(work) > 0;
}

bool SplitLastComponent(char* path, char* name)
{
    name[0] = 0;
    int root = RootPrefixLength(path);
    if (root < 0)
        return false;
    int length = static_cast<int>(std::strlen(path));
    if (EndsWithBackslash(path))
        --length;
    if (length <= root)
        return false;
    int cut = LastBackslash(path, root - 1, length);
    char component[FS_PATH_SIZE];
    int componentLength = length - (cut + 1);
    std::memcpy(component, path + cut + 1, componentLength);
    component[componentLength] = 0;
    // A name cut to fit would name another file.
    if (!StringCopyBounded(component, name, FS_NAME_SIZE)) {
        name[0] = 0;
        return false;
    }
    path[cut + 1] = 0;
    return true;
}

bool FSJoinPath(char* out, const FSDirectory& folder, const char* name)
{
    out[0] = 0;
    if (!FSDirectoryExists(folder))
        return false;
    return JoinUnchecked(out, folder, name);
}

bool FSDirectoryExists(const FSDirectory& folder)
{
    if (!folder.IsValid())
        return false;
    char pattern[FS_PATH_SIZE];
    if (!JoinUnchecked(pattern, folder, "*.*"))
        return false;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern, &data);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    FindClose(find);
    return true;
}

bool FSFileExists(const FSDirectory& folder, const char* name)
{
    char path[FS_PATH_SIZE];
    if (!folder.IsValid() || name == nullptr || name[0] == 0 ||
        !JoinUnchecked(path, folder, name))
        return false;
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FSIsReadOnly(const FSDirectory& folder, const char* name)
{
    char path[FS_PATH_SIZE];
    if (!JoinUnchecked(path, folder, name))
        return false;
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool FSGetFileSize(const FSDirectory& folder, const char* name, int32_t& size)
{
    size = -1;
    char path[FS_PATH_SIZE];
    if (!FSFileExists(folder, name) || !JoinUnchecked(path, folder, name))
        return false;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path, &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(find);
    size = static_cast<int32_t>(data.nFileSizeLow);
    return true;
}

bool FSFindSubfolder(const FSDirectory& folder, const char* name, FSDirectory& subfolder)
{
    char path[FS_PATH_SIZE];
    subfolder.Clear();
    if (!folder.IsValid() || !JoinUnchecked(path, folder, name) || subfolder.Set(path) < 0)
        return false;
    if (FSDirectoryExists(subfolder))
        return true;
    subfolder.Clear();
    return false;
}

bool FSCreateSubfolder(const FSDirectory& folder, const char* name, FSDirectory& subfolder)
{
    char path[FS_PATH_SIZE];
    subfolder.Clear();
    if (!folder.IsValid() || !JoinUnchecked(path, folder, name) ||
        !CreateDirectoryA(path, nullptr))
        return false;
    return subfolder.Set(path) > 0;
}

bool FSDeleteFile(const FSDirectory& folder, const char* name)
{
    char path[FS_PATH_SIZE];
    if (!JoinUnchecked(path, folder, name))
        return false;
    return DeleteFileA(path) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool FSRenameFile(const FSDirectory& folder, const char* oldName, const char* newName)
{
    char from[FS_PATH_SIZE];
    char to[FS_PATH_SIZE];
    if (!JoinUnchecked(from, folder, oldName) || !JoinUnchecked(to, folder, newName))
        return false;
    return std::rename(from, to) == 0;
}

bool MoveFileInFolder(const char* name, const FSDirectory& from, const FSDirectory& to)
{
    char source[FS_PATH_SIZE];
    char target[FS_PATH_SIZE];
    if (!JoinUnchecked(source, from, name) || !JoinUnchecked(target, to, name))
        return false;
    return std::rename(source, target) == 0;
}

bool FSShortPath(const FSDirectory& folder, const char* name, char* path)
{
    if (!FSJoinPath(path, folder, name))
        return false;
    DWORD length = GetShortPathNameA(path, path, FS_PATH_SIZE);
    return length > 0 && length < static_cast<DWORD>(FS_PATH_SIZE);
}

// Standard folders

bool FSProgramFolderAndName(FSDirectory& folder, char* name)
{
    char path[FS_PATH_SIZE];
    name[0] = 0;
    folder.Clear();
    DWORD length = GetModuleFileNameA(nullptr, path, FS_PATH_SIZE);
    if (length == 0 || length >= static_cast<DWORD>(FS_PATH_SIZE))
        return false;
    if (!SplitLastComponent(path, name))
        return false;
    return folder.Set(path) > 0;
}

bool FSProgramFolder(FSDirectory& folder)
{
    char name[FS_NAME_SIZE];
    return FSProgramFolderAndName(folder, name);
}

bool FSCurrentFolder(FSDirectory& folder)
{
    char path[FS_PATH_SIZE];
    return FolderFromSystemPath(folder, path, GetCurrentDirectoryA(FS_PATH_SIZE, path));
}

bool FSSetCurrentFolder(const FSDirectory& folder)
{
    return folder.IsValid() && SetCurrentDirectoryA(folder.Path());
}

bool FSTempFolder(FSDirectory& folder)
{
    char path[FS_PATH_SIZE];
    return FolderFromSystemPath(folder, path, GetTempPathA(FS_PATH_SIZE, path));
}

bool FSWindowsFolder(FSDirectory& folder)
{
    char path[FS_PATH_SIZE];
    return FolderFromSystemPath(folder, path, GetWindowsDirectoryA(path, FS_PATH_SIZE));
}

bool FSDesktopFolder(FSDirectory& folder)
{
    folder.Clear();
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, &items)))
        return false;
    char path[MAX_PATH];
    bool found = SHGetPathFromIDListA(items, path);
    IMalloc* shellMalloc = nullptr;
    if (SUCCEEDED(SHGetMalloc(&shellMalloc))) {
        shellMalloc->Free(items);
        shellMalloc->Release();
    }
    return found && FolderFromSystemPath(folder, path, static_cast<DWORD>(std::strlen(path)));
}

// Listing and volumes

bool FSListDirectory(const FSDirectory& folder, FSDirectoryEntryProcessor& processor)
{
    char pattern[FS_PATH_SIZE];
    if (!folder.IsValid() || !JoinUnchecked(pattern, folder, "*.*"))
        return false;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern, &data);
    if (find == INVALID_HANDLE_VALUE)
        return true;
    bool goOn = true;
    do {
        if (IsDotOrDotDot(data.cFileName))
            continue;
        char name[FS_NAME_SIZE];
        StringCopyBounded(data.cFileName, name, FS_NAME_SIZE);
        bool isFile = !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        int32_t size = -1;
        uint32_t dosDateTime = 0;
        if (isFile) {
            size = static_cast<int32_t>(data.nFileSizeLow);
            WORD date = 0, time = 0;
            FileTimeToDosDateTime(&data.ftLastWriteTime, &date, &time);
            dosDateTime = (static_cast<uint32_t>(date) << 16) | time;
        }
        goOn = processor.ProcessEntry(name, isFile, FSFileKind(), size, dosDateTime);
    } while (goOn && FindNextFileA(find, &data));
    FindClose(find);
    return goOn;
}

FSMatchVolumeName::FSMatchVolumeName(const char* text)
{
    StringCopyBounded(text, wanted, FS_NAME_SIZE);
}

bool FSMatchVolumeName::ProcessVolume(const FSDirectory& root, const char* label)
{
    if (CompareText(label, wanted, true) != 0)
        return true;
    found = root;
    return false;
}

bool FSEnumerateVolumes(FSVolumeEntryProcessor& processor)
{
    char drives[512];
    DWORD length = GetLogicalDriveStringsA(sizeof drives, drives);
    if (length == 0 || length >= sizeof drives)
        return true;
    // An empty removable drive must not make the system ask for a disk.
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    bool goOn = true;
    for (int pass = 0; pass < 2 && goOn; ++pass) {
        for (const char* root = drives; *root && goOn; root += std::strlen(root) + 1) {
            UINT type = GetDriveTypeA(root);
            bool removable = type == DRIVE_REMOVABLE || type == DRIVE_CDROM;
            if (removable != (pass == 1))
                continue;
            char label[FS_NAME_SIZE];
            if (!GetVolumeInformationA(root, label, FS_NAME_SIZE, nullptr, nullptr, nullptr,
                                       nullptr, 0))
                continue;
            goOn = processor.ProcessVolume(FSDirectory(root), label);
        }
    }
    SetErrorMode(oldMode);
    return goOn;
}

bool FSFindVolume(const char* label, FSDirectory& root)
{
    FSMatchVolumeName match(label);
    FSEnumerateVolumes(match);
    root = match.found;
    return root.IsValid();
}

bool FSVolumeLabelOf(const FSDirectory& folder, char* label)
{
    label[0] = 0;
    int rootLength = RootPrefixLength(folder.Path());
    if (!folder.IsValid() || rootLength < 0)
        return false;
    char root[FS_PATH_SIZE];
    std::memcpy(root, folder.Path(), rootLength);
    root[rootLength] = 0;
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    bool found = GetVolumeInformationA(root, label, FS_NAME_SIZE, nullptr, nullptr, nullptr,
                                       nullptr, 0);
    SetErrorMode(oldMode);
    if (!found)
        label[0] = 0;
    return found;
}
