// The slideshow (scene 3) on a stage stepped by hand with the program's
// data: real books, the fake clock, the application's loop setting.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gallery/slideshow_scene.h"
#include "gallery/slideshow_sounds.h"
#include "gallery/slideshow_thread.h"
#include "media/offscreen_surface.h"
#include "media/sound/logical_sound_channel.h"
#include "stage_rig.h"

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
