#pragma once
// A book of real pages (the slate store and the stamps as the program
// stores them) on a small canvas, for the gallery's showing, exporting and
// printing tests.
#include <memory>

#include "book_fixture.h"
#include "gallery/magic_slate_part.h"
#include "selection/slate_store.h"

struct RealCanvas {
    RealCanvas(int32_t width, int32_t height)
        : pixels(size_t(width) * height, kBlankPixel),
          plane({width, height}, width, pixels.data(), &dirty, &dirtyFlag),
          slate(new MagicSlateStore),
          part(*slate),
          content(plane, part, stamps, nullptr)
    {
        slate->Init();
    }
    void Fill(uint8_t red, uint8_t green, uint8_t blue)
    {
        for (KVXComponentPixel& pixel : pixels) {
            pixel = kBlankPixel;
            pixel.red = red;
            pixel.green = green;
            pixel.blue = blue;
        }
    }
    // A two-key-frame stroke in channel 0.
    void Draw()
    {
        Pair a[2] = {{150, 30}, {170, 40}};
        Pair b[2] = {{150, 40}, {170, 30}};
        slate->StoreFrame(0, 0, a, 2, 0x0000FF, 3);
        slate->StoreFrame(0, 4, b, 2, 0x0000FF, 3);
    }

    std::vector<KVXComponentPixel> pixels;
    Box dirty = {0, 0, 0, 0};
    uint8_t dirtyFlag = 0;
    KVXPlaneComponent plane;
    std::unique_ptr<MagicSlateStore> slate;
    MagicSlatePart part;
    KVXStampsBlock stamps;
    CanvasPageContent content;
};

// Writes `pages` copies of the canvas as a new book.
inline bool WriteRealBook(const FSDirectory& folder, const char* name, RealCanvas& canvas,
                          int pages)
{
    SketchbookFile book(folder, name);
    bool ok = book.Open(pages, &canvas.content);
    for (int p = 0; ok && p < pages; ++p)
        ok = book.WritePage(canvas.content, p);
    book.Close();
    return ok;
}
