// Loading and saving sysstats.dat.
//
// A save never rewrites the file in place: it writes a complete image to a temporary file
// in the same folder, forces it to disk and then replaces the old file in one step, so a
// crash or power cut mid-save leaves the previous statistics intact. Saves from different
// threads (the tick, session end, Exit) take turns through one lock.
#include <windows.h>

#include <cstdio>

#include "sampling/stats_file.h"
#include "services/paths.h"
#include "services/program_directory.h"

static const char kOpenFailedText[] =
    "Unable to open file due to error. If you are running from a floppy disk your disk may be write "
    "protected. Or your hard disk may be full.";
static const char kCreateFailedText[] =
    "Unable to create file due to error. If you are running from a floppy disk your disk may be write "
    "protected. Or your hard disk may be full.";
static const char kWriteFailedText[] = "Unable to write file due to error. If this occurs again call Technical Support.";

static void ShowError(const char* text)
{
    MessageBoxA(nullptr, text, "Error!", MB_OK);
}

static bool StatsFilePath(char* out, size_t size)
{
    char folder[MAX_PATH];
    ProgramDirectory(nullptr, folder, sizeof folder);
    return JoinPath(folder, "sysstats.dat", out, size);
}

void LoadSystemStatsFrom(const char* path, SystemStats* stats)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE) return;  // no file yet: start from zero
    FindClose(search);

    uint64_t length = (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    if (!IsAcceptedStatsFileLength(length)) {
        ShowError(kOpenFailedText);
        return;
    }
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ShowError(kOpenFailedText);
        return;
    }
    // Read into a separate image so a short read never leaves a half-filled record.
    static SystemStats image;
    DWORD read = 0;
    BOOL ok = ReadFile(file, &image, sizeof image, &read, nullptr);
    CloseHandle(file);
    if (!ok || read == 0) {
        MessageBoxA(nullptr, "Disk Read Failed", "An attempt to read your hard disk failed!", MB_OK | MB_ICONHAND);
        return;
    }
    if (read != sizeof image) {
        ShowError(kOpenFailedText);
        return;
    }
    *stats = image;
}

static SRWLOCK gSaveLock = SRWLOCK_INIT;

void SaveSystemStatsTo(const char* path, const SystemStats* stats)
{
    char temporary[MAX_PATH];
    if (snprintf(temporary, sizeof temporary, "%s.tmp", path) >= int(sizeof temporary)) {
        ShowError(kCreateFailedText);
        return;
    }
    AcquireSRWLockExclusive(&gSaveLock);
    // The image is copied first, so the file holds one consistent moment of the record.
    static SystemStats image;
    image = *stats;
    const char* failure = nullptr;
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        failure = kCreateFailedText;
    } else {
        DWORD written = 0;
        BOOL ok = WriteFile(file, &image, sizeof image, &written, nullptr);
        if (!ok || written != sizeof image || !FlushFileBuffers(file)) failure = kWriteFailedText;
        CloseHandle(file);
        if (!failure && !MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            failure = kCreateFailedText;
        if (failure) DeleteFileA(temporary);
    }
    ReleaseSRWLockExclusive(&gSaveLock);
    if (failure) ShowError(failure);
}

void LoadSystemStats()
{
    char path[MAX_PATH];
    if (StatsFilePath(path, sizeof path)) LoadSystemStatsFrom(path, gSystemStats);
}

void SaveSystemStats()
{
    char path[MAX_PATH];
    if (StatsFilePath(path, sizeof path)) SaveSystemStatsTo(path, gSystemStats);
}
