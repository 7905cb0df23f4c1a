// The process-wide references: each holds at most one object, is filled by whoever creates that
// object and emptied by the object's own close handler. Everything else is reached through them
// or passed in, so this is the whole of the program's global state.
#pragma once

#include <memory>
#include <string>

namespace vexamo {

class TMainForm;
class TfrmMain;
class TVexamo;
class TSelectedPlayer;
class TUserPlayer;
class TfrmMonitor;
class TfrmScaning;
class TFrmOptions;
class TAboutBox;

// Who asks for a status refresh or a scan; the refresh shows the disc label only to the
// configuration window that asked itself.
enum class Caller { MainForm, ConfigWindow, Options };

// What the other windows may ask of the tray agent; the hidden main window implements it, so no
// window reaches into another through the references below.
class TrayAgent {
public:
    virtual void AddTrayIcon() = 0;
    virtual void RemoveTrayIcon() = 0;
    // Refreshes every status display; true when monitoring is on and a monitored drive holds a disc.
    virtual bool UpdateStatus(Caller caller) = 0;
    virtual void ShowAbout() = 0;
    virtual void ShowOptions(Caller opener) = 0;
    // Ends the agent, as the tray menu's "E&xit" does.
    virtual void ExitAgent() = 0;
    // Shows "Vexamo: " and the text as the tray icon's tip.
    virtual void SetTrayTip(const std::string& text) = 0;
    // The word from the tray after a disc arrival's scan: a balloon over the icon when it is in
    // the tray (and the text in the log in debug runs).
    virtual void Notify(const std::string& text) = 0;
    // The tray menu's monitoring item is usable exactly when the configuration window's "On" is.
    virtual void EnableMonitoringItem(bool enabled) = 0;
    // While a scan walks the drives, disc arrivals and removals wait: a removal handled in the
    // middle of the walk would leave the run a chooser for a disc that is gone. Releasing hands
    // them over in the order they came. Holds nest.
    virtual void HoldDeviceChanges() = 0;
    virtual void ReleaseDeviceChanges() = 0;

protected:
    ~TrayAgent() = default;
};

struct TGlobals {
    TGlobals();
    ~TGlobals();
    TGlobals(const TGlobals&) = delete;
    TGlobals& operator=(const TGlobals&) = delete;

    std::unique_ptr<TMainForm> MainForm;        // the hidden tray window, for the whole run
    std::unique_ptr<TVexamo> Vexamo;            // the core object, for the whole run
    std::unique_ptr<TfrmMain> frmMain;          // the configuration window, shown or hidden
    std::unique_ptr<TSelectedPlayer> SelectedPlayers;  // loaded with a configuration window
    TUserPlayer* CurrentPlayer = nullptr;       // the player the chooser acts on
    bool PlayerStarted = false;                 // whether the chooser started a player
    std::string PlayNotice;                     // what the tray says about the chooser's last start
    // A run for the tests (VEXAMO_DEBUG set): notices are logged too, since Wine shows balloons
    // but never reports a click on one. Kept by Reset.
    bool DebugRun = false;
    std::unique_ptr<TfrmMonitor> frmMonitor;    // the playback chooser
    std::unique_ptr<TfrmScaning> frmScaning;    // the scan's progress window
    std::unique_ptr<TFrmOptions> FrmOptions;    // the options window
    std::unique_ptr<TAboutBox> AboutBox;        // the about box
    std::string StatusSuffix;                   // the status text's tail, " (CD Detected)" ...
    // The player wizard's memory from one run to the next: the sample paths of its test run, each
    // already in double quotes, and the last answer to "Does your Player support Subtitles ?".
    std::string TestFile;
    std::string TestPlaylist;
    std::string TestSubtitle;
    bool SubtitlesChosen = false;

    // Frees every object, windows first, and empties every reference (tests start from here).
    void Reset();
};

extern TGlobals Globals;

}  // namespace vexamo
