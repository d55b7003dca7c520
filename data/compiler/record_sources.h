#pragma once
// Record tables and animation scripts written as text: parsed, numbered,
// checked and packed into the rows and string area of a script file item.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "source_text.h"

// Where a picture or sound of the data set lives once numbered.
struct ResourceItem {
    uint16_t collection = 0;
    int16_t item = -1;
    int32_t Id() const { return int32_t((uint32_t(collection) << 16) | uint16_t(item)); }
};
typedef std::map<std::string, ResourceItem> ResourceNames;

enum class FieldKind { Short, Long, Text, Picture, Sound, Table, Item };

struct Field {
    FieldKind kind = FieldKind::Short;
    int64_t value = 0;        // numbers
    std::string text;         // texts (code page 1252) and names
    int limit = -1;           // text:N
    int expectedRows = -1;    // table:N, item:N
    std::string expectedUse;  // script:USE
    SourcePlace place;
    int Bytes() const { return kind == FieldKind::Short || kind == FieldKind::Item ? 2 : 4; }
};

struct SourceRow {
    SourcePlace place;
    std::vector<Field> fields;
};

// The opcode of a script row and its four 16-bit operands.
struct ScriptStep {
    int opcode = 0;
    int operand[4] = {0, 0, 0, 0};
    SourcePlace place;
};

struct RecordSource {
    std::string name;
    int fixedNumber = -1;
    int number = -1;
    int rowSize = 0;
    bool isScript = false;
    std::string use;               // scripts: what the program does with them
    std::vector<int> events;       // scripts: events the use needs
    SourcePlace place;
    std::vector<SourceRow> rows;
    std::vector<ScriptStep> steps;  // scripts, one per row
};

// The first number given to a table or script without a fixed number.
const int kFirstFreeTableNumber = 2000;

class RecordSet {
public:
    // Reads every *.txt of tables/ and scripts/ under root.
    void ReadFolder(const std::string& root);
    // Parses one source held in lines (file kind by its first word).
    void ReadSource(const std::vector<SourceLine>& lines);
    // Fixed numbers checked, free ones given out; scripts checked.
    void Number();
    void CheckScripts() const;
    // Rows and string area of one record, names resolved; false (refused) on
    // an unknown name or a misfit.
    bool Pack(const RecordSource& record, const ResourceNames& pictures,
              const ResourceNames& sounds, std::vector<uint8_t>& rows, int32_t& rowCount,
              std::string& strings) const;

    const std::vector<std::unique_ptr<RecordSource>>& Records() const { return records; }
    const RecordSource* Find(const std::string& name) const;
    int HighestNumber() const;

private:
    void ReadTable(const std::vector<SourceLine>& lines);
    void ReadScript(const std::vector<SourceLine>& lines);
    bool ParseFields(const SourceLine& line, size_t& at, RecordSource& owner,
                     std::vector<Field>& fields, int depth);
    bool ParseInlineTable(const SourceLine& line, size_t& at, RecordSource& owner,
                          int rowSize, Field& field, int depth);
    RecordSource* Add(const std::string& name, int fixedNumber, const SourcePlace& place);

    std::vector<std::unique_ptr<RecordSource>> records;
    std::map<std::string, RecordSource*> byName;
};
