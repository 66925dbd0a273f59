// Resource ids of the hardware tools: the interactive hardware tests.
#pragma once

#ifndef IDC_LABEL
#define IDC_LABEL 100
#endif

// Keyboard Test (12300): instructions and 112 key buttons, 12301 upward
#define IDD_KEYBOARD_TEST 12300
#define IDC_KEY_FIRST 12301
#define IDC_KEY_LAST 12412
#define IDT_KEYBOARD_POLL 111

// Sound Card Test (12500)
#define IDD_SOUND_TEST 12500
#define IDC_SOUND_RIGHT 12501
#define IDC_SOUND_LEFT 12502
#define IDC_SOUND_STEREO 12503

// Video Tests (12800): the controller dialog of the full-screen test window
#define IDD_VIDEO_TESTS 12800
#define IDC_VIDEO_INSTRUCTIONS 12801
#define IDC_VIDEO_HORIZONTAL 12802
#define IDC_VIDEO_VERTICAL 12803
#define IDC_VIDEO_DISTORTION 12804
#define IDC_VIDEO_COLOR_DISTORTION 12805
#define IDC_VIDEO_CALIBRATION 12806
#define IDC_VIDEO_START 12807

// Upgrade (13700): the kinds of equipment, their comparison table and four gauges
#define IDD_UPGRADE 13700
#define IDC_UPGRADE_KINDS 13701
#define IDC_UPGRADE_TABLE 13702
#define IDC_UPGRADE_CURRENT 13703
#define IDC_UPGRADE_POSSIBLE 13704
#define IDC_UPGRADE_USAGE 13705
#define IDC_UPGRADE_NEED 13706
#define IDR_HELP_UPGRADE_FIRST 2551  // ..2571, one per kind in list order

// Hardware Optimizer (15600): one button per device class, Reboot and its note
#define IDD_HARDWARE_OPTIMIZER 15600
#define HELP_CONTEXT_HARDWARE_OPTIMIZER 29044
#define IDC_OPTIMIZE_CPU 15601
#define IDC_OPTIMIZE_CDROM 15602
#define IDC_OPTIMIZE_HARD_DISK 15603
#define IDC_OPTIMIZE_MEMORY 15604
#define IDC_OPTIMIZE_MODEM 15605
#define IDC_OPTIMIZE_PRINTER 15606
#define IDC_OPTIMIZE_VIDEO 15607
#define IDC_OPTIMIZE_REBOOT 15609
#define IDC_OPTIMIZE_NOTE 15610
#define IDB_OPTIMIZE_CPU 25010  // ..25016, CPU to Video
#define IDB_OPTIMIZE_REBOOT_NEEDED 25018
#define IDB_OPTIMIZE_REBOOT 25019

// Fix Hardware Problems (15700): the device categories and the six step buttons, each with
// its caption and description beside it
#define IDD_FIX_HARDWARE 15700
#define IDC_PROBLEM_CATEGORIES 15701
#define IDC_PROBLEM_STEP_FIRST 15702  // ..15707, Step 1 to Step 6

// Problem Solver (15800): what a step found, problems beside their solutions
#define IDD_PROBLEM_SOLVER 15800
#define IDC_SOLVER_PROBLEMS 15801
#define IDC_SOLVER_SOLUTIONS 15802
#define IDC_SOLVER_PROBLEMS_LABEL 15803
#define IDC_SOLVER_SOLUTIONS_LABEL 15804
#define HELP_CONTEXT_PROBLEM_SOLVER 29011
