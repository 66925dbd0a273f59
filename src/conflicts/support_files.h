// The missing support file check: every program file on the fixed drives, the modules its
// header names, those Windows would not find for it, and a copy into the program's folder of
// a file of that name found elsewhere on the disks, when the user agrees.
//
// Primary thread only; the walk and the questions block the caller while they run.
#pragma once
#include <windows.h>

#include "conflicts/import_readers.h"
#include "services/walks.h"

// Walks entries the way WalkFixedDrives does (breadth-first, drive by drive); tests hand
// in a walk over a folder of their own.
using ConflictWalk = int (*)(WalkVisitor visitor, void* argument);

// Fills list with the heading and one row per missing module found elsewhere, asking owner's
// user once per program whether to copy its modules into place. One walk gathers the program
// files and the name of every file on the disks. Returns the number of rows below the heading.
int FindMissingSupportFiles(HWND owner, HWND list, ConflictWalk walk = WalkFixedDrives);

// The module names of the program file directory\programName into names (kModuleNameSlots
// slots): the module references of a 16-bit Windows application, the imports of a PE
// program, nothing for anything else. The file's time stamps are put back afterwards.
int ListRequiredModules(const char* programName, const char* directory, ModuleNames names);

// Copies source to destination only when no file of that name is there: the destination is
// looked at first and the copy itself refuses to overwrite. True when the copy was made.
bool CopyModuleIntoPlace(const char* source, const char* destination);
