#include "platform/win32/Controls_win32.h"

#include "platform/win32/Menu.h"
#include "platform/win32/ScopedGdi.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace vexamo::win32 {

int PictureSize(int px96, const std::vector<int>& sizes) {
    const int wanted = Scale(px96);
    int best = sizes.front();
    for (int size : sizes)
        if (size <= wanted && size > best) best = size;
    return best;
}

namespace {

// Check list items keep their tick and enabled state in the item data, so the list box's own
// procedure and the drawing need nothing of the binding.
constexpr LRESULT CheckedBit = 1;
constexpr LRESULT DisabledBit = 2;

LRESULT ItemData(const TCheckListItem& item) {
    return (item.Checked ? CheckedBit : 0) | (item.Enabled ? 0 : DisabledBit);
}

int CheckBoxSize() { return Scale(13); }

void ToggleItem(HWND list, int index) {
    if (!IsWindowEnabled(list) || index < 0) return;
    const LRESULT data = SendMessageA(list, LB_GETITEMDATA, index, 0);
    if (data == LB_ERR || (data & DisabledBit)) return;
    SendMessageA(list, LB_SETITEMDATA, index, data ^ CheckedBit);
    RECT r{};
    if (SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(list, &r, FALSE);
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
            if (wParam == VK_SPACE) {
                ToggleItem(list, static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)));
                return 0;
            }
            break;
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

}  // namespace

