// Private-profile files as Windows' profile functions see them: parsed from text, changed one
// value at a time, written back whole. The fake platform keeps its files this way; the real one
// reads this way the files that the profile functions would misread (see IniBytesAreUtf8).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vexamo {

class IniText {
public:
    explicit IniText(const std::string& text);

    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(const std::string& section) const;
    // The section's lines as GetPrivateProfileSection gives them (Platform::IniSectionLines).
    std::vector<std::string> SectionLines(const std::string& section) const;
    // None when the section or key is missing, or the key's line has no "=".
    std::optional<std::string> Value(const std::string& section, const std::string& key) const;
    // The value, or the default as the profile functions give it back.
    std::string ValueOr(const std::string& section, const std::string& key, const std::string& def) const;
    // Leading blanks of the value are dropped, trailing ones kept. Returns true when the text
    // changed; writing the value a key already has leaves the text as it was.
    bool Write(const std::string& section, const std::string& key, const std::string& value);
    bool EraseSection(const std::string& section);
    std::string Text() const;

private:
    struct Line {
        std::string Name;
        std::optional<std::string> Value;  // none for a line without "="
    };
    struct Section {
        std::string Name;
        std::vector<Line> Lines;
    };
    Section* FindSection(const std::string& name);
    const Section* FindSection(const std::string& name) const;
    void IndexSections();

    std::vector<Section> sections_;  // the first one holds lines before any header, name ""
    // Each name in ASCII lower case, to the first section of that name: a file of many sections
    // is searched for each of them without comparing every name with every other.
    std::unordered_map<std::string, size_t> index_;
};

// Whether the profile functions may be given the file as it is. With the program's code page
// UTF-8 they read and write UTF-8 without a byte order mark (plain ASCII is that too). Anything
// else is misread: a file written in the machine's legacy code page comes back with U+FFFD in
// place of each of its letters outside ASCII, and a byte order mark, which Windows takes for part
// of the first line, hides the first section. Such a file is read through IniText instead and
// rewritten in UTF-8 the first time anything is written to it.
bool IniBytesAreUtf8(std::string_view bytes);

// Text in the machine's legacy code page in UTF-8, or nothing when the bytes are no text of it.
using LegacyDecoder = std::function<std::optional<std::string>(std::string_view)>;

struct IniInUtf8 {
    std::string Text;
    // Some line is text of no code page here: its bytes are kept as they are, so that a save
    // never destroys a value that could not be read. The text is then not all UTF-8.
    bool KeptBytes = false;
};

// A file's bytes as UTF-8 text. A UTF-8 byte order mark is dropped, and one of UTF-16 followed.
// Otherwise each line is taken on its own: valid UTF-8 as it is (the program writes nothing
// else, and text in a legacy code page is hardly ever valid UTF-8 by chance), any other line
// decoded from the legacy code page. A file of an older version thus reads right, and so does one
// that an older version added a line to since.
IniInUtf8 IniTextInUtf8(std::string_view bytes, const LegacyDecoder& fromLegacy);

}  // namespace vexamo
