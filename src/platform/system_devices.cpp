#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>

#include "platform/system_devices.h"

// A registry property of the device as bytes, followed by two NULs so that a string or a
// list of strings always ends; empty when the property is missing.
static std::vector<char> ReadProperty(HDEVINFO set, SP_DEVINFO_DATA* device, DWORD property)
{
    std::vector<char> data(512);
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD type = 0, required = 0;
        if (SetupDiGetDeviceRegistryPropertyA(set, device, property, &type, reinterpret_cast<BYTE*>(data.data()),
                                              DWORD(data.size() - 2), &required)) {
            data.resize(required);
            data.push_back('\0');
            data.push_back('\0');
            return data;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || required == 0 || required > 65536) break;
        data.assign(size_t(required) + 2, '\0');
    }
    return {};
}

// Each string of a list of strings (each ends with a NUL, an empty one ends the list).
static void AppendStrings(const std::vector<char>& list, std::vector<std::string>* strings)
{
    for (size_t at = 0; at < list.size() && list[at];) {
        const std::string text(&list[at]);
        strings->push_back(text);
        at += text.size() + 1;
    }
}

bool ListPresentDevices(std::vector<PresentDevice>* devices)
{
    devices->clear();
    HDEVINFO set = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE) return false;
    SP_DEVINFO_DATA node = {};
    node.cbSize = sizeof node;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &node); ++index) {
        PresentDevice device;
        const std::vector<char> className = ReadProperty(set, &node, SPDRP_CLASS);
        if (!className.empty()) device.deviceClass = className.data();
        AppendStrings(ReadProperty(set, &node, SPDRP_HARDWAREID), &device.hardwareIds);
        AppendStrings(ReadProperty(set, &node, SPDRP_COMPATIBLEIDS), &device.hardwareIds);
        // The problem number means something only while the node says it has a problem; a
        // system that answers without filling the two words (Wine does) reports none.
        ULONG status = 0, problem = 0;
        if (CM_Get_DevNode_Status(&status, &problem, node.DevInst, 0) == CR_SUCCESS && (status & DN_HAS_PROBLEM))
            device.problem = problem;
        devices->push_back(device);
    }
    SetupDiDestroyDeviceInfoList(set);
    return true;
}
