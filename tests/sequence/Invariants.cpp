// What must hold after every step, whatever the user did and in whatever order.
#include <map>

#include "agent/Init.h"
#include "model/PlayersCfg.h"
#include "model/User.h"
#include "model/VexaCfg.h"
#include "platform/Dispatch.h"
#include "sequence/Machine.h"
#include "sequence/World.h"
#include "ui/Settings.h"
#include "ui/main.h"

namespace vexamo::sequence {

namespace {

const std::string SelectionIni = Folder + SelectionFileName;
const std::string PlayersIni = Folder + PlayersFileName;
const std::string SettingsIni = Folder + SettingsFileName;

std::optional<Finding> Broken(const std::string& invariant, const std::string& detail) {
    return Finding{invariant, detail};
}

std::string Join(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
    return "[" + text + "]";
}

std::string OnOff(bool on) { return on ? "On" : "Off"; }

// One monitoring-list row as the user reads it.
std::string Row(const std::string& name, bool prompt, const std::string& kinds, const std::string& exts) {
    return name + (prompt ? " (prompt) " : " ") + kinds + " " + exts;
}

std::string RowOf(const TUserPlayer& user) {
    std::string kinds, exts;
    if (user.CountKind(0) > 0) kinds = MediaKinds[0];
    if (user.CountKind(1) > 0) kinds += (kinds.empty() ? "" : "/") + MediaKinds[1];
    for (const TExtension& e : user.Extensions) exts += e.Ext;
    return Row(user.Player->Name, user.Prompt == 0, kinds, exts);
}

std::vector<std::string> RowsOf(const TSelectedPlayer& selection) {
    std::vector<std::string> rows;
    for (const auto& user : selection.Players) rows.push_back(RowOf(*user));
    return rows;
}

}  // namespace

std::optional<Finding> StateLeftBehind() {
    const TGlobals& g = Globals;
    if (g.MainForm || g.Vexamo || g.frmMain || g.SelectedPlayers || g.CurrentPlayer || g.frmMonitor ||
        g.frmScaning || g.FrmOptions || g.AboutBox || g.PlayerStarted || !g.StatusSuffix.empty() ||
        !g.TestFile.empty() || g.SubtitlesChosen)
        return Broken("state-left-behind", "an earlier run left process-wide references filled");
    if (Dispatch::Busy()) return Broken("state-left-behind", "an earlier run left a handler scope open");
    if (!ProgramFolder.empty() || !ExeName.empty())
        return Broken("state-left-behind", "an earlier run left the program's folder set");
    return std::nullopt;
}

std::optional<Finding> World::Check() {
    // Each invariant is looked at on its own, so that one that is skipped hides no other.
    std::vector<std::optional<Finding>> found = {CheckStored()};
    if (running_) {
        found.push_back(CheckIdle());
        found.push_back(CheckTrayStatus());
        if (Globals.frmMain) found.push_back(CheckConfigWindow());
    }
    for (auto& f : found) Note(std::move(f));
    return found_;
}

std::optional<Finding> World::CheckStored() const {
    // Selection.ini names only catalogue players, each extension under one player only.
    std::map<std::string, std::string> owners;
    for (const std::string& player : ReadIniSections(SelectionIni)) {
        if (!IniSectionExists(PlayersIni, player) && !skip_.count("selection-players"))
            return Broken("selection-players", "Selection.ini has [" + player + "], which Players.ini does not define");
        for (const std::string& ext : SplitString(ReadIniString(SelectionIni, player, "Ext"), ';')) {
            if (ext.empty()) continue;
            const auto [at, added] = owners.emplace(ext, player);
            if (!added && at->second != player && !skip_.count("selection-extensions"))
                return Broken("selection-extensions",
                              ext + " belongs to both [" + at->second + "] and [" + player + "] in Selection.ini");
        }
    }

    // Values that belong to others.
    const auto run = Sys().RegReadString(RegRoot::CurrentUser, RunKey, AutoStartValueName);
    if (run != ForeignRunValue && !skip_.count("foreign-run-value"))
        return Broken("foreign-run-value", "another program's Run value \"Vexamo\" (HKCU) is now " +
                                               (run ? "\"" + *run + "\"" : std::string("gone")));
    if (!ReadIniBool(SettingsIni, "Windows", "AutoCD", false)) {
        const auto policy = Sys().RegReadInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue);
        if (policy != AdministratorsAutoPlayPolicy && !skip_.count("foreign-autoplay-policy"))
            return Broken("foreign-autoplay-policy",
                          "the AutoPlay box is off (Vexamo.ini), yet the administrator's NoDriveTypeAutoRun 0xFF is " +
                              (policy ? std::to_string(*policy) : std::string("gone")));
    }
    return std::nullopt;
}

