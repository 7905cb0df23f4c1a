// The player wizard's real window under Wine: a player defined with the stand-in as its
// executable, the command-line test starting it, an edit that renames, and every page seen at 96
// and 144 DPI.
#include <gtest/gtest.h>

#include "e2e/AgentE2E.h"
#include "e2e/Controls.h"
#include "e2e/E2E.h"
#include "ui/PlayerWizard_res.h"
#include "ui/main_res.h"

using namespace e2e;

namespace {

constexpr DWORD TimeoutMs = 15000;

// The wizard on its own (WizardHost.exe, copied into the program folder so that Players.ini is
// read and written beside it), new or editing a player.
struct WizardRun {
    // The wizard a running program opened.
    WizardRun(DWORD pid, HWND wnd) : Pid(pid), Wnd(wnd) {}
    explicit WizardRun(const ProgramFolder& folder, const std::string& editName = "") {
        const std::string host = folder / "WizardHost.exe";
        if (!CopyFileA((BuildDir() + "WizardHost.exe").c_str(), host.c_str(), FALSE))
            throw std::runtime_error("cannot copy WizardHost.exe");
        Proc = Process::Start(host, editName);
        Pid = Proc.Id();
        Wnd = WaitForDialog(Pid, TimeoutMs, "Player Wizard");
    }

    HWND Item(int id) const { return GetDlgItem(Wnd, id); }
    bool Shown(int id) const { return IsWindowVisible(Item(id)) != FALSE; }
    std::string Text(int id) const { return WindowText(Item(id)); }
    void Click(int id) const { PressButtonId(Wnd, id); }
    // Typing into a box: WM_SETTEXT gives the same change notification as the keyboard.
    void Type(int id, const std::string& text) const {
        SendWithin(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), TimeoutMs);
    }
    // Waits until the page whose fixed heading is `pageTextId` is shown.
    bool OnPage(int page) const {
        return WaitUntil([&] { return Shown(IDC_WIZARD_PAGETEXT + page * WIZARD_PAGETEXTS_PER_PAGE); }, TimeoutMs);
    }
    void Next(int expectedPage) const {
        Click(IDOK);
        ASSERT_TRUE(OnPage(expectedPage)) << "page " << expectedPage;
    }
    // Answers the file-open dialog with a path typed into its name box.
    bool ChooseFile(const std::string& path) const {
        HWND open = WaitForDialog(Pid, TimeoutMs, "Open");
        if (!open) return false;
        HWND name = GetDlgItem(open, 0x047c);  // the combined name box
        if (!name) name = GetDlgItem(open, 0x0480);
        HWND edit = name ? FindWindowExA(name, nullptr, "Edit", nullptr) : nullptr;
        SendWithin(edit ? edit : name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), TimeoutMs);
        PressButtonId(open, IDOK);
        return WaitUntil([&] { return !IsWindow(open); }, TimeoutMs);
    }
    // Reads a message box with the caption, answers it with the button and returns its text.
    std::string Answer(const std::string& caption, const std::string& button) const {
        HWND box = WaitForDialog(Pid, TimeoutMs, caption);
        if (!box) return "<no " + caption + " box>";
        const std::string text = ReadDialog(box).Message;
        ClickButton(box, button);
        WaitUntil([&] { return !IsWindow(box); }, TimeoutMs);
        return text;
    }

    Process Proc;
    DWORD Pid = 0;
    HWND Wnd = nullptr;
};

// A 16 by 16 icon file of one colour.
std::string IconFile() {
    std::string ico;
    auto put16 = [&](unsigned v) { ico += static_cast<char>(v & 0xFF), ico += static_cast<char>(v >> 8); };
    auto put32 = [&](unsigned v) { put16(v & 0xFFFF), put16(v >> 16); };
    const unsigned pixels = 16 * 16 * 4, mask = 16 * 4, dib = 40 + pixels + mask;
    put16(0), put16(1), put16(1);                                   // header: one icon
    ico += '\x10', ico += '\x10', ico += '\0', ico += '\0';          // 16 x 16
    put16(1), put16(32), put32(dib), put32(6 + 16);                 // planes, bits, size, offset
    put32(40), put32(16), put32(32), put16(1), put16(32);           // BITMAPINFOHEADER
    for (int i = 0; i < 6; ++i) put32(0);
    for (unsigned i = 0; i < 16 * 16; ++i) put32(0xFFC03020);       // opaque orange-brown
    ico.append(mask, '\0');
    return ico;
}

