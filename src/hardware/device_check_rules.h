// What the port and modem checks of the problem solver conclude from what the Win32 side
// found on the ports: pure rules, so the pairs and the failure rule are tested natively.
#pragma once
#include <cstdint>

constexpr int kCheckedComPorts = 4;  // COM1..COM4

// What opening a COM port for exclusive reading and writing showed.
enum class ComPortOpening {
    kOpened,   // it opened
    kMissing,  // the system has no such device, whatever the port list says
    kRefused,  // the device exists but would not open
};

// COM1 and COM3 share an interrupt by default, as do COM2 and COM4. Counts the ordered pairs
// (COM1 with COM3, COM3 with COM1, COM2 with COM4, COM4 with COM2) where both ports are
// listed and both refused to open: 0, 2 or 4.
int CountPossiblePortConflicts(const bool (&listed)[kCheckedComPorts], const ComPortOpening (&opening)[kCheckedComPorts]);

// Whether the modem probe showed a failing modem: it reported a failure although another
// port answered with its speed. A failure flag with no speed at all says no more than that
// no modem could be tested (which includes a machine without modems), and is reported as
// that instead.
bool ModemTestFailed(int probeFailed, const uint32_t (&speeds)[kCheckedComPorts]);

// Whether any port answered with a speed.
bool AnyModemSpeed(const uint32_t (&speeds)[kCheckedComPorts]);
