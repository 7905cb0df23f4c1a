#include "platform/win32/Controls_win32.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/Layout.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/ScopedGdi.h"
#include "platform/win32/Window.h"

namespace vexamo::win32 {

namespace {

const CheckListLayout& CheckRow() {
    static const CheckListLayout layout(ScreenDpi());
    return layout;
}

// A check-list row's data, and the row drawn again.
void SetRowData(HWND list, int index, long data) {
    SendMessageA(list, LB_SETITEMDATA, index, data);
    RECT r{};
    if (SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)) != LB_ERR) InvalidateRect(list, &r, FALSE);
}

void ToggleItem(HWND list, int index) {
    const LRESULT data = index < 0 ? LB_ERR : SendMessageA(list, LB_GETITEMDATA, index, 0);
    const std::optional<long> toggled = CheckListToggled(IsWindowEnabled(list) != FALSE, index, static_cast<long>(data));
    if (!toggled) return;
    SetRowData(list, index, *toggled);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), RecordMirror::CheckListClickCheck),
                 reinterpret_cast<LPARAM>(list));
}

LRESULT CALLBACK CheckListProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            // The list box first makes the clicked item current (and takes the focus).
            LRESULT result = DefSubclassProc(list, msg, wParam, lParam);
            const LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, lParam);
            if (HIWORD(hit) == 0) ToggleItem(list, LOWORD(hit));
            return result;
        }
        case WM_KEYDOWN:
            if (wParam != VK_SPACE) break;
            ToggleItem(list, static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)));
            return 0;
        case WM_CHAR:
            if (wParam == ' ') return 0;
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(list, CheckListProc, 0);
            break;
        default:
            break;
    }
    return DefSubclassProc(list, msg, wParam, lParam);
}

