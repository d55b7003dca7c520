#pragma once
// The sound-byte codec: one code byte per 16-bit sample, either an absolute
// level on a companding curve or a difference from the channel's previous
// sample on a logarithmic scale. Bit 7 is the sign.
#include <array>
#include <cstdint>
#include "framework/buffered_input.h"

// 256 signed values indexed by the code byte.
extern const std::array<int16_t, 256> SoundBytesCodeTable;

// Code 248 (the negative of 0) is the absolute level 0.
const uint8_t MM_SILENCE_CODE = 248;

inline bool IsDifferenceCode(uint8_t code)
{
    return (code & 0x7F) >= 48 && code != MM_SILENCE_CODE;
}

// The code of the level nearest to a sample (a tie takes the lower level).
uint8_t LevelCode(int32_t sample);
// The code of a difference of at most 4095 in size.
uint8_t DeltaCode(int32_t difference);

// Per-channel predictions; the channel index runs on across calls, so a
// part that ends inside a stereo frame goes on with the right channel.
class UUSoundBytesDecoder {
public:
    explicit UUSoundBytesDecoder(int32_t channels = 1);
    void Reset();
    void Decode(const uint8_t* codes, int32_t n, int16_t* samples);
    int32_t Channels() const { return channels; }

private:
    int16_t previous[2];
    int32_t channels;
    int32_t channel;
};

class UUSoundBytesEncoder {
public:
    explicit UUSoundBytesEncoder(int32_t channels = 1);
    void Reset();
    // One code per sample. reconstruction (when given) receives what a
    // decoder makes of the codes.
    void Encode(const int16_t* samples, int32_t n, uint8_t* codes, int16_t* reconstruction = nullptr);

private:
    int16_t previous[2];
    int32_t channels;
    int32_t channel;
};

// Decodes the code bytes of a buffered input into 16-bit samples.
class UUSoundBytesUncompressFromBufferedInput : public UUInputFromBufferedInput {
public:
    UUSoundBytesUncompressFromBufferedInput(UUBufferedInput* input, int32_t channels);
    // Byte position p of the samples is code p / 2.
    void Seek(int32_t position) override;
    int32_t Read(void* destination, int32_t count, bool wait) override;

private:
    UUSoundBytesDecoder decoder;
};

// Encodes the 16-bit samples (machine order) of a buffered input into code bytes.
class UUSoundBytesCompressFromInput : public UUInputFromBufferedInput {
public:
    UUSoundBytesCompressFromInput(UUBufferedInput* input, int32_t channels);
    void Seek(int32_t position) override;
    int32_t Read(void* destination, int32_t count, bool wait) override;

private:
    UUSoundBytesEncoder encoder;
};
