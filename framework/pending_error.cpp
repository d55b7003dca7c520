#include "framework/pending_error.h"

#include <cstring>
#include <windows.h>
#include "framework/application.h"
#include "framework/string_table.h"
#include "framework/text.h"

AFPendingError gPendingError;

namespace {

// Set by the recorder that wins; cleared with the record. Whoever claims it
// writes the whole record, so two threads never mix their fields.
volatile LONG gClaimed = 0;

char gMessage[kErrorMessageSize];

constexpr int kMaxAliasHops = 16;
constexpr int kGroupSize = 1000;

struct ErrorEntry {
    const char* name;
    const char* message;
};

const ErrorEntry kErrors[kErrorCodeCount] = {
    {"APE_NO_ERROR", "No error."},
    {"AFE_QT_INITIALIZE_FAILED", "QuickTime failed to initialize."},
    {"AFE_QT_VERSION_BAD", "QuickTime version is too low."},
    {"AFE_QT_ENTERMOVIES_FAILED", "QuickTime unable to start movie support."},
    {"AFE_BAD_CURSOR", "Could not load cursor."},
    {"AFE_FAILURE_WITHOUT_ERROR", "Failed without error."},
    {"AFE_USER_ERROR", "User error message."},
    {"MME_PICTURE_RESOURCE_FILE_NOT_FOUND", "Cannot find picture resource file '%s'."},
    {"MME_PICTURE_RESOURCE_FILE_BAD_OPEN_FOR_READ", "Cannot open picture resource file '%s'."},
    {"MME_PICTURE_RESOURCE_FILE_BAD_OPEN_FOR_WRITE", "Cannot create picture resource file '%s'."},
    {"MME_PICTURE_RESOURCE_FILE_BAD_CLOSE", "Cannot save picture resource file '%s'."},
    {"MME_PICTURE_RESOURCE_FILE_BAD_HEADER", "Bad header in picture resource file '%s'."},
    {"MME_PICTURE_RESOURCE_FILE_BAD_VERSION_NUMBER",
     "Bad version number in picture resource file '%s'."},
    {"MME_PICTURE_RESOURCE_FILE_BAD_CHECKSUM", "Bad checksum in picture resource file '%s'."},
    {"MME_PICTURE_RESOURCE_FILE_BAD_READ", "Error reading picture resource file '%s'."},
    {"MME_PICTURE_RESOURCE_FILE_BAD_WRITE", "Error writing picture resource file '%s'."},
    {"MME_PICTURE_RESOURCE_FILE_BAD_SEEK", "Seek error on picture resource file '%s'."},
    {"MME_SOUND_RESOURCE_FILE_NOT_FOUND", "Cannot find sound resource file '%s'."},
    {"MME_SOUND_RESOURCE_FILE_BAD_OPEN_FOR_READ", "Cannot open sound resource file '%s'."},
    {"MME_SOUND_RESOURCE_FILE_BAD_OPEN_FOR_WRITE", "Cannot create sound resource file '%s'."},
    {"MME_SOUND_RESOURCE_FILE_BAD_CLOSE", "Cannot save sound resource file '%s'."},
    {"MME_SOUND_RESOURCE_FILE_BAD_HEADER", "Bad header in sound resource file '%s'."},
    {"MME_SOUND_RESOURCE_FILE_BAD_VERSION_NUMBER",
     "Bad version number in sound resource file '%s'."},
    {"MME_SOUND_RESOURCE_FILE_BAD_CHECKSUM", "Bad checksum in sound resource file '%s'."},
    {"MME_SOUND_RESOURCE_FILE_BAD_READ", "Error reading sound resource file '%s'."},
    {"MME_SOUND_RESOURCE_FILE_BAD_WRITE", "Error writing sound resource file '%s'."},
    {"MME_SOUND_RESOURCE_FILE_BAD_SEEK", "Seek error on sound resource file '%s'."},
    {"MME_FILM_RESOURCE_FILE_NOT_FOUND", "Cannot find film resource file '%s'."},
    {"MME_FILM_RESOURCE_FILE_BAD_OPEN_FOR_READ", "Cannot open film resource file '%s'."},
    {"MME_FILM_RESOURCE_FILE_BAD_OPEN_FOR_WRITE", "Cannot create film resource file '%s'."},
    {"MME_FILM_RESOURCE_FILE_BAD_CLOSE", "Cannot save film resource file '%s'."},
    {"MME_FILM_RESOURCE_FILE_BAD_HEADER", "Bad header in film resource file '%s'."},
    {"MME_FILM_RESOURCE_FILE_BAD_VERSION_NUMBER",
     "Bad version number in film resource file '%s'."},
    {"MME_FILM_RESOURCE_FILE_BAD_CHECKSUM", "Bad checksum in film resource file '%s'."},
    {"MME_FILM_RESOURCE_FILE_BAD_READ", "Error reading film resource file '%s'."},
    {"MME_FILM_RESOURCE_FILE_BAD_WRITE", "Error writing film resource file '%s'."},
    {"MME_FILM_RESOURCE_FILE_BAD_SEEK", "Seek error on film resource file '%s'."},
    {"MME_SCRIPT_FILE_NOT_FOUND", "Cannot find script file '%s'."},
    {"MME_SCRIPT_FILE_BAD_OPEN_FOR_READ", "Cannot open script file '%s'."},
    {"MME_SCRIPT_FILE_BAD_OPEN_FOR_WRITE", "Cannot create script file '%s'."},
    {"MME_SCRIPT_FILE_BAD_CLOSE", "Cannot save script file '%s'."},
    {"MME_SCRIPT_FILE_BAD_HEADER", "Bad header in script file '%s'."},
    {"MME_SCRIPT_FILE_BAD_VERSION_NUMBER", "Bad version number in script file '%s'."},
    {"MME_SCRIPT_FILE_BAD_CHECKSUM", "Bad checksum in script file '%s'."},
    {"MME_SCRIPT_FILE_BAD_READ", "Error reading script file '%s'."},
    {"MME_SCRIPT_FILE_BAD_WRITE", "Error writing script file '%s'."},
    {"MME_SCRIPT_FILE_BAD_SEEK", "Seek error on script resource file '%s'."},
};

bool IsKnownCode(int32_t code) { return code >= 0 && code < kErrorCodeCount; }

bool Record(int32_t code, const FSDirectory& folder, const char* name, int32_t systemError,
            const char* text)
{
    if (InterlockedCompareExchange(&gClaimed, 1, 0) != 0)
        return false;
    gPendingError.systemError = systemError;
    gPendingError.folder = folder;
    StringCopyBounded(name, gPendingError.name, kPendingNameSize);
    if (text)
        StringCopyBounded(text, gPendingError.userText, kPendingUserTextSize);
    MemoryBarrier();
    gPendingError.code = code;
    // An idle message loop only looks at the record when a message arrives.
    if (gApplication && GetCurrentThreadId() != gApplication->uiThreadId)
        PostThreadMessageA(gApplication->uiThreadId, WM_NULL, 0, 0);
    return false;
}

// Puts `file` in place of the first "%s" of `format`; nothing else in the
// format is interpreted, so a text from anywhere is safe to use.
void Substitute(const char* format, const char* file, char* out, int size)
{
    const char* mark = std::strstr(format, "%s");
    if (!mark) {
        StringCopyBounded(format, out, size);
        return;
    }
    int before = static_cast<int>(mark - format);
    if (before >= size)
        before = size - 1;
    char head[kErrorMessageSize];
    std::memcpy(head, format, before);
    head[before] = 0;
    StringCopyBounded(head, out, size);
    StringAppendBounded(file, out, size);
    StringAppendBounded(mark + 2, out, size);
}

}  // namespace

