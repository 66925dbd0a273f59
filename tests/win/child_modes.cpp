#include "child_modes.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "sampling/stats_file.h"
#include "services/alloc.h"

void FillStatsImage(void* image, unsigned value)
{
    uint32_t* words = static_cast<uint32_t*>(image);
    for (size_t i = 0; i < kSystemStatsWords; ++i) words[i] = value;
}

PROCESS_INFORMATION StartChild(const std::string& mode, const std::string& arguments)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string line = std::string("\"") + self + "\" --child " + mode + " " + arguments;
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        memset(&process, 0, sizeof process);
    return process;
}

int RunChildMode(const char* mode, int argc, char** argv)
{
    if (strcmp(mode, "save-forever") == 0 && argc == 1) {
        // Saves ever newer whole images until killed.
        static SystemStats stats;
        for (unsigned generation = 1;; ++generation) {
            FillStatsImage(&stats, generation);
            SaveSystemStatsTo(argv[0], &stats);
        }
    }
    if (strcmp(mode, "alloc-huge") == 0) {
        AllocChecked(GPTR, SIZE_T(-1) / 2);
        return 3;  // not reached: the allocation ends the process
    }
    return 2;
}
