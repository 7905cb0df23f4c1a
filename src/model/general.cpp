#include "model/general.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>

#include "model/VexaCfg.h"
#include "platform/Errors.h"
#include "platform/Utf8.h"

namespace vexamo {

std::string Format(const std::string& pattern, const std::string& arg) {
    std::string out = pattern;
    size_t at = out.find("%s");
    if (at != std::string::npos) out.replace(at, 2, arg);
    return out;
}

// --- drives -------------------------------------------------------------------------------

StringList GetDrivesOfType(DriveKind kind) {
    constexpr size_t BufferSize = 129;
    StringList result;
    std::string buffer = Sys().LogicalDriveStrings();
    if (buffer.empty()) return result;
    if (buffer.size() > BufferSize) throw Error(Sys().SysErrorMessage(14));
    for (size_t at = 0; at < buffer.size() && buffer[at] != '\0'; at += 4) {
        std::string root = buffer.substr(at, 3);
        if (Sys().DriveType(root) == kind) result.push_back(root);
    }
    return result;
}

StringList GetCdDrives() { return GetDrivesOfType(DriveKind::CdRom); }

std::string GetVolumeLabel(const std::string& root) {
    std::string label;
    if (!Sys().VolumeLabel(root, label)) return NoCdLabel;
    return label.substr(0, label.find('\0'));
}

bool AnyDiscPresent(const StringList& roots) {
    size_t empty = 0;
    for (const std::string& root : roots)
        if (GetVolumeLabel(root) == NoCdLabel) ++empty;
    return empty != roots.size();
}

// --- file search --------------------------------------------------------------------------

bool IsSearchedFile(const DirEntry& e) { return !e.Directory && !e.Hidden && !e.System; }

bool IsSearchedFolder(const DirEntry& e) {
    // A junction or symbolic link may point back up the tree; following it could loop forever.
    return e.Directory && !e.Hidden && !e.System && !e.ReparsePoint && e.Name != "." && e.Name != "..";
}

namespace {

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool MatchesMask(const std::string& pattern, const std::string& name) {
    size_t p = 0, n = 0, starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

void SplitMask(const std::string& mask, std::string& folder, std::string& pattern) {
    size_t split = mask.find_last_of("\\:");
    folder = split == std::string::npos ? std::string() : mask.substr(0, split + 1);
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    pattern = split == std::string::npos ? mask : mask.substr(split + 1);
}

void WalkFolders(const std::string& start, const FolderVisitor& visit,
                 const std::function<bool(const std::string& folder)>& skip) {
    // An explicit stack rather than recursion: a disc may nest folders deeper than the stack allows.
    std::vector<std::string> pending{start};
    std::vector<std::string> children;
    while (!pending.empty()) {
        std::string folder = std::move(pending.back());
        pending.pop_back();
        const std::vector<DirEntry> entries = Sys().ListFolder(folder + "*");
        visit(folder, entries);
        children.clear();
        for (const DirEntry& e : entries) {
            if (!IsSearchedFolder(e)) continue;
            std::string child = folder + e.Name + "\\";
            // A chain of folders deeper than any file function reaches ends here, told in the log:
            // its listing would fail, or on Wine wrap round and list some other folder.
            if (child.size() + 1 > LongestPath && Utf16Length(child) + 1 > LongestPath) {
                AppendToLog(Format(PathTooLongText, std::string(CutAtCharacter(child, 120)) + "..."));
                continue;
            }
            if (!skip || !skip(child)) children.push_back(std::move(child));
        }
        // Pushed last first, so that the first subfolder is searched next, as the listing ordered them.
        for (auto it = children.rbegin(); it != children.rend(); ++it) pending.push_back(std::move(*it));
    }
}

namespace {

// Each folder is listed once, with "*": the pattern is matched here, on the long name only. A
// second listing with the mask itself would double the cost on a slow drive, and Windows would
// also match it against the short 8.3 name ("FILM~1.AVI" for "film.avix").
StringList FindFilesImpl(const std::string& mask, const std::string* skipped) {
    std::string folder, pattern;
    SplitMask(mask, folder, pattern);
    StringList result;
    if (pattern.empty()) return result;  // no name matches an empty pattern
    WalkFolders(folder, [&](const std::string& at, const std::vector<DirEntry>& entries) {
        for (const DirEntry& e : entries) {
            if (!IsSearchedFile(e) || (skipped && e.Name == *skipped)) continue;
            if (MatchesMask(pattern, e.Name)) result.push_back(at + e.Name);
        }
    });
    return result;
}

}  // namespace

StringList FindFiles(const std::string& mask) { return FindFilesImpl(mask, nullptr); }

StringList FindFilesExcept(const std::string& mask, const std::string& skippedName) {
    return FindFilesImpl(mask, &skippedName);
}

int AppendLinesToFile(const StringList& lines, const std::string& path) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    if (!Sys().AppendTextFile(path, text)) throw InOutError("Unable to write to " + path);
    return static_cast<int>(lines.size());
}

// --- INI ----------------------------------------------------------------------------------

StringList ReadIniSections(const std::string& path) { return Sys().IniSectionNames(path); }

void EraseIniSection(const std::string& path, const std::string& section) {
    if (!Sys().IniEraseSection(path, section)) throw IniFileError("Unable to write to " + path);
}

bool IniSectionExists(const std::string& path, const std::string& section) {
    return !Sys().IniKeyNames(path, section).empty();
}

void DeleteIniSectionOrFile(const std::string& path, const std::string& section) {
    EraseIniSection(path, section);
    std::optional<std::string> text = Sys().ReadTextFile(path);
    if (!text) throw InOutError("File not found: " + path);
    if (text->empty()) Sys().DeleteFile(path);
}

std::string ReadIniString(const std::string& path, const std::string& section, const std::string& key,
                          const std::string& def) {
    return Sys().IniReadString(path, section, key, def);
}

std::optional<std::int32_t> ParseInteger(const std::string& text) {
    // Parsed here rather than by the C library, whose long is 64 bits wide natively and 32 bits
    // on Windows: a value out of range would wrap in one build and saturate in the other.
    size_t at = 0;
    int base = 10;
    bool negative = false;
    if (!text.empty() && text[0] == '$') {
        base = 16;
        at = 1;
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        at = 2;
    } else if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        at = 1;
    }
    if (at == text.size()) return std::nullopt;
    // Hexadecimal spells the 32 bits themselves ("$FFFFFFFF" is -1); decimal is the value.
    const std::int64_t limit = base == 16 ? 0xFFFFFFFFLL : negative ? 0x80000000LL : 0x7FFFFFFFLL;
    std::int64_t value = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > limit) return std::nullopt;
    }
    if (negative) value = -value;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::optional<std::string> ReadIniOptional(const std::string& path, const std::string& section,
                                           const std::string& key) {
    // A control character cannot stand in a value of a text file's line: the default shows the key is missing.
    static const std::string missing = "\x01";
    std::string value = Sys().IniReadString(path, section, key, missing);
    if (value == missing) return std::nullopt;
    return value;
}

