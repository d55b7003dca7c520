#pragma once
// Dissolves replace the old picture by the new one in a scattered order;
// fades go through black.
#include <cstdint>
#include "framework/color_table.h"
#include "media/bitmap.h"
#include "media/dissolve_order.h"
#include "media/transition_effect.h"

class MMDissolveEffect : public MMTransitionEffect {
public:
    // Applies the operation to piece i of every 32 x 32 tile of the box
    // (clipped to the box), for the 80 pieces in turn.
    template <class Operation>
    bool TileDissolve(const Box& box, Operation operation);
    // Moves whole pixels from source to destination, both of one pixel kind,
    // at offset (d & 63, d >> 6) of every 64 x 64 tile for each entry d of
    // the dissolve order.
    bool PixelDissolve(const Box& box, const MMBitmap& source, const MMBitmap& destination);
    // The same, writing pixels of zero bytes (black, or palette entry 0).
    bool PixelFill(const Box& box, const MMBitmap& destination);

protected:
    // True when the screen and the offscreen surface both offer pixel stores
    // of one kind: the dissolves then move pixels.
    bool SharedStores(MMBitmap& screenStore, MMBitmap& offscreenStore) const;
};

class MMTransitionDissolve : public MMDissolveEffect {
public:
    bool Animate(const Box& box) override;
};

// Black first, in the first half of the time, then the new picture.
class MMTransitionFadeToBlack : public MMDissolveEffect {
public:
    bool Animate(const Box& box) override;
};

// Colour steps from P (step 0 close to it) to Q (the last step exactly Q).
class MMPaletteFader {
public:
    MMPaletteFader(const MMColorTable& from, const MMColorTable& to, int32_t steps);
    void Step(int32_t i, MMColorTable& out) const;
    int32_t Steps() const { return steps; }

private:
    MMColorTable target;
    int32_t delta[256][3];
    int32_t steps;
};

// Cells of the given size in a visiting order; the cell (0, 0) last.
class MMTransitionRandomDissolve : public MMDissolveEffect {
public:
    MMTransitionRandomDissolve(int32_t cellWidth, int32_t cellHeight);
    bool Animate(const Box& box) override;

private:
    int32_t cellWidth;
    int32_t cellHeight;
};

// Pixels of the new picture move into a copy of the screen in visiting
// order; the copy goes to the screen every so many pixels.
class MMTransitionBufferDissolve : public MMDissolveEffect {
public:
    explicit MMTransitionBufferDissolve(int32_t divisor);
    bool Animate(const Box& box) override;

private:
    int32_t divisor;
};

// Scattered single pixels, then 2 x 2 and 4 x 4 cells, each pass in its own
// visiting order; the whole box last.
class MMTransitionThreePassDissolve : public MMDissolveEffect {
public:
    bool Animate(const Box& box) override;
    // The box goes black before the colour table is applied, so the new
    // picture never shows in the old colours.
    void RunFromBlack(MMSurface* screen, WinMMOffscreenSurface* offscreen, const Box& box,
                      const MMColorTable* table);

private:
    bool Pass(const Box& box, int32_t cellSize, int32_t& shown, int32_t total);
};

// The new picture appears black and its colours come up from black.
class MMTransitionCutToBlackThenPaletteFadeIn : public MMDissolveEffect {
public:
    explicit MMTransitionCutToBlackThenPaletteFadeIn(int32_t steps);
    void Run(MMSurface* screen, WinMMOffscreenSurface* offscreen, const Box& box,
             const MMColorTable* table) override;
    bool Animate(const Box& box) override;

protected:
    // Fade-in steps first to first + count - 1 of `total` paced steps.
    bool FadeIn(const Box& box, int32_t first, int32_t count, int32_t total);

    int32_t steps;
    MMColorTable targetTable;
};

// The old colours go to black, then the new picture's come up from black.
class MMTransitionFadeToBlackThenPaletteFadeIn : public MMTransitionCutToBlackThenPaletteFadeIn {
public:
    explicit MMTransitionFadeToBlackThenPaletteFadeIn(int32_t steps);
    void Run(MMSurface* screen, WinMMOffscreenSurface* offscreen, const Box& box,
             const MMColorTable* table) override;
    bool Animate(const Box& box) override;

private:
    MMColorTable oldTable;
};

template <class Operation>
bool MMDissolveEffect::TileDissolve(const Box& box, Operation operation)
{
    for (int32_t i = 0; i < kTilePieces; ++i) {
        Box piece = TilePiece(i);
        for (int32_t y = box.top; y + piece.top < box.bottom; y += kTileSize) {
            for (int32_t x = box.left; x + piece.left < box.right; x += kTileSize) {
                Box part = {x + piece.left, y + piece.top, x + piece.right, y + piece.bottom};
                part.Intersect(box);
                operation(part);
            }
        }
        if (!Pace(i, kTilePieces)) {
            return false;
        }
    }
    return true;
}
