// Ties the records of a portable window (platform/Controls.h) to the real controls of its window,
// one control id each (a radio group and a window's fixed texts have several). Before an event of
// the user runs, Take copies what the user changed into the records; afterwards Put copies the
// records back, touching only what differs from what the controls show or from what it put last,
// so lists keep their scroll position and an unchanged control raises no notification. Which
// action on a control is which event of its record is decided here once, for every window.
//
// The real controls are reached through a ControlPort, which a platform's binding gives
// (win32::ControlMirror) and tests give over plain state.
#pragma once

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Controls.h"

namespace vexamo {

// The real controls of one window, by control id: what a platform gives the mirror.
class ControlPort {
public:
    virtual ~ControlPort() = default;
    virtual void SetText(int id, const std::string& text) = 0;  // a caption, an edit box's text
    virtual std::string Text(int id) = 0;
    virtual void SetEnabled(int id, bool enabled) = 0;
    virtual void SetVisible(int id, bool visible) = 0;
    virtual void SetHint(int id, const std::string& hint) = 0;
    virtual bool Checked(int id) = 0;
    virtual void SetChecked(int id, bool checked) = 0;
    virtual void SetMaxLength(int id, int length) = 0;
    virtual std::pair<int, int> Selection(int id) = 0;  // of an edit box's text
    virtual void SetSelection(int id, int start, int end) = 0;
    // An icon file at `size` pixels at 96 DPI, or the program's icon `fallback` for none or one
    // that cannot be read.
    virtual void SetPicture(int id, const std::string& file, int fallback, int size) = 0;
    // The current row or item of a list view, check list or drop-down list, -1 for none; a list
    // view also brings it into view.
    virtual int Current(int id) = 0;
    virtual void SetCurrent(int id, int index) = 0;
    // The items of a check list or drop-down list, and a check list item's tick and enabled state.
    virtual void SetItems(int id, const std::vector<std::string>& texts) = 0;
    virtual TCheckListItem ItemState(int id, int index) = 0;
    virtual void SetItemState(int id, int index, const TCheckListItem& state) = 0;
    // The rows of a list view: a new row comes with its caption and picture; cell 0 is the caption.
    virtual int RowCount(int id) = 0;
    virtual void DeleteRow(int id, int row) = 0;
    virtual void InsertRow(int id, int row, const TListItem& item) = 0;
    virtual void SetCell(int id, int row, int column, const std::string& text) = 0;
    virtual void SetRowPicture(int id, int row, int picture) = 0;
    virtual bool RowChecked(int id, int row) = 0;
    virtual void SetRowChecked(int id, int row, bool checked) = 0;
    virtual void SetRange(int id, int min, int max) = 0;
    virtual void SetPosition(int id, int position) = 0;
    // A status bar's panels, their widths at 96 DPI (the last one takes the rest), and texts.
    virtual void SetPanels(int id, const std::vector<int>& widths) = 0;
    virtual void SetPanelText(int id, int panel, const std::string& text, TAlignment alignment) = 0;
    // What a control is made into once, when its record is bound: a list view's columns (widths
    // at 96 DPI) and row check boxes, a check list of so many columns, a text that acts as a link.
    virtual void SetColumns(int id, const std::vector<TListColumn>& columns, bool checkboxes) = 0;
    virtual void MakeCheckList(int id, int columns) = 0;
    virtual void MakeLink(int id) = 0;
};

class RecordMirror {
public:
    explicit RecordMirror(ControlPort& controls);
    ~RecordMirror();
    RecordMirror(const RecordMirror&) = delete;
    RecordMirror& operator=(const RecordMirror&) = delete;

