#pragma once
#include <cstdint>
#include <windows.h>
#include <commdlg.h>

class AFWindow;

// The chosen printer between print jobs: its device mode and device names
// as the print dialogs hand them out (global memory handles, owned).
class AFPrintConfiguration {
public:
    // The most resolutions a driver may report.
    static constexpr int kMaxResolutions = 100;
    // Resolutions beyond this (or below 1) are a driver's garbage.
    static constexpr int32_t kMaxResolution = 30000;

    // Holds the default printer when there is one.
    AFPrintConfiguration();
    virtual ~AFPrintConfiguration();
    AFPrintConfiguration(const AFPrintConfiguration&) = delete;
    AFPrintConfiguration& operator=(const AFPrintConfiguration&) = delete;

    // The printer set-up dialog; false without an owner window or when the
    // user cancelled. The handles it hands back are kept either way.
    virtual bool RunSetupDialog();                                  // 0

    void LoadDefaultPrinter();
    bool HasPrinter() const { return deviceMode != nullptr; }

    // Each does nothing and answers false (or 0) without a device mode.
    bool SetLandscape(bool landscape);
    bool SetResolution(int32_t x, int32_t y);
    int ResolutionCount() const;
    // Copies `count` (x, y) pairs; false when the driver holds fewer, more
    // than kMaxResolutions, or a value out of range.
    bool GetResolutions(int count, POINT* pairs) const;
    // Sets the largest resolution whose x equals its y.
    bool UseBestSquareResolution();

    // A device context on the printer, or null.
    HDC CreateDeviceContext() const;

    AFWindow* OwnerWindow() const { return ownerWindow; }
    void SetOwnerWindow(AFWindow* window) { ownerWindow = window; }
    HWND OwnerHandle() const;

    HGLOBAL DeviceMode() const { return deviceMode; }
    HGLOBAL DeviceNames() const { return deviceNames; }
    // Takes the handles a print dialog handed back, in place of the held ones
    // (the dialog has freed or reused those).
    void TakeHandles(HGLOBAL mode, HGLOBAL names);

private:
    void FreeHandles();

    HGLOBAL deviceMode;
    HGLOBAL deviceNames;
    AFWindow* ownerWindow;
};

// The device, port and driver names of a DEVNAMES block, locked while alive.
class AFDeviceNames {
public:
    explicit AFDeviceNames(HGLOBAL handle);
    ~AFDeviceNames();
    AFDeviceNames(const AFDeviceNames&) = delete;
    AFDeviceNames& operator=(const AFDeviceNames&) = delete;

    bool IsValid() const { return block != nullptr; }
    const char* Device() const { return device; }
    const char* Port() const { return port; }
    const char* Driver() const { return driver; }

private:
    HGLOBAL handle;
    const DEVNAMES* block;
    const char* device;
    const char* port;
    const char* driver;
};
