#pragma once
// Film collections: the film loader keeps the first part of each film of a
// film resource file in a purgeable "film heap" and opens a stream that
// reads the rest of the film from the file ahead of the player. Film sound
// sources hand the sound bytes of each chunk to a film sound channel.
#include <cstdint>
#include "engine/resource_collection.h"
#include "engine/resource_heap.h"
#include "framework/async_file_input.h"
#include "framework/callbacks.h"
#include "framework/lock.h"
#include "media/film_resource_file.h"
#include "media/sound/sound_codec.h"
#include "media/sound/sound_collection.h"

// The film's chunk stream; runs its release callback when it goes.
class MMFilmStream : public AFBufferedInputFromAsyncFile {
public:
    MMFilmStream(AFPulseTaskManager* manager, uint8_t* ring, int32_t ringSize, int32_t maxRead,
                 FSRandomAccessStream* stream, int32_t start, int32_t total, Lock* fileLock,
                 bool alreadyFilled, AFCallback* release);
    ~MMFilmStream() override;

private:
    AFCallback* release;
};

// The sound bytes of the chunk now being read, for one track.
class MMFilmSoundSource : public MMSoundSource {
public:
    explicit MMFilmSoundSource(uint32_t format) : MMSoundSource(format) {}
    void SetChunk(const uint8_t* bytes, int32_t length);
    void ClearChunk();
    void MarkEnded() { ended = true; }
    bool AtEnd() override { return ended; }
    // A film played again from its start: the source forgets what it kept.
    void Seek(int32_t) override { Restart(); }
    virtual void Restart() {}
    int32_t Left() const { return left; }

protected:
    bool ended = false;
    const uint8_t* data = nullptr;
    int32_t left = 0;
};

// 8-bit tracks.
class MMFilmSoundSourceNormal : public MMFilmSoundSource {
public:
    using MMFilmSoundSource::MMFilmSoundSource;
    int32_t Read(void* destination, int32_t count, bool wait) override;
};

// 16-bit tracks: the film holds big-endian samples. A sample split between
// two parts of a chunk is put together again.
class MMFilmSoundSourceSwapWords : public MMFilmSoundSource {
public:
    using MMFilmSoundSource::MMFilmSoundSource;
    int32_t Read(void* destination, int32_t count, bool wait) override;
    void Restart() override { hasHigh = false; }

private:
    bool hasHigh = false;
    uint8_t high = 0;
};

// Sound-byte codes.
class MMFilmSoundSourceSoundBytesUncompress : public MMFilmSoundSource {
public:
    MMFilmSoundSourceSoundBytesUncompress(uint32_t format, int32_t channels)
        : MMFilmSoundSource(format), decoder(channels) {}
    int32_t Read(void* destination, int32_t count, bool wait) override;
    void Restart() override { decoder.Reset(); }

private:
    UUSoundBytesDecoder decoder;
};

class MMFilmCollection : public MMResourceCollection {
public:
    // Registers the collection in the film directory under its id.
    explicit MMFilmCollection(uint16_t collectionId);
    ~MMFilmCollection() override;

    virtual int32_t PixelKind(int16_t film) = 0;
    virtual int32_t TransparencyKind(int16_t film) = 0;
    virtual bool HasColorTable(int16_t film) = 0;
    virtual const MMColorTable* ColorTable(int16_t film) = 0;
    virtual Box FilmBox(int16_t film) = 0;
    virtual int32_t TrackCount(int16_t film) = 0;
    virtual int32_t BufferTime(int16_t film) = 0;
    // A new source for a track, or null.
    virtual MMFilmSoundSource* MakeSoundSource(int16_t film, int32_t track) = 0;
    // A new stream of the film's chunks, or null.
    virtual MMFilmStream* OpenStream(int16_t film) = 0;
    virtual MMReferenceManager* ReferenceManager() = 0;
    virtual void Use(int16_t film) { ReferenceManager()->Use(film); }
    virtual void Release(int16_t film) { ReferenceManager()->Release(film); }
    virtual void Preload(int16_t film) {}
    virtual void Purge(int16_t film) {}

    uint16_t CollectionId() const { return collectionId; }

private:
    uint16_t collectionId;
};

class MMFilmLoader : public MMFilmCollection {
public:
    // Takes ownership of an open file.
    MMFilmLoader(MMFilmResourceFile* file, uint16_t collectionId, int16_t itemCount);
    ~MMFilmLoader() override;

    bool LockAll() override;
    void UnlockAll(bool readItems) override;
    void FreeUnused() override;
    int32_t PixelKind(int16_t film) override { return file->PixelKind(film); }
    int32_t TransparencyKind(int16_t film) override { return file->TransparencyKind(film); }
    bool HasColorTable(int16_t film) override { return file->HasColorTable(film); }
    const MMColorTable* ColorTable(int16_t film) override { return file->ColorTable(film); }
    Box FilmBox(int16_t film) override { return file->FilmBox(film); }
    int32_t TrackCount(int16_t film) override { return file->TrackCount(film); }
    int32_t BufferTime(int16_t film) override { return file->BufferTime(film); }
    MMFilmSoundSource* MakeSoundSource(int16_t film, int32_t track) override;
    MMFilmStream* OpenStream(int16_t film) override;
    MMReferenceManager* ReferenceManager() override { return &manager; }
    void Preload(int16_t film) override;
    void Purge(int16_t film) override;

    bool EnsureLoaded(int16_t film);
    bool Reserve(int16_t film);
    bool ReadItem(int16_t film);
    // The release callback of a stream.
    void ReleaseStream(int16_t film);

    MMResourceHeap& ResourceHeap() { return heap; }
    MMFilmResourceFile& File() { return *file; }
    // 0 after loading, 1 once a stream has used the memory.
    int32_t UseCounter(int16_t film);

private:
    bool IsValidFilm(int16_t film) const { return film >= 0 && film < itemCount; }

    MMResourceHeap heap;
    MMStandardReferenceManager manager;
    MMStandardResourceHelper<MMFilmLoader> helper;
    MMFilmResourceFile* file;
    int16_t itemCount;
    Lock fileLock;
};

MMCollectionDirectory<MMFilmCollection>& MMFilmDirectory();
MMFilmCollection* MMFindFilmCollection(MMResourceId id);
void MMUseFilm(MMResourceId id);
void MMReleaseFilm(MMResourceId id);
void MMPreloadFilm(MMResourceId id);
void MMPurgeFilm(MMResourceId id);
void DeleteAllFilmCollections();

// Opens a film file and builds its loader; null on failure.
MMFilmLoader* CreateFilmLoader(const char* name, const FSDirectory& folder, bool loadNames);

class MMFilmReference : public MMResourceReference {
public:
    MMFilmReference();
    MMFilmReference(const MMFilmReference& other);
    MMFilmReference& operator=(const MMFilmReference& other);
    ~MMFilmReference();

    void Load(MMResourceId id);
    void Clear();
    // -1 when empty or when its collection is no longer open.
    MMResourceId Id() const;
    // Null when empty or when its collection is no longer open.
    MMFilmCollection* Collection() const;

private:
    void ForgetClosedCollection();

    MMFilmCollection* collection;
};
