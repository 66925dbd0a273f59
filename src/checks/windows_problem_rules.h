// The Windows problems as rules over plain facts: the problem topics, serial-port
// contention, animated-cursor support, the failures of a boot log and the DriveSpace
// settings. The Win32 checks gather the facts (profile values, files, the display) and hand
// the lines these builders write to a report list.
#pragma once
#include <cstddef>

// Where a builder writes: next() returns a fresh zero-filled slot of kReportLineSlot bytes
// at the end of the report (StringListNext in the program, a vector in tests).
struct ReportSink {
    char* (*next)(void* context);
    void* context;
};

// The problem topics, in the order of their table rows.
enum ProblemTopic { kBootProblems, kDeviceConflicts, kErrorMessages, kProblemTopicCount };

// Appends the lines of a topic: an underlined heading per group, one line per topic and a
// single space between groups. Returns the number of lines appended (0 for no topic).
int AppendProblemTopic(int topic, const ReportSink& sink);

// ---- Device contention: the AutoAssign setting of each serial port ----
constexpr int kSerialPortCount = 4;

// What a profile entry read as an integer gives: leading blanks skipped, an optional sign
// and the decimal digits that follow (so "-1" is -1 and "2 seconds" is 2); no digits give
// 0, and an empty or missing text gives fallback.
long ProfileTextInteger(const char* text, long fallback);

// The value a port's missing COMnAutoAssign entry reads as.
constexpr long kAutoAssignMissing = -99;

// The protection of every serial port and the two risks they add up to. isPresent[i] tells
// whether COMi+1 exists; autoAssign[i] is its COMnAutoAssign value (kAutoAssignMissing
// when the entry is missing). Returns the number of lines appended.
int AppendDeviceContention(const bool isPresent[kSerialPortCount], const long autoAssign[kSerialPortCount],
                           const ReportSink& sink);

// ---- Animated cursors ----
// hasIosLog: the Windows folder holds IOS.LOG, the log Windows writes when a disk runs
// through a real-mode driver; bitsPerPixel: the colour depth of the display.
int AppendAnimatedCursors(bool hasIosLog, int bitsPerPixel, const ReportSink& sink);

// ---- Configuration: the failures a boot log records ----
// The start-up files a failed name is looked for in, in this order; kNotInStartupFiles
// when none names it.
enum StartupFile { kConfigSys, kAutoexecBat, kSystemIni, kWinIni, kStartupFileCount, kNotInStartupFiles };

struct BootLogProbes {
    // Whether name (upper case, with an extension) is found on a fixed drive.
    bool (*isOnDisk)(const char* name, void* context);
    // Whether start-up file file mentions name.
    bool (*isInStartupFile)(int file, const char* name, void* context);
    void* context;
};

// Appends the heading and one row per distinct name that a line holding "FAIL" gives
// (the value after its "="), in the order of the log: whether the file is on disk ("N/A"
// for a name without an extension) and the first start-up file naming it ("Internal" when
// none does). log holds length bytes already in upper case (UppercaseBuffer); a NUL ends it
// early. Returns the number of lines appended.
int AppendBootLogFailures(const char* log, size_t length, const BootLogProbes& probes, const ReportSink& sink);

// ---- MS-DOS mode ----
// The heading and one line per program information file found.
int AppendPifFiles(const char* const* paths, int count, const ReportSink& sink);

// ---- DriveSpace ----
// Whether a collected path names a compressed volume file: its file name's extension
// begins with a digit (DRVSPACE.000, DRVSPACE.001, ...).
bool IsDriveSpaceVolume(const char* path);

// The value of key among the entries that stand before the first section of an ini text
// (length bytes; a NUL ends it early), as a profile read with an empty section finds it:
// keys compared without regard to case, surrounding blanks ignored, ";" lines skipped; the
// first entry wins. Copies the value (ProfileLineValue, cut to size) into out and answers
// true when the key is there.
bool SectionlessProfileValue(const char* text, size_t length, const char* key, char* out, size_t size);

struct DriveSpaceFacts {
    bool hasRealModeDriver;       // DRVSPACE.BIN on a fixed drive
    bool hasProtectedModeDriver;  // DRVSPACX.VXD
    bool hasInitializationFile;   // DRVSPACE.INI
    const char* const* found;     // paths of the files whose names hold "DRVSPACE"
    int foundCount;
    const char* ini;  // the content of C:\DRVSPACE.INI; null when it is missing
    size_t iniLength;
};

// The three file tests, one line per compressed volume among the found paths, and the
// settings of the initialization file (0, "None" and "None" without it).
int AppendDriveSpace(const DriveSpaceFacts& facts, const ReportSink& sink);
