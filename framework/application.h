#pragma once
#include <cstdint>
#include <windows.h>

class AFWindow;
class Heap;
class FSDirectory;

// The framework's one application object. Run drives the cycle: start the
// pulse-task thread, initialise, open the command-line files or the default
// document, run the message loop, delete all windows, terminate; and while an
// error is pending and ReportError asks for it, run the cycle again.
class AFApplication {
public:
    explicit AFApplication(Heap* defaultHeap);
    virtual ~AFApplication();
    AFApplication(const AFApplication&) = delete;
    AFApplication& operator=(const AFApplication&) = delete;

    virtual bool Run();                                            // 1
    virtual bool ReportError();                                    // 2
    virtual void Quit();                                           // 3
    virtual bool Initialize();                                     // 4
    virtual void Terminate();                                      // 5
    virtual bool OpenDefault();                                    // 6
    virtual bool OpenFile(const FSDirectory& folder, const char* name);   // 7
    virtual void DeleteAllWindows();                               // 8
    virtual void MessageLoop();                                    // 9
    virtual bool OpenCommandLineFiles();                           // 10

    // Opens each file named by `commandLine` after its first token (the
    // program) through OpenFile; true when OpenFile accepted at least one.
    bool OpenFilesNamedIn(const char* commandLine);

    AFWindow* FirstWindow();
    AFWindow* NextWindow(AFWindow* window);

    AFWindow* activeWindow;
    bool ownsDialogs;
    DWORD uiThreadId;
};

extern AFApplication* gApplication;

// Splits a command line at blanks and tabs (double quotes group) into
// tokens of at most 255 characters. Returns where scanning resumes, or null
// when there is no further token.
const char* NextCommandLineToken(const char* text, char* token);

// The message box of the error report; a test may put its own in place.
typedef int (WINAPI* AFMessageBoxFunction)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
void SetErrorMessageBox(AFMessageBoxFunction function);
