// Resource ids of the monitors and the monitors chooser.
#pragma once

// Lamp monitors: caption, rows of ten owner-drawn lamps made at start from the lamp tables
#define IDD_SYSTEM_MONITOR 10100
#define IDD_DISK_MONITOR 10200
#define IDD_MEMORY_MONITOR 10300
#define IDD_SOFTWARE_MONITOR 10400

// Priority map: ten rows, the program's name (10510, 10530, ... 10690) and twelve lamps
// after it (name id + 1 .. name id + 12)
#define IDD_PRIORITY_MAP 10500
#define IDC_PRIORITY_FIRST_ROW 10510
#define IDC_PRIORITY_ROW_STEP 20

// Usage monitor: five icons, no caption
#define IDD_USAGE_MONITOR 12100
#define IDC_USAGE_CPU 12101
#define IDC_USAGE_VIDEO 12102
#define IDC_USAGE_DISK 12103
#define IDC_USAGE_MEMORY 12104
#define IDC_USAGE_TYPING 12105
#define IDI_USAGE_NUMBER_FIRST 1700
#define IDI_USAGE_LABEL_CPU 1850
#define IDI_USAGE_LABEL_DISK 1851
#define IDI_USAGE_LABEL_TYPING 1852
#define IDI_USAGE_LABEL_MEMORY 1853
#define IDI_USAGE_LABEL_VIDEO 1854

// Monitors chooser (dialog 13400 "Monitors")
#define IDD_MONITOR_CHOOSER 13400
#define IDC_CHOOSE_PRIORITIES 13401
#define IDC_CHOOSE_DISK 13402
#define IDC_CHOOSE_MEMORY 13403
#define IDC_CHOOSE_SOFTWARE 13404
#define IDC_CHOOSE_SYSTEM 13405
#define IDC_CHOOSE_USAGE 13406
#define IDC_CHOOSE_ON_TOP 13407
#define HELP_CONTEXT_MONITOR_CHOOSER 29103

// Which monitor "MONITORACTIVE" opens (its wParam)
#define MONITOR_USAGE 2801
#define MONITOR_DISK 2802
#define MONITOR_MEMORY 2803
#define MONITOR_PRIORITY 2804
#define MONITOR_SOFTWARE 2805
#define MONITOR_SYSTEM 2806
