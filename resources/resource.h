// Resource identifiers shared by the resource script and the window bindings.
#pragma once

#define IDI_APP 1
#define IDI_TRAY_ON 101
#define IDI_TRAY_OFF 102
#define IDB_MENU_STRIP 201
#define IDI_WIZARD_TEST 3003
#define IDI_WIZARD_CMD 3004
