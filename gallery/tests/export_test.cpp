#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "gallery/bmp_writer.h"
#include "gallery/movie_export.h"
#include "gallery/page_picture.h"
#include "gallery/slideshow_export.h"
#include "gallery/slideshow_sounds.h"
#include "media/offscreen_surface.h"

#include "page_fixture.h"

namespace {

const char* ExportTexts(int16_t key)
{
    switch (key) {
    case kTextExportName: return "mon dessin.bmp";
    case kTextBmpExtension: return ".bmp";
    case kTextMovieExtension: return ".avi";
    default: return TestTexts(key);
    }
}

class UncompressedOptions : public MovieOptionsDialog {
public:
    bool Ask(PAVISTREAM, AVICOMPRESSOPTIONS* options) override
    {
        ++asked;
        if (cancel)
            return false;
        options->fccType = streamtypeVIDEO;
        options->fccHandler = comptypeDIB;
        return true;
    }
    bool cancel = false;
    int asked = 0;
};

// Answers the save dialog with a fixed folder, name and kind.
class FakeDialogs : public ExportDialogs {
public:
    bool AskFileName(char* folder, char* name, int32_t& kind) override
    {
        offered.push_back(name);
        if (int(offered.size()) > answers)
            return false;
        lstrcpynA(folder, answerFolder.c_str(), FS_PATH_SIZE);
        lstrcpynA(name, answerName, kExportNameSize);
        kind = answerKind;
        return true;
    }
    bool AskReplace(const char*) override
    {
        ++questions;
        return replace;
    }
    MovieOptionsDialog& Options() override { return options; }

    std::string answerFolder;
    const char* answerName = "film";
    int32_t answerKind = kExportKindBmp;
    int answers = 1;
    bool replace = true;
    int questions = 0;
    std::vector<std::string> offered;
    UncompressedOptions options;
};

class ExportTest : public BookTest {
protected:
    void SetUp() override
    {
        BookTest::SetUp();
        SetGalleryTextSource(&ExportTexts);
        dialogs.answerFolder = scratch.folder.Path();
    }
    ExportPage Page(RealCanvas& target, int16_t music = 0, int16_t delay = 0)
    {
        return {&book, 0, &target.plane, music, delay};
    }

    SketchbookFile book{scratch.folder, "book"};
    FakeDialogs dialogs;
    char folder[FS_PATH_SIZE] = "";
};

MovieSound Tone(int32_t milliseconds)
{
    MovieSound sound;
    sound.format = 26;  // 22050 Hz, 16-bit, stereo
    sound.durationMs = milliseconds;
    sound.samples.resize(size_t(22050) * 4 * milliseconds / 1000);
    for (size_t i = 0; i < sound.samples.size(); ++i)
        sound.samples[i] = uint8_t(i * 37);
    return sound;
}

}  // namespace

TEST_F(ExportTest, BmpOfEightByTwoIsExactly118Bytes)
{
    WinMMOffscreenSurface* surface = MMSurface::CreateBitmapDC(32, {0, 0, 8, 2}, nullptr);
    ASSERT_NE(nullptr, surface);
    surface->FillBox({0, 0, 8, 1}, MakeMMColorFromRgb(0x0000FF));  // top row blue
    surface->FillBox({0, 1, 8, 2}, MakeMMColorFromRgb(0xFF0000));  // bottom row red
    FSFile file;
    ASSERT_TRUE(file.Open(scratch.folder, "p.bmp", FS_OPEN_CREATE));
    EXPECT_TRUE(WriteBmpFile(*surface, file));
    file.Close();
    surface->Dispose();
    std::string bytes = Bytes("p.bmp");
    ASSERT_EQ(118u, bytes.size());
    const int32_t header[] = {0, 118, 0, 54, 40, 8, 2};
    const size_t at[] = {0, 2, 6, 10, 14, 18, 22};
    EXPECT_EQ("BM", bytes.substr(0, 2));
    for (int i = 1; i < 7; ++i)
        EXPECT_EQ(header[i], Long(bytes, at[i])) << "at " << at[i];
    EXPECT_EQ(1, Short(bytes, 26));
    EXPECT_EQ(32, Short(bytes, 28));
    EXPECT_EQ(std::string(24, '\0'), bytes.substr(30, 24));
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(std::string("\0\0\xFF\0", 4), bytes.substr(54 + x * 4, 4)) << x;
        EXPECT_EQ(std::string("\xFF\0\0\0", 4), bytes.substr(86 + x * 4, 4)) << x;
    }
}

