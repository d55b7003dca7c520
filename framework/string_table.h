#pragma once
#include <cstdint>
#include <windows.h>

class Heap;

// Texts of the program's string table. Buffers hold 256 bytes. A group
// string id is group * 1000 + index, taken modulo 65536.

enum AFStringId : uint16_t {
    kStringErrorCaption = 550,
    kStringUnknownFile = 551,
    kStringUnknownError = 552,
    kStringUnknownSystemError = 553,
};
constexpr int kGroupCDRetry = 450;  // index 0 the message, 1 the caption

uint16_t GroupStringId(int group, int index);

bool LoadResourceString(uint32_t id, char* buffer);
bool LoadResourceStringOrDefault(uint32_t id, char* buffer, const char* fallback);
bool LoadGroupString(int group, int index, char* buffer);
bool LoadGroupStringOrDefault(int group, int index, char* buffer, const char* fallback);

// The program's version resource, read from a file.
class VersionInfo {
public:
    VersionInfo(const char* folder, const char* name, Heap* heap);
    ~VersionInfo();
    VersionInfo(const VersionInfo&) = delete;
    VersionInfo& operator=(const VersionInfo&) = delete;

    bool IsValid() const { return block_ != nullptr && translation_[0] != 0; }
    // Copies the value (at most 255 bytes) into `out`; empty and false when
    // there is none.
    bool Value(const char* name, char* out) const;
    const char* Translation() const { return translation_; }

private:
    uint8_t* block_;  // a 32-bit length word, then the version data
    char translation_[9];
};

bool ProgramVersionString(const char* name, char* out);
bool FileVersion(char* out);
bool VersionDescription(char* out);
bool Comments(char* out);

// Build time stamps: bits 26-31 years since 1990, 22-25 month (0-11),
// 17-21 day, 12-16 hour, 6-11 minute, 0-5 second.
struct TimeStampParts {
    int year;
    int month;  // 0-11
    int day;
    int hour;
    int minute;
    int second;
};
TimeStampParts DecodeTimeStamp(uint32_t stamp);
uint32_t EncodeTimeStamp(const TimeStampParts& parts);
uint32_t CurrentTimeStamp();

struct TimeStampEntry {
    const char* name;
    uint32_t stamp;
};
extern const TimeStampEntry kTimeStamps[];  // ends with a null name

// Looks the kind's stamp up ("TIMESTAMP_<kind>_%04X"); 0 when unknown.
// Callers go on in every case.
uint32_t LookUpTimeStamp(const char* kind, uint16_t number);
const char* RegisterTimeStampName();
