#include "equipment/enum_snapshot.h"

#include <cstring>

int SnapshotWalk(const EnumSnapshot& snapshot, const char* pattern, int field, DeviceRecord* records, int capacity,
                 int action)
{
    int count = 0;
    for (const SnapshotEnumerator& enumerator : snapshot.enumerators) {
        for (const SnapshotDevice& device : enumerator.devices) {
            if (field == kMatchDeviceId) {
                if (ContainsNoCase(device.name.c_str(), pattern)) return 1;
                continue;
            }
            for (const SnapshotInstance& instance : device.instances) {
                if (!InstanceMatches(field, pattern, enumerator.name.c_str(), device.name.c_str(),
                                     instance.name.c_str(), instance.record))
                    continue;
                if (TallyMatch(action, instance.record, records, capacity, &count)) return 1;
            }
        }
    }
    return field == kMatchDeviceId ? 0 : count;
}

static bool SameName(const std::string& name, const char* text, size_t length)
{
    if (name.size() != length) return false;
    for (size_t i = 0; i < length; ++i) {
        char a = name[i], b = text[i];
        if (a >= 'a' && a <= 'z') a = char(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z') b = char(b - 'a' + 'A');
        if (a != b) return false;
    }
    return true;
}

// The parts of a path below "ENUM" (at most three are looked at): how many there are, or
// -1 when the path does not start with the ENUM key.
struct PathParts {
    int count = 0;
    const char* start[4] = {};
    size_t length[4] = {};
};

static int SplitEnumPath(const char* keyPath, PathParts* parts)
{
    int index = -1;  // part -1 is "ENUM" itself
    const char* p = keyPath;
    for (;;) {
        const char* end = strchr(p, '\\');
        const size_t length = end ? size_t(end - p) : strlen(p);
        if (index < 0) {
            if (!SameName("ENUM", p, length)) return -1;
        } else if (index < 4) {
            parts->start[index] = p;
            parts->length[index] = length;
        }
        ++index;
        if (!end) break;
        p = end + 1;
    }
    parts->count = index;
    return index;
}

static const SnapshotEnumerator* FindEnumerator(const EnumSnapshot& snapshot, const PathParts& parts)
{
    for (const SnapshotEnumerator& e : snapshot.enumerators)
        if (SameName(e.name, parts.start[0], parts.length[0])) return &e;
    return nullptr;
}

static const SnapshotDevice* FindDevice(const SnapshotEnumerator& enumerator, const PathParts& parts)
{
    for (const SnapshotDevice& d : enumerator.devices)
        if (SameName(d.name, parts.start[1], parts.length[1])) return &d;
    return nullptr;
}

int SnapshotReadRecord(const EnumSnapshot& snapshot, DeviceRecord* record, const char* keyPath)
{
    memset(record, 0, sizeof *record);
    PathParts parts;
    if (SplitEnumPath(keyPath, &parts) != 3) return 0;
    const SnapshotEnumerator* enumerator = FindEnumerator(snapshot, parts);
    const SnapshotDevice* device = enumerator ? FindDevice(*enumerator, parts) : nullptr;
    if (!device) return 0;
    for (const SnapshotInstance& instance : device->instances) {
        if (!SameName(instance.name, parts.start[2], parts.length[2])) continue;
        *record = instance.record;
        memset(record->keyPath, 0, sizeof record->keyPath);
        strncpy(record->keyPath, keyPath, sizeof record->keyPath - 1);
        return 1;
    }
    return 0;
}

uint32_t SnapshotCountSubkeys(const EnumSnapshot& snapshot, const char* keyPath)
{
    PathParts parts;
    const int depth = SplitEnumPath(keyPath, &parts);
    if (depth == 0) return uint32_t(snapshot.enumerators.size());
    if (depth != 1 && depth != 2) return 0;
    const SnapshotEnumerator* enumerator = FindEnumerator(snapshot, parts);
    if (!enumerator) return 0;
    if (depth == 1) return uint32_t(enumerator->devices.size());
    const SnapshotDevice* device = FindDevice(*enumerator, parts);
    return device ? uint32_t(device->instances.size()) : 0;
}

static int Walk(const void* context, const char* pattern, int field, DeviceRecord* records, int capacity, int action)
{
    return SnapshotWalk(*static_cast<const EnumSnapshot*>(context), pattern, field, records, capacity, action);
}

static int ReadRecord(const void* context, DeviceRecord* record, const char* keyPath)
{
    return SnapshotReadRecord(*static_cast<const EnumSnapshot*>(context), record, keyPath);
}

static uint32_t CountSubkeys(const void* context, const char* keyPath)
{
    return SnapshotCountSubkeys(*static_cast<const EnumSnapshot*>(context), keyPath);
}

DeviceTree SnapshotTree(const EnumSnapshot* snapshot)
{
    return DeviceTree{snapshot, Walk, ReadRecord, CountSubkeys};
}
