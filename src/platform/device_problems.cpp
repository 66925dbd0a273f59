#include <windows.h>

#include <cstdio>

#include "platform/device_problems.h"

static const char kConfigManagerEnum[] = "Config Manager\\Enum";

// A string value into text (size bytes, always ended); false when missing, not a string,
// empty or too long for text.
static bool ReadText(HKEY key, const char* name, char* text, DWORD size)
{
    DWORD type = 0, length = size - 1;
    ZeroMemory(text, size);
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &length) != ERROR_SUCCESS) return false;
    return type == REG_SZ && text[0] != '\0';
}

// The node's "Problem": four bytes, stored as binary data by Windows 95 or as a DWORD;
// anything else reads as no problem.
static uint32_t ReadProblem(HKEY node)
{
    DWORD value = 0, type = 0, length = sizeof value;
    if (RegQueryValueExA(node, "Problem", nullptr, &type, reinterpret_cast<BYTE*>(&value), &length) != ERROR_SUCCESS ||
        length != sizeof value || (type != REG_BINARY && type != REG_DWORD))
        return 0;
    return value;
}

// The "Class" of HKEY_LOCAL_MACHINE\Enum\<hardwareKey>; empty when it cannot be read.
static std::string ReadDeviceClass(const char* hardwareKey)
{
    char path[600];
    if (snprintf(path, sizeof path, "Enum\\%s", hardwareKey) >= int(sizeof path)) return {};
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    char className[256];
    const bool read = ReadText(key, "Class", className, sizeof className);
    RegCloseKey(key);
    return read ? className : "";
}

// The dynamic data's device nodes; false when its key is missing or holds no node (some
// systems keep the key empty).
static bool ReadConfigManagerNodes(std::vector<PresentDevice>* devices)
{
    HKEY root;
    if (RegOpenKeyExA(HKEY_DYN_DATA, kConfigManagerEnum, 0, KEY_READ, &root) != ERROR_SUCCESS) return false;
    bool listed = false;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD length = sizeof name;
        const LONG result = RegEnumKeyExA(root, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result != ERROR_SUCCESS) continue;  // a name too long to read: passed over
        listed = true;
        HKEY node;
        if (RegOpenKeyExA(root, name, 0, KEY_READ, &node) != ERROR_SUCCESS) continue;
        PresentDevice device;
        device.problem = ReadProblem(node);
        char hardwareKey[256];
        if (ReadText(node, "HardWareKey", hardwareKey, sizeof hardwareKey)) device.deviceClass = ReadDeviceClass(hardwareKey);
        RegCloseKey(node);
        devices->push_back(device);
    }
    RegCloseKey(root);
    return listed;
}

DeviceProblemSource ListDeviceProblems(std::vector<PresentDevice>* devices)
{
    devices->clear();
    if (ReadConfigManagerNodes(devices)) return kProblemsFromConfigManager;
    devices->clear();
    return ListPresentDevices(devices) ? kProblemsFromSystem : kProblemsUnavailable;
}
