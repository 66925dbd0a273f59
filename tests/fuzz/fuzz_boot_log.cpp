// Boot logs and DRVSPACE.INI come from disk: the failure rows, the sectionless profile
// reader and the number and volume rules must stay within their buffers and their slots
// for any bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "checks/windows_problem_rules.h"
#include "services/report_slot.h"

namespace {

std::deque<std::vector<char>> gSlots;

char* NextSlot(void*)
{
    gSlots.emplace_back(kReportLineSlot, '\0');
    return gSlots.back().data();
}

// Answers from the name's length, so both answers occur.
bool IsOnDisk(const char* name, void*)
{
    return strlen(name) % 2 == 0;
}

bool IsInStartupFile(int file, const char* name, void*)
{
    return strlen(name) % 5 == size_t(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Content in a block of exactly its length, so a read past it is caught.
    std::vector<char> content(data, data + size);
    const ReportSink sink = {NextSlot, nullptr};
    gSlots.clear();
    AppendBootLogFailures(content.data(), content.size(), BootLogProbes{IsOnDisk, IsInStartupFile, nullptr}, sink);
    const DriveSpaceFacts facts = {false, true, false, nullptr, 0, content.data(), content.size()};
    AppendDriveSpace(facts, sink);
    for (const std::vector<char>& slot : gSlots)
        if (slot[kReportLineSlot - 1] != '\0') abort();
    char value[16];
    SectionlessProfileValue(content.data(), content.size(), "AutoMount", value, sizeof value);
    const std::string text(content.begin(), content.end());
    ProfileTextInteger(text.c_str(), 0);
    IsDriveSpaceVolume(text.c_str());
    return 0;
}
