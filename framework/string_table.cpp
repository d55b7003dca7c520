#include "framework/string_table.h"

#include <cstring>
#include <ctime>
#include "framework/folders.h"
#include "framework/heap.h"
#include "framework/text.h"

uint16_t GroupStringId(int group, int index)
{
    return static_cast<uint16_t>(static_cast<uint32_t>(group * 1000 + index));
}

bool LoadResourceString(uint32_t id, char* buffer)
{
    int length = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id & 0xFFFF), buffer,
                             kTextSize);
    if (length <= 0) {
        buffer[0] = 0;
        return false;
    }
    return true;
}

bool LoadResourceStringOrDefault(uint32_t id, char* buffer, const char* fallback)
{
    if (LoadResourceString(id, buffer))
        return true;
    StringCopyBounded(fallback, buffer, kTextSize);
    return false;
}

bool LoadGroupString(int group, int index, char* buffer)
{
    return LoadResourceString(GroupStringId(group, index), buffer);
}

bool LoadGroupStringOrDefault(int group, int index, char* buffer, const char* fallback)
{
    return LoadResourceStringOrDefault(GroupStringId(group, index), buffer, fallback);
}

VersionInfo::VersionInfo(const char* folder, const char* name, Heap* heap) : block_(nullptr)
{
    translation_[0] = 0;
    char path[kTextSize];
    if (!FSJoinPath(path, FSDirectory(folder), name))
        return;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0)
        return;
    block_ = static_cast<uint8_t*>(HeapAllocate(size + 4, heap));
    if (!block_)
        return;
    std::memcpy(block_, &size, 4);
    void* data = block_ + 4;
    UINT length = 0;
    void* value = nullptr;
    if (!GetFileVersionInfoA(path, 0, size, data) ||
        !VerQueryValueA(data, "\\VarFileInfo\\Translation", &value, &length) || length != 4)
        return;
    WORD language = static_cast<WORD*>(value)[0];
    WORD codePage = static_cast<WORD*>(value)[1];
    StringFormat(translation_, "%04X%04X", language, codePage);
}

VersionInfo::~VersionInfo() { operator delete(block_); }

bool VersionInfo::Value(const char* name, char* out) const
{
    out[0] = 0;
    if (!IsValid())
        return false;
    char query[kTextSize];
    StringFormat(query, "\\StringFileInfo\\%s\\%s", translation_, name);
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block_ + 4, query, &value, &length) || !value || length == 0)
        return false;
    // The value's length counts characters; never read past it.
    char text[kTextSize];
    UINT take = length < kTextSize - 1 ? length : kTextSize - 1;
    std::memcpy(text, value, take);
    text[take] = 0;
    StringCopyBounded(text, out, kTextSize);
    return true;
}

bool ProgramVersionString(const char* name, char* out)
{
    FSDirectory folder;
    char file[kFileNameSize];
    out[0] = 0;
    if (!FSProgramFolderAndName(folder, file))
        return false;
    VersionInfo info(folder.Path(), file, gDefaultHeap);
    return info.Value(name, out);
}

bool FileVersion(char* out) { return ProgramVersionString("FileVersion", out); }
bool VersionDescription(char* out) { return ProgramVersionString("VersionDescription", out); }
bool Comments(char* out) { return ProgramVersionString("Comments", out); }

TimeStampParts DecodeTimeStamp(uint32_t stamp)
{
    TimeStampParts parts;
    parts.year = 1990 + static_cast<int>(stamp >> 26);
    parts.month = static_cast<int>((stamp >> 22) & 0x0F);
    parts.day = static_cast<int>((stamp >> 17) & 0x1F);
    parts.hour = static_cast<int>((stamp >> 12) & 0x1F);
    parts.minute = static_cast<int>((stamp >> 6) & 0x3F);
    parts.second = static_cast<int>(stamp & 0x3F);
    return parts;
}

uint32_t EncodeTimeStamp(const TimeStampParts& parts)
{
    return (static_cast<uint32_t>(parts.year - 1990) & 0x3F) << 26 |
           (static_cast<uint32_t>(parts.month) & 0x0F) << 22 |
           (static_cast<uint32_t>(parts.day) & 0x1F) << 17 |
           (static_cast<uint32_t>(parts.hour) & 0x1F) << 12 |
           (static_cast<uint32_t>(parts.minute) & 0x3F) << 6 |
           (static_cast<uint32_t>(parts.second) & 0x3F);
}

uint32_t CurrentTimeStamp()
{
    time_t now = time(nullptr);
    const tm* local = localtime(&now);
    if (!local)
        return 0;
    return EncodeTimeStamp(TimeStampParts{local->tm_year + 1900, local->tm_mon, local->tm_mday,
                                          local->tm_hour, local->tm_min, local->tm_sec});
}

const TimeStampEntry kTimeStamps[] = {
    {"TIMESTAMP_MMP_4000", 0x25CCB185}, {"TIMESTAMP_MMP_0000", 0x25E2D4AC},
    {"TIMESTAMP_MMP_6978", 0x25CB086E}, {"TIMESTAMP_MMP_DEA8", 0x25E2C8FA},
    {"TIMESTAMP_MMA_4000", 0x25D4E8D7}, {"TIMESTAMP_MMA_0000", 0x25BAE93B},
    {"TIMESTAMP_MMF_0000", 0x25A9203A}, {"TIMESTAMP_MMS_0000", 0x261B13EF},
    {nullptr, 0},
};

uint32_t LookUpTimeStamp(const char* kind, uint16_t number)
{
    char name[kTextSize];
    StringFormat(name, "%s_%s_%04X", "TIMESTAMP", kind, number);
    for (const TimeStampEntry* entry = kTimeStamps; entry->name; ++entry)
        if (std::strcmp(entry->name, name) == 0)
            return entry->stamp;
    return 0;
}

const char* RegisterTimeStampName() { return "REGISTER_TIMESTAMP"; }
