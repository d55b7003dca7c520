// Text fields: keys that edit the buffer, the caret behind the text (never
// right of the field), and the caret's blinking on the stage's clock.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>
#include "engine/mouse_interpreter.h"
#include "engine/command.h"
#include "engine/run_queue.h"
#include "engine/tests/stage_fixture.h"
#include "fake_font.h"
#include "framework/text.h"
#include "media/text_edit.h"

namespace {

const MMColor kInk = {-1, 0, 0, 0, 0};
const MMColor kCaret = {-1, 0, 0, 255, 0};

struct TextFields : ::testing::Test {
    BareStage bare;
    MMStage& stage = bare.stage;
    RecordingScene scene{&stage, &bare.log};
    FakeFont font;

    // A field at (10, 20), 12 pixels wide, baseline at the point.
    MMTextEditMolecule* MakeField(int16_t size)
    {
        return new MMTextEditMolecule(
            {&scene, size, {10, 20}, 12, kAlignBaseline, kInk, &font, kCaret});
    }
    std::vector<Box> TakeDirty()
    {
        std::vector<Box> dirty(stage.DirtyList().begin(), stage.DirtyList().end());
        stage.FrameTick();  // empties the lists
        return dirty;
    }
    void Pass(uint32_t stageTime)
    {
        FakeClock::now = 1000 + stageTime;
        stage.ChangeSceneOrDispatch();
        stage.RunQueue()->RunOnce();
    }
};

uint32_t Typed(uint8_t character, uint8_t trail = 0)
{
    return MMStageEvent::KeyData(0, character, trail);
}

}  // namespace

TEST_F(TextFields, KeysEditTheBuffer)
{
    const uint32_t backspace = MMStageEvent::KeyData(1001, 0, 0);
    struct Case {
        const char* name;
        const char* before;
        uint32_t key;
        bool handled;
        const char* after;
    } cases[] = {
        {"a character fits", "ab", Typed('c'), true, "abc"},
        {"a double-byte character does not", "ab", Typed(0x82, 0xA0), true, "ab"},
        {"a full field swallows", "abc", Typed('d'), true, "abc"},
        {"backspace", "abc", backspace, true, "ab"},
        {"backspace on empty", "", backspace, true, ""},
        {"control characters pass", "ab", Typed(8), false, "ab"},
        {"return passes", "ab", Typed(13), false, "ab"},
        {"e acute is a letter", "", Typed(0xE9), true, "\xE9"},
        {"the last printable", "a", Typed(0xFF), true, "a\xFF"},
        {"other key commands pass", "ab", MMStageEvent::KeyData(1000, 0, 0), false, "ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MMTextEditMolecule* field = MakeField(3);
        field->SetText(c.before);
        EXPECT_EQ(c.handled, field->HandleKey(c.key));
        EXPECT_STREQ(c.after, field->Text());
        EXPECT_EQ(static_cast<int16_t>(std::string(c.after).size()), field->Length());
        delete field;
    }
}

TEST_F(TextFields, BackspaceTakesADoubleByteCharacterWhole)
{
    SetTextCodePage(932);
    MMTextEditMolecule* field = MakeField(8);
    EXPECT_TRUE(field->HandleKey(Typed('a')));
    EXPECT_TRUE(field->HandleKey(Typed(0x82, 0xA0)));
    EXPECT_STREQ("a\x82\xA0", field->Text());
    EXPECT_TRUE(field->HandleKey(MMStageEvent::KeyData(1001, 0, 0)));
    EXPECT_STREQ("a", field->Text());
    SetTextCodePage(CP_ACP);
    delete field;
}

TEST_F(TextFields, CaretFollowsTheTextUpToTheFieldsEnd)
{
    MMTextEditMolecule* field = MakeField(20);
    EXPECT_EQ(2, field->TextVisual()->Layer());
    EXPECT_EQ(3, field->CaretVisual()->Layer());
    EXPECT_TRUE(field->CaretVisual()->IsHidden());
    EXPECT_EQ((Pair{10, 20}), field->CaretVisual()->GetPosition());
    EXPECT_EQ((Box{10, 11, 22, 23}), field->TextVisual()->GetBounds());
    field->SetText("a");
    EXPECT_EQ((Pair{15, 20}), field->CaretVisual()->GetPosition());
    field->SetText("abcdefgh");  // 40 pixels in a 12-pixel field
    EXPECT_EQ((Pair{22, 20}), field->CaretVisual()->GetPosition());
    EXPECT_EQ((Box{22, 11, 24, 23}), field->CaretVisual()->GetBounds());
    field->SetText("a longer text than the buffer holds");
    EXPECT_STREQ("a longer text than t", field->Text());
    field->SetLayer(7);
    EXPECT_EQ(7, field->Layer());
    EXPECT_EQ(8, field->CaretVisual()->Layer());

    // A click on the text focuses the field.
    MMHotSpotInterpreter* interpreter = field->Interpreter();
    EXPECT_EQ(field->TextVisual(), interpreter->HotSpot());
    EXPECT_EQ(interpreter, field->TextVisual()->GetMouseInterpreter());
    EXPECT_STREQ("Focus molecule", interpreter->Command()->Name());
    EXPECT_TRUE(field->TextVisual()->ContainsPoint(21, 22));
    EXPECT_FALSE(field->TextVisual()->ContainsPoint(22, 22));
    delete field;
}

TEST_F(TextFields, CaretBlinksEvery200MillisecondsWhileFocused)
{
    stage.StartClock();
    MMTextEditMolecule* field = MakeField(8);
    MMTEditCursorVisual* caret = field->CaretVisual();
    const Box bar = {10, 11, 12, 23};
    TakeDirty();
    Pass(0);
    EXPECT_TRUE(caret->IsHidden());  // no focus yet: the thread sleeps
    scene.SetFocus(field);

    struct Step {
        uint32_t time;
        bool shown;
        bool toggled;
    } steps[] = {{0, true, true},     {199, true, false}, {200, false, true},
                 {399, false, false}, {400, true, true}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.time);
        Pass(s.time);
        EXPECT_EQ(s.shown, !caret->IsHidden());
        EXPECT_EQ(s.toggled ? std::vector<Box>{bar} : std::vector<Box>{}, TakeDirty());
    }

    scene.SetFocus(nullptr);
    EXPECT_TRUE(caret->IsHidden());
    EXPECT_EQ(std::vector<Box>{bar}, TakeDirty());
    for (uint32_t time : {600u, 800u, 1000u}) {
        Pass(time);
        EXPECT_TRUE(caret->IsHidden());
    }
    EXPECT_EQ(INT_MAX, field->CaretThread()->WakeTime());

    // Hiding a focused field gives the focus up, which stops the caret.
    scene.SetFocus(field);
    Pass(1200);
    EXPECT_FALSE(caret->IsHidden());
    field->Hide();
    EXPECT_EQ(nullptr, scene.Focus());
    EXPECT_TRUE(caret->IsHidden());
    EXPECT_TRUE(field->TextVisual()->IsHidden());
    delete field;
}
