// The core object shared by the whole program: the machine's CD drives, the monitoring status,
// the settings tree mirrored from Vexamo.ini, the paths of the launch being prepared and what the
// last scan found.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "model/general.h"

namespace vexamo {

// The monitoring status, the position of its words below.
constexpr std::uint8_t MonitoringOn = 0;
constexpr std::uint8_t MonitoringOff = 1;
inline const std::array<std::string, 2> StatusWords = {"On", "Off"};
inline const std::array<std::string, 2> ReadyWords = {"Ready", "Not Ready"};

inline const std::string SettingsFileName = "Vexamo.ini";
inline const std::string PlayersFileName = "Players.ini";
inline const std::string SelectionFileName = "Selection.ini";
inline const std::string ExeFileName = "Vexamo.exe";
inline const std::string AutoStartValueName = "Vexamo";

// The running executable's full path, and its folder with a trailing backslash; both set at
// start-up, before any file is read.
extern std::string ExeName;
extern std::string ProgramFolder;

// The longest path the profile functions take, with its ending zero (MAX_PATH), in UTF-16 units.
constexpr size_t ProfilePathLimit = 260;
// The program keeps its files beside itself: its path (UTF-8) as it can use it, or nothing when
// the longest of its own files there would be too long for the profile functions, or when the
// path is no text.
std::optional<std::string> UsableExePath(const std::string& path);
// The program's log beside its executable (Vexamo.log for Vexamo.exe), in UTF-8.
std::string LogFilePath();
// A line of the log: "dd-mm-yy <long time>:<message>", without the line end.
std::string ErrorLogLine(const std::string& message);
// Appends the message as a line of the log. A log that cannot be written (read-only folder, full
// disk) is no reason to fail what is being logged: false then, and nothing else happens.
bool AppendToLog(const std::string& message);

struct TOptMonitor {
    bool ScanAll = false;
    bool AlwaysOn = false;
    bool OnPlayClose = false;
    StringList Drives;
    // USB sticks and memory cards are watched like optical drives, every one there is.
    bool Removable = false;
    // "Show a notification when a disc is played": the tray's word after a disc arrival's scan.
    bool Notify = true;
};

struct TOptWindows {
    bool AutoCD = false;
    bool AutoStart = false;
};

struct TOptSubtitles {
    bool Auto = true;
    std::string Path;
    StringList Folders;  // built at load, never stored
};

struct TPriority {
    bool Choice = false;
    std::string Player;
};

struct TSettings {
    TOptMonitor Monitor;
    TOptWindows Windows;
    TOptSubtitles Subtitles;
    TPriority Priority;
    bool UserPriority = false;
};

struct TMonitoredFiles {
    std::string SubtitleName;
    std::string PlaylistName;
    std::string FileName;
    std::string DiscName;  // the drive root of a disc played as a whole, for [DISC]
};

class TVexamoInit {
public:
    StringList CdDrives;
    std::string CdDrivesText;
    std::uint8_t Status = MonitoringOff;
};

class TVexamo : public TVexamoInit {
public:
    std::unique_ptr<TSettings> Settings = std::make_unique<TSettings>();
    std::unique_ptr<TMonitoredFiles> Files = std::make_unique<TMonitoredFiles>();
    StringList FoundPairs;
    std::string SubtitleFound;
    StringList MediaDrives;
    std::string DiscLabel;
    // The drives a device arrival being handled names (a USB volume gets its letter with it).
    StringList ArrivedDrives;

    // What a status refresh and a scan look at: the monitored optical drives and, with removable
    // drives switched on, every removable drive there is or that just arrived. Fixed disks never.
    StringList WatchedDrives() const;

    // Loads the settings from ProgramFolder + Vexamo.ini; may run again on the live object.
    void Create();
    void LoadSettings(const std::string& path);
    void SaveSettings(const std::string& folder, const std::string& fileName, bool statusOnly);
    bool CheckPlayersInstalled();
    // Writes only the keys of the priority (Priority/User, Choice and Player).
    void SavePriority(const std::string& folder, const std::string& fileName);

    std::string ExpandTags(const std::string& templ) const;
    std::string FindSubtitle() const;
};

}  // namespace vexamo
