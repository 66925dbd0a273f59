// Report tables: ready-made report text kept in the program's resources, one report line
// per line feed, NUL-terminated.
#pragma once
#include <cstddef>

// Appends each non-empty line of text[0, length) (a NUL ends it earlier) in order to a list
// of kReportLineSlot-byte slots: nextSlot returns a new zero-filled slot at the list's end.
// Runs of line feeds count as one, so empty lines vanish; a line longer than a slot keeps
// what fits. Returns the number of lines appended.
int AppendReportTable(const char* text, size_t length, char* (*nextSlot)());
