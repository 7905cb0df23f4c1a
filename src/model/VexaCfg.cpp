#include "model/VexaCfg.h"

#include <algorithm>
#include <cstdio>

#include "platform/Utf8.h"

namespace vexamo {

std::string ExeName;
std::string ProgramFolder;

std::optional<std::string> UsableExePath(const std::string& path) {
    // A lone surrogate (possible in an NTFS name) has no UTF-8 form the "A" functions of the
    // windows could give back.
    if (path.empty() || !IsValidUtf8(path)) return std::nullopt;
    size_t longestName = 0;
    for (const std::string* name : {&SettingsFileName, &PlayersFileName, &SelectionFileName})
        longestName = std::max(longestName, name->size());
    if (Utf16Length(ExtractFilePath(path)) + longestName >= ProfilePathLimit) return std::nullopt;
    return path;
}

std::string LogFilePath() {
    const std::string name = ExtractFileName(ExeName);
    std::string path = ExeName;
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) path.erase(path.size() - (name.size() - dot));
    return path + ".log";
}

std::string ErrorLogLine(const std::string& message) {
    const LocalTime t = Sys().Now();
    char date[16];
    std::snprintf(date, sizeof date, "%02d-%02d-%02d", t.Day % 100, t.Month % 100, t.Year % 100);
    return std::string(date) + " " + Sys().FormatLongTime(t) + ":" + message;
}

bool AppendToLog(const std::string& message) { return Sys().AppendTextFile(LogFilePath(), ErrorLogLine(message) + "\r\n"); }

void TVexamo::Create() {
    Status = 1;
    LoadSettings(ProgramFolder + SettingsFileName);
}

void TVexamo::LoadSettings(const std::string& path) {
    // One read of the file for every value, the AutoPlay switch's record included.
    const IniFile file = ReadIniFile(path);
    const IniSection monitorValues = file.Section("Monitor"), priority = file.Section("Priority"),
                     windows = file.Section("Windows"), subtitles = file.Section("Subtitles");
    const std::string status = file.Section("Main").String("Status");
    auto word = std::find(StatusWords.begin(), StatusWords.end(), status);
    Status = (!status.empty() && word != StatusWords.end()) ? static_cast<std::uint8_t>(word - StatusWords.begin()) : 1;

    auto settings = std::make_unique<TSettings>();
    TOptMonitor& monitor = settings->Monitor;
    // Written joined with blanks; a hand-made or older file may join them with ";". No root holds
    // either, so both separate.
    std::string drives = monitorValues.String("Drives");
    std::replace(drives.begin(), drives.end(), ';', ' ');
    // A folder on a CD drive passes the drive-type check but never shows a disc, and a root
    // listed twice would be queried twice at every refresh: only distinct roots are kept.
    if (!drives.empty()) {
        for (const std::string& root : SplitString(drives, ' ')) {
            if (!IsDriveRoot(root) || Sys().DriveType(root) != DriveKind::CdRom) continue;
            if (std::none_of(monitor.Drives.begin(), monitor.Drives.end(),
                             [&](const std::string& kept) { return SameText(kept, root); }))
                monitor.Drives.push_back(root);
        }
    }
    if (monitor.Drives.empty()) monitor.Drives = CdDrives;

    monitor.ScanAll = monitorValues.Bool("ScanAll", false);
    monitor.AlwaysOn = monitorValues.Bool("Always On", false);
    monitor.OnPlayClose = monitorValues.Bool("OnPlayClose", false);
    monitor.Removable = monitorValues.Bool("Removable", false);
    monitor.Notify = monitorValues.Bool("Notify", true);
    if (monitor.AlwaysOn) Status = 0;

    settings->UserPriority = priority.Bool("User", false);
    settings->Priority.Choice = priority.Bool("Choice", false);
    settings->Priority.Player = priority.String("Player");

    settings->Windows.AutoStart = windows.Bool("AutoStart", false);
    settings->Windows.AutoCD = windows.Bool("AutoCD", false);

    SetWindowsAutoPlay(settings->Windows.AutoCD, false, path, ReadAutoPlayRecord(windows));
    // The flag follows what Windows will do: an entry that could not be written is no start at
    // logon, and one that could not be removed still is.
    settings->Windows.AutoStart =
        SetAutoStart(AutoStartValueName, ProgramFolder + ExeFileName, settings->Windows.AutoStart, false);

    settings->Subtitles.Auto = subtitles.Bool("Auto", true);
    settings->Subtitles.Path = subtitles.String("path");
    settings->Subtitles.Folders = CdDrives;
    if (!settings->Subtitles.Path.empty()) settings->Subtitles.Folders.push_back(settings->Subtitles.Path);

    Settings = std::move(settings);
}

