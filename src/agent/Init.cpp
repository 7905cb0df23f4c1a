#include "agent/Init.h"

#include <cstring>
#include <exception>
#include <utility>

#include "app/WindowFactory.h"
#include "platform/Dispatch.h"
#include "platform/Errors.h"
#include "scan/Notices.h"
#include "platform/Utf8.h"
#include "scan/fileMonitor.h"
#include "ui/About.h"
#include "ui/Settings.h"
#include "ui/main.h"

namespace vexamo {

std::string FitTrayTip(const std::string& tip) {
    constexpr std::size_t visible = TrayTipSize - 1;
    if (tip.size() <= visible) return tip;
    // The record holds bytes: a cut through a letter of a label in UTF-8 would end the tip in U+FFFD.
    return std::string(CutAtCharacter(tip, visible - 3)) + "...";
}

namespace {

TMenuItem MenuItem(const char* name, const char* caption, bool enabled = true, int picture = -1) {
    TMenuItem item;
    item.Name = name;
    item.Caption = caption;
    item.Enabled = enabled;
    item.ImageIndex = picture;
    return item;
}

}  // namespace

TMainForm::TMainForm(const MainFormHostFactory& makeHost) {
    PopUpSysTray.Banner = "Vexamo";
    PopUpSysTray.Items = {MenuItem("mnuSPlay", "&Scan/Play CD", false, PicScan),
                          MenuItem("N2", "-"),
                          MenuItem("mnuStatus", "", true, PicMonitoringOff),
                          MenuItem("N4", "-"),
                          MenuItem("MnuOpen", "O&pen"),
                          MenuItem("mnuSettings", "&Settings...", true, PicSettings),
                          MenuItem("N1", "-"),
                          MenuItem("mnuAbout", "About..."),
                          MenuItem("N3", "-"),
                          MenuItem("mnuExit", "E&xit", true, PicExit)};
    if (makeHost) host_ = makeHost(*this);
}

TMainForm::~TMainForm() = default;

bool TMainForm::Start() {
    try {
        FormCreate();
        if (Terminated) return false;
        // First run: the user has not chosen any player yet; the configuration window loads the
        // settings itself.
        if (!Sys().FileExists(ProgramFolder + SelectionFileName)) {
            ShowConfigWindow(false);
            PopUpSysTray.Items[mnuStatus].Enabled = false;
            Globals.Trace.Mark("configuration window");
        }
    } catch (const std::exception& e) {
        HandleException(e);
    }
    // With neither the tray icon nor a window on screen the user could not reach the agent, not
    // even to end it.
    if (!Globals.frmMain && !iconInTray_) return false;
    started_ = true;
    if (const std::string trace = Globals.Trace.Take(); !trace.empty()) AppendToLog(trace);
    return true;
}

void TMainForm::FormCreate() {
    // Without the CD-ROM driver's AutoRun no arrival notice reaches the agent. A service key
    // without the value reads like a disabled one rather than cutting start-up short.
    std::int32_t autoRun = 0;
    try {
        autoRun = ReadRegInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue);
    } catch (const RegistryError&) {
        autoRun = 0;
    }
    if (autoRun == 0) {
        if (Sys().MessageBox(MsgKind::Warning, CdromAutoRunQuestion, MsgButtons::YesNo) == MsgResult::Yes) {
            std::int32_t now = 0;
            try {
                WriteRegInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue, 1);
                now = ReadRegInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue);
            } catch (const RegistryError&) {
                now = 0;
            }
            if (now == 1)
                Sys().MessageBox(MsgKind::Information, CdromAutoRunChanged, MsgButtons::Ok);
            else
                Sys().MessageBox(MsgKind::Warning, CdromAutoRunFailed, MsgButtons::Ok);
        } else {
            Sys().MessageBox(MsgKind::Warning, CdromAutoRunDeclined, MsgButtons::Ok);
        }
    }

    Globals.Trace.Mark("autorun checked");
    InitTrayIcon(ImgTray);
    ProgramFolder = ExtractFilePath(ExeName);

    Globals.Vexamo = std::make_unique<TVexamo>();
    Globals.Vexamo->CdDrives = GetCdDrives();
    if (Globals.Vexamo->CdDrives.empty()) {
        Sys().MessageBox(MsgKind::Error, NoCdRomText, MsgButtons::Ok);
        Terminated = true;
        host_->Terminate();
        return;
    }
    Globals.Vexamo->CdDrivesText = JoinList(Globals.Vexamo->CdDrives, " ");
    Globals.Trace.Mark("drives");

    if (!Sys().FileExists(ProgramFolder + SelectionFileName)) return;
    Globals.Vexamo->Create();
    Globals.Trace.Mark("settings");
    if (Globals.Vexamo->CheckPlayersInstalled()) {
        Globals.Trace.Mark("players checked");
        UpdateStatus(Caller::MainForm);
        Globals.Trace.Mark("status and tray icon");
    } else {
        ShowConfigWindow(false);
        PopUpSysTray.Items[mnuStatus].Enabled = false;
    }
}

