#pragma once
#include <windows.h>

#include <cstdint>

#include "services/report_slot.h"

// The one shared, growable list of text slots in which reports are built. Entry i lies at
// StringListBase + i x kReportLineSlot. Used from the primary thread only.
// A tool starts a fresh list by setting StringListCount to 0; the next append frees the
// old block.
extern char* StringListBase;
extern uint32_t StringListCount;

// Appends one zero-filled slot and returns it (entry StringListCount - 1). The block may
// move: pointers into the list are valid only until the next append. When memory runs
// out it shows the "Out of Memory" box and ends the process with exit code 0.
char* StringListNext();

// SortByIndex callbacks over StringList: case-insensitive, locale-aware order
// (lstrcmpiA), and an exchange of two whole slots.
int StringListLess(int32_t i, int32_t j);
void StringListSwap(int32_t i, int32_t j);
