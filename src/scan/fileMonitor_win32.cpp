#include "scan/fileMonitor_win32.h"

#include <exception>
#include <vector>

#include "agent/Init.h"
#include "agent/MenuDraw_win32.h"
#include "platform/win32/ScopedGdi.h"
#include "platform/win32/Window.h"
#include "platform/win32/WinApi.h"
#include "scan/ScanResources.h"
#include <commctrl.h>
#include <commdlg.h>

namespace vexamo {

namespace {

// Menu command identifiers: the MonitorCommand plus this base.
constexpr UINT CommandBase = 300;
constexpr MonitorCommand PlayCommands[] = {MonitorCommand::Selected, MonitorCommand::Audio, MonitorCommand::Video,
                                           MonitorCommand::All};
constexpr COLORREF Navy = RGB(0, 0, 128);
constexpr COLORREF Gray = RGB(128, 128, 128);
constexpr COLORREF KeyColour = RGB(255, 0, 255);

UINT CommandId(MonitorCommand c) { return CommandBase + static_cast<UINT>(c); }

using win32::Scale;

// Control places in pixels at 96 DPI: the window's layout is fixed, whatever the dialog font.
struct Place {
    int Id, Left, Top, Width, Height;
};
constexpr Place Places[] = {
    {IDC_LABEL5, 12, 78, 200, 16},      {IDC_LSTFILETYPES, 12, 96, 424, 262}, {IDC_LABEL1, 12, 362, 260, 16},
    {IDC_LABEL3, 12, 390, 50, 16},      {IDC_LBLCDLABEL, 66, 390, 260, 16},   {IDC_LABEL2, 12, 410, 50, 16},
    {IDC_LBLDEVICE, 66, 410, 260, 34},  {IDCANCEL, 348, 426, 88, 30},
};
constexpr RECT Label4Rect{16, 8, 330, 40};
constexpr int BannerWidth = 450, BannerHeight = 69;

// Owns the real dialog of one portable TfrmMonitor while it is shown modally.
class MonitorWindow : public MonitorHost, public win32::Dialog {
public:
    MonitorWindow() : instance_(GetModuleHandleA(nullptr)) {}
    ~MonitorWindow() override {
        if (types_) ImageList_Destroy(types_);
        if (popupImages_) ImageList_Destroy(popupImages_);
    }

    void Attach(TfrmMonitor* form) { form_ = form; }

    void ShowModal(TfrmMonitor&) override {
        // Like any modal window of the program, it keeps the user from the others meanwhile: the
        // configuration window under it must not start or end the run that is waiting for it.
        std::vector<HWND> disabled;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND w, LPARAM list) {
                if (IsWindowVisible(w) && IsWindowEnabled(w)) {
                    reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
                    EnableWindow(w, FALSE);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&disabled));
        RunModal(instance_, IDD_FILEMONITOR, nullptr);
        for (HWND w : disabled)
            if (IsWindow(w)) EnableWindow(w, TRUE);
    }

    void EndModal(TfrmMonitor&) override { Dialog::EndModal(IDCANCEL); }

    void PopupOptions(TfrmMonitor& form, bool atSelectedRow) override;

    std::string ChooseFile(TfrmMonitor&, const std::string& filter) override {
        // "Name (*.ext)|*.ext" becomes the dialog's pairs of zero-ended strings.
        std::string pairs = filter;
        for (char& c : pairs)
            if (c == '|') c = '\0';
        pairs += '\0';
        char file[MAX_PATH * 4] = {};
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = Handle();
        ofn.lpstrFilter = pairs.c_str();
        ofn.lpstrFile = file;
        ofn.nMaxFile = sizeof file - 1;
        ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        return GetOpenFileNameA(&ofn) ? std::string(file) : std::string();
    }

    void Released(TfrmMonitor&) override {
        form_ = nullptr;
        delete this;
    }

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (!form_) return FALSE;
        if (msg == WM_INITDIALOG) {
            Init();
            return TRUE;
        }
        return OnMessage(msg, wParam, lParam);
    }

private:
    HWND List() const { return Item(IDC_LSTFILETYPES); }

    // A result for messages whose answer a dialog procedure gives through DWLP_MSGRESULT.
    INT_PTR Answer(LRESULT value) {
        SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, value);
        return TRUE;
    }

    void Init();
    void FillList();
    void ShowState();
    // What the user did to the controls, into the portable state.
    void ReadState() { form_->lstFileTypes.ItemIndex = ListView_GetNextItem(List(), -1, LVNI_SELECTED); }
    void Paint();
    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR DrawMenuEntry(const DRAWITEMSTRUCT& d);

    HINSTANCE instance_;
    HMENU menu_ = nullptr;
    TfrmMonitor* form_ = nullptr;
    win32::GdiObject<HFONT> bold_, heading_, menuBold_;
    win32::GdiObject<HBITMAP> banner_;
    HIMAGELIST types_ = nullptr, popupImages_ = nullptr;
};

