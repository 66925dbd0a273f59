#include <windows.h>

#include "equipment/inventory.h"

void GetAllEquipment(HWND owner)
{
    // Equipment detection is not built yet.
}
