#pragma once
// Stands in for the user at the print dialogs and for drivers this machine
// does not have; whatever it is not told to fake goes to the system.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "framework/printer_calls.h"

class FakePrinterCalls : public AFPrinterCalls {
public:
    FakePrinterCalls() : previous(SetPrinterCalls(this)) {}
    ~FakePrinterCalls() override { SetPrinterCalls(previous); }

    BOOL PrintDialog(PRINTDLGA* record) override
    {
        dialogs.push_back(*record);
        return answer ? answer(record) : AFPrinterCalls::PrintDialog(record);
    }

    int AskDeviceCapabilities(const char* device, const char* port, WORD capability, char* output,
                           const DEVMODEA* mode) override
    {
        if (!fakeResolutions || capability != DC_ENUMRESOLUTIONS)
            return AFPrinterCalls::AskDeviceCapabilities(device, port, capability, output, mode);
        if (output == nullptr)
            return countAnswer >= 0 ? countAnswer : static_cast<int>(resolutions.size());
        int n = static_cast<int>(resolutions.size());
        std::memcpy(output, resolutions.data(), n * sizeof(LONG[2]));
        return n;
    }

    // The user's answer to the next dialogs (none: the system's dialog).
    std::function<BOOL(PRINTDLGA*)> answer;
    std::vector<PRINTDLGA> dialogs;
    // A driver that reports these (x, y) pairs, and this count when >= 0.
    bool fakeResolutions = false;
    std::vector<std::array<LONG, 2>> resolutions;
    int countAnswer = -1;

private:
    AFPrinterCalls* previous;
};

// A DEVNAMES block of these names, as a print dialog hands it out.
inline HGLOBAL MakeDeviceNames(const char* driver, const char* device, const char* port)
{
    std::string bytes(sizeof(DEVNAMES), '\0');
    auto add = [&bytes](const char* name) {
        WORD offset = static_cast<WORD>(bytes.size());
        bytes.append(name);
        bytes.push_back('\0');
        return offset;
    };
    DEVNAMES header = {};
    header.wDriverOffset = add(driver);
    header.wDeviceOffset = add(device);
    header.wOutputOffset = add(port);
    std::memcpy(&bytes[0], &header, sizeof header);
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(handle), bytes.data(), bytes.size());
    GlobalUnlock(handle);
    return handle;
}

// A copy of a global block.
inline HGLOBAL CopyGlobal(HGLOBAL handle)
{
    SIZE_T size = GlobalSize(handle);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(copy), GlobalLock(handle), size);
    GlobalUnlock(copy);
    GlobalUnlock(handle);
    return copy;
}
