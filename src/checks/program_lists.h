// Reports of the programs installed on the fixed drives: MS-DOS programs that need MS-DOS
// mode, old disk and system utilities that can damage files, and older programs known not
// to work properly. Each fills the report list it is given and returns its line count.
#pragma once
#include <windows.h>

#include "services/walks.h"

// Walks entries the way WalkFixedDrives does; tests hand in a walk over a folder of their
// own.
using ProgramWalk = int (*)(WalkVisitor visitor, void* argument);

int ListMsDosModePrograms(HWND list);
int ListDangerousPrograms(HWND list);
int ListIncompatiblePrograms(HWND list);

// The first two over the entries walk visits instead of the fixed drives.
int ListMsDosModeProgramsOf(HWND list, ProgramWalk walk);
int ListDangerousProgramsOf(HWND list, ProgramWalk walk);
