// Loading and saving sysstats.dat.
//
// A save never rewrites the file in place: it writes a complete image to a temporary file
// in the same folder, forces it to disk and then replaces the old file in one step, so a
// crash or power cut mid-save leaves the previous statistics intact. Saves from different
// threads (the tick, session end, Exit) take turns through one lock.
//
// A file of the right size that cannot be opened or read (a scanner holding it, a read
// error) still holds the user's history, while the record starts from zero. Before the
// first save over it, it is renamed to sysstats.old; when that rename fails, nothing is
// saved for the rest of the session, so an empty record never silently replaces it. The
// note of such a file is written by the load (start-up) and the saves, under the save lock.
#include <windows.h>

#include <cstdio>
#include <cstring>

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

static const char kNotSavingText[] =
    "Unable to read the statistics file or to move it aside. To keep the statistics it holds, none will be "
    "saved until the program is started again.";

static void ShowError(const char* text)
{
    MessageBoxA(nullptr, text, "Error!", MB_OK);
}

static SRWLOCK gSaveLock = SRWLOCK_INIT;

enum class UnreadableFile { kNone, kToSetAside, kNotSaving };

// The statistics file the last load could not read, and what became of it.
static struct {
    char path[MAX_PATH];
    UnreadableFile state;
} gUnreadable;

static bool IsUnreadablePath(const char* path)
{
    return gUnreadable.state != UnreadableFile::kNone && lstrcmpiA(gUnreadable.path, path) == 0;
}

// Notes (or, after a good load, forgets) that the file at path could not be read.
static void NoteUnreadable(const char* path, bool unreadable)
{
    AcquireSRWLockExclusive(&gSaveLock);
    if (unreadable) {
        // A path longer than the note is refused by the file calls before it gets here.
        lstrcpynA(gUnreadable.path, path, sizeof gUnreadable.path);
        gUnreadable.state = UnreadableFile::kToSetAside;
    } else if (IsUnreadablePath(path)) {
        gUnreadable.state = UnreadableFile::kNone;
    }
    ReleaseSRWLockExclusive(&gSaveLock);
}

// The file name with its extension changed to .old, in the same folder.
static bool SetAsidePath(const char* path, char* out, size_t size)
{
    const char* slash = strrchr(path, '\\');
    const char* dot = strrchr(path, '.');
    const size_t stem = dot && (!slash || dot > slash) ? size_t(dot - path) : strlen(path);
    const int length = snprintf(out, size, "%.*s.old", int(stem), path);
    return length > 0 && size_t(length) < size;
}

// Called under the save lock before a save to path. True when the save may go ahead;
// *showBox is set when the caller must say, once, that saving has stopped.
static bool MayReplace(const char* path, bool* showBox)
{
    if (!IsUnreadablePath(path)) return true;
    if (gUnreadable.state == UnreadableFile::kNotSaving) return false;
    char old[MAX_PATH];
    if (SetAsidePath(path, old, sizeof old)) {
        const bool moved = MoveFileExA(path, old, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (moved || GetLastError() == ERROR_FILE_NOT_FOUND) {
            gUnreadable.state = UnreadableFile::kNone;  // kept as .old, or gone meanwhile
            return true;
        }
    }
    gUnreadable.state = UnreadableFile::kNotSaving;
    *showBox = true;
    return false;
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
    NoteUnreadable(path, false);
    if (search == INVALID_HANDLE_VALUE) return;  // no file yet: start from zero
    FindClose(search);

    uint64_t length = (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    if (!IsAcceptedStatsFileLength(length)) {
        ShowError(kOpenFailedText);
        return;
    }
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        NoteUnreadable(path, true);
        ShowError(kOpenFailedText);
        return;
    }
    // Read into a separate image so a short read never leaves a half-filled record.
    static SystemStats image;
    DWORD read = 0;
    BOOL ok = ReadFile(file, &image, sizeof image, &read, nullptr);
    CloseHandle(file);
    if (!ok || read != sizeof image) NoteUnreadable(path, true);
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

void SaveSystemStatsTo(const char* path, const SystemStats* stats)
{
    char temporary[MAX_PATH];
    if (snprintf(temporary, sizeof temporary, "%s.tmp", path) >= int(sizeof temporary)) {
        ShowError(kCreateFailedText);
        return;
    }
    AcquireSRWLockExclusive(&gSaveLock);
    bool showNotSaving = false;
    if (!MayReplace(path, &showNotSaving)) {
        ReleaseSRWLockExclusive(&gSaveLock);
        if (showNotSaving) ShowError(kNotSavingText);
        return;
    }
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

bool FlushSystemStatsFile()
{
    char path[MAX_PATH];
    if (!StatsFilePath(path, sizeof path)) return false;
    AcquireSRWLockExclusive(&gSaveLock);
    // Writing is the right the flush needs; every kind of sharing lets other readers be.
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool flushed = false;
    if (file != INVALID_HANDLE_VALUE) {
        flushed = FlushFileBuffers(file) != 0;
        CloseHandle(file);
    }
    ReleaseSRWLockExclusive(&gSaveLock);
    return flushed;
}
