// The Windows 95 dynamic performance data (HKEY_DYN_DATA\PerfStats\StatData) as a test
// fixture. Wine keeps the key volatile and empty; a test fills it and empties it again.
#pragma once
#include <windows.h>

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
