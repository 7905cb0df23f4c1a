// Stand-ins for what the configuration window reaches outside itself: its Win32 binding and the
// tray agent. They record what they were asked so tests can check it.
#pragma once

#include <string>
#include <vector>

#include "scan/Splash.h"
#include "scan/fileMonitor.h"
#include "ui/main.h"

namespace vexamo::test {

struct FrmMainHostLog {
    int shown = 0, repaints = 0, destroyed = 0;
    std::vector<std::string> wizardRuns;  // "" for a new player
    std::function<void()> onWizard;       // what the user does in the wizard
    std::function<void()> onRepaint;      // looks at the window each time it is painted
    MonitorHost* chooser = nullptr;       // the bindings of a scan's windows, when a test drives them
    ScaningHost* progress = nullptr;
};

// Behaves like the real binding: showing the window activates it.
class FakeFrmMainHost : public FrmMainHost {
public:
    FakeFrmMainHost(TfrmMain& form, FrmMainHostLog& log) : form_(form), log_(log) {}
    ~FakeFrmMainHost() override { ++log_.destroyed; }
    void Show() override {
        ++log_.shown;
        form_.FormActivate();
    }
    void Repaint() override {
        ++log_.repaints;
        if (log_.onRepaint) log_.onRepaint();
    }
    std::unique_ptr<TfrmMonitor> CreateChooser() override { return std::make_unique<TfrmMonitor>(log_.chooser); }
    std::unique_ptr<TfrmScaning> CreateProgressWindow() override {
        return std::make_unique<TfrmScaning>(log_.progress);
    }
    void RunPlayerWizard(const std::string& name) override {
        log_.wizardRuns.push_back(name);
        if (log_.onWizard) log_.onWizard();
    }

private:
    TfrmMain& form_;
    FrmMainHostLog& log_;
};

inline FrmMainHostFactory FakeFrmMainHostFactory(FrmMainHostLog& log) {
    return [&log](TfrmMain& form) { return std::make_unique<FakeFrmMainHost>(form, log); };
}

class FakeTrayAgent : public TrayAgent {
public:
    void AddTrayIcon() override { iconInTray = true; }
    void RemoveTrayIcon() override { iconInTray = false; }
    bool UpdateStatus(Caller caller) override {
        statusCallers.push_back(caller);
        return false;
    }
    void ShowAbout() override { ++abouts; }
    void ShowOptions(Caller opener) override { optionsOpeners.push_back(opener); }
    void ExitAgent() override { ++exits; }
    void SetTrayTip(const std::string& text) override { tips.push_back(text); }
    void EnableMonitoringItem(bool enabled) override { monitoringItemEnabled = enabled; }

    bool iconInTray = false;
    bool monitoringItemEnabled = true;
    int abouts = 0, exits = 0;
    std::vector<Caller> statusCallers;
    std::vector<std::string> tips;
    std::vector<Caller> optionsOpeners;
};

}  // namespace vexamo::test
