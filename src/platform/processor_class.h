// The processor classes the equipment record knows (386, 486, 586) from what a system
// reports about its processor. Windows 95 names the class itself as the processor type;
// later systems report other types (8664 on x64) but give the processor's family.
#pragma once
#include <cstdint>

// processorType where it is 386, 486 or 586. Otherwise, for an x86 processor (32- or
// 64-bit), the class of its family: 3 is a 386, 4 a 486, 5 or later the 586 class. 0 for
// any other processor, or an x86 one whose family is not reported.
uint32_t ProcessorClassOf(uint32_t processorType, bool isX86, uint32_t family);

// ProcessorClassOf what the running system reports (Win32: type, architecture and level of
// GetSystemInfo).
uint32_t SystemProcessorClass();

// Whether the running system reports a floating-point unit (one that is not emulated).
bool SystemHasFpu();
