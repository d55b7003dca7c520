// A TWAIN data source for the tests: it lists as "Pennaro Test Source",
// opens, enables, tells the application a transfer is ready through a
// message to the parent window, and hands over an 8 x 4 32-bit DIB whose
// pixel (x, y) is (x * 30, y * 60, 200) as red, green, blue. With
// PENNARO_TEST_SOURCE=cancel the transfer is cancelled instead.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "gallery/twain_types.h"

namespace {

HWND gParent = nullptr;
bool gEnabled = false;
bool gPending = false;

UINT ReadyMessage()
{
    static const UINT message = RegisterWindowMessageA("PennaroTestSourceReady");
    return message;
}

bool Cancelling()
{
    char mode[32] = {};
    return GetEnvironmentVariableA("PENNARO_TEST_SOURCE", mode, sizeof mode) > 0 &&
           std::strcmp(mode, "cancel") == 0;
}

void Identify(TW_IDENTITY* identity)
{
    TW_UINT32 id = identity->Id;
    std::memset(identity, 0, sizeof *identity);
    identity->Id = id;
    identity->Version.MajorNum = 1;
    identity->Version.Language = TWLG_ENGLISH_USA;
    identity->Version.Country = TWCY_USA;
    std::strcpy(identity->Version.Info, "1.0");
    identity->ProtocolMajor = 1;
    identity->ProtocolMinor = 9;
    identity->SupportedGroups = DG_SUPPORTED;
    std::strcpy(identity->Manufacturer, "Pennaro");
    std::strcpy(identity->ProductFamily, "Tests");
    std::strcpy(identity->ProductName, "Pennaro Test Source");
}

HGLOBAL MakeDib()
{
    const int width = 8, height = 4;
    HGLOBAL handle = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + width * height * 4);
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(handle));
    header->biSize = sizeof *header;
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = 32;
    auto* rows = reinterpret_cast<uint32_t*>(header + 1);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rows[(height - 1 - y) * width + x] = uint32_t(x * 30) << 16 | uint32_t(y * 60) << 8 | 200;
    GlobalUnlock(handle);
    return handle;
}

TW_UINT16 Control(TW_UINT16 data, TW_UINT16 message, TW_MEMREF pointer)
{
    switch (data) {
    case DAT_IDENTITY:
        if (message == MSG_GET)
            Identify(static_cast<TW_IDENTITY*>(pointer));
        return TWRC_SUCCESS;
    case DAT_USERINTERFACE:
        if (message == MSG_ENABLEDS) {
            gParent = static_cast<HWND>(static_cast<TW_USERINTERFACE*>(pointer)->hParent);
            gEnabled = true;
            gPending = true;
            PostMessageA(gParent, ReadyMessage(), 0, 0);
        } else if (message == MSG_DISABLEDS) {
            gEnabled = false;
        }
        return TWRC_SUCCESS;
    case DAT_EVENT: {
        auto* event = static_cast<TW_EVENT*>(pointer);
        event->TWMessage = MSG_NULL;
        const MSG* m = static_cast<const MSG*>(event->pEvent);
        if (gEnabled && m != nullptr && m->message == ReadyMessage()) {
            event->TWMessage = MSG_XFERREADY;
            return TWRC_DSEVENT;
        }
        return TWRC_NOTDSEVENT;
    }
    case DAT_PENDINGXFERS:
        static_cast<TW_PENDINGXFERS*>(pointer)->Count = 0;
        gPending = false;
        return TWRC_SUCCESS;
    case DAT_STATUS:
        static_cast<TW_STATUS*>(pointer)->ConditionCode = TWCC_SUCCESS;
        return TWRC_SUCCESS;
    default:
        return TWRC_FAILURE;
    }
}

TW_UINT16 Image(TW_UINT16 data, TW_MEMREF pointer)
{
    if (data == DAT_IMAGEINFO) {
        auto* info = static_cast<TW_IMAGEINFO*>(pointer);
        std::memset(info, 0, sizeof *info);
        info->XResolution.Whole = info->YResolution.Whole = 72;
        info->ImageWidth = 8;
        info->ImageLength = 4;
        info->SamplesPerPixel = 3;
        info->BitsPerPixel = 32;
        info->PixelType = 2;
        return TWRC_SUCCESS;
    }
    if (data == DAT_IMAGENATIVEXFER) {
        if (Cancelling())
            return TWRC_CANCEL;
        *static_cast<HGLOBAL*>(pointer) = MakeDib();
        return TWRC_XFERDONE;
    }
    return TWRC_FAILURE;
}

}  // namespace

extern "C" __declspec(dllexport) TW_UINT16 WINAPI DS_Entry(TW_IDENTITY*, TW_UINT32 group,
                                                           TW_UINT16 data, TW_UINT16 message,
                                                           TW_MEMREF pointer)
{
    if (group == DG_CONTROL)
        return Control(data, message, pointer);
    if (group == DG_IMAGE)
        return Image(data, pointer);
    return TWRC_FAILURE;
}
