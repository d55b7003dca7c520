#pragma once
// Appends one sound to a sound resource file being written, so that a build
// tool can make the program's sound files from 16-bit PCM it holds in
// memory. Items are appended at the end of the file in the order written.
#include <cstdint>
#include "media/sound/sound_resource_file.h"

struct MMSoundItemSource {
    const int16_t* samples = nullptr;  // interleaved 16-bit PCM, left first
    int32_t frameCount = 0;
    int32_t rateCode = 1;              // 0 11025 Hz, 1 22050 Hz, 2 44100 Hz
    bool stereo = false;
    bool streamed = false;             // only a head stays in memory while it plays
    bool envelope = false;             // store its level envelope in front
    bool compress = false;             // one sound-byte code per sample
    const char* name = nullptr;        // up to 31 characters
    int32_t value = 0;
};

// Writes one sound as item `item`; false when the sound cannot be stored
// (no samples, a bad rate code) or the file reports an error.
bool MMWriteSound(MMSoundResourceFile& file, int16_t item, const MMSoundItemSource& sound);
