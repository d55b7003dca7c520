#include "media/bitmap_picture_collection.h"

#include <cstring>
#include "framework/heap.h"
#include "framework/text.h"

int16_t MMBitmapPictureManager::Count()
{
    return collection->SlotCount();
}

void MMBitmapPictureManager::Use(int16_t index)
{
    MMUsePicture(collection->MakePictureId(index));
}

void MMBitmapPictureManager::Release(int16_t index)
{
    MMReleasePicture(collection->MakePictureId(index));
}

int32_t MMBitmapPictureManager::UseCount(int16_t index)
{
    if (index < 0 || index >= collection->SlotCount()) {
        return 0;
    }
    return collection->SlotAt(index).useCount;
}

MMBitmapPictureCollection::MMBitmapPictureCollection(int16_t slotCount, uint16_t collectionId)
    : MMBitmapPictureCollection(slotCount, collectionId, FSDirectory(), "")
{
}

MMBitmapPictureCollection::MMBitmapPictureCollection(int16_t slotCount, uint16_t collectionId,
                                                     const FSDirectory& folder,
                                                     const char* name)
    : MMPictureCollection(collectionId),
      heap("bitmap picture heap", slotCount),
      manager(this),
      loader(&heap, slotCount, this, &MMBitmapPictureCollection::EnsureMemory,
             &MMBitmapPictureCollection::ReadFromSwap),
      slots(slotCount > 0 ? slotCount : 0, Slot{}),
      count(slotCount > 0 ? slotCount : 0),
      swapFolder(folder)
{
    StringCopyBounded(name != nullptr ? name : "", swapName, sizeof swapName);
    Reset();
}

MMBitmapPictureCollection::~MMBitmapPictureCollection()
{
    if (swapFolder.IsValid()) {
        if (swapFile.IsOpen()) {
            swapFile.Close();
        }
        FSDeleteFile(swapFolder, swapName);
        swapFolder.Clear();
    }
    heap.FreeAll();
}

void MMBitmapPictureCollection::Reset()
{
    for (Slot& slot : slots) {
        slot.bound = false;
    }
    if (swapFolder.IsValid()) {
        swapFile.Open(swapFolder, swapName, FS_OPEN_CREATE);
    }
}

bool MMBitmapPictureCollection::LockAll()
{
    return loader.LockAll();
}

void MMBitmapPictureCollection::UnlockAll(bool readItems)
{
    loader.UnlockAll(readItems);
}

void MMBitmapPictureCollection::FreeUnused()
{
    loader.FreeUnused();
}

Pair MMBitmapPictureCollection::PictureSize(int16_t index)
{
    if (!InRange(index)) {
        return {0, 0};
    }
    return {slots[index].width, slots[index].height};
}

int32_t MMBitmapPictureCollection::PictureKind(int16_t index)
{
    return InRange(index) ? slots[index].transparencyKind : 0;
}

int32_t MMBitmapPictureCollection::BitsPerPixel(int16_t index)
{
    return InRange(index) ? slots[index].bitsPerPixel : 0;
}

bool MMBitmapPictureCollection::IsBitmap(int16_t)
{
    return true;
}

bool MMBitmapPictureCollection::LockBitmap(int16_t index, MMBitmap& bitmap,
                                           const MMColorTable** colourTable)
{
    if (!IsBound(index)) {
        return false;
    }
    if (!heap.Lock(index)) {
        // Purged: take memory again and read the picture back from the swap file.
        if (!EnsureMemory(index)) {
            return false;
        }
        if (!ReadFromSwap(index)) {
            heap.Unlock(index);
            heap.Free(index);
            return false;
        }
    }
    const Slot& slot = slots[index];
    uint8_t* item = static_cast<uint8_t*>(heap.Pointer(index));
    if (colourTable != nullptr) {
        *colourTable = slot.hasColorTable ? reinterpret_cast<const MMColorTable*>(item) : nullptr;
    }
    bitmap.pixels = slot.hasColorTable ? item + sizeof(MMColorTable) : item;
    bitmap.pitch = slot.rowBytes;
    bitmap.bitsPerPixel = slot.bitsPerPixel;
    bitmap.bytesPerPixel = slot.bitsPerPixel / 8;
    bitmap.pixelKind = slot.pixelKind;
    bitmap.transparencyKind = slot.transparencyKind;
    bitmap.box = {0, 0, slot.width, slot.height};
    return true;
}

bool MMBitmapPictureCollection::LockEncodedImage(int16_t, MMEncodedImage&, const MMColorTable**)
{
    return false;
}

void MMBitmapPictureCollection::Unlock(int16_t index)
{
    if (InRange(index)) {
        heap.Unlock(index);
    }
}

MMReferenceManager* MMBitmapPictureCollection::ReferenceManager()
{
    return &manager;
}

void MMBitmapPictureCollection::Use(int16_t index)
{
    if (InRange(index)) {
        ++slots[index].useCount;
    }
}

