#include "ui/PlayerWizard.h"

#include "../../resources/resource.h"

#include <algorithm>
#include <cctype>

#include "app/Globals.h"
#include "model/VexaCfg.h"
#include "model/general.h"
#include "platform/Mirror.h"
#include "ui/PlayerWizard_res.h"

namespace vexamo {

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

size_t FindNoCase(const std::string& text, const std::string& part, size_t from = 0) {
    if (part.empty() || text.size() < part.size()) return std::string::npos;
    for (size_t i = from; i + part.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < part.size() && Upper(text[i + k]) == Upper(part[k])) ++k;
        if (k == part.size()) return i;
    }
    return std::string::npos;
}

bool ContainsNoCase(const std::string& text, const std::string& part) {
    return FindNoCase(text, part) != std::string::npos;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && FindNoCase(a, b) == 0;
}

std::string ReplaceAll(std::string text, const std::string& tag, const std::string& value) {
    for (size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at + value.size()))
        text.replace(at, tag.size(), value);
    return text;
}

// The launch replaces only the upper-case spelling of a tag, so a tag the guard accepted in any
// other spelling would reach the player as its bare text: every tag is kept in its own spelling.
std::string CanonicalTags(std::string text) {
    for (const std::string& tag : CommandTags)
        for (size_t at = FindNoCase(text, tag); at != std::string::npos; at = FindNoCase(text, tag, at + tag.size()))
            text.replace(at, tag.size(), tag);
    return text;
}

// A name that would not come back as the same section of Players.ini: the profile functions end a
// section name at "]", trim its blanks, and ";" and "=" make lines that other readers take for a
// comment or a key.
bool SectionNameReadsBack(const std::string& name) {
    if (name.empty() || name.find_first_of("]=;") != std::string::npos) return false;
    return !std::isspace(static_cast<unsigned char>(name.front())) &&
           !std::isspace(static_cast<unsigned char>(name.back()));
}

const std::string& OrNotAvailable(const std::string& value) {
    static const std::string na = "n/a";
    return value.empty() ? na : value;
}

}  // namespace

std::string MissingPlayerText(const std::string& exe) {
    return "The Player \"" + exe + "\" cannot be found. Please locate the Player !";
}

TfrmPlayerWizard::TfrmPlayerWizard(const PlayerWizardHostFactory& makeHost) {
    edPlayerName.MaxLength = PlayerNameMaxLength;
    for (TEdit* box : {&edSingleFileFlag, &edPlaylistFlag, &edSubtitleFlag}) box->MaxLength = CommandLineMaxLength;
    Button1.Caption = "Icon...";
    LblIcon.Caption = DefaultIconText;
    LblIcon.Visible = false;
    btPlayer.Caption = NoPlayerCaption;
    RdPlaylist.Items = {"Yes", "No"};
    RdPlaylist.ItemIndex = 0;
    RdSubsSupport.Items = {"Yes", "No"};
    RdSubsSupport.ItemIndex = 0;
    PanelTest.Visible = false;
    btTest.Caption = "&Test Command Line >>";
    btCancel.Caption = "&Cancel";
    btBack.Caption = "<< &Back";
    btNext.Caption = "&Next >>";
    btBack.Enabled = false;
    btNext.Enabled = false;
    PanelCmd.Visible = false;
    PageEmulator.Visible = false;
    btExecute.Caption = "E&xecute";
    btExecute.Enabled = false;
    for (TButton* b : {&btOpenFile, &btPlaylist, &btFile2, &btSubtitle}) b->Caption = NoPlayerCaption;

    btBack.OnClick = [this] { btBackClick(); };
    Button1.OnClick = [this] { btIconClick(); };
    btPlayer.OnClick = [this] { btPlayerClick(); };
    btTest.OnClick = [this] { btTestClick(); };
    btExecute.OnClick = [this] { btExecuteClick(); };
    btOpenFile.OnClick = [this] { btOpenFileClick(); };
    btPlaylist.OnClick = [this] { btPlaylistClick(); };
    btFile2.OnClick = [this] { btFile2Click(); };
    btSubtitle.OnClick = [this] { btSubtitleClick(); };
    edPlayerName.OnChange = [this] { edPlayerNameChange(); };
    edPlayerName.OnExit = [this] { edPlayerNameExit(); };
    cboPlaylist.OnExit = [this] { cboPlaylistExit(); };
    edSingleFileFlag.OnChange = [this] { edSingleFileFlagChange(); };
    edPlaylistFlag.OnChange = [this] { edPlaylistFlagChange(); };
    edSubtitleFlag.OnChange = [this] { edSubtitleFlagChange(); };
    RdPlaylist.OnItemClick = [this](int item) { RadioClicked(RdPlaylist, item); };
    RdSubsSupport.OnItemClick = [this](int item) { RadioClicked(RdSubsSupport, item); };
    FormCreate();
    if (makeHost) host_ = makeHost(*this);
}

