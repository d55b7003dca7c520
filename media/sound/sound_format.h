#pragma once
// The sound-format word: bits 0-2 the rate index r (r x 11025 Hz), 0x08
// 16-bit samples (else 8-bit unsigned), 0x10 stereo. One word fixes the
// device's output format; every sound and film track carries its own.
#include <cstdint>

enum : uint32_t {
    MM_SOUND_RATE_MASK = 0x07,
    MM_SOUND_16_BIT = 0x08,
    MM_SOUND_STEREO = 0x10
};

// 10 (22050 Hz, 16-bit, mono) until the application sets its own.
extern uint32_t SoundFormat;

// How long a streamed sound's ring holds, in milliseconds.
const int32_t MM_STREAMING_DURATION = 1500;

inline int32_t SoundRateIndex(uint32_t format) { return int32_t(format & MM_SOUND_RATE_MASK); }
inline int32_t SoundSampleRate(uint32_t format) { return SoundRateIndex(format) * 11025; }
inline bool SoundIs16Bit(uint32_t format) { return (format & MM_SOUND_16_BIT) != 0; }
inline bool SoundIsStereo(uint32_t format) { return (format & MM_SOUND_STEREO) != 0; }
inline int32_t SoundBytesPerFrame(uint32_t format)
{
    return (SoundIs16Bit(format) ? 2 : 1) * (SoundIsStereo(format) ? 2 : 1);
}
inline int32_t SoundBytesPerSecond(uint32_t format)
{
    return SoundBytesPerFrame(format) * SoundSampleRate(format);
}

// The part of a streamed sound the sound loader keeps in memory.
int32_t StreamingBufferSize(uint32_t format);

// The format word of a file's rate code (0 and 3: 11025 Hz, 1: 22050 Hz,
// 2: 44100 Hz) and sample fields.
uint32_t SoundFormatOf(int32_t rateCode, bool is16Bit, bool stereo);
