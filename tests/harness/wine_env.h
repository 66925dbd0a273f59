// What a test under the Wine harness needs from its surroundings: folders and files inside
// the run folder, host commands, screenshots.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Z: is the host's root: "/a/b" is "Z:\a\b".
std::string UnixToWindowsPath(const std::string& unixPath);

// A fresh, empty folder for one test (Windows path), inside the harness's run folder.
std::string FreshTestFolder(const std::string& name);
// Deletes a folder tree of any depth (it is reached through "\\?\" paths).
void RemoveTree(const std::string& folder);
bool WriteWholeFile(const std::string& path, const void* data, size_t length);
bool ReadWholeFileBytes(const std::string& path, std::vector<unsigned char>* bytes);
bool PathExists(const std::string& path);

// Runs a host shell command and waits for it; false when it could not start, failed or
// timed out. The command must not contain double quotes.
bool RunHostCommand(const std::string& command, DWORD timeoutMs = 30000);

// Saves a PNG of the whole virtual screen as artifacts/<name>.png; returns the Unix path
// of the picture, or an empty string when it could not be taken.
std::string SaveScreenshot(const std::string& name);

// A memory file system of size bytes (mount's notation: "10000000", "5g") mounted over the
// folder of fixture drive letter for the object's lifetime, so its sizes are known.
struct MemoryDrive {
    MemoryDrive(char letter, const std::string& size);
    ~MemoryDrive();
    std::string folder;  // Unix path
    bool mounted;
};
