// Every process and thread from one system query, the way a process snapshot and a thread
// snapshot taken together list them, with each process's creation time besides.
//
// A toolhelp snapshot is built from this same query, so the entries are the same; reading
// the query directly saves the snapshot's copying, a second query for the threads, and
// opening every process for its creation time. On a system without the query, Read fails
// and the caller keeps to the snapshots.
//
// One list belongs to one thread (the sampling thread keeps its own between ticks for the
// storage).
#pragma once
#include <windows.h>
#include <tlhelp32.h>

#include <cstdint>
#include <vector>

struct SystemProcess {
    PROCESSENTRY32 entry = {};  // as Process32First/Next fill it
    uint64_t createdTime = 0;   // as GetProcessTimes reports it, in FILETIME units
};

class SystemProcessList {
public:
    // Reads the system's processes and threads now. False (and both lists empty) when the
    // query is missing, refused, or answers with entries that do not fit what it returned.
    bool Read();
    const std::vector<SystemProcess>& Processes() const { return processes_; }
    // Every thread of every process, in the processes' order, as Thread32First/Next fill it.
    const std::vector<THREADENTRY32>& Threads() const { return threads_; }

private:
    bool Parse(size_t length);

    std::vector<unsigned char> buffer_;
    std::vector<SystemProcess> processes_;
    std::vector<THREADENTRY32> threads_;
};