void DrawCheckListItem(const DRAWITEMSTRUCT& draw) {
    if (draw.itemID == static_cast<UINT>(-1)) return;
    const HWND list = draw.hwndItem;
    const bool enabled = IsWindowEnabled(list) && !(draw.itemData & DisabledBit);
    const bool selected = (draw.itemState & ODS_SELECTED) && IsWindowEnabled(list);
    RECT r = draw.rcItem;
    FillRect(draw.hDC, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

    const int box = CheckBoxSize();
    RECT boxRect{r.left + Scale(2), r.top + (r.bottom - r.top - box) / 2, 0, 0};
    boxRect.right = boxRect.left + box;
    boxRect.bottom = boxRect.top + box;
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

// --- bindings ------------------------------------------------------------------------------------

class ControlMirror::Binding {
public:
    Binding(ControlMirror& mirror, int id) : mirror_(mirror), hwnd_(mirror.Item(id)) {}
    virtual ~Binding() = default;
    virtual void Put() = 0;
    virtual void Take() {}

protected:
    // Caption (when the control shows one), enabled, visible and hint.
    void PutCommon(const TControl& now, const TControl* shown, bool caption) {
        if (caption && (!shown || now.Caption != shown->Caption)) SetWindowTextA(hwnd_, now.Caption.c_str());
        if (!shown || now.Enabled != shown->Enabled) EnableWindow(hwnd_, now.Enabled);
        if (!shown || now.Visible != shown->Visible) ShowWindow(hwnd_, now.Visible ? SW_SHOWNA : SW_HIDE);
        if (!shown || now.Hint != shown->Hint) mirror_.SetHint(hwnd_, now.Hint);
    }

    ControlMirror& mirror_;
    HWND hwnd_;
};

namespace {

using Binding = ControlMirror::Binding;

class PlainBinding : public Binding {
public:
    PlainBinding(ControlMirror& m, int id, TControl& state) : Binding(m, id), state_(state) {}
    void Put() override {
        PutCommon(state_, shown_ ? &*shown_ : nullptr, true);
        shown_ = state_;
    }

private:
    TControl& state_;
    std::optional<TControl> shown_;
};

class CheckBinding : public Binding {
public:
    CheckBinding(ControlMirror& m, int id, TCheckBox& state) : Binding(m, id), state_(state) {}
    void Put() override {
        PutCommon(state_, shown_ ? &*shown_ : nullptr, true);
        if ((SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED) != state_.Checked)
            SendMessageA(hwnd_, BM_SETCHECK, state_.Checked ? BST_CHECKED : BST_UNCHECKED, 0);
        shown_ = state_;
    }
    void Take() override { state_.Checked = SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

private:
    TCheckBox& state_;
    std::optional<TCheckBox> shown_;
};

class EditBinding : public Binding {
public:
    EditBinding(ControlMirror& m, int id, TEdit& state) : Binding(m, id), state_(state) {}
    void Put() override {
        PutCommon(state_, shown_ ? &*shown_ : nullptr, false);
        if (!shown_ || state_.MaxLength != shown_->MaxLength) SendMessageA(hwnd_, EM_LIMITTEXT, state_.MaxLength, 0);
        const std::string text = WindowText(hwnd_);
        if (text != state_.Text) {
            DWORD start = 0, end = 0;
            SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            SetWindowTextA(hwnd_, state_.Text.c_str());
            if (text.size() != state_.Text.size())
                start = end = static_cast<DWORD>(std::min<size_t>(start, state_.Text.size()));
            SendMessageA(hwnd_, EM_SETSEL, start, end);
        }
        shown_ = state_;
    }
    void Take() override { state_.Text = WindowText(hwnd_); }

private:
    TEdit& state_;
    std::optional<TEdit> shown_;
};

// Controls whose texts and pictures come from the template: only enabled and visible.
class FixedBinding : public Binding {
public:
    FixedBinding(ControlMirror& m, int id, TControl& state) : Binding(m, id), state_(state) {}
    void Put() override {
        if (!hwnd_) return;
        if (!shown_ || state_.Enabled != shown_->Enabled) EnableWindow(hwnd_, state_.Enabled);
        if (!shown_ || state_.Visible != shown_->Visible) ShowWindow(hwnd_, state_.Visible ? SW_SHOWNA : SW_HIDE);
        shown_ = state_;
    }

private:
    TControl& state_;
    std::optional<TControl> shown_;
};

class RadioGroupBinding : public Binding {
public:
    RadioGroupBinding(ControlMirror& m, std::initializer_list<int> ids, TRadioGroup& state)
        : Binding(m, *ids.begin()), state_(state) {
        for (int id : ids) buttons_.push_back(m.Item(id));
    }
    void Put() override {
        for (size_t i = 0; i < buttons_.size(); ++i) {
            HWND button = buttons_[i];
            const bool checked = state_.ItemIndex == static_cast<int>(i);
            if ((SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) != checked)
                SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
            if (!shown_ || state_.Enabled != shown_->Enabled) EnableWindow(button, state_.Enabled);
            if (!shown_ || state_.Visible != shown_->Visible) ShowWindow(button, state_.Visible ? SW_SHOWNA : SW_HIDE);
        }
        shown_ = state_;
    }
    void Take() override {
        for (size_t i = 0; i < buttons_.size(); ++i)
            if (SendMessageA(buttons_[i], BM_GETCHECK, 0, 0) == BST_CHECKED) state_.ItemIndex = static_cast<int>(i);
    }

private:
    TRadioGroup& state_;
    std::vector<HWND> buttons_;
    std::optional<TRadioGroup> shown_;
};

class ImageBinding : public Binding {
public:
    ImageBinding(ControlMirror& m, int id, TImage& state, int defaultIcon, int size)
        : Binding(m, id), state_(state), defaultIcon_(defaultIcon), size_(size) {}
    void Put() override {
        if (!shown_ || state_.Picture != shown_->Picture) {
            const int size = Scale(size_);
            HICON icon = nullptr;
            if (!state_.Picture.empty())
                icon = static_cast<HICON>(
                    LoadImageA(nullptr, state_.Picture.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
            if (!icon)
                icon = static_cast<HICON>(
                    LoadImageA(Instance(), MAKEINTRESOURCEA(defaultIcon_), IMAGE_ICON, size, size, 0));
            SendMessageA(hwnd_, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
            icon_.reset(icon);
        }
        if (!shown_ || state_.Enabled != shown_->Enabled) EnableWindow(hwnd_, state_.Enabled);
        if (!shown_ || state_.Visible != shown_->Visible) ShowWindow(hwnd_, state_.Visible ? SW_SHOWNA : SW_HIDE);
        shown_ = state_;
    }

private:
    TImage& state_;
    int defaultIcon_, size_;
    Icon icon_;
    std::optional<TImage> shown_;
};

class ListViewBinding : public Binding {
public:
    ListViewBinding(ControlMirror& m, int id, TListView& state, HIMAGELIST images)
        : Binding(m, id), state_(state), images_(images) {}

    void Put() override {
        const bool first = !shown_;
        PutCommon(state_, shown_ ? &*shown_ : nullptr, false);
        if (first) {
            DWORD ex = LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP;
            if (state_.Checkboxes) ex |= LVS_EX_CHECKBOXES;
            ListView_SetExtendedListViewStyleEx(hwnd_, ex, ex);
            if (images_) ListView_SetImageList(hwnd_, images_, LVSIL_SMALL);
            for (size_t c = 0; c < state_.Columns.size(); ++c) {
                LVCOLUMNA col{};
                col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
                col.pszText = const_cast<char*>(state_.Columns[c].Caption.c_str());
                col.cx = Scale(state_.Columns[c].Width);
                col.iSubItem = static_cast<int>(c);
                SendMessageA(hwnd_, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&col));
            }
            shown_ = TListView{};
        }
        PutRows();
        const int selected = ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED);
        if (selected != state_.ItemIndex) {
            ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED);
            if (state_.ItemIndex >= 0) {
                ListView_SetItemState(hwnd_, state_.ItemIndex, LVIS_SELECTED | LVIS_FOCUSED,
                                      LVIS_SELECTED | LVIS_FOCUSED);
                ListView_EnsureVisible(hwnd_, state_.ItemIndex, FALSE);
            }
        }
        shown_ = state_;
    }

    void Take() override {
        state_.ItemIndex = ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED);
        if (state_.Checkboxes)
            for (size_t i = 0; i < state_.Items.size(); ++i)
                state_.Items[i].Checked = ListView_GetCheckState(hwnd_, static_cast<int>(i)) != 0;
    }

private:
    void SetText(int row, int column, const std::string& text) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = const_cast<char*>(text.c_str());
        SendMessageA(hwnd_, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    }

    void PutRows() {
        const auto& rows = state_.Items;
        auto& old = shown_->Items;
        const int count = static_cast<int>(rows.size());
        while (ListView_GetItemCount(hwnd_) > count) ListView_DeleteItem(hwnd_, ListView_GetItemCount(hwnd_) - 1);
        if (old.size() > rows.size()) old.resize(rows.size());
        for (int i = 0; i < count; ++i) {
            const TListItem& row = rows[i];
            const bool isNew = i >= ListView_GetItemCount(hwnd_);
            if (isNew) {
                LVITEMA item{};
                item.mask = LVIF_TEXT | LVIF_IMAGE;
                item.iItem = i;
                item.pszText = const_cast<char*>(row.Caption.c_str());
                item.iImage = row.ImageIndex >= 0 ? row.ImageIndex : I_IMAGENONE;
                SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            } else {
                const TListItem& was = old[i];
                if (row.Caption != was.Caption) SetText(i, 0, row.Caption);
                if (row.ImageIndex != was.ImageIndex) {
                    LVITEMA item{};
                    item.mask = LVIF_IMAGE;
                    item.iItem = i;
                    item.iImage = row.ImageIndex >= 0 ? row.ImageIndex : I_IMAGENONE;
                    SendMessageA(hwnd_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
                }
            }
            for (size_t c = 0; c < row.SubItems.size(); ++c)
                if (isNew || c >= old[i].SubItems.size() || old[i].SubItems[c] != row.SubItems[c])
                    SetText(i, static_cast<int>(c) + 1, row.SubItems[c]);
            if (state_.Checkboxes && (ListView_GetCheckState(hwnd_, i) != 0) != row.Checked)
                ListView_SetCheckState(hwnd_, i, row.Checked);
        }
    }

    TListView& state_;
    HIMAGELIST images_;
    std::optional<TListView> shown_;
};

class CheckListBinding : public Binding {
public:
    CheckListBinding(ControlMirror& m, int id, TCheckListBox& state) : Binding(m, id), state_(state) {
        SetWindowSubclass(hwnd_, CheckListProc, 0, 0);
    }

    void Put() override {
        const bool first = !shown_;
        PutCommon(state_, shown_ ? &*shown_ : nullptr, false);
        if (first) {
            TEXTMETRICA tm{};
            {
                const ScopedGetDC dc(hwnd_);
                const ScopedSelect font(dc, reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)));
                GetTextMetricsA(dc, &tm);
            }
            const int height = std::max<int>(tm.tmHeight, CheckBoxSize()) + Scale(3);
            SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, height);
            if (state_.Columns > 1) {
                RECT client{};
                GetClientRect(hwnd_, &client);
                SendMessageA(hwnd_, LB_SETCOLUMNWIDTH, client.right / state_.Columns, 0);
            }
        }
        bool sameTexts = shown_ && shown_->Items.size() == state_.Items.size();
        for (size_t i = 0; sameTexts && i < state_.Items.size(); ++i)
            sameTexts = shown_->Items[i].Text == state_.Items[i].Text;
        if (!sameTexts) {
            SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
            for (const TCheckListItem& item : state_.Items) {
                const LRESULT at = SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.Text.c_str()));
                SendMessageA(hwnd_, LB_SETITEMDATA, at, ItemData(item));
            }
        } else {
            for (size_t i = 0; i < state_.Items.size(); ++i) {
                const LRESULT data = ItemData(state_.Items[i]);
                if (SendMessageA(hwnd_, LB_GETITEMDATA, i, 0) == data) continue;
                SendMessageA(hwnd_, LB_SETITEMDATA, i, data);
                RECT r{};
                SendMessageA(hwnd_, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
                InvalidateRect(hwnd_, &r, FALSE);
            }
        }
        if (SendMessageA(hwnd_, LB_GETCURSEL, 0, 0) != state_.ItemIndex)
            SendMessageA(hwnd_, LB_SETCURSEL, state_.ItemIndex, 0);
        shown_ = state_;
    }

    void Take() override {
        const LRESULT current = SendMessageA(hwnd_, LB_GETCURSEL, 0, 0);
        state_.ItemIndex = current == LB_ERR ? -1 : static_cast<int>(current);
        for (size_t i = 0; i < state_.Items.size(); ++i)
            state_.Items[i].Checked = (SendMessageA(hwnd_, LB_GETITEMDATA, i, 0) & CheckedBit) != 0;
    }

private:
    TCheckListBox& state_;
    std::optional<TCheckListBox> shown_;
};

