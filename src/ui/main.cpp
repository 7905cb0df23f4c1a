#include "ui/main.h"

#include <cstdio>

#include "model/VexaCfg.h"
#include "model/general.h"

namespace vexamo {


TfrmMain::~TfrmMain() {
    if (host_) host_->Released(*this);
}

void TfrmMain::FormCreate() {}

void TfrmMain::FormActivate() {
    // While the window is on screen the tray icon would only duplicate it.
    tray_.RemoveTrayIcon();
}

void TfrmMain::FormClose() {
    std::unique_ptr<TfrmMain> self;
    if (Globals.frmMain.get() == this) self = std::move(Globals.frmMain);
    tray_.AddTrayIcon();
    // `self` frees the window when it goes out of scope; nothing may touch members after this.
}

void TfrmMain::ShowStatus(const std::string& device, const std::string& statusText,
                          const std::optional<std::string>& labelPanel, bool scanNowEnabled) {
    StatusPanels[0] = device;
    StatusPanels[1] = statusText;
    if (labelPanel) StatusPanels[2] = *labelPanel;
    btScanNowEnabled = scanNowEnabled;
}

void TfrmMain::Show() {
    Visible = true;
    if (host_) host_->Show(*this);
}

void TfrmMain::Close() {
    Visible = false;
    if (host_) host_->Close(*this);
    FormClose();
}

void TfrmMain::ScanDisc(Caller) {
    if (!Visible) Close();
}

std::string ErrorLogLine(const std::string& message) {
    const LocalTime t = Sys().Now();
    char date[16];
    std::snprintf(date, sizeof date, "%02d-%02d-%02d", t.Day % 100, t.Month % 100, t.Year % 100);
    return std::string(date) + " " + Sys().FormatLongTime(t) + ":" + message;
}

void TfrmMain::AppEventsException(const std::string& message) {
    std::string ext = ExtractFileName(ExeName);
    std::string logPath = ExeName;
    size_t dot = ext.rfind('.');
    if (dot != std::string::npos) logPath.erase(logPath.size() - (ext.size() - dot));
    logPath += ".log";
    // A log that cannot be written (read-only folder, full disk) must not hide the error itself.
    Sys().AppendTextFile(logPath, ErrorLogLine(message) + "\r\n");
    Sys().MessageBox(MsgKind::Error, message, MsgButtons::Ok, "Vexamo");
}

void HandleException(const std::exception& e) {
    if (Globals.frmMain)
        Globals.frmMain->AppEventsException(e.what());
    else
        Sys().MessageBox(MsgKind::Error, e.what(), MsgButtons::Ok, "Vexamo");
}

}  // namespace vexamo
