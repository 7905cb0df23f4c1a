#include "sequence/World.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <tuple>
#include <utility>

#include "agent/Init.h"
#include "model/PlayersCfg.h"
#include "model/VexaCfg.h"
#include "platform/Dispatch.h"
#include "scan/Splash.h"
#include "scan/fileMonitor.h"
#include "sequence/Machine.h"
#include "ui/About.h"
#include "ui/Settings.h"
#include "ui/main.h"

namespace vexamo::sequence {

std::uint64_t Rng::Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int Rng::Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

namespace {

// A message box's text as one short line of the log.
std::string Short(const std::string& text) {
    std::string line;
    for (char c : text) line += (c == '\r' || c == '\n') ? ' ' : c;
    return line.size() > 70 ? line.substr(0, 67) + "..." : line;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// A caption as the user reads it: without its access-key marks.
std::string Plain(const std::string& caption) {
    std::string text;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        text += caption[i];
    }
    return text;
}

}  // namespace

// --- the fake bindings of the modal windows ------------------------------------------------------

// Each window owns a binding of its own (Bound), which hands the work to the world's one binding of
// that kind, with the window it belongs to.
class World::ChooserBinding {
public:
    explicit ChooserBinding(World& world) : world_(world) {}
    MonitorHostFactory Factory() {
        return [this](TfrmMonitor& form) { return std::make_unique<Bound>(*this, form); };
    }
    bool Ended() const { return ended_ && *ended_; }

private:
    struct Bound : MonitorHost {
        Bound(ChooserBinding& b, TfrmMonitor& f) : binding(b), form(f) {}
        void ShowModal() override {
            bool ended = false;
            bool* outer = std::exchange(binding.ended_, &ended);
            binding.world_.ChooserModal(form);
            binding.ended_ = outer;
        }
        void EndModal() override {
            if (binding.ended_) *binding.ended_ = true;
        }
        int PopupOptions(bool) override { return binding.world_.ChooserMenu(form); }
        std::string ChooseFile(const std::string& filter) override {
            const std::string ext = filter.substr(filter.rfind('*') + 1);
            std::vector<std::string> files = {"", "D:\\gone" + ext};
            for (const std::string root : {"D:\\", "E:\\"})
                for (const DirEntry& e : Sys().ListFolder(root + "*" + ext))
                    if (!e.Directory) files.push_back(root + e.Name);
            const std::string chosen = binding.world_.rng_.Pick(files);
            binding.world_.Say("file dialog: " + (chosen.empty() ? std::string("cancelled") : chosen));
            return chosen;
        }
        ChooserBinding& binding;
        TfrmMonitor& form;
    };
    World& world_;
    bool* ended_ = nullptr;
};

class World::ProgressBinding {
public:
    explicit ProgressBinding(World& world) : world_(world) {}
    ScaningHostFactory Factory() {
        return [this](TfrmScaning&) { return std::make_unique<Bound>(world_); };
    }

private:
    struct Bound : ScaningHost {
        explicit Bound(World& w) : world(w) {}
        void Show() override {}
        void Repaint() override { world.Meanwhile(Loop::Walk, "while the scan walks the drives"); }
        void Hide() override {}
        World& world;
    };
    World& world_;
};

class World::OptionsBinding {
public:
    explicit OptionsBinding(World& world) : world_(world) {}
    FrmOptionsHostFactory Factory() {
        return [this](TFrmOptions& form) { return std::make_unique<Bound>(*this, form); };
    }
    bool Ended() const { return session_ && session_->Ended; }

private:
    struct Session {
        bool Ended;
        int Result;
    };
    struct Bound : FrmOptionsHost {
        Bound(OptionsBinding& b, TFrmOptions& f) : binding(b), form(f) {}
        int ShowModal() override {
            Session session{false, ModalCancel};
            Session* outer = std::exchange(binding.session_, &session);
            binding.world_.OptionsModal(form);
            binding.session_ = outer;
            return session.Result;
        }
        void Close(int modalResult) override {
            if (!binding.session_) return;
            binding.session_->Ended = true;
            binding.session_->Result = modalResult;
        }
        std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
            Rng& rng = binding.world_.rng_;
            if (rng.Chance(30)) return std::nullopt;
            return rng.Chance(50) ? "C:\\Subs" : "C:\\Subs\\";
        }
        OptionsBinding& binding;
        TFrmOptions& form;
    };
    World& world_;
    Session* session_ = nullptr;
};

class World::AboutBinding {
public:
    explicit AboutBinding(World& world) : world_(world) {}
    AboutBoxHostFactory Factory() {
        return [this](TAboutBox& box) { return std::make_unique<Bound>(*this, box); };
    }
    bool Ended() const { return result_ >= 0; }

private:
    struct Bound : AboutBoxHost {
        Bound(AboutBinding& b, TAboutBox& x) : binding(b), box(x) {}
        int ShowModal() override {
            const int outer = std::exchange(binding.result_, -1);
            binding.world_.AboutModal(box);
            const int result = binding.result_ < 0 ? ModalCancel : binding.result_;
            binding.result_ = outer;
            return result;
        }
        void Close(int modalResult) override { binding.result_ = modalResult; }
        AboutBinding& binding;
        TAboutBox& box;
    };
    World& world_;
    int result_ = -1;
};

