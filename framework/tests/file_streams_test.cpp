#include <gtest/gtest.h>

#include <vector>

#include <windows.h>

#include <cstring>

#include "framework/files.h"
#include "scratch_folder.h"

TEST(FileStreams, MissingFileGivesTheSystemError)
{
    ScratchFolder scratch;
    FSFile file(scratch.folder, "missing.bin");
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, file.GetError());

    FSFile inMissingFolder;
    EXPECT_FALSE(inMissingFolder.Open(FSDirectory("C:\\no\\such\\folder"), "x", FS_OPEN_READ));
    EXPECT_NE(0, inMissingFolder.GetError());
    EXPECT_FALSE(inMissingFolder.Open(scratch.folder, "x", 7));
}

TEST(FileStreams, WritesSeeksAndReadsTypedValues)
{
    ScratchFolder scratch;
    {
        FSFile file(scratch.folder, "data.bin", FS_OPEN_CREATE, FSFileKind());
        ASSERT_TRUE(file.IsOpen());
        EXPECT_FALSE(file.IsReadOnly());
        const int32_t values[3] = {10, -20, 30};
        EXPECT_TRUE(file.WriteByteOrderMark());
        EXPECT_TRUE(file.WriteLongs(values, 3));
        EXPECT_EQ(14, file.Tell());
        EXPECT_TRUE(file.Close());
    }
    FSFile file(scratch.folder, "data.bin");
    ASSERT_TRUE(file.IsOpen());
    EXPECT_TRUE(file.IsReadOnly());
    int32_t position = 0;
    EXPECT_TRUE(file.Seek(-4, FS_SEEK_FROM_END, &position));
    EXPECT_EQ(10, position);
    int32_t last = 0;
    EXPECT_TRUE(file.ReadLongs(&last));
    EXPECT_EQ(30, last);

    // A file opened for reading refuses writes with the system's error.
    EXPECT_FALSE(file.WriteLongs(&last));
    EXPECT_EQ(ERROR_ACCESS_DENIED, file.GetError());
}

TEST(FileStreams, ShortReadGivesEndOfFileAndSeekPastEndSucceeds)
{
    ScratchFolder scratch;
    scratch.WriteFile("ten.bin", "0123456789");
    FSFile file(scratch.folder, "ten.bin");
    ASSERT_TRUE(file.Seek(6, FS_SEEK_FROM_START, nullptr));
    char buffer[10];
    EXPECT_FALSE(file.ReadBytes(buffer, 10));
    EXPECT_EQ(FS_ERROR_END_OF_FILE, file.GetError());

    file.SetError(0);
    int32_t position = 0;
    EXPECT_TRUE(file.Seek(100, FS_SEEK_FROM_START, &position));
    EXPECT_EQ(100, position);
    EXPECT_FALSE(file.ReadBytes(buffer, 1));
    EXPECT_EQ(FS_ERROR_END_OF_FILE, file.GetError());

    // A negative count is a caller's miscount, not an empty read.
    file.SetError(0);
    EXPECT_FALSE(file.ReadBytes(buffer, -1));
    EXPECT_EQ(FS_ERROR_BAD_COUNT, file.GetError());
    file.SetError(0);
    EXPECT_TRUE(file.ReadBytes(buffer, 0));
}

TEST(FileStreams, SetEndCutsTheFileAndOpenOrCreateKeepsIt)
{
    ScratchFolder scratch;
    scratch.WriteFile("cut.bin", "abcdefgh");
    {
        FSFile file(scratch.folder, "cut.bin", FS_OPEN_READ_WRITE, FSFileKind());
        ASSERT_TRUE(file.IsOpen());
        ASSERT_TRUE(file.Seek(3, FS_SEEK_FROM_START, nullptr));
        EXPECT_TRUE(file.SetEnd());
    }
    int32_t size = 0;
    EXPECT_TRUE(FSGetFileSize(scratch.folder, "cut.bin", size));
    EXPECT_EQ(3, size);
}

TEST(MemoryStreams, BoundsOfAnEightByteBuffer)
{
    uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    FSMemory stream(bytes, sizeof bytes);
    int32_t position = 0;
    EXPECT_TRUE(stream.Seek(8, FS_SEEK_FROM_START, &position));
    EXPECT_EQ(8, position);
    uint8_t b = 0;
    EXPECT_FALSE(stream.ReadBytes(&b, 1));
    EXPECT_EQ(FS_ERROR_OUT_OF_RANGE, stream.GetError());

    stream.SetError(0);
    EXPECT_FALSE(stream.Seek(9, FS_SEEK_FROM_START, &position));
    EXPECT_EQ(-1, position);
    EXPECT_EQ(FS_ERROR_OUT_OF_RANGE, stream.GetError());

    stream.SetError(0);
    EXPECT_FALSE(stream.Seek(-1, FS_SEEK_FROM_START, nullptr));
    stream.SetError(0);
    EXPECT_TRUE(stream.Seek(-2, FS_SEEK_FROM_END, &position));
    EXPECT_EQ(6, position);
    const uint8_t two[2] = {0xAA, 0xBB};
    EXPECT_TRUE(stream.WriteBytes(two, 2));
    EXPECT_FALSE(stream.WriteBytes(two, 1));  // nothing written past the end
    EXPECT_EQ(0xBB, bytes[7]);
    stream.SetError(0);
    EXPECT_TRUE(stream.Seek(-3, FS_SEEK_FROM_CURRENT, &position));
    EXPECT_EQ(5, position);
}

