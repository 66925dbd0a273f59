// The device tree under HKEY_LOCAL_MACHINE\ENUM held in memory: enumerators, device id keys
// and the readable instances with their records, in the registry's order. The registry
// stage reads it once and runs its hundred-odd walks and probes over it; walks over the
// snapshot answer exactly as walks over the registry it was read from.
#pragma once
#include <string>
#include <vector>

#include "equipment/device_record.h"
#include "equipment/device_tree.h"

struct SnapshotInstance {
    std::string name;
    DeviceRecord record;
};

struct SnapshotDevice {
    std::string name;  // every device id key, also one whose instances could not be read
    std::vector<SnapshotInstance> instances;
};

struct SnapshotEnumerator {
    std::string name;  // only enumerators whose key opened
    std::vector<SnapshotDevice> devices;
};

struct EnumSnapshot {
    std::vector<SnapshotEnumerator> enumerators;  // empty when ENUM is missing
};

// The walk of DeviceTree::walk over the snapshot.
int SnapshotWalk(const EnumSnapshot& snapshot, const char* pattern, int field, DeviceRecord* records, int capacity,
                 int action);

// The record of the instance at "ENUM\enumerator\device id\instance" (names compared
// without case, as the registry does), with keyPath as given: 1, or 0 and a zero record.
int SnapshotReadRecord(const EnumSnapshot& snapshot, DeviceRecord* record, const char* keyPath);

// Subkeys of "ENUM", "ENUM\enumerator" or "ENUM\enumerator\device id"; 0 for any other
// path and for keys the snapshot does not hold.
uint32_t SnapshotCountSubkeys(const EnumSnapshot& snapshot, const char* keyPath);

// The snapshot as a DeviceTree; it must outlive the tree.
DeviceTree SnapshotTree(const EnumSnapshot* snapshot);
