#include "platform/Mirror.h"

#include <algorithm>

namespace vexamo {

using Action = RecordMirror::Action;

class RecordMirror::Binding {
public:
    Binding(ControlPort& controls, int id) : c_(controls), id_(id) {}
    virtual ~Binding() = default;
    int Id() const { return id_; }
    virtual void Put() = 0;
    virtual void Take() {}
    virtual const TControl* Record() const { return nullptr; }
    // Of the controls a record has, the one that stands for it now.
    virtual bool Current() const { return true; }
    virtual std::optional<TNotifyEvent> Event(Action) { return std::nullopt; }

protected:
    ControlPort& c_;
    int id_;
};

namespace {

using Binding = RecordMirror::Binding;

// A record and what its control showed at the last put (nothing before the first): the parts
// every record has are put where they differ, PutOwn puts the rest. A click is the record's.
template <typename R, bool Caption = false>
class Bound : public Binding {
public:
    Bound(ControlPort& c, int id, R& record) : Binding(c, id), now_(record) {}
    void Put() final {
        const R* was = shown_ ? &*shown_ : nullptr;
        if (Caption && (!was || now_.Caption != was->Caption)) c_.SetText(id_, now_.Caption);
        if (!was || now_.Enabled != was->Enabled) c_.SetEnabled(id_, now_.Enabled);
        if (!was || now_.Visible != was->Visible) c_.SetVisible(id_, now_.Visible);
        if (!was || now_.Hint != was->Hint) c_.SetHint(id_, now_.Hint);
        PutOwn(was);
        shown_ = now_;
    }
    const TControl* Record() const override { return &now_; }
    std::optional<TNotifyEvent> Event(Action action) override {
        if (action == Action::Click) return now_.OnClick;
        return std::nullopt;
    }

protected:
    virtual void PutOwn(const R*) {}
    R& now_;
    std::optional<R> shown_;
};

using PlainBinding = Bound<TControl, true>;

class FixedBinding : public Bound<TControl> {
public:
    using Bound::Bound;
    std::optional<TNotifyEvent> Event(Action) override { return std::nullopt; }
};

class CaptionBinding : public Binding {
public:
    CaptionBinding(ControlPort& c, const std::string& caption) : Binding(c, 0), now_(caption) {}
    void Put() override {
        if (c_.Text(id_) != now_) c_.SetText(id_, now_);
    }

private:
    const std::string& now_;
};

class CheckBinding : public Bound<TCheckBox, true> {
public:
    CheckBinding(ControlPort& c, int id, TCheckBox& box, bool takes) : Bound(c, id, box), takes_(takes) {}
    void PutOwn(const TCheckBox*) override {
        if (c_.Checked(id_) != now_.Checked) c_.SetChecked(id_, now_.Checked);
    }
    void Take() override {
        if (takes_) now_.Checked = c_.Checked(id_);
    }

private:
    bool takes_;
};

// One button of a radio group: checked while it is the group's item.
class RadioItemBinding : public Bound<TRadioGroup> {
public:
    RadioItemBinding(ControlPort& c, int id, TRadioGroup& group, int index) : Bound(c, id, group), index_(index) {}
    void PutOwn(const TRadioGroup*) override {
        if (c_.Checked(id_) != (now_.ItemIndex == index_)) c_.SetChecked(id_, now_.ItemIndex == index_);
    }
    bool Current() const override { return index_ == std::max(now_.ItemIndex, 0); }
    std::optional<TNotifyEvent> Event(Action action) override {
        if (action != Action::Click) return std::nullopt;
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
        if (!was || now_.MaxLength != was->MaxLength) c_.SetMaxLength(id_, now_.MaxLength);
        const std::string text = c_.Text(id_);
        if (text == now_.Text) return;
        auto [start, end] = c_.Selection(id_);
        c_.SetText(id_, now_.Text);
        if (text.size() != now_.Text.size()) start = end = std::min(start, static_cast<int>(now_.Text.size()));
        c_.SetSelection(id_, start, end);
    }
    void Take() override { now_.Text = c_.Text(id_); }
    std::optional<TNotifyEvent> Event(Action action) override {
        if (action == Action::Change) return now_.OnChange;
        if (action == Action::Exit) return now_.OnExit;
        return std::nullopt;
    }
};

class ImageBinding : public Bound<TImage> {
public:
    ImageBinding(ControlPort& c, int id, TImage& image, int fallback, int size)
        : Bound(c, id, image), fallback_(fallback), size_(size) {}
    void PutOwn(const TImage* was) override {
        if (!was || now_.Picture != was->Picture) c_.SetPicture(id_, now_.Picture, fallback_, size_);
    }

private:
    int fallback_, size_;
};

class ListViewBinding : public Bound<TListView> {
public:
    using Bound::Bound;
    void PutOwn(const TListView* was) override {
        const std::vector<TListItem> none;
        const std::vector<TListItem>& old = was ? was->Items : none;
        const int count = static_cast<int>(now_.Items.size());
        while (c_.RowCount(id_) > count) c_.DeleteRow(id_, c_.RowCount(id_) - 1);
        for (int i = 0; i < count; ++i) {
            const TListItem& row = now_.Items[i];
            const bool exists = i < c_.RowCount(id_);
            const TListItem* shown = exists && i < static_cast<int>(old.size()) ? &old[i] : nullptr;
            if (!exists) c_.InsertRow(id_, i, row);
            if (exists && (!shown || row.Caption != shown->Caption)) c_.SetCell(id_, i, 0, row.Caption);
            if (exists && (!shown || row.ImageIndex != shown->ImageIndex)) c_.SetRowPicture(id_, i, row.ImageIndex);
            for (size_t k = 0; k < row.SubItems.size(); ++k)
                if (!shown || k >= shown->SubItems.size() || shown->SubItems[k] != row.SubItems[k])
                    c_.SetCell(id_, i, static_cast<int>(k) + 1, row.SubItems[k]);
            if (now_.Checkboxes && c_.RowChecked(id_, i) != row.Checked) c_.SetRowChecked(id_, i, row.Checked);
        }
        if (c_.Current(id_) != now_.ItemIndex) c_.SetCurrent(id_, now_.ItemIndex);
    }
    void Take() override { now_.ItemIndex = c_.Current(id_); }
    std::optional<TNotifyEvent> Event(Action action) override {
        if (action == Action::Click) return now_.OnClick;
        if (action == Action::RightClick) return now_.OnRightClick;
        return std::nullopt;
    }
    std::optional<TNotifyEvent> RowChanged(int row, bool selectedByKey, std::optional<bool> checked) {
        if (checked && now_.OnItemChecked) return [event = now_.OnItemChecked, row, on = *checked] { event(row, on); };
        if (selectedByKey && now_.OnSelectByKey) return [event = now_.OnSelectByKey, row] { event(row); };
        return std::nullopt;
    }
    std::optional<int> ColumnDragged(int column, int width) const {
        if (column < 0 || column >= static_cast<int>(now_.Columns.size())) return std::nullopt;
        const int allowed = now_.Columns[column].Allowed(width);
        return allowed == width ? std::nullopt : std::optional<int>(allowed);
    }
    TPopupMenu* Menu() const { return now_.PopupMenu; }
};

class CheckListBinding : public Bound<TCheckListBox> {
public:
    using Bound::Bound;
    void PutOwn(const TCheckListBox* was) override {
        const auto text = [](const TCheckListItem& item) { return item.Text; };
        if (!was || !std::ranges::equal(was->Items, now_.Items, {}, text, text)) {
            std::vector<std::string> texts;
            for (const TCheckListItem& item : now_.Items) texts.push_back(item.Text);
            c_.SetItems(id_, texts);
        }
        for (int i = 0; i < static_cast<int>(now_.Items.size()); ++i) {
            const TCheckListItem shows = c_.ItemState(id_, i), wanted = now_.Items[i];
            if (shows.Checked != wanted.Checked || shows.Enabled != wanted.Enabled) c_.SetItemState(id_, i, wanted);
        }
        if (c_.Current(id_) != now_.ItemIndex) c_.SetCurrent(id_, now_.ItemIndex);
    }
    void Take() override {
        now_.ItemIndex = c_.Current(id_);
        for (int i = 0; i < static_cast<int>(now_.Items.size()); ++i) now_.Items[i].Checked = c_.ItemState(id_, i).Checked;
    }
    std::optional<TNotifyEvent> Event(Action action) override {
        if (action == Action::ClickCheck) return now_.OnClickCheck;
        return std::nullopt;
    }
};

class ComboBinding : public Bound<TComboBox> {
public:
    using Bound::Bound;
    void PutOwn(const TComboBox* was) override {
        if (!was || was->Items != now_.Items) c_.SetItems(id_, now_.Items);
        if (c_.Current(id_) != now_.ItemIndex) c_.SetCurrent(id_, now_.ItemIndex);
    }
    void Take() override { now_.Select(c_.Current(id_)); }
    std::optional<TNotifyEvent> Event(Action action) override {
        if (action == Action::Change) return now_.OnChange;
        if (action == Action::Exit) return now_.OnExit;
        return std::nullopt;
    }
};

class ProgressBinding : public Bound<TProgressBar> {
public:
    using Bound::Bound;
    void PutOwn(const TProgressBar* was) override {
        if (!was || was->Min != now_.Min || was->Max != now_.Max) c_.SetRange(id_, now_.Min, now_.Max);
        if (!was || was->Position != now_.Position) c_.SetPosition(id_, now_.Position);
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
            std::vector<int> widths;
            for (const TStatusPanel& p : panels) widths.push_back(p.Width);
            c_.SetPanels(id_, widths);
        }
        for (size_t i = 0; i < panels.size(); ++i) {
            const TStatusPanel& p = panels[i];
            if (sameWidths && was->Panels[i].Text == p.Text && was->Panels[i].Alignment == p.Alignment) continue;
            c_.SetPanelText(id_, static_cast<int>(i), p.Text, p.Alignment);
        }
    }
};

}  // namespace

