#pragma once
// Standard Windows child controls wrapped in objects: the control window is
// subclassed with one framework procedure that finds the object in the
// window's user data and maps its messages to virtual operations. The owner
// window reflects the control's notifications back to it.

#include <windows.h>
#include <cstdint>

#include "framework/geometry.h"

class AFWindow;
class AFCallback;

class AFControl {
public:
    explicit AFControl(AFWindow* owner);
    virtual ~AFControl();
    AFControl(const AFControl&) = delete;
    AFControl& operator=(const AFControl&) = delete;

    virtual Box GetBounds();                                    // 1
    virtual void SetBounds(const Box& box);                     // 2
    virtual void Show(bool show);                               // 3
    virtual bool IsVisible();                                   // 4
    virtual void Enable(bool enable);                           // 5
    virtual bool IsEnabled();                                   // 6
    virtual bool HasFocus();                                    // 7
    virtual bool CanTakeFocus();                                // 8
    virtual bool HandleOwnerCommand(uint16_t command);          // 9
    virtual void OnAppActivated();                              // 10
    virtual void OnAppDeactivated();                            // 11
    virtual void OnActivated();                                 // 12
    virtual void OnDeactivated();                               // 13
    virtual void OnOwnerMovedOrSized();                         // 14
    virtual void OnPaletteChanged();                            // 15
    virtual void OnEnabled();                                   // 16
    virtual void OnDisabled();                                  // 17
    virtual void OnFocusGained();                               // 18
    virtual void OnFocusLost();                                 // 19
    virtual void OnMovedOrSized();                              // 20
    virtual bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT* result);                // 21

    // The owner window's destructor leaves this control alive.
    void KeepOnOwnerDestroy() { keepOnOwnerDestroy = true; }
    // Keeps the handle and stores this object in the window's user data.
    void AttachWindow(HWND handle);
    // Routes the window's messages through SubclassProc, keeping the class's
    // own procedure in previousProc.
    bool Subclass();

    void BringToTop();
    void PlaceAfter(AFControl* other);
    void Invalidate(const Box* box);
    HWND Window() const { return window; }

    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam,
                                         LPARAM lParam);
    // The control object of a window subclassed by the framework, or null.
    static AFControl* FromHandle(HWND window);

    AFWindow* owner;
    bool keepOnOwnerDestroy;
    HWND window;
    WNDPROC previousProc;

protected:
    // Creates the control window over a system class in the owner's client
    // coordinates and subclasses it; the window is destroyed when
    // subclassing fails, leaving the control without a window.
    bool CreateControl(const char* className, const char* text, DWORD style, const Box& box);
};

// A control over a standard Windows class.
class AFWindowsSystemControl : public AFControl {
public:
    explicit AFWindowsSystemControl(AFWindow* owner) : AFControl(owner) {}
};

// Owns an optional action, invoked by Clicked (or Changed).
class AFActionHolder {
public:
    AFActionHolder() : action(nullptr) {}
    ~AFActionHolder();
    void SetAction(AFCallback* newAction);  // deletes the previous one
    void RunAction();

    AFCallback* action;
};

class AFCheckBoxControl : public AFControl {
public:
    AFCheckBoxControl(AFWindow* owner, const Box& box, const char* text, bool checked);
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override;
    virtual void Clicked();  // 22

    bool IsChecked();
    void SetChecked(bool checked);
    void SetText(const char* text);
    void GetText(char* buffer);  // 256 bytes
    void SetAction(AFCallback* action) { actions.SetAction(action); }

private:
    AFActionHolder actions;
};

class AFRadioButtonControl : public AFControl {
public:
    // continuesGroup: the button joins the group of the one before it.
    AFRadioButtonControl(AFWindow* owner, const Box& box, const char* text, bool checked,
                         bool continuesGroup);
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override;
    virtual void Clicked();  // 22

    bool IsChecked();
    void SetChecked(bool checked);
    void SetText(const char* text);
    void GetText(char* buffer);  // 256 bytes
    void SetAction(AFCallback* action) { actions.SetAction(action); }

private:
    AFActionHolder actions;
};

class AFEditTextControl : public AFWindowsSystemControl {
public:
    enum Alignment { kLeft = 0, kCenter = 1, kRight = 2 };

    AFEditTextControl(AFWindow* owner, const Box& box, const char* text, DWORD editStyles);
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override;
    virtual void Changed();  // 22

    void LimitText(int32_t n);
    int32_t TextLimit();
    void SetAlignment(Alignment alignment);
    Alignment GetAlignment();
    void SetText(const char* text);
    void GetText(char* buffer);  // 256 bytes
    int32_t TextLength();
    void GetSelection(int16_t* start, int16_t* end);
    void SetSelection(int16_t start, int16_t end);
    void SetChangeAction(AFCallback* action) { actions.SetAction(action); }

private:
    AFActionHolder actions;
};

class AFScrollBarControl : public AFControl {
public:
    AFScrollBarControl(AFWindow* owner, const Box& box, bool vertical);
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override;
    virtual void Clicked();  // 22
    void Enable(bool enable) override;
    bool IsEnabled() override;

    void SetScroll(int16_t range, int16_t pageSize, int16_t lineStep, int16_t position);
    void SetPosition(int16_t position);
    int16_t Position() const { return position; }
    void SetAction(AFCallback* action) { actions.SetAction(action); }
    static int32_t StandardWidth();

    bool vertical;
    int16_t lineStep;
    int16_t range;
    int16_t pageSize;
    int16_t position;
    bool enabled;

private:
    void ApplyEnabled();
    AFActionHolder actions;
};

class AFStaticTextControl : public AFWindowsSystemControl {
public:
    AFStaticTextControl(AFWindow* owner, const Box& box, const char* text);
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override;
    void SetText(const char* text);
    void GetText(char* buffer);  // 256 bytes
};

class AFTextButtonControl : public AFControl {
public:
    AFTextButtonControl(AFWindow* owner, const Box& box, const char* text);
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override;
    virtual void Clicked();  // 22

    void SetText(const char* text);
    void SetAction(AFCallback* action) { actions.SetAction(action); }

private:
    AFActionHolder actions;
};
