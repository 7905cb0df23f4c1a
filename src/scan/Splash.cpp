#include "scan/Splash.h"

#include <algorithm>
#include <memory>

#include "agent/Globals.h"

namespace vexamo {

TfrmScaning::TfrmScaning(ScaningHost* host) : host_(host) {
    lblScan.Caption = "Please Wait...";
    ProgBar.Min = 0;
    ProgBar.Max = 100;
}

TfrmScaning::~TfrmScaning() {
    if (host_) host_->Released(*this);
}

void TfrmScaning::Show() {
    Visible = true;
    if (host_) host_->Show(*this);
}

void TfrmScaning::StepBy(int step) {
    ProgBar.Position = std::min(ProgBar.Max, ProgBar.Position + step);
    if (host_ && Visible) host_->Repaint(*this);
}

void TfrmScaning::Close() {
    Visible = false;
    FormClose();
}

void TfrmScaning::FormClose() {
    std::unique_ptr<TfrmScaning> self;
    if (Globals.frmScaning.get() == this) self = std::move(Globals.frmScaning);
    // `self` frees the window when it goes out of scope; nothing may touch members after this.
}

int ScanProgressStep(int players) {
    const int divisor = players + 1;
    if (divisor <= 0) return 0;
    const int quotient = 100 / divisor;
    const int twiceRest = 2 * (100 % divisor);
    if (twiceRest > divisor || (twiceRest == divisor && quotient % 2 == 1)) return quotient + 1;
    return quotient;
}

}  // namespace vexamo
