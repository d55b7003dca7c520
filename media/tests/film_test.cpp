// Films: the film file's kind block, the film loader's streams and sound
// sources, and the film player's chunks, frames, tracks and commands.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>
#include "engine/run_queue.h"
#include "engine/tests/stage_fixture.h"
#include "framework/pending_error.h"
#include "framework/tests/scratch_folder.h"
#include "media/bitmap.h"
#include "media/film_player.h"
#include "media/sound/sound_format.h"

namespace {

const uint16_t kFilms = 0x3000;

// A chunk stream in big-endian order.
struct Chunks {
    std::vector<uint8_t> bytes;
    void Long(uint32_t v)
    {
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(uint8_t(v >> shift));
    }
    void Short(int16_t v)
    {
        bytes.push_back(uint8_t(uint16_t(v) >> 8));
        bytes.push_back(uint8_t(v));
    }
    void Raw(const std::vector<uint8_t>& v) { bytes.insert(bytes.end(), v.begin(), v.end()); }
    void Chunk(uint32_t tag, const std::vector<uint8_t>& data)
    {
        Long(tag);
        Long(uint32_t(data.size()));
        Raw(data);
    }
    void Value(uint32_t tag, uint32_t value)
    {
        Long(tag);
        Long(4);
        Long(value);
    }
    void Sound(uint32_t track, int32_t startFrame, const std::vector<uint8_t>& sound)
    {
        Long(MM_FILM_CHUNK_SOUND);
        Long(uint32_t(12 + sound.size()));
        Long(uint32_t(sound.size()));
        Long(track);
        Long(uint32_t(startFrame));
        Raw(sound);
    }
};

struct FilmSpec {
    std::vector<uint8_t> data;
    bool eightBits = false;
    int32_t transparency = 0;
    int16_t colorTable = -1;
    Box box = {10, 20, 14, 22};  // 4 x 2 pixels
    std::vector<uint8_t> tracks;
    std::vector<uint8_t> rawTracks;  // all four bytes as stored, when given
    int16_t bufferTime = 1000;
    int32_t startBytes = 0;
    int16_t dataRate = 1000;
};

bool WriteFilmFile(const FSDirectory& folder, const char* name, const std::vector<FilmSpec>& films,
                   int16_t sharedTables = 0)
{
    MMFilmResourceFile file;
    int16_t n = int16_t(films.size());
    if (!file.Create(folder, name, FSFileKind(), n, kFilms)) return false;
    if (sharedTables > 0) {
        std::vector<MMColorTable> tables(sharedTables);
        for (int i = 0; i < 256; ++i) tables[0].entries[i] = RGBQUAD{uint8_t(i), 0, 0, 0};
        if (!file.SetSharedColorTables(tables.data(), sharedTables)) return false;
    }
    for (int16_t i = 0; i < n; ++i) {
        const FilmSpec& f = films[i];
        int32_t end = -1;
        bool ok = file.SetFrameByte(i, f.eightBits, f.transparency, 5) &&
                  file.SetColorTableNumber(i, f.colorTable) && file.SetFilmBox(i, f.box) &&
                  file.SetTracks(i, f.tracks.data(), int32_t(f.tracks.size())) &&
                  file.SetStreaming(i, f.bufferTime, f.startBytes, f.dataRate) &&
                  file.Stream().Seek(0, FS_SEEK_FROM_END, &end) && file.SetItemOffset(i, end) &&
                  (f.data.empty() || file.Writer().WriteBytes(f.data.data(), int32_t(f.data.size())));
        if (!ok) return false;
        for (size_t k = 0; k < f.rawTracks.size(); ++k)
            if (!file.SetTrackByte(i, int32_t(k), f.rawTracks[k])) return false;
    }
    return file.MarkEndOfItems() && file.Close(true);
}

std::vector<uint8_t> Pixels(int n)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < n; ++i) {
        bytes.push_back(uint8_t(4 * i + 1));
        bytes.push_back(uint8_t(4 * i + 2));
        bytes.push_back(uint8_t(4 * i + 3));
        bytes.push_back(uint8_t(4 * i + 4));
    }
    return bytes;
}

