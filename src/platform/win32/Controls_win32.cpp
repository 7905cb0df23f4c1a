#include "platform/win32/Controls_win32.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/win32/Pictures.h"
#include "platform/win32/ScopedGdi.h"
#include "platform/win32/Window.h"

namespace vexamo::win32 {

namespace {

// Check list items keep their tick and enabled state in the item data, so the list box's own
// procedure and the drawing need nothing of the binding.
constexpr LRESULT CheckedBit = 1;
constexpr LRESULT DisabledBit = 2;

LRESULT ItemData(const TCheckListItem& item) {
    return (item.Checked ? CheckedBit : 0) | (item.Enabled ? 0 : DisabledBit);
}

int CheckBoxSize() { return Scale(13); }

bool Ticked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Tick(HWND button, bool checked) {
    if (Ticked(button) != checked) SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void InvalidateListItem(HWND list, int index) {
    RECT r{};
    if (SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(list, &r, FALSE);
}

void ToggleItem(HWND list, int index) {
    if (!IsWindowEnabled(list) || index < 0) return;
    const LRESULT data = SendMessageA(list, LB_GETITEMDATA, index, 0);
    if (data == LB_ERR || (data & DisabledBit)) return;
    SendMessageA(list, LB_SETITEMDATA, index, data ^ CheckedBit);
    InvalidateListItem(list, index);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CLN_CLICKCHECK),
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
    const bool enabled = IsWindowEnabled(list) && !(draw.itemData & DisabledBit);
    const bool selected = (draw.itemState & ODS_SELECTED) && IsWindowEnabled(list);
    RECT r = draw.rcItem;
    FillRect(draw.hDC, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

    const int box = CheckBoxSize();
    const int boxTop = r.top + (r.bottom - r.top - box) / 2;
    RECT boxRect{r.left + Scale(2), boxTop, r.left + Scale(2) + box, boxTop + box};
    UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
    if (draw.itemData & CheckedBit) state |= DFCS_CHECKED;
    if (!enabled) state |= DFCS_INACTIVE;
    DrawFrameControl(draw.hDC, &boxRect, DFC_BUTTON, state);

    char text[256] = {};
    SendMessageA(list, LB_GETTEXT, draw.itemID, reinterpret_cast<LPARAM>(text));
    RECT textRect = r;
    textRect.left = boxRect.right + Scale(4);
    const ScopedTextColours colours(draw.hDC);
    SetBkMode(draw.hDC, TRANSPARENT);
    SetTextColor(draw.hDC, GetSysColor(!enabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextA(draw.hDC, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if ((draw.itemState & ODS_FOCUS) && !(draw.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(draw.hDC, &r);
}

}  // namespace

// --- bindings ------------------------------------------------------------------------------------

class ControlMirror::Binding {
public:
    Binding(ControlMirror& mirror, HWND hwnd) : mirror_(mirror), hwnd_(hwnd) {}
    virtual ~Binding() = default;
    HWND Handle() const { return hwnd_; }
    virtual void Put() = 0;
    virtual void Take() {}
    virtual const TControl* Target() const { return nullptr; }
    // Of the controls a record has, the one that stands for it now.
    virtual bool Current() const { return true; }
    virtual std::optional<TNotifyEvent> Command(WORD) { return std::nullopt; }
    virtual std::optional<TNotifyEvent> Notify(const NMHDR&) { return std::nullopt; }

protected:
    void PutHint(const std::string& hint) { mirror_.SetHint(hwnd_, hint); }
    // The focus went to another control of the dialog, not to another window.
    bool LeftForSibling() const { return IsChild(GetParent(hwnd_), GetFocus()) != FALSE; }
    ControlMirror& mirror_;
    HWND hwnd_;
};

namespace {

using Binding = ControlMirror::Binding;

// A record and what its control showed at the last put (nothing before the first): the parts
// every record has are put where they differ, PutOwn puts the rest. A click is the record's.
template <typename Record, bool Caption = false>
class Bound : public Binding {
public:
    Bound(ControlMirror& m, HWND hwnd, Record& record) : Binding(m, hwnd), now_(record) {}
    void Put() final {
        const Record* was = shown_ ? &*shown_ : nullptr;
        if (Caption && (!was || now_.Caption != was->Caption)) SetWindowTextA(hwnd_, now_.Caption.c_str());
        if (!was || now_.Enabled != was->Enabled) EnableWindow(hwnd_, now_.Enabled);
        if (!was || now_.Visible != was->Visible) ShowWindow(hwnd_, now_.Visible ? SW_SHOWNA : SW_HIDE);
        if (!was || now_.Hint != was->Hint) PutHint(now_.Hint);
        PutOwn(was);
        shown_ = now_;
    }
    const TControl* Target() const override { return &now_; }
    std::optional<TNotifyEvent> Command(WORD code) override {
        // BN_CLICKED is also a static's STN_CLICKED.
        if (code == BN_CLICKED) return now_.OnClick;
        return std::nullopt;
    }

protected:
    virtual void PutOwn(const Record*) {}
    Record& now_;
    std::optional<Record> shown_;
};

using PlainBinding = Bound<TControl, true>;

// Controls whose texts and pictures come from the template.
class FixedBinding : public Bound<TControl> {
public:
    using Bound::Bound;
    std::optional<TNotifyEvent> Command(WORD) override { return std::nullopt; }
};

class CaptionBinding : public Binding {
public:
    CaptionBinding(ControlMirror& m, HWND dialog, const std::string& caption) : Binding(m, dialog), now_(caption) {}
    void Put() override {
        if (WindowText(hwnd_) != now_) SetWindowTextA(hwnd_, now_.c_str());
    }

private:
    const std::string& now_;
};

class CheckBinding : public Bound<TCheckBox, true> {
public:
    CheckBinding(ControlMirror& m, HWND hwnd, TCheckBox& box, bool takes) : Bound(m, hwnd, box), takes_(takes) {}
    void PutOwn(const TCheckBox*) override { Tick(hwnd_, now_.Checked); }
    void Take() override {
        if (takes_) now_.Checked = Ticked(hwnd_);
    }

private:
    bool takes_;
};

// One button of a radio group: checked while it is the group's item.
class RadioItemBinding : public Bound<TRadioGroup> {
public:
    RadioItemBinding(ControlMirror& m, HWND hwnd, TRadioGroup& group, int index) : Bound(m, hwnd, group), index_(index) {}
    void PutOwn(const TRadioGroup*) override { Tick(hwnd_, now_.ItemIndex == index_); }
    bool Current() const override { return index_ == std::max(now_.ItemIndex, 0); }
    std::optional<TNotifyEvent> Command(WORD code) override {
        if (code != BN_CLICKED) return std::nullopt;
        if (!now_.OnItemClick) return TNotifyEvent();
        return [click = now_.OnItemClick, index = index_] { click(index); };
    }

private:
    int index_;
};

class EditBinding : public Bound<TEdit> {
public:
    using Bound::Bound;
    void PutOwn(const TEdit* was) override {
        if (!was || now_.MaxLength != was->MaxLength) SendMessageA(hwnd_, EM_LIMITTEXT, now_.MaxLength, 0);
        const std::string text = WindowText(hwnd_);
        if (text == now_.Text) return;
        DWORD start = 0, end = 0;
        SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        SetWindowTextA(hwnd_, now_.Text.c_str());
        if (text.size() != now_.Text.size()) start = end = static_cast<DWORD>(std::min<size_t>(start, now_.Text.size()));
        SendMessageA(hwnd_, EM_SETSEL, start, end);
    }
    void Take() override { now_.Text = WindowText(hwnd_); }
    std::optional<TNotifyEvent> Command(WORD code) override {
        if (code == EN_CHANGE) return now_.OnChange;
        if (code == EN_KILLFOCUS && LeftForSibling()) return now_.OnExit;
        return std::nullopt;
    }
};

class ImageBinding : public Bound<TImage> {
public:
    ImageBinding(ControlMirror& m, HWND hwnd, TImage& image, int defaultIcon, int size)
        : Bound(m, hwnd, image), defaultIcon_(defaultIcon), size_(size) {}
    void PutOwn(const TImage* was) override {
        if (was && now_.Picture == was->Picture) return;
        Icon icon = LoadIconFile(now_.Picture, Scale(size_), defaultIcon_);
        SendMessageA(hwnd_, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
        icon_ = std::move(icon);
    }

private:
    int defaultIcon_, size_;
    Icon icon_;
};

class ListViewBinding : public Bound<TListView> {
public:
    ListViewBinding(ControlMirror& m, HWND hwnd, TListView& list, HIMAGELIST images)
        : Bound(m, hwnd, list), images_(images) {}

    void PutOwn(const TListView* was) override {
        if (!was) {
            DWORD ex = LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP;
            if (now_.Checkboxes) ex |= LVS_EX_CHECKBOXES;
            ListView_SetExtendedListViewStyleEx(hwnd_, ex, ex);
            if (images_) ListView_SetImageList(hwnd_, images_, LVSIL_SMALL);
            for (size_t c = 0; c < now_.Columns.size(); ++c) {
                LVCOLUMNA col{};
                col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
                col.pszText = const_cast<char*>(now_.Columns[c].Caption.c_str());
                col.cx = Scale(now_.Columns[c].Width);
                col.iSubItem = static_cast<int>(c);
                SendMessageA(hwnd_, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&col));
            }
        }
        PutRows(was ? was->Items : std::vector<TListItem>{});
        if (ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED) == now_.ItemIndex) return;
        ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED);
        if (now_.ItemIndex < 0) return;
        ListView_SetItemState(hwnd_, now_.ItemIndex, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(hwnd_, now_.ItemIndex, FALSE);
    }

    void Take() override { now_.ItemIndex = ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED); }

    std::optional<TNotifyEvent> Notify(const NMHDR& header) override {
        if (header.hwndFrom == ListView_GetHeader(hwnd_)) {
            if (header.code == HDN_ITEMCHANGEDA || header.code == HDN_ITEMCHANGEDW)
                KeepColumnInRange(reinterpret_cast<const NMHEADERA&>(header).iItem);
            return std::nullopt;
        }
        if (header.hwndFrom != hwnd_) return std::nullopt;
        if (header.code == NM_CLICK) return now_.OnClick;
        if (header.code == NM_RCLICK) return now_.OnRightClick;
        if (header.code != LVN_ITEMCHANGED) return std::nullopt;
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        const int row = change.iItem;
        const UINT image = change.uNewState & LVIS_STATEIMAGEMASK;
        if ((change.uChanged & LVIF_STATE) && image != (change.uOldState & LVIS_STATEIMAGEMASK) && now_.OnItemChecked)
            return [checked = now_.OnItemChecked, row, on = image == INDEXTOSTATEIMAGEMASK(2)] { checked(row, on); };
        // The mouse's own click follows as NM_CLICK: without a button down the keyboard moved.
        const bool selected = (change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED);
        if (selected && GetKeyState(VK_LBUTTON) >= 0 && GetKeyState(VK_RBUTTON) >= 0 && now_.OnSelectByKey)
            return [walked = now_.OnSelectByKey, row] { walked(row); };
        return std::nullopt;
    }

    TPopupMenu* Menu() const { return now_.PopupMenu; }

private:
    void KeepColumnInRange(int column) {
        if (column < 0 || column >= static_cast<int>(now_.Columns.size())) return;
        const int dragged = Unscale(ListView_GetColumnWidth(hwnd_, column));
        const int allowed = now_.Columns[column].Allowed(dragged);
        if (allowed != dragged) ListView_SetColumnWidth(hwnd_, column, Scale(allowed));
    }

    void SetItem(bool insert, UINT mask, int row, int column, const TListItem& record, const std::string& text) {
        LVITEMA item{};
        item.mask = mask;
        item.iItem = row;
        item.iSubItem = column;
        item.pszText = const_cast<char*>(text.c_str());
        item.iImage = record.ImageIndex >= 0 ? record.ImageIndex : I_IMAGENONE;
        SendMessageA(hwnd_, insert ? LVM_INSERTITEMA : LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }

    void PutRows(const std::vector<TListItem>& old) {
        const int count = static_cast<int>(now_.Items.size());
        while (ListView_GetItemCount(hwnd_) > count) ListView_DeleteItem(hwnd_, ListView_GetItemCount(hwnd_) - 1);
        for (int i = 0; i < count; ++i) {
            const TListItem& row = now_.Items[i];
            const bool exists = i < ListView_GetItemCount(hwnd_);
            const TListItem* was = exists && i < static_cast<int>(old.size()) ? &old[i] : nullptr;
            if (!exists) SetItem(true, LVIF_TEXT | LVIF_IMAGE, i, 0, row, row.Caption);
            if (exists && (!was || row.Caption != was->Caption)) SetItem(false, LVIF_TEXT, i, 0, row, row.Caption);
            if (exists && (!was || row.ImageIndex != was->ImageIndex)) SetItem(false, LVIF_IMAGE, i, 0, row, {});
            for (size_t c = 0; c < row.SubItems.size(); ++c)
                if (!was || c >= was->SubItems.size() || was->SubItems[c] != row.SubItems[c])
                    SetItem(false, LVIF_TEXT, i, static_cast<int>(c) + 1, row, row.SubItems[c]);
            if (now_.Checkboxes && (ListView_GetCheckState(hwnd_, i) != 0) != row.Checked)
                ListView_SetCheckState(hwnd_, i, row.Checked);
        }
    }

    HIMAGELIST images_;
};

class CheckListBinding : public Bound<TCheckListBox> {
public:
    CheckListBinding(ControlMirror& m, HWND hwnd, TCheckListBox& list) : Bound(m, hwnd, list) {
        SetWindowSubclass(hwnd_, CheckListProc, 0, 0);
    }

    void PutOwn(const TCheckListBox* was) override {
        if (!was) {
            TEXTMETRICA tm{};
            {
                const ScopedGetDC dc(hwnd_);
                const ScopedSelect font(dc, DialogFont(hwnd_));
                GetTextMetricsA(dc, &tm);
            }
            SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, std::max<int>(tm.tmHeight, CheckBoxSize()) + Scale(3));
            if (now_.Columns > 1) {
                RECT client{};
                GetClientRect(hwnd_, &client);
                SendMessageA(hwnd_, LB_SETCOLUMNWIDTH, client.right / now_.Columns, 0);
            }
        }
        const auto text = [](const TCheckListItem& item) { return item.Text; };
        if (!was || !std::ranges::equal(was->Items, now_.Items, {}, text, text)) {
            SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
            for (const TCheckListItem& item : now_.Items) {
                const LRESULT at = SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.Text.c_str()));
                SendMessageA(hwnd_, LB_SETITEMDATA, at, ItemData(item));
            }
        }
        for (size_t i = 0; i < now_.Items.size(); ++i) {
            const LRESULT data = ItemData(now_.Items[i]);
            if (SendMessageA(hwnd_, LB_GETITEMDATA, i, 0) == data) continue;
            SendMessageA(hwnd_, LB_SETITEMDATA, i, data);
            InvalidateListItem(hwnd_, static_cast<int>(i));
        }
        if (SendMessageA(hwnd_, LB_GETCURSEL, 0, 0) != now_.ItemIndex) SendMessageA(hwnd_, LB_SETCURSEL, now_.ItemIndex, 0);
    }

    void Take() override {
        const LRESULT current = SendMessageA(hwnd_, LB_GETCURSEL, 0, 0);
        now_.ItemIndex = current == LB_ERR ? -1 : static_cast<int>(current);
        for (size_t i = 0; i < now_.Items.size(); ++i)
            now_.Items[i].Checked = (SendMessageA(hwnd_, LB_GETITEMDATA, i, 0) & CheckedBit) != 0;
    }

    std::optional<TNotifyEvent> Command(WORD code) override {
        if (code == CLN_CLICKCHECK) return now_.OnClickCheck;
        return std::nullopt;
    }
};

class ComboBinding : public Bound<TComboBox> {
public:
    using Bound::Bound;
    void PutOwn(const TComboBox* was) override {
        if (!was || was->Items != now_.Items) {
            SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
            for (const std::string& entry : now_.Items)
                SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        }
        if (SendMessageA(hwnd_, CB_GETCURSEL, 0, 0) != now_.ItemIndex) SendMessageA(hwnd_, CB_SETCURSEL, now_.ItemIndex, 0);
    }
    void Take() override {
        const LRESULT current = SendMessageA(hwnd_, CB_GETCURSEL, 0, 0);
        now_.Select(current == CB_ERR ? -1 : static_cast<int>(current));
    }
    std::optional<TNotifyEvent> Command(WORD code) override {
        if (code == CBN_SELCHANGE) return now_.OnChange;
        if (code == CBN_KILLFOCUS && LeftForSibling()) return now_.OnExit;
        return std::nullopt;
    }
};

class ProgressBinding : public Bound<TProgressBar> {
public:
    using Bound::Bound;
    void PutOwn(const TProgressBar* was) override {
        if (!was || was->Min != now_.Min || was->Max != now_.Max) SendMessageA(hwnd_, PBM_SETRANGE32, now_.Min, now_.Max);
        if (!was || was->Position != now_.Position) SendMessageA(hwnd_, PBM_SETPOS, now_.Position, 0);
    }
};

class StatusBarBinding : public Bound<TStatusBar> {
public:
    using Bound::Bound;
    void PutOwn(const TStatusBar* was) override {
        const auto& panels = now_.Panels;
        const auto width = [](const TStatusPanel& p) { return p.Width; };
        const bool sameWidths = was && std::ranges::equal(was->Panels, panels, {}, width, width);
        if (!sameWidths) {
            // The last panel takes what is left of the bar.
            std::vector<int> edges;
            int right = 0;
            for (size_t i = 0; i < panels.size(); ++i) {
                right += Scale(panels[i].Width);
                edges.push_back(i + 1 == panels.size() ? -1 : right);
            }
            SendMessageA(hwnd_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
        }
        for (size_t i = 0; i < panels.size(); ++i) {
            const TStatusPanel& p = panels[i];
            if (sameWidths && was->Panels[i].Text == p.Text && was->Panels[i].Alignment == p.Alignment) continue;
            const char* align = p.Alignment == TAlignment::Center ? "\t" : p.Alignment == TAlignment::Right ? "\t\t" : "";
            const std::string text = align + p.Text;
            SendMessageA(hwnd_, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
};

}  // namespace

// --- the mirror ----------------------------------------------------------------------------------

ControlMirror::ControlMirror(HWND dialog) : dialog_(dialog) {
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                               Instance(), nullptr);
    if (tooltip_) SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, Scale(320));
}

ControlMirror::~ControlMirror() {
    if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
}

template <typename B, typename... Args>
void ControlMirror::Add(int id, Args&&... args) {
    bindings_.push_back(std::make_unique<B>(*this, GetDlgItem(dialog_, id), std::forward<Args>(args)...));
}

void ControlMirror::BindCaption(const std::string& caption) {
    bindings_.push_back(std::make_unique<CaptionBinding>(*this, dialog_, caption));
}
void ControlMirror::Bind(int id, TControl& control) { Add<PlainBinding>(id, control); }
void ControlMirror::BindLink(int id, TControl& label) {
    links_.push_back(GetDlgItem(dialog_, id));
    Add<PlainBinding>(id, label);
}
void ControlMirror::BindFixed(std::initializer_list<int> ids, TControl& control) {
    for (int id : ids)
        if (GetDlgItem(dialog_, id)) Add<FixedBinding>(id, control);
}
void ControlMirror::Bind(int id, TCheckBox& box) { Add<CheckBinding>(id, box, true); }
void ControlMirror::Bind(int id, TRadioButton& radio) { Add<CheckBinding>(id, radio, false); }
void ControlMirror::Bind(std::initializer_list<int> ids, TRadioGroup& group) {
    int index = 0;
    for (int id : ids) Add<RadioItemBinding>(id, group, index++);
}
void ControlMirror::Bind(int id, TEdit& edit) { Add<EditBinding>(id, edit); }
void ControlMirror::Bind(int id, TImage& image, int defaultIcon, int size) {
    Add<ImageBinding>(id, image, defaultIcon, size);
}
void ControlMirror::Bind(int id, TListView& list, HIMAGELIST images) { Add<ListViewBinding>(id, list, images); }
void ControlMirror::Bind(int id, TCheckListBox& list) {
    checkLists_.push_back(GetDlgItem(dialog_, id));
    Add<CheckListBinding>(id, list);
}
void ControlMirror::Bind(int id, TComboBox& combo) { Add<ComboBinding>(id, combo); }
void ControlMirror::Bind(int id, TProgressBar& bar) { Add<ProgressBinding>(id, bar); }
void ControlMirror::Bind(int id, TStatusBar& bar) { Add<StatusBarBinding>(id, bar); }
void ControlMirror::UseHandCursor(int id) { hands_.push_back(GetDlgItem(dialog_, id)); }

void ControlMirror::Put() {
    ++putting_;
    for (auto& b : bindings_) b->Put();
    --putting_;
}

void ControlMirror::Take() {
    for (auto& b : bindings_) b->Take();
}

std::optional<TNotifyEvent> ControlMirror::Command(HWND control, WORD code) {
    for (auto& b : bindings_)
        if (b->Handle() == control)
            if (auto event = b->Command(code)) return event;
    return std::nullopt;
}

std::optional<TNotifyEvent> ControlMirror::Notify(const NMHDR& header) {
    for (auto& b : bindings_)
        if (auto event = b->Notify(header)) return event;
    return std::nullopt;
}

TPopupMenu* ControlMirror::PopupMenuOf(HWND control) {
    for (auto& b : bindings_)
        if (auto* list = dynamic_cast<ListViewBinding*>(b.get()); list && list->Handle() == control) return list->Menu();
    return nullptr;
}

const TControl* ControlMirror::Focused() const {
    const HWND focus = GetFocus();
    for (const auto& b : bindings_)
        if (b->Handle() == focus && b->Target()) return b->Target();
    return nullptr;
}

HWND ControlMirror::HandleOf(const TControl& record) const {
    for (const auto& b : bindings_)
        if (b->Target() == &record && b->Current()) return b->Handle();
    return nullptr;
}

void ControlMirror::SetHint(HWND control, const std::string& hint) {
    if (!tooltip_) return;
    // Two tools per control: the control itself, and its place on the dialog, which gets the
    // mouse while the control is disabled (a hint often says why it is).
    TOOLINFOA onControl{};
    onControl.cbSize = sizeof onControl;
    onControl.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    onControl.hwnd = dialog_;
    onControl.uId = reinterpret_cast<UINT_PTR>(control);
    TOOLINFOA onDialog = onControl;
    onDialog.uFlags = TTF_SUBCLASS;
    onDialog.uId = static_cast<UINT_PTR>(GetDlgCtrlID(control));
    SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&onControl));
    SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&onDialog));
    if (hint.empty()) return;
    onControl.lpszText = onDialog.lpszText = const_cast<char*>(hint.c_str());
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&onControl));
    GetWindowRect(control, &onDialog.rect);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&onDialog.rect), 2);
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&onDialog));
}

LRESULT ControlMirror::CtlColorStatic(HDC dc, HWND control) {
    if (std::find(links_.begin(), links_.end(), control) == links_.end()) return 0;
    // The classic link blue: not every palette gives COLOR_HOTLIGHT a colour that reads as a link.
    SetTextColor(dc, IsWindowEnabled(control) ? RGB(0, 102, 204) : GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

bool ControlMirror::SetCursor(HWND control, int hitTest) {
    const bool link = std::find(links_.begin(), links_.end(), control) != links_.end() && IsWindowEnabled(control);
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

}  // namespace vexamo::win32
