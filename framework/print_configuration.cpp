#include "framework/print_configuration.h"

#include <commdlg.h>

#include <cstddef>
#include <cstring>

#include "framework/printer_calls.h"
#include "framework/window.h"

namespace {

// A name inside the block, or null when it does not end inside it.
const char* NameAt(const DEVNAMES* block, SIZE_T size, WORD offset)
{
    if (offset >= size)
        return nullptr;
    const char* name = reinterpret_cast<const char*>(block) + offset;
    return std::memchr(name, '\0', size - offset) != nullptr ? name : nullptr;
}

// The fields this file touches end before dmCollate; older drivers hand out
// shorter device modes than today's headers describe.
constexpr SIZE_T kShortestDeviceMode = offsetof(DEVMODEA, dmCollate);

// The locked device mode, unlocked again when this ends.
class LockedDeviceMode {
public:
    explicit LockedDeviceMode(HGLOBAL handle)
        : handle(handle),
          mode(handle != nullptr && GlobalSize(handle) >= kShortestDeviceMode
                   ? static_cast<DEVMODEA*>(GlobalLock(handle))
                   : nullptr)
    {
    }
    ~LockedDeviceMode()
    {
        if (mode != nullptr)
            GlobalUnlock(handle);
    }
    LockedDeviceMode(const LockedDeviceMode&) = delete;
    LockedDeviceMode& operator=(const LockedDeviceMode&) = delete;

    HGLOBAL handle;
    DEVMODEA* mode;
};

}  // namespace

AFDeviceNames::AFDeviceNames(HGLOBAL names)
    : handle(names), block(nullptr), device(nullptr), port(nullptr), driver(nullptr)
{
    if (handle == nullptr)
        return;
    SIZE_T size = GlobalSize(handle);
    auto* locked = static_cast<const DEVNAMES*>(GlobalLock(handle));
    if (locked == nullptr)
        return;
    if (size >= sizeof(DEVNAMES)) {
        device = NameAt(locked, size, locked->wDeviceOffset);
        port = NameAt(locked, size, locked->wOutputOffset);
        driver = NameAt(locked, size, locked->wDriverOffset);
    }
    if (device == nullptr || port == nullptr || driver == nullptr) {
        GlobalUnlock(handle);
        return;
    }
    block = locked;
}

AFDeviceNames::~AFDeviceNames()
{
    if (block != nullptr)
        GlobalUnlock(handle);
}

AFPrintConfiguration::AFPrintConfiguration()
    : deviceMode(nullptr), deviceNames(nullptr), ownerWindow(nullptr)
{
    LoadDefaultPrinter();
}

AFPrintConfiguration::~AFPrintConfiguration()
{
    FreeHandles();
}

void AFPrintConfiguration::FreeHandles()
{
    if (deviceMode != nullptr)
        GlobalFree(deviceMode);
    if (deviceNames != nullptr)
        GlobalFree(deviceNames);
    deviceMode = nullptr;
    deviceNames = nullptr;
}

void AFPrintConfiguration::LoadDefaultPrinter()
{
    FreeHandles();
    PRINTDLGA record = {};
    record.lStructSize = sizeof record;
    record.Flags = PD_RETURNDEFAULT;
    BOOL found = PrinterCalls().PrintDialog(&record);
    TakeHandles(record.hDevMode, record.hDevNames);
    if (!found || deviceMode == nullptr)
        FreeHandles();
}

bool AFPrintConfiguration::RunSetupDialog()
{
    if (ownerWindow == nullptr)
        return false;
    PRINTDLGA record = {};
    record.lStructSize = sizeof record;
    record.hwndOwner = ownerWindow->window;
    record.Flags = PD_PRINTSETUP;
    record.hDevMode = deviceMode;
    record.hDevNames = deviceNames;
    BOOL confirmed = PrinterCalls().PrintDialog(&record);
    TakeHandles(record.hDevMode, record.hDevNames);
    return confirmed != FALSE;
}

HWND AFPrintConfiguration::OwnerHandle() const
{
    return ownerWindow != nullptr ? ownerWindow->window : nullptr;
}

void AFPrintConfiguration::TakeHandles(HGLOBAL mode, HGLOBAL names)
{
    deviceMode = mode;
    deviceNames = names;
}

bool AFPrintConfiguration::SetLandscape(bool landscape)
{
    LockedDeviceMode locked(deviceMode);
    if (locked.mode == nullptr)
        return false;
    locked.mode->dmOrientation = landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    locked.mode->dmFields |= DM_ORIENTATION;
    return true;
}

bool AFPrintConfiguration::SetResolution(int32_t x, int32_t y)
{
    LockedDeviceMode locked(deviceMode);
    if (locked.mode == nullptr)
        return false;
    locked.mode->dmPrintQuality = static_cast<short>(x);
    locked.mode->dmYResolution = static_cast<short>(y);
    locked.mode->dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;
    return true;
}

int AFPrintConfiguration::ResolutionCount() const
{
    LockedDeviceMode locked(deviceMode);
    AFDeviceNames names(deviceNames);
    if (locked.mode == nullptr || !names.IsValid())
        return 0;
    int count = PrinterCalls().AskDeviceCapabilities(names.Device(), names.Port(),
                                                  DC_ENUMRESOLUTIONS, nullptr, locked.mode);
    return count < 0 || count > kMaxResolutions ? 0 : count;
}

bool AFPrintConfiguration::GetResolutions(int count, POINT* pairs) const
{
    LockedDeviceMode locked(deviceMode);
    AFDeviceNames names(deviceNames);
    if (locked.mode == nullptr || !names.IsValid() || count < 0)
        return false;
    AFPrinterCalls& calls = PrinterCalls();
    int held = calls.AskDeviceCapabilities(names.Device(), names.Port(), DC_ENUMRESOLUTIONS,
                                        nullptr, locked.mode);
    if (held < 0 || held > kMaxResolutions || count > held)
        return false;
    LONG buffer[kMaxResolutions][2] = {};
    int given = calls.AskDeviceCapabilities(names.Device(), names.Port(), DC_ENUMRESOLUTIONS,
                                         reinterpret_cast<char*>(buffer), locked.mode);
    if (given < 0 || given > kMaxResolutions || count > given)
        return false;
    for (int i = 0; i < given; ++i) {
        if (buffer[i][0] < 1 || buffer[i][0] > kMaxResolution || buffer[i][1] < 1 ||
            buffer[i][1] > kMaxResolution)
            return false;
    }
    for (int i = 0; i < count; ++i)
        pairs[i] = {buffer[i][0], buffer[i][1]};
    return true;
}

bool AFPrintConfiguration::UseBestSquareResolution()
{
    int count = ResolutionCount();
    POINT pairs[kMaxResolutions];
    if (count == 0 || !GetResolutions(count, pairs))
        return false;
    LONG best = 0;
    for (int i = 0; i < count; ++i) {
        if (pairs[i].x == pairs[i].y && pairs[i].x > best)
            best = pairs[i].x;
    }
    // Without a square resolution the driver's own choice stays.
    if (best == 0)
        return false;
    return SetResolution(best, best);
}

HDC AFPrintConfiguration::CreateDeviceContext() const
{
    LockedDeviceMode locked(deviceMode);
    AFDeviceNames names(deviceNames);
    if (locked.mode == nullptr || !names.IsValid())
        return nullptr;
    return CreateDCA(names.Driver(), names.Device(), names.Port(), locked.mode);
}
