#include <windows.h>
#include <mmsystem.h>

#include "equipment/equipment_probes.h"

#include <cstdio>
#include <initializer_list>

#include "equipment/equipment_info.h"
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

// Reads the modem's reply; its speed, or 0 when anything failed or the reply named none.
static uint32_t ReadReply(HANDLE port)
{
    DWORD errors = 0;
    COMSTAT queue = {};
    if (!ClearCommError(port, &errors, &queue) || errors != 0 || queue.cbInQue == 0) return 0;
    char reply[kModemReplyLength + 1] = {};
    const DWORD wanted = queue.cbInQue < kModemReplyLength ? queue.cbInQue : DWORD(kModemReplyLength);
    DWORD read = 0;
    if (!ReadFile(port, reply, wanted, &read, nullptr)) return 0;
    return ModemSpeedInReply(reply, read);
}

int ProbeModems(HWND owner)
{
    EquipmentInfo* info = gEquipmentInfo;
    if (!info) return 0;
    if (!HasRegisteredModem() &&
        MessageBoxA(owner,
                    "No modems are currently registered with Windows 95. Running modem tests could hang this program. "
                    "Continue with the tests anyway?",
                    "No Modems Registered", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 0;
    int failed = 0;
    for (int n = 1; n <= 4; ++n) {
        char name[8];
        snprintf(name, sizeof name, "COM%d", n);
        info->modemSpeed[n - 1] = 0;
        HANDLE port = OpenPort(name);
        if (port == INVALID_HANDLE_VALUE) continue;
        if (PreparePort(port, name)) {
            static const char kIdentify[] = "ATI0\r\n";  // sent with its terminating zero: 7 bytes
            DWORD written = 0;
            if (!WriteFile(port, kIdentify, sizeof kIdentify, &written, nullptr)) failed = 1;
            // After a failure the ports are still written to, but no longer asked.
            if (!failed) {
                Sleep(3000);
                const uint32_t speed = ReadReply(port);
                if (speed) {
                    info->modemSpeed[n - 1] = speed;
                } else {
                    failed = 1;
                }
            }
        }
        CloseHandle(port);
    }
    return failed;
}

const char* ComPortStatus(int port)
{
    static char status[16];
    const EquipmentInfo* info = gEquipmentInfo;
    const char* text = "No Port";
    if (port >= 1 && port <= 4 && info) {
        if (info->modemSpeed[port - 1]) {
            text = "Modem";
        } else if (info->comPresent[port - 1]) {
            char name[8];
            snprintf(name, sizeof name, "COM%d", port);
            HANDLE handle = OpenPort(name);
            text = handle == INVALID_HANDLE_VALUE ? "In Use" : "No Modem";
            if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
        }
    }
    snprintf(status, sizeof status, "%s", text);
    return status;
}
