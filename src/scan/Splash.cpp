#include "scan/Splash.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "app/Globals.h"
#include "model/general.h"
#include "platform/Dispatch.h"

namespace vexamo {

TfrmScaning::TfrmScaning(const ScaningHostFactory& makeHost) {
    lblScan.Caption = "Please Wait...";
    ProgBar.Min = 0;
    ProgBar.Max = 100;
    if (makeHost) host_ = makeHost(*this);
}

TfrmScaning::~TfrmScaning() = default;

void TfrmScaning::Show() {
    Visible = true;
    if (host_) host_->Show();
}

void TfrmScaning::StepBy(int step) {
    ProgBar.Position = std::min(ProgBar.Max, ProgBar.Position + step);
    if (host_ && Visible) host_->Repaint();
}

void TfrmScaning::Repaint() {
    if (host_ && Visible) host_->Repaint();
}

void TfrmScaning::Close() {
    Visible = false;
    if (host_) host_->Hide();
    FormClose();
}

void TfrmScaning::FormClose() {
    std::unique_ptr<TfrmScaning> self;
    if (Globals.frmScaning.get() == this) self = std::move(Globals.frmScaning);
    Dispatch::Release(std::move(self));
}

RepaintPacer::RepaintPacer(std::function<Clock::time_point()> now, std::chrono::milliseconds every)
    : now_(std::move(now)), every_(every) {}

bool RepaintPacer::Due() {
    const Clock::time_point now = now_();
    if (painted_ && now - last_ < every_) return false;
    painted_ = true;
    last_ = now;
    return true;
}

void RepaintPacer::Painted() {
    painted_ = true;
    last_ = now_();
}

int ScanProgressStep(int players) {
    const int divisor = players + 1;
    if (divisor <= 0) return 0;
    const int quotient = 100 / divisor;
    const int twiceRest = 2 * (100 % divisor);
    if (twiceRest > divisor || (twiceRest == divisor && quotient % 2 == 1)) return quotient + 1;
    return quotient;
}

ScanProgressPlan::ScanProgressPlan(const std::vector<std::string>& roots, int players)
    : roots_(roots), players_(players) {
    for (const std::string& root : roots_) {
        ++units_;
        for (const DirEntry& e : Sys().ListFolder(root + "*"))
            if (IsSearchedFolder(e)) ++units_;
    }
}

bool ScanProgressPlan::TopLevel(const std::string& folder) const {
    for (const std::string& root : roots_) {
        if (folder == root) return true;
        if (folder.size() <= root.size() || folder.compare(0, root.size(), root) != 0) continue;
        const size_t slash = folder.find('\\', root.size());
        if (slash == folder.size() - 1) return true;
    }
    return false;
}

int ScanProgressPlan::FolderListed(const std::string& folder) {
    if (TopLevel(folder)) ++entered_;
    // The folder just entered is not done yet: the walk goes through its subfolders first.
    const int done = std::max(0, entered_ - 1);
    if (units_ > 0) due_ = std::max(due_, std::min(players_, players_ * done / units_));
    return due_;
}

int ScanProgressPlan::PlayerAssigned(std::size_t player) {
    due_ = std::max(due_, std::min(players_, static_cast<int>(player) + 1));
    return due_;
}

}  // namespace vexamo
