#pragma once
// Fits a name into a label: while fits(text) answers false its last
// character goes; when any went, three more go (never past the empty text)
// and the suffix (row 19 of the texts, "...") is appended.
#include <cstdint>
#include <functional>
#include <string>

std::string FitLabelText(const std::string& text, const std::string& suffix,
                         const std::function<bool(const std::string&)>& fits);