void TMainForm::FormClose() {}

void TMainForm::FormDestroy() { RemoveTrayIcon(); }

void TMainForm::InitTrayIcon(std::uintptr_t icon) {
    TrayIconData = {};
    TrayIconData.Wnd = host_->WindowHandle();
    TrayIconData.ID = 0;
    TrayIconData.Flags = TrayIconFlags;
    TrayIconData.CallbackMessage = WM_TRAYNOTIFY;
    TrayIconData.Icon = icon;
}

void TMainForm::PutTrayTip(const std::string& text) {
    const std::string tip = FitTrayTip("Vexamo: " + text);
    std::memset(TrayIconData.Tip, 0, sizeof TrayIconData.Tip);
    std::memcpy(TrayIconData.Tip, tip.data(), tip.size());
}

void TMainForm::SetTrayTip(const std::string& text) {
    PutTrayTip(text);
    Sys().NotifyIcon(NotifyAction::Modify, TrayIconData);
}

void TMainForm::Notify(const std::string& text) {
    if (Globals.DebugRun) AppendToLog("Notice: " + text);
    // A balloon needs the icon: with the agent ending or a window holding the icon away, the
    // window says what happened, or nobody is left to tell.
    if (iconInTray_) Sys().NotifyBalloon(TrayIconData, NoticeTitle, text);
}

bool TMainForm::IconWanted() const {
    if (Globals.frmMain && Globals.frmMain->HoldsTrayIcon()) return false;
    if (Globals.FrmOptions && Globals.FrmOptions->Opener == Caller::MainForm) return false;
    return true;
}

void TMainForm::AddTrayIcon() { AddedTrayIcon(); }

bool TMainForm::AddedTrayIcon() {
    // Every status refresh asks for the icon; it comes back only once nothing keeps it away.
    if (!IconWanted()) return false;
    const bool absent = !iconInTray_;
    const bool added = Sys().NotifyIcon(NotifyAction::Add, TrayIconData);
    iconInTray_ = true;
    return absent && added;
}

void TMainForm::RemoveTrayIcon() {
    Sys().NotifyIcon(NotifyAction::Delete, TrayIconData);
    iconInTray_ = false;
}

void TMainForm::TaskbarCreated() {
    if (started_ && iconInTray_) Sys().NotifyIcon(NotifyAction::Add, TrayIconData);
}

bool TMainForm::ShowConfigWindow(bool hidden) {
    // A window left from an earlier run goes once whatever still runs on it has returned.
    Dispatch::Release(std::move(Globals.frmMain));
    Globals.frmMain = Windows().NewConfigWindow(*this);
    TfrmMain& window = *Globals.frmMain;
    try {
        window.FormCreate();
    } catch (const std::exception& e) {
        // Half filled, the window would be scanned with or shown a selection it could not load.
        window.AppEventsException(e.what());
        window.Close();
        // The icon is back: it shows the status even when the window never came to set it.
        UpdateStatus(Caller::MainForm);
        return false;
    }
    // A message box during the creation lets the tray ask for another window meanwhile: this one
    // is no longer the configuration window and is not shown.
    if (Globals.frmMain.get() != &window) return false;
    if (!hidden) window.Show();
    return true;
}

