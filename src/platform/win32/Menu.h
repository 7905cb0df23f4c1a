// Popup menus from the plain records of platform/Controls.h. One builder for every menu of the
// program: plain ones the system draws (the configuration window's), and owner-drawn ones with a
// picture column and a grey side band with the menu's banner written upwards (the tray's and the
// chooser's), whose drawing and access keys are answered here. Positions are given at 96 DPI and
// scaled to the screen's.
#pragma once

#include <functional>

#include "platform/Controls.h"
#include "platform/win32/ScopedGdi.h"
#include "platform/win32/WinApi.h"
#include <commctrl.h>

namespace vexamo::win32 {

// How an owner-drawn menu looks besides its records.
struct MenuLook {
    HIMAGELIST Images = nullptr;  // the pictures the items' ImageIndex names; the caller keeps them
    // Where the banner's text begins (it runs upwards), at 96 DPI from the menu's top; 0 for just
    // above the bottom of the last item.
    int BannerStart = 0;
};

class PopupMenu {
public:
    // The records are read whenever the menu is built, drawn or refreshed, so it shows them live.
    using Records = std::function<TPopupMenu()>;
    // Items the system draws.
    explicit PopupMenu(Records records);
    // Top-level items the program draws; submenus stay the system's.
    PopupMenu(Records records, MenuLook look);
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    // Shows the menu and waits for the user; the chosen item's number, -1 for none.
    int Choose(HWND owner, POINT at, UINT alignment);
    // Shows the menu; the system sends the choice to the owner as WM_COMMAND (TPopupMenu::CommandOf).
    void Show(HWND owner, POINT at, UINT alignment);
    // The items' enabled states again, while the menu may be open.
    void Refresh();
    // WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR of this menu; false for anything else.
    bool Message(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    void Build();
    void Draw(const DRAWITEMSTRUCT& draw);
    int ItemHeight() const;

    Records records_;
    bool ownerDrawn_;
    MenuLook look_;
    Menu menu_;
    Font font_, bold_;
    std::vector<int> shown_;  // the record position of each item the menu holds
};

}  // namespace vexamo::win32
