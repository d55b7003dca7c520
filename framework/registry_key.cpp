#include "framework/registry_key.h"

#include <cstring>
#include <vector>

#include "framework/folders.h"
#include "framework/text.h"

namespace {

HKEY const kNoKey = reinterpret_cast<HKEY>(static_cast<intptr_t>(-1));

// Splits a stored path at its last backslash: the folder keeps the
// backslash, the name is what follows it (empty for a folder path).
bool SplitStoredPath(const char* text, FSDirectory& folder, char* name)
{
    char work[FS_PATH_SIZE];
    name[0] = 0;
    if (!StringCopyBounded(text, work, FS_PATH_SIZE))
        return false;
    const char* cut = nullptr;
    for (const char* p = work; *p; ++p) {
        if (IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1])
            ++p;
        else if (*p == '\\')
            cut = p;
    }
    if (cut == nullptr)
        return false;
    if (!StringCopyBounded(cut + 1, name, FS_NAME_SIZE))
        return false;
    work[cut - work + 1] = 0;
    return folder.Set(work) > 0;
}

}  // namespace

UURegistryKey::UURegistryKey() : key(kNoKey) {}

UURegistryKey::~UURegistryKey() { Close(); }

bool UURegistryKey::IsOpen() const { return key != kNoKey; }

bool UURegistryKey::Open(HKEY root, const char* path)
{
    Close();
    HKEY current = root;
    const char* p = path ? path : "";
    while (*p) {
        const char* end = std::strchr(p, '\\');
        size_t length = end ? size_t(end - p) : std::strlen(p);
        if (length > 0) {
            std::vector<char> component(p, p + length);
            component.push_back(0);
            HKEY next = nullptr;
            DWORD disposition = 0;
            LONG status = RegCreateKeyExA(current, component.data(), 0, const_cast<char*>(""),
                                          REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                          &next, &disposition);
            // The caller's root stays open; every key opened on the way is
            // closed once its child is open.
            if (current != root)
                RegCloseKey(current);
            if (status != ERROR_SUCCESS)
                return false;
            current = next;
        }
        p += length;
        if (*p == '\\')
            ++p;
    }
    if (current == root)
        return false;  // an empty path names no key of its own
    key = current;
    return true;
}

void UURegistryKey::Close()
{
    if (key != kNoKey)
        RegCloseKey(key);
    key = kNoKey;
}

bool UURegistryKey::ReadString(const char* name, char* buffer, uint32_t size)
{
    if (size == 0)
        return false;
    buffer[0] = 0;
    if (!IsOpen())
        return false;
    if (size > 0xFFFF)
        size = 0xFFFF;
    // Registry data is user-editable: a value that fills the buffer is kept
    // only when its last byte is the terminator it may lack.
    DWORD type = 0;
    DWORD count = size;
    LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                                   &count);
    bool fits = status == ERROR_SUCCESS && type == REG_SZ &&
                (count < size || (count == size && buffer[size - 1] == 0));
    if (!fits) {
        buffer[0] = 0;
        return false;
    }
    if (count < size)
        buffer[count] = 0;
    return true;
}

bool UURegistryKey::ReadStringOrDefault(const char* name, const char* defaultText, char* buffer,
                                        uint32_t size)
{
    if (ReadString(name, buffer, size))
        return true;
    if (size > 0)
        StringCopyBounded(defaultText, buffer, static_cast<int>(size > 0xFFFF ? 0xFFFF : size));
    return false;
}

bool UURegistryKey::ReadLong(const char* name, int32_t defaultValue, int32_t& value)
{
    value = defaultValue;
    if (!IsOpen())
        return false;
    DWORD stored = 0;
    DWORD count = sizeof stored;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&stored),
                         &count) != ERROR_SUCCESS ||
        count != sizeof stored)
        return false;
    value = static_cast<int32_t>(stored);
    return true;
}

DWORD UURegistryKey::ValueType(const char* name)
{
    DWORD type = REG_NONE;
    if (!IsOpen() || RegQueryValueExA(key, name, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return REG_NONE;
    return type;
}

bool UURegistryKey::ReadBool(const char* name, bool defaultValue, bool& value)
{
    value = defaultValue;
    int32_t stored = 0;
    if (!ReadLong(name, defaultValue ? 1 : 0, stored) || (stored != 0 && stored != 1))
        return false;
    value = stored == 1;
    return true;
}

bool UURegistryKey::ReadBinary(const char* name, void* buffer, uint32_t size)
{
    if (!IsOpen())
        return false;
    // A value of another size would leave part of the buffer stale, so the
    // caller's buffer changes only when the whole value fits it exactly.
    std::vector<BYTE> work(size + 1);
    DWORD type = 0;
    DWORD count = size + 1;
    if (RegQueryValueExA(key, name, nullptr, &type, work.data(), &count) != ERROR_SUCCESS ||
        type != REG_BINARY || count != size)
        return false;
    std::memcpy(buffer, work.data(), size);
    return true;
}

bool UURegistryKey::ReadFolder(const char* name, const FSDirectory& defaultFolder,
                               FSDirectory& folder)
{
    char text[FS_PATH_SIZE];
    char fileName[FS_NAME_SIZE];
    FSDirectory stored;
    if (ReadString(name, text, FS_PATH_SIZE) && SplitStoredPath(text, stored, fileName) &&
        fileName[0] == 0 && FSDirectoryExists(stored)) {
        folder = stored;
        return true;
    }
    folder = defaultFolder;
    return false;
}

bool UURegistryKey::ReadFilePath(const char* name, const FSDirectory& defaultFolder,
                                 const char* defaultName, FSDirectory& folder, char* fileName)
{
    char text[FS_PATH_SIZE];
    char storedName[FS_NAME_SIZE];
    FSDirectory stored;
    if (ReadString(name, text, FS_PATH_SIZE) && SplitStoredPath(text, stored, storedName) &&
        storedName[0] != 0 && FSFileExists(stored, storedName)) {
        folder = stored;
        StringCopyBounded(storedName, fileName, FS_NAME_SIZE);
        return true;
    }
    folder = defaultFolder;
    StringCopyBounded(defaultName, fileName, FS_NAME_SIZE);
    return false;
}

bool UURegistryKey::WriteString(const char* name, const char* text)
{
    if (!IsOpen() || text == nullptr)
        return false;
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(std::strlen(text) + 1)) == ERROR_SUCCESS;
}

bool UURegistryKey::WriteLong(const char* name, int32_t value)
{
    if (!IsOpen())
        return false;
    DWORD stored = static_cast<DWORD>(value);
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored),
                          sizeof stored) == ERROR_SUCCESS;
}

bool UURegistryKey::WriteBool(const char* name, bool value)
{
    return WriteLong(name, value ? 1 : 0);
}

bool UURegistryKey::WriteBinary(const char* name, const void* bytes, uint32_t count)
{
    if (!IsOpen())
        return false;
    return RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE*>(bytes), count) ==
           ERROR_SUCCESS;
}

bool UURegistryKey::WriteFolder(const char* name, const FSDirectory& folder)
{
    char path[FS_PATH_SIZE];
    return IsOpen() && FSJoinPath(path, folder, "") && WriteString(name, path);
}

bool UURegistryKey::WriteFilePath(const char* name, const FSDirectory& folder,
                                  const char* fileName)
{
    char path[FS_PATH_SIZE];
    return IsOpen() && FSJoinPath(path, folder, fileName) && WriteString(name, path);
}

bool UURegistryKey::DeleteValue(const char* name)
{
    return IsOpen() && RegDeleteValueA(key, name) == ERROR_SUCCESS;
}
