// One simulated machine with Vexamo on it and a user who does random things to it: clicks in every
// window, discs that come and go, files that turn read-only, and all of it also while a message
// box, a modal window, the tray menu or the scan's walk is up. Everything is delivered as the
// window bindings deliver it (one Dispatch::Handler scope per message, errors to the program's own
// handler), and everything the user does is drawn from the seed of the step, so a run replays
// exactly. After each step the invariants are checked (Invariants.cpp).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "support/FakePlatform.h"
#include "support/WindowFakes.h"
#include "ui/PlayerWizard.h"

namespace vexamo::sequence {

// SplitMix64: small, fast, and the same numbers on every platform.
class Rng {
public:
    explicit Rng(std::uint64_t seed = 0) : state_(seed) {}
    std::uint64_t Next();
    int Below(int n);  // 0 .. n-1; 0 when n <= 0
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<size_t>(Below(static_cast<int>(items.size())))];
    }

private:
    std::uint64_t state_;
};

struct Finding {
    std::string Invariant;  // a short fixed name: failures are told apart by it
    std::string Detail;
};

// What an earlier run left in the process-wide state (the references, the deferred work); a run
// must start from nothing.
std::optional<Finding> StateLeftBehind();

class World {
public:
    // `skip`: invariants not to check (to look behind a fault that is already known).
    World(std::uint64_t seed, std::set<std::string> skip);
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Runs the user's next move, drawn from `stepSeed`, and checks the invariants after it.
    std::optional<Finding> Step(std::uint64_t stepSeed);

    // What was done, one line per action, nested actions indented; `Sink` sees each line as it
    // is written (a run that dies still leaves what it did).
    std::vector<std::string> Log;
    std::function<void(const std::string&)> Sink;
    std::string Setup;  // the machine as the seed made it

private:
    // Where the user is while a nested message loop runs; decides what else can be clicked.
    enum class Loop { MessageBox, Wizard, Chooser, Options, About, Walk, ShellStart, TrayMenu, ListMenu };

    // --- delivering ----------------------------------------------------------------------
    void Message(const std::function<void()>& handler);
    static void Guard(const std::function<void()>& handler);
    void Say(const std::string& line);
    // Perhaps some other events while a nested loop runs (only in the first level of nesting).
    void Meanwhile(Loop loop, const std::string& what);
    void Weighted(std::vector<std::pair<int, std::function<void()>>> choices);

    // --- the agent -----------------------------------------------------------------------
    void StartAgent();
    void EndAgent();
    bool IconClickable() const;
    bool ConfigClickable() const;

    // --- the user's moves ----------------------------------------------------------------
    void TopLevelMove();
    void DeviceMove();
    void FailureMove();
    void TrayMove();
    void ConfigMove();
    void Insert(const std::string& drive, int disc);
    void Eject(const std::string& drive);

    // --- the users of the modal windows (called from the fake bindings) --------------------
    void WizardModal(TfrmPlayerWizard& form);
    void WizardMove(TfrmPlayerWizard& form);
    void ChooserModal(TfrmMonitor& form);
    // The number of the menu item the user chooses, -1 for none.
    int ChooserMenu(TfrmMonitor& form);
    void OptionsModal(TFrmOptions& form);
    void AboutModal(TAboutBox& box);
    void BoxShown(const test::ShownMessage& box);

    // --- invariants (Invariants.cpp) ---------------------------------------------------------
    std::optional<Finding> Check();
    std::optional<Finding> CheckStored() const;
    std::optional<Finding> CheckIdle() const;
    std::optional<Finding> CheckConfigWindow() const;
    std::optional<Finding> CheckTrayStatus() const;
    // Checked as the options window opens, before the user touches it.
    std::optional<Finding> CheckOptionsWindow(const TFrmOptions& form) const;
    void Note(std::optional<Finding> finding);  // the first one of a step counts

    // The fake bindings of the modal windows hand their work to the user above.
    class ChooserBinding;
    class ProgressBinding;
    class OptionsBinding;
    class AboutBinding;
    class WizardBinding;
    // Makes every window with the bindings above; installed for the world's life.
    class Windows;

    test::FakePlatform fake_;
    std::set<std::string> skip_;
    int loaded_[2] = {-1, -1};          // the disc in D: and in E:, -1 for none
    std::set<std::string> readOnly_;    // files the user made read-only
    const void* stale_ = nullptr;       // a configuration window that outlived a read-only Vexamo.ini
    std::vector<std::unique_ptr<test::FakeMainFormHost>> hosts_;  // one per start; kept to the end
    test::FakeMainFormHost* host_ = nullptr;
    test::FrmMainHostLog frm_;  // the configuration window's binding
    std::unique_ptr<ChooserBinding> chooser_;
    std::unique_ptr<ProgressBinding> progress_;
    std::unique_ptr<OptionsBinding> options_;
    std::unique_ptr<AboutBinding> about_;
    std::unique_ptr<WizardBinding> wizard_;
    std::unique_ptr<Windows> windows_;

    Rng rng_;
    bool running_ = false;
    int depth_ = 0;         // how deep the current action is nested (0: the step itself)
    int indent_ = 0;        // of the log lines
    int meanwhile_ = 0;     // events added in nested loops during this step
    int modalUp_ = 0;       // modal windows that keep the configuration window from the user
    int repaints_ = 0;      // repaints of the walk seen during this step
    std::optional<Finding> found_;
};

}  // namespace vexamo::sequence