namespace {

std::string LinesAsText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

}  // namespace

IniSection::IniSection(const std::vector<std::string>& lines) : text_(LinesAsText(lines)) {}

bool IniSection::Exists() const { return !text_.KeyNames("").empty(); }

std::string IniSection::String(const std::string& key, const std::string& def) const {
    return text_.ValueOr("", key, def);
}

std::optional<std::string> IniSection::Optional(const std::string& key) const { return text_.Value("", key); }

int IniSection::Integer(const std::string& key, int def) const {
    return ParseInteger(String(key, "")).value_or(def);
}

bool IniSection::Bool(const std::string& key, bool def) const { return Integer(key, def ? 1 : 0) != 0; }

IniSection ReadIniSection(const std::string& path, const std::string& section) {
    return IniSection(Sys().IniSectionLines(path, section));
}

IniFile ReadIniFile(const std::string& path) { return IniFile(Sys().IniFileText(path)); }

int ReadIniInteger(const std::string& path, const std::string& section, const std::string& key, int def) {
    return ParseInteger(Sys().IniReadString(path, section, key, "")).value_or(def);
}

bool ReadIniBool(const std::string& path, const std::string& section, const std::string& key, bool def) {
    return ReadIniInteger(path, section, key, def ? 1 : 0) != 0;
}

