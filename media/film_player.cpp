#include "media/film_player.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include "engine/enclosure.h"
#include "engine/scene.h"
#include "engine/stage.h"
#include "media/bitmap.h"
#include "media/blit_request.h"
#include "media/rectangle_list.h"
#include "media/sound/physical_sound_channel.h"
#include "media/sound/sound_manager.h"

namespace {

const int16_t kFilmLayer = 100;
const int kChangeBoxes = 20;
// Frames larger than this are refused rather than allocated.
const int64_t kLargestFrame = 64 << 20;

uint32_t BigEndian32(const uint8_t* b)
{
    return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
}

void ReverseLongs(uint8_t* bytes, int32_t n)
{
    for (int32_t i = 0; i + 4 <= n; i += 4) {
        std::swap(bytes[i], bytes[i + 3]);
        std::swap(bytes[i + 1], bytes[i + 2]);
    }
}

}  // namespace

MMFilmSoundChannel::MMFilmSoundChannel(MMSoundManager* manager, MMFilmSoundSource* source,
                                       int32_t bufferTime)
    : MMPermanentSoundChannel(manager, source, bufferTime)
{
    SetPhysicalChannel(MakePhysicalChannel());
}

MMPhysicalSoundChannel* MMFilmSoundChannel::MakePhysicalChannel()
{
    return new MMPermanentPhysicalSoundChannel(this, source, streamingDuration);
}

void MMFilmSoundChannel::Refill()
{
    if (physical) static_cast<MMPermanentPhysicalSoundChannel*>(physical)->Refill();
}

MMFilmPlayerThread::MMFilmPlayerThread(MMStage* stage, MMFilmPlayerMolecule* player)
    : MMLightweightThread("film thread", stage), player(player)
{
}

bool MMFilmPlayerThread::Run()
{
    Wait(player->Step());
    return true;
}

MMFilmPlayerVisual::MMFilmPlayerVisual(MMFilmPlayerMolecule* player) : player(player)
{
    layer = kFilmLayer;
    hidden = 1;
}

Box MMFilmPlayerVisual::GetOpaqueBox() const
{
    return player->FrameTransparency() == kTransparencyOpaque ? box : MMVisual::GetOpaqueBox();
}

bool MMFilmPlayerVisual::ContainsPoint(int32_t x, int32_t y)
{
    if (!box.Contains(Pair{x, y})) return false;
    const MMBitmapWithPixels* frame = player->Frame();
    if (player->FrameTransparency() == kTransparencyOpaque || !frame) return true;
    if (!frame->box.Contains(Pair{x, y})) return false;
    const uint8_t* pixel = frame->PixelAddress(x, y);
    return frame->bitsPerPixel == 8 ? pixel[0] != 0 : pixel[3] != 255;
}

void MMFilmPlayerVisual::Draw(MMSurface* surface)
{
    const MMBitmapWithPixels* frame = player->Frame();
    if (!frame) return;
    MMDrawingSurfaceBlitRequest request;
    request.colorTable = player->FrameColorTable();
    if (request.PrepareToBox(*frame, surface, box)) request.Perform();
}

MMFilmPlayerMolecule::MMFilmPlayerMolecule(MMBaseScene* scene)
    : MMMolecule(scene), thread(scene->Stage(), this), visual(new MMFilmPlayerVisual(this))
{
    if (MMEnclosure* enclosure = Enclosure()) enclosure->AddVisual(visual);
    scene->AddNotificationRegistration(this, kNotifyFrameStarting);
    thread.Activate();
}

MMFilmPlayerMolecule::~MMFilmPlayerMolecule()
{
    EjectFilm();
    scene_->RemoveNotificationRegistration(this, kNotifyFrameStarting);
    thread.Terminate();
    if (MMEnclosure* enclosure = visual->Enclosure()) enclosure->RemoveVisual(visual);
    delete visual;
    delete endCommand;
}

void MMFilmPlayerMolecule::Show()
{
    hidden_ = false;
    UpdateVisibility();
}

void MMFilmPlayerMolecule::Hide()
{
    hidden_ = true;
    UpdateVisibility();
}

