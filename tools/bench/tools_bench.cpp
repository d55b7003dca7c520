// Times a stroke of every freehand tool on the program's built data: 400
// samples at 200 Hz, each queued and followed by one stage step (the
// "Freehand Ticker", the brush, the canvas rendered into the back buffer,
// the frame tick),
// and prints the cost of a sample as a share of its 5 ms.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/stage_cursors.h"
#include "framework/thread.h"
#include "tools/bench/bench_screen.h"
#include "tools/chalk_tools.h"
#include "tools/eraser_tools.h"
#include "tools/fill_tools.h"
#include "tools/image_tools.h"
#include "tools/marker_tools.h"
#include "tools/oil_tools.h"
#include "tools/pencil_tools.h"
#include "tools/smear_tools.h"
#include "tools/spray_tools.h"

namespace {

const int32_t kSamples = 400;
const double kSamplePeriodMs = 5.0;

typedef std::function<KVXToolBase*(BenchHost*, const uint8_t*)> ToolMaker;

struct Entry {
    const char* name;
    ToolMaker make;
};

// How many pixels of the plane the stroke changed from blank paper.
int32_t ChangedPixels(const KVXPlaneComponentTop& plane)
{
    int32_t changed = 0;
    for (int32_t y = 0; y < plane.height; ++y)
        for (int32_t x = 0; x < plane.width; ++x) {
            const KVXComponentPixel& p = *plane.PixelAt(x, y);
            changed += p.ColorWord() != kBlankPixel.ColorWord() || p.height != kBlankPixel.height;
        }
    return changed;
}

}  // namespace

int main()
{
    if (!OpenBenchData())
        return 1;
    BenchScreen screen;
    MMStage& stage = screen.stage;
    KVXPlaneComponentTop& plane = screen.plane;
    KVXCanvasVisual& canvas = screen.canvas;
    BenchHost& host = screen.host;
    uint8_t colour[4] = {200, 60, 30, 0};
    int32_t pattern = -1;

#define TOOL(NAME, EXPR) {NAME, [](BenchHost* h, const uint8_t* c) -> KVXToolBase* { return EXPR; }}
    const Entry tools[] = {
        TOOL("pencil", new PencilTool(h, 507, 4, c)),
        TOOL("bundle pencil", new BundlePencilTool(h, 508, 4, c)),
        TOOL("chalk", new ChalkTool(h, 518, 4, c)),
        TOOL("crayon", new CrayonTool(h, 522, 4, c)),
        TOOL("melted crayon", new MeltedCrayonTool(h, 523, 4, c)),
        TOOL("oil", new OilTool(h, 514, 4, c)),
        TOOL("watercolour", new WaterColorTool(h, 515, 4, c)),
        TOOL("finger paint", new FingerPaintTool(h, 516, 4, c)),
        TOOL("toothbrush", new ElectricToothbrushTool(h, 517, 4, c)),
        TOOL("soft eraser", new SoftEraserTool(h, 525, 4)),
        TOOL("water", new WaterTool(h, 526, 4, c)),
        TOOL("squeegee", new SqueegeeEraserTool(h, 527, 4)),
        TOOL("phaser eraser", new PhaserEraserTool(h, 528)),
        TOOL("fine spray", new FineSprayTool(h, 498, 4, c)),
        TOOL("spatter", new SpatterTool(h, 499, 4, c)),
        TOOL("gloppy paint", new GloppyPaintTool(h, 500, 4, c)),
        TOOL("whipped cream", new WhippedCream(h, 506, c)),
        TOOL("image spray", new KVXToolImageSpray(h, 539, 0)),
        TOOL("image tube", new KVXToolImageTube(h, 541, 0)),
        {"marker", [](BenchHost* h, const uint8_t* c) { return new MarkerTool(h, 519, 4, c); }},
        {"leaky marker", [](BenchHost* h, const uint8_t* c) { return new LeakyMarkerTool(h, 520, 4, c); }},
        {"invisible ink", [](BenchHost* h, const uint8_t* c) {
             return new KVXToolInvisibleInkMarkerTool(h, 521, 4, c);
         }},
        {"ink reveal", [](BenchHost* h, const uint8_t* c) {
             return new KVXToolInvisibleInkRevealMarkerTool(h, 521, 4, c);
         }},
        {"flood fill", [](BenchHost* h, const uint8_t* c) { return new FloodTool(h, 543, c); }},
        {"pattern fill", [&pattern](BenchHost* h, const uint8_t* c) {
             return new PatternFloodTool(h, 543, c, &pattern);
         }},
    };
    std::printf("%-16s %10s %12s %9s\n", "tool", "ms/sample", "of 5 ms", "painted");
    double worst = 0;
    std::string worstName;
    for (const Entry& entry : tools) {
        plane.Fill(kBlankPixel);
        std::unique_ptr<KVXToolBase> tool(entry.make(&host, colour));
        tool->Begin();
        MMMouseInterpreter* interpreter = canvas.GetMouseInterpreter();
        if (!interpreter) {
            std::printf("%-16s no interpreter\n", entry.name);
            continue;
        }
        MMStageEvent press = {kStageEventPointer, 0, 0, 200, 100, kPointerHeld | kPointerPressed};
        interpreter->Interpret(press);
        uint32_t start = ElapsedMilliseconds();
        for (int32_t i = 0; i < kSamples; ++i) {
            // A wave across the canvas, 1.3 pixels a sample.
            int32_t x = 200 + i * 13 / 10;
            int32_t y = 200 + int32_t(80 * std::sin(i / 30.0));
            stage.QueuePointerSample(MMPointerSample{x, y, kMouseCursor, 255});
            stage.RunDueTasks();
            stage.RedrawDirty();
            // Without a window the frame tick copies nothing; it empties the
            // redrawn list, so the next step redraws only what it changed.
            stage.FrameTick();
        }
        MMStageEvent release = {kStageEventPointer, 0, 0, 720, 200, kPointerReleased};
        interpreter->Interpret(release);
        stage.RunDueTasks();
        stage.RedrawDirty();
        stage.FrameTick();
        double perSample = double(ElapsedMilliseconds() - start) / kSamples;
        double share = perSample / kSamplePeriodMs;
        std::printf("%-16s %10.3f %11.1f%% %9d\n", entry.name, perSample, 100 * share,
                    ChangedPixels(plane));
        if (share > worst) {
            worst = share;
            worstName = entry.name;
        }
        tool->DeleteMolecules();
    }
    std::printf("worst: %s at %.1f%% of 5 ms\n", worstName.c_str(), 100 * worst);
    stage.TopEnclosure()->RemoveVisual(&canvas);
    CloseAllScriptFiles();
    DeleteAllPictureCollections();
    return 0;
}
