#include "media/film_loader.h"

#include <algorithm>
#include <cstring>
#include <new>
#include "engine/engine_pulse_managers.h"
#include "framework/pending_error.h"
#include "framework/string_table.h"

MMFilmStream::MMFilmStream(AFPulseTaskManager* manager, uint8_t* ring, int32_t ringSize,
                           int32_t maxRead, FSRandomAccessStream* stream, int32_t start,
                           int32_t total, Lock* fileLock, bool alreadyFilled, AFCallback* release)
    : AFBufferedInputFromAsyncFile(manager, ring, ringSize, maxRead, stream, start, total,
                                   fileLock, alreadyFilled),
      release(release)
{
}

MMFilmStream::~MMFilmStream()
{
    Close();
    if (release) release->Invoke();
    delete release;
}

void MMFilmSoundSource::SetChunk(const uint8_t* bytes, int32_t length)
{
    data = bytes;
    left = std::max(length, int32_t(0));
    ended = false;
}

void MMFilmSoundSource::ClearChunk()
{
    data = nullptr;
    left = 0;
}

int32_t MMFilmSoundSourceNormal::Read(void* destination, int32_t count, bool)
{
    int32_t n = std::clamp(count, int32_t(0), left);
    if (n > 0) std::memcpy(destination, data, size_t(n));
    data += n;
    left -= n;
    return n;
}

int32_t MMFilmSoundSourceSwapWords::Read(void* destination, int32_t count, bool)
{
    uint8_t* out = static_cast<uint8_t*>(destination);
    int32_t written = 0;
    while (count - written >= 2 && left > 0) {
        uint8_t byte = *data++;
        --left;
        if (!hasHigh) {
            high = byte;
            hasHigh = true;
            continue;
        }
        out[written++] = byte;
        out[written++] = high;
        hasHigh = false;
    }
    return written;
}

int32_t MMFilmSoundSourceSoundBytesUncompress::Read(void* destination, int32_t count, bool)
{
    int32_t n = std::clamp(count / 2, int32_t(0), left);
    decoder.Decode(data, n, static_cast<int16_t*>(destination));
    data += n;
    left -= n;
    return 2 * n;
}

MMCollectionDirectory<MMFilmCollection>& MMFilmDirectory()
{
    static MMCollectionDirectory<MMFilmCollection> directory;
    return directory;
}

MMFilmCollection::MMFilmCollection(uint16_t id) : collectionId(id)
{
    MMFilmDirectory().Register(this, id);
}

MMFilmCollection::~MMFilmCollection() { MMFilmDirectory().Unregister(this, collectionId); }

MMFilmCollection* MMFindFilmCollection(MMResourceId id)
{
    if (id == MM_NO_RESOURCE) return nullptr;
    return MMFilmDirectory().Find(MMCollectionIdOf(id));
}

void MMUseFilm(MMResourceId id)
{
    if (MMFilmCollection* c = MMFindFilmCollection(id)) c->Use(MMItemOf(id));
}

void MMReleaseFilm(MMResourceId id)
{
    if (MMFilmCollection* c = MMFindFilmCollection(id)) c->Release(MMItemOf(id));
}

void MMPreloadFilm(MMResourceId id)
{
    if (MMFilmCollection* c = MMFindFilmCollection(id)) c->Preload(MMItemOf(id));
}

void MMPurgeFilm(MMResourceId id)
{
    if (MMFilmCollection* c = MMFindFilmCollection(id)) c->Purge(MMItemOf(id));
}

void DeleteAllFilmCollections()
{
    while (MMFilmCollection* first = MMFilmDirectory().At(0)) {
        delete first;
        if (MMFilmDirectory().At(0) == first) break;
    }
}

MMFilmLoader::MMFilmLoader(MMFilmResourceFile* filmFile, uint16_t collectionId, int16_t count)
    : MMFilmCollection(collectionId),
      heap("film heap", count),
      manager(&heap),
      helper(&heap, count, this, &MMFilmLoader::Reserve, &MMFilmLoader::ReadItem),
      file(filmFile),
      itemCount(std::min(count, filmFile->ItemCount()))
{
    InitLock(&fileLock);
}

MMFilmLoader::~MMFilmLoader()
{
    heap.FreeAll();
    file->Close(false);
    delete file;
    DeleteLock(&fileLock);
}

bool MMFilmLoader::LockAll() { return helper.LockAll(); }

void MMFilmLoader::UnlockAll(bool readItems) { helper.UnlockAll(readItems); }

void MMFilmLoader::FreeUnused() { helper.FreeUnused(); }

int32_t MMFilmLoader::UseCounter(int16_t film)
{
    if (!IsValidFilm(film) || !heap.IsAllocated(uint16_t(film))) return 0;
    int32_t value = 0;
    std::memcpy(&value, heap.Pointer(uint16_t(film)), 4);
    return value;
}

bool MMFilmLoader::Reserve(int16_t film)
{
    if (!IsValidFilm(film) || file->RingSize(film) <= 0) return false;
    if (!heap.Allocate(uint16_t(film), 4 + uint32_t(file->RingSize(film)))) return false;
    if (heap.Lock(uint16_t(film))) return true;
    heap.Free(uint16_t(film));
    return false;
}