// Film 0: a frame, a key, a sound for track 1 from frame 3, changes, three
// more frames and the end. Film 1: the same film cut inside a frame chunk.
std::vector<FilmSpec> StandardFilms()
{
    Chunks c;
    c.Chunk(MM_FILM_CHUNK_FRAME, Pixels(8));
    c.Value(MM_FILM_CHUNK_KEY, 7);
    c.Sound(1, 3, {0x80, 0x81, 0x82, 0x83});
    c.Chunk(0x12345678, {9, 9, 9});  // unknown: skipped
    c.Value(MM_FILM_CHUNK_NEXT_FRAME, 100);
    Chunks changes;
    changes.Short(20);  // top, left, bottom, right
    changes.Short(10);
    changes.Short(21);
    changes.Short(12);
    for (int i = 1; i < 20; ++i)
        for (int k = 0; k < 4; ++k) changes.Short(0);
    changes.Short(4);   // skip to pixel 1
    changes.Short(4);   // copy one pixel
    changes.Raw({0x11, 0x22, 0x33, 0x44});
    changes.Short(0);
    changes.Short(-8);  // fill two pixels
    changes.Long(0xA1B2C3D4);
    changes.Short(1000);  // outside the frame: the rest is ignored
    changes.Short(4);
    changes.Raw({1, 2, 3, 4});
    c.Chunk(MM_FILM_CHUNK_CHANGES, changes.bytes);
    c.Value(MM_FILM_CHUNK_NEXT_FRAME, 200);
    c.Value(MM_FILM_CHUNK_NEXT_FRAME, 300);
    c.Value(MM_FILM_CHUNK_NEXT_FRAME, 400);
    c.Value(MM_FILM_CHUNK_TRACK_END, 1);
    c.Chunk(MM_FILM_CHUNK_END, {});

    std::vector<FilmSpec> films(3);
    films[0].data = c.bytes;
    films[0].tracks = {0x04, 0x00};  // 11025 Hz 16-bit; 11025 Hz 8-bit
    films[1].data = std::vector<uint8_t>(c.bytes.begin(), c.bytes.begin() + 20);
    Chunks keyed;
    keyed.Chunk(MM_FILM_CHUNK_FRAME, {0, 1, 2, 3, 4, 5, 6, 0});
    keyed.Chunk(MM_FILM_CHUNK_END, {});
    films[2].data = keyed.bytes;
    films[2].eightBits = true;
    films[2].transparency = 1;
    return films;
}

struct Films : testing::Test {
    ScratchFolder scratch;
    BareStage bare;
    MMStage& stage = bare.stage;
    RecordingScene scene{&stage, &bare.log};
    MMFilmPlayerMolecule* player = nullptr;
    MMFilmReference film;
    int keyPosts = 0;
    void Key() { ++keyPosts; }

    Films()
    {
        ClearPendingError();
        stage.StartClock();
        EXPECT_TRUE(WriteFilmFile(scratch.folder, "App.MMF", StandardFilms()));
        EXPECT_NE(CreateFilmLoader("App.MMF", scratch.folder, false), nullptr);
        player = new MMFilmPlayerMolecule(&scene);
        film.Load(MMMakeResourceId(kFilms, 0));
    }
    ~Films() override
    {
        delete player;
        film.Clear();
        DeleteAllFilmCollections();
    }
    void At(int32_t stageTime)
    {
        FakeClock::now = 1000 + stageTime;
        stage.ChangeSceneOrDispatch();
    }
    uint8_t FrameByte(int pixel, int byte) { return player->Frame()->pixels[4 * pixel + byte]; }
};

TEST_F(Films, KindBlockFiguresAndChecks)
{
    MMFilmLoader* loader = static_cast<MMFilmLoader*>(film.Collection());
    MMFilmResourceFile& file = loader->File();
    EXPECT_EQ(file.FrameByte(0), 0x28);
    EXPECT_EQ(loader->PixelKind(0), 1);
    EXPECT_EQ(loader->FilmBox(0), (Box{10, 20, 14, 22}));
    EXPECT_EQ(loader->TrackCount(0), 2);
    EXPECT_EQ(file.TrackFormat(0, 0), 9u);
    EXPECT_EQ(file.ReadChunk(0), 128000);
    EXPECT_EQ(file.RingSize(0), file.ItemSize(0));  // at most the film

    std::vector<FilmSpec> films(4);
    films[0].rawTracks = {0x44, 0x40, 0x00, 0x40};
    films[0].startBytes = 5000;
    films[0].data.assign(200000, 0);
    films[1].dataRate = 0;  // no streaming figures: no stream
    films[1].data = {1};
    films[2].eightBits = true;
    films[2].colorTable = 0;
    films[2].data = {1};
    films[3].dataRate = 32767;
    films[3].bufferTime = 32767;  // past 2^31 in 32 bits
    films[3].data = {1};
    ASSERT_TRUE(WriteFilmFile(scratch.folder, "f.MMF", films, 1));
    MMFilmResourceFile figures;
    ASSERT_TRUE(figures.Open(scratch.folder, "f.MMF", false, false));
    EXPECT_EQ(figures.TrackCount(0), 2);
    EXPECT_EQ(figures.RingSize(0), 135168);  // 5000 + 128000, rounded up
    EXPECT_EQ(figures.ReadChunk(1), 0);
    EXPECT_TRUE(figures.HasColorTable(2));
    EXPECT_EQ(figures.ColorTable(2)->entries[9].rgbBlue, 9);
    EXPECT_EQ(figures.ReadChunk(3), int32_t(int64_t(32767) * 32767 * 16 / 125));
    figures.Close(false);

    MMFilmLoader* other = CreateFilmLoader("f.MMF", scratch.folder, false);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->OpenStream(1), nullptr);
    delete other;

    // A colour-table number beyond the shared tables fails the open.
    films[2].colorTable = 3;
    ASSERT_TRUE(WriteFilmFile(scratch.folder, "g.MMF", films, 1));
    ClearPendingError();
    EXPECT_EQ(CreateFilmLoader("g.MMF", scratch.folder, false), nullptr);
    EXPECT_EQ(gPendingError.code, MME_FILM_RESOURCE_FILE_BAD_HEADER);
}

