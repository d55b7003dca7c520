#include "engine/picture_loader.h"

#include <lzo/lzo1x.h>
#include <algorithm>
#include <cstring>
#include <new>
#include "framework/byte_order_streams.h"
#include "framework/heap.h"
#include "framework/pending_error.h"
#include "framework/string_table.h"
#include "media/bitmap.h"
#include "media/encoded_image.h"

namespace {

// Compressed items are read here while a loader reads the items of a lock
// cycle, so that a scene change does not allocate once per item.
uint8_t* gSharedBuffer = nullptr;
int32_t gSharedBufferSize = 0;

bool LzoReady()
{
    static const bool ready = lzo_init() == LZO_E_OK;
    return ready;
}

// Takes a block from the default heap, purging resource items while short.
uint8_t* AllocatePurging(int32_t bytes)
{
    for (;;) {
        if (void* block = HeapAllocateDefault(size_t(bytes > 0 ? bytes : 1)))
            return static_cast<uint8_t*>(block);
        if (MMResourceHeap::PurgeOne() == 0) return nullptr;
    }
}

}  // namespace

MMPictureLoader::MMPictureLoader(MMPictureResourceFile* pictureFile, uint16_t collectionId,
                                 int16_t count)
    : MMPictureCollection(collectionId),
      heap("picture heap", count),
      manager(&heap),
      helper(&heap, count, this, &MMPictureLoader::Reserve, &MMPictureLoader::ReadItem),
      file(pictureFile),
      pictureCount(std::min(count, pictureFile->ItemCount())),
      largestUnpackedSize(0),
      largestPackedSize(0)
{
    for (int16_t i = 0; i < pictureCount; ++i)
        if (file->IsCompressed(i)) {
            largestUnpackedSize = std::max(largestUnpackedSize, file->UnpackedSize(i));
            largestPackedSize = std::max(largestPackedSize, file->ItemSize(i));
        }
}

MMPictureLoader::~MMPictureLoader()
{
    file->Close(false);
    delete file;
    heap.FreeAll();
}

bool MMPictureLoader::LockAll() { return helper.LockAll(); }

void MMPictureLoader::UnlockAll(bool readItems)
{
    // The shared buffer receives the compressed bytes, so it is sized by the
    // largest compressed item.
    uint8_t* buffer = largestPackedSize > 0 ? AllocatePurging(largestPackedSize) : nullptr;
    gSharedBuffer = buffer;
    gSharedBufferSize = buffer ? largestPackedSize : 0;
    helper.UnlockAll(readItems);
    gSharedBuffer = nullptr;
    gSharedBufferSize = 0;
    if (buffer) operator delete(buffer);
}

void MMPictureLoader::FreeUnused() { helper.FreeUnused(); }

Pair MMPictureLoader::PictureSize(int16_t index) { return file->Size(index); }

int32_t MMPictureLoader::PictureKind(int16_t index) { return file->TransparencyKind(index); }

int32_t MMPictureLoader::BitsPerPixel(int16_t index) { return file->BitsPerPixel(index); }

bool MMPictureLoader::IsBitmap(int16_t index) { return !file->IsEncoded(index); }

void MMPictureLoader::Unlock(int16_t index) { heap.Unlock(uint16_t(index)); }

MMReferenceManager* MMPictureLoader::ReferenceManager() { return &manager; }

void MMPictureLoader::Purge(int16_t index) { heap.Purge(uint16_t(index)); }

bool MMPictureLoader::Reserve(int16_t index)
{
    if (!IsValidIndex(index)) return false;
    int32_t bytes = std::max(file->MemorySize(index), int32_t(1));
    if (!heap.Allocate(uint16_t(index), uint32_t(bytes))) return false;
    if (heap.Lock(uint16_t(index))) return true;
    heap.Free(uint16_t(index));
    return false;
}