class ComboBinding : public Binding {
public:
    ComboBinding(ControlMirror& m, int id, TComboBox& state) : Binding(m, id), state_(state) {}
    void Put() override {
        PutCommon(state_, shown_ ? &*shown_ : nullptr, false);
        if (!shown_ || shown_->Items != state_.Items) {
            SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
            for (const std::string& entry : state_.Items)
                SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        }
        if (SendMessageA(hwnd_, CB_GETCURSEL, 0, 0) != state_.ItemIndex)
            SendMessageA(hwnd_, CB_SETCURSEL, state_.ItemIndex, 0);
        shown_ = state_;
    }
    void Take() override {
        const LRESULT current = SendMessageA(hwnd_, CB_GETCURSEL, 0, 0);
        state_.Select(current == CB_ERR ? -1 : static_cast<int>(current));
    }

private:
    TComboBox& state_;
    std::optional<TComboBox> shown_;
};

class ProgressBinding : public Binding {
public:
    ProgressBinding(ControlMirror& m, int id, TProgressBar& state) : Binding(m, id), state_(state) {}
    void Put() override {
        PutCommon(state_, shown_ ? &*shown_ : nullptr, false);
        if (!shown_ || shown_->Min != state_.Min || shown_->Max != state_.Max)
            SendMessageA(hwnd_, PBM_SETRANGE32, state_.Min, state_.Max);
        if (!shown_ || shown_->Position != state_.Position) SendMessageA(hwnd_, PBM_SETPOS, state_.Position, 0);
        shown_ = state_;
    }

private:
    TProgressBar& state_;
    std::optional<TProgressBar> shown_;
};

