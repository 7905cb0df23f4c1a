// Copies the portable windows' control records into real dialog controls and back: the one
// place where the options window and the about box meet their Win32 controls.
#pragma once

#include <string>

#include "platform/win32/WinApi.h"
#include "ui/Controls.h"

namespace vexamo::win32 {

// Caption, enabled and visible of any control.
void ShowControl(HWND dialog, int id, const TControl& control);
// The above and the tick of a check box or radio button.
void ShowCheck(HWND dialog, int id, const TCheckBox& check);
// The above and the items and selection of a drop-down list.
void ShowCombo(HWND dialog, int id, const TComboBox& combo);

void ReadCheck(HWND dialog, int id, TCheckBox& check);
void ReadCombo(HWND dialog, int id, TComboBox& combo);

// A tooltip control for the dialog; AddHint shows a control's hint over it (nothing for an empty
// hint). Long hints wrap at a readable width.
HWND CreateHints(HWND dialog);
void AddHint(HWND tips, HWND dialog, int id, const std::string& hint);

// Sets the client area to the size given at 96 DPI, scaled, and centres the window on the
// work area of its screen.
void SizeClientAndCentre(HWND window, int width, int height);

}  // namespace vexamo::win32
