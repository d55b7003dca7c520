#include "framework/window.h"

#include <vector>
#include "framework/application.h"
#include "framework/controls.h"
#include "framework/text.h"

const AFWindowClass kDefaultWindowClass = {
    CS_OWNDC | CS_DBLCLKS,
    0,
    0,
    true,
    MAKEINTRESOURCEA(550),
    nullptr,
    false,
    IDC_ARROW,
    reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1),
    MAKEINTRESOURCEA(550),
    "AFDefaultWindowClass",
    &AFWindow::WindowProc,
};

namespace {

HINSTANCE ProgramModule() { return GetModuleHandleA(nullptr); }

RECT ToRect(const Box& box) { return RECT{box.left, box.top, box.right, box.bottom}; }

Box ToBox(const RECT& rect) { return Box{rect.left, rect.top, rect.right, rect.bottom}; }

BOOL CALLBACK CollectChild(HWND child, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::vector<HWND> ChildWindows(HWND window)
{
    std::vector<HWND> children;
    if (window)
        EnumChildWindows(window, &CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

}  // namespace

bool RegisterWindowClass(const AFWindowClass& record)
{
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExA(ProgramModule(), record.className, &existing))
        return true;
    HINSTANCE iconModule = record.iconFromProgram ? ProgramModule() : nullptr;
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = record.style;
    windowClass.lpfnWndProc = record.windowProc;
    windowClass.cbClsExtra = record.classExtra;
    windowClass.cbWndExtra = record.windowExtra;
    windowClass.hInstance = ProgramModule();
    windowClass.hIcon = record.iconName ? LoadIconA(iconModule, record.iconName) : nullptr;
    windowClass.hIconSm =
        record.smallIconName ? LoadIconA(iconModule, record.smallIconName) : nullptr;
    windowClass.hCursor = record.cursorName
        ? LoadCursorA(record.cursorFromProgram ? ProgramModule() : nullptr, record.cursorName)
        : nullptr;
    windowClass.hbrBackground = record.background;
    windowClass.lpszMenuName = record.menuName;
    windowClass.lpszClassName = record.className;
    return RegisterClassExA(&windowClass) != 0;
}

AFWindow::AFWindow(const AFWindowCreation& creation, HWND parent)
    : window(nullptr), palette(nullptr), menu(nullptr), accelerators(nullptr), menuHidden(false)
{
    InitLock(&paletteLock);
    const AFWindowClass& record = *creation.windowClass;
    if (!RegisterWindowClass(record))
        return;
    RECT rect = ToRect(creation.clientBox);
    AdjustWindowRectEx(&rect, creation.style, record.menuName != nullptr, creation.exStyle);
    HWND created = CreateWindowExA(creation.exStyle, record.className, "", creation.style,
                                   rect.left, rect.top, rect.right - rect.left,
                                   rect.bottom - rect.top, parent, nullptr, ProgramModule(), this);
    window = created;
    if (!created)
        return;
    menu = GetMenu(created);
    accelerators = record.menuName ? LoadAcceleratorsA(ProgramModule(), record.menuName) : nullptr;
}

AFWindow::~AFWindow()
{
    if (gApplication && gApplication->activeWindow == this)
        gApplication->activeWindow = nullptr;
    for (HWND child : ChildWindows(window)) {
        if (!IsWindow(child))
            continue;
        AFControl* control = AFControl::FromHandle(child);
        if (control && !control->keepOnOwnerDestroy)
            delete control;
    }
    if (window) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
    // Only now is the palette no longer selected into the window's own DC.
    if (palette)
        DeleteObject(palette);
    DeleteLock(&paletteLock);
}

AFWindow* AFWindow::FromHandle(HWND handle)
{
    if (!handle || GetWindowLongPtrA(handle, GWLP_WNDPROC) !=
                       reinterpret_cast<LONG_PTR>(&AFWindow::WindowProc))
        return nullptr;
    return reinterpret_cast<AFWindow*>(GetWindowLongPtrA(handle, GWLP_USERDATA));
}

LRESULT CALLBACK AFWindow::WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    AFWindow* object;
    if (message == WM_NCCREATE) {
        object = static_cast<AFWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
        if (object)
            object->window = handle;
    } else {
        object = reinterpret_cast<AFWindow*>(GetWindowLongPtrA(handle, GWLP_USERDATA));
    }
    LRESULT result = 0;
    if (object && object->HandleMessage(handle, message, wParam, lParam, &result))
        return result;
    return DefWindowProcA(handle, message, wParam, lParam);
}

void AFWindow::InitMenu() {}
bool AFWindow::HandleCommand(uint16_t) { return false; }
void AFWindow::AppActivated() { NotifyChildren(kNotifyAppActivated); }
void AFWindow::AppDeactivated() { NotifyChildren(kNotifyAppDeactivated); }
void AFWindow::Activated() { NotifyChildren(kNotifyActivated); }
void AFWindow::Deactivated() { NotifyChildren(kNotifyDeactivated); }
void AFWindow::MovedOrSized() { NotifyChildren(kNotifyOwnerMovedOrSized); }
void AFWindow::PaletteChanged() { NotifyChildren(kNotifyPaletteChanged); }

void AFWindow::GetSizeLimits(Box* limits) { *limits = Box{0, 0, 30000, 30000}; }

void AFWindow::NotifyChildren(UINT code)
{
    for (HWND child : ChildWindows(window))
        SendNotifyMessageA(child, code, 0, 0);
}

AFControl* AFWindow::NextFocusControl(AFControl* from, bool forward)
{
    HWND start = from ? from->window : nullptr;
    HWND current = start;
    // A second wrap means the start is none of this window's children (a
    // control of another window): every child has been seen, stop there.
    bool wrapped = false;
    for (;;) {
        HWND next = current ? GetWindow(current, forward ? GW_HWNDNEXT : GW_HWNDPREV) : nullptr;
        if (!next) {
            if (wrapped)
                return nullptr;
            wrapped = true;
            HWND first = GetWindow(window, GW_CHILD);
            if (!first)
                return nullptr;
            next = forward ? first : GetWindow(first, GW_HWNDLAST);
        }
        AFControl* control = AFControl::FromHandle(next);
        if (control && control->CanTakeFocus())
            return control;
        if (next == start)
            return nullptr;
        if (!start)
            start = next;  // a walk from nowhere ends after one full cycle too
        current = next;
    }
}

bool AFWindow::HandleMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT* result)
{
    switch (message) {
    case WM_MOVE:
    case WM_SIZE:
        MovedOrSized();
        return true;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_ACTIVE || LOWORD(wParam) == WA_CLICKACTIVE) {
            if (gApplication)
                gApplication->activeWindow = this;
            Activated();
        } else {
            Deactivated();
        }
        return true;
    case WM_CLOSE:
        if (CanClose()) {
            delete this;
            if (gApplication && !gApplication->FirstWindow())
                gApplication->Quit();
        }
        return true;
    case WM_ACTIVATEAPP:
        if (wParam)
            AppActivated();
        else
            AppDeactivated();
        return true;
    case WM_GETMINMAXINFO: {
        Box limits;
        GetSizeLimits(&limits);
        RECT frame = {0, 0, 10, 10};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(handle, GWL_STYLE)),
                           menu != nullptr,
                           static_cast<DWORD>(GetWindowLongA(handle, GWL_EXSTYLE)));
        LONG frameWidth = frame.right - frame.left - 10;
        LONG frameHeight = frame.bottom - frame.top - 10;
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
        auto lower = [](LONG& value, LONG limit) {
            if (limit < value)
                value = limit;
        };
        lower(info->ptMaxSize.x, limits.right + frameWidth);
        lower(info->ptMaxSize.y, limits.bottom + frameHeight);
        lower(info->ptMaxTrackSize.x, limits.right + frameWidth);
        lower(info->ptMaxTrackSize.y, limits.bottom + frameHeight);
        lower(info->ptMinTrackSize.x, limits.left + frameWidth);
        lower(info->ptMinTrackSize.y, limits.top + frameHeight);
        return true;
    }
    case WM_NOTIFY: {
        HWND from = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
        if (!from || from == handle)
            return false;
        *result = SendMessageA(from, WM_NOTIFY, wParam, lParam);
        return true;
    }
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == handle)
            return false;
        if (lParam) {
            *result = SendNotifyMessageA(reinterpret_cast<HWND>(lParam), WM_COMMAND, wParam, lParam);
            return true;
        }
        if (HIWORD(wParam) == 0 || HIWORD(wParam) == 1) {
            HandleCommand(LOWORD(wParam));
            return true;
        }
        return false;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (!lParam || reinterpret_cast<HWND>(lParam) == handle)
            return false;
        *result = SendMessageA(reinterpret_cast<HWND>(lParam), message, wParam, lParam);
        return true;
    case WM_INITMENU:
        InitMenu();
        return true;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        // Sent about the window itself, a reflection would call this handler
        // again without end.
        if (!lParam || reinterpret_cast<HWND>(lParam) == handle)
            return false;
        *result = SendMessageA(reinterpret_cast<HWND>(lParam), message, wParam, lParam);
        return true;
    case WM_PALETTECHANGED:
        if (reinterpret_cast<HWND>(wParam) == handle)
            return false;
        RealizePaletteNow();
        *result = 1;
        return true;
    case WM_QUERYNEWPALETTE:
        RealizePaletteNow();
        *result = 1;
        return true;
    default:
        return false;
    }
}

