// The centred one-line edit and the colour record, on a stage without window
// and a font five pixels a character.
#include <gtest/gtest.h>

#include "engine/tests/stage_fixture.h"
#include "fake_font.h"
#include "text/text_edits.h"

namespace {

const MMColor kInk = {-1, 0, 0, 0, 0};

uint32_t Typed(uint8_t character) { return MMStageEvent::KeyData(0, character, 0); }

TEST(CenteredTextEdit, TheTextStaysCentredAsItGrowsAndShrinks)
{
    BareStage bare;
    RecordingScene scene(&bare.stage, &bare.log);
    FakeFont font;
    MPCenteredTextEdit edit({&scene, 40, {30, 50}, 200, kAlignBaseline, kInk, &font, kInk},
                            Pair{100, 50});
    struct Step {
        uint32_t key;
        int32_t left;
    } steps[] = {
        {Typed('a'), 100 - 5 / 2}, {Typed('b'), 95}, {Typed('c'), 100 - 15 / 2},
        {Typed('d'), 90},          {MMStageEvent::KeyData(MMTextEditMolecule::kBackspaceKey, 0, 0), 93},
    };
    for (const Step& step : steps) {
        EXPECT_TRUE(edit.HandleKey(step.key));
        EXPECT_EQ(step.left, edit.TextVisual()->GetPosition().x) << edit.Text();
        EXPECT_EQ(50, edit.TextVisual()->GetPosition().y);
        Pair caret = edit.CaretVisual()->GetPosition();
        EXPECT_EQ(step.left + 5 * edit.Length(), caret.x) << "the caret ends the text";
    }
}

TEST(ColourRecords, ThreeBytesBlueGreenRed)
{
    uint8_t record[3];
    MakeColor3(0x11, 0x22, 0x33, record);
    EXPECT_EQ(0x33, record[0]);
    EXPECT_EQ(0x22, record[1]);
    EXPECT_EQ(0x11, record[2]);
    MMColor colour = MakeMMColorFromRgb(0x112233);
    EXPECT_EQ(-1, colour.index);
    EXPECT_EQ(0x11, colour.red);
    EXPECT_EQ(0x33, colour.blue);
}

}  // namespace
