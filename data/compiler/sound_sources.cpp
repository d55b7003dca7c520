#include "sound_sources.h"

#include <algorithm>
#include <map>
#include <set>
#include <cstdio>
#include <cstring>
#include "media/sound/sound_file_writer.h"
#include "picture_sources.h"

namespace {

// The samples of a 16-bit PCM WAV file of 22050 Hz, stereo.
bool ReadWave(const std::string& path, std::vector<int16_t>& samples)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    auto u32 = [&](size_t at) { uint32_t v; std::memcpy(&v, &bytes[at], 4); return v; };
    auto u16 = [&](size_t at) { uint16_t v; std::memcpy(&v, &bytes[at], 2); return v; };
    if (bytes.size() < 12 || std::memcmp(&bytes[0], "RIFF", 4) || std::memcmp(&bytes[8], "WAVE", 4)) return false;
    bool format = false;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        uint32_t size = u32(at + 4);
        if (at + 8 + size > bytes.size()) return false;
        if (!std::memcmp(&bytes[at], "fmt ", 4) && size >= 16)
            format = u16(at + 8) == 1 && u16(at + 10) == 2 && u32(at + 12) == 22050 && u16(at + 22) == 16;
        if (!std::memcmp(&bytes[at], "data", 4)) {
            if (!format) return false;
            samples.resize(size / 2);
            std::memcpy(samples.data(), &bytes[at + 8], samples.size() * 2);
            return true;
        }
        at += 8 + size + (size & 1);
    }
    return false;
}

}  // namespace

void SoundSet::ReadList(const std::string& path)
{
    std::vector<SourceLine> lines;
    if (!ReadSourceLines(path, "sounds.lst", lines)) return;  // no sounds yet
    for (const SourceLine& line : lines) {
        const auto& t = line.tokens;
        if (t.size() != 8 || t[0].text != "sound") {
            Refuse(line.place, "a malformed sound line");
            continue;
        }
        SoundSource s;
        s.place = {t[6].text, std::atoi(t[7].text.c_str())};
        s.name = t[1].text;
        s.fileStem = t[2].text;
        int64_t v;
        if (t[3].text != "-") {
            if (!ParseInteger(t[3].text, v) || v < 0 || v > 32766) {
                Refuse(s.place, "a sound item is 0 to 32766");
                continue;
            }
            s.fixedItem = int(v);
        }
        s.stream = t[4].text.find("stream") != std::string::npos;
        s.compress = t[4].text.find("raw") == std::string::npos;
        s.samples = t[5].text;
        sounds.push_back(s);
    }
}

void SoundSet::Number(const std::vector<OutputFile>& files)
{
    std::sort(sounds.begin(), sounds.end(),
              [](const SoundSource& a, const SoundSource& b) { return a.name < b.name; });
    std::map<std::string, std::set<int>> taken;
    for (SoundSource& s : sounds) {
        if (!FindOutputFile(files, FileKind::Sounds, s.fileStem)) {
            Refuse(s.place, "no sound file is named '" + s.fileStem + "'");
            continue;
        }
        if (names.count(s.name)) {
            Refuse(s.place, "the sound name '" + s.name + "' is used twice");
            continue;
        }
        names[s.name] = ResourceItem();
        if (s.fixedItem >= 0 && !taken[s.fileStem].insert(s.fixedItem).second)
            Refuse(s.place, "item " + std::to_string(s.fixedItem) + " of " + s.fileStem + " is taken twice");
        s.item = s.fixedItem;
    }
    std::map<std::string, int> next;
    for (SoundSource& s : sounds) {
        const OutputFile* file = FindOutputFile(files, FileKind::Sounds, s.fileStem);
        if (!file || !names.count(s.name)) continue;
        if (s.item < 0) {
            int& n = next.emplace(s.fileStem, kFirstFreeItem).first->second;
            while (taken[s.fileStem].count(n)) ++n;
            s.item = n++;
        }
        names[s.name] = ResourceItem{file->collection, int16_t(s.item)};
    }
}

int SoundSet::LowestItemCount(uint16_t collection)
{
    // Collection 0 holds the sounds 148 and 456, 0x4000 the sounds 31, 33 and 34.
    return collection == 0 ? 457 : collection == 0x4000 ? 35 : kFirstFreeItem;
}

bool SoundSet::Write(const std::vector<OutputFile>& files, const std::string& outFolder) const
{
    bool ok = true;
    FSDirectory folder(outFolder.c_str());
    for (const OutputFile& file : files) {
        if (file.kind != FileKind::Sounds) continue;
        int count = LowestItemCount(file.collection);
        std::vector<const SoundSource*> mine;
        for (const SoundSource& s : sounds)
            if (s.fileStem == file.stem && s.item >= 0) {
                mine.push_back(&s);
                count = std::max(count, s.item + 1);
            }
        std::sort(mine.begin(), mine.end(),
                  [](const SoundSource* a, const SoundSource* b) { return a->item < b->item; });
        MMSoundResourceFile out;
        if (!out.Create(folder, file.name.c_str(), FSFileKind(), int16_t(count), file.collection) ||
            !out.SetFirstStamp(kFirstStamp) || !out.SetSecondStamp(kSecondStamp)) {
            Refuse(file.place, "cannot create " + outFolder + file.name);
            ok = false;
            continue;
        }
        for (const SoundSource* s : mine) {
            std::vector<int16_t> samples;
            if (!ReadWave(s->samples, samples) || samples.size() < 2) {
                Refuse(s->place, "cannot read the rendered sound " + s->samples +
                                     " (22050 Hz 16-bit stereo PCM)");
                ok = false;
                continue;
            }
            std::string shortName = s->name.substr(0, 31);
            MMSoundItemSource item;
            item.samples = samples.data();
            item.frameCount = int32_t(samples.size() / 2);
            item.rateCode = 1;
            item.stereo = true;
            item.streamed = s->stream;
            item.compress = s->compress;
            item.name = shortName.c_str();
            if (!MMWriteSound(out, int16_t(s->item), item)) {
                Refuse(s->place, "cannot be written");
                ok = false;
            }
        }
        if (!out.MarkEndOfItems() || !out.Close(true)) {
            Refuse(file.place, "cannot finish " + file.name);
            ok = false;
        }
    }
    return ok;
}
