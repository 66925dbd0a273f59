#include "equipment/modem_ports.h"

ModemPortResult JudgeModemPort(const ModemPortSteps& steps)
{
    if (!steps.opened || !steps.prepared) return kModemPortSkipped;
    if (steps.written && steps.replyQueued && steps.replyRead && steps.speed != 0) return kModemPortAnswered;
    return kModemPortFailed;
}

int JudgeModemPorts(const ModemPortSteps (&steps)[kModemPortCount], uint32_t (&speeds)[kModemPortCount])
{
    bool failed = false, answered = false;
    for (int n = 0; n < kModemPortCount; ++n) {
        const ModemPortResult result = JudgeModemPort(steps[n]);
        speeds[n] = result == kModemPortAnswered ? steps[n].speed : 0;
        failed = failed || result == kModemPortFailed;
        answered = answered || result == kModemPortAnswered;
    }
    return failed || !answered ? 1 : 0;
}
