#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gallery/slideshow_sequence.h"
#include "gallery/slideshow_sounds.h"

namespace {

struct TestPage {
    int16_t transition, music, delay;
};

// Records what the steps ask, as one line of words.
class RecordingHost : public SlideshowHost {
public:
    explicit RecordingHost(std::vector<TestPage> pages, bool loop = false)
        : pages(std::move(pages)), loop(loop)
    {
    }
    void ShowPicture(int32_t page) override { Say("show" + std::to_string(page)); }
    void RunTransition(int16_t t) override { Say("transition" + std::to_string(t)); }
    int16_t PageTransition(int32_t page) override { return pages[page].transition; }
    int16_t PageMusic(int32_t page) override { return pages[page].music; }
    int16_t PageDelay(int32_t page) override { return pages[page].delay; }
    void StopTransitionSound() override {}
    void PlayTransitionSound(int32_t id) override { Say("sound" + std::to_string(id)); }
    void StopMusic() override { Say("stopmusic"); }
    void LoopMusic(int32_t id) override { Say("music" + std::to_string(id)); }
    bool Looping() override { return loop; }
    void ReturnToGallery() override { Say("gallery"); }

    void Say(const std::string& word) { said += (said.empty() ? "" : " ") + word + "@" + std::to_string(now); }

    std::vector<TestPage> pages;
    bool loop;
    int32_t now = 0;
    std::string said;
};

// Steps every 100 ms until the show ends or `until` is reached.
std::string Play(RecordingHost& host, int32_t until = 100000)
{
    SlideshowSequence sequence(host, int32_t(host.pages.size()));
    for (host.now = 0; host.now <= until; host.now += 100)
        if (!sequence.Step(host.now))
            break;
    return host.said;
}

}  // namespace

TEST(SlideshowSequence, Table)
{
    const std::string m1 = std::to_string(SlideshowMusicSound(1));
    const std::string m2 = std::to_string(SlideshowMusicSound(2));
    const std::string s3 = std::to_string(SlideshowTransitionSound(3));
    struct Case {
        const char* what;
        std::vector<TestPage> pages;
        bool loop;
        int32_t until;
        std::string expected;
    } cases[] = {
        // One page without looping: shown, its transition, its delay (1 s), the gallery.
        {"one page", {{0, 0, 0}}, false, 100000,
         "show0@0 transition0@200 gallery@1300"},
        // Transition 3: its sound and 2500 ms before the delay (3 s) begins; the
        // next page's transition 0 follows its delay at once.
        {"transition pause", {{3, 0, 1}, {0, 0, 0}}, false, 100000,
         "show0@0 sound" + s3 + "@200 transition3@200 show1@2800 transition0@5800 gallery@6900"},
        // The same music goes on; another one stops and starts.
        {"music", {{0, 1, 0}, {0, 1, 0}, {0, 2, 0}}, false, 100000,
         "show0@0 transition0@200 music" + m1 + "@300 show1@400 transition0@1400 show2@1600 "
         "stopmusic@2600 transition0@2600 music" + m2 + "@2700 gallery@3700"},
        // Looping starts over with page 0.
        {"loop", {{0, 0, 0}}, true, 2600,
         "show0@0 transition0@200 show0@1400 transition0@1600"},
        // Choices beyond the lists are the last ones: transition 14, 30 s.
        {"clamped", {{40, 0, 9}}, false, 100000,
         "show0@0 sound" + std::to_string(SlideshowTransitionSound(14)) +
             "@200 transition14@200 gallery@32700"},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingHost host(c.pages, c.loop);
        EXPECT_EQ(c.expected, Play(host, c.until));
    }
}
