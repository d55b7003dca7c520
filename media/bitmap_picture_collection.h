#pragma once
// Pictures the program makes while it runs, held as copies in numbered slots
// of a purgeable heap ("bitmap picture heap"). With a swap file every picture
// is also written there and may be purged from memory.
#include <cstdint>
#include <vector>
#include "engine/picture_collection.h"
#include "engine/resource_heap.h"
#include "framework/files.h"
#include "framework/folders.h"
#include "media/bitmap.h"

class MMBitmapPictureCollection;

class MMBitmapPictureManager : public MMReferenceManager {
public:
    explicit MMBitmapPictureManager(MMBitmapPictureCollection* collection)
        : collection(collection) {}
    int16_t Count() override;
    void Use(int16_t index) override;
    void Release(int16_t index) override;
    int32_t UseCount(int16_t index) override;

private:
    MMBitmapPictureCollection* collection;
};

class MMBitmapPictureCollection : public MMPictureCollection {
public:
    struct Slot {
        bool bound;
        int16_t useCount;
        int32_t rowBytes;
        int32_t bitsPerPixel;
        int32_t pixelKind;
        int32_t transparencyKind;
        int32_t width;
        int32_t height;
        bool hasColorTable;
        int32_t swapOffset;
        int32_t size;
        int32_t value;  // the caller's, kept with the picture
    };

    MMBitmapPictureCollection(int16_t slotCount, uint16_t collectionId);
    MMBitmapPictureCollection(int16_t slotCount, uint16_t collectionId,
                              const FSDirectory& swapFolder, const char* swapName);
    ~MMBitmapPictureCollection() override;

    bool LockAll() override;
    void UnlockAll(bool readItems) override;
    void FreeUnused() override;
    Pair PictureSize(int16_t index) override;
    int32_t PictureKind(int16_t index) override;
    int32_t BitsPerPixel(int16_t index) override;
    bool IsBitmap(int16_t index) override;
    bool LockBitmap(int16_t index, MMBitmap& bitmap, const MMColorTable** colourTable) override;
    bool LockEncodedImage(int16_t index, MMEncodedImage& image,
                          const MMColorTable** colourTable) override;
    void Unlock(int16_t index) override;
    MMReferenceManager* ReferenceManager() override;
    void Use(int16_t index) override;
    void Release(int16_t index) override;

    // The first unbound slot; -1 when every slot is bound.
    int16_t FreeSlot() const;
    // Makes slot index hold a copy of bitmap; out becomes empty when the slot
    // is bound already, out of range, or memory or the swap write fails.
    void BindPicture(MMPictureReference& out, int16_t index, const MMBitmap& bitmap,
                     const MMColorTable* colorTable);
    bool EnsureMemory(int16_t index);
    bool ReadFromSwap(int16_t index);
    int32_t FindFreeSpace(int32_t size) const;

    int16_t SlotCount() const { return count; }
    const Slot& SlotAt(int16_t index) const { return slots[index]; }
    bool HasSwapFile() const { return swapFolder.IsValid(); }
    MMResourceHeap& Heap() { return heap; }

protected:
    void SetValue(int16_t index, int32_t value)
    {
        if (InRange(index))
            slots[index].value = value;
    }

private:
    void Reset();
    bool InRange(int16_t index) const { return index >= 0 && index < count; }
    bool IsBound(int16_t index) const { return InRange(index) && slots[index].bound; }

    MMResourceHeap heap;
    MMBitmapPictureManager manager;
    MMStandardResourceHelper<MMBitmapPictureCollection> loader;
    std::vector<Slot> slots;
    int16_t count;
    FSDirectory swapFolder;
    char swapName[FS_NAME_SIZE];
    FSFile swapFile;
};

// The paint program's own bitmap collections.
class MPBitmapCollection : public MMBitmapPictureCollection {
public:
    using MMBitmapPictureCollection::MMBitmapPictureCollection;

    // A new 32-bit picture of size (cleared, opaque) in slot index with the
    // caller's value; an empty reference when the slot is taken or memory
    // runs out.
    MMPictureReference AddBitmap(int16_t index, const Pair& size, int32_t value);
    MMPictureReference EmptyReference() const { return MMPictureReference(); }
};
