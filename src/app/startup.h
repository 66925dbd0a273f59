#pragma once
#include <windows.h>

// Creates the process-wide objects in their fixed order and starts the worker threads
// and the companion. Ends the process when another copy is already running.
void InitialiseProgram(HINSTANCE instance);

// Saves the statistics, releases the shared objects, tells the companion that the
// program ends and posts the quit message.
void ExitProgram();
