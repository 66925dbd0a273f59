#include "equipment/device_record.h"

#include <cstdio>
#include <cstring>

const char* const kDeviceValueNames[kDeviceValueCount] = {
    "Class", "DeviceDesc", "HWRevision", "HardwareID", "Mfg", "BusType",
    "BIOSDate", "BIOSName", "BIOSVersion", "SCSILUN", "SCSITargetID",
};

static void CopyBounded(char* destination, const char* text)
{
    snprintf(destination, kDeviceValueLength + 1, "%s", text ? text : "");
}

void ResetDeviceRecord(DeviceRecord* record, const char* keyPath)
{
    memset(record, 0, sizeof *record);
    record->scsiLun = -1;
    record->scsiTargetId = -1;
    CopyBounded(record->keyPath, keyPath);
}

// A decimal number when the text starts with a digit; -1 otherwise.
static int32_t ScsiNumber(const char* text)
{
    if (*text < '0' || *text > '9') return -1;
    int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > INT32_MAX) return INT32_MAX;
    }
    return int32_t(value);
}

// A decimal number such as "1.25" at the start of the text (blanks and a sign allowed);
// 0 when there is none. Read by hand so that "0x10", "inf" or the locale change nothing.
static float DecimalNumber(const char* text)
{
    while (*text == ' ') ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    double value = 0, scale = 1;
    for (; *text >= '0' && *text <= '9'; ++text) value = value * 10 + (*text - '0');
    if (*text == '.') {
        for (++text; *text >= '0' && *text <= '9'; ++text) value += (*text - '0') * (scale /= 10);
    }
    if (value > 3.0e38) value = 3.0e38;  // stays a float
    return float(negative ? -value : value);
}

void SetDeviceRecordValue(DeviceRecord* record, int index, const char* text)
{
    char value[kDeviceValueLength + 1];
    CopyBounded(value, text);
    switch (index) {
    case 0: CopyBounded(record->deviceClass, value); break;
    case 1: CopyBounded(record->description, value); break;
    case 2: record->hardwareRevision = DecimalNumber(value); break;
    case 3: CopyBounded(record->hardwareId, value); break;
    case 4: CopyBounded(record->manufacturer, value); break;
    case 5: CopyBounded(record->busType, value); break;
    case 6: CopyBounded(record->biosDate, value); break;
    case 7: CopyBounded(record->biosName, value); break;
    case 8: CopyBounded(record->biosVersion, value); break;
    case 9: record->scsiLun = ScsiNumber(value); break;
    case 10: record->scsiTargetId = ScsiNumber(value); break;
    default: break;
    }
}

static char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

bool ContainsNoCase(const char* text, const char* pattern)
{
    if (!text || !pattern) return false;
    for (;; ++text) {
        size_t i = 0;
        while (pattern[i] && Upper(text[i]) == Upper(pattern[i])) ++i;
        if (!pattern[i]) return true;
        if (!*text) return false;
    }
}

bool InstanceMatches(int field, const char* pattern, const char* enumerator, const char* deviceId,
                     const char* instance, const DeviceRecord& record)
{
    switch (field) {
    case kMatchInstance: return ContainsNoCase(instance, pattern);
    case kMatchClass: return ContainsNoCase(record.deviceClass, pattern);
    case kMatchDescription: return ContainsNoCase(record.description, pattern);
    case kMatchScsiTarget: {
        if (record.scsiTargetId == -1) return false;
        // The whole id: pattern "1" must not match id 12.
        char number[16];
        snprintf(number, sizeof number, "%d", int(record.scsiTargetId));
        return pattern && strcmp(number, pattern) == 0;
    }
    case kMatchHardwareId: return ContainsNoCase(record.hardwareId, pattern);
    case kMatchAnyName:
        return ContainsNoCase(enumerator, pattern) || ContainsNoCase(deviceId, pattern) ||
               ContainsNoCase(instance, pattern) || ContainsNoCase(record.deviceClass, pattern);
    default: return false;
    }
}

bool TallyMatch(int action, const DeviceRecord& record, DeviceRecord* records, int capacity, int* count)
{
    if (action == kWalkFind) return true;
    if (action == kWalkCollect && records && *count < capacity) records[*count] = record;
    ++*count;
    return false;
}
