#include "resource_files.h"

namespace {
// Held by the program's own picture collections made at run time.
const uint16_t kReservedCollections[] = {9, 50000};
}

bool ReadOutputFiles(const std::string& path, std::vector<OutputFile>& files)
{
    std::vector<SourceLine> lines;
    if (!ReadSourceLines(path, "data/files.txt", lines)) {
        Refuse({"data/files.txt", 0}, "cannot be read");
        return false;
    }
    return ReadOutputFileLines(lines, files);
}

bool ReadOutputFileLines(const std::vector<SourceLine>& lines, std::vector<OutputFile>& files)
{
    bool ok = true;
    for (const SourceLine& line : lines) {
        const auto& t = line.tokens;
        int64_t id;
        if (t.size() != 3 || !ParseInteger(t[2].text, id) || id < 0 || id > 0xFFFF ||
            (t[0].text != "scripts" && t[0].text != "pictures" && t[0].text != "sounds")) {
            Refuse(line.place, "expected 'scripts|pictures|sounds FILE COLLECTION'");
            ok = false;
            continue;
        }
        OutputFile file;
        file.kind = t[0].text == "scripts" ? FileKind::Scripts
                    : t[0].text == "pictures" ? FileKind::Pictures : FileKind::Sounds;
        file.name = t[1].text;
        file.stem = file.name.substr(0, file.name.find('.'));
        file.collection = uint16_t(id);
        file.place = line.place;
        for (uint16_t reserved : kReservedCollections)
            if (file.collection == reserved && file.kind == FileKind::Pictures) {
                Refuse(line.place, "collection " + std::to_string(reserved) +
                                       " belongs to pictures the program makes while it runs");
                ok = false;
            }
        if (file.kind == FileKind::Scripts && file.collection != 0) {
            Refuse(line.place, "the script file is collection 0: tables are loaded by bare number");
            ok = false;
        }
        for (const OutputFile& other : files)
            if (other.kind == file.kind && (other.collection == file.collection || other.stem == file.stem)) {
                Refuse(line.place, "two files of one kind share a collection or a name");
                ok = false;
            }
        files.push_back(file);
    }
    return ok;
}

const OutputFile* FindOutputFile(const std::vector<OutputFile>& files, FileKind kind,
                                 const std::string& stem)
{
    for (const OutputFile& file : files)
        if (file.kind == kind && file.stem == stem) return &file;
    return nullptr;
}