std::string IniValueText(const std::string& value) {
    if (value.empty()) return value;
    // Control characters are taken for blanks too: quoting costs nothing, and a read may trim
    // more kinds of white space than the space and the tab.
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    const auto quote = [](char c) { return c == '"' || c == '\''; };
    // Quotes enclosing a value are discarded on reading, and quoting once more keeps them
    // (Microsoft Knowledge Base Q69752).
    if (blank(value.front()) || blank(value.back()) || quote(value.front()) || quote(value.back()))
        return '"' + value + '"';
    return value;
}

void WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value) {
    if (!Sys().IniWriteString(path, section, key, IniValueText(value)))
        throw IniFileError("Unable to write to " + path);
}

void WriteIniInteger(const std::string& path, const std::string& section, const std::string& key, int value) {
    WriteIniString(path, section, key, std::to_string(value));
}

void WriteIniBool(const std::string& path, const std::string& section, const std::string& key, bool value) {
    WriteIniString(path, section, key, value ? "1" : "0");
}

// --- lists --------------------------------------------------------------------------------

std::string JoinList(const StringList& list, const std::string& separator) {
    std::string out;
    for (const std::string& entry : list) out += entry + separator;
    if (!out.empty()) out.pop_back();
    return out;
}

StringList SplitString(const std::string& text, char separator) {
    StringList result;
    std::string rest = text;
    while (true) {
        size_t p = rest.find(separator);
        if (p == std::string::npos) {
            result.push_back(rest);
            break;
        }
        result.push_back(rest.substr(0, p));
        rest.erase(0, p + 1);
    }
    return result;
}

std::string GetWindowsVersion() {
    switch (Sys().PlatformId()) {
        case 0: return "3.1";
        case 1: return "95/98";
        case 2: return "NT";
        default: return "";
    }
}

// --- registry -----------------------------------------------------------------------------

namespace {

std::string Unquoted(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
    return text;
}

}  // namespace

std::int32_t ReadRegInteger(RegRoot root, const std::string& key, const std::string& name) {
    if (!Sys().RegKeyExists(root, key)) return 0;
    std::optional<std::uint32_t> value = Sys().RegReadInteger(root, key, name);
    if (!value) throw RegistryError(Format("Failed to get data for '%s'", name));
    return static_cast<std::int32_t>(*value);
}

void WriteRegInteger(RegRoot root, const std::string& key, const std::string& name, std::int32_t value) {
    if (!Sys().RegKeyExists(root, key)) return;
    if (!Sys().RegWriteInteger(root, key, name, static_cast<std::uint32_t>(value)))
        throw RegistryError(Format("Failed to set data for '%s'", name));
}

std::string ReadRegString(RegRoot root, const std::string& key, const std::string& name) {
    if (!Sys().RegKeyExists(root, key)) return "";
    return Sys().RegReadString(root, key, name).value_or("");
}

namespace {

bool StoreAutoPlayOriginal(const std::string& settingsPath, std::optional<std::uint32_t> value) {
    char text[16] = {};
    if (value) std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(*value));
    return Sys().IniWriteString(settingsPath, AutoPlaySettingsSection, AutoPlayOriginalKey, text);
}

}  // namespace

AutoPlayRecord ReadAutoPlayRecord(const IniSection& windows) {
    AutoPlayRecord record;
    if (const std::optional<std::int32_t> value = ParseInteger(windows.String(AutoPlayOriginalKey)))
        record.Original = static_cast<std::uint32_t>(*value);
    // Whether the switch was on before this call, as the file says: every load applies it again.
    record.WasOn = windows.Bool("AutoCD", false);
    return record;
}

void SetWindowsAutoPlay(bool on, bool verbose, const std::string& settingsPath) {
    SetWindowsAutoPlay(on, verbose, settingsPath,
                       ReadAutoPlayRecord(ReadIniSection(settingsPath, AutoPlaySettingsSection)));
}

