// Resource ids of the Windows checks: Diagnose Windows Problems and Fix Windows Problems.
#pragma once

#ifndef IDC_LABEL
#define IDC_LABEL 100
#endif

// ---- Diagnose Windows Problems (14100): the catalogue, its report and "Test" ----
#define IDD_DIAGNOSE_WINDOWS 14100
#define IDC_DIAGNOSE_CHECKS 14101
#define IDC_DIAGNOSE_REPORT 14102
#define IDC_DIAGNOSE_TEST 14103
#define IDB_DIAGNOSE_TEST 1549
#define HELP_CONTEXT_DIAGNOSE_WINDOWS 29021
// Help texts of the system-list checks
#define IDR_HELP_CHECK_HEAP_LISTS 2451
#define IDR_HELP_CHECK_HEAPS 2452
#define IDR_HELP_CHECK_WINDOW_CHAIN 2453
#define IDR_HELP_CHECK_PROCESS_LIST 2454
#define IDR_HELP_CHECK_MODULE_LIST 2455
#define IDR_HELP_CHECK_THREAD_LIST 2456



// ---- File, registry and configuration checks ----
// Help texts of the eight checks, one per catalogue row.
#define IDR_HELP_CHECK_SYSTEM_FILES 2457
#define IDR_HELP_CHECK_DIRECTORIES 2458
#define IDR_HELP_CHECK_REGISTRY 2459
#define IDR_HELP_CHECK_ROOT_DIRECTORIES 2462
#define IDR_HELP_CHECK_MEMORY 2464
#define IDR_HELP_CHECK_DRIVERS 2465
#define IDR_HELP_CHECK_STARTUP_FILES 2466
#define IDR_HELP_CHECK_VXDS 2467



// ---- Fix Windows Problems (16300): three topic tables and "Diagnose" ----
#define IDD_FIX_WINDOWS 16300
#define IDC_FIX_WINDOWS_BOOT 16301
#define IDC_FIX_WINDOWS_ERRORS 16302
#define IDC_FIX_WINDOWS_DIAGNOSE 16303
#define IDC_FIX_WINDOWS_REGISTRY 16304
#define HELP_CONTEXT_FIX_WINDOWS 29020
#define IDB_FIX_WINDOWS_BOOT 25065
#define IDB_FIX_WINDOWS_ERRORS 25066
#define IDB_FIX_WINDOWS_REGISTRY 25067
#define IDB_FIX_WINDOWS_DIAGNOSE 1531
// The problem-topic table: row k is command IDC_PROBLEM_TOPIC_BASE + k + 1.
#define IDC_PROBLEM_TOPIC_BASE 3500
#define IDC_PROBLEM_TOPIC_BOOT 3501
#define IDC_PROBLEM_TOPIC_CONFLICTS 3502
#define IDC_PROBLEM_TOPIC_ERRORS 3503
#define IDR_HELP_BOOT_PROBLEMS 3644
#define IDR_HELP_DEVICE_CONFLICTS 3628
#define IDR_HELP_ERROR_MESSAGES 3656
// Help texts of the Windows problem checks
#define IDR_HELP_MSDOS_MODE 3602
#define IDR_HELP_DRIVE_SPACE 3605
#define IDR_HELP_ANIMATED_CURSORS 3606
#define IDR_HELP_DEVICE_CONTENTION 3629
#define IDR_HELP_CONFIGURATION 3653



// ---- Program lists ----
// The tables, one row a line: program name, company and file word (tab-separated); utility
// name and file word; program name.
#define IDR_PROGRAMS_MSDOS 2475
#define IDR_PROGRAMS_DANGEROUS 2476
#define IDR_PROGRAMS_INCOMPATIBLE 2477