class World::WizardBinding {
public:
    explicit WizardBinding(World& world) : world_(world) {}
    PlayerWizardHostFactory Factory() {
        return [this](TfrmPlayerWizard& form) { return std::make_unique<Bound>(world_, form); };
    }

private:
    struct Bound : PlayerWizardHost {
        Bound(World& w, TfrmPlayerWizard& f) : world(w), form(f) {}
        void ShowModal() override {
            world.Say(form.EditMode ? "wizard editing " + Quoted(form.OldPlayerName) + ":" : "wizard for a new player:");
            ++world.indent_;
            world.WizardModal(form);
            --world.indent_;
        }
        void Close() override {}
        std::string OpenFile(const std::string& filter) override {
            std::vector<std::string> files;
            if (filter == PlayerFilter)
                files = {PlayerExe, OtherExe, NewExe, MissingExe, ""};
            else if (filter.find("PLAYLIST") == 0)
                files = {"C:\\Samples\\list.m3u", "C:\\Samples\\list.lst", ""};
            else if (filter.find("SUBTITLE") == 0)
                files = {"C:\\Samples\\film.srt", ""};
            else
                files = {"C:\\Samples\\film.avi", "C:\\Samples\\song.mp3", "C:\\Samples\\notes.txt", ""};
            const std::string chosen = world.rng_.Pick(files);
            world.Say("file dialog: " + (chosen.empty() ? std::string("cancelled") : chosen));
            return chosen;
        }
        std::string ChooseIcon(const std::string&) override {
            return world.rng_.Chance(50) ? "C:\\Icons\\player.ico" : std::string();
        }
        World& world;
        TfrmPlayerWizard& form;
    };
    World& world_;
};

class World::Windows : public WindowFactory {
public:
    explicit Windows(World& world) : world_(world), previous_(SetWindowFactory(this)) {}
    ~Windows() { SetWindowFactory(previous_); }
    std::unique_ptr<TfrmMain> NewConfigWindow(TrayAgent& tray) override {
        return std::make_unique<TfrmMain>(tray, test::FakeFrmMainHostFactory(world_.frm_));
    }
    std::unique_ptr<TFrmOptions> NewOptionsWindow(TrayAgent& tray) override {
        return std::make_unique<TFrmOptions>(tray, world_.options_->Factory());
    }
    std::unique_ptr<TAboutBox> NewAboutBox() override { return std::make_unique<TAboutBox>(world_.about_->Factory()); }
    std::unique_ptr<TfrmMonitor> NewChooser() override {
        return std::make_unique<TfrmMonitor>(world_.chooser_->Factory());
    }
    std::unique_ptr<TfrmScaning> NewProgressWindow() override {
        return std::make_unique<TfrmScaning>(world_.progress_->Factory());
    }
    std::unique_ptr<TfrmPlayerWizard> NewPlayerWizard() override {
        return std::make_unique<TfrmPlayerWizard>(world_.wizard_->Factory());
    }

private:
    World& world_;
    WindowFactory* previous_;
};

// --- the machine -------------------------------------------------------------------------------

World::World(std::uint64_t seed, std::set<std::string> skip)
    : skip_(std::move(skip)),
      chooser_(std::make_unique<ChooserBinding>(*this)),
      progress_(std::make_unique<ProgressBinding>(*this)),
      options_(std::make_unique<OptionsBinding>(*this)),
      about_(std::make_unique<AboutBinding>(*this)),
      wizard_(std::make_unique<WizardBinding>(*this)),
      windows_(std::make_unique<Windows>(*this)) {
    Setup = BuildMachine(fake_, seed, loaded_);
    fake_.WhileMessageShown = [this](const test::ShownMessage& box) { BoxShown(box); };
    fake_.WhileStarting = [this](const test::StartedProgram& program) {
        Say("the shell starts " + program.File + (program.Parameters.empty() ? "" : " " + program.Parameters));
        Meanwhile(Loop::ShellStart, "while the shell starts it");
    };
}

World::~World() {
    // The windows go before the bindings they call.
    Globals.Reset();
    ProgramFolder.clear();
    ExeName.clear();
}

// --- delivering --------------------------------------------------------------------------------

void World::Guard(const std::function<void()>& handler) {
    // The window base's one error guard: what no handler caught goes to the program's own handler.
    try {
        handler();
    } catch (const std::exception& e) {
        HandleException(e);
    }
}

void World::Message(const std::function<void()>& handler) {
    const Dispatch::Handler scope;
    Guard(handler);
}

