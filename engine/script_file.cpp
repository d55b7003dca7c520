#include "engine/script_file.h"

#include <windows.h>
#include "framework/pending_error.h"
#include "framework/string_table.h"

MMScriptFile::MMScriptFile()
    : MMGenericResourceFile(MM_SCRIPT_FILE_ERRORS), sourceCodePage(-1), targetCodePage(-1)
{
}

const char* MMScriptFile::FileTag() const { return "MMS"; }

const char* MMScriptFile::FileTitle() const { return "ZOVU 3 Script"; }

bool MMScriptFile::ReadHeader()
{
    if (!MMGenericResourceFile::ReadHeader()) return false;
    FSRecoverableCDFile& in = Stream();
    int16_t n = ItemCount();
    int16_t version = 0;
    if (!Need(2) || !in.ReadShorts(&version)) return ReadFailed();
    if (version != MM_SCRIPT_KIND_VERSION) return Fail(MM_FILE_BAD_VERSION_NUMBER);
    if (!Need(4 + 4 * n)) return ReadFailed();
    in.ReadShorts(&sourceCodePage);
    in.ReadShorts(&targetCodePage);
    in.ReadShorts(tableOfItem.data(), n);
    in.ReadShorts(itemOfTable.data(), n);
    if (in.GetError() != 0) return ReadFailed();
    return CheckItemsAfterHeader();
}

bool MMScriptFile::WriteHeader()
{
    if (!MMGenericResourceFile::WriteHeader()) return false;
    FSRecoverableCDFile& out = Stream();
    int16_t version = MM_SCRIPT_KIND_VERSION;
    out.WriteShorts(&version);
    out.WriteShorts(&sourceCodePage);
    out.WriteShorts(&targetCodePage);
    out.WriteShorts(tableOfItem.data(), ItemCount());
    out.WriteShorts(itemOfTable.data(), ItemCount());
    if (out.GetError() != 0) return WriteFailed();
    return true;
}

bool MMScriptFile::InitTables(int16_t count)
{
    if (!MMGenericResourceFile::InitTables(count)) return false;
    tableOfItem.assign(count, -1);
    itemOfTable.assign(count, -1);
    return true;
}

void MMScriptFile::FreeTables(bool deleteFile, bool markUnusable)
{
    tableOfItem.clear();
    itemOfTable.clear();
    MMGenericResourceFile::FreeTables(deleteFile, markUnusable);
}

int16_t MMScriptFile::TableOfItem(int16_t item) const
{
    if (item < 0 || size_t(item) >= tableOfItem.size()) return -1;
    return tableOfItem[item];
}

int16_t MMScriptFile::ItemOfTable(int16_t table) const
{
    if (table < 0 || size_t(table) >= itemOfTable.size()) return -1;
    int16_t item = itemOfTable[table];
    return IsValidItem(item) ? item : -1;
}

bool MMScriptFile::SetCodePages(int16_t source, int16_t target)
{
    if (Stream().GetError() != 0) return FailWithoutError();
    sourceCodePage = source;
    targetCodePage = target;
    return true;
}

bool MMScriptFile::MapTable(int16_t table, int16_t item)
{
    if (Stream().GetError() != 0 || !IsValidItem(item) || table < 0 || table >= ItemCount())
        return FailWithoutError();
    tableOfItem[item] = table;
    itemOfTable[table] = item;
    return true;
}

MMCollectionDirectory<MMScriptFile>& MMRecordTableDirectory()
{
    static MMCollectionDirectory<MMScriptFile> directory;
    return directory;
}

bool OpenScriptFile(const FSDirectory& folder, const char* name)
{
    MMScriptFile* file = new MMScriptFile;
    if (!file->Open(folder, name, false, false)) {
        delete file;
        return false;
    }
    if (uint16_t(file->SourceCodePage()) != MM_NO_CODE_PAGE &&
        uint16_t(file->TargetCodePage()) != GetACP()) {
        file->Close(false);
        delete file;
        return false;
    }
    MMRecordTableDirectory().Register(file, file->CollectionId());
    LookUpTimeStamp(file->FileTag(), file->CollectionId());
    return true;
}

void CloseScriptFile(uint16_t collectionId)
{
    MMScriptFile* file = MMRecordTableDirectory().Find(collectionId);
    if (!file) return;
    MMRecordTableDirectory().Unregister(file, collectionId);
    file->Close(false);
    delete file;
}

void CloseAllScriptFiles()
{
    while (MMScriptFile* file = MMRecordTableDirectory().At(0)) {
        uint16_t id = file->CollectionId();
        MMRecordTableDirectory().Unregister(file, id);
        file->Close(false);
        delete file;
    }
}
