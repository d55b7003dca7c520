#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/callbacks.h"
#include "framework/controls.h"
#include "framework/window.h"

namespace {

const AFWindowClass kOwnerClass = {
    CS_OWNDC | CS_DBLCLKS, 0, 0, false, IDI_APPLICATION, nullptr, false, IDC_ARROW,
    reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr, "PennaroControlOwner",
    AFWindow::WindowProc};

class OwnerWindow : public AFWindow {
public:
    explicit OwnerWindow(const AFWindowCreation& creation) : AFWindow(creation, nullptr) {}
    bool CanClose() override { return true; }
};

struct Counter {
    void Count() { ++count; }
    int count = 0;
};

AFCallback* CountingAction(Counter* counter)
{
    return new AFClassCallback<Counter>(counter, &Counter::Count);
}

// Records which operation each private notification reached.
class RecordingControl : public AFWindowsSystemControl {
public:
    RecordingControl(AFWindow* owner, const Box& box) : AFWindowsSystemControl(owner)
    {
        CreateControl("STATIC", "", WS_CHILD, box);
    }
    bool HandleOwnerCommand(uint16_t command) override
    {
        calls.push_back("command " + std::to_string(command));
        return true;
    }
    void OnAppActivated() override { calls.push_back("app activated"); }
    void OnAppDeactivated() override { calls.push_back("app deactivated"); }
    void OnActivated() override { calls.push_back("activated"); }
    void OnDeactivated() override { calls.push_back("deactivated"); }
    void OnOwnerMovedOrSized() override { calls.push_back("owner moved"); }
    void OnPaletteChanged() override { calls.push_back("palette"); }
    void OnMovedOrSized() override { calls.push_back("moved"); }
    std::vector<std::string> calls;
};

// Counts the commands that reach the check box's procedure.
class CountingCheckBox : public AFCheckBoxControl {
public:
    CountingCheckBox(AFWindow* owner, const Box& box, const char* text, bool checked)
        : AFCheckBoxControl(owner, box, text, checked)
    {
    }
    bool HandleMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override
    {
        if (message == WM_COMMAND)
            ++commands;
        return AFCheckBoxControl::HandleMessage(handle, message, wParam, lParam, result);
    }
    int commands = 0;
};

class ChildControls : public ::testing::Test {
protected:
    // One owner window serves the whole suite: creating and destroying a
    // top-level window is the slow part under Wine.
    static void SetUpTestSuite()
    {
        AFWindowCreation creation = {&kOwnerClass, Box{50, 50, 450, 350},
                                     WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0};
        owner = new OwnerWindow(creation);
        owner->Show(true);
    }
    static void TearDownTestSuite()
    {
        delete owner;
        owner = nullptr;
    }
    void SetUp() override { ASSERT_NE(nullptr, owner->window); }
    void TearDown() override
    {
        for (AFControl* control : made)
            delete control;
    }

    template <class T, class... Arguments>
    T* Make(Arguments... arguments)
    {
        T* control = new T(owner, arguments...);
        made.push_back(control);
        return control;
    }
    static void Click(AFControl* control)
    {
        SendMessageA(control->window, BM_CLICK, 0, 0);
    }
    static OwnerWindow* owner;
    std::vector<AFControl*> made;
};

OwnerWindow* ChildControls::owner = nullptr;

}  // namespace

