#include <windows.h>

#include "equipment/enum_tree.h"

#include <cstdio>
#include <cstring>

int ReadDeviceRecord(DeviceRecord* record, const char* keyPath)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        memset(record, 0, sizeof *record);
        return 0;
    }
    ResetDeviceRecord(record, keyPath);
    for (int i = 0; i < kDeviceValueCount; ++i) {
        char text[kDeviceValueLength + 1] = {};
        DWORD length = kDeviceValueLength;
        if (RegQueryValueExA(key, kDeviceValueNames[i], nullptr, nullptr, reinterpret_cast<BYTE*>(text), &length) !=
            ERROR_SUCCESS)
            continue;  // missing, or longer than 255 bytes
        SetDeviceRecordValue(record, i, text);
    }
    RegCloseKey(key);
    return 1;
}

// One pass over the tree in the walker's order. The visitor sees each device id key before
// its instances are opened and may skip them or end the pass; then each readable instance.
struct EnumVisitor {
    enum Answer { kEnter, kSkip, kStop };
    virtual void Enumerator(const char*) {}
    virtual Answer Device(const char* enumerator, const char* deviceId) = 0;
    virtual Answer Instance(const char* enumerator, const char* deviceId, const char* instance,
                            const DeviceRecord& record) = 0;
};

// Calls visit for each subkey name of key (names of up to 255 characters; a longer one is
// passed over, as the registry refuses it) until visit answers kStop. Returns that answer.
template <typename Visit>
static EnumVisitor::Answer ForEachSubkey(HKEY key, Visit visit)
{
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD length = sizeof name;
        const LONG result = RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) return EnumVisitor::kEnter;
        if (result != ERROR_SUCCESS) continue;
        if (visit(name) == EnumVisitor::kStop) return EnumVisitor::kStop;
    }
}

static HKEY OpenRead(const char* path)
{
    HKEY key;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) == ERROR_SUCCESS ? key : nullptr;
}

static void VisitEnumTree(EnumVisitor* visitor)
{
    HKEY root = OpenRead("ENUM");
    if (!root) return;
    ForEachSubkey(root, [&](const char* enumerator) {
        char enumeratorPath[600];
        snprintf(enumeratorPath, sizeof enumeratorPath, "ENUM\\%s", enumerator);
        HKEY enumeratorKey = OpenRead(enumeratorPath);
        if (!enumeratorKey) return EnumVisitor::kEnter;
        visitor->Enumerator(enumerator);
        EnumVisitor::Answer answer = ForEachSubkey(enumeratorKey, [&](const char* deviceId) {
            EnumVisitor::Answer seen = visitor->Device(enumerator, deviceId);
            if (seen != EnumVisitor::kEnter) return seen;
            char devicePath[600];
            snprintf(devicePath, sizeof devicePath, "%s\\%s", enumeratorPath, deviceId);
            HKEY deviceKey = OpenRead(devicePath);
            if (!deviceKey) return EnumVisitor::kEnter;
            seen = ForEachSubkey(deviceKey, [&](const char* instance) {
                char instancePath[900];
                snprintf(instancePath, sizeof instancePath, "%s\\%s", devicePath, instance);
                DeviceRecord record;
                if (!ReadDeviceRecord(&record, instancePath)) return EnumVisitor::kEnter;
                return visitor->Instance(enumerator, deviceId, instance, record);
            });
            RegCloseKey(deviceKey);
            return seen;
        });
        RegCloseKey(enumeratorKey);
        return answer;
    });
    RegCloseKey(root);
}

namespace {
struct WalkVisitor : EnumVisitor {
    const char* pattern;
    int field;
    DeviceRecord* records;
    int capacity;
    int action;
    int count = 0;
    bool found = false;

    Answer Device(const char*, const char* deviceId) override
    {
        if (field != kMatchDeviceId) return kEnter;
        found = ContainsNoCase(deviceId, pattern);
        return found ? kStop : kSkip;
    }
    Answer Instance(const char* enumerator, const char* deviceId, const char* instance,
                    const DeviceRecord& record) override
    {
        if (!InstanceMatches(field, pattern, enumerator, deviceId, instance, record)) return kEnter;
        found = TallyMatch(action, record, records, capacity, &count);
        return found ? kStop : kEnter;
    }
};

struct SnapshotReader : EnumVisitor {
    EnumSnapshot* snapshot;

    void Enumerator(const char* name) override { snapshot->enumerators.push_back(SnapshotEnumerator{name, {}}); }
    Answer Device(const char*, const char* deviceId) override
    {
        snapshot->enumerators.back().devices.push_back(SnapshotDevice{deviceId, {}});
        return kEnter;
    }
    Answer Instance(const char*, const char*, const char* instance, const DeviceRecord& record) override
    {
        snapshot->enumerators.back().devices.back().instances.push_back(SnapshotInstance{instance, record});
        return kEnter;
    }
};
}  // namespace

int WalkEnumTree(const char* pattern, int field, DeviceRecord* records, int capacity, int action)
{
    WalkVisitor walk;
    walk.pattern = pattern;
    walk.field = field;
    walk.records = records;
    walk.capacity = capacity;
    walk.action = action;
    VisitEnumTree(&walk);
    if (field == kMatchDeviceId || action == kWalkFind) return walk.found ? 1 : 0;
    return walk.count;
}

int CountSubkeys(const char* keyPath)
{
    HKEY key = OpenRead(keyPath);
    if (!key) return 0;
    DWORD count = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr) != ERROR_SUCCESS)
        count = 0;
    RegCloseKey(key);
    return int(count);
}

void ReadEnumSnapshot(EnumSnapshot* snapshot)
{
    snapshot->enumerators.clear();
    SnapshotReader reader;
    reader.snapshot = snapshot;
    VisitEnumTree(&reader);
}

static int LiveWalk(const void*, const char* pattern, int field, DeviceRecord* records, int capacity, int action)
{
    return WalkEnumTree(pattern, field, records, capacity, action);
}

static int LiveRead(const void*, DeviceRecord* record, const char* keyPath)
{
    return ReadDeviceRecord(record, keyPath);
}

static uint32_t LiveCount(const void*, const char* keyPath)
{
    return uint32_t(CountSubkeys(keyPath));
}

DeviceTree LiveDeviceTree()
{
    return DeviceTree{nullptr, LiveWalk, LiveRead, LiveCount};
}
