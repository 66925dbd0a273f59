#include "hardware/upgrade_rules.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "equipment/modem_speed.h"
#include "services/histogram.h"

namespace {

constexpr uint32_t kPercentBytes = kPercentBuckets * 4;

int32_t Mean(const uint32_t* histogram)
{
    return int32_t(HistogramMean(histogram, kPercentBytes));
}

void Name(UpgradeEntry* entry, const char* name)
{
    snprintf(entry->name, sizeof entry->name, "%s", name);
}

// Whether the upper-cased text contains word (given in capitals).
bool Contains(const char* text, const char* word)
{
    char upper[256];
    size_t i = 0;
    for (; text[i] && i + 1 < sizeof upper; ++i) upper[i] = char(toupper(static_cast<unsigned char>(text[i])));
    upper[i] = '\0';
    return strstr(upper, word) != nullptr;
}

bool SameText(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (toupper(static_cast<unsigned char>(*a)) != toupper(static_cast<unsigned char>(*b))) return false;
    return *a == *b;
}

void Unknown(UpgradeEntry* entry, const char* name, uint32_t table)
{
    Name(entry, name);
    entry->rating = -1;
    entry->usage = -1;
    entry->tableId = table;
}

void CdromDrive(const UpgradeFacts& f, UpgradeEntry* e)
{
    Name(e, "CD-ROM Drive Upgrade");
    e->rating = f.equipment->cdromDrives ? 5 : 0;
    e->usage = 2;
    e->tableId = 2580;
}

void Cpu(const UpgradeFacts& f, UpgradeEntry* e)
{
    Name(e, "CPU Chip Upgrade");
    e->rating = CpuRating(f.equipment->cpuPower);
    e->usage = Mean(f.stats->cpuUsage);
    e->tableId = 2581;
}

void FloppyDrive(const UpgradeFacts& f, UpgradeEntry* e)
{
    Name(e, "Floppy Upgrade");
    int32_t best = 0;
    for (const FloppyKind& kind : f.equipment->floppyKinds) {
        int32_t rating = 0;
        if (kind.capacity == 360.0f) rating = 1;
        else if (kind.capacity == 1.2f) rating = 4;
        else if (kind.capacity == 720.0f) rating = 5;
        else if (kind.capacity == 1.44f || kind.capacity == 2.88f) rating = 9;
        if (rating > best) best = rating;
    }
    e->rating = best;
    e->usage = -1;
    e->tableId = 2582;
}

void HardDrive(const UpgradeFacts& f, UpgradeEntry* e)
{
    Name(e, "Hard Disk Upgrade");
    uint64_t total = 0;  // each disk's size is held in 32 bits; their sum is not
    for (uint32_t size : f.equipment->hardDiskSizes) total += size;
    e->rating = LogRating(double(total) / 1000000.0, 4000.0);
    e->usage = 100 - Mean(f.stats->diskFree);
    e->tableId = 2583;
}

void Joystick(const UpgradeFacts& f, UpgradeEntry* e)
{
    Name(e, "Joystick Upgrade");
    e->rating = f.joysticks > 0 ? 6 : 0;
    e->usage = -1;
}

void Keyboard(const UpgradeFacts& f, UpgradeEntry* e)
{
    Name(e, "Keyboard Upgrade");
    const char* name = f.equipment->keyboard;
    int32_t rating = f.equipment->keys >= 101 ? 2 : 1;
    if (Contains(name, "IBM") || Contains(name, "LEXMARK")) rating += 7;
    if (Contains(name, "KEYTRONIC")) rating += 4;
    if (Contains(name, "MICROSOFT")) rating += 3;
    e->rating = rating;
    e->usage = PerMinute(f.stats->keystrokes, f.stats->secondsSampled);
    e->tableId = 2585;
}

void Memory(const UpgradeFacts& f, UpgradeEntry* e)
{
    Name(e, "Memory Upgrade");
    e->rating = LogRating(f.equipment->ramMegabytes, 32.0);
    e->usage = 100 - Mean(f.stats->pageFileFree);
    e->tableId = 2586;
}

void Modem(const UpgradeFacts& f, UpgradeEntry* e)
{
    Name(e, "Modem Upgrade");
    switch (SpeedFromModemName(f.equipment->modem)) {
    case 300: case 600: case 1200: case 2400: e->rating = 1; break;
    case 9600: e->rating = 3; break;
    case 14400: case 19200: e->rating = 6; break;
    case 28800: e->rating = 9; break;
    default: e->rating = 0; break;
    }
    e->usage = Mean(f.stats->modemActivity);
    e->tableId = 2587;
}

void Monitor(const UpgradeFacts& f, UpgradeEntry* e)
{
    Name(e, "Monitor Upgrade");
    e->rating = int32_t(f.equipment->screenArea * 10 / 212);
    e->usage = Mean(f.stats->displayLoad);
    e->tableId = 2588;
}

void Motherboard(const UpgradeFacts& f, UpgradeEntry* e)
{
    Name(e, "Motherboard Upgrade");
    const uint32_t* bus = f.equipment->busTypes.flags;
    int32_t rating = 2;  // ISA; each later bus found overrides the one before
    if (bus[2]) rating = 6;
    if (bus[3]) rating = 4;
    if (bus[6]) rating = 9;
    if (bus[7]) rating = 7;
    if (bus[8] || bus[9] || bus[10]) rating = 8;
    e->rating = rating;
    e->usage = Mean(f.stats->cpuUsage);
    e->tableId = 2589;
}

void Mouse(const UpgradeFacts& f, UpgradeEntry* e)
{
    Name(e, "Mouse Upgrade");
    static const struct {
        const char* word;
        int32_t rating;
    } kMakers[] = {{"MICROSOFT", 9}, {"LOGITECH", 8}, {"MOUSE SYSTEMS", 3}, {"GENIUS", 3}, {"COMPATIBLE", 2}, {"TEXAS", 2}};
    int32_t rating = 0;
    for (const auto& maker : kMakers)
        if (Contains(f.equipment->mouse, maker.word)) rating = maker.rating;  // later matches overwrite
    e->rating = rating;
    e->usage = PerMinute(f.stats->pointerActions, f.stats->secondsSampled);
    e->tableId = 2590;
}

void Printer(const UpgradeFacts& f, UpgradeEntry* e)
{
    Name(e, "Printer Upgrade");
    e->rating = -1;
    e->usage = Mean(f.stats->printerActivity);
    e->tableId = 2591;
}

void PrintSpooler(const UpgradeFacts& f, UpgradeEntry* e)
{
    Name(e, "Print Spooler Upgrade");
    e->rating = 5;
    e->usage = Mean(f.stats->printerActivity);
}

void Scanner(const UpgradeFacts&, UpgradeEntry* e) { Unknown(e, "Scanner Upgrade", 2593); }

void SoundCard(const UpgradeFacts& f, UpgradeEntry* e)
{
    Name(e, "Sound Card Upgrade");
    static const struct {
        const char* name;
        int32_t rating;
    } kCards[] = {
        {"Sound Blaster 1.5 or compatible", 3}, {"Sound Blaster 2.0 or compatible", 5},
        {"Sound Blaster PRO or compatible", 6}, {"Sound Blaster 16/AWE 32 or compatible", 8},
        {"Thunderboard or compatible", 6},      {"AdLib or compatible", 6},
        {"Roland or compatible", 6},            {"MS Sound System or compatible", 5},
        {"Compaq Waveform or compatible", 6},   {"New MS Sound System or compatible", 8},
    };
    int32_t rating = 0;
    for (const auto& card : kCards)
        if (SameText(f.equipment->soundCard, card.name)) rating = card.rating;
    if (f.equipment->waveOut[0]) ++rating;
    if (f.equipment->midiOut[0]) ++rating;
    e->rating = rating;
    e->usage = -1;
    e->tableId = 2594;
}

void Speakers(const UpgradeFacts&, UpgradeEntry* e) { Unknown(e, "Speaker Upgrade", 0); }
void SurgeProtector(const UpgradeFacts&, UpgradeEntry* e) { Unknown(e, "Surge Protector Upgrade", 0); }

void TapeDrive(const UpgradeFacts& f, UpgradeEntry* e)
{
    Name(e, "Tape Drive Upgrade");
    static const int32_t kByDisks[] = {0, 3, 7, 9};
    const uint32_t disks = f.equipment->hardDisks;
    e->rating = -1;
    e->usage = disks < 4 ? kByDisks[disks] : 10;
    e->tableId = 2597;
}

void Ups(const UpgradeFacts&, UpgradeEntry* e) { Unknown(e, "UPS Upgrade", 2598); }

void VideoCard(const UpgradeFacts& f, UpgradeEntry* e)
{
    Name(e, "Video Card Upgrade");
    const char bus = f.equipment->videoBus;
    e->rating = int32_t(f.equipment->videoClass) * 2 - 3 + ((bus == 'P' || bus == 'V') ? 1 : 0);
    e->usage = Mean(f.stats->videoLoad);
    e->tableId = 2599;
}

void WristPad(const UpgradeFacts& f, UpgradeEntry* e)
{
    Name(e, "Wrist Pad Upgrade");
    e->rating = -1;
    e->usage = PerMinute(f.stats->keystrokes, f.stats->secondsSampled);
}

// A gauge level: the value limited to 1..9.
int Level(double n)
{
    return n < 1 ? 1 : n > 9 ? 9 : int(n);
}

}  // namespace