TfrmPlayerWizard::~TfrmPlayerWizard() = default;

void TfrmPlayerWizard::BindControls(RecordMirror& m) {
    m.BindCaption(Caption);
    for (int p = 0; p < PageCount; ++p)
        for (int k = 0; k < WIZARD_PAGETEXTS_PER_PAGE; ++k)
            m.BindFixed({IDC_WIZARD_PAGETEXT + p * WIZARD_PAGETEXTS_PER_PAGE + k}, Pages[p]);
    m.Bind(IDC_WIZARD_EDPLAYERNAME, edPlayerName);
    m.Bind(IDC_WIZARD_IMGICON, ImgIcon, IDI_APP, IconSize);
    m.Bind(IDC_WIZARD_BUTTON1, Button1);
    m.Bind(IDC_WIZARD_LBLICON, LblIcon);
    m.Bind(IDC_WIZARD_BTPLAYER, btPlayer);
    m.Bind(IDC_WIZARD_EDSINGLEFILEFLAG, edSingleFileFlag);
    m.Bind(IDC_WIZARD_EDPLAYLISTFLAG, edPlaylistFlag);
    m.Bind(IDC_WIZARD_EDSUBTITLEFLAG, edSubtitleFlag);
    m.Bind({IDC_WIZARD_RDPLAYLISTYES, IDC_WIZARD_RDPLAYLISTNO}, RdPlaylist);
    m.Bind(IDC_WIZARD_CBOPLAYLIST, cboPlaylist);
    m.Bind({IDC_WIZARD_RDSUBSSUPPORTYES, IDC_WIZARD_RDSUBSSUPPORTNO}, RdSubsSupport);
    m.Bind(IDC_WIZARD_LBLFINALPLAYERNAME, LblFinalPlayerName);
    m.Bind(IDC_WIZARD_IMGFINALICON, ImgFinalIcon, IDI_APP, IconSize);
    m.Bind(IDC_WIZARD_LBLPLAYLISTEXT, LblPlaylistExt);
    m.Bind(IDC_WIZARD_LBLFINALCMD1, LblFinalCmd1);
    m.Bind(IDC_WIZARD_LBLFINALCMD2, LblFinalCmd2);
    m.Bind(IDC_WIZARD_LBLFINALCMD3, LblFinalCmd3);
    m.Bind(IDC_WIZARD_LBLWARNING, lblWarning);
    m.BindFixed({IDC_WIZARD_TESTICON}, PanelTest);
    m.Bind(IDC_WIZARD_BTTEST, btTest);
    m.BindFixed({IDC_WIZARD_BUTTONBAR}, ButtonBar);
    m.Bind(IdCancel, btCancel);
    m.Bind(IDC_WIZARD_BTBACK, btBack);
    m.Bind(IdOk, btNext);
    m.BindFixed({IDC_WIZARD_BROWSETEXT}, PageEmulator);
    m.BindFixed({IDC_WIZARD_FILETEXT}, EmulatorPages[0]);
    m.BindFixed({IDC_WIZARD_PLAYLISTTEXT}, EmulatorPages[1]);
    m.BindFixed({IDC_WIZARD_FILE2TEXT, IDC_WIZARD_SUBTITLETEXT}, EmulatorPages[2]);
    m.Bind(IDC_WIZARD_BTOPENFILE, btOpenFile);
    m.Bind(IDC_WIZARD_BTPLAYLIST, btPlaylist);
    m.Bind(IDC_WIZARD_BTFILE2, btFile2);
    m.Bind(IDC_WIZARD_BTSUBTITLE, btSubtitle);
    m.BindFixed({IDC_WIZARD_PANELCMD, IDC_WIZARD_CMDICON}, PanelCmd);
    m.Bind(IDC_WIZARD_LBLCMD, LblCmd);
    m.Bind(IDC_WIZARD_BTEXECUTE, btExecute);
}

