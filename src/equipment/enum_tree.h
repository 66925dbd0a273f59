// The live device tree under HKEY_LOCAL_MACHINE\ENUM: the walker other tools call and the
// reader of the snapshot the registry stage works from. Every key is opened with KEY_READ
// and closed before the call returns, also on an early return. Nothing is cached.
#pragma once
#include <windows.h>

#include "equipment/device_tree.h"
#include "equipment/enum_snapshot.h"

// Reads the values of the instance key at keyPath (below HKEY_LOCAL_MACHINE), each cut to
// 255 bytes. 1 when the key opened; 0, with the record all zero, when it did not.
int ReadDeviceRecord(DeviceRecord* record, const char* keyPath);

// Walks ENUM\enumerator\device id\instance and tests field (MatchField) against pattern at
// each instance, or at each device id key for kMatchDeviceId. action (WalkAction): count,
// collect (at most capacity records into records, in walk order) or find. Returns the
// number of matches, or 1/0 for kWalkFind and for kMatchDeviceId whatever the action.
int WalkEnumTree(const char* pattern, int field, DeviceRecord* records, int capacity, int action);

// Subkeys of the key at keyPath below HKEY_LOCAL_MACHINE; 0 when it cannot be opened.
int CountSubkeys(const char* keyPath);

// Reads the whole tree once, in the walker's order, into snapshot (emptied first).
void ReadEnumSnapshot(EnumSnapshot* snapshot);

// The live registry as a DeviceTree.
DeviceTree LiveDeviceTree();
