// Record tables: rows found by key, fields read in place, the big-endian twin
// reading the same 16-bit values, the Mac Roman conversion, and damaged
// tables loading empty.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include "engine/record_table.h"
#include "engine/script_file.h"
#include "framework/pending_error.h"
#include "resource_fixture.h"

namespace {

class RecordTableTest : public ::testing::Test {
protected:
    void SetUp() override { ClearPendingError(); }
    void TearDown() override
    {
        CloseAllScriptFiles();
        ClearPendingError();
    }
    TempFolder temp;
};

TEST_F(RecordTableTest, RowsAndFieldsReadTheSameInBothByteOrders)
{
    auto tables = StandardTables();
    ASSERT_TRUE(WriteScriptFile(temp.Folder(), "w.mms", tables, 4, -1, 1252));
    EXPECT_EQ(ReadFileBytes(temp.Folder(), "w.mms"), SerializeScriptFile(tables, 4, -1, 1252, false));
    ASSERT_TRUE(WriteFileBytes(temp.Folder(), "be.mms", SerializeScriptFile(tables, 4, -1, 1252, true)));

    for (const char* name : {"w.mms", "be.mms"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(OpenScriptFile(temp.Folder(), name));
        MMRecordTable table;
        table.Load(0, 10, nullptr);
        ASSERT_EQ(6, table.RowCount());
        EXPECT_EQ(Box({10, 20, 30, 40}), table.RectAt(0, 2));
        EXPECT_EQ(Pair({-3, 4}), table.PairAt(1, 2));
        EXPECT_STREQ("Bonjour", table.StringAt(1, 6));
        EXPECT_STREQ("", table.StringAt(3, 2));
        EXPECT_EQ(1, table.FindRowByKey(7));
        EXPECT_EQ(4, table.FindRow(0, 0, 2, 7));    // the third row keyed 7
        EXPECT_EQ(-1, table.FindRow(0, 0, 3, 7));
        EXPECT_EQ(2, table.FindRow(2, 0, 0, 7));    // walking on from a start row
        EXPECT_EQ(9, table.FindRow(9, 0, -1, 7));   // k = -1: the start, unsearched
        EXPECT_EQ(3, table.CountRows(0, 0, 7));
        EXPECT_EQ(0, table.CountRows(6, 0, 7));
        EXPECT_EQ(-1, table.FindRow(0, 2, 0, 99));
        // Items 2 -> table 3; -1 stays -1; item 1 maps to no table.
        EXPECT_EQ(3, table.ItemIdAt(2, 2));
        EXPECT_EQ(-1, table.ItemIdAt(2, 4));
        EXPECT_EQ(-1, table.ItemIdAt(2, 6));
        EXPECT_EQ(0x1234, table.ShortAt(5, 0));
        // A 32-bit field travels as two 16-bit words in file order.
        EXPECT_EQ(0x11223344, table.LongAt(5, 2));

        MMRecordTable layout;
        layout.Load(3, 8, nullptr);
        ASSERT_EQ(2, layout.RowCount());
        Pair point;
        EXPECT_EQ(Pair({-1, -2}), layout.FirstPairAt(1, point));
        EXPECT_EQ(int16_t(2), layout.ShortAt(0, 4));
        EXPECT_EQ(0x4000, layout.ShortAt(0, 6));

        MMRecordTable small;
        small.Load(2, 2, nullptr);
        EXPECT_EQ(2, small.RowCount());
        EXPECT_EQ(7, small.ShortAt(1, 0));
        CloseScriptFile(kTestScriptCollection);
    }
    EXPECT_FALSE(IsErrorPending());
}

TEST_F(RecordTableTest, FieldsOutsideTheTableReadAsNothing)
{
    ASSERT_TRUE(WriteScriptFile(temp.Folder(), "w.mms", StandardTables(), 4, -1, 1252));
    ASSERT_TRUE(OpenScriptFile(temp.Folder(), "w.mms"));
    MMRecordTable table;
    table.Load(0, 10, nullptr);
    EXPECT_EQ(0, table.ShortAt(-1, 0));                  // a row FindRow did not find
    EXPECT_EQ(0, table.LongAt(0, table.ByteSize()));
    EXPECT_STREQ("", table.StringAt(-1, 6));
    EXPECT_STREQ("", table.StringAt(5, 2));              // an offset beyond the strings
    table.Free();
    EXPECT_EQ(0, table.RowCount());
    EXPECT_EQ(0, table.ShortAt(0, 0));
}

// Each item i holds the raw bytes given and is table i.
bool WriteRawScript(const FSDirectory& folder, const std::vector<std::vector<uint8_t>>& items)
{
    MMScriptFile file;
    int16_t n = int16_t(items.size());
    if (!file.Create(folder, "raw.mms", FSFileKind(), n, 0)) return false;
    for (int16_t i = 0; i < n; ++i) {
        if (i != 1) file.MapTable(i, i);  // table 1 stays unmapped
        file.SetItemOffset(i, file.Tell());
        if (!items[i].empty()) file.Writer().WriteBytes(items[i].data(), int32_t(items[i].size()));
    }
    return file.Close(true);
}

TEST_F(RecordTableTest, DamagedTablesLoadEmpty)
{
    auto table = [](int32_t rows, std::vector<uint8_t> body) {
        std::vector<uint8_t> item;
        PutLong(item, rows);
        item.insert(item.end(), body.begin(), body.end());
        return item;
    };
    std::vector<std::vector<uint8_t>> items = {
        table(1, {1, 0, 2, 0, 'a', 0}),             // 0: sound, 4-byte rows and "a"
        table(1, {1, 0, 2, 0}),                     // 1: unmapped
        {1, 0},                                     // 2: under 4 bytes
        table(1000, {1, 0, 2, 0}),                  // 3: more rows than bytes
        table(1, {1, 0, 2, 0, 'a', 'b'}),           // 4: unterminated last string
        table(-1, {1, 0, 2, 0}),                    // 5: negative row count
        {},                                         // 6: empty item
    };
    ASSERT_TRUE(WriteRawScript(temp.Folder(), items));
    ASSERT_TRUE(OpenScriptFile(temp.Folder(), "raw.mms"));
    const struct {
        const char* what;
        MMResourceId id;
        int32_t rows;
    } cases[] = {
        {"sound table", 0, 1},
        {"table mapped to -1", 1, 0},
        {"item under 4 bytes", 2, 0},
        {"rows beyond the item", 3, 0},
        {"unterminated last string", 4, 0},
        {"negative row count", 5, 0},
        {"empty item", 6, 0},
        {"table number out of range", 7, 0},
        {"negative table number", 0xFFFF, 0},
        {"unregistered collection", 0x00090000, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MMRecordTable records;
        records.Load(c.id, 4, nullptr);
        EXPECT_EQ(c.rows, records.RowCount());
        EXPECT_EQ(c.rows ? 0 : -1, records.FindRowByKey(1));
    }
    EXPECT_FALSE(IsErrorPending());
}

TEST_F(RecordTableTest, MacRomanTextsBecomeAnsiTexts)
{
    if (GetACP() != 1252) GTEST_SKIP() << "needs the ANSI code page 1252";
    // Code page 10000 + 0: Mac Roman, prepared for 1252.
    ASSERT_TRUE(WriteScriptFile(temp.Folder(), "mac.mms", StandardTables(), 4, 0, 1252));
    ASSERT_TRUE(OpenScriptFile(temp.Folder(), "mac.mms"));
    MMRecordTable table;
    table.Load(0, 10, nullptr);
    EXPECT_STREQ("Bonjour", table.StringAt(1, 6));
    EXPECT_STREQ("", table.StringAt(3, 2));
    EXPECT_STREQ("\xE9t\xE9", table.StringAt(3, 6));    // Mac 0x8E is e acute
    // A text of 400 bytes or more goes through a heap buffer.
    const char* longText = table.StringAt(3, 6) + 4;
    ASSERT_EQ(500u, std::strlen(longText));
    EXPECT_EQ(std::string(500, '\xE7'), longText);       // Mac 0x8D is c cedilla
    // The rows are never converted.
    EXPECT_EQ(0x1234, table.ShortAt(5, 0));
}

TEST_F(RecordTableTest, FilesForAnotherCodePageAreRefusedQuietly)
{
    ASSERT_TRUE(WriteScriptFile(temp.Folder(), "other.mms", StandardTables(), 4, 0, int16_t(GetACP() + 1)));
    EXPECT_FALSE(OpenScriptFile(temp.Folder(), "other.mms"));
    EXPECT_FALSE(IsErrorPending());
    EXPECT_EQ(nullptr, MMRecordTableDirectory().Find(0));

    ASSERT_TRUE(WriteScriptFile(temp.Folder(), "any.mms", StandardTables(), 4, -1, int16_t(GetACP() + 1)));
    EXPECT_TRUE(OpenScriptFile(temp.Folder(), "any.mms"));
    EXPECT_NE(nullptr, MMRecordTableDirectory().Find(0));
}

}  // namespace
