// The on-demand probes that write into EquipmentInfo after start-up, run by the tools that
// need them on the primary thread: joysticks and modems.
#pragma once
#include <windows.h>

// Asks for leave (Yes/No box owned by owner); on Yes counts the joysticks that answer
// (0..2) into the joysticks field, when a mouse, a game port and joystick devices exist.
// On No nothing changes.
void CountJoysticks(HWND owner);

// Sends the identification command to a modem on each of COM1..COM4 and records each
// port's speed; every port is asked, whatever an earlier one answered. Returns 0 when at
// least one modem answered and no port failed (write, error check, read, no speed in the
// reply); 1 otherwise, also when no port could be tested or the user declined to test
// without registered modems (then nothing changes).
int ProbeModems(HWND owner);
