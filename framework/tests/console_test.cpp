#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "framework/console.h"
#include "scratch_folder.h"

namespace {

std::string ReadAll(const FSDirectory& folder, const char* name)
{
    std::string path = std::string(folder.Path()) + name;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return "<missing>";
    std::string bytes;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, n);
    std::fclose(file);
    return bytes;
}

class RecordingConsole : public UUConsole {
public:
    void Write(const char* text) override { written += text; }
    std::string written;
};

}  // namespace

TEST(Consoles, LogFileTruncatesOrAppends)
{
    ScratchFolder scratch;
    scratch.WriteFile("log.txt", "old line\n");
    {
        UULogFileConsole console(scratch.folder, "log.txt", FSFileKind(), true);
        ASSERT_TRUE(console.IsOpen());
        console.Printf("%s %d\n", "appended", 1);
    }
    EXPECT_EQ("old line\nappended 1\n", ReadAll(scratch.folder, "log.txt"));
    {
        UULogFileConsole console(scratch.folder, "log.txt", FSFileKind(), false);
        console.Write("fresh");
    }
    EXPECT_EQ("fresh", ReadAll(scratch.folder, "log.txt"));
    {
        UULogFileConsole console(scratch.folder, "new.txt", FSFileKind(), true);
        console.Write("made");
    }
    EXPECT_EQ("made", ReadAll(scratch.folder, "new.txt"));
}

TEST(Consoles, PrintfCutsAt999Bytes)
{
    RecordingConsole console;
    std::string long1500(1500, 'x');
    console.Printf("%s!", long1500.c_str());
    EXPECT_EQ(std::string(999, 'x'), console.written);
}

TEST(Consoles, StandardStreamWritesOrSwallows)
{
    ScratchFolder scratch;
    std::string path = std::string(scratch.folder.Path()) + "stream.txt";
    FILE* stream = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, stream);
    UUStandardFileIOConsole console(stream);
    console.Printf("value %d", 42);
    std::fclose(stream);
    EXPECT_EQ("value 42", ReadAll(scratch.folder, "stream.txt"));

    UUStandardFileIOConsole nowhere(nullptr);
    nowhere.Write("lost");  // nothing to write to, nothing happens
}

// A debug monitor's side of the channel.
class DebugMonitor : public ::testing::Test {
protected:
    void SetUp() override
    {
        bufferReady = CreateEventA(nullptr, FALSE, TRUE, "DBWIN_BUFFER_READY");
        dataReady = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY");
        mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096,
                                     "DBWIN_BUFFER");
        ASSERT_NE(nullptr, bufferReady);
        ASSERT_NE(nullptr, dataReady);
        ASSERT_NE(nullptr, mapping);
        view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 512));
        ASSERT_NE(nullptr, view);
    }
    void TearDown() override
    {
        UnmapViewOfFile(view);
        CloseHandle(mapping);
        CloseHandle(dataReady);
        CloseHandle(bufferReady);
    }
    HANDLE bufferReady = nullptr;
    HANDLE dataReady = nullptr;
    HANDLE mapping = nullptr;
    char* view = nullptr;
};

TEST_F(DebugMonitor, ChannelCarriesProcessIdAndAtMost507Bytes)
{
    std::string text(600, 'y');
    WriteToDebugChannel(text.c_str());
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(dataReady, 0));
    DWORD process = 0;
    std::memcpy(&process, view, sizeof process);
    EXPECT_EQ(GetCurrentProcessId(), process);
    EXPECT_EQ(std::string(507, 'y'), std::string(view + 4));
}

TEST_F(DebugMonitor, NothingIsWrittenOnWindowsNT)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(GetVersionExA(&version));
    ASSERT_EQ(static_cast<DWORD>(VER_PLATFORM_WIN32_NT), version.dwPlatformId);
    DebugChannelWrite("hello");
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(dataReady, 0));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(bufferReady, 0));  // still the monitor's
    EXPECT_EQ(0, view[4]);
}