std::vector<std::string> Arguments(const std::string& commandLine) {
    std::vector<std::string> out;
    std::string cur;
    bool quoted = false, any = false;
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any) out.push_back(cur);
            cur.clear();
            any = false;
        } else {
            cur += c;
            any = true;
        }
    }
    if (any) out.push_back(cur);
    if (!out.empty()) out.erase(out.begin());  // the program itself
    return out;
}

}  // namespace

TEST(Wizard, NewPlayerWithATestedCommandLineIsWritten) {
    ProgramFolder folder;
    const std::string player = folder.InstallStandIn("Stand In");
    const std::string sample = folder / "My Films\\sample film.avi";
    WriteFile(sample, "x");
    WizardRun w(folder);
    ASSERT_NE(w.Wnd, nullptr);
    EXPECT_FALSE(IsWindowEnabled(w.Item(IDOK)));
    EXPECT_FALSE(IsWindowEnabled(w.Item(IDC_WIZARD_BTBACK)));

    w.Type(IDC_WIZARD_EDPLAYERNAME, "Stand In");
    w.Click(IDC_WIZARD_BTPLAYER);
    ASSERT_TRUE(w.ChooseFile(player));
    ASSERT_TRUE(WaitUntil([&] { return w.Text(IDC_WIZARD_BTPLAYER) == player; }, TimeoutMs));
    EXPECT_TRUE(IsWindowEnabled(w.Item(IDOK)));
    w.Next(1);
    EXPECT_EQ(w.Text(IDC_WIZARD_EDSINGLEFILEFLAG), "[FILE]");

    w.Click(IDC_WIZARD_BTTEST);
    ASSERT_TRUE(WaitUntil([&] { return w.Shown(IDC_WIZARD_BTOPENFILE); }, TimeoutMs));
    EXPECT_FALSE(w.Shown(IDOK));
    EXPECT_EQ(w.Text(IDC_WIZARD_LBLCMD), "> [PLAYER] [FILE]");
    w.Click(IDC_WIZARD_BTOPENFILE);
    ASSERT_TRUE(w.ChooseFile(sample));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(w.Item(IDC_WIZARD_BTEXECUTE)) != FALSE; }, TimeoutMs));
    w.Click(IDC_WIZARD_BTEXECUTE);
    EXPECT_EQ(w.Answer("Vexamo", "OK"), "Please wait while 'Stand In' loads, then press 'OK' !");
    ASSERT_TRUE(WaitUntil([&] { return !StandInLog(player).empty(); }, TimeoutMs));
    EXPECT_EQ(Arguments(StandInLog(player)[0]), (std::vector<std::string>{sample})) << StandInLog(player)[0];
    EXPECT_EQ(w.Answer("Confirm", "Yes"),
              "Was the player able to play 'Single Files' with the command line specified ?");
    EXPECT_EQ(w.Answer("Information", "OK"), "Test Sucessfull! \r\rYour player is able to play 'Single Files' !");
    ASSERT_TRUE(w.OnPage(2));  // the test pressed Next
    EXPECT_TRUE(WaitUntil([&] { return w.Shown(IDOK); }, TimeoutMs));

    w.Next(3);
    w.Next(4);
    w.Click(IDC_WIZARD_RDSUBSSUPPORTNO);
    w.Next(6);
    EXPECT_EQ(w.Text(IDOK), "Finish");
    EXPECT_EQ(w.Text(IDC_WIZARD_LBLFINALCMD3), "n/a");
    w.Click(IDOK);
    ASSERT_TRUE(w.Proc.WaitExit(TimeoutMs));
    EXPECT_EQ(folder.Read("Players.ini").value_or("<missing>"),
              "[Stand In]\r\nexe=" + player + "\r\nindex=0\r\nicon=\r\next=.m3u\r\nsingle=[FILE]\r\n"
              "playlist=[PLAYLIST]\r\nsubtitles=\r\n");
}

