#include <windows.h>

#include "platform/processor_class.h"

uint32_t SystemProcessorClass()
{
    SYSTEM_INFO system = {};
    GetSystemInfo(&system);
    // On x86 and x64 the processor level is the processor's family.
    const bool isX86 = system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_INTEL ||
                       system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
    return ProcessorClassOf(system.dwProcessorType, isX86, system.wProcessorLevel);
}

bool SystemHasFpu()
{
    return !IsProcessorFeaturePresent(PF_FLOATING_POINT_EMULATED);
}
