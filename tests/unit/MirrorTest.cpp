// The record mirror against controls made of plain state: what a put changes, what a take reads,
// and which event a user's action on a control stands for.
#include <gtest/gtest.h>

#include <map>

#include "platform/Mirror.h"
#include "support/FakeControls.h"

using namespace vexamo;
using Action = RecordMirror::Action;
using test::FakeControls;

namespace {

using Changes = std::vector<std::string>;

}  // namespace

TEST(Mirror, APutChangesOnlyWhatDiffersFromWhatTheControlsShow) {
    FakeControls c;
    RecordMirror m(c);
    std::string caption = "Window";
    TButton button;
    button.Caption = "&Go";
    TCheckBox box;
    TEdit edit;
    edit.MaxLength = 8;
    TProgressBar bar;
    m.BindCaption(caption);
    m.Bind(1, button);
    m.Bind(2, box);
    m.Bind(3, edit);
    m.Bind(4, bar);
    m.Put();
    EXPECT_EQ(c.c[0].Text, "Window");
    EXPECT_EQ(c.c[1].Text, "&Go");
    EXPECT_EQ(c.c[3].MaxLength, 8);
    EXPECT_EQ(c.c[4].Max, 100);
    c.Changes();
    m.Put();
    EXPECT_EQ(c.Changes(), Changes{}) << "an unchanged record raises nothing";

    button.Enabled = false;
    box.Checked = true;
    bar.Position = 40;
    m.Put();
    EXPECT_EQ(c.Changes(), (Changes{"enabled 1", "checked 2", "position 4"}));
    // A tick the user changed meanwhile is put back only when the record says otherwise.
    c.c[2].Checked = false;
    m.Put();
    EXPECT_EQ(c.Changes(), Changes{"checked 2"});
    EXPECT_TRUE(m.Putting() == false);
}

TEST(Mirror, ATakeReadsWhatTheUserChangesAndNothingElse) {
    FakeControls c;
    RecordMirror m(c);
    TCheckBox box;
    TRadioButton radio;
    TRadioGroup group;
    group.ItemIndex = 0;
    TEdit edit;
    TComboBox combo;
    combo.Items = {"a", "b"};
    m.Bind(1, box);
    m.Bind(2, radio);
    m.Bind({3, 4}, group);
    m.Bind(5, edit);
    m.Bind(6, combo);
    m.Put();
    EXPECT_TRUE(c.c[3].Checked && !c.c[4].Checked);
    c.c[1].Checked = c.c[2].Checked = c.c[4].Checked = true;
    c.c[3].Checked = false;
    c.c[5].Text = "typed";
    c.c[6].Current = 1;
    m.Take();
    EXPECT_TRUE(box.Checked);
    EXPECT_FALSE(radio.Checked) << "a radio button's tick is its handlers' to change";
    EXPECT_EQ(group.ItemIndex, 0);
    EXPECT_EQ(edit.Text, "typed");
    EXPECT_EQ(combo.ItemIndex, 1);
    EXPECT_EQ(combo.Text, "b");
    m.Put();
    EXPECT_TRUE(c.c[3].Checked && !c.c[4].Checked && !c.c[2].Checked);
    EXPECT_EQ(m.IdOf(group), 3);
    group.ItemIndex = 1;
    EXPECT_EQ(m.IdOf(group), 4) << "the group stands on the button of its item";
    EXPECT_EQ(m.RecordOf(5), &edit);
    EXPECT_EQ(m.RecordOf(9), nullptr);
}

TEST(Mirror, AnEditBoxKeepsItsCaretForACorrectionOnly) {
    FakeControls c;
    RecordMirror m(c);
    TEdit edit;
    m.Bind(1, edit);
    m.Put();
    c.c[1].Text = "[FILE] -x";
    c.c[1].SelStart = 7, c.c[1].SelEnd = 9;
    edit.Text = "[FILE] -X";  // same length: the caret and selection stay where the user left them
    m.Put();
    EXPECT_EQ(c.c[1].Text, "[FILE] -X");
    EXPECT_EQ(c.c[1].SelStart, 7);
    EXPECT_EQ(c.c[1].SelEnd, 9);
    c.c[1].SelStart = 4, c.c[1].SelEnd = 9;
    edit.Text = "[FILE]";  // shorter: the caret goes where the change began, within the text
    m.Put();
    EXPECT_EQ(c.c[1].SelStart, 4);
    EXPECT_EQ(c.c[1].SelEnd, 4);
    c.c[1].SelStart = c.c[1].SelEnd = 6;
    edit.Text = "[FIL";
    m.Put();
    EXPECT_EQ(c.c[1].SelStart, 4);
}