TEST(Wizard, AFailedTestWarnsAndClosesTheTestArea) {
    ProgramFolder folder;
    const std::string player = folder.InstallStandIn("Stand In");
    const std::string sample = folder / "a.mp3";
    WriteFile(sample, "x");
    WizardRun w(folder);
    ASSERT_NE(w.Wnd, nullptr);
    w.Type(IDC_WIZARD_EDPLAYERNAME, "SI");
    w.Click(IDC_WIZARD_BTPLAYER);
    ASSERT_TRUE(w.ChooseFile(player));
    w.Next(1);
    w.Type(IDC_WIZARD_EDSINGLEFILEFLAG, "/play [file]");
    ASSERT_TRUE(WaitUntil([&] { return w.Text(IDC_WIZARD_EDSINGLEFILEFLAG) == "/play [FILE]"; }, TimeoutMs));
    w.Type(IDC_WIZARD_EDSINGLEFILEFLAG, "/play");  // drops the tag: undone, with the warning
    ASSERT_TRUE(WaitUntil([&] { return w.Text(IDC_WIZARD_EDSINGLEFILEFLAG) == "/play [FILE]"; }, TimeoutMs));
    EXPECT_EQ(w.Text(IDC_WIZARD_LBLWARNING), "Tag [FILE] must be present !");
    w.Click(IDC_WIZARD_BTTEST);
    w.Click(IDC_WIZARD_BTOPENFILE);
    ASSERT_TRUE(w.ChooseFile(sample));
    w.Click(IDC_WIZARD_BTEXECUTE);
    w.Answer("Vexamo", "OK");
    w.Answer("Confirm", "No");
    EXPECT_EQ(w.Answer("Warning", "OK"),
              "Please read \"SI\" documentation carefully, look for the apropriate command line, \r"
              "and ensure that your player can play the file you want to test. \r\r"
              "\rIf you aren't sure about this particular command line try using the default rule: \r\r"
              "[PLAYER] [FILE]\r\r Note: If you continue, you will not be able to play 'Single Files'.");
    ASSERT_TRUE(WaitUntil([&] { return w.Shown(IDOK) && !w.Shown(IDC_WIZARD_BTEXECUTE); }, TimeoutMs));
    EXPECT_TRUE(w.Shown(IDC_WIZARD_PAGETEXT + 1 * WIZARD_PAGETEXTS_PER_PAGE));
    EXPECT_EQ(w.Text(IDC_WIZARD_BTTEST), "&Test Command Line >>");
    ASSERT_TRUE(WaitUntil([&] { return !StandInLog(player).empty(); }, TimeoutMs));
    EXPECT_EQ(Arguments(StandInLog(player)[0]), (std::vector<std::string>{"/play", sample}));
    // The close box ends the wizard also while the test area is open.
    w.Click(IDC_WIZARD_BTTEST);
    ASSERT_TRUE(WaitUntil([&] { return w.Shown(IDC_WIZARD_BTEXECUTE); }, TimeoutMs));
    PostMessageA(w.Wnd, WM_CLOSE, 0, 0);
    ASSERT_TRUE(w.Proc.WaitExit(TimeoutMs));
    EXPECT_FALSE(folder.Exists("Players.ini"));
}

