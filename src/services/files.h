#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

// File queries shared by every tool. Paths are ANSI; a path may be a wildcard pattern
// where the text says "first match".

// Reads the whole file into a new zero-filled block (AllocChecked) with at least five NUL
// bytes after the content, and sets *bytesRead to the bytes read. A missing or empty file
// gives null with no message. When the file cannot be opened it shows the "Error!" box and
// when the read brings nothing the "Disk Read Failed" box; both still return the empty
// block with *bytesRead 0. The caller frees the block with GlobalFree.
char* ReadWholeFile(const char* path, DWORD* bytesRead);

// ReadWholeFile for a caller that tells the user itself what went wrong: no box at all;
// a file that cannot be opened or read gives the empty block with *bytesRead 0.
char* ReadWholeFileQuietly(const char* path, DWORD* bytesRead);

// "<Windows folder>\name" in path; false when it does not fit in size bytes.
bool WindowsFolderFile(const char* name, char* path, size_t size);

// 1 when FindFirstFileA finds anything for path, else 0.
int FileExists(const char* path);

// The low 32 bits of the size of the first match of path; 0 when there is none.
DWORD FileSizeOf(const char* path);

// Where SystemFileExists looks.
enum SystemFilePlace {
    kInSystemDirectory = 1,   // the Windows system directory
    kInWindowsDirectory = 2,  // the Windows directory
    kInEveryDriveRoot = 3,    // the root of each drive C: to Z:, whatever its type
    kInIosubsys = 4,          // the system directory's IOSUBSYS folder
};

// 1 or 0 for whether name is present in the place; for kInEveryDriveRoot the number of
// drive roots that hold it. An unknown place or a path that does not fit gives 0.
int SystemFileExists(const char* name, int where);

// SystemFileExists for many names: each folder a place covers is listed once, on first use,
// and its names (long and 8.3 alike, upper-cased) kept for the lookup's lifetime, where a
// lookup per name would make the system search the folder again each time. Same answers
// while the folders do not change; a name holding a wildcard or a path separator is asked
// of the system directly.
class SystemFileLookup {
public:
    int Count(const char* name, int where);

private:
    const std::vector<std::string>& NamesIn(const std::string& folder);
    std::map<std::string, std::vector<std::string>> listed_;
};

// 1 when the file's content, upper-cased with carriage returns as spaces, contains text in
// upper case; 0 otherwise and for a missing or empty file.
int FileContainsText(const char* path, const char* text);

// 1 when a line of the file that is not a "REM" or ";" comment contains text (upper case,
// matched against the upper-cased content); 0 otherwise and for a missing or empty file.
int ConfigHasActiveLine(const char* path, const char* text);

// "mm/dd/yy" with the year less 1900 (2000 prints as "100") of a file time, in UTC, in a
// static buffer overwritten by the next call; "00/00/00" when either half is 0 or the time
// cannot be converted.
char* FileDateText(FILETIME fileTime);
