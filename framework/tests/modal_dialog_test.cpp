#include <gtest/gtest.h>

#include <windows.h>

#include "framework/application.h"
#include "framework/heap.h"
#include "framework/modal_dialog.h"
#include "framework/window.h"

namespace {

constexpr uint16_t kTestDialog = 600;

// What the timer saw of the dialog it closed.
HWND gSeenOwner = nullptr;
bool gSeenDialog = false;
UINT gCloseKey = VK_ESCAPE;

HWND TestDialog()
{
    return FindWindowA("#32770", "Dialogue de test");
}

// Runs inside the dialog's modal loop: notes the owner, then presses a key.
void CALLBACK CloseTestDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = TestDialog();
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    gSeenDialog = true;
    gSeenOwner = GetWindow(dialog, GW_OWNER);
    HWND focus = GetFocus();
    PostMessageA(focus != nullptr ? focus : dialog, WM_KEYDOWN, gCloseKey, 0);
}

INT_PTR RunClosedBy(AFMovableModalDialog& dialog, UINT key)
{
    gSeenOwner = nullptr;
    gSeenDialog = false;
    gCloseKey = key;
    SetTimer(nullptr, 0, 20, &CloseTestDialog);
    return dialog.Run();
}

// Enter presses OK, which this dialog answers with 7.
class AnsweringDialog : public AFMovableModalDialog {
public:
    AnsweringDialog() : AFMovableModalDialog(kTestDialog) {}
    BOOL HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_INITDIALOG)
            sawInit = true;
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
            EndDialog(dialog, 7);
            return TRUE;
        }
        return AFMovableModalDialog::HandleMessage(dialog, message, wParam, lParam);
    }
    bool sawInit = false;
};

const AFWindowClass kOwnerClass = {
    0, 0, 0, false, nullptr, nullptr, false, IDC_ARROW,
    reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr, "ModalDialogOwner", &AFWindow::WindowProc,
};

class OwnerWindow : public AFWindow {
public:
    OwnerWindow()
        : AFWindow(AFWindowCreation{&kOwnerClass, Box{20, 20, 220, 120}, WS_OVERLAPPEDWINDOW, 0},
                   nullptr)
    {
    }
    bool CanClose() override { return true; }
};

}  // namespace

TEST(ModalDialog, EscapeWithoutOverrideEndsWithZero)
{
    AFMovableModalDialog dialog(kTestDialog);
    EXPECT_EQ(0, RunClosedBy(dialog, VK_ESCAPE));
    EXPECT_TRUE(gSeenDialog);
    EXPECT_EQ(nullptr, TestDialog());
}

TEST(ModalDialog, OverrideResultComesBack)
{
    AnsweringDialog dialog;
    EXPECT_EQ(7, RunClosedBy(dialog, VK_RETURN));
    EXPECT_TRUE(dialog.sawInit);
}

TEST(ModalDialog, OwnedByTheActiveWindowOnlyWhenTheApplicationOwnsDialogs)
{
    AFHeap heap;
    AFApplication application(&heap);
    ASSERT_TRUE(RegisterWindowClass(kOwnerClass));
    OwnerWindow owner;
    ASSERT_NE(nullptr, owner.window);
    application.activeWindow = &owner;
    AFMovableModalDialog dialog(kTestDialog);

    application.ownsDialogs = true;
    EXPECT_EQ(0, RunClosedBy(dialog, VK_ESCAPE));
    EXPECT_EQ(owner.window, gSeenOwner);

    application.ownsDialogs = false;
    EXPECT_EQ(0, RunClosedBy(dialog, VK_ESCAPE));
    EXPECT_TRUE(gSeenDialog);
    EXPECT_EQ(nullptr, gSeenOwner);

    application.ownsDialogs = true;
    application.activeWindow = nullptr;
    EXPECT_EQ(0, RunClosedBy(dialog, VK_ESCAPE));
    EXPECT_EQ(nullptr, gSeenOwner);
}
