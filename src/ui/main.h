// The players and extensions window (the configuration window). For now it is a plain window
// captioned "Vexamo" that carries what the agent needs of it: its visibility, its status bar and
// "Scan Now" state, its place in the tray icon's life, and the log of unhandled errors.
#pragma once

#include <array>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "agent/Globals.h"

namespace vexamo {

class TfrmMain;

// What the window binding does for the portable window.
class FrmMainHost {
public:
    virtual ~FrmMainHost() = default;
    virtual void Show(TfrmMain& form) = 0;
    virtual void Close(TfrmMain& form) = 0;
    // The portable window is gone; the binding lets its real window go too.
    virtual void Released(TfrmMain& form) = 0;
};

class TfrmMain {
public:
    TfrmMain(TrayAgent& tray, FrmMainHost* host) : tray_(tray), host_(host) {}
    ~TfrmMain();
    TfrmMain(const TfrmMain&) = delete;
    TfrmMain& operator=(const TfrmMain&) = delete;

    std::string Caption = "Vexamo";
    bool Visible = false;
    std::array<std::string, 4> StatusPanels;  // stStatus
    bool btScanNowEnabled = false;

    // What the status refresh shows here: the device and status panels, the label panel
    // (nothing: keep it; empty: clear it) and whether "Scan Now" can run.
    void ShowStatus(const std::string& device, const std::string& statusText,
                    const std::optional<std::string>& labelPanel, bool scanNowEnabled);

    void FormCreate();
    void FormActivate();
    // Frees the window: empties the process-wide reference and puts the tray icon back.
    void FormClose();
    void Show();
    void Close();
    // The disc scan and play run. Until the scan is built, a run only ends the window it was
    // given, as a finished run does.
    void ScanDisc(Caller caller);

    // The application-wide handler of unhandled errors while this window exists.
    void AppEventsException(const std::string& message);

private:
    TrayAgent& tray_;
    FrmMainHost* host_;
};

// The current configuration window, if any.

// The log line for an unhandled error: "dd-mm-yy <long time>:<message>" without the line end.
std::string ErrorLogLine(const std::string& message);

// Shows (and, while a configuration window exists, logs) an error nothing else caught.
void HandleException(const std::exception& e);

}  // namespace vexamo
