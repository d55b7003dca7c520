#include "media/sound/sound_loader.h"

#include <algorithm>
#include <cstring>
#include <new>
#include "engine/engine_pulse_managers.h"
#include "framework/async_file_input.h"
#include "framework/pending_error.h"
#include "framework/string_table.h"
#include "media/sound/sound_codec.h"
#include "media/sound/sound_format.h"

MMLoaderSoundSource::MMLoaderSoundSource(uint32_t format, UUInputStream* input,
                                         AFCallback* release)
    : MMSoundSource(format), input(input), release(release)
{
}

MMLoaderSoundSource::~MMLoaderSoundSource()
{
    delete input;
    if (release) release->Invoke();
    delete release;
}

bool MMLoaderSoundSource::AtEnd() { return input->AtEnd(); }

void MMLoaderSoundSource::Seek(int32_t bytePosition) { input->Seek(bytePosition); }

int32_t MMLoaderSoundSource::Read(void* destination, int32_t count, bool wait)
{
    return input->Read(destination, count, wait);
}

MMSoundLoader::MMSoundLoader(MMSoundResourceFile* soundFile, int16_t count, uint16_t collectionId)
    : MMSoundCollection(collectionId),
      heap("sound heap", count),
      manager(&heap),
      helper(&heap, count, this, &MMSoundLoader::Reserve, &MMSoundLoader::ReadItem),
      file(soundFile),
      itemCount(std::min(count, soundFile->ItemCount())),
      stale(size_t(std::max<int16_t>(count, 0)), false)
{
    InitLock(&fileLock);
}

MMSoundLoader::~MMSoundLoader()
{
    heap.FreeAll();
    file->Close(false);
    delete file;
    DeleteLock(&fileLock);
}

bool MMSoundLoader::LockAll() { return helper.LockAll(); }

void MMSoundLoader::UnlockAll(bool readItems) { helper.UnlockAll(readItems); }

void MMSoundLoader::FreeUnused() { helper.FreeUnused(); }

uint32_t MMSoundLoader::Format(int16_t item) { return file->Format(item); }

int32_t MMSoundLoader::Duration(int16_t item) { return file->Duration(item); }

int32_t MMSoundLoader::DecodedSize(int16_t item) { return file->DecodedSize(item); }

MMSoundItemLayout MMSoundLoader::ItemLayout(int16_t item) const
{
    MMSoundItemLayout layout;
    if (!IsValidItem(item)) return layout;
    layout.envelope = file->EnvelopeSize(item);
    layout.stored = file->StoredSize(item);
    layout.streamed = file->StreamMode(item) != 0;
    layout.head = layout.stored;
    if (layout.streamed) {
        // Compressed items decode to twice their bytes; a file's sizes may
        // say anything, so the ratio is at least 1.
        int32_t ratio = std::max(file->DecodedSize(item) / std::max(layout.stored, 1), 1);
        layout.head = std::min(layout.stored, StreamingBufferSize(file->Format(item)) / ratio);
        layout.counter = 4;
    }
    return layout;
}

uint8_t* MMSoundLoader::Slot(int16_t item)
{
    return static_cast<uint8_t*>(heap.Pointer(uint16_t(item)));
}

int32_t* MMSoundLoader::Counter(int16_t item)
{
    return reinterpret_cast<int32_t*>(Slot(item));
}

int32_t MMSoundLoader::UseCounter(int16_t item)
{
    if (!IsValidItem(item) || !ItemLayout(item).streamed || !heap.IsAllocated(uint16_t(item)))
        return 0;
    int32_t value = 0;
    std::memcpy(&value, Slot(item), 4);
    return value;
}

bool MMSoundLoader::Reserve(int16_t item)
{
    if (!IsValidItem(item)) return false;
    uint32_t bytes = uint32_t(std::max(ItemLayout(item).SlotSize(), 1));
    if (!heap.Allocate(uint16_t(item), bytes)) return false;
    if (heap.Lock(uint16_t(item))) return true;
    heap.Free(uint16_t(item));
    return false;
}

bool MMSoundLoader::ReadItem(int16_t item)
{
    if (!IsValidItem(item)) return false;
    uint8_t* slot = Slot(item);
    if (!slot) return false;
    MMSoundItemLayout layout = ItemLayout(item);
    if (layout.streamed) std::memset(slot, 0, 4);
    uint8_t* head = slot + layout.counter;
    bool ok;
    {
        LockHolder hold(&fileLock);
        FSRecoverableCDFile& in = file->Stream();
        in.SetError(0);
        ok = in.Seek(file->ItemOffset(item), FS_SEEK_FROM_START, nullptr) &&
             (layout.envelope == 0 || in.ReadBytes(head + layout.head, layout.envelope)) &&
             (layout.head == 0 || in.ReadBytes(head, layout.head));
    }
    stale[item] = false;
    return ok;
}

