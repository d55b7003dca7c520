#include "engine/resource_collection.h"

#include <algorithm>
#include <new>
#include "engine/resource_heap.h"

namespace {

enum : uint8_t { kUnmarked = 0, kLocked = 1, kReserved = 2 };

std::vector<MMResourceCollection*>& Collections()
{
    static std::vector<MMResourceCollection*> list;
    return list;
}

}  // namespace

MMReferenceManager::~MMReferenceManager() {}

MMStandardReferenceManager::MMStandardReferenceManager(MMResourceHeap* heap)
    : itemCount(heap->ItemCount()), useCounts(itemCount, 0), heap(heap)
{
}

int16_t MMStandardReferenceManager::Count() { return itemCount; }

void MMStandardReferenceManager::Use(int16_t index)
{
    if (index < 0 || index >= itemCount || useCounts[index] == 0xFFFF) return;
    if (++useCounts[index] == 1) heap->MarkReferenced(uint16_t(index));
}

void MMStandardReferenceManager::Release(int16_t index)
{
    if (index < 0 || index >= itemCount || useCounts[index] == 0) return;
    if (--useCounts[index] == 0) heap->UnmarkReferenced(uint16_t(index));
}

int32_t MMStandardReferenceManager::UseCount(int16_t index)
{
    if (index < 0 || index >= itemCount) return 0;
    return useCounts[index];
}

MMDummyReferenceManager::MMDummyReferenceManager(int16_t count) : itemCount(count), counter(0) {}

int16_t MMDummyReferenceManager::Count() { return itemCount; }

void MMDummyReferenceManager::Use(int16_t) { ++counter; }

void MMDummyReferenceManager::Release(int16_t) { --counter; }

int32_t MMDummyReferenceManager::UseCount(int16_t)
{
    return uint32_t(counter) >= 0x7FFF ? 0x7FFF : counter;
}

MMResourceReference::MMResourceReference() : manager(nullptr), index(-1) {}

MMResourceReference::MMResourceReference(const MMResourceReference& other)
    : manager(nullptr), index(-1)
{
    Set(other.manager, other.index);
}

MMResourceReference& MMResourceReference::operator=(const MMResourceReference& other)
{
    Set(other.manager, other.index);
    return *this;
}

MMResourceReference::~MMResourceReference() { Clear(); }

// A held use is given back: an emptied reference must not keep its item.
void MMResourceReference::Init() { Clear(); }

void MMResourceReference::Copy(const MMResourceReference& other) { Set(other.manager, other.index); }

void MMResourceReference::Set(MMReferenceManager* newManager, int16_t newIndex)
{
    MMReferenceManager* oldManager = manager;
    int16_t oldIndex = index;
    manager = newManager;
    index = newIndex;
    if (newManager) newManager->Use(newIndex);
    if (oldManager) oldManager->Release(oldIndex);
}

void MMResourceReference::Clear() { Set(nullptr, -1); }

MMResourceCollection::MMResourceCollection() { Collections().push_back(this); }

MMResourceCollection::~MMResourceCollection()
{
    auto& list = Collections();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

const std::vector<MMResourceCollection*>& MMResourceCollection::All() { return Collections(); }

void MMPurgeUnusedResources()
{
    // A copy: freeing never adds or removes collections, but stay safe.
    std::vector<MMResourceCollection*> list = Collections();
    for (MMResourceCollection* collection : list) collection->FreeUnused();
}

bool MMLockAllCollections()
{
    std::vector<MMResourceCollection*> list = Collections();
    size_t visited = 0;
    bool allLocked = true;
    for (; visited < list.size(); ++visited)
        if (!list[visited]->LockAll()) {
            allLocked = false;
            break;
        }
    for (size_t i = 0; i < visited; ++i) list[i]->UnlockAll(allLocked);
    return allLocked;
}

MMStandardResourceHelperBase::MMStandardResourceHelperBase(MMResourceHeap* heap, int16_t count)
    : itemCount(count < 0 ? 0 : count), heap(heap)
{
}

MMStandardResourceHelperBase::~MMStandardResourceHelperBase() {}

bool MMStandardResourceHelperBase::LockAll()
{
    marks.reset(new (std::nothrow) uint8_t[itemCount > 0 ? itemCount : 1]());
    if (!marks) return false;
    for (int i = 0; i < itemCount; ++i) {
        uint16_t slot = uint16_t(i);
        if (!heap->IsReferenced(slot)) continue;
        // Lock covers both cases: another lock on the item, or memory that
        // is there but unlocked.
        if (heap->Lock(slot)) {
            marks[i] = kLocked;
        } else if (heap->LockCount(slot) == 0 && Reserve(int16_t(i))) {
            marks[i] = kReserved;
        } else {
            for (int j = 0; j < i; ++j) {
                if (marks[j] == kLocked) heap->Unlock(uint16_t(j));
                if (marks[j] == kReserved) {
                    heap->Unlock(uint16_t(j));
                    heap->Free(uint16_t(j));
                }
            }
            marks.reset();
            return false;
        }
    }
    return true;
}

void MMStandardResourceHelperBase::UnlockAll(bool readItems)
{
    if (!marks) return;
    for (int i = 0; i < itemCount; ++i) {
        uint16_t slot = uint16_t(i);
        if (marks[i] == kLocked) {
            heap->Unlock(slot);
        } else if (marks[i] == kReserved) {
            bool loaded = readItems && ReadItem(int16_t(i));
            heap->Unlock(slot);
            if (!loaded) heap->Free(slot);
        }
    }
    marks.reset();
}

void MMStandardResourceHelperBase::FreeUnused()
{
    for (int i = 0; i < itemCount; ++i) {
        uint16_t slot = uint16_t(i);
        if (!heap->IsReferenced(slot) && heap->LockCount(slot) == 0) heap->Free(slot);
    }
}
