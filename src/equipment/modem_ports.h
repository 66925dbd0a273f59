// What the modem probe concludes from each COM port it tried: the Win32 probe
// (equipment_probes.cpp) talks to the ports and records each step here; these rules decide
// what the steps mean. Every port is judged on its own steps alone.
#pragma once
#include <cstdint>

constexpr int kModemPortCount = 4;  // COM1..COM4

// The steps of one port, each true when it succeeded. A step after one that failed did not
// run and stays false.
struct ModemPortSteps {
    bool opened;       // opened for reading and writing, not shared
    bool prepared;     // its state was set and it reports modem status lines
    bool written;      // the identification command went out
    bool replyQueued;  // the error check passed and reply bytes wait in the input queue
    bool replyRead;    // those bytes were read
    uint32_t speed;    // the speed the reply names; 0 for none
};

enum ModemPortResult {
    kModemPortSkipped,   // nothing to test: the port did not open or could not be prepared
    kModemPortFailed,    // the command went out but no reply named a speed
    kModemPortAnswered,  // a modem answered with its speed
};

ModemPortResult JudgeModemPort(const ModemPortSteps& steps);

// Sets each port's speed (0 unless it answered) and returns 1 when a port failed or no
// port answered at all (a probe that tested nothing has shown no modem), else 0.
int JudgeModemPorts(const ModemPortSteps (&steps)[kModemPortCount], uint32_t (&speeds)[kModemPortCount]);
