#pragma once
#include <windows.h>

// Installs (on) or removes (off) the hook that counts keyboard and mouse input.
void SetInputHook(BOOL on);
