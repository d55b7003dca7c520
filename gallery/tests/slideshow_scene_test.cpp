// The slideshow (scene 3) on a stage stepped by hand with the program's
// data: real books with real stamps, the fake clock, the application's loop
// setting.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "canvas/canvas_scene.h"
#include "canvas/canvas_visual.h"
#include "engine/picture_loader.h"
#include "engine/record_table.h"
#include "gallery/slideshow_scene.h"
#include "gallery/slideshow_sounds.h"
#include "gallery/slideshow_thread.h"
#include "media/offscreen_surface.h"
#include "media/sound/logical_sound_channel.h"
#include "stage_rig.h"
#include "media/picture_visual.h"
#include "shell/alert_box.h"
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

// A stamp of the drawer's sea (genre 4, page 0; entry 2 the foreground,
// 3 the animated fish) at its natural size, its corner at a point of the
// painting screen's canvas.
KVXStampRecord SeaStamp(int32_t n, int32_t kind, int32_t x, int32_t y)
{
    MMResourceId entry = MMItemOfRow(MMItemOfRow(MMItemOfRow(996, 2, 4), 2, 0), 0, n);
    MMRecordTable table;
    table.Load(MMItemOfRow(entry, 1, 0), 10, gDefaultHeap);
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
// in the canvas plane with its own stamps; the page ends at the canvas's
// edge, so the part of a stamp past it stays black.
TEST_F(SlideshowSceneTest, TheShownPagesStampsAnimateAndTheNextPageStaysUnseen)
{
    for (const char* name : {"Stmp1.MMP", "Stmp2.MMP"})
        ASSERT_NE(nullptr, MMOpenPictureFile(BuiltDataFolder(), name, false)) << name;
    // Page 0 red, page 1 green, each with the fish's swimming middle over
    // the canvas and the rest of it past every edge but the top; one second
    // each, no transition.
    RealCanvas canvas(kWidth, kHeight);
    KVXStampRecord fish = Fish(-80, 0);
    ASSERT_GT(fish.bounds.right, CanvasBox.left + kWidth) << "past the canvas's right edge";
    ASSERT_GT(fish.bounds.bottom, CanvasBox.top + kHeight) << "and its bottom edge";
    ASSERT_NE(-1, fish.animationTable);
    {
        SketchbookFile book(scratch.folder, "show");
        ASSERT_TRUE(book.Open(2, &canvas.content));
        canvas.stamps.places[3] = fish;
        canvas.Fill(0xFF, 0, 0);
        ASSERT_TRUE(book.WritePage(canvas.content, 0));
        canvas.Fill(0, 0xFF, 0);
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
    Box onStage = fish.bounds;
    onStage.Offset({MpSlideshowScene::kPictureX - CanvasBox.left,
                    MpSlideshowScene::kPictureY - CanvasBox.top});
    const Box canvasArea = {MpSlideshowScene::kPictureX, MpSlideshowScene::kPictureY,
                            MpSlideshowScene::kPictureX + kWidth,
                            MpSlideshowScene::kPictureY + kHeight};
    // The fish's parts past the canvas: left, right and below it.
    const Box past[3] = {{onStage.left, onStage.top, canvasArea.left, onStage.bottom},
                         {canvasArea.right, onStage.top, onStage.right, onStage.bottom},
                         {canvasArea.left, canvasArea.bottom, canvasArea.right, onStage.bottom}};
    auto colours = [&](uint32_t colour) {
        size_t n = 0;
        for (uint32_t pixel : PixelsOf(stage.Offscreen(), canvasArea))
            n += pixel == colour ? 1 : 0;
        return n;
    };
    auto framed = [&]() {
        for (const Box& box : past)
            for (uint32_t pixel : PixelsOf(stage.Offscreen(), box))
                ASSERT_EQ(0x000000u, pixel) << "the border cuts the stamp at the canvas's edge";
    };

    for (int i = 0; i < 20 && show->ShownPage() != 0; ++i)
        Step();
    ASSERT_EQ(0, show->ShownPage());
    std::vector<std::vector<uint32_t>> looks;
    bool prepared = false;
    const size_t all = size_t(kWidth) * kHeight;
    for (int i = 0; i < 40 && show->ShownPage() == 0; ++i) {
        Step();
        SCOPED_TRACE(i);
        looks.push_back(PixelsOf(stage.Offscreen(), canvasArea));
        size_t red = colours(0xFF0000);
        EXPECT_GT(red, 0u) << "the page shows";
        EXPECT_LT(red, all) << "the fish shows over it";
        // The next page's green, in the plane now, never shows through,
        // nor do its stamps.
        ASSERT_EQ(0u, colours(0x00FF00));
        if (show->PreparedPage() == 1) {
            prepared = true;
            for (KVXStampBase* stamp : show->BackStamps()->Listed())
                EXPECT_TRUE(stamp->Visual()->IsHidden()) << "the next page's stamp waits unseen";
        }
        framed();
    }
    ASSERT_GE(looks.size(), 20u);
    EXPECT_TRUE(prepared) << "the next page was read while this one played";
    size_t changes = 0;
    for (size_t i = 1; i < looks.size(); ++i)
        changes += looks[i] != looks[i - 1] ? 1 : 0;
    EXPECT_GE(changes, 2u) << "the fish swims";

    for (int i = 0; i < 20 && show->ShownPage() != 1; ++i)
        Step();
    ASSERT_EQ(1, show->ShownPage());
    Step();
    // Page 0's fish left with its page; page 1's plays, framed alike.
    EXPECT_EQ(0u, colours(0xFF0000));
    EXPECT_GT(colours(0x00FF00), 0u);
    EXPECT_LT(colours(0x00FF00), all) << "the next fish shows";
    framed();
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

// Each page's slate drawing plays on the canvas over its picture from its
// first key frame; the next page stops it and plays its own, or none.
TEST_F(SlideshowSceneTest, TheShownPagesSlateDrawingPlaysAndStopsWithIt)
{
    // Page 0 red, its magenta line going down from row 8 to row 40 of the
    // canvas; page 1 green, a still white line down column 32; page 2
    // yellow, nothing drawn.
    const uint32_t stroke = 0xFF00FF, still = 0xFFFFFF;
    RealCanvas canvas(kWidth, kHeight);
    auto at = [](int32_t x, int32_t y) { return Pair{CanvasBox.left + x, CanvasBox.top + y}; };
    {
        SketchbookFile book(scratch.folder, "show");
        ASSERT_TRUE(book.Open(3, &canvas.content));
        Pair top[2] = {at(4, 8), at(60, 8)};
        Pair bottom[2] = {at(4, 40), at(60, 40)};
        canvas.slate->StoreFrame(0, 0, top, 2, stroke, 3);
        canvas.slate->StoreFrame(0, 1, bottom, 2, stroke, 3);
        canvas.Fill(0xFF, 0, 0);
        ASSERT_TRUE(book.WritePage(canvas.content, 0));
        canvas.slate->ClearAll();
        Pair down[2] = {at(32, 2), at(32, 46)};
        canvas.slate->StoreFrame(2, 0, down, 2, still, 3);
        canvas.Fill(0, 0xFF, 0);
        ASSERT_TRUE(book.WritePage(canvas.content, 1));
        canvas.slate->ClearAll();
        canvas.Fill(0xFF, 0xFF, 0);
        ASSERT_TRUE(book.WritePage(canvas.content, 2));
        book.Close();
    }
    UseBooks();
    const int16_t delays[3] = {1, 0, 0};  // 3 s, 1 s, 1 s
    for (int32_t p = 0; p < 3; ++p) {
        list->SetPageTransition(0, p, 0);
        list->SetPageDelay(0, p, delays[p]);
    }
    app.SetLoop(false);
    Enter();
    auto pixel = [&](int32_t x, int32_t y) {
        return ColourAt(stage.Offscreen(), MpSlideshowScene::kPictureX + x,
                        MpSlideshowScene::kPictureY + y);
    };
    for (int i = 0; i < 20 && show->ShownPage() != 0; ++i)
        Step();
    ASSERT_EQ(0, show->ShownPage());
    ASSERT_NE(nullptr, show->CanvasVisual());
    EXPECT_TRUE(show->CanvasVisual()->IsSlatePlaying());
    // It shows its first key frame with the page, then passes its
    // in-betweens down to the second one.
    EXPECT_EQ(stroke, pixel(32, 8));
    EXPECT_EQ(0xFF0000u, pixel(32, 40));
    bool seen[3] = {false, false, false};
    const int32_t rows[3] = {8, 24, 40};
    for (int i = 0; i < 100 && show->ShownPage() == 0; ++i) {
        Step();
        for (int r = 0; r < 3; ++r)
            seen[r] = seen[r] || pixel(32, rows[r]) == stroke;
        // The next page's drawing waits.
        ASSERT_NE(still, pixel(32, 30));
    }
    EXPECT_TRUE(seen[0] && seen[1] && seen[2]) << seen[0] << seen[1] << seen[2];

    struct After {
        int32_t page;
        bool playing;
        uint32_t colour, line;  // the page's colour; its line's at column 32
    };
    const After after[2] = {{1, true, 0x00FF00, still}, {2, false, 0xFFFF00, 0xFFFF00}};
    for (const After& a : after) {
        SCOPED_TRACE(a.page);
        for (int i = 0; i < 200 && show->ShownPage() != a.page; ++i)
            Step();
        ASSERT_EQ(a.page, show->ShownPage());
        for (int i = 0; i < 30; ++i) {
            Step();
            EXPECT_EQ(a.playing, show->CanvasVisual()->IsSlatePlaying());
            // The leaving page's line is gone from every row.
            for (int32_t y : {8, 24, 40}) {
                ASSERT_EQ(a.colour, pixel(12, y)) << y;
                ASSERT_EQ(a.line, pixel(32, y)) << y;
            }
        }
    }
}

namespace {

int gAlerts = 0;

int WINAPI CountAlert(HWND, LPCSTR, LPCSTR, UINT)
{
    ++gAlerts;
    return IDOK;
}

}  // namespace

// Two pages, each with a fish whose picture is gone from the data: round
// and round, the child hears of it once a show.
TEST_F(SlideshowSceneTest, AStampWhosePictureIsGoneIsToldOfOnceAShow)
{
    for (const char* name : {"Stmp1.MMP", "Stmp2.MMP"})
        ASSERT_NE(nullptr, MMOpenPictureFile(BuiltDataFolder(), name, false)) << name;
    RealCanvas canvas(kWidth, kHeight);
    KVXStampRecord fish = Fish(100, 100);
    // Its picture file is not there (a collection that was never opened).
    fish.bwPicture = MMPictureID(0x7FF00000u | (uint32_t(fish.bwPicture) & 0xFFFFu));
    fish.colourPicture = fish.bwPicture;
    MMPictureReference gone;
    gone.Load(fish.bwPicture);
    ASSERT_TRUE(gone.IsEmpty());
    canvas.stamps.places[kLayerPlaces] = fish;
    canvas.Fill(0xFF, 0, 0);
    ASSERT_TRUE(WriteRealBook(scratch.folder, "show", canvas, 2));
    UseBooks();
    for (int32_t p = 0; p < 2; ++p) {
        list->SetPageTransition(0, p, 0);
        list->SetPageDelay(0, p, 0);
    }
    app.SetLoop(true);
    SetAlertMessageBox(CountAlert);
    gAlerts = 0;
    for (int32_t showCount = 1; showCount <= 2; ++showCount) {
        SCOPED_TRACE(showCount);
        Enter();
        std::string pages;
        int32_t last = -1;
        for (int i = 0; i < 600 && pages.size() < 5; ++i) {
            Step();
            if (show->ShownPage() != last) {
                last = show->ShownPage();
                pages += std::to_string(last);
            }
        }
        EXPECT_EQ("01010", pages);
        EXPECT_EQ(showCount, gAlerts);
        stage.SetPendingScene(nullptr, nullptr, nullptr);
        stage.ChangeSceneOrDispatch();
    }
    SetAlertMessageBox(nullptr);
}
