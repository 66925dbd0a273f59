#include <windows.h>

#include "platform/host_system.h"

bool IsWineHost()
{
    static const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}
