// The chooser's dialog template and its controls (1300-1399, see platform/ResourceIds.h); its
// pictures are the program's (resources/resource.h).
#pragma once

#define IDD_MONITOR 1300
#define IDC_MONITOR_LABEL5 1301
#define IDC_MONITOR_LSTFILETYPES 1302
#define IDC_MONITOR_LABEL1 1303
#define IDC_MONITOR_LABEL3 1304
#define IDC_MONITOR_LBLCDLABEL 1305
#define IDC_MONITOR_LABEL2 1306
#define IDC_MONITOR_LBLDEVICE 1307
// "&Cancel" is IDCANCEL.

#ifndef RC_INVOKED
#include "platform/ResourceIds.h"
static_assert(vexamo::DistinctIds({IDD_MONITOR, IDC_MONITOR_LABEL5, IDC_MONITOR_LSTFILETYPES, IDC_MONITOR_LABEL1,
                                   IDC_MONITOR_LABEL3, IDC_MONITOR_LBLCDLABEL, IDC_MONITOR_LABEL2,
                                   IDC_MONITOR_LBLDEVICE}));
static_assert(vexamo::IdsWithin({IDD_MONITOR, IDC_MONITOR_LABEL5, IDC_MONITOR_LSTFILETYPES, IDC_MONITOR_LABEL1,
                                 IDC_MONITOR_LABEL3, IDC_MONITOR_LBLCDLABEL, IDC_MONITOR_LABEL2, IDC_MONITOR_LBLDEVICE},
                                1300, 1399));
#endif