std::string TfrmPlayerWizard::PlayersIni() const { return ProgramFolder + PlayersFileName; }

void TfrmPlayerWizard::FormCreate() {
    Wizard = std::make_unique<TWizard>();
    // The record starts empty, templates included: pages fill in their defaults when shown.
    Wizard->Player.Flags = std::make_unique<TPlayerFlags>(TPlayerFlags{"", "", "", "", {}});
    ExistingPlayers = ReadIniSections(PlayersIni());
    PageControl.ActivePage = TabPlayerLocation;
    PageHistory = {TabPlayerLocation};
    Height = WizardHeight;
}

void TfrmPlayerWizard::FormClose() {
    Closed = true;
    Wizard.reset();
}

void TfrmPlayerWizard::NewPlayer() {
    EditMode = false;
    ShowPage(TabPlayerLocation);
    if (host_) host_->ShowModal();
}

void TfrmPlayerWizard::EditPlayer(bool mode, const std::string& playerName) {
    Wizard->Player.LoadFromIni(PlayersIni(), playerName);
    OldPlayerName = playerName;
    EditMode = mode;
    // Editing a player keeps its icon unless the user chooses another.
    if (EditMode && !Wizard->Player.Icon.empty()) {
        LblIcon.Caption = Wizard->Player.Icon;
        ImgIcon.Picture = Wizard->Player.Icon;
    }
    ShowPage(TabPlayerLocation);
    if (host_) host_->ShowModal();
}

void TfrmPlayerWizard::ShowPage(int page) {
    PageControl.ActivePage = page;
    switch (page) {
        case TabPlayerLocation: TabPlayerLocationShow(); break;
        case TabSingle: TabSingleShow(); break;
        case TabPlaylistSup: TabPlaylistSupShow(); break;
        case TabPlaylist: TabPlaylistShow(); break;
        case TabSubsSup: TabSubsSupShow(); break;
        case TabSubs: TabSubsShow(); break;
        case TabFinal: TabFinalShow(); break;
        default: break;
    }
    ShowPageControls();
}

void TfrmPlayerWizard::ShowPageControls() {
    const int page = PageControl.ActivePage;
    for (int p = 0; p < PageCount; ++p) Pages[p].Visible = p == page;
    for (TControl* c : {static_cast<TControl*>(&edPlayerName), static_cast<TControl*>(&ImgIcon), &Button1, &btPlayer})
        c->Visible = page == TabPlayerLocation;
    edSingleFileFlag.Visible = page == TabSingle;
    RdPlaylist.Visible = cboPlaylist.Visible = page == TabPlaylistSup;
    edPlaylistFlag.Visible = page == TabPlaylist;
    RdSubsSupport.Visible = page == TabSubsSup;
    edSubtitleFlag.Visible = page == TabSubs;
    for (TControl* c : {static_cast<TControl*>(&LblFinalPlayerName), static_cast<TControl*>(&ImgFinalIcon),
                        &LblPlaylistExt, &LblFinalCmd1, &LblFinalCmd2, &LblFinalCmd3})
        c->Visible = page == TabFinal;
    lblWarning.Visible = btTest.Visible = PanelTest.Visible;
    const int emulated = PageEmulator.Visible ? PageEmulator.ActivePage : -1;
    btOpenFile.Visible = emulated == 0;
    btPlaylist.Visible = emulated == 1;
    btFile2.Visible = btSubtitle.Visible = emulated == 2;
    for (int i = 0; i < static_cast<int>(EmulatorPages.size()); ++i) EmulatorPages[i].Visible = emulated == i;
    LblCmd.Visible = btExecute.Visible = PanelCmd.Visible;
    ButtonBar.Visible = !PanelCmd.Visible;
}

// --- Page show handlers ---------------------------------------------------------------------

