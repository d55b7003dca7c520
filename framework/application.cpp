#include "framework/application.h"

#include <cstring>
#include "framework/cursor.h"
#include "framework/folders.h"
#include "framework/heap.h"
#include "framework/pending_error.h"
#include "framework/processor_features.h"
#include "framework/pulse_task.h"
#include "framework/string_table.h"
#include "framework/text.h"
#include "framework/window.h"

AFApplication* gApplication = nullptr;

namespace {

AFMessageBoxFunction gMessageBox = &MessageBoxA;

constexpr int kTokenSize = 256;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

struct WindowSearch {
    AFWindow* found;
};

BOOL CALLBACK FindFirstWindow(HWND handle, LPARAM context)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(context);
    search->found = AFWindow::FromHandle(handle);
    return search->found == nullptr;
}

}  // namespace

void SetErrorMessageBox(AFMessageBoxFunction function)
{
    gMessageBox = function ? function : &MessageBoxA;
}

const char* NextCommandLineToken(const char* text, char* token)
{
    while (IsBlank(*text))
        ++text;
    if (!*text)
        return nullptr;
    int length = 0;
    if (*text == '"') {
        ++text;
        while (*text && *text != '"' && length < kTokenSize - 1)
            token[length++] = *text++;
        if (*text == '"')
            ++text;
    } else {
        while (*text && !IsBlank(*text) && length < kTokenSize - 1)
            token[length++] = *text++;
    }
    token[length] = 0;
    return text;
}

AFApplication::AFApplication(Heap* defaultHeap)
    : activeWindow(nullptr), ownsDialogs(true), uiThreadId(0)
{
    DetectProcessorFeatures();
    gApplication = this;
    gDefaultHeap = defaultHeap;
    if (!gListNodeHeap)
        gListNodeHeap = defaultHeap;
    if (!gMediaHeap)
        gMediaHeap = defaultHeap;
    if (!gMidiHeap)
        gMidiHeap = defaultHeap;
    gPulseTaskManager = new (gDefaultHeap) AFPulseTaskManager;
    SetErrorMode(SEM_FAILCRITICALERRORS);
    uiThreadId = GetCurrentThreadId();
}

AFApplication::~AFApplication()
{
    delete gPulseTaskManager;
    gPulseTaskManager = nullptr;
    if (gListNodeHeap == gDefaultHeap)
        gListNodeHeap = nullptr;
    if (gMediaHeap == gDefaultHeap)
        gMediaHeap = nullptr;
    if (gMidiHeap == gDefaultHeap)
        gMidiHeap = nullptr;
    gDefaultHeap = nullptr;
    gApplication = nullptr;
}

bool AFApplication::Run()
{
    for (;;) {
        if (gPulseTaskManager)
            gPulseTaskManager->Start();
        bool ok = Initialize();
        if (ok) {
            if (!OpenCommandLineFiles())
                ok = OpenDefault();
            if (ok)
                MessageLoop();
        }
        DeleteAllWindows();
        Terminate();
        if (gPulseTaskManager)
            gPulseTaskManager->Stop();
        if (!IsErrorPending() || !ReportError())
            break;
    }
    return !IsErrorPending();
}

bool AFApplication::ReportError()
{
    char caption[kTextSize];
    LoadResourceStringOrDefault(kStringErrorCaption, caption, "Application Error");
    // Both texts come from one shared buffer: keep the first before asking
    // for the second.
    char text[2 * kErrorMessageSize + 2];
    StringCopyBounded(FormatPendingError(gPendingError.code, gPendingError.folder,
                                         gPendingError.name),
                      text, sizeof(text));
    if (gPendingError.systemError != 0) {
        StringAppendBounded("\n\n", text, sizeof(text));
        StringAppendBounded(SystemErrorText(gPendingError.systemError), text, sizeof(text));
    }
    gMessageBox(nullptr, text, caption, MB_OK);
    return false;
}

void AFApplication::Quit() { PostThreadMessageA(uiThreadId, WM_QUIT, 0, 0); }

bool AFApplication::Initialize()
{
    gCursorSet = new (gDefaultHeap) AFCursorSet;
    if (!gCursorSet || !gCursorSet->Load())
        return FailWithoutError();
    return true;
}

void AFApplication::Terminate()
{
    if (!gCursorSet)
        return;
    delete gCursorSet;
    gCursorSet = nullptr;
}

bool AFApplication::OpenDefault() { return true; }

bool AFApplication::OpenFile(const FSDirectory&, const char*) { return true; }

void AFApplication::DeleteAllWindows()
{
    // Deleting a window may take others with it, so look again each time.
    while (AFWindow* window = FirstWindow())
        delete window;
}

void AFApplication::MessageLoop()
{
    MSG message;
    for (;;) {
        if (IsErrorPending())
            PostQuitMessage(0);
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (message.message == WM_QUIT)
            return;
        if (activeWindow && activeWindow->accelerators &&
            TranslateAcceleratorA(activeWindow->window, activeWindow->accelerators, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool AFApplication::OpenCommandLineFiles() { return OpenFilesNamedIn(GetCommandLineA()); }

bool AFApplication::OpenFilesNamedIn(const char* commandLine)
{
    FSDirectory current;
    FSCurrentFolder(current);
    const char* text = commandLine;
    char token[kTokenSize];
    text = NextCommandLineToken(text, token);  // the program itself
    bool opened = false;
    while (text && (text = NextCommandLineToken(text, token))) {
        FSDirectory folder;
        char name[kFileNameSize];
        if (ResolveCommandLinePath(token, current, folder, name) && OpenFile(folder, name))
            opened = true;
    }
    return opened;
}

AFWindow* AFApplication::FirstWindow()
{
    WindowSearch search = {nullptr};
    EnumThreadWindows(uiThreadId, &FindFirstWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

AFWindow* AFApplication::NextWindow(AFWindow* window)
{
    for (HWND handle = GetWindow(window->window, GW_HWNDNEXT); handle;
         handle = GetWindow(handle, GW_HWNDNEXT))
        if (AFWindow* next = AFWindow::FromHandle(handle))
            return next;
    return nullptr;
}
