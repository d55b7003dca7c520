#include "media/sound/sound_codec.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int16_t kLevels[48] = {
    1,     6,     19,    41,    73,    120,   180,   258,   353,   468,   603,   761,
    942,   1149,  1381,  1641,  1929,  2247,  2596,  2977,  3391,  3839,  4323,  4844,
    5401,  5998,  6633,  7310,  8028,  8788,  9593,  10441, 11335, 12276, 13264, 14300,
    15385, 16520, 17707, 18945, 20236, 21581, 22981, 24435, 25946, 27515, 29141, 30826};

constexpr std::array<int16_t, 256> MakeTable()
{
    std::array<int16_t, 256> table{};
    for (int c = 0; c < 128; ++c) {
        int value;
        if (c < 48) value = kLevels[c];
        else if (c < 120) value = (8 + c % 8) << (8 - (c - 48) / 8);
        else value = c - 120;
        table[c] = int16_t(value);
        table[c + 128] = int16_t(-value);
    }
    return table;
}


// All bits for a difference code, none for a level: the previous value is
// added through the mask, without a branch.
constexpr std::array<uint16_t, 256> MakeMasks()
{
    std::array<uint16_t, 256> masks{};
    for (int c = 0; c < 256; ++c)
        masks[c] = ((c & 0x7F) >= 48 && c != MM_SILENCE_CODE) ? 0xFFFF : 0;
    return masks;
}

constexpr std::array<uint16_t, 256> kMasks = MakeMasks();

int32_t ClampChannels(int32_t channels) { return channels == 2 ? 2 : 1; }

}  // namespace

extern const std::array<int16_t, 256> SoundBytesCodeTable = MakeTable();


uint8_t LevelCode(int32_t sample)
{
    if (sample == 0) return MM_SILENCE_CODE;
    int32_t m = std::abs(sample);
    uint8_t sign = sample < 0 ? 0x80 : 0;
    if (m <= 1) return sign;
    if (m >= kLevels[47]) return sign | 47;
    // kLevels[lo] < m <= kLevels[lo + 1]
    int lo = 0, hi = 47;
    while (hi - lo > 1) {
        int mid = (lo + hi) / 2;
        if (kLevels[mid] < m) lo = mid;
        else hi = mid;
    }
    return uint8_t(sign | (kLevels[hi] - m < m - kLevels[lo] ? hi : lo));
}

uint8_t DeltaCode(int32_t difference)
{
    int32_t m = std::abs(difference);
    uint8_t sign = difference < 0 ? 0x80 : 0;
    if (m < 8) return uint8_t(sign | 0x78 | m);
    int shifts = 0;
    while (m > 15 && shifts < 8) {
        m >>= 1;
        ++shifts;
    }
    return uint8_t(sign | (112 - 8 * shifts) | (m & 7));
}

UUSoundBytesDecoder::UUSoundBytesDecoder(int32_t channels) : channels(ClampChannels(channels))
{
    Reset();
}

void UUSoundBytesDecoder::Reset()
{
    previous[0] = previous[1] = 0;
    channel = 0;
}

void UUSoundBytesDecoder::Decode(const uint8_t* codes, int32_t n, int16_t* samples)
{
    if (channels == 1) {
        uint16_t last = uint16_t(previous[0]);
        for (int32_t i = 0; i < n; ++i) {
            uint8_t code = codes[i];
            last = uint16_t(SoundBytesCodeTable[code] + (last & kMasks[code]));
            samples[i] = int16_t(last);
        }
        previous[0] = int16_t(last);
        return;
    }
    uint16_t last[2] = {uint16_t(previous[0]), uint16_t(previous[1])};
    int32_t ch = channel;
    for (int32_t i = 0; i < n; ++i) {
        uint8_t code = codes[i];
        last[ch] = uint16_t(SoundBytesCodeTable[code] + (last[ch] & kMasks[code]));
        samples[i] = int16_t(last[ch]);
        ch ^= 1;
    }
    previous[0] = int16_t(last[0]);
    previous[1] = int16_t(last[1]);
    channel = ch;
}

UUSoundBytesEncoder::UUSoundBytesEncoder(int32_t channels) : channels(ClampChannels(channels))
{
    Reset();
}

void UUSoundBytesEncoder::Reset()
{
    previous[0] = previous[1] = 0;
    channel = 0;
}

void UUSoundBytesEncoder::Encode(const int16_t* samples, int32_t n, uint8_t* codes,
                                 int16_t* reconstruction)
{
    for (int32_t i = 0; i < n; ++i) {
        int32_t s = samples[i];
        int16_t& last = previous[channel];
        uint8_t code = LevelCode(s);
        int32_t d = s - last;
        if (std::abs(d) <= 4095) {
            uint8_t delta = DeltaCode(d);
            if (std::abs(SoundBytesCodeTable[delta] - d) < std::abs(SoundBytesCodeTable[code] - s)) code = delta;
        }
        last = IsDifferenceCode(code) ? int16_t(uint16_t(last) + uint16_t(SoundBytesCodeTable[code]))
                                      : SoundBytesCodeTable[code];
        codes[i] = code;
        if (reconstruction) reconstruction[i] = last;
        channel = (channel + 1) % channels;
    }
}

UUSoundBytesUncompressFromBufferedInput::UUSoundBytesUncompressFromBufferedInput(
    UUBufferedInput* input, int32_t channels)
    : UUInputFromBufferedInput(input), decoder(channels)
{
}

void UUSoundBytesUncompressFromBufferedInput::Seek(int32_t position)
{
    decoder.Reset();
    input->Seek(position / 2);
}

int32_t UUSoundBytesUncompressFromBufferedInput::Read(void* destination, int32_t count,
                                                      bool wait)
{
    int16_t* out = static_cast<int16_t*>(destination);
    int32_t wanted = count / 2;
    int32_t decoded = 0;
    bool filled = false;
    while (wanted > 0 && !input->AtEnd()) {
        const uint8_t* codes = nullptr;
        int32_t available = input->Peek(&codes);
        if (available > 0) {
            int32_t n = std::min(available, wanted);
            decoder.Decode(codes, n, out + decoded);
            input->Consume(n);
            decoded += n;
            wanted -= n;
            filled = false;
            continue;
        }
        if (!wait || filled) break;
        input->FillNow();
        filled = true;
    }
    return 2 * decoded;
}

UUSoundBytesCompressFromInput::UUSoundBytesCompressFromInput(UUBufferedInput* input,
                                                             int32_t channels)
    : UUInputFromBufferedInput(input), encoder(channels)
{
}

void UUSoundBytesCompressFromInput::Seek(int32_t position)
{
    encoder.Reset();
    input->Seek(position * 2);
}

int32_t UUSoundBytesCompressFromInput::Read(void* destination, int32_t count, bool wait)
{
    uint8_t* codes = static_cast<uint8_t*>(destination);
    int32_t produced = 0;
    bool filled = false;
    while (produced < count && !input->AtEnd()) {
        const uint8_t* bytes = nullptr;
        int32_t available = input->Peek(&bytes) / 2;
        if (available > 0) {
            int32_t n = std::min(available, count - produced);
            // The input's bytes need not be aligned for 16-bit reads.
            int16_t block[256];
            for (int32_t done = 0; done < n;) {
                int32_t k = std::min(n - done, int32_t(256));
                std::memcpy(block, bytes + 2 * done, size_t(k) * 2);
                encoder.Encode(block, k, codes + produced + done);
                done += k;
            }
            input->Consume(2 * n);
            produced += n;
            filled = false;
            continue;
        }
        if (!wait || filled) break;
        input->FillNow();
        filled = true;
    }
    return produced;
}
