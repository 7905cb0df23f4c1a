// Times a disc's arrival at the real agent against a process that only walks the same drive and
// exits, on the 10,000-file disc of bench/ScanCases.h (1,000 folders). Tests only; not shipped.
//
//   ArrivalBench.exe [root [rounds [agent.exe...]]]    root defaults to D:\, rounds to 7, the
//                                                      agent to the Vexamo.exe beside this program
//
// Each round runs the bare walk (this program again, with --walk), then, for every agent given,
// starts it, waits for its tray icon and the play of the disc found at its start, sends it the
// arrival Windows would and times it until the stand-in player's process (StandInPlayer.exe,
// beside this program) was created, and until that process ran, by the times the stand-in
// records; a second arrival at the same agent follows, as a disc after a disc to an agent that
// runs all day. Medians are printed.
// With VEXAMO_DEBUG set, the agent's trace lines of the last round (Vexamo.log) are printed too.
//
// Under Wine, on a CD-ROM drive D: made by the end-to-end runner (scripts/bench-lighter.sh does this):
//
//   cmake --build --preset windows --target Vexamo StandInPlayer ArrivalBench
//   bash tests/e2e/run-e2e.sh --work build/windows/e2e --make-base      # once
//   bash tests/e2e/run-e2e.sh --work build/windows/e2e --group ArrivalBench --cdrom D:ARRIVAL
//       --timeout 900 -- build/windows/ArrivalBench.exe 'D:\' 7                  # one command line
#include "platform/win32/WinApi.h"

#include <dbt.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ScanCases.h"
#include "platform/win32/Win32Platform.h"
#include "win32/ScanDisc.h"

using namespace vexamo;
using namespace vexamo::bench;
using Clock = std::chrono::steady_clock;

namespace {

constexpr DWORD AgentTimeoutMs = 120000;
const char* const PlayerName = "Stand-In Player";

double Ms(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

std::string OwnFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

bool WriteText(const std::string& path, const std::string& text) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
    CloseHandle(h);
    return ok;
}

std::string ReadText(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string text(GetFileSize(h, nullptr), '\0');
    DWORD read = 0;
    ReadFile(h, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
    CloseHandle(h);
    text.resize(read);
    return text;
}

unsigned long long Ticks(const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

PROCESS_INFORMATION Start(const std::string& exe, const std::string& params, const std::string& folder) {
    std::string line = "\"" + exe + "\"" + (params.empty() ? "" : " " + params);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi))
        pi = {};
    return pi;
}

// From the start of the process to its end, as the user of a program that only walks would wait.
double BareWalkProcess(const std::string& self, const std::string& root) {
    const auto start = Clock::now();
    // A root ends in a backslash, which would escape a closing quote; it holds no blank.
    PROCESS_INFORMATION pi = Start(self, "--walk " + root, "");
    if (!pi.hProcess) return -1;
    WaitForSingleObject(pi.hProcess, AgentTimeoutMs);
    const auto end = Clock::now();
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return Ms(start, end);
}

struct MainWindowSearch {
    DWORD Pid;
    HWND Found = nullptr;
};

HWND FindMainWindow(DWORD pid) {
    MainWindowSearch search{pid};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<MainWindowSearch*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            char cls[64] = "";
            GetClassNameA(w, cls, sizeof cls);
            if (owner != s->Pid || std::strcmp(cls, "TMainForm") != 0) return TRUE;
            s->Found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

bool TrayHasIcon(HWND owner) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
    const auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (Clock::now() > until) return false;
        Sleep(10);
    }
    return true;
}

// One agent in a program folder of its own, its player the stand-in with the extensions of the
// first search player of the disc's cases.
class AgentRun {
public:
    AgentRun(const std::string& agentExe, const std::string& standIn, const std::string& folder) : folder_(folder) {
        CreateDirectoryA(folder_.c_str(), nullptr);
        CreateDirectoryA((folder_ + "Player").c_str(), nullptr);
        exe_ = folder_ + "Vexamo.exe";
        player_ = folder_ + "Player\\StandInPlayer.exe";
        ok_ = CopyFileA(agentExe.c_str(), exe_.c_str(), FALSE) && CopyFileA(standIn.c_str(), player_.c_str(), FALSE);
        std::string ext;
        const std::vector<SearchPlayer> players = ScanPlayers();
        for (const std::string& e : players.front().Extensions) ext += (ext.empty() ? "" : ";") + e;
        ok_ = ok_ &&
              WriteText(folder_ + "Players.ini",
                        std::string("[") + PlayerName + "]\r\nexe=" + player_ + "\r\nindex=0\r\next=.m3u\r\n") &&
              WriteText(folder_ + "Selection.ini", std::string("[") + PlayerName + "]\r\nName=" + PlayerName +
                                                       "\r\nPrompt=No\r\nExt=" + ext + "\r\n") &&
              WriteText(folder_ + "Vexamo.ini", "[Main]\r\nStatus=On\r\n");
        for (const char* f : {"Vexamo.log", "Player\\standin.log", "Player\\standin-args.log", "Player\\standin-started.log"})
            DeleteFileA((folder_ + f).c_str());
    }
    ~AgentRun() { Stop(); }

