#include "agent/Init_win32.h"

#include "../../resources/resource.h"
#include "agent/MenuDraw_win32.h"
#include <dbt.h>
#include "ui/About_win32.h"
#include "ui/Settings_win32.h"
#include "ui/main.h"
#include "ui/main_win32.h"

namespace vexamo {

namespace {

TMainForm::Item ItemOf(UINT command) { return static_cast<TMainForm::Item>(command - TrayMenuCommandBase); }

// The drive roots of a volume's device change (dbcv_unitmask holds one bit per letter).
StringList VolumeDrives(LPARAM lParam) {
    StringList roots;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
    if (!header || header->dbch_devicetype != DBT_DEVTYP_VOLUME) return roots;
    const DWORD mask = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(lParam)->dbcv_unitmask;
    for (int letter = 0; letter < 26; ++letter)
        if (mask & (1u << letter)) roots.push_back(std::string(1, static_cast<char>('A' + letter)) + ":\\");
    return roots;
}

}  // namespace

MainFormWindow::MainFormWindow(HINSTANCE instance) : instance_(instance) {
    Create(instance, 0, MainFormCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 200, 100);

    const int small = GetSystemMetrics(SM_CXSMICON);
    trayOn_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_TRAY_ON), IMAGE_ICON, small, small, 0));
    trayOff_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_TRAY_OFF), IMAGE_ICON, small, small, 0));
    // The five 16-pixel pictures, enlarged with the screen's DPI so that they keep their place
    // beside the (scaled) menu text.
    const int picture = win32::Scale(16);
    images_ = ImageList_Create(picture, picture, ILC_COLOR24 | ILC_MASK, 5, 0);
    if (HBITMAP strip = static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(IDB_MENU_STRIP), IMAGE_BITMAP,
                                                        picture * 5, picture, LR_CREATEDIBSECTION))) {
        ImageList_AddMasked(images_, strip, RGB(255, 0, 255));
        DeleteObject(strip);
    }
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
}

MainFormWindow::~MainFormWindow() {
    if (popup_) DestroyMenu(popup_);
    if (images_) ImageList_Destroy(images_);
}

void MainFormWindow::PrepareClass(WNDCLASSA& wc) const {
    wc.hIcon = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_APP));
    wc.hbrBackground = nullptr;
}

void MainFormWindow::Terminate() { PostQuitMessage(0); }

void MainFormWindow::CloseMainWindow() { PostMessageA(Handle(), WM_CLOSE, 0, 0); }

std::unique_ptr<TfrmMain> MainFormWindow::CreateConfigWindow(TrayAgent& tray) {
    return CreateFrmMainWindow(instance_, tray);
}

std::unique_ptr<TFrmOptions> MainFormWindow::CreateOptionsWindow(TrayAgent& tray) {
    return vexamo::CreateOptionsWindow(instance_, tray);
}

std::unique_ptr<TAboutBox> MainFormWindow::CreateAboutBox() { return CreateAboutBoxWindow(instance_); }

void MainFormWindow::PopupTrayMenu() {
    if (popup_) DestroyMenu(popup_);
    popup_ = CreatePopupMenu();
    for (size_t i = 0; i < form_->PopUpSysTray.size(); ++i) {
        if (form_->PopUpSysTray[i].Separator)
            AppendMenuA(popup_, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuA(popup_, MF_OWNERDRAW, TrayMenuCommandBase + i, reinterpret_cast<LPCSTR>(i));
    }
    TrayMenuChanged();
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(Handle());
    POINT at{};
    GetCursorPos(&at);
    TrackPopupMenu(popup_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
    PostMessageA(Handle(), WM_NULL, 0, 0);
}

void MainFormWindow::TrayMenuChanged() {
    // The menu may be open (a disc arrived meanwhile): what it lets the user choose follows
    // what it draws.
    if (!popup_) return;
    for (size_t i = 0; i < form_->PopUpSysTray.size(); ++i) {
        const MenuItemState& item = form_->PopUpSysTray[i];
        if (item.Separator) continue;
        EnableMenuItem(popup_, TrayMenuCommandBase + i, MF_BYCOMMAND | (item.Enabled ? MF_ENABLED : MF_GRAYED));
    }
}

LRESULT MainFormWindow::MenuChar(WPARAM wParam, LPARAM lParam) {
    // Owner-drawn items have no text for the system to find access keys in.
    HMENU menu = reinterpret_cast<HMENU>(lParam);
    int selected = -1;
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i)
        if (GetMenuState(menu, i, MF_BYPOSITION) & MF_HILITE) selected = i;
    const MenuKeyAnswer answer = form_->TrayMenuKey(static_cast<char>(LOWORD(wParam)), selected);
    if (answer.Index < 0) return MAKELRESULT(0, MNC_IGNORE);
    return MAKELRESULT(answer.Index, answer.Execute ? MNC_EXECUTE : MNC_SELECT);
}

LRESULT MainFormWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!form_) return Default(msg, wParam, lParam);
    TMainForm& form = *form_;
    if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
        form.TaskbarCreated();
        return 0;
    }
    switch (msg) {
        case WM_TRAYNOTIFY:
            form.WMTrayNotify(static_cast<std::uintptr_t>(lParam));
            return 0;
        case WM_DEVICECHANGE: {
            const LRESULT result = Default(msg, wParam, lParam);
            form.WMDeviceChange(static_cast<std::uintptr_t>(wParam), VolumeDrives(lParam));
            return result ? result : TRUE;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == 0 && LOWORD(wParam) >= TrayMenuCommandBase &&
                LOWORD(wParam) < TrayMenuCommandBase + TMainForm::ItemCount) {
                form.ItemClick(ItemOf(LOWORD(wParam)));
                return 0;
            }
            break;
        case WM_MEASUREITEM: {
            auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (m->CtlType != ODT_MENU) break;
            m->itemWidth = win32::Scale(OwnerDrawnMenuWidth);
            m->itemHeight = OwnerDrawnMenuHeight();
            return TRUE;
        }
        case WM_DRAWITEM: {
            auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (d->CtlType != ODT_MENU || d->itemData >= TMainForm::ItemCount) break;
            const auto item = static_cast<TMainForm::Item>(d->itemData);
            const MenuItemState state = form.TrayMenuItem(item);
            const bool selected = (d->itemState & ODS_SELECTED) != 0;
            MenuCanvas canvas(d->hDC, selected);
            DrawMenuItem(d->hDC, d->rcItem, state.Enabled, true, state.Caption, state.ImageIndex, images_, selected);
            if (item == TMainForm::mnuExit) DrawMenuBanner(d->hDC, win32::Scale(2), "Vexamo", d->rcItem.bottom - win32::Scale(7));
            return TRUE;
        }
        case WM_MENUCHAR:
            if (reinterpret_cast<HMENU>(lParam) != popup_) break;
            return MenuChar(wParam, lParam);
        case WM_CLOSE:
            form.FormClose();
            DestroyWindow(Handle());
            return 0;
        case WM_DESTROY:
            form.FormDestroy();
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return Default(msg, wParam, lParam);
}

}  // namespace vexamo