RecordMirror::RecordMirror(ControlPort& controls) : controls_(controls) {}

RecordMirror::~RecordMirror() = default;

template <typename B, typename... Args>
void RecordMirror::Add(int id, Args&&... args) {
    bindings_.push_back(std::make_unique<B>(controls_, id, std::forward<Args>(args)...));
}

void RecordMirror::BindCaption(const std::string& caption) {
    bindings_.push_back(std::make_unique<CaptionBinding>(controls_, caption));
}
void RecordMirror::Bind(int id, TControl& control) { Add<PlainBinding>(id, control); }
void RecordMirror::BindLink(int id, TControl& label) {
    controls_.MakeLink(id);
    Add<PlainBinding>(id, label);
}
void RecordMirror::BindFixed(std::initializer_list<int> ids, TControl& control) {
    for (int id : ids) Add<FixedBinding>(id, control);
}
void RecordMirror::Bind(int id, TCheckBox& box) { Add<CheckBinding>(id, box, true); }
void RecordMirror::Bind(int id, TRadioButton& radio) { Add<CheckBinding>(id, radio, false); }
void RecordMirror::Bind(std::initializer_list<int> ids, TRadioGroup& group) {
    int index = 0;
    for (int id : ids) Add<RadioItemBinding>(id, group, index++);
}
void RecordMirror::Bind(int id, TEdit& edit) { Add<EditBinding>(id, edit); }
void RecordMirror::Bind(int id, TImage& image, int fallback, int size) { Add<ImageBinding>(id, image, fallback, size); }
void RecordMirror::Bind(int id, TListView& list) {
    controls_.SetColumns(id, list.Columns, list.Checkboxes);
    Add<ListViewBinding>(id, list);
}
void RecordMirror::Bind(int id, TCheckListBox& list) {
    controls_.MakeCheckList(id, list.Columns);
    Add<CheckListBinding>(id, list);
}
void RecordMirror::Bind(int id, TComboBox& combo) { Add<ComboBinding>(id, combo); }
void RecordMirror::Bind(int id, TProgressBar& bar) { Add<ProgressBinding>(id, bar); }
void RecordMirror::Bind(int id, TStatusBar& bar) { Add<StatusBarBinding>(id, bar); }