bool MMSoundLoader::EnsureLoaded(int16_t item)
{
    if (!IsValidItem(item)) return false;
    uint16_t slot = uint16_t(item);
    if (heap.Lock(slot)) {
        if (!stale[item] || ReadItem(item)) return true;
        heap.Unlock(slot);
        return false;
    }
    heap.Free(slot);
    if (!Reserve(item)) return false;
    if (ReadItem(item)) return true;
    heap.Unlock(slot);
    heap.Free(slot);
    return false;
}

MMSoundSource* MMSoundLoader::OpenSource(int16_t item)
{
    if (!EnsureLoaded(item)) return nullptr;
    MMSoundItemLayout layout = ItemLayout(item);
    uint32_t format = file->Format(item);
    uint8_t* head = Slot(item) + layout.counter;
    UUBufferedInput* bytes = nullptr;
    if (layout.head == layout.stored) {
        if (layout.streamed) ++*Counter(item);
        bytes = new UUBufferedInputFromMemory(head, layout.head);
    } else {
        // One stream per item: the head is its ring. A refused stream only
        // gives back its lock; the running stream keeps its ring.
        if (*Counter(item) == -1 || !gSecondEnginePulseTaskManager) {
            heap.Unlock(uint16_t(item));
            return nullptr;
        }
        *Counter(item) = -1;
        int32_t chunk = std::max(layout.head / 4 & ~1, 2);
        bytes = new AFBufferedInputFromAsyncFile(
            gSecondEnginePulseTaskManager, head, layout.head, chunk, &file->Stream(),
            file->ItemOffset(item) + layout.envelope, layout.stored, &fileLock, true);
    }
    UUInputStream* decoder;
    if (file->IsCompressed(item))
        decoder = new UUSoundBytesUncompressFromBufferedInput(bytes, file->IsStereo(item) ? 2 : 1);
    else if (file->Is16Bit(item) && file->IsBigEndian())
        decoder = new UUSwapWordsFromBufferedInput(bytes);
    else
        decoder = new UUInputFromBufferedInput(bytes);
    AFCallback* release = new AFClassCallback1Parameter<MMSoundLoader, int16_t>(
        this, &MMSoundLoader::ReleaseSource, item);
    return new MMLoaderSoundSource(format, decoder, release);
}

void MMSoundLoader::ReleaseSource(int16_t item)
{
    if (!IsValidItem(item) || !heap.IsAllocated(uint16_t(item))) return;
    bool drop = false;
    if (ItemLayout(item).streamed) {
        int32_t* counter = Counter(item);
        if (*counter > 0) --*counter;
        else drop = true;
    }
    uint16_t slot = uint16_t(item);
    heap.Unlock(slot);
    if (!drop) return;
    // The ring has overwritten the head: read it again next time.
    if (heap.LockCount(slot) == 0) heap.Free(slot);
    else stale[item] = true;
}

void MMSoundLoader::LoadEnvelope(int16_t item, MMLevelEnvelope& envelope, bool load)
{
    envelope.bytes.clear();
    envelope.size = 0;
    if (!IsValidItem(item) || file->EnvelopeKind(item) != 1) return;
    MMSoundItemLayout layout = ItemLayout(item);
    envelope.size = layout.envelope;
    if (!load || layout.envelope <= 0) return;
    envelope.bytes.assign(size_t(layout.envelope), 0);
    if (EnsureLoaded(item)) {
        std::memcpy(envelope.bytes.data(), Slot(item) + layout.counter + layout.head,
                    size_t(layout.envelope));
        heap.Unlock(uint16_t(item));
        return;
    }
    LockHolder hold(&fileLock);
    FSRecoverableCDFile& in = file->Stream();
    in.SetError(0);
    if (!in.Seek(file->ItemOffset(item), FS_SEEK_FROM_START, nullptr) ||
        !in.ReadBytes(envelope.bytes.data(), layout.envelope)) {
        envelope.bytes.clear();
        envelope.size = 0;
    }
}

void MMSoundLoader::Preload(int16_t item)
{
    if (EnsureLoaded(item)) heap.Unlock(uint16_t(item));
}

void MMSoundLoader::Purge(int16_t item)
{
    if (IsValidItem(item)) heap.Purge(uint16_t(item));
}

MMSoundLoader* CreateSoundLoader(const char* name, const FSDirectory& folder, bool loadNames)
{
    MMSoundResourceFile* file = new MMSoundResourceFile;
    if (!file->Open(folder, name, loadNames, false)) {
        delete file;
        return nullptr;
    }
    LookUpTimeStamp(file->FileTag(), file->CollectionId());
    MMSoundLoader* loader =
        new (std::nothrow) MMSoundLoader(file, file->ItemCount(), file->CollectionId());
    if (!loader) {
        file->Close(false);
        delete file;
        FailWithoutError();
    }
    return loader;
}
