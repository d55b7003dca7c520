#include "gallery/twain_manager.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int kSourceList = 101;

std::vector<std::string> gSearchFolders;

void ShowErrorBox(HWND owner, const char* text)
{
    MessageBoxA(owner, text, "", MB_ICONERROR);
}

TwainManager::ErrorBox gErrorBox = &ShowErrorBox;

UINT Registered(const char* name)
{
    return RegisterWindowMessageA(name);
}

void CopyText(char* to, size_t size, const char* from)
{
    std::snprintf(to, size, "%s", from);
}

}  // namespace

UINT TwainManager::InitializeMessage()
{
    static const UINT message = Registered("TwainManager::InitializeTwain");
    return message;
}

UINT TwainManager::SelectDeviceMessage()
{
    static const UINT message = Registered("TwainManager::SelectTwainDeviceMessage");
    return message;
}

UINT TwainManager::BringUpMessage()
{
    static const UINT message = Registered("TwainManager::BringUpTwainMessage");
    return message;
}

UINT TwainManager::BitmapReadyMessage()
{
    static const UINT message = Registered("TwainManager::TwainBitmapReadyMessage");
    return message;
}

UINT TwainManager::ShutDownMessage()
{
    static const UINT message = Registered("TwainManager::TwainShutDown");
    return message;
}

TwainManager::TwainManager()
    : readyEvent(nullptr), started(false), ready(false), state(1), returnCode(TWRC_SUCCESS),
      parent(nullptr), stageThread(nullptr), library(nullptr), entry(nullptr),
      sourceEnabled(false), receiver(nullptr), receiverContext(nullptr), notifier(nullptr),
      notifierContext(nullptr), dialogThread(0)
{
    InitLock(&lock);
    ResetIdentities();
    SetStatus("not initialized");
}

TwainManager::~TwainManager()
{
    if (started)
        Shutdown();
    if (readyEvent != nullptr)
        CloseHandle(readyEvent);
    DeleteLock(&lock);
}

void TwainManager::SetImageReceiver(ImageReceiver function, void* context)
{
    receiver = function;
    receiverContext = context;
}

void TwainManager::SetStageNotifier(StageNotifier function, void* context)
{
    notifier = function;
    notifierContext = context;
}

void TwainManager::SetSearchFolders(const std::vector<std::string>& folders)
{
    gSearchFolders = folders;
}

TwainManager::ErrorBox TwainManager::SetErrorBox(ErrorBox box)
{
    ErrorBox old = gErrorBox;
    gErrorBox = box != nullptr ? box : &ShowErrorBox;
    return old;
}

void TwainManager::ResetIdentities()
{
    std::memset(&application, 0, sizeof application);
    application.Version.MajorNum = 3;
    application.Version.MinorNum = 5;
    application.Version.Language = TWLG_ENGLISH_USA;
    application.Version.Country = TWCY_USA;
    CopyText(application.Version.Info, sizeof application.Version.Info, "version info");
    application.ProtocolMajor = 1;
    application.ProtocolMinor = 7;
    application.SupportedGroups = DG_SUPPORTED;
    CopyText(application.Manufacturer, sizeof application.Manufacturer, "manufacturer");
    CopyText(application.ProductFamily, sizeof application.ProductFamily, "product family");
    CopyText(application.ProductName, sizeof application.ProductName, "product name");
    std::memset(&source, 0, sizeof source);
    CopyText(source.ProductName, sizeof source.ProductName, "product name");
    CopyText(currentName, sizeof currentName, "");
}

void TwainManager::SetStatus(const char* text)
{
    CopyText(status, sizeof status, text);
}

void TwainManager::RecordName(const TW_IDENTITY& identity)
{
    char name[sizeof identity.ProductName + 1] = {};
    std::memcpy(name, identity.ProductName, sizeof identity.ProductName);
    CopyText(currentName, sizeof currentName, name);
}

void TwainManager::CreateReadyEvent()
{
    if (readyEvent == nullptr)
        readyEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

TW_UINT16 TwainManager::Call(TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 data,
                             TW_UINT16 message, TW_MEMREF pointer)
{
    returnCode = entry != nullptr ? entry(&application, destination, group, data, message, pointer)
                                  : TW_UINT16(TWRC_FAILURE);
    return returnCode;
}

bool TwainManager::LoadSourceManager()
{
    std::vector<std::string> folders = gSearchFolders;
    if (folders.empty()) {
        char path[MAX_PATH];
        if (GetWindowsDirectoryA(path, sizeof path) > 0)
            folders.push_back(path);
        if (GetSystemDirectoryA(path, sizeof path) > 0)
            folders.push_back(path);
    }
    for (const std::string& folder : folders) {
        std::string path = folder;
        if (!path.empty() && path.back() != '\\' && path.back() != '/')
            path += '\\';
        path += "Twain_32.dll";
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            continue;
        library = LoadLibraryA(path.c_str());
        if (library != nullptr)
            entry = reinterpret_cast<DSMENTRYPROC>(
                reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(1))));
        if (entry == nullptr && library != nullptr) {
            FreeLibrary(library);
            library = nullptr;
        }
        // A 64-bit program finds the 32-bit manager in the Windows folder
        // first and cannot load it; its own lies in the system folder.
        if (entry != nullptr)
            break;
    }
    if (entry == nullptr) {
        returnCode = TWRC_FAILURE;
        return false;
    }
    state = 2;
    return true;
}

