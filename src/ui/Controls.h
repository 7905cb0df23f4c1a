// What a portable window knows of its controls: plain state, no handles. A window class holds one
// record per control and its handlers change them; the Win32 binding copies the records into the
// real controls after every handler and copies what the user did back before calling the next.
// Native tests read and set the same records the way a user would see and change the controls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexamo {

// What a modal window ended with, as the dialog manager gives it (IDOK, IDCANCEL).
constexpr int ModalOk = 1;
constexpr int ModalCancel = 2;

struct TControl {
    std::string Caption;
    std::string Hint;  // shown as the control's tooltip
    bool Enabled = true;
    bool Visible = true;
};

using TLabel = TControl;
using TButton = TControl;

struct TCheckBox : TControl {
    bool Checked = false;
};
using TRadioButton = TCheckBox;

struct TEdit : TControl {
    std::string Text;
    int MaxLength = 0;  // 0: no limit
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
};
struct TListView : TControl {
    bool Checkboxes = false;  // a check box in front of each row
    bool ShowColumnHeaders = true;
    std::vector<TListColumn> Columns;
    std::vector<TListItem> Items;
    int ItemIndex = -1;  // the selected row, -1 for none
};

// A drop-down list: Text is the chosen entry's text.
struct TComboBox : TControl {
    std::vector<std::string> Items;
    int ItemIndex = -1;
    std::string Text;
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
    int ImageIndex = -1;
    std::vector<TMenuItem> Items;  // a submenu
    bool IsSeparator() const { return Caption == "-"; }
};
struct TPopupMenu {
    std::vector<TMenuItem> Items;
};

// A picture control: the file it shows, empty for its default picture.
struct TImage : TControl {
    std::string Picture;
};

// A radio group: its items and the selected one (-1 for none).
struct TRadioGroup : TControl {
    std::vector<std::string> Items;
    int ItemIndex = -1;
};

// A page control whose tabs the user never sees.
struct TPageControl : TControl {
    int ActivePage = 0;
};

}  // namespace vexamo
