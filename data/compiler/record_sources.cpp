#include "record_sources.h"

#include <algorithm>
#include <set>

namespace {

bool IsName(const std::string& text)
{
    if (text.empty() || !(isalpha(uint8_t(text[0])) || text[0] == '_')) return false;
    for (char c : text)
        if (!(isalnum(uint8_t(c)) || c == '_' || c == '.' || c == '-')) return false;
    return true;
}

// "type" or "type:suffix".
void SplitSuffix(const std::string& word, std::string& type, std::string& suffix)
{
    size_t colon = word.find(':');
    type = word.substr(0, colon);
    suffix = colon == std::string::npos ? "" : word.substr(colon + 1);
}

bool Number16(const Token& token, const SourcePlace& place, int64_t& value)
{
    if (token.quoted || !ParseInteger(token.text, value) || value < -32768 || value > 65535) {
        Refuse(place, "'" + token.text + "' is not a 16-bit number");
        return false;
    }
    return true;
}

void PutShort(std::vector<uint8_t>& bytes, int64_t value)
{
    bytes.push_back(uint8_t(value));
    bytes.push_back(uint8_t(uint64_t(value) >> 8));
}

void PutLong(std::vector<uint8_t>& bytes, int64_t value)
{
    PutShort(bytes, int16_t(value & 0xFFFF));
    PutShort(bytes, int16_t((uint64_t(value) >> 16) & 0xFFFF));
}

const char* const kOpcodeNames[16] = {"name",    "visuals", "channels", "sync",
                                      "layer",   "frame",   "place",    "picture",
                                      "channel", "play",    "event",    "jump",
                                      "jump_idle", "timing", "custom",  "box"};

}  // namespace

RecordSource* RecordSet::Add(const std::string& name, int fixedNumber, const SourcePlace& place)
{
    if (byName.count(name)) {
        Refuse(place, "the name '" + name + "' is used twice (first at " +
                          byName[name]->place.file + ":" + std::to_string(byName[name]->place.line) + ")");
        return nullptr;
    }
    records.push_back(std::make_unique<RecordSource>());
    RecordSource* record = records.back().get();
    record->name = name;
    record->fixedNumber = fixedNumber;
    record->place = place;
    byName[name] = record;
    return record;
}

void RecordSet::ReadFolder(const std::string& root)
{
    for (const char* sub : {"tables", "scripts"}) {
        std::string folder = root + sub + "\\";
        for (const std::string& file : ListFiles(folder, ".txt")) {
            std::vector<SourceLine> lines;
            std::string shown = std::string("data/") + sub + "/" + file;
            if (!ReadSourceLines(folder + file, shown, lines)) {
                Refuse({shown, 0}, "cannot be read");
                continue;
            }
            if (lines.empty()) {
                Refuse({shown, 0}, "holds nothing");
                continue;
            }
            ReadSource(lines);
        }
    }
}

void RecordSet::ReadSource(const std::vector<SourceLine>& lines)
{
    const std::string& first = lines[0].tokens[0].text;
    if (first == "table") ReadTable(lines);
    else if (first == "script") ReadScript(lines);
    else Refuse(lines[0].place, "a source begins with 'table NAME' or 'script NAME'");
}

namespace {

// "table NAME [NUMBER]" or "script NAME [NUMBER]".
bool ReadHeading(const SourceLine& line, std::string& name, int& number)
{
    number = -1;
    if (line.tokens.size() < 2 || line.tokens.size() > 3 || !IsName(line.tokens[1].text)) {
        Refuse(line.place, "expected '" + line.tokens[0].text + " NAME [NUMBER]'");
        return false;
    }
    name = line.tokens[1].text;
    if (line.tokens.size() == 3) {
        int64_t value;
        if (!ParseInteger(line.tokens[2].text, value) || value < 0 || value > 32766) {
            Refuse(line.place, "a table number is 0 to 32766");
            return false;
        }
        number = int(value);
    }
    return true;
}

}  // namespace

void RecordSet::ReadTable(const std::vector<SourceLine>& lines)
{
    std::string name;
    int number;
    if (!ReadHeading(lines[0], name, number)) return;
    RecordSource* table = Add(name, number, lines[0].place);
    if (!table) return;
    size_t i = 1;
    int64_t size = 0;
    if (i >= lines.size() || lines[i].tokens[0].text != "rows" || lines[i].tokens.size() != 2 ||
        !ParseInteger(lines[i].tokens[1].text, size) || size < 2 || size > 4096 || size % 2) {
        Refuse(i < lines.size() ? lines[i].place : lines[0].place,
               "the second line is 'rows SIZE': the row size in bytes, even, 2 or more");
        return;
    }
    table->rowSize = int(size);
    for (++i; i < lines.size(); ++i) {
        SourceRow row;
        row.place = lines[i].place;
        size_t at = 0;
        if (!ParseFields(lines[i], at, *table, row.fields, 0)) continue;
        if (at < lines[i].tokens.size()) {
            Refuse(lines[i].place, "'" + lines[i].tokens[at].text + "' outside an inline table");
            continue;
        }
        table->rows.push_back(row);
    }
}

