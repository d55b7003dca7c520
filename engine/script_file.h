#pragma once
// Script files ("ZOVU 3 Script"): every item is a record table. The kind
// block gives the code page of the tables' strings and two maps between
// item indexes and table numbers.
#include <cstdint>
#include <vector>
#include "engine/resource_collection.h"
#include "engine/resource_file.h"

const int MM_SCRIPT_KIND_VERSION = 7;
// Source code page value meaning the strings need no conversion.
const uint16_t MM_NO_CODE_PAGE = 0xFFFF;
// Strings of a script file are in the Macintosh code page 10000 + c.
const int MM_MAC_CODE_PAGE_BASE = 10000;

class MMScriptFile : public MMGenericResourceFile {
public:
    MMScriptFile();
    const char* FileTag() const override;    // "MMS"
    const char* FileTitle() const override;  // "ZOVU 3 Script"
    bool ReadHeader() override;
    bool WriteHeader() override;
    bool InitTables(int16_t itemCount) override;
    void FreeTables(bool deleteFile, bool markUnusable) override;

    int16_t SourceCodePage() const { return sourceCodePage; }
    int16_t TargetCodePage() const { return targetCodePage; }
    // Item index -> table number, -1 for none or out of range.
    int16_t TableOfItem(int16_t item) const;
    // Table number -> item index, -1 for none or out of range.
    int16_t ItemOfTable(int16_t table) const;

    // Writer side.
    bool SetCodePages(int16_t source, int16_t target);
    // Sets both maps: item holds table.
    bool MapTable(int16_t table, int16_t item);

private:
    int16_t sourceCodePage;
    int16_t targetCodePage;
    std::vector<int16_t> tableOfItem;
    std::vector<int16_t> itemOfTable;
};

// The record-table directory: open script files by collection id.
MMCollectionDirectory<MMScriptFile>& MMRecordTableDirectory();

// Opens a script file and registers it. A file prepared for another ANSI code
// page is refused without an error of its own.
bool OpenScriptFile(const FSDirectory& folder, const char* name);
void CloseScriptFile(uint16_t collectionId);
void CloseAllScriptFiles();
