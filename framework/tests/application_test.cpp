#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>
#include <windows.h>
#include "framework/application.h"
#include "framework/controls.h"
#include "framework/folders.h"
#include "framework/heap.h"
#include "framework/pending_error.h"
#include "framework/pulse_task.h"
#include "framework/window.h"
#include "scratch_folder.h"

namespace {

constexpr UINT kPing = WM_APP + 100;

const AFWindowClass kTestWindowClass = {
    CS_OWNDC | CS_DBLCLKS, 0, 0, true, MAKEINTRESOURCEA(550), nullptr, false, IDC_ARROW,
    reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr, "FrameworkTestWindow",
    &AFWindow::WindowProc,
};

class TestWindow : public AFWindow {
public:
    explicit TestWindow(std::function<void(TestWindow*)> onPing = nullptr)
        : AFWindow(AFWindowCreation{&kTestWindowClass, Box{40, 40, 240, 190}, WS_OVERLAPPEDWINDOW, 0},
                   nullptr),
          onPing(std::move(onPing))
    {
    }
    bool CanClose() override { return true; }
    bool HandleCommand(uint16_t command) override
    {
        commands.push_back(command);
        return true;
    }
    bool HandleMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override
    {
        if (message == kPing) {
            if (onPing)
                onPing(this);
            return true;
        }
        return AFWindow::HandleMessage(handle, message, wParam, lParam, result);
    }
    std::function<void(TestWindow*)> onPing;
    std::vector<uint16_t> commands;
};

class TestApplication : public AFApplication {
public:
    explicit TestApplication(Heap* heap) : AFApplication(heap) {}

    bool OpenFile(const FSDirectory& folder, const char* name) override
    {
        ++filesOffered;
        offered.push_back(std::string(folder.Path()) + name);
        if (acceptFiles)
            PostQuitMessage(0);  // the document is closed at once
        return acceptFiles;
    }
    bool OpenCommandLineFiles() override
    {
        return commandLine ? OpenFilesNamedIn(commandLine)
                           : AFApplication::OpenCommandLineFiles();
    }
    bool OpenDefault() override
    {
        ++defaults;
        return openDefault ? openDefault() : true;
    }
    bool ReportError() override
    {
        ++reports;
        return report ? report() : AFApplication::ReportError();
    }
    void Terminate() override
    {
        ++cycles;
        AFApplication::Terminate();
    }

    std::function<bool()> openDefault;
    std::function<bool()> report;
    const char* commandLine = nullptr;
    bool acceptFiles = false;
    std::vector<std::string> offered;
    int filesOffered = 0;
    int defaults = 0;
    int reports = 0;
    int cycles = 0;
};

std::vector<std::string> gBoxTexts;
std::vector<std::string> gBoxCaptions;

int WINAPI RecordingBox(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    gBoxTexts.push_back(text);
    gBoxCaptions.push_back(caption);
    return IDOK;
}

class Beat : public AFPulseTask {
public:
    Beat() : beat(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Beat() override { CloseHandle(beat); }
    int32_t Pulse() override
    {
        SetEvent(beat);
        return kNever;
    }
    HANDLE beat;
};

class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearPendingError();
        gBoxTexts.clear();
        gBoxCaptions.clear();
        SetErrorMessageBox(&RecordingBox);
    }
    void TearDown() override
    {
        SetErrorMessageBox(nullptr);
        ClearPendingError();
    }
    AFHeap heap;
};

