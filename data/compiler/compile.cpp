#include "compile.h"

#include <cstdio>
#include "engine/resource_file_writer.h"
#include "engine/script_file.h"
#include "picture_sources.h"
#include "record_sources.h"
#include "resource_files.h"
#include "sound_sources.h"

namespace {

bool WriteScriptFile(const OutputFile& file, const RecordSet& records, const PictureSet& pictures,
                     const ResourceNames& sounds, const std::string& outFolder)
{
    // Identity maps: item i holds table i, so the item count passes every number.
    int count = records.HighestNumber() + 1;
    MMScriptFile out;
    FSDirectory folder(outFolder.c_str());
    if (!out.Create(folder, file.name.c_str(), FSFileKind(), int16_t(count), file.collection) ||
        !out.SetCodePages(int16_t(MM_NO_CODE_PAGE), 1252) || !out.SetFirstStamp(kFirstStamp) ||
        !out.SetSecondStamp(kSecondStamp)) {
        Refuse(file.place, "cannot create " + outFolder + file.name);
        return false;
    }
    bool ok = true;
    std::vector<const RecordSource*> ordered(count, nullptr);
    for (const auto& r : records.Records()) ordered[r->number] = r.get();
    for (const RecordSource* r : ordered) {
        if (!r) continue;
        std::vector<uint8_t> rows;
        int32_t rowCount = 0;
        std::string strings;
        if (!records.Pack(*r, pictures.Names(), sounds, rows, rowCount, strings)) {
            ok = false;
            continue;
        }
        if (!MMWriteRecordTable(out, int16_t(r->number), int16_t(r->number), rows.data(), rowCount,
                                r->rowSize, strings.data(), int32_t(strings.size()))) {
            Refuse(r->place, "cannot be written");
            ok = false;
        }
    }
    if (!out.MarkEndOfItems() || !out.Close(true)) {
        Refuse(file.place, "cannot finish " + file.name);
        return false;
    }
    return ok;
}

}  // namespace

bool CompileDataSet(const std::string& dataFolder, const std::string& renderFolder,
                    const std::string& outFolder)
{
    std::vector<OutputFile> files;
    if (!ReadOutputFiles(dataFolder + "files.txt", files)) return false;
    RecordSet records;
    records.ReadFolder(dataFolder);
    records.Number();
    records.CheckScripts();
    PictureSet pictures;
    pictures.ReadList(renderFolder + "pictures.lst");
    pictures.Number(files);
    SoundSet soundSet;
    soundSet.ReadList(renderFolder + "sounds.lst");
    soundSet.Number(files);
    const ResourceNames& sounds = soundSet.Names();
    if (RefusalCount() > 0) return false;

    bool ok = true;
    for (const OutputFile& file : files)
        if (file.kind == FileKind::Scripts)
            ok = WriteScriptFile(file, records, pictures, sounds, outFolder) && ok;
    ok = pictures.Write(files, renderFolder, outFolder) && ok;
    ok = soundSet.Write(files, outFolder) && ok;
    return ok && RefusalCount() == 0;
}
