#include "framework/print_session.h"

#include <cstdint>

#include "framework/print_configuration.h"
#include "framework/printable.h"
#include "framework/printer_calls.h"

#if !defined(_WIN64)
static_assert(sizeof(PRINTDLGA) == 66, "the print dialog's record is packed");
static_assert(sizeof(DOCINFOA) == 20, "the document record of the 32-bit system");
#endif

namespace {

// One job at a time: the abort procedure and the status dialog reach the
// printing session through this.
AFPrintSession* gPrinting = nullptr;

}  // namespace

AFPrintSession::AFPrintSession(AFPrintConfiguration& configuration, const MMColorTable& colors)
    : configuration(&configuration), colors(colors), printerDC(nullptr), statusDialog(nullptr),
      cancelled(false)
{
    if (configuration.HasPrinter())
        printerDC = configuration.CreateDeviceContext();
}

AFPrintSession::~AFPrintSession()
{
    if (printerDC != nullptr)
        DeleteDC(printerDC);
}

AFPrintSession* AFPrintSession::Printing()
{
    return gPrinting;
}

int AFPrintSession::Print(const char* documentName)
{
    if (!ShowPrintDialog())
        return kDialogCancelled;
    return PrintDocument(documentName);
}

bool AFPrintSession::ShowPrintDialog()
{
    if (configuration->OwnerWindow() == nullptr)
        return false;
    PRINTDLGA record = {};
    record.lStructSize = sizeof record;
    record.hwndOwner = configuration->OwnerHandle();
    record.hDevMode = configuration->DeviceMode();
    record.hDevNames = configuration->DeviceNames();
    PreparePrintDialog(record);
    bool confirmed = PrinterCalls().PrintDialog(&record) != FALSE;
    configuration->TakeHandles(record.hDevMode, record.hDevNames);
    if (confirmed) {
        if (printerDC != nullptr)
            DeleteDC(printerDC);
        printerDC = configuration->CreateDeviceContext();
    }
    return confirmed;
}

void AFPrintSession::PreparePrintDialog(PRINTDLGA& record)
{
    record.Flags = PD_HIDEPRINTTOFILE | PD_NOPAGENUMS | PD_NOSELECTION;
}

int AFPrintSession::PageCount()
{
    return 1;
}

int AFPrintSession::CopyCount()
{
    return 1;
}

bool AFPrintSession::OpenStatusDialog(const char* text)
{
    HWND owner = configuration->OwnerHandle();
    statusDialog = CreateDialogParamA(GetModuleHandleA(nullptr), StatusDialogTemplate(owner),
                                      owner, &StatusProc, 0);
    if (statusDialog == nullptr)
        return false;
    SendDlgItemMessageA(statusDialog, kStatusDocumentItem, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(text));
    StatusShown(true);
    return true;
}

void AFPrintSession::StatusShown(bool) {}

void AFPrintSession::CloseStatusDialog()
{
    if (statusDialog != nullptr)
        DestroyWindow(statusDialog);
    statusDialog = nullptr;
}

LPCSTR AFPrintSession::StatusDialogTemplate(HWND)
{
    HMODULE program = GetModuleHandleA(nullptr);
    if (FindResourceA(program, MAKEINTRESOURCEA(kStatusDialogAlternative), RT_DIALOG) != nullptr)
        return MAKEINTRESOURCEA(kStatusDialogAlternative);
    return MAKEINTRESOURCEA(kStatusDialog);
}

bool AFPrintSession::PumpMessages()
{
    MSG message;
    while (!cancelled && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Not ours to take: leave it for the thread's own loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (statusDialog != nullptr && IsDialogMessageA(statusDialog, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return !cancelled;
}

INT_PTR AFPrintSession::StatusDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    if (message != WM_COMMAND)
        return 0;
    cancelled = true;
    return 1;
}