TEST_F(Films, StreamsReadTheFilmStartOnceAndAgainAfterRelease)
{
    MMFilmLoader* loader = static_cast<MMFilmLoader*>(film.Collection());
    MMFilmStream* first = loader->OpenStream(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->FillPosition(), loader->File().RingSize(0));
    EXPECT_EQ(loader->UseCounter(0), 1);
    MMFilmStream* second = loader->OpenStream(0);
    EXPECT_EQ(second->FillPosition(), 0);  // the first one's ring has been used
    delete first;
    EXPECT_TRUE(loader->ResourceHeap().IsAllocated(0));  // the second still reads it
    delete second;
    EXPECT_FALSE(loader->ResourceHeap().IsAllocated(0));
    MMFilmStream* again = loader->OpenStream(0);
    EXPECT_EQ(again->FillPosition(), loader->File().RingSize(0));
    const uint8_t* bytes = nullptr;
    ASSERT_GT(again->Peek(&bytes), 4);
    EXPECT_EQ(bytes[0], 0xF7);
    delete again;
}

TEST_F(Films, SoundSourcesSwapDecodeAndCarryAcrossParts)
{
    MMFilmSoundSourceSwapWords swapped(0x0C);
    const uint8_t pcm[] = {0x12, 0x34, 0x56, 0x78};
    int16_t out[2] = {};
    swapped.SetChunk(pcm, 3);  // a part that ends inside a sample
    EXPECT_EQ(swapped.Read(out, 4, false), 2);
    EXPECT_EQ(out[0], 0x1234);
    swapped.SetChunk(pcm + 3, 1);
    EXPECT_EQ(swapped.Read(out, 4, false), 2);
    EXPECT_EQ(out[0], 0x5678);

    MMFilmSoundSourceSoundBytesUncompress decoded(0x1C, 2);
    const uint8_t codes[] = {47, 175, 0x79};
    decoded.SetChunk(codes, 1);
    EXPECT_EQ(decoded.Read(out, 4, false), 2);
    decoded.SetChunk(codes + 1, 2);
    EXPECT_EQ(decoded.Read(out, 4, false), 4);
    EXPECT_EQ(out[0], -30826);  // the right channel's turn
    EXPECT_EQ(out[1], 30827);
    EXPECT_FALSE(decoded.AtEnd());
    decoded.MarkEnded();
    EXPECT_TRUE(decoded.AtEnd());

    MMFilmSoundSourceNormal plain(1);
    plain.SetChunk(pcm, 4);
    uint8_t bytes[8];
    EXPECT_EQ(plain.Read(bytes, 8, false), 4);
    EXPECT_EQ(plain.Read(bytes, 8, false), 0);
}

