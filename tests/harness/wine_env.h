// What a test under the Wine harness needs from its surroundings: folders inside the run
// folder, Windows paths to host files, host commands, screenshots.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Z: is the host's root: "/a/b" is "Z:\a\b".
std::string UnixToWindowsPath(const std::string& unixPath);

// A fresh, empty folder for one test (Windows path), inside the harness's run folder.
std::string FreshTestFolder(const std::string& name);

// Runs a host shell command and waits for it; false when it could not start or timed out.
bool RunHostCommand(const std::string& command, DWORD timeoutMs = 30000);

// Saves a PNG of the whole virtual screen as artifacts/<name>.png; returns the Unix path
// of the picture, or an empty string when it could not be taken.
std::string SaveScreenshot(const std::string& name);

// Whole-file helpers for test data.
bool WriteWholeFile(const std::string& path, const void* data, size_t length);
bool ReadWholeFileBytes(const std::string& path, std::vector<unsigned char>* bytes);
bool PathExists(const std::string& path);
