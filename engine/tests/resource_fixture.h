#pragma once
// Builds small resource files for the tests: through the engine's writing
// side, and through an independent serializer that can also produce the
// big-endian ("MM") twin of a file.
#include <cstdint>
#include <string>
#include <vector>
#include "framework/color_table.h"
#include "framework/folders.h"
#include "media/bitmap.h"

// A fresh folder under the system's temporary folder, removed at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const FSDirectory& Folder() const { return folder; }

private:
    FSDirectory folder;
};

bool WriteFileBytes(const FSDirectory& folder, const char* name, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFileBytes(const FSDirectory& folder, const char* name);

struct TestPicture {
    int16_t width = 0;
    int16_t height = 0;
    int32_t bits = 8;
    int32_t transparency = 0;
    bool encoded = false;
    bool compressed = false;
    bool ownTable = false;
    int16_t sharedTable = -1;
    MMColorTable table;             // the own table when ownTable is set
    std::vector<uint8_t> pixels;    // top-down rows, pitch bytes apart
    MMBitmap bitmap;                // describes pixels

    int32_t Pitch() const { return (width * bits / 8 + 3) & ~3; }
    // What the item holds once unpacked: own table, then rows or encoded data.
    std::vector<uint8_t> Content() const;
};

// 0: 8-bit keyed plain with its own table; 1: 8-bit plain, shared table 1,
// compressed; 2: 32-bit opaque plain compressed; 3: 32-bit straight alpha
// plain; 4: 32-bit keyed encoded compressed; 5: 8-bit keyed encoded, shared
// table 0.
std::vector<TestPicture> StandardPictures();
std::vector<MMColorTable> StandardSharedTables();
MMColorTable PatternTable(int seed);

const uint16_t kTestPictureCollection = 0x4000;
const uint16_t kTestScriptCollection = 0;

// Writes with the engine's writer; stamps 11 and 22, names "pic<i>", values 100 + i.
bool WritePictureFile(const FSDirectory& folder, const char* name,
                      const std::vector<TestPicture>& pictures,
                      const std::vector<MMColorTable>& shared);
std::vector<uint8_t> SerializePictureFile(const std::vector<TestPicture>& pictures,
                                          const std::vector<MMColorTable>& shared,
                                          bool bigEndian);

struct TestTable {
    int16_t table = 0;       // table number
    int16_t item = 0;        // item index that holds it
    int32_t rowSize = 10;
    std::vector<uint8_t> rows;     // row bytes in the machine's order
    std::vector<uint8_t> strings;  // string area
    int32_t rowCount() const { return rowSize ? int32_t(rows.size()) / rowSize : 0; }
};

// Tables 0 (10-byte rows with keys, points, ids and strings), 5 (8-byte
// layout rows) held by items 0 and 2 of 4; item 1 empty, item 3 holds table 3
// with 2-byte rows.
std::vector<TestTable> StandardTables();
bool WriteScriptFile(const FSDirectory& folder, const char* name,
                     const std::vector<TestTable>& tables, int16_t itemCount,
                     int16_t sourceCodePage, int16_t targetCodePage);
std::vector<uint8_t> SerializeScriptFile(const std::vector<TestTable>& tables, int16_t itemCount,
                                         int16_t sourceCodePage, int16_t targetCodePage,
                                         bool bigEndian);

// Row builder for 10-byte rows: key, then operands.
void PutShort(std::vector<uint8_t>& bytes, int16_t value);
void PutLong(std::vector<uint8_t>& bytes, int32_t value);