const UpgradeKind kUpgradeKinds[kUpgradeKindCount] = {
    {"CDROM Drive", CdromDrive, 2551},  {"CPU", Cpu, 2552},
    {"Floppy Drive", FloppyDrive, 2553}, {"Hard Drive", HardDrive, 2554},
    {"Joystick", Joystick, 2555},       {"Keyboard", Keyboard, 2556},
    {"Memory", Memory, 2557},           {"Modem", Modem, 2558},
    {"Monitor", Monitor, 2559},         {"Motherboard", Motherboard, 2560},
    {"Mouse", Mouse, 2561},             {"Printer", Printer, 2562},
    {"Print Spooler", PrintSpooler, 2563}, {"Scanner", Scanner, 2564},
    {"Sound Card", SoundCard, 2565},    {"Speakers", Speakers, 2566},
    {"Surge Protector", SurgeProtector, 2567}, {"Tape Drive", TapeDrive, 2568},
    {"UPS", Ups, 2569},                 {"Video Card", VideoCard, 2570},
    {"Wrist Pad", WristPad, 2571},
};

int32_t CpuRating(float cpuPower)
{
    return int32_t(double(cpuPower) * 10 / 13.58);
}

int32_t LogRating(double amount, double best)
{
    // Below one unit the logarithm turns negative (and is undefined at 0): nothing to rate.
    if (!(amount >= 1.0)) return 0;
    // Multiplied by 10 before the division, as ln(16) x 10 / ln(32) is exactly 8 while
    // ln(16) / ln(32) x 10 falls just short of it.
    return int32_t(std::log(amount) * 10 / std::log(best));
}

int32_t PerMinute(uint32_t total, float secondsSampled)
{
    const double seconds = secondsSampled >= 1.0f ? double(secondsSampled) : 1.0;
    const double rate = double(total) * 60.0 / seconds;
    return rate >= double(INT32_MAX) ? INT32_MAX : int32_t(rate);
}

UpgradeLevels UpgradeGaugeLevels(int32_t rating, int32_t usage)
{
    UpgradeLevels levels;
    levels.current = rating == -1 ? kUnknownLevel : Level(rating);
    levels.usage = usage == -1 ? kUnknownLevel : Level(double((int64_t(usage) + 5) / 10));
    // What an upgrade could add: the room left above the rating, weighed by the usage.
    const double gain = std::trunc(double(10 - int64_t(rating)) * usage / 100 + 0.5);
    levels.possible = Level(rating + gain);
    levels.need = Level(gain);
    return levels;
}
