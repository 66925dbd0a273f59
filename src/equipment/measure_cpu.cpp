#include <windows.h>
#include <mmsystem.h>

#include "equipment/inventory.h"

#include "equipment/measure_rules.h"

// One timed run: 0x4FFF iterations of fourteen unsigned 16-bit divisions of 20 by 1 (DX 0,
// AX 20, BX 1) and a counter decrement. Written in assembly so that no optimiser can drop,
// merge or shorten the divisions: each one waits for the one before it.
static void RunTimedDivisions()
{
    unsigned int counter = 0x4FFF;
    __asm__ __volatile__(
        "1:\n\t"
        "movw $20, %%ax\n\t"
        "xorw %%dx, %%dx\n\t"
        "divw %%bx\n\t" "divw %%bx\n\t" "divw %%bx\n\t" "divw %%bx\n\t" "divw %%bx\n\t" "divw %%bx\n\t"
        "divw %%bx\n\t" "divw %%bx\n\t" "divw %%bx\n\t" "divw %%bx\n\t" "divw %%bx\n\t" "divw %%bx\n\t"
        "divw %%bx\n\t" "divw %%bx\n\t"
        "decl %0\n\t"
        "jnz 1b\n\t"
        : "+r"(counter)
        : "b"(1u)
        : "eax", "edx", "cc");
}

void MeasureCpuSpeed()
{
    EquipmentInfo* info = gEquipmentInfo;
    if (!info) return;
    const uint32_t type = info->cpuType;
    if (type != 386 && type != 486 && type != 586) return;  // no field takes the result
    // Only the shortest of ten runs counts: an interruption lengthens a run, never shortens it.
    SetPriorityClass(GetCurrentProcess(), REALTIME_PRIORITY_CLASS);
    DWORD best = 999999999;
    for (int run = 0; run < 10; ++run) {
        const DWORD start = timeGetTime();
        RunTimedDivisions();
        const DWORD elapsed = timeGetTime() - start;
        if (elapsed < best) best = elapsed;
    }
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    ApplyCpuTiming(info, best);
}
