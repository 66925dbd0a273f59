// Answers for the \\.\vwin32 calls this system makes, given where the device does not
// exist (every system after Windows 95). Vwin32Call uses the device when it opens and
// these answers otherwise; the values come from what the running system reports.
//
// BIOS interrupt 13h (control code 4), for floppy drives: DL is the drive index counted
// from 0 for A:, and any removable drive letter is answered as a floppy drive.
//   AH 00h reset, AH 01h status of the last operation: AX 0.
//   AH 04h verify: AX 0 (AL sectors verified, the count asked in AL, so 0 for 0) when
//          the drive reports a medium; otherwise the call fails.
//   AH 08h drive parameters: BL the BIOS drive type (the floppy format of the reported
//          media type or medium size, else 4, 1.44 MB), CH/CL/DH the last cylinder,
//          sector and head of that format, DL the number of removable drives among A: and
//          B:, AX 0.
//   AH 15h drive type: AX 0200h (floppy with change line); AX 0 with carry clear for a
//          drive index that is no removable drive, as a BIOS answers for no drive.
//   Any other function, or AH 00h to 08h for no removable drive: the call fails.
// DOS generic IOCTL (control code 1), AX 440Dh with CX 0860h (get device parameters): BL
// the drive number from 1 for A: (0 the current drive); the block (see
// Vwin32SetBlockAddress) gets FillDeviceParameters of the drive's type, geometry and
// cluster and sector sizes; the block must be at least kDeviceParametersLength (32) bytes
// of writable memory. A CD-ROM or network drive refuses the call, as its redirector does.
// Any other call fails. A call that fails returns 0 and leaves the packet as it was, as
// when the device is missing; callers look at the result, not at the carry flag.
#pragma once
#include <windows.h>

#include "platform/vwin32_registers.h"

// Answers one call as described above; the same result as Vwin32Call: non-zero when the
// call was answered (carry flag clear).
int Vwin32Substitute(DWORD controlCode, Vwin32Registers* packet);

// Calls that pass a block (the device-parameter block of 440Dh) carry its address in EDX;
// a 64-bit build, whose addresses do not fit, carries the upper half in ESI, which those
// calls leave unused. Callers set the address with this and the substitute reads it back.
void Vwin32SetBlockAddress(Vwin32Registers* packet, void* block);
void* Vwin32BlockAddress(const Vwin32Registers* packet);
