// The local printers and ports as the print spooler lists them. The spooler library is
// loaded on first use, so a system without it simply lists nothing.
#pragma once
#include <windows.h>
#include <winspool.h>

// The local printers (level 2 records), enumerated on the first call of the process and
// kept: every later call returns the same block and count, so printers added later are
// not seen. Null with a count of 0 when there are none.
PRINTER_INFO_2A* EnumPrintersCached(DWORD* count);

// Calls visit with the name of each port the spooler lists (level 1).
void ForEachPortName(void (*visit)(const char* name, void* argument), void* argument);
