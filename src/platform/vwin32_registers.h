// The register packet of a \\.\vwin32 call and the control codes this system sends. The
// device and its substitute read and write the same packet.
#pragma once
#include <windows.h>

#include <cstdint>

// The register packet of a vwin32 call, in and out (the device's DIOC_REGISTERS layout).
struct Vwin32Registers {
    uint32_t ebx;
    uint32_t edx;
    uint32_t ecx;
    uint32_t eax;
    uint32_t edi;
    uint32_t esi;
    uint32_t flags;  // bit 0: the carry flag after the call; set means the service failed
};
static_assert(sizeof(Vwin32Registers) == 28, "the device reads and writes 28 bytes");

constexpr DWORD kVwin32DosIoctl = 1;  // interrupt 21h IOCTL (EAX 0x440D, ECX 0x0860, ...)
constexpr DWORD kVwin32Int13 = 4;     // BIOS interrupt 13h (EAX function, EDX drive)
