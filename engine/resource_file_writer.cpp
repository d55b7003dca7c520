#include "engine/resource_file_writer.h"

#include <cstring>
#include <vector>
#include "framework/buffer_compressors.h"
#include "framework/pending_error.h"
#include "media/bitmap.h"
#include "media/encoded_image.h"

namespace {

bool StartItem(MMGenericResourceFile& file, int16_t item)
{
    int32_t end = -1;
    if (!file.Stream().Seek(0, FS_SEEK_FROM_END, &end)) return FailWithoutError();
    return file.SetItemOffset(item, end);
}

bool Compress(const std::vector<uint8_t>& content, std::vector<uint8_t>& packed)
{
    int32_t length = int32_t(content.size());
    packed.resize(size_t(length) + length / 16 + 64 + 3);
    int32_t size = 0;
    if (!CompressBuffer(content.data(), length, packed.data(), int32_t(packed.size()), &size,
                        nullptr))
        return false;
    packed.resize(size);
    return true;
}

bool Refuse(const MMGenericResourceFile& file, const char* why)
{
    return SetPendingErrorText(why, file.Folder(), file.Name(), 0);
}

// What the picture's colour-table byte promises must be there to draw it:
// one table at most, an existing shared one, and a table for an 8-bit
// picture whose transparency is in its table's fourth bytes.
const char* ColorTableFault(const MMPictureResourceFile& file, const MMPictureSource& source)
{
    if (source.ownColorTable && source.sharedColorTable >= 0)
        return "A picture has both its own and a shared colour table.";
    if (source.sharedColorTable >= file.SharedColorTableCount())
        return "A picture names a shared colour table that the file does not hold.";
    bool hasTable = source.ownColorTable || source.sharedColorTable >= 0;
    int32_t kind = source.bitmap->transparencyKind;
    if (source.bitmap->pixelKind == kPixelIndexed && !hasTable &&
        (kind == kTransparencyPremultiplied || kind == kTransparencyStraight))
        return "An 8-bit picture with alpha has no colour table to hold it.";
    return nullptr;
}

}  // namespace

bool MMWritePicture(MMPictureResourceFile& file, int16_t item, const MMPictureSource& source)
{
    const MMBitmap* bitmap = source.bitmap;
    if (!bitmap || (bitmap->pixelKind != kPixelIndexed && bitmap->pixelKind != kPixelBGRA) ||
        bitmap->Width() > 0x7FFF || bitmap->Height() > 0x7FFF)
        return FailWithoutError();
    int32_t width = bitmap->Width();
    int32_t height = bitmap->Height();
    if (width <= 0 || height <= 0) return Refuse(file, "A picture has no pixels.");
    if (const char* fault = ColorTableFault(file, source)) return Refuse(file, fault);

    std::vector<uint8_t> content;
    if (source.ownColorTable) {
        const uint8_t* table = reinterpret_cast<const uint8_t*>(source.ownColorTable);
        content.assign(table, table + MM_COLOR_TABLE_BYTES);
    }
    size_t start = content.size();
    if (source.encode) {
        int32_t bytes = MeasureEncodedSize(*bitmap);
        if (bytes <= 0) return FailWithoutError();
        content.resize(start + bytes);
        if (EncodeBitmap(*bitmap, content.data() + start, bytes) <= 0) return FailWithoutError();
    } else {
        int32_t rowBytes = width * bitmap->bytesPerPixel;
        int32_t pitch = (rowBytes + 3) & ~3;
        content.resize(start + size_t(pitch) * height, 0);
        for (int32_t y = 0; y < height; ++y)
            std::memcpy(content.data() + start + size_t(y) * pitch,
                        bitmap->PixelAddress(bitmap->box.left, bitmap->box.top + y), rowBytes);
    }

    std::vector<uint8_t> packed;
    if (source.compress && !Compress(content, packed)) return FailWithoutError();
    const std::vector<uint8_t>& stored = source.compress ? packed : content;

    uint8_t flags = uint8_t((bitmap->bitsPerPixel == 8 ? MM_PICTURE_8_BITS : 0) |
                            ((bitmap->transparencyKind & 3) << MM_PICTURE_TRANSPARENCY_SHIFT) |
                            (source.encode ? MM_PICTURE_ENCODED : 0));
    bool ok = file.SetPictureFlags(item, flags) &&
              file.SetSize(item, int16_t(width), int16_t(height)) &&
              file.SetUnpackedSize(item, source.compress ? int32_t(content.size()) : 0) &&
              (source.sharedColorTable >= 0
                   ? file.SetSharedColorTableNumber(item, source.sharedColorTable)
                   : file.SetOwnColorTable(item, source.ownColorTable != nullptr)) &&
              file.SetItemName(item, source.name) && file.SetItemValue(item, source.value) &&
              StartItem(file, item);
    if (!ok) return false;
    if (!file.Writer().WriteBytes(stored.data(), int32_t(stored.size()))) return FailWithoutError();
    return true;
}

bool MMWriteRecordTable(MMScriptFile& file, int16_t item, int16_t table, const void* rows,
                        int32_t rowCount, int32_t rowSize, const char* strings,
                        int32_t stringBytes)
{
    if (rowCount < 0 || rowSize < 0 || stringBytes < 0) return FailWithoutError();
    // The reader takes every text up to its NUL: the area must end with one.
    if (stringBytes > 0 && strings[stringBytes - 1] != 0)
        return Refuse(file, "A record table's string area does not end with a NUL.");
    if (!file.MapTable(table, item) || !StartItem(file, item)) return false;
    FSWriter& out = file.Writer();
    out.WriteLongs(&rowCount);
    if (rowCount * rowSize > 0) out.WriteBytes(rows, rowCount * rowSize);
    if (stringBytes > 0) out.WriteBytes(strings, stringBytes);
    if (out.GetError() != 0) return FailWithoutError();
    return true;
}
