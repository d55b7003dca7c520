#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "fake_printer_calls.h"
#include "framework/print_configuration.h"
#include "framework/print_session.h"
#include "framework/printable.h"
#include "framework/window.h"
#include "memory_print_session.h"

namespace {

// A session on the machine's printer whose pages are scripted.
class ScriptedSession : public AFPrintSession {
public:
    explicit ScriptedSession(AFPrintConfiguration& configuration)
        : AFPrintSession(configuration, MMColorTable())
    {
    }
    int PageCount() override { return pageCount; }
    int CopyCount() override { return copyCount; }
    bool PrintPage(int page) override
    {
        pages.push_back(page);
        return onPage ? onPage(page) : true;
    }
    void StatusShown(bool) override { ++statusShown; }
    LPCSTR StatusDialogTemplate(HWND owner) override
    {
        return missingTemplate ? MAKEINTRESOURCEA(4242) : AFPrintSession::StatusDialogTemplate(owner);
    }
    void ClickCancel() const
    {
        SendMessageA(GetDlgItem(statusDialog, IDCANCEL), BM_CLICK, 0, 0);
    }

    int pageCount = 1;
    int copyCount = 1;
    bool missingTemplate = false;
    std::function<bool(int)> onPage;
    std::vector<int> pages;
    int statusShown = 0;
};

std::string TextOf(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

const AFWindowClass kOwnerClass = {
    0, 0, 0, false, nullptr, nullptr, false, IDC_ARROW,
    reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr, "PrintSessionOwner", &AFWindow::WindowProc,
};

AFWindowCreation OwnerCreation()
{
    RegisterWindowClass(kOwnerClass);
    return {&kOwnerClass, Box{20, 20, 220, 120}, WS_OVERLAPPEDWINDOW, 0};
}

class OwnerWindow : public AFWindow {
public:
    OwnerWindow() : AFWindow(OwnerCreation(), nullptr) {}
    bool CanClose() override { return true; }
};

class PrintSessions : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(configuration.HasPrinter()); }
    void TearDown() override { EXPECT_EQ(nullptr, AFPrintSession::Printing()); }
    AFPrintConfiguration configuration;
};

// Counts the printables alive; each answers as it is told.
int gAlive = 0;
std::vector<int> gPrinted;

class CountedPrintable : public AFPrintable {
public:
    CountedPrintable(int id, bool succeeds) : AFPrintable(Box{0, 0, 1, 1}), id(id), succeeds(succeeds)
    {
        ++gAlive;
    }
    ~CountedPrintable() override { --gAlive; }
    bool Print(AFPrintSession&) override
    {
        gPrinted.push_back(id);
        return succeeds;
    }
    int id;
    bool succeeds;
};

class ListSession : public MemoryPrintSession {
public:
    ListSession() : MemoryPrintSession(4, 4) {}
    bool CollectPrintables(int page, UUList<AFPrintable*>& list) override
    {
        for (int i = 0; i < 3; ++i)
            list.Append(new CountedPrintable(page * 10 + i, !(failingPrintable == i)));
        return collects;
    }
    bool collects = true;
    int failingPrintable = -1;
};

}  // namespace

TEST(FitBox, LargestCentredBoxOfTheContentsProportions)
{
    struct Case {
        Box content;
        Box page;
        Box fitted;
    } cases[] = {
        {{0, 0, 400, 300}, {0, 0, 1000, 1000}, {0, 125, 1000, 875}},
        {{0, 0, 300, 400}, {0, 0, 1000, 1000}, {125, 0, 875, 1000}},
        {{10, 10, 110, 110}, {100, 200, 300, 600}, {100, 300, 300, 500}},
        {{0, 0, 640, 480}, {0, 0, 2479, 3508}, {0, 824, 2479, 2683}},
        {{0, 0, 100, 100}, {0, 0, 50, 50}, {0, 0, 50, 50}},
        {{0, 0, 1, 3}, {0, 0, 100, 100}, {33, 0, 66, 100}},
        // Pages of very fine printers pass 32767 pixels.
        {{0, 0, 2, 1}, {0, 0, 100000, 40000}, {10000, 0, 90000, 40000}},
    };
    for (const Case& c : cases) {
        Box fitted = AFPrintSession::FitBox(c.content, c.page);
        EXPECT_EQ(c.fitted, fitted) << fitted.left << "," << fitted.top << "," << fitted.right
                                    << "," << fitted.bottom;
    }
}

TEST_F(PrintSessions, CancelledPrintDialogGives1WithoutTheStatusDialog)
{
    ScriptedSession session(configuration);
    FakePrinterCalls calls;
    calls.answer = [](PRINTDLGA*) { return FALSE; };
    // Without an owner window there is no dialog at all.
    EXPECT_EQ(1, session.Print("Sans fen\xEAtre"));
    EXPECT_TRUE(calls.dialogs.empty());

    OwnerWindow owner;
    configuration.SetOwnerWindow(&owner);
    EXPECT_EQ(1, session.Print("Annul\xE9"));
    ASSERT_EQ(1u, calls.dialogs.size());
    EXPECT_EQ(0x10000Cu, calls.dialogs[0].Flags);
    EXPECT_EQ(owner.window, calls.dialogs[0].hwndOwner);
    EXPECT_EQ(configuration.DeviceMode(), calls.dialogs[0].hDevMode);
    EXPECT_EQ(0, session.statusShown);
    EXPECT_TRUE(session.pages.empty());
}

