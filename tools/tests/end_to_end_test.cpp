// A stroke from the real stage control window to the back buffer: mouse
// messages and tablet packets become events and pen samples, the stage
// routes the press to the tool's interpreter on the canvas, the "Freehand
// Ticker" paints, and the redraw renders the canvas into the offscreen
// surface.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/stage_control.h"
#include "engine/wintab_binding.h"
#include "media/offscreen_surface.h"
#include "tool_fixture.h"
#include "tools/freehand_interpreter.h"
#include "window_fixture.h"

namespace {

struct Tablet {
    static MMTabletPacket packet;
    static UINT WINAPI Info(UINT category, UINT index, LPVOID output)
    {
        if (category == kWtiInterface && index == kIfcNDevices) {
            *static_cast<UINT*>(output) = 1;
            return sizeof(UINT);
        }
        if (category == kWtiDefSysCtx) {
            auto* context = static_cast<MMWinTabLogContext*>(output);
            *context = MMWinTabLogContext{};
            context->lcSysExtX = 800;
            context->lcSysExtY = 600;
            return sizeof *context;
        }
        if (category == kWtiDevices && index == kDvcNPressure) {
            auto* axis = static_cast<MMWinTabAxis*>(output);
            axis->axMin = 0;
            axis->axMax = 1023;
            return sizeof *axis;
        }
        return 0;
    }
    static MMTabletContext WINAPI Open(HWND, MMWinTabLogContext*, BOOL)
    {
        return reinterpret_cast<MMTabletContext>(0x1234);
    }
    static BOOL WINAPI Close(MMTabletContext) { return TRUE; }
    static BOOL WINAPI Packet(MMTabletContext, UINT, LPVOID output)
    {
        *static_cast<MMTabletPacket*>(output) = packet;
        return TRUE;
    }
    static BOOL WINAPI Yes(MMTabletContext, BOOL) { return TRUE; }
    static BOOL WINAPI QueueSize(MMTabletContext, int) { return TRUE; }
};
MMTabletPacket Tablet::packet = {};

// The stage thread makes the stage's control; here the test makes it on its
// own thread and hands it over.
class TestStage : public MMStage {
public:
    using MMStage::MMStage;
    void Adopt(MMStageControl* control) { control_ = control; }
};

struct EndToEndTest : ToolFixture {
    MMStageWindow* window = nullptr;
    TestStage* stage = nullptr;
    MMStageControl* control = nullptr;
    RecordingScene* screen = nullptr;
    KVXCanvasVisual* visual = nullptr;
    int32_t originX = 0, originY = 0;

    void SetUp() override
    {
        static const MMWinTabEntries fakes = {Tablet::Info, Tablet::Open, Tablet::Close,
                                              Tablet::Packet, Tablet::Yes, Tablet::Yes,
                                              Tablet::QueueSize};
        SetTabletEntriesForTesting(&fakes);
        OpenData();
        window = MakeStageWindow();
        stage = new TestStage(window, Box{0, 0, 200, 150}, 32, nullptr, nullptr, nullptr, nullptr);
        stage->SetClock(FakeClock::Now);
        control = stage->CreateControl(window, Box{0, 0, 200, 150});
        ASSERT_NE(control->Window(), nullptr);
        stage->Adopt(control);
        screen = new RecordingScene(stage, &calls);
        stage->SetPendingScene(screen, nullptr, nullptr);
        stage->StartClock();
        stage->ChangeSceneOrDispatch();
        visual = new KVXCanvasVisual(screen, &canvasHost, {10, 10, 74, 58}, 10, &plane, &undo);
        screen->TopEnclosure()->AddVisual(visual);
        visual->SetDrawMethod(3, 255, 255);
        host.scene = screen;
        host.canvas = visual;
        POINT origin = {0, 0};
        ClientToScreen(control->Window(), &origin);
        originX = origin.x;
        originY = origin.y;
    }
    void TearDown() override
    {
        screen->TopEnclosure()->RemoveVisual(visual);
        delete visual;
        stage->SetPendingScene(nullptr, nullptr, nullptr);
        stage->ChangeSceneOrDispatch();
        delete screen;
        stage->Adopt(nullptr);
        delete control;
        delete window;
        SetTabletEntriesForTesting(nullptr);
    }
    void Send(UINT message, WPARAM wParam, int32_t x, int32_t y)
    {
        SendMessageA(control->Window(), message, wParam, MAKELPARAM(x, y));
    }
    void Packet(int32_t cursor, int32_t x, int32_t y)
    {
        Tablet::packet = MMTabletPacket{0, cursor, originX + x, originY + y, 1023};
        SendMessageA(control->Window(), kWtPacket, 1, 0);
    }
    // One stage step without the blit: input, threads, redraw.
    void StagePass()
    {
        FakeClock::now += 10;
        stage->ChangeSceneOrDispatch();
        stage->RunDueTasks();
        stage->RedrawDirty();
    }
    uint32_t BackBuffer(int x, int y)
    {
        MMBitmap store;
        stage->Offscreen()->GetBitmap(store);
        uint32_t word;
        std::memcpy(&word, store.PixelAddress(x, y), 4);
        return word & 0xFFFFFF;
    }
};

TEST_F(EndToEndTest, AMouseStrokeReachesTheBackBufferAndTheEraserEndErases)
{
    PlainTool tool(&host, kTestToolTable, 0, colour);
    tool.Begin();
    control->EnableTablet(true);
    for (int i = 0; i < 3; ++i)
        StagePass();
    EXPECT_EQ(BackBuffer(25, 20), 0xFFFFFFu);

    Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    StagePass();
    EXPECT_EQ(stage->PointerInterpreter(), static_cast<MMMouseInterpreter*>(tool.Interpreter()));
    auto* freehand = dynamic_cast<KVXFreeHandToolInterpreter*>(tool.Interpreter());
    ASSERT_NE(freehand, nullptr);
    EXPECT_TRUE(freehand->StrokeActive());
    EXPECT_TRUE(stage->IsPointerSampling());
    for (int x = 21; x <= 40; ++x) {
        Send(WM_MOUSEMOVE, MK_LBUTTON, x, 20);
        StagePass();
    }
    Send(WM_LBUTTONUP, 0, 40, 20);
    for (int i = 0; i < 3; ++i)
        StagePass();
    EXPECT_FALSE(freehand->StrokeBegun());
    // Canvas (15, 10) lies in the stroke; the screen shows the tool's colour.
    EXPECT_EQ(plane.ColorAt(15, 10), 0x001E140Au);
    EXPECT_EQ(BackBuffer(25, 20), 0x1E140Au);
    EXPECT_EQ(BackBuffer(25, 30), 0xFFFFFFu);

    // The stylus's eraser end: white paint over the stroke.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 24, 20);
    StagePass();
    control->EnableTablet(true);
    for (int x = 24; x <= 28; ++x) {
        Packet(kEraserCursor, x, 20);
        StagePass();
    }
    EXPECT_TRUE(freehand->EraserStroke());
    Send(WM_LBUTTONUP, 0, 28, 20);
    for (int i = 0; i < 3; ++i)
        StagePass();
    EXPECT_EQ(plane.ColorAt(16, 10) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(BackBuffer(26, 20), 0xFFFFFFu);
    EXPECT_EQ(BackBuffer(35, 20), 0x1E140Au);
    tool.DeleteMolecules();
}

}  // namespace