namespace {

int gPrompts;
bool gPromptAnswer;
// Runs inside the prompt, as the user putting the CD back would.
void (*gOnPrompt)();

bool FakePrompt(const char*, const char*)
{
    ++gPrompts;
    if (gOnPrompt)
        gOnPrompt();
    return gPromptAnswer;
}

// A CD file whose handle can be replaced by one that cannot read, which
// makes ReadFile fail; `reportAs` turns that failure into the error of a
// drive whose disc was taken out.
class TestCDFile : public FSRecoverableCDFile {
public:
    TestCDFile(const FSDirectory& folder, const char* name) : FSRecoverableCDFile(folder, name) {}
    void SwapHandle(HANDLE other)
    {
        HANDLE mine = handle;
        handle = other;
        spare = mine;
    }
    bool ReadOnce(void* destination, int32_t count) override
    {
        bool ok = FSRecoverableCDFile::ReadOnce(destination, count);
        if (!ok && reportAs != 0 && GetError() == ERROR_ACCESS_DENIED)
            SetError(reportAs);
        return ok;
    }
    HANDLE spare = INVALID_HANDLE_VALUE;
    int32_t reportAs = 0;
};

TestCDFile* gFile;

class RecoverableFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        gPrompts = 0;
        gPromptAnswer = true;
        gOnPrompt = nullptr;
        previous = FSRecoverableCDFile::SetRetryPrompt(FakePrompt);
        scratch.WriteFile("cd.bin", "0123456789");
        path = std::string(scratch.folder.Path()) + "cd.bin";
    }
    void TearDown() override { FSRecoverableCDFile::SetRetryPrompt(previous); }
    // A second handle on the file that may move its position but not read.
    HANDLE OpenWithoutReading()
    {
        return CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    }

    ScratchFolder scratch;
    std::string path;
    FSRetryPrompt previous = nullptr;
};

}  // namespace

TEST_F(RecoverableFiles, TextsAreSharedAndDefaulted)
{
    FSRecoverableCDFile first;
    FSRecoverableCDFile second;
    EXPECT_STRNE("", first.Message());
    EXPECT_STRNE("", first.Caption());
    EXPECT_STREQ(first.Message(), second.Message());
    EXPECT_STREQ(first.Caption(), second.Caption());
}

TEST_F(RecoverableFiles, RetryReadsAgainFromWhereTheReadBegan)
{
    TestCDFile file(scratch.folder, "cd.bin");
    ASSERT_TRUE(file.IsOpen());
    HANDLE cannotRead = OpenWithoutReading();
    ASSERT_NE(INVALID_HANDLE_VALUE, cannotRead);
    ASSERT_TRUE(file.Seek(4, FS_SEEK_FROM_START, nullptr));
    SetFilePointer(cannotRead, 4, nullptr, FILE_BEGIN);
    file.SwapHandle(cannotRead);
    file.reportAs = ERROR_NOT_READY;
    gFile = &file;
    gOnPrompt = [] {
        // The CD is back, but the position moved meanwhile.
        HANDLE readable = gFile->spare;
        gFile->SwapHandle(readable);
        SetFilePointer(readable, 0, nullptr, FILE_END);
    };
    char buffer[4] = {};
    EXPECT_TRUE(file.ReadBytes(buffer, 4));
    EXPECT_EQ(1, gPrompts);
    EXPECT_EQ(0, std::memcmp(buffer, "4567", 4));
    CloseHandle(file.spare);
}

TEST_F(RecoverableFiles, CancelKeepsTheErrorAndEndOfFileFailsAtOnce)
{
    TestCDFile file(scratch.folder, "cd.bin");
    ASSERT_TRUE(file.IsOpen());
    char buffer[20];
    EXPECT_FALSE(file.ReadBytes(buffer, 20));
    EXPECT_EQ(FS_ERROR_END_OF_FILE, file.GetError());
    EXPECT_EQ(0, gPrompts);

    file.SetError(0);
    HANDLE cannotRead = OpenWithoutReading();
    file.SwapHandle(cannotRead);
    file.reportAs = ERROR_NO_MEDIA_IN_DRIVE;
    gPromptAnswer = false;
    EXPECT_FALSE(file.ReadBytes(buffer, 2));
    EXPECT_EQ(1, gPrompts);
    EXPECT_EQ(ERROR_NO_MEDIA_IN_DRIVE, file.GetError());
    file.SwapHandle(file.spare);
    CloseHandle(file.spare);
}

TEST_F(RecoverableFiles, OnlyAMissingDiscAsksForIt)
{
    TestCDFile file(scratch.folder, "cd.bin");
    ASSERT_TRUE(file.IsOpen());
    gPromptAnswer = false;
    char buffer[4];
    EXPECT_FALSE(file.ReadBytes(buffer, -1));
    EXPECT_EQ(FS_ERROR_BAD_COUNT, file.GetError());

    file.SetError(0);
    HANDLE cannotRead = OpenWithoutReading();
    file.SwapHandle(cannotRead);
    EXPECT_FALSE(file.ReadBytes(buffer, 2));
    EXPECT_EQ(ERROR_ACCESS_DENIED, file.GetError());
    EXPECT_EQ(0, gPrompts);
    file.SwapHandle(file.spare);
    CloseHandle(file.spare);

    for (int32_t error : std::vector<int32_t>{ERROR_NOT_READY, ERROR_WRONG_DISK,
                                              ERROR_NO_MEDIA_IN_DRIVE, ERROR_MEDIA_CHANGED})
        EXPECT_TRUE(FSRecoverableCDFile::IsMissingMedium(error)) << error;
    for (int32_t error : std::vector<int32_t>{0, ERROR_ACCESS_DENIED, ERROR_FILE_NOT_FOUND,
                                              FS_ERROR_END_OF_FILE, FS_ERROR_BAD_COUNT})
        EXPECT_FALSE(FSRecoverableCDFile::IsMissingMedium(error)) << error;
}
