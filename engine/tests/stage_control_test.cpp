#include <gtest/gtest.h>

#include <vector>

#include "engine/key_table.h"
#include "engine/stage_control.h"
#include "engine/wintab_binding.h"
#include "window_fixture.h"

namespace {

// A stage window with its stage and a control made on the test thread, so
// that sent messages reach the control's procedure directly.
struct ControlTest : ::testing::Test {
    MMStageWindow* window = MakeStageWindow();
    MMStage* stage = new MMStage(window, Box{0, 0, 200, 150}, 32, nullptr, nullptr, nullptr,
                                 nullptr);
    MMStageControl* control = nullptr;

    void SetUp() override
    {
        FakeClock::now = 1000;
        stage->SetClock(FakeClock::Now);
        control = stage->CreateControl(window, Box{0, 0, 200, 150});
        ASSERT_NE(control->Window(), nullptr);
    }
    void TearDown() override
    {
        delete control;
        delete window;  // stops the never-started stage thread and deletes the stage
        SetTabletEntriesForTesting(nullptr);
        BYTE keys[256] = {};
        SetKeyboardState(keys);
    }
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam = 0)
    {
        return SendMessageA(control->Window(), message, wParam, lParam);
    }
    std::vector<MMStageEvent> Drain()
    {
        std::vector<MMStageEvent> events;
        MMStageEvent event;
        while (stage->InputRing().TakeFront(&event))
            events.push_back(event);
        return events;
    }
    void SetModifiers(bool shift, bool controlKey)
    {
        BYTE keys[256] = {};
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        keys[VK_CONTROL] = controlKey ? 0x80 : 0;
        SetKeyboardState(keys);
    }
    void PumpControl()
    {
        MSG message;
        while (PeekMessageA(&message, control->Window(), 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
};

TEST_F(ControlTest, MouseMessagesBecomeEventsWithFlags)
{
    struct Case {
        UINT message;
        WPARAM keys;
        uint32_t flags;
    } cases[] = {
        {WM_LBUTTONDOWN, MK_LBUTTON, 0x03},
        {WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, 0x23},
        {WM_LBUTTONUP, 0, 0x04},
        {WM_RBUTTONDBLCLK, MK_RBUTTON, 0x93},
        {WM_MOUSEMOVE, MK_CONTROL, 0x40},
        {WM_MBUTTONDOWN, MK_MBUTTON, 0x03},
    };
    for (const Case& c : cases) {
        Send(c.message, c.keys, MAKELPARAM(-3, 7));
        std::vector<MMStageEvent> events = Drain();
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].type, kStageEventPointer);
        EXPECT_EQ(events[0].x, -3);
        EXPECT_EQ(events[0].y, 7);
        EXPECT_EQ(events[0].data, c.flags) << "message " << std::hex << c.message;
    }
    EXPECT_TRUE(control->TimerSet());
}

TEST_F(ControlTest, MovesWithTheSameFlagsCoalesce)
{
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    std::vector<MMStageEvent> events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].x, 2);
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(Drain().size(), 3u);
}

TEST_F(ControlTest, InputRingHoldsFifteenEvents)
{
    for (int i = 0; i < 20; ++i)
        stage->QueueInputEvent(MMStageEvent{kStageEventKey, 0, 0, 0, 0, uint32_t(i)});
    std::vector<MMStageEvent> events = Drain();
    ASSERT_EQ(events.size(), 15u);
    EXPECT_EQ(events.front().data, 0u);
    EXPECT_EQ(events.back().data, 14u) << "later events are lost while full";
    stage->QueueInputEvent(MMStageEvent{kStageEventPointerLeft, 0, 0, -1, -1, 0});
    stage->QueueInputEvent(MMStageEvent{kStageEventPointerLeft, 0, 0, -1, -1, 0});
    EXPECT_EQ(Drain().size(), 1u);
}

TEST_F(ControlTest, KeyTableAndCharacters)
{
    struct Case {
        WORD key;
        bool shift, controlKey;
        bool swallows;
        uint16_t command;
    } cases[] = {
        {VK_RETURN, false, false, true, 1005},
        {VK_RETURN, false, true, false, 1006},
        {VK_LEFT, true, true, false, 1029},
        {VK_TAB, true, false, false, 1003},
        {VK_F12, false, false, false, 1048},
        {VK_DELETE, false, false, true, 1000},
    };
    for (const Case& c : cases) {
        SetModifiers(c.shift, c.controlKey);
        PostMessageA(control->Window(), WM_CHAR, 'x', 0);
        Send(WM_KEYDOWN, c.key);
        PumpControl();
        std::vector<MMStageEvent> events = Drain();
        ASSERT_EQ(events.size(), c.swallows ? 1u : 2u) << c.command;
        EXPECT_EQ(events[0].type, kStageEventKey);
        EXPECT_EQ(events[0].KeyCommand(), c.command);
        EXPECT_EQ(events[0].CharLow(), 0);
        if (!c.swallows) {
            EXPECT_EQ(events[1].KeyCommand(), 0);
            EXPECT_EQ(events[1].CharLow(), 'x');
        }
    }
    SetModifiers(false, false);
    Send(WM_KEYDOWN, 'A');
    EXPECT_TRUE(Drain().empty()) << "keys outside the table are not events";
    Send(WM_SYSKEYDOWN, VK_RETURN);
    EXPECT_TRUE(Drain().empty()) << "alt keys are not looked up";
    Send(WM_CHAR, 0x1E9);
    std::vector<MMStageEvent> chars = Drain();
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0].CharLow(), 0xE9);
    EXPECT_EQ(chars[0].CharHigh(), 0x01);
    EXPECT_EQ(MMFindKey(VK_HOME, kKeyShift | kKeyControl)->command, 1027);
    EXPECT_EQ(MMFindKey(VK_F1, kKeyShift), nullptr);
}

