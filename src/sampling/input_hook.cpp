#include <windows.h>

#include "sampling/input_hook.h"

void SetInputHook(BOOL on)
{
    // Input counting is not built yet.
}
