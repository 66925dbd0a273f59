// The category table: for each device category, the steps that list fixed advice from the
// knowledge base, its conflict test and its configuration and diagnostic checks.
#include <windows.h>

#include "hardware/conflicts.h"
#include "hardware/problem_checks.h"

namespace {

const char* const kFixedAdviceLabels[kFixedAdviceKinds] = {"Quick Fixes", "Incompatible Models", "Potential Problem"};

template <int category, FixedAdviceKind kind>
void FixedAdviceStep(ProblemReport& report)
{
    report.leftLabel = kFixedAdviceLabels[kind];
    report.rightLabel = "Solution";
    const ProblemItemList& list = kFixedAdvice[category][kind];
    AppendNumberedItems(report.text, list.items, list.count);
}

// The device class each category's conflict test looks for.
const char* const kConflictClasses[kProblemCategoryCount] = {
    "CDROM", "DiskDrive", "DiskDrive", "Keyboard", "Memory", "Modem", "Monitor", "System",
    "Mouse", "Ports", "PowerSupply", "Printer", "SCSI", "MEDIA", "Display",
};

template <int category>
void ConflictStep(ProblemReport& report)
{
    std::vector<ProblemItem> found;
    if (ConflictFound(kConflictClasses[category])) found.push_back(CheckItem(CheckText::kHardwareConflictFound));
    ReportFindings(report, found);
}

template <int c>
constexpr ProblemCategory Category(const char* name, StepHandler configuration, StepHandler diagnostics)
{
    return {name,
            {FixedAdviceStep<c, kQuickFixes>, FixedAdviceStep<c, kIncompatibleModels>, ConflictStep<c>,
             configuration, diagnostics, FixedAdviceStep<c, kSpecificProblems>}};
}

}  // namespace

const ProblemCategory ProblemCategoryTable[kProblemCategoryCount] = {
    Category<kCategoryCdrom>("CD-ROM", CdromConfigurationStep, CdromDiagnosticsStep),
    Category<kCategoryFloppy>("Floppy Drives", FloppyConfigurationStep, FloppyDiagnosticsStep),
    Category<kCategoryHardDrives>("Hard Drives", HardDriveConfigurationStep, HardDriveDiagnosticsStep),
    Category<kCategoryKeyboard>("Keyboard", NoChecksStep, KeyboardDiagnosticsStep),
    Category<kCategoryMemory>("Memory", MemoryConfigurationStep, MemoryDiagnosticsStep),
    Category<kCategoryModem>("Modem", ModemConfigurationStep, ModemDiagnosticsStep),
    Category<kCategoryMonitor>("Monitor", NoChecksStep, MonitorDiagnosticsStep),
    Category<kCategoryMotherboard>("Motherboard", NoChecksStep, MotherboardDiagnosticsStep),
    Category<kCategoryMouse>("Mouse", MouseConfigurationStep, MouseDiagnosticsStep),
    Category<kCategoryPorts>("Ports", PortsConfigurationStep, PortsDiagnosticsStep),
    Category<kCategoryPowerSupply>("Power Supply", NoChecksStep, PowerSupplyDiagnosticsStep),
    Category<kCategoryPrinter>("Printer", PrinterConfigurationStep, PrinterDiagnosticsStep),
    Category<kCategoryScsi>("SCSI", ScsiConfigurationStep, ScsiDiagnosticsStep),
    Category<kCategorySound>("Sound", SoundConfigurationStep, SoundDiagnosticsStep),
    Category<kCategoryVideoCard>("Video Card", VideoCardConfigurationStep, VideoCardDiagnosticsStep),
};