TEST(Wizard, EditWithARenameMovesTheSection) {
    ProgramFolder folder;
    const std::string player = folder.InstallStandIn("Stand In");
    folder.Write("Players.ini", "[Old Name]\r\nexe=" + player + "\r\nindex=0\r\nicon=\r\next=.lst\r\n"
                                "single=-f [FILE]\r\nplaylist=-l [PLAYLIST]\r\nsubtitles=\r\n"
                                "[Other]\r\nexe=C:\\other.exe\r\n");
    const std::string icon = folder / "Icons\\new.ico";
    WriteFile(icon, IconFile());
    WizardRun w(folder, "Old Name");
    ASSERT_NE(w.Wnd, nullptr);
    EXPECT_EQ(w.Text(IDC_WIZARD_EDPLAYERNAME), "Old Name");
    EXPECT_EQ(w.Text(IDC_WIZARD_BTPLAYER), player);
    w.Type(IDC_WIZARD_EDPLAYERNAME, "New Name");
    w.Click(IDC_WIZARD_BUTTON1);
    ASSERT_NE(WaitForDialog(w.Proc.Id(), TimeoutMs, "Open"), nullptr);
    Sleep(500);
    Screenshot("wizard-icon-chooser");
    ASSERT_TRUE(w.ChooseFile(icon));
    ASSERT_TRUE(WaitUntil([&] { return w.Text(IDC_WIZARD_LBLICON) == icon; }, TimeoutMs));
    Sleep(300);
    Screenshot("wizard-0-edit-with-icon");
    w.Next(1);
    EXPECT_EQ(w.Text(IDC_WIZARD_EDSINGLEFILEFLAG), "-f [FILE]");
    w.Next(2);
    w.Next(3);
    EXPECT_EQ(w.Text(IDC_WIZARD_EDPLAYLISTFLAG), "-l [PLAYLIST]");
    w.Next(4);
    w.Next(6);
    w.Click(IDOK);
    ASSERT_TRUE(w.Proc.WaitExit(TimeoutMs));
    EXPECT_EQ(folder.Read("Players.ini").value_or("<missing>"),
              "[Other]\r\nexe=C:\\other.exe\r\n[New Name]\r\nexe=" + player + "\r\nindex=0\r\nicon=" + icon +
                  "\r\next=.lst\r\nsingle=-f [FILE]\r\nplaylist=-l [PLAYLIST]\r\nsubtitles=\r\n");
}

TEST(Wizard, TheConfigurationWindowOpensItAndListsTheNewPlayer) {
    Agent agent(true);
    const std::string player = agent.Folder.InstallStandIn("Stand In");
    agent.Start();
    const HWND config = WaitForWindow(agent.Proc.Id(), "TfrmMain", "Vexamo", AgentTimeoutMs, true);
    ASSERT_NE(config, nullptr);
    const HWND list = GetDlgItem(config, IDC_MAIN_LSTPLAYERS);
    ClickAt(Centre(ListViewRowRect(list, 0)));  // "(Add new Player)"
    WizardRun w(agent.Proc.Id(), WaitForDialog(agent.Proc.Id(), TimeoutMs, "Player Wizard"));
    ASSERT_NE(w.Wnd, nullptr);
    EXPECT_EQ(GetWindow(w.Wnd, GW_OWNER), config);
    w.Type(IDC_WIZARD_EDPLAYERNAME, "Stand In");
    w.Click(IDC_WIZARD_BTPLAYER);
    ASSERT_TRUE(w.ChooseFile(player));
    w.Next(1);
    w.Next(2);
    w.Click(IDC_WIZARD_RDPLAYLISTNO);
    w.Next(4);
    w.Next(5);
    w.Next(6);
    w.Click(IDOK);
    // The list is refilled once the wizard has closed.
    ASSERT_TRUE(WaitUntil([&] {
        for (const auto& row : ListViewRows(list))
            if (row.size() > 1 && row[1] == "Stand In") return true;
        return false;
    }, AgentTimeoutMs));
    EXPECT_EQ(agent.Folder.Read("Players.ini").value_or("").find(
                  "[Stand In]\r\nexe=" + player + "\r\nindex=0\r\nicon=\r\next=\r\nsingle=[FILE]\r\n"
                  "playlist=\r\nsubtitles=[FILE] [SUBTITLE]\r\n"),
              0u);
}

