// Times a full 800 x 600 redraw into the 32-bit back buffer: a 32-bit picture
// with alpha, the same with a layer of encoded sprites over it, and a plain
// memcpy of the same bytes. Each figure is printed as a ratio to the memcpy.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>
#include "media/blit_request.h"
#include "media/encoded_image.h"
#include "media/offscreen_surface.h"
#include "media/row_blitters.h"
#include "media/transition_dissolves.h"
#include "media/transition_wipes.h"

namespace {

const int kWidth = 800;
const int kHeight = 600;
const int kSprite = 96;
const int kSprites = 24;

uint32_t gSeed = 12345;
uint32_t Next()
{
    gSeed = gSeed * 1103515245u + 12345u;
    return gSeed >> 8;
}

// clearShare and partialShare in percent; the rest is opaque.
std::unique_ptr<MMBitmapWithPixels> MakePicture(int clearShare, int partialShare)
{
    std::unique_ptr<MMBitmapWithPixels> picture(
        MMBitmap::CreateWithPixels({0, 0, kWidth, kHeight}, kPixelBGRA, nullptr));
    picture->transparencyKind = kTransparencyStraight;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            uint8_t* p = picture->PixelAddress(x, y);
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(y);
            p[2] = static_cast<uint8_t>(x + y);
            // Areas of 16 x 8 pixels share their kind, as in real pictures.
            uint32_t area = ((x / 16) * 7919u + (y / 8) * 104729u) % 100;
            if (static_cast<int>(area) < clearShare) {
                p[3] = 255;
            } else if (static_cast<int>(area) < clearShare + partialShare) {
                p[3] = static_cast<uint8_t>(1 + Next() % 254);
            } else {
                p[3] = 0;
            }
        }
    }
    return picture;
}

struct Sprite {
    std::vector<uint8_t> data;
    MMEncodedImage image;
    Box place;
};

std::vector<Sprite> MakeSprites()
{
    std::unique_ptr<MMBitmapWithPixels> disc(
        MMBitmap::CreateWithPixels({0, 0, kSprite, kSprite}, kPixelBGRA, nullptr));
    disc->transparencyKind = kTransparencyKeyed;
    int r = kSprite / 2;
    for (int y = 0; y < kSprite; ++y) {
        for (int x = 0; x < kSprite; ++x) {
            uint8_t* p = disc->PixelAddress(x, y);
            int dx = x - r;
            int dy = y - r;
            p[0] = 40;
            p[1] = static_cast<uint8_t>(x * 2);
            p[2] = static_cast<uint8_t>(y * 2);
            p[3] = dx * dx + dy * dy < r * r ? 0 : 255;
        }
    }
    std::vector<Sprite> sprites(kSprites);
    for (int i = 0; i < kSprites; ++i) {
        Sprite& sprite = sprites[i];
        sprite.data.resize(MeasureEncodedSize(*disc));
        EncodeBitmap(*disc, sprite.data.data(), static_cast<int32_t>(sprite.data.size()));
        sprite.image.bitsPerPixel = 32;
        sprite.image.bytesPerPixel = 4;
        sprite.image.pixelKind = kPixelBGRA;
        sprite.image.transparencyKind = kTransparencyKeyed;
        sprite.image.box = {0, 0, kSprite, kSprite};
        sprite.image.pixels = sprite.data.data();
        int x = static_cast<int>(Next() % (kWidth - kSprite));
        int y = static_cast<int>(Next() % (kHeight - kSprite));
        sprite.place = {x, y, x + kSprite, y + kSprite};
    }
    return sprites;
}

void DrawPicture(MMSurface* surface, const MMBitmap& picture)
{
    MMDrawingSurfaceBlitRequest request;
    if (request.PrepareToBox(picture, surface, {0, 0, kWidth, kHeight})) {
        request.Perform();
    }
}

void DrawSprites(MMSurface* surface, const std::vector<Sprite>& sprites)
{
    for (const Sprite& sprite : sprites) {
        MMDrawingSurfaceBlitRequest request;
        if (request.PrepareToBox(sprite.image, surface, sprite.place)) {
            request.Perform();
        }
    }
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

// The best of several rounds of the average time of one call, in ms.
template <typename Work>
double Time(Work work)
{
    const int kRounds = 7;
    const int kCalls = 40;
    for (int i = 0; i < 5; ++i) {
        work();
    }
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < kCalls; ++i) {
            work();
        }
        QueryPerformanceCounter(&end);
        double ms = Seconds(start, end) * 1000.0 / kCalls;
        if (ms < best) {
            best = ms;
        }
    }
    return best;
}

class StepCounter : public MMTransitionObserver {
public:
    void StepShown(int32_t, int32_t) override { ++steps; }
    int steps = 0;
};

// The tile dissolve itself, between two stores of one kind (where the
// dissolve effect would move pixels instead).
class TileDissolveEffect : public MMDissolveEffect {
public:
    bool Animate(const Box& box) override
    {
        return TileDissolve(box, [this](const Box& part) { CopyBox(part); });
    }
};

struct EffectFigure {
    double stepMs;
    int steps;
};

