#pragma once
// Picture resource files ("ZOVU Pictures"): per picture its flag bytes, size,
// unpacked size (above 0 = LZO1X-compressed), colour-table byte, and the
// file's shared colour tables.
#include <cstdint>
#include <vector>
#include "engine/resource_file.h"
#include "framework/color_table.h"
#include "framework/geometry.h"

const int MM_PICTURE_KIND_VERSION = 10;

// Picture flag byte.
enum : uint8_t {
    MM_PICTURE_8_BITS = 0x01,          // else 32 bits per pixel
    MM_PICTURE_TRANSPARENCY = 0x0C,    // bits 2-3: transparency kind
    MM_PICTURE_ENCODED = 0x10          // run-length encoded, else plain rows
};
const int MM_PICTURE_TRANSPARENCY_SHIFT = 2;

// Colour-table byte: 0 none, 1 the item's own table in front of the
// pixels, m >= 2 the shared table m - 2.
enum : uint8_t {
    MM_NO_COLOR_TABLE = 0,
    MM_OWN_COLOR_TABLE = 1,
    MM_FIRST_SHARED_COLOR_TABLE = 2
};
const int32_t MM_COLOR_TABLE_BYTES = 1024;

class MMPictureResourceFile : public MMResourceFileWithNamedSubfiles {
public:
    MMPictureResourceFile();
    const char* FileTag() const override;    // "MMP"
    const char* FileTitle() const override;  // "ZOVU Pictures"
    bool ReadHeader() override;
    bool WriteHeader() override;
    bool InitTables(int16_t itemCount) override;
    void FreeTables(bool deleteFile, bool markUnusable) override;

    uint8_t FirstFlags(int16_t item) const;
    uint8_t PictureFlags(int16_t item) const;
    Pair Size(int16_t item) const;
    int32_t UnpackedSize(int16_t item) const;
    uint8_t ColorTableByte(int16_t item) const;
    int16_t SharedColorTableCount() const { return int16_t(sharedTables.size()); }
    const MMColorTable* SharedColorTable(int16_t number) const;

    int32_t BitsPerPixel(int16_t item) const;
    int32_t TransparencyKind(int16_t item) const;
    bool IsEncoded(int16_t item) const;
    bool IsCompressed(int16_t item) const { return UnpackedSize(item) > 0; }
    // Bytes the picture takes in memory: unpacked size or its size in the file.
    int32_t MemorySize(int16_t item) const;
    // Bytes of the row pitch of plain pixels.
    int32_t Pitch(int16_t item) const;

    // Writer side. Shared tables take room in the header, so they must be set
    // before the first item is written.
    bool SetFirstFlags(int16_t item, uint8_t lowBits, uint8_t middleBits, bool topBit);
    bool SetPictureFlags(int16_t item, uint8_t flags);
    bool SetSize(int16_t item, int16_t width, int16_t height);
    bool SetUnpackedSize(int16_t item, int32_t bytes);
    bool SetOwnColorTable(int16_t item, bool hasOwn);
    bool SetSharedColorTableNumber(int16_t item, int16_t number);
    bool SetSharedColorTables(const MMColorTable* tables, int16_t count);

private:
    bool CheckPictures();

    std::vector<uint8_t> firstFlags;
    std::vector<uint8_t> pictureFlags;
    std::vector<int16_t> sizes;  // width, height per item
    std::vector<int32_t> unpackedSizes;
    std::vector<uint8_t> colorTableBytes;
    std::vector<MMColorTable> sharedTables;
};
