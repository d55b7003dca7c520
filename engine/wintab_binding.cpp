#include "engine/wintab_binding.h"

namespace {

UINT WINAPI StubInfo(UINT, UINT, LPVOID) { return 0; }
MMTabletContext WINAPI StubOpen(HWND, MMWinTabLogContext*, BOOL) { return nullptr; }
BOOL WINAPI StubClose(MMTabletContext) { return 0; }
BOOL WINAPI StubPacket(MMTabletContext, UINT, LPVOID) { return 0; }
BOOL WINAPI StubEnable(MMTabletContext, BOOL) { return 0; }
BOOL WINAPI StubOverlap(MMTabletContext, BOOL) { return 0; }
BOOL WINAPI StubQueueSizeSet(MMTabletContext, int) { return 0; }

const MMWinTabEntries kStubs = {StubInfo, StubOpen, StubClose, StubPacket,
                                StubEnable, StubOverlap, StubQueueSizeSet};

MMWinTabEntries gEntries = kStubs;
HMODULE gLibrary = nullptr;
bool gTestBinding = false;

// A missing ordinal keeps its stub, so a partial library can never be
// called through a null pointer.
template <typename F>
void BindEntry(F& entry, WORD ordinal)
{
    FARPROC address = GetProcAddress(gLibrary, MAKEINTRESOURCEA(ordinal));
    if (address)
        entry = reinterpret_cast<F>(reinterpret_cast<void*>(address));
}

}  // namespace

MMWinTabEntries& WinTab() { return gEntries; }
const MMWinTabEntries& WinTabStubs() { return kStubs; }

bool BindTabletLibrary()
{
    if (gLibrary)
        return true;
    gLibrary = LoadLibraryA("WINTAB32.DLL");
    if (!gLibrary)
        return false;
    BindEntry(gEntries.info, 20);
    BindEntry(gEntries.open, 21);
    BindEntry(gEntries.close, 22);
    BindEntry(gEntries.packet, 24);
    BindEntry(gEntries.enable, 40);
    BindEntry(gEntries.overlap, 41);
    BindEntry(gEntries.queueSizeSet, 85);
    return true;
}

void UnbindTabletLibrary()
{
    if (gLibrary) {
        FreeLibrary(gLibrary);
        gLibrary = nullptr;
    }
    gEntries = kStubs;
}

bool IsTabletLibraryBound() { return gLibrary != nullptr || gTestBinding; }

void SetTabletEntriesForTesting(const MMWinTabEntries* entries)
{
    gTestBinding = entries != nullptr;
    gEntries = entries ? *entries : kStubs;
}
