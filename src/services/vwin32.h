#pragma once
#include <windows.h>

#include "platform/vwin32_registers.h"

// Sends one call to the \\.\vwin32 device with packet as input and output; where the
// device does not exist, the substitute answers from what the running system reports.
// Non-zero only when the call succeeded and the returned carry flag is clear.
int Vwin32Call(DWORD controlCode, Vwin32Registers* packet);
