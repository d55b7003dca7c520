#include "framework/controls.h"

#include "framework/callbacks.h"
#include "framework/window.h"

namespace {

const UINT kPlaceAfterFlags = 0x613;  // no move, size, activation or owner redraw

HWND OwnerWindow(const AFWindow* owner) { return owner ? owner->window : nullptr; }

}  // namespace

// AFControl

AFControl::AFControl(AFWindow* owner)
    : owner(owner), keepOnOwnerDestroy(false), window(nullptr), previousProc(nullptr)
{
}

AFControl::~AFControl()
{
    if (window == nullptr)
        return;
    // The class's own procedure sees the window's destruction, so it can
    // release what it keeps for the control.
    if (previousProc)
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc));
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
}

Box AFControl::GetBounds()
{
    RECT r = {0, 0, 0, 0};
    if (window == nullptr || !GetWindowRect(window, &r))
        return Box{0, 0, 0, 0};
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    HWND parent = OwnerWindow(owner) ? OwnerWindow(owner) : GetParent(window);
    ScreenToClient(parent, &corners[0]);
    ScreenToClient(parent, &corners[1]);
    return Box{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

void AFControl::SetBounds(const Box& box)
{
    if (window == nullptr)
        return;
    Box old = GetBounds();
    bool sameSize = old.Width() == box.Width() && old.Height() == box.Height();
    bool samePlace = old.left == box.left && old.top == box.top;
    if (sameSize && samePlace)
        return;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
    if (sameSize)
        flags |= SWP_NOSIZE;
    if (samePlace)
        flags |= SWP_NOMOVE;
    SetWindowPos(window, nullptr, box.left, box.top, box.Width(), box.Height(), flags);
}

void AFControl::Show(bool show)
{
    if (window)
        ShowWindow(window, show ? SW_SHOW : SW_HIDE);
}

bool AFControl::IsVisible() { return window && IsWindowVisible(window); }

void AFControl::Enable(bool enable)
{
    if (window)
        EnableWindow(window, enable);
}

bool AFControl::IsEnabled() { return window && IsWindowEnabled(window); }
bool AFControl::HasFocus() { return window && GetFocus() == window; }
bool AFControl::CanTakeFocus() { return false; }
bool AFControl::HandleOwnerCommand(uint16_t) { return false; }
void AFControl::OnAppActivated() {}
void AFControl::OnAppDeactivated() {}
void AFControl::OnActivated() {}
void AFControl::OnDeactivated() {}
void AFControl::OnOwnerMovedOrSized() {}
void AFControl::OnPaletteChanged() { Invalidate(nullptr); }
void AFControl::OnEnabled() {}
void AFControl::OnDisabled() {}
void AFControl::OnFocusGained() {}
void AFControl::OnFocusLost() {}
void AFControl::OnMovedOrSized() {}

bool AFControl::HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT* result)
{
    switch (message) {
    case WM_MOVE:
    case WM_SIZE:
        OnMovedOrSized();
        return true;
    case WM_SETFOCUS:
        OnFocusGained();
        return false;
    case WM_KILLFOCUS:
        OnFocusLost();
        return false;
    case WM_ENABLE:
        if (wParam)
            OnEnabled();
        else
            OnDisabled();
        return false;
    case WM_COMMAND: {
        // A notification the owner reflected back to this control must not be
        // reflected again: sent to itself it would recurse without end.
        HWND from = reinterpret_cast<HWND>(lParam);
        if (from == nullptr || from == window)
            return false;
        *result = SendNotifyMessageA(from, WM_COMMAND, wParam, lParam);
        return true;
    }
    case 0x8000: OnAppActivated(); return true;
    case 0x8001: OnAppDeactivated(); return true;
    case 0x8002: OnActivated(); return true;
    case 0x8003: OnDeactivated(); return true;
    case 0x8004: OnOwnerMovedOrSized(); return true;
    case 0x8005: HandleOwnerCommand(static_cast<uint16_t>(wParam)); return true;
    case 0x8006: OnPaletteChanged(); return true;
    default:
        return false;
    }
}

void AFControl::AttachWindow(HWND handle)
{
    window = handle;
    if (window)
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

bool AFControl::Subclass()
{
    if (window == nullptr)
        return false;
    AttachWindow(window);
    SetLastError(0);
    LONG_PTR old =
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc));
    if (old == 0 && GetLastError() != 0) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        return false;
    }
    previousProc = reinterpret_cast<WNDPROC>(old);
    return true;
}

