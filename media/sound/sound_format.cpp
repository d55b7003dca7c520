#include "media/sound/sound_format.h"

uint32_t SoundFormat = 10;

int32_t StreamingBufferSize(uint32_t format)
{
    int32_t size = SoundBytesPerFrame(format) * SoundRateIndex(format) *
                   (MM_STREAMING_DURATION / 40) * 11025 / 25;
    return (size + 4095) & ~4095;
}

uint32_t SoundFormatOf(int32_t rateCode, bool is16Bit, bool stereo)
{
    uint32_t rate = rateCode == 1 ? 2 : rateCode == 2 ? 4 : 1;
    return rate | (is16Bit ? uint32_t(MM_SOUND_16_BIT) : 0u) | (stereo ? uint32_t(MM_SOUND_STEREO) : 0u);
}