void World::Say(const std::string& line) {
    Log.push_back(std::string(static_cast<size_t>(2 * indent_), ' ') + line);
    if (Sink) Sink(Log.back());
}

void World::Weighted(std::vector<std::pair<int, std::function<void()>>> choices) {
    int total = 0;
    for (const auto& c : choices) total += std::max(0, c.first);
    int at = rng_.Below(total);
    for (const auto& c : choices) {
        if (c.first <= 0) continue;
        if (at < c.first) {
            c.second();
            return;
        }
        at -= c.first;
    }
}

void World::Meanwhile(Loop loop, const std::string& what) {
    // Only the first level of nested loops gets other events; deeper ones would only make the
    // shortest sequences longer.
    if (depth_ > 0 || meanwhile_ >= 4) return;
    if (loop == Loop::Walk && ++repaints_ > 3) return;
    if (!rng_.Chance(loop == Loop::Walk ? 20 : 35)) return;
    ++meanwhile_;
    ++depth_;
    Say(what + ":");
    ++indent_;
    const bool box = loop == Loop::MessageBox;
    Weighted({
        {4, [&] { DeviceMove(); }},
        {(box || loop == Loop::About) && IconClickable() ? 2 : 0, [&] { TrayMove(); }},
        {box && ConfigClickable() ? 4 : 0, [&] { ConfigMove(); }},
    });
    --indent_;
    --depth_;
}

std::optional<Finding> World::Step(std::uint64_t stepSeed) {
    rng_ = Rng(stepSeed);
    found_.reset();
    depth_ = indent_ = meanwhile_ = repaints_ = 0;
    TopLevelMove();
    // The tray's "E&xit" posts the close: the agent ends once the step's handlers have returned.
    if (running_ && (host_->closeRequests > 0 || host_->terminated > 0)) EndAgent();
    if (!found_) found_ = Check();
    return found_;
}

void World::Note(std::optional<Finding> finding) {
    if (finding && !found_ && !skip_.count(finding->Invariant)) found_ = std::move(finding);
}

// --- the agent ---------------------------------------------------------------------------------

void World::StartAgent() {
    Say("start Vexamo");
    ++indent_;
    hosts_.push_back(std::make_unique<test::FakeMainFormHost>());
    host_ = hosts_.back().get();
    frm_.onRepaint = [this] { Meanwhile(Loop::Walk, "while the scan walks the drives"); };
    host_->onPopup = [this] { Meanwhile(Loop::TrayMenu, "while the tray menu is open"); };
    ExeName = Folder + ExeFileName;
    Globals.MainForm = std::make_unique<TMainForm>(host_->Binding());
    Globals.MainForm->ImgTray = TrayOnPicture;
    Globals.MainForm->ImgTrayDIsabled = TrayOffPicture;
    // The main window exists (and gets device changes) while the start-up checks run.
    running_ = true;
    const bool started = Globals.MainForm->Start();
    --indent_;
    if (!started) {
        Say("Vexamo does not start");
        EndAgent();
    }
}

void World::EndAgent() {
    Say("Vexamo ends");
    Message([] { Globals.MainForm->FormClose(); });
    Message([] { Globals.MainForm->FormDestroy(); });
    // The program frees everything once its message loop has ended.
    Globals.Reset();
    running_ = false;
    host_ = nullptr;
}

bool World::IconClickable() const { return running_ && fake_.TrayIconShown; }

bool World::ConfigClickable() const {
    return running_ && Globals.frmMain && Globals.frmMain->Visible && modalUp_ == 0;
}

// --- the user's moves --------------------------------------------------------------------------

void World::TopLevelMove() {
    if (!running_) {
        Weighted({{8, [&] { StartAgent(); }}, {2, [&] { DeviceMove(); }}, {1, [&] { FailureMove(); }}});
        return;
    }
    Weighted({
        {IconClickable() ? 12 : 0, [&] { TrayMove(); }},
        {ConfigClickable() ? 24 : 0, [&] { ConfigMove(); }},
        {6, [&] { DeviceMove(); }},
        {1, [&] { FailureMove(); }},
    });
}

void World::Insert(const std::string& drive, int disc) {
    const Disc& d = Discs[static_cast<size_t>(disc)];
    PutDisc(fake_, drive, disc);
    loaded_[drive == "D:\\" ? 0 : 1] = disc;
    Say("disc " + (d.Label.empty() ? std::string("(no label)") : d.Label) + " into " + drive);
    if (running_) Message([] { Globals.MainForm->WMDeviceChange(DeviceArrival); });
}

void World::Eject(const std::string& drive) {
    int& disc = loaded_[drive == "D:\\" ? 0 : 1];
    TakeDisc(fake_, drive, disc);
    disc = -1;
    Say("eject " + drive);
    if (running_) Message([] { Globals.MainForm->WMDeviceChange(DeviceRemoveComplete); });
}

