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

}  // namespace

bool MMWritePicture(MMPictureResourceFile& file, int16_t item, const MMPictureSource& source)
{
    const MMBitmap* bitmap = source.bitmap;
    if (!bitmap || (bitmap->pixelKind != kPixelIndexed && bitmap->pixelKind != kPixelBGRA) ||
        bitmap->Width() > 0x7FFF || bitmap->Height() > 0x7FFF)
        return FailWithoutError();
    int32_t width = bitmap->Width();
    int32_t height = bitmap->Height();

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
    if (!file.MapTable(table, item) || !StartItem(file, item)) return false;
    FSWriter& out = file.Writer();
    out.WriteLongs(&rowCount);
    if (rowCount * rowSize > 0) out.WriteBytes(rows, rowCount * rowSize);
    if (stringBytes > 0) out.WriteBytes(strings, stringBytes);
    if (out.GetError() != 0) return FailWithoutError();
    return true;
}