TEST(SlideshowSounds, OneMappingForEveryChoice)
{
    EXPECT_EQ(kNoSound, SlideshowMusicSound(0));
    EXPECT_EQ(kNoSound, SlideshowTransitionSound(0));
    std::vector<int32_t> ids;
    for (int m = 1; m < kMusicChoices; ++m)
        ids.push_back(SlideshowMusicSound(m));
    for (int t = 1; t < kTransitionChoices; ++t)
        ids.push_back(SlideshowTransitionSound(t));
    for (size_t i = 0; i < ids.size(); ++i) {
        EXPECT_NE(kNoSound, ids[i]);
        for (size_t j = i + 1; j < ids.size(); ++j)
            EXPECT_NE(ids[i], ids[j]) << i << " " << j;
    }
    EXPECT_EQ(SlideshowMusicSound(15), SlideshowMusicSound(99));
    EXPECT_EQ(SlideshowMusicSound(0), SlideshowMusicSound(-4));
    EXPECT_EQ(SlideshowTransitionSound(14), SlideshowTransitionSound(20));
    const int seconds[] = {1, 3, 5, 10, 15, 20, 30, 30};
    for (int d = 0; d < 8; ++d)
        EXPECT_EQ(seconds[d], DelaySeconds(d)) << d;
    EXPECT_STREQ("10", DelayLabel(3));

    MovieSound silent;
    ASSERT_TRUE(MovieSoundOf(0, 4, silent));
    EXPECT_EQ(15000, silent.durationMs);
    EXPECT_TRUE(silent.samples.empty());
}

TEST(MovieWave, HeaderFollowsTheFormatWord)
{
    WAVEFORMATEX stereo = MovieWaveFormat(26);
    EXPECT_EQ(WAVE_FORMAT_PCM, stereo.wFormatTag);
    EXPECT_EQ(2, stereo.nChannels);
    EXPECT_EQ(22050u, stereo.nSamplesPerSec);
    EXPECT_EQ(4, stereo.nBlockAlign);
    EXPECT_EQ(88200u, stereo.nAvgBytesPerSec);
    EXPECT_EQ(16, stereo.wBitsPerSample);
    EXPECT_EQ(0, stereo.cbSize);
    WAVEFORMATEX mono = MovieWaveFormat(1);
    EXPECT_EQ(1, mono.nChannels);
    EXPECT_EQ(11025u, mono.nSamplesPerSec);
    EXPECT_EQ(1, mono.nBlockAlign);
    EXPECT_EQ(8, mono.wBitsPerSample);
}

TEST_F(ExportTest, BmpOfThePageReplacesTheOldFileAndKeepsItsOwnName)
{
    RealCanvas canvas(64, 48);
    canvas.Fill(220, 20, 30);
    ASSERT_TRUE(WriteRealBook(scratch.folder, "book", canvas, 1));
    Put("film.bmp", "old");
    RealCanvas shown(64, 48);
    SlideshowExport exporter(dialogs, folder);
    dialogs.answerName = "film.png";
    ASSERT_TRUE(exporter.OnExport(Page(shown)));
    EXPECT_EQ("mon dessin.bmp", dialogs.offered.at(0));
    std::string bytes = Bytes("film.bmp");
    ASSERT_EQ(size_t(54 + 64 * 48 * 4), bytes.size());
    EXPECT_EQ(48, Long(bytes, 22));
    size_t middle = 54 + (24 * 64 + 32) * 4;
    EXPECT_NEAR(30, uint8_t(bytes[middle]), 24);
    EXPECT_NEAR(20, uint8_t(bytes[middle + 1]), 24);
    EXPECT_NEAR(220, uint8_t(bytes[middle + 2]), 24);
    EXPECT_FALSE(FSFileExists(scratch.folder, "~film.bmp"));
    EXPECT_STREQ(scratch.folder.Path(), folder);
}

