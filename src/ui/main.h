// The players and extensions window (the configuration window): the user builds the monitoring
// list here (players, the extensions each plays, whether to ask first), chooses a priority player,
// switches monitoring on and off and starts a scan. The agent also creates it hidden for a scan
// run, which needs its monitoring list, status bar and progress bar.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/TrayAgent.h"
#include "model/general.h"
#include "platform/Controls.h"

namespace vexamo {

class RecordMirror;
class TfrmMain;
class TSelectedPlayer;
class TUserPlayer;

// What the window binding does for the portable window. Destroying the host destroys the real
// window. The host is made when the window is first shown; a hidden window has none.
class FrmMainHost {
public:
    virtual ~FrmMainHost() = default;
    // Shows the window with the current state of its controls and brings it forward.
    virtual void Show() = 0;
    // Takes the closed window off the screen; it is freed once its handlers have returned.
    virtual void Hide() = 0;
    // Copies the state into the controls and paints them at once: a scan holds the message loop.
    virtual void Repaint() = 0;
};
using FrmMainHostFactory = HostFactory<TfrmMain, FrmMainHost>;

// The system commands the window reacts to.
enum class SysCommand { Close, Minimize, Other };

class TfrmMain {
public:
    // Popup menu items by position.
    enum { PopPlayerEdit, PopPlayerDelete, PopPlayerSep, popPlayerResetAll };
    enum { popLstDelete, popLstDelAll, PopListSep, popCmdLines };
    // Status bar panels.
    enum { PanelDevice, PanelStatus, PanelMessage, PanelVersion };

    TfrmMain(TrayAgent& agent, const FrmMainHostFactory& makeHost);
    ~TfrmMain();
    TfrmMain(const TfrmMain&) = delete;
    TfrmMain& operator=(const TfrmMain&) = delete;

    std::string Caption = "Vexamo";
    bool Visible = false;
    // Whether the window takes the user's input: not while its run waits in the chooser, which
    // must not be started again or ended from under it.
    bool Enabled = true;

    TLabel lblAbout;
    TListView lstPlayers;
    TCheckListBox chkExtsAudio;
    TLabel LblSelAllAudio;
    TCheckListBox ChkExtsVideo;
    TLabel LblSelAllVideo;
    // Discs played as a whole, by DiscKindNames: offered only where the chosen player takes them.
    TCheckListBox chkDiscs;
    TCheckBox chkPrompt;
    TButton btAdd;
    TListView LstLoadedPlayers;
    TRadioButton rdNoPlayerPriority;
    TRadioButton rdPlayerPriority;
    TComboBox cboDifPlayer;
    TRadioButton RdMonitorOn;
    TRadioButton RdMonitorOff;
    TButton btSettings;
    TButton btScanNow;
    TProgressBar ProgBar;
    TButton btExit;
    TStatusBar stStatus;
    TPopupMenu PopPlayer;
    TPopupMenu PopListOptions;

    // The player last chosen in the available list, its row, and the extension ticks set minus
    // those cleared since the add controls were last reset (one count for both lists). Every refill
    // of the list lets the choice go: no row, no name, -1.
    std::string SelectedName;
    int SelectedIndex = -1;
    int CheckedCount = 0;

    // --- window --------------------------------------------------------------------------
    // Ties the records to the controls of the window's template.
    void BindControls(RecordMirror& m);
    void FormCreate();
    void FormActivate();
    // Takes the window away: empties the process-wide reference, puts the tray icon back and
    // frees the window once the handlers running on it have returned.
    void FormClose();
    void Show();
    void Close();
    // The close box, the minimise box and Escape; false for commands left to the system.
    bool WMSysCommand(SysCommand command);
    // Saves the settings, lets the monitoring list go and closes the window.
    void SaveMonitorState(Caller caller);
    void SetStatusText(int panel, const std::string& text);
    // What a status refresh shows here: the device and status panels, the message panel (nullopt
    // leaves it as it is, "" clears it) and whether "Scan Now" is usable.
    void ShowStatus(const std::string& device, const std::string& statusText,
                    const std::optional<std::string>& labelPanel, bool scanNowEnabled);
    // The disc scan and play run (ScanRun.cpp). A run started while one is waiting for its chooser
    // does nothing. A run a disc's arrival started ends with a word from the tray.
    void ScanDisc(Caller caller, bool discArrived = false);
    // Searches the monitored drives for the selection's extensions and returns the drives with
    // files, sorted; shows its progress on the bar or in the progress window meanwhile.
    StringList CollectFiles();
    bool Scanning() const { return scanning_; }
    // The tray icon stays away while the window is on screen and while its run uses the chooser.
    bool HoldsTrayIcon() const { return Visible || chooserInUse_; }

    // Escape does what the close box does; Enter on the available players chooses the selected
    // row as a click would. `focused` is the control with the keyboard focus, if any.
    void DialogKey(TDialogKey key, const TControl* focused);
    // A click on a radio button: its handler runs when the click checked it, not when it was
    // checked already. The records hold what the buttons showed before the click.
    void RadioClicked(TRadioButton& radio);

    // --- available players -----------------------------------------------------------------
    void lstPlayersClick();
    // The keyboard moved the selection to `row`: chosen as a click would choose it, except
    // "(Add new Player)", which opens the wizard only on a click or Enter, not while the user
    // walks past it.
    void lstPlayersRowWalkedTo(int row);
    // The item of PopPlayer the user chose, by its number (TPopupMenu::NumberOf).
    void PopPlayerClick(int number);
    void PopPlayerPopup();
    void PopPlayerEditClick();
    void PopPlayerDeleteClick();
    void popPlayerResetAllClick();

