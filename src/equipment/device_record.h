// One device instance of the registry's device tree (below HKEY_LOCAL_MACHINE\ENUM: an
// enumerator key, a device id key, an instance key) and the match rule of the walks over
// that tree. Portable: the Win32 reader fills records from the registry, the snapshot
// walks test them.
#pragma once
#include <cstddef>
#include <cstdint>

struct DeviceRecord {
    char keyPath[256];      // below HKEY_LOCAL_MACHINE, such as ENUM\BIOS\*PNP0500\00
    char deviceClass[256];  // "Class"
    char description[256];  // "DeviceDesc"
    float hardwareRevision; // "HWRevision" read as a decimal number
    char hardwareId[256];   // "HardwareID"
    char manufacturer[256]; // "Mfg"
    char busType[256];      // "BusType"
    char biosDate[256];     // "BIOSDate"
    char biosName[256];     // "BIOSName"
    char biosVersion[256];  // "BIOSVersion"
    int32_t scsiLun;        // "SCSILUN", -1 when absent or not a number
    int32_t scsiTargetId;   // "SCSITargetID", -1 when absent or not a number
};
static_assert(sizeof(DeviceRecord) == 9 * 256 + 12, "DeviceRecord layout");

// Values read for a record are cut to this many bytes.
constexpr size_t kDeviceValueLength = 255;

// The registry values of a record, in the order they are read.
constexpr int kDeviceValueCount = 11;
extern const char* const kDeviceValueNames[kDeviceValueCount];

// Empties the record: zero everywhere, both SCSI numbers -1, key path set (cut to 255).
void ResetDeviceRecord(DeviceRecord* record, const char* keyPath);

// Stores value number index of kDeviceValueNames read as text (at most kDeviceValueLength
// bytes are kept). HWRevision is read as a decimal number; the SCSI numbers only when the
// text starts with a digit (otherwise they stay -1), and saturate at 2147483647.
void SetDeviceRecordValue(DeviceRecord* record, int index, const char* text);

// What a walk compares its pattern with.
enum MatchField {
    kMatchInstance = 1,    // instance key name
    kMatchClass = 2,       // "Class"
    kMatchDescription = 3, // "DeviceDesc"
    kMatchScsiTarget = 4,  // SCSI target id as decimal text, the whole id; an absent id never matches
    kMatchHardwareId = 5,  // "HardwareID"
    kMatchDeviceId = 6,    // device id key name, tested before its instances are read
    kMatchAnyName = 7,     // enumerator, device id, instance key name or class
};

// What a walk does with a match.
enum WalkAction {
    kWalkCount = 10,   // count the matches
    kWalkCollect = 11, // count, and copy each match's record into the caller's array
    kWalkFind = 12,    // stop at the first match and answer 1
};

// Case-insensitive (ASCII) substring test: text upper-cased contains pattern upper-cased.
// An empty pattern is in every text; a null text or pattern matches nothing.
bool ContainsNoCase(const char* text, const char* pattern);

// Whether an instance matches pattern in field (1..5 and 7; 6 is tested on the device id
// key alone, with ContainsNoCase): the SCSI target id as a whole number, every other field
// as a substring (ContainsNoCase). Unknown fields never match.
bool InstanceMatches(int field, const char* pattern, const char* enumerator, const char* deviceId,
                     const char* instance, const DeviceRecord& record);

// Applies a walk's action to one matching record: counts it, copies it into records at the
// current count while that is below capacity (kWalkCollect), and answers true when the
// walk stops here (kWalkFind). Any other action counts.
bool TallyMatch(int action, const DeviceRecord& record, DeviceRecord* records, int capacity, int* count);
