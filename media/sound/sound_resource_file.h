#pragma once
// Sound resource files ("ZOVU Sounds"): a named-subfile resource file whose
// kind block gives per sound an attribute byte (rate, sample size, stereo,
// streamed, envelope), a compression byte, and the envelope and decoded
// sizes. An item is its level envelope (when it has one), then its sample
// bytes: PCM, or one sound-byte code per 16-bit sample.
#include <cstdint>
#include <vector>
#include "engine/resource_file.h"

const int MM_SOUND_KIND_VERSION = 7;

// Attribute byte.
enum : uint8_t {
    MM_SOUND_RATE_CODE = 0x03,    // 0 11025 Hz, 1 22050 Hz, 2 44100 Hz (3 read as 0)
    MM_SOUND_ATTR_16_BIT = 0x04,
    MM_SOUND_ATTR_STEREO = 0x08,
    MM_SOUND_STREAM_MODE = 0x30,  // non-zero: only a head stays in memory
    MM_SOUND_ENVELOPE = 0xC0      // non-zero: the item begins with a level envelope
};
const int MM_SOUND_STREAM_SHIFT = 4;
const int MM_SOUND_ENVELOPE_SHIFT = 6;

// One 32-bit size per item, kept sparse (the flagged items only) when few
// items use it.
class MMSoundSizeTable {
public:
    void MakeDense(int16_t count);
    void MakeSparse(const std::vector<int16_t>& items, const std::vector<int32_t>& sizes);
    void Clear();
    // 0 for an item the table does not hold.
    int32_t Size(int16_t item) const;
    // Dense tables only.
    bool SetSize(int16_t item, int32_t size);
    bool IsSparse() const { return sparse; }
    int32_t Count() const { return int32_t(values.size()); }

private:
    bool sparse = false;
    std::vector<int16_t> items;
    std::vector<int32_t> values;
};

// The loudness of a sound in steps of 40 ms, 0 to 128.
class MMLevelEnvelope {
public:
    std::vector<uint8_t> bytes;
    int32_t size = 0;

    // Entry ms / 40; 0 outside the envelope.
    int32_t LevelAt(int32_t ms) const;
};

// Appends one entry per 40 ms block of PCM (the last block may be shorter):
// the mean distance of the samples from silence, scaled to 0..128. Returns
// the number of entries appended.
int32_t BuildLevelEnvelope(const void* pcm, int32_t bytes, int32_t rateCode, bool stereo,
                           bool is16Bit, std::vector<uint8_t>& out);

class MMSoundResourceFile : public MMResourceFileWithNamedSubfiles {
public:
    MMSoundResourceFile();
    const char* FileTag() const override;    // "MMA"
    const char* FileTitle() const override;  // "ZOVU Sounds"
    bool ReadHeader() override;
    bool WriteHeader() override;
    bool InitTables(int16_t itemCount) override;
    void FreeTables(bool deleteFile, bool markUnusable) override;

    uint8_t Attributes(int16_t item) const;
    int32_t RateCode(int16_t item) const { return Attributes(item) & MM_SOUND_RATE_CODE; }
    bool Is16Bit(int16_t item) const { return Attributes(item) & MM_SOUND_ATTR_16_BIT; }
    bool IsStereo(int16_t item) const { return Attributes(item) & MM_SOUND_ATTR_STEREO; }
    int32_t StreamMode(int16_t item) const
    {
        return (Attributes(item) & MM_SOUND_STREAM_MODE) >> MM_SOUND_STREAM_SHIFT;
    }
    int32_t EnvelopeKind(int16_t item) const
    {
        return (Attributes(item) & MM_SOUND_ENVELOPE) >> MM_SOUND_ENVELOPE_SHIFT;
    }
    bool IsCompressed(int16_t item) const;
    int32_t EnvelopeSize(int16_t item) const;
    int32_t StoredSize(int16_t item) const;
    int32_t DecodedSize(int16_t item) const;
    int32_t Duration(int16_t item) const;
    // The sound-format word of the item's samples.
    uint32_t Format(int16_t item) const;

    const MMSoundSizeTable& EnvelopeSizes() const { return envelopeSizes; }
    const MMSoundSizeTable& DecodedSizes() const { return decodedSizes; }

    // Writer side.
    bool SetRateCode(int16_t item, int32_t code);
    bool Set16Bit(int16_t item, bool on);
    bool SetStereo(int16_t item, bool on);
    bool SetStreamMode(int16_t item, int32_t mode);
    bool SetEnvelopeKind(int16_t item, int32_t kind);
    bool SetCompressed(int16_t item, bool on);
    bool SetEnvelopeSize(int16_t item, int32_t size);
    bool SetDecodedSize(int16_t item, int32_t size);
    static int32_t BytesForDuration(int32_t rateCode, bool is16Bit, bool stereo, int32_t ms);

private:
    bool SetAttributeField(int16_t item, uint8_t mask, int shift, int32_t value);
    bool ReadSizes(MMSoundSizeTable& table, const std::vector<int16_t>& flagged);
    bool CheckSounds();

    std::vector<uint8_t> attributes;
    std::vector<uint8_t> compression;
    MMSoundSizeTable envelopeSizes;
    MMSoundSizeTable decodedSizes;
};
