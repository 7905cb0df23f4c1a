// The configuration window's model as it is built when the window opens, and when a disc arrives
// (the same window, hidden), for a catalogue of many players: the same scenario over the fake
// platform (bench/PlayersBench.cpp) and over the real profile functions (bench/win32/PlayersBench.cpp).
#pragma once

#include <memory>
#include <string>

#include "app/Globals.h"
#include "model/User.h"
#include "model/VexaCfg.h"
#include "platform/Platform.h"
#include "support/WindowFakes.h"
#include "ui/main.h"

namespace vexamo::bench {

// Players.ini as the wizard leaves it for `custom` players of the user's (all of one program,
// `exe`), Selection.ini with the first `selected` of them. Each selected player asks for .avi;
// the first keeps it.
inline void WritePlayerFiles(Platform& platform, const std::string& folder, int custom, int selected,
                             const std::string& exe) {
    std::string players, selection;
    for (int i = 0; i < custom; ++i) {
        const std::string name = "Player " + std::to_string(1000 + i);
        players += "[" + name + "]\r\nexe=" + exe + "\r\nindex=0\r\nicon=\r\next=.m3u\r\nsingle=[FILE]\r\n" +
                   "playlist=[PLAYLIST]\r\nsubtitles=[FILE] [SUBTITLE]\r\n";
        if (i < selected) selection += "[" + name + "]\r\nName=" + name + "\r\nPrompt=No\r\nExt=.avi;.mkv\r\n";
    }
    platform.DeleteFile(folder + PlayersFileName);
    platform.DeleteFile(folder + SelectionFileName);
    if (!players.empty()) platform.AppendTextFile(folder + PlayersFileName, players);
    if (!selection.empty()) platform.AppendTextFile(folder + SelectionFileName, selection);
}

// Opens the window's model as the tray does (FormCreate) and returns how many players it lists
// and has selected, so that a benchmark can tell it did the work.
inline size_t OpenConfigModel(const std::string& folder) {
    static test::FakeTrayAgent agent;
    static test::FrmMainHostLog log;
    ProgramFolder = folder;
    Globals.Vexamo = std::make_unique<TVexamo>();
    Globals.frmMain = std::make_unique<TfrmMain>(agent, test::FakeFrmMainHostFactory(log));
    Globals.frmMain->FormCreate();
    const size_t shown = Globals.frmMain->lstPlayers.Items.size() + Globals.SelectedPlayers->Players.size();
    Globals.Reset();
    return shown;
}

}  // namespace vexamo::bench
