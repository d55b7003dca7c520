#pragma once
// Sounds: the list that the sound renderer writes (one line per sound with
// its PCM file), numbered per sound file.
#include <string>
#include <vector>
#include "record_sources.h"
#include "resource_files.h"

struct SoundSource {
    std::string name;
    std::string fileStem;
    int fixedItem = -1;
    int item = -1;
    bool stream = false;
    bool compress = true;
    std::string samples;  // WAV file, 22050 Hz 16-bit stereo
    SourcePlace place;
};

class SoundSet {
public:
    // Lines: sound NAME FILE ITEM|- FLAGS SAMPLES SOURCE LINE.
    void ReadList(const std::string& path);
    void Number(const std::vector<OutputFile>& files);
    const ResourceNames& Names() const { return names; }
    const std::vector<SoundSource>& Sounds() const { return sounds; }
    // Writes every sound file into outFolder.
    bool Write(const std::vector<OutputFile>& files, const std::string& outFolder) const;
    // The fixed items the program plays by number.
    static int LowestItemCount(uint16_t collection);

private:
    std::vector<SoundSource> sounds;
    ResourceNames names;
};
