// Resource ids of the analysis views: bottleneck analyzer, wait time, coach, Boost PC
// Tips and the Tips dialog that opens the last two.
#pragma once

#ifndef IDC_LABEL
#define IDC_LABEL 100
#endif

// Bottleneck Analyzer (13800): one dialog, run over the system quantities or the hardware ones
#define IDD_BOTTLENECK 13800
#define HELP_CONTEXT_BOTTLENECK 29051
#define IDC_BOTTLENECK_CATEGORIES 13801
#define IDC_BOTTLENECK_ACTUAL 13802
#define IDC_BOTTLENECK_PATTERN 13803
#define IDC_BOTTLENECK_BEST_CAPTION 13804
#define IDC_BOTTLENECK_FINDINGS 13805
#define IDC_BOTTLENECK_ACTUAL_CAPTION 13806

// Wait Time (12900): a progress bar and a time field per hardware row, three totals
#define IDD_WAIT_TIME 12900
#define HELP_CONTEXT_WAIT_TIME 29043
#define IDC_WAIT_BAR_VIDEO_CARD 12901
#define IDC_WAIT_BAR_VIDEO_MONITOR 12902
#define IDC_WAIT_BAR_PRINTER 12903
#define IDC_WAIT_BAR_MODEM 12904
#define IDC_WAIT_BAR_MEMORY 12906
#define IDC_WAIT_BAR_DISK 12908
#define IDC_WAIT_BAR_CPU 12909
#define IDC_WAIT_TIME_VIDEO_MONITOR 12910
#define IDC_WAIT_TIME_VIDEO_CARD 12911
#define IDC_WAIT_TIME_PRINTER 12912
#define IDC_WAIT_TIME_MODEM 12913
#define IDC_WAIT_TIME_MEMORY 12915
#define IDC_WAIT_TIME_DISK 12917
#define IDC_WAIT_TIME_CPU 12918
#define IDC_WAIT_TOTAL 12919
#define IDC_WAIT_PERCENT 12920
#define IDC_WAIT_USING 12921

// Coach (13900): ten gauge cells, labels, the scores, the advice titles and explanation
#define IDD_COACH 13900
#define HELP_CONTEXT_COACH 29111
#define IDC_COACH_GAUGE_FIRST 13901  // ..13910
#define IDC_COACH_SCORES 13911
#define IDC_COACH_LEFT_LABEL 13912
#define IDC_COACH_RIGHT_LABEL 13913
#define IDC_COACH_TITLES 13914
#define IDC_COACH_TEXT 13915
#define IDI_COACH_EMPTY_CELL 1801
#define IDI_COACH_GAUGE_FIRST 1820  // ..1832, one per score

// Boost PC Tips (14300): categories, titles, text and the impact and effort levels
#define IDD_BOOST_TIPS 14300
#define HELP_CONTEXT_BOOST_TIPS 29112
#define IDC_TIPS_CATEGORIES 14301
#define IDC_TIPS_TITLES 14302
#define IDC_TIPS_TEXT 14303
#define IDC_TIPS_IMPACT 14304
#define IDC_TIPS_EFFORT 14305
#define IDI_TIPS_BLANK 1802

// Level icons 1610 + n for n = 0..9, and the unknown level
#define IDI_LEVEL_FIRST 1610
#define IDI_LEVEL_UNKNOWN 1620

// Tips (16200): the coach, the performance tips and the shortcuts
#define IDD_TIPS 16200
#define HELP_CONTEXT_TIPS 29110
#define IDC_TIPS_COACH 16201
#define IDC_TIPS_BOOST 16202
#define IDC_TIPS_SHORTCUTS 16203
#define IDB_TIPS_COACH 25073
#define IDB_TIPS_BOOST 25017
#define IDB_TIPS_SHORTCUTS 25001

// Help texts of the system quantities, the hardware quantities, the coach scores and the
// overview shown above every category's performance tips
#define IDR_HELP_MEMORY_LOAD 2754
#define IDR_HELP_PAGE_FILE 2756
#define IDR_HELP_VIRTUAL 2757
#define IDR_HELP_DISK_LOAD 2759
#define IDR_HELP_BYTES_READ 2760
#define IDR_HELP_READS 2761
#define IDR_HELP_READ_SIZE 2762
#define IDR_HELP_WRITE_BYTES 2763
#define IDR_HELP_WRITES 2764
#define IDR_HELP_WRITE_SIZE 2765
#define IDR_HELP_APPS_32 2771
#define IDR_HELP_APPS_16 2772
#define IDR_HELP_APPS_DOS 2773
#define IDR_HELP_GDI16 2774
#define IDR_HELP_GDI32 2775
#define IDR_HELP_USER16 2776
#define IDR_HELP_USER32_MENU 2777
#define IDR_HELP_USER32_WINDOW 2778
#define IDR_HELP_MODULES 2779
#define IDR_HELP_PRIORITIES 2780
#define IDR_HELP_PROCESSES 2781
#define IDR_HELP_THREADS 2782
#define IDR_HELP_WINDOWS 2783
#define IDR_HELP_HW_CPU 2740
#define IDR_HELP_HW_DISK 2741
#define IDR_HELP_HW_MEMORY 2742
#define IDR_HELP_HW_MODEM 2743
#define IDR_HELP_HW_PRINTER 2744
#define IDR_HELP_HW_VIDEO_CARD 2745
#define IDR_HELP_HW_VIDEO_MONITOR 2746
#define IDR_HELP_COACH_DISK_EFFICIENCY 3051
#define IDR_HELP_COACH_FIRST 3051  // ..3063, in the help-id order of the score table
#define IDR_HELP_TIPS_OVERVIEW 2950

// Help texts of the seven stock load patterns, in pattern order
#define IDR_HELP_PATTERN_FIRST 2791  // ..2797
