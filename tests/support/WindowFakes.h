// Stand-ins for what the configuration window reaches outside itself: its Win32 binding and the
// tray agent. They record what they were asked so tests can check it.
#pragma once

#include <string>
#include <vector>

#include "agent/Init.h"
#include "platform/Errors.h"
#include "scan/Splash.h"
#include "scan/fileMonitor.h"
#include "ui/About.h"
#include "ui/Settings.h"
#include "ui/main.h"

namespace vexamo::test {

struct FrmMainHostLog {
    int shown = 0, hidden = 0, repaints = 0, destroyed = 0;
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
    void Hide() override { ++log_.hidden; }
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
    void Notify(const std::string& text) override { notices.push_back(text); }
    void EnableMonitoringItem(bool enabled) override { monitoringItemEnabled = enabled; }
    void HoldDeviceChanges() override { ++holds; }
    void ReleaseDeviceChanges() override { --holds; }

    bool iconInTray = false;
    bool monitoringItemEnabled = true;
    int abouts = 0, exits = 0;
    int holds = 0;  // device changes held and not released yet
    std::vector<Caller> statusCallers;
    std::vector<std::string> tips;
    std::vector<std::string> notices;
    std::vector<Caller> optionsOpeners;
};

// The options window's binding: runs what the user does while the window is shown.
class FakeOptionsHost : public FrmOptionsHost {
public:
    int ShowModal(TFrmOptions& form) override {
        ++shown;
        result = ModalCancel;
        if (user) user(form);
        return result;
    }
    void Close(TFrmOptions&, int modalResult) override { result = modalResult; }
    std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override { return folder; }
    std::function<void(TFrmOptions&)> user;
    std::optional<std::string> folder;
    int shown = 0, result = 0;
};

// The tray agent's window binding: records what the agent asked of it and makes the other windows
// with the fake bindings above (or none).
class FakeMainFormHost : public MainFormHost {
public:
    std::uintptr_t WindowHandle() override { return 0x1234; }
    void Terminate() override { ++terminated; }
    void CloseMainWindow() override { ++closeRequests; }
    void PopupTrayMenu() override {
        ++popups;
        if (onPopup) onPopup();
    }
    void TrayMenuChanged() override { ++menuRefreshes; }
    std::unique_ptr<TfrmMain> CreateConfigWindow(TrayAgent& tray) override {
        if (failWindows) throw Error("no window");
        ++configWindows;
        return std::make_unique<TfrmMain>(tray, FakeFrmMainHostFactory(frm));
    }
    std::unique_ptr<TFrmOptions> CreateOptionsWindow(TrayAgent& tray) override {
        return std::make_unique<TFrmOptions>(tray, options);
    }
    std::unique_ptr<TAboutBox> CreateAboutBox() override { return std::make_unique<TAboutBox>(about); }

    int terminated = 0, closeRequests = 0, popups = 0, configWindows = 0, menuRefreshes = 0;
    bool failWindows = false;
    FrmMainHostLog frm;
    FrmOptionsHost* options = nullptr;
    AboutBoxHost* about = nullptr;
    std::function<void()> onPopup;  // what the user does while the tray menu is open
};

}  // namespace vexamo::test
