// An in-memory Windows for the native tests: drives with or without a disc, a file tree with
// attributes, private-profile files kept as real text, a registry, scripted message-box answers
// and a record of every program started and every tray call.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Platform.h"
#include "platform/IniText.h"

namespace vexamo::test {

struct ShownMessage {
    MsgKind Kind;
    std::string Text;
    MsgButtons Buttons;
    std::string Caption;
};

struct StartedProgram {
    std::string File;
    std::string Parameters;
};

struct TrayCall {
    NotifyAction Action;
    TrayIconData Data;
};

class FakePlatform : public Platform {
public:
    // Becomes the current platform; on destruction puts back the one it replaced.
    FakePlatform();
    ~FakePlatform() override;
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    // --- set-up -------------------------------------------------------------------------
    // A drive of the given type; a CD drive holds a disc only when a label is given.
    void AddDrive(const std::string& root, DriveKind type, std::optional<std::string> discLabel = {});
    void SetDisc(const std::string& root, std::optional<std::string> discLabel);
    void RemoveDrive(const std::string& root);
    // Forces the raw drive string (to test odd GetLogicalDriveStrings answers).
    void SetRawDriveStrings(std::optional<std::string> raw) { rawDrives_ = std::move(raw); }

    // Files and folders; parents are created as plain folders.
    void AddFile(const std::string& path, const std::string& content = {}, bool hidden = false,
                 bool system = false);
    void AddFolder(const std::string& path, bool hidden = false, bool system = false, bool reparse = false);
    void SetReadOnly(const std::string& path, bool readOnly = true);
    // A file the user may not read or write (its permissions say so), though the folder lets it be
    // deleted.
    void SetLocked(const std::string& path, bool locked = true);
    std::optional<std::string> Content(const std::string& path) const;

    void SetRegInteger(RegRoot root, const std::string& key, const std::string& name, std::uint32_t value);
    void SetRegString(RegRoot root, const std::string& key, const std::string& name, const std::string& value);
    // A REG_EXPAND_SZ value, its %Variables% left for the reader to expand.
    void SetRegExpandString(RegRoot root, const std::string& key, const std::string& name, const std::string& value);
    void AddRegKey(RegRoot root, const std::string& key);
    // A key that exists and reads, but cannot be opened for writing (an ordinary user's view of
    // most of HKEY_LOCAL_MACHINE): every write and delete fails.
    void DenyRegKey(RegRoot root, const std::string& key);
    // Writes to this key silently do not take effect (as for an ordinary user under HKLM).
    void IgnoreRegWrites(RegRoot root, const std::string& key);
    // The key opens, but every write to it fails (a key an administrator locked).
    void FailRegWrites(RegRoot root, const std::string& key);
    bool RegValueExists(RegRoot root, const std::string& key, const std::string& name) const;

    // Answers for the next message boxes, in order; once used up every box answers its default
    // (OK, or No for a Yes/No box).
    void Answer(MsgResult result) { answers_.push_back(result); }

    // The legacy code page is Windows-1252, as on a Western Windows and under Wine's default locale.
    // Bytes listed here are no text of it, as broken multibyte sequences are in an Asian code page.
    std::string UndecodableLegacyBytes;

    std::intptr_t ShellResult = 42;
    // What happens while a message box is on screen or the shell starts a program: both run a
    // nested message loop on Windows, in which other windows' handlers run.
    std::function<void(const ShownMessage&)> WhileMessageShown;
    std::function<void(const StartedProgram&)> WhileStarting;
    int Platform_Id = 2;
    LocalTime Clock{2026, 12, 7, 14, 5, 31};

    // The environment ExpandEnvironment draws on, by name without regard to case.
    std::map<std::string, std::string> Environment = {{"programfiles", "C:\\Program Files"},
                                                      {"programfiles(x86)", "C:\\Program Files (x86)"},
                                                      {"systemroot", "C:\\Windows"}};

    std::vector<ShownMessage> Messages;
    std::vector<StartedProgram> Started;
    std::vector<TrayCall> TrayCalls;
    bool TrayIconShown = false;
    TrayIconData TrayState{};
    struct Balloon {
        std::string Title, Text;
    };
    std::vector<Balloon> Balloons;  // shown over the icon, oldest first

    // Profile calls that read a file (names, a value or a whole section), each a search of the
    // file on Windows.
    int IniReads = 0;

