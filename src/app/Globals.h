// The process-wide references: each holds at most one object, is filled by whoever creates that
// object and emptied by the object's own close handler. Everything else is reached through them
// or passed in, so this is the whole of the program's global state.
#pragma once

#include <memory>
#include <string>

#include "app/StepTrace.h"

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
    StepTrace Trace;                            // of the start-up or an arrival, in a run for the tests
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
