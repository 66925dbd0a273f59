#include <windows.h>

#include "services/vwin32.h"

#include "platform/vwin32_substitute.h"

int Vwin32Call(DWORD controlCode, Vwin32Registers* packet)
{
    HANDLE device = CreateFileA("\\\\.\\vwin32", 0, 0, nullptr, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    // Only Windows 95 has the device; elsewhere the substitute answers from the system.
    if (device == INVALID_HANDLE_VALUE) return Vwin32Substitute(controlCode, packet);
    DWORD returned = 0;
    const BOOL ok = DeviceIoControl(device, controlCode, packet, sizeof *packet, packet, sizeof *packet, &returned,
                                    nullptr);
    CloseHandle(device);
    return ok && !(packet->flags & 1);
}