bool TMainForm::UpdateStatus(Caller caller) {
    Globals.StatusSuffix.clear();
    bool result = false;
    PopUpSysTray.Items[mnuStatus].Enabled = true;
    TVexamo& vexamo = *Globals.Vexamo;
    const TSettings& settings = *vexamo.Settings;
    std::uintptr_t picture;
    std::optional<std::string> labelPanel;

    if (vexamo.Status == MonitoringOff) {
        picture = ImgTrayDIsabled;
        PopUpSysTray.Items[mnuStatus].Caption = "Set Monitoring &On";
        PopUpSysTray.Items[mnuSPlay].Enabled = false;
    } else {
        picture = ImgTray;
        if (AnyDiscPresent(vexamo.WatchedDrives())) {
            Globals.StatusSuffix = " (CD Detected)";
            if (caller == Caller::ConfigWindow && !vexamo.DiscLabel.empty()) labelPanel = "Label: " + vexamo.DiscLabel;
            result = true;
            PopUpSysTray.Items[mnuSPlay].Enabled = true;
        } else {
            Globals.StatusSuffix = " (No CD on Monitored Drives)";
            vexamo.DiscLabel.clear();
            PopUpSysTray.Items[mnuSPlay].Enabled = false;
        }
        PopUpSysTray.Items[mnuStatus].Caption = "Set Monitoring O&ff";
    }
    host_->TrayMenuChanged();

    const std::string statusText = ReadyWords.at(vexamo.Status) + Globals.StatusSuffix;
    // Picture and tip go with the icon's first update: each update is a round trip to the taskbar,
    // which the start and a disc's arrival pay before anything else. An icon just added has both.
    TrayIconData.Icon = picture;
    PutTrayTip(statusText);
    const bool added = AddedTrayIcon();
    if (TfrmMain* config = Globals.frmMain.get()) {
        const std::string device = settings.Monitor.ScanAll || settings.Monitor.Drives.empty()
                                       ? vexamo.CdDrivesText
                                       : settings.Monitor.Drives.front();
        if (!result) labelPanel = "";
        config->ShowStatus("Device(s): " + device, statusText, labelPanel, PopUpSysTray.Items[mnuSPlay].Enabled);
    }
    if (!added) Sys().NotifyIcon(NotifyAction::Modify, TrayIconData);
    return result;
}

TMenuItem TMainForm::TrayMenuItem(Item item) const {
    TMenuItem state = PopUpSysTray.Items[item];
    if (item == mnuStatus)
        state.ImageIndex = Globals.Vexamo && Globals.Vexamo->Status == MonitoringOn ? PicMonitoringOn : PicMonitoringOff;
    return state;
}

TPopupMenu TMainForm::TrayMenu() const {
    TPopupMenu menu = PopUpSysTray;
    for (int i = 0; i < ItemCount; ++i) menu.Items[i] = TrayMenuItem(static_cast<Item>(i));
    return menu;
}

void TMainForm::WMTrayNotify(std::uintptr_t mouseMessage) {
    if (!started_) return;
    // A click on a balloon asks what the agent did, which the configuration window shows.
    if (mouseMessage == TrayDoubleClick || mouseMessage == TrayBalloonClick)
        MnuOpenClick();
    else if (mouseMessage == TrayRightButton)
        host_->PopupTrayMenu();
}

void TMainForm::WMDeviceChange(std::uintptr_t event, const StringList& drives) {
    if (!started_) return;
    if (event != DeviceArrival && event != DeviceRemoveComplete) return;
    // A USB stick names its drive in the message, perhaps before the drive list shows it.
    if (event == DeviceArrival && !drives.empty()) Globals.Vexamo->ArrivedDrives = drives;
    if (event == DeviceRemoveComplete) Globals.Vexamo->ArrivedDrives.clear();
    if (deviceChangesHeld_ > 0) {
        // Many changes during one walk need no more than one look at the drives afterwards.
        (event == DeviceArrival ? heldArrival_ : heldRemoval_) = true;
        return;
    }
    const Dispatch::KeepAlive keep;
    if (event == DeviceRemoveComplete) {
        UpdateStatus(Caller::MainForm);
        if (Globals.frmMonitor) Globals.frmMonitor->DiscRemoved();
        return;
    }
    Globals.Trace.Begin("arrival");
    if (!UpdateStatus(Caller::MainForm) || Globals.Vexamo->Status != MonitoringOn) return;
    Globals.Trace.Mark("status");
    // The chooser of a run in progress already offers what the user came for; the run goes on.
    if (Globals.frmMain && Globals.frmMain->Scanning()) return;
    if (Dispatch::Nested()) {
        ScanAfterHandlers();
        return;
    }
    if (!Globals.frmMain && !ShowConfigWindow(true)) return;
    Globals.Trace.Mark("configuration window");
    Dispatch::Release(std::move(Globals.frmMonitor));
    Globals.frmMain->ScanDisc(Caller::MainForm, true);
}

