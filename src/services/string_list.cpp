#include <windows.h>

#include <cstring>

#include "services/alloc.h"
#include "services/string_list.h"

char* StringListBase = nullptr;
uint32_t StringListCount = 0;

static void OutOfMemory()
{
    MessageBoxA(nullptr, "Unable to allocate enough memory to continue the program. Close program and restart.",
                "Out of Memory", MB_OK | MB_ICONHAND);
    ExitProcess(0);
}

char* StringListNext()
{
    if (StringListCount == 0 || !StringListBase) {
        if (StringListBase) GlobalFree(StringListBase);
        StringListBase = static_cast<char*>(AllocChecked(GPTR, kReportLineSlot));
        StringListCount = 1;
        return StringListBase;
    }
    // A count or block size that cannot be expressed is as out of memory as a failed resize.
    const SIZE_T newCount = SIZE_T(StringListCount) + 1;
    if (StringListCount == UINT32_MAX || newCount > SIZE_T(-1) / kReportLineSlot) OutOfMemory();
    const SIZE_T size = newCount * kReportLineSlot;
    void* block = reinterpret_cast<void*>(GlobalReAlloc(StringListBase, size, GMEM_MOVEABLE | GMEM_ZEROINIT));
    if (!block) OutOfMemory();
    StringListBase = static_cast<char*>(block);
    ++StringListCount;
    return StringListBase + SIZE_T(StringListCount - 1) * kReportLineSlot;
}

static char* Slot(int32_t i)
{
    return StringListBase + SIZE_T(uint32_t(i)) * kReportLineSlot;
}

int StringListLess(int32_t i, int32_t j)
{
    return lstrcmpiA(Slot(i), Slot(j)) < 0;
}

void StringListSwap(int32_t i, int32_t j)
{
    char temporary[kReportLineSlot];
    memcpy(temporary, Slot(i), kReportLineSlot);
    memcpy(Slot(i), Slot(j), kReportLineSlot);
    memcpy(Slot(j), temporary, kReportLineSlot);
}
