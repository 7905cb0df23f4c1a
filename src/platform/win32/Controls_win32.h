// The Win32 controls behind the record mirror (platform/Mirror.h), for every dialog: the mirror
// decides what to put and what an action means, this side puts it into a dialog's controls and
// tells the mirror what the user did. Pixel sizes in the records (columns, panels) are at 96 DPI
// and scaled to the screen's; hints become tooltips.
#pragma once

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Mirror.h"
#include "platform/win32/ScopedGdi.h"
#include "platform/win32/WinApi.h"
#include <commctrl.h>

namespace vexamo::win32 {

// Check lists are owner-drawn list boxes (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY, and
// LBS_MULTICOLUMN for more than one column). A click on an item or the space bar ticks it; the
// parent then gets WM_COMMAND with CheckListClickCheck, the ticked item being the current one.
class ControlMirror : public ControlPort, public RecordMirror {
public:
    // `dialog` owns the controls; the mirror makes one tooltip window for their hints.
    explicit ControlMirror(HWND dialog);
    ~ControlMirror() override;

    // The pictures of a list view's rows, before its record is bound (the caller keeps them; the
    // template gives the list LVS_SHAREIMAGELISTS).
    void SetImages(int id, HIMAGELIST images);
    // A control the mouse points at with the hand, as at something to click.
    void UseHandCursor(int id);
    // Hints on one line however long (the chooser's); others wrap at a width of their own.
    void UnwrappedHints();

    // The event a WM_COMMAND or WM_NOTIFY of a control stands for (see RecordMirror::Event).
    std::optional<TNotifyEvent> Command(HWND control, WORD code);
    std::optional<TNotifyEvent> Notify(const NMHDR& header);
    TPopupMenu* PopupMenuOf(HWND control) { return RecordMirror::PopupMenuOf(GetDlgCtrlID(control)); }
    // The record of the control with the keyboard focus, or null.
    const TControl* Focused() const;
    HWND HandleOf(const TControl& record) const { return GetDlgItem(dialog_, IdOf(record)); }

    bool IsLink(HWND control) const { return std::find(links_.begin(), links_.end(), control) != links_.end(); }
    // The hand over enabled links and the controls that use it; false when the control is none.
    bool SetCursor(HWND control, int hitTest);
    // Draws an item of a bound check list; false for any other control.
    bool DrawItem(const DRAWITEMSTRUCT& draw);

    // --- ControlPort ---------------------------------------------------------------------------
    void SetText(int id, const std::string& text) override;
    std::string Text(int id) override;
    void SetEnabled(int id, bool enabled) override;
    void SetVisible(int id, bool visible) override;
    void SetHint(int id, const std::string& hint) override;
    bool Checked(int id) override;
    void SetChecked(int id, bool checked) override;
    void SetMaxLength(int id, int length) override;
    std::pair<int, int> Selection(int id) override;
    void SetSelection(int id, int start, int end) override;
    void SetPicture(int id, const std::string& file, int fallback, int size) override;
    int Current(int id) override;
    void SetCurrent(int id, int index) override;
    void SetItems(int id, const std::vector<std::string>& texts) override;
    TCheckListItem ItemState(int id, int index) override;
    void SetItemState(int id, int index, const TCheckListItem& state) override;
    int RowCount(int id) override;
    void DeleteRow(int id, int row) override;
    void InsertRow(int id, int row, const TListItem& item) override;
    void SetCell(int id, int row, int column, const std::string& text) override;
    void SetRowPicture(int id, int row, int picture) override;
    bool RowChecked(int id, int row) override;
    void SetRowChecked(int id, int row, bool checked) override;
    void SetRange(int id, int min, int max) override;
    void SetPosition(int id, int position) override;
    void SetPanels(int id, const std::vector<int>& widths) override;
    void SetPanelText(int id, int panel, const std::string& text, TAlignment alignment) override;
    void SetColumns(int id, const std::vector<TListColumn>& columns, bool checkboxes) override;
    void MakeCheckList(int id, int columns) override;
    void MakeLink(int id) override { links_.push_back(Control(id)); }

private:
    HWND Control(int id) const { return id == 0 ? dialog_ : GetDlgItem(dialog_, id); }

    HWND dialog_;
    HWND tooltip_ = nullptr;
    std::map<int, Icon> pictures_;
    std::map<int, HIMAGELIST> images_;
    std::vector<HWND> links_, hands_, checkLists_;
};

}  // namespace vexamo::win32
