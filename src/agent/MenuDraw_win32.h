// Owner-drawn menus: a picture column, the caption, and a grey side band with a name written
// upwards. Shared by the tray menu and the chooser's menu.
#pragma once

#include <string>

#include "platform/win32/WinApi.h"
#include <commctrl.h>

namespace vexamo {

void DrawMenuItem(HDC canvas, RECT itemRect, bool enabled, bool indented, const std::string& caption,
                  int pictureIndex, HIMAGELIST images, bool selected);
void DrawMenuItemText(int x, HDC canvas, const std::string& caption, RECT itemRect);
void DrawMenuBanner(HDC canvas, int x, const std::string& text, int y);

// Prepares the item's canvas as the menu framework would: the menu font, and the highlight or
// menu colours for the item's state. Returns the font to restore.
HFONT PrepareMenuCanvas(HDC canvas, bool selected);

// Width and height of an owner-drawn item.
constexpr int OwnerDrawnMenuWidth = 140;
int OwnerDrawnMenuHeight();

}  // namespace vexamo
