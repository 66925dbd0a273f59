// Start-up and profile files come from disk: the section reader, the MSDOS.SYS paths and the
// CONFIG.SYS and AUTOEXEC.BAT line lists must stay within their buffers for any bytes, and
// every report line must end inside its slot.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "checks/file_check_rules.h"
#include "services/report_slot.h"

static std::vector<std::vector<char>> gSlots;

static char* NextSlot()
{
    // Slots are reused so a long input does not grow memory without end.
    if (gSlots.size() > 64) gSlots.erase(gSlots.begin());
    gSlots.emplace_back(kReportLineSlot, '\0');
    return gSlots.back().data();
}

static void CheckSlots()
{
    for (const auto& slot : gSlots)
        if (slot.back() != '\0') abort();
    gSlots.clear();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Content in blocks of exactly its length, so a read past it is caught.
    std::vector<char> content(data, data + size);
    char value[32];
    FindProfileValue(content.data(), content.size(), "Paths", "WinDir", value, sizeof value);
    if (strlen(value) >= sizeof value) abort();
    MsDosSysPaths paths;
    MsDosSysPathsOf(content.data(), content.size(), &paths);
    if (strnlen(paths.winDirWinCom, sizeof paths.winDirWinCom) == sizeof paths.winDirWinCom) abort();

    std::vector<char> config(data, data + size);
    AppendConfigDriverLines(config.data(), config.size(), NextSlot);
    CheckSlots();
    std::vector<char> autoexec(data, data + size);
    AppendAutoexecProgramLines(autoexec.data(), autoexec.size(), NextSlot);
    CheckSlots();
    return 0;
}
