#pragma once
// Pictures from scanners and cameras through the TWAIN source manager. All
// TWAIN calls run on the UI thread, which hands the registered messages to
// HandleMessage and, while a source is enabled, every other message to
// ProcessEvent. The manager rests in state 3 (manager open, sources listed)
// between acquisitions.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/lock.h"
#include "gallery/twain_types.h"

class TwainManager {
public:
    // Hands the image on; the manager frees the handle afterwards.
    typedef void (*ImageReceiver)(const TW_IMAGEINFO& info, HGLOBAL dib, void* context);
    // Tells the stage window: 7 a bitmap is ready, 10 TWAIN shut down.
    typedef void (*StageNotifier)(int code, void* context);
    typedef void (*ErrorBox)(HWND owner, const char* text);

    TwainManager();
    ~TwainManager();
    TwainManager(const TwainManager&) = delete;
    TwainManager& operator=(const TwainManager&) = delete;

    static UINT InitializeMessage();
    static UINT SelectDeviceMessage();
    static UINT BringUpMessage();
    static UINT BitmapReadyMessage();
    static UINT ShutDownMessage();

    void SetParentWindow(HWND window) { parent = window; }
    void SetStageThread(HANDLE thread) { stageThread = thread; }
    void SetImageReceiver(ImageReceiver receiver, void* context);
    void SetStageNotifier(StageNotifier notifier, void* context);
    // The folders searched for Twain_32.dll (empty: the Windows folder,
    // then the system folder).
    static void SetSearchFolders(const std::vector<std::string>& folders);
    static ErrorBox SetErrorBox(ErrorBox box);

    void CreateReadyEvent();
    void Start();
    bool WaitForStart();
    bool SelectSourceByIndex(int index);
    bool SelectSourceByName(const char* name);
    bool Acquire();
    bool ProcessEvent(MSG* message);
    void TransferImage();
    void DisableSource();
    void ReportError();
    TW_UINT16 ReadConditionCode();
    void Shutdown();
    // The modal chooser (dialog 501); true when closed with OK. The choice
    // goes to the UI thread as SelectDeviceMessage.
    bool ChooseTwainSourceDialog(HWND owner, DWORD uiThread);
    // The registered messages on the UI thread; true when it was one.
    bool HandleMessage(const MSG& message);

    int State() const { return state; }
    TW_UINT16 ReturnCode() const { return returnCode; }
    const char* Status() const { return status; }
    bool IsReady() const { return ready; }
    bool IsStarted() const { return started; }
    bool IsSourceEnabled() const { return sourceEnabled; }
    int SourceCount() const { return int(sources.size()); }
    const char* SourceName(int i) const { return sources[size_t(i)].ProductName; }
    const char* CurrentSourceName() const { return currentName; }

private:
    static INT_PTR CALLBACK SourceDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                             LPARAM lParam);
    TW_UINT16 Call(TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 data, TW_UINT16 message,
                   TW_MEMREF pointer);
    bool LoadSourceManager();
    void ResetIdentities();
    void SetStatus(const char* text);
    void RecordName(const TW_IDENTITY& identity);
    void RestorePriority();

    Lock lock;
    HANDLE readyEvent;
    bool started;
    bool ready;
    int state;
    TW_UINT16 returnCode;
    TW_IDENTITY application;
    TW_IDENTITY source;
    char status[256];
    char currentName[64];
    HWND parent;
    HANDLE stageThread;
    HMODULE library;
    DSMENTRYPROC entry;
    bool sourceEnabled;
    std::vector<TW_IDENTITY> sources;
    ImageReceiver receiver;
    void* receiverContext;
    StageNotifier notifier;
    void* notifierContext;
    DWORD dialogThread;
};
