#pragma once
#include <windows.h>

// GlobalAlloc that never returns null: when memory runs out it shows the "Out of Memory"
// stop box and ends the process with exit code 0. Callers pass GPTR (64) and free the
// block with GlobalFree.
void* AllocChecked(UINT flags, SIZE_T size);
