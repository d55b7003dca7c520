#pragma once
#include <cstdint>
#include <windows.h>
#include "framework/color_table.h"
#include "framework/geometry.h"
#include "framework/lock.h"

class AFControl;

// Private notifications a window sends to its child controls.
enum AFWindowNotification : UINT {
    kNotifyAppActivated = 0x8000,
    kNotifyAppDeactivated = 0x8001,
    kNotifyActivated = 0x8002,
    kNotifyDeactivated = 0x8003,
    kNotifyOwnerMovedOrSized = 0x8004,
    kNotifyOwnerCommand = 0x8005,
    kNotifyPaletteChanged = 0x8006,
    kMessageWindowCallback = 0x8007,  // WM_APP + 7
};

// One static record per window class.
struct AFWindowClass {
    UINT style;
    int16_t classExtra;
    int16_t windowExtra;
    bool iconFromProgram;
    LPCSTR iconName;
    LPCSTR smallIconName;
    bool cursorFromProgram;
    LPCSTR cursorName;
    HBRUSH background;
    LPCSTR menuName;  // also the accelerator table's name; null = no menu
    LPCSTR className;
    WNDPROC windowProc;
};

// CS_OWNDC | CS_DBLCLKS, icon 550, arrow, COLOR_APPWORKSPACE, menu 550,
// class "AFDefaultWindowClass".
extern const AFWindowClass kDefaultWindowClass;

struct AFWindowCreation {
    const AFWindowClass* windowClass;
    Box clientBox;  // wanted client area, screen coordinates
    DWORD style;
    DWORD exStyle;
};

bool RegisterWindowClass(const AFWindowClass& windowClass);

class AFWindow {
public:
    AFWindow(const AFWindowCreation& creation, HWND parent);
    virtual ~AFWindow();
    AFWindow(const AFWindow&) = delete;
    AFWindow& operator=(const AFWindow&) = delete;

    virtual bool CanClose() = 0;                                   // 1
    virtual void InitMenu();                                       // 2
    virtual bool HandleCommand(uint16_t command);                  // 3
    virtual AFControl* NextFocusControl(AFControl* from, bool forward);  // 4
    virtual void AppActivated();                                   // 5
    virtual void AppDeactivated();                                 // 6
    virtual void Activated();                                      // 7
    virtual void Deactivated();                                    // 8
    virtual void MovedOrSized();                                   // 9
    virtual void PaletteChanged();                                 // 10
    virtual void GetSizeLimits(Box* limits);                       // 11
    virtual bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT* result);                   // 12

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam);
    // The framework window object of a handle, or null.
    static AFWindow* FromHandle(HWND window);

    void SetTopmost(bool topmost);
    bool IsTopmost() const;
    void BringToForeground();
    bool IsActive() const;
    void Show(bool show);
    bool IsHidden() const;
    void SetTitle(const char* title);
    int GetTitle(char* buffer) const;  // buffer of 256 bytes
    Box ClientBox() const;
    Box ClientBoxOnScreen() const;
    void SetClientBox(const Box& box);
    void Invalidate(const Box* box);
    void Validate(const Box* box);
    void Update();
    AFControl* FocusedControl() const;
    void SetFocus(AFControl* control);

    void SetMenu(bool show);
    bool IsMenuShown() const { return !menuHidden; }
    bool HasMenuItem(UINT id) const;
    bool IsMenuItemChecked(UINT id) const;
    void CheckMenuItem(UINT id, bool checked);
    void EnableMenuItem(UINT id, bool enabled);

    void SetPalette(const MMColorTable& table);

    void NotifyChildren(UINT code);

    HWND window;
    HPALETTE palette;
    HMENU menu;
    HACCEL accelerators;
    bool menuHidden;
    Lock paletteLock;
    MMColorTable colors;

private:
    void RealizePaletteNow();
};
