// The slideshow (scene 3) on a stage stepped by hand with the program's
// data: real books with real stamps, the fake clock, the application's loop
// setting.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "canvas/canvas_scene.h"
#include "engine/picture_loader.h"
#include "engine/record_table.h"
#include "gallery/slideshow_scene.h"
#include "gallery/slideshow_sounds.h"
#include "gallery/slideshow_thread.h"
#include "media/offscreen_surface.h"
#include "media/sound/logical_sound_channel.h"
#include "stage_rig.h"
#include "media/picture_visual.h"
#include "stamps/base_stamp_manager.h"
#include "stamps/stamp_base.h"
#include "stamps/stamp_scaling.h"

namespace {

struct Page {
    uint32_t colour;  // 0xRRGGBB
    int16_t transition, music, delay;
};

// 0xRRGGBB of a surface's pixel.
uint32_t ColourAt(MMSurface* surface, int32_t x, int32_t y)
{
    MMBitmap bitmap;
    if (surface == nullptr || !surface->GetBitmap(bitmap))
        return 0xDEAD;
    const uint8_t* p = bitmap.PixelAddress(x, y);
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

class SlideshowSceneTest : public GalleryStageTest {
protected:
    void SetUp() override
    {
        GalleryStageTest::SetUp();
        app.SetSceneSlot(kSceneGallery, &gallery);
        show.reset(new MpSlideshowScene(&stage));
        app.SetSceneSlot(kSceneSlideshow, show.get());
    }
    void ReleaseScenes() override { show.reset(); }
    // A book of these pages, current, with its choices.
    void MakeBook(const std::vector<Page>& pages)
    {
        RealCanvas canvas(kWidth, kHeight);
        {
            SketchbookFile book(scratch.folder, "show");
            ASSERT_TRUE(book.Open(int32_t(pages.size()), &canvas.content));
            for (size_t p = 0; p < pages.size(); ++p) {
                uint32_t c = pages[p].colour;
                canvas.Fill(uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c));
                ASSERT_TRUE(book.WritePage(canvas.content, int32_t(p)));
            }
            book.Close();
        }
        UseBooks();
        for (size_t p = 0; p < pages.size(); ++p) {
            list->SetPageTransition(0, int32_t(p), pages[p].transition);
            list->SetPageMusic(0, int32_t(p), pages[p].music);
            list->SetPageDelay(0, int32_t(p), pages[p].delay);
        }
    }
    void Enter() { EnterScene(show.get()); }
    // The stage's pixel in the middle of the shown picture.
    uint32_t Shown()
    {
        return ColourAt(stage.Offscreen(), MpSlideshowScene::kPictureX + kWidth / 2,
                        MpSlideshowScene::kPictureY + kHeight / 2);
    }
    RecordingScene gallery{&stage, &log};
    std::unique_ptr<MpSlideshowScene> show;
};

}  // namespace

