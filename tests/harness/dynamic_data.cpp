#include "dynamic_data.h"

static const char* const kCounterNames[] = {"KERNEL\\CPUUsage", "VMM\\cPageIns",    "VMM\\cPageOuts", "VFAT\\BReadsSec",
                                            "VFAT\\BWritesSec", "VFAT\\ReadsSec", "VFAT\\WritesSec"};

DynamicDataFixture::DynamicDataFixture()
{
    if (RegCreateKeyExA(HKEY_DYN_DATA, "PerfStats\\StatData", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr) !=
        ERROR_SUCCESS)
        key_ = nullptr;
}

DynamicDataFixture::~DynamicDataFixture()
{
    if (!key_) return;
    Empty();
    RegCloseKey(key_);
}

void DynamicDataFixture::Set(const char* name, DWORD value)
{
    if (key_) RegSetValueExA(key_, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void DynamicDataFixture::SetAll(DWORD cpu, DWORD pageIns, DWORD pageOuts, DWORD bytesRead, DWORD bytesWritten,
                                DWORD reads, DWORD writes)
{
    const DWORD values[] = {cpu, pageIns, pageOuts, bytesRead, bytesWritten, reads, writes};
    for (int i = 0; i < 7; ++i) Set(kCounterNames[i], values[i]);
}

void DynamicDataFixture::Empty()
{
    if (!key_) return;
    for (const char* name : kCounterNames) RegDeleteValueA(key_, name);
}