TEST(Mirror, ListsPutOnlyTheRowsCellsAndTicksThatChanged) {
    FakeControls c;
    RecordMirror m(c);
    TListView list;
    list.Checkboxes = true;
    list.Columns = {{"", 20}, {"Name", 100, 50, 150}};
    list.Items = {{"", {"Winamp", "AUDIO"}, 3, true}, {"", {"BsPlayer", "VIDEO"}, -1, false}};
    m.Bind(1, list);
    m.Put();
    ASSERT_EQ(c.c[1].Rows.size(), 2u);
    EXPECT_EQ(c.c[1].Rows[0].SubItems, (std::vector<std::string>{"Winamp", "AUDIO"}));
    EXPECT_TRUE(c.c[1].Rows[0].Checked);
    EXPECT_EQ(c.c[1].Rows[0].ImageIndex, 3);
    c.Changes();

    list.Items[1].SubItems[1] = "AUDIO/VIDEO";
    list.ItemIndex = 1;
    m.Put();
    EXPECT_EQ(c.Changes(), (Changes{"cell 1", "current 1"})) << "no row is put again, so the list keeps its scroll";
    list.Items.pop_back();
    list.ItemIndex = -1;
    m.Put();
    EXPECT_EQ(c.Changes(), Changes{"delete 1"});
    c.c[1].Rows[0].Checked = false;  // the user's click; the handler decides
    m.Put();
    EXPECT_TRUE(c.c[1].Rows[0].Checked);

    EXPECT_EQ(m.ColumnDragged(1, 1, 200), 150);
    EXPECT_EQ(m.ColumnDragged(1, 1, 10), 50);
    EXPECT_EQ(m.ColumnDragged(1, 1, 90), std::nullopt);
    EXPECT_EQ(m.ColumnDragged(1, 5, 90), std::nullopt);
    c.c[1].Current = 0;
    m.Take();
    EXPECT_EQ(list.ItemIndex, 0);
}

TEST(Mirror, CheckListsComboBoxesAndStatusBarsRefillOnlyWhenTheirTextsChange) {
    FakeControls c;
    RecordMirror m(c);
    TCheckListBox ticks;
    ticks.Items = {{".mp3", true, true}, {".avi", false, false}};
    TComboBox combo;
    combo.Items = {"Winamp"};
    TStatusBar status;
    status.Panels = {{"Device(s):", 100}, {"Ready", 50, TAlignment::Center}};
    m.Bind(1, ticks);
    m.Bind(2, combo);
    m.Bind(3, status);
    m.Put();
    EXPECT_EQ(c.c[1].Items, (std::vector<std::string>{".mp3", ".avi"}));
    EXPECT_TRUE(c.c[1].States[0].Checked && !c.c[1].States[1].Enabled);
    EXPECT_EQ(c.c[3].Panels, (std::vector<int>{100, 50}));
    EXPECT_EQ(c.c[3].PanelTexts[1], "|Ready");
    c.Changes();

    ticks.Items[1].Enabled = true;
    combo.Select(0);
    status.Panels[1].Text = "Not Ready";
    m.Put();
    EXPECT_EQ(c.Changes(), (Changes{"state 1", "current 2", "panel 3"}));
    c.c[1].States[1].Checked = true;  // the user ticks
    c.c[1].Current = 1;
    m.Take();
    EXPECT_TRUE(ticks.Items[1].Checked);
    EXPECT_EQ(ticks.ItemIndex, 1);
    ticks.Items.push_back({".wav"});
    status.Panels[0].Width = 120;
    m.Put();
    EXPECT_EQ(c.c[1].Items.size(), 3u);
    EXPECT_TRUE(c.c[1].States[1].Checked) << "a refilled list gets its ticks back";
    EXPECT_EQ(c.c[3].Panels, (std::vector<int>{120, 50}));
}

