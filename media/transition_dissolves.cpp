#include "media/transition_dissolves.h"

#include <windows.h>
#include <cstring>
#include "media/offscreen_surface.h"

namespace {

// Moves one pixel of `bytes` bytes.
inline void MovePixel(uint8_t* to, const uint8_t* from, int32_t bytes)
{
    switch (bytes) {
    case 4: std::memcpy(to, from, 4); break;
    case 3: std::memcpy(to, from, 3); break;
    default: std::memcpy(to, from, bytes); break;
    }
}

Box Clipped(Box box, const MMBitmap& a, const MMBitmap& b)
{
    box.Intersect(a.box);
    box.Intersect(b.box);
    return box;
}

// First position at or after `from` that is `start` plus a multiple of 64.
int32_t FirstOnGrid(int32_t start, int32_t from)
{
    return start >= from ? start : start + (from - start + 63) / 64 * 64;
}

// For each entry of the dissolve order, the operation on every pixel at
// that offset of a 64 x 64 tile of box, inside clip.
template <class PixelOperation>
bool ForEachEntry(MMTransitionEffect& effect, const Box& box, const Box& clip,
                  PixelOperation operation)
{
    const int16_t* order = DissolveOrder();
    for (int32_t e = 0; e < kDissolveOrderSize; ++e) {
        int32_t d = order[e];
        int32_t left = FirstOnGrid(box.left + (d & 63), clip.left);
        int32_t top = FirstOnGrid(box.top + (d >> 6), clip.top);
        for (int32_t y = top; y < clip.bottom; y += 64) {
            for (int32_t x = left; x < clip.right; x += 64) {
                operation(x, y);
            }
        }
        if (!effect.Pace(e, kDissolveOrderSize)) {
            return false;
        }
    }
    return true;
}

MMColorTable BlackTable()
{
    return MMColorTable();
}

// The colours of the palette selected into the device context.
MMColorTable CurrentColors(HDC dc)
{
    MMColorTable table;
    PALETTEENTRY entries[256] = {};
    HPALETTE palette = static_cast<HPALETTE>(GetCurrentObject(dc, OBJ_PAL));
    UINT count = palette != nullptr ? GetPaletteEntries(palette, 0, 256, entries) : 0;
    for (UINT i = 0; i < count && i < 256; ++i) {
        table.entries[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    }
    return table;
}

}  // namespace

bool MMDissolveEffect::SharedStores(MMBitmap& screenStore, MMBitmap& offscreenStore) const
{
    if (!screen->GetBitmap(screenStore) || !offscreen->GetBitmap(offscreenStore)) {
        return false;
    }
    return screenStore.pixelKind == offscreenStore.pixelKind &&
           screenStore.bitsPerPixel == offscreenStore.bitsPerPixel &&
           screenStore.bitsPerPixel % 8 == 0 && screenStore.bitsPerPixel > 0;
}

bool MMDissolveEffect::PixelDissolve(const Box& box, const MMBitmap& source,
                                     const MMBitmap& destination)
{
    GdiFlush();
    int32_t bytes = destination.bitsPerPixel / 8;
    return ForEachEntry(*this, box, Clipped(box, source, destination), [&](int32_t x, int32_t y) {
        MovePixel(destination.PixelAddress(x, y), source.PixelAddress(x, y), bytes);
    });
}

bool MMDissolveEffect::PixelFill(const Box& box, const MMBitmap& destination)
{
    GdiFlush();
    int32_t bytes = destination.bitsPerPixel / 8;
    return ForEachEntry(*this, box, Clipped(box, destination, destination),
                        [&](int32_t x, int32_t y) {
                            std::memset(destination.PixelAddress(x, y), 0, bytes);
                        });
}

bool MMTransitionDissolve::Animate(const Box& box)
{
    MMBitmap screenStore;
    MMBitmap offscreenStore;
    if (SharedStores(screenStore, offscreenStore)) {
        return PixelDissolve(box, offscreenStore, screenStore);
    }
    return TileDissolve(box, [this](const Box& part) { CopyBox(part); });
}

bool MMTransitionFadeToBlack::Animate(const Box& box)
{
    int32_t fullDuration = duration;
    duration /= 2;
    bool result = true;
    MMBitmap screenStore;
    MMBitmap offscreenStore;
    if (SharedStores(screenStore, offscreenStore)) {
        result = PixelFill(box, screenStore);
        if (result) {
            startTime = Now();
            result = PixelDissolve(box, offscreenStore, screenStore);
        }
    } else {
        if (!TileDissolve(box, [this](const Box& part) { FillBlack(part); })) {
            FillBlack(box);
        }
        startTime = Now();
        if (!TileDissolve(box, [this](const Box& part) { CopyBox(part); })) {
            CopyBox(box);
        }
    }
    duration = fullDuration;
    return result;
}

MMPaletteFader::MMPaletteFader(const MMColorTable& from, const MMColorTable& to, int32_t count)
    : target(to), steps(count > 0 ? count : 1)
{
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD& p = from.entries[i];
        const RGBQUAD& q = to.entries[i];
        delta[i][0] = (int32_t(p.rgbBlue) - q.rgbBlue) * 65536 / steps;
        delta[i][1] = (int32_t(p.rgbGreen) - q.rgbGreen) * 65536 / steps;
        delta[i][2] = (int32_t(p.rgbRed) - q.rgbRed) * 65536 / steps;
    }
}

