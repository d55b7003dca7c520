#pragma once
// The scrambled orders of the dissolves: a fixed permutation of the 4096
// cells of a 64 x 64 grid, the 80 pieces that tile a 32 x 32 square, and a
// visiting order over any grid by a Galois shift register.
#include <cstdint>
#include "framework/geometry.h"

constexpr int32_t kDissolveOrderSize = 4096;
constexpr int32_t kTilePieces = 80;
constexpr int32_t kTileSize = 32;

// Every number from 0 to 4095 once; the same order for every effect.
const int16_t* DissolveOrder();
// Piece i of a 32 x 32 tile whose corner is (0, 0).
Box TilePiece(int32_t i);

class MMVisitOrder {
public:
    // Cells of a grid with no cells, or too many for a 32-bit register, are
    // never visited.
    MMVisitOrder(int32_t width, int32_t height);

    // Back to the first cell.
    void Reset();
    // The current cell, moving on to the next; false once every cell but
    // (0, 0) has been given.
    bool Next(Pair& cell);
    bool Finished() const { return finished; }

    // Number of significant bits of n (0 for n <= 0).
    static int32_t Bits(int32_t n);
    // The feedback taps of a register n bits wide (0 outside 2 to 32).
    static uint32_t Taps(int32_t n);

private:
    void Shift();
    bool IsCell() const;
    void SeekCell();

    int32_t width;
    int32_t height;
    uint32_t value = 1;
    uint32_t taps = 0;
    int32_t yBits = 0;
    uint32_t yMask = 0;
    bool finished = true;
};
