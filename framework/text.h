#pragma once
#include <cstdint>

// Bounded text in the system's ANSI code page, which may be double-byte:
// no helper overruns its destination or cuts a double-byte character.
// Every `size` counts the destination's bytes including the terminating zero.

constexpr int kTextSize = 256;      // paths and messages
constexpr int kFileNameSize = 64;   // file names
constexpr int kShortNameSize = 32;  // short names

// The code page whose lead bytes the helpers respect: the system's ANSI page
// unless a test chooses a double-byte one.
void SetTextCodePage(unsigned int codePage);
bool IsLeadByte(unsigned char byte);

// Bytes of whole characters of `source` that fit in `size` with room for the
// terminating zero; `fitted` tells whether the whole source fitted.
int FitLength(const char* source, int size, bool* fitted);

bool StringCopyBounded(const char* source, char* destination, int size);
bool StringAppendBounded(const char* source, char* destination, int size);
bool StringPrependBounded(const char* prefix, char* text, int size, char* work);

void CopyBytes(void* destination, const void* source, int n);
void CopyBytesUnlessSame(const void* source, void* destination, int n);

// printf into a 356-byte work buffer, then copied bounded to 256 bytes.
void StringFormat(char* destination, const char* format, ...);

int CompareText(const char* a, const char* b, bool ignoreCase);
bool EqualTextN(const char* a, int lengthA, const char* b, int lengthB, bool ignoreCase);

int CountCharacters(const char* text);
void UpperCase(char* text);
void LowerCase(char* text);
bool IsSingleByteChar(unsigned char byte);
const char* PreviousChar(const char* start, const char* position);
int LastCharOffset(const char* start, int length);

char* StringClear(char* text);
bool StringIsNotEmpty(const char* text);
