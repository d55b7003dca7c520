#pragma once
// The picture collection of one picture resource file: items live in a
// purgeable heap named "picture heap" and are read from the file, unpacking
// LZO1X-compressed ones, whenever a lock finds them absent.
#include <cstdint>
#include "engine/picture_collection.h"
#include "engine/picture_resource_file.h"
#include "engine/resource_heap.h"

class MMImageDescription;

class MMPictureLoader : public MMPictureCollection {
public:
    // Takes ownership of an open file.
    MMPictureLoader(MMPictureResourceFile* file, uint16_t collectionId, int16_t pictureCount);
    ~MMPictureLoader() override;

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
    void Purge(int16_t index) override;

    // Allocates and locks the item's memory.
    bool Reserve(int16_t index);
    // Fills the item's locked memory from the file.
    bool ReadItem(int16_t index);
    bool LoadAndLock(int16_t index);

    MMResourceHeap& ResourceHeap() { return heap; }
    MMPictureResourceFile& File() { return *file; }
    int16_t PictureCount() const { return pictureCount; }
    // Size of the shared buffer that compressed items are read into.
    int32_t LargestPackedSize() const { return largestPackedSize; }

private:
    bool IsValidIndex(int16_t index) const { return index >= 0 && index < pictureCount; }
    uint8_t* LockedPixels(int16_t index, const MMColorTable** colourTable);
    void Describe(int16_t index, MMImageDescription& image, uint8_t* pixels);

    MMResourceHeap heap;
    MMStandardReferenceManager manager;
    MMStandardResourceHelper<MMPictureLoader> helper;
    MMPictureResourceFile* file;
    int16_t pictureCount;
    int32_t largestUnpackedSize;
    int32_t largestPackedSize;
};

// Opens a picture file and builds its loader; null on failure.
MMPictureLoader* MMOpenPictureFile(const FSDirectory& folder, const char* name, bool loadNames);