void TfrmPlayerWizard::TabPlayerLocationShow() {
    PanelTest.Visible = false;
    if (EditMode) {
        edPlayerName.Text = Wizard->Player.Name;
        btPlayer.Caption = Wizard->Player.Exe;
    }
    btNext.Enabled = btPlayer.Caption != NoPlayerCaption && !btPlayer.Caption.empty() && !edPlayerName.Text.empty();
}

void TfrmPlayerWizard::TabSingleShow() {
    RequiredTags = "[FILE]";
    PanelTest.Visible = true;
    PutFlagText(edSingleFileFlag, Wizard->Player.Flags->Single);
}

void TfrmPlayerWizard::TabPlaylistSupShow() {
    PanelTest.Visible = false;
    cboPlaylist.Items.assign(PlaylistExts.begin(), PlaylistExts.end());
    cboPlaylist.ItemIndex = 0;
    cboPlaylist.Text = cboPlaylist.Items[0];
    if (!EditMode) return;
    const TPlayer& p = Wizard->Player;
    const bool playlists = !p.Flags->Playlist.empty() && !p.PlaylistExt.empty();
    RdPlaylist.ItemIndex = playlists ? 0 : 1;
    RdPlaylistClick();
    if (!playlists) return;
    auto at = std::find(cboPlaylist.Items.begin(), cboPlaylist.Items.end(), p.PlaylistExt);
    if (at == cboPlaylist.Items.end()) {
        // A format the list does not offer (written by hand or by another version) stays the
        // player's own rather than being lost at Finish.
        cboPlaylist.Items.push_back(p.PlaylistExt);
        at = cboPlaylist.Items.end() - 1;
    }
    cboPlaylist.ItemIndex = static_cast<int>(at - cboPlaylist.Items.begin());
    cboPlaylist.Text = *at;
}

void TfrmPlayerWizard::TabPlaylistShow() {
    RequiredTags = "[PLAYLIST]";
    PanelTest.Visible = true;
    PutFlagText(edPlaylistFlag, Wizard->Player.Flags->Playlist);
}

void TfrmPlayerWizard::TabSubsSupShow() {
    PanelTest.Visible = false;
    if (!EditMode) return;
    RdSubsSupport.ItemIndex = (!Wizard->Player.Flags->Subtitles.empty() || Globals.SubtitlesChosen) ? 0 : 1;
    RdSubsSupportClick();
}

void TfrmPlayerWizard::TabSubsShow() {
    RequiredTags = "[FILE] [SUBTITLE]";
    PanelTest.Visible = true;
    PutFlagText(edSubtitleFlag, Wizard->Player.Flags->Subtitles);
}

void TfrmPlayerWizard::TabFinalShow() {
    PanelTest.Visible = false;
    btNext.Caption = "Finish";
    const TPlayer& p = Wizard->Player;
    LblFinalPlayerName.Caption = p.Name;
    // The default picture comes back too when the user went back and dropped a chosen icon.
    ImgFinalIcon.Picture = p.Icon;
    LblFinalCmd1.Caption = OrNotAvailable(p.Flags->Single);
    LblFinalCmd2.Caption = OrNotAvailable(p.Flags->Playlist);
    LblFinalCmd3.Caption = OrNotAvailable(p.Flags->Subtitles);
    LblPlaylistExt.Caption = OrNotAvailable(p.PlaylistExt);
}

// --- Page 0 -----------------------------------------------------------------------------------

void TfrmPlayerWizard::UpdateNextOnPlayerPage() {
    btNext.Enabled = btPlayer.Caption != NoPlayerCaption && !edPlayerName.Text.empty();
}

void TfrmPlayerWizard::edPlayerNameChange() { UpdateNextOnPlayerPage(); }

void TfrmPlayerWizard::edPlayerNameExit() {
    for (const std::string& name : ExistingPlayers) {
        if (EqualNoCase(name, edPlayerName.Text)) {
            Sys().MessageBox(MsgKind::Plain, PlayerExistsText, MsgButtons::Ok);
            return;
        }
    }
}

void TfrmPlayerWizard::btIconClick() {
    std::string file = host_ ? host_->ChooseIcon(IconFilter) : std::string();
    if (file.empty()) return;
    ImgIcon.Picture = file;
    LblIcon.Caption = file;
}

