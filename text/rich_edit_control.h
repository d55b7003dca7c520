#pragma once
// The platform's rich-edit control in a clip window, with a cover window that
// hides a line cut by the box's lower edge. Every operation runs on the
// thread that owns the windows; only the format cache is read from others,
// under the control's lock.
#include <windows.h>
#include <richedit.h>

#include <cstdint>

#include "framework/controls.h"
#include "framework/lock.h"

class AFCallback;

static_assert(sizeof(CHARFORMATA) == 60, "the character format record is 60 bytes");
static_assert(sizeof(PARAFORMAT) == 156, "the paragraph format record is 156 bytes");

// "RICHED32.dll", loaded once and kept.
bool LoadRichEditLibrary();
bool IsRichEditLoaded();
// Forgets the library when it could be freed.
void FreeRichEditLibrary();
// Test seam: the name LoadRichEditLibrary loads (null: the real one).
void SetRichEditLibraryName(const char* name);

enum : DWORD { kRichEditStyle = 0x44001004 };  // child, clip siblings, want return, multi-line
enum : DWORD { kRichEditEvents = ENM_CHANGE | ENM_REQUESTRESIZE | ENM_SELCHANGE };

class AFEditRichTextControl : public AFWindowsSystemControl {
public:
    // rect in the owner's client coordinates; without the library the control
    // has no windows and every operation does nothing.
    AFEditRichTextControl(AFWindow* owner, const Box& rect);
    ~AFEditRichTextControl() override;

    void Show(bool show) override;
    bool IsEmpty();
    bool IsModified();
    void SetModified(bool modified);
    void Undo();
    void Clear();
    Box GetBounds() override;
    void SetBounds(const Box& rect) override;
    void Place(const Box& rect);
    int32_t StreamOut(EDITSTREAM* stream);
    int32_t StreamIn(EDITSTREAM* stream);
    void LimitText(int32_t n);
    int32_t GetLimitText();
    void SetAlignment(int32_t kind);
    int32_t GetTextLength();
    void GetText(char* buffer, int32_t size);
    bool HasFocus() override;
    void OnFocusGained() override;
    void OnFocusLost() override;
    // Draws all the text into dc inside the rectangle (twips).
    bool FormatRange(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom);
    void GetSelection(int32_t* start, int32_t* end);
    void SetSelection(int32_t start, int32_t end);

    void SetTextColor(COLORREF colour);
    void SetBold(bool on);
    void SetItalic(bool on);
    void SetUnderline(bool on);
    void SetPlain();
    void SetFace(const char* name, uint8_t charSet, uint8_t pitch);
    void SetHeight(int32_t twips);
    void SetDefaultFormatMode(bool on) { defaultFormatMode = on; }

    void RefreshFormatCache();
    // Either record may be null; clears the changed flag.
    void CopyFormatCache(CHARFORMATA* character, PARAFORMAT* paragraph);
    bool FormatsChanged();
    // Owned; replaces and deletes the previous one.
    void SetChangeListener(AFCallback* listener);

    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override;

    HWND EditWindow() const { return edit; }
    HWND CoverWindow() const { return cover; }
    Pair BorderOffset() const { return border; }
    const RECT& RequestedResize() const { return requested; }
    // Where the cover goes: in the clip window's client coordinates.
    Box CoverBox();

private:
    bool CreateWindows(const Box& rect);
    void SendCharFormat(CHARFORMATA& format);
    void SetEffect(DWORD mask, DWORD effect, bool on);
    void PlaceCover();
    LRESULT Edit(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    HWND edit = nullptr;
    HWND cover = nullptr;
    HBRUSH whiteBrush = nullptr;
    Pair border = {0, 0};
    AFCallback* listener = nullptr;
    RECT requested = {0, 0, 0, 0};
    Lock lock;
    CHARFORMATA characterCache;
    PARAFORMAT paragraphCache;
    bool changed = false;
    bool defaultFormatMode = false;
};
