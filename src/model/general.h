// Free helpers on which the model and the windows rest: drives, volume labels, recursive file
// search, text and INI files, string lists, registry values and the Windows integration switches.
// They keep no state; everything goes through the process-wide platform.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/IniText.h"
#include "platform/Platform.h"

namespace vexamo {

using StringList = std::vector<std::string>;

// The label GetVolumeLabel reports for a drive without a readable disc.
inline const std::string NoCdLabel = "/NOCD";

StringList GetCdDrives();
// The roots of the drives of one type (USB sticks and memory cards are Removable), in the order
// the system lists them.
StringList GetDrivesOfType(DriveKind kind);
std::string GetVolumeLabel(const std::string& root);
bool AnyDiscPresent(const StringList& roots);
// The files below mask's folder whose long names match its pattern (* and ?, without regard to
// case), searched recursively: the folder's own files first, then each subfolder's, depth first.
// Hidden and system entries, and folders that are junctions or links, are left out.
StringList FindFiles(const std::string& mask);
StringList FindFilesExcept(const std::string& mask, const std::string& skippedName);

// The pieces of that search, shared with the search of a whole disc (DiscSearch.h).
bool MatchesMask(const std::string& pattern, const std::string& name);
// folder: up to and including the last \ or : (a backslash added after a bare drive), pattern: the rest.
void SplitMask(const std::string& mask, std::string& folder, std::string& pattern);
bool IsSearchedFile(const DirEntry& e);
bool IsSearchedFolder(const DirEntry& e);
// Lists every searched folder below start (ending in a backslash, or empty) once, with "*", and
// hands its entries to visit, in the order of FindFiles. A folder that cannot be read lists nothing.
// A folder for which `skip` answers true (asked once the folder above it was visited) is not entered.
// A folder whose path is longer than LongestPath is not entered; a line of the log names it.
using FolderVisitor = std::function<void(const std::string& folder, const std::vector<DirEntry>& entries)>;
inline const std::string PathTooLongText = "A folder's path is too long to be searched: %s";
void WalkFolders(const std::string& start, const FolderVisitor& visit,
                 const std::function<bool(const std::string& folder)>& skip = {});

int AppendLinesToFile(const StringList& lines, const std::string& path);

// INI files, one private-profile operation per call; a missing file reads as empty.
StringList ReadIniSections(const std::string& path);
// True when the section has at least one key.
bool IniSectionExists(const std::string& path, const std::string& section);
// Erasing or writing raises IniFileError "Unable to write to <path>" when the file cannot be
// written; DeleteIniSectionOrFile also deletes the file once it is empty, and raises InOutError
// when it is missing.
void EraseIniSection(const std::string& path, const std::string& section);
void DeleteIniSectionOrFile(const std::string& path, const std::string& section);

// Typed values. A flag is "1"/"0" on disk; any integer other than 0 reads as true; a missing
// value, or one that ParseInteger does not take, gives the default.
std::string ReadIniString(const std::string& path, const std::string& section, const std::string& key,
                          const std::string& def = "");
// A value that may be missing, told apart from one written empty.
std::optional<std::string> ReadIniOptional(const std::string& path, const std::string& section, const std::string& key);
int ReadIniInteger(const std::string& path, const std::string& section, const std::string& key, int def);
bool ReadIniBool(const std::string& path, const std::string& section, const std::string& key, bool def);
// Writes the value so that it reads back exactly as given (IniValueText).
void WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value);
void WriteIniInteger(const std::string& path, const std::string& section, const std::string& key, int value);
void WriteIniBool(const std::string& path, const std::string& section, const std::string& key, bool value);

// One section read in a single private-profile call, its values then taken from that copy. Each
// value reads exactly as the per-key functions above give it (defaults, quotes, blanks, names
// without regard to case, the first of two equal names), so a window or a scan that needs every
// value of many sections searches each file once per section rather than once per value.
// Writing stays one value at a time.
class IniSection {
public:
    IniSection() : text_("") {}
    explicit IniSection(const std::vector<std::string>& lines);

    // At least one key, as IniSectionExists.
    bool Exists() const;
    std::string String(const std::string& key, const std::string& def = "") const;
    std::optional<std::string> Optional(const std::string& key) const;
    int Integer(const std::string& key, int def) const;
    bool Bool(const std::string& key, bool def) const;

private:
    IniText text_;  // the lines as a file without a section header
};
IniSection ReadIniSection(const std::string& path, const std::string& section);

// A whole file read at once, for the window and the scan that need every section of it: the
// file is read once however many sections are taken, where a section read on its own searches
// it again each time. Names, sections and values are as the calls above give them at the time
// of the read; a copy is for one pass over the file, never kept across a change of it.
class IniFile {
public:
    explicit IniFile(const std::string& text) : text_(text) {}

    // As ReadIniSections.
    StringList Sections() const { return text_.SectionNames(); }
    // As ReadIniSection; a missing section has no values.
    IniSection Section(const std::string& name) const { return IniSection(text_.SectionLines(name)); }

private:
    IniText text_;
};
IniFile ReadIniFile(const std::string& path);

