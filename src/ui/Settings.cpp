#include "ui/Settings.h"

#include <algorithm>
#include <memory>

#include "app/Globals.h"
#include "model/PlayersCfg.h"
#include "model/VexaCfg.h"
#include "platform/Dispatch.h"
#include "platform/Mirror.h"
#include "ui/Settings_res.h"
#include "ui/main.h"

namespace vexamo {

namespace {

// A click on a radio button selects it and clears the other one of its pair.
void Select(TRadioButton& chosen, TRadioButton& other) {
    chosen.Checked = true;
    other.Checked = false;
}

}  // namespace

TFrmOptions::TFrmOptions(TrayAgent& tray, const FrmOptionsHostFactory& makeHost) : tray_(tray) {
    Settings_cbDrives.Hint = "List of available CD/DVD Drives";
    Settings_DrivesAll.Caption = "All CD/DVD Drives";
    Settings_DrivesAll.Hint = "Monitor all CD/DVD Drives";
    rdMonitorDefault.Caption = "Always use my last Monitor Status";
    rdMonitorDefault.Hint = "Select this option to start 'Vexamo' with the last used monitor status";
    rdMonitorDefault.Checked = true;
    rdMonitorOn.Caption = "Always Ready";
    rdMonitorOn.Hint = "Select this option to start 'Vexamo' READY to monitor Drives ";
    rdOnPlayMin.Caption = "Minimize to System Tray";
    rdOnPlayMin.Hint =
        "Select this option if you want 'Vexamo' to minimize to the system tray after launching a Media Player ";
    rdOnPlayClose.Caption = "Close Vexamo";
    rdOnPlayClose.Hint = "Select this option if you want 'Vexamo' to close after launching a Media Player";
    Settings_CDAutorun.Caption = "Disable Windows XP/2000 'On-Insert CD choose Autoplay Action...' feature";
    Settings_CDAutorun.Hint =
        "This settings enables/disables Windows XP's/2000 window that appears asking to choose an action "
        "whenever a CD/File type is detected";
    Settings_Removable.Caption = "Also play USB drives and memory cards";
    Settings_Removable.Hint = "Play what a USB stick or a memory card holds when it is plugged in, as for a CD";
    Settings_Startup.Caption = "Run on Windows Startup";
    Settings_Startup.Hint = "Choose to start 'Vexamo' automatically on Windows StartUp";
    Settings_UseSubs.Caption = "Automatically detect subtitles in CD";
    Settings_UseSubs.Hint =
        "Detect subtitles on monitored Movie Files. This option will only take effect when single movie files "
        "are detected";
    Settings_SubsPath.Hint = "Choose a Directory to scan Subtitles in case they're not found on the Movie CD";
    Settings_Notify.Caption = "Show a notification when a disc is played";
    Settings_Notify.Hint = "A word from the tray icon on what a new disc plays, or why nothing plays";
    Settings_Notify.Checked = true;
    btNone.Caption = "&None";
    btNone.Hint = "Set ";
    LblSubsFolder.Caption = NoSubsFolderCaption;
    LblSubsFolder.Visible = false;
    btOk.Caption = "&Ok";
    btCancel.Caption = "&Cancel";

    Settings_DrivesUser.OnClick = [this] { Settings_DrivesUserClick(); };
    Settings_DrivesAll.OnClick = [this] { Settings_DrivesAllClick(); };
    rdMonitorDefault.OnClick = [this] { rdMonitorDefaultClick(); };
    rdMonitorOn.OnClick = [this] { rdMonitorOnClick(); };
    rdOnPlayMin.OnClick = [this] { rdOnPlayMinClick(); };
    rdOnPlayClose.OnClick = [this] { rdOnPlayCloseClick(); };
    Settings_SubsPath.OnClick = [this] { Settings_SubsPathClick(); };
    btNone.OnClick = [this] { btNoneClick(); };
    btOk.OnClick = [this] { btOkClick(); };
    btCancel.OnClick = [this] { btCancelClick(); };
    if (makeHost) host_ = makeHost(*this);
}

TFrmOptions::~TFrmOptions() = default;

void TFrmOptions::BindControls(RecordMirror& m) {
    m.BindCaption(Caption);
    m.Bind(IDC_OPTIONS_SETTINGS_DRIVESUSER, Settings_DrivesUser);
    m.Bind(IDC_OPTIONS_SETTINGS_CBDRIVES, Settings_cbDrives);
    m.Bind(IDC_OPTIONS_SETTINGS_DRIVESALL, Settings_DrivesAll);
    m.Bind(IDC_OPTIONS_SETTINGS_REMOVABLE, Settings_Removable);
    m.Bind(IDC_OPTIONS_RDMONITORDEFAULT, rdMonitorDefault);
    m.Bind(IDC_OPTIONS_RDMONITORON, rdMonitorOn);
    m.Bind(IDC_OPTIONS_RDONPLAYMIN, rdOnPlayMin);
    m.Bind(IDC_OPTIONS_RDONPLAYCLOSE, rdOnPlayClose);
    m.Bind(IDC_OPTIONS_SETTINGS_CDAUTORUN, Settings_CDAutorun);
    m.Bind(IDC_OPTIONS_SETTINGS_STARTUP, Settings_Startup);
    m.Bind(IDC_OPTIONS_SETTINGS_NOTIFY, Settings_Notify);
    m.Bind(IDC_OPTIONS_SETTINGS_USESUBS, Settings_UseSubs);
    m.Bind(IDC_OPTIONS_LBLSUBTITLES, lblSubtitles);
    m.Bind(IDC_OPTIONS_SETTINGS_SUBSPATH, Settings_SubsPath);
    m.Bind(IDC_OPTIONS_BTNONE, btNone);
    m.Bind(IDC_OPTIONS_LBLSUBSFOLDER, LblSubsFolder);
    m.Bind(IdOk, btOk);
    m.Bind(IdCancel, btCancel);
}

int TFrmOptions::ShowOptions(Caller opener) {
    Opener = opener;
    // Once the window is gone only the local result is left.
    return ShowModalBetween([&] { FormCreate(); }, [&] { return host_ ? host_->ShowModal() : ModalCancel; },
                            [&] { FormClose(); });
}

void TFrmOptions::FormCreate() {
    const TVexamo& vexamo = *Globals.Vexamo;
    const TSettings& settings = *vexamo.Settings;

    lblSubtitles.Caption = "(";
    for (const std::string& ext : SubtitleExts) lblSubtitles.Caption += "*" + ext;
    lblSubtitles.Caption += ")";

    rdOnPlayClose.Checked = settings.Monitor.OnPlayClose;
    rdOnPlayMin.Checked = !settings.Monitor.OnPlayClose;
    rdMonitorOn.Checked = settings.Monitor.AlwaysOn;
    rdMonitorDefault.Checked = !settings.Monitor.AlwaysOn;

    // The machine's optical drives, and a monitored one that came after start-up, which the
    // settings load kept because it is an optical drive too.
    Settings_cbDrives.Items.clear();
    Settings_cbDrives.ItemIndex = -1;
    const auto listed = [&](const std::string& root) {
        return std::any_of(Settings_cbDrives.Items.begin(), Settings_cbDrives.Items.end(),
                           [&](const TCheckListItem& item) { return SameText(item.Text, root); });
    };
    for (const std::string& root : vexamo.CdDrives)
        if (!listed(root)) Settings_cbDrives.Items.push_back(TCheckListItem{root});
    for (const std::string& root : settings.Monitor.Drives)
        if (!listed(root)) Settings_cbDrives.Items.push_back(TCheckListItem{root});
    for (TCheckListItem& item : Settings_cbDrives.Items)
        item.Checked = std::any_of(settings.Monitor.Drives.begin(), settings.Monitor.Drives.end(),
                                   [&](const std::string& root) { return SameText(root, item.Text); });

    Settings_DrivesAll.Checked = settings.Monitor.ScanAll;
    Settings_DrivesUser.Checked = !settings.Monitor.ScanAll;
    Settings_cbDrives.Enabled = !Settings_DrivesAll.Checked;
    Settings_Removable.Checked = settings.Monitor.Removable;

    Settings_CDAutorun.Checked = InitialAutoCD = settings.Windows.AutoCD;
    Settings_Startup.Checked = InitialAutoStart = settings.Windows.AutoStart;

    Settings_UseSubs.Checked = settings.Subtitles.Auto;
    Settings_Notify.Checked = settings.Monitor.Notify;
    Settings_SubsPath.Caption = settings.Subtitles.Path.empty() ? NoSubsFolderCaption : settings.Subtitles.Path;

    if (GetWindowsVersion() != "NT") {
        // The policy only exists on the NT family; elsewhere OK restores AutoPlay if it was off.
        Settings_CDAutorun.Checked = false;
        Settings_CDAutorun.Enabled = false;
    }

    tray_.RemoveTrayIcon();
}

void TFrmOptions::Settings_DrivesUserClick() {
    Select(Settings_DrivesUser, Settings_DrivesAll);
    Settings_cbDrives.Enabled = !Settings_DrivesAll.Checked;
}

void TFrmOptions::Settings_DrivesAllClick() {
    Select(Settings_DrivesAll, Settings_DrivesUser);
    Settings_cbDrives.Enabled = !Settings_DrivesAll.Checked;
}

void TFrmOptions::rdMonitorDefaultClick() { Select(rdMonitorDefault, rdMonitorOn); }
void TFrmOptions::rdMonitorOnClick() { Select(rdMonitorOn, rdMonitorDefault); }
void TFrmOptions::rdOnPlayMinClick() { Select(rdOnPlayMin, rdOnPlayClose); }
void TFrmOptions::rdOnPlayCloseClick() { Select(rdOnPlayClose, rdOnPlayMin); }

void TFrmOptions::Settings_SubsPathClick() {
    if (!host_) return;
    std::optional<std::string> folder = host_->ChooseFolder(ChooseFolderTitle, "C:\\");
    if (!folder || folder->empty()) return;
    if (folder->back() != '\\') *folder += '\\';
    Settings_SubsPath.Caption = *folder;
}

void TFrmOptions::btNoneClick() { Settings_SubsPath.Caption = NoSubsFolderCaption; }

void TFrmOptions::btOkClick() {
    TVexamo& vexamo = *Globals.Vexamo;
    TSettings& settings = *vexamo.Settings;

    StringList ticked;
    for (const TCheckListItem& item : Settings_cbDrives.Items)
        if (item.Checked) ticked.push_back(item.Text);
    if (Settings_DrivesUser.Checked && ticked.empty()) {
        // Nothing is changed yet: the user ticks a drive and presses OK again.
        Sys().MessageBox(MsgKind::Warning, NoDriveTickedText, MsgButtons::Ok);
        return;
    }

    // Settings the file could not take are not kept either: the window stays open with the
    // user's choices and the error says why.
    const TSettings before = settings;
    try {
        settings.Monitor.ScanAll = Settings_DrivesAll.Checked;
        settings.Monitor.OnPlayClose = rdOnPlayClose.Checked;
        settings.Monitor.AlwaysOn = rdMonitorOn.Checked;
        settings.Monitor.Removable = Settings_Removable.Checked;
        settings.Windows.AutoCD = Settings_CDAutorun.Checked;
        settings.Windows.AutoStart = Settings_Startup.Checked;
        settings.Subtitles.Auto = Settings_UseSubs.Checked;
        settings.Monitor.Notify = Settings_Notify.Checked;

        if (Settings_CDAutorun.Checked != InitialAutoCD)
            SetWindowsAutoPlay(Settings_CDAutorun.Checked, true, ProgramFolder + SettingsFileName);

        settings.Monitor.Drives = settings.Monitor.ScanAll ? vexamo.CdDrives : ticked;

        settings.Subtitles.Path = Settings_SubsPath.Caption == NoSubsFolderCaption ? "" : Settings_SubsPath.Caption;
        // The new folder is searched from the next settings load on.
        settings.Subtitles.Folders = vexamo.CdDrives;

        // What is stored is what Windows will do, whichever way the switch went.
        if (Settings_Startup.Checked != InitialAutoStart)
            settings.Windows.AutoStart =
                SetAutoStart(AutoStartValueName, ProgramFolder + ExeFileName, Settings_Startup.Checked, true);

        vexamo.SaveSettings(ProgramFolder, SettingsFileName, false);
    } catch (...) {
        settings = before;
        // A status refresh meanwhile (a disc that came while a message was up) saw the settings
        // that are now given up.
        tray_.UpdateStatus(Caller::Options);
        throw;
    }
    tray_.UpdateStatus(Caller::Options);
    if (host_) host_->Close(ModalOk);
}

void TFrmOptions::btCancelClick() {
    if (host_) host_->Close(ModalCancel);
}

void TFrmOptions::FormClose() {
    std::unique_ptr<TFrmOptions> self;
    if (Globals.FrmOptions.get() == this) self = std::move(Globals.FrmOptions);
    // The configuration window on screen gives the icon back itself when it closes.
    const bool configOpen = Globals.frmMain && Globals.frmMain->Visible;
    if (!(Opener == Caller::ConfigWindow && configOpen)) tray_.AddTrayIcon();
    // Freed at once when nothing runs on it; nothing may touch members after this.
    Dispatch::Release(std::move(self));
}

}  // namespace vexamo
