#pragma once
#include <windows.h>
#include <tlhelp32.h>

// Process and thread facts from toolhelp snapshots (LoadToolhelp must have run). Every
// structure passed in is filled with its size field set to sizeof the structure.

// The first entry with processId in a snapshot of everything (flags 15); 1 when found.
int FindProcessEntry(DWORD processId, PROCESSENTRY32* entry);

// The module entry of the process's own executable (module name and path among its
// fields); 1 when found, else 0.
int MainModuleOf(DWORD processId, MODULEENTRY32* moduleEntry);

// The name of a windowless system process ("Windows 95 Kernel", "Real-Time Input"),
// found from its threads' priorities; processId 0 means the process that owns threadId.
// Empty for every other process. The text lives in a static buffer that the next call
// overwrites.
const char* SpecialProcessName(DWORD processId, DWORD threadId);

// The process that owns the thread, 0 when there is no such thread.
DWORD ThreadOwnerOf(DWORD threadId);

// The thread's base priority plus its priority delta, 32 when that is above 31, 0 when
// there is no such thread.
LONG ThreadPriorityOf(DWORD threadId);

// Adds one line per running process to the list box listId of dialog: "name\tid", or
// "id\tid" when the process has no name. One tab stop at 5000 dialog units keeps the id
// out of sight; SelectedItemNumber reads it back.
void FillProcessList(HWND dialog, int listId);
