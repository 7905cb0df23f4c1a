// The direction of the code: every #include of src/ points down the order of its folders, no
// portable file sees Win32, and a window's binding knows no other window's binding or controls.
// The rules are tried on made-up lines first, so that the check itself is known to catch what it
// is for; then every file of the tree is held against them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The folders of src/, lowest first: a file may include its own folder's files and those of the
// folders before it. The program entry is the one place that knows every window's binding.
constexpr std::array<const char*, 7> Layers = {"platform", "model", "app", "scan", "ui", "agent", "program"};
const char* const LayerOrder = "platform < model < app < scan < ui < agent < program";

std::optional<size_t> LayerOf(const std::string& folder) {
    for (size_t i = 0; i < Layers.size(); ++i)
        if (folder == Layers[i]) return i;
    return std::nullopt;
}

std::string FirstPart(const std::string& path) { return path.substr(0, path.find('/')); }

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

std::string Folder(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool IsKit(const std::string& path) { return path.rfind("platform/win32/", 0) == 0; }

// A window's binding: Foo_win32.cpp and Foo_win32.h beside Foo.h; its stem is "Foo".
std::optional<std::string> BindingStem(const std::string& path) {
    static const std::regex binding(R"((.*)_win32\.(cpp|h)$)");
    std::smatch m;
    const std::string name = FileName(path);
    if (IsKit(path) || !std::regex_match(name, m, binding)) return std::nullopt;
    return m[1].str();
}

// The window a file belongs to: Foo.h, Foo.cpp, Foo.rc, Foo_res.h, Foo_win32.* all say "Foo".
std::string WindowStem(const std::string& path) {
    std::string name = FileName(path);
    name = name.substr(0, name.find('.'));
    for (const char* suffix : {"_win32", "_res"})
        if (name.size() > std::string(suffix).size() && name.ends_with(suffix))
            name.erase(name.size() - std::string(suffix).size());
    return name;
}

// Where an include of a file of src/ points, as a path under src/; "resources/..." for the
// program's pictures and version, which every layer may read.
std::string Resolve(const std::string& file, const std::string& included) {
    if (included.find("resources/") != std::string::npos) return "resources/" + FileName(included);
    if (included.find('/') == std::string::npos) return Folder(file) + "/" + included;
    return included;
}

// What is wrong with one include line of `file` (a path under src/); empty when nothing is.
std::string Problem(const std::string& file, const std::string& line) {
    static const std::regex quoted(R"re(^\s*#\s*include\s*"([^"]+)")re");
    static const std::regex angled(R"re(^\s*#\s*include\s*<([^>]+)>)re");
    static const std::vector<std::string> win32Headers = {"windows.h", "commctrl.h", "commdlg.h", "shellapi.h",
                                                          "shlobj.h", "uxtheme.h", "dbt.h", "winresrc.h"};
    const bool portable = !IsKit(file) && !BindingStem(file) && !file.ends_with(".rc") && FirstPart(file) != "program";
    std::smatch m;
    if (std::regex_search(line, m, angled)) {
        const std::string header = m[1].str();
        if (std::find(win32Headers.begin(), win32Headers.end(), header) == win32Headers.end()) return {};
        if (portable) return "a portable file may not see Win32 (<" + header + ">)";
        if (header == "windows.h" && file != "platform/win32/WinApi.h")
            return "<windows.h> comes through platform/win32/WinApi.h";
        return {};
    }
    if (!std::regex_search(line, m, quoted)) return {};
    const std::string target = Resolve(file, m[1].str());
    const std::string from = FirstPart(file), to = FirstPart(target);
    if (to == "resources") return {};
    const auto fromLayer = LayerOf(from), toLayer = LayerOf(to);
    if (!fromLayer || !toLayer) return "the folder " + (fromLayer ? to : from) + " has no place in " + LayerOrder;
    if (*toLayer > *fromLayer)
        return from + " may not include " + to + " (the layers are " + std::string(LayerOrder) + ")";
    if (portable && (IsKit(target) || BindingStem(target)))
        return "a portable file may not include the Win32 side (" + target + ")";
    if (from != "program") {
        if (const auto stem = BindingStem(target); stem && BindingStem(file) != stem)
            return "only the program entry includes another window's binding (" + target + ")";
        const std::string name = FileName(target);
        if (name.ends_with("_res.h") && WindowStem(target) != WindowStem(file))
            return "a window's controls are its own business (" + target + ")";
    }
    return {};
}

struct Finding {
    std::string File;
    int Line = 0;
    std::string Text, Why;
};

std::vector<Finding> CheckTree(const std::filesystem::path& src) {
    std::vector<Finding> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp" && ext != ".rc")) continue;
        const std::string file = std::filesystem::relative(entry.path(), src).generic_string();
        std::ifstream in(entry.path());
        std::string line;
        for (int n = 1; std::getline(in, line); ++n)
            if (std::string why = Problem(file, line); !why.empty()) found.push_back({file, n, line, why});
    }
    return found;
}

}  // namespace

TEST(Layers, TheRulesCatchWhatTheyAreFor) {
    // Down and sideways within a folder: fine.
    EXPECT_EQ(Problem("ui/main.cpp", "#include \"model/User.h\""), "");
    EXPECT_EQ(Problem("ui/Settings.cpp", "#include \"ui/main.h\""), "");
    EXPECT_EQ(Problem("agent/Init.cpp", "#include \"scan/fileMonitor.h\""), "");
    EXPECT_EQ(Problem("ui/main.cpp", "#include \"../../resources/Version.h\""), "");
    // Up: named with the line's folders and the order.
    EXPECT_EQ(Problem("scan/Splash.cpp", "  #include \"ui/main.h\"  // comment"),
              "scan may not include ui (the layers are platform < model < app < scan < ui < agent < program)");
    EXPECT_NE(Problem("platform/win32/Win32Facts.cpp", "#include \"agent/Init.h\""), "");
    EXPECT_NE(Problem("model/User.cpp", "#include \"app/Globals.h\""), "");
    EXPECT_NE(Problem("ui/main.h", "#include \"agent/Globals.h\""), "");
    // Portable code sees no Win32.
    EXPECT_NE(Problem("scan/fileMonitor.cpp", "#include <windows.h>"), "");
    EXPECT_NE(Problem("ui/About.cpp", "#include \"platform/win32/Window.h\""), "");
    EXPECT_NE(Problem("ui/main.cpp", "#include \"scan/fileMonitor_win32.h\""), "");
    EXPECT_EQ(Problem("ui/About_win32.cpp", "#include <commctrl.h>"), "");
    EXPECT_NE(Problem("ui/About_win32.cpp", "#include <windows.h>"), "");
    // A binding knows its own window and the kit, not another window's binding or controls.
    EXPECT_EQ(Problem("ui/About_win32.cpp", "#include \"ui/About_win32.h\""), "");
    EXPECT_EQ(Problem("ui/About_win32.cpp", "#include \"ui/About_res.h\""), "");
    EXPECT_EQ(Problem("ui/About_win32.cpp", "#include \"platform/win32/Controls_win32.h\""), "");
    EXPECT_NE(Problem("ui/main_win32.cpp", "#include \"scan/fileMonitor_win32.h\""), "");
    EXPECT_NE(Problem("ui/main_win32.cpp", "#include \"ui/PlayerWizard_res.h\""), "");
    EXPECT_EQ(Problem("ui/About.rc", "#include \"ui/About_res.h\""), "");
    // The program entry wires the bindings together.
    EXPECT_EQ(Problem("program/Program_win32.cpp", "#include \"scan/fileMonitor_win32.h\""), "");
    EXPECT_NE(Problem("gadgets/Thing.cpp", "#include \"model/User.h\""), "");
}

TEST(Layers, EveryIncludeOfTheTreePointsDown) {
    const std::vector<Finding> found = CheckTree(std::filesystem::path(VEXAMO_SOURCE_DIR) / "src");
    std::ostringstream report;
    for (const Finding& f : found) report << "src/" << f.File << ":" << f.Line << ": " << f.Text << "\n    " << f.Why << "\n";
    EXPECT_TRUE(found.empty()) << report.str();
}