void SetWindowsAutoPlay(bool on, bool verbose, const std::string& settingsPath, const AutoPlayRecord& stored) {
    const RegRoot root = RegRoot::CurrentUser;
    if (!Sys().RegKeyExists(root, AutoPlayPolicyKey)) Sys().RegCreateKey(root, AutoPlayPolicyKey);
    if (!Sys().RegKeyExists(root, AutoPlayPolicyKey)) {
        // Without the key there is nothing to write to or delete from; a silent caller carries on.
        if (verbose) Sys().MessageBox(MsgKind::Warning, RegistryProblemText, MsgButtons::Ok);
        return;
    }
    const std::optional<std::uint32_t> current = Sys().RegReadInteger(root, AutoPlayPolicyKey, AutoPlayPolicyValue);
    const std::optional<std::uint32_t> original = stored.Original;
    const bool wasOn = stored.WasOn;
    if (on) {
        // A policy of the user's or an administrator's is kept to be put back when the switch goes
        // off. While the switch is on, a value with the CD-ROM bit may be this program's own and
        // is no original; one without it cannot be.
        if (current && !original && (!wasOn || !(*current & AutoPlayCdRomBit))) {
            if (!StoreAutoPlayOriginal(settingsPath, current)) {
                // Changed without a copy, the policy could never be given back.
                if (verbose) throw IniFileError("Unable to write to " + settingsPath);
                return;
            }
        }
        // Only CD-ROM AutoPlay is the switch's business: the policy's other bits stay as they are.
        const std::uint32_t wanted =
            current ? *current | AutoPlayCdRomBit : static_cast<std::uint32_t>(AutoPlayPolicyMask);
        // A policy key the user may open but not write (locked down by an administrator) must not
        // stop the settings load; the user who asked for the change is told it did not happen.
        if (current != wanted && !Sys().RegWriteInteger(root, AutoPlayPolicyKey, AutoPlayPolicyValue, wanted)) {
            if (verbose) Sys().MessageBox(MsgKind::Warning, RegistryProblemText, MsgButtons::Ok);
            return;
        }
    } else if (original) {
        // The copy goes first, so that a file that cannot be written leaves everything as it was
        // for the user who asked; a silent load still puts the policy back (the file says off).
        if (!StoreAutoPlayOriginal(settingsPath, std::nullopt) && verbose)
            throw IniFileError("Unable to write to " + settingsPath);
        if (current != original && !Sys().RegWriteInteger(root, AutoPlayPolicyKey, AutoPlayPolicyValue, *original)) {
            StoreAutoPlayOriginal(settingsPath, original);
            if (verbose) Sys().MessageBox(MsgKind::Warning, RegistryProblemText, MsgButtons::Ok);
            return;
        }
    } else if (wasOn && current == static_cast<std::uint32_t>(AutoPlayPolicyMask)) {
        // Without a copy the switch found no value and wrote its own mask (as the program always
        // did before it kept copies). Any other mask, or any mask while the switch was off, was
        // set by the user or an administrator.
        // A key that reads but does not open for writing keeps the value: not a restore.
        if (!Sys().RegDeleteValue(root, AutoPlayPolicyKey, AutoPlayPolicyValue)) {
            if (verbose) Sys().MessageBox(MsgKind::Warning, RegistryProblemText, MsgButtons::Ok);
            return;
        }
    }
    if (verbose)
        Sys().MessageBox(MsgKind::Information,
                         std::string("XP AutoPlay feature ") + (on ? "Disabled !" : "Restored !") +
                             "\r\rYou'll have to restart Windows for this settings to take effect !",
                         MsgButtons::Ok);
}

