#pragma once
// Reading the data sources: lines split into tokens, numbers, texts in code
// page 1252, and the errors that name the file and line they come from.
#include <cstdint>
#include <string>
#include <vector>

struct SourcePlace {
    std::string file;
    int line = 0;
};

// Errors are printed as "file:line: message" and counted.
void Refuse(const SourcePlace& place, const std::string& message);
int RefusalCount();
// The last error as printed, for tests.
const std::string& LastRefusal();

struct Token {
    std::string text;
    bool quoted = false;  // a "text" (escapes already applied)
};

struct SourceLine {
    SourcePlace place;
    std::vector<Token> tokens;
};

// Lines with at least one token; comments (# to the end of the line, outside
// quotes) and blank lines dropped. False when the file cannot be read.
bool ReadSourceLines(const std::string& path, const std::string& shownName,
                     std::vector<SourceLine>& lines);
// The same from a text held in memory.
std::vector<SourceLine> SplitSourceText(const std::string& text, const std::string& shownName);
// Splits one line; false (refused) on an unterminated text.
bool SplitTokens(const std::string& text, const SourcePlace& place, std::vector<Token>& tokens);

// A decimal or 0x hexadecimal integer, optionally negative.
bool ParseInteger(const std::string& text, int64_t& value);
// A UTF-8 text converted to code page 1252; false when a character has no
// place there (or the UTF-8 is malformed).
bool ToCodePage1252(const std::string& utf8, std::string& out);

// Files of folder (a path ending with a separator) whose names end with
// suffix, in name order.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix);