bool RecordSet::ParseInlineTable(const SourceLine& line, size_t& at, RecordSource& owner,
                                 int rowSize, Field& field, int depth)
{
    if (rowSize < 2 || rowSize % 2) {
        Refuse(line.place, "an inline table needs its row size: table:SIZE { ... }");
        return false;
    }
    if (depth > 4) {
        Refuse(line.place, "inline tables nest too deep");
        return false;
    }
    std::string name = owner.name + "." + std::to_string(line.place.line);
    for (int k = 2; byName.count(name); ++k)
        name = owner.name + "." + std::to_string(line.place.line) + "_" + std::to_string(k);
    RecordSource* table = Add(name, -1, line.place);
    if (!table) return false;
    table->rowSize = rowSize;
    ++at;  // the opening brace
    for (;;) {
        SourceRow row;
        row.place = line.place;
        if (!ParseFields(line, at, *table, row.fields, depth + 1)) return false;
        if (!row.fields.empty()) table->rows.push_back(row);
        if (at >= line.tokens.size()) {
            Refuse(line.place, "an inline table without its closing brace");
            return false;
        }
        const std::string& t = line.tokens[at++].text;
        if (t == "}") break;
    }
    field.kind = FieldKind::Table;
    field.text = name;
    field.expectedRows = rowSize;
    return true;
}

bool RecordSet::ParseFields(const SourceLine& line, size_t& at, RecordSource& owner,
                            std::vector<Field>& fields, int depth)
{
    const std::vector<Token>& t = line.tokens;
    while (at < t.size()) {
        const Token& token = t[at];
        if (!token.quoted && (token.text == ";" || token.text == "}")) return true;
        Field field;
        field.place = line.place;
        int64_t value;
        if (!token.quoted && ParseInteger(token.text, value)) {
            if (!Number16(token, line.place, value)) return false;
            field.value = value;
            fields.push_back(field);
            ++at;
            continue;
        }
        std::string type, suffix;
        SplitSuffix(token.text, type, suffix);
        ++at;
        auto need = [&](size_t n) {
            if (at + n > t.size()) {
                Refuse(line.place, "'" + type + "' needs " + std::to_string(n) + " value(s)");
                return false;
            }
            return true;
        };
        auto numbers = [&](int n) {
            if (!need(n)) return false;
            for (int k = 0; k < n; ++k) {
                Field part;
                part.place = line.place;
                if (!Number16(t[at], line.place, part.value)) return false;
                fields.push_back(part);
                ++at;
            }
            return true;
        };
        int64_t suffixValue = -1;
        if (!suffix.empty() && type != "script" &&
            (!ParseInteger(suffix, suffixValue) || suffixValue <= 0)) {
            Refuse(line.place, "'" + token.text + "': the part after ':' is a positive number");
            return false;
        }
        if (token.quoted) {
            Refuse(line.place, "a text needs its type first: text \"...\"");
            return false;
        } else if (type == "s16" && suffix.empty()) {
            if (!numbers(1)) return false;
        } else if (type == "pair" && suffix.empty()) {
            if (!numbers(2)) return false;
        } else if (type == "rect" && suffix.empty()) {
            if (!numbers(4)) return false;
        } else if (type == "s32" && suffix.empty()) {
            if (!need(1)) return false;
            if (t[at].quoted || !ParseInteger(t[at].text, value) || value < INT32_MIN ||
                value > 0xFFFFFFFFll) {
                Refuse(line.place, "'" + t[at].text + "' is not a 32-bit number");
                return false;
            }
            field.kind = FieldKind::Long;
            field.value = value;
            fields.push_back(field);
            ++at;
        } else if (type == "text") {
            if (!need(1)) return false;
            if (!t[at].quoted) {
                Refuse(line.place, "a text is written in double quotes");
                return false;
            }
            field.kind = FieldKind::Text;
            if (!ToCodePage1252(t[at].text, field.text)) {
                Refuse(line.place, "\"" + t[at].text + "\" has a character outside code page 1252");
                return false;
            }
            field.limit = int(suffixValue);
            if (field.limit > 0 && int(field.text.size()) > field.limit) {
                Refuse(line.place, "\"" + t[at].text + "\" is longer than its limit of " +
                                       std::to_string(field.limit) + " characters");
                return false;
            }
            fields.push_back(field);
            ++at;
        } else if ((type == "picture" || type == "sound" || type == "script") ||
                   ((type == "table" || type == "item") && !(at < t.size() && t[at].text == "{"))) {
            if (!need(1)) return false;
            const std::string& name = t[at].text;
            if (t[at].quoted || !IsName(name)) {
                Refuse(line.place, "'" + type + "' needs a name");
                return false;
            }
            field.kind = type == "picture" ? FieldKind::Picture
                         : type == "sound" ? FieldKind::Sound
                         : type == "item"  ? FieldKind::Item
                                           : FieldKind::Table;
            field.text = name;
            if (type == "script") {
                field.expectedUse = suffix.empty() ? "*" : suffix;
                field.expectedRows = 10;
            } else {
                field.expectedRows = int(suffixValue);
            }
            fields.push_back(field);
            ++at;
        } else if (type == "table" || type == "item") {
            if (!ParseInlineTable(line, at, owner, int(suffixValue), field, depth)) return false;
            if (type == "item") field.kind = FieldKind::Item;
            fields.push_back(field);
        } else {
            Refuse(line.place, "unknown field type '" + token.text + "'");
            return false;
        }
    }
    return true;
}

