// Reading a tip file from the program's folder. The whole file is read in one go (a file
// IsTipFileLength accepts is at most 6.5 MB) and its records are picked by the portable
// parser; anything wrong with the file shows one box that names it.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "analysis/tip_file.h"
#include "services/paths.h"
#include "services/program_directory.h"

static void ShowTipFileError(const char* fileName)
{
    char text[160 + MAX_PATH];
    snprintf(text, sizeof text, "Unable to find or read data file %s. Replace the file with a good copy.", fileName);
    MessageBoxA(nullptr, text, "Error!", MB_OK);
}

bool ReadTipFile(const char* fileName, uint32_t key, std::vector<TipRecord>* records)
{
    char folder[MAX_PATH];
    char path[MAX_PATH];
    ProgramDirectory(nullptr, folder, sizeof folder);
    WIN32_FIND_DATAA found;
    HANDLE search = INVALID_HANDLE_VALUE;
    if (JoinPath(folder, fileName, path, sizeof path)) search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE) {
        ShowTipFileError(fileName);
        return false;
    }
    FindClose(search);
    // A length that is no whole number of records, or far more of them than any tip file
    // holds, is a damaged file: it is never allocated for.
    const uint64_t length = (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    if (!IsTipFileLength(length)) {
        ShowTipFileError(fileName);
        return false;
    }
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ShowTipFileError(fileName);
        return false;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    size_t have = 0;
    while (have < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file, bytes.data() + have, DWORD(bytes.size() - have), &read, nullptr) || read == 0) break;
        have += read;
    }
    CloseHandle(file);
    // A short read keeps the whole records that arrived; the part record is left out.
    ParseTipRecords(bytes.data(), have, key, records);
    if (have < bytes.size()) {
        ShowTipFileError(fileName);
        return false;
    }
    return true;
}
