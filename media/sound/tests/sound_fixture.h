#pragma once
// Sound files for the tests: written through the engine's writer, or
// serialized independently in either byte order.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include "framework/tests/scratch_folder.h"
#include "media/sound/sound_file_writer.h"

const uint16_t kTestSoundCollection = 0x4000;

// A tone of `hz` at 22050 Hz; stereo frames carry it on both channels,
// the right one at half the level.
std::vector<int16_t> Tone(double hz, int32_t frames, bool stereo, int32_t amplitude = 10000);

struct TestSound {
    std::vector<int16_t> samples;  // interleaved
    MMSoundItemSource source;      // samples and frame count are filled in by the writer
};

bool WriteSoundFile(const FSDirectory& folder, const char* name, std::vector<TestSound>& sounds,
                    uint16_t collection = kTestSoundCollection);

// One item as stored: attribute and compression bytes, sizes, and data.
struct RawSound {
    uint8_t attributes = 0;
    uint8_t compression = 0;
    std::optional<int32_t> envelopeSize;  // default: the envelope's length
    int32_t decodedSize = 0;
    std::vector<uint8_t> envelope;
    std::vector<int16_t> pcm;       // 16-bit samples, stored in the file's order
    std::vector<uint8_t> bytes;     // or raw bytes (codes, 8-bit samples)
};

std::vector<uint8_t> SerializeSoundFile(const std::vector<RawSound>& sounds, bool bigEndian,
                                        uint16_t collection = kTestSoundCollection,
                                        int16_t kindVersion = 7);
void WriteBytes(const FSDirectory& folder, const char* name, const std::vector<uint8_t>& bytes);
