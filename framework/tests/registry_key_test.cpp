#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "framework/folders.h"
#include "framework/registry_key.h"
#include "scratch_folder.h"

namespace {

const char* const kParent = "Software\\Pennaro Tests";
const char* const kPath = "Software\\Pennaro Tests\\Registry Key";

class RegistryKeys : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, kPath)); }
    void TearDown() override
    {
        key.Close();
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kPath);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kParent);
    }
    // Stores raw bytes of any type, as a user editing the registry might.
    void StoreRaw(const char* name, DWORD type, const void* bytes, DWORD count)
    {
        HKEY raw;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPath, 0, KEY_ALL_ACCESS, &raw));
        ASSERT_EQ(ERROR_SUCCESS,
                  RegSetValueExA(raw, name, 0, type, static_cast<const BYTE*>(bytes), count));
        RegCloseKey(raw);
    }
    UURegistryKey key;
};

}  // namespace

TEST_F(RegistryKeys, ValuesWrittenReadBack)
{
    EXPECT_TRUE(key.WriteLong("Volume", 5));
    EXPECT_TRUE(key.WriteBool("AutoSave", true));
    EXPECT_TRUE(key.WriteString("SketchbookName", "Mon livre"));
    const uint8_t blob[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_TRUE(key.WriteBinary("Blob", blob, sizeof blob));

    int32_t volume = 0;
    bool autoSave = false;
    char name[64];
    uint8_t blobBack[6] = {};
    EXPECT_TRUE(key.ReadLong("Volume", 3, volume));
    EXPECT_EQ(5, volume);
    EXPECT_TRUE(key.ReadBool("AutoSave", false, autoSave));
    EXPECT_TRUE(autoSave);
    EXPECT_TRUE(key.ReadString("SketchbookName", name, sizeof name));
    EXPECT_STREQ("Mon livre", name);
    EXPECT_TRUE(key.ReadBinary("Blob", blobBack, sizeof blobBack));
    EXPECT_EQ(0, std::memcmp(blob, blobBack, sizeof blob));

    EXPECT_TRUE(key.DeleteValue("Volume"));
    EXPECT_FALSE(key.ReadLong("Volume", 3, volume));
    EXPECT_EQ(3, volume);
    key.DeleteValue("AutoSave");
    key.DeleteValue("SketchbookName");
    key.DeleteValue("Blob");
}

TEST_F(RegistryKeys, MissingOrWronglySizedValuesKeepTheDefault)
{
    const uint8_t two[2] = {9, 9};
    const uint8_t eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const DWORD stored2 = 2;
    StoreRaw("Short", REG_BINARY, two, sizeof two);
    StoreRaw("Long", REG_BINARY, eight, sizeof eight);
    StoreRaw("Two", REG_DWORD, &stored2, sizeof stored2);
    StoreRaw("FourBytes", REG_BINARY, "abcd", 4);
    StoreRaw("Number", REG_DWORD, &stored2, sizeof stored2);

    int32_t value = 0;
    EXPECT_FALSE(key.ReadLong("Missing", 7, value));
    EXPECT_EQ(7, value);
    EXPECT_FALSE(key.ReadLong("Short", 7, value));
    EXPECT_EQ(7, value);
    EXPECT_FALSE(key.ReadLong("Long", 7, value));
    EXPECT_EQ(7, value);
    // Only the size is tested: four bytes of any type read as a number.
    EXPECT_TRUE(key.ReadLong("FourBytes", 7, value));
    EXPECT_EQ(0x64636261, value);

    bool flag = true;
    EXPECT_FALSE(key.ReadBool("Two", true, flag));
    EXPECT_TRUE(flag);

    uint8_t buffer[6] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_FALSE(key.ReadBinary("Short", buffer, sizeof buffer));
    EXPECT_FALSE(key.ReadBinary("Number", buffer, 4));  // right size, wrong type
    EXPECT_EQ(0xEE, buffer[0]);

    char text[16] = "x";
    EXPECT_FALSE(key.ReadStringOrDefault("Number", "fallback", text, sizeof text));
    EXPECT_STREQ("fallback", text);
    for (const char* name : {"Short", "Long", "Two", "FourBytes", "Number"})
        key.DeleteValue(name);
}

TEST_F(RegistryKeys, StringsAreAlwaysTerminated)
{
    StoreRaw("Unterminated", REG_SZ, "abcdefgh", 8);
    char text[16];
    std::memset(text, 'Z', sizeof text);
    EXPECT_TRUE(key.ReadString("Unterminated", text, sizeof text));
    EXPECT_STREQ("abcdefgh", text);

    // Too long for the buffer: nothing half-read is accepted.
    char small[5];
    std::memset(small, 'Z', sizeof small);
    EXPECT_FALSE(key.ReadString("Unterminated", small, sizeof small));
    EXPECT_EQ(0, small[0]);
    EXPECT_FALSE(key.ReadStringOrDefault("Unterminated", "default-too-long", small, sizeof small));
    EXPECT_STREQ("defa", small);
    key.DeleteValue("Unterminated");

    // A value whose terminator is the buffer's last byte fits exactly; one
    // byte more, or no terminator there, does not.
    const std::string full(sizeof text - 1, 'f');
    StoreRaw("Full", REG_SZ, full.c_str(), static_cast<DWORD>(full.size() + 1));
    StoreRaw("FullUnterminated", REG_SZ, "abcdefghijklmnop", 16);
    EXPECT_TRUE(key.ReadString("Full", text, sizeof text));
    EXPECT_EQ(full, text);
    EXPECT_FALSE(key.ReadString("FullUnterminated", text, sizeof text));
    EXPECT_EQ(0, text[0]);
    EXPECT_FALSE(key.ReadString("Full", small, sizeof small));
    key.DeleteValue("Full");
    key.DeleteValue("FullUnterminated");
}

TEST_F(RegistryKeys, FoldersAndFilePaths)
{
    ScratchFolder scratch;
    scratch.WriteFile("book.img", "b");
    FSDirectory fallback("C:\\fallback");
    FSDirectory folder;
    char name[FS_NAME_SIZE];

    EXPECT_TRUE(key.WriteFolder("Folder", scratch.folder));
    EXPECT_TRUE(key.ReadFolder("Folder", fallback, folder));
    EXPECT_EQ(scratch.folder, folder);

    EXPECT_TRUE(key.WriteFilePath("File", scratch.folder, "book.img"));
    EXPECT_TRUE(key.ReadFilePath("File", fallback, "none.img", folder, name));
    EXPECT_EQ(scratch.folder, folder);
    EXPECT_STREQ("book.img", name);

    // A value naming a file is no folder; a folder is no file.
    EXPECT_FALSE(key.ReadFolder("File", fallback, folder));
    EXPECT_EQ(fallback, folder);
    EXPECT_FALSE(key.ReadFilePath("Folder", fallback, "none.img", folder, name));
    EXPECT_EQ(fallback, folder);
    EXPECT_STREQ("none.img", name);

    EXPECT_FALSE(key.WriteFolder("Gone", FSDirectory("C:\\no\\such\\folder")));
    key.DeleteValue("Folder");
    key.DeleteValue("File");
}

TEST(RegistryKeyClosed, EveryOperationFailsWithItsDefault)
{
    UURegistryKey key;
    int32_t value = 0;
    bool flag = false;
    char text[8] = "x";
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(key.ReadLong("Volume", 3, value));
    EXPECT_EQ(3, value);
    EXPECT_FALSE(key.ReadBool("AutoSave", true, flag));
    EXPECT_TRUE(flag);
    EXPECT_FALSE(key.ReadStringOrDefault("Name", "dflt", text, sizeof text));
    EXPECT_STREQ("dflt", text);
    EXPECT_FALSE(key.WriteLong("Volume", 1));
    EXPECT_FALSE(key.WriteString("Name", "x"));
    EXPECT_FALSE(key.DeleteValue("Volume"));

    EXPECT_FALSE(key.Open(HKEY_LOCAL_MACHINE, ""));
    EXPECT_FALSE(key.Open(reinterpret_cast<HKEY>(static_cast<intptr_t>(0x1234)), "A\\B"));
    EXPECT_FALSE(key.WriteLong("Volume", 1));
}