void AFWindow::RealizePaletteNow()
{
    {
        LockHolder hold(&paletteLock);
        HDC dc = GetDC(window);  // the class has its own DC: never released
        if (dc && palette) {
            HPALETTE previous = SelectPalette(dc, palette, FALSE);
            UINT changed = RealizePalette(dc);
            SelectPalette(dc, previous, TRUE);
            RealizePalette(dc);
            if (changed)
                InvalidateRect(window, nullptr, TRUE);
        }
    }
    PaletteChanged();
}

void AFWindow::SetTopmost(bool topmost)
{
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool AFWindow::IsTopmost() const
{
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void AFWindow::BringToForeground() { SetForegroundWindow(window); }
bool AFWindow::IsActive() const { return GetActiveWindow() == window; }
void AFWindow::Show(bool show) { ShowWindow(window, show ? SW_SHOW : SW_HIDE); }
bool AFWindow::IsHidden() const { return !IsWindowVisible(window); }
void AFWindow::SetTitle(const char* title) { SetWindowTextA(window, title); }

int AFWindow::GetTitle(char* buffer) const
{
    int length = GetWindowTextA(window, buffer, kTextSize);
    if (length < 0)
        length = 0;
    buffer[length] = 0;
    return length;
}

Box AFWindow::ClientBox() const
{
    RECT rect = {};
    GetClientRect(window, &rect);
    return ToBox(rect);
}

Box AFWindow::ClientBoxOnScreen() const
{
    RECT rect = {};
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return ToBox(rect);
}

void AFWindow::SetClientBox(const Box& box)
{
    Box current = ClientBoxOnScreen();
    RECT rect = ToRect(box);
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)),
                       GetMenu(window) != nullptr,
                       static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
    if (box.Width() == current.Width() && box.Height() == current.Height())
        flags |= SWP_NOSIZE;
    if (box.left == current.left && box.top == current.top)
        flags |= SWP_NOMOVE;
    SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, flags);
}