void World::DeviceMove() {
    std::vector<std::pair<int, std::function<void()>>> choices;
    for (const std::string drive : {"D:\\", "E:\\"}) {
        if (loaded_[drive == "D:\\" ? 0 : 1] < 0)
            choices.push_back({3, [this, drive] { Insert(drive, rng_.Below(static_cast<int>(Discs.size()))); }});
        else
            choices.push_back({3, [this, drive] { Eject(drive); }});
    }
    // Any device's arrival or removal reaches the agent, a USB stick's too.
    choices.push_back({1, [this] {
                           Say("a USB stick comes or goes");
                           if (running_)
                               Message([this] {
                                   Globals.MainForm->WMDeviceChange(rng_.Chance(50) ? DeviceArrival
                                                                                    : DeviceRemoveComplete);
                               });
                       }});
    Weighted(std::move(choices));
}

void World::FailureMove() {
    std::vector<std::string> files;
    for (const std::string& name : {SelectionFileName, PlayersFileName, SettingsFileName})
        if (fake_.FileExists(Folder + name)) files.push_back(Folder + name);
    files.push_back(Folder + "VexamoList.m3u");
    files.push_back(Folder + "VexamoList");
    // Half the time a file made read-only before is made writable again.
    const bool restore = !readOnly_.empty() && rng_.Chance(50);
    const std::string path = restore ? *std::next(readOnly_.begin(), rng_.Below(static_cast<int>(readOnly_.size())))
                                     : rng_.Pick(files);
    if (readOnly_.count(path)) {
        readOnly_.erase(path);
        // A window that could not store its settings meanwhile said so; it catches up at its next
        // successful write, which only it knows of.
        if (path == Folder + SettingsFileName && Globals.frmMain) stale_ = Globals.frmMain.get();
        if (fake_.FileExists(path)) fake_.SetReadOnly(path, false);
        Say(ExtractFileName(path) + " writable again");
        return;
    }
    // A playlist left behind by an earlier run that cannot be written over.
    if (!fake_.FileExists(path)) fake_.AddFile(path, "");
    fake_.SetReadOnly(path, true);
    readOnly_.insert(path);
    Say(ExtractFileName(path) + " read-only");
}

void World::TrayMove() {
    const bool menu = rng_.Chance(75);
    if (!menu) {
        Say("tray: double click");
        Message([] { Globals.MainForm->WMTrayNotify(TrayDoubleClick); });
        return;
    }
    Say("tray: right click");
    ++indent_;
    Message([] { Globals.MainForm->WMTrayNotify(TrayRightButton); });
    // The menu posts its command: it runs as a message of its own once the menu has closed.
    if (running_ && Globals.MainForm) {
        std::vector<std::pair<int, std::function<void()>>> items = {{1, [&] { Say("menu: dismissed"); }}};
        const std::pair<TMainForm::Item, int> weights[] = {
            {TMainForm::mnuSPlay, 5}, {TMainForm::mnuStatus, 3}, {TMainForm::MnuOpen, 6},
            {TMainForm::mnuSettings, 3}, {TMainForm::mnuAbout, 1}, {TMainForm::mnuExit, 1}};
        for (const auto& [item, weight] : weights) {
            if (!Globals.MainForm->TrayMenuItem(item).Enabled) continue;
            items.push_back({weight, [this, item = item] {
                                 Say("menu: " + Plain(Globals.MainForm->PopUpSysTray.Items[item].Caption));
                                 Message([item] { Globals.MainForm->ItemClick(item); });
                             }});
        }
        Weighted(std::move(items));
    }
    --indent_;
}

