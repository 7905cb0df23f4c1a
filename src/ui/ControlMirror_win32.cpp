#include "ui/ControlMirror_win32.h"

#include <commctrl.h>

#include "platform/win32/Window.h"

namespace vexamo::win32 {

void ShowControl(HWND dialog, int id, const TControl& control) {
    HWND item = GetDlgItem(dialog, id);
    if (!item) return;
    // Setting an unchanged text again would only make the control flicker.
    char current[1024] = {};
    GetWindowTextA(item, current, sizeof current);
    if (control.Caption != current) SetWindowTextA(item, control.Caption.c_str());
    EnableWindow(item, control.Enabled ? TRUE : FALSE);
    ShowWindow(item, control.Visible ? SW_SHOWNA : SW_HIDE);
}

void ShowCheck(HWND dialog, int id, const TCheckBox& check) {
    ShowControl(dialog, id, check);
    CheckDlgButton(dialog, id, check.Checked ? BST_CHECKED : BST_UNCHECKED);
}

void ShowCombo(HWND dialog, int id, const TComboBox& combo) {
    HWND item = GetDlgItem(dialog, id);
    if (!item) return;
    // Refilled only when the items changed: the list may be dropped down right now.
    bool same = SendMessageA(item, CB_GETCOUNT, 0, 0) == static_cast<LRESULT>(combo.Items.size());
    for (size_t i = 0; same && i < combo.Items.size(); ++i) {
        char text[256] = {};
        if (SendMessageA(item, CB_GETLBTEXTLEN, i, 0) >= static_cast<LRESULT>(sizeof text)) same = false;
        else SendMessageA(item, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        same = same && combo.Items[i] == text;
    }
    if (!same) {
        SendMessageA(item, CB_RESETCONTENT, 0, 0);
        for (const std::string& text : combo.Items)
            SendMessageA(item, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    if (SendMessageA(item, CB_GETCURSEL, 0, 0) != combo.ItemIndex)
        SendMessageA(item, CB_SETCURSEL, static_cast<WPARAM>(combo.ItemIndex), 0);
    EnableWindow(item, combo.Enabled ? TRUE : FALSE);
    ShowWindow(item, combo.Visible ? SW_SHOWNA : SW_HIDE);
}

void ReadCheck(HWND dialog, int id, TCheckBox& check) {
    check.Checked = IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void ReadCombo(HWND dialog, int id, TComboBox& combo) {
    HWND item = GetDlgItem(dialog, id);
    if (!item) return;
    const LRESULT index = SendMessageA(item, CB_GETCURSEL, 0, 0);
    combo.ItemIndex = index == CB_ERR ? -1 : static_cast<int>(index);
    combo.Text = combo.ItemIndex >= 0 && combo.ItemIndex < static_cast<int>(combo.Items.size())
                     ? combo.Items[static_cast<size_t>(combo.ItemIndex)]
                     : std::string();
}

HWND CreateHints(HWND dialog) {
    HWND tips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                                reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), nullptr);
    if (tips) SendMessageA(tips, TTM_SETMAXTIPWIDTH, 0, Scale(360));
    return tips;
}

void AddHint(HWND tips, HWND dialog, int id, const std::string& hint) {
    HWND item = GetDlgItem(dialog, id);
    if (!tips || !item || hint.empty()) return;
    TTTOOLINFOA info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = dialog;
    info.uId = reinterpret_cast<UINT_PTR>(item);
    info.lpszText = const_cast<char*>(hint.c_str());
    SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void SizeClientAndCentre(HWND window, int width, int height) {
    // The template is laid out in dialog units, which follow the dialog font; a font wider or
    // narrower than the one the layout was made with would push controls out of the fixed client
    // area. Every control keeps its place in proportion instead.
    RECT before{};
    GetClientRect(window, &before);
    const int oldW = before.right > 0 ? before.right : 1;
    const int oldH = before.bottom > 0 ? before.bottom : 1;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetParent(child) != window) continue;  // owned popups such as tooltips
        RECT box{};
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
        char cls[32] = {};
        GetClassNameA(child, cls, sizeof cls);
        // A drop-down list's height is that of its open list, not of what the window rect shows.
        const bool combo = lstrcmpiA(cls, "ComboBox") == 0;
        const int left = MulDiv(box.left, Scale(width), oldW);
        const int top = MulDiv(box.top, Scale(height), oldH);
        const int w = MulDiv(box.right, Scale(width), oldW) - left;
        const int h = combo ? Scale(120) : MulDiv(box.bottom, Scale(height), oldH) - top;
        SetWindowPos(child, nullptr, left, top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    RECT frame{0, 0, Scale(width), Scale(height)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
    const int w = frame.right - frame.left;
    const int h = frame.bottom - frame.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    SetWindowPos(window, nullptr, area.left + (area.right - area.left - w) / 2,
                 area.top + (area.bottom - area.top - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vexamo::win32
