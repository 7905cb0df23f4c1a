#include "support/FakePlatform.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/IniText.h"
#include "platform/Utf8.h"

namespace vexamo::test {

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Folders are kept without their trailing backslash, except drive roots ("D:\").
std::string Normal(std::string path) {
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    if (path.size() == 2 && path[1] == ':') path += '\\';
    return Lower(path);
}

std::string ParentOf(const std::string& path) {
    std::string p = path;
    while (p.size() > 3 && p.back() == '\\') p.pop_back();
    if (p.size() <= 3 && p.size() >= 2 && p[1] == ':') return {};  // a drive root has no parent
    size_t slash = p.find_last_of('\\');
    if (slash == std::string::npos) return {};
    if (slash == 2) return p.substr(0, 3);
    return p.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    std::string p = path;
    while (p.size() > 3 && p.back() == '\\') p.pop_back();
    size_t slash = p.find_last_of('\\');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}


}  // namespace

bool WildcardMatch(const std::string& pattern, const std::string& name) {
    size_t p = 0, n = 0, starP = std::string::npos, starN = 0;
    auto eq = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    };
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || eq(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
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

FakePlatform::FakePlatform() : previous_(SetPlatform(this)) {}

FakePlatform::~FakePlatform() {
    Platform* current = SetPlatform(previous_);
    // Fakes ended out of order: the one still alive and current stays so.
    if (current != this) SetPlatform(current);
}

void FakePlatform::AddDrive(const std::string& root, DriveKind type, std::optional<std::string> discLabel) {
    drives_.push_back(Drive{root, type, std::move(discLabel)});
    std::sort(drives_.begin(), drives_.end(), [](const Drive& a, const Drive& b) {
        return Lower(a.Root) < Lower(b.Root);
    });
    if (!Find(root)) NewNode(root.substr(0, 3), true);
}

void FakePlatform::SetDisc(const std::string& root, std::optional<std::string> discLabel) {
    for (Drive& d : drives_)
        if (Lower(d.Root) == Lower(root)) d.Label = std::move(discLabel);
}

void FakePlatform::RemoveDrive(const std::string& root) {
    drives_.erase(std::remove_if(drives_.begin(), drives_.end(),
                                 [&](const Drive& d) { return Lower(d.Root) == Lower(root); }),
                  drives_.end());
}

void FakePlatform::AddFolder(const std::string& path, bool hidden, bool system, bool reparse) {
    std::string parent = ParentOf(path);
    if (!parent.empty() && !Find(parent)) AddFolder(parent);
    if (Node* n = Find(path)) {
        n->Hidden = hidden;
        n->System = system;
        n->ReparsePoint = reparse;
        return;
    }
    std::string trimmed = path;
    while (trimmed.size() > 3 && trimmed.back() == '\\') trimmed.pop_back();
    Node& n = NewNode(trimmed, true);
    n.Hidden = hidden;
    n.System = system;
    n.ReparsePoint = reparse;
}

void FakePlatform::AddFile(const std::string& path, const std::string& content, bool hidden, bool system) {
    std::string parent = ParentOf(path);
    if (!parent.empty() && !Find(parent)) AddFolder(parent);
    if (Node* n = Find(path)) {
        n->Content = content;
        n->Hidden = hidden;
        n->System = system;
        return;
    }
    Node& n = NewNode(path, false);
    n.Content = content;
    n.Hidden = hidden;
    n.System = system;
}

void FakePlatform::SetReadOnly(const std::string& path, bool readOnly) {
    if (!Find(path)) AddFolder(path);
    Find(path)->ReadOnly = readOnly;
}

std::optional<std::string> FakePlatform::Content(const std::string& path) const {
    const Node* n = Find(path);
    if (!n || n->Directory) return std::nullopt;
    return n->Content;
}

FakePlatform::Node* FakePlatform::Find(const std::string& path) {
    return const_cast<Node*>(static_cast<const FakePlatform*>(this)->Find(path));
}

const FakePlatform::Node* FakePlatform::Find(const std::string& path) const {
    const auto at = byKey_.find(Normal(path));
    return at == byKey_.end() ? nullptr : &nodes_[at->second];
}

FakePlatform::Node& FakePlatform::NewNode(const std::string& path, bool directory) {
    Node n;
    n.Path = path;
    n.Directory = directory;
    n.Key = Normal(path);
    n.ParentKey = Normal(ParentOf(path));
    byKey_[n.Key] = nodes_.size();
    nodes_.push_back(std::move(n));
    return nodes_.back();
}

bool FakePlatform::WritableFolder(const std::string& folder) const {
    const Node* n = Find(folder);
    return n && n->Directory && !n->ReadOnly;
}

bool FakePlatform::WriteWholeFile(const std::string& path, const std::string& text) {
    if (Node* n = Find(path)) {
        if (n->Directory || n->ReadOnly || n->Locked) return false;
        n->Content = text;
        return true;
    }
    if (!WritableFolder(ParentOf(path))) return false;
    NewNode(path, false).Content = text;
    return true;
}

// --- drives -------------------------------------------------------------------------------

std::string FakePlatform::LogicalDriveStrings() {
    if (rawDrives_) return *rawDrives_;
    std::string s;
    for (const Drive& d : drives_) {
        s += d.Root;
        s += '\0';
    }
    s += '\0';
    return s;
}

DriveKind FakePlatform::DriveType(const std::string& path) {
    // As on Windows, an existing folder answers with the type of the drive it is on.
    const Node* folder = Find(path);
    if (path.size() < 3 || !folder || !folder->Directory) return DriveKind::NoRootDir;
    for (const Drive& d : drives_)
        if (Lower(d.Root) == Lower(path.substr(0, 3))) return d.Type;
    return DriveKind::NoRootDir;
}

bool FakePlatform::VolumeLabel(const std::string& root, std::string& label) {
    for (const Drive& d : drives_) {
        if (Lower(d.Root) != Lower(root)) continue;
        if (d.Type == DriveKind::CdRom && !d.Label) return false;
        label = d.Label.value_or("");
        return true;
    }
    return false;
}

std::string FakePlatform::SysErrorMessage(int code) {
    if (code == 14) return "Not enough storage is available to complete this operation";
    return "System error " + std::to_string(code);
}

// --- files --------------------------------------------------------------------------------

std::vector<DirEntry> FakePlatform::ListFolder(const std::string& mask) {
    if (Utf16Length(mask) > LongestPath) return {};
    size_t slash = mask.find_last_of("\\:");
    std::string folder = slash == std::string::npos ? std::string() : mask.substr(0, slash + 1);
    std::string pattern = mask.substr(folder.size());
    std::vector<DirEntry> out;
    const Node* dir = Find(folder);
    if (!dir || !dir->Directory) return out;
    std::string wanted = Normal(folder);
    for (const Node& n : nodes_) {
        if (n.Key == wanted || n.ParentKey != wanted) continue;
        std::string name = NameOf(n.Path);
        if (!WildcardMatch(pattern, name)) continue;
        out.push_back(DirEntry{name, n.Directory, n.Hidden, n.System, n.ReparsePoint});
    }
    return out;
}

bool FakePlatform::FileExists(const std::string& path) {
    const Node* n = Find(path);
    return n && !n->Directory;
}

bool FakePlatform::DeleteFile(const std::string& path) {
    const Node* n = Find(path);
    if (!n || n->Directory || n->ReadOnly || !WritableFolder(ParentOf(path))) return false;
    const size_t at = static_cast<size_t>(n - nodes_.data());
    byKey_.erase(n->Key);
    nodes_.erase(nodes_.begin() + static_cast<long>(at));
    for (auto& [key, index] : byKey_)
        if (index > at) --index;
    return true;
}

std::optional<std::string> FakePlatform::Readable(const std::string& path) const {
    const Node* n = Find(path);
    if (n && n->Locked) return std::nullopt;
    return Content(path);
}

void FakePlatform::SetLocked(const std::string& path, bool locked) { Find(path)->Locked = locked; }

std::optional<std::string> FakePlatform::ReadTextFile(const std::string& path) { return Readable(path); }

bool FakePlatform::AppendTextFile(const std::string& path, const std::string& text) {
    std::string old = Content(path).value_or("");
    return WriteWholeFile(path, old + text);
}

// --- legacy code page ----------------------------------------------------------------------

namespace {

// Windows-1252 from 0x80 to 0x9F; the rest of its upper half is Latin-1. The five bytes it leaves
// undefined come back as the C1 controls of the same number, as Windows' own table has them.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t FromCp1252(unsigned char c) { return c >= 0x80 && c < 0xA0 ? Cp1252High[c - 0x80] : c; }

}  // namespace

std::optional<std::string> FakePlatform::FromLegacyText(std::string_view bytes) {
    std::u16string wide;
    for (char c : bytes) {
        if (UndecodableLegacyBytes.find(c) != std::string::npos) return std::nullopt;
        wide += FromCp1252(static_cast<unsigned char>(c));
    }
    return Utf16ToUtf8(wide);
}

std::optional<std::string> FakePlatform::ToLegacyText(std::string_view text) {
    if (!IsValidUtf8(text)) return std::nullopt;
    std::string out;
    for (char16_t unit : Utf8ToUtf16(text)) {
        int found = -1;
        for (int b = 0; b < 256 && found < 0; ++b)
            if (FromCp1252(static_cast<unsigned char>(b)) == unit) found = b;
        if (found < 0) return std::nullopt;
        out += static_cast<char>(found);
    }
    return out;
}

// --- INI ----------------------------------------------------------------------------------

std::string FakePlatform::IniTextOf(const std::string& raw, bool& foreign) {
    foreign = !IniBytesAreUtf8(raw);
    if (!foreign) return raw;
    return IniTextInUtf8(raw, [this](std::string_view line) { return FromLegacyText(line); }).Text;
}

const IniText& FakePlatform::Parsed(const std::string& path) {
    const std::string raw = Readable(path).value_or("");
    for (const ParsedText& p : parsed_)
        if (p.Text == raw) return p.Ini;
    if (parsed_.size() >= 8) parsed_.pop_back();
    bool foreign = false;
    parsed_.push_front(ParsedText{raw, IniText(IniTextOf(raw, foreign))});
    return parsed_.front().Ini;
}

std::vector<std::string> FakePlatform::IniSectionNames(const std::string& path) {
    ++IniReads;
    return Parsed(path).SectionNames();
}

std::vector<std::string> FakePlatform::IniKeyNames(const std::string& path, const std::string& section) {
    ++IniReads;
    return Parsed(path).KeyNames(section);
}

std::string FakePlatform::IniReadString(const std::string& path, const std::string& section,
                                        const std::string& key, const std::string& def) {
    ++IniReads;
    return Parsed(path).ValueOr(section, key, def);
}

std::vector<std::string> FakePlatform::IniSectionLines(const std::string& path, const std::string& section) {
    ++IniReads;
    return Parsed(path).SectionLines(section);
}

std::string FakePlatform::IniFileText(const std::string& path) {
    ++IniReads;
    bool foreign = false;
    return IniTextOf(Readable(path).value_or(""), foreign);
}

bool FakePlatform::ChangeIni(const std::string& path, const std::function<bool(IniText&)>& change,
                             bool refusedWhenProtected) {
    bool foreign = false;
    const std::string text = IniTextOf(Content(path).value_or(""), foreign);
    IniText ini(text);
    const bool changed = change(ini);
    const Node* n = Find(path);
    const bool isProtected = n && (n->ReadOnly || n->Locked);
    if (refusedWhenProtected && isProtected) return false;
    if (!changed && (!foreign || !n)) return true;
    return WriteWholeFile(path, changed ? ini.Text() : text);
}

bool FakePlatform::IniWriteString(const std::string& path, const std::string& section, const std::string& key,
                                  const std::string& value) {
    // As the real platform: Windows cannot take longer arguments through its ANSI entry point.
    constexpr size_t maxLength = 32766;
    if (section.size() > maxLength || key.size() > maxLength || value.size() > maxLength) return false;
    // A write opens the file for writing first, whatever it then changes.
    return ChangeIni(path, [&](IniText& ini) { return ini.Write(section, key, value); }, true);
}

bool FakePlatform::IniEraseSection(const std::string& path, const std::string& section) {
    return ChangeIni(path, [&](IniText& ini) { return ini.EraseSection(section); }, false);
}

// --- registry -----------------------------------------------------------------------------

std::string FakePlatform::RegId(RegRoot root, const std::string& key) {
    return (root == RegRoot::CurrentUser ? "HKCU\\" : "HKLM\\") + Lower(RegistryKeyPath(key));
}

void FakePlatform::AddRegKey(RegRoot root, const std::string& key) { reg_[RegId(root, key)]; }

void FakePlatform::DenyRegKey(RegRoot root, const std::string& key) { reg_[RegId(root, key)].Denied = true; }

void FakePlatform::IgnoreRegWrites(RegRoot root, const std::string& key) {
    reg_[RegId(root, key)].IgnoreWrites = true;
}

void FakePlatform::FailRegWrites(RegRoot root, const std::string& key) { reg_[RegId(root, key)].FailWrites = true; }

std::string FakePlatform::RegId(RegRoot root, RegView view, const std::string& key) {
    std::string id = RegId(root, key);
    static const std::string software = "HKLM\\software\\";
    static const std::string wow = software + "wow6432node";
    if (view == RegView::Wow32 && id.compare(0, software.size(), software) == 0 &&
        !(id.compare(0, wow.size(), wow) == 0 && (id.size() == wow.size() || id[wow.size()] == '\\')))
        id.insert(software.size(), "wow6432node\\");
    return id;
}

void FakePlatform::SetRegInteger(RegRoot root, const std::string& key, const std::string& name, std::uint32_t value) {
    reg_[RegId(root, key)].Values[Lower(name)] = RegValue{true, value, {}, name};
}

void FakePlatform::SetRegString(RegRoot root, const std::string& key, const std::string& name,
                                const std::string& value) {
    reg_[RegId(root, key)].Values[Lower(name)] = RegValue{false, 0, value, name};
}

void FakePlatform::SetRegExpandString(RegRoot root, const std::string& key, const std::string& name,
                                      const std::string& value) {
    reg_[RegId(root, key)].Values[Lower(name)] = RegValue{false, 0, value, name, true};
}


bool FakePlatform::RegValueExists(RegRoot root, const std::string& key, const std::string& name) const {
    auto k = reg_.find(RegId(root, key));
    return k != reg_.end() && k->second.Values.count(Lower(name)) > 0;
}

bool FakePlatform::RegKeyExists(RegRoot root, const std::string& key) { return reg_.count(RegId(root, key)) > 0; }

bool FakePlatform::RegCreateKey(RegRoot root, const std::string& key) {
    reg_[RegId(root, key)];
    return true;
}

std::optional<std::uint32_t> FakePlatform::RegReadInteger(RegRoot root, const std::string& key,
                                                          const std::string& name) {
    auto k = reg_.find(RegId(root, key));
    if (k == reg_.end()) return std::nullopt;
    auto v = k->second.Values.find(Lower(name));
    if (v == k->second.Values.end() || !v->second.IsInteger) return std::nullopt;
    return v->second.Integer;
}

std::optional<std::string> FakePlatform::RegReadString(RegRoot root, const std::string& key,
                                                       const std::string& name) {
    auto k = reg_.find(RegId(root, key));
    if (k == reg_.end()) return std::nullopt;
    auto v = k->second.Values.find(Lower(name));
    if (v == k->second.Values.end() || v->second.IsInteger) return std::nullopt;
    return v->second.Text;
}

bool FakePlatform::RegWriteInteger(RegRoot root, const std::string& key, const std::string& name,
                                   std::uint32_t value) {
    auto k = reg_.find(RegId(root, key));
    if (k == reg_.end() || k->second.Denied || k->second.FailWrites) return false;
    if (!k->second.IgnoreWrites) k->second.Values[Lower(name)] = RegValue{true, value, {}, name};
    return true;
}

bool FakePlatform::RegWriteString(RegRoot root, const std::string& key, const std::string& name,
                                  const std::string& value) {
    auto k = reg_.find(RegId(root, key));
    if (k == reg_.end() || k->second.Denied || k->second.FailWrites) return false;
    if (!k->second.IgnoreWrites) k->second.Values[Lower(name)] = RegValue{false, 0, value, name};
    return true;
}

bool FakePlatform::RegDeleteValue(RegRoot root, const std::string& key, const std::string& name) {
    auto k = reg_.find(RegId(root, key));
    if (k == reg_.end() || k->second.Denied) return false;
    return k->second.Values.erase(Lower(name)) > 0;
}

std::optional<RegText> FakePlatform::RegReadText(RegRoot root, RegView view, const std::string& key,
                                                 const std::string& name) {
    auto k = reg_.find(RegId(root, view, key));
    if (k == reg_.end()) return std::nullopt;
    auto v = k->second.Values.find(Lower(name));
    if (v == k->second.Values.end() || v->second.IsInteger) return std::nullopt;
    return RegText{v->second.Text, v->second.Expand};
}

std::vector<std::string> FakePlatform::RegValueNames(RegRoot root, RegView view, const std::string& key) {
    std::vector<std::string> names;
    auto k = reg_.find(RegId(root, view, key));
    if (k == reg_.end()) return names;
    for (const auto& [lower, value] : k->second.Values) names.push_back(value.Name);
    return names;
}

std::string FakePlatform::ExpandEnvironment(const std::string& text) {
    std::string out;
    size_t at = 0;
    while (at < text.size()) {
        const size_t open = text.find('%', at);
        const size_t close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos) break;
        auto variable = Environment.find(Lower(text.substr(open + 1, close - open - 1)));
        if (variable == Environment.end()) {
            // Not a variable: the second % may open the next one.
            out += text.substr(at, close - at);
            at = close;
            continue;
        }
        out += text.substr(at, open - at) + variable->second;
        at = close + 1;
    }
    return out + text.substr(std::min(at, text.size()));
}

// --- shell, dialogs, tray, clock ------------------------------------------------------------

std::intptr_t FakePlatform::ShellOpen(const std::string& file, const std::string& parameters) {
    Started.push_back(StartedProgram{file, parameters});
    // A copy: what runs meanwhile may start programs too, and the record grows under it.
    if (WhileStarting) WhileStarting(StartedProgram(Started.back()));
    return ShellResult;
}

MsgResult FakePlatform::MessageBox(MsgKind kind, const std::string& text, MsgButtons buttons,
                                   const std::string& caption) {
    Messages.push_back(ShownMessage{kind, text, buttons, caption});
    // A copy: what runs meanwhile may show boxes too, and the record grows under it.
    if (WhileMessageShown) WhileMessageShown(ShownMessage(Messages.back()));
    if (!answers_.empty()) {
        MsgResult r = answers_.front();
        answers_.pop_front();
        return r;
    }
    return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Ok;
}

bool FakePlatform::NotifyIcon(NotifyAction action, const TrayIconData& data) {
    TrayCalls.push_back(TrayCall{action, data});
    switch (action) {
        case NotifyAction::Add:
            if (TrayIconShown) return false;
            TrayIconShown = true;
            TrayState = data;
            return true;
        case NotifyAction::Modify:
            if (!TrayIconShown) return false;
            TrayState = data;
            return true;
        case NotifyAction::Delete:
            if (!TrayIconShown) return false;
            TrayIconShown = false;
            return true;
    }
    return false;
}

bool FakePlatform::NotifyBalloon(const TrayIconData&, const std::string& title, const std::string& text) {
    if (!TrayIconShown) return false;
    Balloons.push_back(Balloon{title, text});
    return true;
}

std::string FakePlatform::FormatLongTime(const LocalTime& t) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.Hour, t.Minute, t.Second);
    return buf;
}

}  // namespace vexamo::test