void World::ConfigMove() {
    TfrmMain* f = Globals.frmMain.get();
    auto rowName = [](const TListView& list, int row) {
        return row >= 0 && row < static_cast<int>(list.Items.size()) && !list.Items[row].SubItems.empty()
                   ? Quoted(list.Items[row].SubItems[0])
                   : std::string("no row");
    };
    auto row = [&](const TListView& list) {
        // Now and then a click on empty space.
        return rng_.Chance(10) ? -1 : rng_.Below(static_cast<int>(list.Items.size()));
    };
    // A click on a radio button: the window decides whether its handler runs.
    auto radio = [&](const char* name, TRadioButton& button) {
        Say(std::string("config: ") + name);
        Message([&] { f->RadioClicked(button); });
    };
    using Command = std::pair<int, int>;  // item, weight
    auto menu = [&](TListView& list, TPopupMenu& popup, const char* what, void (TfrmMain::*prepare)(),
                    void (TfrmMain::*chosen)(int), std::vector<Command> commands) {
        const int r = row(list);
        Say(std::string("config: right click ") + what + " " + rowName(list, r));
        ++indent_;
        Message([&, r, prepare, chosen] {
            list.ItemIndex = r;
            Guard([&] { (f->*prepare)(); });
            Meanwhile(Loop::ListMenu, "while the menu is open");
            std::vector<std::pair<int, std::function<void()>>> usable = {{1, [&] { Say("menu: dismissed"); }}};
            for (const auto& [item, weight] : commands)
                if (popup.Items[static_cast<size_t>(item)].Enabled)
                    usable.push_back({weight, [&, item = item] {
                                          Say("menu: " + Plain(popup.Items[static_cast<size_t>(item)].Caption));
                                          Guard([&] { (f->*chosen)(popup.NumberOf({item, -1})); });
                                      }});
            Weighted(std::move(usable));
        });
        --indent_;
    };

    std::vector<TCheckListBox*> tickable;
    for (TCheckListBox* list : {&f->chkExtsAudio, &f->ChkExtsVideo})
        if (list->Enabled && std::any_of(list->Items.begin(), list->Items.end(), [](auto& i) { return i.Enabled; }))
            tickable.push_back(list);

    Weighted({
        {6,
         [&] {
             // "(Add new Player)" opens the wizard: chosen often enough to run it.
             const int r = rng_.Chance(15) ? 0 : row(f->lstPlayers);
             Say("config: choose available " + rowName(f->lstPlayers, r));
             ++indent_;
             Message([&, r] {
                 f->lstPlayers.ItemIndex = r;
                 f->lstPlayersClick();
             });
             --indent_;
         }},
        {tickable.empty() ? 0 : 9,
         [&] {
             TCheckListBox& list = *rng_.Pick(tickable);
             std::vector<int> items;
             for (size_t i = 0; i < list.Items.size(); ++i)
                 if (list.Items[i].Enabled) items.push_back(static_cast<int>(i));
             const int i = rng_.Pick(items);
             Say("config: tick " + list.Items[static_cast<size_t>(i)].Text);
             Message([&, i] {
                 list.ItemIndex = i;
                 list.Items[static_cast<size_t>(i)].Checked = !list.Items[static_cast<size_t>(i)].Checked;
                 if (&list == &f->chkExtsAudio)
                     f->chkExtsAudioClickCheck();
                 else
                     f->ChkExtsVideoClickCheck();
             });
         }},
        {2,
         [&] {
             const bool audio = rng_.Chance(50);
             Say(std::string("config: ") + (audio ? f->LblSelAllAudio : f->LblSelAllVideo).Caption +
                 (audio ? " (audio)" : " (video)"));
             Message([&, audio] { audio ? f->LblSelAllAudioClick() : f->LblSelAllVideoClick(); });
         }},
        {f->chkPrompt.Enabled ? 2 : 0,
         [&] {
             Say("config: tick \"Yes, Prompt this Player\"");
             f->chkPrompt.Checked = !f->chkPrompt.Checked;  // no handler: only its state
         }},
        {f->btAdd.Enabled ? 12 : 0,
         [&] {
             Say("config: Add" + std::string(f->chkPrompt.Checked ? " (prompt)" : ""));
             ++indent_;
             Message([&] { f->btAddClick(); });
             --indent_;
         }},
        {f->LstLoadedPlayers.Items.empty() ? 0 : 3,
         [&] {
             const int r = rng_.Below(static_cast<int>(f->LstLoadedPlayers.Items.size()));
             Say("config: prompt tick of monitored " + rowName(f->LstLoadedPlayers, r));
             Message([&, r] { f->LstLoadedPlayersCheckClick(r, !f->LstLoadedPlayers.Items[static_cast<size_t>(r)].Checked); });
         }},
        {5,
         [&] {
             menu(f->LstLoadedPlayers, f->PopListOptions, "monitored", &TfrmMain::PopListOptionsPopup,
                  &TfrmMain::PopListOptionsClick,
                  {{TfrmMain::popLstDelete, 6}, {TfrmMain::popLstDelAll, 2}, {TfrmMain::popCmdLines, 3}});
         }},
        {3,
         [&] {
             menu(f->lstPlayers, f->PopPlayer, "available", &TfrmMain::PopPlayerPopup, &TfrmMain::PopPlayerClick,
                  {{TfrmMain::PopPlayerEdit, 6}, {TfrmMain::PopPlayerDelete, 4}, {TfrmMain::popPlayerResetAll, 2}});
         }},
        {f->rdNoPlayerPriority.Enabled ? 2 : 0,
         [&] { radio("No Priority", f->rdNoPlayerPriority); }},
        {f->rdPlayerPriority.Enabled ? 3 : 0,
         [&] { radio("Give Priority to:", f->rdPlayerPriority); }},
        {f->cboDifPlayer.Enabled && !f->cboDifPlayer.Items.empty() ? 3 : 0,
         [&] {
             const int i = rng_.Below(static_cast<int>(f->cboDifPlayer.Items.size()));
             Say("config: priority player " + Quoted(f->cboDifPlayer.Items[static_cast<size_t>(i)]));
             Message([&, i] {
                 f->cboDifPlayer.Select(i);
                 f->cboDifPlayerChange();
             });
         }},
        {f->RdMonitorOn.Enabled ? 2 : 0,
         [&] { radio("On", f->RdMonitorOn); }},
        {f->RdMonitorOff.Enabled ? 2 : 0,
         [&] { radio("Off", f->RdMonitorOff); }},
        {f->btScanNow.Enabled ? 3 : 0,
         [&] {
             Say("config: Scan Now");
             ++indent_;
             Message([&] { f->btScanNowClick(); });
             --indent_;
         }},
        {2,
         [&] {
             Say("config: Settings...");
             ++indent_;
             Message([&] { f->btSettingsClick(); });
             --indent_;
         }},
        {1,
         [&] {
             Say("config: About Us...");
             ++indent_;
             Message([&] { f->lblAboutClick(); });
             --indent_;
         }},
        {3,
         [&] {
             const int how = rng_.Below(3);
             Say(std::string("config: ") + (how == 0 ? "close box" : how == 1 ? "Escape" : "minimise box"));
             Message([&, how] { f->WMSysCommand(how == 2 ? SysCommand::Minimize : SysCommand::Close); });
         }},
        {1,
         [&] {
             Say("config: Exit");
             ++indent_;
             Message([&] { f->btExitClick(); });
             --indent_;
         }},
    });
}

