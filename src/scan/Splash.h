// The scan's progress window: a small borderless picture with "Please Wait..." and a bar, shown
// while a scan runs for a configuration window that is not on screen.
#pragma once

#include "ui/Controls.h"

namespace vexamo {

class TfrmScaning;

// What the window binding does for the portable progress window.
class ScaningHost {
public:
    virtual ~ScaningHost() = default;
    // Shows the window (not modal) and paints it at once.
    virtual void Show(TfrmScaning& form) = 0;
    // Paints the bar now: the scan does not return to the message loop until it ends.
    virtual void Repaint(TfrmScaning& form) = 0;
    // The portable window is gone; the binding lets its real window go too.
    virtual void Released(TfrmScaning& form) = 0;
};

struct TRectangle {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

class TfrmScaning {
public:
    explicit TfrmScaning(ScaningHost* host);
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
    // Closes and frees the window, emptying the process-wide reference to it.
    void Close();
    void FormClose();

private:
    ScaningHost* host_;
};

// How far the scan's progress bars move per selected player: 100 / (players + 1), rounded to the
// nearest integer with halves to even.
int ScanProgressStep(int players);

}  // namespace vexamo
