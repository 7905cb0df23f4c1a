// The player wizard: seven pages through which the user defines a media player or changes one,
// with a guard that keeps the required tags in each command line and a test area that starts
// the player with the command line being written. The result is one section of Players.ini.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "model/PlayersCfg.h"
#include "platform/Controls.h"

namespace vexamo {

class TfrmPlayerWizard;

// What the window binding does for the wizard: the modal show and the system's dialogs.
class PlayerWizardHost {
public:
    virtual ~PlayerWizardHost() = default;
    // Shows the window modally; returns once the window has been closed.
    virtual void ShowModal() = 0;
    virtual void Close() = 0;
    // The shared file-open dialog; `filter` is "Name|patterns|Name|patterns...". Empty when the
    // user chose nothing.
    virtual std::string OpenFile(const std::string& filter) = 0;
    // The icon chooser with its picture preview; empty when the user chose nothing.
    virtual std::string ChooseIcon(const std::string& filter) = 0;
};
using PlayerWizardHostFactory = HostFactory<TfrmPlayerWizard, PlayerWizardHost>;

// The state of one wizard run.
struct TWizard {
    TPlayer Player;
    int LastPage = 0;         // the page whose Next was last committed
    std::string CommandLine;  // the last text the tag guard accepted on the current page
};

inline const std::string InvalidTags = "INVALID";
inline const std::string DefaultIconText = "(DEFAULT)";
inline const std::string NoPlayerCaption = "...";
inline const std::string PlayerExistsText = "Player already exists. Please choose another Name !";
inline const std::string InvalidExtensionText = "Invalid Extension !";
inline const std::string BadPlayerNameText =
    "A Player Name cannot begin or end with a blank, nor contain ']', '=' or ';'. Please choose another Name !";
inline const std::string PlayerCannotOpenText = "Error: The player cannot be opened !";
inline const std::string IconFilter = "Icons (*.ico)|*.ico";
inline const std::string PlayerFilter = "MediaPlayer (*.exe)|*.exe";
inline constexpr int WizardHeight = 340;          // outer height at 96 DPI
inline constexpr int WizardTestHeight = 434;      // with the test area open
inline constexpr int PlayerNameMaxLength = 20;
inline constexpr int CommandLineMaxLength = 80;

// The text of the missing-program warning for a chosen executable that is not there (any more).
std::string MissingPlayerText(const std::string& exe);

class RecordMirror;

class TfrmPlayerWizard {
public:
    // The player's icon, at 96 DPI, wherever the wizard shows it.
    static constexpr int IconSize = 32;
    enum Page { TabPlayerLocation, TabSingle, TabPlaylistSup, TabPlaylist, TabSubsSup, TabSubs, TabFinal, PageCount };

    // Creates the window's state (FormCreate); the caller then runs NewPlayer or EditPlayer.
    explicit TfrmPlayerWizard(const PlayerWizardHostFactory& makeHost = {});
    ~TfrmPlayerWizard();
    TfrmPlayerWizard(const TfrmPlayerWizard&) = delete;
    TfrmPlayerWizard& operator=(const TfrmPlayerWizard&) = delete;

    // Both return when the wizard has closed; the caller then rereads Players.ini.
    void NewPlayer();
    void EditPlayer(bool mode, const std::string& playerName);

    std::unique_ptr<TWizard> Wizard;
    bool EditMode = false;
    std::string OldPlayerName;
    std::vector<std::string> ExistingPlayers;
    std::vector<int> PageHistory;
    std::string RequiredTags;
    // What the command-line box of the page showed last: a change the tag guard refuses goes back
    // to it, so every change is checked against the text before it, typed, pasted or cut.
    std::string LastFlagText;

    std::string Caption = "Player Wizard";
    int Height = WizardHeight;
    bool Closed = false;

