// Times loading a 640 x 480 sketchbook page into the canvas and writing one
// (a fresh region, flushed, then the flushed table), each as a share of a
// 16.7 ms frame (best of 5 runs of 10).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "canvas/component_pixel.h"
#include "canvas/plane.h"
#include "framework/byte_order_streams.h"
#include "framework/folders.h"
#include "gallery/canvas_page_content.h"
#include "gallery/sketchbook_file.h"
#include "stamps/stamps_block.h"

namespace {

class PlainSlate : public SketchbookSlatePart {
public:
    PlainSlate() : bytes(kSlateStoredSize, 7) {}
    bool Write(FSWriter& writer) override { return writer.WriteBytes(bytes.data(), kSlateStoredSize); }
    bool WriteFresh(FSWriter& writer) override { return Write(writer); }
    bool Read(FSReader& reader) override { return reader.ReadBytes(bytes.data(), kSlateStoredSize); }
    KVXSlateRecording* Recording() override { return nullptr; }
    std::vector<uint8_t> bytes;
};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

template <class Step>
double BestPerStep(Step step)
{
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        LARGE_INTEGER from, to;
        QueryPerformanceCounter(&from);
        for (int i = 0; i < 10; ++i)
            step(i);
        QueryPerformanceCounter(&to);
        best = std::min(best, Milliseconds(from, to) / 10);
    }
    return best;
}

}  // namespace

int main()
{
    const int width = 640, height = 480;
    std::vector<KVXComponentPixel> pixels(size_t(width) * height, kBlankPixel);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i].red = uint8_t(i * 7);
    Box dirty = {0, 0, 0, 0};
    uint8_t dirtyFlag = 0;
    KVXPlaneComponent plane({width, height}, width, pixels.data(), &dirty, &dirtyFlag);
    PlainSlate slate;
    KVXStampsBlock stamps;
    CanvasPageContent content(plane, slate, stamps, nullptr);

    FSDirectory temp, folder;
    FSTempFolder(temp);
    FSCreateSubfolder(temp, "pennaro-gallery-bench", folder);
    FSDeleteFile(folder, "bench book");
    SketchbookFile book(folder, "bench book");
    if (!book.Open(2, &content)) {
        std::printf("the book could not be made\n");
        return 1;
    }
    double load = BestPerStep([&](int) { book.LoadPage(content, 0); });
    double write = BestPerStep([&](int i) { book.WritePage(content, i % 2); });
    book.Close();
    DeleteDirectoryTree(folder);
    std::printf("LoadPage, 640 x 480:          %.2f ms, %.2f frames (goal 1)\n", load, load / 16.7);
    std::printf("WritePage flushed, 640 x 480: %.2f ms, %.2f frames (goal 3)\n", write, write / 16.7);
    return 0;
}