// --- the modal windows' user -------------------------------------------------------------------

void World::BoxShown(const test::ShownMessage& box) {
    Say("box " + Quoted(Short(box.Text)));
    ++indent_;
    Meanwhile(Loop::MessageBox, "while it is up");
    if (box.Buttons == MsgButtons::YesNo) {
        const bool yes = rng_.Chance(50);
        Say(yes ? "answer Yes" : "answer No");
        fake_.Answer(yes ? MsgResult::Yes : MsgResult::No);
    } else {
        fake_.Answer(MsgResult::Ok);
    }
    --indent_;
}

void World::WizardModal(TfrmPlayerWizard& form) {
    ++modalUp_;
    const int moves = 1 + rng_.Below(24);
    for (int i = 0; i < moves && !form.Closed; ++i) WizardMove(form);
    if (!form.Closed) {
        Say("Escape");
        Message([&] {
            if (form.TestAreaOpen()) form.btTestClick();  // Escape closes the test area first
        });
        Message([&] { form.btCancelClick(); });
        if (!form.Closed) Note(Finding{"modal-does-not-close", "the wizard's Cancel leaves it open"});
    }
    --modalUp_;
}

void World::WizardMove(TfrmPlayerWizard& form) {
    using Page = TfrmPlayerWizard::Page;
    const int page = form.PageControl.ActivePage;
    auto click = [&](const char* name, void (TfrmPlayerWizard::*handler)()) {
        return [this, &form, name, handler] {
            Say(name);
            ++indent_;
            Message([&] { (form.*handler)(); });
            --indent_;
        };
    };
    const bool next = form.btNext.Enabled && form.btNext.Visible;
    const bool back = form.btBack.Enabled && form.btBack.Visible;
    std::vector<std::pair<int, std::function<void()>>> moves = {
        {1, click("Cancel", &TfrmPlayerWizard::btCancelClick)},
        {2, [&] { Meanwhile(Loop::Wizard, "while the wizard is open"); }},
    };
    if (form.TestAreaOpen()) {
        moves.push_back({3, click("Test Command Line <<", &TfrmPlayerWizard::btTestClick)});
        moves.push_back({form.btExecute.Enabled ? 4 : 0, click("Execute", &TfrmPlayerWizard::btExecuteClick)});
        const int emulated = form.PageEmulator.ActivePage;
        if (emulated == 0) moves.push_back({3, click("sample file...", &TfrmPlayerWizard::btOpenFileClick)});
        if (emulated == 1) moves.push_back({3, click("sample playlist...", &TfrmPlayerWizard::btPlaylistClick)});
        if (emulated == 2) {
            moves.push_back({2, click("sample movie...", &TfrmPlayerWizard::btFile2Click)});
            moves.push_back({2, click("sample subtitle...", &TfrmPlayerWizard::btSubtitleClick)});
        }
        Weighted(std::move(moves));
        return;
    }
    moves.push_back({next ? 12 : 0, click(page == Page::TabFinal ? "Finish" : "Next", &TfrmPlayerWizard::btNextClick)});
    moves.push_back({back ? 1 : 0, click("Back", &TfrmPlayerWizard::btBackClick)});
    switch (page) {
        case Page::TabPlayerLocation:
            moves.push_back({next ? 1 : 5, [&] {
                                 const std::string name =
                                     rng_.Pick(std::vector<std::string>{"Vlc", "Vlc", "Mpc", "Mpc", "Stand-In", "other",
                                                                        "A]B", ""});
                                 Say("type name " + Quoted(name));
                                 Message([&] {
                                     form.edPlayerName.Text = name;
                                     form.edPlayerNameChange();
                                 });
                                 Message([&] { form.edPlayerNameExit(); });  // the focus moves on
                             }});
            moves.push_back({form.btPlayer.Caption == NoPlayerCaption ? 5 : 1,
                             click("player...", &TfrmPlayerWizard::btPlayerClick)});
            moves.push_back({1, click("icon...", &TfrmPlayerWizard::btIconClick)});
            break;
        case Page::TabSingle:
        case Page::TabPlaylist:
        case Page::TabSubs:
            moves.push_back({2, [&] {
                                 const std::string tags = page == Page::TabSingle     ? "[FILE]"
                                                          : page == Page::TabPlaylist ? "[PLAYLIST]"
                                                                                      : "[FILE] [SUBTITLE]";
                                 const std::string text =
                                     rng_.Pick(std::vector<std::string>{"-q " + tags, "/fs " + tags, "-q", ""});
                                 Say("type command line " + Quoted(text));
                                 Message([&] {
                                     TEdit& box = *form.FlagBox(page);
                                     if (&box == &form.edSingleFileFlag) form.edSingleFileFlagKeyDown();
                                     if (&box == &form.edPlaylistFlag) form.edPlaylistFlagKeyDown();
                                     if (&box == &form.edSubtitleFlag) form.edSubtitleFlagKeyDown();
                                     box.Text = text;
                                     if (&box == &form.edSingleFileFlag) form.edSingleFileFlagChange();
                                     if (&box == &form.edPlaylistFlag) form.edPlaylistFlagChange();
                                     if (&box == &form.edSubtitleFlag) form.edSubtitleFlagChange();
                                 });
                             }});
            moves.push_back({form.btTest.Enabled ? 1 : 0, click("Test Command Line >>", &TfrmPlayerWizard::btTestClick)});
            break;
        case Page::TabPlaylistSup:
            moves.push_back({2, [&] {
                                 const int answer = rng_.Below(2);
                                 Say(answer == 0 ? "playlists: Yes" : "playlists: No");
                                 Message([&] { form.RadioClicked(form.RdPlaylist, answer); });
                             }});
            moves.push_back({form.cboPlaylist.Enabled ? 1 : 0, [&] {
                                 const std::string ext =
                                     rng_.Pick(std::vector<std::string>{".m3u", ".lst", ".bsl", "m3u"});
                                 Say("playlist format " + Quoted(ext));
                                 const auto at = std::find(form.cboPlaylist.Items.begin(),
                                                           form.cboPlaylist.Items.end(), ext);
                                 form.cboPlaylist.ItemIndex =
                                     at == form.cboPlaylist.Items.end()
                                         ? -1
                                         : static_cast<int>(at - form.cboPlaylist.Items.begin());
                                 form.cboPlaylist.Text = ext;
                                 Message([&] { form.cboPlaylistExit(); });
                             }});
            break;
        case Page::TabSubsSup:
            moves.push_back({2, [&] {
                                 const int answer = rng_.Below(2);
                                 Say(answer == 0 ? "subtitles: Yes" : "subtitles: No");
                                 Message([&] { form.RadioClicked(form.RdSubsSupport, answer); });
                             }});
            break;
        default:
            break;
    }
    Weighted(std::move(moves));
}