class StatusBarBinding : public Binding {
public:
    StatusBarBinding(ControlMirror& m, int id, TStatusBar& state) : Binding(m, id), state_(state) {}
    void Put() override {
        const bool first = !shown_;
        PutCommon(state_, shown_ ? &*shown_ : nullptr, false);
        const auto& panels = state_.Panels;
        bool sameWidths = !first && shown_->Panels.size() == panels.size();
        for (size_t i = 0; sameWidths && i < panels.size(); ++i)
            sameWidths = shown_->Panels[i].Width == panels[i].Width;
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
            const TStatusPanel& was = shown_ ? shown_->Panels[i] : TStatusPanel{};
            if (sameWidths && was.Text == panels[i].Text && was.Alignment == panels[i].Alignment) continue;
            const char* align = panels[i].Alignment == TAlignment::Center  ? "\t"
                                : panels[i].Alignment == TAlignment::Right ? "\t\t"
                                                                           : "";
            const std::string text = align + panels[i].Text;
            SendMessageA(hwnd_, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(text.c_str()));
        }
        shown_ = state_;
    }

private:
    TStatusBar& state_;
    std::optional<TStatusBar> shown_;
};

}  // namespace

// --- the mirror ----------------------------------------------------------------------------------

ControlMirror::ControlMirror(HWND dialog) : dialog_(dialog) {
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                               reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), nullptr);
    if (tooltip_) SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, Scale(320));
}

ControlMirror::~ControlMirror() {
    if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
}

void ControlMirror::Add(std::unique_ptr<Binding> binding) { bindings_.push_back(std::move(binding)); }

