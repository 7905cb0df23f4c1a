// Owner-drawn menus: a picture column, the caption, and a grey side band with a name written
// upwards. Shared by the tray menu and the chooser's menu. Positions are given at 96 DPI and
// scaled to the screen's.
#pragma once

#include <string>

#include "platform/win32/ScopedGdi.h"
#include "platform/win32/WinApi.h"
#include <commctrl.h>

namespace vexamo {

void DrawMenuItem(HDC canvas, RECT itemRect, bool enabled, bool indented, const std::string& caption,
                  int pictureIndex, HIMAGELIST images, bool selected);
void DrawMenuItemText(int x, HDC canvas, const std::string& caption, RECT itemRect);
// The band runs from the menu's top to below the text's start at y (at least 150 pixels at 96 DPI).
void DrawMenuBanner(HDC canvas, int x, const std::string& text, int y);

// The item's canvas as the menu framework would prepare it: the menu font, and the highlight or
// menu colours for the item's state; all put back at the end of the scope.
class MenuCanvas {
public:
    MenuCanvas(HDC canvas, bool selected);

private:
    win32::ScopedTextColours colours_;
    win32::ScopedSelect font_;
};

// Width (at 96 DPI) and height of an owner-drawn item.
constexpr int OwnerDrawnMenuWidth = 140;
int OwnerDrawnMenuHeight();

}  // namespace vexamo