void TwainManager::Start()
{
    LockHolder hold(&lock);
    if (started)
        return;
    CreateReadyEvent();
    ResetIdentities();
    SetStatus("no error");
    state = 1;
    started = true;
    returnCode = TWRC_SUCCESS;
    LoadSourceManager();
    if (state == 2 && Call(nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &parent) == TWRC_SUCCESS)
        state = 3;
    if (state == 3) {
        TW_UINT16 rc = Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &source);
        if (rc != TWRC_SUCCESS) {
            SetStatus("no twain devices");
        } else {
            while (rc == TWRC_SUCCESS) {
                sources.push_back(source);
                rc = Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, &source);
            }
            TW_IDENTITY chosen = {};
            if (Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &chosen) == TWRC_SUCCESS) {
                source = chosen;
                RecordName(source);
            } else if (!sources.empty()) {
                // A manager without a default source: the first one listed.
                source = sources.front();
                RecordName(source);
                returnCode = TWRC_SUCCESS;
            } else {
                SetStatus("unknown error");
            }
        }
    }
    ready = returnCode == TWRC_SUCCESS;
    SetEvent(readyEvent);
}

bool TwainManager::WaitForStart()
{
    CreateReadyEvent();
    WaitForSingleObject(readyEvent, INFINITE);
    return ready;
}

bool TwainManager::SelectSourceByIndex(int index)
{
    if (index < 0 || index >= SourceCount())
        return false;
    char name[sizeof(TW_STR32) + 1] = {};
    std::memcpy(name, sources[size_t(index)].ProductName, sizeof(TW_STR32));
    return SelectSourceByName(name);
}

bool TwainManager::SelectSourceByName(const char* name)
{
    if (state != 3)
        return false;
    TW_IDENTITY identity = {};
    Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &identity);
    if (Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &identity) != TWRC_SUCCESS) {
        SetStatus("no twain devices");
        DisableSource();
        return false;
    }
    TW_UINT16 rc = TWRC_SUCCESS;
    while (rc == TWRC_SUCCESS) {
        if (std::strncmp(identity.ProductName, name, sizeof identity.ProductName) == 0) {
            source = identity;
            RecordName(source);
            return true;
        }
        rc = Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, &identity);
    }
    TW_IDENTITY chosen = {};
    if (Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &chosen) != TWRC_SUCCESS)
        SetStatus("unknown error");
    else
        RecordName(identity);
    return false;
}

bool TwainManager::Acquire()
{
    if (state == 3 && Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &source) == TWRC_SUCCESS)
        state = 4;
    if (state == 4) {
        TW_USERINTERFACE face = {1, 1, parent};
        TW_UINT16 rc = Call(&source, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &face);
        if (rc == TWRC_SUCCESS || rc == TWRC_CHECKSTATUS) {
            returnCode = TWRC_SUCCESS;
            state = 5;
            sourceEnabled = true;
            if (parent != nullptr)
                EnableWindow(parent, FALSE);
        }
    } else if (state < 3) {
        returnCode = TWRC_FAILURE;
    }
    if (returnCode != TWRC_SUCCESS) {
        ReportError();
        DisableSource();
        return false;
    }
    return true;
}

