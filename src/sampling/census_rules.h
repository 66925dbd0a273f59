#pragma once
#include <cstdint>

enum ProgramKind { kProgramDos = 1, kProgram16Bit = 2, kProgram32Bit = 3 };

// The kind of a windowed program from the file title of its executable and the module
// name of its main module: the MS-DOS host module means an MS-DOS program; a main module
// named as the executable is a 32-bit program; anything else a 16-bit one.
ProgramKind ProgramKindFromNames(const char* fileTitle, const char* mainModuleName);

// The file title of a path: what follows its last backslash, slash or colon.
const char* FileTitleOf(const char* path);

// A thread's priority as the census counts it: base plus delta, within 0..32.
uint32_t CensusPriority(long basePriority, long deltaPriority);