bool MMPictureLoader::ReadItem(int16_t index)
{
    if (!IsValidIndex(index)) return false;
    uint8_t* memory = static_cast<uint8_t*>(heap.Pointer(uint16_t(index)));
    if (!memory) return false;
    int32_t memorySize = file->MemorySize(index);
    int32_t packed = file->ItemSize(index);
    bool compressed = file->IsCompressed(index);

    uint8_t* source = memory;
    uint8_t* ownBuffer = nullptr;
    if (compressed) {
        if (gSharedBuffer && gSharedBufferSize >= packed) {
            source = gSharedBuffer;
        } else {
            source = ownBuffer = AllocatePurging(packed);
            if (!source) {
                std::memset(memory, 0, memorySize);
                return false;
            }
        }
    }
    bool ok = file->ReadItemBytes(index, source, compressed ? packed : memorySize);
    if (ok && compressed) {
        lzo_uint unpacked = lzo_uint(memorySize);
        ok = LzoReady() &&
             lzo1x_decompress_safe(source, lzo_uint(packed), memory, &unpacked, nullptr) ==
                 LZO_E_OK &&
             unpacked == lzo_uint(memorySize);
    }
    if (ownBuffer) operator delete(ownBuffer);

    bool swapped = file->IsBigEndian();
    int32_t tableBytes =
        file->ColorTableByte(index) == MM_OWN_COLOR_TABLE ? MM_COLOR_TABLE_BYTES : 0;
    uint8_t* pixels = memory + tableBytes;
    Pair size = file->Size(index);
    int32_t pixelSize = file->BitsPerPixel(index) / 8;
    if (ok && file->IsEncoded(index))
        ok = IsSoundEncodedImage(pixels, memorySize - tableBytes, size.x, size.y, pixelSize,
                                 swapped);
    if (!ok) {
        std::memset(memory, 0, memorySize);
        return false;
    }
    if (swapped) {
        if (tableBytes) SwapLongBytes(memory, 256);
        if (file->IsEncoded(index))
            SwapEncodedImageBytes(pixels, size.y, pixelSize);
        else if (pixelSize == 4)
            SwapLongBytes(pixels, file->Pitch(index) / 4 * size.y);
    }
    return true;
}

bool MMPictureLoader::LoadAndLock(int16_t index)
{
    if (!IsValidIndex(index)) return false;
    if (heap.Lock(uint16_t(index))) return true;
    heap.Free(uint16_t(index));
    if (!Reserve(index)) return false;
    if (ReadItem(index)) return true;
    heap.Unlock(uint16_t(index));
    heap.Free(uint16_t(index));
    return false;
}

uint8_t* MMPictureLoader::LockedPixels(int16_t index, const MMColorTable** colourTable)
{
    if (!LoadAndLock(index)) return nullptr;
    uint8_t* memory = static_cast<uint8_t*>(heap.Pointer(uint16_t(index)));
    uint8_t tableByte = file->ColorTableByte(index);
    const MMColorTable* table = nullptr;
    uint8_t* pixels = memory;
    if (tableByte == MM_OWN_COLOR_TABLE) {
        table = reinterpret_cast<const MMColorTable*>(memory);
        pixels += MM_COLOR_TABLE_BYTES;
    } else if (tableByte >= MM_FIRST_SHARED_COLOR_TABLE) {
        table = file->SharedColorTable(tableByte - MM_FIRST_SHARED_COLOR_TABLE);
    }
    if (colourTable) *colourTable = table;
    return pixels;
}

void MMPictureLoader::Describe(int16_t index, MMImageDescription& image, uint8_t* pixels)
{
    Pair size = file->Size(index);
    image.bitsPerPixel = file->BitsPerPixel(index);
    image.bytesPerPixel = image.bitsPerPixel / 8;
    image.pixelKind = image.bitsPerPixel == 8 ? kPixelIndexed : kPixelBGRA;
    image.transparencyKind = file->TransparencyKind(index);
    image.box = Box{0, 0, size.x, size.y};
    image.pixels = pixels;
}

bool MMPictureLoader::LockBitmap(int16_t index, MMBitmap& bitmap,
                                 const MMColorTable** colourTable)
{
    // Run offsets read as plain rows would describe pixels far beyond the item.
    if (file->IsEncoded(index)) return false;
    uint8_t* pixels = LockedPixels(index, colourTable);
    if (!pixels) return false;
    Describe(index, bitmap, pixels);
    bitmap.pitch = file->Pitch(index);
    return true;
}

bool MMPictureLoader::LockEncodedImage(int16_t index, MMEncodedImage& image,
                                       const MMColorTable** colourTable)
{
    // Plain rows read as run offsets would send the image outside its item.
    if (!file->IsEncoded(index)) return false;
    uint8_t* pixels = LockedPixels(index, colourTable);
    if (!pixels) return false;
    Describe(index, image, pixels);
    return true;
}

MMPictureLoader* MMOpenPictureFile(const FSDirectory& folder, const char* name, bool loadNames)
{
    MMPictureResourceFile* file = new MMPictureResourceFile;
    if (!file->Open(folder, name, loadNames, false)) {
        delete file;
        return nullptr;
    }
    LookUpTimeStamp(file->FileTag(), file->CollectionId());
    MMPictureLoader* loader =
        new (std::nothrow) MMPictureLoader(file, file->CollectionId(), file->ItemCount());
    if (!loader) {
        file->Close(false);
        delete file;
        FailWithoutError();
    }
    return loader;
}
