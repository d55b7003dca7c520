#pragma once
// Resource collections, references and reference managers. Users never hold
// an item's memory directly: they hold an MMResourceReference, which counts a
// use of the item through its collection's reference manager. At a scene
// change the stage frees every item nobody uses (MMPurgeUnusedResources) and
// then loads every item somebody uses (MMLockAllCollections).
#include <cstdint>
#include <memory>
#include <vector>

class MMResourceHeap;

// High 16 bits: the collection id of the file's header; low 16 bits: the
// item (for record tables, the table number). -1 = none.
typedef int32_t MMResourceId;
const MMResourceId MM_NO_RESOURCE = -1;

inline uint16_t MMCollectionIdOf(MMResourceId id) { return uint16_t(uint32_t(id) >> 16); }
inline int16_t MMItemOf(MMResourceId id) { return int16_t(id & 0xFFFF); }
inline MMResourceId MMMakeResourceId(uint16_t collectionId, int16_t item) {
    return MMResourceId((uint32_t(collectionId) << 16) | uint16_t(item));
}

class MMReferenceManager {
public:
    virtual ~MMReferenceManager();
    virtual int16_t Count() = 0;
    virtual void Use(int16_t index) = 0;
    virtual void Release(int16_t index) = 0;
    virtual int32_t UseCount(int16_t index) = 0;
};

// Counts uses per item and marks the heap slot Used while the count is above 0.
class MMStandardReferenceManager : public MMReferenceManager {
public:
    explicit MMStandardReferenceManager(MMResourceHeap* heap);
    int16_t Count() override;
    void Use(int16_t index) override;
    void Release(int16_t index) override;
    int32_t UseCount(int16_t index) override;

private:
    int16_t itemCount;
    std::vector<uint16_t> useCounts;
    MMResourceHeap* heap;
};

// One shared counter for every item; touches no heap.
class MMDummyReferenceManager : public MMReferenceManager {
public:
    explicit MMDummyReferenceManager(int16_t count);
    int16_t Count() override;
    void Use(int16_t index) override;
    void Release(int16_t index) override;
    int32_t UseCount(int16_t index) override;

private:
    int16_t itemCount;
    int32_t counter;
};

// A counted use of one item. Releases its use when destroyed; copies take a
// use of their own. A reference must not outlive its collection.
class MMResourceReference {
public:
    MMResourceReference();
    MMResourceReference(const MMResourceReference& other);
    MMResourceReference& operator=(const MMResourceReference& other);
    ~MMResourceReference();

    void Init();
    void Copy(const MMResourceReference& other);
    // Takes the new use before releasing the old one, so re-setting the same
    // item never lets its count reach 0.
    void Set(MMReferenceManager* manager, int16_t index);
    void Clear();

    bool IsEmpty() const { return manager == nullptr; }
    MMReferenceManager* Manager() const { return manager; }
    int16_t Index() const { return index; }

protected:
    MMReferenceManager* manager;
    int16_t index;
};

// Every resource collection stands in one global list, in construction order.
class MMResourceCollection {
public:
    MMResourceCollection();
    virtual ~MMResourceCollection();
    // Reserves memory for every used item that is not in memory.
    virtual bool LockAll() = 0;
    // Ends the lock cycle; with readItems the reserved items are read.
    virtual void UnlockAll(bool readItems) = 0;
    // Frees every item that is neither used nor locked.
    virtual void FreeUnused() = 0;

    static const std::vector<MMResourceCollection*>& All();

    MMResourceCollection(const MMResourceCollection&) = delete;
    MMResourceCollection& operator=(const MMResourceCollection&) = delete;
};

// FreeUnused of every collection, in list order.
void MMPurgeUnusedResources();
// LockAll of every collection until one fails, then UnlockAll(all succeeded)
// of every collection visited before the failing one.
bool MMLockAllCollections();

// LockAll/UnlockAll/FreeUnused of a heap-backed collection. Reserve allocates
// an item's full memory in the heap and locks it; ReadItem fills it.
class MMStandardResourceHelperBase {
public:
    MMStandardResourceHelperBase(MMResourceHeap* heap, int16_t itemCount);
    virtual ~MMStandardResourceHelperBase();
    virtual bool Reserve(int16_t index) = 0;
    virtual bool ReadItem(int16_t index) = 0;

    bool LockAll();
    void UnlockAll(bool readItems);
    void FreeUnused();

private:
    int16_t itemCount;
    std::unique_ptr<uint8_t[]> marks;  // null outside a lock cycle
    MMResourceHeap* heap;
};

// Binds the two operations to member functions of a loader class.
template <class T>
class MMStandardResourceHelper : public MMStandardResourceHelperBase {
public:
    typedef bool (T::*Operation)(int16_t index);
    MMStandardResourceHelper(MMResourceHeap* heap, int16_t itemCount, T* owner,
                             Operation reserve, Operation read)
        : MMStandardResourceHelperBase(heap, itemCount), owner(owner),
          reserve(reserve), read(read) {}
    bool Reserve(int16_t index) override { return (owner->*reserve)(index); }
    bool ReadItem(int16_t index) override { return (owner->*read)(index); }

private:
    T* owner;
    Operation reserve;
    Operation read;
};

// Finds collections of one kind by their 16-bit collection id: eight fixed
// entries for ids 0 to 7, then registered pairs in order.
template <class T>
class MMCollectionDirectory {
public:
    void Register(T* collection, uint16_t id) {
        if (id < 8) fixed[id] = collection;
        else pairs.push_back({collection, id});
    }
    void Unregister(T* collection, uint16_t id) {
        if (id < 8) {
            if (fixed[id] == collection) fixed[id] = nullptr;
            return;
        }
        for (auto it = pairs.begin(); it != pairs.end(); ++it)
            if (it->collection == collection && it->id == id) {
                pairs.erase(it);
                return;
            }
    }
    T* Find(uint16_t id) const {
        if (id < 8) return fixed[id];
        for (const Entry& e : pairs)
            if (e.id == id) return e.collection;
        return nullptr;
    }
    // The k-th registered collection: non-empty fixed entries, then the pairs.
    T* At(int k) const {
        for (T* c : fixed)
            if (c && k-- == 0) return c;
        if (k >= 0 && k < int(pairs.size())) return pairs[k].collection;
        return nullptr;
    }
    bool Contains(const T* collection) const {
        for (T* c : fixed)
            if (c == collection) return collection != nullptr;
        for (const Entry& e : pairs)
            if (e.collection == collection) return true;
        return false;
    }

private:
    struct Entry {
        T* collection;
        uint16_t id;
    };
    T* fixed[8] = {};
    std::vector<Entry> pairs;
};