// The best of 5 runs of the effect over the whole screen, per step, with
// pacing off.
EffectFigure TimeEffect(MMTransitionEffect& effect, MMSurface* screen,
                        WinMMOffscreenSurface* offscreen)
{
    StepCounter counter;
    effect.SetPacing(false);
    effect.SetObserver(&counter);
    EffectFigure best = {1e9, 0};
    for (int round = 0; round < 5; ++round) {
        counter.steps = 0;
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        effect.Run(screen, offscreen, {0, 0, kWidth, kHeight}, nullptr);
        QueryPerformanceCounter(&end);
        double ms = Seconds(start, end) * 1000.0 / (counter.steps > 0 ? counter.steps : 1);
        if (ms < best.stepMs) {
            best = {ms, counter.steps};
        }
    }
    effect.SetObserver(nullptr);
    return best;
}

void TimeEffects(WinMMOffscreenSurface* back, double copy)
{
    WinMMOffscreenSurface* screen =
        MMSurface::CreateBitmapDC(32, {0, 0, kWidth, kHeight}, nullptr);
    if (screen == nullptr) {
        std::printf("no second back buffer\n");
        return;
    }
    MMTransitionCut cut;
    cut.Run(screen, back, {0, 0, kWidth, kHeight}, nullptr);
    // The first push is timed in 2-pixel steps; the ones measured below
    // take their steps from it.
    MMTransitionPushRight firstPush;
    firstPush.Run(screen, back, {0, 0, kWidth, kHeight}, nullptr);

    MMTransitionWipeLeft wipeLeft;
    MMTransitionWipeRight wipeRight;
    MMTransitionWipeDown wipeDown;
    MMTransitionWipeUp wipeUp;
    MMTransitionPushRight pushRight;
    MMTransitionPushLeft pushLeft;
    MMTransitionPushDown pushDown;
    MMTransitionPushUp pushUp;
    MMTransitionBoxOut boxOut;
    MMTransitionBlinds blinds;
    MMTransitionRandomBoxes randomBoxes;
    MMTransitionRandomLines randomLines;
    MMTransitionDissolve pixelDissolve;
    TileDissolveEffect tileDissolve;
    MMTransitionFadeToBlack fadeToBlack;
    struct Named {
        const char* name;
        MMTransitionEffect* effect;
    } effects[] = {
        {"wipe left", &wipeLeft},       {"wipe right", &wipeRight},
        {"wipe down", &wipeDown},       {"wipe up", &wipeUp},
        {"push right", &pushRight},     {"push left", &pushLeft},
        {"push down", &pushDown},       {"push up", &pushUp},
        {"box out", &boxOut},           {"blinds", &blinds},
        {"random boxes", &randomBoxes}, {"random lines", &randomLines},
        {"pixel dissolve", &pixelDissolve}, {"tile dissolve", &tileDissolve},
        {"fade to black", &fadeToBlack},
    };
    std::printf("\ntransition effects over 800 x 600, one step (the run / its steps)\n");
    for (const Named& named : effects) {
        EffectFigure figure = TimeEffect(*named.effect, screen, back);
        std::printf("%-16s %5d steps  %8.4f ms  %5.2f\n", named.name, figure.steps, figure.stepMs,
                    figure.stepMs / copy);
    }
    screen->Dispose();
}

}  // namespace

int main()
{
    SelectMmxSpanRoutines();
    WinMMOffscreenSurface* back = MMSurface::CreateBitmapDC(32, {0, 0, kWidth, kHeight}, nullptr);
    if (back == nullptr) {
        std::printf("no back buffer\n");
        return 1;
    }
    MMBitmap store;
    back->GetBitmap(store);
    uint8_t* backBytes = store.pixels + (kHeight - 1) * store.pitch;  // lowest address
    const size_t bytes = static_cast<size_t>(kWidth) * kHeight * 4;

    auto typical = MakePicture(10, 15);
    auto partial = MakePicture(0, 100);
    std::vector<Sprite> sprites = MakeSprites();

    double copy = Time([&] { std::memcpy(backBytes, typical->pixels, bytes); });
    double alpha = Time([&] { DrawPicture(back, *typical); });
    double alphaSprites = Time([&] {
        DrawPicture(back, *typical);
        DrawSprites(back, sprites);
    });
    double everyPixelPartial = Time([&] { DrawPicture(back, *partial); });

    std::printf("800 x 600 x 32-bit redraw into the back buffer (MMX routines %s)\n",
                MMXSpanRoutinesInUse() ? "on" : "off");
    std::printf("memcpy of the same bytes:                 %8.3f ms  1.00\n", copy);
    std::printf("picture with alpha (10%% clear, 15%% mixed):  %8.3f ms  %5.2f\n", alpha,
                alpha / copy);
    std::printf("  + %d encoded %dx%d sprites:              %8.3f ms  %5.2f\n", kSprites, kSprite,
                kSprite, alphaSprites, alphaSprites / copy);
    std::printf("picture with every pixel mixed:           %8.3f ms  %5.2f\n", everyPixelPartial,
                everyPixelPartial / copy);
    TimeEffects(back, copy);
    back->Dispose();
    return 0;
}
