// Walks over a test's own folder in place of the fixed drives: the walk functions the tools
// take (WalkVisitor, as WalkFixedDrives calls it) visiting every entry below WalkRoot().
#pragma once
#include <windows.h>

#include <deque>
#include <string>

#include "services/walks.h"

// The folder the walks below start from; the test sets it.
inline std::string& WalkRoot()
{
    static std::string root;
    return root;
}

// Every entry below directory, depth-first.
inline int WalkFolderDepthFirst(const std::string& directory, WalkVisitor visitor, void* argument)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    int stop = 0;
    for (bool more = search != INVALID_HANDLE_VALUE; more && !stop; more = FindNextFileA(search, &found)) {
        stop = visitor(&found, directory.c_str(), argument);
        if (!stop && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.')
            stop = WalkFolderDepthFirst(directory + "\\" + found.cFileName, visitor, argument);
    }
    FindClose(search);
    return stop;
}

inline int WalkRootDepthFirst(WalkVisitor visitor, void* argument)
{
    return WalkFolderDepthFirst(WalkRoot(), visitor, argument);
}

// Every entry below WalkRoot() breadth-first, the way the fixed-drive walk visits a drive.
inline int WalkRootBreadthFirst(WalkVisitor visitor, void* argument)
{
    std::deque<std::string> folders = {WalkRoot()};
    for (; !folders.empty(); folders.pop_front()) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folders.front() + "\\*").c_str(), &found);
        for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
            if (int stop = visitor(&found, folders.front().c_str(), argument)) {
                FindClose(search);
                return stop;
            }
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.')
                folders.push_back(folders.front() + "\\" + found.cFileName);
        }
        FindClose(search);
    }
    return 0;
}