void RecordSet::ReadScript(const std::vector<SourceLine>& lines)
{
    std::string name;
    int number;
    if (!ReadHeading(lines[0], name, number)) return;
    RecordSource* script = Add(name, number, lines[0].place);
    if (!script) return;
    script->isScript = true;
    script->rowSize = 10;
    for (size_t i = 1; i < lines.size(); ++i) {
        const SourceLine& line = lines[i];
        const std::string& word = line.tokens[0].text;
        if (word == "use") {
            if (line.tokens.size() < 2) {
                Refuse(line.place, "'use' names what the program does with the script");
                continue;
            }
            script->use = line.tokens[1].text;
            for (size_t k = 2; k < line.tokens.size(); k += 2) {
                int64_t n;
                if (line.tokens[k].text != "event" || k + 1 >= line.tokens.size() ||
                    !ParseInteger(line.tokens[k + 1].text, n)) {
                    Refuse(line.place, "after the use come only 'event N' pairs");
                    break;
                }
                script->events.push_back(int(n));
            }
            continue;
        }
        int opcode = -1;
        for (int k = 0; k < 16; ++k)
            if (word == kOpcodeNames[k]) opcode = k;
        if (opcode < 0) {
            Refuse(line.place, "unknown script step '" + word + "'");
            continue;
        }
        SourceRow row;
        row.place = line.place;
        Field key;
        key.value = opcode;
        key.place = line.place;
        row.fields.push_back(key);
        ScriptStep step;
        step.opcode = opcode;
        step.place = line.place;
        bool ok = true;
        if (opcode == 0) {
            Field text;
            text.place = line.place;
            text.kind = FieldKind::Text;
            if (line.tokens.size() != 2 || !line.tokens[1].quoted ||
                !ToCodePage1252(line.tokens[1].text, text.text) || text.text.size() > 31) {
                Refuse(line.place, "'name' takes one text of at most 31 characters in code page 1252");
                continue;
            }
            row.fields.push_back(text);
        } else if (opcode == 7 || opcode == 9) {
            // A picture or a sound by name, or none.
            if (line.tokens.size() != 2) {
                Refuse(line.place, std::string("'") + word + "' takes one name");
                continue;
            }
            Field ref;
            ref.place = line.place;
            ref.kind = opcode == 7 ? FieldKind::Picture : FieldKind::Sound;
            ref.text = line.tokens[1].text;
            row.fields.push_back(ref);
        } else {
            static const int counts[16] = {1, 1, 1, 1, 1, 2, 4, 1, 3, 1, 1, 1, 2, 1, 4, 4};
            size_t given = line.tokens.size() - 1;
            size_t wanted = size_t(counts[opcode]);
            // A frame may leave out its loop length and count.
            if (!(given == wanted || (opcode == 5 && given == 2))) {
                Refuse(line.place, std::string("'") + word + "' takes " + std::to_string(wanted) +
                                       " number(s)");
                continue;
            }
            for (size_t k = 0; k < given && ok; ++k) {
                int64_t v;
                ok = Number16(line.tokens[1 + k], line.place, v);
                if (!ok) break;
                step.operand[k] = int(int16_t(v));
                Field f;
                f.place = line.place;
                f.value = v;
                row.fields.push_back(f);
            }
        }
        if (!ok) continue;
        script->rows.push_back(row);
        script->steps.push_back(step);
    }
    if (script->use.empty()) Refuse(lines[0].place, "a script says its use ('use button', ...)");
}

