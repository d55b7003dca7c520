// The settings under the program's registry key: defaults on a machine that
// never ran the program, values of the wrong type, the texture index, and a
// key that could not be opened.
#include <gtest/gtest.h>

#include <functional>

#include "framework/registry_key.h"
#include "shell/registry_settings.h"
#include "shell_fixture.h"
#include "trays/texture_list.h"

namespace {

struct SettingsTest : ::testing::Test {
    void SetUp() override
    {
        RemoveSettingsKey();
        ASSERT_TRUE(OpenBuiltData());
    }
    void TearDown() override
    {
        CloseBuiltData();
        RemoveSettingsKey();
    }
};

typedef bool (RegistrySettings::*Reader)(int32_t&);

struct Value {
    const char* name;
    Reader read;
    void (RegistrySettings::*write)(int32_t);
    int32_t fallback;
};

const Value kValues[] = {
    {"ImageNumber", &RegistrySettings::GetImageNumber, &RegistrySettings::SetImageNumber, 0},
    {"Volume", &RegistrySettings::GetVolume, &RegistrySettings::SetVolume, 3},
    {"AutoSave", &RegistrySettings::GetAutoSave, &RegistrySettings::SetAutoSave, 1},
    {"Printing", &RegistrySettings::GetPrinting, &RegistrySettings::SetPrinting, 1},
    {"Fancy Printing", &RegistrySettings::GetFancyPrinting, &RegistrySettings::SetFancyPrinting, 0},
    {"TrashCan", &RegistrySettings::GetTrashCan, &RegistrySettings::SetTrashCan, 1},
    {"Duplicate", &RegistrySettings::GetDuplicate, &RegistrySettings::SetDuplicate, 1},
    {"Relative Tablet Support", &RegistrySettings::GetRelativeTablet,
     &RegistrySettings::SetRelativeTablet, 0},
    {"Loop", &RegistrySettings::GetLoop, &RegistrySettings::SetLoop, 7},
};

TEST_F(SettingsTest, AFreshMachineReadsTheDefaultsAndKeepsWhatIsWritten)
{
    RegistrySettings settings;
    ASSERT_TRUE(settings.Open());
    EXPECT_TRUE(settings.IsAvailable());
    EXPECT_STREQ("Pennaro r\xE9glages", settings.FileName());
    EXPECT_NE(nullptr, settings.PrintConfiguration());
    for (const Value& v : kValues) {
        int32_t value = -99;
        EXPECT_FALSE((settings.*v.read)(value)) << v.name;
        EXPECT_EQ(v.fallback, value) << v.name;
        (settings.*v.write)(v.fallback + 1);
        EXPECT_TRUE((settings.*v.read)(value)) << v.name;
        EXPECT_EQ(v.fallback + 1, value) << v.name;
    }
    char name[64];
    EXPECT_FALSE(settings.GetSketchbookName(name, sizeof(name)));
    settings.SetSketchbookName("Carnet de L\xE9o");
    EXPECT_TRUE(settings.GetSketchbookName(name, sizeof(name)));
    EXPECT_STREQ("Carnet de L\xE9o", name);
}

TEST_F(SettingsTest, ValuesOfAnotherTypeReadAsMissing)
{
    RegistrySettings settings;
    settings.Open();
    UURegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, SettingsKeyPath()));
    key.WriteString("Volume", "6");
    key.WriteString("Loop", "abc");  // four bytes, like a number
    int32_t value = 0;
    EXPECT_FALSE(settings.GetVolume(value));
    EXPECT_EQ(3, value);
    EXPECT_FALSE(settings.GetLoop(value));
    EXPECT_EQ(7, value);
}

TEST_F(SettingsTest, TheTextureIsStoredByItsIndex)
{
    RegistrySettings settings;
    settings.Open();
    int32_t count = TextureCount();
    ASSERT_EQ(4, count);
    MMResourceId texture = 0;
    // Nothing stored, or the start-up's "no texture" (stored as the count):
    // the texture the canvas starts with.
    EXPECT_FALSE(settings.GetTextureId(texture));
    EXPECT_EQ(StartingTexture(), texture);
    settings.SetTextureId(MM_NO_RESOURCE);
    int32_t stored = 0;
    settings.ReadLong("TextureId", -1, stored);
    EXPECT_EQ(count, stored);
    EXPECT_TRUE(settings.GetTextureId(texture));
    EXPECT_EQ(StartingTexture(), texture);
    settings.SetTextureId(TextureResourceAt(2));
    settings.ReadLong("TextureId", -1, stored);
    EXPECT_EQ(2, stored);
    settings.GetTextureId(texture);
    EXPECT_EQ(TextureResourceAt(2), texture);
}

TEST(SettingsWithoutKey, NothingIsWrittenAndDefaultsAreRead)
{
    RemoveSettingsKey();
    // No texts table: no name for the settings, so the key stays closed.
    RegistrySettings settings;
    ASSERT_TRUE(settings.Open());
    EXPECT_FALSE(settings.IsAvailable());
    settings.SetVolume(6);
    int32_t volume = 0;
    EXPECT_FALSE(settings.GetVolume(volume));
    EXPECT_EQ(3, volume);
    HKEY key = nullptr;
    EXPECT_NE(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, SettingsKeyPath(), 0, KEY_READ, &key));
    // Never opened at all.
    RegistrySettings unopened;
    unopened.SetLoop(0);
    int32_t loop = 0;
    EXPECT_FALSE(unopened.GetLoop(loop));
    EXPECT_EQ(7, loop);
}

}  // namespace
