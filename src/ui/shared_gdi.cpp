#include <windows.h>

#include "ui/shared_gdi.h"

void CreateSharedGdi()
{
    // The shared drawing objects are not built yet.
}

void DeleteSharedGdi()
{
}
