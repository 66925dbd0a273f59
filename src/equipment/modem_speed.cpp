#include "equipment/modem_speed.h"

#include <cstring>

#include "equipment/equipment_info.h"

static const struct {
    const char* code;
    uint32_t speed;
} kSpeedCodes[] = {
    {"30", 300}, {"12", 1200}, {"24", 2400}, {"96", 9600}, {"14", 14400}, {"16", 16800}, {"19", 19200}, {"28", 28800},
};

uint32_t ModemSpeedInReply(const char* reply, size_t length)
{
    char text[kModemReplyLength + 1] = {};
    if (length > kModemReplyLength) length = kModemReplyLength;
    for (size_t i = 0; i < length; ++i) text[i] = reply[i] ? reply[i] : '\n';
    uint32_t speed = 0;
    for (const auto& code : kSpeedCodes)
        if (strstr(text, code.code)) speed = code.speed;
    return speed;
}

uint32_t SpeedFromModemName(const char* name)
{
    for (const auto& code : kSpeedCodes)
        if (strstr(name, code.code)) return code.speed;
    return 0;
}

uint32_t ModemSpeedFromName()
{
    return gEquipmentInfo ? SpeedFromModemName(gEquipmentInfo->modem) : 0;
}
