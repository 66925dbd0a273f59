// Resource ids of the application shell.
#pragma once

// Application icon, also the icon of the hidden window classes
#define IDI_APP 1000

// Analyzing panel (dialog 11000): shown around long operations; its icon alternates
// between two frames while it is visible
#define IDD_ANALYZING 11000
#define IDC_ANALYZING_ICON 11001
#define IDI_ANALYZING_0 1840
#define IDI_ANALYZING_1 1841
