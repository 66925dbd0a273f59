#pragma once
#include <windows.h>

// Fills buffer with the folder of module's executable, without a trailing backslash
// (empty when the path has no backslash or the folder does not fit).
void ProgramDirectory(HMODULE module, char* buffer, DWORD size);
