// How portable code asks for a new window: each comes with its binding, or with a test's fake.
// The program entry installs the Win32 factory before anything else runs; a test installs its fake
// by constructing it. The windows are only declared here: whoever asks for one includes its header.
#pragma once

#include <memory>

#include "app/TrayAgent.h"

namespace vexamo {

class TfrmMain;
class TFrmOptions;
class TAboutBox;
class TfrmMonitor;
class TfrmScaning;
class TfrmPlayerWizard;

class WindowFactory {
public:
    virtual std::unique_ptr<TfrmMain> NewConfigWindow(TrayAgent& tray) = 0;
    virtual std::unique_ptr<TFrmOptions> NewOptionsWindow(TrayAgent& tray) = 0;
    virtual std::unique_ptr<TAboutBox> NewAboutBox() = 0;
    virtual std::unique_ptr<TfrmMonitor> NewChooser() = 0;
    virtual std::unique_ptr<TfrmScaning> NewProgressWindow() = 0;
    // Modal over the window the user works in when it is shown.
    virtual std::unique_ptr<TfrmPlayerWizard> NewPlayerWizard() = 0;

protected:
    ~WindowFactory() = default;
};

// The installed factory; asking before one is installed is a fault of the program (or the test).
WindowFactory& Windows();
// Returns the factory it replaces, so that a stand-in can put it back.
WindowFactory* SetWindowFactory(WindowFactory* factory);

}  // namespace vexamo
