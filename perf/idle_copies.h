// Idle copies of a benchmark, to give the census many processes: the benchmark's main
// answers "--idle" by sleeping for ever, and the copies are ended when the round is over.
#pragma once
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

// True when this process is one of the idle copies (it then sleeps and never returns).
inline bool RunAsIdleCopy(int argc, char** argv)
{
    if (argc < 2 || strcmp(argv[1], "--idle") != 0) return false;
    Sleep(INFINITE);
    return true;
}

class IdleCopies {
public:
    explicit IdleCopies(int count)
    {
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, sizeof self);
        for (int i = 0; i < count; ++i) {
            std::string line = std::string("\"") + self + "\" --idle";
            STARTUPINFOA startup = {};
            startup.cb = sizeof startup;
            PROCESS_INFORMATION process = {};
            if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
                processes_.push_back(process);
        }
    }
    ~IdleCopies()
    {
        for (PROCESS_INFORMATION& process : processes_) {
            TerminateProcess(process.hProcess, 0);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }
    IdleCopies(const IdleCopies&) = delete;
    IdleCopies& operator=(const IdleCopies&) = delete;
    size_t Started() const { return processes_.size(); }

private:
    std::vector<PROCESS_INFORMATION> processes_;
};
