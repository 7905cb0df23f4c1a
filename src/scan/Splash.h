// The scan's progress window: a small borderless picture with "Please Wait..." and a bar, shown
// while a scan runs for a configuration window that is not on screen.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Controls.h"

namespace vexamo {

class TfrmScaning;

// What the window binding does for the portable progress window.
class ScaningHost {
public:
    virtual ~ScaningHost() = default;
    // Shows the window (not modal) and paints it at once.
    virtual void Show() = 0;
    // Paints the bar now: the scan does not return to the message loop until it ends.
    virtual void Repaint() = 0;
    // Takes the closed window off the screen; it is freed once the handlers running have returned.
    virtual void Hide() = 0;
};
using ScaningHostFactory = HostFactory<TfrmScaning, ScaningHost>;

struct TRectangle {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

class TfrmScaning {
public:
    explicit TfrmScaning(const ScaningHostFactory& makeHost = {});
    ~TfrmScaning();
    TfrmScaning(const TfrmScaning&) = delete;
    TfrmScaning& operator=(const TfrmScaning&) = delete;

    // Client area, which the picture fills; both controls lie over the picture.
    static constexpr int ClientWidth = 127;
    static constexpr int ClientHeight = 97;
    static constexpr TRectangle lblScanBounds{7, 63, 86, 12};
    static constexpr TRectangle ProgBarBounds{6, 78, 117, 15};

    TLabel lblScan;
    TProgressBar ProgBar;
    bool Visible = false;

    void Show();
    // Moves the bar on by `step` (never past its end) and paints it at once.
    void StepBy(int step);
    // Paints the window now, as a long search goes on.
    void Repaint();
    // Closes the window, emptying the process-wide reference to it; it is freed once the handlers
    // running have returned.
    void Close();
    void FormClose();

private:
    std::unique_ptr<ScaningHost> host_;
};

// How far the scan's progress bars move per selected player: 100 / (players + 1), rounded to the
// nearest integer with halves to even.
int ScanProgressStep(int players);

// How many of the scan's per-player steps the bar should show while the one walk of the drives
// runs. The walk takes all the time and handing the files to the players none, so the steps are
// spread over the walk: over the drives' top-level folders, a step more each time the walk has
// passed another share of them, and every player's step is given at the latest when its files are
// handed over.
class ScanProgressPlan {
public:
    // Lists each root once to count its top-level folders.
    ScanProgressPlan(const std::vector<std::string>& roots, int players);
    // The walk has listed `folder`; returns the steps due now.
    int FolderListed(const std::string& folder);
    // The files of player `player` (from 0) are handed over; returns the steps due now.
    int PlayerAssigned(std::size_t player);
    int Due() const { return due_; }

private:
    bool TopLevel(const std::string& folder) const;

    std::vector<std::string> roots_;
    int players_ = 0;
    int units_ = 0;    // every root, and every top-level folder of each
    int entered_ = 0;  // of those, how many the walk has entered
    int due_ = 0;
};

// When the walk paints its progress while the bar stands still. A slow drive lists a few folders
// a second and a fast one thousands; painting by folder count cost a fast drive more than its
// listing, and left a slow one unpainted for seconds. So the walk paints by time: at its first
// folder, and then whenever the last paint is `every` old. Each paint is also when the window
// answers the system, so `every` is short enough for the window to answer and be moved at once.
class RepaintPacer {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds Every{50};

    explicit RepaintPacer(std::function<Clock::time_point()> now = Clock::now,
                          std::chrono::milliseconds every = Every);
    // Whether the walk should paint now; true means it does, and the time counts from here.
    bool Due();
    // The window was painted otherwise (the bar moved).
    void Painted();

private:
    std::function<Clock::time_point()> now_;
    std::chrono::milliseconds every_;
    bool painted_ = false;
    Clock::time_point last_{};
};

}  // namespace vexamo
