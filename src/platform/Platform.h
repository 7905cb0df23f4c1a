// The seam between the model and the operating system. Everything the model and the portable
// windows need from Windows goes through this interface: the Win32 implementation lives in
// src/platform/win32/, an in-memory fake in tests/support/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexamo {

enum class RegRoot { CurrentUser, LocalMachine };

// The two registries of a 64-bit Windows: its own, and the one 32-bit programs see (their
// HKLM\SOFTWARE is HKLM\SOFTWARE\WOW6432Node). A 32-bit Windows has the first only.
enum class RegView { Native, Wow32 };

// A string value as the registry holds it: Expand for REG_EXPAND_SZ, whose %Variables% are still in it.
struct RegText {
    std::string Value;
    bool Expand = false;
};

// The five kinds of message box the program shows; each has its standard title and icon.
enum class MsgKind { Plain, Confirmation, Warning, Information, Error };
enum class MsgButtons { Ok, YesNo };
enum class MsgResult { Ok, Yes, No, Cancel };

// Drive types as GetDriveType reports them; the numbers are Windows' own (see Win32Facts.cpp).
enum class DriveKind : unsigned {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

// One entry of a folder listing.
struct DirEntry {
    std::string Name;
    bool Directory = false;
    bool Hidden = false;
    bool System = false;
    bool ReparsePoint = false;  // junction or symbolic link
};

// The longest path, in UTF-16 units, that the file operations take. Windows' file functions reach
// 32767 units only through the "\\?\" form of a path, which takes four of them and the closing
// zero one more. A longer path is refused rather than handed on: Wine wraps a longer one round and
// opens another file.
constexpr std::size_t LongestPath = 32762;

struct LocalTime {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

// The first-version notification icon record, in portable form; the platform gives the real
// record its first-version size. Window and icon are opaque handles owned by the window binding.
// The tip field of the first-version record: 63 visible characters and the terminating zero.
constexpr std::size_t TrayTipSize = 64;

struct TrayIconData {
    std::uintptr_t Wnd = 0;
    std::uint32_t ID = 0;
    std::uint32_t Flags = 0;
    std::uint32_t CallbackMessage = 0;
    std::uintptr_t Icon = 0;
    char Tip[TrayTipSize] = {};
};

enum class NotifyAction { Add, Modify, Delete };

// The balloon fields of the newer record, each with its terminating zero.
constexpr std::size_t BalloonTitleSize = 64;
constexpr std::size_t BalloonTextSize = 256;

class Platform {
public:
    virtual ~Platform() = default;

    // Drives and volumes. LogicalDriveStrings returns what GetLogicalDriveStrings writes: roots
    // such as "C:\" each followed by a zero, the whole ended by one more zero.
    virtual std::string LogicalDriveStrings() = 0;
    virtual DriveKind DriveType(const std::string& root) = 0;
    // False when the volume cannot be read (no disc, no such drive).
    virtual bool VolumeLabel(const std::string& root, std::string& label) = 0;
    // The system's text for an error code (FormatMessage).
    virtual std::string SysErrorMessage(int code) = 0;

    // Files. Paths and names are UTF-8, of any length up to LongestPath. ListFolder returns the
    // entries matching a mask (folder + wildcard pattern) in the order the file system gives
    // them, without "." and "..". A missing folder lists nothing.
    virtual std::vector<DirEntry> ListFolder(const std::string& mask) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool DeleteFile(const std::string& path) = 0;
    // Whole-file text access; ReadTextFile returns nothing when the file cannot be opened.
    virtual std::optional<std::string> ReadTextFile(const std::string& path) = 0;
    // Appends (creating the file when needed); false when the file cannot be written.
    virtual bool AppendTextFile(const std::string& path, const std::string& text) = 0;

    // The machine's legacy code page: the one programs without Unicode keep their text in (the
    // versions of this program before UTF-8, and the players that read the older playlist
    // formats). FromLegacyText gives such text in UTF-8, or nothing when the bytes are no text of
    // it; ToLegacyText gives UTF-8 text in it, or nothing when a character has no form there.
    virtual std::optional<std::string> FromLegacyText(std::string_view bytes) = 0;
    virtual std::optional<std::string> ToLegacyText(std::string_view text) = 0;