std::optional<Finding> World::CheckIdle() const {
    if (Dispatch::Busy()) return Broken("idle-busy", "a handler scope is still open after the step");
    const bool onScreen = Globals.frmMain && Globals.frmMain->Visible;
    if (!onScreen && !fake_.TrayIconShown)
        return Broken("idle-tray-icon", "the agent is idle, no configuration window is on screen, and the tray icon is gone");
    if (onScreen && fake_.TrayIconShown)
        return Broken("idle-tray-icon", "the configuration window is on screen and the tray icon is there as well");
    if (Globals.MainForm->IconInTray() != fake_.TrayIconShown)
        return Broken("idle-tray-icon", std::string("the agent takes the tray icon for ") +
                                            (Globals.MainForm->IconInTray() ? "shown" : "gone") + ", but it is not");
    if (Globals.frmMonitor) return Broken("idle-hidden-window", "the chooser is left after the run");
    if (Globals.frmScaning) return Broken("idle-hidden-window", "the progress window is left after the run");
    if (Globals.FrmOptions) return Broken("idle-hidden-window", "the options window is left");
    if (Globals.AboutBox) return Broken("idle-hidden-window", "the about box is left");
    // A window made hidden for a scan that found nothing stays for the next arrival; any other
    // hidden one is a leftover.
    if (Globals.frmMain && !Globals.frmMain->Visible && !Globals.Vexamo->MediaDrives.empty())
        return Broken("idle-hidden-window", "a hidden configuration window is left after a scan that found files");
    return std::nullopt;
}

std::optional<Finding> World::CheckTrayStatus() const {
    const TMainForm& agent = *Globals.MainForm;
    const TVexamo& vexamo = *Globals.Vexamo;
    const bool on = vexamo.Status == 0;
    const bool disc = on && AnyDiscPresent(vexamo.Settings->Monitor.Drives);
    const std::string monitoring = std::string("monitoring is ") + (on ? "on" : "off");
    if (agent.PopUpSysTray.Items[TMainForm::mnuStatus].Caption != (on ? "Set Monitoring O&ff" : "Set Monitoring &On"))
        return Broken("tray-status", "the tray menu offers \"" + agent.PopUpSysTray.Items[TMainForm::mnuStatus].Caption +
                                         "\" while " + monitoring);
    if (agent.PopUpSysTray.Items[TMainForm::mnuSPlay].Enabled != disc)
        return Broken("tray-status", std::string("\"Scan/Play CD\" is ") +
                                         (disc ? "disabled, though monitoring is on and a monitored drive holds a disc"
                                               : "enabled, though monitoring is off or no monitored drive holds a disc"));
    if (fake_.TrayIconShown) {
        if (fake_.TrayState.Icon != (on ? TrayOnPicture : TrayOffPicture))
            return Broken("tray-status", "the tray picture is the wrong one: " + monitoring);
        const std::string tip = fake_.TrayState.Tip;
        const std::string expected = "Vexamo: " + ReadyWords[on ? 0 : 1];
        if (tip.compare(0, expected.size(), expected) != 0)
            return Broken("tray-status", "the tray tip reads \"" + tip + "\" while " + monitoring);
    }
    if (Globals.frmMain && Globals.frmMain->btScanNow.Enabled != agent.PopUpSysTray.Items[TMainForm::mnuSPlay].Enabled)
        return Broken("tray-status", "\"Scan Now\" and the tray's \"Scan/Play CD\" disagree");
    return std::nullopt;
}