bool MMFilmLoader::ReadItem(int16_t film)
{
    uint8_t* slot = static_cast<uint8_t*>(heap.Pointer(uint16_t(film)));
    if (!IsValidFilm(film) || !slot) return false;
    std::memset(slot, 0, 4);
    LockHolder hold(&fileLock);
    return file->ReadItemBytes(film, slot + 4, file->RingSize(film));
}

bool MMFilmLoader::EnsureLoaded(int16_t film)
{
    if (!IsValidFilm(film)) return false;
    uint16_t slot = uint16_t(film);
    if (heap.Lock(slot)) return true;
    heap.Free(slot);
    if (!Reserve(film)) return false;
    if (ReadItem(film)) return true;
    heap.Unlock(slot);
    heap.Free(slot);
    return false;
}

MMFilmStream* MMFilmLoader::OpenStream(int16_t film)
{
    int32_t chunk = file->ReadChunk(film);
    if (chunk <= 0 || !EnsureLoaded(film)) return nullptr;
    uint8_t* slot = static_cast<uint8_t*>(heap.Pointer(uint16_t(film)));
    int32_t counter = 0;
    std::memcpy(&counter, slot, 4);
    int32_t used = 1;
    std::memcpy(slot, &used, 4);
    AFCallback* release = new AFClassCallback1Parameter<MMFilmLoader, int16_t>(
        this, &MMFilmLoader::ReleaseStream, film);
    return new MMFilmStream(gSecondEnginePulseTaskManager, slot + 4, file->RingSize(film), chunk,
                            &file->Stream(), file->ItemOffset(film), file->ItemSize(film),
                            &fileLock, counter == 0, release);
}

// The ring has overwritten the start of the film: its memory goes, once no
// other stream still reads it.
void MMFilmLoader::ReleaseStream(int16_t film)
{
    uint16_t slot = uint16_t(film);
    if (!IsValidFilm(film) || !heap.IsAllocated(slot)) return;
    heap.Unlock(slot);
    if (heap.LockCount(slot) == 0) heap.Free(slot);
}

MMFilmSoundSource* MMFilmLoader::MakeSoundSource(int16_t film, int32_t track)
{
    if (track < 0 || track >= file->TrackCount(film)) return nullptr;
    uint8_t byte = file->TrackByte(film, track);
    uint32_t format = file->TrackFormat(film, track);
    if (byte & MM_TRACK_COMPRESSED)
        return new MMFilmSoundSourceSoundBytesUncompress(format, byte & MM_TRACK_STEREO ? 2 : 1);
    if (byte & MM_TRACK_16_BIT) return new MMFilmSoundSourceSwapWords(format);
    return new MMFilmSoundSourceNormal(format);
}

void MMFilmLoader::Preload(int16_t film)
{
    if (EnsureLoaded(film)) heap.Unlock(uint16_t(film));
}

void MMFilmLoader::Purge(int16_t film)
{
    if (IsValidFilm(film)) heap.Purge(uint16_t(film));
}

MMFilmLoader* CreateFilmLoader(const char* name, const FSDirectory& folder, bool loadNames)
{
    MMFilmResourceFile* file = new MMFilmResourceFile;
    if (!file->Open(folder, name, loadNames, false)) {
        delete file;
        return nullptr;
    }
    LookUpTimeStamp(file->FileTag(), file->CollectionId());
    MMFilmLoader* loader =
        new (std::nothrow) MMFilmLoader(file, file->CollectionId(), file->ItemCount());
    if (!loader) {
        file->Close(false);
        delete file;
        FailWithoutError();
    }
    return loader;
}

MMFilmReference::MMFilmReference() : collection(nullptr) {}

MMFilmReference::MMFilmReference(const MMFilmReference& other)
    : MMResourceReference(), collection(nullptr)
{
    if (other.Collection()) {
        Set(other.manager, other.index);
        collection = other.collection;
    }
}

MMFilmReference& MMFilmReference::operator=(const MMFilmReference& other)
{
    if (this == &other) return *this;
    ForgetClosedCollection();
    MMFilmCollection* source = other.Collection();
    Set(source ? other.manager : nullptr, source ? other.index : int16_t(-1));
    collection = source;
    return *this;
}

MMFilmReference::~MMFilmReference() { ForgetClosedCollection(); }

void MMFilmReference::ForgetClosedCollection()
{
    if (manager && !MMFilmDirectory().Contains(collection)) {
        manager = nullptr;
        index = -1;
        collection = nullptr;
    }
}

void MMFilmReference::Clear()
{
    ForgetClosedCollection();
    MMResourceReference::Clear();
    collection = nullptr;
}

void MMFilmReference::Load(MMResourceId id)
{
    ForgetClosedCollection();
    MMFilmCollection* found = MMFindFilmCollection(id);
    if (!found) {
        Clear();
        return;
    }
    Set(found->ReferenceManager(), MMItemOf(id));
    collection = found;
}

MMFilmCollection* MMFilmReference::Collection() const
{
    if (!manager || !MMFilmDirectory().Contains(collection)) return nullptr;
    return collection;
}

MMResourceId MMFilmReference::Id() const
{
    MMFilmCollection* open = Collection();
    return open ? MMMakeResourceId(open->CollectionId(), index) : MM_NO_RESOURCE;
}
