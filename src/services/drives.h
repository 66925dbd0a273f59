#pragma once
#include <windows.h>

// GetDriveTypeA of "X:\" for the drive letter X: 3 fixed, 2 removable, 5 CD-ROM, 4 remote,
// 6 RAM disk, 1 no root directory.
UINT DriveTypeOf(char letter);

// Free and total bytes of "X:\" as clusters x sectors per cluster x bytes per sector from
// GetDiskFreeSpaceA, an unsigned 32-bit product that wraps above 4 GB; 0 when the drive
// cannot be asked.
DWORD DriveFreeBytes(char letter);
DWORD DriveTotalBytes(char letter);
