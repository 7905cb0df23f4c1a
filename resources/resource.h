// The program's pictures, shared by the resource script (artwork.rc) and the window bindings; the
// numbering of every other resource is in src/platform/ResourceIds.h. Icons 1-199 (the program's
// own icon first, which the shell shows for the file), bitmaps 200-299, JPEG pictures 300-399.
#pragma once

#define IDI_APP 1
#define IDI_TRAY_ON 101
#define IDI_TRAY_OFF 102
// The configuration window's banner disc and its four steps.
#define IDI_BANNER 111
#define IDI_STEP_1 121
#define IDI_STEP_2 122
#define IDI_STEP_3 123
#define IDI_STEP_4 124
// The player wizard's test bar and command-line group.
#define IDI_WIZARD_TEST 131
#define IDI_WIZARD_CMD 132

// The tray menu's pictures (a strip, TrayPicture order).
#define IDB_MENU_STRIP 201
// The player pictures for 16, 24 and 32 pixel rows.
#define IDB_PLAYERS_16 211
#define IDB_PLAYERS_24 212
#define IDB_PLAYERS_32 213
// The chooser's banner, its row pictures and its menu's picture.
#define IDB_SCAN_BANNER 221
#define IDB_SCAN_TYPES 222
#define IDB_SCAN_POPUP 223

// JPEG pictures (RCDATA), decoded when their window opens.
#define IDR_ABOUT_PRODUCT 301
#define IDR_ABOUT_MAKER 302
#define IDR_SCAN_SPLASH 311
#define IDR_WIZARD_BANNER 321

#ifndef RC_INVOKED
#include "../src/platform/ResourceIds.h"
static_assert(vexamo::DistinctIds({IDI_APP, IDI_TRAY_ON, IDI_TRAY_OFF, IDI_BANNER, IDI_STEP_1, IDI_STEP_2, IDI_STEP_3,
                                   IDI_STEP_4, IDI_WIZARD_TEST, IDI_WIZARD_CMD, IDB_MENU_STRIP, IDB_PLAYERS_16,
                                   IDB_PLAYERS_24, IDB_PLAYERS_32, IDB_SCAN_BANNER, IDB_SCAN_TYPES, IDB_SCAN_POPUP,
                                   IDR_ABOUT_PRODUCT, IDR_ABOUT_MAKER, IDR_SCAN_SPLASH, IDR_WIZARD_BANNER}));
static_assert(vexamo::IdsWithin({IDI_APP, IDI_TRAY_ON, IDI_TRAY_OFF, IDI_BANNER, IDI_STEP_1, IDI_STEP_2, IDI_STEP_3,
                                 IDI_STEP_4, IDI_WIZARD_TEST, IDI_WIZARD_CMD}, 1, 199));
static_assert(vexamo::IdsWithin({IDB_MENU_STRIP, IDB_PLAYERS_16, IDB_PLAYERS_24, IDB_PLAYERS_32, IDB_SCAN_BANNER,
                                 IDB_SCAN_TYPES, IDB_SCAN_POPUP}, 200, 299));
static_assert(vexamo::IdsWithin({IDR_ABOUT_PRODUCT, IDR_ABOUT_MAKER, IDR_SCAN_SPLASH, IDR_WIZARD_BANNER}, 300, 399));
#endif
