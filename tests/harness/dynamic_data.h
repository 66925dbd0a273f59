// The Windows 95 dynamic data under HKEY_DYN_DATA as test fixtures: the performance
// counters (PerfStats\StatData) and the device nodes (Config Manager\Enum).
#pragma once
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

// The performance counters. Wine keeps the key volatile and empty; a test fills it and
// empties it again.
class DynamicDataFixture {
public:
    DynamicDataFixture()
    {
        if (RegCreateKeyExA(HKEY_DYN_DATA, "PerfStats\\StatData", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr))
            key_ = nullptr;
    }
    ~DynamicDataFixture()  // empties the key again
    {
        Empty();
        if (key_) RegCloseKey(key_);
    }
    DynamicDataFixture(const DynamicDataFixture&) = delete;
    DynamicDataFixture& operator=(const DynamicDataFixture&) = delete;

    bool IsOpen() const { return key_ != nullptr; }
    // Sets one counter, e.g. Set("KERNEL\\CPUUsage", 37).
    void Set(const char* name, DWORD value)
    {
        if (key_) RegSetValueExA(key_, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    // Sets the seven counters the tick reads, in the order of kNames.
    void SetAll(DWORD cpu, DWORD pageIns, DWORD pageOuts, DWORD bytesRead, DWORD bytesWritten, DWORD reads, DWORD writes)
    {
        const DWORD values[] = {cpu, pageIns, pageOuts, bytesRead, bytesWritten, reads, writes};
        for (int i = 0; i < 7; ++i) Set(kNames[i], values[i]);
    }
    void Empty()
    {
        for (int i = 0; key_ && i < 7; ++i) RegDeleteValueA(key_, kNames[i]);
    }

private:
    static constexpr const char* kNames[7] = {"KERNEL\\CPUUsage", "VMM\\cPageIns",    "VMM\\cPageOuts", "VFAT\\BReadsSec",
                                              "VFAT\\BWritesSec", "VFAT\\ReadsSec", "VFAT\\WritesSec"};
    HKEY key_ = nullptr;
};

// The Windows 95 device nodes of the dynamic data (HKEY_DYN_DATA "Config Manager\Enum") and
// the device keys under HKEY_LOCAL_MACHINE\Enum that their "HardWareKey" values name, as a
// test fixture. Wine keeps the Config Manager key volatile and, in a fresh session, empty.
// Everything the fixture adds or removes is put back when it goes out of scope, also after
// a failed assertion.
class ConfigManagerFixture {
public:
    ConfigManagerFixture()
    {
        HKEY key;
        hadEnumKey_ = RegOpenKeyExA(HKEY_DYN_DATA, kEnum, 0, KEY_READ, &key) == ERROR_SUCCESS;
        if (hadEnumKey_) RegCloseKey(key);
        hadMachineEnum_ = RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Enum", 0, KEY_READ, &key) == ERROR_SUCCESS;
        if (hadMachineEnum_) RegCloseKey(key);
    }
    ~ConfigManagerFixture()
    {
        for (const std::string& node : nodes_) RegDeleteKeyA(HKEY_DYN_DATA, (std::string(kEnum) + "\\" + node).c_str());
        if (hadEnumKey_) RegCloseKey(CreateKey(HKEY_DYN_DATA, kEnum));
        else RegDeleteKeyA(HKEY_DYN_DATA, kEnum);
        if (!hadMachineEnum_) {
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Enum");
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Enum");
        } else {
            for (const std::string& device : devices_) RegDeleteTreeA(HKEY_LOCAL_MACHINE, ("Enum\\" + device).c_str());
        }
    }
    ConfigManagerFixture(const ConfigManagerFixture&) = delete;
    ConfigManagerFixture& operator=(const ConfigManagerFixture&) = delete;

    // Adds device node "node": its "Problem" (four bytes of type problemType, REG_BINARY as
    // Windows 95 stores it, or REG_DWORD) and its "HardWareKey"; unless deviceClass is null,
    // the key Enum\<hardwareKey> with that "Class". False when a key could not be written.
    bool AddNode(const char* node, DWORD problem, DWORD problemType, const char* hardwareKey, const char* deviceClass)
    {
        nodes_.push_back(node);
        HKEY key = CreateKey(HKEY_DYN_DATA, (std::string(kEnum) + "\\" + node).c_str());
        if (!key) return false;
        bool written = !RegSetValueExA(key, "Problem", 0, problemType, reinterpret_cast<const BYTE*>(&problem), sizeof problem) &&
                       !RegSetValueExA(key, "HardWareKey", 0, REG_SZ, reinterpret_cast<const BYTE*>(hardwareKey),
                                       DWORD(strlen(hardwareKey) + 1));
        RegCloseKey(key);
        if (!deviceClass) return written;
        devices_.push_back(hardwareKey);
        key = CreateKey(HKEY_LOCAL_MACHINE, ("Enum\\" + std::string(hardwareKey)).c_str());
        if (!key) return false;
        written = written && !RegSetValueExA(key, "Class", 0, REG_SZ, reinterpret_cast<const BYTE*>(deviceClass),
                                             DWORD(strlen(deviceClass) + 1));
        RegCloseKey(key);
        return written;
    }
    // Removes the Config Manager\Enum key itself (put back at the end when it was there).
    void RemoveEnumKey() { RegDeleteKeyA(HKEY_DYN_DATA, kEnum); }

private:
    static HKEY CreateKey(HKEY root, const char* path)
    {
        HKEY key;
        return RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ? nullptr : key;
    }
    static constexpr const char* kEnum = "Config Manager\\Enum";
    bool hadEnumKey_ = false, hadMachineEnum_ = false;
    std::vector<std::string> nodes_, devices_;
};