TEST_F(SlideshowSceneTest, PlaysTheBookWithItsChoicesAndReturns)
{
    // Red with transition 3 and music 1 (1 s), green with the same music and
    // no transition (3 s), blue without music (1 s).
    MakeBook({{0xFF0000, 3, 1, 0}, {0x00FF00, 0, 1, 1}, {0x0000FF, 0, 0, 0}});
    app.SetLoop(false);
    Enter();
    ASSERT_EQ(show.get(), stage.Scene());
    // Black all over before the first picture.
    Step();
    EXPECT_EQ(0x000000u, ColourAt(stage.Offscreen(), 5, 5));
    EXPECT_EQ(0x000000u, Shown());
    std::vector<int32_t> colours;
    uint32_t start = FakeClock::now;
    std::vector<std::pair<int32_t, int32_t>> seen;
    int32_t last = -1;
    while (stage.Scene() == show.get() && FakeClock::now - start < 60000) {
        Step();
        if (show->ShownPage() != last) {
            last = show->ShownPage();
            seen.push_back({last, int32_t(FakeClock::now - start)});
            colours.push_back(int32_t(Shown()));
        }
        // The music starts once the first transition's 2500 ms are over,
        // goes on through page 1 and stops for page 2.
        if (FakeClock::now - start == 3000) {
            ASSERT_NE(nullptr, show->MusicChannel());
            EXPECT_EQ(SlideshowMusicSound(1), show->MusicId());
            EXPECT_EQ(SlideshowMusicSound(1), show->MusicChannel()->SoundId());
        }
    }
    int32_t back = stage.Scene() == &gallery ? int32_t(FakeClock::now - start) : -1;
    ASSERT_EQ(3u, seen.size());
    // Page 1 after page 0's transition pause and delay (2.5 s + 1 s), page
    // 2 after page 1's 3 s at once (transition 0), the gallery after its 1 s.
    const int32_t expected[3] = {0, 3500, 6500};
    const uint32_t shown[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(i, seen[i].first);
        EXPECT_NEAR(expected[i], seen[i].second, 120);
        EXPECT_EQ(shown[i], uint32_t(colours[i]));
    }
    EXPECT_NEAR(7500, back, 150);
    EXPECT_EQ(kNoSound, show->MusicId());
}

