#pragma once
// The program's preferences under its registry key, one reader and one
// writer per value, and the program's print configuration.
#include <cstdint>

#include "engine/resource_collection.h"
#include "framework/folders.h"

class KVXPrintConfiguration;
class UURegistryKey;

class RegistrySettings {
public:
    RegistrySettings();
    ~RegistrySettings();
    RegistrySettings(const RegistrySettings&) = delete;
    RegistrySettings& operator=(const RegistrySettings&) = delete;

    bool Open();
    bool IsAvailable() const { return available != 0; }
    KVXPrintConfiguration* PrintConfiguration() const { return printConfiguration; }
    const char* FileName() const { return fileName; }
    // The settings key itself (null when it could not be opened).
    UURegistryKey* Key() const { return key; }

    // Each stores the value or its default in out; true when one was stored.
    bool GetTextureId(MMResourceId& out);
    bool GetImageNumber(int32_t& out);
    bool GetSketchbookName(char* buffer, uint32_t size);
    bool GetVolume(int32_t& out);
    bool GetAutoSave(int32_t& out);
    bool GetPrinting(int32_t& out);
    bool GetFancyPrinting(int32_t& out);
    bool GetTrashCan(int32_t& out);
    bool GetDuplicate(int32_t& out);
    bool GetRelativeTablet(int32_t& out);
    bool GetLoop(int32_t& out);

    void SetTextureId(MMResourceId texture);
    void SetImageNumber(int32_t value);
    void SetSketchbookName(const char* name);
    void SetVolume(int32_t value);
    void SetAutoSave(int32_t value);
    void SetPrinting(int32_t value);
    void SetFancyPrinting(int32_t value);
    void SetTrashCan(int32_t value);
    void SetDuplicate(int32_t value);
    void SetRelativeTablet(int32_t value);
    void SetLoop(int32_t value);

    // Any value by name, as the drawing tools keep theirs.
    bool ReadLong(const char* name, int32_t defaultValue, int32_t& out);
    void WriteLong(const char* name, int32_t value);

private:
    KVXPrintConfiguration* printConfiguration;
    char folder[256];
    char fileName[64];
    UURegistryKey* key;
    uint8_t available;
};
