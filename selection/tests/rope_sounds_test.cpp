// The rope's sounds and handles on a stage with its own tables: the rope
// loops while laid and snaps as it closes, the floating selection plays its
// grab and drag pair, the handles show the grabbing cursor and their light
// while held, the scale handle's pitch falls with the drag, and a scale that
// finds no memory tells the child and keeps the old size.
#include "tool_fixture.h"

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "media/picture_visual.h"
#include "media/sound/logical_sound_channel.h"
#include "selection/rope_interpreters.h"
#include "shell/alert_box.h"
#include "tools/tool_sound.h"

namespace {

const KVXComponentPixel kRed = {0, 0, 255, kPixelPlain, 5000, 0};
const char kTooBig[] = "Too big for memory";

MMResourceId TestSound(int n) { return MMMakeResourceId(kTestSoundCollection, int16_t(n)); }

// Fails every block larger than a selection's plane of 30 x 30.
class ShortHeap : public Heap {
public:
    void* Allocate(size_t size, const AllocationSite*) override
    {
        return size > 30 * 30 * sizeof(KVXComponentPixel) ? nullptr : std::malloc(size);
    }
    void Free(void* block, const AllocationSite*) override { std::free(block); }
};

std::vector<std::string> gAlerts;
int WINAPI RecordAlert(HWND, LPCSTR text, LPCSTR, UINT)
{
    gAlerts.push_back(text ? text : "");
    return IDOK;
}

TestTable Keyed(int16_t id, std::vector<std::pair<int16_t, MMResourceId>> rows)
{
    TestTable t;
    t.table = id;
    for (auto [key, value] : rows) {
        PutShort(t.rows, key);
        PutLong(t.rows, value);
        PutLong(t.rows, 0);
    }
    return t;
}

struct RopeSoundsTest : ToolFixture {
    void SetUp() override
    {
        extraTables.push_back(Keyed(491, {{1, TestSound(1)}, {2, TestSound(2)}, {2, TestSound(3)}}));
        TestTable pairs;
        pairs.table = 497;
        pairs.rowSize = 2;
        PutShort(pairs.rows, 9);  // the item of table 961: the fixture's seven, then 491 and 497
        extraTables.push_back(pairs);
        extraTables.push_back(Keyed(961, {{0, TestSound(0)}, {1, TestSound(1)}}));
        extraTables.push_back(Keyed(1008, {{3, TestSound(1)}, {4, TestSound(2)}, {5, TestSound(3)}}));
        TestTable texts = Keyed(0, {{22, 0}});
        texts.strings.assign(kTooBig, kTooBig + sizeof kTooBig);
        extraTables.push_back(texts);
        OpenData();
        bare.stage.TopEnclosure()->AddVisual(&canvas);
        canvas.SetDrawMethod(kDrawStatic, 0, 0);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 32; ++x)
                *plane.PixelAt(x, y) = kRed;
        gAlerts.clear();
        SetAlertMessageBox(RecordAlert);
    }
    void TearDown() override
    {
        rope.reset();
        bare.stage.TopEnclosure()->RemoveVisual(&canvas);
        SetAlertMessageBox(nullptr);
    }
    void Lasso(Pair from, Pair to)
    {
        rope.reset(new KVXRopeToolBoxInterpreter(&host, &bare.stage, &canvas, nullptr, kRopeSound, false));
        rope->SetFeedbackStyle(1);
        rope->Interpret(Event(from.x, from.y, kPointerPressed | kPointerHeld));
        rope->Interpret(Event(to.x, to.y, kPointerHeld));
        rope->Interpret(Event(to.x, to.y, kPointerReleased));
    }
    MMMouseInterpreter* Handle(int i) { return rope->Control(i)->GetMouseInterpreter(); }
    bool Lit(int i) { return static_cast<MMPictureButtonVisual*>(rope->Control(i))->IsHighlighted(); }

    std::unique_ptr<KVXBaseRopeToolInterpreter> rope;
};

TEST_F(RopeSoundsTest, TheRopeLoopsWhileLaidAndSnapsAsItCloses)
{
    auto* poly = new KVXRopeToolPolylineInterpreter(&host, &bare.stage, &canvas, nullptr, kRopeSound);
    rope.reset(poly);
    poly->Interpret(Event(14, 14, kPointerPressed | kPointerHeld));
    MMGenericSoundChannel* loop = rope->RopeSound()->LoopChannel();
    ASSERT_NE(nullptr, loop);
    EXPECT_EQ(TestSound(1), loop->SoundId());
    EXPECT_TRUE(loop->Request().loop);
    poly->Interpret(Event(40, 14, kPointerHeld));
    poly->Interpret(Event(40, 40, kPointerHeld));
    poly->Interpret(Event(40, 40, kPointerReleased));
    EXPECT_TRUE(rope->HasSelection());
    EXPECT_FALSE(loop->Request().active) << "the loop stops";
    MMResourceId snap = rope->RopeSound()->EffectChannel()->SoundId();
    EXPECT_TRUE(snap == TestSound(2) || snap == TestSound(3)) << "one of the two snaps";
}

