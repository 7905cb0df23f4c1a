// What a portable window knows of its controls and of its binding: plain state, no handles. A
// window class holds one record per control and its handlers change them; the Win32 binding copies
// the records into the real controls after every handler and copies what the user did back before
// calling the next. Native tests read and set the same records the way a user would see and change
// the controls.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace vexamo {

// What a modal window ended with, as the dialog manager gives it (IDOK, IDCANCEL).
constexpr int ModalOk = 1;
constexpr int ModalCancel = 2;

struct TPopupMenu;

// What a user's action on a control runs: the window's handler, set by the window itself, so that
// a binding only says which control was acted on. Before it runs, what the user changed in the
// controls is in the records; an action without a handler only takes those changes.
using TNotifyEvent = std::function<void()>;

struct TControl {
    std::string Caption;
    std::string Hint;  // shown as the control's tooltip
    bool Enabled = true;
    bool Visible = true;
    TNotifyEvent OnClick;  // a button's, a check box's, a link's; a left click on a list
};

using TLabel = TControl;
using TButton = TControl;

struct TCheckBox : TControl {
    bool Checked = false;
};
// A radio button's tick changes only through its window's click handlers, which see what the
// buttons showed before the click (a handler may run only when the click checked its button).
struct TRadioButton : TCheckBox {};

struct TEdit : TControl {
    std::string Text;
    int MaxLength = 0;  // 0: no limit
    TNotifyEvent OnChange;  // every change of the text, typed, pasted or cut
    TNotifyEvent OnExit;    // the focus moved to another control of the window
};

// A check list: items each with a tick and an enabled state of their own.
struct TCheckListItem {
    std::string Text;
    bool Checked = false;
    bool Enabled = true;
};
struct TCheckListBox : TControl {
    std::vector<TCheckListItem> Items;
    int ItemIndex = -1;  // the current item, -1 for none
    int Columns = 1;
    TNotifyEvent OnClickCheck;  // the user ticked or cleared ItemIndex
};

struct TListItem {
    std::string Caption;
    std::vector<std::string> SubItems;
    int ImageIndex = -1;
    bool Checked = false;
};
struct TListColumn {
    std::string Caption;
    int Width = 0;  // in pixels at 96 DPI
    int MinWidth = 0, MaxWidth = 0;  // the range the user may drag it to; 0: no limit
    // The width a column dragged to `width` keeps.
    int Allowed(int width) const {
        if (MaxWidth > 0 && width > MaxWidth) return MaxWidth;
        if (MinWidth > 0 && width < MinWidth) return MinWidth;
        return width;
    }
};
struct TListView : TControl {
    // A check box in front of each row; a click on one goes to the window's handler, which sees
    // the row's tick as it was before and decides what it becomes.
    bool Checkboxes = false;
    bool ShowColumnHeaders = true;
    std::vector<TListColumn> Columns;
    std::vector<TListItem> Items;
    int ItemIndex = -1;  // the selected row, -1 for none
    TNotifyEvent OnRightClick;
    std::function<void(int row)> OnSelectByKey;  // the keyboard moved the selection to `row`
    std::function<void(int row, bool checked)> OnItemChecked;  // a click on a row's check box
    TPopupMenu* PopupMenu = nullptr;  // the menu of a right click, the menu key or Shift+F10
};

// A drop-down list: Text is the chosen entry's text.
struct TComboBox : TControl {
    std::vector<std::string> Items;
    int ItemIndex = -1;
    std::string Text;
    TNotifyEvent OnChange;  // the user chose an entry
    TNotifyEvent OnExit;    // the focus moved to another control of the window
    void Select(int index) {
        ItemIndex = index >= 0 && index < static_cast<int>(Items.size()) ? index : -1;
        Text = ItemIndex >= 0 ? Items[ItemIndex] : std::string();
    }
};

struct TProgressBar : TControl {
    int Min = 0;
    int Max = 100;
    int Position = 0;
};

enum class TAlignment { Left, Center, Right };