// The text to store for a value so that the private-profile read gives it back unchanged. That
// read drops the blanks around a value and one pair of quotes enclosing it, so a value that
// starts or ends with a blank or a quote goes into a pair of quotes of its own.
std::string IniValueText(const std::string& value);

// An integer as the INI files hold it: decimal with an optional sign, or hexadecimal after "$"
// or "0x" giving the 32 bits themselves; the whole text and nothing else, within 32 bits.
std::optional<std::int32_t> ParseInteger(const std::string& text);

// Replaces the first "%s" of a message pattern, as the program's messages are written.
std::string Format(const std::string& pattern, const std::string& arg);

std::string JoinList(const StringList& list, const std::string& separator);
StringList SplitString(const std::string& text, char separator);
std::string GetWindowsVersion();

std::int32_t ReadRegInteger(RegRoot root, const std::string& key, const std::string& name);
void WriteRegInteger(RegRoot root, const std::string& key, const std::string& name, std::int32_t value);
std::string ReadRegString(RegRoot root, const std::string& key, const std::string& name);

// The AutoPlay switch over the NoDriveTypeAutoRun policy. On sets the CD-ROM bit in a value that
// is there (181 where there is none) and keeps what was there in the settings file
// `settingsPath`, [Windows] AutoCDOriginal; off puts that back, or deletes the program's own 181.
// When the copy cannot be written the registry is left alone (a verbose caller gets the
// IniFileError "Unable to write to <path>").
void SetWindowsAutoPlay(bool on, bool verbose, const std::string& settingsPath);
// What the settings file holds of the switch: the kept policy value and whether it was on.
struct AutoPlayRecord {
    std::optional<std::uint32_t> Original;
    bool WasOn = false;
};
AutoPlayRecord ReadAutoPlayRecord(const IniSection& windows);
// The same, with the file's record as a load has just read it: the start pays no second read.
void SetWindowsAutoPlay(bool on, bool verbose, const std::string& settingsPath, const AutoPlayRecord& stored);
// Starts the program at logon through a Run value (machine-wide where it may, the user's own
// otherwise) or stops that. Returns whether the program now starts at logon: on, the value was
// written and read back; off, an entry of this program's could not be removed. A Run value of
// that name that starts another program is never replaced nor removed.
bool SetAutoStart(const std::string& valueName, const std::string& exePath, bool on, bool verbose);

// Registry places the program uses.
inline const std::string AutoPlayPolicyKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\policies\\explorer\\";
inline const std::string AutoPlayPolicyValue = "NoDriveTypeAutoRun";
constexpr std::int32_t AutoPlayPolicyMask = 181;
// The mask has one bit per drive type, 0x20 for CD-ROM drives (Windows 2000 Resource Kit, as quoted
// in The Old New Thing, "Why are there two values for NoDriveTypeAutoRun...", 2010).
constexpr std::uint32_t AutoPlayCdRomBit = 0x20;
inline const std::string AutoPlaySettingsSection = "Windows";
// The policy value found when the switch went on, "0x" and eight hexadecimal digits; empty or
// missing when there was none.
inline const std::string AutoPlayOriginalKey = "AutoCDOriginal";
inline const std::string RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const std::string CdromServiceKey = "\\SYSTEM\\CurrentControlSet\\Services\\Cdrom\\";
inline const std::string CdromAutoRunValue = "AutoRun";

inline const std::string RegistryProblemText =
    "There was a problem while trying to modify your registry. No changes where made !";
// "Run on Windows Startup" could not be switched on: the name is taken (%s: its command line).
inline const std::string RunValueTakenText =
    "Vexamo was not added to the programs that start with Windows: a start-up entry named "
    "'Vexamo' already starts another program:\r\r%s\r\rThat entry was left as it is.";
// ...or was, through the user's own Run key, since the machine-wide name is taken.
inline const std::string MachineRunValueTakenText =
    "A start-up entry named 'Vexamo' for every user of this computer already starts another "
    "program:\r\r%s\r\rThat entry was left as it is, and Vexamo was added to your own start-up "
    "programs instead.";
// ...or off: an administrator's machine-wide entry, which an ordinary user may not remove.
inline const std::string MachineRunValueStaysText =
    "Vexamo will still start with Windows. It was added to the start-up programs of every user "
    "of this computer, and only an administrator can remove it from there.";

// Text compared without regard to case, as Windows compares paths and names.
bool SameText(const std::string& a, const std::string& b);
// A drive root: letter, colon, backslash and nothing more.
bool IsDriveRoot(const std::string& path);
// The drive roots a mask of drive letters names (a volume's device change), bit 0 being A:.
StringList DriveRootsOf(std::uint32_t letters);

// Path helpers.
std::string ExtractFilePath(const std::string& path);  // up to and including the last \ or :
std::string ExtractFileName(const std::string& path);  // after the last \ or :
std::string ExtractFileExt(const std::string& path);   // from the name's last dot on, or empty
// Text ordered without regard to case, as Windows orders names.
bool LessText(const std::string& a, const std::string& b);

}  // namespace vexamo
