// How many modules a process has and the name of the first one listed, the two things the
// census wants from a module snapshot, read through the process-status calls: they walk the
// process's module list once, where a module snapshot also copies every module's paths.
// Where the calls are missing, ReadProcessModules fails and the caller takes the snapshot.
#pragma once
#include <windows.h>

#include <cstdint>

struct ProcessModules {
    uint32_t count = 0;
    char firstName[MAX_PATH] = "";  // the first module's file name, as a snapshot gives szModule
};

// True when the calls are there to be used (looked up once, on first use).
bool HasProcessModuleCalls();

// Fills modules for processId. A process that cannot be opened or read gives 0 modules and
// no name, the same as a module snapshot the system refuses. False only when the calls are
// missing.
bool ReadProcessModules(DWORD processId, ProcessModules* modules);
