// Per-tool settings: the table row, the registry values named after the
// row's prefix (in HKEY_LOCAL_MACHINE), the ratios and the clamps.
#include <gtest/gtest.h>

#include "brushes/path_generator.h"
#include "tool_fixture.h"

namespace {

struct ToolSettingsTest : ToolFixture {
    int32_t Stored(const char* name)
    {
        int32_t value = -12345;
        host.key.ReadLong(name, -12345, value);
        return value;
    }
};

TEST_F(ToolSettingsTest, ValuesAreNamedAfterThePrefixAndItsFirstCharactersButOne)
{
    rows[0].values[0] = 11;   // saturation min
    rows[0].values[1] = 20;   // saturation max
    rows[0].values[13] = 40;  // height max
    rows[0].slider1 = 300;
    OpenData();
    OpenKey();
    { PlainTool tool(&host, kTestToolTable, 0, colour); }
    EXPECT_EQ(Stored("chalkTlsaturationPressureMin"), 11);
    EXPECT_EQ(Stored("chalkTlspacingPressureMax"), 1);
    EXPECT_EQ(Stored("chalkTslider1value"), 300);
    EXPECT_EQ(Stored("chalkTslider2value"), 255);
    EXPECT_EQ(Stored("chalkTheightPressureMax"), 40);
    EXPECT_EQ(Stored("chalkTlheightPressureMax"), -12345);

    { PlainTool tool(&host, kTestToolTable, 1, colour); }
    EXPECT_EQ(Stored("saturationPressureMin"), 0);
    EXPECT_EQ(Stored("slider1value"), 255);
    EXPECT_EQ(Stored("heightPressureMin"), 0);
}

TEST_F(ToolSettingsTest, RatiosUseIntegerDivisionAndAZeroMaxKeepsThem)
{
    rows[0].values[12] = 100;  // height 100 / 200
    rows[0].values[13] = 200;
    rows[1].values[12] = 200;  // height 200 / 100, opacity 100 / 0
    rows[1].values[13] = 100;
    rows[1].values[4] = 100;
    rows[1].values[5] = 0;
    OpenData();
    PlainTool tool(&host, kTestToolTable, 0, colour);
    EXPECT_EQ(tool.HeightRatio(), 0.0);
    EXPECT_EQ(tool.OpacityRatio(), 1.0);
    tool.SetSizeType(1);
    EXPECT_EQ(tool.HeightRatio(), 2.0);
    EXPECT_EQ(tool.OpacityRatio(), 1.0);
    EXPECT_EQ(tool.slider1Calls, std::vector<int16_t>{255});
}

TEST_F(ToolSettingsTest, StoredValuesAreClampedAndSavedPairsKeepMinAtMost)
{
    OpenData();
    OpenKey();
    struct Case {
        const char* name;
        int32_t stored;
    };
    for (Case c : {Case{"chalkTlsaturationPressureMax", 999}, Case{"chalkTldiameterPressureMin", -5},
                   Case{"chalkTslider1value", 600}, Case{"chalkTslider2value", -1},
                   Case{"chalkTlopacityPressureMin", 200}, Case{"chalkTlopacityPressureMax", 100}})
        host.key.WriteLong(c.name, c.stored);
    PlainTool tool(&host, kTestToolTable, 0, colour);
    EXPECT_EQ(tool.Pressures().saturationMax, 255);
    EXPECT_EQ(tool.Pressures().diameterMin, 0);
    EXPECT_EQ(tool.Slider1(), 510);
    EXPECT_EQ(tool.Slider2(), 0);
    EXPECT_EQ(tool.Pressures().opacityMin, 100);
    EXPECT_EQ(tool.Pressures().opacityMax, 100);

    tool.pressures.heightMin = 90;
    tool.pressures.heightMax = 60;
    tool.SavePressureSettings();
    EXPECT_EQ(Stored("chalkTheightPressureMin"), 60);
    EXPECT_EQ(Stored("chalkTheightPressureMax"), 60);
}

TEST_F(ToolSettingsTest, TheSameSizeTypeAgainNeitherSavesNorLoads)
{
    OpenData();
    OpenKey();
    PlainTool tool(&host, kTestToolTable, 0, colour);
    tool.pressures.bleedMax = 77;
    tool.SetSizeType(0);
    EXPECT_EQ(Stored("chalkTlbleedPressureMax"), -12345);
    EXPECT_EQ(tool.Pressures().bleedMax, 77);
    EXPECT_TRUE(tool.slider1Calls.empty());
    tool.SetSizeType(2);
    EXPECT_EQ(Stored("chalkTlbleedPressureMax"), 77);
    EXPECT_STREQ(tool.Prefix(), "x");
}

TEST(LineStyle, SliderOneChoosesTheStyle)
{
    struct Case {
        int32_t slider, style;
    };
    for (Case c : {Case{0, 0}, Case{77, 0}, Case{78, 1}, Case{255, 3}, Case{510, 6}})
        EXPECT_EQ(LineStyleOf(c.slider), c.style) << c.slider;
    EXPECT_EQ(MakeLineStyleGenerator(7), nullptr);
}

}  // namespace