bool AFControl::CreateControl(const char* className, const char* text, DWORD style,
                              const Box& box)
{
    window = CreateWindowExA(0, className, text, style, box.left, box.top, box.Width(),
                             box.Height(), OwnerWindow(owner), nullptr, GetModuleHandleA(nullptr),
                             this);
    if (window == nullptr)
        return false;
    if (Subclass())
        return true;
    DestroyWindow(window);
    window = nullptr;
    return false;
}

void AFControl::BringToTop()
{
    if (window)
        BringWindowToTop(window);
}

void AFControl::PlaceAfter(AFControl* other)
{
    if (window && other)
        SetWindowPos(window, other->window, 0, 0, 0, 0, kPlaceAfterFlags);
}

void AFControl::Invalidate(const Box* box)
{
    if (window == nullptr)
        return;
    if (box == nullptr) {
        InvalidateRect(window, nullptr, FALSE);
        return;
    }
    RECT r = {box->left, box->top, box->right, box->bottom};
    InvalidateRect(window, &r, FALSE);
}

LRESULT CALLBACK AFControl::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                         LPARAM lParam)
{
    AFControl* control;
    if (message == WM_NCCREATE) {
        control = static_cast<AFControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    } else {
        control = reinterpret_cast<AFControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    }
    LRESULT result = 0;
    if (control && control->HandleMessage(window, message, wParam, lParam, &result))
        return result;
    if (control && control->previousProc)
        return CallWindowProcA(control->previousProc, window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

AFControl* AFControl::FromHandle(HWND window)
{
    if (window == nullptr ||
        GetWindowLongPtrA(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&SubclassProc))
        return nullptr;
    return reinterpret_cast<AFControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Actions

AFActionHolder::~AFActionHolder() { delete action; }

void AFActionHolder::SetAction(AFCallback* newAction)
{
    if (newAction == action)
        return;
    delete action;
    action = newAction;
}

void AFActionHolder::RunAction()
{
    if (action)
        action->Invoke();
}

namespace {

bool IsReflectedClick(HWND self, UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == WM_COMMAND && reinterpret_cast<HWND>(lParam) == self &&
           HIWORD(wParam) == BN_CLICKED;
}

void GetControlText(HWND window, char* buffer)
{
    buffer[0] = 0;
    if (window)
        GetWindowTextA(window, buffer, 256);
}

void SetControlText(HWND window, const char* text)
{
    if (window)
        SetWindowTextA(window, text);
}

bool IsButtonChecked(HWND window)
{
    return window && SendMessageA(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetButtonChecked(HWND window, bool checked)
{
    if (window)
        SendMessageA(window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace

// Check box

AFCheckBoxControl::AFCheckBoxControl(AFWindow* owner, const Box& box, const char* text,
                                     bool checked)
    : AFControl(owner)
{
    if (CreateControl("BUTTON", text, WS_CHILD | BS_NOTIFY | BS_AUTOCHECKBOX, box))
        SetChecked(checked);
}

bool AFCheckBoxControl::HandleMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT* result)
{
    if (IsReflectedClick(window, message, wParam, lParam)) {
        Clicked();
        return true;
    }
    return AFControl::HandleMessage(handle, message, wParam, lParam, result);
}

void AFCheckBoxControl::Clicked() { actions.RunAction(); }
bool AFCheckBoxControl::IsChecked() { return IsButtonChecked(window); }
void AFCheckBoxControl::SetChecked(bool checked) { SetButtonChecked(window, checked); }
void AFCheckBoxControl::SetText(const char* text) { SetControlText(window, text); }
void AFCheckBoxControl::GetText(char* buffer) { GetControlText(window, buffer); }

// Radio button

AFRadioButtonControl::AFRadioButtonControl(AFWindow* owner, const Box& box, const char* text,
                                           bool checked, bool continuesGroup)
    : AFControl(owner)
{
    DWORD style = WS_CHILD | BS_NOTIFY | BS_AUTORADIOBUTTON | (continuesGroup ? 0 : WS_GROUP);
    if (CreateControl("BUTTON", text, style, box))
        SetChecked(checked);
}

bool AFRadioButtonControl::HandleMessage(HWND handle, UINT message, WPARAM wParam,
                                         LPARAM lParam, LRESULT* result)
{
    if (IsReflectedClick(window, message, wParam, lParam)) {
        Clicked();
        return true;
    }
    return AFControl::HandleMessage(handle, message, wParam, lParam, result);
}

void AFRadioButtonControl::Clicked() { actions.RunAction(); }
bool AFRadioButtonControl::IsChecked() { return IsButtonChecked(window); }
void AFRadioButtonControl::SetChecked(bool checked) { SetButtonChecked(window, checked); }
void AFRadioButtonControl::SetText(const char* text) { SetControlText(window, text); }
void AFRadioButtonControl::GetText(char* buffer) { GetControlText(window, buffer); }

// Edit text

AFEditTextControl::AFEditTextControl(AFWindow* owner, const Box& box, const char* text,
                                     DWORD editStyles)
    : AFWindowsSystemControl(owner)
{
    CreateControl("EDIT", text, WS_CHILD | editStyles, box);
}

bool AFEditTextControl::HandleMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT* result)
{
    if (message == WM_COMMAND) {
        if (reinterpret_cast<HWND>(lParam) == window && HIWORD(wParam) == EN_CHANGE)
            Changed();
        return true;
    }
    return AFControl::HandleMessage(handle, message, wParam, lParam, result);
}

void AFEditTextControl::Changed() { actions.RunAction(); }

void AFEditTextControl::LimitText(int32_t n)
{
    if (window)
        SendMessageA(window, EM_LIMITTEXT, static_cast<WPARAM>(n), 0);
}

int32_t AFEditTextControl::TextLimit()
{
    return window ? static_cast<int32_t>(SendMessageA(window, EM_GETLIMITTEXT, 0, 0)) : 0;
}

void AFEditTextControl::SetAlignment(Alignment alignment)
{
    if (window == nullptr)
        return;
    LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    style = (style & ~LONG_PTR(ES_CENTER | ES_RIGHT)) | alignment;
    SetWindowLongPtrA(window, GWL_STYLE, style);
}

AFEditTextControl::Alignment AFEditTextControl::GetAlignment()
{
    if (window == nullptr)
        return kLeft;
    return static_cast<Alignment>(GetWindowLongPtrA(window, GWL_STYLE) & (ES_CENTER | ES_RIGHT));
}

void AFEditTextControl::SetText(const char* text) { SetControlText(window, text); }
void AFEditTextControl::GetText(char* buffer) { GetControlText(window, buffer); }

int32_t AFEditTextControl::TextLength()
{
    return window ? GetWindowTextLengthA(window) : 0;
}

void AFEditTextControl::GetSelection(int16_t* start, int16_t* end)
{
    DWORD from = 0, to = 0;
    if (window)
        SendMessageA(window, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                     reinterpret_cast<LPARAM>(&to));
    *start = static_cast<int16_t>(from);
    *end = static_cast<int16_t>(to);
}

void AFEditTextControl::SetSelection(int16_t start, int16_t end)
{
    if (window)
        SendMessageA(window, EM_SETSEL, start, end);
}

// Scroll bar

AFScrollBarControl::AFScrollBarControl(AFWindow* owner, const Box& box, bool vertical)
    : AFControl(owner), vertical(vertical), lineStep(1), range(0), pageSize(2), position(0),
      enabled(true)
{
    CreateControl("SCROLLBAR", "", WS_CHILD | SBS_BOTTOMALIGN | (vertical ? SBS_VERT : 0), box);
}

bool AFScrollBarControl::HandleMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT* result)
{
    if (message != WM_HSCROLL && message != WM_VSCROLL)
        return AFControl::HandleMessage(handle, message, wParam, lParam, result);
    int32_t target = position;
    switch (LOWORD(wParam)) {
    case SB_LINEUP: target -= lineStep; break;
    case SB_LINEDOWN: target += lineStep; break;
    case SB_PAGEUP: target -= pageSize; break;
    case SB_PAGEDOWN: target += pageSize; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: target = static_cast<int16_t>(HIWORD(wParam)); break;
    default: break;
    }
    int32_t highest = range - pageSize > 0 ? range - pageSize : 0;
    if (target < 0)
        target = 0;
    if (target > highest)
        target = highest;
    SetPosition(static_cast<int16_t>(target));
    *result = 0;
    return true;
}

void AFScrollBarControl::Clicked() { actions.RunAction(); }

void AFScrollBarControl::ApplyEnabled()
{
    if (window)
        EnableWindow(window, enabled && pageSize < range);
}

void AFScrollBarControl::Enable(bool enable)
{
    enabled = enable;
    ApplyEnabled();
}

bool AFScrollBarControl::IsEnabled() { return enabled; }

void AFScrollBarControl::SetScroll(int16_t newRange, int16_t newPageSize, int16_t newLineStep,
                                   int16_t newPosition)
{
    range = newRange;
    pageSize = newPageSize;
    lineStep = newLineStep;
    position = newPosition;
    if (window) {
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        if (pageSize < range) {
            info.nMax = range - 1;
            info.nPage = pageSize;
            info.nPos = position;
        }
        SetScrollInfo(window, SB_CTL, &info, TRUE);
    }
    ApplyEnabled();
    Clicked();
}

void AFScrollBarControl::SetPosition(int16_t newPosition)
{
    if (newPosition == position)
        return;
    position = newPosition;
    if (window)
        SendMessageA(window, SBM_SETPOS, position, TRUE);
    Clicked();
}

int32_t AFScrollBarControl::StandardWidth() { return GetSystemMetrics(SM_CXHSCROLL); }

// Static text

AFStaticTextControl::AFStaticTextControl(AFWindow* owner, const Box& box, const char* text)
    : AFWindowsSystemControl(owner)
{
    CreateControl("STATIC", text, WS_CHILD | SS_NOPREFIX | SS_LEFTNOWORDWRAP, box);
}

bool AFStaticTextControl::HandleMessage(HWND handle, UINT message, WPARAM wParam,
                                        LPARAM lParam, LRESULT* result)
{
    if (message == WM_CTLCOLORSTATIC) {
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        *result = 0;
        return true;
    }
    return AFControl::HandleMessage(handle, message, wParam, lParam, result);
}

void AFStaticTextControl::SetText(const char* text) { SetControlText(window, text); }
void AFStaticTextControl::GetText(char* buffer) { GetControlText(window, buffer); }

// Text button

AFTextButtonControl::AFTextButtonControl(AFWindow* owner, const Box& box, const char* text)
    : AFControl(owner)
{
    CreateControl("BUTTON", text, WS_CHILD | BS_PUSHBUTTON, box);
}

bool AFTextButtonControl::HandleMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam,
                                        LRESULT* result)
{
    if (IsReflectedClick(window, message, wParam, lParam)) {
        Clicked();
        return true;
    }
    return AFControl::HandleMessage(handle, message, wParam, lParam, result);
}

void AFTextButtonControl::Clicked() { actions.RunAction(); }
void AFTextButtonControl::SetText(const char* text) { SetControlText(window, text); }
