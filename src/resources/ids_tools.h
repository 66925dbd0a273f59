// Resource ids of the report viewer, Quick Help and the help texts they show.
#pragma once

// Report viewer (dialog 13300 "Reference"): the report on the left, its Quick Help on
// the right; menu TEXTOUT_MENU with the one command "Print"
#define IDD_REPORT_VIEWER 13300
#define IDC_VIEWER_TITLE 13301
#define IDC_VIEWER_HELP_TITLE 13302
#define IDC_VIEWER_REPORT 13303
#define IDC_VIEWER_HELP 13304
#define IDM_VIEWER_PRINT 13305
#define IDR_VIEWER_MENU "TEXTOUT_MENU"
#define HELP_CONTEXT_VIEWER 29130

// Quick Help (dialog 14200): one list of help text
#define IDD_QUICK_HELP 14200
#define IDC_QUICK_HELP_LIST 14201

// Help texts (RCDATA)
#define IDR_HELP_SYSTEM_MONITOR 2851
#define IDR_HELP_SOFTWARE_MONITOR 2852
#define IDR_HELP_PRIORITY_MONITOR 2853
#define IDR_HELP_USAGE_MONITOR 2854
#define IDR_HELP_MEMORY_MONITOR 2855
#define IDR_HELP_DISK_MONITOR 2856