void MonitorWindow::Init() {
    // Client area of the size the layout was made for, centred on the desktop.
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE));
    RECT frame{0, 0, Scale(TfrmMonitor::ClientWidth), Scale(TfrmMonitor::ClientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w,
                 h, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const Place& p : Places)
        MoveWindow(Item(p.Id), Scale(p.Left), Scale(p.Top), Scale(p.Width), Scale(p.Height), FALSE);

    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    lf.lfWeight = FW_BOLD;
    bold_ = win32::GdiObject<HFONT>(CreateFontIndirectA(&lf));
    lf.lfHeight = lf.lfHeight * 3 / 2;
    heading_ = win32::GdiObject<HFONT>(CreateFontIndirectA(&lf));
    for (int id : {IDC_LABEL5, IDC_LABEL1, IDC_LBLDEVICE, IDCANCEL})
        SendMessageA(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()), FALSE);

    // Pictures enlarged with the screen's DPI, as the text beside them is.
    banner_ = win32::GdiObject<HBITMAP>(static_cast<HBITMAP>(LoadImageA(
        instance_, MAKEINTRESOURCEA(IDB_SCAN_BANNER), IMAGE_BITMAP, Scale(BannerWidth), Scale(BannerHeight), 0)));
    const int typeW = Scale(TfrmMonitor::TypePictureWidth), typeH = Scale(TfrmMonitor::TypePictureHeight);
    types_ = ImageList_Create(typeW, typeH, ILC_COLOR24 | ILC_MASK, TypePictureCount, 0);
    if (HBITMAP strip = static_cast<HBITMAP>(LoadImageA(instance_, MAKEINTRESOURCEA(IDB_SCAN_TYPES), IMAGE_BITMAP,
                                                        typeW * TypePictureCount, typeH, LR_CREATEDIBSECTION))) {
        ImageList_AddMasked(types_, strip, KeyColour);
        DeleteObject(strip);
    }
    const int icon = Scale(16);
    popupImages_ = ImageList_Create(icon, icon, ILC_COLOR24 | ILC_MASK, 1, 0);
    if (HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(instance_, MAKEINTRESOURCEA(IDB_SCAN_POPUP), IMAGE_BITMAP,
                                                         icon, icon, LR_CREATEDIBSECTION))) {
        ImageList_AddMasked(popupImages_, bitmap, KeyColour);
        DeleteObject(bitmap);
    }

    HWND list = List();
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    ListView_SetImageList(list, types_, LVSIL_SMALL);
    const auto& columns = form_->lstFileTypes.Columns;
    for (size_t i = 0; i < columns.size(); ++i) {
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        c.pszText = const_cast<char*>(columns[i].Caption.c_str());
        c.cx = Scale(columns[i].Width);
        c.iSubItem = static_cast<int>(i);
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&c));
    }

    HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr, instance_, nullptr);
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = Handle();
    ti.uId = reinterpret_cast<UINT_PTR>(list);
    ti.lpszText = const_cast<char*>(form_->lstFileTypes.Hint.c_str());
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));

    SetWindowTextA(Handle(), form_->Caption.c_str());
    FillList();
    ShowState();
    SetForegroundWindow(Handle());
}

void MonitorWindow::FillList() {
    HWND list = List();
    ListView_DeleteAllItems(list);
    const auto& rows = form_->lstFileTypes.Items;
    for (size_t r = 0; r < rows.size(); ++r) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(r);
        item.pszText = const_cast<char*>(rows[r].Caption.c_str());
        item.iImage = rows[r].ImageIndex < 0 ? I_IMAGENONE : rows[r].ImageIndex;
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (size_t s = 0; s < rows[r].SubItems.size(); ++s) {
            LVITEMA sub{};
            sub.iSubItem = static_cast<int>(s + 1);
            sub.pszText = const_cast<char*>(rows[r].SubItems[s].c_str());
            SendMessageA(list, LVM_SETITEMTEXTA, r, reinterpret_cast<LPARAM>(&sub));
        }
    }
}

