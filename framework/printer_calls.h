#pragma once
// The two printer calls whose answers come from the user or the driver: the
// common print dialog and the driver's capabilities. Tests put their own
// answers in place of the system's here.
#include <windows.h>
#include <commdlg.h>

class AFPrinterCalls {
public:
    virtual ~AFPrinterCalls() = default;
    virtual BOOL PrintDialog(PRINTDLGA* record);
    virtual int AskDeviceCapabilities(const char* device, const char* port, WORD capability,
                                   char* output, const DEVMODEA* mode);
};

// The calls in use: the system's unless replaced.
AFPrinterCalls& PrinterCalls();
// Puts `calls` in place (null: the system's again); returns the previous one.
AFPrinterCalls* SetPrinterCalls(AFPrinterCalls* calls);
