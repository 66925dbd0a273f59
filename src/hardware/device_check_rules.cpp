#include "hardware/device_check_rules.h"

int CountPossiblePortConflicts(const bool (&listed)[kCheckedComPorts], const ComPortOpening (&opening)[kCheckedComPorts])
{
    static const int kSharing[kCheckedComPorts] = {2, 3, 0, 1};  // COM1-COM3, COM2-COM4
    int conflicts = 0;
    for (int port = 0; port < kCheckedComPorts; ++port) {
        const int other = kSharing[port];
        if (listed[port] && listed[other] && opening[port] == ComPortOpening::kRefused &&
            opening[other] == ComPortOpening::kRefused)
            ++conflicts;
    }
    return conflicts;
}

bool AnyModemSpeed(const uint32_t (&speeds)[kCheckedComPorts])
{
    for (uint32_t speed : speeds)
        if (speed != 0) return true;
    return false;
}

bool ModemTestFailed(int probeFailed, const uint32_t (&speeds)[kCheckedComPorts])
{
    return probeFailed != 0 && AnyModemSpeed(speeds);
}
