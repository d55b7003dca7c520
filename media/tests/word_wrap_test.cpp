// Word wrap: lines broken at blanks and newlines, cut inside a word only
// when it alone is too wide, flowing from frame to frame; the molecule shows
// the lines of its visible frames as text visuals.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "engine/tests/stage_fixture.h"
#include "fake_font.h"
#include "media/offscreen_surface.h"
#include "media/text_visual.h"
#include "media/word_wrapper.h"

namespace {

struct Line {
    int32_t frame;
    std::string text;
    int32_t x;
    int32_t y;
    bool operator==(const Line& o) const
    {
        return frame == o.frame && text == o.text && x == o.x && y == o.y;
    }
};

std::ostream& operator<<(std::ostream& out, const Line& line)
{
    return out << line.frame << " '" << line.text << "' " << line.x << "," << line.y;
}

class RecordingWrapper : public MMWordWrapper {
public:
    explicit RecordingWrapper(int32_t frames) : MMWordWrapper(frames) {}
    void EmitLine(int32_t index, const char* start, int32_t length, int32_t x,
                  int32_t y) override
    {
        lines.push_back({index, std::string(start, length), x, y});
    }
    std::vector<Line> lines;
};

struct WrapCase {
    const char* name;
    const char* text;
    std::vector<Box> frames;
    std::vector<Line> lines;
    int16_t framesUsed;
    bool allPlaced;
    bool broken;
};

}  // namespace

TEST(WordWrapper, BreaksLinesAndFlowsThroughFrames)
{
    // Every character 5 wide; ascent 9, descent 3, line height 13.
    const Box tall = {0, 0, 25, 100};
    const WrapCase cases[] = {
        {"two words exactly as wide as the frame", "ab cd", {tall}, {{0, "ab cd", 0, 9}}, 1,
         true, false},
        {"one pixel narrower", "ab cd", {{0, 0, 24, 100}},
         {{0, "ab", 0, 9}, {0, "cd", 0, 22}}, 1, true, false},
        {"a word too wide is cut", "abcdefgh", {{10, 5, 32, 100}},
         {{0, "abcd", 10, 14}, {0, "efgh", 10, 27}}, 1, true, true},
        {"two newlines give an empty line", "a\n\nb", {tall},
         {{0, "a", 0, 9}, {0, "", 0, 22}, {0, "b", 0, 35}}, 1, true, false},
        {"blanks open the first line only", "  ab   cd", {{0, 0, 30, 100}},
         {{0, "  ab", 0, 9}, {0, "cd", 0, 22}}, 1, true, false},
        {"blanks before a newline", "ab  \ncd", {tall}, {{0, "ab", 0, 9}, {0, "cd", 0, 22}}, 1,
         true, false},
        {"a frame lower than a line gets none", "ab", {{0, 0, 50, 11}, {0, 100, 50, 200}},
         {{1, "ab", 0, 109}}, 2, true, false},
        {"frames run out", "a\nb\nc\nd\ne", {{0, 0, 50, 12}, {0, 20, 50, 32}, {0, 40, 50, 52}},
         {{0, "a", 0, 9}, {1, "b", 0, 29}, {2, "c", 0, 49}}, 3, false, false},
        {"nothing fits a frame narrower than a character", "ab", {{0, 0, 3, 30}},
         {{0, "", 0, 9}, {0, "", 0, 22}}, 1, false, false},
    };
    WinMMOffscreenSurface* back = MMSurface::CreateBitmapDC(32, {0, 0, 8, 8}, nullptr);
    for (const WrapCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingWrapper wrapper(static_cast<int32_t>(c.frames.size()));
        for (size_t i = 0; i < c.frames.size(); ++i) {
            wrapper.SetFrame(static_cast<int32_t>(i), c.frames[i]);
        }
        FakeFont font;
        back->SelectFont(&font);
        wrapper.WrapAll(back, c.text);
        back->ReleaseFont();
        EXPECT_EQ(c.lines, wrapper.lines);
        EXPECT_EQ(c.framesUsed, wrapper.FramesUsed());
        EXPECT_EQ(c.allPlaced, wrapper.AllTextPlaced());
        EXPECT_EQ(c.broken, wrapper.WordBroken());
    }
    back->Dispose();
}

namespace {

std::vector<Line> Shown(const MMWordWrapMolecule& molecule, MMEnclosure* enclosure)
{
    std::vector<Line> shown;
    for (MMPointTextVisual* line : molecule.Lines()) {
        EXPECT_EQ(enclosure, line->Enclosure());
        Pair at = line->GetPosition();
        shown.push_back({line->Layer(), line->Text(), at.x, at.y});
    }
    return shown;
}

}  // namespace

TEST(WordWrapMolecule, AHiddenFrameConsumesItsTextButShowsNothing)
{
    BareStage bare;
    MMStage& stage = bare.stage;
    ASSERT_TRUE(stage.IsUsable());
    RecordingScene scene(&stage, &bare.log);
    FakeFont font;
    const MMColor blue = {-1, 255, 0, 0, 0};
    MMWordWrapMolecule* molecule =
        new MMWordWrapMolecule(&scene, 3, blue, &font, 6, "aa bb cc dd ee ff");
    // Two lines of one word per frame.
    molecule->HoldLayout();
    for (int32_t i = 0; i < 3; ++i) {
        molecule->SetFrameBox(i, {10, 30 * i, 20, 30 * i + 25});
    }
    EXPECT_TRUE(molecule->Lines().empty());
    molecule->ReleaseLayout();
    const std::vector<Line> all = {{6, "aa", 10, 9},  {6, "bb", 10, 22}, {6, "cc", 10, 39},
                                   {6, "dd", 10, 52}, {6, "ee", 10, 69}, {6, "ff", 10, 82}};
    MMEnclosure* top = stage.TopEnclosure();
    EXPECT_EQ(all, Shown(*molecule, top));
    EXPECT_EQ(3, molecule->FramesUsed());
    EXPECT_TRUE(molecule->AllTextPlaced());
    EXPECT_TRUE(MMColorEqual(blue, molecule->Lines()[0]->Style().color));

    molecule->SetFrameVisible(1, false);
    EXPECT_FALSE(molecule->IsFrameVisible(1));
    EXPECT_EQ((std::vector<Line>{all[0], all[1], all[4], all[5]}), Shown(*molecule, top));

    molecule->SetLayer(8);
    EXPECT_EQ(8, molecule->Lines()[3]->Layer());

    molecule->Hide();
    EXPECT_TRUE(molecule->Lines().empty());
    EXPECT_TRUE(top->Visuals().empty());
    molecule->Show();
    EXPECT_EQ(4u, molecule->Lines().size());

    // A new text wraps afresh, hidden frame included.
    molecule->SetText("gg hh ii jj");
    EXPECT_EQ((std::vector<Line>{{8, "gg", 10, 9}, {8, "hh", 10, 22}}), Shown(*molecule, top));
    delete molecule;
    EXPECT_TRUE(top->Visuals().empty());
}