void TfrmPlayerWizard::btPlayerClick() {
    std::string file = host_ ? host_->OpenFile(PlayerFilter) : std::string();
    if (file.empty()) {
        btNext.Enabled = false;
        btPlayer.Caption = NoPlayerCaption;
        return;
    }
    btPlayer.Caption = file;
    if (!edPlayerName.Text.empty()) btNext.Enabled = true;
}

// --- Pages 2 and 4 ----------------------------------------------------------------------------

void TfrmPlayerWizard::RdPlaylistClick() {
    if (RdPlaylist.ItemIndex == 1) {
        cboPlaylist.Enabled = false;
    } else if (RdPlaylist.ItemIndex == 0) {
        cboPlaylist.ItemIndex = 0;
        cboPlaylist.Text = cboPlaylist.Items.empty() ? std::string() : cboPlaylist.Items[0];
        cboPlaylist.Enabled = true;
    }
}

void TfrmPlayerWizard::cboPlaylistExit() {
    if (ExtractFileExt(cboPlaylist.Text).empty()) {
        Sys().MessageBox(MsgKind::Plain, InvalidExtensionText, MsgButtons::Ok);
        btNext.Enabled = false;
    } else {
        btNext.Enabled = true;
    }
}

void TfrmPlayerWizard::RdSubsSupportClick() { Globals.SubtitlesChosen = RdSubsSupport.ItemIndex == 0; }

const TControl& TfrmPlayerWizard::PageFocus() {
    switch (PageControl.ActivePage) {
        case TabPlayerLocation: return edPlayerName;
        case TabPlaylistSup: return RdPlaylist;
        case TabSubsSup: return RdSubsSupport;
        default: return FlagBox(PageControl.ActivePage) ? *FlagBox(PageControl.ActivePage) : btNext;
    }
}

void TfrmPlayerWizard::RadioClicked(TRadioGroup& group, int item) {
    group.ItemIndex = item;
    if (&group == &RdPlaylist) RdPlaylistClick();
    if (&group == &RdSubsSupport) RdSubsSupportClick();
}

// --- The tag guard ----------------------------------------------------------------------------

std::string TfrmPlayerWizard::CheckTags(const std::string& requiredTags, const std::string& text) {
    if (text.empty()) return requiredTags;
    for (const std::string& tag : SplitString(requiredTags, ' ')) {
        if (!ContainsNoCase(text, tag)) {
            lblWarning.Caption = "Tag " + requiredTags + " must be present !";
            return InvalidTags;
        }
    }
    lblWarning.Caption.clear();
    return CanonicalTags(text);
}

void TfrmPlayerWizard::FlagKeyDown(TEdit& box) { LastFlagText = box.Text; }

bool TfrmPlayerWizard::FlagChange(TEdit& box) {
    if (box.Text == LastFlagText) return true;
    const std::string result = CheckTags(RequiredTags, box.Text);
    const bool accepted = result != InvalidTags;
    if (accepted) {
        box.Text = result;
        Wizard->CommandLine = result;
        // The preview is what Execute will run, also when the line changes with the area open.
        if (TestAreaOpen()) ShowTestCommand();
    } else {
        box.Text = LastFlagText;
    }
    btTest.Enabled = true;
    btNext.Enabled = true;
    LastFlagText = box.Text;
    return accepted;
}

void TfrmPlayerWizard::PutFlagText(TEdit& box, const std::string& stored) {
    const std::string text = stored.empty() ? RequiredTags : stored;
    if (box.Text == text) {
        Wizard->CommandLine = text;
        LastFlagText = text;
        return;
    }
    LastFlagText = box.Text;
    box.Text = text;
    if (!FlagChange(box)) {
        // A stored template without the page's tags (written by hand) has no earlier text to
        // return to: the page offers its default instead, the warning saying why.
        box.Text = RequiredTags;
        Wizard->CommandLine = RequiredTags;
    }
}

TEdit* TfrmPlayerWizard::FlagBox(int page) {
    switch (page) {
        case TabSingle: return &edSingleFileFlag;
        case TabPlaylist: return &edPlaylistFlag;
        case TabSubs: return &edSubtitleFlag;
        default: return nullptr;
    }
}

// --- Next, Back, Cancel -----------------------------------------------------------------------

