#include "framework/random.h"

#include <cstring>

#include "framework/byte_order_streams.h"

namespace {

const int32_t kModulus = 2147483647;  // 2^31 - 1
const int32_t kMultiplier = 16807;
const int32_t kQuotient = 127773;     // kModulus / kMultiplier
const int32_t kRemainder = 2836;      // kModulus % kMultiplier

bool IsGeneratorValue(int32_t v) { return v >= 1 && v < kModulus; }

// Entry i: the top 7 mantissa bits of sqrt(1 + i/128); entry 128 + i: of
// sqrt(2 (1 + i/128)).
struct SquareRootTable {
    uint16_t entries[256];

    SquareRootTable()
    {
        for (uint32_t i = 0; i < 128; ++i) {
            entries[i] = TopMantissaBits(Root((0x3F80u | i) << 16));
            entries[128 + i] = TopMantissaBits(Root((0x4000u | i) << 16));
        }
    }

    static float Root(uint32_t bits)
    {
        float x;
        std::memcpy(&x, &bits, 4);
        return __builtin_sqrtf(x);
    }

    static uint16_t TopMantissaBits(float x)
    {
        uint32_t bits;
        std::memcpy(&bits, &x, 4);
        return static_cast<uint16_t>((bits >> 16) & 0x7F);
    }
};

const SquareRootTable gSquareRoots;

}  // namespace

UURandom::UURandom(int32_t s) : seed(1), shuffle(), last(1), state(1) { Seed(s); }

void UURandom::Seed(int32_t s)
{
    if (s < 0)
        s = static_cast<int32_t>(int64_t(s) + kModulus);
    if (s <= 0)
        s = 1;  // 0, and the negatives that map to 0 or below
    seed = s;
    state = s;
    for (int i = 0; i < 8; ++i)
        Draw();
    last = Draw();
    for (int i = 31; i >= 0; --i)
        shuffle[i] = Draw();
    last = shuffle[0];
}

int32_t UURandom::Draw()
{
    // Schrage's form of 16807 * state mod (2^31 - 1), free of overflow.
    int32_t hi = state / kQuotient;
    int32_t lo = state % kQuotient;
    int32_t next = kMultiplier * lo - kRemainder * hi;
    if (next < 0)
        next += kModulus;
    state = next;
    return state;
}

int32_t UURandom::Next()
{
    int32_t j = last >> 26;
    last = shuffle[j];
    shuffle[j] = Draw();
    return last;
}

int32_t UURandom::Range(int32_t a, int32_t b)
{
    int64_t span = int64_t(b) - a + 1;
    if (span <= 0)
        return a;
    if (span > kModulus - 1)
        return static_cast<int32_t>(a + int64_t(Next()));
    return static_cast<int32_t>(a + Next() % span);
}

bool UURandom::Read(FSReader& reader)
{
    int32_t values[35];
    if (!reader.ReadLongs(values, 35))
        return false;
    // A stored state outside the generator's range would index past the
    // shuffle table or stick at zero: refuse it and keep the current one.
    for (int32_t v : values) {
        if (!IsGeneratorValue(v)) {
            reader.SetError(FS_ERROR_BAD_FORMAT);
            return false;
        }
    }
    seed = values[0];
    std::memcpy(shuffle, values + 1, sizeof shuffle);
    state = values[33];
    last = values[34];
    return true;
}

bool UURandom::Write(FSWriter& writer) const
{
    int32_t values[35];
    values[0] = seed;
    std::memcpy(values + 1, shuffle, sizeof shuffle);
    values[33] = state;
    values[34] = last;
    return writer.WriteLongs(values, 35);
}

UURandom& ProgramRandom()
{
    static UURandom generator(0);
    return generator;
}

float FastSqrt(float x)
{
    if (x == 0.0f)
        return 0.0f;
    uint32_t bits;
    std::memcpy(&bits, &x, 4);
    int32_t exponent = static_cast<int32_t>((bits >> 23) & 0xFF) - 127;
    uint32_t index = (bits >> 16) & 0x7F;
    if (exponent & 1)
        index += 128;
    uint32_t result = (static_cast<uint32_t>((exponent >> 1) + 127) << 23) |
                      (static_cast<uint32_t>(gSquareRoots.entries[index]) << 16);
    float root;
    std::memcpy(&root, &result, 4);
    return root;
}
