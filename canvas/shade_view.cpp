#include <algorithm>
#include <atomic>
#include <vector>

#include "canvas/shading.h"
#include "framework/work_crew.h"

namespace {

int32_t DefaultThreads() { return std::clamp(ProcessorCount(), 1, 4); }

int32_t gThreads = DefaultThreads();

ALWorkCrew& Crew()
{
    static ALWorkCrew crew;
    return crew;
}

void SetShadow(KVXComponentPixel& p, int32_t shadow)
{
    if (p.shadow != shadow)
        p.shadow = uint16_t(shadow);
}

// Rows one thread renders at a time. Each band but the first starts as if
// no shadow fell into it from above; once all are rendered the shadows that
// do fall into each are found from the bands above, and the rows they reach
// are mended. (The 128- and 256-bit loops write back whole pixels whose
// shadows change, colour and height as they were: a thread reading the
// heights of the next band's top row reads the same bytes either way.)
struct ShadeBand {
    int32_t top;
    int32_t bottom;
    // Two rows of their own: the shadows falling into a row, those it casts.
    KVXComponentPixel* incoming;
    KVXComponentPixel* cast;
    uint16_t* in;   // [x]: the shadow that really falls on (x, top), x from 1
    uint16_t* out;  // [x]: the shadow the band alone casts on (x, bottom), x from 1
};

struct ShadeJob {
    const ShadeLayout* layout;
    const KVXPlaneComponent* view;
    const MMBitmap* target;
    ShadeRowsDone done;
    std::vector<ShadeBand> bands;
    std::atomic<int32_t> nextBand;
    std::atomic<int32_t> bandsDone;
    std::atomic<bool> chainTaken;
    std::atomic<bool> chained;
    std::atomic<int32_t> nextMend;
};

void DrawColors(const ShadeJob& job, int32_t y, int32_t first, int32_t end)
{
    auto colors = [](KVXComponentPixel* row, KVXComponentPixel* below, int32_t, int32_t,
                     int32_t count, uint32_t* out) { ShadeColors(row, below, count, out); };
    job.layout->Draw(*job.view, *job.target, y, colors, first, end);
}

void RenderBand(const ShadeJob& job, ShadeBand& band)
{
    const ShadeLayout& layout = *job.layout;
    int32_t columns = layout.columns;
    KVXComponentPixel* incoming = band.incoming;
    KVXComponentPixel* cast = band.cast;
    KVXComponentPixel* top = job.view->Row(band.top);
    layout.Enter(top);
    for (int32_t x = 0; x < columns; ++x)
        incoming[x].shadow = band.top == 0 ? top[x].shadow : 0;
    for (int32_t y = band.top; y < band.bottom; ++y) {
        KVXComponentPixel* row = job.view->Row(y);
        layout.Enter(row);
        incoming[0].shadow = row[0].shadow;
        auto aside = [incoming, cast](KVXComponentPixel* row, KVXComponentPixel* below, int32_t x,
                                      int32_t, int32_t count, uint32_t* out) {
            ShadeRowAside(row, below, count, out, incoming + x, cast + x);
        };
        layout.Draw(*job.view, *job.target, y, aside);
        // The pixel after the last column keeps the shadow that falls on it.
        SetShadow(job.view->Row(y + 1)[columns], cast[columns].shadow);
        if (band.top == 0)
            job.done(row, 0, y, columns);
        layout.Leave(row, y);
        std::swap(incoming, cast);
    }
    for (int32_t x = 1; x <= columns; ++x)
        band.out[x] = incoming[x].shadow;
}

// A shadow falling on (x, top) runs on 32 lower a row, down and to the
// right, whatever the heights: after d rows it is in[x] - 32 d at x + d.
int32_t FallenThrough(const ShadeBand& band, int32_t x, int32_t d)
{
    return x - d >= 1 ? band.in[x - d] - 32 * d : 0;
}

// The shadows really falling into each band, from the first down, and on
// the row after the last.
void ChainBands(const ShadeJob& job)
{
    const std::vector<ShadeBand>& bands = job.bands;
    int32_t columns = job.layout->columns;
    auto below = [&bands](size_t k, int32_t x) {
        const ShadeBand& band = bands[k];
        int32_t v = band.out[x];
        return k == 0 ? v : std::max(v, FallenThrough(band, x, band.bottom - band.top));
    };
    for (size_t k = 1; k < bands.size(); ++k) {
        for (int32_t x = 1; x <= columns; ++x)
            bands[k].in[x] = uint16_t(below(k - 1, x));
    }
    KVXComponentPixel* after = job.view->Row(job.layout->rows);
    for (int32_t x = 1; x < columns; ++x)
        SetShadow(after[x], below(bands.size() - 1, x));
}

// The pixels of a band that the shadows from above reach: their carried
// shadows raised, their colours drawn again (a pixel's colour depends on no
// other pixel's shadow). Once a row has none to raise, none below it has.
void MendBand(const ShadeJob& job, const ShadeBand& band)
{
    int32_t columns = job.layout->columns;
    for (int32_t y = band.top; y < band.bottom; ++y) {
        int32_t d = y - band.top;
        KVXComponentPixel* row = job.view->Row(y);
        int32_t first = columns;
        int32_t last = -1;
        for (int32_t x = d + 1; x < columns; ++x) {
            int32_t fallen = FallenThrough(band, x, d);
            if (fallen > row[x].shadow) {
                row[x].shadow = uint16_t(fallen);
                first = std::min(first, x);
                last = x;
            }
        }
        if (last < 0)
            return;
        SetShadow(job.view->Row(y + 1)[columns], FallenShadow(row[columns - 1].shadow));
        DrawColors(job, y, first, last + 1);
    }
}

// A short spin (a pause takes some hundred cycles), then the processor is
// left to others: on a busy machine the thread waited for may need it.
template <class Done>
void WaitUntil(Done done)
{
    for (int32_t spins = 0; !done(); ++spins) {
        if (spins < 200)
            YieldProcessor();
        else
            SwitchToThread();
    }
}

void Shade(void* context)
{
    ShadeJob& job = *static_cast<ShadeJob*>(context);
    int32_t count = int32_t(job.bands.size());
    for (int32_t k; (k = job.nextBand.fetch_add(1)) < count;) {
        RenderBand(job, job.bands[k]);
        job.bandsDone.fetch_add(1, std::memory_order_release);
    }
    WaitUntil([&job, count] { return job.bandsDone.load(std::memory_order_acquire) == count; });
    if (!job.chainTaken.exchange(true)) {
        ChainBands(job);
        job.chained.store(true, std::memory_order_release);
    }
    WaitUntil([&job] { return job.chained.load(std::memory_order_acquire); });
    for (int32_t k; (k = job.nextMend.fetch_add(1)) < count;) {
        const ShadeBand& band = job.bands[k];
        MendBand(job, band);
        for (int32_t y = band.top; y < band.bottom; ++y)
            job.done(job.view->Row(y), 0, y, job.layout->columns);
    }
}

}  // namespace