TEST_F(Films, APlayedFilmShowsFramesStartsTracksAndEnds)
{
    player->KeyCommands().Add(7, new MMClassCommand<Films>("key", &stage, this, &Films::Key));
    player->LoadFilm(film);
    ASSERT_EQ(player->State(), kFilmLoaded);
    ASSERT_EQ(player->TrackCount(), 2);
    EXPECT_FALSE(player->Visual()->IsHidden());  // as the molecule
    player->Hide();
    EXPECT_TRUE(player->Visual()->IsHidden());
    player->Show();
    EXPECT_FALSE(player->Visual()->IsHidden());
    EXPECT_EQ(player->Visual()->GetBounds(), (Box{10, 20, 14, 22}));

    // The loaded film shows its first frame and sleeps.
    EXPECT_EQ(player->Step(), INT_MAX);
    EXPECT_EQ(FrameByte(0, 0), 4);  // 1, 2, 3, 4 stored as 4, 3, 2, 1
    EXPECT_EQ(FrameByte(0, 3), 1);
    EXPECT_EQ(FrameByte(7, 0), 32);
    EXPECT_EQ(player->TrackState(1), 3);
    EXPECT_EQ(player->TrackState(0), kTrackWaiting);
    player->Thread().SleepFor(INT_MAX);
    stage.RunQueue()->RunOnce();
    EXPECT_EQ(keyPosts, 1);

    player->PauseFilm();  // not playing: nothing
    EXPECT_EQ(player->State(), kFilmLoaded);
    player->RewindFilm();  // loaded, not played: nothing
    EXPECT_EQ(player->FrameCounter(), 0);

    At(50);
    player->PlayFilm();
    EXPECT_EQ(player->TimingFlags(), kFilmSetBase);
    player->FrameStarting();
    EXPECT_EQ(player->BaseTime(), 50);
    EXPECT_EQ(player->Step(), 0);  // frame 1 waits for 100 ms after the base
    EXPECT_EQ(player->FrameCounter(), 0);
    At(150);
    EXPECT_EQ(player->Step(), 0);
    EXPECT_EQ(player->FrameCounter(), 1);
    // The changes: pixel 1 copied reversed, pixels 2 and 3 filled, the run
    // outside the frame ignored.
    EXPECT_EQ(FrameByte(1, 0), 0x44);
    EXPECT_EQ(FrameByte(1, 3), 0x11);
    EXPECT_EQ(FrameByte(2, 0), 0xD4);
    EXPECT_EQ(FrameByte(3, 3), 0xA1);
    EXPECT_EQ(FrameByte(4, 0), 20);  // untouched
    EXPECT_FALSE(player->TrackChannel(1)->Request().active);

    At(250);
    player->Step();  // frame 2
    EXPECT_FALSE(player->TrackChannel(1)->Request().active);
    At(350);
    player->Step();  // frame 3: the track starts
    EXPECT_EQ(player->FrameCounter(), 3);
    EXPECT_TRUE(player->TrackChannel(1)->Request().active);
    EXPECT_FALSE(player->TrackChannel(0)->Request().active);
    At(450);
    EXPECT_EQ(player->Step(), INT_MAX);  // the track's end, then the film's
    EXPECT_EQ(player->State(), kFilmEnded);
    EXPECT_EQ(player->TrackState(1), kTrackWaiting);

    // Play on an ended film plays it again from the start.
    player->PlayFilm();
    EXPECT_EQ(player->State(), kFilmPlaying);
    EXPECT_EQ(player->FrameCounter(), 0);
    player->FrameStarting();
    player->Step();
    EXPECT_EQ(FrameByte(1, 0), 8);  // the whole frame again
    EXPECT_EQ(player->TrackState(1), 3);

    player->EjectFilm();
    EXPECT_EQ(player->State(), kFilmEmpty);
    EXPECT_TRUE(player->Visual()->IsHidden());
    EXPECT_EQ(player->Frame(), nullptr);
}

TEST_F(Films, APausedFilmKeepsItsClockAndAStreamCutShortEndsIt)
{
    player->LoadAndPlayFilm(film);
    At(0);
    player->FrameStarting();
    player->Step();
    At(60);
    player->PauseFilm();
    EXPECT_EQ(player->State(), kFilmPaused);
    EXPECT_EQ(player->TrackChannel(0)->PauseCount(), 1);
    player->FrameStarting();
    At(1060);
    player->PlayFilm();
    EXPECT_EQ(player->TrackChannel(0)->PauseCount(), 0);
    player->FrameStarting();
    EXPECT_EQ(player->BaseTime(), 1000);  // the pause moved the film's clock
    EXPECT_EQ(player->Step(), 0);
    EXPECT_EQ(player->FrameCounter(), 0);  // 1060 < 100 + 1000

    MMFilmReference cut;
    cut.Load(MMMakeResourceId(kFilms, 1));
    player->LoadAndPlayFilm(cut);
    ASSERT_EQ(player->State(), kFilmPlaying);
    EXPECT_EQ(player->Step(), INT_MAX);
    EXPECT_EQ(player->State(), kFilmEnded);
}

TEST_F(Films, KeyedFramesTakeThePointerOnlyWhereTheyAreOpaque)
{
    MMFilmReference keyed;
    keyed.Load(MMMakeResourceId(kFilms, 2));
    player->LoadFilm(keyed);
    player->Step();
    MMFilmPlayerVisual* visual = player->Visual();
    EXPECT_EQ(visual->GetOpaqueBox(), (Box{0, 0, 0, 0}));
    EXPECT_FALSE(visual->ContainsPoint(10, 20));  // index 0
    EXPECT_TRUE(visual->ContainsPoint(11, 20));
    EXPECT_FALSE(visual->ContainsPoint(13, 21));
    EXPECT_FALSE(visual->ContainsPoint(14, 20));  // outside
    player->LoadFilm(film);
    EXPECT_EQ(visual->GetOpaqueBox(), (Box{10, 20, 14, 22}));
}

}  // namespace