TEST_F(RopeSoundsTest, TheSelectionPlaysItsGrabThenItsDragSoundAndFallsSilentWhenLetGo)
{
    Lasso({14, 14}, {30, 30});
    auto* grab = static_cast<KVXRopeSelectionMouseInterpreter*>(rope->Visual()->GetMouseInterpreter());
    EXPECT_EQ(TestSound(0), grab->SoundOf(0));
    EXPECT_EQ(TestSound(1), grab->SoundOf(1));
    grab->Interpret(Event(20, 20, kPointerPressed | kPointerHeld));
    ASSERT_NE(nullptr, grab->Channel());
    EXPECT_EQ(TestSound(0), grab->Channel()->SoundId());
    grab->Interpret(Event(22, 20, kPointerHeld));
    EXPECT_EQ(TestSound(0), grab->Channel()->SoundId()) << "the grab is still playing";
    grab->Channel()->Stop();
    grab->Interpret(Event(24, 20, kPointerHeld));
    EXPECT_EQ(TestSound(1), grab->Channel()->SoundId()) << "then the drag";
    grab->Interpret(Event(24, 20, kPointerReleased));
    EXPECT_FALSE(grab->Channel()->Request().active);
}

TEST_F(RopeSoundsTest, HeldHandlesShowTheGrabbingHandAndTheirLightAndSound)
{
    Lasso({14, 14}, {30, 30});
    MMStageCursorSet* cursors = bare.stage.Cursors();
    ASSERT_NE(nullptr, cursors);
    MMCursor* before = cursors->Requested();
    MMMouseInterpreter* scale = Handle(0);
    scale->Interpret(Event(31, 14, kPointerPressed | kPointerHeld));
    EXPECT_EQ(&host.cursors[29], cursors->Requested());
    EXPECT_TRUE(Lit(0));
    EXPECT_FALSE(Lit(1));
    MMGenericSoundChannel* channel = rope->HandleChannel();
    ASSERT_NE(nullptr, channel);
    EXPECT_EQ(TestSound(1), channel->SoundId());
    EXPECT_TRUE(channel->Request().loop);
    EXPECT_EQ(896, channel->Volume());
    EXPECT_EQ(0x10000, channel->Frequency());
    const int reference = int(std::sqrt(31.0 * 31 + 14 * 14));
    EXPECT_EQ(reference, rope->ReferenceDistance()) << "the press point's distance from the origin";
    scale->Interpret(Event(41, 14, kPointerHeld));
    EXPECT_EQ(0x10000 - 10 * 61440 / reference, channel->Frequency());
    scale->Interpret(Event(41, 14 + 3 * reference, kPointerHeld));
    EXPECT_EQ(4096, channel->Frequency()) << "past the reference distance";
    scale->Interpret(Event(41, 14, kPointerReleased));
    EXPECT_EQ(before, cursors->Requested());
    EXPECT_FALSE(Lit(0));
    EXPECT_EQ(TestSound(3), channel->SoundId()) << "the drop, once";
    EXPECT_FALSE(channel->Request().loop);
    EXPECT_EQ(1024, channel->Volume());
    EXPECT_EQ(0x10000, channel->Frequency());

    MMMouseInterpreter* move = Handle(1);
    move->Interpret(Event(14, 14, kPointerPressed | kPointerHeld));
    EXPECT_TRUE(Lit(1));
    EXPECT_EQ(TestSound(2), channel->SoundId());
    move->Interpret(Event(16, 16, kPointerReleased));
    EXPECT_FALSE(Lit(1));
    EXPECT_EQ(TestSound(3), channel->SoundId());
    EXPECT_TRUE(gAlerts.empty());
}

TEST_F(RopeSoundsTest, AScaleWithoutMemoryTellsTheChildAndKeepsTheOldSize)
{
    Lasso({14, 14}, {30, 30});
    Box before = rope->Selection().GetBox();
    int width = rope->Selection().CutPlane()->width;
    static ShortHeap shortHeap;
    Heap* saved = gDefaultHeap;
    MMMouseInterpreter* scale = Handle(0);
    scale->Interpret(Event(31, 14, kPointerPressed | kPointerHeld));
    scale->Interpret(Event(70, 5, kPointerHeld));
    gDefaultHeap = &shortHeap;
    scale->Interpret(Event(70, 5, kPointerReleased));
    gDefaultHeap = saved;
    ASSERT_EQ(1u, gAlerts.size());
    EXPECT_EQ(kTooBig, gAlerts[0]);
    EXPECT_EQ(before, rope->Selection().GetBox()) << "left and bottom kept, the old size";
    EXPECT_EQ(width, rope->Selection().CutPlane()->width);
    EXPECT_FALSE(rope->Visual()->IsHidden());
    rope->FinishRope(0);
    EXPECT_EQ(255, plane.PixelAt(20 - 10, 20 - 10)->red) << "put down whole";
}

}  // namespace