bool SetPendingError(int32_t code, const FSDirectory& folder, const char* name,
                     int32_t systemError)
{
    return Record(code, folder, name, systemError, nullptr);
}

bool SetPendingErrorText(const char* text, const FSDirectory& folder, const char* name,
                         int32_t systemError)
{
    return Record(AFE_USER_ERROR, folder, name, systemError, text ? text : "");
}

bool FailWithoutError()
{
    return SetPendingError(AFE_FAILURE_WITHOUT_ERROR, FSDirectory(), "", 0);
}

void ClearPendingError()
{
    gPendingError.code = APE_NO_ERROR;
    gPendingError.name[0] = 0;
    gPendingError.folder.Clear();
    gPendingError.systemError = 0;
    MemoryBarrier();
    InterlockedExchange(&gClaimed, 0);
}

bool IsErrorPending() { return gPendingError.code != APE_NO_ERROR; }

void ClearPendingName() { gPendingError.name[0] = 0; }

void ClearPendingFolder() { gPendingError.folder.Clear(); }

const char* ErrorName(int32_t code) { return IsKnownCode(code) ? kErrors[code].name : ""; }

const char* ErrorMessage(int32_t code)
{
    return kErrors[IsKnownCode(code) ? code : AFE_FAILURE_WITHOUT_ERROR].message;
}

const char* FormatPendingError(int32_t code, const FSDirectory& folder, const char* name)
{
    char format[kErrorMessageSize];
    if (code == AFE_USER_ERROR)
        StringCopyBounded(gPendingError.userText, format, sizeof(format));
    else
        StringCopyBounded(ErrorMessage(code), format, kTextSize);

    char file[kErrorMessageSize] = "";
    if (folder.IsValid() && name) {
        if (!FSJoinPath(file, folder, name) ||
            std::strlen(format) + std::strlen(file) > static_cast<size_t>(kErrorMessageSize))
            file[0] = 0;
    }
    if (!file[0]) {
        if (name && name[0])
            StringCopyBounded(name, file, kFileNameSize);
        else
            LoadResourceStringOrDefault(kStringUnknownFile, file, "<unknown file>");
    }
    Substitute(format, file, gMessage, kErrorMessageSize);
    return gMessage;
}

const char* SystemErrorText(int32_t systemError)
{
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, static_cast<DWORD>(systemError), 0, gMessage,
                                  kErrorMessageSize, nullptr);
    if (length == 0)
        LoadResourceStringOrDefault(kStringUnknownSystemError, gMessage, "Unknown system error.");
    return gMessage;
}

bool LookupKeyedString(const char* key, int group, char* out)
{
    char current[kTextSize];
    StringCopyBounded(key, current, sizeof(current));
    for (int hops = 0; hops <= kMaxAliasHops; ++hops) {
        size_t keyLength = std::strlen(current);
        char text[kTextSize];
        int index = 0;
        for (;; ++index) {
            if (index >= kGroupSize || !LoadGroupString(group, index, text)) {
                out[0] = 0;
                return false;
            }
            if (std::strncmp(text, current, keyLength) == 0)
                break;
        }
        const char* after = text + keyLength;
        if (*after == '=') {
            StringCopyBounded(after + 1, current, sizeof(current));
            continue;
        }
        StringCopyBounded(*after ? after + 1 : after, out, kTextSize);
        return true;
    }
    out[0] = 0;
    return false;
}
