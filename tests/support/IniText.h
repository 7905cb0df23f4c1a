// Private-profile files as Windows' profile functions see them: parsed from text, changed one
// value at a time, written back whole.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vexamo::test {

class IniText {
public:
    explicit IniText(const std::string& text);

    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(const std::string& section) const;
    // None when the section or key is missing, or the key's line has no "=".
    std::optional<std::string> Value(const std::string& section, const std::string& key) const;
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

    std::vector<Section> sections_;  // the first one holds lines before any header, name ""
};

}  // namespace vexamo::test
