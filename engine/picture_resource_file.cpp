#include "engine/picture_resource_file.h"

#include "framework/pending_error.h"
#include "media/encoded_image.h"

MMPictureResourceFile::MMPictureResourceFile()
    : MMResourceFileWithNamedSubfiles(MM_PICTURE_FILE_ERRORS)
{
}

const char* MMPictureResourceFile::FileTag() const { return "MMP"; }

const char* MMPictureResourceFile::FileTitle() const { return "ZOVU Pictures"; }

bool MMPictureResourceFile::ReadHeader()
{
    if (!MMResourceFileWithNamedSubfiles::ReadHeader()) return false;
    FSRecoverableCDFile& in = Stream();
    int16_t n = ItemCount();
    int16_t version = 0;
    if (!Need(2) || !in.ReadShorts(&version)) return ReadFailed();
    if (version != MM_PICTURE_KIND_VERSION) return Fail(MM_FILE_BAD_VERSION_NUMBER);

    // Flags, sizes, unpacked sizes, colour-table bytes and the table count.
    if (!Need(11 * n + 2)) return ReadFailed();
    if (loadNames) in.ReadBytes(firstFlags.data(), n);
    else in.Seek(n, FS_SEEK_FROM_CURRENT, nullptr);
    in.ReadBytes(pictureFlags.data(), n);
    in.ReadShorts(sizes.data(), 2 * n);
    in.ReadLongs(unpackedSizes.data(), n);
    in.ReadBytes(colorTableBytes.data(), n);
    int16_t tableCount = 0;
    in.ReadShorts(&tableCount);
    if (in.GetError() != 0) return ReadFailed();
    if (tableCount < 0) return Fail(MM_FILE_BAD_HEADER);
    if (!Need(MM_COLOR_TABLE_BYTES * tableCount)) return ReadFailed();
    sharedTables.resize(tableCount);
    for (MMColorTable& table : sharedTables)
        if (!table.Read(in)) return ReadFailed();
    if (!CheckItemsAfterHeader()) return false;
    return CheckPictures();
}

// Every picture must fit the memory it will be locked in, so that a locked
// picture never describes pixels beyond its item.
bool MMPictureResourceFile::CheckPictures()
{
    for (int16_t i = 0; i < ItemCount(); ++i) {
        Pair size = Size(i);
        if (size.x < 0 || size.y < 0) return Fail(MM_FILE_BAD_HEADER);
        uint8_t tableByte = colorTableBytes[i];
        if (tableByte >= MM_FIRST_SHARED_COLOR_TABLE &&
            tableByte - MM_FIRST_SHARED_COLOR_TABLE >= SharedColorTableCount())
            return Fail(MM_FILE_BAD_HEADER);
        int64_t table = tableByte == MM_OWN_COLOR_TABLE ? MM_COLOR_TABLE_BYTES : 0;
        int64_t memory = MemorySize(i);
        bool fits;
        if (IsEncoded(i)) {
            fits = memory >= table + 4 * int64_t(size.y) + 2 &&
                   memory <= table + MM_MAX_ENCODED_BYTES;
        } else {
            // A compressed item unpacks to exactly its rows: a larger size
            // would only make every lock purge the heaps for nothing.
            int64_t needed = table + int64_t(Pitch(i)) * size.y;
            fits = IsCompressed(i) ? memory == needed : memory >= needed;
        }
        if (!fits) return Fail(MM_FILE_BAD_HEADER);
    }
    return true;
}

bool MMPictureResourceFile::WriteHeader()
{
    if (!MMResourceFileWithNamedSubfiles::WriteHeader()) return false;
    FSRecoverableCDFile& out = Stream();
    int16_t n = ItemCount();
    int16_t version = MM_PICTURE_KIND_VERSION;
    int16_t tableCount = SharedColorTableCount();
    out.WriteShorts(&version);
    out.WriteBytes(firstFlags.data(), n);
    out.WriteBytes(pictureFlags.data(), n);
    out.WriteShorts(sizes.data(), 2 * n);
    out.WriteLongs(unpackedSizes.data(), n);
    out.WriteBytes(colorTableBytes.data(), n);
    out.WriteShorts(&tableCount);
    for (const MMColorTable& table : sharedTables) table.Write(out);
    if (out.GetError() != 0) return WriteFailed();
    return true;
}

bool MMPictureResourceFile::InitTables(int16_t count)
{
    if (!MMResourceFileWithNamedSubfiles::InitTables(count)) return false;
    firstFlags.assign(count, 0);
    pictureFlags.assign(count, 0);
    sizes.assign(2 * size_t(count), 0);
    unpackedSizes.assign(count, 0);
    colorTableBytes.assign(count, 0);
    sharedTables.clear();
    return true;
}