TEST_F(ApplicationTest, CycleRunsUntilTheLastWindowCloses)
{
    TestApplication app(&heap);
    EXPECT_EQ(gApplication, &app);
    EXPECT_EQ(gDefaultHeap, &heap);
    EXPECT_EQ(gListNodeHeap, &heap);
    ASSERT_NE(gPulseTaskManager, nullptr);
    Beat beat;
    gPulseTaskManager->Add(&beat);

    TestWindow* first = nullptr;
    TestWindow* second = nullptr;
    bool othersLeftRunning = false;
    bool pulsedDuringCycle = false;
    app.openDefault = [&]() {
        second = new TestWindow([&](TestWindow* self) {
            othersLeftRunning = app.FirstWindow() == self && app.NextWindow(self) == nullptr;
            PostMessageA(self->window, WM_CLOSE, 0, 0);
        });
        first = new TestWindow([&](TestWindow* self) {
            pulsedDuringCycle = WaitForSingleObject(beat.beat, 10000) == WAIT_OBJECT_0;
            PostMessageA(self->window, WM_CLOSE, 0, 0);
            PostMessageA(second->window, kPing, 0, 0);
        });
        PostMessageA(first->window, kPing, 0, 0);
        return first->window && second->window;
    };
    EXPECT_TRUE(app.Run());
    EXPECT_EQ(app.defaults, 1);  // no command-line file was accepted
    EXPECT_EQ(app.cycles, 1);
    EXPECT_EQ(app.reports, 0);
    EXPECT_TRUE(pulsedDuringCycle);
    EXPECT_TRUE(othersLeftRunning);
    EXPECT_EQ(app.FirstWindow(), nullptr);
    EXPECT_FALSE(gPulseTaskManager->IsRunning());
    gPulseTaskManager->Remove(&beat);
}

TEST_F(ApplicationTest, PendingErrorIsReportedOnceInABox)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    FSDirectory folder(temp);
    TestApplication app(&heap);
    app.openDefault = [&]() {
        TestWindow* window = new TestWindow([&](TestWindow*) {
            SetPendingError(MME_PICTURE_RESOURCE_FILE_BAD_CHECKSUM, folder, "pics.pic",
                            ERROR_FILE_NOT_FOUND);
        });
        PostMessageA(window->window, kPing, 0, 0);
        return true;
    };
    EXPECT_FALSE(app.Run());
    EXPECT_EQ(app.cycles, 1);
    EXPECT_EQ(app.reports, 1);
    ASSERT_EQ(gBoxTexts.size(), 1u);
    std::string expected = std::string("Bad checksum in picture resource file '") + folder.Path() +
                           "pics.pic'.\n\n" + SystemErrorText(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(gBoxTexts[0], expected);
    char caption[256];
    LoadStringA(GetModuleHandleA(nullptr), 550, caption, sizeof(caption));
    EXPECT_EQ(gBoxCaptions[0], caption);
    EXPECT_EQ(app.FirstWindow(), nullptr);
}

// A thread's entry has the platform's calling convention, which a lambda
// cannot have on 32-bit Windows.
DWORD WINAPI FailLater(void*)
{
    Sleep(200);
    FailWithoutError();
    return 0;
}

TEST_F(ApplicationTest, ErrorFromAnotherThreadWakesTheIdleLoop)
{
    constexpr UINT_PTR kLateTimer = 1;
    TestApplication app(&heap);
    bool timedOut = false;
    HANDLE recorder = nullptr;
    app.openDefault = [&]() {
        TestWindow* window = new TestWindow([&](TestWindow* self) {
            // Nothing else arrives before the timer: only the error can end the loop.
            SetTimer(self->window, kLateTimer, 5000, nullptr);
            recorder = CreateThread(
                nullptr, 0,
                FailLater,
                nullptr, 0, nullptr);
        });
        PostMessageA(window->window, kPing, 0, 0);
        return true;
    };
    DWORD start = GetTickCount();
    app.report = [&]() {
        timedOut = GetTickCount() - start >= 4000;
        return false;
    };
    EXPECT_FALSE(app.Run());
    EXPECT_EQ(app.reports, 1);
    EXPECT_FALSE(timedOut);
    ASSERT_NE(recorder, nullptr);
    WaitForSingleObject(recorder, INFINITE);
    CloseHandle(recorder);
}

TEST_F(ApplicationTest, CycleRepeatsWhileTheReportAsksForIt)
{
    TestApplication app(&heap);
    app.openDefault = [&]() {
        if (app.cycles == 0)
            return FailWithoutError();
        TestWindow* window = new TestWindow([](TestWindow* self) {
            PostMessageA(self->window, WM_CLOSE, 0, 0);
        });
        PostMessageA(window->window, kPing, 0, 0);
        return true;
    };
    app.report = [&]() {
        ClearPendingError();
        return true;
    };
    EXPECT_TRUE(app.Run());
    EXPECT_EQ(app.cycles, 2);
    EXPECT_EQ(app.reports, 1);
    EXPECT_EQ(app.defaults, 2);
    EXPECT_TRUE(gBoxTexts.empty());
}

