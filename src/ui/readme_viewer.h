// The README viewer: readme.txt from the program's folder in a report viewer window, its
// contents on the left and the text on the right.
#pragma once
#include <windows.h>

// Opens a modeless report viewer window owned by owner (not the one OpenTool reuses) and
// returns it. When readme.txt is missing, empty or cannot be read, one box ("Readme.txt
// Needed") says so and the window stays open with empty lists.
HWND ShowReadme(HWND owner);
