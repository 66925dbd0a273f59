// The configuration (step 4) and diagnostic (step 5) handlers of Fix Hardware Problems, one
// per category that checks anything. Each appends what it finds with ReportFindings; each
// finding is CheckItem(CheckText::k...), its title and solution from the knowledge base.
#pragma once
#include "hardware/problem_report.h"
#include "hardware/problem_rules.h"
#include "problem_texts.h"  // generated: CheckText, CheckItem

// Whether the checks of files and settings only Windows 95 has (CONFIG.SYS, AUTOEXEC.BAT,
// BOOTLOG.TXT, MSDOS.SYS, IOS.LOG, IOSUBSYS drivers, MCI entries, system.ini and win.ini
// settings) apply: the platform is Windows 95. Elsewhere those checks add nothing.
bool Windows95ChecksApply();

// An entry of system.ini in the Windows directory, or fallback when it is missing or the
// path does not fit.
int SystemIniInt(const char* section, const char* key, int fallback);

// Entries whose absence means nothing: no value of theirs starts a finding.
constexpr int kNoEntry = -99;

// Steps that check nothing (Keyboard, Monitor, Motherboard and Power Supply step 4).
void NoChecksStep(ProblemReport& report);

// Disks (problem_checks_disks.cpp)
void FloppyConfigurationStep(ProblemReport& report);
void FloppyDiagnosticsStep(ProblemReport& report);
void HardDriveConfigurationStep(ProblemReport& report);
void HardDriveDiagnosticsStep(ProblemReport& report);

// The BIOS floppy tests of A: and B: (each only when removable); the disk-access test runs
// on its first use in the process only and passes afterwards.
void TestFloppyDrives(FloppyTestResults* results);

// Memory, motherboard, power (problem_checks_system.cpp)
void MemoryConfigurationStep(ProblemReport& report);
void MemoryDiagnosticsStep(ProblemReport& report);
void MotherboardDiagnosticsStep(ProblemReport& report);
void PowerSupplyDiagnosticsStep(ProblemReport& report);

// Drives, sound, display and pointing devices (problem_checks_devices.cpp)
void CdromConfigurationStep(ProblemReport& report);
void CdromDiagnosticsStep(ProblemReport& report);
void KeyboardDiagnosticsStep(ProblemReport& report);
void MonitorDiagnosticsStep(ProblemReport& report);
void MouseConfigurationStep(ProblemReport& report);
void MouseDiagnosticsStep(ProblemReport& report);
void SoundConfigurationStep(ProblemReport& report);
void SoundDiagnosticsStep(ProblemReport& report);
void VideoCardConfigurationStep(ProblemReport& report);
void VideoCardDiagnosticsStep(ProblemReport& report);

// Ports and what hangs on them (problem_checks_ports.cpp)
void ModemConfigurationStep(ProblemReport& report);
void ModemDiagnosticsStep(ProblemReport& report);
void PortsConfigurationStep(ProblemReport& report);
void PortsDiagnosticsStep(ProblemReport& report);
void PrinterConfigurationStep(ProblemReport& report);
void PrinterDiagnosticsStep(ProblemReport& report);
void ScsiConfigurationStep(ProblemReport& report);
void ScsiDiagnosticsStep(ProblemReport& report);

// While a question box or an interactive test is on screen during a step, the Analyzing
// panel steps aside; it comes back when this goes out of scope (if it was showing).
class AnalyzingPanelAside {
public:
    AnalyzingPanelAside();
    ~AnalyzingPanelAside();
    AnalyzingPanelAside(const AnalyzingPanelAside&) = delete;
    AnalyzingPanelAside& operator=(const AnalyzingPanelAside&) = delete;
private:
    bool wasShowing_;
};