TEST_F(ApplicationTest, CommandLineFilesAreOpenedInPlaceOfTheDefault)
{
    ScratchFolder scratch;
    scratch.WriteFile("a b.pic", "x");
    const std::string path = std::string(scratch.folder.Path()) + "a b.pic";
    const std::string quoted = "\"" + path + "\"";
    struct Case {
        std::string commandLine;
        bool accept;
        std::vector<std::string> offered;
        int defaults;
    } cases[] = {
        {"prog.exe", true, {}, 1},
        {"\"C:\\Program Files\\prog.exe\" " + quoted, true, {path}, 0},
        {"prog.exe " + quoted, false, {path}, 1},  // offered, refused
        {"prog.exe C:\\no-such-folder\\x.pic relative.pic", true, {}, 1},
    };
    for (const Case& c : cases) {
        TestApplication app(&heap);
        app.commandLine = c.commandLine.c_str();
        app.acceptFiles = c.accept;
        app.openDefault = []() {
            PostQuitMessage(0);
            return true;
        };
        EXPECT_TRUE(app.Run()) << c.commandLine;
        EXPECT_EQ(app.offered, c.offered) << c.commandLine;
        EXPECT_EQ(app.defaults, c.defaults) << c.commandLine;
    }
}

TEST(CommandLineTest, TokensSplitAtBlanksAndQuotesGroup)
{
    const char* text = "prog.exe  \"C:\\My Pictures\\a b.bmp\"\tnext \"open";
    std::vector<std::string> tokens;
    char token[256];
    while ((text = NextCommandLineToken(text, token)))
        tokens.push_back(token);
    EXPECT_EQ(tokens, (std::vector<std::string>{"prog.exe", "C:\\My Pictures\\a b.bmp", "next",
                                                "open"}));
    std::string longWord(300, 'w');
    const char* rest = NextCommandLineToken(longWord.c_str(), token);
    EXPECT_EQ(std::string(token), std::string(255, 'w'));
    EXPECT_EQ(rest, longWord.c_str() + 255);
    EXPECT_EQ(NextCommandLineToken(" \t ", token), nullptr);
}

TEST(WindowTest, MessagesTheWindowLeavesToTheSystem)
{
    TestWindow window;
    ASSERT_NE(window.window, nullptr);
    EXPECT_EQ(AFWindow::FromHandle(window.window), &window);
    LRESULT result = 0;
    HWND self = window.window;
    EXPECT_FALSE(window.HandleMessage(self, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(self), 0,
                                      &result));
    EXPECT_FALSE(window.HandleMessage(self, WM_COMMAND, MAKEWPARAM(12, 2), 0, &result));
    // Reflected to itself it would come straight back, for ever.
    EXPECT_FALSE(window.HandleMessage(self, WM_COMMAND, MAKEWPARAM(12, 0),
                                      reinterpret_cast<LPARAM>(self), &result));
    NMHDR header = {self, 12, 0};
    EXPECT_FALSE(window.HandleMessage(self, WM_NOTIFY, 12, reinterpret_cast<LPARAM>(&header),
                                      &result));
    for (UINT colour : {WM_CTLCOLORSTATIC, WM_CTLCOLORSCROLLBAR, WM_CTLCOLORDLG}) {
        EXPECT_FALSE(window.HandleMessage(self, colour, 0, reinterpret_cast<LPARAM>(self),
                                          &result)) << colour;
        EXPECT_FALSE(window.HandleMessage(self, colour, 0, 0, &result)) << colour;
    }
    EXPECT_TRUE(window.HandleMessage(self, WM_COMMAND, MAKEWPARAM(12, 1), 0, &result));
    EXPECT_TRUE(window.HandleMessage(self, WM_COMMAND, MAKEWPARAM(13, 0), 0, &result));
    EXPECT_EQ(window.commands, (std::vector<uint16_t>{12, 13}));

    RECT frame = {0, 0, 10, 10};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(self, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(self, GWL_EXSTYLE)));
    LONG frameWidth = frame.right - frame.left - 10;
    LONG frameHeight = frame.bottom - frame.top - 10;
    MINMAXINFO info = {};
    info.ptMaxSize = {50000, 50000};
    info.ptMaxTrackSize = {50000, 50000};
    info.ptMinTrackSize = {200, 200};
    EXPECT_TRUE(window.HandleMessage(self, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info),
                                     &result));
    EXPECT_EQ(info.ptMinTrackSize.x, frameWidth);
    EXPECT_EQ(info.ptMinTrackSize.y, frameHeight);
    EXPECT_EQ(info.ptMaxTrackSize.x, 30000 + frameWidth);
    EXPECT_EQ(info.ptMaxSize.y, 30000 + frameHeight);

    EXPECT_EQ(window.NextFocusControl(nullptr, true), nullptr);
    window.SetClientBox(Box{50, 60, 150, 110});
    EXPECT_EQ(window.ClientBoxOnScreen(), (Box{50, 60, 150, 110}));
    EXPECT_EQ(window.ClientBox(), (Box{0, 0, 100, 50}));

    MMColorTable table;
    table.entries[10] = RGBQUAD{30, 20, 10, 0};
    window.SetPalette(table);
    EXPECT_NE(window.palette, nullptr);
    EXPECT_TRUE(ColorTablesEqual(window.colors, table));
    result = 0;
    EXPECT_TRUE(window.HandleMessage(self, WM_QUERYNEWPALETTE, 0, 0, &result));
    EXPECT_EQ(result, 1);

    window.menu = CreateMenu();
    window.SetMenu(false);
    window.SetMenu(false);
    EXPECT_FALSE(window.IsMenuShown());
    window.SetMenu(true);
    EXPECT_TRUE(window.IsMenuShown());
    EXPECT_EQ(GetMenu(self), window.menu);

}