void AFWindow::Invalidate(const Box* box)
{
    RECT rect = box ? ToRect(*box) : RECT{};
    InvalidateRect(window, box ? &rect : nullptr, FALSE);
}

void AFWindow::Validate(const Box* box)
{
    RECT rect = box ? ToRect(*box) : RECT{};
    ValidateRect(window, box ? &rect : nullptr);
}

void AFWindow::Update() { UpdateWindow(window); }

AFControl* AFWindow::FocusedControl() const
{
    HWND focus = GetFocus();
    if (!focus || GetParent(focus) != window)
        return nullptr;
    return AFControl::FromHandle(focus);
}

void AFWindow::SetFocus(AFControl* control) { ::SetFocus(control ? control->window : nullptr); }

void AFWindow::SetMenu(bool show)
{
    if (show == !menuHidden)
        return;
    menuHidden = !show;
    ::SetMenu(window, show ? menu : nullptr);
}

bool AFWindow::HasMenuItem(UINT id) const
{
    return menu && GetMenuState(menu, id, MF_BYCOMMAND) != static_cast<UINT>(-1);
}

bool AFWindow::IsMenuItemChecked(UINT id) const
{
    UINT state = menu ? GetMenuState(menu, id, MF_BYCOMMAND) : static_cast<UINT>(-1);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
}

void AFWindow::CheckMenuItem(UINT id, bool checked)
{
    ::CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void AFWindow::EnableMenuItem(UINT id, bool enabled)
{
    ::EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void AFWindow::SetPalette(const MMColorTable& table)
{
    colors.Assign(table);
    LockHolder hold(&paletteLock);
    HDC dc = GetDC(window);
    if (!dc)
        return;
    MMLogPalette logical;
    MakeLogPalette(colors, dc, logical);
    HPALETTE created = CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
    if (!created)
        return;
    SelectPalette(dc, created, FALSE);
    RealizePalette(dc);
    if (palette)
        DeleteObject(palette);
    palette = created;
}
