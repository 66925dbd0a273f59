#include <windows.h>

#include "services/alloc.h"

void* AllocChecked(UINT flags, SIZE_T size)
{
    void* block = reinterpret_cast<void*>(GlobalAlloc(flags, size));
    if (!block) {
        MessageBoxA(nullptr,
                    "Unable to allocate enough memory to continue the program. Close program and "
                    "restart or contact Technical Support.",
                    "Out of Memory", MB_OK | MB_ICONHAND);
        ExitProcess(0);
    }
    return block;
}
