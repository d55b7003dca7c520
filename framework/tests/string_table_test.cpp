#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <windows.h>
#include "framework/cursor.h"
#include "framework/folders.h"
#include "framework/heap.h"
#include "framework/pending_error.h"
#include "framework/string_table.h"

namespace {

std::wstring WideString(UINT id)
{
    wchar_t buffer[256] = L"";
    LoadStringW(GetModuleHandleW(nullptr), id, buffer, 256);
    return buffer;
}

TEST(StringTableTest, ProgramStringsAndGroupIds)
{
    EXPECT_EQ(GroupStringId(450, 0), 56784);
    EXPECT_EQ(GroupStringId(650, 0), 60176);
    EXPECT_EQ(WideString(550), L"Erreur de Tavelo, Vornique 2");
    EXPECT_EQ(WideString(551), L"<fichier inconnu>");
    EXPECT_EQ(WideString(552), L"Erreur inconnue");
    EXPECT_EQ(WideString(553), L"Erreur syst\u00e8me inconnue");
    EXPECT_EQ(WideString(56784), L"Veuillez r\u00e9ins\u00e9rer le CD-ROM.");
    EXPECT_EQ(WideString(56785), L"CD-ROM absent.");

    char buffer[256];
    ASSERT_TRUE(LoadGroupString(kGroupCDRetry, 1, buffer));
    EXPECT_STREQ(buffer, "CD-ROM absent.");
    EXPECT_TRUE(LoadGroupStringOrDefault(kGroupCDRetry, 0, buffer, "Reinsert the CD"));
    EXPECT_STRNE(buffer, "Reinsert the CD");
    EXPECT_FALSE(LoadResourceStringOrDefault(549, buffer, "Application Error"));
    EXPECT_STREQ(buffer, "Application Error");
    EXPECT_FALSE(LoadResourceString(549, buffer));
    EXPECT_STREQ(buffer, "");
}

TEST(StringTableTest, TimeStampsDecodeWithMonthsFromZero)
{
    TimeStampParts parts = DecodeTimeStamp(0x25CCB185);
    EXPECT_EQ(parts.year, 1999);
    EXPECT_EQ(parts.month, 7);  // August
    EXPECT_EQ(parts.day, 6);
    EXPECT_EQ(parts.hour, 11);
    EXPECT_EQ(parts.minute, 6);
    EXPECT_EQ(parts.second, 5);
    EXPECT_EQ(EncodeTimeStamp(parts), 0x25CCB185u);
    EXPECT_EQ(LookUpTimeStamp("MMP", 0x4000), 0x25CCB185u);
    EXPECT_EQ(LookUpTimeStamp("MMP", 0xDEA8), 0x25E2C8FAu);
    EXPECT_EQ(LookUpTimeStamp("MMS", 0), 0x261B13EFu);
    EXPECT_EQ(LookUpTimeStamp("MMS", 1), 0u);
    EXPECT_STREQ(RegisterTimeStampName(), "REGISTER_TIMESTAMP");
    EXPECT_GE(DecodeTimeStamp(CurrentTimeStamp()).year, 2020);
}

TEST(StringTableTest, VersionValuesUseLanguageThenCodePage)
{
    FSDirectory folder;
    char name[64];
    ASSERT_TRUE(FSProgramFolderAndName(folder, name));
    AFHeap heap;
    {
        VersionInfo info(folder.Path(), name, &heap);
        ASSERT_TRUE(info.IsValid());
        EXPECT_STREQ(info.Translation(), "040C04E4");
        char value[256];
        EXPECT_TRUE(info.Value("ProductName", value));
        EXPECT_STREQ(value, "Pennaro");
        EXPECT_FALSE(info.Value("NoSuchValue", value));
        EXPECT_STREQ(value, "");
    }
    EXPECT_EQ(heap.currentBytes, 0u);
    char version[256];
    EXPECT_TRUE(FileVersion(version));
    EXPECT_STREQ(version, "1.0");
}

class CursorTest : public ::testing::Test {
protected:
    void SetUp() override { ClearPendingError(); }
    void TearDown() override { ClearPendingError(); }
};

TEST_F(CursorTest, AnimatedCursorsFallBackToFilesAndPlainResources)
{
    AFCursor animated;
    EXPECT_TRUE(animated.LoadAnimated(170));
    EXPECT_NE(animated.cursor, nullptr);

    AFCursor plain;
    EXPECT_TRUE(plain.LoadAnimated(128));
    EXPECT_TRUE(plain.loaded);

    // Resource 171 is rejected; the file CUR171.ANI beside the program
    // stands in for it.
    AFCursor rejected;
    DeleteFileA("CUR171.ANI");
    EXPECT_FALSE(rejected.LoadAnimated(171));
    EXPECT_EQ(gPendingError.code, AFE_BAD_CURSOR);
    ClearPendingError();
    HRSRC good = FindResourceA(nullptr, MAKEINTRESOURCEA(170), MAKEINTRESOURCEA(21));
    ASSERT_NE(good, nullptr);
    FILE* file = fopen("CUR171.ANI", "wb");
    ASSERT_NE(file, nullptr);
    fwrite(LockResource(LoadResource(nullptr, good)), 1, SizeofResource(nullptr, good), file);
    fclose(file);
    EXPECT_TRUE(rejected.LoadAnimated(171));
    EXPECT_NE(rejected.cursor, nullptr);
    DeleteFileA("CUR171.ANI");

    AFCursor missing;
    EXPECT_FALSE(missing.LoadAnimated(999));
    EXPECT_EQ(gPendingError.code, AFE_BAD_CURSOR);
    EXPECT_NE(gPendingError.systemError, 0);
    EXPECT_FALSE(missing.loaded);
}

TEST_F(CursorTest, TheFrameworkSetHasFourCursors)
{
    AFCursorSet set;
    ASSERT_TRUE(set.Load());
    EXPECT_EQ(set.arrow->cursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(set.iBeam->cursor, LoadCursorA(nullptr, IDC_IBEAM));
    EXPECT_EQ(set.wait->cursor, LoadCursorA(nullptr, IDC_WAIT));
    EXPECT_TRUE(set.empty->loaded);
    EXPECT_EQ(set.empty->cursor, nullptr);
    set.Free();
    EXPECT_EQ(set.arrow, nullptr);
    EXPECT_FALSE(IsErrorPending());
}

}  // namespace