TEST_F(SlideshowSceneTest, KeyOrClickEndsItAndLoopingStartsOver)
{
    MakeBook({{0xFF0000, 0, 0, 0}, {0x00FF00, 0, 0, 0}});
    struct Case {
        const char* what;
        bool loop;
        int32_t stepsBefore;
        int how;  // 0 key, 1 click, 2 none
        const char* expected;
    } cases[] = {
        {"key", false, 10, 0, "gallery"},
        {"click", false, 10, 1, "gallery"},
        // Looping: after page 1's second, page 0 again, and on.
        {"loop", true, 250, 2, "show"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        app.SetLoop(c.loop);
        Enter();
        std::string pages;
        int32_t last = -1;
        for (int i = 0; i < c.stepsBefore; ++i) {
            Step();
            if (show->ShownPage() != last) {
                last = show->ShownPage();
                pages += std::to_string(last);
            }
        }
        if (c.how == 0) {
            MMStageEvent key = {kStageEventKey, 0, 0, 0, 0, MMStageEvent::KeyData(0, 'a', 0)};
            stage.QueueInputEvent(key);
        } else if (c.how == 1) {
            MMStageEvent press = {kStageEventPointer, 0, 0, 300, 300,
                                  kPointerPressed | kPointerHeld};
            stage.QueueInputEvent(press);
        }
        Step();
        Step();
        Step();
        EXPECT_EQ(c.expected, std::string(stage.Scene() == &gallery ? "gallery" : "show"));
        if (c.loop) {
            EXPECT_EQ("01010", pages.substr(0, 5));
        }
        stage.SetPendingScene(nullptr, nullptr, nullptr);
        stage.ChangeSceneOrDispatch();
    }
}

namespace {

MMResourceId ItemOf(MMResourceId tableId, int16_t key, int32_t n)
{
    MMRecordTable table;
    table.Load(tableId, 10, gDefaultHeap);
    int32_t row = table.FindRowByKey(key, 0, n);
    MMResourceId item = row < 0 ? MMResourceId(-1) : table.ItemIdAt(row, 2);
    table.Free();
    return item;
}

// A stamp of the drawer's sea (genre 4, page 0; entry 2 the foreground,
// 3 the animated fish) at its natural size, its corner at a point of the
// painting screen's canvas.
KVXStampRecord SeaStamp(int32_t n, int32_t kind, int32_t x, int32_t y)
{
    MMResourceId entry = ItemOf(ItemOf(ItemOf(996, 2, 4), 2, 0), 0, n);
    MMRecordTable table;
    table.Load(ItemOf(entry, 1, 0), 10, gDefaultHeap);
    KVXStampValues values = StampValuesFromTable(table);
    table.Free();
    MMPictureReference lineArt;
    lineArt.Load(values.bwPicture);
    Pair size = lineArt.IsEmpty() ? Pair{0, 0} : lineArt.GetSize();
    lineArt.Clear();
    KVXStampRecord fish;
    fish.kind = kind;
    fish.genre = 4;
    fish.depth = 0;
    fish.bwPicture = values.bwPicture;
    fish.colourPicture = values.colourPicture;
    fish.animationTable = values.animationTable;
    fish.sizeStep = SizeStepFor(size, size);
    fish.animated = 1;
    fish.bounds = {CanvasBox.left + x, CanvasBox.top + y, CanvasBox.left + x + size.x,
                   CanvasBox.top + y + size.y};
    fish.size = size;
    return fish;
}

KVXStampRecord Fish(int32_t x, int32_t y)
{
    return SeaStamp(3, kStampCharacter, x, y);
}

// The stage's pixels of a box, clipped to the stage, as 0xRRGGBB.
std::vector<uint32_t> PixelsOf(MMSurface* surface, const Box& box)
{
    std::vector<uint32_t> pixels;
    for (int32_t y = std::max(box.top, 0); y < std::min(box.bottom, 600); ++y)
        for (int32_t x = std::max(box.left, 0); x < std::min(box.right, 800); ++x)
            pixels.push_back(ColourAt(surface, x, y));
    return pixels;
}

}  // namespace

// The shown page's stamps play over its picture while the next page waits
// in the canvas plane, unseen, with its own stamps.
TEST_F(SlideshowSceneTest, TheShownPagesStampsAnimateAndTheNextPageStaysUnseen)
{
    for (const char* name : {"Stmp1.MMP", "Stmp2.MMP"})
        ASSERT_NE(nullptr, MMOpenPictureFile(BuiltDataFolder(), name, false)) << name;
    // Page 0 red with the fish over the canvas's right edge, page 1 green
    // with it far to the right, over black; one second each, no transition.
    RealCanvas canvas(kWidth, kHeight);
    KVXStampRecord first = Fish(40, 4);
    KVXStampRecord second = Fish(400, 100);
    ASSERT_GT(first.size.x, kWidth - 40 + 8) << "past the canvas's right edge";
    ASSERT_GT(first.size.y, 8);
    ASSERT_NE(-1, first.animationTable);
    {
        SketchbookFile book(scratch.folder, "show");
        ASSERT_TRUE(book.Open(2, &canvas.content));
        canvas.Fill(0xFF, 0, 0);
        canvas.stamps.places[3] = first;
        ASSERT_TRUE(book.WritePage(canvas.content, 0));
        canvas.Fill(0, 0xFF, 0);
        canvas.stamps.places[3] = second;
        ASSERT_TRUE(book.WritePage(canvas.content, 1));
        book.Close();
    }
    UseBooks();
    for (int32_t p = 0; p < 2; ++p) {
        list->SetPageTransition(0, p, 0);
        list->SetPageDelay(0, p, 0);
    }
    app.SetLoop(false);
    Enter();
    const Pair shift = {MpSlideshowScene::kPictureX - CanvasBox.left,
                        MpSlideshowScene::kPictureY - CanvasBox.top};
    Box firstOnStage = first.bounds, secondOnStage = second.bounds;
    firstOnStage.Offset(shift);
    secondOnStage.Offset(shift);
    const Box canvasArea = {MpSlideshowScene::kPictureX, MpSlideshowScene::kPictureY,
                            MpSlideshowScene::kPictureX + kWidth,
                            MpSlideshowScene::kPictureY + kHeight};
    Box fishOverCanvas = firstOnStage;
    fishOverCanvas.Intersect(canvasArea);
    ASSERT_FALSE(fishOverCanvas.IsEmpty());

    for (int i = 0; i < 20 && show->ShownPage() != 0; ++i)
        Step();
    ASSERT_EQ(0, show->ShownPage());
    std::vector<std::vector<uint32_t>> looks;
    bool prepared = false;
    for (int i = 0; i < 40 && show->ShownPage() == 0; ++i) {
        Step();
        SCOPED_TRACE(i);
        prepared = prepared || show->PreparedPage() == 1;
        looks.push_back(PixelsOf(stage.Offscreen(), firstOnStage));
        EXPECT_EQ(0xFF0000u, ColourAt(stage.Offscreen(), canvasArea.left + 2, canvasArea.top + 2));
        // The next page's green, in the plane now, never shows through.
        for (uint32_t pixel : PixelsOf(stage.Offscreen(), fishOverCanvas))
            ASSERT_NE(0x00FF00u, pixel);
        for (uint32_t pixel : PixelsOf(stage.Offscreen(), secondOnStage))
            ASSERT_EQ(0x000000u, pixel) << "the next page's stamp waits unseen";
    }
    ASSERT_GE(looks.size(), 20u);
    EXPECT_TRUE(prepared) << "the next page was read while this one played";
    const std::vector<uint32_t> black(looks[0].size(), 0x000000u);
    EXPECT_NE(black, looks[0]) << "the fish shows";
    size_t changes = 0;
    for (size_t i = 1; i < looks.size(); ++i)
        changes += looks[i] != looks[i - 1] ? 1 : 0;
    EXPECT_GE(changes, 2u) << "the fish swims";

    for (int i = 0; i < 20 && show->ShownPage() != 1; ++i)
        Step();
    ASSERT_EQ(1, show->ShownPage());
    Step();
    // Page 0's fish left with its page; page 1's plays.
    EXPECT_EQ(0x00FF00u, ColourAt(stage.Offscreen(), canvasArea.right - 2, canvasArea.top + 6));
    for (uint32_t pixel : PixelsOf(stage.Offscreen(), Box{canvasArea.right, firstOnStage.top,
                                                           firstOnStage.right, firstOnStage.bottom}))
        ASSERT_EQ(0x000000u, pixel);
    EXPECT_NE(black, PixelsOf(stage.Offscreen(), secondOnStage)) << "the next fish shows";
    ASSERT_NE(nullptr, show->FrontStamps());
    EXPECT_EQ(1u, show->FrontStamps()->Listed().size());
    EXPECT_EQ(0u, show->BackStamps()->Listed().size());
}

// The foreground stands over everything else in colour, on the shown
// canvas's bottom edge.
TEST_F(SlideshowSceneTest, TheForegroundShowsInColourOnTheCanvasBottom)
{
    for (const char* name : {"Stmp1.MMP", "Stmp2.MMP"})
        ASSERT_NE(nullptr, MMOpenPictureFile(BuiltDataFolder(), name, false)) << name;
    RealCanvas canvas(kWidth, kHeight);
    canvas.Fill(0xFF, 0, 0);
    canvas.stamps.places[kStampForeground] = SeaStamp(2, kStampForeground, 0, 0);
    ASSERT_TRUE(WriteRealBook(scratch.folder, "show", canvas, 1));
    UseBooks();
    Enter();
    for (int i = 0; i < 20 && show->ShownPage() != 0; ++i)
        Step();
    ASSERT_EQ(0, show->ShownPage());
    Step();
    KVXStampBase* foreground = show->FrontStamps()->Foreground();
    ASSERT_NE(nullptr, foreground);
    EXPECT_FALSE(foreground->Visual()->IsHidden());
    Box box = foreground->Visual()->GetBounds();
    EXPECT_EQ(MpSlideshowScene::kPictureX, box.left);
    EXPECT_EQ(MpSlideshowScene::kPictureY + kHeight, box.bottom);
    // Its colours over the red page.
    size_t coloured = 0;
    for (uint32_t pixel : PixelsOf(stage.Offscreen(), box))
        coloured += pixel != 0xFF0000u && pixel != 0x000000u ? 1 : 0;
    EXPECT_GT(coloured, size_t(box.Width()));
}
