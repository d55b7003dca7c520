#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/printable.h"
#include "memory_print_session.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xFF0000;

MMColor Rgb(uint8_t red, uint8_t green, uint8_t blue)
{
    return MakeMMColorFromRgb(static_cast<uint32_t>(red) << 16 | green << 8 | blue);
}

// Rows of the page that hold any pixel other than white.
std::vector<int> InkedRows(const MemoryPrintSession& page)
{
    std::vector<int> rows;
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            if (page.Pixel(x, y) != kWhite) {
                rows.push_back(y);
                break;
            }
        }
    }
    return rows;
}

}  // namespace

TEST(Printables, BoxFillsExactlyItsBox)
{
    MemoryPrintSession page(40, 40);
    AFPrintableBox box(Box{10, 12, 30, 20}, Rgb(0x12, 0x90, 0xFE));
    EXPECT_TRUE(box.PrintOn(page));
    EXPECT_EQ(0x1290FEu, page.Pixel(10, 12));
    EXPECT_EQ(0x1290FEu, page.Pixel(29, 19));
    EXPECT_EQ(kWhite, page.Pixel(9, 12));
    EXPECT_EQ(kWhite, page.Pixel(30, 12));
    EXPECT_EQ(kWhite, page.Pixel(10, 11));
    EXPECT_EQ(kWhite, page.Pixel(10, 20));
}

TEST(Printables, FrameOfWidth10LiesInsideItsBox)
{
    MemoryPrintSession page(140, 140);
    AFPrintableFrame frame(Box{20, 20, 120, 120}, Rgb(0xFF, 0, 0), 10);
    EXPECT_TRUE(frame.PrintOn(page));
    struct Probe {
        int x, y;
        uint32_t color;
    } probes[] = {
        {19, 70, kWhite}, {20, 70, kRed}, {29, 70, kRed}, {30, 70, kWhite},
        {109, 70, kWhite}, {110, 70, kRed}, {119, 70, kRed}, {120, 70, kWhite},
        {70, 19, kWhite}, {70, 20, kRed}, {70, 29, kRed}, {70, 30, kWhite},
        {70, 109, kWhite}, {70, 110, kRed}, {70, 119, kRed}, {70, 120, kWhite},
        {70, 70, kWhite},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(p.color, page.Pixel(p.x, p.y)) << p.x << "," << p.y;
}

TEST(Printables, TextSitsOnItsBaseline)
{
    MemoryPrintSession page(200, 100);
    AFPrintableText text(Pair{10, 60}, "HHH", "Tahoma", 40, Rgb(0, 0, 0));
    EXPECT_TRUE(text.PrintOn(page));
    std::vector<int> rows = InkedRows(page);
    ASSERT_FALSE(rows.empty());
    // Capitals stand on the baseline: the last inked row is just above it,
    // and they rise about three quarters of the height.
    EXPECT_EQ(59, rows.back());
    EXPECT_GE(rows.front(), 60 - 40);
    EXPECT_LE(rows.front(), 60 - 20);
}

TEST(Printables, TextIsCutAt255Characters)
{
    std::string longText(300, 'a');
    AFPrintableText text(Pair{0, 0}, longText.c_str(), "Tahoma", 12, Rgb(0, 0, 0));
    EXPECT_EQ(255u, std::strlen(text.text));
    EXPECT_EQ(Box({0, 0, 0, 0}), text.box);
    AFPrintableText at(Pair{7, 9}, "x", "Tahoma", 12, Rgb(0, 0, 0));
    EXPECT_EQ(7, at.box.left);
    EXPECT_EQ(9, at.box.top);
}
