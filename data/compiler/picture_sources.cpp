#include "picture_sources.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include "engine/picture_resource_file.h"
#include "engine/resource_file_writer.h"
#include "framework/files.h"
#include "media/bitmap.h"
#include "media/encoded_image.h"

namespace {

const char* const kAlphaNames[] = {"opaque", "keyed", "premultiplied", "straight"};

// The widest encoded picture the scaled and mirrored blits can take.
int WidestEncoded(int depth) { return depth == 8 ? 2048 : 512; }

struct Pam {
    int width = 0, height = 0, depth = 0;
    std::vector<uint8_t> samples;
};

bool ReadPam(const std::string& path, Pam& pam)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char line[128];
    int maxval = 0;
    bool ok = std::fgets(line, sizeof line, f) && std::string(line) == "P7\n";
    while (ok && std::fgets(line, sizeof line, f)) {
        std::string text(line);
        if (text == "ENDHDR\n") break;
        std::sscanf(line, "WIDTH %d", &pam.width);
        std::sscanf(line, "HEIGHT %d", &pam.height);
        std::sscanf(line, "DEPTH %d", &pam.depth);
        std::sscanf(line, "MAXVAL %d", &maxval);
    }
    ok = ok && maxval == 255 && pam.width > 0 && pam.height > 0 && pam.width <= 0x7FFF &&
         pam.height <= 0x7FFF && pam.depth >= 1 && pam.depth <= 4;
    if (ok) {
        pam.samples.resize(size_t(pam.width) * pam.height * pam.depth);
        ok = std::fread(pam.samples.data(), 1, pam.samples.size(), f) == pam.samples.size();
    }
    std::fclose(f);
    return ok;
}

// Pixels and description of one picture, from the rendered samples.
struct Pixels {
    std::vector<uint8_t> bytes;
    MMBitmap bitmap;
};

void Convert(const PictureSource& p, const Pam& pam, Pixels& out)
{
    int bpp = p.depth / 8;
    int pitch = (pam.width * bpp + 3) & ~3;
    out.bytes.assign(size_t(pitch) * pam.height, 0);
    for (int y = 0; y < pam.height; ++y)
        for (int x = 0; x < pam.width; ++x) {
            const uint8_t* s = &pam.samples[(size_t(y) * pam.width + x) * pam.depth];
            uint8_t r = s[0], g = pam.depth >= 3 ? s[1] : s[0], b = pam.depth >= 3 ? s[2] : s[0];
            uint8_t a = pam.depth == 4 ? s[3] : pam.depth == 2 ? s[1] : 255;
            uint8_t* d = &out.bytes[size_t(y) * pitch + x * bpp];
            if (p.depth == 8) {
                // Grey pictures: the index is the grey level, the table a grey ramp.
                d[0] = p.transparency == 1 && a < 128 ? 0 : uint8_t((r * 77 + g * 150 + b * 29) >> 8);
                continue;
            }
            switch (p.transparency) {
            case 0: a = 255; break;
            case 1: a = a < 128 ? 0 : 255; break;
            case 2:
                r = uint8_t((r * a + 127) / 255);
                g = uint8_t((g * a + 127) / 255);
                b = uint8_t((b * a + 127) / 255);
                break;
            default: break;
            }
            if (p.transparency == 1 && a == 0) r = g = b = 0;
            d[0] = b;
            d[1] = g;
            d[2] = r;
            d[3] = uint8_t(255 - a);
        }
    MMBitmap& bm = out.bitmap;
    bm.bitsPerPixel = p.depth;
    bm.bytesPerPixel = bpp;
    bm.pixelKind = p.depth == 8 ? kPixelIndexed : kPixelBGRA;
    bm.transparencyKind = p.transparency;
    bm.box = Box{0, 0, pam.width, pam.height};
    bm.pitch = pitch;
    bm.pixels = out.bytes.data();
}

MMColorTable GreyRamp()
{
    MMColorTable table;
    for (int i = 0; i < 256; ++i) table.entries[i] = RGBQUAD{uint8_t(i), uint8_t(i), uint8_t(i), 0};
    return table;
}

std::string TokenAt(const std::vector<Token>& t, size_t i) { return i < t.size() ? t[i].text : ""; }

}  // namespace