bool TfrmPlayerWizard::CommitPage(int page) {
    TPlayer& p = Wizard->Player;
    int next = page + 1;
    switch (page) {
        case TabPlayerLocation:
            if (!SectionNameReadsBack(edPlayerName.Text)) {
                Sys().MessageBox(MsgKind::Warning, BadPlayerNameText, MsgButtons::Ok);
                return false;
            }
            if (!Sys().FileExists(btPlayer.Caption)) {
                Sys().MessageBox(MsgKind::Warning, MissingPlayerText(btPlayer.Caption), MsgButtons::Ok);
                return false;
            }
            p.Exe = btPlayer.Caption;
            p.Name = edPlayerName.Text;
            if (LblIcon.Caption == DefaultIconText) LblIcon.Caption.clear();
            p.Icon = LblIcon.Caption;
            break;
        case TabSingle: p.Flags->Single = edSingleFileFlag.Text; break;
        case TabPlaylistSup:
            if (RdPlaylist.ItemIndex == 0) {
                p.PlaylistExt = cboPlaylist.Text;
            } else {
                p.PlaylistExt.clear();
                p.Flags->Playlist.clear();
                next = TabSubsSup;
            }
            break;
        case TabPlaylist: p.Flags->Playlist = edPlaylistFlag.Text; break;
        case TabSubsSup:
            if (RdSubsSupport.ItemIndex != 0) {
                p.Flags->Subtitles.clear();
                next = TabFinal;
            }
            break;
        case TabSubs: p.Flags->Subtitles = edSubtitleFlag.Text; break;
        case TabFinal: {
            const std::string ini = PlayersIni();
            if (EditMode && Sys().FileExists(ini)) DeleteIniSectionOrFile(ini, OldPlayerName);
            p.SaveToIni(ini, true);
            btBack.Enabled = true;
            Wizard->LastPage = page;
            if (host_) host_->Close();
            FormClose();
            return true;
        }
        default: return false;
    }
    btBack.Enabled = true;
    Wizard->LastPage = page;
    ShowPage(next);
    return true;
}

void TfrmPlayerWizard::btNextClick() {
    const int page = PageControl.ActivePage;
    if (!CommitPage(page) || page == TabFinal) return;
    PageHistory.push_back(PageControl.ActivePage);
}

void TfrmPlayerWizard::btBackClick() {
    // The caption as the window opened with it, access key included.
    btNext.Caption = "&Next >>";
    if (PageHistory.size() > 1) PageHistory.pop_back();
    ShowPage(PageHistory.back());
    if (PageHistory.back() == TabPlayerLocation) btBack.Enabled = false;
}

void TfrmPlayerWizard::DialogKey(TDialogKey key) {
    if (Closed) return;
    if (key == TDialogKey::Enter) {
        if (btNext.Visible && btNext.Enabled) btNextClick();
    } else if (TestAreaOpen()) {
        btTestClick();
    } else {
        btCancelClick();
    }
}

void TfrmPlayerWizard::btCancelClick() {
    if (host_) host_->Close();
    FormClose();
}

// --- The test area ----------------------------------------------------------------------------

void TfrmPlayerWizard::btTestClick() {
    Height = WizardTestHeight;
    PanelCmd.Visible = !PanelCmd.Visible;
    PageEmulator.Visible = !PageEmulator.Visible;
    std::string& caption = btTest.Caption;
    if (PanelCmd.Visible) {
        if (size_t at = caption.find(">>"); at != std::string::npos) caption.replace(at, 2, "<<");
    } else {
        Height = WizardHeight;
        if (size_t at = caption.find("<<"); at != std::string::npos) caption.replace(at, 2, ">>");
    }
    // The test area lies over the button bar.
    btCancel.Visible = btBack.Visible = btNext.Visible = !PanelCmd.Visible;
    ShowTestCommand();
    ShowPageControls();
}

void TfrmPlayerWizard::ShowTestCommand() {
    LblCmd.Caption = "> [PLAYER] " + Wizard->CommandLine;
    switch (PageControl.ActivePage) {
        case TabSingle: PageEmulator.ActivePage = 0; break;
        case TabPlaylist: PageEmulator.ActivePage = 1; break;
        case TabSubs: PageEmulator.ActivePage = 2; break;
        default: break;
    }
}

