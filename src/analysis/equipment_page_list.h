// The equipment list of the status report: one summary page of EquipmentInfo at a time.
#pragma once
#include <windows.h>

// Replaces the seven lines of the dialog's equipment list (IDC_EQUIPMENT_LIST) with the
// next summary page: pages 0..9 in turn, starting at 0, the count kept for the process.
void ShowEquipmentPage(HWND dialog);
