// Times loading a 640 x 480 sketchbook page into the canvas and writing one
// (a fresh region, flushed, then the flushed table), each as a share of a
// 16.7 ms frame (best of 5 runs of 10); then one frame of an exported movie
// of a page with slate strokes (render, shrink, write; a 5-second movie,
// best of 3) against the 83 ms a frame lasts at 12 frames a second; and the
// gallery's entry on a 50-page book (its panels built, nine thumbnails read
// from the file, one frame drawn), best of 5, as a share of a frame; and the
// slideshow's next picture (ShowPicture: the page read into the canvas plane,
// the back slate store and stamp manager; then its transition: the plane
// rendered into the shown picture and the slate drawing's key frames copied
// into the canvas to play) against a frame.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "canvas/component_pixel.h"
#include "engine/picture_loader.h"
#include "engine/script_file.h"
#include "engine/stage.h"
#include "framework/heap.h"
#include "gallery/gallery_messages.h"
#include "gallery/sketchbook_list.h"
#include "gallery/under_the_hood_scene.h"
#include "shell/app.h"
#include "canvas/plane.h"
#include "framework/byte_order_streams.h"
#include "framework/folders.h"
#include "gallery/canvas_page_content.h"
#include "gallery/magic_slate_part.h"
#include "gallery/movie_export.h"
#include "gallery/page_picture.h"
#include "gallery/sketchbook_file.h"
#include "gallery/slideshow_scene.h"
#include "media/sound/sound_manager.h"
#include "selection/slate_store.h"
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

class Uncompressed : public MovieOptionsDialog {
public:
    bool Ask(PAVISTREAM, AVICOMPRESSOPTIONS* options) override
    {
        options->fccType = streamtypeVIDEO;
        options->fccHandler = comptypeDIB;
        return true;
    }
};

// Five channels of a stroke in key frames 0 and 4, over the canvas.
void DrawStrokes(MagicSlateStore& slate)
{
    slate.Init();
    for (int c = 0; c < 5; ++c) {
        std::vector<Pair> points;
        for (int i = 0; i < 100; ++i)
            points.push_back({144 + 40 + i * 5, 16 + 60 + c * 70 + (i % 7) * 6});
        slate.StoreFrame(c, 0, points.data(), int32_t(points.size()), 0x2040E0, 4);
        for (Pair& p : points)
            p.y += 30;
        slate.StoreFrame(c, 4, points.data(), int32_t(points.size()), 0x2040E0, 4);
    }
}

// A book of `pages` pages of the plane with slate strokes, as the program
// writes them.
bool WriteStrokedBook(KVXPlaneComponent& plane, const FSDirectory& folder, const char* name,
                      int32_t pages)
{
    MagicSlateStore slate;
    DrawStrokes(slate);
    MagicSlatePart part(slate);
    KVXStampsBlock stamps;
    CanvasPageContent content(plane, part, stamps, nullptr);
    FSDeleteFile(folder, name);
    SketchbookFile book(folder, name);
    bool written = book.Open(pages, &content);
    for (int32_t p = 0; written && p < pages; ++p)
        written = book.WritePage(content, p);
    book.Close();
    return written;
}

// Milliseconds of one movie frame.
double MovieFrame(KVXPlaneComponent& plane, const FSDirectory& folder)
{
    if (!WriteStrokedBook(plane, folder, "movie book", 1))
        return -1;
    SketchbookFile book(folder, "movie book");
    PagePicture page(plane);
    if (!page.Load(book, 0))
        return -1;
    MovieSound silent;
    silent.durationMs = 5000;
    Uncompressed options;
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        LARGE_INTEGER from, to;
        QueryPerformanceCounter(&from);
        if (WriteMovie(page, silent, folder, "bench.avi", options) != MovieResult::kWritten)
            return -1;
        QueryPerformanceCounter(&to);
        best = std::min(best, Milliseconds(from, to) / 60);
    }
    return best;
}

// The program's data files, beside this program.
bool OpenProgramData()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder = folder.substr(0, folder.rfind('\\') + 1);
    FSDirectory program(folder.c_str());
    return OpenScriptFile(program, "Hd.mms") && MMOpenPictureFile(program, "Hd.MMP", false) &&
           MMOpenPictureFile(program, "App.MMP", false);
}

