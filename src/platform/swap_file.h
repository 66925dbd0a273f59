// The swap file: Windows 95's WIN386.SWP in the Windows directory when it is there, else the
// first paging file the running system lists ("PagingFiles" under HKEY_LOCAL_MACHINE
// SYSTEM\CurrentControlSet\Control\Session Manager\Memory Management). Its size comes from
// the directory entry, which can be read while the system holds the file open.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

struct SwapFile {
    char path[MAX_PATH];  // empty when no swap file was found
    uint64_t bytes;       // 0 when no swap file was found
    char drive;           // the drive the file is on; the Windows directory's drive when none
};

SwapFile FindSwapFile();

// The file a "PagingFiles" entry names ("C:\pagefile.sys 1024 2048": the path before its
// size figures; a path may hold spaces), cut to nothing when it does not fit out. False
// (out empty) when the entry names no path.
bool PagingFilePath(const char* entry, char* out, size_t size);