void MMBitmapPictureCollection::Release(int16_t index)
{
    if (!InRange(index) || slots[index].useCount <= 0) {
        return;
    }
    Slot& slot = slots[index];
    if (--slot.useCount > 0) {
        return;
    }
    if (!HasSwapFile()) {
        heap.Unpin(index);
    }
    heap.UnmarkReferenced(index);
    heap.Free(index);
    slot.bound = false;
    if (HasSwapFile()) {
        for (const Slot& other : slots) {
            if (other.bound) {
                return;
            }
        }
        swapFile.Seek(0, FS_SEEK_FROM_START, nullptr);
        swapFile.SetEnd();
    }
}

int16_t MMBitmapPictureCollection::FreeSlot() const
{
    for (int16_t i = 0; i < count; ++i) {
        if (!slots[i].bound) {
            return i;
        }
    }
    return -1;
}

void MMBitmapPictureCollection::BindPicture(MMPictureReference& out, int16_t index,
                                            const MMBitmap& bitmap,
                                            const MMColorTable* colorTable)
{
    out.Clear();
    // A bound slot is never overwritten: its picture is still in use.
    if (!InRange(index) || slots[index].bound || !bitmap.IsValid()) {
        return;
    }
    Slot& slot = slots[index];
    int32_t rowCopy = bitmap.Width() * bitmap.bytesPerPixel;
    slot.useCount = 0;
    slot.rowBytes = MMRowBytes(bitmap.Width(), bitmap.bytesPerPixel);
    slot.bitsPerPixel = bitmap.bitsPerPixel;
    slot.pixelKind = bitmap.pixelKind;
    slot.transparencyKind = bitmap.transparencyKind;
    slot.width = bitmap.Width();
    slot.height = bitmap.Height();
    slot.swapOffset = 0;
    slot.hasColorTable = colorTable != nullptr;
    slot.size = slot.height * slot.rowBytes + (slot.hasColorTable ? sizeof(MMColorTable) : 0);

    if (!EnsureMemory(index)) {
        return;
    }
    uint8_t* item = static_cast<uint8_t*>(heap.Pointer(index));
    if (colorTable != nullptr) {
        std::memcpy(item, colorTable, sizeof(MMColorTable));
        item += sizeof(MMColorTable);
    }
    for (int32_t y = 0; y < slot.height; ++y) {
        std::memcpy(item + y * slot.rowBytes, bitmap.PixelAddress(bitmap.box.left, bitmap.box.top + y),
                    rowCopy);
    }
    if (HasSwapFile()) {
        slot.swapOffset = FindFreeSpace(slot.size);
        bool written = swapFile.IsOpen() &&
                       swapFile.Seek(slot.swapOffset, FS_SEEK_FROM_START, nullptr) &&
                       swapFile.WriteBytes(heap.Pointer(index), slot.size);
        if (!written) {
            heap.Unlock(index);
            heap.Free(index);
            return;
        }
    }
    heap.MarkReferenced(index);
    if (!HasSwapFile()) {
        heap.Pin(index);
    }
    heap.Unlock(index);
    slot.bound = true;
    out.ConstructWith(this, index);
}

bool MMBitmapPictureCollection::EnsureMemory(int16_t index)
{
    if (heap.Lock(index)) {
        return true;
    }
    if (!heap.Allocate(index, slots[index].size)) {
        return false;
    }
    if (!heap.Lock(index)) {
        heap.Free(index);
        return false;
    }
    return true;
}

bool MMBitmapPictureCollection::ReadFromSwap(int16_t index)
{
    if (!swapFile.IsOpen()) {
        return false;
    }
    const Slot& slot = slots[index];
    return swapFile.Seek(slot.swapOffset, FS_SEEK_FROM_START, nullptr) &&
           swapFile.ReadBytes(heap.Pointer(index), slot.size);
}

int32_t MMBitmapPictureCollection::FindFreeSpace(int32_t size) const
{
    int32_t candidate = 0;
    for (int16_t i = 0; i < count;) {
        const Slot& slot = slots[i];
        if (slot.bound && candidate < slot.swapOffset + slot.size &&
            slot.swapOffset < candidate + size) {
            candidate = slot.swapOffset + slot.size;
            i = 0;
            continue;
        }
        ++i;
    }
    return candidate;
}

MMPictureReference MPBitmapCollection::AddBitmap(int16_t index, const Pair& size, int32_t value)
{
    MMPictureReference reference;
    if (size.x <= 0 || size.y <= 0) {
        return reference;
    }
    MMBitmapWithPixels* pixels = MMBitmap::CreateWithPixels({0, 0, size.x, size.y}, kPixelBGRA,
                                                            gDefaultHeap);
    if (pixels == nullptr) {
        return reference;
    }
    std::memset(pixels->pixels, 0, size_t(pixels->pitch) * size.y);
    pixels->transparencyKind = kTransparencyOpaque;
    BindPicture(reference, index, *pixels, nullptr);
    delete pixels;
    if (!reference.IsEmpty()) {
        SetValue(index, value);
    }
    return reference;
}
