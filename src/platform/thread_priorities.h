// Thread base priorities read from thread snapshots, the same on Windows and on Wine.
#pragma once
#include <windows.h>
#include <tlhelp32.h>

#include <utility>
#include <vector>

class ThreadPriorities {
public:
    // Notes a process's priority class from a process snapshot (used only on Wine, where
    // thread entries are relative to it). Call Note for each process before BaseOf.
    void Note(const PROCESSENTRY32& process);
    void Clear()
    {
        classCodes_.clear();
        sorted_ = true;
    }
    // The thread's base priority as Windows reports it (tpBasePri): an absolute level.
    long BaseOf(const THREADENTRY32& thread);

private:
    std::vector<std::pair<DWORD, long>> classCodes_;  // process id, class code
    bool sorted_ = true;
};
