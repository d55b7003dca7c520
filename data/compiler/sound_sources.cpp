#include "sound_sources.h"

#include <algorithm>
#include <map>
#include <set>
#include "picture_sources.h"

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
