#include "scan/fileMonitor.h"

#include <algorithm>
#include <iterator>
#include <memory>

#include "app/Globals.h"
#include "model/CommandLines.h"
#include "model/User.h"
#include "model/VexaCfg.h"
#include "platform/Dispatch.h"
#include "platform/Mirror.h"
#include "scan/Notices.h"
#include "scan/fileMonitor_res.h"

namespace vexamo {

static_assert(TfrmMonitor::TypePictureCount ==
              1 + static_cast<int>(KnownExtensions.size()) + static_cast<int>(DiscKindNames.size()));

namespace {

TMenuItem Command(const std::string& name, const std::string& caption, bool enabled = true) {
    TMenuItem item;
    item.Name = name;
    item.Caption = caption;
    item.Enabled = enabled;
    return item;
}

TControl Captioned(const std::string& caption) {
    TControl label;
    label.Caption = caption;
    return label;
}

}  // namespace

TfrmMonitor::TfrmMonitor(const MonitorHostFactory& makeHost) {
    Label4 = Captioned("File Scan Results");
    Label5 = Captioned("File(s) Found:");
    Label1 = Captioned("(Click files for context menu)");
    Label3 = Captioned("Label:");
    lblCDLabel = Captioned("Label...");
    Label2 = Captioned("Device:");
    lblDevice = Captioned("Device...");
    btCancel = Captioned("&Cancel");

    lstFileTypes.Hint = "Select file extension(s) to launch the associated Media Player";
    lstFileTypes.Columns = {{"", 60}, {"Files Found", 80, 50, 250}, {"Player", 250}};

    TMenuItem play = Command("mnuPlay", "Enqueue && &Play");
    play.ImageIndex = 0;
    play.Default = true;
    play.Items = {Command("mnuSelected", "&Selected"), Command("mnuAudio", "All Audi&o", false),
                  Command("mnuVideo", "All &Video", false), Command("mnuAll", "&All")};
    popOptions.Items = {play, Command("mnuOpen", "&Open Player"), Command("N1", "-"),
                        Command("mnuChoose", "Choose &File...")};
    popOptions.Banner = "Options";
    lstFileTypes.OnClick = lstFileTypes.OnRightClick = [this] { lstFileTypesMouseDown(); };
    btCancel.OnClick = [this] { btCancelClick(); };
    if (makeHost) host_ = makeHost(*this);
}

TfrmMonitor::~TfrmMonitor() = default;

const std::array<TfrmMonitor::Place, 8> TfrmMonitor::Places{{
    {IDC_MONITOR_LABEL5, 12, 78, 200, 16},     {IDC_MONITOR_LSTFILETYPES, 12, 96, 424, 262},
    {IDC_MONITOR_LABEL1, 12, 362, 260, 16},    {IDC_MONITOR_LABEL3, 12, 390, 50, 16},
    {IDC_MONITOR_LBLCDLABEL, 66, 390, 260, 16}, {IDC_MONITOR_LABEL2, 12, 410, 50, 16},
    {IDC_MONITOR_LBLDEVICE, 66, 410, 260, 34}, {IdCancel, 348, 426, 88, 30},
}};

void TfrmMonitor::BindControls(RecordMirror& m) {
    m.BindCaption(Caption);
    m.Bind(IDC_MONITOR_LABEL5, Label5);
    m.Bind(IDC_MONITOR_LSTFILETYPES, lstFileTypes);
    m.Bind(IDC_MONITOR_LABEL1, Label1);
    m.Bind(IDC_MONITOR_LABEL3, Label3);
    m.Bind(IDC_MONITOR_LBLCDLABEL, lblCDLabel);
    m.Bind(IDC_MONITOR_LABEL2, Label2);
    m.Bind(IDC_MONITOR_LBLDEVICE, lblDevice);
    m.Bind(IdCancel, btCancel);
}

void TfrmMonitor::FormShow() {
    lstFileTypes.Items.clear();
    lstFileTypes.ItemIndex = -1;
    const StringList& pairs = Globals.Vexamo->FoundPairs;
    for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
        TListItem row;
        row.ImageIndex = TypePictureOf(pairs[i]);
        row.SubItems = {pairs[i], pairs[i + 1]};
        lstFileTypes.Items.push_back(std::move(row));
    }
    lblDevice.Caption = JoinList(Globals.Vexamo->MediaDrives, ",");
    lblCDLabel.Caption = Globals.Vexamo->DiscLabel;
}

void TfrmMonitor::lstFileTypesMouseDown() { OpenMenu(false); }

void TfrmMonitor::lstFileTypesKeyDown(ListKey) { OpenMenu(true); }

void TfrmMonitor::DialogKey(TDialogKey key) {
    if (key == TDialogKey::Enter)
        lstFileTypesKeyDown(ListKey::Return);
    else
        btCancelClick();
}

