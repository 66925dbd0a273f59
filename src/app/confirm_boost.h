// The "Boosting" confirmation (dialog 15000) shown before a boost changes anything.
#pragma once
#include <windows.h>

// Shows the proposed changes (text, lines separated by CR LF) read-only; returns 1 when
// the user chose "Boost" (after the bolt has slid across), 0 on Cancel or the close box.
int ConfirmBoost(HWND owner, const char* text);