int AFPrintSession::PrintDocument(const char* documentName)
{
    if (gPrinting != nullptr)
        return kJobFailed;
    const char* name = documentName != nullptr ? documentName : "";
    gPrinting = this;
    cancelled = false;
    int result = kJobFailed;
    if (OpenStatusDialog(name)) {
        result = RunDocument(name);
        CloseStatusDialog();
    }
    gPrinting = nullptr;
    return cancelled ? kUserCancelled : result;
}

int AFPrintSession::RunDocument(const char* name)
{
    SetAbortProc(printerDC, &AbortProc);
    DOCINFOA document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = name;
    if (StartDocA(printerDC, &document) <= 0) {
        SetAbortProc(printerDC, nullptr);
        return kJobFailed;
    }
    int copies = CopyCount();
    int pages = PageCount();
    for (int copy = 0; copy < copies; ++copy) {
        for (int page = 0; page < pages; ++page) {
            if (StartPage(printerDC) <= 0) {
                EndDoc(printerDC);
                return kJobFailed;
            }
            if (!PrintPage(page)) {
                AbortDoc(printerDC);
                SetAbortProc(printerDC, nullptr);
                return kPageFailed;
            }
            if (EndPage(printerDC) <= 0) {
                EndDoc(printerDC);
                return kJobFailed;
            }
            if (cancelled) {
                AbortDoc(printerDC);
                SetAbortProc(printerDC, nullptr);
                return kUserCancelled;
            }
        }
    }
    if (EndDoc(printerDC) <= 0)
        return kJobFailed;
    SetAbortProc(printerDC, nullptr);
    return kPrinted;
}

BOOL CALLBACK AFPrintSession::AbortProc(HDC, int)
{
    return gPrinting == nullptr || gPrinting->PumpMessages();
}

INT_PTR CALLBACK AFPrintSession::StatusProc(HWND dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam)
{
    if (gPrinting == nullptr)
        return FALSE;
    return gPrinting->StatusDialogProc(dialog, message, wParam, lParam);
}

Pair AFPrintSession::PageSizeMillimetres() const
{
    return {GetDeviceCaps(printerDC, HORZSIZE), GetDeviceCaps(printerDC, VERTSIZE)};
}

bool AFPrintSession::IsPortrait() const
{
    Pair size = PageSizeMillimetres();
    return size.x < size.y;
}

Pair AFPrintSession::PixelsPerInch() const
{
    return {GetDeviceCaps(printerDC, LOGPIXELSX), GetDeviceCaps(printerDC, LOGPIXELSY)};
}

Pair AFPrintSession::PageSizePixels() const
{
    return {GetDeviceCaps(printerDC, HORZRES), GetDeviceCaps(printerDC, VERTRES)};
}

Box AFPrintSession::FitBox(const Box& content, const Box& page)
{
    int32_t cw = content.Width();
    int32_t ch = content.Height();
    int32_t pw = page.Width();
    int32_t ph = page.Height();
    if (static_cast<int64_t>(cw) * ph < static_cast<int64_t>(pw) * ch) {
        int32_t w = MulDiv(cw, ph, ch);
        int32_t x = page.left + (pw - w) / 2;
        return {x, page.top, x + w, page.bottom};
    }
    int32_t h = MulDiv(ch, pw, cw);
    int32_t y = page.top + (ph - h) / 2;
    return {page.left, y, page.right, y + h};
}

bool AFPrintSessionFromList::PrintPage(int page)
{
    UUList<AFPrintable*> printables;
    bool printed = CollectPrintables(page, printables);
    if (printed) {
        for (UUUntypedListNode* node = printables.First(); node != printables.End();
             node = node->next) {
            if (!UUList<AFPrintable*>::ItemOf(node)->PrintOn(*this))
                printed = false;
        }
    }
    for (UUUntypedListNode* node = printables.First(); node != printables.End(); node = node->next)
        delete UUList<AFPrintable*>::ItemOf(node);
    printables.DeleteAll();
    return printed;
}