void MonitorWindow::ShowState() {
    const TfrmMonitor& f = *form_;
    const std::pair<int, const TControl*> labels[] = {
        {IDC_LABEL5, &f.Label5},         {IDC_LABEL1, &f.Label1}, {IDC_LABEL3, &f.Label3},
        {IDC_LBLCDLABEL, &f.lblCDLabel}, {IDC_LABEL2, &f.Label2}, {IDC_LBLDEVICE, &f.lblDevice},
        {IDCANCEL, &f.btCancel},
    };
    for (const auto& [id, control] : labels) {
        SetDlgItemTextA(Handle(), id, control->Caption.c_str());
        EnableWindow(Item(id), control->Enabled);
        ShowWindow(Item(id), control->Visible ? SW_SHOWNA : SW_HIDE);
    }
    if (ListView_GetItemCount(List()) != static_cast<int>(f.lstFileTypes.Items.size())) FillList();
}

void MonitorWindow::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    if (banner_) {
        HDC mem = CreateCompatibleDC(dc);
        {
            win32::ScopedSelect picture(mem, banner_);
            BitBlt(dc, 0, 0, Scale(BannerWidth), Scale(BannerHeight), mem, 0, 0, SRCCOPY);
        }
        DeleteDC(mem);
    }
    {
        win32::ScopedSelect font(dc, heading_);
        win32::ScopedTextColours colours(dc);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, Navy);
        RECT r{Scale(Label4Rect.left), Scale(Label4Rect.top), Scale(Label4Rect.right), Scale(Label4Rect.bottom)};
        DrawTextA(dc, form_->Label4.Caption.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    EndPaint(Handle(), &ps);
}

void MonitorWindow::PopupOptions(TfrmMonitor& form, bool atSelectedRow) {
    HMENU play = CreatePopupMenu();
    const auto& playItems = form.popOptions.Items[TfrmMonitor::mnuPlay].Items;
    for (size_t i = 0; i < playItems.size() && i < std::size(PlayCommands); ++i)
        AppendMenuA(play, MF_STRING | (playItems[i].Enabled ? MF_ENABLED : MF_GRAYED), CommandId(PlayCommands[i]),
                    playItems[i].Caption.c_str());
    HMENU menu = CreatePopupMenu();
    const auto& items = form.popOptions.Items;
    auto state = [&](int i) { return static_cast<UINT>(items[i].Enabled ? MF_ENABLED : MF_GRAYED); };
    // Owner-drawn items carry their position in popOptions as their data.
    AppendMenuA(menu, MF_POPUP | MF_OWNERDRAW | state(TfrmMonitor::mnuPlay), reinterpret_cast<UINT_PTR>(play),
                reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(TfrmMonitor::mnuPlay)));
    AppendMenuA(menu, MF_OWNERDRAW | state(TfrmMonitor::mnuOpen), CommandId(MonitorCommand::Open),
                reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(TfrmMonitor::mnuOpen)));
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_OWNERDRAW | state(TfrmMonitor::mnuChoose), CommandId(MonitorCommand::Choose),
                reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(TfrmMonitor::mnuChoose)));

    POINT at{};
    RECT row{};
    const int selected = form.lstFileTypes.ItemIndex;
    if (atSelectedRow && ListView_GetItemRect(List(), selected, &row, LVIR_BOUNDS)) {
        at = {(row.left + row.right) / 2, row.bottom};
        ClientToScreen(List(), &at);
    } else {
        GetCursorPos(&at);
    }
    menu_ = menu;
    const UINT command = static_cast<UINT>(TrackPopupMenu(
        menu, TPM_CENTERALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, Handle(), nullptr));
    menu_ = nullptr;
    DestroyMenu(menu);
    if (command >= CommandBase && command <= CommandId(MonitorCommand::Choose))
        form.CommandClick(static_cast<MonitorCommand>(command - CommandBase));
}

INT_PTR MonitorWindow::DrawMenuEntry(const DRAWITEMSTRUCT& d) {
    const auto& items = form_->popOptions.Items;
    if (d.itemData >= items.size()) return FALSE;
    const TMenuItem& item = items[d.itemData];
    const bool selected = (d.itemState & ODS_SELECTED) != 0;
    MenuCanvas canvas(d.hDC, selected);
    const bool play = d.itemData == TfrmMonitor::mnuPlay;
    if (play && !menuBold_) {
        LOGFONTA lf{};
        GetObjectA(GetCurrentObject(d.hDC, OBJ_FONT), sizeof lf, &lf);
        lf.lfWeight = FW_BOLD;
        menuBold_ = win32::GdiObject<HFONT>(CreateFontIndirectA(&lf));
    }
    win32::ScopedSelect bold(d.hDC, play ? menuBold_.get() : GetCurrentObject(d.hDC, OBJ_FONT));
    DrawMenuItem(d.hDC, d.rcItem, item.Enabled, true, item.Caption, play ? 0 : -1, popupImages_, selected);
    if (d.itemData == TfrmMonitor::mnuChoose) DrawMenuBanner(d.hDC, Scale(2), form_->MenuBanner, Scale(60));
    return Answer(TRUE);
}