// A static control that may take the focus and tells when it is deleted.
class ProbeControl : public AFStaticTextControl {
public:
    ProbeControl(AFWindow* owner, int y, bool focusable, bool* deleted)
        : AFStaticTextControl(owner, Box{0, y, 50, y + 10}, "probe"), focusable(focusable),
          deleted(deleted)
    {
    }
    ~ProbeControl() override { *deleted = true; }
    bool CanTakeFocus() override { return focusable; }
    bool focusable;
    bool* deleted;
};

TEST(WindowTest, FocusWalkAndOwnedControls)
{
    bool firstGone = false, secondGone = false, focusGone = false, keptGone = false;
    ProbeControl* kept;
    ProbeControl* first;
    {
        TestWindow window;
        first = new ProbeControl(&window, 0, false, &firstGone);
        ProbeControl* second = new ProbeControl(&window, 20, false, &secondGone);
        ASSERT_NE(first->window, nullptr);
        EXPECT_EQ(window.NextFocusControl(nullptr, true), nullptr);
        EXPECT_EQ(window.NextFocusControl(nullptr, false), nullptr);
        EXPECT_EQ(window.NextFocusControl(second, true), nullptr);
        {
            // A control of another window never comes round again: the walk
            // ends after one pass over this window's children.
            TestWindow other;
            bool strangerGone = false;
            ProbeControl* stranger = new ProbeControl(&other, 0, false, &strangerGone);
            ASSERT_NE(stranger->window, nullptr);
            EXPECT_EQ(window.NextFocusControl(stranger, true), nullptr);
            EXPECT_EQ(window.NextFocusControl(stranger, false), nullptr);
        }

        ProbeControl* focusable = new ProbeControl(&window, 40, true, &focusGone);
        EXPECT_EQ(window.NextFocusControl(nullptr, true), focusable);
        EXPECT_EQ(window.NextFocusControl(first, false), focusable);
        EXPECT_EQ(window.NextFocusControl(focusable, true), focusable);

        kept = new ProbeControl(&window, 60, false, &keptGone);
        kept->KeepOnOwnerDestroy();
    }
    EXPECT_TRUE(firstGone);
    EXPECT_TRUE(secondGone);
    EXPECT_TRUE(focusGone);
    EXPECT_FALSE(keptGone);
    delete kept;
    EXPECT_TRUE(keptGone);
}

}  // namespace
