#pragma once
#include <cstdint>
#include "framework/folders.h"

// The process-wide pending error: the first failure recorded wins, later
// ones (usually its consequences) leave it alone. Failing routines end with
// `return SetPendingError(...)` or `return FailWithoutError()`.

enum AFErrorCode : int32_t {
    APE_NO_ERROR = 0,
    AFE_QT_INITIALIZE_FAILED = 1,
    AFE_QT_VERSION_BAD = 2,
    AFE_QT_ENTERMOVIES_FAILED = 3,
    AFE_BAD_CURSOR = 4,
    AFE_FAILURE_WITHOUT_ERROR = 5,
    AFE_USER_ERROR = 6,
    MME_PICTURE_RESOURCE_FILE_NOT_FOUND = 7,
    MME_PICTURE_RESOURCE_FILE_BAD_OPEN_FOR_READ = 8,
    MME_PICTURE_RESOURCE_FILE_BAD_OPEN_FOR_WRITE = 9,
    MME_PICTURE_RESOURCE_FILE_BAD_CLOSE = 10,
    MME_PICTURE_RESOURCE_FILE_BAD_HEADER = 11,
    MME_PICTURE_RESOURCE_FILE_BAD_VERSION_NUMBER = 12,
    MME_PICTURE_RESOURCE_FILE_BAD_CHECKSUM = 13,
    MME_PICTURE_RESOURCE_FILE_BAD_READ = 14,
    MME_PICTURE_RESOURCE_FILE_BAD_WRITE = 15,
    MME_PICTURE_RESOURCE_FILE_BAD_SEEK = 16,
    MME_SOUND_RESOURCE_FILE_NOT_FOUND = 17,
    MME_SOUND_RESOURCE_FILE_BAD_OPEN_FOR_READ = 18,
    MME_SOUND_RESOURCE_FILE_BAD_OPEN_FOR_WRITE = 19,
    MME_SOUND_RESOURCE_FILE_BAD_CLOSE = 20,
    MME_SOUND_RESOURCE_FILE_BAD_HEADER = 21,
    MME_SOUND_RESOURCE_FILE_BAD_VERSION_NUMBER = 22,
    MME_SOUND_RESOURCE_FILE_BAD_CHECKSUM = 23,
    MME_SOUND_RESOURCE_FILE_BAD_READ = 24,
    MME_SOUND_RESOURCE_FILE_BAD_WRITE = 25,
    MME_SOUND_RESOURCE_FILE_BAD_SEEK = 26,
    MME_FILM_RESOURCE_FILE_NOT_FOUND = 27,
    MME_FILM_RESOURCE_FILE_BAD_OPEN_FOR_READ = 28,
    MME_FILM_RESOURCE_FILE_BAD_OPEN_FOR_WRITE = 29,
    MME_FILM_RESOURCE_FILE_BAD_CLOSE = 30,
    MME_FILM_RESOURCE_FILE_BAD_HEADER = 31,
    MME_FILM_RESOURCE_FILE_BAD_VERSION_NUMBER = 32,
    MME_FILM_RESOURCE_FILE_BAD_CHECKSUM = 33,
    MME_FILM_RESOURCE_FILE_BAD_READ = 34,
    MME_FILM_RESOURCE_FILE_BAD_WRITE = 35,
    MME_FILM_RESOURCE_FILE_BAD_SEEK = 36,
    MME_SCRIPT_FILE_NOT_FOUND = 37,
    MME_SCRIPT_FILE_BAD_OPEN_FOR_READ = 38,
    MME_SCRIPT_FILE_BAD_OPEN_FOR_WRITE = 39,
    MME_SCRIPT_FILE_BAD_CLOSE = 40,
    MME_SCRIPT_FILE_BAD_HEADER = 41,
    MME_SCRIPT_FILE_BAD_VERSION_NUMBER = 42,
    MME_SCRIPT_FILE_BAD_CHECKSUM = 43,
    MME_SCRIPT_FILE_BAD_READ = 44,
    MME_SCRIPT_FILE_BAD_WRITE = 45,
    MME_SCRIPT_FILE_BAD_SEEK = 46,
};
constexpr int32_t kErrorCodeCount = 47;

// Resource files of kind k (picture 0, sound 1, film 2, script 3) report
// kResourceFileErrorBase + 10 * k + one of these suffixes.
enum AFResourceFileErrorSuffix : int32_t {
    kErrorNotFound = 0,
    kErrorBadOpenForRead = 1,
    kErrorBadOpenForWrite = 2,
    kErrorBadClose = 3,
    kErrorBadHeader = 4,
    kErrorBadVersionNumber = 5,
    kErrorBadChecksum = 6,
    kErrorBadRead = 7,
    kErrorBadWrite = 8,
    kErrorBadSeek = 9,
};
constexpr int32_t kResourceFileErrorBase = 7;

constexpr int kPendingFolderSize = 256;
constexpr int kPendingNameSize = 64;
constexpr int kPendingUserTextSize = 1024;
constexpr int kErrorMessageSize = 1024;

// The record. Read it through the functions below; `code` may be read
// directly by loops that only test it.
struct AFPendingError {
    volatile int32_t code;
    int32_t systemError;
    FSDirectory folder;  // empty when no folder is known
    char name[kPendingNameSize];
    char userText[kPendingUserTextSize];
};
extern AFPendingError gPendingError;

// `name` is a file name or null/empty, copied bounded (never read beyond
// its terminating zero). Each returns false.
bool SetPendingError(int32_t code, const FSDirectory& folder, const char* name,
                     int32_t systemError);
bool SetPendingErrorText(const char* text, const FSDirectory& folder, const char* name,
                         int32_t systemError);
bool FailWithoutError();
void ClearPendingError();
bool IsErrorPending();
void ClearPendingName();
void ClearPendingFolder();

const char* ErrorName(int32_t code);
// The default English message of a code (a printf-style text with one %s).
const char* ErrorMessage(int32_t code);

// Both return the one shared message buffer: use or copy the result before
// the next call of either.
const char* FormatPendingError(int32_t code, const FSDirectory& folder, const char* name);
const char* SystemErrorText(int32_t systemError);

// Keyed lookup in string group `group`: "key=alias" strings redirect to
// another key; "keyXtext" gives text. `out` holds 256 bytes.
bool LookupKeyedString(const char* key, int group, char* out);