TEST_F(ControlTest, OwnerMenuCommandsReachTheRingOnlyWhenBound)
{
    EXPECT_FALSE(control->HandleOwnerCommand(13201));
    struct Nothing {
        void Do() {}
    } nothing;
    stage->BindMenuCommand(13201, new MMClassCommand<Nothing>("undo", stage, &nothing, &Nothing::Do));
    EXPECT_TRUE(window->HandleCommand(13201));
    std::vector<MMStageEvent> events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, kStageEventMenuCommand);
    EXPECT_EQ(events[0].data, 13201u);
}

TEST_F(ControlTest, PointerLeftOnlyWhenThePointerIsElsewhereAndNotCaptured)
{
    window->Show(true);
    ShowWindow(control->Window(), SW_SHOW);
    POINT inside = {50, 50};
    ClientToScreen(control->Window(), &inside);
    SetCursorPos(inside.x, inside.y);
    Send(WM_TIMER, 1);
    EXPECT_TRUE(Drain().empty()) << "the pointer is over the control";
    SetCursorPos(inside.x + 400, inside.y + 400);
    SetCapture(control->Window());
    Send(WM_TIMER, 1);
    EXPECT_TRUE(Drain().empty()) << "the control holds the capture";
    ReleaseCapture();
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    Drain();
    Send(WM_TIMER, 1);
    std::vector<MMStageEvent> events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, kStageEventPointerLeft);
    EXPECT_EQ(events[0].x, -1);
    EXPECT_FALSE(control->TimerSet());
}