    // --- extensions and adding (the tick handlers act on the list's current item) --------------
    void chkExtsAudioClickCheck();
    void ChkExtsVideoClickCheck();
    void chkDiscsClickCheck();
    void LblSelAllAudioClick();
    void LblSelAllVideoClick();
    void btAddClick();

    // --- monitoring list ----------------------------------------------------------------------
    void LstLoadedPlayersChange(int row);
    // The user ticked or cleared a row's check box; only a change of the row's record runs the
    // change handler (a new row gets its check box without the user).
    void LstLoadedPlayersCheckClick(int row, bool checked);
    // The item of PopListOptions the user chose, by its number.
    void PopListOptionsClick(int number);
    void PopListOptionsPopup();
    void popLstDeleteClick();
    void popLstDelAllClick();
    void popCmdLinesClick();

    // --- priority -------------------------------------------------------------------------------
    void rdNoPlayerPriorityClick();
    void rdPlayerPriorityClick();
    void cboDifPlayerChange();

    // --- bottom row -----------------------------------------------------------------------------
    void RdMonitorOnClick();
    void RdMonitorOffClick();
    void btScanNowClick();
    void btSettingsClick();
    void lblAboutClick();
    void btExitClick();

    // --- internal operations ------------------------------------------------------------------
    void FillExtensionLists();
    void LoadSelection();
    void AddLoadedPlayerRow(const TUserPlayer& userPlayer);
    void FillPlayerList();
    void MarkExtension(const std::string& extension, bool checked, bool enabled);
    StringList TakeCheckedExtensions();
    // Writes the player's section, then takes it into the selection, its extensions and its row;
    // returns whether a priority can be chosen now. A failed write changes nothing.
    bool AddPlayerToSelection(const std::string& name, const StringList& extensions);
    bool UpdatePriorityControls(const TSelectedPlayer& selection, const std::string& name);
    void UpdateMonitorControls();
    void ApplyPriorityChoice();

    // The application-wide handler of unhandled errors while this window exists.
    void AppEventsException(const std::string& message);

    FrmMainHost* Host() const { return host_.get(); }

private:
    // The ticked extensions that are free to take.
    StringList CheckedExtensions() const;
    // Enables the disc kinds the chosen player has a disc form for and no monitored player took.
    void OfferDiscs();
    // Disables and clears the add controls and every tick and label of an unfinished choice.
    void ResetAddControls();
    void ClearPlayerChoice();
    // The selected row still stands for SelectedName and the catalogue still defines that player.
    bool ChosenPlayerAvailable() const;
    // "Reset Players" would take the definitions of monitored players with it.
    bool ResetPlayersAllowed() const { return LstLoadedPlayers.Items.empty(); }
    // The combo box entry of the stored priority player, else the first entry (-1 when empty).
    int PriorityEntry() const;
    // The priority player the combo box shows: the stored one, or the entry shown in its place;
    // none once the list is empty and the stored one was `removed`.
    std::string ShownPriorityPlayer(const std::string& removed = {}) const;
    // Writes the priority keys when they change, then shows the stored player.
    void StorePriority(bool userPriority, bool choice, const std::string& player);
    void SwitchMonitoring(std::uint8_t status);
    // Runs `write`; when it fails, `undo` puts memory and controls back and the error goes on.
    // While the window is being built the error is only reported, so that the window still opens.
    void Store(const std::function<void()>& write, const std::function<void()>& undo);
    void ExtsClickCheck(TCheckListBox& list, TLabel& selectAll);
    void SelectAllClick(TCheckListBox& list, TLabel& selectAll, void (TfrmMain::*clickCheck)());
    // Checking a radio button that was not checked runs its click handler, as a click would.
    void CheckRadio(TRadioButton& radio, TRadioButton& other, void (TfrmMain::*click)());
    std::string RowPlayerName(const TListView& list, int row) const;
    void Scan();
    void NothingFound();
    // Runs the player wizard modally: for a new player when `playerName` is empty, else to edit it.
    void RunPlayerWizard(const std::string& playerName);
    // The tray's word at the end of a run a disc arrival started, when the user wants it.
    void Tell(const std::string& notice);
    // The end of a run, by the OnPlayClose setting and whether a player was started.
    void FinishRun();
    // A run that failed ends as one that played nothing, with no chooser left and the error shown.
    void RunFailed(const std::string& message);
    // The position in SelectedPlayers of the player a run plays with.
    int ChoosePlayer() const;

    bool scanning_ = false;
    bool discArrived_ = false;
    bool chooserInUse_ = false;
    bool creating_ = false;

    TrayAgent& agent_;
    FrmMainHostFactory makeHost_;
    std::unique_ptr<FrmMainHost> host_;  // made when the window is first shown
};

// Texts the window shows.
inline const std::string AddNewPlayerRow = "(Add new Player)";
inline const std::string SelectAllText = "Select All";
inline const std::string UnselectAllText = "Unselect All";
inline const std::string NoExtensionsText = "No file extensions selected !";
inline const std::string ResetPlayersQuestion = "Are you sure you want to reset to the default Players ?";
inline const std::string ExitQuestion = "Are you sure ?";
extern const std::string VersionPanelText;  // "V." and the program's version

// The picture of an available player's row from its `index` value: none for an empty value, the
// picture of that number for 0 to 12 (1 to 12 the default players'), and the generic player
// picture 0 for anything else.
int PlayerPictureIndex(const std::string& indexValue);
constexpr int PlayerPictureCount = 13;

// The text of "View Command Lines" for one player.
std::string CommandLinesText(const std::string& name, const std::string& single, const std::string& playlist,
                             const std::string& subtitles);

// Shows (and, while a configuration window exists, logs) an error nothing else caught.
void HandleException(const std::exception& e);

}  // namespace vexamo