void PictureSet::ReadList(const std::string& path)
{
    std::vector<SourceLine> lines;
    if (!ReadSourceLines(path, "pictures.lst", lines)) return;  // no pictures yet
    for (const SourceLine& line : lines) {
        const auto& t = line.tokens;
        PictureSource p;
        p.place = {TokenAt(t, 8), std::atoi(TokenAt(t, 9).c_str())};
        if (t.size() != 10 || t[0].text != "picture") {
            Refuse(line.place, "a malformed picture line");
            continue;
        }
        p.name = t[1].text;
        p.fileStem = t[2].text;
        int64_t v;
        if (t[3].text != "-") {
            if (!ParseInteger(t[3].text, v) || v < 0 || v > 32766) {
                Refuse(p.place, "a picture item is 0 to 32766");
                continue;
            }
            p.fixedItem = int(v);
        }
        p.depth = std::atoi(t[4].text.c_str());
        if (p.depth != 8 && p.depth != 32) {
            Refuse(p.place, "a picture is 8 or 32 bits deep");
            continue;
        }
        p.transparency = -1;
        for (int k = 0; k < 4; ++k)
            if (t[5].text == kAlphaNames[k]) p.transparency = k;
        if (p.transparency < 0) {
            Refuse(p.place, "transparency is opaque, keyed, premultiplied or straight");
            continue;
        }
        p.encode = t[6].text.find("encoded") != std::string::npos;
        p.compress = t[6].text.find("raw") == std::string::npos;
        p.pixels = t[7].text;
        pictures.push_back(p);
    }
}

void PictureSet::Number(const std::vector<OutputFile>& files)
{
    std::map<std::string, std::set<int>> taken;
    std::sort(pictures.begin(), pictures.end(),
              [](const PictureSource& a, const PictureSource& b) { return a.name < b.name; });
    for (PictureSource& p : pictures) {
        if (!FindOutputFile(files, FileKind::Pictures, p.fileStem)) {
            Refuse(p.place, "no picture file is named '" + p.fileStem + "'");
            continue;
        }
        if (names.count(p.name)) {
            Refuse(p.place, "the picture name '" + p.name + "' is used twice");
            continue;
        }
        names[p.name] = ResourceItem();
        if (p.fixedItem >= 0 && !taken[p.fileStem].insert(p.fixedItem).second)
            Refuse(p.place, "item " + std::to_string(p.fixedItem) + " of " + p.fileStem + " is taken twice");
        p.item = p.fixedItem;
    }
    std::map<std::string, int> next;
    for (PictureSource& p : pictures) {
        if (!names.count(p.name) || !FindOutputFile(files, FileKind::Pictures, p.fileStem)) continue;
        if (p.item < 0) {
            int& n = next.emplace(p.fileStem, kFirstFreeItem).first->second;
            while (taken[p.fileStem].count(n)) ++n;
            p.item = n++;
        }
        const OutputFile* file = FindOutputFile(files, FileKind::Pictures, p.fileStem);
        names[p.name] = ResourceItem{file->collection, int16_t(p.item)};
    }
}

bool PictureSet::Write(const std::vector<OutputFile>& files, const std::string& renderFolder,
                       const std::string& outFolder) const
{
    bool ok = true;
    FSDirectory folder(outFolder.c_str());
    MMColorTable grey = GreyRamp();
    for (const OutputFile& file : files) {
        if (file.kind != FileKind::Pictures) continue;
        std::vector<const PictureSource*> mine;
        int count = kFirstFreeItem;
        for (const PictureSource& p : pictures)
            if (p.fileStem == file.stem && p.item >= 0) {
                mine.push_back(&p);
                count = std::max(count, p.item + 1);
            }
        std::sort(mine.begin(), mine.end(),
                  [](const PictureSource* a, const PictureSource* b) { return a->item < b->item; });
        MMPictureResourceFile out;
        if (!out.Create(folder, file.name.c_str(), FSFileKind(), int16_t(count), file.collection) ||
            !out.SetSharedColorTables(&grey, 1) || !out.SetFirstStamp(kFirstStamp) ||
            !out.SetSecondStamp(kSecondStamp)) {
            Refuse(file.place, "cannot create " + outFolder + file.name);
            ok = false;
            continue;
        }
        for (const PictureSource* p : mine) {
            Pam pam;
            std::string path = p->pixels.find(':') != std::string::npos ? p->pixels
                                                                        : renderFolder + p->pixels;
            if (!ReadPam(path, pam)) {
                Refuse(p->place, "cannot read the rendered pixels " + p->pixels);
                ok = false;
                continue;
            }
            if (p->encode && pam.width > WidestEncoded(p->depth)) {
                Refuse(p->place, "an encoded picture is at most " + std::to_string(WidestEncoded(p->depth)) +
                                     " pixels wide");
                ok = false;
                continue;
            }
            Pixels pixels;
            Convert(*p, pam, pixels);
            if (p->encode && MeasureEncodedSize(pixels.bitmap) <= 0) {
                Refuse(p->place, "too large to encode (64 KB of runs, 1 KB per row)");
                ok = false;
                continue;
            }
            MMPictureSource source;
            source.bitmap = &pixels.bitmap;
            source.sharedColorTable = p->depth == 8 ? 0 : -1;
            source.encode = p->encode;
            source.compress = p->compress;
            std::string shortName = p->name.substr(0, 31);
            source.name = shortName.c_str();
            if (!MMWritePicture(out, int16_t(p->item), source)) {
                Refuse(p->place, "cannot be written");
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