TEST(Wizard, EditPlayerFromTheConfigurationWindowRenames) {
    Agent agent(true);
    const std::string player = agent.Folder.InstallStandIn("Stand In");
    agent.Folder.Write("Players.ini", "[Mine]\r\nexe=" + player + "\r\nindex=0\r\nicon=\r\next=.m3u\r\n"
                                      "single=[FILE]\r\nplaylist=[PLAYLIST]\r\nsubtitles=\r\n");
    agent.Start();
    const HWND config = WaitForWindow(agent.Proc.Id(), "TfrmMain", "Vexamo", AgentTimeoutMs, true);
    ASSERT_NE(config, nullptr);
    const HWND list = GetDlgItem(config, IDC_MAIN_LSTPLAYERS);
    int row = -1;
    const auto rows = ListViewRows(list);
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].size() > 1 && rows[i][1] == "Mine") row = static_cast<int>(i);
    ASSERT_GT(row, 0);
    ClickAt(Centre(ListViewRowRect(list, row)), true);
    const HWND menu = WaitForWindow(agent.Proc.Id(), "#32768", "", TimeoutMs, true);
    ASSERT_NE(menu, nullptr);
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);  // "Edit Player..."
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    WizardRun w(agent.Proc.Id(), WaitForDialog(agent.Proc.Id(), TimeoutMs, "Player Wizard"));
    ASSERT_NE(w.Wnd, nullptr);
    EXPECT_EQ(w.Text(IDC_WIZARD_EDPLAYERNAME), "Mine");
    w.Type(IDC_WIZARD_EDPLAYERNAME, "Renamed");
    w.Next(1);
    w.Next(2);
    w.Next(3);
    w.Next(4);
    w.Next(6);
    w.Click(IDOK);
    ASSERT_TRUE(WaitUntil([&] {
        for (const auto& r : ListViewRows(list))
            if (r.size() > 1 && r[1] == "Renamed") return true;
        return false;
    }, AgentTimeoutMs));
    const std::string ini = agent.Folder.Read("Players.ini").value_or("");
    EXPECT_EQ(ini.find("[Mine]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("[Renamed]\r\nexe=" + player + "\r\nindex=0\r\n"), std::string::npos) << ini;
}

namespace {

// Every page and the open test area, as pictures.
void ScreenshotEveryPage(const std::string& suffix) {
    ProgramFolder folder("screens" + suffix);
    const std::string player = folder.InstallStandIn("Stand In");
    WizardRun w(folder);
    ASSERT_NE(w.Wnd, nullptr);
    Sleep(500);
    Screenshot("wizard-0-player" + suffix);
    w.Type(IDC_WIZARD_EDPLAYERNAME, "Stand In");
    w.Click(IDC_WIZARD_BTPLAYER);
    ASSERT_TRUE(w.ChooseFile(player));
    w.Next(1);
    w.Type(IDC_WIZARD_EDSINGLEFILEFLAG, "/F:[FILE] -skin='x'");
    w.Type(IDC_WIZARD_EDSINGLEFILEFLAG, "/F: -skin='x'");
    Sleep(300);
    Screenshot("wizard-1-single" + suffix);
    w.Click(IDC_WIZARD_BTTEST);
    ASSERT_TRUE(WaitUntil([&] { return w.Shown(IDC_WIZARD_BTOPENFILE); }, TimeoutMs));
    Sleep(300);
    Screenshot("wizard-1-test-area" + suffix);
    w.Click(IDC_WIZARD_BTTEST);
    w.Next(2);
    Screenshot("wizard-2-playlist-support" + suffix);
    w.Next(3);
    Screenshot("wizard-3-playlist" + suffix);
    w.Next(4);
    Screenshot("wizard-4-subtitle-support" + suffix);
    w.Next(5);
    w.Click(IDC_WIZARD_BTTEST);
    ASSERT_TRUE(WaitUntil([&] { return w.Shown(IDC_WIZARD_BTSUBTITLE); }, TimeoutMs));
    Sleep(300);
    Screenshot("wizard-5-subtitles-test-area" + suffix);
    w.Click(IDC_WIZARD_BTTEST);
    Sleep(300);
    Screenshot("wizard-5-subtitles" + suffix);
    w.Next(6);
    Sleep(300);
    Screenshot("wizard-6-final" + suffix);
    RECT r{};
    GetClientRect(w.Wnd, &r);
    EXPECT_GT(r.bottom, 0);
    w.Click(IDCANCEL);
    ASSERT_TRUE(w.Proc.WaitExit(TimeoutMs));
}

}  // namespace

TEST(Wizard, EveryPageAt96Dpi) { ScreenshotEveryPage(""); }

TEST(Wizard, EveryPageAt144Dpi) {
    RegWriteDword(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", 144);
    ScreenshotEveryPage("-144dpi");
    RegWriteDword(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", 96);
}
