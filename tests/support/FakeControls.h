// Controls as plain state, for driving a RecordMirror natively: what a put shows is read back from
// `c`, and every change is logged as "what id".
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Mirror.h"

namespace vexamo::test {

class FakeControls : public ControlPort {
public:
    struct Control {
        std::string Text, Hint, Picture;
        bool Enabled = true, Visible = true, Checked = false;
        int MaxLength = 0, Current = -1, SelStart = 0, SelEnd = 0, Min = 0, Max = 0, Position = 0;
        std::vector<std::string> Items;
        std::vector<TCheckListItem> States;
        std::vector<TListItem> Rows;
        std::vector<int> Panels;
        std::map<int, std::string> PanelTexts;
        size_t Columns = 0;
    };
    std::map<int, Control> c;
    std::vector<std::string> log;

    void SetText(int id, const std::string& t) override { Did("text", id), c[id].Text = t; }
    std::string Text(int id) override { return c[id].Text; }
    void SetEnabled(int id, bool e) override { Did("enabled", id), c[id].Enabled = e; }
    void SetVisible(int id, bool v) override { Did("visible", id), c[id].Visible = v; }
    void SetHint(int id, const std::string& h) override { Did("hint", id), c[id].Hint = h; }
    bool Checked(int id) override { return c[id].Checked; }
    void SetChecked(int id, bool on) override { Did("checked", id), c[id].Checked = on; }
    void SetMaxLength(int id, int n) override { Did("max", id), c[id].MaxLength = n; }
    std::pair<int, int> Selection(int id) override { return {c[id].SelStart, c[id].SelEnd}; }
    void SetSelection(int id, int s, int e) override { c[id].SelStart = s, c[id].SelEnd = e; }
    void SetPicture(int id, const std::string& f, int, int) override { Did("picture", id), c[id].Picture = f; }
    int Current(int id) override { return c[id].Current; }
    void SetCurrent(int id, int i) override { Did("current", id), c[id].Current = i; }
    void SetItems(int id, const std::vector<std::string>& t) override {
        Did("items", id), c[id].Items = t, c[id].States.assign(t.size(), {});
    }
    TCheckListItem ItemState(int id, int i) override { return c[id].States.at(i); }
    void SetItemState(int id, int i, const TCheckListItem& s) override { Did("state", id), c[id].States.at(i) = s; }
    int RowCount(int id) override { return static_cast<int>(c[id].Rows.size()); }
    void DeleteRow(int id, int r) override {
        Did("delete", id), c[id].Rows.erase(c[id].Rows.begin() + r);
        if (c[id].Current == r) c[id].Current = -1;  // as a list view drops the selection
    }
    void InsertRow(int id, int r, const TListItem& item) override {
        Did("insert", id), c[id].Rows.insert(c[id].Rows.begin() + r, TListItem{item.Caption, {}, item.ImageIndex});
    }
    void SetCell(int id, int r, int col, const std::string& t) override {
        Did("cell", id);
        auto& row = c[id].Rows.at(r);
        if (col == 0) row.Caption = t;
        else row.SubItems.resize(std::max<size_t>(row.SubItems.size(), col)), row.SubItems[col - 1] = t;
    }
    void SetRowPicture(int id, int r, int p) override { Did("rowpicture", id), c[id].Rows.at(r).ImageIndex = p; }
    bool RowChecked(int id, int r) override { return c[id].Rows.at(r).Checked; }
    void SetRowChecked(int id, int r, bool on) override { Did("rowchecked", id), c[id].Rows.at(r).Checked = on; }
    void SetRange(int id, int lo, int hi) override { Did("range", id), c[id].Min = lo, c[id].Max = hi; }
    void SetPosition(int id, int p) override { Did("position", id), c[id].Position = p; }
    void SetPanels(int id, const std::vector<int>& w) override { Did("panels", id), c[id].Panels = w; }
    void SetPanelText(int id, int p, const std::string& t, TAlignment a) override {
        Did("panel", id), c[id].PanelTexts[p] = (a == TAlignment::Center ? "|" : "") + t;
    }

    void SetColumns(int id, const std::vector<TListColumn>& columns, bool) override {
        Did("columns", id), c[id].Columns = columns.size();
    }
    void MakeCheckList(int id, int) override { Did("checklist", id); }
    void MakeLink(int id) override { Did("link", id); }

    std::vector<std::string> Changes() { return std::exchange(log, {}); }

private:
    void Did(const char* what, int id) { log.push_back(std::string(what) + " " + std::to_string(id)); }
};

}  // namespace vexamo::test
