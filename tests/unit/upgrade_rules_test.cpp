// The upgrade advisor's ratings, usages and gauge levels.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "hardware/upgrade_rules.h"

namespace {

struct Machine {
    EquipmentInfo equipment = {};
    SystemStats stats = {};
    uint32_t joysticks = 0;
    UpgradeEntry Build(const char* kind)
    {
        UpgradeEntry entry = {};
        for (const UpgradeKind& k : kUpgradeKinds)
            if (strcmp(k.name, kind) == 0) k.build(UpgradeFacts{&equipment, &stats, joysticks}, &entry);
        EXPECT_NE(entry.name[0], '\0') << "no kind " << kind;
        return entry;
    }
};

}  // namespace

TEST(UpgradeLevels, UnknownsAndLimits)
{
    const struct {
        int32_t rating, usage;
        UpgradeLevels levels;  // current, possible, usage, need
    } cases[] = {
        {-1, -1, {kUnknownLevel, 1, kUnknownLevel, 1}},  // nothing known: the need stays at its floor
        {4, 35, {4, 6, 4, 2}},                           // 4 + trunc(6 x 35 / 100 + 0.5)
        {12, 100, {9, 9, 9, 1}},
        {0, 100, {1, 9, 9, 9}},
        {5, 4, {5, 5, 1, 1}},
        {5, 96, {5, 9, 9, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "rating " << c.rating << ", usage " << c.usage);
        const UpgradeLevels l = UpgradeGaugeLevels(c.rating, c.usage), want = c.levels;
        EXPECT_EQ(std::vector<int>({l.current, l.possible, l.usage, l.need}),
                  std::vector<int>({want.current, want.possible, want.usage, want.need}));
    }
}

TEST(UpgradeRatings, PowerAndLogarithmsInTheirWrittenOrder)
{
    EXPECT_EQ(CpuRating(2.1525f), 1);
    EXPECT_EQ(CpuRating(9.59f), 7);
    EXPECT_EQ(LogRating(16, 32), 8);   // ln 16 / ln 32 x 10 would fall just short of 8
    EXPECT_EQ(LogRating(4, 32), 4);
    EXPECT_EQ(LogRating(8, 32), 6);
    EXPECT_EQ(LogRating(64, 32), 12);
    EXPECT_EQ(LogRating(0, 32), 0);    // no logarithm of nothing
    EXPECT_EQ(LogRating(0.5, 32), 0);

    Machine m;
    EXPECT_EQ(m.Build("Memory").rating, 0);
    EXPECT_EQ(m.Build("Hard Drive").rating, 0);
    m.equipment.ramMegabytes = 16;
    EXPECT_EQ(m.Build("Memory").rating, 8);
    // Two 4 GB disks (each held at the 32-bit limit) add up past 32 bits.
    m.equipment.hardDiskSizes[0] = m.equipment.hardDiskSizes[1] = 0xFFFFFFFFu;
    EXPECT_EQ(m.Build("Hard Drive").rating, 10);
    m.equipment.hardDiskSizes[1] = 0;
    m.equipment.hardDiskSizes[0] = 540000000;
    EXPECT_EQ(m.Build("Hard Drive").rating, 7);  // ln 540 x 10 / ln 4000
}

TEST(UpgradeRatings, NamesAndBuses)
{
    Machine m;
    m.equipment.keys = 101;
    strcpy(m.equipment.keyboard, "IBM Enhanced 101 key style");
    EXPECT_EQ(m.Build("Keyboard").rating, 9);
    strcpy(m.equipment.keyboard, "Microsoft Natural Keyboard");
    m.equipment.keys = 84;
    EXPECT_EQ(m.Build("Keyboard").rating, 4);

    strcpy(m.equipment.mouse, "Logitech mouse, Microsoft compatible");  // the later match wins
    EXPECT_EQ(m.Build("Mouse").rating, 2);
    strcpy(m.equipment.mouse, "Standard mouse");
    EXPECT_EQ(m.Build("Mouse").rating, 0);

    strcpy(m.equipment.soundCard, "sound blaster pro OR COMPATIBLE");  // whole name, any case
    EXPECT_EQ(m.Build("Sound Card").rating, 6);
    strcpy(m.equipment.waveOut, "wave");
    strcpy(m.equipment.midiOut, "midi");
    EXPECT_EQ(m.Build("Sound Card").rating, 8);
    strcpy(m.equipment.soundCard, "Sound Blaster PRO");  // not the whole name
    EXPECT_EQ(m.Build("Sound Card").rating, 2);

    EXPECT_EQ(m.Build("Motherboard").rating, 2);
    m.equipment.busTypes.flags[6] = 1;
    EXPECT_EQ(m.Build("Motherboard").rating, 9);
    m.equipment.busTypes.flags[9] = 1;  // a PCMCIA flag after PCI
    EXPECT_EQ(m.Build("Motherboard").rating, 8);

    strcpy(m.equipment.modem, "Sportster 28800 Fax");
    EXPECT_EQ(m.Build("Modem").rating, 9);
    strcpy(m.equipment.modem, "Modem 16800");  // a speed the ratings do not list
    EXPECT_EQ(m.Build("Modem").rating, 0);

    m.equipment.videoClass = 4;
    EXPECT_EQ(m.Build("Video Card").rating, 5);
    m.equipment.videoBus = 'P';
    EXPECT_EQ(m.Build("Video Card").rating, 6);
    m.joysticks = 1;
    EXPECT_EQ(m.Build("Joystick").rating, 6);
}

TEST(UpgradeUsage, MeansPerMinuteAndDiskCounts)
{
    Machine m;
    m.stats.keystrokes = 6000;
    m.stats.secondsSampled = 3600;
    EXPECT_EQ(m.Build("Keyboard").usage, 100);  // 100 keystrokes a minute
    EXPECT_EQ(m.Build("Wrist Pad").usage, 100);
    m.stats.secondsSampled = 0;
    EXPECT_EQ(PerMinute(5, 0), 300);  // nothing sampled counts as one second
    m.stats.cpuUsage[40] = 3;
    m.stats.cpuUsage[70] = 1;
    EXPECT_EQ(m.Build("CPU").usage, 47);  // (120 + 70) / 4
    m.stats.diskFree[30] = 1;
    EXPECT_EQ(m.Build("Hard Drive").usage, 70);
    const int32_t byDisks[] = {0, 3, 7, 9, 10, 10};
    for (uint32_t disks = 0; disks < 6; ++disks) {
        m.equipment.hardDisks = disks;
        EXPECT_EQ(m.Build("Tape Drive").usage, byDisks[disks]) << disks << " disks";
    }
    const UpgradeEntry scanner = m.Build("Scanner");
    EXPECT_EQ(scanner.rating, -1);
    EXPECT_EQ(scanner.usage, -1);
    EXPECT_EQ(scanner.tableId, 2593u);
}