    // The window's own caption (control id 0).
    void BindCaption(const std::string& caption);
    // Static text, button: caption, enabled, visible, hint.
    void Bind(int id, TControl& control);
    // A static text that acts as a link (drawn as one, under a hand cursor).
    void BindLink(int id, TControl& label);
    // Controls whose texts and pictures the window's layout gives them (a page's labels, a line,
    // an icon) that follow a record's enabled and visible states.
    void BindFixed(std::initializer_list<int> ids, TControl& control);
    // Check box: also the tick, which the user changes.
    void Bind(int id, TCheckBox& box);
    // Radio button: also the tick, which only the window's handlers change (see TRadioButton).
    void Bind(int id, TRadioButton& radio);
    // The radio buttons of a group, in item order: the group's item is checked; like a radio
    // button's tick it changes only through the window's handlers.
    void Bind(std::initializer_list<int> ids, TRadioGroup& group);
    // An edit box keeps its caret where the user typed when the text it gets back has the same
    // length (a correction), else the caret goes where the change began.
    void Bind(int id, TEdit& edit);
    // An icon control: the icon file the record names at `size` pixels, else the icon `fallback`.
    void Bind(int id, TImage& image, int fallback, int size);
    // Report-style list view: rows and the selected row, which the user changes. The rows' check
    // boxes are the window's handlers' to change; a column the user drags keeps within its range.
    void Bind(int id, TListView& list);
    // Check list: items with their ticks and enabled states, the current item.
    void Bind(int id, TCheckListBox& list);
    // Drop-down list: its entries and the chosen one.
    void Bind(int id, TComboBox& combo);
    void Bind(int id, TProgressBar& bar);
    void Bind(int id, TStatusBar& bar);

    void Put();
    void Take();
    // What the controls report while the records are put comes from the program, not the user.
    bool Putting() const { return putting_ > 0; }

    // What the user did to a control, as the platform reports it. Exit is the focus moving to
    // another control of the same window.
    enum class Action { Click, RightClick, Change, Exit, ClickCheck };
    // The event an action stands for (an empty one when the record has no handler for it);
    // nothing when it stands for none.
    std::optional<TNotifyEvent> Event(int id, Action action);
    // A row of a list view changed: the keyboard selected it, or its check box now shows `checked`.
    std::optional<TNotifyEvent> RowChanged(int id, int row, bool selectedByKey, std::optional<bool> checked);

    // The platform's notifications as the system numbers them (the Windows build holds each
    // against the system's): a control's WM_COMMAND codes, with the check list's own, and a list
    // view row's state bits.
    enum Code : int {
        Clicked = 0, ComboSelChange = 1, ComboKillFocus = 4, EditKillFocus = 0x200, EditChange = 0x300,
        CheckListClickCheck = 0x0C01
    };
    enum class ControlKind { Other, Edit, ComboBox };
    // The action a control's WM_COMMAND code stands for; `focusStays` when the focus went to
    // another control of the same window.
    static std::optional<Action> CommandAction(ControlKind kind, int code, bool focusStays);
    // A row's LVN_ITEMCHANGED: which of its parts changed, its states before and after, and
    // whether a mouse button is down (the mouse's own click follows as a click: without a button
    // down, a newly selected row was walked to by the keyboard).
    static constexpr unsigned RowStateChanged = 0x8, RowSelected = 0x2, RowImageMask = 0xF000, RowTicked = 0x2000;
    struct RowStates {
        unsigned Changed = 0, Old = 0, New = 0;
        bool ButtonDown = false;
    };
    std::optional<TNotifyEvent> RowChanged(int id, int row, const RowStates& states);
    // The user dragged a column of a list view to `width`: the width it has to keep instead,
    // nothing when it may keep that one.
    std::optional<int> ColumnDragged(int id, int column, int width);
    // The menu of a list view, or null.
    TPopupMenu* PopupMenuOf(int id);
    // The record of a control, or null.
    const TControl* RecordOf(int id) const;
    // The control of a record (of a radio group, the button of its item); 0 for none.
    int IdOf(const TControl& record) const;

    class Binding;

private:
    template <typename B, typename... Args>
    void Add(int id, Args&&... args);

    ControlPort& controls_;
    std::vector<std::unique_ptr<Binding>> bindings_;
    int putting_ = 0;
};

}  // namespace vexamo
