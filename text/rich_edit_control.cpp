#include "text/rich_edit_control.h"

#include <cstring>
#include <initializer_list>

#include "framework/callbacks.h"
#include "framework/window.h"

namespace {

HMODULE library = nullptr;
const char* libraryName = nullptr;

const char kClipClass[] = "RichEditClip";
const char kCoverClass[] = "CoverUpTheRichEdit";

LRESULT CALLBACK CoverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(window, &r);
        r.right += 10;
        FillRect(reinterpret_cast<HDC>(wParam), &r,
                 static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterClasses()
{
    static bool registered = false;
    if (registered)
        return true;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA clip = {};
    clip.style = CS_DBLCLKS | CS_OWNDC;
    clip.lpfnWndProc = DefWindowProcA;
    clip.hInstance = instance;
    clip.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    clip.lpszClassName = kClipClass;
    WNDCLASSA coverClass = {};
    coverClass.lpfnWndProc = CoverProc;
    coverClass.hInstance = instance;
    coverClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    coverClass.lpszClassName = kCoverClass;
    bool clipOk = RegisterClassA(&clip) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    bool coverOk = RegisterClassA(&coverClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    registered = clipOk && coverOk;
    return registered;
}

void MapRect(HWND from, HWND to, Box* box)
{
    POINT corners[2] = {{box->left, box->top}, {box->right, box->bottom}};
    MapWindowPoints(from, to, corners, 2);
    *box = Box{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

}  // namespace

bool LoadRichEditLibrary()
{
    if (library == nullptr)
        library = LoadLibraryA(libraryName ? libraryName : "RICHED32.dll");
    return library != nullptr;
}

bool IsRichEditLoaded() { return library != nullptr; }

void FreeRichEditLibrary()
{
    if (library && FreeLibrary(library))
        library = nullptr;
}

void SetRichEditLibraryName(const char* name) { libraryName = name; }

AFEditRichTextControl::AFEditRichTextControl(AFWindow* owner, const Box& rect)
    : AFWindowsSystemControl(owner)
{
    InitLock(&lock);
    std::memset(&characterCache, 0, sizeof characterCache);
    std::memset(&paragraphCache, 0, sizeof paragraphCache);
    characterCache.cbSize = sizeof characterCache;
    paragraphCache.cbSize = sizeof paragraphCache;
    if (!IsRichEditLoaded() || !CreateWindows(rect))
        return;
    SetBounds(rect);
    SetModified(false);
    RefreshFormatCache();
}

bool AFEditRichTextControl::CreateWindows(const Box& rect)
{
    HWND parent = owner ? owner->window : nullptr;
    if (parent == nullptr || !RegisterClasses())
        return false;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    window = CreateWindowExA(WS_EX_WINDOWEDGE, kClipClass, "",
                             WS_CHILD | WS_CLIPCHILDREN | WS_BORDER, rect.left, rect.top,
                             rect.Width(), rect.Height(), parent, nullptr, instance, nullptr);
    if (window == nullptr)
        return false;
    if (!Subclass()) {
        DestroyWindow(window);
        window = nullptr;
        return false;
    }
    RECT outer;
    GetWindowRect(window, &outer);
    POINT client = {0, 0};
    ClientToScreen(window, &client);
    border = Pair{client.x - outer.left, client.y - outer.top};

    edit = CreateWindowExA(WS_EX_LEFT, "RichEdit", "", kRichEditStyle, 0, 0, rect.Width(),
                           rect.Height(), window, nullptr, instance, nullptr);
    if (edit == nullptr)
        return false;
    SetWindowLongPtrA(edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    Edit(EM_SETEVENTMASK, 0, kRichEditEvents);
    Edit(EM_SETBKGNDCOLOR, 0, RGB(255, 255, 255));
    cover = CreateWindowExA(0, kCoverClass, "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 10, 10, window,
                            nullptr, instance, nullptr);
    if (cover)
        SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    whiteBrush = CreateSolidBrush(RGB(255, 255, 255));
    return true;
}

AFEditRichTextControl::~AFEditRichTextControl()
{
    delete listener;
    if (whiteBrush)
        DeleteObject(whiteBrush);
    DeleteLock(&lock);
}

LRESULT AFEditRichTextControl::Edit(UINT message, WPARAM wParam, LPARAM lParam)
{
    return edit ? SendMessageA(edit, message, wParam, lParam) : 0;
}

void AFEditRichTextControl::Show(bool show)
{
    int command = show ? SW_SHOW : SW_HIDE;
    for (HWND each : {window, edit, cover})
        if (each)
            ShowWindow(each, command);
}

bool AFEditRichTextControl::IsEmpty() { return GetTextLength() == 0; }
bool AFEditRichTextControl::IsModified() { return Edit(EM_GETMODIFY) != 0; }
void AFEditRichTextControl::SetModified(bool modified) { Edit(EM_SETMODIFY, modified ? 1 : 0); }
void AFEditRichTextControl::Undo() { Edit(WM_UNDO); }
void AFEditRichTextControl::Clear() { Edit(WM_CLEAR); }

Box AFEditRichTextControl::GetBounds()
{
    Box box = AFControl::GetBounds();
    return Box{box.left + border.x, box.top + border.y, box.right - border.x,
               box.bottom - border.y};
}

void AFEditRichTextControl::SetBounds(const Box& rect)
{
    AFControl::SetBounds(Box{rect.left - border.x, rect.top - border.y, rect.right + border.x,
                             rect.bottom + border.y});
}

void AFEditRichTextControl::Place(const Box& rect)
{
    if (edit == nullptr || window == nullptr)
        return;
    Box target = rect;
    MapRect(owner ? owner->window : GetParent(window), window, &target);
    RECT now;
    GetWindowRect(edit, &now);
    Box current = {now.left, now.top, now.right, now.bottom};
    MapRect(nullptr, window, &current);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
    if (current.left == target.left && current.top == target.top)
        flags |= SWP_NOMOVE;
    if (current.Width() == target.Width() && current.Height() == target.Height())
        flags |= SWP_NOSIZE;
    if ((flags & SWP_NOMOVE) && (flags & SWP_NOSIZE))
        return;
    SetWindowPos(edit, nullptr, target.left, target.top, target.Width(), target.Height(), flags);
    if (!IsWindowVisible(window)) {
        // A hidden rich edit lays its text out again only once shown.
        ShowWindow(edit, SW_SHOW);
        ShowWindow(edit, SW_HIDE);
    }
}

int32_t AFEditRichTextControl::StreamOut(EDITSTREAM* stream)
{
    return int32_t(Edit(EM_STREAMOUT, SF_RTFNOOBJS, reinterpret_cast<LPARAM>(stream)));
}

int32_t AFEditRichTextControl::StreamIn(EDITSTREAM* stream)
{
    int32_t moved = int32_t(Edit(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(stream)));
    Edit(EM_EMPTYUNDOBUFFER);
    SetModified(false);
    RefreshFormatCache();
    return moved;
}

void AFEditRichTextControl::LimitText(int32_t n)
{
    if (edit)
        SendNotifyMessageA(edit, EM_LIMITTEXT, WPARAM(n), 0);
}

int32_t AFEditRichTextControl::GetLimitText() { return int32_t(Edit(EM_GETLIMITTEXT)); }

void AFEditRichTextControl::SetAlignment(int32_t kind)
{
    PARAFORMAT format = {};
    format.cbSize = sizeof format;
    format.dwMask = PFM_ALIGNMENT;
    format.wAlignment = kind == 1 ? PFA_CENTER : kind == 2 ? PFA_RIGHT : PFA_LEFT;
    Edit(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
}

int32_t AFEditRichTextControl::GetTextLength() { return int32_t(Edit(WM_GETTEXTLENGTH)); }

void AFEditRichTextControl::GetText(char* buffer, int32_t size)
{
    if (size > 0)
        buffer[0] = 0;
    Edit(WM_GETTEXT, WPARAM(size), reinterpret_cast<LPARAM>(buffer));
}

bool AFEditRichTextControl::HasFocus()
{
    HWND focus = GetFocus();
    return focus != nullptr && (focus == window || focus == edit);
}

void AFEditRichTextControl::OnFocusGained()
{
    if (edit)
        SetFocus(edit);
}

void AFEditRichTextControl::OnFocusLost()
{
    if (HasFocus() && owner)
        SetFocus(owner->window);
}

bool AFEditRichTextControl::FormatRange(HDC dc, int32_t left, int32_t top, int32_t right,
                                        int32_t bottom)
{
    if (edit == nullptr)
        return false;
    FORMATRANGE range = {};
    range.hdc = dc;
    range.hdcTarget = dc;
    range.rc = RECT{left, top, right, bottom};
    range.rcPage = range.rc;
    range.chrg.cpMin = 0;
    range.chrg.cpMax = -1;
    LRESULT drawn = Edit(EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    Edit(EM_FORMATRANGE, FALSE, 0);
    if (drawn != 0 || IsEmpty())
        return drawn != 0;
    // Some rich edits answer 0 and draw nothing; their own painting of the
    // client area, caret and selection hidden, stands in.
    Edit(EM_HIDESELECTION, TRUE, 0);
    int dpiX = GetDeviceCaps(dc, LOGPIXELSX);
    int dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    POINT old;
    SetViewportOrgEx(dc, MulDiv(left, dpiX, 1440), MulDiv(top, dpiY, 1440), &old);
    Edit(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
    Edit(EM_HIDESELECTION, FALSE, 0);
    return true;
}

void AFEditRichTextControl::GetSelection(int32_t* start, int32_t* end)
{
    DWORD a = 0;
    DWORD b = 0;
    Edit(EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    *start = int32_t(a);
    *end = int32_t(b);
}

void AFEditRichTextControl::SetSelection(int32_t start, int32_t end)
{
    if (edit)
        SendNotifyMessageA(edit, EM_SETSEL, WPARAM(start), LPARAM(end));
}

void AFEditRichTextControl::SendCharFormat(CHARFORMATA& format)
{
    format.cbSize = sizeof format;
    Edit(EM_SETCHARFORMAT, defaultFormatMode ? 0 : SCF_SELECTION,
         reinterpret_cast<LPARAM>(&format));
}

void AFEditRichTextControl::SetTextColor(COLORREF colour)
{
    CHARFORMATA format = {};
    format.dwMask = CFM_COLOR;
    format.crTextColor = colour;
    SendCharFormat(format);
}

void AFEditRichTextControl::SetEffect(DWORD mask, DWORD effect, bool on)
{
    CHARFORMATA format = {};
    format.dwMask = mask;
    format.dwEffects = on ? effect : 0;
    SendCharFormat(format);
}

void AFEditRichTextControl::SetBold(bool on) { SetEffect(CFM_BOLD, CFE_BOLD, on); }
void AFEditRichTextControl::SetItalic(bool on) { SetEffect(CFM_ITALIC, CFE_ITALIC, on); }
void AFEditRichTextControl::SetUnderline(bool on) { SetEffect(CFM_UNDERLINE, CFE_UNDERLINE, on); }
void AFEditRichTextControl::SetPlain() { SetEffect(CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE, 0, false); }

void AFEditRichTextControl::SetFace(const char* name, uint8_t charSet, uint8_t pitch)
{
    CHARFORMATA format = {};
    format.dwMask = CFM_FACE | CFM_CHARSET;
    format.bCharSet = charSet;
    format.bPitchAndFamily = pitch;
    std::strncpy(format.szFaceName, name, sizeof format.szFaceName - 1);
    SendCharFormat(format);
}

void AFEditRichTextControl::SetHeight(int32_t twips)
{
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    Edit(EM_GETCHARFORMAT, TRUE, reinterpret_cast<LPARAM>(&format));
    format.dwMask = CFM_SIZE;
    format.yHeight = twips;
    SendCharFormat(format);
}

void AFEditRichTextControl::RefreshFormatCache()
{
    if (edit == nullptr)
        return;
    CHARFORMATA character = {};
    character.cbSize = sizeof character;
    Edit(EM_GETCHARFORMAT, TRUE, reinterpret_cast<LPARAM>(&character));
    PARAFORMAT paragraph = {};
    paragraph.cbSize = sizeof paragraph;
    Edit(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
    LockHolder hold(&lock);
    if (std::memcmp(&character, &characterCache, sizeof character) != 0) {
        characterCache = character;
        changed = true;
    }
    if (std::memcmp(&paragraph, &paragraphCache, sizeof paragraph) != 0) {
        paragraphCache = paragraph;
        changed = true;
    }
}

void AFEditRichTextControl::CopyFormatCache(CHARFORMATA* character, PARAFORMAT* paragraph)
{
    LockHolder hold(&lock);
    if (character)
        *character = characterCache;
    if (paragraph)
        *paragraph = paragraphCache;
    changed = false;
}

bool AFEditRichTextControl::FormatsChanged()
{
    LockHolder hold(&lock);
    return changed;
}

void AFEditRichTextControl::SetChangeListener(AFCallback* newListener)
{
    if (newListener == listener)
        return;
    delete listener;
    listener = newListener;
}

Box AFEditRichTextControl::CoverBox()
{
    RECT r = {0, 0, 0, 0};
    if (edit)
        GetWindowRect(edit, &r);
    Box box = {r.left, r.top, r.right, r.bottom};
    MapRect(nullptr, window, &box);
    int32_t height = box.Height();
    bool fits = requested.right - requested.left <= box.Width() &&
                requested.bottom - requested.top <= height;
    if (fits)
        return Box{box.right, box.bottom, box.right + 10, box.bottom + 10};
    int32_t usedBottom = height;
    for (int32_t line = 1;; ++line) {
        LRESULT first = Edit(EM_LINEINDEX, WPARAM(line));
        if (first < 0)
            break;
        POINTL at = {0, 0};
        Edit(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), first);
        if (at.y >= height)
            break;
        usedBottom = at.y;
    }
    if (usedBottom >= height)
        return Box{box.right, box.bottom, box.right + 10, box.bottom + 10};
    return Box{box.left, box.top + usedBottom, box.right, box.bottom};
}

void AFEditRichTextControl::PlaceCover()
{
    if (cover == nullptr)
        return;
    Box box = CoverBox();
    SetWindowPos(cover, HWND_TOP, box.left, box.top, box.Width(), box.Height(),
                 SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

bool AFEditRichTextControl::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          LRESULT* result)
{
    switch (message) {
    case WM_KILLFOCUS:
        *result = 0;
        return true;
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) != edit || edit == nullptr)
            return false;
        if (HIWORD(wParam) == EN_CHANGE) {
            PlaceCover();
            RefreshFormatCache();
            if (listener)
                listener->Invoke();
            *result = 0;
            return true;
        }
        *result = DefWindowProcA(hwnd, message, wParam, lParam);
        return true;
    case WM_WINDOWPOSCHANGED:
        PlaceCover();
        return false;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header == nullptr || header->hwndFrom != edit)
            return false;
        if (header->code == EN_SELCHANGE)
            RefreshFormatCache();
        else if (header->code == EN_REQUESTRESIZE) {
            requested = reinterpret_cast<const REQRESIZE*>(lParam)->rc;
            // The request may follow the change it comes from.
            PlaceCover();
        }
        *result = 0;
        return true;
    }
    default:
        return false;
    }
}
