#pragma once
#include <windows.h>

#include <string>

// Runs this test executable again as "--child mode args..." and returns the process.
PROCESS_INFORMATION StartChild(const std::string& mode, const std::string& arguments);

int RunChildMode(const char* mode, int argc, char** argv);

// Fills every 32-bit word of a statistics image with one value, so a file can be checked
// for being one whole image.
void FillStatsImage(void* image, unsigned value);
