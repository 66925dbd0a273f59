// Times the registry stage of the equipment inventory on a large device tree: 5,000
// device instances written under HKEY_LOCAL_MACHINE\ENUM (20 enumerators, 25 device ids
// each, 10 instances each, with the values a Windows 95 tree holds), against one full walk
// of the same tree in the same run (a class walk that matches nothing, so every instance
// record is read). The stage reads the tree once into a snapshot and runs its walks and
// probes over it; the same stage with every walk and probe going to the registry is timed
// once for comparison. Both must fill the same record. The tree is removed at the end.
#include <windows.h>

#include "bench_targets.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "equipment/classifiers.h"
#include "equipment/enum_tree.h"
#include "equipment/inventory.h"

static const int kRounds = 5;

static const char* const kEnumerators[] = {"Root",    "BIOS",    "PCI",     "ISAPNP", "SCSI", "ESDI",   "FLOP",
                                           "MF",      "Monitor", "Network", "PCMCIA", "SERENUM", "LPTENUM", "HTREE",
                                           "VIRTUAL", "LEGACY",  "DOCK",    "APM",    "PNPBIOS", "INFRARED"};
static const char* const kClasses[] = {"System", "Ports",    "hdc",   "MEDIA", "Net",   "DiskDrive",
                                       "Display", "Monitor", "Keyboard", "Mouse", "CDROM", "Modem"};

static double NowMs()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(now.QuadPart) / double(frequency.QuadPart);
}

static double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

static void SetText(HKEY key, const char* name, const char* value)
{
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), DWORD(strlen(value) + 1));
}

static int MakeTree()
{
    int instances = 0;
    for (int e = 0; e < 20; ++e) {
        for (int d = 0; d < 25; ++d) {
            char deviceId[64];
            if (e < 2) {
                snprintf(deviceId, sizeof deviceId, "*PNP%04X", 0x0C00 + d);
            } else {
                snprintf(deviceId, sizeof deviceId, "VEN_%04X&DEV_%04X", 0x1000 + e, 0x2000 + d);
            }
            for (int i = 0; i < 10; ++i) {
                char path[256], text[128];
                snprintf(path, sizeof path, "ENUM\\%s\\%s\\%04d", kEnumerators[e], deviceId, i);
                HKEY key;
                if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
                    ERROR_SUCCESS)
                    continue;
                const int n = (e * 25 + d) * 10 + i;
                SetText(key, "Class", kClasses[n % 12]);
                snprintf(text, sizeof text, "Bench device %d of %s", n, kEnumerators[e]);
                SetText(key, "DeviceDesc", text);
                snprintf(text, sizeof text, "%s\\%s", kEnumerators[e], deviceId);
                SetText(key, "HardwareID", text);
                SetText(key, "Mfg", "(Standard system devices)");
                SetText(key, "HWRevision", "002");
                if (e == 4) {
                    snprintf(text, sizeof text, "%d", i % 8);
                    SetText(key, "SCSITargetID", text);
                    SetText(key, "SCSILUN", "0");
                }
                RegCloseKey(key);
                ++instances;
            }
        }
    }
    return instances;
}

static double TimeFullWalk()
{
    const double start = NowMs();
    WalkEnumTree("No Such Class", kMatchClass, nullptr, 0, kWalkCount);
    return NowMs() - start;
}

static double TimeStage(EquipmentInfo* info)
{
    memset(info, 0, sizeof *info);
    EquipmentInfo* saved = gEquipmentInfo;
    gEquipmentInfo = info;
    const double start = NowMs();
    ReadRegistryEquipment(nullptr);
    const double took = NowMs() - start;
    gEquipmentInfo = saved;
    return took;
}

int main()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "ENUM");
    const double madeFrom = NowMs();
    const int instances = MakeTree();
    printf("equipment_bench: %d device instances written under HKEY_LOCAL_MACHINE\\ENUM in %.0f ms\n", instances,
           NowMs() - madeFrom);
    if (instances != 5000) {
        printf("equipment_bench: the tree could not be written\n");
        return 1;
    }

    static EquipmentInfo fromSnapshot, fromRegistry;
    TimeFullWalk();  // warm-up
    std::vector<double> walks, stages;
    for (int round = 0; round < kRounds; ++round) {
        walks.push_back(TimeFullWalk());
        stages.push_back(TimeStage(&fromSnapshot));
    }

    // The same stage with every walk and probe going to the registry, once.
    DeviceRecord scratch;
    const RegistryFacts facts = ReadRegistryFacts();
    const DeviceTree live = LiveDeviceTree();
    double start = NowMs();
    RunRegistrySteps(RegistryContext{live, facts, &scratch, &fromRegistry}, nullptr, nullptr);
    const double naive = NowMs() - start;
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "ENUM");
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "ENUM");

    const bool same = memcmp(&fromSnapshot, &fromRegistry, sizeof fromSnapshot) == 0;
    const double ratio = Median(stages) / Median(walks);
    printf("full walk            median %8.1f ms\n", Median(walks));
    printf("registry stage       median %8.1f ms   ratio %.2f (target at most 3: %s)\n", Median(stages), ratio,
           CheckTarget("registry stage at most 3 full walks", ratio <= 3.0));
    printf("stage, live walks    once   %8.1f ms   ratio %.1f\n", naive, naive / Median(walks));
    printf("rounds:");
    for (int i = 0; i < kRounds; ++i) printf(" %.0f/%.0f", stages[i], walks[i]);
    printf(" ms (stage/walk); same record both ways: %s\n", same ? "yes" : "NO");
    CheckTarget("same record both ways", same);
    return FinishBenchmark("equipment_bench");
}
