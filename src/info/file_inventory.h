// The File Inventory dialog (14500): the program files of one kind on every fixed drive,
// or the files that have not been backed up, with their sizes and dates.
//
// Primary thread only; the walks block the dialog while they run.
#pragma once
#include <windows.h>

#include "info/file_inventory_rows.h"
#include "services/walks.h"

// Walks entries the way WalkFixedDrives does; tests hand in a walk over a folder of
// their own.
using InventoryWalk = int (*)(WalkVisitor visitor, void* argument);

INT_PTR CALLBACK FileInventoryDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Fills reportList with a heading and one sorted row per program of that kind (see
// ProgramKind) among the qualifying "*.exe" files; an empty list when there is none.
void ListProgramsOfKind(HWND reportList, int kind, InventoryWalk walk = WalkFixedDrives);

// Fills reportList with a heading and one sorted row (full path) per file with the archive
// bit; with kNotBackedUpLimit or more of them only the red kTooManyNotBackedUp line.
void ListFilesNotBackedUp(HWND reportList, InventoryWalk walk = WalkFixedDrives);

// The kind of one program file from its headers: 2 for a 16-bit Windows application,
// 3 for a 32-bit program, 1 for everything else (16-bit libraries and unreadable files
// included). The file's time stamps are put back when they could be read first.
int ProgramFileKind(const char* path);
