#include "sound_fixture.h"

#include <cmath>
#include <cstring>
#include <numbers>
#include "framework/checksum.h"

std::vector<int16_t> Tone(double hz, int32_t frames, bool stereo, int32_t amplitude)
{
    std::vector<int16_t> samples;
    samples.reserve(size_t(frames) * (stereo ? 2 : 1));
    for (int32_t i = 0; i < frames; ++i) {
        double v = amplitude * std::sin(2 * std::numbers::pi * hz * i / 22050.0);
        samples.push_back(int16_t(std::lround(v)));
        if (stereo) samples.push_back(int16_t(std::lround(v / 2)));
    }
    return samples;
}

bool WriteSoundFile(const FSDirectory& folder, const char* name, std::vector<TestSound>& sounds,
                    uint16_t collection)
{
    MMSoundResourceFile file;
    int16_t count = int16_t(sounds.size());
    if (!file.Create(folder, name, FSFileKind(), count, collection)) return false;
    for (int16_t i = 0; i < count; ++i) {
        TestSound& sound = sounds[i];
        sound.source.samples = sound.samples.data();
        sound.source.frameCount = int32_t(sound.samples.size()) / (sound.source.stereo ? 2 : 1);
        if (!MMWriteSound(file, i, sound.source)) return false;
    }
    return file.MarkEndOfItems() && file.Close(true);
}

namespace {

struct Builder {
    bool bigEndian;
    std::vector<uint8_t> bytes;

    void Byte(uint8_t v) { bytes.push_back(v); }
    void Short(uint16_t v)
    {
        if (bigEndian) { Byte(uint8_t(v >> 8)); Byte(uint8_t(v)); }
        else { Byte(uint8_t(v)); Byte(uint8_t(v >> 8)); }
    }
    void Long(uint32_t v)
    {
        if (bigEndian) { Short(uint16_t(v >> 16)); Short(uint16_t(v)); }
        else { Short(uint16_t(v)); Short(uint16_t(v >> 16)); }
    }
    void PutLongAt(size_t at, uint32_t v)
    {
        Builder b{bigEndian, {}};
        b.Long(v);
        std::memcpy(&bytes[at], b.bytes.data(), 4);
    }
};

}  // namespace

std::vector<uint8_t> SerializeSoundFile(const std::vector<RawSound>& sounds, bool bigEndian,
                                        uint16_t collection, int16_t kindVersion)
{
    int16_t n = int16_t(sounds.size());
    Builder b{bigEndian, {}};
    char signature[16] = "ZOVU Sounds";
    b.bytes.insert(b.bytes.end(), signature, signature + 16);
    b.Byte(bigEndian ? 'M' : 'I');
    b.Byte(bigEndian ? 'M' : 'I');
    b.Short(2);
    b.Long(0);
    b.Short(collection);
    b.Long(0);
    b.Long(0);
    b.Short(uint16_t(n));
    for (int i = 0; i <= n; ++i) b.Long(0);
    b.Short(0);
    for (int i = 0; i < n; ++i) {
        char name[32] = {};
        std::snprintf(name, sizeof name, "snd%d", i);
        b.bytes.insert(b.bytes.end(), name, name + 32);
    }
    for (int i = 0; i < n; ++i) b.Long(uint32_t(i));
    b.Short(uint16_t(kindVersion));
    for (const RawSound& s : sounds) b.Byte(s.attributes);
    for (const RawSound& s : sounds) b.Byte(s.compression);
    for (const RawSound& s : sounds)
        b.Long(uint32_t(s.envelopeSize.value_or(int32_t(s.envelope.size()))));
    for (const RawSound& s : sounds) b.Long(uint32_t(s.decodedSize));
    for (int i = 0; i < n; ++i) {
        b.PutLongAt(36 + 4 * i, uint32_t(b.bytes.size()));
        const RawSound& s = sounds[i];
        b.bytes.insert(b.bytes.end(), s.envelope.begin(), s.envelope.end());
        for (int16_t v : s.pcm) b.Short(uint16_t(v));
        b.bytes.insert(b.bytes.end(), s.bytes.begin(), s.bytes.end());
    }
    b.PutLongAt(36 + 4 * n, uint32_t(b.bytes.size()));
    UUChecksum sum;
    b.PutLongAt(20, sum.Update(b.bytes.data() + 24, uint32_t(b.bytes.size() - 24), true));
    return b.bytes;
}

void WriteBytes(const FSDirectory& folder, const char* name, const std::vector<uint8_t>& bytes)
{
    std::string path = std::string(folder.Path()) + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
}