int32_t UseShadeThreads(int32_t threads)
{
    gThreads = threads <= 0 ? DefaultThreads() : std::min(threads, ALWorkCrew::kMostHelpers + 1);
    return gThreads;
}

void ShadeView(const KVXPlaneComponent& view, const MMBitmap& target, bool zoomed,
               ShadeRowsDone done)
{
    ShadeLayout layout(view, target, zoomed);
    if (gThreads <= 1 || layout.IsEmpty() || layout.rows < 2 ||
        int64_t(layout.rows) * layout.columns < kShadeThreadsFrom) {
        ShadeRows(view, target, zoomed,
                  [&done](KVXComponentPixel* row, KVXComponentPixel* below, int32_t x, int32_t y,
                          int32_t count, uint32_t* out) {
                      ShadeRow(row, below, count, out);
                      done(row, x, y, count);
                  });
        return;
    }
    // Three bands a thread, so that a thread the system holds back leaves
    // little for the others to wait for.
    int32_t count = std::min(3 * gThreads, layout.rows);
    size_t width = size_t(layout.columns) + 1;
    std::vector<KVXComponentPixel> sides(2 * width * size_t(count), kBlankPixel);
    std::vector<uint16_t> edges(2 * width * size_t(count), 0);
    ShadeJob job;
    job.layout = &layout;
    job.view = &view;
    job.target = &target;
    job.done = done;
    for (int32_t k = 0; k < count; ++k) {
        ShadeBand band;
        band.top = layout.rows * k / count;
        band.bottom = layout.rows * (k + 1) / count;
        band.incoming = sides.data() + 2 * width * k;
        band.cast = band.incoming + width;
        band.in = edges.data() + 2 * width * k;
        band.out = band.in + width;
        job.bands.push_back(band);
    }
    job.nextBand = 0;
    job.bandsDone = 0;
    job.chainTaken = false;
    job.chained = false;
    job.nextMend = 1;
    Crew().Run(&Shade, &job, gThreads - 1);
}
