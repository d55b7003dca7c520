#include "framework/text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <windows.h>

namespace {

UINT gCodePage = CP_ACP;

int CharLength(const char* p)
{
    return (IsLeadByte(static_cast<unsigned char>(*p)) && p[1] != 0) ? 2 : 1;
}

}  // namespace

void SetTextCodePage(unsigned int codePage) { gCodePage = codePage; }

bool IsLeadByte(unsigned char byte)
{
    return gCodePage == CP_ACP ? IsDBCSLeadByte(byte) : IsDBCSLeadByteEx(gCodePage, byte);
}

int FitLength(const char* source, int size, bool* fitted)
{
    int count = 0;
    while (source[count] != 0) {
        int length = CharLength(source + count);
        if (count + length >= size) {
            *fitted = false;
            return count;
        }
        count += length;
    }
    *fitted = true;
    return count;
}

bool StringCopyBounded(const char* source, char* destination, int size)
{
    if (size <= 0)
        return false;
    if (!source || !*source) {
        destination[0] = 0;
        return true;
    }
    if (source == destination)
        return true;
    bool fitted = false;
    int count = FitLength(source, size, &fitted);
    std::memmove(destination, source, count);
    destination[count] = 0;
    return fitted;
}

bool StringAppendBounded(const char* source, char* destination, int size)
{
    int used = static_cast<int>(strnlen(destination, size > 0 ? size : 0));
    if (used >= size)
        return false;
    return StringCopyBounded(source, destination + used, size - used);
}

bool StringPrependBounded(const char* prefix, char* text, int size, char* work)
{
    bool fitted = StringCopyBounded(prefix, work, size);
    fitted = StringAppendBounded(text, work, size) && fitted;
    std::memcpy(text, work, size);
    return fitted;
}

void CopyBytes(void* destination, const void* source, int n)
{
    if (n <= 0)
        return;
    std::memmove(destination, source, n);
}

void CopyBytesUnlessSame(const void* source, void* destination, int n)
{
    if (source != destination)
        CopyBytes(destination, source, n);
}

void StringFormat(char* destination, const char* format, ...)
{
    char work[356];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(work, sizeof(work), format, arguments);
    va_end(arguments);
    work[sizeof(work) - 1] = 0;
    StringCopyBounded(work, destination, kTextSize);
}

int CompareText(const char* a, const char* b, bool ignoreCase)
{
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, ignoreCase ? NORM_IGNORECASE : 0, a,
                          static_cast<int>(std::strlen(a)), b, static_cast<int>(std::strlen(b))) -
           2;
}

bool EqualTextN(const char* a, int lengthA, const char* b, int lengthB, bool ignoreCase)
{
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, ignoreCase ? NORM_IGNORECASE : 0, a, lengthA, b,
                          lengthB) == CSTR_EQUAL;
}

int CountCharacters(const char* text)
{
    int count = 0;
    for (const char* p = text; *p; p += CharLength(p))
        ++count;
    return count;
}

namespace {

void ChangeCase(char* text, bool upper)
{
    for (char* p = text; *p;) {
        int length = CharLength(p);
        char character[3] = {p[0], length == 2 ? p[1] : char(0), 0};
        if (upper)
            CharUpperBuffA(character, length);
        else
            CharLowerBuffA(character, length);
        std::memcpy(p, character, length);
        p += length;
    }
}

}  // namespace

void UpperCase(char* text) { ChangeCase(text, true); }
void LowerCase(char* text) { ChangeCase(text, false); }

bool IsSingleByteChar(unsigned char byte) { return !IsLeadByte(byte); }

const char* PreviousChar(const char* start, const char* position)
{
    return CharPrevExA(static_cast<WORD>(gCodePage), start, position, 0);
}

int LastCharOffset(const char* start, int length)
{
    return static_cast<int>(PreviousChar(start, start + length) - start);
}

char* StringClear(char* text)
{
    text[0] = 0;
    return text;
}

bool StringIsNotEmpty(const char* text) { return text[0] != 0; }
