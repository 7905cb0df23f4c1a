// Stand-ins for the window bindings of the scan's windows: the chooser's modal display runs a
// scripted user, its menu and file dialog are recorded, the progress window records its bar. Each
// keeps its record with the test; the window owns a binding that reports to it (Binding()).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scan/Splash.h"
#include "scan/fileMonitor.h"

namespace vexamo::test {

class FakeMonitorHost {
public:
    MonitorHostFactory Binding() {
        return [this](TfrmMonitor& form) { return std::make_unique<Bound>(form, *this); };
    }

    std::function<void(TfrmMonitor&)> user;  // what the user does while the window is shown
    std::string chosen;                       // the file dialog's answer
    int choice = -1;                          // the number of the menu item the user chooses
    int shown = 0, ended = 0, released = 0;
    std::vector<bool> menus;
    std::vector<std::string> filters;

private:
    class Bound : public MonitorHost {
    public:
        Bound(TfrmMonitor& form, FakeMonitorHost& log) : form_(form), log_(log) {}
        ~Bound() override { ++log_.released; }
        void ShowModal() override {
            ++log_.shown;
            if (log_.user) log_.user(form_);
        }
        void EndModal() override { ++log_.ended; }
        int PopupOptions(bool atRow) override {
            log_.menus.push_back(atRow);
            return log_.choice;
        }
        std::string ChooseFile(const std::string& filter) override {
            log_.filters.push_back(filter);
            return log_.chosen;
        }

    private:
        TfrmMonitor& form_;
        FakeMonitorHost& log_;
    };
};

class FakeScaningHost {
public:
    ScaningHostFactory Binding() {
        return [this](TfrmScaning& form) { return std::make_unique<Bound>(form, *this); };
    }

    int shown = 0, hidden = 0, released = 0;
    std::vector<int> positions;
    std::function<void()> onRepaint;  // what happens while the walk paints (the system's messages)

private:
    class Bound : public ScaningHost {
    public:
        Bound(TfrmScaning& form, FakeScaningHost& log) : form_(form), log_(log) {}
        ~Bound() override { ++log_.released; }
        void Show() override { ++log_.shown; }
        void Repaint() override {
            log_.positions.push_back(form_.ProgBar.Position);
            if (log_.onRepaint) log_.onRepaint();
        }
        void Hide() override { ++log_.hidden; }

    private:
        TfrmScaning& form_;
        FakeScaningHost& log_;
    };
};

}  // namespace vexamo::test
