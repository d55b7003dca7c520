// Times a sample's dabs for each brush family against the 5 ms between
// samples of a 200 Hz pen, and a flood fill of a blank canvas against a copy
// of the 32-bit frame. Prints ratios; the README keeps the figures.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "brushes/flood_brush.h"
#include "brushes/multi_brush.h"
#include "brushes/smear_brush.h"
#include "brushes/squeegee_brush.h"
#include "brushes/std_brush.h"
#include "framework/random.h"

namespace {

typedef std::chrono::steady_clock Clock;

// The fastest of five rounds of repeat calls, per call: on a machine shared
// with other work the fastest round is the one least disturbed.
double Seconds(const std::function<void()>& work, int repeat)
{
    work();  // warm the caches and tables
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        auto start = Clock::now();
        for (int i = 0; i < repeat; ++i)
            work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count() / repeat);
    }
    return best;
}

struct Canvas : KVXPlaneComponentTop {
    Canvas(int32_t w, int32_t h) : KVXPlaneComponentTop({w, h}) { Fill(kBlankPixel); }
};

struct Bytes : KVXPlaneUCharTop {
    Bytes(int32_t w, int32_t h, int step) : KVXPlaneUCharTop({w, h})
    {
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                *PixelAt(x, y) = uint8_t(step == 0 ? 255 : (x * step + y * 7) & 0xFF);
    }
};

const double kSamplePeriod = 0.005;
const uint8_t kRamp[4] = {120, 40, 90, 30};
const double kOpacity[4] = {200.0, 255.0, 60.0, 128.0};
const uint8_t kHeights[2] = {10, 60};
uint8_t gColour[4] = {30, 90, 200, 0};

// One dab per sample along a row, the pen moving 3 pixels per sample.
double DabCost(BrushBase& brush, int32_t y)
{
    int32_t x = 100;
    return Seconds([&] {
        BrushDab dab;
        dab.Set(x, y, 19, 3, 0);
        brush.Dab(&dab);
        x = x >= 500 ? 100 : x + 3;
    }, 200);
}

void Report(const char* name, double seconds)
{
    std::printf("%-28s %8.3f ms per sample's dabs  %5.1f%% of 5 ms\n", name, seconds * 1000,
                100 * seconds / kSamplePeriod);
}

// A family's brush, and whether a stroke must have begun before its dabs.
struct Family {
    const char* name;
    BrushBase* brush;
    bool beginsStroke;
};

}  // namespace

int main()
{
    Canvas canvas(640, 480);
    Bytes texture(640, 480, 13);
    Bytes nib255(255, 255, 0);
    double params[4] = {0.1, 0.1, 255, 255};

    // A rake of five bristles of 128 pixels, each dab a sample of each.
    double bristleParams[4] = {0.1, 0.1, 128, 128};
    Bytes nib128(128, 128, 0);
    auto* rake = new KVXBrushRake(&canvas, 20.0);
    for (int i = 0; i < 5; ++i) {
        BrushBase* bristle = new KVXBrushStdTransfer<KVXCoverTransfer, KVXPlainPixelTransfer,
                                                     KVXHeightTransfer,
                                                     KVXColorGeneratorOffsetSaturation,
                                                     KVXOpacityGeneratorTexture>(
            bristleParams, kRamp, kOpacity, kHeights, &canvas, &nib128, &texture, gColour);
        rake->AddBrush(bristle);
    }
    rake->SetPathGenerator(new SimplePathGenerator);

    const Family families[] = {
        {"cover + grainy",
         new KVXBrushStdTransfer<KVXCoverTransfer, KVXPlainPixelTransfer, KVXHeightTransfer,
                                 KVXColorGeneratorSaturation, KVXOpacityGeneratorGrainy>(
             params, kRamp, kOpacity, kHeights, &canvas, &nib255, &texture, gColour),
         false},
        {"buildup + nib",
         new KVXBrushStdTransfer<KVXBuildupTransfer, KVXPlainPixelTransfer, KVXHeightTransfer,
                                 KVXColorGeneratorBleed, KVXOpacityGeneratorNib>(
             params, kRamp, kOpacity, kHeights, &canvas, &nib255, &texture, gColour),
         false},
        {"write-all eraser",
         new KVXBrushWriteAll<KVXCoverTransfer, KVXPlainPixelTransfer, KVXHeightEraser,
                              KVXColorGeneratorColor, KVXOpacityGeneratorNib>(
             params, kRamp, kOpacity, kHeights, &canvas, &nib255, &texture, gColour),
         false},
        {"smear",
         new KVXBrushDirectionalCAndHMover<KVXCoverTransfer, KVXPlainPixelTransfer,
                                           KVXHeightTransfer, KVXColorGeneratorSaturation,
                                           KVXOpacityGeneratorNib>(
             params, kRamp, kOpacity, kHeights, &canvas, &nib255, &texture, gColour),
         false},
        {"squeegee",
         new KVXBrushSqueegeeBase<KVXCoverTransfer, KVXPlainPixelTransfer, KVXHeightEraser,
                                  KVXColorGeneratorColor, KVXOpacityGeneratorNib>(
             params, kRamp, kOpacity, kHeights, &canvas, &nib255, &texture, gColour),
         true},
        {"rake of 5 x 128", rake, true},
    };
    for (const Family& family : families) {
        if (family.beginsStroke) {
            BrushDab down;
            down.Set(100, 240, 19, 0, 0);
            family.brush->BeginStroke(&down);
        }
        Report(family.name, DabCost(*family.brush, 240));
        delete family.brush;
    }

    // A flood fill of a blank 800 x 600 canvas against a frame copy.
    Canvas blank(800, 600);
    Bytes nib1(1, 1, 0);
    int16_t mode = 510;
    int16_t height = 255;
    KVXBrushFlood flood(params, kRamp, kOpacity, kHeights, &blank, &nib1, nullptr, gColour,
                        nullptr, &mode, &height);
    double fill = Seconds([&] {
        BrushDab click;
        click.Set(400, 300, 0, 0, 0);
        flood.Dab(&click);
    }, 10);
    std::vector<uint32_t> frame(800 * 600, 0x00FFFFFF);
    std::vector<uint32_t> copy(800 * 600);
    double memcpyTime = Seconds([&] {
        std::memcpy(copy.data(), frame.data(), frame.size() * 4);
        frame[copy[17] & 7] ^= 1;
    }, 200);
    std::printf("%-28s %8.3f ms  %5.1f x a copy of the 32-bit frame (%.3f ms)\n",
                "flood fill 800 x 600", fill * 1000, fill / memcpyTime, memcpyTime * 1000);
    return 0;
}
