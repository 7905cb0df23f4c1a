// The real platform's answers for what the model relies on beyond INI files: files, folder
// listings, the registry, drives, the clock and system texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/Utf8.h"
#include "platform/win32/Wide.h"
#include "platform/win32/WinApi.h"
#include "platform/win32/Win32Platform.h"

namespace vexamo {
namespace {

std::string TestFolder(const char* name) {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string() + "\\";
}

TEST(Win32Files, AppendCreatesThenAppendsAndReadsBackEveryByte) {
    Win32Platform sys;
    std::string dir = TestFolder("vexamo-files");
    std::string path = dir + "out.txt";
    EXPECT_FALSE(sys.FileExists(path));
    EXPECT_FALSE(sys.ReadTextFile(path).has_value());
    const std::string first("a\r\nb\0c", 6);
    ASSERT_TRUE(sys.AppendTextFile(path, first));
    ASSERT_TRUE(sys.AppendTextFile(path, "\xe9\n"));
    EXPECT_TRUE(sys.FileExists(path));
    EXPECT_EQ(sys.ReadTextFile(path), first + "\xe9\n");
    EXPECT_FALSE(sys.FileExists(dir));  // a folder is no file
    EXPECT_TRUE(sys.DeleteFile(path));
    EXPECT_FALSE(sys.DeleteFile(path));
    EXPECT_FALSE(sys.AppendTextFile(dir + "missing\\out.txt", "x"));
}

TEST(Win32Files, ListingReportsAttributesAndSkipsDotEntries) {
    Win32Platform sys;
    std::string dir = TestFolder("vexamo-list");
    ASSERT_TRUE(sys.AppendTextFile(dir + "plain.avi", "x"));
    ASSERT_TRUE(sys.AppendTextFile(dir + "hidden.avi", "x"));
    ASSERT_TRUE(SetFileAttributesA((dir + "hidden.avi").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(CreateDirectoryA((dir + "sub").c_str(), nullptr));

    std::vector<DirEntry> all = sys.ListFolder(dir + "*");
    ASSERT_EQ(all.size(), 3u);
    for (const DirEntry& e : all) {
        EXPECT_EQ(e.Directory, e.Name == "sub") << e.Name;
        EXPECT_EQ(e.Hidden, e.Name == "hidden.avi") << e.Name;
        EXPECT_FALSE(e.System) << e.Name;
    }
    std::vector<DirEntry> avi = sys.ListFolder(dir + "*.AVI");
    EXPECT_EQ(avi.size(), 2u);
    EXPECT_TRUE(sys.ListFolder(dir + "nothing\\*").empty());
    EXPECT_TRUE(sys.ListFolder(dir + "*.mp3").empty());
}

// Names in any script, and paths far past MAX_PATH, through the wide functions.
TEST(Win32Files, NamesInAnyScriptAndLongPathsListOpenAndDelete) {
    Win32Platform sys;
    const std::string dir = TestFolder("vexamo-names");
    const std::string film = "\xD0\xA4\xD0\xB8\xD0\xBB\xD1\x8C\xD0\xBC.avi";       // Фильм.avi
    const std::string eiga = "\xE6\x98\xA0\xE7\x94\xBB.mkv";                          // 映画.mkv
    const std::string smile = "\xF0\x9F\x98\x80 smile.mp4";                             // 😀 smile.mp4
    for (const std::string& name : {film, eiga, smile}) ASSERT_TRUE(sys.AppendTextFile(dir + name, name)) << name;
    std::vector<std::string> names;
    for (const DirEntry& e : sys.ListFolder(dir + "*")) names.push_back(e.Name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"\xD0\xA4\xD0\xB8\xD0\xBB\xD1\x8C\xD0\xBC.avi",
                                               "\xE6\x98\xA0\xE7\x94\xBB.mkv", "\xF0\x9F\x98\x80 smile.mp4"}));
    EXPECT_TRUE(sys.FileExists(dir + film));
    EXPECT_EQ(sys.ReadTextFile(dir + eiga), eiga);
    EXPECT_EQ(sys.ListFolder(dir + "*.MKV").size(), 1u);

    // A chain of folders far past MAX_PATH, in Cyrillic (more bytes than UTF-16 units).
    std::string deep = dir;
    std::string component;
    for (int i = 0; i < 40; ++i) component += "\xD0\x96";  // Ж
    for (int level = 0; level < 12; ++level) {
        deep += component + "\\";
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + win32::Wide(deep)).c_str(), nullptr)) << level;
    }
    ASSERT_GT(Utf16Length(deep), 500u);
    const std::string file = deep + film;
    ASSERT_TRUE(sys.AppendTextFile(file, "far"));
    EXPECT_TRUE(sys.FileExists(file));
    EXPECT_EQ(sys.ReadTextFile(file), "far");
    const std::vector<DirEntry> listed = sys.ListFolder(deep + "*");
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].Name, film);
    EXPECT_EQ(sys.DriveType(deep), DriveKind::Fixed);
    EXPECT_TRUE(sys.DeleteFile(file));
    EXPECT_FALSE(sys.FileExists(file));

    // Past the longest path any file function takes, nothing is handed on: Wine would wrap the
    // length round and open another file.
    const std::string tooLong = dir + film + "\\" + std::string(LongestPath + 1 - Utf16Length(dir + film) + 1, 'z');
    EXPECT_FALSE(sys.FileExists(tooLong));
    EXPECT_FALSE(sys.ReadTextFile(dir + film + "\\" + std::string(32768, 'z')).has_value());
    EXPECT_TRUE(sys.ListFolder(tooLong + "\\*").empty());
}