namespace {

// A setting the file does not hold yet reads as its default, so it needs no line until it changes;
// a line that is there follows the setting back to its default too.
void WriteLaterBool(const std::string& path, const std::string& section, const std::string& key, bool value,
                    bool def) {
    if (value == def && !ReadIniOptional(path, section, key)) return;
    WriteIniBool(path, section, key, value);
}

}  // namespace

void TVexamo::SaveSettings(const std::string& folder, const std::string& fileName, bool statusOnly) {
    const std::string path = folder + fileName;
    const TSettings& s = *Settings;
    WriteIniString(path, "Main", "Status", StatusWords.at(Status));
    if (statusOnly) return;
    WriteIniBool(path, "Priority", "User", s.UserPriority);
    WriteIniBool(path, "Monitor", "ScanAll", s.Monitor.ScanAll);
    WriteIniString(path, "Monitor", "Drives", JoinList(s.Monitor.Drives, " "));
    WriteIniBool(path, "Monitor", "Always On", s.Monitor.AlwaysOn);
    WriteIniBool(path, "Monitor", "OnPlayClose", s.Monitor.OnPlayClose);
    WriteIniBool(path, "Priority", "Choice", s.Priority.Choice);
    WriteIniString(path, "Priority", "Player", s.Priority.Player);
    WriteIniBool(path, "Windows", "AutoStart", s.Windows.AutoStart);
    WriteIniBool(path, "Windows", "AutoCD", s.Windows.AutoCD);
    WriteIniBool(path, "SubTitles", "Auto", s.Subtitles.Auto);
    WriteIniString(path, "SubTitles", "Path", s.Subtitles.Path);
    // Keys the program learnt later follow those it always wrote, and appear only once they differ
    // from their default, so the file of a user who never touches them stays as earlier versions wrote it.
    WriteLaterBool(path, "Monitor", "Removable", s.Monitor.Removable, false);
    WriteLaterBool(path, "Monitor", "Notify", s.Monitor.Notify, true);
}

StringList TVexamo::WatchedDrives() const {
    StringList roots = Settings->Monitor.Drives;
    if (!Settings->Monitor.Removable) return roots;
    auto add = [&](const std::string& root) {
        if (std::none_of(roots.begin(), roots.end(), [&](const std::string& r) { return SameText(r, root); }))
            roots.push_back(root);
    };
    for (const std::string& root : GetDrivesOfType(DriveKind::Removable)) add(root);
    for (const std::string& root : ArrivedDrives)
        if (IsDriveRoot(root) && Sys().DriveType(root) == DriveKind::Removable) add(root);
    return roots;
}

bool TVexamo::CheckPlayersInstalled() {
    bool result = false;
    const std::string players = ProgramFolder + PlayersFileName;
    const IniFile catalogue = ReadIniFile(players);
    for (const std::string& name : ReadIniFile(ProgramFolder + SelectionFileName).Sections()) {
        const IniSection player = catalogue.Section(name);
        if (!player.Exists()) continue;
        if (Sys().FileExists(player.String("exe"))) {
            result = true;
        } else {
            Sys().MessageBox(MsgKind::Plain,
                             "Previous selected player: \"" + name + "\" was not found !\r" +
                                 "Please ensure that this Player is installed !",
                             MsgButtons::Ok, "Vexamo: Warning");
        }
    }
    return result;
}

void TVexamo::SavePriority(const std::string& folder, const std::string& fileName) {
    const std::string path = folder + fileName;
    const TSettings& s = *Settings;
    WriteIniBool(path, "Priority", "User", s.UserPriority);
    WriteIniBool(path, "Priority", "Choice", s.Priority.Choice);
    WriteIniString(path, "Priority", "Player", s.Priority.Player);
}

}  // namespace vexamo
