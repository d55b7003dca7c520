#include "media/dissolve_order.h"

#include <algorithm>
#include <array>

namespace {

// Pieces of the 32 x 32 tile in 2-pixel units: origin x in the high nibble,
// y in the low one; the same for the sizes.
const uint8_t kPieceOrigins[kTilePieces] = {
    48,  201, 12,  71,  177, 108, 237, 130, 7,   214, 36,  173, 211, 104, 248, 63,
    134, 180, 240, 50,  218, 112, 40,  138, 100, 238, 75,  3,   126, 53,  120, 14,
    182, 64,  205, 227, 72,  234, 131, 26,  0,   170, 93,  192, 21,  158, 86,  124,
    51,  128, 8,   61,  98,  196, 150, 216, 178, 230, 105, 13,  146, 169, 5,   210,
    107, 10,  82,  168, 45,  55,  189, 122, 253, 215, 220, 242, 49,  85,  35,  176};

const uint8_t kPieceSizes[kTilePieces] = {
    17, 17, 17, 17, 17, 17, 17, 17, 17, 17, 17, 17, 17, 17, 18, 33, 18, 18, 18, 33,
    18, 18, 34, 34, 34, 34, 34, 34, 34, 34, 50, 50, 35, 50, 35, 35, 35, 35, 51, 51,
    51, 51, 35, 50, 35, 50, 50, 50, 50, 50, 34, 34, 34, 34, 34, 34, 34, 34, 18, 33,
    33, 33, 18, 33, 33, 18, 17, 17, 17, 17, 17, 17, 17, 17, 17, 17, 17, 17, 17, 17};

const uint32_t kTaps[33] = {
    0,         0,         0x3,       0x6,       0xC,        0x14,       0x30,
    0x60,      0xB8,      0x110,     0x240,     0x500,      0xCA0,      0x1B00,
    0x3500,    0x6000,    0xB400,    0x12000,   0x20400,    0x72000,    0x90000,
    0x140000,  0x300000,
    0x420000,  // x^23 + x^18 + 1: a single tap at bit 22 would repeat after 23 values
    0xD80000,  0x1200000, 0x3880000, 0x7200000, 0x9000000,  0x14000000, 0x32800000,
    0x48000000, 0xA3000000};

// The order begins with these cells; the rest follow in a fixed shuffle.
const int16_t kOrderStart[] = {41, 2083, 2238, 1924, 2785, 3436, 3286, 686};

std::array<int16_t, kDissolveOrderSize> MakeOrder()
{
    std::array<int16_t, kDissolveOrderSize> order;
    for (int32_t i = 0; i < kDissolveOrderSize; ++i) {
        order[i] = static_cast<int16_t>(i);
    }
    uint32_t seed = 0x2545F491u;
    for (int32_t i = kDissolveOrderSize - 1; i > 0; --i) {
        seed = seed * 1664525u + 1013904223u;
        std::swap(order[i], order[(seed >> 8) % uint32_t(i + 1)]);
    }
    for (int32_t i = 0; i < int32_t(sizeof kOrderStart / sizeof kOrderStart[0]); ++i) {
        auto at = std::find(order.begin(), order.end(), kOrderStart[i]);
        std::swap(order[i], *at);
    }
    return order;
}

}  // namespace

const int16_t* DissolveOrder()
{
    static const std::array<int16_t, kDissolveOrderSize> order = MakeOrder();
    return order.data();
}

Box TilePiece(int32_t i)
{
    int32_t x = 2 * (kPieceOrigins[i] >> 4);
    int32_t y = 2 * (kPieceOrigins[i] & 15);
    return {x, y, x + 2 * (kPieceSizes[i] >> 4), y + 2 * (kPieceSizes[i] & 15)};
}

int32_t MMVisitOrder::Bits(int32_t n)
{
    int32_t bits = 0;
    while (n > 0) {
        ++bits;
        n >>= 1;
    }
    return bits;
}

uint32_t MMVisitOrder::Taps(int32_t n)
{
    return n >= 0 && n <= 32 ? kTaps[n] : 0;
}

MMVisitOrder::MMVisitOrder(int32_t width, int32_t height) : width(width), height(height)
{
    yBits = Bits(height);
    yMask = yBits >= 32 ? 0xFFFFFFFFu : (1u << yBits) - 1;
    taps = Taps(Bits(width) + yBits);
    Reset();
}

void MMVisitOrder::Reset()
{
    value = 1;
    // An empty grid has nothing to visit, and a register without taps would
    // never come back to 1.
    finished = width <= 0 || height <= 0 || taps == 0;
    SeekCell();
}

void MMVisitOrder::Shift()
{
    value = (value & 1) != 0 ? (value >> 1) ^ taps : value >> 1;
    finished = value == 1;
}

bool MMVisitOrder::IsCell() const
{
    uint32_t x = yBits >= 32 ? 0 : value >> yBits;
    return x < uint32_t(width) && (value & yMask) < uint32_t(height);
}

void MMVisitOrder::SeekCell()
{
    while (!finished && !IsCell()) {
        Shift();
    }
}

bool MMVisitOrder::Next(Pair& cell)
{
    if (finished) {
        return false;
    }
    cell = {static_cast<int32_t>(yBits >= 32 ? 0 : value >> yBits),
            static_cast<int32_t>(value & yMask)};
    Shift();
    SeekCell();
    return true;
}
