#pragma once
#include <windows.h>

// Fills EquipmentInfo once at start-up; owner owns any box it shows.
void GetAllEquipment(HWND owner);
