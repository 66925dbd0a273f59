#include <windows.h>

#include "services/vwin32.h"

int Vwin32Call(DWORD controlCode, Vwin32Registers* packet)
{
    HANDLE device = CreateFileA("\\\\.\\vwin32", 0, 0, nullptr, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (device == INVALID_HANDLE_VALUE) return 0;
    DWORD returned = 0;
    const BOOL ok = DeviceIoControl(device, controlCode, packet, sizeof *packet, packet, sizeof *packet, &returned,
                                    nullptr);
    CloseHandle(device);
    return ok && !(packet->flags & 1);
}
