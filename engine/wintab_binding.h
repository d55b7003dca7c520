#pragma once
// The tablet library, bound by name at engine start-up. While it is not
// bound, every entry is a stub that answers 0.
#include <windows.h>
#include <cstdint>

typedef HANDLE MMTabletContext;

// WinTab's logical context record (the ANSI form).
struct MMWinTabLogContext {
    char lcName[40];
    UINT lcOptions, lcStatus, lcLocks, lcMsgBase, lcDevice, lcPktRate;
    DWORD lcPktData, lcPktMode, lcMoveMask, lcBtnDnMask, lcBtnUpMask;
    LONG lcInOrgX, lcInOrgY, lcInOrgZ, lcInExtX, lcInExtY, lcInExtZ;
    LONG lcOutOrgX, lcOutOrgY, lcOutOrgZ, lcOutExtX, lcOutExtY, lcOutExtZ;
    DWORD lcSensX, lcSensY, lcSensZ;
    BOOL lcSysMode;
    int lcSysOrgX, lcSysOrgY, lcSysExtX, lcSysExtY;
    DWORD lcSysSensX, lcSysSensY;
};

struct MMWinTabAxis {
    LONG axMin, axMax;
    UINT axUnits;
    DWORD axResolution;
};

// The packet the stage control asks for: status, cursor, x, y, normal pressure.
struct MMTabletPacket {
    int32_t status, cursor, x, y, pressure;
};

enum : UINT {
    kWtiInterface = 1, kIfcNDevices = 4,
    kWtiDefSysCtx = 4,
    kWtiDevices = 100, kDvcNPressure = 15,
    kWtiCursors = 200, kCsrNPBtnMarks = 10,
    kCxoMessages = 0x4,
    kTabletPacketData = 0x5A2,  // status, cursor, x, y, normal pressure
    kWtPacket = 0x7FF0,
};

struct MMWinTabEntries {
    UINT(WINAPI* info)(UINT category, UINT index, LPVOID output);
    MMTabletContext(WINAPI* open)(HWND window, MMWinTabLogContext* context, BOOL enable);
    BOOL(WINAPI* close)(MMTabletContext context);
    BOOL(WINAPI* packet)(MMTabletContext context, UINT serial, LPVOID packet);
    BOOL(WINAPI* enable)(MMTabletContext context, BOOL enable);
    BOOL(WINAPI* overlap)(MMTabletContext context, BOOL toTop);
    BOOL(WINAPI* queueSizeSet)(MMTabletContext context, int size);
};

// The seven entry points, by ordinal: 20, 21, 22, 24, 40, 41, 85.
MMWinTabEntries& WinTab();
// The table of stubs that stand in while no library is bound.
const MMWinTabEntries& WinTabStubs();

bool BindTabletLibrary();
void UnbindTabletLibrary();
bool IsTabletLibraryBound();

// For tests: pretend a library is bound with the given entries (or unbind
// the pretence with null).
void SetTabletEntriesForTesting(const MMWinTabEntries* entries);
