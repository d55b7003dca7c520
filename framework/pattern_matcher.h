#pragma once
#include <cstdint>

// A small regular-expression matcher: Compile turns a pattern into a
// bit-parallel automaton of at most 32 states, Matches tells whether the
// pattern occurs anywhere in a text.
//
// Grammar: alternatives joined by "|", groups "(...)", "*" "+" "?" after an
// atom, "." any byte, "#" a digit, "[...]" classes ("^" negates, "a-z"
// ranges), "\n" "\r" "\t" and "\x" for any other x taken literally.
class UUPatternMatcher {
public:
    enum Error : int32_t {
        kNoError = 0,
        kNotCompiled = 1,
        kNothingToRepeat = 2,     // "*", "+" or "?" with nothing before it
        kTrailingBackslash = 3,
        kTooManyStates = 4,       // more than 32
        kMissingParenthesis = 5,  // no ")"
        kMissingBracket = 6,      // no "]"
        kReversedRange = 7,       // a range whose end is below its start
        kEmptyAlternative = 8,    // "|" or the end where an atom is expected
        kUnexpectedParenthesis = 9,
    };

    UUPatternMatcher();

    int32_t Compile(const char* pattern, bool ignoreCase);
    bool Matches(const char* text) const;
    int32_t LastError() const { return error; }

private:
    static constexpr uint32_t kStart = 1;

    uint32_t ParseAlternative(uint32_t from);
    uint32_t ParseSequence(uint32_t from);
    uint32_t ParseFactor(uint32_t from);
    uint32_t ParseAtom(uint32_t from);
    // Fills `members` (256 flags) from the class after "["; false on error.
    bool ParseClass(bool* members);
    uint32_t TakeState();
    uint32_t Connect(uint32_t from, const bool* members);
    void AddCases(bool* members) const;
    uint32_t Successors(uint32_t states, unsigned char c) const;
    bool Fail(int32_t code);

    uint32_t nextState;
    uint32_t transitions[256][32];
    uint32_t accepting;
    bool ignoreCase;
    const char* cursor;
    int32_t error;
};