void World::ChooserModal(TfrmMonitor& form) {
    ++modalUp_;
    Say("chooser shown with " + std::to_string(form.lstFileTypes.Items.size()) + " rows:");
    ++indent_;
    const int moves = 1 + rng_.Below(5);
    for (int i = 0; i < moves && !chooser_->Ended(); ++i) {
        const int rows = static_cast<int>(form.lstFileTypes.Items.size());
        const int r = rng_.Chance(10) ? -1 : rng_.Below(rows);
        const std::string which = r < 0 ? "no row" : "row " + std::to_string(r) + " (" +
                                                         form.lstFileTypes.Items[static_cast<size_t>(r)].SubItems[0] +
                                                         ")";
        Weighted({
            {6,
             [&] {
                 Say("click " + which);
                 ++indent_;
                 Message([&] {
                     form.lstFileTypes.ItemIndex = r;
                     form.lstFileTypesMouseDown();
                 });
                 --indent_;
             }},
            {1,
             [&] {
                 Say("Enter on " + which);
                 ++indent_;
                 Message([&] {
                     form.lstFileTypes.ItemIndex = r;
                     form.lstFileTypesKeyDown(ListKey::Return);
                 });
                 --indent_;
             }},
            {2,
             [&] {
                 Say(rng_.Chance(50) ? "Cancel" : "Escape");
                 Message([&] { form.btCancelClick(); });
             }},
            {3, [&] { Meanwhile(Loop::Chooser, "while the chooser is shown"); }},
        });
    }
    if (!chooser_->Ended()) {
        Say("Cancel");
        Message([&] { form.btCancelClick(); });
        if (!chooser_->Ended()) Note(Finding{"modal-does-not-close", "the chooser's Cancel leaves it open"});
    }
    --indent_;
    --modalUp_;
}

