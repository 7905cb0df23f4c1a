// Resource identifiers shared by the resource script and the window bindings.
#pragma once

#define IDI_APP 1
#define IDI_TRAY_ON 101
#define IDI_TRAY_OFF 102
#define IDB_MENU_STRIP 201
// The about box's pictures (JPEG, decoded when the box opens).
#define IDR_ABOUT_PRODUCT 301
#define IDR_ABOUT_MAKER 302
