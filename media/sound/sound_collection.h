#pragma once
// Sound collections, sound references and sound sources. A sound is named by
// its resource id (collection id in the high half, item in the low half);
// to play it, a channel asks the collection for a source that delivers the
// sound's PCM bytes in order.
#include <cstdint>
#include "engine/resource_collection.h"

class MMLevelEnvelope;

// Delivers PCM bytes of the format in `format`.
class MMSoundSource {
public:
    explicit MMSoundSource(uint32_t format) : format(format) {}
    virtual ~MMSoundSource() = default;
    virtual bool AtEnd() = 0;
    virtual void Seek(int32_t bytePosition) = 0;
    // Bytes delivered; with wait, until count bytes or the end.
    virtual int32_t Read(void* destination, int32_t count, bool wait) = 0;

    uint32_t format;
};

class MMSoundCollection : public MMResourceCollection {
public:
    // Registers the collection in the sound directory under its id.
    explicit MMSoundCollection(uint16_t collectionId);
    ~MMSoundCollection() override;

    virtual uint32_t Format(int16_t item) = 0;
    // Milliseconds of the decoded sound.
    virtual int32_t Duration(int16_t item) = 0;
    // Bytes of PCM after decoding.
    virtual int32_t DecodedSize(int16_t item) = 0;
    // A new source, or null.
    virtual MMSoundSource* OpenSource(int16_t item) = 0;
    virtual void LoadEnvelope(int16_t item, MMLevelEnvelope& envelope, bool load) = 0;
    virtual MMReferenceManager* ReferenceManager() = 0;
    virtual void Preload(int16_t item) {}
    virtual void Purge(int16_t item) {}

    uint16_t CollectionId() const { return collectionId; }

private:
    uint16_t collectionId;
};

MMCollectionDirectory<MMSoundCollection>& MMSoundDirectory();
MMSoundCollection* MMFindSoundCollection(MMResourceId id);
// Use and release of a sound by id (the animation thread's resource uses).
void MMRetainSound(MMResourceId id);
void MMReleaseSound(MMResourceId id);
// Deletes every registered sound collection (engine shut-down).
void DeleteAllSoundCollections();

class MMSoundReference : public MMResourceReference {
public:
    MMSoundReference();
    MMSoundReference(const MMSoundReference& other);
    MMSoundReference& operator=(const MMSoundReference& other);
    ~MMSoundReference();

    void Init();
    // Empty for -1 or an id of no open collection.
    void Load(MMResourceId id);
    void Clear();

    // -1 when empty or when its collection is no longer open.
    MMResourceId Id() const;
    // Null when empty or when its collection is no longer open.
    MMSoundCollection* Collection() const;
    uint32_t Format() const;
    int32_t Duration() const;
    int32_t DecodedSize() const;
    MMSoundSource* OpenSource() const;
    bool HasEnvelope() const;

private:
    // A reference outliving its collection must not touch its manager.
    void ForgetClosedCollection();

    MMSoundCollection* collection;
};