void TfrmMonitor::OpenMenu(bool atSelectedRow) {
    const int row = lstFileTypes.ItemIndex;
    if (row < 0 || row >= static_cast<int>(lstFileTypes.Items.size())) return;
    const int player = Globals.SelectedPlayers->IndexOfPlayer(lstFileTypes.Items[row].SubItems.at(1));
    // A row always names a selected player; should it not, no command may act on another one.
    if (player < 0) return;
    Globals.CurrentPlayer = Globals.SelectedPlayers->Players[player].get();
    popOptionsPopup();
    if (host_) popOptionsClick(host_->PopupOptions(atSelectedRow));
}

void TfrmMonitor::popOptionsPopup() {
    const int row = lstFileTypes.ItemIndex;
    if (!Globals.CurrentPlayer || row < 0 || row >= static_cast<int>(lstFileTypes.Items.size())) return;
    const int ext = Globals.CurrentPlayer->IndexOfExtension(lstFileTypes.Items[row].SubItems.at(0));
    if (ext < 0) return;
    CurrentExtension = ext;
    TMenuItem& audio = PlayItem(mnuAudio);
    TMenuItem& video = PlayItem(mnuVideo);
    const int kind = Globals.CurrentPlayer->Extensions[ext].Kind;
    if (kind == 0 && !audio.Enabled) {
        audio.Enabled = true;
        video.Enabled = false;
    } else if (kind == 1 && !video.Enabled) {
        video.Enabled = true;
        audio.Enabled = false;
    }
}

void TfrmMonitor::mnuSelectedClick() { PlaySelection(psSelected); }
void TfrmMonitor::mnuVideoClick() { PlaySelection(psAllVideo); }
void TfrmMonitor::mnuAudioClick() { PlaySelection(psAllAudio); }
void TfrmMonitor::mnuAllClick() { PlaySelection(psAll); }

void TfrmMonitor::mnuChooseClick() {
    const TUserPlayer& user = *Globals.CurrentPlayer;
    const std::string& ext = user.Extensions.at(CurrentExtension).Ext;
    OpenFileFilter = user.Player->Name + " (*" + ext + ")|*" + ext;
    const std::string chosen = host_ ? host_->ChooseFile(OpenFileFilter) : std::string();
    if (chosen.empty()) return;
    chosenFile_ = chosen;
    PlaySelection(psChosenFile);
}

void TfrmMonitor::mnuOpenClick() {
    RunProgram(Globals.CurrentPlayer->Player->Exe, "");
    Close();
}

void TfrmMonitor::btCancelClick() { Close(); }

void TfrmMonitor::CommandClick(MonitorCommand command) {
    switch (command) {
        case MonitorCommand::Selected: mnuSelectedClick(); break;
        case MonitorCommand::Audio: mnuAudioClick(); break;
        case MonitorCommand::Video: mnuVideoClick(); break;
        case MonitorCommand::All: mnuAllClick(); break;
        case MonitorCommand::Open: mnuOpenClick(); break;
        case MonitorCommand::Choose: mnuChooseClick(); break;
    }
}

void TfrmMonitor::popOptionsClick(int number) {
    const TMenuPlace place = popOptions.PlaceOf(number);
    if (place.Item < 0) return;
    const TMenuItem& item = popOptions.Items[place.Item];
    if (!item.Enabled) return;
    if (place.Item == mnuPlay) {
        constexpr MonitorCommand plays[] = {MonitorCommand::Selected, MonitorCommand::Audio, MonitorCommand::Video,
                                            MonitorCommand::All};
        if (place.SubItem >= 0 && place.SubItem < static_cast<int>(std::size(plays)) &&
            item.Items[place.SubItem].Enabled)
            CommandClick(plays[place.SubItem]);
    } else if (place.SubItem < 0 && place.Item == mnuOpen) {
        CommandClick(MonitorCommand::Open);
    } else if (place.SubItem < 0 && place.Item == mnuChoose) {
        CommandClick(MonitorCommand::Choose);
    }
}

