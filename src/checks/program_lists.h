// Reports of the programs installed on the fixed drives: MS-DOS programs that need MS-DOS
// mode, old disk and system utilities that can damage files, and older programs known not
// to work properly. Each fills the report list it is given and returns its line count.
#pragma once
#include <windows.h>

int ListMsDosModePrograms(HWND list);
int ListDangerousPrograms(HWND list);
int ListIncompatiblePrograms(HWND list);