void MMFilmPlayerMolecule::UpdateVisibility()
{
    visual->SetHidden(hidden_ || state == kFilmEmpty);
}

void MMFilmPlayerMolecule::SetEndCommand(MMCommand* command)
{
    delete endCommand;
    endCommand = command;
}

void MMFilmPlayerMolecule::FrameStarting()
{
    int32_t now = Stage() ? Stage()->StageTime() : 0;
    if (timingFlags & kFilmSetBase) baseTime = now;
    if (timingFlags & kFilmNotePause) pauseStart = now;
    if (timingFlags & kFilmAddPause) baseTime += now - pauseStart;
    timingFlags = 0;
}

void MMFilmPlayerMolecule::LoadFilm(const MMFilmReference& reference)
{
    EjectFilm();
    MMFilmCollection* source = reference.Collection();
    if (!source) return;
    int16_t item = reference.Index();
    stream.reset(source->OpenStream(item));
    if (!stream) return;
    Box box = source->FilmBox(item);
    int32_t pixelKind = source->PixelKind(item) == 0 ? kPixelIndexed : kPixelBGRA;
    int64_t bytes = int64_t(box.Width()) * box.Height() * (pixelKind == kPixelIndexed ? 1 : 4);
    if (box.Width() > 0 && box.Height() > 0 && bytes <= kLargestFrame)
        frame.reset(MMBitmap::CreateWithPixels(box, pixelKind, nullptr));
    if (!frame || !frame->pixels) {
        frame.reset();
        stream.reset();
        return;
    }
    std::memset(frame->pixels, 0, size_t(frame->pitch) * box.Height());
    transparency = source->TransparencyKind(item);
    frame->transparencyKind = transparency;
    filmBox = box;
    hasColorTable = source->HasColorTable(item) && source->ColorTable(item);
    if (hasColorTable) colorTable.Assign(*source->ColorTable(item));
    MMSoundManager* sound = Stage() ? Stage()->SoundManager() : nullptr;
    int32_t trackCount = sound ? source->TrackCount(item) : 0;
    bufferTime = source->BufferTime(item);
    for (int32_t k = 0; k < trackCount; ++k) {
        Track track;
        track.source.reset(source->MakeSoundSource(item, k));
        if (!track.source) continue;
        track.channel.reset(new MMFilmSoundChannel(sound, track.source.get(), bufferTime));
        tracks.push_back(std::move(track));
    }
    visual->SetBox(filmBox);
    state = kFilmLoaded;
    UpdateVisibility();
    film = reference;
    collection = source;
    frameCounter = 0;
    frameStarted = false;
    timingFlags = 0;
    WakeThread();
}

void MMFilmPlayerMolecule::LoadAndPlayFilm(const MMFilmReference& reference)
{
    LoadFilm(reference);
    PlayFilm();
}

void MMFilmPlayerMolecule::PlayFilm()
{
    if (state == kFilmEmpty || state == kFilmPlaying) return;
    if (state == kFilmEnded) RewindFilm();
    int32_t from = state;
    if (from == kFilmLoaded) {
        // A track that starts at a later frame waits for it.
        for (Track& track : tracks)
            if ((track.state >= 0 && track.state <= frameCounter) || track.state == kTrackEnded)
                track.channel->Replay(false);
    } else {
        UnpauseTracks();
    }
    state = kFilmPlaying;
    timingFlags |= from == kFilmLoaded ? kFilmSetBase : kFilmAddPause;
    WakeThread();
}

void MMFilmPlayerMolecule::PauseFilm()
{
    if (state != kFilmPlaying) return;
    state = kFilmPaused;
    timingFlags |= kFilmNotePause;
    PauseTracks();
    thread.SleepFor(INT_MAX);
}

void MMFilmPlayerMolecule::RewindFilm()
{
    if (state == kFilmEmpty || state == kFilmLoaded) return;
    state = kFilmLoaded;
    frameCounter = 0;
    frameStarted = false;
    nextFrameTime = 0;
    readAt = nullptr;
    readLeft = 0;
    taken = 0;
    stream->Seek(0);
    StopTracks(kTrackWaiting);
    for (Track& track : tracks) track.source->Seek(0);
    WakeThread();
}

