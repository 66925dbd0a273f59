#pragma once
#include <windows.h>

// Classifies the program file at path from its headers (see ExecutableKindResult):
// 1 not a Windows program or unreadable, 2 a 16-bit Windows application, 3 a 32-bit
// program. The file's creation, last-access and last-write times are put back as they were
// before the inspection, also when the program is running.
int ExecutableKind(const char* path);

// Keeps a file's creation, last-access and last-write times while the file is read: taken
// when made, put back when destroyed. The handle that sets them asks only for attribute
// access, which a running program's file grants while it refuses write access.
class FileTimesKept {
public:
    explicit FileTimesKept(const char* path);
    ~FileTimesKept();
    FileTimesKept(const FileTimesKept&) = delete;
    FileTimesKept& operator=(const FileTimesKept&) = delete;

private:
    const char* path_;
    bool hasTimes_ = false;
    FILETIME created_, accessed_, written_;
};
