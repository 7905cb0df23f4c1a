// Reading and using the controls of another process's window as a user would see them. Common
// controls' messages (list views, status bars) carry pointers that Windows does not carry across
// processes, so their buffers are made in the target process (VirtualAllocEx) and read back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The rows of a report-style list view, each with the text of every column.
std::vector<std::vector<std::string>> ListViewRows(HWND list);
bool ListViewChecked(HWND list, int row);
// The picture (image-list index) a row shows, -1 for none.
int ListViewImage(HWND list, int row);
int ListViewSelected(HWND list);
// A row's (or a list box item's) rectangle in screen coordinates.
RECT ListViewRowRect(HWND list, int row);
RECT ListBoxItemRect(HWND list, int item);
std::vector<std::string> ListBoxItems(HWND list);
// Whether an item of one of the program's check lists is ticked: they keep the tick in the
// item's data (bit 0), as platform/win32/Controls_win32.cpp draws it.
bool CheckListTicked(HWND list, int item);
// The text of a status bar panel (without the alignment tabs).
std::string StatusPanel(HWND bar, int panel);

// Real mouse input: moves the cursor to the point and clicks with the left (or right) button.
void ClickAt(POINT screen, bool right = false);
POINT Centre(const RECT& r);

// Real keyboard input to the window that has the focus: the virtual key pressed and released,
// with Alt held for an access key.
void PressKey(WORD key, bool alt = false);

}  // namespace e2e
