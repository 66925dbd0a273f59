// A device tree the registry stage reads: the live registry (enum_tree.h) or a snapshot of
// it taken once for the stage (enum_snapshot.h). Both answer with the same semantics.
#pragma once
#include <cstdint>

#include "equipment/device_record.h"

struct DeviceTree {
    const void* context;
    // Walks every instance (every device id key for kMatchDeviceId) and applies action to
    // the matches; kWalkCollect copies at most capacity records into records. Returns the
    // number of matches (all of them, also those past capacity), or 1/0 for kWalkFind and
    // for kMatchDeviceId whatever the action.
    int (*walk)(const void* context, const char* pattern, int field, DeviceRecord* records, int capacity,
                int action);
    // Reads the instance at keyPath (below HKEY_LOCAL_MACHINE): 1 and the record filled, or
    // 0 and the record all zero.
    int (*readRecord)(const void* context, DeviceRecord* record, const char* keyPath);
    // Subkeys of the key at keyPath, 0 when it does not open.
    uint32_t (*countSubkeys)(const void* context, const char* keyPath);
};
