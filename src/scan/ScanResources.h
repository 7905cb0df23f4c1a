// Resource identifiers of the scan's windows, shared by Scan.rc and their window bindings.
#pragma once

#define IDD_FILEMONITOR 900
#define IDC_LABEL5 901
#define IDC_LSTFILETYPES 902
#define IDC_LABEL1 903
#define IDC_LABEL3 904
#define IDC_LBLCDLABEL 905
#define IDC_LABEL2 906
#define IDC_LBLDEVICE 907

#define IDB_SCAN_BANNER 920
#define IDB_SCAN_TYPES 921
#define IDB_SCAN_POPUP 922
#define IDR_SCAN_SPLASH 923