    // --- Platform -------------------------------------------------------------------------
    std::string LogicalDriveStrings() override;
    DriveKind DriveType(const std::string& path) override;
    bool VolumeLabel(const std::string& root, std::string& label) override;
    std::string SysErrorMessage(int code) override;
    std::vector<DirEntry> ListFolder(const std::string& mask) override;
    bool FileExists(const std::string& path) override;
    bool DeleteFile(const std::string& path) override;
    std::optional<std::string> ReadTextFile(const std::string& path) override;
    bool AppendTextFile(const std::string& path, const std::string& text) override;
    std::optional<std::string> FromLegacyText(std::string_view bytes) override;
    std::optional<std::string> ToLegacyText(std::string_view text) override;
    std::vector<std::string> IniSectionNames(const std::string& path) override;
    std::vector<std::string> IniKeyNames(const std::string& path, const std::string& section) override;
    std::string IniReadString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& def) override;
    std::vector<std::string> IniSectionLines(const std::string& path, const std::string& section) override;
    std::string IniFileText(const std::string& path) override;
    bool IniWriteString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value) override;
    bool IniEraseSection(const std::string& path, const std::string& section) override;
    bool RegKeyExists(RegRoot root, const std::string& key) override;
    bool RegCreateKey(RegRoot root, const std::string& key) override;
    std::optional<std::uint32_t> RegReadInteger(RegRoot root, const std::string& key, const std::string& name) override;
    std::optional<std::string> RegReadString(RegRoot root, const std::string& key, const std::string& name) override;
    bool RegWriteInteger(RegRoot root, const std::string& key, const std::string& name, std::uint32_t value) override;
    bool RegWriteString(RegRoot root, const std::string& key, const std::string& name, const std::string& value) override;
    bool RegDeleteValue(RegRoot root, const std::string& key, const std::string& name) override;
    // The 32-bit view of HKLM\SOFTWARE\<key> is HKLM\SOFTWARE\WOW6432Node\<key>, as 64-bit Windows
    // redirects it; everything else is the same in both views.
    std::optional<RegText> RegReadText(RegRoot root, RegView view, const std::string& key,
                                       const std::string& name) override;
    std::vector<std::string> RegValueNames(RegRoot root, RegView view, const std::string& key) override;
    std::string ExpandEnvironment(const std::string& text) override;
    std::intptr_t ShellOpen(const std::string& file, const std::string& parameters) override;
    MsgResult MessageBox(MsgKind kind, const std::string& text, MsgButtons buttons, const std::string& caption) override;
    bool NotifyIcon(NotifyAction action, const TrayIconData& data) override;
    bool NotifyBalloon(const TrayIconData& data, const std::string& title, const std::string& text) override;
    LocalTime Now() override { return Clock; }
    std::string FormatLongTime(const LocalTime& t) override;
    int PlatformId() override { return Platform_Id; }

private:
    struct Node {
        std::string Path;  // as given, folders without trailing backslash
        bool Directory = false;
        bool Hidden = false, System = false, ReparsePoint = false, ReadOnly = false, Locked = false;
        std::string Content;
        std::string Key, ParentKey;  // normalised once: listings compare these many times
    };
    struct Drive {
        std::string Root;
        DriveKind Type = DriveKind::Unknown;
        std::optional<std::string> Label;
    };
    struct RegValue {
        bool IsInteger = false;
        std::uint32_t Integer = 0;
        std::string Text;
        std::string Name;  // as written, for listings
        bool Expand = false;
    };
    struct RegKey {
        bool Denied = false;
        bool IgnoreWrites = false;
        bool FailWrites = false;
        std::map<std::string, RegValue> Values;  // by lower-case name
    };

    Node& NewNode(const std::string& path, bool directory);
    Node* Find(const std::string& path);
    const Node* Find(const std::string& path) const;
    bool WritableFolder(const std::string& folder) const;
    std::optional<std::string> Readable(const std::string& path) const;
    bool WriteWholeFile(const std::string& path, const std::string& text);
    static std::string RegId(RegRoot root, const std::string& key);
    static std::string RegId(RegRoot root, RegView view, const std::string& key);
    // The profile functions read the same few files over and over: each text is parsed once.
    const IniText& Parsed(const std::string& path);
    // A file's text as the profile operations see it (in UTF-8), and whether it must be
    // rewritten at the next write (it was in another encoding).
    std::string IniTextOf(const std::string& raw, bool& foreign);
    // Applies a change to the file the way the real platform does: a foreign file is rewritten
    // in UTF-8 even when the change itself changes nothing.
    bool ChangeIni(const std::string& path, const std::function<bool(IniText&)>& change, bool refusedWhenProtected);

    std::vector<Drive> drives_;
    std::optional<std::string> rawDrives_;
    std::vector<Node> nodes_;  // in creation order, which is the order listings return
    std::unordered_map<std::string, size_t> byKey_;  // where each Key is in nodes_
    std::map<std::string, RegKey> reg_;
    std::deque<MsgResult> answers_;
    struct ParsedText {
        std::string Text;
        IniText Ini;
    };
    std::deque<ParsedText> parsed_;
    Platform* previous_ = nullptr;
};

// Case-insensitive wildcard match of * and ?, as FindFirstFile matches names.
bool WildcardMatch(const std::string& pattern, const std::string& name);

}  // namespace vexamo::test