TEST_F(ExportTest, CancelledOptionsAndNoKeepTheOldMovie)
{
    RealCanvas canvas(64, 48);
    ASSERT_TRUE(WriteRealBook(scratch.folder, "book", canvas, 1));
    Put("film.avi", "old movie");
    RealCanvas shown(64, 48);
    SlideshowExport exporter(dialogs, folder);
    dialogs.answerKind = kExportKindMovie;

    // "No" brings the save dialog back; its cancel ends the export.
    dialogs.replace = false;
    dialogs.answers = 1;
    EXPECT_FALSE(exporter.OnExport(Page(shown)));
    EXPECT_EQ(2u, dialogs.offered.size());
    EXPECT_EQ(1, dialogs.questions);
    EXPECT_EQ(0, dialogs.options.asked);

    // "Yes", then the options dialog cancelled: no alert, nothing replaced.
    dialogs.offered.clear();
    dialogs.replace = true;
    dialogs.options.cancel = true;
    EXPECT_FALSE(exporter.OnExport(Page(shown)));
    EXPECT_EQ(1, dialogs.options.asked);
    EXPECT_EQ("old movie", Bytes("film.avi"));
    EXPECT_FALSE(FSFileExists(scratch.folder, "~film.avi"));
    EXPECT_EQ(0, LastGalleryAlert());
}

TEST_F(ExportTest, MovieWithoutMusicLastsTheDelay)
{
    RealCanvas canvas(64, 48);
    canvas.Draw();
    ASSERT_TRUE(WriteRealBook(scratch.folder, "book", canvas, 1));
    RealCanvas shown(64, 48);
    SlideshowExport exporter(dialogs, folder);
    lstrcpynA(folder, scratch.folder.Path(), FS_PATH_SIZE);
    ASSERT_EQ(MovieResult::kWritten, exporter.ExportMovie(Page(shown, 0, 0), "film.avi"));
    std::string bytes = Bytes("film.avi");
    ASSERT_GT(bytes.size(), 12u);
    EXPECT_EQ("RIFF", bytes.substr(0, 4));
    EXPECT_EQ("AVI ", bytes.substr(8, 4));
    // 1 second: 12 frames of 32 x 24 x 4 bytes, no sound stream.
    EXPECT_GT(bytes.size(), size_t(12 * 32 * 24 * 4));
    EXPECT_EQ(std::string::npos, bytes.find("auds"));
}

// Writes the movies the probe script examines (into PENNARO_MOVIE_FOLDER
// when it is set).
TEST_F(ExportTest, MoviesForTheProbe)
{
    RealCanvas canvas(64, 48);
    canvas.Fill(40, 160, 60);
    canvas.Draw();
    ASSERT_TRUE(WriteRealBook(scratch.folder, "book", canvas, 1));
    FSDirectory out = scratch.folder;
    if (const char* folderName = std::getenv("PENNARO_MOVIE_FOLDER"))
        out.Set(folderName);
    RealCanvas shown(64, 48);
    PagePicture page(shown.plane);
    ASSERT_TRUE(page.Load(book, 0));
    EXPECT_EQ(MovieResult::kWritten, WriteMovie(page, Tone(2500), out, "music.avi", dialogs.options));
    MovieSound silent;
    silent.durationMs = 3000;
    EXPECT_EQ(MovieResult::kWritten, WriteMovie(page, silent, out, "silent.avi", dialogs.options));
}
