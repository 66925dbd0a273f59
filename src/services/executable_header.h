#pragma once
#include <cstddef>
#include <cstdint>

// What kind of program a file holds, judged from its headers.
enum ExecutableKindResult {
    kNotWindowsProgram = 1,     // MS-DOS program, 16-bit library, OS/2 program, not a program, unreadable
    kWindows16Application = 2,  // 16-bit Windows application ("NE", not a library)
    kPortableExecutable = 3,    // 32-bit program ("PE")
};

// How many bytes to read from the start of the file, and at the new header.
const size_t kExecutableHeadLength = 1024;
const size_t kNewHeaderLength = 64;

// From the first bytes of a file (up to kExecutableHeadLength): true, with the file offset
// of the new header (the 32-bit value at 0x3C), when more than 64 bytes are given, they
// begin with "MZ" and the relocation table offset at 0x18 is at least 0x40. An offset that
// is negative as a signed 32-bit file position has no new header: false.
bool FindNewHeaderOffset(const unsigned char* head, size_t length, uint32_t* offset);

// Classifies the bytes read at the new header (up to kNewHeaderLength). More than 50 are
// needed; fields past the end of what was read count as 0.
//   "NE", module flags (+0x0C) without the library bit 15, a non-resident name table size
//   (+0x20) other than 0 and a target system (+0x36) other than 1 (OS/2): 2.
//   Otherwise "PE": 3.  Everything else: 1.
int ClassifyNewHeader(const unsigned char* header, size_t length);