void TMainForm::ScanAfterHandlers() {
    if (scanPending_) return;
    scanPending_ = true;
    Dispatch::Later([this] {
        scanPending_ = false;
        try {
            // The disc may have gone meanwhile: the arrival looks at the drives again.
            WMDeviceChange(DeviceArrival);
        } catch (const std::exception& e) {
            HandleException(e);
        }
    });
}

void TMainForm::HoldDeviceChanges() { ++deviceChangesHeld_; }

void TMainForm::ReleaseDeviceChanges() {
    if (deviceChangesHeld_ == 0 || --deviceChangesHeld_ > 0) return;
    const bool removal = std::exchange(heldRemoval_, false);
    const bool arrival = std::exchange(heldArrival_, false);
    if (removal) WMDeviceChange(DeviceRemoveComplete);
    if (arrival) WMDeviceChange(DeviceArrival);
}

void TMainForm::mnuSPlayClick() {
    if (Globals.frmMain && Globals.frmMain->Scanning()) return;  // its run still uses that window
    if (!ShowConfigWindow(true)) return;
    Globals.frmMain->ScanDisc(Caller::MainForm);
}

void TMainForm::mnuStatusClick() {
    TVexamo& vexamo = *Globals.Vexamo;
    const std::uint8_t before = vexamo.Status;
    vexamo.Status = before == MonitoringOn ? MonitoringOff : MonitoringOn;
    try {
        vexamo.SaveSettings(ProgramFolder, SettingsFileName, true);
    } catch (...) {
        // The file keeps the old status, so the agent does too: menu, icon and file agree.
        vexamo.Status = before;
        throw;
    }
    UpdateStatus(Caller::MainForm);
}

void TMainForm::MnuOpenClick() {
    if (Globals.frmMain && Globals.frmMain->Scanning()) return;  // its run still uses that window
    ShowConfigWindow(false);
}

void TMainForm::mnuSettingsClick() {
    Globals.Vexamo->Create();
    ShowOptions(Caller::MainForm);
    // The reload may have changed the status ("Always Ready"), also when the window was cancelled.
    UpdateStatus(Caller::MainForm);
}

void TMainForm::mnuAboutClick() { ShowAbout(); }

void TMainForm::mnuExitClick() { host_->CloseMainWindow(); }

void TMainForm::ShowAbout() {
    // The box is modal, but the tray still gets messages meanwhile: one box at a time.
    if (Globals.AboutBox) return;
    Globals.AboutBox = Windows().NewAboutBox();
    Globals.AboutBox->ShowModal();
}

void TMainForm::ShowOptions(Caller opener) {
    if (Globals.FrmOptions) return;
    Globals.FrmOptions = Windows().NewOptionsWindow(*this);
    Globals.FrmOptions->ShowOptions(opener);
}

void TMainForm::ExitAgent() { host_->CloseMainWindow(); }

void TMainForm::EnableMonitoringItem(bool enabled) {
    PopUpSysTray.Items[mnuStatus].Enabled = enabled;
    host_->TrayMenuChanged();
}

void TMainForm::ItemClick(Item item) {
    // A command can reach the window while the start-up checks still ask their questions, before
    // the core object exists.
    if (!started_) return;
    if (item < 0 || item >= ItemCount) return;
    if (!PopUpSysTray.Items[item].Enabled || PopUpSysTray.Items[item].IsSeparator()) return;
    switch (item) {
        case mnuSPlay: mnuSPlayClick(); break;
        case mnuStatus: mnuStatusClick(); break;
        case MnuOpen: MnuOpenClick(); break;
        case mnuSettings: mnuSettingsClick(); break;
        case mnuAbout: mnuAboutClick(); break;
        case mnuExit: mnuExitClick(); break;
        default: break;
    }
}

void TMainForm::TrayMenuCommand(int number) {
    const TMenuPlace place = PopUpSysTray.PlaceOf(number);
    if (place.Item >= 0 && place.SubItem < 0) ItemClick(static_cast<Item>(place.Item));
}

}  // namespace vexamo
