// Resource ids of the main dialog, its menu and the dialogs it opens itself.
#pragma once

// Static labels and frames: any id but 0xFFFF, which marks the text of a message box
#ifndef IDC_LABEL
#define IDC_LABEL 100
#endif

// Main dialog (1920) and its menu (1900). Buttons and menu items share the command ids.
#define IDD_MAIN 1920
#define IDR_MAIN_MENU 1900
#define HELP_CONTEXT_MAIN 29000
#define IDC_MAIN_HARDWARE 1901
#define IDC_MAIN_WINDOWS 1902
#define IDC_MAIN_CONFLICTS 1903
#define IDC_MAIN_SPEED 1904
#define IDC_MAIN_TUNE 1905
#define IDC_MAIN_PRIORITIES 1906
#define IDC_MAIN_APPEARANCE 1907
#define IDC_MAIN_SETTINGS 1908
#define IDC_MAIN_STATUS 1910
#define IDC_MAIN_TIPS 1911
#define IDC_MAIN_LIBRARY 1912
#define IDM_MAIN_HELP 1913
#define IDM_MAIN_README 1914
#define IDM_MAIN_ABOUT 1915
#define IDM_CLOSE_ALL 1950

// Speed Up Hardware (16100): five picture buttons opening the hardware speed tools
#define IDD_SPEED_UP 16100
#define HELP_CONTEXT_SPEED_UP 29040
#define IDC_SPEED_BENCHMARK 16101
#define IDC_SPEED_BOTTLENECK 16102
#define IDC_SPEED_WAIT 16103
#define IDC_SPEED_OPTIMIZE 16104
#define IDC_SPEED_UPGRADE 16105
#define IDB_SPEED_BENCHMARK 25006
#define IDB_SPEED_WAIT 1582
#define IDB_SPEED_BOTTLENECK 1581
#define IDB_SPEED_OPTIMIZE 1535
#define IDB_SPEED_UPGRADE 25070

// Boosting (15000): the proposed changes before a boost is applied
#define IDD_BOOSTING 15000
#define HELP_CONTEXT_BOOSTING 29131
#define IDC_BOOST_ICON 15001
#define IDC_BOOST_TEXT 15003
#define IDB_BOOST_CANCEL 25020
#define IDB_BOOST_GO 25021
#define IDI_BOOST 1865