TEST_F(ChildControls, ClicksReachTheButtonsActions)
{
    Counter checkCount, radioCount, buttonCount;
    auto* check = Make<AFCheckBoxControl>(Box{10, 10, 150, 30}, "Check", false);
    auto* radio = Make<AFRadioButtonControl>(Box{10, 40, 150, 60}, "Radio", false, false);
    auto* button = Make<AFTextButtonControl>(Box{10, 70, 150, 100}, "Button");
    check->SetAction(CountingAction(&checkCount));
    radio->SetAction(CountingAction(&radioCount));
    button->SetAction(CountingAction(&buttonCount));
    for (AFControl* c : std::vector<AFControl*>{check, radio, button}) {
        ASSERT_NE(nullptr, c->window);
        EXPECT_EQ(c, AFControl::FromHandle(c->window));
        c->Show(true);
    }

    Click(check);
    Click(radio);
    Click(button);
    EXPECT_EQ(1, checkCount.count);
    EXPECT_EQ(1, radioCount.count);
    EXPECT_EQ(1, buttonCount.count);
    EXPECT_TRUE(check->IsChecked());
    EXPECT_TRUE(radio->IsChecked());

    check->SetChecked(false);
    EXPECT_FALSE(check->IsChecked());
    char text[256];
    check->SetText("Renamed");
    check->GetText(text);
    EXPECT_STREQ("Renamed", text);
}

TEST_F(ChildControls, ReflectedNotificationsNeverBounceBackToTheirControl)
{
    Counter checkCount, buttonCount;
    auto* check = Make<CountingCheckBox>(Box{10, 10, 150, 30}, "Check", false);
    auto* button = Make<AFTextButtonControl>(Box{10, 70, 150, 100}, "Button");
    check->SetAction(CountingAction(&checkCount));
    button->SetAction(CountingAction(&buttonCount));

    // A code no control handles comes back from the owner once and stops
    // (the system cuts an endless bounce off only deep down the stack).
    LPARAM fromCheck = reinterpret_cast<LPARAM>(check->window);
    SendMessageA(owner->window, WM_COMMAND, MAKEWPARAM(0, 0x7777), fromCheck);
    EXPECT_EQ(1, check->commands);
    SendMessageA(owner->window, WM_COMMAND, MAKEWPARAM(0, BN_SETFOCUS), fromCheck);
    EXPECT_EQ(2, check->commands);
    EXPECT_EQ(0, checkCount.count);

    SendMessageA(owner->window, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), fromCheck);
    EXPECT_EQ(1, checkCount.count);

    // A notification naming another control is passed on to that control.
    SendMessageA(check->window, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button->window));
    EXPECT_EQ(1, buttonCount.count);
    EXPECT_EQ(1, checkCount.count);

    // Without a control window the command is left to the class procedure.
    SendMessageA(check->window, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
    EXPECT_EQ(1, checkCount.count);
}

TEST_F(ChildControls, PrivateNotificationsMapToOperations)
{
    auto* control = Make<RecordingControl>(Box{0, 0, 20, 20});
    ASSERT_NE(nullptr, control->window);
    struct Case {
        UINT message;
        WPARAM wParam;
        const char* call;
    };
    const Case cases[] = {
        {0x8000, 0, "app activated"},   {0x8001, 0, "app deactivated"},
        {0x8002, 0, "activated"},       {0x8003, 0, "deactivated"},
        {0x8004, 0, "owner moved"},     {0x8005, 42, "command 42"},
        {0x8006, 0, "palette"},
    };
    for (const Case& c : cases) {
        control->calls.clear();
        SendMessageA(control->window, c.message, c.wParam, 0);
        ASSERT_EQ(1u, control->calls.size()) << c.call;
        EXPECT_EQ(c.call, control->calls[0]);
    }

    control->calls.clear();
    owner->NotifyChildren(0x8006);
    EXPECT_EQ(std::vector<std::string>{"palette"}, control->calls);

    control->calls.clear();
    control->SetBounds(Box{5, 6, 25, 26});
    EXPECT_EQ((Box{5, 6, 25, 26}), control->GetBounds());
    EXPECT_FALSE(control->calls.empty());
    control->calls.clear();
    control->SetBounds(Box{5, 6, 25, 26});
    EXPECT_TRUE(control->calls.empty());  // unchanged bounds move nothing
}