TEST(Win32Files, LegacyTextIsTheSystemsOldCodePage) {
    Win32Platform sys;
    // Wine's default locale is en-US: Windows-1252, whatever the program's own code page.
    EXPECT_EQ(sys.FromLegacyText("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(sys.ToLegacyText("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xE9 \x80");
    EXPECT_FALSE(sys.ToLegacyText("\xD0\xA4").has_value()) << "no Cyrillic in Windows-1252";
    EXPECT_FALSE(sys.ToLegacyText("e\xCC\x81").has_value()) << "no best fit: a combining accent is no \"e\"";
    EXPECT_EQ(sys.ToLegacyText("plain"), "plain");
}

class Win32Registry : public ::testing::Test {
protected:
    static constexpr const char* Key = "\\Software\\VexamoConformance\\";
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VexamoConformance"); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VexamoConformance"); }
    Win32Platform sys;
};

TEST_F(Win32Registry, MissingKeyIsNeitherOpenedNorCreatedByWrites) {
    EXPECT_FALSE(sys.RegKeyExists(RegRoot::CurrentUser, Key));
    EXPECT_FALSE(sys.RegWriteInteger(RegRoot::CurrentUser, Key, "n", 1));
    EXPECT_FALSE(sys.RegWriteString(RegRoot::CurrentUser, Key, "s", "x"));
    EXPECT_FALSE(sys.RegDeleteValue(RegRoot::CurrentUser, Key, "n"));
    EXPECT_FALSE(sys.RegReadInteger(RegRoot::CurrentUser, Key, "n").has_value());
    EXPECT_FALSE(sys.RegReadString(RegRoot::CurrentUser, Key, "s").has_value());
    EXPECT_FALSE(sys.RegKeyExists(RegRoot::CurrentUser, Key));
}

TEST_F(Win32Registry, ValuesRoundTripWithTheirTypes) {
    ASSERT_TRUE(sys.RegCreateKey(RegRoot::CurrentUser, Key));
    // With or without the surrounding backslashes it is the same key.
    ASSERT_TRUE(sys.RegKeyExists(RegRoot::CurrentUser, "Software\\VexamoConformance"));
    ASSERT_TRUE(sys.RegWriteInteger(RegRoot::CurrentUser, Key, "NoDriveTypeAutoRun", 181));
    ASSERT_TRUE(sys.RegWriteString(RegRoot::CurrentUser, Key, "Vexamo", "\"C:\\Program Files\\Vexamo.exe\""));
    ASSERT_TRUE(sys.RegWriteString(RegRoot::CurrentUser, Key, "", "player.exe \"%1\""));

    EXPECT_EQ(sys.RegReadInteger(RegRoot::CurrentUser, Key, "nodrivetypeautorun"), 181u);
    EXPECT_EQ(sys.RegReadString(RegRoot::CurrentUser, Key, "Vexamo"), "\"C:\\Program Files\\Vexamo.exe\"");
    EXPECT_EQ(sys.RegReadString(RegRoot::CurrentUser, Key, ""), "player.exe \"%1\"");
    // A value of the other type does not read.
    EXPECT_FALSE(sys.RegReadInteger(RegRoot::CurrentUser, Key, "Vexamo").has_value());
    EXPECT_FALSE(sys.RegReadString(RegRoot::CurrentUser, Key, "NoDriveTypeAutoRun").has_value());

    EXPECT_TRUE(sys.RegDeleteValue(RegRoot::CurrentUser, Key, "NoDriveTypeAutoRun"));
    EXPECT_FALSE(sys.RegDeleteValue(RegRoot::CurrentUser, Key, "NoDriveTypeAutoRun"));
    EXPECT_FALSE(sys.RegReadInteger(RegRoot::CurrentUser, Key, "NoDriveTypeAutoRun").has_value());
}

TEST_F(Win32Registry, ExpandableStringsReadUnexpanded) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\VexamoConformance", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &k, nullptr),
              ERROR_SUCCESS);
    const char text[] = "%ProgramFiles%\\Player\\play.exe";
    RegSetValueExA(k, "cmd", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    RegCloseKey(k);
    EXPECT_EQ(sys.RegReadString(RegRoot::CurrentUser, Key, "cmd"), text);
}