TEST(Mirror, EachActionIsTheEventOfItsControlsRecord) {
    FakeControls c;
    RecordMirror m(c);
    std::vector<std::string> ran;
    const auto note = [&](std::string what) { return [&ran, what] { ran.push_back(what); }; };
    TButton button, fixed, silent;
    button.OnClick = note("button");
    fixed.OnClick = note("fixed");
    TEdit edit;
    edit.OnChange = note("change");
    edit.OnExit = note("exit");
    TRadioGroup group;
    group.OnItemClick = [&](int item) { ran.push_back("item " + std::to_string(item)); };
    TCheckListBox ticks;
    ticks.OnClickCheck = note("tick");
    TPopupMenu menu;
    TListView list;
    list.OnClick = note("row click");
    list.OnSelectByKey = [&](int row) { ran.push_back("walk " + std::to_string(row)); };
    list.OnItemChecked = [&](int row, bool on) { ran.push_back("check " + std::to_string(row) + (on ? " on" : " off")); };
    list.PopupMenu = &menu;
    m.Bind(1, button);
    m.BindFixed({2}, fixed);
    m.Bind(3, silent);
    m.Bind(4, edit);
    m.Bind({5, 6}, group);
    m.Bind(7, ticks);
    m.Bind(8, list);
    const auto run = [&](int id, Action action) {
        const std::optional<TNotifyEvent> event = m.Event(id, action);
        if (!event) return std::string("none");
        if (!*event) return std::string("no handler");
        (*event)();
        return ran.back();
    };
    EXPECT_EQ(run(1, Action::Click), "button");
    EXPECT_EQ(run(2, Action::Click), "none") << "a fixed text is no button";
    EXPECT_EQ(run(3, Action::Click), "no handler");
    EXPECT_EQ(run(1, Action::Change), "none");
    EXPECT_EQ(run(4, Action::Change), "change");
    EXPECT_EQ(run(4, Action::Exit), "exit");
    EXPECT_EQ(run(6, Action::Click), "item 1");
    EXPECT_EQ(run(7, Action::ClickCheck), "tick");
    EXPECT_EQ(run(8, Action::Click), "row click");
    EXPECT_EQ(run(8, Action::RightClick), "no handler");
    EXPECT_EQ(run(9, Action::Click), "none");

    (*m.RowChanged(8, 2, true, std::nullopt))();
    EXPECT_EQ(ran.back(), "walk 2");
    (*m.RowChanged(8, 1, false, true))();
    EXPECT_EQ(ran.back(), "check 1 on");
    EXPECT_FALSE(m.RowChanged(8, 1, false, std::nullopt)) << "a mouse selection is the click's";
    EXPECT_FALSE(m.RowChanged(4, 1, true, std::nullopt));
    EXPECT_EQ(m.PopupMenuOf(8), &menu);
    EXPECT_EQ(m.PopupMenuOf(4), nullptr);
}

TEST(Mirror, ThePlatformsNotificationsAreTheActionsTheyStandFor) {
    using K = RecordMirror::ControlKind;
    const auto action = [](K kind, int code, bool focusStays = true) {
        return RecordMirror::CommandAction(kind, code, focusStays);
    };
    EXPECT_EQ(action(K::Other, RecordMirror::Clicked), Action::Click);
    EXPECT_EQ(action(K::ComboBox, RecordMirror::Clicked), std::nullopt) << "a drop-down list's code 0 is no click";
    EXPECT_EQ(action(K::Edit, RecordMirror::EditChange), Action::Change);
    EXPECT_EQ(action(K::ComboBox, RecordMirror::ComboSelChange), Action::Change);
    EXPECT_EQ(action(K::Other, RecordMirror::ComboSelChange), std::nullopt);
    EXPECT_EQ(action(K::Edit, RecordMirror::EditKillFocus), Action::Exit);
    EXPECT_EQ(action(K::ComboBox, RecordMirror::ComboKillFocus), Action::Exit);
    EXPECT_EQ(action(K::Edit, RecordMirror::EditKillFocus, false), std::nullopt) << "the focus left the window";
    EXPECT_EQ(action(K::Other, RecordMirror::CheckListClickCheck), Action::ClickCheck);

    // A list view's row states: a row newly selected without a mouse button down was walked to;
    // a changed state picture is the row's tick.
    FakeControls c;
    RecordMirror m(c);
    TListView list;
    list.Checkboxes = true;
    list.Items = {TListItem{"a", {}}, TListItem{"b", {}}};
    std::vector<std::string> ran;
    list.OnSelectByKey = [&](int row) { ran.push_back("walk " + std::to_string(row)); };
    list.OnItemChecked = [&](int row, bool on) { ran.push_back("check " + std::to_string(row) + (on ? " on" : " off")); };
    m.Bind(8, list);
    using R = RecordMirror;
    (*m.RowChanged(8, 1, R::RowStates{R::RowStateChanged, 0, R::RowSelected, false}))();
    EXPECT_EQ(ran.back(), "walk 1");
    EXPECT_FALSE(m.RowChanged(8, 1, R::RowStates{R::RowStateChanged, 0, R::RowSelected, true})) << "the mouse's";
    EXPECT_FALSE(m.RowChanged(8, 1, R::RowStates{R::RowStateChanged, R::RowSelected, R::RowSelected, false}));
    (*m.RowChanged(8, 0, R::RowStates{R::RowStateChanged, 0x1000, R::RowTicked, true}))();
    EXPECT_EQ(ran.back(), "check 0 on");
    (*m.RowChanged(8, 0, R::RowStates{R::RowStateChanged, R::RowTicked, 0x1000, false}))();
    EXPECT_EQ(ran.back(), "check 0 off");
    EXPECT_FALSE(m.RowChanged(8, 0, R::RowStates{0, 0x1000, R::RowTicked, false})) << "no state in the change";
}