void RecordMirror::Put() {
    ++putting_;
    for (auto& b : bindings_) b->Put();
    --putting_;
}

void RecordMirror::Take() {
    for (auto& b : bindings_) b->Take();
}

std::optional<TNotifyEvent> RecordMirror::Event(int id, Action action) {
    for (auto& b : bindings_)
        if (b->Id() == id)
            if (auto event = b->Event(action)) return event;
    return std::nullopt;
}

namespace {

template <typename F>
auto OnList(const std::vector<std::unique_ptr<Binding>>& bindings, int id, F f) -> decltype(f(std::declval<ListViewBinding&>())) {
    for (const auto& b : bindings)
        if (auto* list = dynamic_cast<ListViewBinding*>(b.get()); list && list->Id() == id) return f(*list);
    return {};
}

}  // namespace

std::optional<TNotifyEvent> RecordMirror::RowChanged(int id, int row, bool selectedByKey, std::optional<bool> checked) {
    return OnList(bindings_, id, [&](ListViewBinding& list) { return list.RowChanged(row, selectedByKey, checked); });
}

std::optional<RecordMirror::Action> RecordMirror::CommandAction(ControlKind kind, int code, bool focusStays) {
    const bool edit = kind == ControlKind::Edit, combo = kind == ControlKind::ComboBox;
    if (code == Clicked && !combo) return Action::Click;
    if ((edit && code == EditChange) || (combo && code == ComboSelChange)) return Action::Change;
    if (((edit && code == EditKillFocus) || (combo && code == ComboKillFocus)) && focusStays) return Action::Exit;
    if (code == CheckListClickCheck) return Action::ClickCheck;
    return std::nullopt;
}

std::optional<TNotifyEvent> RecordMirror::RowChanged(int id, int row, const RowStates& states) {
    const unsigned image = states.New & RowImageMask;
    std::optional<bool> checked;
    if ((states.Changed & RowStateChanged) && image != (states.Old & RowImageMask)) checked = image == RowTicked;
    const bool byKey = (states.New & RowSelected) && !(states.Old & RowSelected) && !states.ButtonDown;
    return RowChanged(id, row, byKey, checked);
}

std::optional<int> RecordMirror::ColumnDragged(int id, int column, int width) {
    return OnList(bindings_, id, [&](ListViewBinding& list) { return list.ColumnDragged(column, width); });
}

TPopupMenu* RecordMirror::PopupMenuOf(int id) {
    return OnList(bindings_, id, [](ListViewBinding& list) { return list.Menu(); });
}

const TControl* RecordMirror::RecordOf(int id) const {
    for (const auto& b : bindings_)
        if (b->Id() == id && b->Record()) return b->Record();
    return nullptr;
}

int RecordMirror::IdOf(const TControl& record) const {
    for (const auto& b : bindings_)
        if (b->Record() == &record && b->Current()) return b->Id();
    return 0;
}

}  // namespace vexamo
