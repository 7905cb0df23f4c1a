// The disc scan and play run of the configuration window: search the monitored drives, pick the
// player, let the chooser play everything or ask the user, then end the window or the agent.
#include <algorithm>

#include "app/Globals.h"
#include "app/WindowFactory.h"
#include "model/DiscSearch.h"
#include "model/User.h"
#include "model/VexaCfg.h"
#include "platform/Dispatch.h"
#include "scan/Notices.h"
#include "scan/Splash.h"
#include "scan/fileMonitor.h"
#include "ui/main.h"

namespace vexamo {

namespace {

inline const std::string ScanningText = "Scaning CD: Please Wait...";
inline const std::string NothingFoundText = "No files associated with current Players Found !";
inline const std::string VariousLabel = "[Various]";

}  // namespace

void TfrmMain::ScanDisc(Caller, bool discArrived) {
    // While a run waits for its chooser the message loop runs: a disc arriving then, or "Scan Now",
    // must neither start a second run on this window nor free the chooser in use. The chooser on
    // screen already offers what the user came for; the new disc can be scanned afterwards.
    if (scanning_) return;
    // A run ends by closing this window and then still finishes its own work.
    const Dispatch::KeepAlive keep;
    scanning_ = true;
    discArrived_ = discArrived;
    try {
        Scan();
    } catch (const std::exception& e) {
        RunFailed(e.what());
    }
    scanning_ = false;
    Globals.Trace.Mark("run ended");
    if (const std::string trace = Globals.Trace.Take(); !trace.empty()) AppendToLog(trace);
}

void TfrmMain::Scan() {
    TVexamo& vexamo = *Globals.Vexamo;
    Globals.PlayerStarted = false;
    Globals.PlayNotice.clear();
    SetStatusText(PanelMessage, ScanningText);
    if (host_) host_->Repaint();

    // Painting during the walk lets the system deliver device changes; they wait until the walk
    // has given the chooser its drives.
    StringList drives;
    agent_.HoldDeviceChanges();
    try {
        drives = CollectFiles();
    } catch (...) {
        agent_.ReleaseDeviceChanges();
        throw;
    }
    vexamo.MediaDrives = drives;
    Globals.Trace.Mark("search");
    if (drives.empty()) {
        agent_.ReleaseDeviceChanges();
        NothingFound();
        return;
    }

    // A chooser left by an earlier run goes here.
    Dispatch::Release(std::move(Globals.frmMonitor));
    Globals.frmMonitor = Windows().NewChooser();
    TfrmMonitor* chooser = Globals.frmMonitor.get();
    chooser->Drives = drives;
    // A disc taken out during the walk closes the chooser now, before anything is played from it.
    agent_.ReleaseDeviceChanges();
    if (Globals.frmMonitor.get() != chooser) {
        FinishRun();
        return;
    }

    vexamo.DiscLabel = drives.size() == 1 ? GetVolumeLabel(drives.front()) : VariousLabel;
    SetStatusText(PanelMessage, "Label: " + vexamo.DiscLabel);
    chooserInUse_ = true;
    agent_.RemoveTrayIcon();
    Globals.CurrentPlayer = Globals.SelectedPlayers->Players.at(ChoosePlayer()).get();
    Globals.Trace.Mark("chooser");
    if (Globals.CurrentPlayer->Prompt == PromptYes) {
        // The window takes no input meanwhile: the run waiting for the chooser must not be started
        // again or ended from under it.
        const auto enable = [this](bool enabled) {
            Enabled = enabled;
            if (host_) host_->Repaint();
        };
        ShowModalBetween([&] { enable(false); }, [&] { chooser->ShowModal(); }, [&] { enable(true); });
    } else {
        chooser->AutoPlay();
    }
    chooserInUse_ = false;
    // A player that could not be started leaves a visible window open: it says so there.
    if (!Globals.PlayerStarted && !Globals.PlayNotice.empty() && Visible)
        SetStatusText(PanelMessage, Globals.PlayNotice);
    const std::string notice = Globals.PlayNotice;
    Globals.Trace.Mark("played");
    FinishRun();
    Globals.Trace.Mark("saved");
    // Told once the run is over, when the icon is back in the tray for the balloon.
    Tell(notice);
}

void TfrmMain::Tell(const std::string& notice) {
    if (!discArrived_ || notice.empty() || !Globals.Vexamo->Settings->Monitor.Notify) return;
    agent_.Notify(notice);
}

void TfrmMain::FinishRun() {
    const bool onPlayClose = Globals.Vexamo->Settings->Monitor.OnPlayClose;
    if (onPlayClose && Globals.PlayerStarted) {
        // The run does not save: the agent ends right after the player was started.
        agent_.ExitAgent();
        return;
    }
    // After "Scan Now" with nothing played, the user is still working in the window.
    if (!onPlayClose && !Globals.PlayerStarted && Visible) return;
    SaveMonitorState(Caller::ConfigWindow);
}

void TfrmMain::RunFailed(const std::string& message) {
    chooserInUse_ = false;
    if (Globals.frmMonitor) Globals.frmMonitor->Close();
    if (Globals.frmScaning) Globals.frmScaning->Close();
    // Shown, and logged while this window still exists.
    AppEventsException(message);
    // A window the user works in stays; one made for the run goes, without saving: the run changed
    // no setting, and a second failed write would only repeat the message.
    if (Visible) return;
    Globals.SelectedPlayers.reset();
    Globals.CurrentPlayer = nullptr;
    Close();
}

void TfrmMain::NothingFound() {
    // Nothing is saved and the tray icon is left alone; a hidden window stays for the next arrival.
    if (Visible) {
        SetStatusText(PanelMessage, NothingFoundText);
        return;
    }
    agent_.SetTrayTip(ReadyWords.at(Globals.Vexamo->Status) + " [" + NothingFoundText + "]");
    StringList discs;
    for (const std::string& root : Globals.Vexamo->WatchedDrives())
        if (GetVolumeLabel(root) != NoCdLabel) discs.push_back(root);
    Tell(NothingToPlayNotice(discs, discs.size() == 1 ? GetVolumeLabel(discs.front()) : std::string()));
}

int TfrmMain::ChoosePlayer() const {
    const StringList& pairs = Globals.Vexamo->FoundPairs;
    const TPriority& priority = Globals.Vexamo->Settings->Priority;
    const TSelectedPlayer& selection = *Globals.SelectedPlayers;
    if (priority.Choice && !priority.Player.empty()) {
        // Player names stand at the odd positions; an extension never counts as one.
        for (size_t i = 1; i < pairs.size(); i += 2) {
            if (pairs[i] != priority.Player) continue;
            const int index = selection.IndexOfPlayer(priority.Player);
            if (index >= 0) return index;
        }
    }
    return selection.IndexOfPlayer(pairs.at(1));
}

StringList TfrmMain::CollectFiles() {
    TVexamo& vexamo = *Globals.Vexamo;
    TSelectedPlayer none;
    TSelectedPlayer& selection = Globals.SelectedPlayers ? *Globals.SelectedPlayers : none;
    const StringList roots = vexamo.WatchedDrives();
    const int players = static_cast<int>(selection.Players.size());
    const int step = ScanProgressStep(players);

    TfrmScaning* window = nullptr;
    if (Visible) {
        ProgBar.Position = ProgBar.Min;
        ProgBar.Visible = true;
    } else {
        Globals.frmScaning = Windows().NewProgressWindow();
        window = Globals.frmScaning.get();
        window->Show();
    }
    Globals.Trace.Mark("progress shown");
    long paints = 0;
    RepaintPacer pacer;
    auto repaint = [&] {
        ++paints;
        if (window)
            window->Repaint();
        else if (host_)
            host_->Repaint();
    };
    int shown = 0;  // steps on the bar
    // True when the bar moved (and was painted).
    auto advance = [&](int due) {
        if (due <= shown) return false;
        const int by = (due - shown) * step;
        shown = due;
        pacer.Painted();
        if (window) {
            ++paints;
            window->StepBy(by);
        } else {
            ProgBar.Position = std::min(ProgBar.Max, ProgBar.Position + by);
            repaint();
        }
        return true;
    };
    auto end = [&] {
        if (window)
            window->Close();
        else
            ProgBar.Visible = false;
    };

    ScanProgressPlan plan(roots, players);
    Globals.Trace.Mark("progress plan");
    DiscSearchProgress progress;
    int folders = 0;
    progress.Folder = [&](const std::string& folder, int listed) {
        folders = listed;
        if (!advance(plan.FolderListed(folder)) && pacer.Due()) repaint();
    };
    progress.Player = [&](size_t player) { advance(plan.PlayerAssigned(player)); };
    StringList drives;
    try {
        drives = CollectDiscFiles(roots, selection, vexamo.FoundPairs, progress);
    } catch (...) {
        end();
        throw;
    }
    Globals.Trace.Mark("walk");
    Globals.Trace.Count("folders", folders);
    Globals.Trace.Count("paints", paints);
    end();
    return drives;
}

}  // namespace vexamo