TEST_F(ChildControls, ScrollBarClampsAndDisablesItself)
{
    Counter moves;
    auto* bar = Make<AFScrollBarControl>(Box{300, 10, 320, 200}, true);
    ASSERT_NE(nullptr, bar->window);
    bar->Show(true);
    bar->SetScroll(10, 3, 1, 8);
    bar->SetAction(CountingAction(&moves));
    EXPECT_TRUE(IsWindowEnabled(bar->window));

    struct Step {
        WORD code;
        WORD thumb;
        int16_t expected;
    };
    const Step steps[] = {
        {SB_PAGEDOWN, 0, 7},     {SB_LINEUP, 0, 6},        {SB_PAGEUP, 0, 3},
        {SB_PAGEUP, 0, 0},       {SB_THUMBTRACK, 100, 7},  {SB_THUMBPOSITION, 4, 4},
        {SB_ENDSCROLL, 0, 4},    {SB_LINEDOWN, 0, 5},
    };
    for (const Step& s : steps) {
        SendMessageA(owner->window, WM_VSCROLL, MAKEWPARAM(s.code, s.thumb),
                     reinterpret_cast<LPARAM>(bar->window));
        EXPECT_EQ(s.expected, bar->Position()) << s.code;
        EXPECT_EQ(s.expected, GetScrollPos(bar->window, SB_CTL)) << s.code;
    }
    EXPECT_EQ(7, moves.count);  // every change, not the steps that kept the place

    bar->SetScroll(3, 3, 1, 0);
    EXPECT_FALSE(IsWindowEnabled(bar->window));
    EXPECT_TRUE(bar->IsEnabled());
    SCROLLINFO info = {sizeof info, SIF_ALL};
    GetScrollInfo(bar->window, SB_CTL, &info);
    EXPECT_EQ(0, info.nMax);
    EXPECT_EQ(0u, info.nPage);

    bar->SetScroll(10, 3, 1, 0);
    bar->Enable(false);
    EXPECT_FALSE(IsWindowEnabled(bar->window));
    EXPECT_FALSE(bar->IsEnabled());
}

TEST_F(ChildControls, EditTextReportsChanges)
{
    Counter changes;
    auto* edit = Make<AFEditTextControl>(Box{10, 120, 200, 145}, "start", ES_AUTOHSCROLL);
    ASSERT_NE(nullptr, edit->window);
    edit->Show(true);
    edit->SetChangeAction(CountingAction(&changes));
    edit->SetText("hello");
    EXPECT_EQ(1, changes.count);
    EXPECT_EQ(5, edit->TextLength());
    char text[256];
    edit->GetText(text);
    EXPECT_STREQ("hello", text);

    edit->SetSelection(1, 3);
    int16_t start = 0, end = 0;
    edit->GetSelection(&start, &end);
    EXPECT_EQ(1, start);
    EXPECT_EQ(3, end);
    edit->LimitText(12);
    EXPECT_EQ(12, edit->TextLimit());
    edit->SetAlignment(AFEditTextControl::kRight);
    EXPECT_EQ(AFEditTextControl::kRight, edit->GetAlignment());

    auto* label = Make<AFStaticTextControl>(Box{10, 150, 200, 170}, "Label");
    label->GetText(text);
    EXPECT_STREQ("Label", text);
}

TEST_F(ChildControls, DeletingAControlDestroysItsWindow)
{
    auto* check = new AFCheckBoxControl(owner, Box{10, 10, 150, 30}, "Check", true);
    HWND handle = check->window;
    ASSERT_TRUE(IsWindow(handle));
    delete check;
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(nullptr, AFControl::FromHandle(handle));

    AFTextButtonControl orphan(nullptr, Box{0, 0, 10, 10}, "no owner");
    EXPECT_EQ(nullptr, orphan.window);
    orphan.Show(true);  // ignored without a window
    EXPECT_FALSE(orphan.IsVisible());
    EXPECT_EQ((Box{0, 0, 0, 0}), orphan.GetBounds());
}