void DrawCheckListItem(const DRAWITEMSTRUCT& draw) {
    if (draw.itemID == static_cast<UINT>(-1)) return;
    const HWND list = draw.hwndItem;
    const TCheckListItem item = CheckListItemOf(static_cast<long>(draw.itemData));
    const bool enabled = IsWindowEnabled(list) && item.Enabled;
    const RowColours colours = CheckListRowColours(IsWindowEnabled(list), item.Enabled, draw.itemState & ODS_SELECTED);
    RECT r = draw.rcItem;
    FillRect(draw.hDC, &r, GetSysColorBrush(static_cast<int>(colours.Fill)));

    const CheckListLayout& at = CheckRow();
    const int boxTop = r.top + (r.bottom - r.top - at.Box) / 2;
    RECT boxRect{r.left + at.BoxLeft, boxTop, r.left + at.BoxLeft + at.Box, boxTop + at.Box};
    DrawFrameControl(draw.hDC, &boxRect, DFC_BUTTON,
                     DFCS_BUTTONCHECK | DFCS_FLAT | (item.Checked ? DFCS_CHECKED : 0) | (enabled ? 0 : DFCS_INACTIVE));

    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, draw.itemID, 0);
    std::string text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
    const LRESULT got = SendMessageA(list, LB_GETTEXT, draw.itemID, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    DrawTextOver(draw.hDC, text, {r.left + at.TextLeft, r.top, r.right, r.bottom}, GetSysColor(static_cast<int>(colours.Text)),
                 DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if ((draw.itemState & ODS_FOCUS) && !(draw.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(draw.hDC, &r);
}

LRESULT Send(HWND control, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(control, msg, wParam, lParam);
}

// Inserts (LVM_INSERTITEMA) or changes (LVM_SETITEMA) a list view's row or cell.
void SendItem(HWND list, UINT msg, UINT mask, int row, int column, const std::string& text, int picture) {
    LVITEMA item{};
    item.mask = mask;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    item.iImage = picture >= 0 ? picture : I_IMAGENONE;
    Send(list, msg, 0, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

// --- the mirror ----------------------------------------------------------------------------------

ControlMirror::ControlMirror(HWND dialog) : RecordMirror(static_cast<ControlPort&>(*this)), dialog_(dialog) {
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                               Instance(), nullptr);
    if (tooltip_) Send(tooltip_, TTM_SETMAXTIPWIDTH, 0, Scale(320));
}

ControlMirror::~ControlMirror() {
    if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
}

void ControlMirror::SetImages(int id, HIMAGELIST images) { images_[id] = images; }

void ControlMirror::SetColumns(int id, const std::vector<TListColumn>& columns, bool checkboxes) {
    const HWND view = Control(id);
    DWORD ex = LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP;
    if (checkboxes) ex |= LVS_EX_CHECKBOXES;
    ListView_SetExtendedListViewStyleEx(view, ex, ex);
    if (images_.count(id)) ListView_SetImageList(view, images_[id], LVSIL_SMALL);
    for (size_t c = 0; c < columns.size(); ++c) {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.pszText = const_cast<char*>(columns[c].Caption.c_str());
        col.cx = Scale(columns[c].Width);
        col.iSubItem = static_cast<int>(c);
        Send(view, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&col));
    }
}

void ControlMirror::MakeCheckList(int id, int columns) {
    const HWND box = Control(id);
    checkLists_.push_back(box);
    SetWindowSubclass(box, CheckListProc, 0, 0);
    TEXTMETRICA tm{};
    {
        const ScopedGetDC dc(box);
        const ScopedSelect font(dc, DialogFont(box));
        GetTextMetricsA(dc, &tm);
    }
    Send(box, LB_SETITEMHEIGHT, 0, CheckRow().RowHeight(tm.tmHeight));
    if (columns > 1) {
        RECT client{};
        GetClientRect(box, &client);
        Send(box, LB_SETCOLUMNWIDTH, client.right / columns);
    }
}

void ControlMirror::UseHandCursor(int id) { hands_.push_back(Control(id)); }

void ControlMirror::UnwrappedHints() {
    if (tooltip_) Send(tooltip_, TTM_SETMAXTIPWIDTH, 0, -1);
}

std::optional<TNotifyEvent> ControlMirror::Command(HWND control, WORD code) {
    const ControlKind kind = IsClass(control, "ComboBox") ? ControlKind::ComboBox
                             : IsClass(control, "Edit")   ? ControlKind::Edit
                                                          : ControlKind::Other;
    // Leaving a control counts when the focus went to another control of the dialog.
    const std::optional<Action> action = CommandAction(kind, code, IsChild(dialog_, GetFocus()) != FALSE);
    return action ? Event(GetDlgCtrlID(control), *action) : std::nullopt;
}

std::optional<TNotifyEvent> ControlMirror::Notify(const NMHDR& header) {
    if (header.code == HDN_ITEMCHANGEDA || header.code == HDN_ITEMCHANGEDW) {
        const HWND list = GetParent(header.hwndFrom);
        const int column = reinterpret_cast<const NMHEADERA&>(header).iItem;
        if (const auto width = ColumnDragged(GetDlgCtrlID(list), column, Unscale(ListView_GetColumnWidth(list, column))))
            ListView_SetColumnWidth(list, column, Scale(*width));
        return std::nullopt;
    }
    const int id = static_cast<int>(header.idFrom);
    if (header.code == NM_CLICK) return Event(id, Action::Click);
    if (header.code == NM_RCLICK) return Event(id, Action::RightClick);
    if (header.code != LVN_ITEMCHANGED) return std::nullopt;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    return RowChanged(id, change.iItem, {change.uChanged, change.uOldState, change.uNewState,
                                         GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0});
}

const TControl* ControlMirror::Focused() const {
    const HWND focus = GetFocus();
    return focus && IsChild(dialog_, focus) ? RecordOf(GetDlgCtrlID(focus)) : nullptr;
}

bool ControlMirror::SetCursor(HWND control, int hitTest) {
    const bool link = IsLink(control) && IsWindowEnabled(control);
    const bool hand = std::find(hands_.begin(), hands_.end(), control) != hands_.end() && hitTest == HTCLIENT;
    if (!link && !hand) return false;
    ::SetCursor(LoadCursorA(nullptr, IDC_HAND));
    return true;
}

bool ControlMirror::DrawItem(const DRAWITEMSTRUCT& draw) {
    if (std::find(checkLists_.begin(), checkLists_.end(), draw.hwndItem) == checkLists_.end()) return false;
    DrawCheckListItem(draw);
    return true;
}

// --- the controls ----------------------------------------------------------------------------------

void ControlMirror::SetText(int id, const std::string& text) { SetWindowTextA(Control(id), text.c_str()); }

std::string ControlMirror::Text(int id) { return WindowText(Control(id)); }

void ControlMirror::SetEnabled(int id, bool enabled) { EnableWindow(Control(id), enabled); }

void ControlMirror::SetVisible(int id, bool visible) { ShowWindow(Control(id), visible ? SW_SHOWNA : SW_HIDE); }

void ControlMirror::SetHint(int id, const std::string& hint) {
    const HWND control = Control(id);
    if (!tooltip_ || !control) return;
    // Two tools per control: the control itself, and its place on the dialog, which gets the
    // mouse while the control is disabled (a hint often says why it is).
    TOOLINFOA onControl{};
    onControl.cbSize = sizeof onControl;
    onControl.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    onControl.hwnd = dialog_;
    onControl.uId = reinterpret_cast<UINT_PTR>(control);
    TOOLINFOA onDialog = onControl;
    onDialog.uFlags = TTF_SUBCLASS;
    onDialog.uId = static_cast<UINT_PTR>(id);
    Send(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&onControl));
    Send(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&onDialog));
    if (hint.empty()) return;
    onControl.lpszText = onDialog.lpszText = const_cast<char*>(hint.c_str());
    Send(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&onControl));
    GetWindowRect(control, &onDialog.rect);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&onDialog.rect), 2);
    Send(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&onDialog));
}