const RecordSource* RecordSet::Find(const std::string& name) const
{
    auto it = byName.find(name);
    return it == byName.end() ? nullptr : it->second;
}

int RecordSet::HighestNumber() const
{
    int highest = -1;
    for (const auto& r : records) highest = std::max(highest, r->number);
    return highest;
}

void RecordSet::Number()
{
    std::map<int, const RecordSource*> taken;
    for (const auto& r : records) {
        if (r->fixedNumber < 0) continue;
        if (taken.count(r->fixedNumber)) {
            Refuse(r->place, "table number " + std::to_string(r->fixedNumber) + " is also " +
                                 taken[r->fixedNumber]->name + "'s");
            continue;
        }
        if (r->fixedNumber >= kFirstFreeTableNumber) {
            Refuse(r->place, "fixed table numbers stay below " + std::to_string(kFirstFreeTableNumber));
            continue;
        }
        taken[r->fixedNumber] = r.get();
        r->number = r->fixedNumber;
    }
    std::vector<RecordSource*> free;
    for (const auto& r : records)
        if (r->fixedNumber < 0) free.push_back(r.get());
    std::sort(free.begin(), free.end(),
              [](const RecordSource* a, const RecordSource* b) { return a->name < b->name; });
    int next = kFirstFreeTableNumber;
    for (RecordSource* r : free) r->number = next++;
    if (next > 32767) Refuse({"data/tables", 0}, "more tables than a script file can number");
}

bool RecordSet::Pack(const RecordSource& record, const ResourceNames& pictures,
                     const ResourceNames& sounds, std::vector<uint8_t>& rows, int32_t& rowCount,
                     std::string& strings) const
{
    rows.clear();
    strings.clear();
    rowCount = 0;
    bool ok = true;
    for (const SourceRow& row : record.rows) {
        std::vector<uint8_t> bytes;
        for (const Field& f : row.fields) {
            switch (f.kind) {
            case FieldKind::Short: PutShort(bytes, f.value); break;
            case FieldKind::Long: PutLong(bytes, f.value); break;
            case FieldKind::Text:
                PutLong(bytes, int64_t(strings.size()));
                strings += f.text;
                strings += '\0';
                break;
            case FieldKind::Picture:
            case FieldKind::Sound: {
                const ResourceNames& names = f.kind == FieldKind::Picture ? pictures : sounds;
                const char* what = f.kind == FieldKind::Picture ? "picture" : "sound";
                if (f.text == "none") { PutLong(bytes, -1); break; }
                auto it = names.find(f.text);
                if (it == names.end()) {
                    Refuse(f.place, std::string("no ") + what + " is named '" + f.text + "'");
                    ok = false;
                    PutLong(bytes, -1);
                    break;
                }
                PutLong(bytes, it->second.Id());
                break;
            }
            case FieldKind::Table:
            case FieldKind::Item: {
                int number = -1;
                if (f.text != "none") {
                    const RecordSource* target = Find(f.text);
                    if (!target) {
                        Refuse(f.place, "no table or script is named '" + f.text + "'");
                        ok = false;
                    } else if (f.expectedRows > 0 && target->rowSize != f.expectedRows) {
                        Refuse(f.place, "'" + f.text + "' has rows of " + std::to_string(target->rowSize) +
                                            " bytes, not " + std::to_string(f.expectedRows));
                        ok = false;
                    } else if (!f.expectedUse.empty() &&
                               (!target->isScript ||
                                (f.expectedUse != "*" && target->use != f.expectedUse))) {
                        Refuse(f.place, "'" + f.text + "' is not a script of use '" +
                                            (f.expectedUse == "*" ? std::string("any") : f.expectedUse) + "'");
                        ok = false;
                    } else {
                        number = target->number;
                    }
                }
                // A table is its number in the low half and 0 in the high half,
                // so it reads the same as a resource id and as an item index.
                if (f.kind == FieldKind::Item) PutShort(bytes, number);
                else PutLong(bytes, number < 0 ? -1 : number);
                break;
            }
            }
        }
        if (record.rowSize == 2) {
            // Word lists: every 16-bit value is a row of its own.
            if (bytes.empty()) bytes.resize(2, 0);
        } else if (bytes.size() > size_t(record.rowSize)) {
            Refuse(row.place, "a row of " + std::to_string(bytes.size()) + " bytes in a table of " +
                                  std::to_string(record.rowSize) + "-byte rows");
            ok = false;
            continue;
        }
        size_t padded = (bytes.size() + record.rowSize - 1) / record.rowSize * record.rowSize;
        if (padded == 0) padded = record.rowSize;
        bytes.resize(padded, 0);
        rowCount += int32_t(padded / record.rowSize);
        rows.insert(rows.end(), bytes.begin(), bytes.end());
    }
    return ok;
}