int World::ChooserMenu(TfrmMonitor& form) {
    ++indent_;
    Meanwhile(Loop::ListMenu, "while its menu is open");
    using M = TfrmMonitor;
    std::vector<std::pair<TMenuPlace, const TMenuItem*>> usable;
    const TMenuPlace all[] = {{M::mnuPlay, M::mnuSelected}, {M::mnuPlay, M::mnuAudio}, {M::mnuPlay, M::mnuVideo},
                              {M::mnuPlay, M::mnuAll},      {M::mnuOpen, -1},         {M::mnuChoose, -1}};
    for (const TMenuPlace& place : all) {
        const TMenuItem& top = form.popOptions.Items[static_cast<size_t>(place.Item)];
        const TMenuItem& item = place.SubItem < 0 ? top : top.Items[static_cast<size_t>(place.SubItem)];
        if (item.Enabled) usable.push_back({place, &item});
    }
    int number = -1;
    if (usable.empty() || rng_.Chance(10)) {
        Say("menu: dismissed");
    } else {
        const auto chosen = rng_.Pick(usable);
        Say("menu: " + Plain(chosen.second->Caption));
        number = form.popOptions.NumberOf(chosen.first);
    }
    --indent_;
    return number;
}

void World::OptionsModal(TFrmOptions& form) {
    Note(CheckOptionsWindow(form));
    ++modalUp_;
    Say("options window:");
    ++indent_;
    auto state = [&](const char* name, std::function<void()> change) {
        return [this, name, change] {
            Say(name);
            change();  // a control without a handler: only its state changes
        };
    };
    auto click = [&](const char* name, void (TFrmOptions::*handler)()) {
        return [this, &form, name, handler] {
            Say(name);
            ++indent_;
            Message([&] { (form.*handler)(); });
            --indent_;
        };
    };
    const int moves = rng_.Below(6);
    for (int i = 0; i < moves && !options_->Ended(); ++i) {
        Weighted({
            {2, click("Drive:", &TFrmOptions::Settings_DrivesUserClick)},
            {2, click("All CD/DVD Drives", &TFrmOptions::Settings_DrivesAllClick)},
            {form.Settings_cbDrives.Enabled ? 3 : 0,
             [&] {
                 const int d = rng_.Below(static_cast<int>(form.Settings_cbDrives.Items.size()));
                 TCheckListItem& item = form.Settings_cbDrives.Items[static_cast<size_t>(d)];
                 Say(std::string(item.Checked ? "untick" : "tick") + " drive " + item.Text);
                 item.Checked = !item.Checked;
             }},
            {1, click("Minimize to System Tray", &TFrmOptions::rdOnPlayMinClick)},
            {1, click("Close Vexamo", &TFrmOptions::rdOnPlayCloseClick)},
            {1, click("Always use my last Monitor Status", &TFrmOptions::rdMonitorDefaultClick)},
            {1, click("Always Ready", &TFrmOptions::rdMonitorOnClick)},
            {form.Settings_CDAutorun.Enabled ? 3 : 0,
             state("tick AutoPlay", [&] { form.Settings_CDAutorun.Checked = !form.Settings_CDAutorun.Checked; })},
            {3, state("tick Run on Windows Startup", [&] { form.Settings_Startup.Checked = !form.Settings_Startup.Checked; })},
            {1, state("tick subtitles", [&] { form.Settings_UseSubs.Checked = !form.Settings_UseSubs.Checked; })},
            {1, click("subtitles folder...", &TFrmOptions::Settings_SubsPathClick)},
            {1, click("None", &TFrmOptions::btNoneClick)},
            {2, [&] { Meanwhile(Loop::Options, "while the options window is open"); }},
        });
    }
    if (!options_->Ended()) {
        if (rng_.Chance(65)) click("Ok", &TFrmOptions::btOkClick)();
        // A failed OK leaves the window open; the user then cancels it.
        if (!options_->Ended()) click(rng_.Chance(50) ? "Cancel" : "Escape", &TFrmOptions::btCancelClick)();
        if (!options_->Ended()) Note(Finding{"modal-does-not-close", "the options window's Cancel leaves it open"});
    }
    --indent_;
    --modalUp_;
}

void World::AboutModal(TAboutBox& box) {
    ++modalUp_;
    Say("about box:");
    ++indent_;
    if (rng_.Chance(30)) {
        Say("click the home page");
        Message([&] { box.lblUrlClick(); });
    }
    Meanwhile(Loop::About, "while the about box is open");
    if (!about_->Ended()) {
        Say("OK");
        Message([&] { box.OKButtonClick(); });
    }
    --indent_;
    --modalUp_;
}

}  // namespace vexamo::sequence