bool ControlMirror::Checked(int id) { return Send(Control(id), BM_GETCHECK) == BST_CHECKED; }

void ControlMirror::SetChecked(int id, bool checked) { Send(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }

void ControlMirror::SetMaxLength(int id, int length) { Send(Control(id), EM_LIMITTEXT, length); }

std::pair<int, int> ControlMirror::Selection(int id) {
    DWORD start = 0, end = 0;
    Send(Control(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

void ControlMirror::SetSelection(int id, int start, int end) { Send(Control(id), EM_SETSEL, start, end); }

void ControlMirror::SetPicture(int id, const std::string& file, int fallback, int size) {
    Icon icon = LoadIconFile(file, Scale(size), fallback);
    Send(Control(id), STM_SETICON, reinterpret_cast<WPARAM>(icon.get()));
    pictures_[id] = std::move(icon);
}

int ControlMirror::Current(int id) {
    const HWND list = Control(id);
    if (IsClass(list, WC_LISTVIEWA)) return ListView_GetNextItem(list, -1, LVNI_SELECTED);
    const LRESULT current = Send(list, IsClass(list, "ComboBox") ? CB_GETCURSEL : LB_GETCURSEL);
    return current < 0 ? -1 : static_cast<int>(current);
}

void ControlMirror::SetCurrent(int id, int index) {
    const HWND list = Control(id);
    if (!IsClass(list, WC_LISTVIEWA)) {
        Send(list, IsClass(list, "ComboBox") ? CB_SETCURSEL : LB_SETCURSEL, index);
        return;
    }
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    if (index < 0) return;
    ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, index, FALSE);
}

void ControlMirror::SetItems(int id, const std::vector<std::string>& texts) {
    const HWND list = Control(id);
    const bool combo = IsClass(list, "ComboBox");
    Send(list, combo ? CB_RESETCONTENT : LB_RESETCONTENT);
    for (const std::string& text : texts) Send(list, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

TCheckListItem ControlMirror::ItemState(int id, int index) {
    return CheckListItemOf(static_cast<long>(Send(Control(id), LB_GETITEMDATA, index)));
}

void ControlMirror::SetItemState(int id, int index, const TCheckListItem& state) {
    SetRowData(Control(id), index, CheckListData(state));
}

int ControlMirror::RowCount(int id) { return ListView_GetItemCount(Control(id)); }

void ControlMirror::DeleteRow(int id, int row) { ListView_DeleteItem(Control(id), row); }

void ControlMirror::InsertRow(int id, int row, const TListItem& item) {
    SendItem(Control(id), LVM_INSERTITEMA, LVIF_TEXT | LVIF_IMAGE, row, 0, item.Caption, item.ImageIndex);
}

void ControlMirror::SetCell(int id, int row, int column, const std::string& text) {
    SendItem(Control(id), LVM_SETITEMA, LVIF_TEXT, row, column, text, -1);
}

void ControlMirror::SetRowPicture(int id, int row, int picture) {
    SendItem(Control(id), LVM_SETITEMA, LVIF_IMAGE, row, 0, {}, picture);
}

bool ControlMirror::RowChecked(int id, int row) { return ListView_GetCheckState(Control(id), row) != 0; }

void ControlMirror::SetRowChecked(int id, int row, bool checked) { ListView_SetCheckState(Control(id), row, checked); }

void ControlMirror::SetRange(int id, int min, int max) { Send(Control(id), PBM_SETRANGE32, min, max); }

void ControlMirror::SetPosition(int id, int position) { Send(Control(id), PBM_SETPOS, position); }

void ControlMirror::SetPanels(int id, const std::vector<int>& widths) {
    const std::vector<int> edges = PanelEdges(widths, ScreenDpi());
    Send(Control(id), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void ControlMirror::SetPanelText(int id, int panel, const std::string& text, TAlignment alignment) {
    Send(Control(id), SB_SETTEXTA, panel, reinterpret_cast<LPARAM>(PanelText(text, alignment).c_str()));
}

}  // namespace vexamo::win32
