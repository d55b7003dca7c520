#pragma once
// The film player: a molecule that plays one film at a time. Its film
// thread decodes the film's chunk stream into a frame bitmap shown by its
// visual, feeds each sound track into a film sound channel, and keeps the
// film's clock against the stage clock.
#include <cstdint>
#include <memory>
#include <vector>
#include "engine/command.h"
#include "engine/engine_thread.h"
#include "engine/molecule.h"
#include "framework/color_table.h"
#include "media/film_loader.h"
#include "media/sound/logical_sound_channel.h"
#include "media/visual.h"

class MMBitmapWithPixels;
class MMFilmPlayerMolecule;

// Chunk tags of the film stream (big-endian 32-bit tag and length, then data).
enum : uint32_t {
    MM_FILM_CHUNK_FRAME = 0xF7890000,
    MM_FILM_CHUNK_CHANGES = 0xF7890001,
    MM_FILM_CHUNK_SOUND = 0xF7890002,
    MM_FILM_CHUNK_TRACK_END = 0xF7890003,
    MM_FILM_CHUNK_KEY = 0xF7890004,
    MM_FILM_CHUNK_BOX = 0xF7890005,
    MM_FILM_CHUNK_NEXT_FRAME = 0xF7890006,
    MM_FILM_CHUNK_END = 0xF7890007,
    MM_FILM_CHUNK_TIME = 0xF7890008,
    MM_FILM_CHUNK_PAUSE = 0xF7890009
};

enum MMFilmState : int32_t {
    kFilmEmpty = 0,
    kFilmLoaded = 1,
    kFilmPlaying = 2,
    kFilmPaused = 3,
    kFilmEnded = 4
};

// Track states besides a start frame (>= 0).
enum : int32_t {
    kTrackWaiting = -1,  // for its first sound chunk
    kTrackStopped = -2,  // the picture fell behind
    kTrackEnded = -3     // its data has ended
};

// Timing flags, taken at the next frame start.
enum : int32_t {
    kFilmSetBase = 1,
    kFilmNotePause = 2,
    kFilmAddPause = 4
};

// A film track: a ring buffer the player refills after each sound chunk.
class MMFilmSoundChannel : public MMPermanentSoundChannel {
public:
    MMFilmSoundChannel(MMSoundManager* manager, MMFilmSoundSource* source, int32_t bufferTime);
    MMPhysicalSoundChannel* MakePhysicalChannel() override;
    void Refill();
};

class MMFilmPlayerThread : public MMLightweightThread {
public:
    MMFilmPlayerThread(MMStage* stage, MMFilmPlayerMolecule* player);
    bool Run() override;

private:
    MMFilmPlayerMolecule* player;
};

class MMFilmPlayerVisual : public MMBoxBasedVisual {
public:
    explicit MMFilmPlayerVisual(MMFilmPlayerMolecule* player);
    Box GetOpaqueBox() const override;
    bool ContainsPoint(int32_t x, int32_t y) override;
    void Draw(MMSurface* surface) override;

private:
    MMFilmPlayerMolecule* player;
};

class MMFilmPlayerMolecule : public MMMolecule {
public:
    explicit MMFilmPlayerMolecule(MMBaseScene* scene);
    ~MMFilmPlayerMolecule() override;

    void Show() override;
    void Hide() override;
    void FrameStarting() override;

    void LoadFilm(const MMFilmReference& film);
    void LoadAndPlayFilm(const MMFilmReference& film);
    void PlayFilm();
    void PauseFilm();
    void RewindFilm();
    void RewindAndPlayFilm();
    void EjectFilm();

    // "Load film", "Load & Play film", "Play film", "Pause film", "Rewind
    // film", "Rewind & Play film", "Eject film".
    MMCommand* MakeLoadFilmCommand(const MMFilmReference& film);
    MMCommand* MakeLoadAndPlayFilmCommand(const MMFilmReference& film);
    MMCommand* MakePlayFilmCommand();
    MMCommand* MakePauseFilmCommand();
    MMCommand* MakeRewindFilmCommand();
    MMCommand* MakeRewindAndPlayFilmCommand();
    MMCommand* MakeEjectFilmCommand();

    // Commands posted by key chunks, and at the end of a film; owned.
    MMCommandSet& KeyCommands() { return keyCommands; }
    void SetEndCommand(MMCommand* command);

    // One step of the film thread: the milliseconds until the next (INT_MAX: until woken).
    int32_t Step();
    // Box chunks, for derived players.
    virtual void HandleBox(const Box& box) {}

    int32_t State() const { return state; }
    int32_t FrameCounter() const { return frameCounter; }
    int32_t TrackCount() const { return int32_t(tracks.size()); }
    int32_t TrackState(int32_t track) const { return tracks[track].state; }
    MMFilmSoundChannel* TrackChannel(int32_t track) const { return tracks[track].channel.get(); }
    MMFilmSoundSource* TrackSource(int32_t track) const { return tracks[track].source.get(); }
    const MMBitmapWithPixels* Frame() const { return frame.get(); }
    int32_t FrameTransparency() const { return transparency; }
    const MMColorTable* FrameColorTable() const { return hasColorTable ? &colorTable : nullptr; }
    MMFilmPlayerVisual* Visual() const { return visual; }
    MMFilmPlayerThread& Thread() { return thread; }
    const MMFilmReference& Film() const { return film; }
    int32_t TimingFlags() const { return timingFlags; }
    int32_t BaseTime() const { return baseTime; }
    int32_t NextFrameTime() const { return nextFrameTime; }

private:
    struct Track {
        std::unique_ptr<MMFilmSoundSource> source;
        std::unique_ptr<MMFilmSoundChannel> channel;
        int32_t state = kTrackWaiting;
        bool paused = false;
    };

    // The chunk reader over the stream's readable window.
    bool Window();
    bool ReadBytes(void* destination, int32_t n);
    bool ReadLong(uint32_t* value);
    bool ReadShort(int16_t* value);
    bool Skip(int32_t n);
    void GiveBack();

    // One chunk; true when it ends the frame. False in ended when the
    // stream ran out.
    bool ReadChunk(bool* ended);
    void ReadFrame(int32_t length);
    void ReadChanges(int32_t length);
    void ReadSound(int32_t length);
    void EndFilm();
    void PauseTracks();
    void UnpauseTracks();
    void StopTracks(int32_t newState);
    void UpdateVisibility();
    void WakeThread() { thread.SleepFor(0); }

    MMCommandSet keyCommands;
    MMCommand* endCommand = nullptr;
    MMFilmPlayerThread thread;
    MMFilmPlayerVisual* visual;
    int32_t state = kFilmEmpty;
    MMFilmReference film;
    MMFilmCollection* collection = nullptr;
    std::unique_ptr<MMBitmapWithPixels> frame;
    std::vector<Track> tracks;
    std::unique_ptr<MMFilmStream> stream;
    int32_t transparency = 0;
    Box filmBox = {0, 0, 0, 0};
    int32_t bufferTime = 0;
    MMColorTable colorTable;
    bool hasColorTable = false;
    int32_t frameCounter = 0;
    bool frameStarted = false;
    int32_t timingFlags = 0;
    int32_t baseTime = 0;
    int32_t pauseStart = 0;
    int32_t nextFrameTime = 0;
    const uint8_t* readAt = nullptr;
    int32_t readLeft = 0;
    int32_t taken = 0;
};
