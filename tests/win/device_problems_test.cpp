// Device problems and the conflict step of each category: the Windows 95 device nodes injected into the
// dynamic data, and the running system's devices where the dynamic data lists none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dynamic_data.h"
#include "hardware/fix_hardware.h"
#include "platform/device_problems.h"

namespace {
// The categories whose conflict step (step 3) lists a conflict, comma-separated.
std::string CategoriesInConflict()
{
    std::string found;
    for (int category = 0; category < kProblemCategoryCount; ++category) {
        const ProblemReport report = RunProblemStep(category, 2);
        if (report.text.first.empty()) continue;
        EXPECT_EQ(report.text.first, "1) Hardware conflict found\r\n\r\n");
        found += (found.empty() ? "" : ",") + std::string(ProblemCategoryTable[category].name);
    }
    return found;
}
}  // namespace

TEST(ConflictFound, ReadsTheConfigManagerNodesWhereTheyAreListed)
{
    const struct {
        const char* name;
        DWORD problem, problemType;
        const char* deviceClass;  // null: the device key is missing
        const char* conflicts;
    } cases[] = {
        // Which classes and problems make a conflict is the unit tests' part; here, reading
        // the node's problem in either type and the device key it names.
        {"CD-ROM conflict", 12, REG_BINARY, "CDROM", "CD-ROM"},
        {"as a DWORD", 12, REG_DWORD, "SCSIAdapter", "SCSI"},
        {"disk drive conflict", 12, REG_DWORD, "DiskDrive", "Floppy Drives,Hard Drives"},
        {"another problem", 28, REG_BINARY, "CDROM", ""},
        {"device key missing", 12, REG_BINARY, nullptr, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ConfigManagerFixture nodes;
        // A healthy motherboard beside the device under test.
        ASSERT_TRUE(nodes.AddNode("C29A0D40", 0, REG_BINARY, "ROOT\\*PNP0C01\\0000", "System"));
        ASSERT_TRUE(nodes.AddNode("C29A1F80", c.problem, c.problemType, "SCSI\\NEC_CD-ROM_DRIVE\\0", c.deviceClass));
        std::vector<PresentDevice> devices;
        ASSERT_EQ(ListDeviceProblems(&devices), kProblemsFromConfigManager);
        ASSERT_EQ(devices.size(), 2u);
        EXPECT_EQ(CategoriesInConflict(), c.conflicts);
    }
}

// Wine's empty Config Manager key and no key at all: the running system's devices answer.
TEST(ConflictFound, WithoutConfigManagerNodesAsksTheSystem)
{
    std::vector<PresentDevice> listed;
    ASSERT_TRUE(ListPresentDevices(&listed));
    for (bool removeKey : {false, true}) {
        SCOPED_TRACE(removeKey ? "no key" : "empty key");
        ConfigManagerFixture nodes;
        if (removeKey) nodes.RemoveEnumKey();
        std::vector<PresentDevice> devices;
        ASSERT_EQ(ListDeviceProblems(&devices), kProblemsFromSystem);
        EXPECT_EQ(devices.size(), listed.size());
        // Wine reports no device with a problem, so no category has a conflict.
        for (const PresentDevice& device : devices) EXPECT_EQ(device.problem, 0u) << device.deviceClass;
        EXPECT_EQ(CategoriesInConflict(), "");
    }
}
