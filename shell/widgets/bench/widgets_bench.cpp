// Times one stage step with 30 idle animated buttons and one hovered, as a
// share of the 16.7 ms frame, and a full redraw of an 800 x 600 alpha
// picture (the credits' veil) as a ratio to a memcpy of the frame.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/scene.h"
#include "engine/resource_file_writer.h"
#include "engine/script_file.h"
#include "engine/tests/stage_fixture.h"
#include "framework/tests/scratch_folder.h"
#include "media/bitmap_picture_collection.h"
#include "media/offscreen_surface.h"
#include "shell/widgets/alpha_visuals.h"
#include "shell/widgets/animated_button.h"

namespace {

const double kFrameMs = 1000.0 / 60.0;
const uint16_t kBenchPictures = 0x4200;
const uint16_t kBenchScripts = 1;

double Now()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return double(count.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

class BenchScene : public MMScene {
public:
    using MMScene::MMScene;
    void Begin() override {}
};

void Put(std::vector<uint8_t>& rows, std::initializer_list<int16_t> values)
{
    for (int16_t value : values) {
        uint8_t bytes[2];
        std::memcpy(bytes, &value, 2);
        rows.insert(rows.end(), bytes, bytes + 2);
    }
}

void PutPicture(std::vector<uint8_t>& rows, int16_t opcode, MMResourceId id)
{
    int16_t halves[2];
    std::memcpy(halves, &id, 4);
    Put(rows, {opcode, halves[0], halves[1], 0, 0});
}

// Idle: two frames of 100 ms in a loop; hover: one frame that holds.
bool WriteButtonScript(const FSDirectory& folder)
{
    std::vector<uint8_t> rows;
    Put(rows, {1, 1, 0, 0, 0});
    Put(rows, {5, 1, 100, 0, 0});
    Put(rows, {6, 0, 0, 0, 0});
    PutPicture(rows, 7, MMMakeResourceId(kBenchPictures, 0));
    Put(rows, {5, 0, 100, 0, 0});
    Put(rows, {6, 0, 0, 2, 2});
    PutPicture(rows, 7, MMMakeResourceId(kBenchPictures, 1));
    Put(rows, {11, 1, 0, 0, 0});
    Put(rows, {5, 4, 0, 0, 0});
    Put(rows, {6, 0, 0, 0, 0});
    PutPicture(rows, 7, MMMakeResourceId(kBenchPictures, 2));
    MMScriptFile file;
    return file.Create(folder, "bench.mms", FSFileKind(), 1, kBenchScripts) &&
           file.SetCodePages(int16_t(MM_NO_CODE_PAGE), int16_t(MM_NO_CODE_PAGE)) &&
           MMWriteRecordTable(file, 0, 0, rows.data(), int32_t(rows.size() / 10), 10, "", 0) &&
           file.MarkEndOfItems() && file.Close(true) && OpenScriptFile(folder, "bench.mms");
}

std::unique_ptr<MMBitmapWithPixels> Solid(int w, int h, int kind, uint8_t value)
{
    std::unique_ptr<MMBitmapWithPixels> bitmap(
        MMBitmap::CreateWithPixels({0, 0, w, h}, kind, nullptr));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            std::memset(bitmap->PixelAddress(x, y), (x * 7 + y * 3 + value) & 0xFF,
                        bitmap->bytesPerPixel);
    if (kind == kPixelBGRA) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                bitmap->PixelAddress(x, y)[3] = 0;
        bitmap->transparencyKind = kTransparencyOpaque;
    }
    return bitmap;
}

double ButtonStep(MMBitmapPictureCollection& pictures)
{
    MMPictureReference held[3];
    for (int16_t i = 0; i < 3; ++i)
        pictures.BindPicture(held[i], i, *Solid(64, 48, kPixelBGRA, uint8_t(40 * i)), nullptr);
    CallLog log;
    MMStage stage(nullptr, Box{0, 0, 800, 600}, 32, nullptr, nullptr, nullptr, nullptr);
    FakeClock::now = 1000;
    stage.SetClock(FakeClock::Now);
    BenchScene scene(&stage);
    stage.SetPendingScene(&scene, nullptr, nullptr);
    stage.StartClock();
    stage.ChangeSceneOrDispatch();
    std::vector<KVXAnimatedButtonMolecule*> buttons;
    for (int i = 0; i < 31; ++i) {
        auto* button = new KVXAnimatedButtonMolecule(&scene, MMMakeResourceId(kBenchScripts, 0),
                                                     nullptr, 5, 0, 100, 1);
        button->SetOffset(20 + (i % 8) * 96, 20 + (i / 8) * 120);
        buttons.push_back(button);
    }
    auto step = [&](int32_t x, int32_t y) {
        FakeClock::now += 16;
        MMStageEvent event = {kStageEventPointer, 0, 0, x, y, 0};
        stage.DispatchMouseEvent(event);
        stage.RunDueTasks();
        stage.FrameTick();
        stage.RedrawDirty();
    };
    step(30, 30);
    double best = 1e9;
    for (int round = 0; round < 7; ++round) {
        double start = Now();
        for (int i = 0; i < 60; ++i)
            step(30 + (i & 1), 30);
        best = std::min(best, (Now() - start) / 60);
    }
    scene.DeleteMolecules();
    return best / kFrameMs;
}

double AlphaRedraw(MMBitmapPictureCollection& pictures)
{
    MMColorTable table;
    for (int i = 0; i < 256; ++i)
        table.entries[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 0};
    MMPictureReference mask, image;
    pictures.BindPicture(mask, 3, *Solid(800, 600, kPixelIndexed, 17), &table);
    pictures.BindPicture(image, 4, *Solid(800, 600, kPixelIndexed, 99), &table);
    KVXAlphaVisual veil(mask, image, 0, 0, 9000);
    std::unique_ptr<WinMMOffscreenSurface> surface(
        MMSurface::CreateBitmapDC(32, Box{0, 0, 800, 600}, nullptr));
    std::vector<uint8_t> from(800 * 600 * 4, 7), to(800 * 600 * 4);
    double bestDraw = 1e9, bestCopy = 1e9;
    for (int round = 0; round < 7; ++round) {
        double start = Now();
        for (int i = 0; i < 20; ++i)
            veil.Draw(surface.get());
        bestDraw = std::min(bestDraw, (Now() - start) / 20);
        start = Now();
        for (int i = 0; i < 20; ++i) {
            std::memcpy(to.data(), from.data(), from.size());
            from[i] = to[i + 1];
        }
        bestCopy = std::min(bestCopy, (Now() - start) / 20);
    }
    return bestDraw / bestCopy;
}

}  // namespace

int main()
{
    ScratchFolder scratch;
    if (!WriteButtonScript(scratch.folder)) {
        std::printf("the bench script could not be written\n");
        return 1;
    }
    MMBitmapPictureCollection pictures(8, kBenchPictures);
    std::printf("stage step, 30 idle buttons and one hovered: %.3f of a 16.7 ms frame (goal 0.1)\n",
                ButtonStep(pictures));
    std::printf("800 x 600 alpha picture redrawn: %.2f x a memcpy of the frame (goal 8)\n",
                AlphaRedraw(pictures));
    CloseAllScriptFiles();
    return 0;
}