namespace {

bool IsOwnRunValue(const std::string& stored, const std::string& exePath) {
    return SameText(Unquoted(stored), exePath);
}

enum class RunWrite { Written, Failed, TakenByOther };

// Writes the start-up value under one root's Run key and reads it back. A value of that name
// that starts another program is left as it is: it is not this program's to replace.
RunWrite WriteRunValue(RegRoot root, const std::string& valueName, const std::string& exePath,
                       std::string& other) {
    const std::string quoted = "\"" + exePath + "\"";
    if (!Sys().RegCreateKey(root, RunKey)) return RunWrite::Failed;
    const std::optional<std::string> stored = Sys().RegReadString(root, RunKey, valueName);
    if (stored && !stored->empty() && !IsOwnRunValue(*stored, exePath)) {
        other = *stored;
        return RunWrite::TakenByOther;
    }
    Sys().RegWriteString(root, RunKey, valueName, quoted);
    return Sys().RegReadString(root, RunKey, valueName).value_or("") == quoted ? RunWrite::Written
                                                                               : RunWrite::Failed;
}

// Removes the start-up value from one root's Run key when it starts this program; a value of
// that name that starts another program is not this program's to remove. False when this
// program's value is there and stays.
bool RemoveRunValue(RegRoot root, const std::string& valueName, const std::string& exePath) {
    const std::string key = RunKey + "\\";
    const std::optional<std::string> stored = Sys().RegReadString(root, key, valueName);
    if (!stored || !IsOwnRunValue(*stored, exePath)) return true;
    return Sys().RegDeleteValue(root, key, valueName);
}

}  // namespace

bool SetAutoStart(const std::string& valueName, const std::string& exePath, bool on, bool verbose) {
    if (on) {
        std::string other;
        // Only an administrator may write the machine-wide key; for everyone else, and where that
        // name is another program's, the user's own Run key starts the program at their logon
        // just as well.
        const RunWrite machine = WriteRunValue(RegRoot::LocalMachine, valueName, exePath, other);
        if (machine == RunWrite::Written) {
            // One entry is enough: with both the program would start twice.
            RemoveRunValue(RegRoot::CurrentUser, valueName, exePath);
            return true;
        }
        const std::string machineOther = other;
        const RunWrite user = WriteRunValue(RegRoot::CurrentUser, valueName, exePath, other);
        if (user == RunWrite::Written) {
            if (verbose && machine == RunWrite::TakenByOther)
                Sys().MessageBox(MsgKind::Information, Format(MachineRunValueTakenText, machineOther),
                                 MsgButtons::Ok);
            return true;
        }
        if (verbose) {
            if (machine == RunWrite::TakenByOther || user == RunWrite::TakenByOther)
                Sys().MessageBox(MsgKind::Warning, Format(RunValueTakenText, other), MsgButtons::Ok);
            else
                Sys().MessageBox(MsgKind::Warning, RegistryProblemText, MsgButtons::Ok);
        }
        return false;
    }
    // Both go: an entry left in either key would still start the program.
    const bool machine = RemoveRunValue(RegRoot::LocalMachine, valueName, exePath);
    const bool user = RemoveRunValue(RegRoot::CurrentUser, valueName, exePath);
    if (verbose) {
        if (!machine)
            Sys().MessageBox(MsgKind::Warning, MachineRunValueStaysText, MsgButtons::Ok);
        else if (!user)
            Sys().MessageBox(MsgKind::Warning, RegistryProblemText, MsgButtons::Ok);
        else
            Sys().MessageBox(MsgKind::Information, "'Vexamo' was removed from the registry succesfully...",
                             MsgButtons::Ok);
    }
    // The program still starts at logon while either entry stays.
    return !machine || !user;
}

// --- paths --------------------------------------------------------------------------------

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool IsDriveRoot(const std::string& path) {
    return path.size() == 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\';
}

StringList DriveRootsOf(std::uint32_t letters) {
    StringList roots;
    for (int letter = 0; letter < 26; ++letter)
        if (letters & (1u << letter)) roots.push_back(std::string(1, static_cast<char>('A' + letter)) + ":\\");
    return roots;
}

std::string ExtractFilePath(const std::string& path) {
    size_t p = path.find_last_of("\\:");
    return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

std::string ExtractFileExt(const std::string& path) {
    const size_t dot = path.find_last_of(".\\:");
    if (dot == std::string::npos || path[dot] != '.') return {};
    return path.substr(dot);
}

bool LessText(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

std::string ExtractFileName(const std::string& path) {
    size_t p = path.find_last_of("\\:");
    return p == std::string::npos ? path : path.substr(p + 1);
}

}  // namespace vexamo
