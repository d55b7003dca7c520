#include "source_text.h"

#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {
int gRefusals = 0;
std::string gLastRefusal;
}

void Refuse(const SourcePlace& place, const std::string& message)
{
    ++gRefusals;
    gLastRefusal = place.file + (place.line > 0 ? ":" + std::to_string(place.line) : "") + ": " + message;
    std::fprintf(stderr, "%s\n", gLastRefusal.c_str());
}

int RefusalCount() { return gRefusals; }

const std::string& LastRefusal() { return gLastRefusal; }

bool SplitTokens(const std::string& text, const SourcePlace& place, std::vector<Token>& tokens)
{
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == ' ' || c == '\t' || c == '\r') { ++i; continue; }
        if (c == '#') break;
        if (c == '{' || c == '}' || c == ';') {
            tokens.push_back({std::string(1, c), false});
            ++i;
            continue;
        }
        if (c == '"') {
            std::string value;
            ++i;
            bool closed = false;
            while (i < text.size()) {
                char d = text[i++];
                if (d == '"') { closed = true; break; }
                if (d == '\\' && i < text.size()) {
                    char e = text[i++];
                    value += e == 'n' ? '\n' : e;
                } else {
                    value += d;
                }
            }
            if (!closed) {
                Refuse(place, "a text without its closing quote");
                return false;
            }
            tokens.push_back({value, true});
            continue;
        }
        size_t start = i;
        while (i < text.size() && !strchr(" \t\r#{};\"", text[i])) ++i;
        tokens.push_back({text.substr(start, i - start), false});
    }
    return true;
}

std::vector<SourceLine> SplitSourceText(const std::string& whole, const std::string& shownName)
{
    std::vector<SourceLine> lines;
    std::istringstream in(whole);
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        SourceLine line;
        line.place = {shownName, number};
        if (!SplitTokens(text, line.place, line.tokens)) continue;
        if (!line.tokens.empty()) lines.push_back(line);
    }
    return lines;
}

bool ReadSourceLines(const std::string& path, const std::string& shownName,
                     std::vector<SourceLine>& lines)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream whole;
    whole << in.rdbuf();
    std::vector<SourceLine> more = SplitSourceText(whole.str(), shownName);
    lines.insert(lines.end(), more.begin(), more.end());
    return true;
}

bool ParseInteger(const std::string& text, int64_t& value)
{
    if (text.empty()) return false;
    size_t i = 0;
    bool negative = false;
    if (text[0] == '-') { negative = true; i = 1; }
    int base = 10;
    if (text.size() > i + 2 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return false;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return false;
        v = v * base + digit;
        if (v > 0xFFFFFFFFll) return false;
    }
    value = negative ? -v : v;
    return true;
}

bool ToCodePage1252(const std::string& utf8, std::string& out)
{
    out.clear();
    if (utf8.empty()) return true;
    int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()),
                                   nullptr, 0);
    if (wide <= 0) return false;
    std::wstring w(wide, L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), &w[0], wide);
    BOOL usedDefault = FALSE;
    int bytes = WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, w.data(), wide, nullptr, 0,
                                    nullptr, &usedDefault);
    if (bytes <= 0 || usedDefault) return false;
    out.resize(bytes);
    WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, w.data(), wide, &out[0], bytes, nullptr,
                        &usedDefault);
    // A NUL would end the text early in the program.
    return !usedDefault && out.find('\0') == std::string::npos;
}

std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (name.size() > suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}