    bool Ok() const { return ok_; }
    const std::string& Folder() const { return folder_; }

    bool Start() {
        proc_ = ::Start(exe_, "", folder_);
        if (!proc_.hProcess) return false;
        if (!WaitUntil([&] { return (main_ = FindMainWindow(proc_.dwProcessId)) != nullptr; }, AgentTimeoutMs) ||
            !WaitUntil([&] { return TrayHasIcon(main_); }, AgentTimeoutMs))
            return false;
        // An agent that starts with a disc in the drive plays it at once: that run must be over
        // before an arrival is timed, or the arrival would find it running and the player's log
        // would be that run's.
        WaitUntil([&] { return FileSize(folder_ + "Player\\standin-args.log") > 0; }, 10000);
        Sleep(1000);
        return WaitUntil([&] { return TrayHasIcon(main_); }, AgentTimeoutMs);
    }

    // Milliseconds from the arrival to the creation of the stand-in player's process, and to the
    // moment that process ran its first line; negative numbers on failure. The stand-in writes
    // both times itself, on the clock the arrival is read from, so the figures do not depend on
    // when this program looks.
    std::pair<double, double> Arrival(char drive) {
        const std::string started = folder_ + "Player\\standin-started.log";
        const long long before = FileSize(started);
        DEV_BROADCAST_VOLUME vol{};
        vol.dbcv_size = sizeof vol;
        vol.dbcv_devicetype = DBT_DEVTYP_VOLUME;
        vol.dbcv_unitmask = 1u << (drive - 'A');
        vol.dbcv_flags = DBTF_MEDIA;
        FILETIME start{};
        GetSystemTimePreciseAsFileTime(&start);
        // The agent runs the whole scan inside the message.
        DWORD_PTR r = 0;
        SendMessageTimeoutA(main_, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&vol), SMTO_NORMAL,
                            AgentTimeoutMs, &r);
        // The player may still be writing once the run is over.
        std::pair<double, double> ms{-1, -1};
        if (WaitUntil([&] { return FileSize(started) > before; }, 10000)) {
            const std::string text = ReadText(started).substr(static_cast<size_t>(std::max(0LL, before)));
            char* end = nullptr;
            const unsigned long long created = std::strtoull(text.c_str(), &end, 10);
            const unsigned long long running = std::strtoull(end, nullptr, 10);
            auto since = [&](unsigned long long t) { return (static_cast<double>(t) - static_cast<double>(Ticks(start))) / 1e4; };
            if (created > 0 && running > 0) ms = {since(created), since(running)};
        }
        // The run ends with the icon back in the tray; the next arrival finds an idle agent.
        WaitUntil([&] { return TrayHasIcon(main_); }, AgentTimeoutMs);
        Sleep(200);
        return ms;
    }

    // What the agent shows, when it did not do what was asked of it.
    void Describe() const {
        EnumWindows(
            [](HWND w, LPARAM p) -> BOOL {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner != static_cast<DWORD>(p) || !IsWindowVisible(w)) return TRUE;
                char cls[64] = "", text[512] = "";
                GetClassNameA(w, cls, sizeof cls);
                GetWindowTextA(w, text, sizeof text);
                std::fprintf(stderr, "  %s \"%s\"\n", cls, text);
                EnumChildWindows(
                    w,
                    [](HWND c, LPARAM) -> BOOL {
                        char t[512] = "";
                        GetWindowTextA(c, t, sizeof t);
                        if (*t) std::fprintf(stderr, "    \"%s\"\n", t);
                        return TRUE;
                    },
                    0);
                return TRUE;
            },
            static_cast<LPARAM>(proc_.dwProcessId));
        std::fprintf(stderr, "  log: %s\n", ReadText(folder_ + "Vexamo.log").c_str());
    }

    void Stop() {
        if (!proc_.hProcess) return;
        if (main_) PostMessageA(main_, WM_COMMAND, 100 + 9, 0);  // the tray menu's "Exit"
        if (WaitForSingleObject(proc_.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(proc_.hProcess, 1);
        WaitForSingleObject(proc_.hProcess, 5000);
        CloseHandle(proc_.hThread);
        CloseHandle(proc_.hProcess);
        proc_ = {};
        main_ = nullptr;
    }

private:
    std::string folder_, exe_, player_;
    bool ok_ = false;
    PROCESS_INFORMATION proc_{};
    HWND main_ = nullptr;
};

double Median(std::vector<double> v) {
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    InstallWin32Platform();
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc > 2 && std::strcmp(argv[1], "--walk") == 0) {
        const size_t n = BareWalk({argv[2]});
        return n > 0 ? 0 : 1;
    }
    const std::string root = argc > 1 ? argv[1] : "D:\\";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    const std::string here = OwnFolder();
    std::vector<std::string> agents;
    for (int i = 3; i < argc; ++i) agents.push_back(argv[i]);
    if (agents.empty()) agents.push_back(here + "Vexamo.exe");
    const std::string self = here + "ArrivalBench.exe";

    // As on a Windows of today: the agent leaves the CD-ROM's own AutoRun to the user.
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\Cdrom", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        const DWORD on = 1;
        RegSetValueExA(key, "AutoRun", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
        RegCloseKey(key);
    }

    const auto buildStart = Clock::now();
    if (!BuildScanDisc(root)) {
        std::fprintf(stderr, "ArrivalBench: cannot build the disc below %s (error %lu)\n", root.c_str(), GetLastError());
        return 1;
    }
    std::printf("ArrivalBench: %s, %d folders of %d files; disc ready in %.0f ms\n", root.c_str(),
                ScanTopFolders * (ScanSubFolders + 1), ScanFilesPerFolder, Ms(buildStart, Clock::now()));
    // The first listing of a fresh disc costs more than any later one.
    BareWalkProcess(self, root);

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::vector<double> walks;
    // Per agent: the first and the next arrival, each to the player's creation and to its first line.
    std::vector<std::vector<double>> firsts(agents.size()), seconds(agents.size()), firstRuns(agents.size()),
        secondRuns(agents.size());
    for (int r = 0; r < rounds; ++r) {
        walks.push_back(BareWalkProcess(self, root));
        std::printf("ArrivalBench: round %d: bare walk %.0f ms", r + 1, walks.back());
        for (size_t i = 0; i < agents.size(); ++i) {
            // Every other round in the other order: what the agent before leaves behind weighs on each alike.
            const size_t a = r % 2 ? agents.size() - 1 - i : i;
            AgentRun run(agents[a], here + "StandInPlayer.exe", std::string(temp) + "ArrivalBench" + std::to_string(a) + "\\");
            if (!run.Ok() || !run.Start()) {
                std::fprintf(stderr, "ArrivalBench: agent %s did not start\n", agents[a].c_str());
                return 1;
            }
            const auto [first, firstRun] = run.Arrival(root[0]);
            const auto [second, secondRun] = run.Arrival(root[0]);
            if (first < 0 || second < 0) {
                std::fprintf(stderr, "ArrivalBench: agent %s started no player; its windows:\n", agents[a].c_str());
                run.Describe();
                return 1;
            }
            std::printf(", agent %zu %.0f then %.0f ms (running %.0f, %.0f)", a, first, second, firstRun, secondRun);
            firsts[a].push_back(first);
            seconds[a].push_back(second);
            firstRuns[a].push_back(firstRun);
            secondRuns[a].push_back(secondRun);
            run.Stop();
            if (r + 1 == rounds && GetEnvironmentVariableA("VEXAMO_DEBUG", nullptr, 0) > 0) {
                const std::string log = ReadText(run.Folder() + "Vexamo.log");
                if (!log.empty()) std::printf("ArrivalBench: agent %zu's log:\n%s", a, log.c_str());
            }
        }
        std::printf("\n");
    }
    const double walk = Median(walks);
    std::printf("ArrivalBench: bare walk process %.0f ms (median of %d)\n", walk, rounds);
    for (size_t a = 0; a < agents.size(); ++a) {
        const double first = Median(firsts[a]), second = Median(seconds[a]);
        std::printf("ArrivalBench: agent %zu %s: first arrival %.0f ms (%.2fx), next arrival %.0f ms (%.2fx)\n", a,
                    agents[a].c_str(), first, first / walk, second, second / walk);
        const double firstRun = Median(firstRuns[a]), secondRun = Median(secondRuns[a]);
        std::printf("ArrivalBench: agent %zu, to the player's first line: first arrival %.0f ms (%.2fx), next arrival "
                    "%.0f ms (%.2fx)\n", a, firstRun, firstRun / walk, secondRun, secondRun / walk);
    }
    return 0;
}
