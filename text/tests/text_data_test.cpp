// The text tool's data as the build wrote it: what the tray, the font list,
// the box's handles and the tool read by number is there and loads.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "engine/picture_collection.h"
#include "engine/picture_loader.h"
#include "engine/record_table.h"
#include "engine/script_file.h"
#include "engine/tests/built_data.h"
#include "framework/folders.h"
#include "media/sound/sound_collection.h"
#include "media/sound/sound_loader.h"
#include "text/font_scroll_list.h"
#include "text/text_box.h"
#include "text/text_tool.h"
#include "text/text_tray.h"

namespace {

struct Table : MMRecordTable {
    Table(MMResourceId id, int32_t rowSize) { Load(id, rowSize, nullptr); }
};

struct TextData : ::testing::Test {
    static void SetUpTestSuite()
    {
        FSDirectory folder = BuiltDataFolder();
        ASSERT_TRUE(OpenBuiltData()) << "run scripts/make-data.sh";
        for (const char* name : {"Hd.MMA", "App.MMA"})
            ASSERT_NE(nullptr, CreateSoundLoader(name, folder, false)) << name;
    }
    static void TearDownTestSuite()
    {
        DeleteAllPictureCollections();
        DeleteAllSoundCollections();
        CloseAllScriptFiles();
    }
    static void ExpectPicture(MMPictureID id)
    {
        MMPictureReference picture;
        picture.Load(id);
        EXPECT_FALSE(picture.IsEmpty()) << std::hex << id;
    }
    static void ExpectSound(MMResourceId id)
    {
        EXPECT_NE(nullptr, MMFindSoundCollection(id)) << std::hex << id;
    }
    static std::string Text(int16_t key)
    {
        Table texts(0, 10);
        int32_t row = texts.FindRowByKey(key);
        return row < 0 ? "(missing)" : texts.StringAt(row, 2);
    }
};

}  // namespace

TEST_F(TextData, TheTrayItsSlidersAndTheFontList)
{
    Table tray(kTextTrayTable, 16);
    for (int16_t key : {1, 2, 3, 4, 5}) {
        int32_t row = tray.FindRowByKey(key);
        ASSERT_GE(row, 0) << key;
        ExpectPicture(tray.LongAt(row, 6));
        ExpectPicture(tray.LongAt(row, 10));
    }
    Table pictures(tray.LongAt(tray.FindRowByKey(kTextTrayFontPicturesRow), 2), 8);
    ASSERT_EQ(kFontPictureCount, pictures.RowCount());
    for (int32_t r = 0; r < pictures.RowCount(); ++r)
        ExpectPicture(pictures.LongAt(r, 4));
    Table set(tray.LongAt(tray.FindRowByKey(kTextTraySlidersRow), 2), 10);
    ASSERT_EQ(2, set.RowCount());
    for (int32_t s = 0; s < 2; ++s) {
        Table slider(set.LongAt(s, 2), 10);
        Table range(slider.LongAt(0, 2), 10);
        EXPECT_EQ(510, range.LongAt(range.FindRowByKey(6), 2));
        Table place(slider.LongAt(slider.FindRowByKey(1), 2), 8);
        ExpectPicture(place.LongAt(0, 4));
        ExpectPicture(slider.LongAt(slider.FindRowByKey(2), 2));
        Table previews(slider.LongAt(slider.FindRowByKey(3), 2), 8);
        EXPECT_GE(previews.RowCount(), 2);
        for (int32_t r = 0; r < previews.RowCount(); ++r)
            ExpectPicture(previews.LongAt(r, 4));
    }
    EXPECT_EQ("...", Text(kFontSuffixKey));
    EXPECT_EQ("DejaVu Sans", Text(kFontListFaceKey));
    EXPECT_EQ("DejaVu Sans", Text(kStartFaceKey));
    EXPECT_GT(std::atoi(Text(kFontListSizeKey).c_str()), 0) << "a size in pixels, as decimal text";
    ExpectSound(kFontListOpenSound);
}

TEST_F(TextData, TheToolTheBoxHandlesAndTheirCursors)
{
    Table settings(kTextToolTable, 48);
    ASSERT_EQ(5, settings.RowCount()) << "a row for each size";
    for (int32_t r = 0; r < 5; ++r) {
        EXPECT_EQ(510, settings.ShortAt(r, 36)) << "full colour";
        EXPECT_EQ(255, settings.ShortAt(r, 38)) << "no relief";
    }
    Table cursors(760, 10);
    int32_t row = cursors.FindRowByKey(kTextToolCursorKey);
    ASSERT_GE(row, 0);
    EXPECT_EQ(4, cursors.LongAt(row, 2));
    // The handles' cursors (0 and 4, 29 and 5 while dragged) are the
    // program's own, 128 onwards.
    HMODULE program = GetModuleHandleA(nullptr);
    for (int n : {0, 4, 5, 29})
        EXPECT_NE(nullptr, FindResourceA(program, MAKEINTRESOURCEA(128 + n), RT_GROUP_CURSOR)) << n;
    for (MMResourceId handle : {765, 766}) {
        Table t(handle, 8);
        ASSERT_EQ(1, t.RowCount());
        ExpectPicture(t.LongAt(0, 0));
        ExpectPicture(t.LongAt(0, 4));
    }
    ExpectSound(kTextToolSound);
    Table sounds(kStampSoundsTable, 10);
    for (int key : {kSoundScaleStart, kSoundMoveStart, kSoundHandleEnd})
        ExpectSound(sounds.LongAt(sounds.FindRowByKey(int16_t(key)), 2));
}
