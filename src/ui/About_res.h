// The about box's dialog template and its controls (1200-1299, see platform/ResourceIds.h).
#pragma once

#define IDD_ABOUT 1200
#define IDC_ABOUT_PRODUCT 1201  // the program's picture
#define IDC_ABOUT_LBLVERSION 1202
#define IDC_ABOUT_HOMELABEL 1203
#define IDC_ABOUT_LBLVEXAMO 1204
#define IDC_ABOUT_SUPPORTLABEL 1205
#define IDC_ABOUT_LBLLINKSUPPORT 1206
#define IDC_ABOUT_MAKER 1207  // the maker's picture
#define IDC_ABOUT_LBLURL 1208
// OKButton is IDOK.

#ifndef RC_INVOKED
#include "platform/ResourceIds.h"
static_assert(vexamo::DistinctIds({IDD_ABOUT, IDC_ABOUT_PRODUCT, IDC_ABOUT_LBLVERSION, IDC_ABOUT_HOMELABEL,
                                   IDC_ABOUT_LBLVEXAMO, IDC_ABOUT_SUPPORTLABEL, IDC_ABOUT_LBLLINKSUPPORT,
                                   IDC_ABOUT_MAKER, IDC_ABOUT_LBLURL}));
static_assert(vexamo::IdsWithin({IDD_ABOUT, IDC_ABOUT_PRODUCT, IDC_ABOUT_LBLVERSION, IDC_ABOUT_HOMELABEL,
                                 IDC_ABOUT_LBLVEXAMO, IDC_ABOUT_SUPPORTLABEL, IDC_ABOUT_LBLLINKSUPPORT,
                                 IDC_ABOUT_MAKER, IDC_ABOUT_LBLURL},
                                1200, 1299));
#endif