std::string TfrmPlayerWizard::MediaFilter(int kind) {
    std::string audio, video;
    for (const ExtensionKind& row : ExtensionKinds) (row.Kind == "AUDIO" ? audio : video) += "*." + row.Ext + ";";
    audio.pop_back();
    video.pop_back();
    const std::string audioPart = "AUDIO (" + audio + ")|" + audio + "|";
    const std::string videoPart = "VIDEO (" + video + ")|" + video + "|";
    if (kind == 3) return audioPart + videoPart;
    if (kind == 0) return audioPart;
    return videoPart;
}

void TfrmPlayerWizard::Browse(TButton& button, const std::string& filter, std::string& value, bool executeAfter) {
    const std::string file = host_ ? host_->OpenFile(filter) : std::string();
    if (file.empty()) {
        btExecute.Enabled = false;
        return;
    }
    const std::string ext = ExtractFileExt(file);
    if (ext.empty() || !ContainsNoCase(filter, ext)) return;
    button.Caption = "\"" + file + "\"";
    value = button.Caption;
    btExecute.Enabled = executeAfter;
}

void TfrmPlayerWizard::btOpenFileClick() { Browse(btOpenFile, MediaFilter(3), Globals.TestFile, true); }

void TfrmPlayerWizard::btPlaylistClick() {
    const std::string& ext = Wizard->Player.PlaylistExt;
    Browse(btPlaylist, "PLAYLIST (" + ext + ")|*" + ext, Globals.TestPlaylist, true);
}

void TfrmPlayerWizard::btFile2Click() {
    // The rule reads the other value as it is before this choice: it cannot have changed.
    Browse(btFile2, MediaFilter(1), Globals.TestFile, !Globals.TestSubtitle.empty());
}

void TfrmPlayerWizard::btSubtitleClick() {
    std::string list;
    for (const std::string& ext : SubtitleExts) list += (list.empty() ? "*" : ";*") + ext;
    Browse(btSubtitle, "SUBTITLE (" + list + ")|" + list, Globals.TestSubtitle, !Globals.TestFile.empty());
}

bool TfrmPlayerWizard::LaunchPlayer(const std::string& parameters) {
    return Sys().ShellOpen(Wizard->Player.Exe, parameters) > 32;
}

void TfrmPlayerWizard::btExecuteClick() {
    std::string command = Wizard->CommandLine;
    std::string kind;
    switch (PageEmulator.ActivePage) {
        case 0:
            kind = "Single Files";
            command = ReplaceAll(command, "[FILE]", Globals.TestFile);
            break;
        case 1:
            kind = "Playlists";
            command = ReplaceAll(command, "[PLAYLIST]", Globals.TestPlaylist);
            break;
        default:
            kind = "Subtitles";
            command = ReplaceAll(command, "[FILE]", Globals.TestFile);
            command = ReplaceAll(command, "[SUBTITLE]", Globals.TestSubtitle);
            break;
    }
    if (!LaunchPlayer(command)) {
        Sys().MessageBox(MsgKind::Error, PlayerCannotOpenText, MsgButtons::Ok);
        return;
    }
    std::string advice;
    if (RequiredTags != Wizard->CommandLine)
        advice = "\rIf you aren't sure about this particular command line try using the default rule: \r\r"
                 "[PLAYER] " + RequiredTags;
    const std::string& name = Wizard->Player.Name;
    Sys().MessageBox(MsgKind::Plain, "Please wait while '" + name + "' loads, then press 'OK' !", MsgButtons::Ok);
    const MsgResult answer = Sys().MessageBox(
        MsgKind::Confirmation, "Was the player able to play '" + kind + "' with the command line specified ?",
        MsgButtons::YesNo);
    if (answer == MsgResult::No) {
        Sys().MessageBox(MsgKind::Warning,
                         "Please read \"" + name +
                             "\" documentation carefully, look for the apropriate command line, \r"
                             "and ensure that your player can play the file you want to test. \r\r" +
                             advice + "\r\r Note: If you continue, you will not be able to play '" + kind + "'.",
                         MsgButtons::Ok);
        btTestClick();
        return;
    }
    Sys().MessageBox(MsgKind::Information, "Test Sucessfull! \r\rYour player is able to play '" + kind + "' !",
                     MsgButtons::Ok);
    btTestClick();
    btNextClick();
}

}  // namespace vexamo
