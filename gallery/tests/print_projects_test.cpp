#include <gtest/gtest.h>

#include <vector>

#include "framework/tests/memory_print_session.h"
#include "gallery/print_projects.h"

namespace {

ProjectLayout TwoSlots()
{
    ProjectLayout layout;
    layout.design = {0, 0, 1000, 1000};
    layout.slotSize = {400, 300};
    layout.slots = {{100, 100}, {500, 100}};
    return layout;
}

PrinterCaps Caps(int32_t offset, int32_t printableWidth)
{
    return {offset, offset, 1000, 1000, printableWidth, 900, 80, 96};
}

}  // namespace

TEST(PrintProjects, PaperSizeChoosesTheLayout)
{
    EXPECT_EQ(kLetterLayoutTable, LayoutTableFor({216, 279}));
    EXPECT_EQ(kLetterLayoutTable, LayoutTableFor({218, 282}));
    EXPECT_EQ(kLargeLayoutTable, LayoutTableFor({219, 282}));
    EXPECT_EQ(kLargeLayoutTable, LayoutTableFor({210, 297}));
}

TEST(PrintProjects, SlotsOnThePage)
{
    const Box picture = {0, 0, 640, 480};
    struct Case {
        const char* what;
        int16_t kind;
        PrinterCaps caps;
        Box slot0, picture0, slot1;
    } cases[] = {
        // Fits: stickers keep LOGPIXELSX / 8 inside, postcards LOGPIXELSY / 4.
        {"sticker", kProjectSticker, Caps(0, 1000), {110, 110, 490, 390}, {113, 110, 486, 390},
         {510, 110, 890, 390}},
        {"postcard", kProjectPostcard, Caps(0, 1000), {124, 124, 476, 376}, {132, 124, 468, 376},
         {524, 124, 876, 376}},
        {"full page", kProjectFullPage, Caps(0, 1000), {100, 100, 500, 400}, {100, 100, 500, 400},
         {500, 100, 900, 400}},
        // The flipbook's picture stands against the slot's right edge.
        {"flipbook", kProjectFlipbook, Caps(0, 1000), {100, 100, 500, 400}, {100, 100, 500, 400},
         {500, 100, 900, 400}},
        // Offsets move the page; 50 pixels past the printable right edge
        // shrink every slot by 50 on both sides, about its centre, and no
        // sticker margin follows.
        {"overflow", kProjectSticker, Caps(50, 800), {100, 50, 400, 350}, {100, 87, 400, 312},
         {500, 50, 800, 350}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<PlacedSlot> placed;
        ASSERT_TRUE(PlaceProjectSlots(TwoSlots(), c.caps, c.kind, picture, placed));
        ASSERT_EQ(2u, placed.size());
        EXPECT_EQ(c.slot0, placed[0].slot);
        EXPECT_EQ(c.picture0, placed[0].picture);
        EXPECT_EQ(c.slot1, placed[1].slot);
    }

    // A tall slot: the flipbook's picture moves right, the others stay centred.
    ProjectLayout tall = TwoSlots();
    tall.slotSize = {400, 100};
    std::vector<PlacedSlot> placed;
    ASSERT_TRUE(PlaceProjectSlots(tall, Caps(0, 1000), kProjectFlipbook, picture, placed));
    EXPECT_EQ((Box{367, 100, 500, 200}), placed[0].picture);
    ASSERT_TRUE(PlaceProjectSlots(tall, Caps(0, 1000), kProjectFullPage, picture, placed));
    EXPECT_EQ((Box{233, 100, 366, 200}), placed[0].picture);
}

TEST(PrintProjects, BrokenLayoutsFailThePage)
{
    std::vector<PlacedSlot> placed;
    ProjectLayout flat = TwoSlots();
    flat.design = {0, 0, 1000, 0};
    EXPECT_FALSE(PlaceProjectSlots(flat, Caps(0, 1000), kProjectFullPage, {0, 0, 64, 48}, placed));
    ProjectLayout narrow = TwoSlots();
    narrow.design = {500, 0, 500, 1000};
    EXPECT_FALSE(PlaceProjectSlots(narrow, Caps(0, 1000), kProjectFullPage, {0, 0, 64, 48}, placed));
    ProjectLayout empty = TwoSlots();
    empty.slots.clear();
    EXPECT_FALSE(PlaceProjectSlots(empty, Caps(0, 1000), kProjectFullPage, {0, 0, 64, 48}, placed));
    ProjectLayout missing;
    EXPECT_FALSE(LoadProjectLayout(9999, kProjectFullPage, missing));
}

TEST(PrintProjects, CutLinesMarkTheCorners)
{
    MemoryPrintSession printer(200, 200);
    int32_t cx = GetDeviceCaps(printer.DeviceContext(), LOGPIXELSX) / 8;
    int32_t cy = GetDeviceCaps(printer.DeviceContext(), LOGPIXELSY) / 8;
    ASSERT_GT(cx, 2);
    KVXPrintableCutLines lines({20, 20, 100, 80}, MakeMMColorFromRgb(0x808080));
    ASSERT_TRUE(lines.Print(printer));
    const uint32_t grey = 0x808080, white = 0xFFFFFF;
    struct Dot {
        int x, y;
        uint32_t colour;
    } dots[] = {
        {20, 20, grey},          {20, 20 + cy - 1, grey}, {20 + cx - 1, 20, grey},
        {20, 20 + cy + 2, white}, {20 + cx + 2, 20, white}, {60, 20, white},
        {100, 20, grey},         {100 - cx + 1, 20, grey}, {100, 20 + cy - 1, grey},
        {100, 80, grey},         {100, 80 - cy + 1, grey}, {100 - cx + 1, 80, grey},
        {20, 80, grey},          {20 + cx - 1, 80, grey},  {20, 80 - cy + 1, grey},
        {60, 50, white},         {20, 50, white},          {100, 50, white},
    };
    for (const Dot& d : dots)
        EXPECT_EQ(d.colour, printer.Pixel(d.x, d.y)) << d.x << ", " << d.y;
}
