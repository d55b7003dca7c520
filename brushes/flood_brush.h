#pragma once
// Flood fills: a click pours the tool's colour (or the colour weighted by a
// tiled pattern) into the connected region under it. A scanline seed fill
// marks the region, a soft edge gives the pixels around it a partial mark
// by their brightness, and the apply pass paints every mark and clears it.
// The marks live in a byte plane of the brush's own, so other paint in the
// region's box is never mistaken for them.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "brushes/flood_scan.h"
#include "brushes/std_brush.h"
#include "framework/ring_buffer.h"

class KVXCanvasVisual;

typedef KVXBrushStdTransfer<KVXNULLTransfer, KVXPlainPixelTransfer, KVXHeightTransfer,
                            KVXColorGeneratorColor, KVXOpacityGeneratorBase>
    KVXFloodBrushBase;

class KVXBrushFlood : public KVXFloodBrushBase {
public:
    static constexpr uint8_t kTaken = 255;
    static constexpr int32_t kQueueSize = 1024;
    static constexpr int16_t kColorTestMode = 510;

    // mode: the tool's slider 1 (510 the colour test, else the height
    // test); heightValue: its slider 2 (255 keeps heights).
    KVXBrushFlood(const double params[4], const uint8_t ramp[4], const double opacityNumbers[4],
                  const uint8_t heights[2], KVXPlaneComponent* plane,
                  const KVXBitmap<uint8_t>* nibMaster, const KVXBitmap<uint8_t>* texture,
                  const uint8_t* colour, KVXCanvasVisual* canvasVisual, const int16_t* mode,
                  const int16_t* heightValue);
    ~KVXBrushFlood() override;

    // A fill is poured once, at the press: moving or lifting the pen adds
    // nothing (pouring again would soften the edge once more each time).
    void BeginStroke(const BrushDab* sample) override;
    void ContinueStroke(const BrushDab*) override {}
    void EndStroke(const BrushDab*) override {}
    void Dab(const BrushDab* sample) override;
    virtual void ApplyFill(const Box& box);

    const KVXPlaneUChar& Marks() const { return *marks; }

protected:
    struct Seed {
        int32_t x;
        int32_t y;
    };

    // Whether a click at the sample may start a fill.
    bool InsideCanvasVisual(const BrushDab& sample) const;
    // Marks the region connected to (x, y) and returns its box (inclusive);
    // with checker set, taken pixels of odd x + y beside a span's seed turn
    // black. False when the seed lies outside the plane.
    bool SeedFill(int32_t x, int32_t y, bool checker, Box& region);
    // Grows the region by one pixel (clamped, inclusive) and gives the
    // unmarked plain pixels touching it their partial mark.
    Box SoftenEdge(const Box& region);
    // Clears every mark of an inclusive box.
    void ClearMarks(const Box& box);
    // The dirty box of an inclusive box.
    void AddInclusiveDirtyRect(const Box& box);
    // The new height of a pixel for a weight w (0 to 255) and mark m.
    uint16_t HeightFor(uint16_t height, int32_t w, int32_t m) const;
    uint8_t& MarkAt(int32_t x, int32_t y) { return *marks->PixelAt(x, y); }

    KVXCanvasVisual* canvasVisual;
    const int16_t* mode;
    const int16_t* heightValue;

private:
    bool EnsureMarks();
    // Whether an unmarked pixel passes the fill's test (plain, and near the
    // seed's colour or not far above its height).
    bool Passes(const KVXComponentPixel& p)
    {
        if (!colorTest)
            // Everything lower than the seed, and up to 32 above it.
            return p.type == kPixelPlain && int32_t(p.height) - int32_t(seedPixel.height) <= 32;
        uint32_t word = p.ColorWord();
        if (word != lastWord) {
            lastWord = word;
            int32_t most = std::max({std::abs(p.blue - seedPixel.blue),
                                     std::abs(p.green - seedPixel.green),
                                     std::abs(p.red - seedPixel.red)});
            lastAnswer = p.type == kPixelPlain && most <= 32;
        }
        return lastAnswer;
    }
    bool IsFillable(const uint8_t* markRow, const KVXComponentPixel* row, int32_t x)
    {
        return markRow[x] == 0 && Passes(row[x]);
    }
    bool IsFillable(int32_t x, int32_t y)
    {
        return IsFillable(marks->Row(y), plane->Row(y), x);
    }
    bool TakePixel(uint8_t* markRow, const KVXComponentPixel* row, int32_t x)
    {
        if (!IsFillable(markRow, row, x))
            return false;
        markRow[x] = kTaken;
        return true;
    }
    // Takes the run of pixels from x toward end (exclusive, step -1 or 1);
    // returns where it stopped (end when it ran to the end).
    int32_t TakeRun(int32_t y, int32_t x, int32_t end, int32_t step, bool checker);
    void Push(int32_t x, int32_t y);
    void PushRuns(int32_t row, int32_t from, int32_t to);
    // After seeds were dropped by a full queue: seeds for every fillable
    // pixel beside the region, so nothing stays unfilled.
    void Rescan(const Box& region);

    Seed storage[kQueueSize];
    UURingBuffer queue;
    bool overflowed = false;
    KVXPlaneUCharTop* marks = nullptr;
    KVXComponentPixel seedPixel = {};
    // The fill's test, fixed when it starts; the colour test keeps its last
    // answer, since neighbouring pixels mostly share their colour.
    bool colorTest = false;
    FloodBlockTest blockTest;
    uint32_t lastWord = 0;
    bool lastAnswer = false;
};

// The colour weighted by a tiled 8-bit pattern picture.
class KVXBrushPatternFlood : public KVXBrushFlood {
public:
    KVXBrushPatternFlood(const double params[4], const uint8_t ramp[4],
                         const double opacityNumbers[4], const uint8_t heights[2],
                         KVXPlaneComponent* plane, const KVXBitmap<uint8_t>* nibMaster,
                         const KVXBitmap<uint8_t>* texture, const uint8_t* colour,
                         KVXCanvasVisual* canvasVisual, const int16_t* mode,
                         const int16_t* heightValue, const int32_t* pattern);
    void ApplyFill(const Box& box) override;

private:
    const int32_t* pattern;
};