TEST_F(PrintSessions, FailingPageAbortsWith5BehindTheStatusDialog)
{
    ScriptedSession session(configuration);
    session.pageCount = 3;
    std::string caption, title, document, button;
    session.onPage = [&](int page) {
        HWND status = session.StatusDialog();
        EXPECT_EQ(&session, AFPrintSession::Printing());
        caption = TextOf(status);
        title = TextOf(GetDlgItem(status, 100));
        document = TextOf(GetDlgItem(status, 101));
        button = TextOf(GetDlgItem(status, IDCANCEL));
        return page != 1;
    };
    EXPECT_EQ(5, session.PrintDocument("Ma page rat\xE9\x65"));
    EXPECT_EQ((std::vector<int>{0, 1}), session.pages);
    EXPECT_EQ(1, session.statusShown);
    EXPECT_EQ("\xC9tat de l'impression", caption);
    EXPECT_EQ("Impression", title);
    EXPECT_EQ("Ma page rat\xE9\x65", document);
    EXPECT_EQ("Annuler", button);
    EXPECT_EQ(nullptr, session.StatusDialog());
}

TEST_F(PrintSessions, FailingPageAfterCancelGives2)
{
    ScriptedSession session(configuration);
    session.pageCount = 3;
    session.onPage = [&](int page) {
        if (page == 1)
            session.ClickCancel();
        return page != 1;
    };
    EXPECT_EQ(2, session.PrintDocument("Annul\xE9 puis rat\xE9"));
    EXPECT_EQ((std::vector<int>{0, 1}), session.pages);
    EXPECT_TRUE(session.IsCancelled());
}

TEST_F(PrintSessions, StatusDialogThatCannotBeMadeGives3AndEndsTheJob)
{
    ScriptedSession session(configuration);
    session.missingTemplate = true;
    EXPECT_EQ(3, session.PrintDocument("Sans bo\xEEte"));
    EXPECT_TRUE(session.pages.empty());
    EXPECT_EQ(0, session.statusShown);
    EXPECT_EQ(nullptr, AFPrintSession::Printing());
}

TEST(PrintSessionWithoutPrinter, HasNoDeviceContextAndFailsWith3)
{
    NoPrinterConfiguration noPrinter;
    ScriptedSession session(*noPrinter.held);
    EXPECT_FALSE(session.HasDeviceContext());
    EXPECT_EQ(3, session.PrintDocument("Nulle part"));
    EXPECT_TRUE(session.pages.empty());
    EXPECT_EQ(nullptr, session.StatusDialog());
    EXPECT_EQ(nullptr, AFPrintSession::Printing());
}

TEST_F(PrintSessions, OneJobAtATime)
{
    ScriptedSession outer(configuration);
    ScriptedSession inner(configuration);
    int innerResult = -1;
    outer.onPage = [&](int) {
        innerResult = inner.PrintDocument("Dedans");
        EXPECT_EQ(&outer, AFPrintSession::Printing());
        return false;  // end the outer job without a document
    };
    EXPECT_EQ(5, outer.PrintDocument("Dehors"));
    EXPECT_EQ(3, innerResult);
    EXPECT_TRUE(inner.pages.empty());
}

TEST_F(PrintSessions, PumpingStopsOnceCancelledAndLeavesTheQuitMessage)
{
    ScriptedSession session(configuration);
    PostQuitMessage(4);
    EXPECT_TRUE(session.PumpMessages());
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(4u, message.wParam);

    OwnerWindow window;
    PostMessageA(window.window, WM_NULL, 0, 0);
    EXPECT_EQ(1, session.StatusDialogProc(nullptr, WM_COMMAND, IDCANCEL, 0));
    EXPECT_FALSE(session.PumpMessages());
    EXPECT_TRUE(PeekMessageA(&message, window.window, WM_NULL, WM_NULL, PM_REMOVE));
    EXPECT_EQ(0, session.StatusDialogProc(nullptr, WM_TIMER, 0, 0));
}

TEST(PrintSessionFromList, PrintsEveryPrintableInOrderAndDeletesThem)
{
    ListSession session;
    gPrinted.clear();
    EXPECT_TRUE(session.PrintPage(2));
    EXPECT_EQ((std::vector<int>{20, 21, 22}), gPrinted);
    EXPECT_EQ(0, gAlive);

    gPrinted.clear();
    session.failingPrintable = 1;
    EXPECT_FALSE(session.PrintPage(0));
    EXPECT_EQ((std::vector<int>{0, 1, 2}), gPrinted);
    EXPECT_EQ(0, gAlive);

    gPrinted.clear();
    session.collects = false;
    EXPECT_FALSE(session.PrintPage(1));
    EXPECT_TRUE(gPrinted.empty());
    EXPECT_EQ(0, gAlive);
}
