// Resource ids of the file inventory.
#pragma once

// File Inventory (14500): program files of one kind, or files not backed up
#define IDD_FILE_INVENTORY 14500
#define HELP_CONTEXT_FILE_INVENTORY 29102
#define IDC_INVENTORY_LIST 14501
#define IDC_INVENTORY_DOS 14502
#define IDC_INVENTORY_WIN31 14503
#define IDC_INVENTORY_WIN95 14504
#define IDC_INVENTORY_BACKUP 14505
#define IDB_INVENTORY_DOS 1546
#define IDB_INVENTORY_WIN31 1551
#define IDB_INVENTORY_WIN95 1552
#define IDB_INVENTORY_BACKUP 25005
