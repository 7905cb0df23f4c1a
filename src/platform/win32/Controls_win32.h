// The Win32 side of the plain control records (platform/Controls.h), shared by every dialog.
//
// A dialog ties each record of its portable window to a control of its template once (`Bind`).
// Before an event of the user runs, the mirror takes what the user changed into the records
// (`Take`); afterwards it puts the records back into the controls (`Put`), touching only what
// differs from what it put last, so lists keep their scroll position and an unchanged control
// raises no notification. Notifications that arrive while `Putting()` come from the program.
//
// Which notification of a control is which event of its record (a click, a change, leaving it) is
// decided here once for every window. Pixel sizes in the records (columns, panels) are at 96 DPI
// and scaled to the screen's; hints become tooltips.
#pragma once

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/win32/WinApi.h"
#include <commctrl.h>

namespace vexamo::win32 {

// Check lists are owner-drawn list boxes (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY, and
// LBS_MULTICOLUMN for more than one column). A click on an item or the space bar ticks it; the
// parent then gets WM_COMMAND with this notification code, the ticked item being the current one.
constexpr WORD CLN_CLICKCHECK = 0x0C01;

class ControlMirror {
public:
    // `dialog` owns the controls; the mirror makes one tooltip window for their hints.
    explicit ControlMirror(HWND dialog);
    ~ControlMirror();
    ControlMirror(const ControlMirror&) = delete;
    ControlMirror& operator=(const ControlMirror&) = delete;

    // The dialog's own caption.
    void BindCaption(const std::string& caption);
    // Static text, button: caption, enabled, visible, hint.
    void Bind(int id, TControl& control);
    // A static text (SS_NOTIFY) that acts as a link: drawn in the link colour under a hand cursor.
    void BindLink(int id, TControl& label);
    // Controls the template gives their texts and pictures (a page's labels, a line, an icon) that
    // follow a record's enabled and visible states.
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
    // An icon control: the icon file the record names at `size` pixels (at 96 DPI), or the
    // program's icon `defaultIcon` for none or one that cannot be read.
    void Bind(int id, TImage& image, int defaultIcon, int size);
    // Report-style list view: columns (once), rows, pictures from `images` (which the caller
    // keeps; the template gives the list LVS_SHAREIMAGELISTS), and the selected row, which the
    // user changes. The rows' check boxes are the window's handlers' to change; a column the user
    // drags keeps within its record's range.
    void Bind(int id, TListView& list, HIMAGELIST images = nullptr);
    // Owner-drawn check list: items with their ticks and enabled states, the current item.
    void Bind(int id, TCheckListBox& list);
    // Drop-down list: its entries and the chosen one.
    void Bind(int id, TComboBox& combo);
    void Bind(int id, TProgressBar& bar);
    void Bind(int id, TStatusBar& bar);
    // A control the mouse points at with the hand, as at something to click.
    void UseHandCursor(int id);

    void Put();
    void Take();
    bool Putting() const { return putting_ > 0; }

    // The event a notification of a bound control stands for (an empty one when its record has no
    // handler for it); nothing when it stands for none.
    std::optional<TNotifyEvent> Command(HWND control, WORD code);
    std::optional<TNotifyEvent> Notify(const NMHDR& header);
    // The menu of a bound list, or null.
    TPopupMenu* PopupMenuOf(HWND control);
    // The record of the control that has the keyboard focus, or null.
    const TControl* Focused() const;
    // The control of a record; of a radio group, the button of its item.
    HWND HandleOf(const TControl& record) const;

    // Link colour and hand cursor for bound links; 0 / false when the control is none of them.
    LRESULT CtlColorStatic(HDC dc, HWND control);
    bool SetCursor(HWND control, int hitTest);
    // Draws an item of a bound check list; false for any other control.
    bool DrawItem(const DRAWITEMSTRUCT& draw);

    class Binding;

private:
    template <typename B, typename... Args>
    void Add(int id, Args&&... args);
    void SetHint(HWND control, const std::string& hint);

    HWND dialog_;
    HWND tooltip_ = nullptr;
    std::vector<std::unique_ptr<Binding>> bindings_;
    std::vector<HWND> links_, hands_, checkLists_;
    int putting_ = 0;
};

}  // namespace vexamo::win32
