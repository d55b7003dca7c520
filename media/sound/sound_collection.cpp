#include "media/sound/sound_collection.h"

#include "media/sound/sound_resource_file.h"

MMCollectionDirectory<MMSoundCollection>& MMSoundDirectory()
{
    static MMCollectionDirectory<MMSoundCollection> directory;
    return directory;
}

MMSoundCollection::MMSoundCollection(uint16_t id) : collectionId(id)
{
    MMSoundDirectory().Register(this, id);
}

MMSoundCollection::~MMSoundCollection() { MMSoundDirectory().Unregister(this, collectionId); }

MMSoundCollection* MMFindSoundCollection(MMResourceId id)
{
    if (id == MM_NO_RESOURCE) return nullptr;
    return MMSoundDirectory().Find(MMCollectionIdOf(id));
}

void MMRetainSound(MMResourceId id)
{
    if (MMSoundCollection* collection = MMFindSoundCollection(id))
        collection->ReferenceManager()->Use(MMItemOf(id));
}

void MMReleaseSound(MMResourceId id)
{
    if (MMSoundCollection* collection = MMFindSoundCollection(id))
        collection->ReferenceManager()->Release(MMItemOf(id));
}

void DeleteAllSoundCollections()
{
    while (MMSoundCollection* first = MMSoundDirectory().At(0)) {
        delete first;
        // A collection that failed to unregister must not stop the loop.
        if (MMSoundDirectory().At(0) == first) break;
    }
}

MMSoundReference::MMSoundReference() : collection(nullptr) {}

MMSoundReference::MMSoundReference(const MMSoundReference& other)
    : MMResourceReference(), collection(nullptr)
{
    if (other.Collection()) {
        Set(other.manager, other.index);
        collection = other.collection;
    }
}

MMSoundReference& MMSoundReference::operator=(const MMSoundReference& other)
{
    if (this == &other) return *this;
    ForgetClosedCollection();
    MMSoundCollection* source = other.Collection();
    Set(source ? other.manager : nullptr, source ? other.index : int16_t(-1));
    collection = source;
    return *this;
}

MMSoundReference::~MMSoundReference() { ForgetClosedCollection(); }

void MMSoundReference::ForgetClosedCollection()
{
    if (manager && !MMSoundDirectory().Contains(collection)) {
        manager = nullptr;
        index = -1;
        collection = nullptr;
    }
}

void MMSoundReference::Init() { Clear(); }

void MMSoundReference::Clear()
{
    ForgetClosedCollection();
    MMResourceReference::Clear();
    collection = nullptr;
}

void MMSoundReference::Load(MMResourceId id)
{
    ForgetClosedCollection();
    MMSoundCollection* found = MMFindSoundCollection(id);
    if (!found) {
        Clear();
        return;
    }
    Set(found->ReferenceManager(), MMItemOf(id));
    collection = found;
}

MMSoundCollection* MMSoundReference::Collection() const
{
    if (!manager || !MMSoundDirectory().Contains(collection)) return nullptr;
    return collection;
}

MMResourceId MMSoundReference::Id() const
{
    MMSoundCollection* open = Collection();
    return open ? MMMakeResourceId(open->CollectionId(), index) : MM_NO_RESOURCE;
}

uint32_t MMSoundReference::Format() const
{
    MMSoundCollection* open = Collection();
    return open ? open->Format(index) : 0;
}

int32_t MMSoundReference::Duration() const
{
    MMSoundCollection* open = Collection();
    return open ? open->Duration(index) : 0;
}

int32_t MMSoundReference::DecodedSize() const
{
    MMSoundCollection* open = Collection();
    return open ? open->DecodedSize(index) : 0;
}

MMSoundSource* MMSoundReference::OpenSource() const
{
    MMSoundCollection* open = Collection();
    return open ? open->OpenSource(index) : nullptr;
}

bool MMSoundReference::HasEnvelope() const
{
    MMSoundCollection* open = Collection();
    if (!open) return false;
    MMLevelEnvelope envelope;
    open->LoadEnvelope(index, envelope, false);
    return envelope.size > 0;
}
