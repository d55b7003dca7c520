#include "shell/registry_settings.h"

#include <cstring>

#include "engine/record_table.h"
#include "framework/heap.h"
#include "framework/registry_key.h"
#include "framework/string_table.h"
#include "shell/print_configuration.h"
#include "trays/texture_list.h"

namespace {

const int16_t kTextTable = 0;
const int16_t kTextTableExtra = 107;
const int16_t kSettingsNameKey = 15;
const int16_t kSettingsNameTailKey = 18;
const uint32_t kKeyPathString = 110;

}  // namespace

RegistrySettings::RegistrySettings()
    : printConfiguration(nullptr), folder{}, fileName{}, key(nullptr), available(0)
{
}

RegistrySettings::~RegistrySettings()
{
    if (key) {
        key->Close();
        delete key;
    }
    delete printConfiguration;
}

bool RegistrySettings::Open()
{
    MMRecordTable texts;
    texts.LoadTenByteRows(kTextTable, kTextTableExtra);
    FSDirectory windows;
    FSWindowsFolder(windows);
    lstrcpynA(folder, windows.Path(), sizeof(folder));
    fileName[0] = 0;
    int32_t head = texts.FindRowByKey(kSettingsNameKey);
    if (head >= 0)
        lstrcpynA(fileName, texts.StringAt(head, 2), sizeof(fileName));
    int32_t tail = texts.FindRowByKey(kSettingsNameTailKey);
    if (tail >= 0) {
        size_t used = std::strlen(fileName);
        lstrcpynA(fileName + used, texts.StringAt(tail, 2), int(sizeof(fileName) - used));
    }
    available = folder[0] != 0 && fileName[0] != 0;
    if (available) {
        if (key) {
            key->Close();
            delete key;
            key = nullptr;
        }
        char path[256];
        key = new (gDefaultHeap) UURegistryKey;
        if (key && LoadResourceString(kKeyPathString, path))
            key->Open(HKEY_LOCAL_MACHINE, path);
    }
    delete printConfiguration;
    printConfiguration = new (gDefaultHeap) KVXPrintConfiguration;
    return true;
}

bool RegistrySettings::ReadLong(const char* name, int32_t defaultValue, int32_t& out)
{
    out = defaultValue;
    // A value of another type (a text typed in by hand) counts as missing.
    if (!key || !key->IsOpen() || key->ValueType(name) != REG_DWORD)
        return false;
    return key->ReadLong(name, defaultValue, out);
}

void RegistrySettings::WriteLong(const char* name, int32_t value)
{
    if (key && key->IsOpen())
        key->WriteLong(name, value);
}

bool RegistrySettings::GetTextureId(MMResourceId& out)
{
    // A stored index that names no texture (the start-up stores the count)
    // gives the texture the canvas starts with.
    int32_t index = -1;
    bool stored = ReadLong("TextureId", -1, index);
    out = TextureResourceAt(index);
    if (out == MM_NO_RESOURCE)
        out = StartingTexture();
    return stored;
}

void RegistrySettings::SetTextureId(MMResourceId texture)
{
    WriteLong("TextureId", int16_t(TextureIndexOf(texture)));
}

bool RegistrySettings::GetSketchbookName(char* buffer, uint32_t size)
{
    if (size == 0)
        return false;
    buffer[0] = 0;
    if (!key || !key->IsOpen())
        return false;
    return key->ReadString("SketchbookName", buffer, size);
}

void RegistrySettings::SetSketchbookName(const char* name)
{
    if (key && key->IsOpen())
        key->WriteString("SketchbookName", name);
}

bool RegistrySettings::GetImageNumber(int32_t& out) { return ReadLong("ImageNumber", 0, out); }
bool RegistrySettings::GetVolume(int32_t& out) { return ReadLong("Volume", 3, out); }
bool RegistrySettings::GetAutoSave(int32_t& out) { return ReadLong("AutoSave", 1, out); }
bool RegistrySettings::GetPrinting(int32_t& out) { return ReadLong("Printing", 1, out); }
bool RegistrySettings::GetFancyPrinting(int32_t& out) { return ReadLong("Fancy Printing", 0, out); }
bool RegistrySettings::GetTrashCan(int32_t& out) { return ReadLong("TrashCan", 1, out); }
bool RegistrySettings::GetDuplicate(int32_t& out) { return ReadLong("Duplicate", 1, out); }
bool RegistrySettings::GetRelativeTablet(int32_t& out)
{
    return ReadLong("Relative Tablet Support", 0, out);
}
bool RegistrySettings::GetLoop(int32_t& out) { return ReadLong("Loop", 7, out); }

void RegistrySettings::SetImageNumber(int32_t value) { WriteLong("ImageNumber", value); }
void RegistrySettings::SetVolume(int32_t value) { WriteLong("Volume", value); }
void RegistrySettings::SetAutoSave(int32_t value) { WriteLong("AutoSave", value); }
void RegistrySettings::SetPrinting(int32_t value) { WriteLong("Printing", value); }
void RegistrySettings::SetFancyPrinting(int32_t value) { WriteLong("Fancy Printing", value); }
void RegistrySettings::SetTrashCan(int32_t value) { WriteLong("TrashCan", value); }
void RegistrySettings::SetDuplicate(int32_t value) { WriteLong("Duplicate", value); }
void RegistrySettings::SetRelativeTablet(int32_t value)
{
    WriteLong("Relative Tablet Support", value);
}
void RegistrySettings::SetLoop(int32_t value) { WriteLong("Loop", value); }
