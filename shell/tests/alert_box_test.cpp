// The alert box: the style of each kind, the answer of each button, and its
// caption and owner before and after the main window exists.
#include <gtest/gtest.h>

#include "framework/heap.h"
#include "shell/alert_box.h"
#include "shell/app.h"
#include "shell/stage_window.h"
#include "shell_fixture.h"

namespace {

TEST(AlertBoxTest, StylesAndAnswers)
{
    struct Style {
        int32_t kind;
        UINT style;
    } styles[] = {{128, 0x40}, {129, 0x11}, {130, 0x15}, {131, 0x14}, {132, 0x13},
                  {127, 0x80}, {133, 0x80}, {0, 0x80}};
    for (const Style& s : styles)
        EXPECT_EQ(s.style, AlertBox::StyleForKind(s.kind)) << s.kind;
    struct Answer {
        int button;
        int32_t answer;
    } answers[] = {{IDOK, 1}, {IDYES, 1}, {IDNO, 2}, {IDCANCEL, 3}, {IDRETRY, 4},
                   {IDABORT, 1}, {IDIGNORE, 1}, {0, 1}};
    for (const Answer& a : answers)
        EXPECT_EQ(a.answer, AlertBox::ResultFromButton(a.button)) << a.button;
}

const AFWindowClass kTestMainClass = {
    CS_OWNDC, 0, 0, false, nullptr, nullptr, false, IDC_ARROW,
    reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), "menu", "ShellTestMainWindow",
    AFWindow::WindowProc};

struct ModalWatcher {
    static KVXStageWindow* window;
    static bool flagSeen;
    static int WINAPI Show(HWND owner, LPCSTR text, LPCSTR caption, UINT style)
    {
        flagSeen = window && window->ModalBox();
        return BoxScript::Show(owner, text, caption, style);
    }
};
KVXStageWindow* ModalWatcher::window = nullptr;
bool ModalWatcher::flagSeen = false;

TEST(AlertBoxTest, CaptionAndOwnerBeforeAndAfterTheMainWindow)
{
    BoxScript::Reset();
    SetAlertMessageBox(ModalWatcher::Show);
    BoxScript::answers = {IDRETRY};
    EXPECT_EQ(4, AlertBox("Encore ?", 130).Show(1));
    ASSERT_EQ(1u, BoxScript::shown.size());
    EXPECT_EQ(nullptr, BoxScript::shown[0].owner);
    EXPECT_EQ("Pennaro", BoxScript::shown[0].caption);
    EXPECT_EQ("Encore ?", BoxScript::shown[0].text);
    EXPECT_EQ(UINT(0x15), BoxScript::shown[0].style);

    AFHeap heap;
    {
        KVXApp app(&heap, -1);
        gApp = &app;
        // The application exists but has no main window yet.
        AlertBox("Avant", 128).Show();
        AFWindowCreation creation = {&kTestMainClass, Box{10, 10, 210, 110}, WS_POPUP, 0};
        KVXStageWindow* window = new KVXStageWindow(creation);
        window->SetTitle("Atelier");
        app.SetStageWindowForTest(window);
        ModalWatcher::window = window;
        BoxScript::answers = {IDNO};
        EXPECT_EQ(2, AlertBox("Vraiment ?", 131).Show());
        EXPECT_FALSE(window->ModalBox());
        ModalWatcher::window = nullptr;
        delete window;
        gApp = nullptr;
    }
    ASSERT_EQ(3u, BoxScript::shown.size());
    EXPECT_EQ(nullptr, BoxScript::shown[1].owner);
    EXPECT_EQ("Pennaro", BoxScript::shown[1].caption);
    EXPECT_NE(nullptr, BoxScript::shown[2].owner);
    EXPECT_EQ("Atelier", BoxScript::shown[2].caption);
    EXPECT_TRUE(ModalWatcher::flagSeen);
    SetAlertMessageBox(nullptr);
}

}  // namespace
