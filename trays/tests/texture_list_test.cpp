// The texture list read from the texture table: indexes, reverse lookup and
// the starting texture the creation layout names.
#include <gtest/gtest.h>

#include "engine/script_file.h"
#include "resource_fixture.h"
#include "trays/texture_list.h"

namespace {

void Row(TestTable& table, int16_t key, int32_t value)
{
    PutShort(table.rows, key);
    PutLong(table.rows, value);
    PutLong(table.rows, 0);
}

struct TextureListTest : ::testing::Test {
    void SetUp() override
    {
        TestTable textures;
        textures.table = 759;
        textures.item = 0;
        // Rows keyed 1 (previews) between the textures must not count.
        Row(textures, 0, 0x40000010);
        Row(textures, 1, 0x40000020);
        Row(textures, 0, 0x40000011);
        Row(textures, 1, 0x40000021);
        Row(textures, 0, 0x40000012);
        TestTable layout;
        layout.table = 734;
        layout.item = 1;
        Row(layout, 0, 0);
        // Row keyed 43: start searching at row 2, whose next keyed-0 row is
        // texture 1.
        PutShort(layout.rows, 43);
        PutShort(layout.rows, 2);
        PutShort(layout.rows, 0);
        PutLong(layout.rows, 0);
        ASSERT_TRUE(WriteScriptFile(temp.Folder(), "t.mms", {textures, layout}, 800, -1, 1252));
        ASSERT_TRUE(OpenScriptFile(temp.Folder(), "t.mms"));
    }
    void TearDown() override { CloseAllScriptFiles(); }

    TempFolder temp;
};

TEST_F(TextureListTest, IndexesAndTheirReverse)
{
    EXPECT_EQ(3, TextureCount());
    struct Case {
        int32_t index;
        MMResourceId texture;
    } cases[] = {{0, 0x40000010}, {1, 0x40000011}, {2, 0x40000012},
                 {3, MM_NO_RESOURCE}, {-1, MM_NO_RESOURCE}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.texture, TextureResourceAt(c.index)) << c.index;
        if (c.index >= 0 && c.index < 3) {
            EXPECT_EQ(c.index, TextureIndexOf(c.texture)) << c.index;
        }
    }
    // A preview or no texture at all is not one of them: the count.
    EXPECT_EQ(3, TextureIndexOf(0x40000020));
    EXPECT_EQ(3, TextureIndexOf(-1));
    EXPECT_EQ(0x40000011, StartingTexture());
}

TEST(TextureListWithoutTable, NothingIsFound)
{
    EXPECT_EQ(0, TextureCount());
    EXPECT_EQ(0, TextureIndexOf(0x40000010));
    EXPECT_EQ(MM_NO_RESOURCE, TextureResourceAt(0));
    EXPECT_EQ(MM_NO_RESOURCE, StartingTexture());
}

}  // namespace