INT_PTR MonitorWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    TfrmMonitor& form = *form_;
    switch (msg) {
        case WM_PAINT:
            Paint();
            return TRUE;
        case WM_CTLCOLORSTATIC: {
            HWND control = reinterpret_cast<HWND>(lParam);
            HDC dc = reinterpret_cast<HDC>(wParam);
            if (control == Item(IDC_LABEL1) || control == Item(IDC_LBLDEVICE)) SetTextColor(dc, Gray);
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_SETCURSOR: {
            HWND over = reinterpret_cast<HWND>(wParam);
            if (LOWORD(lParam) == HTCLIENT && (over == List() || over == Item(IDCANCEL))) {
                SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));  // the hand
                return Answer(TRUE);
            }
            return FALSE;
        }
        case WM_NOTIFY: {
            const auto* nm = reinterpret_cast<const NMHDR*>(lParam);
            if (nm->hwndFrom == List() && (nm->code == NM_CLICK || nm->code == NM_RCLICK)) {
                ReadState();
                form.lstFileTypesMouseDown();
                if (form_) ShowState();
                return Answer(0);
            }
            if (nm->code == HDN_ITEMCHANGEDA || nm->code == HDN_ITEMCHANGEDW) {
                // Keeps the extension column within the width it may be dragged to.
                const auto* h = reinterpret_cast<const NMHEADERA*>(lParam);
                const auto& columns = form.lstFileTypes.Columns;
                if (h->iItem >= 0 && h->iItem < static_cast<int>(columns.size())) {
                    const TListColumn& c = columns[h->iItem];
                    const int width = ListView_GetColumnWidth(List(), h->iItem);
                    if (c.MaxWidth > 0 && width > c.MaxWidth) ListView_SetColumnWidth(List(), h->iItem, c.MaxWidth);
                    if (c.MinWidth > 0 && width < c.MinWidth) ListView_SetColumnWidth(List(), h->iItem, c.MinWidth);
                }
            }
            return FALSE;
        }
        case WM_CONTEXTMENU:
            // The context-menu key (or Shift+F10) on the list; a right click came as NM_RCLICK.
            if (reinterpret_cast<HWND>(wParam) == List() && lParam == -1) {
                ReadState();
                form.lstFileTypesKeyDown(ListKey::ContextMenu);
                if (form_) ShowState();
                return TRUE;
            }
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                form.btCancelClick();
                return TRUE;
            }
            if (LOWORD(wParam) == IDOK) {
                // Enter: the menu of the selected row (the window has no default button).
                ReadState();
                form.lstFileTypesKeyDown(ListKey::Return);
                if (form_) ShowState();
                return TRUE;
            }
            return FALSE;
        case WM_MEASUREITEM: {
            auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (m->CtlType != ODT_MENU) return FALSE;
            m->itemWidth = Scale(OwnerDrawnMenuWidth);
            m->itemHeight = OwnerDrawnMenuHeight();
            return TRUE;
        }
        case WM_DRAWITEM: {
            const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (d->CtlType != ODT_MENU) return FALSE;
            return DrawMenuEntry(*d);
        }
        case WM_MENUCHAR: {
            // Owner-drawn items have no text for the system to find access keys in.
            if (!menu_ || reinterpret_cast<HMENU>(lParam) != menu_) return FALSE;
            std::vector<std::string> captions;
            std::vector<bool> enabled;
            for (const TMenuItem& item : form.popOptions.Items) {
                captions.push_back(item.IsSeparator() ? std::string() : item.Caption);
                enabled.push_back(item.Enabled && !item.IsSeparator());
            }
            int selected = -1;
            for (int i = 0, n = GetMenuItemCount(menu_); i < n; ++i)
                if (GetMenuState(menu_, i, MF_BYPOSITION) & MF_HILITE) selected = i;
            const MenuKeyAnswer answer = MenuAccessKey(captions, enabled, static_cast<char>(LOWORD(wParam)), selected);
            if (answer.Index < 0) return Answer(MAKELRESULT(0, MNC_IGNORE));
            return Answer(MAKELRESULT(answer.Index, answer.Execute ? MNC_EXECUTE : MNC_SELECT));
        }
        default:
            return FALSE;
    }
}

}  // namespace

std::unique_ptr<TfrmMonitor> CreateMonitorWindow() {
    auto* window = new MonitorWindow();
    auto form = std::make_unique<TfrmMonitor>(window);
    window->Attach(form.get());
    return form;
}

}  // namespace vexamo