void MMPaletteFader::Step(int32_t i, MMColorTable& out) const
{
    int32_t remaining = steps - 1 - i;
    out.Assign(target);
    for (int e = 0; e < 256; ++e) {
        RGBQUAD& entry = out.entries[e];
        // The shift rounds toward minus infinity.
        entry.rgbBlue = static_cast<BYTE>(entry.rgbBlue + ((delta[e][0] * remaining) >> 16));
        entry.rgbGreen = static_cast<BYTE>(entry.rgbGreen + ((delta[e][1] * remaining) >> 16));
        entry.rgbRed = static_cast<BYTE>(entry.rgbRed + ((delta[e][2] * remaining) >> 16));
    }
}

MMTransitionRandomDissolve::MMTransitionRandomDissolve(int32_t cellWidth, int32_t cellHeight)
    : cellWidth(cellWidth), cellHeight(cellHeight)
{
}

bool MMTransitionRandomDissolve::Animate(const Box& box)
{
    if (cellWidth < 1 || cellHeight < 1) {
        return false;
    }
    int32_t columns = box.Width() / cellWidth;
    int32_t rows = box.Height() / cellHeight;
    int32_t cells = columns * rows;
    MMBitmap store;
    bool onePixel = cellWidth == 1 && cellHeight == 1 && offscreen->GetBitmap(store) &&
                    (store.pixelKind == kPixelIndexed || store.pixelKind == kPixelBGRA);
    auto copyCell = [&](const Pair& cell) {
        int32_t x = box.left + cell.x * cellWidth;
        int32_t y = box.top + cell.y * cellHeight;
        if (!onePixel) {
            CopyBox({x, y, x + cellWidth, y + cellHeight});
            return;
        }
        const uint8_t* p = store.PixelAddress(x, y);
        MMColor color = store.pixelKind == kPixelIndexed
                            ? MakeMMColorFromIndex(p[0])
                            : MakeMMColorFromRgb(p[0] | (p[1] << 8) | (p[2] << 16));
        screen->SetPixel(x, y, color);
    };
    int32_t every = 1 << MMVisitOrder::Bits(cells / 1000);
    MMVisitOrder order(columns, rows);
    Pair cell;
    for (int32_t count = 1; order.Next(cell); ++count) {
        copyCell(cell);
        if (count % every == 0 && !Pace(count, cells)) {
            return false;
        }
    }
    if (cells > 0) {
        copyCell({0, 0});
    }
    // What the whole cells leave at the right and bottom edges.
    CopyBox({box.left + columns * cellWidth, box.top, box.right, box.bottom});
    CopyBox({box.left, box.top + rows * cellHeight, box.right, box.bottom});
    return true;
}