    TPageControl PageControl;
    // Each page's fixed texts, visible on their own page only.
    std::array<TControl, PageCount> Pages;
    // Page 0
    TEdit edPlayerName;
    TImage ImgIcon;
    TButton Button1;
    TLabel LblIcon;
    TButton btPlayer;
    // Pages 1, 3 and 5
    TEdit edSingleFileFlag;
    TEdit edPlaylistFlag;
    TEdit edSubtitleFlag;
    // Pages 2 and 4
    TRadioGroup RdPlaylist;
    TComboBox cboPlaylist;
    TRadioGroup RdSubsSupport;
    // Page 6
    TLabel LblFinalPlayerName;
    TImage ImgFinalIcon;
    TLabel LblPlaylistExt;
    TLabel LblFinalCmd1, LblFinalCmd2, LblFinalCmd3;
    // The test bar and the button bar
    TControl PanelTest;
    TLabel lblWarning;
    TButton btTest;
    TButton btCancel, btBack, btNext;
    // The test area
    TControl PanelCmd;
    TLabel LblCmd;
    TButton btExecute;
    TPageControl PageEmulator;
    // The browse rows' labels of the test area's three pages: single file, playlist, subtitles.
    std::array<TControl, 3> EmulatorPages;
    TButton btOpenFile, btPlaylist, btFile2, btSubtitle;
    // The line over the button bar, which the open test area covers.
    TControl ButtonBar;

    // Ties the records to the controls of the window's template.
    void BindControls(RecordMirror& m);
    void FormCreate();
    void FormClose();
    void btNextClick();
    void btBackClick();
    void btCancelClick();
    // Enter presses Next only while Next can be pressed (the test area hides it); Escape closes
    // the open test area first, as its button would, and cancels the wizard otherwise.
    void DialogKey(TDialogKey key);
    void btIconClick();
    void btPlayerClick();
    void edPlayerNameChange();
    void edPlayerNameExit();
    void TabPlayerLocationShow();
    void TabSingleShow();
    void TabPlaylistSupShow();
    void TabPlaylistShow();
    void TabSubsSupShow();
    void TabSubsShow();
    void TabFinalShow();
    void RdPlaylistClick();
    void cboPlaylistExit();
    void RdSubsSupportClick();
    // A click on button `item` of RdPlaylist or RdSubsSupport: the clicked button becomes the
    // group's item, whatever the buttons showed before, and the group's handler runs.
    void RadioClicked(TRadioGroup& group, int item);
    // A key about to change a command-line box; the box's change handler already checks each
    // change against the text shown before it (LastFlagText).
    void edSingleFileFlagKeyDown() { FlagKeyDown(edSingleFileFlag); }
    void edPlaylistFlagKeyDown() { FlagKeyDown(edPlaylistFlag); }
    void edSubtitleFlagKeyDown() { FlagKeyDown(edSubtitleFlag); }
    void edSingleFileFlagChange() { FlagChange(edSingleFileFlag); }
    void edPlaylistFlagChange() { FlagChange(edPlaylistFlag); }
    void edSubtitleFlagChange() { FlagChange(edSubtitleFlag); }

    // The test area.
    void btTestClick();
    void btOpenFileClick();
    void btPlaylistClick();
    void btFile2Click();
    void btSubtitleClick();
    void btExecuteClick();

    // The accepted text (its tags in their upper-case spelling), or InvalidTags.
    std::string CheckTags(const std::string& requiredTags, const std::string& text);
    // Saves the page's values into the record and moves on; false when the page keeps the user.
    bool CommitPage(int page);
    void ShowTestCommand();
    static std::string MediaFilter(int kind);
    bool LaunchPlayer(const std::string& parameters);

    // The command-line box of a page, or null.
    TEdit* FlagBox(int page);
    // Where the keyboard goes when the page is shown: the command line on its pages, the chosen
    // answer on a question's, the name on the first page, else Next.
    const TControl& PageFocus();
    bool TestAreaOpen() const { return PanelCmd.Visible; }

private:
    void ShowPage(int page);
    // Each control is visible on its own page only; the test bar and test area follow their panels.
    void ShowPageControls();
    void FlagKeyDown(TEdit& box);
    bool FlagChange(TEdit& box);  // false when the change was undone
    // What a show handler puts into a command-line box: guarded like typed text.
    void PutFlagText(TEdit& box, const std::string& stored);
    void UpdateNextOnPlayerPage();
    void Browse(TButton& button, const std::string& filter, std::string& value, bool executeAfter);
    std::string PlayersIni() const;

    std::unique_ptr<PlayerWizardHost> host_;
};

}  // namespace vexamo