void MMFilmPlayerMolecule::RewindAndPlayFilm()
{
    RewindFilm();
    PlayFilm();
}

void MMFilmPlayerMolecule::EjectFilm()
{
    if (state == kFilmEmpty) return;
    state = kFilmEmpty;
    timingFlags = 0;
    film.Clear();
    collection = nullptr;
    thread.SleepFor(INT_MAX);
    readAt = nullptr;
    readLeft = 0;
    taken = 0;
    stream.reset();
    frame.reset();
    for (Track& track : tracks) track.channel->Stop();
    tracks.clear();
    UpdateVisibility();
}

void MMFilmPlayerMolecule::PauseTracks()
{
    for (Track& track : tracks)
        if (!track.paused) {
            track.channel->AddPause(1);
            track.paused = true;
        }
}

// Only the pauses the player itself added are taken away again.
void MMFilmPlayerMolecule::UnpauseTracks()
{
    for (Track& track : tracks)
        if (track.paused) {
            track.channel->AddPause(-1);
            track.paused = false;
        }
}

void MMFilmPlayerMolecule::StopTracks(int32_t newState)
{
    UnpauseTracks();
    for (Track& track : tracks) {
        track.channel->Stop();
        track.state = newState;
    }
}

MMCommand* MMFilmPlayerMolecule::MakeLoadFilmCommand(const MMFilmReference& reference)
{
    return new MMClassCommand1Parameter<MMFilmPlayerMolecule,
                                        void (MMFilmPlayerMolecule::*)(const MMFilmReference&),
                                        MMFilmReference>(
        "Load film", Stage(), this, &MMFilmPlayerMolecule::LoadFilm, reference);
}

MMCommand* MMFilmPlayerMolecule::MakeLoadAndPlayFilmCommand(const MMFilmReference& reference)
{
    return new MMClassCommand1Parameter<MMFilmPlayerMolecule,
                                        void (MMFilmPlayerMolecule::*)(const MMFilmReference&),
                                        MMFilmReference>(
        "Load & Play film", Stage(), this, &MMFilmPlayerMolecule::LoadAndPlayFilm, reference);
}

MMCommand* MMFilmPlayerMolecule::MakePlayFilmCommand()
{
    return new MMClassCommand<MMFilmPlayerMolecule>("Play film", Stage(), this,
                                                    &MMFilmPlayerMolecule::PlayFilm);
}

MMCommand* MMFilmPlayerMolecule::MakePauseFilmCommand()
{
    return new MMClassCommand<MMFilmPlayerMolecule>("Pause film", Stage(), this,
                                                    &MMFilmPlayerMolecule::PauseFilm);
}

MMCommand* MMFilmPlayerMolecule::MakeRewindFilmCommand()
{
    return new MMClassCommand<MMFilmPlayerMolecule>("Rewind film", Stage(), this,
                                                    &MMFilmPlayerMolecule::RewindFilm);
}

MMCommand* MMFilmPlayerMolecule::MakeRewindAndPlayFilmCommand()
{
    return new MMClassCommand<MMFilmPlayerMolecule>("Rewind & Play film", Stage(), this,
                                                    &MMFilmPlayerMolecule::RewindAndPlayFilm);
}

MMCommand* MMFilmPlayerMolecule::MakeEjectFilmCommand()
{
    return new MMClassCommand<MMFilmPlayerMolecule>("Eject film", Stage(), this,
                                                    &MMFilmPlayerMolecule::EjectFilm);
}

bool MMFilmPlayerMolecule::Window()
{
    if (readLeft > 0) return true;
    if (!stream) return false;
    GiveBack();
    int32_t n = stream->Peek(&readAt);
    if (n <= 0 && !stream->AtEnd()) {
        stream->FillNow();
        n = stream->Peek(&readAt);
    }
    readLeft = std::max(n, int32_t(0));
    return readLeft > 0;
}

void MMFilmPlayerMolecule::GiveBack()
{
    if (stream && taken > 0) stream->Consume(taken);
    taken = 0;
    readLeft = 0;
    readAt = nullptr;
}

