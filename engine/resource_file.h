#pragma once
// Resource files: one generic header (signature, byte-order mark, format
// version, checksum, collection id, two stamps, item count and offset table)
// shared by every kind, an optional block of 32-byte item names, then the
// kind's own block. Reading accepts both byte orders; writing builds the
// same layout in little-endian order.
//
// Writing a file:
//   Create(folder, name, kind, n, collectionId)
//   for each item i: SetItemOffset(i, Tell()) then Writer().WriteBytes(...)
//   MarkEndOfItems(); Close(true)
// Items never given an offset are left empty.
#include <cstdint>
#include <vector>
#include "framework/files.h"
#include "framework/folders.h"

// Error bases: each kind's "not found" code; a file raises base + 1 + its
// relative code.
const int32_t MM_PICTURE_FILE_ERRORS = 7;
const int32_t MM_SOUND_FILE_ERRORS = 17;
const int32_t MM_FILM_FILE_ERRORS = 27;
const int32_t MM_SCRIPT_FILE_ERRORS = 37;

// Relative codes, added to the base a file holds.
enum MMResourceFileError : int32_t {
    MM_FILE_NOT_FOUND = -1,
    MM_FILE_BAD_OPEN_FOR_READ = 0,
    MM_FILE_BAD_OPEN_FOR_WRITE = 1,
    MM_FILE_BAD_CLOSE = 2,
    MM_FILE_BAD_HEADER = 3,
    MM_FILE_BAD_VERSION_NUMBER = 4,
    MM_FILE_BAD_CHECKSUM = 5,
    MM_FILE_BAD_READ = 6,
    MM_FILE_BAD_WRITE = 7,
    MM_FILE_BAD_SEEK = 8
};

const int MM_RESOURCE_FORMAT_VERSION = 2;
const int MM_SIGNATURE_SIZE = 16;
const int MM_ITEM_NAME_SIZE = 32;
// File offsets of the generic header's fields.
const int32_t MM_CHECKSUM_OFFSET = 20;
const int32_t MM_CHECKSUMMED_FROM = 24;
const int32_t MM_OFFSET_TABLE_OFFSET = 36;

class MMGenericResourceFile {
public:
    // notFoundCode: the kind's first error code (MM_*_FILE_ERRORS).
    explicit MMGenericResourceFile(int32_t notFoundCode);
    virtual ~MMGenericResourceFile();

    // Short kind tag for the time-stamp lookup, and the signature text.
    virtual const char* FileTag() const = 0;
    virtual const char* FileTitle() const = 0;
    virtual bool ReadHeader();
    virtual bool WriteHeader();
    virtual bool InitTables(int16_t itemCount);
    virtual void FreeTables(bool deleteFile, bool markUnusable);

    bool Open(const FSDirectory& folder, const char* name, bool loadNames, bool verifyChecksum);
    bool Create(const FSDirectory& folder, const char* name, const FSFileKind& kind,
                int16_t itemCount, uint16_t collectionId);
    bool Close(bool save);

    int32_t ItemOffset(int16_t item) const;
    int32_t ItemSize(int16_t item) const;
    bool IsValidItem(int16_t item) const { return item >= 0 && item < itemCount; }

    // Writer side: each fails without error while the stream is in error.
    bool SetFirstStamp(uint32_t value);
    bool SetSecondStamp(uint32_t value);
    bool SetItemOffset(int16_t item, int32_t offset);
    bool MarkEndOfItems();

    bool IsOpen() const { return open; }
    bool IsUsable() const { return usable; }
    bool IsForReading() const { return writtenCount < 0; }
    bool IsBigEndian() { return file.SwapsBytes(); }
    int16_t ItemCount() const { return itemCount; }
    uint16_t CollectionId() const { return collectionId; }
    uint32_t FirstStamp() const { return firstStamp; }
    uint32_t SecondStamp() const { return secondStamp; }
    uint32_t Checksum() const { return checksum; }
    int16_t ItemsWritten() const { return writtenCount; }
    const FSDirectory& Folder() const { return folder; }
    const char* Name() const { return name; }
    // The stream, for reading items and writing them.
    FSRecoverableCDFile& Stream() { return file; }
    FSReader& Reader() { return file; }
    FSWriter& Writer() { return file; }
    int32_t Tell() { return file.Tell(); }
    // The length found when the file was opened for reading.
    int32_t Length() const { return length; }
    // Seeks to the item and reads size bytes of it into destination; false
    // (and no pending error) when the item is shorter or the read fails.
    bool ReadItemBytes(int16_t item, void* destination, int32_t size);

protected:
    // Raises notFoundCode + 1 + relative with the file's folder and name and
    // the stream's error; returns false.
    bool Fail(int32_t relative);
    // Header reads stay inside the file: a read past its end fails with the
    // read error, never a retry prompt.
    bool Need(int32_t bytes);
    bool ReadFailed();
    bool WriteFailed();
    // No item may begin inside the header just read.
    bool CheckItemsAfterHeader();
    bool loadNames;

private:
    bool WriteGenericHeader();
    bool CheckOffsets();
    void FillMissingOffsets();

    bool usable;
    FSDirectory folder;
    char name[64];
    FSRecoverableCDFile file;
    bool open;
    bool verifyChecksum;
    int16_t writtenCount;
    int32_t errorBase;
    uint32_t checksum;
    uint16_t collectionId;
    uint32_t firstStamp;
    uint32_t secondStamp;
    int16_t itemCount;
    std::vector<int32_t> offsets;
    int32_t length;
};

// A file object without a file.
class MMDummyResourceFile : public MMGenericResourceFile {
public:
    MMDummyResourceFile();
    const char* FileTag() const override;
    const char* FileTitle() const override;
    bool WriteHeader() override;
};

// Adds a 32-byte name and one 32-bit value per item.
class MMResourceFileWithNamedSubfiles : public MMGenericResourceFile {
public:
    explicit MMResourceFileWithNamedSubfiles(int32_t notFoundCode);
    bool ReadHeader() override;
    bool WriteHeader() override;
    bool InitTables(int16_t itemCount) override;
    void FreeTables(bool deleteFile, bool markUnusable) override;

    bool SetItemValue(int16_t item, int32_t value);
    bool SetItemName(int16_t item, const char* text);
    // Only when names were loaded (or the file is being written).
    int32_t ItemValue(int16_t item) const;
    const char* ItemName(int16_t item) const;
    bool NamesLoaded() const { return loadNames; }

private:
    std::vector<int32_t> values;
    std::vector<char> names;
};
