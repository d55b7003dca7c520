#pragma once
// The sound collection of one sound resource file. Items live in a
// purgeable heap named "sound heap"; a sound that is not streamed is read
// whole, a streamed one keeps only its head in memory, which becomes the
// ring of the one source that streams the rest from the file.
#include <cstdint>
#include "engine/resource_heap.h"
#include "framework/callbacks.h"
#include "framework/lock.h"
#include "media/sound/sound_collection.h"
#include "media/sound/sound_resource_file.h"

class UUInputStream;

// Where an item's parts lie in its heap slot: [use counter][head][envelope].
struct MMSoundItemLayout {
    int32_t envelope = 0;  // e: envelope bytes
    int32_t stored = 0;    // D: stored sound bytes
    int32_t head = 0;      // h: sound bytes kept in memory
    int32_t counter = 0;   // 4 for a streamed item, else 0
    bool streamed = false;
    int32_t SlotSize() const { return counter + head + envelope; }
};

class MMLoaderSoundSource : public MMSoundSource {
public:
    // Owns both; the callback runs after the input is deleted.
    MMLoaderSoundSource(uint32_t format, UUInputStream* input, AFCallback* release);
    ~MMLoaderSoundSource() override;
    bool AtEnd() override;
    void Seek(int32_t bytePosition) override;
    int32_t Read(void* destination, int32_t count, bool wait) override;

private:
    UUInputStream* input;
    AFCallback* release;
};

class MMSoundLoader : public MMSoundCollection {
public:
    // Takes ownership of an open file.
    MMSoundLoader(MMSoundResourceFile* file, int16_t itemCount, uint16_t collectionId);
    ~MMSoundLoader() override;

    bool LockAll() override;
    void UnlockAll(bool readItems) override;
    void FreeUnused() override;
    uint32_t Format(int16_t item) override;
    int32_t Duration(int16_t item) override;
    int32_t DecodedSize(int16_t item) override;
    MMSoundSource* OpenSource(int16_t item) override;
    void LoadEnvelope(int16_t item, MMLevelEnvelope& envelope, bool load) override;
    MMReferenceManager* ReferenceManager() override { return &manager; }
    void Preload(int16_t item) override;
    void Purge(int16_t item) override;

    MMSoundItemLayout ItemLayout(int16_t item) const;
    // Loads the item when it is not in memory; leaves it locked on success.
    bool EnsureLoaded(int16_t item);
    bool Reserve(int16_t item);
    bool ReadItem(int16_t item);
    // Runs when a source of the item is deleted.
    void ReleaseSource(int16_t item);

    MMResourceHeap& ResourceHeap() { return heap; }
    MMSoundResourceFile& File() { return *file; }
    int16_t ItemCount() const { return itemCount; }
    // The item's use counter (streamed items only): n memory sources, or -1
    // while a source streams it.
    int32_t UseCounter(int16_t item);

private:
    bool IsValidItem(int16_t item) const { return item >= 0 && item < itemCount; }
    uint8_t* Slot(int16_t item);
    int32_t* Counter(int16_t item);

    MMResourceHeap heap;
    MMStandardReferenceManager manager;
    MMStandardResourceHelper<MMSoundLoader> helper;
    MMSoundResourceFile* file;
    int16_t itemCount;
    Lock fileLock;
    // Items whose head a stream overwrote while someone else held a lock on
    // them: read again before the next use.
    std::vector<bool> stale;
};

// Opens a sound file and builds its loader; null on failure (the file's
// error is pending).
MMSoundLoader* CreateSoundLoader(const char* name, const FSDirectory& folder, bool loadNames);
