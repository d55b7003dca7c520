#pragma once
// One print job on the printer of a print configuration: the print dialog,
// the status dialog with its cancel button, the abort procedure that keeps
// the thread's messages flowing while the spooler works, and the loop over
// copies and pages. Derived sessions supply the pages.
#include <cstdint>
#include <windows.h>
#include <commdlg.h>

#include "framework/color_table.h"
#include "framework/geometry.h"
#include "framework/uu_list.h"

class AFPrintConfiguration;
class AFPrintable;

class AFPrintSession {
public:
    // Results of Print and PrintDocument.
    enum Result {
        kPrinted = 0,
        kDialogCancelled = 1,  // only Print
        kUserCancelled = 2,
        kJobFailed = 3,        // status dialog, StartDoc, StartPage, EndPage or EndDoc
        kPageFailed = 5,
    };
    static constexpr uint16_t kStatusDialog = 500;
    static constexpr uint16_t kStatusDialogAlternative = 550;
    static constexpr int kStatusTitleItem = 100;
    static constexpr int kStatusDocumentItem = 101;

    // The colour table is copied; with a printer in the configuration the
    // session makes its device context at once.
    AFPrintSession(AFPrintConfiguration& configuration, const MMColorTable& colors);
    virtual ~AFPrintSession();
    AFPrintSession(const AFPrintSession&) = delete;
    AFPrintSession& operator=(const AFPrintSession&) = delete;

    virtual int Print(const char* documentName);                   // 1
    virtual bool ShowPrintDialog();                                // 2
    virtual void PreparePrintDialog(PRINTDLGA& record);            // 3
    virtual int PageCount();                                       // 4
    virtual int CopyCount();                                       // 5
    virtual bool PrintPage(int page) = 0;                          // 6
    virtual bool OpenStatusDialog(const char* text);               // 7
    virtual void StatusShown(bool shown);                          // 8
    virtual void CloseStatusDialog();                              // 9
    virtual LPCSTR StatusDialogTemplate(HWND owner);               // 10
    // The abort procedure's body; false once the user cancelled.
    virtual bool PumpMessages();                                   // 11
    virtual INT_PTR StatusDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                     LPARAM lParam);               // 12

    // Runs the job without the print dialog; one of Result.
    int PrintDocument(const char* documentName);

    Pair PageSizeMillimetres() const;
    bool IsPortrait() const;
    Pair PixelsPerInch() const;
    Pair PageSizePixels() const;
    bool HasDeviceContext() const { return printerDC != nullptr; }
    HDC DeviceContext() const { return printerDC; }
    const MMColorTable& ColorTable() const { return colors; }
    AFPrintConfiguration& Configuration() const { return *configuration; }
    bool IsCancelled() const { return cancelled; }
    HWND StatusDialog() const { return statusDialog; }

    // The largest box with the proportions of `content`, centred in `page`.
    static Box FitBox(const Box& content, const Box& page);
    // The session whose document is open, or null.
    static AFPrintSession* Printing();

protected:
    AFPrintConfiguration* configuration;
    MMColorTable colors;
    HDC printerDC;
    HWND statusDialog;
    bool cancelled;

private:
    int RunDocument(const char* documentName);
    static BOOL CALLBACK AbortProc(HDC dc, int error);
    static INT_PTR CALLBACK StatusProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
};

// A session whose pages are lists of printables.
class AFPrintSessionFromList : public AFPrintSession {
public:
    using AFPrintSession::AFPrintSession;

    // Prints what CollectPrintables made for the page, in order, then
    // deletes it all; the page fails when collecting or any printable fails.
    bool PrintPage(int page) override;
    // Appends newly made printables for the page; false on failure.
    virtual bool CollectPrintables(int page, UUList<AFPrintable*>& list) = 0;  // 13
};
