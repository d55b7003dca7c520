#include "framework/console.h"

#include <windows.h>

#include <cstdarg>
#include <cstring>

namespace {

constexpr DWORD kChannelMappingSize = 4096;
constexpr DWORD kChannelViewSize = 512;
constexpr int kChannelTextSize = kChannelViewSize - sizeof(DWORD) - 1;  // 507

}  // namespace

void UUConsole::Printf(const char* format, ...)
{
    char text[kPrintfSize];
    va_list arguments;
    va_start(arguments, format);
    int length = std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    if (length < 0)
        return;
    Write(text);
}

UULogFileConsole::UULogFileConsole(const FSDirectory& folder, const char* name,
                                   const FSFileKind& kind, bool append)
{
    file.Open(folder, name, append ? FS_OPEN_READ_WRITE : FS_OPEN_CREATE, kind);
    // Opening an existing file starts at its first byte: go past the old
    // lines rather than over them.
    if (append && file.IsOpen())
        file.Seek(0, FS_SEEK_FROM_END, nullptr);
}

UULogFileConsole::~UULogFileConsole()
{
    if (file.IsOpen())
        file.Close();
}

void UULogFileConsole::Write(const char* text)
{
    if (file.IsOpen() && text != nullptr)
        file.WriteBytes(text, static_cast<int32_t>(std::strlen(text)));
}

UUStandardFileIOConsole::UUStandardFileIOConsole(FILE* stream) : stream(stream) {}

void UUStandardFileIOConsole::Write(const char* text)
{
    if (stream != nullptr && text != nullptr)
        std::fputs(text, stream);
}

WinUUMonoMonitorConsole::WinUUMonoMonitorConsole()
    : UUStandardFileIOConsole(std::fopen("MONO", "a+t"))
{
}

WinUUMonoMonitorConsole::~WinUUMonoMonitorConsole()
{
    if (stream != nullptr)
        std::fclose(stream);
}

void WinUUMonoMonitorConsole::Write(const char* text)
{
    if (stream == nullptr || text == nullptr)
        return;
    std::fputs(text, stream);
    std::fflush(stream);
}

void DebugChannelWrite(const char* text)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_WINDOWS)
        return;
    WriteToDebugChannel(text);
}

void WriteToDebugChannel(const char* text)
{
    HANDLE bufferReady = OpenEventA(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, "DBWIN_BUFFER_READY");
    HANDLE dataReady = OpenEventA(EVENT_MODIFY_STATE, FALSE, "DBWIN_DATA_READY");
    HANDLE mapping = nullptr;
    void* view = nullptr;
    if (bufferReady != nullptr && dataReady != nullptr) {
        mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                     kChannelMappingSize, "DBWIN_BUFFER");
    }
    if (mapping != nullptr)
        view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, kChannelViewSize);
    if (view != nullptr) {
        WaitForSingleObject(bufferReady, INFINITE);
        auto* bytes = static_cast<char*>(view);
        DWORD process = GetCurrentProcessId();
        std::memcpy(bytes, &process, sizeof process);
        char* into = bytes + sizeof process;
        size_t length = text != nullptr ? strnlen(text, kChannelTextSize) : 0;
        if (length > 0)
            std::memcpy(into, text, length);
        into[length] = '\0';
        SetEvent(dataReady);
        UnmapViewOfFile(view);
    }
    if (mapping != nullptr)
        CloseHandle(mapping);
    if (dataReady != nullptr)
        CloseHandle(dataReady);
    if (bufferReady != nullptr)
        CloseHandle(bufferReady);
}
