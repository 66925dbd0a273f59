#pragma once
#include <windows.h>

// What ProgramNameOf found for one process. Zero-filled by ProgramNameOf itself.
struct ProgramNameQuery {
    DWORD processId;
    HWND window;           // the window whose title gave the name, or null
    char programName[256];
};

// The top of window's parent chain, then the top of that window's owner chain; null for
// a null window.
HWND TopLevelOwner(HWND window);

// The program name in window's title (the part before the first "-", trailing white
// space removed), at most size - 1 characters; empty when there is none.
void AppNameFromTitle(HWND window, char* destination, int size);

// Names the program of a process: from the title of one of its top-level windows (or of
// the highest titled window above it), else as a windowless system process
// (SpecialProcessName), else as its executable's file title up to the first ".".
void ProgramNameOf(DWORD processId, ProgramNameQuery* query);