TEST_F(Win32Registry, OtherProgramsEntriesReadWithTheirTypeNamesAndViews) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\VexamoConformance", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &k, nullptr),
              ERROR_SUCCESS);
    const char text[] = "%SystemRoot%\\player.exe";
    RegSetValueExA(k, "Expand", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    RegSetValueExA(k, "Plain", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    RegCloseKey(k);
    const std::optional<RegText> expand = sys.RegReadText(RegRoot::CurrentUser, RegView::Native, Key, "expand");
    ASSERT_TRUE(expand);
    EXPECT_EQ(expand->Value, text);
    EXPECT_TRUE(expand->Expand);
    EXPECT_FALSE(sys.RegReadText(RegRoot::CurrentUser, RegView::Native, Key, "Plain")->Expand);
    std::vector<std::string> names = sys.RegValueNames(RegRoot::CurrentUser, RegView::Native, Key);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Expand", "Plain"})) << "as written";
    EXPECT_TRUE(sys.RegValueNames(RegRoot::CurrentUser, RegView::Native, "Software\\VexamoNoSuchKey").empty());

    const std::string windows = sys.ExpandEnvironment("%SystemRoot%");
    EXPECT_NE(windows, "%SystemRoot%");
    EXPECT_EQ(sys.ExpandEnvironment(text), windows + "\\player.exe");
    EXPECT_EQ(sys.ExpandEnvironment("%VexamoNoSuchVariable%\\x"), "%VexamoNoSuchVariable%\\x");

    // A 32-bit program's machine-wide key is the 32-bit view's, as the fake keeps it.
    HKEY wow = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\VexamoConformance", 0, nullptr, 0,
                              KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &wow, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(wow, "", 0, REG_SZ, reinterpret_cast<const BYTE*>("32"), 3);
    RegCloseKey(wow);
    EXPECT_EQ(sys.RegReadText(RegRoot::LocalMachine, RegView::Wow32, "SOFTWARE\\VexamoConformance", "")->Value, "32");
    EXPECT_EQ(sys.RegReadText(RegRoot::LocalMachine, RegView::Native, "SOFTWARE\\WOW6432Node\\VexamoConformance", "")
                  ->Value,
              "32");
    EXPECT_FALSE(sys.RegReadText(RegRoot::LocalMachine, RegView::Native, "SOFTWARE\\VexamoConformance", ""));
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\VexamoConformance", KEY_WOW64_32KEY, 0);
}

TEST_F(Win32Registry, LongStringsComeBackWhole) {
    ASSERT_TRUE(sys.RegCreateKey(RegRoot::CurrentUser, Key));
    std::string text(5000, 'x');
    text += "end";
    ASSERT_TRUE(sys.RegWriteString(RegRoot::CurrentUser, Key, "long", text));
    EXPECT_EQ(sys.RegReadString(RegRoot::CurrentUser, Key, "long"), text);
}

TEST(Win32Drives, DriveStringsListRootsEndedByAnEmptyEntry) {
    Win32Platform sys;
    std::string s = sys.LogicalDriveStrings();
    ASSERT_GE(s.size(), 5u);
    ASSERT_LE(s.size(), Win32Platform::DriveStringsBuffer);
    EXPECT_EQ(s.back(), '\0');
    EXPECT_EQ(s[s.size() - 2], '\0');
    EXPECT_EQ(s.size() % 4, 1u);  // "X:\" and its zero per drive, then the final zero
    EXPECT_NE(s.find(std::string("C:\\\0", 4)), std::string::npos);
    EXPECT_EQ(sys.DriveType("C:\\"), DriveKind::Fixed);

    std::string label = "unchanged";
    EXPECT_TRUE(sys.VolumeLabel("C:\\", label));
    EXPECT_NE(label, "unchanged");
    for (char letter = 'Y'; letter > 'D'; --letter) {
        std::string root = std::string(1, letter) + ":\\";
        if (s.find(root) != std::string::npos) continue;
        EXPECT_FALSE(sys.VolumeLabel(root, label)) << root;
        break;
    }
}

TEST(Win32System, TextsClockAndVersion) {
    Win32Platform sys;
    std::string storage = sys.SysErrorMessage(14);
    EXPECT_FALSE(storage.empty());
    EXPECT_TRUE(storage.find_last_of("\r\n ") != storage.size() - 1) << storage;
    EXPECT_EQ(sys.PlatformId(), 2);
    EXPECT_GE(sys.Now().Year, 2020);
    std::string time = sys.FormatLongTime(LocalTime{2026, 12, 7, 14, 5, 31});
    EXPECT_NE(time.find("05"), std::string::npos) << time;
    EXPECT_NE(time.find("31"), std::string::npos) << time;
    EXPECT_EQ(time.find('\0'), std::string::npos);
}

}  // namespace
}  // namespace vexamo
