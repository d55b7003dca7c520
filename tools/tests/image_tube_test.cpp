// The image tube's pieces along a grid of 100-pixel cells, and the picture
// lists the picture tools read, cut short where their words run out.
#include <gtest/gtest.h>

#include <vector>

#include "brushes/brush_scene.h"
#include "brushes/timed_generators.h"
#include "engine/script_file.h"
#include "resource_fixture.h"
#include "tools/gridded_sprayer.h"
#include "tools/picture_lists.h"

namespace {

struct Placed {
    int32_t animation;
    int32_t picture;
    Pair point;
    bool paste;
};

class PlacedLog : public KVXBrushScene {
public:
    void StartSprayedAnimation(int32_t animation, int32_t picture, const Pair& point,
                               bool paste) override
    {
        placed.push_back({animation, picture, point, paste});
    }
    void PlayPhaserSound() override {}
    std::vector<Placed> placed;
};

// A tube whose piece k is picture 100 + k, on cells of 100 pixels.
struct Tube {
    explicit Tube(PlacedLog* log) : brush(log, 0)
    {
        for (int k = 0; k < 16; ++k)
            brush.entries[k] = {-1, 100 + k, 1};
        auto* grid = new GriddedPathGenerator;
        const double params[4] = {1.0 / 255, 100.0 / 255, 255, 255};
        grid->SetParameters(params);
        brush.SetPathGenerator(grid);
    }
    void Stroke(const std::vector<Pair>& points)
    {
        BrushDab d;
        d.Set(points[0].x, points[0].y, 19, 0, 0);
        brush.BeginStroke(&d);
        for (size_t i = 1; i < points.size(); ++i) {
            d.Set(points[i].x, points[i].y, 19, 0, 0);
            brush.ContinueStroke(&d);
        }
        brush.EndStroke(&d);
    }
    KVXBrushGriddedSprayer brush;
};

std::vector<int32_t> Pieces(const PlacedLog& log)
{
    std::vector<int32_t> out;
    for (const Placed& p : log.placed)
        out.push_back(p.picture - 100);
    return out;
}

}  // namespace

TEST(ImageTube, PiecesAlongTheGrid)
{
    struct Case {
        const char* what;
        std::vector<Pair> points;
        std::vector<int32_t> pieces;  // in x 4 + out
    };
    const Case cases[] = {
        {"right through three cells", {{50, 50}, {150, 50}, {250, 50}}, {1 * 5, 3 * 4 + 1, 3 * 5}},
        {"right, then down", {{50, 50}, {150, 50}, {150, 150}}, {1 * 5, 3 * 4 + 2, 0 * 5}},
        {"never leaving the first cell", {{50, 50}, {70, 60}, {90, 90}}, {}},
        {"up", {{50, 250}, {50, 150}}, {0 * 5, 2 * 5}},
    };
    for (const Case& c : cases) {
        PlacedLog log;
        Tube tube(&log);
        tube.Stroke(c.points);
        EXPECT_EQ(c.pieces, Pieces(log)) << c.what;
    }
    PlacedLog log;
    Tube tube(&log);
    tube.Stroke({{50, 50}, {150, 50}, {250, 50}});
    ASSERT_EQ(3u, log.placed.size());
    EXPECT_EQ((Pair{50, 50}), log.placed[0].point) << "at the centre of the cell left";
    EXPECT_EQ((Pair{150, 50}), log.placed[1].point);
    EXPECT_EQ((Pair{250, 50}), log.placed[2].point) << "the end cap in the last cell";
    EXPECT_TRUE(log.placed[0].paste);

    BrushDab still;
    still.Set(0, 0, 0, 0, 0);
    EXPECT_EQ(3, KVXBrushGriddedSprayer::ExitSide(still)) << "no motion counts as leaving left";
}

TEST(ImageTube, MissingPiecePlacesNothing)
{
    PlacedLog log;
    Tube tube(&log);
    tube.brush.entries[13] = {-1, -1, 0};
    tube.Stroke({{50, 50}, {150, 50}, {250, 50}});
    EXPECT_EQ((std::vector<int32_t>{5, 15}), Pieces(log));
}

namespace {

void PutWord(std::vector<uint8_t>& bytes, int32_t v)
{
    bytes.push_back(uint8_t(v));
    bytes.push_back(uint8_t(v >> 8));
}

// Tool table 20 (8-byte rows) row 0 names list 21, row 1 list 22, pasting
// from row 1 on.
struct ListFiles : ::testing::Test {
    TempFolder scratch;

    void Write(const std::vector<int32_t>& first, const std::vector<int32_t>& second)
    {
        TestTable tool;
        tool.table = 20;
        tool.item = 20;
        tool.rowSize = 8;
        for (int row = 0; row < 2; ++row)
            for (int32_t w : {21 + row, 0, 0, row})
                PutWord(tool.rows, w);
        std::vector<TestTable> tables = {tool};
        int16_t item = 21;
        for (const auto* words : {&first, &second}) {
            TestTable list;
            list.table = item;
            list.item = item;
            list.rowSize = 2;
            for (int32_t w : *words)
                PutWord(list.rows, w);
            tables.push_back(list);
            ++item;
        }
        ASSERT_TRUE(WriteScriptFile(scratch.Folder(), "l.mms", tables, 30, int16_t(MM_NO_CODE_PAGE),
                                    int16_t(MM_NO_CODE_PAGE)));
        ASSERT_TRUE(OpenScriptFile(scratch.Folder(), "l.mms"));
    }
    void TearDown() override { CloseAllScriptFiles(); }
};

}  // namespace

TEST_F(ListFiles, EntriesStopWhereTheirWordsRunOut)
{
    // Entry 0: animation item 21 (list 21 itself), picture 0x40000005; entry
    // 1: no animation, picture 0x40000007; entry 2's picture is cut off.
    Write({0, 21, 1, 5, 0x4000, 0, -1, 1, 7, 0x4000, 0, -1, 1, 9},
          {1, 11, 0x4000, 0, 21, 1, 12, 0x4000, 1});
    std::vector<KVXSprayEntry> e = ReadSprayEntries(20, 0, 16, nullptr);
    ASSERT_EQ(2u, e.size());
    EXPECT_EQ(21, e[0].animation);
    EXPECT_EQ(0x40000005, e[0].picture);
    EXPECT_EQ(0, e[0].flag);
    EXPECT_EQ(-1, e[1].animation);
    EXPECT_EQ(0x40000007, e[1].picture);
    EXPECT_EQ(1u, ReadSprayEntries(20, 0, 1, nullptr).size()) << "no more than asked";

    // The second list: one animation for two pictures; the last word 1 has no
    // picture after it.
    std::vector<KVXSprayEntry> f = ReadSprayEntries(20, 1, 16, nullptr);
    ASSERT_EQ(1u, f.size());
    EXPECT_EQ(1, f[0].flag);
    EXPECT_EQ((std::vector<int32_t>{0x4000000B, 0x4000000C}), ReadPictureList(20, 1, nullptr));

    EXPECT_TRUE(ReadSprayEntries(20, 2, 16, nullptr).empty()) << "a row beyond the table";
    EXPECT_TRUE(ReadPictureList(20, -1, nullptr).empty());
    EXPECT_EQ(MMMakeResourceId(0, 21), ReadItemWord(21, 1, nullptr));
    EXPECT_EQ(MM_NO_RESOURCE, ReadItemWord(21, 99, nullptr));
}