void ControlMirror::Bind(int id, TControl& control) { Add(std::make_unique<PlainBinding>(*this, id, control)); }

void ControlMirror::BindLink(int id, TControl& label) {
    links_.push_back(Item(id));
    Bind(id, label);
}

void ControlMirror::BindFixed(std::initializer_list<int> ids, TControl& control) {
    for (int id : ids)
        if (Item(id)) Add(std::make_unique<FixedBinding>(*this, id, control));
}

void ControlMirror::Bind(int id, TCheckBox& box) { Add(std::make_unique<CheckBinding>(*this, id, box)); }
void ControlMirror::Bind(std::initializer_list<int> ids, TRadioGroup& group) {
    Add(std::make_unique<RadioGroupBinding>(*this, ids, group));
}
void ControlMirror::Bind(int id, TEdit& edit) { Add(std::make_unique<EditBinding>(*this, id, edit)); }
void ControlMirror::Bind(int id, TImage& image, int defaultIcon, int size) {
    Add(std::make_unique<ImageBinding>(*this, id, image, defaultIcon, size));
}
void ControlMirror::Bind(int id, TListView& list, HIMAGELIST images) {
    lists_.emplace_back(Item(id), &list);
    Add(std::make_unique<ListViewBinding>(*this, id, list, images));
}
void ControlMirror::Bind(int id, TCheckListBox& list) {
    checkLists_.push_back(Item(id));
    Add(std::make_unique<CheckListBinding>(*this, id, list));
}

void ControlMirror::UseHandCursor(int id) { hands_.push_back(Item(id)); }
void ControlMirror::Bind(int id, TComboBox& combo) { Add(std::make_unique<ComboBinding>(*this, id, combo)); }
void ControlMirror::Bind(int id, TProgressBar& bar) { Add(std::make_unique<ProgressBinding>(*this, id, bar)); }
void ControlMirror::Bind(int id, TStatusBar& bar) { Add(std::make_unique<StatusBarBinding>(*this, id, bar)); }

void ControlMirror::Put() {
    ++putting_;
    for (auto& b : bindings_) b->Put();
    --putting_;
}

void ControlMirror::Take() {
    for (auto& b : bindings_) b->Take();
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
    TOOLINFOA onDialog{};
    onDialog.cbSize = sizeof onDialog;
    onDialog.uFlags = TTF_SUBCLASS;
    onDialog.hwnd = dialog_;
    onDialog.uId = static_cast<UINT_PTR>(GetDlgCtrlID(control));
    SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&onControl));
    SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&onDialog));
    if (hint.empty()) return;
    onControl.lpszText = const_cast<char*>(hint.c_str());
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&onControl));
    GetWindowRect(control, &onDialog.rect);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&onDialog.rect), 2);
    onDialog.lpszText = onControl.lpszText;
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

void ControlMirror::Notify(const NMHDR& header) {
    if (header.code != HDN_ITEMCHANGEDA && header.code != HDN_ITEMCHANGEDW) return;
    const HWND list = GetParent(header.hwndFrom);
    for (const auto& [hwnd, record] : lists_) {
        if (hwnd != list) continue;
        const int column = reinterpret_cast<const NMHEADERA&>(header).iItem;
        if (column < 0 || column >= static_cast<int>(record->Columns.size())) return;
        const int dragged = Unscale(ListView_GetColumnWidth(list, column));
        const int allowed = record->Columns[column].Allowed(dragged);
        if (allowed != dragged) ListView_SetColumnWidth(list, column, Scale(allowed));
        return;
    }
}

// --- menus ---------------------------------------------------------------------------------------

int TrackPopup(HWND owner, const TPopupMenu& menu, POINT at) {
    PopupMenu popup([&] { return menu; });
    // Without submenus an item's number is its position.
    return popup.Choose(owner, at, TPM_RIGHTBUTTON | TPM_LEFTALIGN);
}

POINT ContextMenuPoint(HWND control, LPARAM lParam) {
    if (lParam != -1) return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT r{};
    char className[32] = {};
    GetClassNameA(control, className, sizeof className);
    if (lstrcmpiA(className, WC_LISTVIEWA) == 0) {
        const int selected = ListView_GetNextItem(control, -1, LVNI_SELECTED);
        if (selected >= 0 && ListView_GetItemRect(control, selected, &r, LVIR_LABEL)) {
            POINT p{r.left, r.bottom};
            ClientToScreen(control, &p);
            return p;
        }
    }
    GetWindowRect(control, &r);
    return {r.left, r.top};
}

}  // namespace vexamo::win32