std::optional<Finding> World::CheckConfigWindow() const {
    const TfrmMain& f = *Globals.frmMain;
    std::vector<std::optional<Finding>> found;
    auto broken = [&](const std::string& invariant, const std::string& detail) {
        if (!skip_.count(invariant)) found.push_back(Finding{invariant, detail});
    };

    // A window kept hidden for the next arrival shows nothing, but its selection is what the next
    // scan plays from.
    const std::unique_ptr<TSelectedPlayer> stored = LoadSelection(Folder);
    if (!Globals.SelectedPlayers)
        broken("window-selection-in-memory", "the window exists without a loaded selection");
    else if (!f.Visible && RowsOf(*Globals.SelectedPlayers) != RowsOf(*stored))
        broken("window-selection-in-memory", "the selection a scan plays from is " +
                                                 Join(RowsOf(*Globals.SelectedPlayers)) + ", Selection.ini holds " +
                                                 Join(RowsOf(*stored)));
    if (!f.Visible) return found.empty() ? std::nullopt : found.front();

    // The monitoring list against Selection.ini as the model reads it, and against the selection
    // in memory.
    std::vector<std::string> rows;
    for (const TListItem& row : f.LstLoadedPlayers.Items)
        rows.push_back(Row(row.SubItems.at(0), row.Checked, row.SubItems.at(1), row.SubItems.at(2)));
    if (rows != RowsOf(*stored))
        broken("window-monitoring-list",
               "the monitoring list shows " + Join(rows) + ", Selection.ini holds " + Join(RowsOf(*stored)));
    if (Globals.SelectedPlayers && rows != RowsOf(*Globals.SelectedPlayers))
        broken("window-selection-in-memory", "the monitoring list shows " + Join(rows) +
                                                 ", the selection a scan plays from is " +
                                                 Join(RowsOf(*Globals.SelectedPlayers)));

    // The available players: every catalogue player with a program that is not monitored.
    std::vector<std::string> available = {AddNewPlayerRow}, shown;
    for (const std::string& name : ReadIniSections(PlayersIni))
        if (!IniSectionExists(SelectionIni, name) && !ReadIniString(PlayersIni, name, "exe").empty())
            available.push_back(name);
    for (const TListItem& row : f.lstPlayers.Items) shown.push_back(row.SubItems.at(0));
    if (shown != available)
        broken("window-available-list", "the available list shows " + Join(shown) + ", the files give " + Join(available));

    // An extension is ticked and disabled exactly while a monitored player has it.
    for (const TCheckListBox* list : {&f.chkExtsAudio, &f.ChkExtsVideo}) {
        for (const TCheckListItem& item : list->Items) {
            std::string owner;
            for (const auto& user : stored->Players)
                if (user->IndexOfExtension(item.Text) >= 0) owner = user->Player->Name;
            if (!owner.empty() && (!item.Checked || item.Enabled))
                broken("window-extensions", item.Text + " belongs to " + owner + " but is shown " +
                                                (item.Checked ? "ticked" : "unticked") + " and " +
                                                (item.Enabled ? "enabled" : "disabled"));
            if (owner.empty() && !item.Enabled)
                broken("window-extensions", item.Text + " belongs to no monitored player but is disabled");
        }
    }

    // The priority controls and On/Off against Vexamo.ini. A file made read-only cannot take what
    // the window shows; each write that failed said so.
    if (readOnly_.count(SettingsIni) || stale_ == &f) return found.empty() ? std::nullopt : found.front();
    const bool choice = ReadIniBool(SettingsIni, "Priority", "Choice", false);
    const std::string player = ReadIniString(SettingsIni, "Priority", "Player");
    if (f.rdPlayerPriority.Checked == f.rdNoPlayerPriority.Checked)
        broken("window-priority", "both priority radio buttons have the same state");
    else if (f.rdPlayerPriority.Checked != choice)
        broken("window-priority", std::string("the window shows \"") +
                                      (f.rdPlayerPriority.Checked ? "Give Priority to:" : "No Priority") +
                                      "\", Vexamo.ini has Choice=" + (choice ? "1" : "0"));
    else if (f.rdPlayerPriority.Checked && f.cboDifPlayer.Text != player)
        broken("window-priority", "the window gives priority to \"" + f.cboDifPlayer.Text +
                                      "\", Vexamo.ini to \"" + player + "\"");

    // On/Off against the agent and against Vexamo.ini (unless the file says to start monitoring
    // whatever it stored).
    const bool shownOn = f.RdMonitorOn.Checked;
    const std::string status = ReadIniString(SettingsIni, "Main", "Status");
    if (f.RdMonitorOn.Checked == f.RdMonitorOff.Checked)
        broken("window-monitoring-status", "On and Off have the same state");
    else if (shownOn != (Globals.Vexamo->Status == 0))
        broken("window-monitoring-status", "the window shows " + OnOff(shownOn) + ", the agent monitors " +
                                               OnOff(Globals.Vexamo->Status == 0));
    else if (!ReadIniBool(SettingsIni, "Monitor", "Always On", false) && shownOn != (status == StatusWords[0]))
        broken("window-monitoring-status",
               "the window shows monitoring " + OnOff(shownOn) + ", Vexamo.ini has Status=" + status);

    return found.empty() ? std::nullopt : found.front();
}

