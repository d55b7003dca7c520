#pragma once
// Pictures: the list that the art renderer writes (one line per picture with
// its rendered pixels), numbered per file and written as picture files.
#include <string>
#include <vector>
#include "record_sources.h"
#include "resource_files.h"

struct PictureSource {
    std::string name;
    std::string fileStem;
    int fixedItem = -1;
    int item = -1;
    int depth = 32;           // 8 or 32
    int transparency = 0;     // 0 opaque, 1 keyed, 2 premultiplied, 3 straight
    bool encode = false;
    bool compress = true;
    std::string pixels;       // PAM file, relative to the render folder
    SourcePlace place;
};

class PictureSet {
public:
    // Lines: picture NAME FILE ITEM|- DEPTH ALPHA STORE PIXELS SOURCE LINE.
    void ReadList(const std::string& path);
    void Number(const std::vector<OutputFile>& files);
    const ResourceNames& Names() const { return names; }
    // Writes every picture file into folder.
    bool Write(const std::vector<OutputFile>& files, const std::string& renderFolder,
               const std::string& outFolder) const;

private:
    std::vector<PictureSource> pictures;
    ResourceNames names;
};

// The first item given to a picture or sound without a fixed item: items 0
// and 1 stay empty, so no id in a list of marker words reads as a marker.
const int kFirstFreeItem = 2;
