// The problem solver's conflict test: whether a present device of a class has a resource
// conflict. The device list comes from the platform (device_problems.h); which devices a
// class name stands for is decided here.
#pragma once
#include <vector>

#include "platform/system_devices.h"

// Whether a device's class is the class a category asks for: the same name, compared whole
// and without case ("cdrom" is "CDROM", "CDROMX" is not). "SCSI" also stands for
// "SCSIAdapter", the class the systems give SCSI host adapters.
bool IsConflictClass(const char* deviceClass, const char* className);

// Whether a device of class className (IsConflictClass) has problem number 12, a
// resource conflict. Other problems are not conflicts.
bool HasConflictOfClass(const std::vector<PresentDevice>& devices, const char* className);

// Win32: 1 when a present device of class className has a resource conflict, else 0; the
// devices as ListDeviceProblems reads them.
int ConflictFound(const char* className);
