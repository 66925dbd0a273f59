#include <windows.h>

#include "equipment/spooler.h"

#include "services/alloc.h"

using EnumPrintersFn = BOOL(WINAPI*)(DWORD, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD);
using EnumPortsFn = BOOL(WINAPI*)(LPSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD);

static void* SpoolerEntry(const char* name)
{
    static HMODULE spooler = LoadLibraryA("winspool.drv");
    return spooler ? reinterpret_cast<void*>(GetProcAddress(spooler, name)) : nullptr;
}

PRINTER_INFO_2A* EnumPrintersCached(DWORD* count)
{
    static bool enumerated = false;
    static PRINTER_INFO_2A* printers = nullptr;
    static DWORD printerCount = 0;
    if (!enumerated) {
        enumerated = true;
        auto enumPrinters = reinterpret_cast<EnumPrintersFn>(SpoolerEntry("EnumPrintersA"));
        BYTE probe[84];
        DWORD needed = 0, returned = 0;
        if (enumPrinters) enumPrinters(PRINTER_ENUM_LOCAL, nullptr, 2, probe, sizeof probe, &needed, &returned);
        if (needed > 0) {
            printers = static_cast<PRINTER_INFO_2A*>(AllocChecked(GPTR, needed));
            // A printer added between the two calls makes the second one fail: then none.
            if (enumPrinters(PRINTER_ENUM_LOCAL, nullptr, 2, reinterpret_cast<BYTE*>(printers), needed, &needed,
                             &returned))
                printerCount = returned;
        }
    }
    *count = printerCount;
    return printers;
}

void ForEachPortName(void (*visit)(const char* name, void* argument), void* argument)
{
    auto enumPorts = reinterpret_cast<EnumPortsFn>(SpoolerEntry("EnumPortsA"));
    if (!enumPorts) return;
    DWORD needed = 0, returned = 0;
    enumPorts(nullptr, 1, nullptr, 0, &needed, &returned);
    if (needed == 0) return;
    BYTE* block = static_cast<BYTE*>(AllocChecked(GPTR, needed));
    if (enumPorts(nullptr, 1, block, needed, &needed, &returned)) {
        const PORT_INFO_1A* ports = reinterpret_cast<const PORT_INFO_1A*>(block);
        for (DWORD i = 0; i < returned; ++i)
            if (ports[i].pName) visit(ports[i].pName, argument);
    }
    GlobalFree(block);
}
