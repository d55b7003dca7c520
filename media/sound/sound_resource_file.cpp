#include "media/sound/sound_resource_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include "framework/pending_error.h"
#include "media/sound/sound_format.h"

void MMSoundSizeTable::MakeDense(int16_t count)
{
    sparse = false;
    items.clear();
    values.assign(std::max<int16_t>(count, 0), 0);
}

void MMSoundSizeTable::MakeSparse(const std::vector<int16_t>& flagged,
                                  const std::vector<int32_t>& sizes)
{
    sparse = true;
    items = flagged;
    values = sizes;
}

void MMSoundSizeTable::Clear()
{
    sparse = false;
    items.clear();
    values.clear();
    items.shrink_to_fit();
    values.shrink_to_fit();
}

int32_t MMSoundSizeTable::Size(int16_t item) const
{
    if (!sparse) return item >= 0 && item < Count() ? values[item] : 0;
    auto found = std::lower_bound(items.begin(), items.end(), item);
    if (found == items.end() || *found != item) return 0;
    return values[found - items.begin()];
}

bool MMSoundSizeTable::SetSize(int16_t item, int32_t size)
{
    if (sparse || item < 0 || item >= Count()) return false;
    values[item] = size;
    return true;
}

int32_t MMLevelEnvelope::LevelAt(int32_t ms) const
{
    int32_t index = ms / 40;
    if (index < 0 || index >= size || size_t(index) >= bytes.size()) return 0;
    return bytes[index];
}

int32_t BuildLevelEnvelope(const void* pcm, int32_t bytes, int32_t rateCode, bool stereo,
                           bool is16Bit, std::vector<uint8_t>& out)
{
    int32_t code = rateCode == 1 || rateCode == 2 ? rateCode : 0;
    int32_t block = 441 << (code + (stereo ? 1 : 0));
    int32_t samples = is16Bit ? bytes / 2 : bytes;
    const uint8_t* data = static_cast<const uint8_t*>(pcm);
    int32_t entries = 0;
    for (int32_t first = 0; first < samples; first += block) {
        int32_t n = std::min(block, samples - first);
        int64_t sum = 0;
        for (int32_t i = first; i < first + n; ++i) {
            if (is16Bit) {
                int16_t s;
                std::memcpy(&s, data + 2 * i, 2);
                sum += std::abs(int32_t(s));
            } else {
                sum += std::abs(int32_t(data[i]) - 128);
            }
        }
        int64_t mean = sum / n;
        out.push_back(uint8_t(is16Bit ? mean >> 8 : mean));
        ++entries;
    }
    return entries;
}

MMSoundResourceFile::MMSoundResourceFile() : MMResourceFileWithNamedSubfiles(MM_SOUND_FILE_ERRORS)
{
}

const char* MMSoundResourceFile::FileTag() const { return "MMA"; }

const char* MMSoundResourceFile::FileTitle() const { return "ZOVU Sounds"; }

// Reads the n sizes of a table; keeps them dense or, when few items use the
// table, only those of the flagged items. Skips them when no item does.
bool MMSoundResourceFile::ReadSizes(MMSoundSizeTable& table, const std::vector<int16_t>& flagged)
{
    FSRecoverableCDFile& in = Stream();
    int16_t n = ItemCount();
    if (!Need(4 * n)) return false;
    int32_t k = int32_t(flagged.size());
    if (k == 0) {
        table.Clear();
        return in.Seek(4 * n, FS_SEEK_FROM_CURRENT, nullptr);
    }
    std::vector<int32_t> sizes(n);
    if (!in.ReadLongs(sizes.data(), n)) return false;
    if (k * 6 < n * 4) {
        std::vector<int32_t> kept;
        for (int16_t item : flagged) kept.push_back(sizes[item]);
        table.MakeSparse(flagged, kept);
    } else {
        table.MakeDense(n);
        for (int16_t i = 0; i < n; ++i) table.SetSize(i, sizes[i]);
    }
    return true;
}

bool MMSoundResourceFile::ReadHeader()
{
    if (!MMResourceFileWithNamedSubfiles::ReadHeader()) return false;
    FSRecoverableCDFile& in = Stream();
    int16_t n = ItemCount();
    int16_t version = 0;
    if (!Need(2) || !in.ReadShorts(&version)) return ReadFailed();
    if (version != MM_SOUND_KIND_VERSION) return Fail(MM_FILE_BAD_VERSION_NUMBER);
    if (!Need(2 * n)) return ReadFailed();
    in.ReadBytes(attributes.data(), n);
    in.ReadBytes(compression.data(), n);
    if (in.GetError() != 0) return ReadFailed();

    std::vector<int16_t> withEnvelope, compressed;
    for (int16_t i = 0; i < n; ++i) {
        if (EnvelopeKind(i) != 0) withEnvelope.push_back(i);
        if (IsCompressed(i)) compressed.push_back(i);
    }
    if (!ReadSizes(envelopeSizes, withEnvelope) || !ReadSizes(decodedSizes, compressed))
        return ReadFailed();
    if (!CheckItemsAfterHeader()) return false;
    return CheckSounds();
}

// Sizes that a loader would trust to lay out an item's memory.
bool MMSoundResourceFile::CheckSounds()
{
    for (int16_t i = 0; i < ItemCount(); ++i) {
        int32_t envelope = EnvelopeSize(i);
        if (envelope < 0 || envelope > ItemSize(i) || DecodedSize(i) < 0)
            return Fail(MM_FILE_BAD_READ);
    }
    return true;
}