void TfrmMonitor::PlaySelection(TPlayScope scope) {
    TUserPlayer& user = *Globals.CurrentPlayer;
    // A disc played as a whole is played by the player's disc template, never as a list of files.
    auto playDisc = [&](const TExtension& e) {
        Launch(ComposeDiscLaunch(*Globals.Vexamo, *user.Player, e.Found->Files.front(), e.Disc));
    };
    std::vector<StringList> groups;
    auto addKind = [&](int kind) {
        for (const TExtension& e : user.Extensions)
            if (e.Found && e.Disc == DiscKind::None && (kind < 0 || e.Kind == kind)) groups.push_back(e.Found->Files);
    };
    auto disc = [&]() -> const TExtension* {
        for (const TExtension& e : user.Extensions)
            if (e.Found && e.Disc != DiscKind::None) return &e;
        return nullptr;
    };
    switch (scope) {
        case psSelected: {
            const TExtension& e = user.Extensions.at(CurrentExtension);
            if (e.Disc != DiscKind::None && e.Found) return playDisc(e);
            groups.push_back(e.Found ? e.Found->Files : StringList{});
            break;
        }
        case psAllVideo:
        case psAll:
            // The disc the user gave this player plays rather than what lies beside it.
            if (const TExtension* e = disc()) return playDisc(*e);
            addKind(scope == psAll ? -1 : 1);
            break;
        case psAllAudio: addKind(0); break;
        // The chosen file is played alone but does not replace the row's files: should the play
        // fail, the window stays open with everything the scan found.
        case psChosenFile: groups.push_back({chosenFile_}); break;
    }
    Play(groups);
}

void TfrmMonitor::Play(std::vector<StringList> groups) {
    TUserPlayer& user = *Globals.CurrentPlayer;
    const int kind = CurrentExtension >= 0 && CurrentExtension < static_cast<int>(user.Extensions.size())
                         ? user.Extensions[CurrentExtension].Kind
                         : -1;
    // The tracks of an audio CD are no files that can be read: a player that takes the disc plays
    // it as a whole; for one that does not, the playlist holds them in track order.
    for (StringList& group : groups) {
        if (group.empty() || !SameText(ExtractFileExt(group.front()), AudioTrackExtension)) continue;
        if (!user.Player->Flags->DiscTemplate(DiscKind::AudioCd).empty())
            return Launch(ComposeDiscLaunch(*Globals.Vexamo, *user.Player, group.front().substr(0, 3), DiscKind::AudioCd));
        std::sort(group.begin(), group.end(), LessText);
    }
    // A playlist that cannot be written raises here: nothing is started and the window stays.
    Launch(ComposeLaunch(*Globals.Vexamo, *user.Player, groups, kind));
}

void TfrmMonitor::Launch(const TLaunch& launch) {
    const std::string leftOut =
        launch.LeftOut.empty() ? std::string() : LeftOutText(*Globals.CurrentPlayer->Player, launch.LeftOut);
    Globals.Trace.Mark("command line and playlist");
    const std::intptr_t answer = RunProgram(launch.Exe, launch.Parameters);
    Globals.Trace.Mark("player started");
    const std::string& player = Globals.CurrentPlayer->Player->Name;
    // A player the shell could not start played nothing: the run ends as one that played nothing.
    Globals.PlayerStarted = answer > 32;
    Globals.PlayNotice = Globals.PlayerStarted
                             ? PlayingNotice(player, launch, Globals.Vexamo->MediaDrives, Globals.Vexamo->DiscLabel)
                             : NotStartedNotice(player, launch.Exe, answer, !Sys().FileExists(launch.Exe));
    Close();
    // After the start, so the player is busy with what it could be given while the user reads.
    if (Globals.PlayerStarted && !leftOut.empty()) Sys().MessageBox(MsgKind::Information, leftOut, MsgButtons::Ok);
}

void TfrmMonitor::ShowModal() {
    FormShow();
    ShowModalBetween([&] { modal_ = true; },
                     [&] {
                         if (host_) host_->ShowModal();
                     },
                     [&] {
                         modal_ = false;
                         FormClose();
                     });
}

int TypePictureOf(const std::string& word) {
    // Picture 0 is never used: picture n + 1 stands for the n-th known extension, and the disc
    // kinds' pictures follow the extensions'.
    const DiscKind disc = DiscKindOf(word);
    if (disc != DiscKind::None) return static_cast<int>(KnownExtensions.size()) + 1 + static_cast<int>(disc);
    const int known = KnownIndexOf(word);
    return known < 0 ? -1 : known + 1;
}

int AutoPlayExtension(const TUserPlayer& player) {
    for (size_t i = 0; i < player.Extensions.size(); ++i)
        if (player.Extensions[i].Found && !player.Extensions[i].Found->Files.empty()) return static_cast<int>(i);
    return 0;
}

void TfrmMonitor::AutoPlay() {
    CurrentExtension = AutoPlayExtension(*Globals.CurrentPlayer);
    mnuAllClick();
}

void TfrmMonitor::DiscRemoved() {
    for (const std::string& drive : Drives) {
        if (GetVolumeLabel(drive) == NoCdLabel) {
            btCancelClick();
            return;
        }
    }
}

void TfrmMonitor::Close() {
    if (modal_) {
        if (host_) host_->EndModal();
        return;
    }
    FormClose();
}

void TfrmMonitor::FormClose() {
    std::unique_ptr<TfrmMonitor> self;
    if (Globals.frmMonitor.get() == this) self = std::move(Globals.frmMonitor);
    Dispatch::Release(std::move(self));
}

}  // namespace vexamo
