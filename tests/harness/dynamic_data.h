// The Windows 95 dynamic performance data (HKEY_DYN_DATA\PerfStats\StatData) as a test
// fixture. Wine keeps the key volatile and empty; a test fills it and empties it again.
#pragma once
#include <windows.h>

#ifndef HKEY_DYN_DATA
#define HKEY_DYN_DATA ((HKEY)(ULONG_PTR)((LONG)0x80000006))
#endif

class DynamicDataFixture {
public:
    DynamicDataFixture();
    ~DynamicDataFixture();  // empties the key again
    DynamicDataFixture(const DynamicDataFixture&) = delete;
    DynamicDataFixture& operator=(const DynamicDataFixture&) = delete;

    bool IsOpen() const { return key_ != nullptr; }
    // Sets one counter, e.g. Set("KERNEL\\CPUUsage", 37).
    void Set(const char* name, DWORD value);
    // Sets all seven counters the tick reads, in the order CPU usage, page-ins, page-outs,
    // bytes read, bytes written, reads, writes.
    void SetAll(DWORD cpu, DWORD pageIns, DWORD pageOuts, DWORD bytesRead, DWORD bytesWritten, DWORD reads, DWORD writes);
    void Empty();

private:
    HKEY key_ = nullptr;
};
