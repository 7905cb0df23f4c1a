#include "platform/IniText.h"

#include <algorithm>
#include <cctype>

#include "platform/Utf8.h"

namespace vexamo {

namespace {

// With the end-of-file mark (Ctrl+Z) that old editors leave: the profile functions drop it too.
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsSpace(s[b])) ++b;
    while (e > b && IsSpace(s[e - 1])) --e;
    return s.substr(b, e - b);
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool IsComment(const std::string& name) { return !name.empty() && name[0] == ';'; }

// The key under which SameName names meet.
std::string Folded(std::string name) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

}  // namespace

IniText::IniText(const std::string& text) {
    sections_.push_back(Section{});
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;

        line = Trim(line);
        if (line.empty()) continue;
        if (line[0] == '[') {
            size_t close = line.rfind(']');
            if (close != std::string::npos && close > 0) {
                sections_.push_back(Section{Trim(line.substr(1, close - 1)), {}});
                continue;
            }
        }
        size_t eq = line.find('=');
        Line l;
        if (eq == std::string::npos) {
            l.Name = line;
        } else {
            l.Name = Trim(line.substr(0, eq));
            l.Value = Trim(line.substr(eq + 1));
        }
        sections_.back().Lines.push_back(std::move(l));
    }
    IndexSections();
}

void IniText::IndexSections() {
    index_.clear();
    for (size_t i = 1; i < sections_.size(); ++i) index_.emplace(Folded(sections_[i].Name), i);
}

IniText::Section* IniText::FindSection(const std::string& name) {
    return const_cast<Section*>(static_cast<const IniText*>(this)->FindSection(name));
}

const IniText::Section* IniText::FindSection(const std::string& name) const {
    std::string wanted = Trim(name);
    // Lines before the first header belong to a section without a name, which is never listed.
    if (wanted.empty()) return &sections_[0];
    const auto found = index_.find(Folded(wanted));
    return found == index_.end() ? nullptr : &sections_[found->second];
}

std::vector<std::string> IniText::SectionNames() const {
    std::vector<std::string> names;
    for (size_t i = 1; i < sections_.size(); ++i) names.push_back(sections_[i].Name);
    return names;
}

std::vector<std::string> IniText::KeyNames(const std::string& section) const {
    std::vector<std::string> names;
    const Section* s = FindSection(section);
    if (!s) return names;
    for (const Line& l : s->Lines) {
        // Lines without "=" are not keys; comments are keys that are never listed.
        if (!l.Value || IsComment(l.Name)) continue;
        // The names travel as a zero-separated list, so an empty name ends it.
        if (l.Name.empty()) break;
        names.push_back(l.Name);
    }
    return names;
}

std::vector<std::string> IniText::SectionLines(const std::string& section) const {
    std::vector<std::string> lines;
    const Section* s = FindSection(section);
    if (!s) return lines;
    for (const Line& l : s->Lines) {
        if (IsComment(l.Name)) continue;
        lines.push_back(l.Value ? l.Name + "=" + *l.Value : l.Name);
    }
    return lines;
}

std::optional<std::string> IniText::Value(const std::string& section, const std::string& key) const {
    const Section* s = FindSection(section);
    if (!s) return std::nullopt;
    std::string wanted = Trim(key);
    for (const Line& l : s->Lines) {
        if (!SameName(l.Name, wanted)) continue;
        if (!l.Value) return std::nullopt;
        std::string v = *l.Value;
        // A value enclosed in matching quotes reads without them.
        if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
        return v;
    }
    return std::nullopt;
}

std::string IniText::ValueOr(const std::string& section, const std::string& key, const std::string& def) const {
    if (auto value = Value(section, key)) return *value;
    // Windows drops trailing blanks from the default, all but its first character.
    std::string d = def;
    while (d.size() > 1 && d.back() == ' ') d.pop_back();
    return d;
}

bool IniText::Write(const std::string& section, const std::string& key, const std::string& value) {
    std::string v = value;
    size_t lead = 0;
    while (lead < v.size() && IsSpace(v[lead])) ++lead;
    v.erase(0, lead);
    Section* s = FindSection(section);
    if (!s) {
        sections_.push_back(Section{Trim(section), {}});
        s = &sections_.back();
        index_.emplace(Folded(s->Name), sections_.size() - 1);
    }
    std::string wanted = Trim(key);
    for (Line& l : s->Lines) {
        if (!SameName(l.Name, wanted)) continue;
        if (l.Value && *l.Value == v) return false;
        l.Value = v;
        return true;
    }
    s->Lines.push_back(Line{wanted, v});
    return true;
}

bool IniText::EraseSection(const std::string& section) {
    // Unlike a read, an erase of the name "" goes to a section headed "[]", never to the lines
    // before the first header.
    const auto found = index_.find(Folded(Trim(section)));
    if (found == index_.end()) return false;
    sections_.erase(sections_.begin() + static_cast<long>(found->second));
    IndexSections();
    return true;
}

std::string IniText::Text() const {
    std::string out;
    for (size_t i = 0; i < sections_.size(); ++i) {
        const Section& s = sections_[i];
        if (i > 0) out += "[" + s.Name + "]\r\n";
        for (const Line& l : s.Lines) {
            out += l.Name;
            if (l.Value) out += "=" + *l.Value;
            out += "\r\n";
        }
    }
    return out;
}

namespace {

bool StartsWith(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

std::string FromUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string wide;
    wide.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]), second = static_cast<unsigned char>(bytes[i + 1]);
        wide += static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
    }
    return Utf16ToUtf8(wide);
}

}  // namespace

bool IniBytesAreUtf8(std::string_view bytes) {
    return !StartsWith(bytes, Utf8Bom) && !StartsWith(bytes, "\xFF\xFE") && !StartsWith(bytes, "\xFE\xFF") &&
           IsValidUtf8(bytes);
}

IniInUtf8 IniTextInUtf8(std::string_view bytes, const LegacyDecoder& fromLegacy) {
    IniInUtf8 out;
    if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
        out.Text = FromUtf16(bytes.substr(2), bytes[0] == '\xFE');
        return out;
    }
    if (StartsWith(bytes, Utf8Bom)) bytes.remove_prefix(Utf8Bom.size());
    out.Text.reserve(bytes.size() + bytes.size() / 4);
    size_t at = 0;
    while (at < bytes.size()) {
        // A line end is plain ASCII in every legacy code page: no byte of a multibyte character is
        // a carriage return or a line feed, so lines can be told apart before they are decoded.
        size_t end = bytes.find_first_of("\r\n", at);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view line = bytes.substr(at, end - at);
        if (IsValidUtf8(line)) {
            out.Text += line;
        } else if (std::optional<std::string> decoded = fromLegacy ? fromLegacy(line) : std::nullopt) {
            out.Text += *decoded;
        } else {
            out.Text += line;
            out.KeptBytes = true;
        }
        size_t next = end;
        while (next < bytes.size() && (bytes[next] == '\r' || bytes[next] == '\n')) ++next;
        out.Text += bytes.substr(end, next - end);
        at = next;
    }
    return out;
}

}  // namespace vexamo
