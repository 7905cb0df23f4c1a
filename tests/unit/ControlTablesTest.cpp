// Each window ties its records to the controls of its dialog template. The Windows build sees a
// record tied to a control that is not there only as a control that silently never changes, so
// every window's table is held against its template here: each control it names is in the
// window's own template, and none is named twice.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "support/FakeControls.h"
#include "support/FakePlatform.h"
#include "support/WindowFakes.h"
#include "ui/PlayerWizard_res.h"

using namespace vexamo;

namespace {

std::string ReadSource(const std::string& path) {
    std::ifstream in(std::filesystem::path(VEXAMO_SOURCE_DIR) / path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The control ids of one dialog of a resource script, by the numbers its header gives their names;
// the wizard's page texts are written as "P<page> + <text>".
std::set<int> TemplateIds(const std::string& script, const std::string& header, const std::string& dialog) {
    std::map<std::string, int> numbers{{"IDOK", 1}, {"IDCANCEL", 2}};
    const std::string defines = ReadSource(header);
    static const std::regex define(R"(#define\s+(\w+)\s+(\d+))");
    for (std::sregex_iterator d(defines.begin(), defines.end(), define), end; d != end; ++d)
        numbers[(*d)[1].str()] = std::stoi((*d)[2].str());

    std::set<int> ids;
    std::istringstream lines(ReadSource(script));
    static const std::regex control(R"re(^\s*[A-Z]+\s+(?:"(?:[^"]|"")*"\s*,\s*)?(\w+)(?:\s*\+\s*(\d+))?\s*,)re");
    static const std::regex page(R"(P(\d))");
    bool inside = false;
    std::smatch m;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(dialog + " DIALOGEX", 0) == 0) inside = true;
        else if (inside && line.rfind("END", 0) == 0) break;
        if (!inside || !std::regex_search(line, m, control)) continue;
        const std::string name = m[1].str();
        const int offset = m[2].matched ? std::stoi(m[2].str()) : 0;
        std::smatch p;
        if (std::regex_match(name, p, page))
            ids.insert(IDC_WIZARD_PAGETEXT + std::stoi(p[1].str()) * WIZARD_PAGETEXTS_PER_PAGE + offset);
        else if (numbers.count(name))
            ids.insert(numbers[name] + offset);
    }
    return ids;
}

// The controls a window's table names, with how many records each was given: a first put shows
// every record's enabled state once.
template <typename Form>
std::map<int, int> BoundIds(Form& form) {
    test::FakeControls controls;
    RecordMirror mirror(controls);
    form.BindControls(mirror);
    mirror.Put();
    std::map<int, int> bound;
    for (const std::string& change : controls.log)
        if (change.rfind("enabled ", 0) == 0) ++bound[std::stoi(change.substr(8))];
    return bound;
}

// What is wrong with a window's table; empty when nothing is. Ids in `ranged` may be named
// beyond the template (the wizard's page texts are tied by their range), but every template id
// there must be tied.
std::string TableProblems(const std::map<int, int>& bound, const std::set<int>& ids, std::pair<int, int> ranged = {0, 0}) {
    std::ostringstream problems;
    const auto inRange = [&](int id) { return id >= ranged.first && id < ranged.second; };
    for (const auto& [id, records] : bound) {
        if (records > 1) problems << "control " << id << " is tied to " << records << " records\n";
        if (!ids.count(id) && !inRange(id)) problems << "control " << id << " is not in the template\n";
    }
    for (int id : ids)
        if (inRange(id) && !bound.count(id)) problems << "control " << id << " of the range is not tied\n";
    return problems.str();
}

}  // namespace

TEST(ControlTables, EveryWindowTiesItsRecordsToControlsOfItsOwnTemplate) {
    test::FakePlatform fake;
    test::FakeTrayAgent tray;
    TfrmMain config(tray, nullptr);
    EXPECT_EQ(TableProblems(BoundIds(config), TemplateIds("src/ui/main.rc", "src/ui/main_res.h", "IDD_MAIN")), "");
    TFrmOptions options(tray);
    EXPECT_EQ(TableProblems(BoundIds(options), TemplateIds("src/ui/Settings.rc", "src/ui/Settings_res.h", "IDD_OPTIONS")),
              "");
    TAboutBox about;
    EXPECT_EQ(TableProblems(BoundIds(about), TemplateIds("src/ui/About.rc", "src/ui/About_res.h", "IDD_ABOUT")), "");
    TfrmMonitor chooser;
    EXPECT_EQ(TableProblems(BoundIds(chooser),
                            TemplateIds("src/scan/fileMonitor.rc", "src/scan/fileMonitor_res.h", "IDD_MONITOR")),
              "");
    TfrmPlayerWizard wizard;
    const int pages = IDC_WIZARD_PAGETEXT;
    EXPECT_EQ(TableProblems(BoundIds(wizard),
                            TemplateIds("src/ui/PlayerWizard.rc", "src/ui/PlayerWizard_res.h", "IDD_WIZARD"),
                            {pages, pages + TfrmPlayerWizard::PageCount * WIZARD_PAGETEXTS_PER_PAGE}),
              "");
}

TEST(ControlTables, TheCheckFindsAForeignControlATwiceTiedOneAndAnUntiedPageText) {
    // The parse reads every statement form the scripts use.
    const std::set<int> wizard = TemplateIds("src/ui/PlayerWizard.rc", "src/ui/PlayerWizard_res.h", "IDD_WIZARD");
    EXPECT_TRUE(wizard.count(IDC_WIZARD_EDPLAYERNAME) && wizard.count(IDC_WIZARD_BANNER) && wizard.count(1) &&
                wizard.count(IDC_WIZARD_PAGETEXT + 1));
    EXPECT_FALSE(wizard.count(IDC_WIZARD_ICONPREVIEW));  // the preview's own template
    EXPECT_EQ(TableProblems({{1, 1}, {7, 1}}, {1}), "control 7 is not in the template\n");
    EXPECT_EQ(TableProblems({{1, 2}}, {1}), "control 1 is tied to 2 records\n");
    EXPECT_EQ(TableProblems({{10, 1}, {12, 1}}, {10, 11}, {10, 20}), "control 11 of the range is not tied\n");
}
