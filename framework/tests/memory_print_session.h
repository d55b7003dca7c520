#pragma once
// A print session whose "printer" is a 32-bit DIB section in memory, so
// tests can read back what printables drew, pixel by pixel.
#include <windows.h>

#include <cstdint>

#include "fake_printer_calls.h"
#include "framework/print_configuration.h"
#include "framework/print_session.h"

// A configuration without a printer, whatever the machine has.
class NoPrinterConfiguration {
public:
    NoPrinterConfiguration()
    {
        FakePrinterCalls calls;
        calls.answer = [](PRINTDLGA*) { return FALSE; };
        held = new AFPrintConfiguration;
    }
    ~NoPrinterConfiguration() { delete held; }
    AFPrintConfiguration* held;
};

// The configuration comes first: the session's base is built from it.
class MemoryPrintSession : private NoPrinterConfiguration, public AFPrintSessionFromList {
public:
    MemoryPrintSession(int width, int height, const MMColorTable& colors = MMColorTable())
        : AFPrintSessionFromList(*held, colors), width(width), height(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        printerDC = CreateCompatibleDC(nullptr);
        section = CreateDIBSection(printerDC, &info, DIB_RGB_COLORS,
                                   reinterpret_cast<void**>(&bits), nullptr, 0);
        previous = SelectObject(printerDC, section);
        PatBlt(printerDC, 0, 0, width, height, WHITENESS);
    }
    ~MemoryPrintSession() override
    {
        SelectObject(printerDC, previous);
        DeleteObject(section);
    }

    bool CollectPrintables(int, UUList<AFPrintable*>&) override { return true; }

    // 0xRRGGBB of a pixel.
    uint32_t Pixel(int x, int y) const
    {
        GdiFlush();
        return bits[y * width + x] & 0xFFFFFF;
    }

    int width;
    int height;
    HBITMAP section = nullptr;
    HGDIOBJ previous = nullptr;
    uint32_t* bits = nullptr;
};
