// The real Windows behind the platform seam, called one operation at a time. Files, folders,
// profile files, volumes, the shell and message boxes go through the wide functions, converted
// from and to UTF-8 here; the registry and the tray go through the "A" functions, which take and
// give UTF-8 since the manifest makes it the program's code page.
#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include "platform/IniText.h"
#include "platform/Platform.h"

namespace vexamo {

class Win32Platform : public Platform {
public:
    // A drive-string answer longer than this many characters comes back with size() equal to
    // the length Windows asked for, so the caller can tell it did not fit.
    static constexpr unsigned DriveStringsBuffer = 129;
    // The longest section, key or value IniWriteString hands to Windows; longer ones fail.
    static constexpr size_t MaxIniWriteLength = 32766;

    std::string LogicalDriveStrings() override;
    DriveKind DriveType(const std::string& root) override;
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
    std::optional<std::uint32_t> RegReadInteger(RegRoot root, const std::string& key,
                                                const std::string& name) override;
    std::optional<std::string> RegReadString(RegRoot root, const std::string& key,
                                             const std::string& name) override;
    bool RegWriteInteger(RegRoot root, const std::string& key, const std::string& name,
                         std::uint32_t value) override;
    bool RegWriteString(RegRoot root, const std::string& key, const std::string& name,
                        const std::string& value) override;
    bool RegDeleteValue(RegRoot root, const std::string& key, const std::string& name) override;
    std::optional<RegText> RegReadText(RegRoot root, RegView view, const std::string& key,
                                       const std::string& name) override;
    std::vector<std::string> RegValueNames(RegRoot root, RegView view, const std::string& key) override;
    std::string ExpandEnvironment(const std::string& text) override;

    std::intptr_t ShellOpen(const std::string& file, const std::string& parameters) override;
    MsgResult MessageBox(MsgKind kind, const std::string& text, MsgButtons buttons,
                         const std::string& caption = {}) override;
    bool NotifyIcon(NotifyAction action, const TrayIconData& data) override;
    bool NotifyBalloon(const TrayIconData& data, const std::string& title, const std::string& text) override;

    LocalTime Now() override;
    std::string FormatLongTime(const LocalTime& t) override;
    int PlatformId() override;

private:
    // A profile file's size and last write time when it was last found to be UTF-8, by path: a
    // file that has not changed since need not be read whole again before every profile call.
    struct FileStamp {
        std::uint64_t Size = 0;
        std::uint64_t Written = 0;
        bool operator==(const FileStamp&) const = default;
    };
    std::map<std::string, FileStamp> utf8Inis_;

    std::optional<IniInUtf8> ForeignIni(const std::string& path);
    // Converts a foreign file before the profile functions write to it. When it holds bytes that
    // are no text, makes the change itself instead and sets `done`. False when the file could not
    // be written.
    bool ChangeForeignIni(const std::string& path, const std::function<bool(IniText&)>& change, bool& done);
};

// Makes the one process-wide Win32Platform the current platform; the program entry calls it
// before anything else.
void InstallWin32Platform();

}  // namespace vexamo