    // Private-profile (INI) files, one operation at a time. New files are written in UTF-8; a
    // file in another encoding reads right and is rewritten in UTF-8 when first written to.
    virtual std::vector<std::string> IniSectionNames(const std::string& path) = 0;
    virtual std::vector<std::string> IniKeyNames(const std::string& path, const std::string& section) = 0;
    virtual std::string IniReadString(const std::string& path, const std::string& section,
                                      const std::string& key, const std::string& def) = 0;
    // A whole section in one call, its lines as GetPrivateProfileSection gives them: "name=value"
    // with the blanks around both dropped, or the bare line of one without "="; nothing for a
    // missing section. Reading many values of a section this way costs one search of the file.
    virtual std::vector<std::string> IniSectionLines(const std::string& path, const std::string& section) = 0;
    // The whole file in one read, as the operations above see it: its text in UTF-8 whatever its
    // encoding (IniTextInUtf8), empty for a missing file. A caller that needs many sections of a
    // file parses this once (IniText) instead of searching the file again for each of them.
    virtual std::string IniFileText(const std::string& path) = 0;
    virtual bool IniWriteString(const std::string& path, const std::string& section,
                                const std::string& key, const std::string& value) = 0;
    virtual bool IniEraseSection(const std::string& path, const std::string& section) = 0;

    // Registry. Keys are paths as the program writes them (a leading backslash means from the
    // root). Each operation opens the key and closes it again; a key that cannot be opened
    // counts as missing. RegKeyExists only probes; RegCreateKey creates a missing key and is true
    // when the key is there afterwards.
    virtual bool RegKeyExists(RegRoot root, const std::string& key) = 0;
    virtual bool RegCreateKey(RegRoot root, const std::string& key) = 0;
    virtual std::optional<std::uint32_t> RegReadInteger(RegRoot root, const std::string& key,
                                                        const std::string& name) = 0;
    virtual std::optional<std::string> RegReadString(RegRoot root, const std::string& key,
                                                     const std::string& name) = 0;
    virtual bool RegWriteInteger(RegRoot root, const std::string& key, const std::string& name,
                                 std::uint32_t value) = 0;
    virtual bool RegWriteString(RegRoot root, const std::string& key, const std::string& name,
                                const std::string& value) = 0;
    virtual bool RegDeleteValue(RegRoot root, const std::string& key, const std::string& name) = 0;
    // Reading what other programs registered, in either view: a string value with its type, and
    // the names of a key's values (none for a key that cannot be opened).
    virtual std::optional<RegText> RegReadText(RegRoot root, RegView view, const std::string& key,
                                               const std::string& name) = 0;
    virtual std::vector<std::string> RegValueNames(RegRoot root, RegView view, const std::string& key) = 0;
    // ExpandEnvironmentStrings: each %NAME% of a set variable becomes its value; others stay as written.
    virtual std::string ExpandEnvironment(const std::string& text) = 0;

    // The shell's "open" verb; returns the shell's result code (greater than 32 on success).
    virtual std::intptr_t ShellOpen(const std::string& file, const std::string& parameters) = 0;

    // A modal message box without owner. An empty caption gives the kind's standard title.
    virtual MsgResult MessageBox(MsgKind kind, const std::string& text, MsgButtons buttons,
                                 const std::string& caption = {}) = 0;

    // The notification area (Shell_NotifyIcon); false when the shell refused.
    virtual bool NotifyIcon(NotifyAction action, const TrayIconData& data) = 0;
    // A balloon over the icon `data` stands for (NIF_INFO on a record of the size balloons need);
    // nothing else of the icon changes. False when the shell refused (no such icon).
    virtual bool NotifyBalloon(const TrayIconData& data, const std::string& title, const std::string& text) = 0;

    // Clock, in local time, and the user's long time format for it.
    virtual LocalTime Now() = 0;
    virtual std::string FormatLongTime(const LocalTime& t) = 0;

    // GetVersionEx's platform identifier: 0 Win32s, 1 Windows 9x, 2 NT.
    virtual int PlatformId() = 0;
};

// A registry key as the system takes it: the program writes keys as "\Software\...\" as well as
// "Software\...", the registry wants neither the leading nor the trailing backslash.
std::string RegistryKeyPath(const std::string& key);
// The strings of a list of zero-ended strings that one more zero ends (as the profile functions
// write section and key names).
std::vector<std::string> SplitZeroList(const std::string& list);
// A file dialog's filter "Name|patterns|Name|patterns" as the system takes it: pairs of
// zero-ended strings, ended by one more zero.
std::string FileFilterPairs(const std::string& filter);
// A message box's title when it is given none.
const char* MessageTitle(MsgKind kind);

// The process-wide platform. Installed once at start-up (or by a test) before anything else runs.
// SetPlatform returns the platform it replaces, so that a stand-in can put it back.
Platform& Sys();
Platform* SetPlatform(Platform* platform);

}  // namespace vexamo
