// Resource ids of the user-interface framework: drawing, splash, About box, shared art.
#pragma once

// Start-up splash: the stepped pyramid whose nine tiers fill in as start-up goes on
#define IDB_SPLASH 1522

// About box (dialog 14900): the pyramid stretched into the picture frame, the product
// name in a bold font
#define IDD_ABOUT 14900
#define IDC_ABOUT_PICTURE 14901
#define IDC_ABOUT_NAME 14902
#define IDB_ABOUT 1525

// Help cursor, shown over report lists that offer Quick Help
#define IDR_HELP_CURSOR 900

// Main dialog picture buttons (drawn on the black face)
#define IDB_MAIN_HARDWARE 25040
#define IDB_MAIN_WINDOWS 25041
#define IDB_MAIN_CONFLICTS 25042
#define IDB_MAIN_SPEED 25043
#define IDB_MAIN_TUNE 25044
#define IDB_MAIN_PRIORITIES 25045
#define IDB_MAIN_APPEARANCE 25047
#define IDB_MAIN_STATUS 25049
#define IDB_MAIN_TIPS 25050
#define IDB_MAIN_LIBRARY 25051