// The tablet library as a table of fakes.
struct FakeTablet {
    static int32_t cursorMarks[4];
    static int32_t maxPressure;
    static MMTabletPacket packet;
    static UINT WINAPI Info(UINT category, UINT index, LPVOID output)
    {
        if (category == kWtiInterface && index == kIfcNDevices) {
            *static_cast<UINT*>(output) = 1;
            return sizeof(UINT);
        }
        if (category == kWtiDefSysCtx) {
            MMWinTabLogContext* context = static_cast<MMWinTabLogContext*>(output);
            *context = MMWinTabLogContext{};
            context->lcSysExtX = 800;
            context->lcSysExtY = 600;
            return sizeof *context;
        }
        if (category == kWtiDevices && index == kDvcNPressure) {
            MMWinTabAxis* axis = static_cast<MMWinTabAxis*>(output);
            axis->axMin = 0;
            axis->axMax = maxPressure;
            return sizeof *axis;
        }
        if (category >= kWtiCursors && index == kCsrNPBtnMarks) {
            int32_t mark = cursorMarks[(category - kWtiCursors) & 3];
            if (mark < 0)
                return 0;
            UINT* marks = static_cast<UINT*>(output);
            marks[0] = UINT(mark);
            marks[1] = UINT(mark) + 10;
            return 2 * sizeof(UINT);
        }
        return 0;
    }
    static MMTabletContext WINAPI Open(HWND, MMWinTabLogContext* context, BOOL)
    {
        opened = *context;
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
    static MMWinTabLogContext opened;
};
int32_t FakeTablet::cursorMarks[4] = {0, 23, 2000, -1};
int32_t FakeTablet::maxPressure = 1023;
MMTabletPacket FakeTablet::packet = {};
MMWinTabLogContext FakeTablet::opened = {};

struct TabletTest : ControlTest {
    void SetUp() override
    {
        static const MMWinTabEntries fakes = {FakeTablet::Info, FakeTablet::Open,
                                              FakeTablet::Close, FakeTablet::Packet,
                                              FakeTablet::Yes, FakeTablet::Yes,
                                              FakeTablet::QueueSize};
        SetTabletEntriesForTesting(&fakes);
        ControlTest::SetUp();
        POINT origin = {0, 0};
        ClientToScreen(control->Window(), &origin);
        originX = origin.x;
        originY = origin.y;
    }
    void Packet(int32_t cursor, int32_t x, int32_t y, int32_t pressure, int32_t status = 0)
    {
        FakeTablet::packet = MMTabletPacket{status, cursor, x, y, pressure};
        Send(kWtPacket, 1, 0);
    }
    std::vector<MMPointerSample> Samples()
    {
        std::vector<MMPointerSample> samples;
        while (MMPointerSample* sample = stage->PenRing().Front()) {
            samples.push_back(*sample);
            stage->PenRing().Pop();
        }
        return samples;
    }
    int32_t originX = 0, originY = 0;
};

TEST_F(TabletTest, ContextIsOpenedFromTheDefaultSystemContext)
{
    EXPECT_NE(control->TabletContext(), nullptr);
    EXPECT_STREQ(FakeTablet::opened.lcName, "MMStage context");
    EXPECT_EQ(FakeTablet::opened.lcPktData, 0x5A2u);
    EXPECT_EQ(FakeTablet::opened.lcOutExtY, -600);
    EXPECT_TRUE(FakeTablet::opened.lcOptions & kCxoMessages);
}

TEST_F(TabletTest, PressureIsScaledFromTheCursorsReleaseMark)
{
    control->EnableTablet(true);
    control->SetPointerSamplingMode(true);
    struct Case {
        int32_t cursor, pressure;
        int16_t expected;
    } cases[] = {
        {0, 1023, 255}, {0, 341, 85},    // release mark 0, span 1023
        {1, 10, 0},     {1, 223, 51},    // release mark 23, span 1000
        {1, 2000, 255},                  // above the span
        {2, 341, 85},                    // a mark above the maximum falls back to the whole axis
        {3, 200, 0},                     // unreadable marks stay 255: below the mark gives 0
        {3, 1023, 255},                  // span 1023 - 255
    };
    int32_t x = 100;
    for (const Case& c : cases) {
        Packet(c.cursor, originX + ++x, originY + 20, c.pressure);
        std::vector<MMPointerSample> samples = Samples();
        ASSERT_EQ(samples.size(), 1u) << c.cursor << " " << c.pressure;
        EXPECT_EQ(samples[0].pressure, c.expected) << c.cursor << " " << c.pressure;
        EXPECT_EQ(samples[0].cursor, c.cursor);
        EXPECT_EQ(samples[0].x, x);
        EXPECT_EQ(samples[0].y, 20);
    }
    Packet(3, originX + x, originY + 20, 1023, 7);
    EXPECT_TRUE(Samples().empty()) << "a repeated packet is ignored whatever its status";
}

TEST_F(TabletTest, MaximumPressureOfZeroGivesFullPressure)
{
    delete control;
    FakeTablet::maxPressure = 0;
    control = stage->CreateControl(window, Box{0, 0, 200, 150});
    FakeTablet::maxPressure = 1023;
    control->EnableTablet(true);
    control->SetPointerSamplingMode(true);
    Packet(2, originX + 5, originY + 5, 300);
    std::vector<MMPointerSample> samples = Samples();
    ASSERT_EQ(samples.size(), 1u);
    EXPECT_EQ(samples[0].pressure, 255);
}

TEST_F(TabletTest, MouseSamplesOnlyWithoutARecentTabletPacket)
{
    control->EnableTablet(true);
    FakeClock::now = 1000;
    Packet(1, 10, 10, 500);
    struct Case {
        uint32_t switchOnAt;
        bool mouseSamples;
    } cases[] = {{1500, false}, {1501, true}};
    for (const Case& c : cases) {
        FakeClock::now = c.switchOnAt;
        EXPECT_EQ(control->SetPointerSamplingMode(true), c.mouseSamples) << c.switchOnAt;
        Samples();
        Send(WM_MOUSEMOVE, 0, MAKELPARAM(30, int(c.switchOnAt & 0xFF)));
        std::vector<MMPointerSample> samples = Samples();
        EXPECT_EQ(samples.size(), c.mouseSamples ? 1u : 0u) << c.switchOnAt;
        if (c.mouseSamples) {
            EXPECT_EQ(samples[0].cursor, kMouseCursor);
            EXPECT_EQ(samples[0].pressure, 255);
        }
        control->SetPointerSamplingMode(false);
        FakeClock::now = 1000;
        Packet(1, 10, 10, 500 + int32_t(c.switchOnAt));  // a fresh packet at 1000
    }
}

TEST_F(ControlTest, RealTabletLibraryWithoutATabletOpensNoContext)
{
    if (!BindTabletLibrary())
        GTEST_SKIP() << "no tablet library";
    MMStageControl* second = stage->CreateControl(window, Box{0, 0, 20, 20});
    EXPECT_EQ(second->TabletContext(), nullptr);
    second->EnableTablet(true);
    EXPECT_TRUE(second->TabletEnabled());
    EXPECT_TRUE(second->SetPointerSamplingMode(true)) << "without a context the mouse samples";
    delete second;
    window->SetControl(control);
    UnbindTabletLibrary();
}

TEST(TabletBinding, RealLibraryBindsByOrdinalAndUnbindsToStubs)
{
    bool bound = BindTabletLibrary();
    EXPECT_EQ(IsTabletLibraryBound(), bound);
    UnbindTabletLibrary();
    EXPECT_FALSE(IsTabletLibraryBound());
    EXPECT_EQ(WinTab().info, WinTabStubs().info);
    UINT devices = 7;
    EXPECT_EQ(WinTab().info(kWtiInterface, kIfcNDevices, &devices), 0u);
}

}  // namespace