MMTransitionBufferDissolve::MMTransitionBufferDissolve(int32_t divisor)
    : divisor(divisor > 0 ? divisor : 1)
{
}

bool MMTransitionBufferDissolve::Animate(const Box& box)
{
    int32_t kind = offscreen->GetPixelKind();
    if (kind != kPixelIndexed && kind != kPixelBGRA) {
        return false;
    }
    WinMMOffscreenSurface* buffer = MMSurface::CreateBitmapDC(
        kind == kPixelIndexed ? 8 : 32, box, kind == kPixelIndexed ? &offscreen->ColorTable() : nullptr);
    if (buffer == nullptr) {
        return false;
    }
    BitBlt(buffer->GetDC(), box.left, box.top, box.Width(), box.Height(), screen->GetDC(),
           box.left, box.top, SRCCOPY);
    GdiFlush();
    MMBitmap from;
    MMBitmap to;
    offscreen->GetBitmap(from);
    buffer->GetBitmap(to);
    int32_t bytes = to.bitsPerPixel / 8;
    int32_t area = box.Width() * box.Height();
    int32_t every = 1 << MMVisitOrder::Bits(area / divisor);
    MMVisitOrder order(box.Width(), box.Height());
    Box inside = Clipped(box, from, to);
    auto movePixel = [&](const Pair& cell) {
        Pair at = {box.left + cell.x, box.top + cell.y};
        if (inside.Contains(at)) {
            MovePixel(to.PixelAddress(at.x, at.y), from.PixelAddress(at.x, at.y), bytes);
        }
    };
    bool inTime = true;
    Pair cell;
    for (int32_t count = 1; order.Next(cell); ++count) {
        movePixel(cell);
        if (count % every == 0) {
            if (!Pace(count, area)) {
                inTime = false;
                break;
            }
            screen->CopyFromOffscreen(*buffer, box);
        }
    }
    if (inTime) {
        movePixel({0, 0});
        screen->CopyFromOffscreen(*buffer, box);
    }
    buffer->Dispose();
    return inTime;
}

namespace {

constexpr int32_t kThreePassCells[] = {1, 2, 4};

int32_t CellsOf(const Box& box, int32_t cellSize)
{
    return ((box.Width() + cellSize - 1) / cellSize) * ((box.Height() + cellSize - 1) / cellSize);
}

}  // namespace

bool MMTransitionThreePassDissolve::Animate(const Box& box)
{
    if (box.Width() <= 0 || box.Height() <= 0) {
        return true;
    }
    int32_t total = 0;
    for (int32_t size : kThreePassCells) {
        total += CellsOf(box, size);
    }
    int32_t shown = 0;
    for (int32_t size : kThreePassCells) {
        if (!Pass(box, size, shown, total)) {
            return false;
        }
    }
    CopyBox(box);
    return true;
}

bool MMTransitionThreePassDissolve::Pass(const Box& box, int32_t cellSize, int32_t& shown,
                                         int32_t total)
{
    int32_t columns = (box.Width() + cellSize - 1) / cellSize;
    int32_t rows = (box.Height() + cellSize - 1) / cellSize;
    int32_t every = 1 << MMVisitOrder::Bits(columns * rows / 1000);
    auto copyCell = [&](const Pair& cell) {
        Box part = {box.left + cell.x * cellSize, box.top + cell.y * cellSize, 0, 0};
        part.right = part.left + cellSize;
        part.bottom = part.top + cellSize;
        part.Intersect(box);
        CopyBox(part);
    };
    MMVisitOrder order(columns, rows);
    Pair cell;
    for (int32_t count = 1; order.Next(cell); ++count) {
        copyCell(cell);
        ++shown;
        if (count % every == 0 && !Pace(shown, total)) {
            return false;
        }
    }
    copyCell({0, 0});
    ++shown;
    return true;
}

