// Stand-ins for what the windows reach outside themselves: their Win32 bindings, the tray agent
// and the factory that makes windows. They record what they were asked so tests can check it; a
// fake binding belongs to its window and reports to a record the test keeps.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "agent/Init.h"
#include "app/WindowFactory.h"
#include "platform/Errors.h"
#include "scan/Splash.h"
#include "scan/fileMonitor.h"
#include "support/ScanHosts.h"
#include "ui/About.h"
#include "ui/PlayerWizard.h"
#include "ui/Settings.h"
#include "ui/main.h"

namespace vexamo::test {

struct FrmMainHostLog {
    int made = 0, shown = 0, hidden = 0, repaints = 0, destroyed = 0;
    std::function<void()> onRepaint;  // looks at the window each time it is painted
};

// Behaves like the real binding: showing the window activates it.
class FakeFrmMainHost : public FrmMainHost {
public:
    FakeFrmMainHost(TfrmMain& form, FrmMainHostLog& log) : form_(form), log_(log) { ++log_.made; }
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
class FakeOptionsHost {
public:
    FrmOptionsHostFactory Binding() {
        return [this](TFrmOptions& form) { return std::make_unique<Bound>(form, *this); };
    }
    std::function<void(TFrmOptions&)> user;
    std::optional<std::string> folder;  // the folder chooser's answer
    std::string title, preselected;     // what the folder chooser was opened with
    int shown = 0, result = 0;

private:
    class Bound : public FrmOptionsHost {
    public:
        Bound(TFrmOptions& form, FakeOptionsHost& log) : form_(form), log_(log) {}
        int ShowModal() override {
            ++log_.shown;
            log_.result = ModalCancel;
            if (log_.user) log_.user(form_);
            return log_.result;
        }
        void Close(int modalResult) override { log_.result = modalResult; }
        std::optional<std::string> ChooseFolder(const std::string& title, const std::string& preselected) override {
            log_.title = title;
            log_.preselected = preselected;
            return log_.folder;
        }

    private:
        TFrmOptions& form_;
        FakeOptionsHost& log_;
    };
};

// The about box's binding: runs what the user does while the box is shown.
class FakeAboutHost {
public:
    AboutBoxHostFactory Binding() {
        return [this](TAboutBox& box) { return std::make_unique<Bound>(box, *this); };
    }
    std::function<void(TAboutBox&)> user;
    int shown = 0, result = 0;

private:
    class Bound : public AboutBoxHost {
    public:
        Bound(TAboutBox& box, FakeAboutHost& log) : box_(box), log_(log) {}
        int ShowModal() override {
            ++log_.shown;
            log_.result = ModalCancel;
            if (log_.user) log_.user(box_);
            return log_.result;
        }
        void Close(int modalResult) override { log_.result = modalResult; }

    private:
        TAboutBox& box_;
        FakeAboutHost& log_;
    };
};

// The player wizard's binding: the file dialogs answer from the queues, in order.
class FakeWizardHost {
public:
    PlayerWizardHostFactory Binding() {
        return [this](TfrmPlayerWizard& wizard) { return std::make_unique<Bound>(wizard, *this); };
    }
    std::deque<std::string> files, icons;
    std::vector<std::string> filters;
    std::function<void(TfrmPlayerWizard&)> user;  // what the user does while the wizard is shown
    std::vector<std::string> runs;                // each show: the player edited, "" for a new one
    int shown = 0, closed = 0, released = 0;

private:
    static std::string Next(std::deque<std::string>& q) {
        if (q.empty()) return {};
        std::string s = q.front();
        q.pop_front();
        return s;
    }
    class Bound : public PlayerWizardHost {
    public:
        Bound(TfrmPlayerWizard& wizard, FakeWizardHost& log) : wizard_(wizard), log_(log) {}
        ~Bound() override { ++log_.released; }
        void ShowModal() override {
            ++log_.shown;
            log_.runs.push_back(wizard_.EditMode ? wizard_.OldPlayerName : std::string());
            if (log_.user) log_.user(wizard_);
        }
        void Close() override { ++log_.closed; }
        std::string OpenFile(const std::string& filter) override {
            log_.filters.push_back(filter);
            return Next(log_.files);
        }
        std::string ChooseIcon(const std::string& filter) override {
            log_.filters.push_back(filter);
            return Next(log_.icons);
        }

    private:
        TfrmPlayerWizard& wizard_;
        FakeWizardHost& log_;
    };
};

// The tray agent's window binding: records what the agent asked of it.
class FakeMainFormHost {
public:
    MainFormHostFactory Binding() {
        return [this](TMainForm&) { return std::make_unique<Bound>(*this); };
    }
    int terminated = 0, closeRequests = 0, popups = 0, menuRefreshes = 0;
    std::function<void()> onPopup;  // what the user does while the tray menu is open

private:
    class Bound : public MainFormHost {
    public:
        explicit Bound(FakeMainFormHost& log) : log_(log) {}
        std::uintptr_t WindowHandle() override { return 0x1234; }
        void Terminate() override { ++log_.terminated; }
        void CloseMainWindow() override { ++log_.closeRequests; }
        void PopupTrayMenu() override {
            ++log_.popups;
            if (log_.onPopup) log_.onPopup();
        }
        void TrayMenuChanged() override { ++log_.menuRefreshes; }

    private:
        FakeMainFormHost& log_;
    };
};

// Makes the windows with the fake bindings above (or none); constructing it installs it for the
// test, and it puts back what was installed before when it goes.
class FakeWindows : public WindowFactory {
public:
    FakeWindows() : previous_(SetWindowFactory(this)) {}
    ~FakeWindows() { SetWindowFactory(previous_); }
    FakeWindows(const FakeWindows&) = delete;
    FakeWindows& operator=(const FakeWindows&) = delete;

    std::unique_ptr<TfrmMain> NewConfigWindow(TrayAgent& tray) override {
        if (failWindows) throw Error("no window");
        ++configWindows;
        return std::make_unique<TfrmMain>(tray, FakeFrmMainHostFactory(frm));
    }
    std::unique_ptr<TFrmOptions> NewOptionsWindow(TrayAgent& tray) override {
        return options ? std::make_unique<TFrmOptions>(tray, options->Binding()) : std::make_unique<TFrmOptions>(tray);
    }
    std::unique_ptr<TAboutBox> NewAboutBox() override {
        return about ? std::make_unique<TAboutBox>(about->Binding()) : std::make_unique<TAboutBox>();
    }
    std::unique_ptr<TfrmMonitor> NewChooser() override {
        return chooser ? std::make_unique<TfrmMonitor>(chooser->Binding()) : std::make_unique<TfrmMonitor>();
    }
    std::unique_ptr<TfrmScaning> NewProgressWindow() override {
        return progress ? std::make_unique<TfrmScaning>(progress->Binding()) : std::make_unique<TfrmScaning>();
    }
    std::unique_ptr<TfrmPlayerWizard> NewPlayerWizard() override {
        return std::make_unique<TfrmPlayerWizard>(wizard->Binding());
    }

    int configWindows = 0;
    bool failWindows = false;
    FrmMainHostLog frm;
    FakeOptionsHost* options = nullptr;
    FakeAboutHost* about = nullptr;
    FakeMonitorHost* chooser = nullptr;
    FakeScaningHost* progress = nullptr;
    FakeWizardHost wizards;  // the wizard's, unless a test gives its own
    FakeWizardHost* wizard = &wizards;

private:
    WindowFactory* previous_;
};

}  // namespace vexamo::test
