#pragma once
// A registry key opened (and created where missing) under a root key, with
// typed reads that keep their default whenever the stored value is missing,
// of the wrong type or size, or the key is not open.

#include <windows.h>
#include <cstdint>

class FSDirectory;

class UURegistryKey {
public:
    UURegistryKey();
    ~UURegistryKey();

    bool Open(HKEY root, const char* path);
    void Close();
    bool IsOpen() const;

    // Reads at most size - 1 bytes and always terminates the text.
    bool ReadString(const char* name, char* buffer, uint32_t size);
    bool ReadStringOrDefault(const char* name, const char* defaultText, char* buffer,
                             uint32_t size);
    bool ReadLong(const char* name, int32_t defaultValue, int32_t& value);
    bool ReadBool(const char* name, bool defaultValue, bool& value);
    bool ReadBinary(const char* name, void* buffer, uint32_t size);
    // The stored value's registry type; REG_NONE when there is none.
    DWORD ValueType(const char* name);
    bool ReadFolder(const char* name, const FSDirectory& defaultFolder, FSDirectory& folder);
    // fileName receives 64 bytes.
    bool ReadFilePath(const char* name, const FSDirectory& defaultFolder,
                      const char* defaultName, FSDirectory& folder, char* fileName);

    bool WriteString(const char* name, const char* text);
    bool SetString(const char* name, const char* text) { return WriteString(name, text); }
    bool WriteLong(const char* name, int32_t value);
    bool WriteBool(const char* name, bool value);
    bool WriteBinary(const char* name, const void* bytes, uint32_t count);
    bool WriteFolder(const char* name, const FSDirectory& folder);
    bool WriteFilePath(const char* name, const FSDirectory& folder, const char* fileName);
    bool DeleteValue(const char* name);

private:
    HKEY key;
};