struct TStatusPanel {
    std::string Text;
    int Width = 0;  // in pixels at 96 DPI
    TAlignment Alignment = TAlignment::Left;
};
struct TStatusBar : TControl {
    std::vector<TStatusPanel> Panels;
};

struct TMenuItem {
    std::string Name;
    std::string Caption;  // "-" for a separator
    bool Enabled = true;
    bool Visible = true;
    bool Checked = false;
    bool Default = false;  // the menu's default command, drawn in bold
    int ImageIndex = -1;
    std::vector<TMenuItem> Items;  // a submenu
    bool IsSeparator() const { return Caption == "-"; }
};

// What an access-key press in an owner-drawn menu does: nothing (Index -1), select an item (the
// key is shared, so each press moves on to the next item that has it), or run the only item.
struct MenuKeyAnswer {
    int Index = -1;
    bool Execute = false;
};
MenuKeyAnswer MenuAccessKey(const std::vector<std::string>& captions, const std::vector<bool>& enabled, char key,
                            int selected);

// Where an item sits in a menu: its top-level position and its place in that item's submenu (-1
// for a top-level item).
struct TMenuPlace {
    int Item = -1;
    int SubItem = -1;
    bool operator==(const TMenuPlace&) const = default;
};

struct TPopupMenu {
    std::vector<TMenuItem> Items;
    std::string Banner;  // written in the side band of an owner-drawn menu
    TNotifyEvent OnPopup;                  // prepares the items before the menu opens
    std::function<void(int number)> OnClick;  // the chosen item, by its number

    // Every item has a number, its place when the items are counted depth first (a submenu's
    // items right after their parent); a menu command is that number, so one scheme serves every
    // menu and a top-level item's number is its position when no submenu comes before it.
    int NumberOf(TMenuPlace place) const;
    // The item with that number; Item -1 when there is none.
    TMenuPlace PlaceOf(int number) const;
    // The command a chosen item sends (the tray's hidden window gets them as WM_COMMAND): the
    // item's number after the first command; the number a command stands for, -1 for one that is
    // none of this menu's.
    static constexpr unsigned FirstCommand = 100;
    static constexpr unsigned CommandOf(int number) { return FirstCommand + static_cast<unsigned>(number); }
    int NumberOfCommand(unsigned command) const;
    // An access-key press over the top-level items, `selected` being the highlighted one.
    MenuKeyAnswer AccessKey(char key, int selected) const;
    // The positions of the top-level items a shown menu holds (the visible ones), and an
    // access-key press over those, by their place in the shown menu.
    std::vector<int> Shown() const;
    MenuKeyAnswer ShownAccessKey(char key, int selected) const;
};

// A picture control: the file it shows, empty for its default picture.
struct TImage : TControl {
    std::string Picture;
};

// A radio group: its items and the selected one (-1 for none), which changes only through the
// window's click handlers, as a radio button's tick does.
struct TRadioGroup : TControl {
    std::vector<std::string> Items;
    int ItemIndex = -1;
    std::function<void(int item)> OnItemClick;  // a click on the button of `item`
};

// A page control whose tabs the user never sees.
struct TPageControl : TControl {
    int ActivePage = 0;
};

// The two keys a dialog answers besides its controls' own: Enter and Escape.
enum class TDialogKey { Enter, Escape };

// How a portable window gets its binding: the window calls the factory once, at the end of its
// constructor, and owns what it returns; the binding refers back to the window. An empty factory
// leaves the window without one (tests of the window alone).
template <typename Window, typename Host>
using HostFactory = std::function<std::unique_ptr<Host>(Window&)>;

// A modal show between the window's opening and closing handlers: `close` runs however the show
// ends, also when `open` or the show threw. Returns what the show returned.
template <typename Open, typename Show, typename Close>
auto ShowModalBetween(Open&& open, Show&& show, Close&& close) -> decltype(show()) {
    if constexpr (std::is_void_v<decltype(show())>) {
        try {
            open();
            show();
        } catch (...) {
            close();
            throw;
        }
        close();
    } else {
        decltype(show()) result{};
        try {
            open();
            result = show();
        } catch (...) {
            close();
            throw;
        }
        close();
        return result;
    }
}

}  // namespace vexamo