std::optional<Finding> World::CheckOptionsWindow(const TFrmOptions& form) const {
    auto broken = [&](const std::string& what, bool shown, bool stored) {
        return Broken("window-options", "the options window shows " + what + " " + (shown ? "ticked" : "unticked") +
                                            ", Vexamo.ini has it " + (stored ? "on" : "off"));
    };
    const bool scanAll = ReadIniBool(SettingsIni, "Monitor", "ScanAll", false);
    if (form.Settings_DrivesAll.Checked != scanAll) return broken("\"All CD/DVD Drives\"", !scanAll, scanAll);
    if (!scanAll) {
        // The monitored drives, as the settings load reads them: roots of CD drives, at ";" or blanks.
        std::string stored, shown;
        for (const std::string& part : SplitString(ReadIniString(SettingsIni, "Monitor", "Drives"), ';'))
            for (const std::string& root : SplitString(part, ' '))
                if (IsDriveRoot(root) && Sys().DriveType(root) == DriveKind::CdRom) stored += root + " ";
        for (const TCheckListItem& item : form.Settings_cbDrives.Items)
            if (item.Checked) shown += item.Text + " ";
        if (!stored.empty() && !SameText(shown, stored))
            return Broken("window-options", "the options window ticks drives \"" + shown + "\", Vexamo.ini monitors " +
                                                stored);
    }
    const bool close = ReadIniBool(SettingsIni, "Monitor", "OnPlayClose", false);
    if (form.rdOnPlayClose.Checked != close) return broken("\"Close Vexamo\"", form.rdOnPlayClose.Checked, close);
    const bool autoCd = ReadIniBool(SettingsIni, "Windows", "AutoCD", false);
    if (form.Settings_CDAutorun.Checked != autoCd)
        return broken("the AutoPlay switch", form.Settings_CDAutorun.Checked, autoCd);
    const bool subs = ReadIniBool(SettingsIni, "SubTitles", "Auto", true);
    if (form.Settings_UseSubs.Checked != subs) return broken("the subtitle search", form.Settings_UseSubs.Checked, subs);
    const std::string path = ReadIniString(SettingsIni, "SubTitles", "Path");
    if (form.Settings_SubsPath.Caption != (path.empty() ? NoSubsFolderCaption : path))
        return Broken("window-options", "the options window shows the subtitle folder \"" +
                                            form.Settings_SubsPath.Caption + "\", Vexamo.ini has \"" + path + "\"");
    return std::nullopt;
}

}  // namespace vexamo::sequence