// Milliseconds from asking for the gallery to its first frame, on a book of
// 50 pages whose thumbnails are read from the file each time.
double GalleryBegin(CanvasPageContent& content, const FSDirectory& folder)
{
    FSDirectory books, trash;
    FSCreateSubfolder(folder, "books", books);
    FSCreateSubfolder(books, "trash", trash);
    {
        SketchbookFile book(books, "carnet 0");
        if (!book.Open(kBookPageLimit, &content))
            return -1;
        book.Close();
    }
    if (!OpenProgramData())
        return -1;
    AFHeap heap;
    KVXApp app(&heap, -1);
    gApp = &app;
    MpSketchbookList list(books, trash, content);
    if (!list.ScanFolder() || !list.SelectBook(0))
        return -1;
    app.SetSketchbookListForTest(&list);
    app.SetCurrentPicture(24);
    MMStage stage(nullptr, Box{0, 0, 800, 600}, 32, nullptr, nullptr, nullptr, nullptr);
    stage.StartClock();
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        list.CurrentBook()->ClearThumbnails();
        KVXUnderTheHoodScene scene(&stage);
        LARGE_INTEGER from, to;
        QueryPerformanceCounter(&from);
        stage.SetPendingScene(&scene, nullptr, nullptr);
        stage.ChangeSceneOrDispatch();
        stage.FrameTick();
        QueryPerformanceCounter(&to);
        best = std::min(best, Milliseconds(from, to));
        stage.SetPendingScene(nullptr, nullptr, nullptr);
        stage.ChangeSceneOrDispatch();
    }
    app.SetSketchbookListForTest(nullptr);
    gApp = nullptr;
    return best;
}

// A sound manager without a device.
class SilentSound : public MMSoundManager {
public:
    SilentSound() : MMSoundManager(nullptr, nullptr) {}
    void Enable() override {}
    int Disable() override { return 1; }
    void Suspend() override {}
    int Resume() override { return 0; }
    void Service() override {}
};

// Milliseconds of one ShowPicture of the slideshow and the rendering of its
// transition (transition 0: no effect), alternating between the
// two pages (with slate strokes) of a book of its own, on a stage without
// window.
double ShowPicture(KVXPlaneComponent& source, const FSDirectory& parent,
                   SketchbookPageContent& content)
{
    FSDirectory folder, trashFolder;
    if (!FSCreateSubfolder(parent, "show", folder) ||
        !FSCreateSubfolder(folder, "trash", trashFolder) ||
        !WriteStrokedBook(source, folder, "show book", 2))
        return -1;
    AFHeap heap;
    KVXApp app(&heap, -1);
    gApp = &app;
    KVXPlaneComponentTop plane({640, 480});
    app.SetCanvasForTest(&plane, nullptr);
    MpSketchbookList list(folder, trashFolder, content);
    double best = -1;
    if (list.ScanFolder() && list.SelectBook(0)) {
        app.SetSketchbookListForTest(&list);
        MMStage stage(nullptr, Box{0, 0, 800, 600}, 32, new SilentSound,
                      nullptr, nullptr, nullptr);
        MpSlideshowScene show(&stage);
        stage.SetPendingScene(&show, nullptr, nullptr);
        stage.ChangeSceneOrDispatch();
        best = BestPerStep([&](int i) {
            show.ShowPicture(i % 2);
            show.RunTransition(0);
        });
        stage.SetPendingScene(nullptr, nullptr, nullptr);
        stage.ChangeSceneOrDispatch();
        app.SetSketchbookListForTest(nullptr);
    }
    app.SetCanvasForTest(nullptr, nullptr);
    gApp = nullptr;
    return best;
}

// A bench has no one to answer a message box: an alert is printed and ends
// the run, as its figures would mean nothing.
void AlertEndsTheRun(int32_t, int16_t key, const char*)
{
    std::printf("alert %d (%s): no figures\n", int(key), LastGalleryReason());
    std::fflush(stdout);
    ExitProcess(1);
}

}  // namespace

int main()
{
    SetGalleryAlertShow(AlertEndsTheRun);
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

    // A run cut short leaves its folder behind: it goes first.
    FSDirectory temp, folder;
    FSTempFolder(temp);
    if (FSFindSubfolder(temp, "pennaro-gallery-bench", folder))
        DeleteDirectoryTree(folder);
    if (!FSCreateSubfolder(temp, "pennaro-gallery-bench", folder)) {
        std::printf("the bench's folder could not be made\n");
        return 1;
    }
    SketchbookFile book(folder, "bench book");
    if (!book.Open(2, &content)) {
        std::printf("the book could not be made\n");
        return 1;
    }
    double load = BestPerStep([&](int) { book.LoadPage(content, 0); });
    double write = BestPerStep([&](int i) { book.WritePage(content, i % 2); });
    book.Close();
    double show = ShowPicture(plane, folder, content);
    double frame = MovieFrame(plane, folder);
    double gallery = GalleryBegin(content, folder);
    DeleteDirectoryTree(folder);
    std::printf("LoadPage, 640 x 480:          %.2f ms, %.2f frames (goal 1)\n", load, load / 16.7);
    std::printf("WritePage flushed, 640 x 480: %.2f ms, %.2f frames (goal 3)\n", write, write / 16.7);
    std::printf("slideshow ShowPicture + RunTransition, 640 x 480: %.2f ms, %.2f frames (goal 1)\n", show,
                show / 16.7);
    std::printf("movie frame, 320 x 240 of 640 x 480: %.2f ms, %.2f of its 83 ms (goal 0.5)\n",
                frame, frame / 83.3);
    std::printf("gallery entry, 50-page book:  %.2f ms, %.2f frames (goal 2)\n", gallery,
                gallery / 16.7);
    return 0;
}
