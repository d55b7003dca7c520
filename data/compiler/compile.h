#pragma once
#include <string>

// Reads, checks and writes the whole data set; false after any refusal.
bool CompileDataSet(const std::string& dataFolder, const std::string& renderFolder,
                    const std::string& outFolder);
