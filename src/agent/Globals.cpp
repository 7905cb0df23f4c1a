#include "app/Globals.h"

#include "agent/Init.h"
#include "model/User.h"
#include "platform/Dispatch.h"
#include "model/VexaCfg.h"
#include "scan/Splash.h"
#include "scan/fileMonitor.h"
#include "ui/About.h"
#include "ui/Settings.h"
#include "ui/main.h"

namespace vexamo {

TGlobals Globals;

TGlobals::TGlobals() = default;
TGlobals::~TGlobals() = default;

void TGlobals::Reset() {
    Dispatch::Reset();
    AboutBox.reset();
    FrmOptions.reset();
    frmMonitor.reset();
    frmScaning.reset();
    frmMain.reset();
    SelectedPlayers.reset();
    CurrentPlayer = nullptr;
    PlayerStarted = false;
    PlayNotice.clear();
    MainForm.reset();
    Vexamo.reset();
    StatusSuffix.clear();
    TestFile.clear();
    TestPlaylist.clear();
    TestSubtitle.clear();
    SubtitlesChosen = false;
    Dispatch::Reset();
}

}  // namespace vexamo
