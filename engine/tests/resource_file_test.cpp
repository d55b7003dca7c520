// Resource files: the writing side, both byte orders, and the header errors
// with their exact codes.
#include <gtest/gtest.h>
#include <cstring>
#include <functional>
#include "engine/picture_resource_file.h"
#include "engine/script_file.h"
#include "framework/pending_error.h"
#include "resource_fixture.h"

namespace {

class ResourceFileTest : public ::testing::Test {
protected:
    void SetUp() override { ClearPendingError(); }
    void TearDown() override { ClearPendingError(); }
    TempFolder temp;
};

TEST_F(ResourceFileTest, WriterMakesTheDocumentedLayoutAndReadsBackInBothOrders)
{
    auto pictures = StandardPictures();
    auto shared = StandardSharedTables();
    ASSERT_TRUE(WritePictureFile(temp.Folder(), "w.MMP", pictures, shared));
    EXPECT_EQ(ReadFileBytes(temp.Folder(), "w.MMP"), SerializePictureFile(pictures, shared, false));
    ASSERT_TRUE(WriteFileBytes(temp.Folder(), "be.MMP", SerializePictureFile(pictures, shared, true)));

    for (const char* name : {"w.MMP", "be.MMP"}) {
        SCOPED_TRACE(name);
        MMPictureResourceFile file;
        // The stored checksum is verified here, in both byte orders.
        ASSERT_TRUE(file.Open(temp.Folder(), name, true, true));
        EXPECT_EQ(std::strcmp(name, "be.MMP") == 0, file.IsBigEndian());
        EXPECT_EQ(kTestPictureCollection, file.CollectionId());
        EXPECT_EQ(11u, file.FirstStamp());
        EXPECT_EQ(22u, file.SecondStamp());
        ASSERT_EQ(6, file.ItemCount());
        ASSERT_EQ(2, file.SharedColorTableCount());
        EXPECT_TRUE(file.SharedColorTable(1)->Equals(shared[1]));
        for (int16_t i = 0; i < 6; ++i) {
            const TestPicture& p = pictures[i];
            EXPECT_EQ(Pair({p.width, p.height}), file.Size(i));
            EXPECT_EQ(p.bits, file.BitsPerPixel(i));
            EXPECT_EQ(p.transparency, file.TransparencyKind(i));
            EXPECT_EQ(p.encoded, file.IsEncoded(i));
            EXPECT_EQ(p.compressed ? int32_t(p.Content().size()) : 0, file.UnpackedSize(i));
            EXPECT_EQ(p.ownTable ? 1 : p.sharedTable >= 0 ? p.sharedTable + 2 : 0,
                      file.ColorTableByte(i));
            EXPECT_EQ(100 + i, file.ItemValue(i));
            EXPECT_STREQ(("pic" + std::to_string(i)).c_str(), file.ItemName(i));
        }
        EXPECT_EQ(int32_t(ReadFileBytes(temp.Folder(), name).size()), file.ItemOffset(5) + file.ItemSize(5));
        file.Close(false);
    }
    EXPECT_FALSE(IsErrorPending());
}

TEST_F(ResourceFileTest, WriterRefusesWhatCannotBeReadBack)
{
    auto pictures = StandardPictures();
    auto shared = StandardSharedTables();
    TestPicture good8 = pictures[1];   // 8-bit, shared table 1
    TestPicture good32 = pictures[2];  // 32-bit, no table
    const struct {
        const char* what;
        TestPicture picture;
        std::function<void(TestPicture&)> damage;
        const char* text;
    } cases[] = {
        {"own and shared table", good8, [](TestPicture& p) { p.ownTable = true; },
         "A picture has both its own and a shared colour table."},
        {"shared table the file lacks", good8, [](TestPicture& p) { p.sharedTable = 2; },
         "A picture names a shared colour table that the file does not hold."},
        {"8-bit alpha without a table", good8,
         [](TestPicture& p) {
             p.sharedTable = -1;
             p.transparency = p.bitmap.transparencyKind = kTransparencyStraight;
         },
         "An 8-bit picture with alpha has no colour table to hold it."},
        {"zero width", good32, [](TestPicture& p) { p.bitmap.box.right = p.bitmap.box.left; },
         "A picture has no pixels."},
        {"zero height", good8, [](TestPicture& p) { p.bitmap.box.bottom = 0; },
         "A picture has no pixels."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearPendingError();
        TestPicture picture = c.picture;
        picture.bitmap.pixels = picture.pixels.data();
        c.damage(picture);
        EXPECT_FALSE(WritePictureFile(temp.Folder(), "r.MMP", {picture}, shared));
        EXPECT_EQ(AFE_USER_ERROR, gPendingError.code);
        EXPECT_STREQ(c.text, gPendingError.userText);
        EXPECT_STREQ("r.MMP", gPendingError.name);
    }
    // A table is not needed for 8-bit pixels without alpha: the destination's serves.
    ClearPendingError();
    TestPicture bare = good8;
    bare.bitmap.pixels = bare.pixels.data();
    bare.sharedTable = -1;
    EXPECT_TRUE(WritePictureFile(temp.Folder(), "r.MMP", {bare}, shared));
    EXPECT_FALSE(IsErrorPending());

    auto tables = StandardTables();
    ASSERT_FALSE(tables[0].strings.empty());
    tables[0].strings.back() = 'x';
    EXPECT_FALSE(WriteScriptFile(temp.Folder(), "r.MMA", tables, 4, -1, 1252));
    EXPECT_EQ(AFE_USER_ERROR, gPendingError.code);
    EXPECT_STREQ("A record table's string area does not end with a NUL.", gPendingError.userText);
}

TEST_F(ResourceFileTest, EmptyFileAndSignatureTailAndSkippedNames)
{
    std::vector<uint8_t> bytes = SerializePictureFile({}, {}, false);
    ASSERT_EQ(size_t(40 + 2 + 2 + 2), bytes.size());  // one offset, the name word, version, count
    bytes[15] = 'x';  // after the title's terminator: anything goes
    ASSERT_TRUE(WriteFileBytes(temp.Folder(), "e.MMP", bytes));
    MMPictureResourceFile file;
    ASSERT_TRUE(file.Open(temp.Folder(), "e.MMP", false, false));
    EXPECT_EQ(0, file.ItemCount());

    // Without names, the names and values are skipped and the kind block
    // still reads correctly.
    auto pictures = StandardPictures();
    ASSERT_TRUE(WritePictureFile(temp.Folder(), "p.MMP", pictures, StandardSharedTables()));
    MMPictureResourceFile named;
    ASSERT_TRUE(named.Open(temp.Folder(), "p.MMP", false, false));
    EXPECT_EQ(Pair({6, 2}), named.Size(5));
    EXPECT_STREQ("", named.ItemName(0));
    EXPECT_EQ(2, named.SharedColorTableCount());
    EXPECT_FALSE(IsErrorPending());
}

struct HeaderCase {
    const char* what;
    size_t at;       // byte to change
    uint8_t value;
    bool verify;     // verify the checksum
    int32_t code;
};

TEST_F(ResourceFileTest, HeaderErrorsRaiseTheirCodesWithTheFileName)
{
    auto pictures = StandardPictures();
    std::vector<uint8_t> good = SerializePictureFile(pictures, StandardSharedTables(), false);
    const size_t n = pictures.size();
    const size_t named = 40 + 4 * n;          // the named-subfile word
    const size_t kind = 42 + 40 * n;          // the picture kind version
    const HeaderCase cases[] = {
        {"signature", 3, 'X', false, MME_PICTURE_RESOURCE_FILE_BAD_HEADER},
        {"byte-order mark", 16, 'X', false, MME_PICTURE_RESOURCE_FILE_BAD_HEADER},
        {"format version", 18, 3, false, MME_PICTURE_RESOURCE_FILE_BAD_HEADER},
        {"named word", named, 1, false, MME_PICTURE_RESOURCE_FILE_BAD_VERSION_NUMBER},
        {"kind version", kind, 9, false, MME_PICTURE_RESOURCE_FILE_BAD_VERSION_NUMBER},
        {"checksum", 20, 0x5A, true, MME_PICTURE_RESOURCE_FILE_BAD_CHECKSUM},
        {"item data under checksum", good.size() - 1, 0x5A, true, MME_PICTURE_RESOURCE_FILE_BAD_CHECKSUM},
        {"item data unchecked", good.size() - 1, 0x5A, false, APE_NO_ERROR},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = good;
        bytes[c.at] ^= c.value;
        ASSERT_TRUE(WriteFileBytes(temp.Folder(), "bad.MMP", bytes));
        ClearPendingError();
        MMPictureResourceFile file;
        EXPECT_EQ(c.code == APE_NO_ERROR, file.Open(temp.Folder(), "bad.MMP", false, c.verify));
        EXPECT_EQ(c.code, gPendingError.code);
        if (c.code != APE_NO_ERROR) {
            EXPECT_STREQ("bad.MMP", gPendingError.name);
            EXPECT_STREQ(temp.Folder().Path(), gPendingError.folder.Path());
            EXPECT_FALSE(file.IsUsable());
            EXPECT_FALSE(file.IsOpen());
        }
    }

    ClearPendingError();
    MMPictureResourceFile missing;
    EXPECT_FALSE(missing.Open(temp.Folder(), "none.MMP", false, false));
    EXPECT_EQ(MME_PICTURE_RESOURCE_FILE_BAD_OPEN_FOR_READ, gPendingError.code);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, gPendingError.systemError);

    ClearPendingError();
    FSDirectory nowhere("C:\\pennaro-no-such-folder\\");
    MMPictureResourceFile created;
    EXPECT_FALSE(created.Create(nowhere, "x.MMP", FSFileKind(), 1, 9));
    EXPECT_EQ(MME_PICTURE_RESOURCE_FILE_BAD_OPEN_FOR_WRITE, gPendingError.code);
}

TEST_F(ResourceFileTest, ScriptFilesUseTheScriptCodes)
{
    auto tables = StandardTables();
    std::vector<uint8_t> good = SerializeScriptFile(tables, 4, -1, 1252, false);
    const struct {
        const char* what;
        size_t at;
        int32_t code;
    } cases[] = {
        {"signature", 5, MME_SCRIPT_FILE_BAD_HEADER},
        {"kind version", 40 + 4 * 4, MME_SCRIPT_FILE_BAD_VERSION_NUMBER},
        {"truncated offset table", 0, MME_SCRIPT_FILE_BAD_READ},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = good;
        if (c.at) bytes[c.at] ^= 0x21;
        else bytes.resize(44);
        ASSERT_TRUE(WriteFileBytes(temp.Folder(), "bad.mms", bytes));
        ClearPendingError();
        MMScriptFile file;
        EXPECT_FALSE(file.Open(temp.Folder(), "bad.mms", false, false));
        EXPECT_EQ(c.code, gPendingError.code);
        EXPECT_STREQ("bad.mms", gPendingError.name);
    }
    ClearPendingError();
    EXPECT_FALSE(OpenScriptFile(temp.Folder(), "none.mms"));
    EXPECT_EQ(MME_SCRIPT_FILE_BAD_OPEN_FOR_READ, gPendingError.code);
    EXPECT_STREQ("Seek error on script resource file '%s'.", ErrorMessage(MME_SCRIPT_FILE_BAD_SEEK));
}

TEST_F(ResourceFileTest, ClosingWithoutSavingKeepsNothingHalfWritten)
{
    MMScriptFile file;
    ASSERT_TRUE(file.Create(temp.Folder(), "s.mms", FSFileKind(), 2, 0));
    EXPECT_TRUE(file.Close(false));
    // Close(false) keeps the file as it stands (the header of Create).
    MMScriptFile reread;
    EXPECT_FALSE(reread.Open(temp.Folder(), "s.mms", false, false));
    EXPECT_EQ(MME_SCRIPT_FILE_BAD_HEADER, gPendingError.code);  // offsets of -1
}

}  // namespace
