#include "framework/pattern_matcher.h"

#include <windows.h>

#include <bit>
#include <cstring>

namespace {

constexpr int kByteCount = 256;

unsigned char OtherCase(unsigned char c)
{
    char buffer[1] = {static_cast<char>(c)};
    if (IsCharLowerA(buffer[0]))
        CharUpperBuffA(buffer, 1);
    else if (IsCharUpperA(buffer[0]))
        CharLowerBuffA(buffer, 1);
    return static_cast<unsigned char>(buffer[0]);
}

}  // namespace

UUPatternMatcher::UUPatternMatcher()
    : nextState(1), transitions{}, accepting(0), ignoreCase(false), cursor(nullptr),
      error(kNotCompiled)
{
}

int32_t UUPatternMatcher::Compile(const char* pattern, bool caseless)
{
    std::memset(transitions, 0, sizeof transitions);
    accepting = 0;
    ignoreCase = caseless;
    cursor = pattern != nullptr ? pattern : "";
    error = kNoError;
    nextState = 1;
    TakeState();  // the start state, kStart
    uint32_t final = ParseAlternative(kStart);
    if (error == kNoError && *cursor == ')')
        Fail(kUnexpectedParenthesis);
    if (error == kNoError)
        accepting = final;
    cursor = nullptr;
    return error;
}

bool UUPatternMatcher::Matches(const char* text) const
{
    if (error != kNoError || text == nullptr)
        return false;
    uint32_t states = kStart;
    for (const char* p = text; *p != '\0'; ++p) {
        states = kStart | Successors(states, static_cast<unsigned char>(*p));
        if (states & accepting)
            return true;
    }
    return false;
}

uint32_t UUPatternMatcher::ParseAlternative(uint32_t from)
{
    uint32_t final = ParseSequence(from);
    while (error == kNoError && *cursor == '|') {
        ++cursor;
        final |= ParseSequence(from);
    }
    return final;
}

uint32_t UUPatternMatcher::ParseSequence(uint32_t from)
{
    uint32_t states = ParseFactor(from);
    while (error == kNoError && *cursor != '\0' && *cursor != '|' && *cursor != ')')
        states = ParseFactor(states);
    return states;
}

uint32_t UUPatternMatcher::ParseFactor(uint32_t from)
{
    uint32_t firstTaken = nextState;
    uint32_t final = ParseAtom(from);
    if (error != kNoError)
        return 0;
    char repeat = *cursor;
    if (repeat != '*' && repeat != '+' && repeat != '?')
        return final;
    ++cursor;
    if (repeat != '?') {
        // The states this atom took; nextState 0 stands for 2^32.
        uint32_t taken = nextState - firstTaken;
        for (int c = 0; c < kByteCount; ++c) {
            uint32_t entry = Successors(from, static_cast<unsigned char>(c)) & taken;
            if (entry == 0)
                continue;
            for (uint32_t f = final; f != 0; f &= f - 1)
                transitions[c][std::countr_zero(f)] |= entry;
        }
    }
    if (repeat != '+')
        final |= from;
    return final;
}

uint32_t UUPatternMatcher::ParseAtom(uint32_t from)
{
    bool members[kByteCount] = {};
    char c = *cursor;
    switch (c) {
    case '\0':
    case '|':
        Fail(kEmptyAlternative);
        return 0;
    case ')':
        Fail(kUnexpectedParenthesis);
        return 0;
    case '*':
    case '+':
    case '?':
        Fail(kNothingToRepeat);
        return 0;
    case '(': {
        ++cursor;
        uint32_t final = ParseAlternative(from);
        if (error != kNoError)
            return 0;
        if (*cursor != ')') {
            Fail(kMissingParenthesis);
            return 0;
        }
        ++cursor;
        return final;
    }
    case '.':
        ++cursor;
        for (bool& member : members)
            member = true;
        break;
    case '#':
        ++cursor;
        for (char digit = '0'; digit <= '9'; ++digit)
            members[static_cast<unsigned char>(digit)] = true;
        break;
    case '[':
        ++cursor;
        if (!ParseClass(members))
            return 0;
        break;
    case '\\': {
        char escaped = cursor[1];
        if (escaped == '\0') {
            Fail(kTrailingBackslash);
            return 0;
        }
        cursor += 2;
        char literal = escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : escaped == 't' ? '\t' : escaped;
        members[static_cast<unsigned char>(literal)] = true;
        AddCases(members);
        break;
    }
    default:
        ++cursor;
        members[static_cast<unsigned char>(c)] = true;
        AddCases(members);
        break;
    }
    return Connect(from, members);
}

bool UUPatternMatcher::ParseClass(bool* members)
{
    bool negate = *cursor == '^';
    if (negate)
        ++cursor;
    while (*cursor != ']') {
        if (*cursor == '\0')
            return Fail(kMissingBracket);
        unsigned char low = static_cast<unsigned char>(*cursor++);
        unsigned char high = low;
        if (cursor[0] == '-' && cursor[1] != '\0' && cursor[1] != ']') {
            high = static_cast<unsigned char>(cursor[1]);
            cursor += 2;
            if (high < low)
                return Fail(kReversedRange);
        }
        for (int m = low; m <= high; ++m)
            members[m] = true;
    }
    ++cursor;
    AddCases(members);
    if (negate) {
        for (int m = 0; m < kByteCount; ++m)
            members[m] = !members[m];
    }
    return true;
}

uint32_t UUPatternMatcher::TakeState()
{
    if (nextState == 0) {
        Fail(kTooManyStates);
        return 0;
    }
    uint32_t state = nextState;
    nextState <<= 1;
    return state;
}

uint32_t UUPatternMatcher::Connect(uint32_t from, const bool* members)
{
    uint32_t state = TakeState();
    if (state == 0)
        return 0;
    for (int c = 0; c < kByteCount; ++c) {
        if (!members[c])
            continue;
        for (uint32_t q = from; q != 0; q &= q - 1)
            transitions[c][std::countr_zero(q)] |= state;
    }
    return state;
}

void UUPatternMatcher::AddCases(bool* members) const
{
    if (!ignoreCase)
        return;
    bool given[kByteCount];
    std::memcpy(given, members, sizeof given);
    for (int c = 1; c < kByteCount; ++c) {
        if (given[c])
            members[OtherCase(static_cast<unsigned char>(c))] = true;
    }
}

uint32_t UUPatternMatcher::Successors(uint32_t states, unsigned char c) const
{
    uint32_t next = 0;
    for (uint32_t q = states; q != 0; q &= q - 1)
        next |= transitions[c][std::countr_zero(q)];
    return next;
}

bool UUPatternMatcher::Fail(int32_t code)
{
    if (error == kNoError)
        error = code;
    return false;
}
