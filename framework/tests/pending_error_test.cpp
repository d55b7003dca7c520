#include <gtest/gtest.h>

#include <string>
#include <windows.h>
#include "framework/folders.h"
#include "framework/pending_error.h"
#include "framework/thread.h"

namespace {

class PendingErrorTest : public ::testing::Test {
protected:
    void SetUp() override { ClearPendingError(); }
    void TearDown() override { ClearPendingError(); }

    // An existing folder, since a folder and a name are joined only when the
    // folder exists.
    static FSDirectory ExistingFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        std::string path = std::string(temp) + "fw1 data\\";
        CreateDirectoryA(path.c_str(), nullptr);
        return FSDirectory(path.c_str());
    }
};

TEST_F(PendingErrorTest, FirstErrorWinsWhole)
{
    FSDirectory folder = ExistingFolder();
    EXPECT_FALSE(IsErrorPending());
    EXPECT_FALSE(SetPendingError(MME_SOUND_RESOURCE_FILE_BAD_READ, folder, "first.mma", 5));
    EXPECT_FALSE(SetPendingError(MME_SCRIPT_FILE_NOT_FOUND, FSDirectory(), "second.mms", 2));
    EXPECT_FALSE(FailWithoutError());
    EXPECT_TRUE(IsErrorPending());
    EXPECT_EQ(gPendingError.code, MME_SOUND_RESOURCE_FILE_BAD_READ);
    EXPECT_EQ(gPendingError.systemError, 5);
    EXPECT_STREQ(gPendingError.name, "first.mma");
    EXPECT_TRUE(gPendingError.folder == folder);

    ClearPendingError();
    EXPECT_FALSE(IsErrorPending());
    EXPECT_STREQ(gPendingError.name, "");
    EXPECT_FALSE(gPendingError.folder.IsValid());
    EXPECT_FALSE(FailWithoutError());
    EXPECT_EQ(gPendingError.code, AFE_FAILURE_WITHOUT_ERROR);
}

class Recorder : public ALUserThread {
public:
    Recorder(int32_t code, const char* name, HANDLE go) : code(code), name(name), go(go) {}
    void Run() override
    {
        WaitForSingleObject(go, INFINITE);
        SetPendingError(code, FSDirectory(), name, code * 10);
    }
    int32_t code;
    const char* name;
    HANDLE go;
};

TEST_F(PendingErrorTest, TwoThreadsNeverMixTheirRecords)
{
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    for (int round = 0; round < 50; ++round) {
        ClearPendingError();
        ResetEvent(go);
        Recorder a(MME_PICTURE_RESOURCE_FILE_BAD_READ, "pictures.mmp", go);
        Recorder b(MME_SOUND_RESOURCE_FILE_BAD_SEEK, "sounds.mma", go);
        a.Resume();
        b.Resume();
        SetEvent(go);
        a.WaitForEnd();
        b.WaitForEnd();
        bool first = gPendingError.code == MME_PICTURE_RESOURCE_FILE_BAD_READ;
        ASSERT_STREQ(gPendingError.name, first ? "pictures.mmp" : "sounds.mma");
        ASSERT_EQ(gPendingError.systemError, gPendingError.code * 10);
    }
    CloseHandle(go);
}

TEST_F(PendingErrorTest, LongNamesAndTextsAreCutToTheirFields)
{
    std::string longName(200, 'n');
    SetPendingErrorText(std::string(3000, 't').c_str(), FSDirectory(), longName.c_str(), 0);
    EXPECT_EQ(std::string(gPendingError.name), std::string(kPendingNameSize - 1, 'n'));
    EXPECT_EQ(std::string(gPendingError.userText), std::string(kPendingUserTextSize - 1, 't'));
}

TEST_F(PendingErrorTest, MessagesNameTheFile)
{
    FSDirectory folder = ExistingFolder();
    std::string joined = std::string(folder.Path()) + "pics.pic";
    struct Case {
        int32_t code;
        FSDirectory folder;
        const char* name;
        std::string expected;
    } cases[] = {
        {MME_PICTURE_RESOURCE_FILE_BAD_CHECKSUM, folder, "pics.pic",
         "Bad checksum in picture resource file '" + joined + "'."},
        {MME_PICTURE_RESOURCE_FILE_NOT_FOUND, FSDirectory(), "",
         "Cannot find picture resource file '<fichier inconnu>'."},
        {MME_SCRIPT_FILE_BAD_SEEK, FSDirectory(), "Hd.mms",
         "Seek error on script resource file 'Hd.mms'."},
        // A folder that does not exist is not joined: the name stands alone.
        {MME_SOUND_RESOURCE_FILE_BAD_HEADER, FSDirectory("C:\\no such folder\\"), "App.MMA",
         "Bad header in sound resource file 'App.MMA'."},
        {AFE_BAD_CURSOR, FSDirectory(), "", "Could not load cursor."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatPendingError(c.code, c.folder, c.name), c.expected) << c.code;
    EXPECT_STREQ(ErrorName(MME_FILM_RESOURCE_FILE_BAD_WRITE), "MME_FILM_RESOURCE_FILE_BAD_WRITE");
    EXPECT_STREQ(ErrorMessage(APE_NO_ERROR), "No error.");
}

TEST_F(PendingErrorTest, UserTextIsNeverUsedAsAFormat)
{
    SetPendingErrorText("%d%n%x in %s done 100%", FSDirectory(), "a.txt", 0);
    EXPECT_STREQ(FormatPendingError(AFE_USER_ERROR, FSDirectory(), "a.txt"),
                 "%d%n%x in a.txt done 100%");
}

TEST_F(PendingErrorTest, SystemTextFallsBackToTheStringTable)
{
    std::string known = SystemErrorText(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(known.empty());
    EXPECT_STRNE(known.c_str(), "Erreur syst\xe8me inconnue");
    // A system text with an insert comes back as it stands, insert and all.
    std::string withInsert = SystemErrorText(ERROR_BAD_EXE_FORMAT);
    EXPECT_NE(withInsert.find("%1"), std::string::npos) << withInsert;
    // Resolved through the program's string table (French).
    wchar_t expected[64];
    LoadStringW(GetModuleHandleW(nullptr), 553, expected, 64);
    EXPECT_STREQ(expected, L"Erreur syst\u00e8me inconnue");
    char unknown[256];
    lstrcpynA(unknown, SystemErrorText(0x7FFF1234), sizeof(unknown));
    char fromTable[256];
    LoadStringA(GetModuleHandleA(nullptr), 553, fromTable, sizeof(fromTable));
    EXPECT_STREQ(unknown, fromTable);
}

TEST_F(PendingErrorTest, KeyedLookupFollowsAliasesAndStopsOnCycles)
{
    char out[256];
    EXPECT_TRUE(LookupKeyedString("alpha", 60, out));
    EXPECT_STREQ(out, "Bonjour");
    EXPECT_TRUE(LookupKeyedString("beta", 60, out));
    EXPECT_STREQ(out, "Bonjour");
    EXPECT_FALSE(LookupKeyedString("loop1", 60, out));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(LookupKeyedString("gamma", 60, out));  // an alias to nothing
    EXPECT_FALSE(LookupKeyedString("missing", 60, out));
    EXPECT_STREQ(out, "");
}

}  // namespace
