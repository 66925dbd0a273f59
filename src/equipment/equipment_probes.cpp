#include <windows.h>
#include <mmsystem.h>

#include "equipment/equipment_probes.h"

#include <cstdio>
#include <initializer_list>

#include "equipment/equipment_info.h"
#include "equipment/modem_ports.h"
#include "equipment/modem_speed.h"
#include "services/registry.h"

void CountJoysticks(HWND owner)
{
    EquipmentInfo* info = gEquipmentInfo;
    if (!info) return;
    if (MessageBoxA(owner,
                    "Testing the joystick can hang the program if you are using a non-standard mouse substitute. "
                    "Continue with testing?",
                    "If this test hangs the program...", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    info->joysticks = 0;
    if (!GetSystemMetrics(SM_MOUSEPRESENT) || !info->gamePort || !joyGetNumDevs()) return;
    for (UINT id : {UINT(JOYSTICKID1), UINT(JOYSTICKID2)}) {
        JOYINFO position = {};
        if (joyGetPos(id, &position) == JOYERR_NOERROR) ++info->joysticks;
    }
}

static bool HasRegisteredModem()
{
    for (int n = 0; n <= 9; ++n) {
        char key[64], attachedTo[256];
        snprintf(key, sizeof key, "System\\CurrentControlSet\\Services\\Class\\Modem\\000%d", n);
        if (RegReadValue(HKEY_LOCAL_MACHINE, key, "AttachedTo", attachedTo, sizeof attachedTo)) return true;
    }
    return false;
}

static HANDLE OpenPort(const char* name)
{
    return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

// Whether the port could be set to 300 baud, even parity, 7 data bits, 1 stop bit and
// reports modem status lines. Writes time out rather than block on a port that never
// drains.
static bool PreparePort(HANDLE port, const char* name)
{
    char control[32];
    snprintf(control, sizeof control, "%s:300,e,7,1", name);
    DCB state = {};
    state.DCBlength = sizeof state;
    const bool stateSet = BuildCommDCBA(control, &state) && SetCommState(port, &state);
    COMMTIMEOUTS timeouts = {MAXDWORD, 0, 0, 0, 2000};
    SetCommTimeouts(port, &timeouts);
    DWORD status = 0;
    const bool statusRead = GetCommModemStatus(port, &status) != 0;
    return statusRead && status != 0 && stateSet;
}

// Reads the modem's reply into the port's steps: whether bytes were queued without error,
// whether they were read, and the speed they name.
static void ReadReply(HANDLE port, ModemPortSteps* steps)
{
    DWORD errors = 0;
    COMSTAT queue = {};
    steps->replyQueued = ClearCommError(port, &errors, &queue) && errors == 0 && queue.cbInQue != 0;
    if (!steps->replyQueued) return;
    char reply[kModemReplyLength + 1] = {};
    const DWORD wanted = queue.cbInQue < kModemReplyLength ? queue.cbInQue : DWORD(kModemReplyLength);
    DWORD read = 0;
    steps->replyRead = ReadFile(port, reply, wanted, &read, nullptr) != 0;
    if (steps->replyRead) steps->speed = ModemSpeedInReply(reply, read);
}

// Sends the identification command to one port and records how far it got.
static void QueryModemPort(int number, ModemPortSteps* steps)
{
    char name[8];
    snprintf(name, sizeof name, "COM%d", number);
    HANDLE port = OpenPort(name);
    steps->opened = port != INVALID_HANDLE_VALUE;
    if (!steps->opened) return;
    steps->prepared = PreparePort(port, name);
    if (steps->prepared) {
        static const char kIdentify[] = "ATI0\r\n";  // sent with its terminating zero: 7 bytes
        DWORD written = 0;
        steps->written = WriteFile(port, kIdentify, sizeof kIdentify, &written, nullptr) != 0;
        if (steps->written) {
            Sleep(3000);
            ReadReply(port, steps);
        }
    }
    CloseHandle(port);
}

int ProbeModems(HWND owner)
{
    EquipmentInfo* info = gEquipmentInfo;
    if (!info) return 1;
    if (!HasRegisteredModem() &&
        MessageBoxA(owner,
                    "No modems are currently registered with Windows 95. Running modem tests could hang this program. "
                    "Continue with the tests anyway?",
                    "No Modems Registered", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 1;  // nothing was tested: no modem has been shown to work
    ModemPortSteps steps[kModemPortCount] = {};
    for (int n = 0; n < kModemPortCount; ++n) QueryModemPort(n + 1, &steps[n]);
    return JudgeModemPorts(steps, info->modemSpeed);
}
