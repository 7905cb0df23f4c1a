// What every window may ask of the tray agent, and who asks: the hidden main window implements it,
// so no window reaches into another through the process-wide references.
#pragma once

#include <string>

namespace vexamo {

// Who asks for a status refresh or a scan; the refresh shows the disc label only to the
// configuration window that asked itself.
enum class Caller { MainForm, ConfigWindow, Options };

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

}  // namespace vexamo
