// The conflict test's rule: which device classes a category's class name stands for, and
// which problem is a conflict.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hardware/conflicts.h"

TEST(IsConflictClass, MatchesWholeNamesWithoutCaseAndScsiAdaptersForScsi)
{
    const struct { const char *deviceClass, *className; bool matches; } cases[] = {
        {"CDROM", "CDROM", true},        {"cdrom", "CDROM", true},         {"CDROMX", "CDROM", false},
        {"CDROM", "CDROMX", false},      {"CDRO", "CDROM", false},         {"SCSIAdapter", "SCSI", true},
        {"scsiadapter", "scsi", true},   {"SCSIAdapters", "SCSI", false},  {"SCSIAdapter", "Display", false},
        {"", "", false},                 {nullptr, "CDROM", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.deviceClass ? c.deviceClass : "(null)") + " / " + (c.className ? c.className : "(null)"));
        EXPECT_EQ(IsConflictClass(c.deviceClass, c.className), c.matches);
    }
}

TEST(HasConflictOfClass, OnlyProblemTwelveOfAMatchingClassIsAConflict)
{
    const auto device = [](const char* deviceClass, uint32_t problem) {
        PresentDevice d;
        d.deviceClass = deviceClass;
        d.problem = problem;
        return d;
    };
    const struct { std::vector<PresentDevice> devices; const char* className; bool found; } cases[] = {
        {{device("Display", 0), device("cdrom", 12)}, "CDROM", true},
        {{device("CDROM", 0), device("CDROM", 1), device("CDROM", 22), device("CDROM", 28)}, "CDROM", false},
        {{device("Ports", 12), device("CDROM", 3)}, "CDROM", false},  // the conflict is another class's
        {{device("SCSIAdapter", 12)}, "SCSI", true},
        {{device("", 12)}, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.className) + " over " + std::to_string(c.devices.size()) + " device(s)");
        EXPECT_EQ(HasConflictOfClass(c.devices, c.className), c.found);
    }
}
