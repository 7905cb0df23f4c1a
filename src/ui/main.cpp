#include "ui/main.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "../../resources/Version.h"
#include "app/Globals.h"
#include "app/WindowFactory.h"
#include "model/PlayersCfg.h"
#include "model/User.h"
#include "model/VexaCfg.h"
#include "platform/Dispatch.h"
#include "platform/Mirror.h"
#include "ui/PlayerWizard.h"
#include "ui/main_res.h"

namespace vexamo {

const std::string VersionPanelText = "V." VEXAMO_VERSION_TEXT;

namespace {

std::string PlayersPath() { return ProgramFolder + PlayersFileName; }
std::string SelectionPath() { return ProgramFolder + SelectionFileName; }

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string UpperCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

TMenuItem Item(const char* name, const char* caption, bool enabled = true) {
    TMenuItem item;
    item.Name = name;
    item.Caption = caption;
    item.Enabled = enabled;
    return item;
}

}  // namespace

int PlayerPictureIndex(const std::string& indexValue) {
    if (indexValue.empty()) return -1;
    // Read as the catalogue reads its numbers, so "$3" is picture 3 here as it is index 3 there.
    const std::optional<std::int32_t> n = ParseInteger(indexValue);
    return n && *n >= 0 && *n < PlayerPictureCount ? *n : 0;
}

std::string CommandLinesText(const std::string& name, const std::string& single, const std::string& playlist,
                             const std::string& subtitles) {
    auto withPlayer = [](const std::string& templ) { return templ.empty() ? "N/A" : "[PLAYER] " + templ; };
    return UpperCase(name) + ":" + "\r\r" + "Single Files: " + single + "\r" + "Playlists:      " +
           withPlayer(playlist) + "\r" + "Subtitles:     " + withPlayer(subtitles);
}

TfrmMain::TfrmMain(TrayAgent& agent, const FrmMainHostFactory& makeHost) : agent_(agent), makeHost_(makeHost) {
    lblAbout.Caption = "About Us...";

    lstPlayers.Hint = "Choose or Add a new Player from the List";
    lstPlayers.ShowColumnHeaders = false;
    lstPlayers.Columns = {{"", 20}, {"Available Player(s)", 178}};

    chkExtsAudio.Hint = "Choose the 'Audio' extensios you want to use";
    chkExtsAudio.Enabled = false;
    // Four narrow columns of four rows hold today's formats after the first twelve.
    chkExtsAudio.Columns = 4;
    LblSelAllAudio.Caption = SelectAllText;
    ChkExtsVideo.Hint = "Choose the 'Video' extensios you want to use";
    ChkExtsVideo.Enabled = false;
    ChkExtsVideo.Columns = 4;
    LblSelAllVideo.Caption = SelectAllText;
    chkDiscs.Hint = "Choose the discs this player plays as a whole, with their menus";
    chkDiscs.Enabled = false;
    chkDiscs.Columns = 2;

    chkPrompt.Caption = "Yes, Prompt this Player";
    chkPrompt.Hint = "Prompt when files associated with this player are detected";
    chkPrompt.Enabled = false;

    btAdd.Caption = "&Add to Vexamo";
    btAdd.Hint = "Add Player to the monitoring list";
    btAdd.Enabled = false;

    LstLoadedPlayers.Hint = "Players in this list will be used to play detected files";
    LstLoadedPlayers.Checkboxes = true;
    LstLoadedPlayers.Columns = {{"Prompt", 58}, {"Media Player", 200}, {"File Type(s)", 100}, {"Extensions", 250}};

    rdNoPlayerPriority.Caption = "No Priority";
    rdNoPlayerPriority.Hint =
        "When this option is checked Vexamo' will prompt you to select the Player to use you when files "
        "associated with diferent Players are detected";
    rdNoPlayerPriority.Enabled = false;
    rdNoPlayerPriority.Checked = true;
    rdPlayerPriority.Caption = "Give Priority to:";
    rdPlayerPriority.Hint =
        "When this option is checked Vexamo' will give priority to the selected Player when files associated "
        "with diferent Players are detected";
    rdPlayerPriority.Enabled = false;
    cboDifPlayer.Hint =
        "Choose the Player you want to use when files associated with diferent Players are detected";
    cboDifPlayer.Enabled = false;

    // Neither is checked at first, so the first choice of UpdateMonitorControls runs its click
    // handler and the status bar gets its first status.
    RdMonitorOn.Caption = "&On";
    RdMonitorOn.Hint = "Set Monitoring ON";
    RdMonitorOff.Caption = "O&ff";
    RdMonitorOff.Hint = "Set Monitoring OFF";

    btSettings.Caption = "&Settings...";
    btScanNow.Caption = "Scan &Now";
    btScanNow.Hint = "Scan CD now !";
    btScanNow.Enabled = false;
    ProgBar.Visible = false;
    btExit.Caption = "E&xit";

    stStatus.Panels = {{"", 100}, {"", 180}, {"", 250}, {"", 50, TAlignment::Center}};

    PopPlayer.Items = {Item("PopPlayerEdit", "Edit Player..."), Item("PopPlayerDelete", "Delete"),
                       Item("N1", "-"), Item("popPlayerResetAll", "Reset Players", false)};
    PopListOptions.Items = {Item("popLstDelete", "&Delete"), Item("popLstDelAll", "Delete &All"), Item("N2", "-"),
                            Item("popCmdLines", "&View Command Lines")};

    lblAbout.OnClick = [this] { lblAboutClick(); };
    lstPlayers.OnClick = [this] { lstPlayersClick(); };
    lstPlayers.OnSelectByKey = [this](int row) { lstPlayersRowWalkedTo(row); };
    lstPlayers.PopupMenu = &PopPlayer;
    PopPlayer.OnPopup = [this] { PopPlayerPopup(); };
    PopPlayer.OnClick = [this](int number) { PopPlayerClick(number); };
    chkExtsAudio.OnClickCheck = [this] { chkExtsAudioClickCheck(); };
    LblSelAllAudio.OnClick = [this] { LblSelAllAudioClick(); };
    ChkExtsVideo.OnClickCheck = [this] { ChkExtsVideoClickCheck(); };
    LblSelAllVideo.OnClick = [this] { LblSelAllVideoClick(); };
    chkDiscs.OnClickCheck = [this] { chkDiscsClickCheck(); };
    btAdd.OnClick = [this] { btAddClick(); };
    LstLoadedPlayers.OnItemChecked = [this](int row, bool checked) { LstLoadedPlayersCheckClick(row, checked); };
    LstLoadedPlayers.PopupMenu = &PopListOptions;
    PopListOptions.OnPopup = [this] { PopListOptionsPopup(); };
    PopListOptions.OnClick = [this](int number) { PopListOptionsClick(number); };
    for (TRadioButton* radio : {&rdNoPlayerPriority, &rdPlayerPriority, &RdMonitorOn, &RdMonitorOff})
        radio->OnClick = [this, radio] { RadioClicked(*radio); };
    cboDifPlayer.OnChange = [this] { cboDifPlayerChange(); };
    btSettings.OnClick = [this] { btSettingsClick(); };
    btScanNow.OnClick = [this] { btScanNowClick(); };
    btExit.OnClick = [this] { btExitClick(); };
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::BindControls(RecordMirror& m) {
    m.BindCaption(Caption);
    m.BindLink(IDC_MAIN_LBLABOUT, lblAbout);
    m.Bind(IDC_MAIN_LSTPLAYERS, lstPlayers);
    m.Bind(IDC_MAIN_CHKEXTSAUDIO, chkExtsAudio);
    m.BindLink(IDC_MAIN_LBLSELALLAUDIO, LblSelAllAudio);
    m.Bind(IDC_MAIN_CHKEXTSVIDEO, ChkExtsVideo);
    m.BindLink(IDC_MAIN_LBLSELALLVIDEO, LblSelAllVideo);
    m.Bind(IDC_MAIN_CHKDISCS, chkDiscs);
    m.Bind(IDC_MAIN_CHKPROMPT, chkPrompt);
    m.Bind(IDC_MAIN_BTADD, btAdd);
    m.Bind(IDC_MAIN_LSTLOADEDPLAYERS, LstLoadedPlayers);
    m.Bind(IDC_MAIN_RDNOPLAYERPRIORITY, rdNoPlayerPriority);
    m.Bind(IDC_MAIN_RDPLAYERPRIORITY, rdPlayerPriority);
    m.Bind(IDC_MAIN_CBODIFPLAYER, cboDifPlayer);
    m.Bind(IDC_MAIN_RDMONITORON, RdMonitorOn);
    m.Bind(IDC_MAIN_RDMONITOROFF, RdMonitorOff);
    m.Bind(IDC_MAIN_BTSETTINGS, btSettings);
    m.Bind(IDC_MAIN_BTSCANNOW, btScanNow);
    m.Bind(IDC_MAIN_PROGBAR, ProgBar);
    m.Bind(IDC_MAIN_BTEXIT, btExit);
    m.Bind(IDC_MAIN_STSTATUS, stStatus);
}

// --- window ------------------------------------------------------------------------------------

void TfrmMain::FormCreate() {
    creating_ = true;
    try {
        Globals.Vexamo->Create();
        FillExtensionLists();
        LoadSelection();
        FillPlayerList();
        UpdateMonitorControls();
        SetStatusText(PanelVersion, VersionPanelText);
    } catch (...) {
        creating_ = false;
        throw;
    }
    creating_ = false;
}

void TfrmMain::FormActivate() {
    // While the window is on screen the tray icon would only duplicate it.
    agent_.RemoveTrayIcon();
}

void TfrmMain::FormClose() {
    std::unique_ptr<TfrmMain> self;
    if (Globals.frmMain.get() == this) self = std::move(Globals.frmMain);
    if (host_) host_->Hide();
    agent_.AddTrayIcon();
    // Freed at once when nothing runs on it; nothing may touch members after this.
    Dispatch::Release(std::move(self));
}

void TfrmMain::Show() {
    Visible = true;
    // A window made for a scan run is never shown: only one that is gets a real window, which
    // costs a disc's arrival more than the rest of its run besides the walk.
    if (!host_ && makeHost_) host_ = makeHost_(*this);
    if (host_) host_->Show();
}

void TfrmMain::Close() {
    Visible = false;
    FormClose();
}

bool TfrmMain::WMSysCommand(SysCommand command) {
    // Minimising would leave a window nobody looks at while the tray icon stays away: both the
    // close box and the minimise box end the window, and the agent goes back to the tray.
    if (command == SysCommand::Other) return false;
    SaveMonitorState(Caller::ConfigWindow);
    return true;
}

void TfrmMain::SaveMonitorState(Caller) {
    // The window closes whether or not the settings could be written: kept open for a failed
    // write, a hidden window would keep the tray icon away for good.
    std::string failure;
    try {
        Globals.Vexamo->SaveSettings(ProgramFolder, SettingsFileName, false);
    } catch (const std::exception& e) {
        failure = e.what();
    }
    if (!failure.empty()) AppEventsException(failure);
    Globals.SelectedPlayers.reset();
    Globals.CurrentPlayer = nullptr;
    Close();
}

void TfrmMain::SetStatusText(int panel, const std::string& text) {
    if (panel >= 0 && panel < static_cast<int>(stStatus.Panels.size())) stStatus.Panels[panel].Text = text;
}

void TfrmMain::ShowStatus(const std::string& device, const std::string& statusText,
                          const std::optional<std::string>& labelPanel, bool scanNowEnabled) {
    SetStatusText(PanelDevice, device);
    SetStatusText(PanelStatus, statusText);
    if (labelPanel) SetStatusText(PanelMessage, *labelPanel);
    btScanNow.Enabled = scanNowEnabled;
}

// --- internal operations -------------------------------------------------------------------------

void TfrmMain::FillExtensionLists() {
    chkExtsAudio.Items.clear();
    ChkExtsVideo.Items.clear();
    for (const std::string& ext : KnownExtensions) {
        TCheckListBox& list = KindOfExtension(ext) == 1 ? ChkExtsVideo : chkExtsAudio;
        list.Items.push_back({ext, false, true});
    }
    chkDiscs.Items.clear();
    for (const std::string& kind : DiscKindNames) chkDiscs.Items.push_back({kind, false, false});
}

void TfrmMain::LoadSelection() {
    cboDifPlayer.Items.clear();
    cboDifPlayer.Select(-1);
    LstLoadedPlayers.Items.clear();
    LstLoadedPlayers.ItemIndex = -1;

    Globals.SelectedPlayers = vexamo::LoadSelection(ProgramFolder);
    const TSelectedPlayer& selection = *Globals.SelectedPlayers;
    for (const auto& user : selection.Players) {
        AddLoadedPlayerRow(*user);
        for (const TExtension& e : user->Extensions) MarkExtension(e.Ext, true, false);
        UpdatePriorityControls(selection, user->Player->Name);
    }

    if (selection.Players.empty()) {
        // A player that is only briefly unreachable (a drive not yet mounted, a reinstall) keeps
        // its section, so the user's list comes back with it. Only a file that was read and holds
        // no section at all goes; one that cannot be read is never deleted.
        const std::string path = SelectionPath();
        if (Sys().FileExists(path) && Sys().ReadTextFile(path) && ReadIniSections(path).empty())
            Sys().DeleteFile(path);
    }

    // The scan follows the stored priority, so it must be the one the window shows: where the
    // window shows "No Priority", the stored choice becomes that too, and while a priority is
    // given a stored player the list does not hold gives way to the entry the combo box shows.
    // Without one the stored player is no one's business yet: opening the window writes nothing.
    const TSettings& settings = *Globals.Vexamo->Settings;
    const bool restored = !selection.Players.empty() && settings.UserPriority;
    const bool choice = restored && settings.Priority.Choice;
    rdPlayerPriority.Checked = choice;
    rdNoPlayerPriority.Checked = !choice;
    if (restored) cboDifPlayer.Enabled = choice;
    cboDifPlayer.Select(PriorityEntry());
    StorePriority(settings.UserPriority, choice, choice ? ShownPriorityPlayer() : settings.Priority.Player);
}

void TfrmMain::AddLoadedPlayerRow(const TUserPlayer& userPlayer) {
    std::string kinds;
    if (userPlayer.CountKind(0) > 0) kinds = MediaKinds[0];
    if (userPlayer.CountKind(1) > 0) kinds += (kinds.empty() ? "" : "/") + MediaKinds[1];
    std::string exts, discs;
    for (const TExtension& e : userPlayer.Extensions)
        if (e.Disc == DiscKind::None)
            exts += e.Ext;
        else
            discs += (discs.empty() ? "" : ", ") + e.Ext;
    if (!discs.empty()) exts += " " + discs;

    TListItem row;
    row.SubItems = {userPlayer.Player->Name, kinds, Trim(exts)};
    row.Checked = userPlayer.Prompt == PromptYes;
    LstLoadedPlayers.Items.push_back(std::move(row));
}

void TfrmMain::FillPlayerList() {
    DiscoverDefaultPlayers(PlayersPath());
    const IniFile catalogue = ReadIniFile(PlayersPath()), selection = ReadIniFile(SelectionPath());
    const StringList players = catalogue.Sections();

    // The rows may stand for other players now: nothing of the last choice may outlive them.
    lstPlayers.Items.clear();
    ClearPlayerChoice();
    ResetAddControls();
    TListItem first;
    first.SubItems = {AddNewPlayerRow};
    lstPlayers.Items.push_back(first);

    for (const std::string& name : players) {
        if (selection.Section(name).Exists()) continue;
        const IniSection player = catalogue.Section(name);
        if (player.String("exe").empty()) continue;
        TListItem row;
        row.SubItems = {name};
        row.ImageIndex = PlayerPictureIndex(player.String("index"));
        lstPlayers.Items.push_back(std::move(row));
    }
}

void TfrmMain::MarkExtension(const std::string& extension, bool checked, bool enabled) {
    // An extension the program does not know has no item in any list.
    for (TCheckListBox* list : {&chkExtsAudio, &ChkExtsVideo, &chkDiscs})
        for (TCheckListItem& item : list->Items)
            if (item.Text == extension) {
                item.Checked = checked;
                item.Enabled = enabled;
            }
}

StringList TfrmMain::CheckedExtensions() const {
    StringList checked;
    for (const TCheckListBox* list : {&chkExtsAudio, &ChkExtsVideo, &chkDiscs})
        for (const TCheckListItem& item : list->Items)
            if (item.Checked && item.Enabled) checked.push_back(item.Text);
    return checked;
}

StringList TfrmMain::TakeCheckedExtensions() {
    StringList taken;
    for (TCheckListBox* list : {&chkExtsAudio, &ChkExtsVideo, &chkDiscs})
        for (TCheckListItem& item : list->Items)
            if (item.Checked && item.Enabled) {
                taken.push_back(item.Text);
                item.Enabled = false;
            }
    return taken;
}

bool TfrmMain::AddPlayerToSelection(const std::string& name, const StringList& extensions) {
    TUserPlayer* user = AddToSelection(*Globals.SelectedPlayers, ProgramFolder, name, extensions, chkPrompt.Checked);
    if (!user) return Globals.Vexamo->Settings->UserPriority;
    TakeCheckedExtensions();
    AddLoadedPlayerRow(*user);
    return UpdatePriorityControls(*Globals.SelectedPlayers, name);
}

bool TfrmMain::UpdatePriorityControls(const TSelectedPlayer& selection, const std::string& name) {
    const bool result = selection.Players.size() >= 2 && !selection.AnyPrompt();
    if (std::find(cboDifPlayer.Items.begin(), cboDifPlayer.Items.end(), name) == cboDifPlayer.Items.end())
        cboDifPlayer.Items.push_back(name);
    rdNoPlayerPriority.Enabled = result;
    rdPlayerPriority.Enabled = result;
    cboDifPlayer.Select(PriorityEntry());
    cboDifPlayer.Enabled = false;
    if (rdPlayerPriority.Checked && rdPlayerPriority.Enabled) cboDifPlayer.Enabled = true;
    return result;
}

void TfrmMain::UpdateMonitorControls() {
    ResetAddControls();
    // The one place that decides on "Reset Players".
    PopPlayer.Items[popPlayerResetAll].Enabled = ResetPlayersAllowed();
    if (LstLoadedPlayers.Items.empty()) {
        RdMonitorOn.Enabled = false;
        CheckRadio(RdMonitorOff, RdMonitorOn, &TfrmMain::RdMonitorOffClick);
    } else {
        RdMonitorOn.Enabled = true;
        if (Globals.Vexamo->Status == MonitoringOff)
            CheckRadio(RdMonitorOff, RdMonitorOn, &TfrmMain::RdMonitorOffClick);
        else
            CheckRadio(RdMonitorOn, RdMonitorOff, &TfrmMain::RdMonitorOnClick);
    }
    agent_.EnableMonitoringItem(RdMonitorOn.Enabled);
}

void TfrmMain::ResetAddControls() {
    // Ticks left on free items by an abandoned choice would go to the next player added; the
    // disabled items belong to monitored players and keep theirs.
    for (TCheckListBox* list : {&chkExtsAudio, &ChkExtsVideo, &chkDiscs}) {
        for (TCheckListItem& item : list->Items)
            if (item.Enabled) item.Checked = false;
        list->Enabled = false;
    }
    LblSelAllAudio.Caption = LblSelAllVideo.Caption = SelectAllText;
    chkPrompt.Enabled = false;
    chkPrompt.Checked = false;
    btAdd.Enabled = false;
    CheckedCount = 0;
}

void TfrmMain::ClearPlayerChoice() {
    lstPlayers.ItemIndex = -1;
    SelectedName.clear();
    SelectedIndex = -1;
}

bool TfrmMain::ChosenPlayerAvailable() const {
    const int row = lstPlayers.ItemIndex;
    if (row <= 0 || row >= static_cast<int>(lstPlayers.Items.size())) return false;
    if (SelectedName.empty() || RowPlayerName(lstPlayers, row) != SelectedName) return false;
    return IniSectionExists(PlayersPath(), SelectedName) && !ReadIniString(PlayersPath(), SelectedName, "exe").empty();
}

int TfrmMain::PriorityEntry() const {
    const std::vector<std::string>& entries = cboDifPlayer.Items;
    const auto at = std::find(entries.begin(), entries.end(), Globals.Vexamo->Settings->Priority.Player);
    if (at != entries.end()) return static_cast<int>(at - entries.begin());
    return entries.empty() ? -1 : 0;
}

std::string TfrmMain::ShownPriorityPlayer(const std::string& removed) const {
    const int entry = PriorityEntry();
    if (entry >= 0) return cboDifPlayer.Items[entry];
    const std::string& stored = Globals.Vexamo->Settings->Priority.Player;
    return stored == removed ? std::string() : stored;
}

void TfrmMain::StorePriority(bool userPriority, bool choice, const std::string& player) {
    TSettings& settings = *Globals.Vexamo->Settings;
    if (settings.UserPriority != userPriority || settings.Priority.Choice != choice ||
        settings.Priority.Player != player) {
        const bool userBefore = settings.UserPriority;
        const TPriority before = settings.Priority;
        settings.UserPriority = userPriority;
        settings.Priority = TPriority{choice, player};
        Store([] { Globals.Vexamo->SavePriority(ProgramFolder, SettingsFileName); },
              [&] {
                  settings.UserPriority = userBefore;
                  settings.Priority = before;
                  cboDifPlayer.Select(PriorityEntry());
              });
    }
    cboDifPlayer.Select(PriorityEntry());
}

void TfrmMain::SwitchMonitoring(std::uint8_t status) {
    TVexamo& vexamo = *Globals.Vexamo;
    const std::uint8_t before = vexamo.Status;
    // Only a change is written, so opening the window, which checks the stored status's radio
    // button, writes nothing.
    if (status != before) {
        vexamo.Status = status;
        Store([&] { vexamo.SaveSettings(ProgramFolder, SettingsFileName, true); },
              [&] {
                  vexamo.Status = before;
                  RdMonitorOn.Checked = before == MonitoringOn;
                  RdMonitorOff.Checked = before != MonitoringOn;
              });
    }
    agent_.UpdateStatus(Caller::ConfigWindow);
}

void TfrmMain::Store(const std::function<void()>& write, const std::function<void()>& undo) {
    try {
        write();
    } catch (const std::exception& e) {
        if (!creating_) {
            undo();
            throw;
        }
        // What the window derived from the files it is built from stays; the file catches up at
        // the next save.
        HandleException(e);
    }
}

void TfrmMain::ApplyPriorityChoice() {
    const bool given = !rdNoPlayerPriority.Checked;
    TSettings& settings = *Globals.Vexamo->Settings;
    const bool userBefore = settings.UserPriority;
    const TPriority before = settings.Priority;
    const bool comboBefore = cboDifPlayer.Enabled;
    settings.Priority.Choice = given;
    settings.UserPriority = given;
    // With nothing picked yet the priority goes to the player the combo box shows.
    settings.Priority.Player = ShownPriorityPlayer();
    Store([] { Globals.Vexamo->SaveSettings(ProgramFolder, SettingsFileName, false); },
          [&] {
              settings.UserPriority = userBefore;
              settings.Priority = before;
              rdPlayerPriority.Checked = before.Choice;
              rdNoPlayerPriority.Checked = !before.Choice;
              cboDifPlayer.Enabled = comboBefore;
          });
    cboDifPlayer.Enabled = given;
    cboDifPlayer.Select(PriorityEntry());
}

void TfrmMain::CheckRadio(TRadioButton& radio, TRadioButton& other, void (TfrmMain::*click)()) {
    if (radio.Checked) return;
    radio.Checked = true;
    other.Checked = false;
    (this->*click)();
}

void TfrmMain::DialogKey(TDialogKey key, const TControl* focused) {
    if (key == TDialogKey::Escape)
        WMSysCommand(SysCommand::Close);
    else if (focused == &lstPlayers)
        lstPlayersClick();
}

void TfrmMain::RadioClicked(TRadioButton& radio) {
    if (&radio == &RdMonitorOn) CheckRadio(RdMonitorOn, RdMonitorOff, &TfrmMain::RdMonitorOnClick);
    if (&radio == &RdMonitorOff) CheckRadio(RdMonitorOff, RdMonitorOn, &TfrmMain::RdMonitorOffClick);
    if (&radio == &rdNoPlayerPriority)
        CheckRadio(rdNoPlayerPriority, rdPlayerPriority, &TfrmMain::rdNoPlayerPriorityClick);
    if (&radio == &rdPlayerPriority) CheckRadio(rdPlayerPriority, rdNoPlayerPriority, &TfrmMain::rdPlayerPriorityClick);
}

void TfrmMain::RunPlayerWizard(const std::string& playerName) {
    // Modal over this window; freed when it has closed.
    const std::unique_ptr<TfrmPlayerWizard> wizard = Windows().NewPlayerWizard();
    if (playerName.empty())
        wizard->NewPlayer();
    else
        wizard->EditPlayer(true, playerName);
}

std::string TfrmMain::RowPlayerName(const TListView& list, int row) const {
    if (row < 0 || row >= static_cast<int>(list.Items.size()) || list.Items[row].SubItems.empty()) return {};
    return Trim(list.Items[row].SubItems[0]);
}

// --- available players ---------------------------------------------------------------------------

void TfrmMain::lstPlayersClick() {
    if (lstPlayers.ItemIndex < 0 || lstPlayers.ItemIndex >= static_cast<int>(lstPlayers.Items.size())) {
        // A click on empty space keeps the player chosen before, if there is one.
        lstPlayers.ItemIndex =
            SelectedIndex >= 0 && SelectedIndex < static_cast<int>(lstPlayers.Items.size()) ? SelectedIndex : -1;
        return;
    }
    SelectedName = RowPlayerName(lstPlayers, lstPlayers.ItemIndex);
    SelectedIndex = lstPlayers.ItemIndex;
    if (SelectedIndex == 0) {
        chkPrompt.Enabled = false;
        btAdd.Enabled = false;
        RunPlayerWizard("");
        FillPlayerList();
        chkExtsAudio.Enabled = false;
        ChkExtsVideo.Enabled = false;
        chkDiscs.Enabled = false;
    } else {
        OfferDiscs();
        if (CheckedCount > 0) {
            chkPrompt.Enabled = true;
            btAdd.Enabled = true;
        }
        chkExtsAudio.Enabled = true;
        ChkExtsVideo.Enabled = true;
        chkDiscs.Enabled = true;
    }
}

void TfrmMain::OfferDiscs() {
    TPlayer player;
    player.LoadFromIni(PlayersPath(), SelectedName);
    for (size_t i = 0; i < chkDiscs.Items.size(); ++i) {
        TCheckListItem& item = chkDiscs.Items[i];
        const bool taken = std::any_of(Globals.SelectedPlayers->Players.begin(), Globals.SelectedPlayers->Players.end(),
                                       [&](const auto& user) { return user->IndexOfExtension(item.Text) >= 0; });
        if (taken) {
            item.Checked = true;
            item.Enabled = false;
            continue;
        }
        // A tick given while another player was chosen goes with the kind this one cannot play.
        item.Enabled = !player.Flags->DiscTemplate(static_cast<DiscKind>(i)).empty();
        if (!item.Enabled && item.Checked) {
            item.Checked = false;
            if (CheckedCount > 0) --CheckedCount;
        }
    }
    if (CheckedCount == 0) {
        chkPrompt.Enabled = false;
        btAdd.Enabled = false;
    }
}

void TfrmMain::lstPlayersRowWalkedTo(int row) {
    if (row > 0) lstPlayersClick();
}

void TfrmMain::PopPlayerClick(int number) {
    const TMenuPlace place = PopPlayer.PlaceOf(number);
    if (place.Item < 0 || place.SubItem >= 0 || !PopPlayer.Items[place.Item].Enabled) return;
    switch (place.Item) {
        case PopPlayerEdit: PopPlayerEditClick(); break;
        case PopPlayerDelete: PopPlayerDeleteClick(); break;
        case popPlayerResetAll: popPlayerResetAllClick(); break;
        default: break;
    }
}

void TfrmMain::PopPlayerPopup() {
    const bool player = lstPlayers.ItemIndex > 0 && lstPlayers.ItemIndex < static_cast<int>(lstPlayers.Items.size());
    if (player) {
        SelectedName = RowPlayerName(lstPlayers, lstPlayers.ItemIndex);
        SelectedIndex = lstPlayers.ItemIndex;
    }
    PopPlayer.Items[PopPlayerEdit].Enabled = player;
    PopPlayer.Items[PopPlayerDelete].Enabled = player;
}

void TfrmMain::PopPlayerEditClick() {
    // Without a chosen player the wizard would start on a new one.
    if (SelectedName.empty()) return;
    RunPlayerWizard(SelectedName);
    FillPlayerList();
}

void TfrmMain::PopPlayerDeleteClick() {
    if (SelectedName.empty()) return;
    const std::string question = "Are you sure you want to delete \"" + SelectedName + "\" ?";
    if (Sys().MessageBox(MsgKind::Confirmation, question, MsgButtons::YesNo) != MsgResult::Yes) return;
    DeleteIniSectionOrFile(PlayersPath(), SelectedName);
    FillPlayerList();
}

void TfrmMain::popPlayerResetAllClick() {
    if (!ResetPlayersAllowed()) return;
    // While the question is up, a player may join the monitoring list (the tray's windows still
    // run): the answer counts only if Reset is still allowed.
    if (Sys().MessageBox(MsgKind::Confirmation, ResetPlayersQuestion, MsgButtons::YesNo) == MsgResult::Yes &&
        ResetPlayersAllowed())
        Sys().DeleteFile(PlayersPath());
    FillPlayerList();
}

// --- extensions and adding -----------------------------------------------------------------------

void TfrmMain::ExtsClickCheck(TCheckListBox& list, TLabel& selectAll) {
    if (list.ItemIndex < 0 || list.ItemIndex >= static_cast<int>(list.Items.size())) return;
    bool flag = true;
    if (list.Items[list.ItemIndex].Checked) {
        ++CheckedCount;
    } else {
        if (CheckedCount > 0) --CheckedCount;
        if (CheckedCount == 0) {
            selectAll.Caption = SelectAllText;
            flag = false;
        }
    }
    if (static_cast<int>(list.Items.size()) == CheckedCount) selectAll.Caption = UnselectAllText;
    btAdd.Enabled = flag;
    chkPrompt.Enabled = flag;
}

void TfrmMain::chkExtsAudioClickCheck() { ExtsClickCheck(chkExtsAudio, LblSelAllAudio); }
void TfrmMain::ChkExtsVideoClickCheck() { ExtsClickCheck(ChkExtsVideo, LblSelAllVideo); }
void TfrmMain::chkDiscsClickCheck() {
    // The disc kinds have no "Select All" of their own: a label nobody sees takes its caption.
    TLabel none;
    ExtsClickCheck(chkDiscs, none);
}

void TfrmMain::SelectAllClick(TCheckListBox& list, TLabel& selectAll, void (TfrmMain::*clickCheck)()) {
    const bool tick = selectAll.Caption == SelectAllText;
    if (!list.Enabled) return;
    selectAll.Caption = tick ? UnselectAllText : SelectAllText;
    for (size_t i = 0; i < list.Items.size(); ++i) {
        // Disabled items belong to players already in the monitoring list.
        if (!list.Items[i].Enabled || list.Items[i].Checked == tick) continue;
        list.Items[i].Checked = tick;
        list.ItemIndex = static_cast<int>(i);
        (this->*clickCheck)();
    }
}

void TfrmMain::LblSelAllAudioClick() {
    SelectAllClick(chkExtsAudio, LblSelAllAudio, &TfrmMain::chkExtsAudioClickCheck);
}
void TfrmMain::LblSelAllVideoClick() {
    SelectAllClick(ChkExtsVideo, LblSelAllVideo, &TfrmMain::ChkExtsVideoClickCheck);
}

void TfrmMain::btAddClick() {
    if (!ChosenPlayerAvailable()) {
        // No row stands for a catalogue player any more: the ticks are dropped rather than given
        // to a name that may no longer be in the catalogue or to a row it no longer names.
        UpdateMonitorControls();
        return;
    }
    const StringList extensions = CheckedExtensions();
    if (extensions.empty()) {
        Sys().MessageBox(MsgKind::Plain, NoExtensionsText, MsgButtons::Ok);
        UpdateMonitorControls();
        return;
    }
    const int row = lstPlayers.ItemIndex;
    const std::string name = SelectedName;
    const bool userPriority = AddPlayerToSelection(name, extensions);
    lstPlayers.Items.erase(lstPlayers.Items.begin() + row);
    ClearPlayerChoice();
    UpdateMonitorControls();
    const TSettings& settings = *Globals.Vexamo->Settings;
    StorePriority(userPriority, settings.Priority.Choice, ShownPriorityPlayer());
}

// --- monitoring list -----------------------------------------------------------------------------

void TfrmMain::LstLoadedPlayersChange(int row) {
    if (!Globals.SelectedPlayers) return;
    const std::string name = RowPlayerName(LstLoadedPlayers, row);
    if (name.empty()) return;
    const int at = Globals.SelectedPlayers->IndexOfPlayer(name);
    if (at < 0) return;
    TUserPlayer& user = *Globals.SelectedPlayers->Players[at];
    const std::uint8_t before = user.Prompt;
    user.Prompt = LstLoadedPlayers.Items[row].Checked ? PromptYes : PromptNo;
    try {
        user.SaveToIni(SelectionPath());
    } catch (...) {
        // The file keeps the old prompt, so the player and its row do too.
        user.Prompt = before;
        LstLoadedPlayers.Items[row].Checked = before == PromptYes;
        throw;
    }
    const bool userPriority = UpdatePriorityControls(*Globals.SelectedPlayers, name);
    const TSettings& settings = *Globals.Vexamo->Settings;
    StorePriority(userPriority, settings.Priority.Choice, ShownPriorityPlayer());
}

void TfrmMain::LstLoadedPlayersCheckClick(int row, bool checked) {
    if (row < 0 || row >= static_cast<int>(LstLoadedPlayers.Items.size())) return;
    if (LstLoadedPlayers.Items[row].Checked == checked) return;
    LstLoadedPlayers.Items[row].Checked = checked;
    LstLoadedPlayersChange(row);
}

void TfrmMain::PopListOptionsClick(int number) {
    const TMenuPlace place = PopListOptions.PlaceOf(number);
    if (place.Item < 0 || place.SubItem >= 0 || !PopListOptions.Items[place.Item].Enabled) return;
    switch (place.Item) {
        case popLstDelete: popLstDeleteClick(); break;
        case popLstDelAll: popLstDelAllClick(); break;
        case popCmdLines: popCmdLinesClick(); break;
        default: break;
    }
}

void TfrmMain::PopListOptionsPopup() {
    const int rows = static_cast<int>(LstLoadedPlayers.Items.size());
    const bool selected = LstLoadedPlayers.ItemIndex >= 0 && LstLoadedPlayers.ItemIndex < rows;
    PopListOptions.Items[popLstDelete].Enabled = selected;
    PopListOptions.Items[popLstDelAll].Enabled = selected && rows != 1;
    PopListOptions.Items[popCmdLines].Enabled = selected;
}

void TfrmMain::popLstDeleteClick() {
    const int row = LstLoadedPlayers.ItemIndex;
    const std::string name = RowPlayerName(LstLoadedPlayers, row);
    if (name.empty() || !Globals.SelectedPlayers) return;
    // The file first: while its section cannot be erased the player keeps its row and its
    // extensions, which must not be given to another player meanwhile.
    DeleteIniSectionOrFile(SelectionPath(), name);
    const int at = Globals.SelectedPlayers->IndexOfPlayer(name);
    if (at >= 0)
        for (const TExtension& e : Globals.SelectedPlayers->Players[at]->Extensions) MarkExtension(e.Ext, false, true);
    Globals.SelectedPlayers = Globals.SelectedPlayers->Without(name);
    const bool userPriority = UpdatePriorityControls(*Globals.SelectedPlayers, name);
    auto& entries = cboDifPlayer.Items;
    entries.erase(std::remove(entries.begin(), entries.end(), name), entries.end());
    cboDifPlayer.Select(PriorityEntry());
    LstLoadedPlayers.Items.erase(LstLoadedPlayers.Items.begin() + row);
    LstLoadedPlayers.ItemIndex = -1;
    FillPlayerList();
    UpdateMonitorControls();
    // Deleting the priority player hands the priority to the player shown next.
    const TSettings& settings = *Globals.Vexamo->Settings;
    StorePriority(userPriority, settings.Priority.Choice, ShownPriorityPlayer(name));
}

void TfrmMain::popLstDelAllClick() {
    const size_t rows = LstLoadedPlayers.Items.size();
    for (size_t i = 0; i < rows; ++i) {
        LstLoadedPlayers.ItemIndex = 0;
        popLstDeleteClick();
    }
}

void TfrmMain::popCmdLinesClick() {
    const std::string name = RowPlayerName(LstLoadedPlayers, LstLoadedPlayers.ItemIndex);
    if (name.empty() || !Globals.SelectedPlayers) return;
    const int at = Globals.SelectedPlayers->IndexOfPlayer(name);
    if (at < 0) return;
    const TPlayer& player = *Globals.SelectedPlayers->Players[at]->Player;
    Sys().MessageBox(MsgKind::Information,
                     CommandLinesText(player.Name, player.Flags->Single, player.Flags->Playlist,
                                      player.Flags->Subtitles),
                     MsgButtons::Ok);
}

// --- priority ------------------------------------------------------------------------------------

void TfrmMain::rdNoPlayerPriorityClick() { ApplyPriorityChoice(); }
void TfrmMain::rdPlayerPriorityClick() { ApplyPriorityChoice(); }

void TfrmMain::cboDifPlayerChange() {
    const TSettings& settings = *Globals.Vexamo->Settings;
    StorePriority(settings.UserPriority, settings.Priority.Choice, cboDifPlayer.Text);
}

// --- bottom row ----------------------------------------------------------------------------------

void TfrmMain::RdMonitorOnClick() { SwitchMonitoring(MonitoringOn); }

void TfrmMain::RdMonitorOffClick() { SwitchMonitoring(MonitoringOff); }

void TfrmMain::btScanNowClick() { ScanDisc(Caller::ConfigWindow); }

void TfrmMain::btSettingsClick() { agent_.ShowOptions(Caller::ConfigWindow); }

void TfrmMain::lblAboutClick() { agent_.ShowAbout(); }

void TfrmMain::btExitClick() {
    if (Sys().MessageBox(MsgKind::Confirmation, ExitQuestion, MsgButtons::YesNo) == MsgResult::Yes)
        agent_.ExitAgent();
}

// --- unhandled errors ----------------------------------------------------------------------------

void TfrmMain::AppEventsException(const std::string& message) {
    // A log that cannot be written (read-only folder, full disk) must not hide the error itself.
    AppendToLog(message);
    Sys().MessageBox(MsgKind::Error, message, MsgButtons::Ok, "Vexamo");
}

void HandleException(const std::exception& e) {
    if (Globals.frmMain)
        Globals.frmMain->AppEventsException(e.what());
    else
        Sys().MessageBox(MsgKind::Error, e.what(), MsgButtons::Ok, "Vexamo");
}

}  // namespace vexamo