void MMPictureResourceFile::FreeTables(bool deleteFile, bool markUnusable)
{
    firstFlags.clear();
    pictureFlags.clear();
    sizes.clear();
    unpackedSizes.clear();
    colorTableBytes.clear();
    sharedTables.clear();
    MMResourceFileWithNamedSubfiles::FreeTables(deleteFile, markUnusable);
}

uint8_t MMPictureResourceFile::FirstFlags(int16_t item) const
{
    return IsValidItem(item) ? firstFlags[item] : 0;
}

uint8_t MMPictureResourceFile::PictureFlags(int16_t item) const
{
    return IsValidItem(item) ? pictureFlags[item] : 0;
}

Pair MMPictureResourceFile::Size(int16_t item) const
{
    if (!IsValidItem(item)) return Pair{0, 0};
    return Pair{sizes[2 * item], sizes[2 * item + 1]};
}

int32_t MMPictureResourceFile::UnpackedSize(int16_t item) const
{
    return IsValidItem(item) ? unpackedSizes[item] : 0;
}

uint8_t MMPictureResourceFile::ColorTableByte(int16_t item) const
{
    return IsValidItem(item) ? colorTableBytes[item] : 0;
}

const MMColorTable* MMPictureResourceFile::SharedColorTable(int16_t number) const
{
    if (number < 0 || number >= SharedColorTableCount()) return nullptr;
    return &sharedTables[number];
}

int32_t MMPictureResourceFile::BitsPerPixel(int16_t item) const
{
    return PictureFlags(item) & MM_PICTURE_8_BITS ? 8 : 32;
}

int32_t MMPictureResourceFile::TransparencyKind(int16_t item) const
{
    return (PictureFlags(item) & MM_PICTURE_TRANSPARENCY) >> MM_PICTURE_TRANSPARENCY_SHIFT;
}

bool MMPictureResourceFile::IsEncoded(int16_t item) const
{
    return PictureFlags(item) & MM_PICTURE_ENCODED;
}

int32_t MMPictureResourceFile::MemorySize(int16_t item) const
{
    return IsCompressed(item) ? UnpackedSize(item) : ItemSize(item);
}

int32_t MMPictureResourceFile::Pitch(int16_t item) const
{
    return (Size(item).x * (BitsPerPixel(item) / 8) + 3) & ~3;
}

bool MMPictureResourceFile::SetFirstFlags(int16_t item, uint8_t lowBits, uint8_t middleBits,
                                          bool topBit)
{
    if (Stream().GetError() != 0 || !IsValidItem(item)) return FailWithoutError();
    firstFlags[item] = uint8_t((lowBits & 7) | ((middleBits & 3) << 3) | (topBit ? 0x20 : 0));
    return true;
}

bool MMPictureResourceFile::SetPictureFlags(int16_t item, uint8_t flags)
{
    if (Stream().GetError() != 0 || !IsValidItem(item)) return FailWithoutError();
    pictureFlags[item] = flags;
    return true;
}

bool MMPictureResourceFile::SetSize(int16_t item, int16_t width, int16_t height)
{
    if (Stream().GetError() != 0 || !IsValidItem(item)) return FailWithoutError();
    sizes[2 * item] = width;
    sizes[2 * item + 1] = height;
    return true;
}

bool MMPictureResourceFile::SetUnpackedSize(int16_t item, int32_t bytes)
{
    if (Stream().GetError() != 0 || !IsValidItem(item)) return FailWithoutError();
    unpackedSizes[item] = bytes;
    return true;
}

bool MMPictureResourceFile::SetOwnColorTable(int16_t item, bool hasOwn)
{
    if (Stream().GetError() != 0 || !IsValidItem(item)) return FailWithoutError();
    colorTableBytes[item] = hasOwn ? MM_OWN_COLOR_TABLE : MM_NO_COLOR_TABLE;
    return true;
}

bool MMPictureResourceFile::SetSharedColorTableNumber(int16_t item, int16_t number)
{
    if (Stream().GetError() != 0 || !IsValidItem(item) || number < 0 || number > 253)
        return FailWithoutError();
    colorTableBytes[item] = uint8_t(number + MM_FIRST_SHARED_COLOR_TABLE);
    return true;
}

bool MMPictureResourceFile::SetSharedColorTables(const MMColorTable* tables, int16_t count)
{
    if (Stream().GetError() != 0 || ItemsWritten() != 0 || count < 0) return FailWithoutError();
    sharedTables.assign(tables, tables + count);
    // The header grew: write it again so that items start after it.
    return WriteHeader();
}