bool MMSoundResourceFile::WriteHeader()
{
    if (!MMResourceFileWithNamedSubfiles::WriteHeader()) return false;
    FSRecoverableCDFile& out = Stream();
    int16_t n = ItemCount();
    int16_t version = MM_SOUND_KIND_VERSION;
    out.WriteShorts(&version);
    out.WriteBytes(attributes.data(), n);
    out.WriteBytes(compression.data(), n);
    for (const MMSoundSizeTable* table : {&envelopeSizes, &decodedSizes})
        for (int16_t i = 0; i < n; ++i) {
            int32_t size = table->Size(i);
            out.WriteLongs(&size);
        }
    if (out.GetError() != 0) return WriteFailed();
    return true;
}

bool MMSoundResourceFile::InitTables(int16_t count)
{
    if (!MMResourceFileWithNamedSubfiles::InitTables(count)) return false;
    attributes.assign(count, 0);
    compression.assign(count, 0);
    envelopeSizes.MakeDense(count);
    decodedSizes.MakeDense(count);
    return true;
}

void MMSoundResourceFile::FreeTables(bool deleteFile, bool markUnusable)
{
    attributes.clear();
    compression.clear();
    attributes.shrink_to_fit();
    compression.shrink_to_fit();
    envelopeSizes.Clear();
    decodedSizes.Clear();
    MMResourceFileWithNamedSubfiles::FreeTables(deleteFile, markUnusable);
}

uint8_t MMSoundResourceFile::Attributes(int16_t item) const
{
    return IsValidItem(item) && size_t(item) < attributes.size() ? attributes[item] : 0;
}

bool MMSoundResourceFile::IsCompressed(int16_t item) const
{
    return IsValidItem(item) && size_t(item) < compression.size() && (compression[item] & 1);
}

int32_t MMSoundResourceFile::EnvelopeSize(int16_t item) const
{
    return EnvelopeKind(item) != 0 ? envelopeSizes.Size(item) : 0;
}

int32_t MMSoundResourceFile::StoredSize(int16_t item) const
{
    return ItemSize(item) - EnvelopeSize(item);
}

int32_t MMSoundResourceFile::DecodedSize(int16_t item) const
{
    return IsCompressed(item) ? decodedSizes.Size(item) : StoredSize(item);
}

int32_t MMSoundResourceFile::Duration(int16_t item) const
{
    int64_t s = DecodedSize(item);
    if (Is16Bit(item)) s /= 2;
    if (IsStereo(item)) s /= 2;
    s *= 40;
    int32_t code = RateCode(item);
    s /= code == 1 ? 882 : code == 2 ? 1764 : 441;
    return int32_t(std::min<int64_t>(s, INT32_MAX));
}

uint32_t MMSoundResourceFile::Format(int16_t item) const
{
    return SoundFormatOf(RateCode(item), Is16Bit(item), IsStereo(item));
}

bool MMSoundResourceFile::SetAttributeField(int16_t item, uint8_t mask, int shift, int32_t value)
{
    if (Stream().GetError() != 0 || !IsValidItem(item)) return FailWithoutError();
    attributes[item] = uint8_t((attributes[item] & ~mask) | ((value << shift) & mask));
    return true;
}

bool MMSoundResourceFile::SetRateCode(int16_t item, int32_t code)
{
    return SetAttributeField(item, MM_SOUND_RATE_CODE, 0, code);
}

bool MMSoundResourceFile::Set16Bit(int16_t item, bool on)
{
    return SetAttributeField(item, MM_SOUND_ATTR_16_BIT, 2, on);
}

bool MMSoundResourceFile::SetStereo(int16_t item, bool on)
{
    return SetAttributeField(item, MM_SOUND_ATTR_STEREO, 3, on);
}

bool MMSoundResourceFile::SetStreamMode(int16_t item, int32_t mode)
{
    return SetAttributeField(item, MM_SOUND_STREAM_MODE, MM_SOUND_STREAM_SHIFT, mode);
}

bool MMSoundResourceFile::SetEnvelopeKind(int16_t item, int32_t kind)
{
    return SetAttributeField(item, MM_SOUND_ENVELOPE, MM_SOUND_ENVELOPE_SHIFT, kind);
}

bool MMSoundResourceFile::SetCompressed(int16_t item, bool on)
{
    if (Stream().GetError() != 0 || !IsValidItem(item)) return FailWithoutError();
    compression[item] = on ? 1 : 0;
    return true;
}

bool MMSoundResourceFile::SetEnvelopeSize(int16_t item, int32_t size)
{
    if (Stream().GetError() != 0 || !envelopeSizes.SetSize(item, size)) return FailWithoutError();
    return true;
}

bool MMSoundResourceFile::SetDecodedSize(int16_t item, int32_t size)
{
    if (Stream().GetError() != 0 || !decodedSizes.SetSize(item, size)) return FailWithoutError();
    return true;
}

int32_t MMSoundResourceFile::BytesForDuration(int32_t rateCode, bool is16Bit, bool stereo,
                                              int32_t ms)
{
    int32_t f = (is16Bit ? 2 : 1) * (stereo ? 2 : 1);
    int32_t r = rateCode == 1 ? 22050 : rateCode == 2 ? 44100 : 11025;
    int32_t b = ms * (r / 25) / (40 / f);
    return (b + f - 1) / f * f;
}
