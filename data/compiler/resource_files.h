#pragma once
// The seven files the compiler writes, from data/files.txt: kind, file name,
// collection id and the short name that sources use for it.
#include <cstdint>
#include <string>
#include <vector>
#include "source_text.h"

enum class FileKind { Scripts, Pictures, Sounds };

struct OutputFile {
    FileKind kind;
    std::string name;   // "Hd.MMP"
    std::string stem;   // "Hd"
    uint16_t collection;
    SourcePlace place;
};

bool ReadOutputFiles(const std::string& path, std::vector<OutputFile>& files);
bool ReadOutputFileLines(const std::vector<SourceLine>& lines, std::vector<OutputFile>& files);
const OutputFile* FindOutputFile(const std::vector<OutputFile>& files, FileKind kind,
                                 const std::string& stem);

// Stamps written into every file, so that every build writes the same bytes.
const uint32_t kFirstStamp = 0x20240101;
const uint32_t kSecondStamp = 1;