void MMTransitionThreePassDissolve::RunFromBlack(MMSurface* newScreen,
                                                 WinMMOffscreenSurface* newOffscreen,
                                                 const Box& box, const MMColorTable* table)
{
    screen = newScreen;
    FillBlack(box);
    Run(newScreen, newOffscreen, box, table);
}

MMTransitionCutToBlackThenPaletteFadeIn::MMTransitionCutToBlackThenPaletteFadeIn(int32_t steps)
    : steps(steps > 0 ? steps : 1)
{
}

void MMTransitionCutToBlackThenPaletteFadeIn::Run(MMSurface* newScreen,
                                                  WinMMOffscreenSurface* newOffscreen,
                                                  const Box& box, const MMColorTable* table)
{
    targetTable.Assign(table != nullptr ? *table : newOffscreen->ColorTable());
    MMTransitionEffect::Run(newScreen, newOffscreen, box, nullptr);
}

bool MMTransitionCutToBlackThenPaletteFadeIn::FadeIn(const Box& box, int32_t first,
                                                     int32_t count, int32_t total)
{
    if (count < 1) {
        offscreen->SetColorTable(targetTable);
        ApplyColorTable(&targetTable);
        return false;
    }
    MMColorTable black = BlackTable();
    offscreen->SetColorTable(black);
    ApplyColorTable(&black);
    CopyBox(box);
    MMPaletteFader fader(black, targetTable, count);
    MMColorTable colors;
    for (int32_t i = 0; i < count; ++i) {
        fader.Step(i, colors);
        offscreen->SetColorTable(colors);
        ApplyColorTable(&colors);
        CopyBox(box);
        if (!Pace(first + i, total)) {
            offscreen->SetColorTable(targetTable);
            ApplyColorTable(&targetTable);
            return false;
        }
    }
    return true;
}

bool MMTransitionCutToBlackThenPaletteFadeIn::Animate(const Box& box)
{
    return FadeIn(box, 0, steps, steps);
}

MMTransitionFadeToBlackThenPaletteFadeIn::MMTransitionFadeToBlackThenPaletteFadeIn(int32_t steps)
    : MMTransitionCutToBlackThenPaletteFadeIn(steps)
{
}

void MMTransitionFadeToBlackThenPaletteFadeIn::Run(MMSurface* newScreen,
                                                   WinMMOffscreenSurface* newOffscreen,
                                                   const Box& box, const MMColorTable* table)
{
    oldTable = CurrentColors(newScreen->GetDC());
    MMTransitionCutToBlackThenPaletteFadeIn::Run(newScreen, newOffscreen, box, table);
}

bool MMTransitionFadeToBlackThenPaletteFadeIn::Animate(const Box& box)
{
    int32_t fadeOut = steps - steps / 2;
    MMPaletteFader fader(oldTable, BlackTable(), fadeOut);
    MMColorTable colors;
    WinMMOffscreenSurface* old = nullptr;
    if (screen->GetPixelKind() != kPixelIndexed) {
        // The old picture in its old colours, whose table then goes dark.
        old = MMSurface::CreateBitmapDC(8, box, &oldTable);
        if (old != nullptr) {
            BitBlt(old->GetDC(), box.left, box.top, box.Width(), box.Height(), screen->GetDC(),
                   box.left, box.top, SRCCOPY);
        }
    }
    bool inTime = true;
    for (int32_t i = 0; i < fadeOut && inTime; ++i) {
        fader.Step(i, colors);
        if (old != nullptr) {
            old->SetColorTable(colors);
            ApplyColorTable(&colors);
            screen->CopyFromOffscreen(*old, box);
        } else {
            ApplyColorTable(&colors);
        }
        inTime = Pace(i, steps);
    }
    if (old != nullptr) {
        old->Dispose();
    }
    if (!inTime) {
        offscreen->SetColorTable(targetTable);
        ApplyColorTable(&targetTable);
        return false;
    }
    return FadeIn(box, fadeOut, steps / 2, steps);
}
