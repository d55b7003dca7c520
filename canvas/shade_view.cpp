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

// One render of a large view. One thread carries the shadows row after row
// (each pixel's runs on from its upper-left neighbour); every thread, that
// one once it is done, takes bands of rows whose shadows are carried and
// draws their colours.
struct ShadeJob {
    const ShadeLayout* layout;
    const KVXPlaneComponent* view;
    const MMBitmap* target;
    // Two rows of their own: the shadows falling into a row, those it casts.
    KVXComponentPixel* incoming;
    KVXComponentPixel* cast;
    std::atomic<bool> shadowsTaken;
    // Rows below ready may take their colours: their shadows are carried and
    // nothing writes them or the row after them any more.
    std::atomic<int32_t> ready;
    std::atomic<int32_t> next;  // the first row no thread has taken
};

void DrawColors(const ShadeJob& job, int32_t y)
{
    auto colors = [](KVXComponentPixel* row, KVXComponentPixel* below, int32_t, int32_t,
                     int32_t count, uint32_t* out) { ShadeColors(row, below, count, out); };
    job.layout->Draw(*job.view, *job.target, y, colors);
}

void SetShadow(KVXComponentPixel& p, uint16_t shadow)
{
    if (p.shadow != shadow)
        p.shadow = shadow;
}

// Row y's shadows; the fallen ones then fall into job.incoming for the next.
void CarryRow(ShadeJob& job, int32_t y)
{
    const ShadeLayout& layout = *job.layout;
    KVXComponentPixel* row = job.view->Row(y);
    layout.Enter(row);
    job.incoming[0].shadow = row[0].shadow;
    CarryShadows(row, job.incoming, job.cast, layout.columns);
    // The pixel after the last column keeps the shadow that falls on it.
    SetShadow(job.view->Row(y + 1)[layout.columns], job.cast[layout.columns].shadow);
    std::swap(job.incoming, job.cast);
}

void CarryAllShadows(ShadeJob& job)
{
    const ShadeLayout& layout = *job.layout;
    for (int32_t y = 1; y < layout.rows; ++y) {
        CarryRow(job, y);
        job.ready.store(y, std::memory_order_release);
    }
    // The row after the last keeps the shadows that fall on it.
    KVXComponentPixel* after = job.view->Row(layout.rows);
    for (int32_t x = 1; x < layout.columns; ++x)
        SetShadow(after[x], job.incoming[x].shadow);
    job.ready.store(layout.rows, std::memory_order_release);
}

void WaitUntilReady(const ShadeJob& job, int32_t end)
{
    for (int32_t spins = 0; job.ready.load(std::memory_order_acquire) < end; ++spins) {
        if (spins < 2000)
            YieldProcessor();
        else
            SwitchToThread();
    }
}

void Shade(void* context)
{
    const int32_t kBand = 8;
    ShadeJob& job = *static_cast<ShadeJob*>(context);
    if (!job.shadowsTaken.exchange(true))
        CarryAllShadows(job);
    int32_t rows = job.layout->rows;
    for (;;) {
        int32_t first = job.next.fetch_add(kBand);
        if (first >= rows)
            return;
        int32_t end = std::min(first + kBand, rows);
        WaitUntilReady(job, end);
        for (int32_t y = first; y < end; ++y)
            DrawColors(job, y);
    }
}

}  // namespace

int32_t UseShadeThreads(int32_t threads)
{
    gThreads = threads <= 0 ? DefaultThreads() : std::min(threads, ALWorkCrew::kMostHelpers + 1);
    return gThreads;
}

void ShadeView(const KVXPlaneComponent& view, const MMBitmap& target, bool zoomed)
{
    ShadeLayout layout(view, target, zoomed);
    if (gThreads <= 1 || layout.IsEmpty() || layout.rows < 2 ||
        int64_t(layout.rows) * layout.columns < kShadeThreadsFrom) {
        ShadeRows(view, target, zoomed,
                  [](KVXComponentPixel* row, KVXComponentPixel* below, int32_t, int32_t,
                     int32_t count, uint32_t* out) { ShadeRow(row, below, count, out); });
        return;
    }
    std::vector<KVXComponentPixel> sides(2 * size_t(layout.columns + 1), kBlankPixel);
    ShadeJob job;
    job.layout = &layout;
    job.view = &view;
    job.target = &target;
    job.incoming = sides.data();
    job.cast = sides.data() + layout.columns + 1;
    job.shadowsTaken = false;
    job.ready = 0;
    job.next = 1;
    // The top row alone first: its shadows, once drawn, may be reset.
    KVXComponentPixel* top = view.Row(0);
    layout.Enter(top);
    for (int32_t x = 0; x < layout.columns; ++x)
        job.incoming[x].shadow = top[x].shadow;
    CarryRow(job, 0);
    DrawColors(job, 0);
    layout.Leave(top, 0);
    Crew().Run(&Shade, &job, gThreads - 1);
}
