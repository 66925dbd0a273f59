// Modem speeds read out of text: the speed codes "30" 300, "12" 1200, "24" 2400, "96" 9600,
// "14" 14400, "16" 16800, "19" 19200, "28" 28800, tested in that order (case-sensitive
// substrings).
#pragma once
#include <cstddef>
#include <cstdint>

// The longest modem reply looked at, in bytes; the rest of a longer reply is not read.
constexpr size_t kModemReplyLength = 255;

// The speed of a modem's reply to its identification command: the last code in the list
// order that occurs in the first kModemReplyLength bytes (zero bytes read as line feeds);
// 0 when no code occurs.
uint32_t ModemSpeedInReply(const char* reply, size_t length);

// The speed of the first code in list order that occurs in a modem's name; 0 for none.
uint32_t SpeedFromModemName(const char* name);

// SpeedFromModemName of the modem field of EquipmentInfo.
uint32_t ModemSpeedFromName();