bool MMFilmPlayerMolecule::ReadBytes(void* destination, int32_t n)
{
    uint8_t* out = static_cast<uint8_t*>(destination);
    while (n > 0) {
        if (!Window()) return false;
        int32_t k = std::min(n, readLeft);
        if (out) {
            std::memcpy(out, readAt, size_t(k));
            out += k;
        }
        readAt += k;
        readLeft -= k;
        taken += k;
        n -= k;
    }
    return true;
}

bool MMFilmPlayerMolecule::Skip(int32_t n) { return ReadBytes(nullptr, n); }

bool MMFilmPlayerMolecule::ReadLong(uint32_t* value)
{
    uint8_t bytes[4];
    if (!ReadBytes(bytes, 4)) return false;
    *value = BigEndian32(bytes);
    return true;
}

bool MMFilmPlayerMolecule::ReadShort(int16_t* value)
{
    uint8_t bytes[2];
    if (!ReadBytes(bytes, 2)) return false;
    *value = int16_t(bytes[0] << 8 | bytes[1]);
    return true;
}

void MMFilmPlayerMolecule::ReadFrame(int32_t length)
{
    int32_t bytes = frame->pitch * frame->Height();
    int32_t n = std::min(length, bytes);
    if (!ReadBytes(frame->pixels, n)) return;
    if (frame->bitsPerPixel == 32) ReverseLongs(frame->pixels, n);
    Skip(length - n);
    visual->Invalidate();
}

// Changed boxes, then runs of skips, fills and copies. A run that would
// write outside the frame ends the chunk.
void MMFilmPlayerMolecule::ReadChanges(int32_t length)
{
    if (length < kChangeBoxes * 8) {
        Skip(length);
        return;
    }
    MMRectangleList changed;
    for (int i = 0; i < kChangeBoxes; ++i) {
        int16_t top, left, bottom, right;
        if (!ReadShort(&top) || !ReadShort(&left) || !ReadShort(&bottom) || !ReadShort(&right))
            return;
        Box box = {left, top, right, bottom};
        if (box.left < box.right && box.top < box.bottom) changed.Add(box);
    }
    int32_t left = length - kChangeBoxes * 8;
    int64_t size = int64_t(frame->pitch) * frame->Height();
    int64_t address = 0;
    bool wide = frame->bitsPerPixel == 32;
    while (left >= 4) {
        int16_t skip, count;
        if (!ReadShort(&skip) || !ReadShort(&count)) return;
        left -= 4;
        address += skip;
        if (count < 0) {
            uint32_t value;
            if (left < 4 || !ReadLong(&value)) break;
            left -= 4;
            int32_t words = -count / 4;
            if (address < 0 || address + 4 * words > size) break;
            for (int32_t w = 0; w < words; ++w)
                std::memcpy(frame->pixels + address + 4 * w, &value, 4);
            address += -count;
        } else {
            if (count > left || address < 0 || address + count > size) break;
            uint8_t* at = frame->pixels + address;
            if (!ReadBytes(at, count)) return;
            if (wide) ReverseLongs(at, count);
            left -= count;
            address += count;
        }
    }
    Skip(left);
    if (MMEnclosure* enclosure = visual->Enclosure()) enclosure->InvalidateList(changed);
}

void MMFilmPlayerMolecule::ReadSound(int32_t length)
{
    uint32_t size, index, start;
    if (length < 12 || !ReadLong(&size) || !ReadLong(&index) || !ReadLong(&start)) {
        Skip(std::max(length - 12, int32_t(0)));
        return;
    }
    int32_t left = length - 12;
    int32_t first = int32_t(start);
    if (index >= tracks.size()) {
        Skip(left);
        return;
    }
    Track& track = tracks[index];
    if (track.state < 0) {
        if (track.state != kTrackWaiting || first < 0) {
            Skip(left);
            return;
        }
        track.state = first;
    }
    int32_t sound = int32_t(std::min<uint32_t>(size, uint32_t(left)));
    left -= sound;
    while (sound > 0 && Window()) {
        int32_t part = std::min(sound, readLeft);
        track.source->SetChunk(readAt, part);
        track.channel->Refill();
        track.source->ClearChunk();
        readAt += part;
        readLeft -= part;
        taken += part;
        sound -= part;
    }
    Skip(left + sound);
}