bool TwainManager::ProcessEvent(MSG* message)
{
    if (!sourceEnabled)
        return false;
    TW_EVENT event = {message, MSG_NULL};
    TW_UINT16 rc = Call(&source, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
    if (event.TWMessage == MSG_XFERREADY)
        TransferImage();
    else if (event.TWMessage == MSG_CLOSEDSREQ)
        DisableSource();
    return rc == TWRC_DSEVENT;
}

void TwainManager::TransferImage()
{
    if (state < 5) {
        DisableSource();
        return;
    }
    TW_IMAGEINFO info = {};
    Call(&source, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info);
    HGLOBAL dib = nullptr;
    TW_UINT16 rc = Call(&source, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &dib);
    TW_PENDINGXFERS pending = {};
    if (rc == TWRC_XFERDONE || rc == TWRC_CANCEL || rc == TWRC_SUCCESS)
        Call(&source, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
    if (rc == TWRC_FAILURE || pending.Count != 0)
        Call(&source, DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
    DisableSource();
    returnCode = rc;
    if (rc == TWRC_XFERDONE && dib != nullptr && receiver != nullptr)
        receiver(info, dib, receiverContext);
    if (dib != nullptr)
        GlobalFree(dib);
    if (rc == TWRC_CANCEL)
        SetStatus("user canceled");
}

void TwainManager::DisableSource()
{
    if (state >= 5) {
        if (parent != nullptr && !IsWindowEnabled(parent))
            EnableWindow(parent, TRUE);
        TW_USERINTERFACE face = {1, 1, parent};
        Call(&source, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &face);
        state = 4;
    }
    if (state == 4) {
        Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source);
        state = 3;
    }
    sourceEnabled = false;
    RestorePriority();
}

void TwainManager::RestorePriority()
{
    if (stageThread != nullptr)
        SetThreadPriority(stageThread, THREAD_PRIORITY_NORMAL);
}

TW_UINT16 TwainManager::ReadConditionCode()
{
    TW_STATUS result = {};
    TW_UINT16 saved = returnCode;
    Call(state >= 4 ? &source : nullptr, DG_CONTROL, DAT_STATUS, MSG_GET, &result);
    returnCode = saved;
    return result.ConditionCode;
}

void TwainManager::ReportError()
{
    if (returnCode == TWRC_CANCEL) {
        SetStatus("user canceled");
        return;
    }
    if (state == 1) {
        SetStatus("no twain.dll");
    } else if (ReadConditionCode() == TWCC_NODS) {
        SetStatus("no twain devices");
    } else if (std::strcmp(status, "no twain devices") != 0) {
        SetStatus("unknown error");
    }
    gErrorBox(parent, status);
}

void TwainManager::Shutdown()
{
    LockHolder hold(&lock);
    if (!started)
        return;
    if (readyEvent != nullptr && WaitForSingleObject(readyEvent, 0) == WAIT_OBJECT_0 && ready)
        DisableSource();
    sources.clear();
    if (state == 3) {
        Call(nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent);
        state = 2;
    }
    if (state == 2 && library != nullptr) {
        FreeLibrary(library);
        library = nullptr;
    }
    entry = nullptr;
    state = 1;
    started = false;
    ready = false;
    if (readyEvent != nullptr)
        CloseHandle(readyEvent);
    readyEvent = nullptr;
}

bool TwainManager::HandleMessage(const MSG& message)
{
    if (message.message == InitializeMessage()) {
        Start();
    } else if (message.message == SelectDeviceMessage()) {
        SelectSourceByIndex(int(message.wParam));
    } else if (message.message == BringUpMessage()) {
        if (stageThread != nullptr)
            SetThreadPriority(stageThread, THREAD_PRIORITY_BELOW_NORMAL);
        Acquire();
    } else if (message.message == BitmapReadyMessage()) {
        if (notifier != nullptr)
            notifier(7, notifierContext);
    } else if (message.message == ShutDownMessage()) {
        RestorePriority();
        if (notifier != nullptr)
            notifier(10, notifierContext);
    } else {
        return false;
    }
    return true;
}

bool TwainManager::ChooseTwainSourceDialog(HWND owner, DWORD uiThread)
{
    dialogThread = uiThread;
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(501), owner,
                           &SourceDialogProc, reinterpret_cast<LPARAM>(this)) == IDOK;
}

INT_PTR CALLBACK TwainManager::SourceDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                                LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        auto* manager = reinterpret_cast<TwainManager*>(lParam);
        HWND list = GetDlgItem(dialog, kSourceList);
        for (int i = 0; i < manager->SourceCount(); ++i) {
            char name[sizeof(TW_STR32) + 1] = {};
            std::memcpy(name, manager->sources[size_t(i)].ProductName, sizeof(TW_STR32));
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
            if (std::strcmp(name, manager->currentName) == 0)
                SendMessageA(list, LB_SETCURSEL, WPARAM(i), 0);
        }
        return TRUE;
    }
    auto* manager = reinterpret_cast<TwainManager*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (manager == nullptr || message != WM_COMMAND)
        return FALSE;
    int id = LOWORD(wParam);
    bool chosen = id == IDOK || (id == kSourceList && HIWORD(wParam) == LBN_DBLCLK);
    if (chosen) {
        LRESULT selected = SendDlgItemMessageA(dialog, kSourceList, LB_GETCURSEL, 0, 0);
        if (selected != LB_ERR)
            PostThreadMessageA(manager->dialogThread, SelectDeviceMessage(), WPARAM(selected), 0);
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}
