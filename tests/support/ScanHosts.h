// Stand-ins for the window bindings of the scan's windows: the chooser's modal display runs a
// scripted user, its menu and file dialog are recorded, the progress window records its bar.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "scan/Splash.h"
#include "scan/fileMonitor.h"

namespace vexamo::test {

class FakeMonitorHost : public MonitorHost {
public:
    void ShowModal(TfrmMonitor& form) override {
        ++shown;
        if (user) user(form);
    }
    void EndModal(TfrmMonitor&) override { ++ended; }
    void PopupOptions(TfrmMonitor&, bool atRow) override { menus.push_back(atRow); }
    std::string ChooseFile(TfrmMonitor&, const std::string& filter) override {
        filters.push_back(filter);
        return chosen;
    }
    void Released(TfrmMonitor&) override { ++released; }

    std::function<void(TfrmMonitor&)> user;  // what the user does while the window is shown
    std::string chosen;                       // the file dialog's answer
    int shown = 0, ended = 0, released = 0;
    std::vector<bool> menus;
    std::vector<std::string> filters;
};

struct FakeScaningHost : ScaningHost {
    void Show(TfrmScaning&) override { ++shown; }
    void Repaint(TfrmScaning& f) override {
        positions.push_back(f.ProgBar.Position);
        if (onRepaint) onRepaint();
    }
    void Hide(TfrmScaning&) override { ++hidden; }
    void Released(TfrmScaning&) override { ++released; }
    int shown = 0, hidden = 0, released = 0;
    std::vector<int> positions;
    std::function<void()> onRepaint;  // what happens while the walk paints (the system's messages)
};

}  // namespace vexamo::test
