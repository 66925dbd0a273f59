#pragma once
#include <windows.h>

// Classifies the program file at path from its headers (see ExecutableKindResult):
// 1 not a Windows program or unreadable, 2 a 16-bit Windows application, 3 a 32-bit
// program. The file's creation, last-access and last-write times are put back as they were
// before the inspection, also when the program is running.
int ExecutableKind(const char* path);
