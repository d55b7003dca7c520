#pragma once
// The seeded generator (a sequence replays from its seed) and the table
// square root of 7-bit mantissa precision that the brushes use.

#include <cstdint>

class FSReader;
class FSWriter;

class UURandom {
public:
    explicit UURandom(int32_t seed = 0);

    void Seed(int32_t seed);
    int32_t Draw();                       // the basic step
    int32_t Next();                       // 1 ... 2147483646
    int32_t Range(int32_t a, int32_t b);  // a ... b

    // seed, 32 shuffle entries, state, last: 140 bytes.
    bool Read(FSReader& reader);
    bool Write(FSWriter& writer) const;

    int32_t State() const { return state; }

private:
    int32_t seed;
    int32_t shuffle[32];
    int32_t last;
    int32_t state;
};

// The program's one generator, seeded with 0 until the application seeds it.
UURandom& ProgramRandom();

// x >= 0; relative error below 1/128.
float FastSqrt(float x);
