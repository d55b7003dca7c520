#include "framework/printer_calls.h"

#include <winspool.h>

namespace {

AFPrinterCalls gSystemCalls;
AFPrinterCalls* gCalls = &gSystemCalls;

}  // namespace

BOOL AFPrinterCalls::PrintDialog(PRINTDLGA* record)
{
    return PrintDlgA(record);
}

int AFPrinterCalls::AskDeviceCapabilities(const char* device, const char* port, WORD capability,
                                       char* output, const DEVMODEA* mode)
{
    return ::DeviceCapabilitiesA(device, port, capability, output, mode);
}

AFPrinterCalls& PrinterCalls()
{
    return *gCalls;
}

AFPrinterCalls* SetPrinterCalls(AFPrinterCalls* calls)
{
    AFPrinterCalls* previous = gCalls == &gSystemCalls ? nullptr : gCalls;
    gCalls = calls != nullptr ? calls : &gSystemCalls;
    return previous;
}
