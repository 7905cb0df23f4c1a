// Resource identifiers shared by the resource script and the window bindings.
#pragma once

#define IDI_APP 1
#define IDI_TRAY_ON 101
#define IDI_TRAY_OFF 102
#define IDB_MENU_STRIP 201
// The configuration window's pictures: the player pictures for 16, 24 and 32 pixel rows, the
// banner's disc and the four steps.
#define IDB_PLAYERS_16 211
#define IDB_PLAYERS_24 212
#define IDB_PLAYERS_32 213
#define IDI_BANNER 111
#define IDI_STEP_1 121
#define IDI_STEP_2 122
#define IDI_STEP_3 123
#define IDI_STEP_4 124
// The about box's pictures (JPEG, decoded when the box opens).
#define IDR_ABOUT_PRODUCT 301
#define IDR_ABOUT_MAKER 302
// The player wizard's test bar and command-line group.
#define IDI_WIZARD_TEST 3003
#define IDI_WIZARD_CMD 3004
