// Resource ids of Fix Software Conflicts.
#pragma once

#ifndef IDC_LABEL
#define IDC_LABEL 100
#endif

// Fix Software Conflicts (14600): the report and four checks
#define IDD_FIX_CONFLICTS 14600
#define IDC_CONFLICTS_REPORT 14602
#define IDC_CONFLICTS_DANGEROUS 14603
#define IDC_CONFLICTS_MSDOS 14604
#define IDC_CONFLICTS_INTEGRITY 14605
#define IDC_CONFLICTS_LEGACY 14606
#define HELP_CONTEXT_FIX_CONFLICTS 29030
#define IDB_CONFLICTS_DANGEROUS 1545
#define IDB_CONFLICTS_MSDOS 1546  // shared with the file inventory's "DOS" button
#define IDB_CONFLICTS_INTEGRITY 1547
#define IDB_CONFLICTS_LEGACY 1548