void MMFilmPlayerMolecule::EndFilm()
{
    state = kFilmEnded;
    StopTracks(kTrackWaiting);
    if (endCommand) endCommand->Post();
}

bool MMFilmPlayerMolecule::ReadChunk(bool* ended)
{
    uint32_t tag, size;
    if (!ReadLong(&tag) || !ReadLong(&size)) {
        *ended = true;
        return true;
    }
    int32_t length = int32_t(std::min<uint32_t>(size, INT32_MAX));
    uint32_t value = 0;
    switch (tag) {
    case MM_FILM_CHUNK_FRAME:
        ReadFrame(length);
        return false;
    case MM_FILM_CHUNK_CHANGES:
        ReadChanges(length);
        return false;
    case MM_FILM_CHUNK_SOUND:
        ReadSound(length);
        return false;
    case MM_FILM_CHUNK_TRACK_END:
        if (length >= 4 && ReadLong(&value) && value < tracks.size()) {
            tracks[value].source->MarkEnded();
            tracks[value].state = kTrackEnded;
        }
        Skip(length - std::min(length, int32_t(4)));
        return false;
    case MM_FILM_CHUNK_KEY:
        if (length >= 4 && ReadLong(&value)) keyCommands.Post(int32_t(value));
        Skip(length - std::min(length, int32_t(4)));
        return false;
    case MM_FILM_CHUNK_BOX: {
        int16_t v[4];
        if (length >= 8 && ReadShort(&v[0]) && ReadShort(&v[1]) && ReadShort(&v[2]) &&
            ReadShort(&v[3]))
            HandleBox(Box{v[1], v[0], v[3], v[2]});
        Skip(length - std::min(length, int32_t(8)));
        return false;
    }
    case MM_FILM_CHUNK_NEXT_FRAME:
    case MM_FILM_CHUNK_TIME:
        if (length >= 4 && ReadLong(&value)) nextFrameTime = int32_t(value);
        Skip(length - std::min(length, int32_t(4)));
        if (tag == MM_FILM_CHUNK_NEXT_FRAME) frameStarted = true;
        return true;
    case MM_FILM_CHUNK_END:
        Skip(length);
        EndFilm();
        return true;
    case MM_FILM_CHUNK_PAUSE:
        Skip(length);
        state = kFilmPaused;
        timingFlags |= kFilmNotePause;
        PauseTracks();
        return true;
    default:
        Skip(length);
        return false;
    }
}

int32_t MMFilmPlayerMolecule::Step()
{
    if (state == kFilmEmpty) return INT_MAX;
    int32_t now = Stage() ? Stage()->StageTime() : 0;
    if (state == kFilmPlaying && timingFlags == 0 && now < nextFrameTime + baseTime) return 0;

    readAt = nullptr;
    readLeft = 0;
    taken = 0;
    if (frameStarted) {
        ++frameCounter;
        frameStarted = false;
    }
    for (;;) {
        bool ended = false;
        bool endsFrame = ReadChunk(&ended);
        // A stream that runs out without its end chunk ends the film.
        if (ended || (!Window() && stream->AtEnd() && state != kFilmEnded)) {
            if (state != kFilmEnded) EndFilm();
            break;
        }
        if (endsFrame) break;
    }
    if (state == kFilmPlaying) {
        for (Track& track : tracks) {
            if (track.state == frameCounter && !track.channel->IsActive())
                track.channel->Replay(false);
            if (track.state == kTrackEnded) {
                track.channel->Refill();
                if (!track.channel->IsActive()) track.state = kTrackWaiting;
            }
        }
    }
    GiveBack();

    if (state != kFilmPlaying) return INT_MAX;
    if (timingFlags & (kFilmSetBase | kFilmAddPause)) return 0;
    if (nextFrameTime + baseTime + bufferTime < now)
        for (Track& track : tracks)
            if (track.state != kTrackStopped) {
                track.channel->Stop();
                track.state = kTrackStopped;
            }
    return 0;
}
