#include "agent/Init.h"

#include <cctype>
#include <cstring>

#include "model/Errors.h"
#include "scan/fileMonitor.h"
#include "ui/main.h"

namespace vexamo {


std::string FitTrayTip(const std::string& tip) {
    if (tip.size() <= TrayTipVisibleChars) return tip;
    return tip.substr(0, TrayTipVisibleChars - 3) + "...";
}

int MenuAccessKeyIndex(const std::vector<std::string>& captions, const std::vector<bool>& enabled, char key) {
    const int wanted = std::tolower(static_cast<unsigned char>(key));
    for (size_t i = 0; i < captions.size(); ++i) {
        const std::string& c = captions[i];
        for (size_t at = c.find('&'); at != std::string::npos && at + 1 < c.size(); at = c.find('&', at + 2)) {
            if (c[at + 1] == '&') continue;  // "&&" is a literal ampersand
            if (std::tolower(static_cast<unsigned char>(c[at + 1])) == wanted && i < enabled.size() && enabled[i])
                return static_cast<int>(i);
            break;
        }
    }
    return -1;
}

TMainForm::TMainForm(MainFormHost& host) : host_(host) {
    PopUpSysTray[mnuSPlay] = {"mnuSPlay", "&Scan/Play CD", false, false, 0};
    PopUpSysTray[N2] = {"N2", "-", true, true, -1};
    PopUpSysTray[mnuStatus] = {"mnuStatus", "", true, false, 1};
    PopUpSysTray[N4] = {"N4", "-", true, true, -1};
    PopUpSysTray[MnuOpen] = {"MnuOpen", "O&pen", true, false, -1};
    PopUpSysTray[mnuSettings] = {"mnuSettings", "&Settings...", true, false, 2};
    PopUpSysTray[N1] = {"N1", "-", true, true, -1};
    PopUpSysTray[mnuAbout] = {"mnuAbout", "About...", true, false, -1};
    PopUpSysTray[N3] = {"N3", "-", true, true, -1};
    PopUpSysTray[mnuExit] = {"mnuExit", "E&xit", true, false, 3};
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

    InitTrayIcon(ImgTray);
    ProgramFolder = ExtractFilePath(ExeName);

    Globals.Vexamo = std::make_unique<TVexamo>();
    Globals.Vexamo->CdDrives = GetCdDrives();
    if (Globals.Vexamo->CdDrives.empty()) {
        Sys().MessageBox(MsgKind::Error, NoCdRomText, MsgButtons::Ok);
        Terminated = true;
        host_.Terminate();
        return;
    }
    Globals.Vexamo->CdDrivesText = JoinList(Globals.Vexamo->CdDrives, " ");

    if (!Sys().FileExists(ProgramFolder + SelectionFileName)) return;
    Globals.Vexamo->Create();
    if (Globals.Vexamo->CheckPlayersInstalled()) {
        UpdateStatus(Caller::MainForm);
    } else {
        ShowConfigWindow(false);
        PopUpSysTray[mnuStatus].Enabled = false;
    }
}

void TMainForm::FormClose() {}

void TMainForm::FormDestroy() { RemoveTrayIcon(); }

void TMainForm::InitTrayIcon(std::uintptr_t icon) {
    TrayIconData = {};
    TrayIconData.Wnd = host_.WindowHandle();
    TrayIconData.ID = 0;
    TrayIconData.Flags = TrayIconFlags;
    TrayIconData.CallbackMessage = WM_TRAYNOTIFY;
    TrayIconData.Icon = icon;
}

void TMainForm::SetTrayTip(const std::string& text) {
    const std::string tip = FitTrayTip("Vexamo: " + text);
    std::memset(TrayIconData.Tip, 0, sizeof TrayIconData.Tip);
    std::memcpy(TrayIconData.Tip, tip.data(), tip.size());
    Sys().NotifyIcon(NotifyAction::Modify, TrayIconData);
}

void TMainForm::AddTrayIcon() {
    Sys().NotifyIcon(NotifyAction::Add, TrayIconData);
    iconInTray_ = true;
}

void TMainForm::RemoveTrayIcon() {
    Sys().NotifyIcon(NotifyAction::Delete, TrayIconData);
    iconInTray_ = false;
}

void TMainForm::TaskbarCreated() {
    if (iconInTray_) Sys().NotifyIcon(NotifyAction::Add, TrayIconData);
}

void TMainForm::ShowConfigWindow(bool hidden) {
    Globals.frmMain = host_.CreateConfigWindow();
    Globals.frmMain->FormCreate();
    if (!hidden) Globals.frmMain->Show();
}

bool TMainForm::UpdateStatus(Caller caller) {
    Globals.StatusSuffix.clear();
    bool result = false;
    PopUpSysTray[mnuStatus].Enabled = true;
    TfrmMain* config = Globals.frmMain.get();
    const TSettings& settings = *Globals.Vexamo->Settings;
    std::uintptr_t picture;

    if (Globals.Vexamo->Status == 1) {
        picture = ImgTrayDIsabled;
        PopUpSysTray[mnuStatus].Caption = "Set Monitoring &On";
        PopUpSysTray[mnuStatus].ImageIndex = 1;
        PopUpSysTray[mnuSPlay].Enabled = false;
        if (config) config->btScanNowEnabled = false;
    } else {
        picture = ImgTray;
        if (AnyDiscPresent(settings.Monitor.Drives)) {
            Globals.StatusSuffix = " (CD Detected)";
            if (config && caller == Caller::ConfigWindow && !Globals.Vexamo->DiscLabel.empty())
                config->StatusPanels[2] = "Label: " + Globals.Vexamo->DiscLabel;
            result = true;
            PopUpSysTray[mnuSPlay].Enabled = true;
        } else {
            Globals.StatusSuffix = " (No CD on Monitored Drives)";
            Globals.Vexamo->DiscLabel.clear();
            PopUpSysTray[mnuSPlay].Enabled = false;
        }
        PopUpSysTray[mnuStatus].Caption = "Set Monitoring O&ff";
        PopUpSysTray[mnuStatus].ImageIndex = 4;
        if (config) config->btScanNowEnabled = PopUpSysTray[mnuSPlay].Enabled;
    }

    const std::string statusText = ReadyWords.at(Globals.Vexamo->Status) + Globals.StatusSuffix;
    if (config) {
        if (!config->Visible) AddTrayIcon();
        const std::string device = settings.Monitor.ScanAll || settings.Monitor.Drives.empty()
                                       ? Globals.Vexamo->CdDrivesText
                                       : settings.Monitor.Drives.front();
        config->StatusPanels[0] = "Device(s): " + device;
        config->StatusPanels[1] = statusText;
        if (!result) config->StatusPanels[2].clear();
    } else {
        AddTrayIcon();
    }
    SetTrayTip(statusText);
    TrayIconData.Icon = picture;
    Sys().NotifyIcon(NotifyAction::Modify, TrayIconData);
    return result;
}

void TMainForm::WMTrayNotify(std::uintptr_t mouseMessage) {
    if (mouseMessage == TrayDoubleClick)
        MnuOpenClick();
    else if (mouseMessage == TrayRightButton)
        host_.PopupTrayMenu();
}

void TMainForm::WMDeviceChange(std::uintptr_t event) {
    if (event == DeviceArrival) {
        if (UpdateStatus(Caller::MainForm) && Globals.Vexamo->Status == 0) {
            if (!Globals.frmMain) ShowConfigWindow(true);
            Globals.frmMain->ScanDisc(Caller::MainForm);
        }
    } else if (event == DeviceRemoveComplete) {
        UpdateStatus(Caller::MainForm);
        if (Globals.frmMonitor) Globals.frmMonitor->DiscRemoved();
    }
}

void TMainForm::mnuSPlayClick() {
    ShowConfigWindow(true);
    Globals.frmMain->ScanDisc(Caller::MainForm);
}

void TMainForm::mnuStatusClick() {
    Globals.Vexamo->Status = Globals.Vexamo->Status == 0 ? 1 : 0;
    Globals.Vexamo->SaveSettings(ProgramFolder, SettingsFileName, true);
    UpdateStatus(Caller::MainForm);
}

void TMainForm::MnuOpenClick() { ShowConfigWindow(false); }

void TMainForm::mnuSettingsClick() {
    Globals.Vexamo->Create();
    // The options window comes with its own change.
}

void TMainForm::mnuAboutClick() {
    // The about box comes with its own change.
}

void TMainForm::mnuExitClick() { host_.CloseMainWindow(); }

void TMainForm::ItemClick(Item item) {
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

}  // namespace vexamo
