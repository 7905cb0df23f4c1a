// Times tray programs from launch to their first answer, and reads their memory and CPU time once
// they have sat idle, round by round and in turns, so that a busy moment of the machine weighs on
// each alike. Tests only; not shipped.
//
//   StartBench.exe rounds idle_seconds label=program.exe[,file...]...
//
// Each program runs from a copy in a folder of its own below %TEMP% (the agent keeps its settings
// beside itself). A file given as a Windows path (holding a backslash) is copied there under its
// own name: the agent's Players.ini, Selection.ini and Vexamo.ini of bench/win32/tray-start, with
// which it starts to the tray with monitoring on; a bare name is made there empty (an empty
// Selection.ini alone makes the agent open its configuration window, as on a first start). One start before the first round is not
// counted, so that every counted one finds the same files.
// "First answer": the process has gone idle waiting for input (WaitForInputIdle) and one of its
// top-level windows that the user can reach, one with a tray icon (number 0) or one on screen, has
// answered a message sent to it: its start-up is over and its message loop runs. After
// idle_seconds more: the working set (RSS under Wine) and the CPU time taken while idle. The
// program is then closed as a session closes it (WM_CLOSE), and killed only if that fails.
// Printed: each round's start-up times (they vary by a third from round to round under Wine, so
// take many rounds); per program the medians; per program after the first: the median of its
// ratio to the first in the same round; with VEXAMO_DEBUG set (which the agents inherit), the
// trace of each agent's last start from its Vexamo.log. Run under Wine by scripts/bench-lighter.sh.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Program {
    std::string Label, Exe;
    std::vector<double> StartMs, RssKb, IdleCpuMs;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double Now() {
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

double CpuMs(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return 0;
    auto ms = [](FILETIME t) { return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4; };
    return ms(kernel) + ms(user);
}

struct Search {
    DWORD Pid;
    HWND Found;
};

// Whether the tray shows an icon of the window: an icon that is not there cannot be changed.
bool HasTrayIcon(HWND window) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

BOOL CALLBACK FindWindowOf(HWND window, LPARAM data) {
    auto* s = reinterpret_cast<Search*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != s->Pid) return TRUE;
    if (!IsWindowVisible(window) && !HasTrayIcon(window)) return TRUE;
    s->Found = window;
    return FALSE;
}

// One start: false when the program did not answer within 20 s.
bool Run(Program& p, const std::string& exe, DWORD idleMs, bool counted) {
    const std::string folder = exe.substr(0, exe.find_last_of('\\'));
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + exe + "\"";
    const double start = Now();
    if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
        std::fprintf(stderr, "StartBench: %s cannot be started (error %lu)\n", exe.c_str(), GetLastError());
        return false;
    }
    WaitForInputIdle(pi.hProcess, 20000);
    double answered = 0;
    while (Now() - start < 20000) {
        Search s{pi.dwProcessId, nullptr};
        EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&s));
        DWORD_PTR result = 0;
        if (s.Found && SendMessageTimeoutA(s.Found, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result)) {
            answered = Now();
            break;
        }
        Sleep(1);
    }
    bool ok = answered > 0;
    if (!ok) std::fprintf(stderr, "StartBench: %s did not answer\n", p.Label.c_str());
    if (ok && counted) {
        Sleep(1000);
        const double cpuBefore = CpuMs(pi.hProcess);
        Sleep(idleMs);
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        GetProcessMemoryInfo(pi.hProcess, &memory, sizeof memory);
        p.StartMs.push_back(answered - start);
        p.RssKb.push_back(static_cast<double>(memory.WorkingSetSize) / 1024);
        p.IdleCpuMs.push_back(CpuMs(pi.hProcess) - cpuBefore);
    }
    // Ended as a session ends it, so that its tray icon goes with it: icons of killed programs
    // stay in Wine's tray and slow every later start of the run.
    Search s{pi.dwProcessId, nullptr};
    EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&s));
    if (!s.Found || !PostMessageA(s.Found, WM_CLOSE, 0, 0) || WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return ok;
}

// The last line of the program's log that holds its start-up's trace; empty without one.
std::string LastTrace(const std::string& log) {
    std::string text;
    HANDLE file =
        CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return text;
    char buffer[4096];
    for (DWORD got = 0; ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0;) text.append(buffer, got);
    CloseHandle(file);
    const size_t at = text.rfind("Trace: entry");
    return at == std::string::npos ? std::string() : text.substr(at, text.find('\r', at) - at);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: StartBench.exe rounds idle_seconds label=program.exe...\n");
        return 2;
    }
    const int rounds = std::max(1, std::atoi(argv[1]));
    const DWORD idleMs = static_cast<DWORD>(std::max(1, std::atoi(argv[2]))) * 1000;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::vector<Program> programs;
    std::vector<std::string> copies;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        const size_t eq = arg.find('=');
        std::string rest = arg.substr(eq + 1);
        std::vector<std::string> files;
        for (size_t comma; (comma = rest.rfind(',')) != std::string::npos; rest.resize(comma))
            files.push_back(rest.substr(comma + 1));
        Program p{arg.substr(0, eq), rest, {}, {}, {}};
        const std::string folder = std::string(temp) + "startbench-" + p.Label;
        CreateDirectoryA(folder.c_str(), nullptr);
        for (const std::string& file : files) {
            if (file.find('\\') != std::string::npos) {
                const std::string name = file.substr(file.find_last_of('\\') + 1);
                if (!CopyFileA(file.c_str(), (folder + "\\" + name).c_str(), FALSE)) {
                    std::fprintf(stderr, "StartBench: %s cannot be copied (error %lu)\n", file.c_str(),
                                 GetLastError());
                    return 1;
                }
                continue;
            }
            HANDLE h = CreateFileA((folder + "\\" + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        }
        const std::string copy = folder + p.Exe.substr(p.Exe.find_last_of('\\'));
        if (!CopyFileA(p.Exe.c_str(), copy.c_str(), FALSE)) {
            std::fprintf(stderr, "StartBench: %s cannot be copied (error %lu)\n", p.Exe.c_str(), GetLastError());
            return 1;
        }
        programs.push_back(p);
        copies.push_back(copy);
    }
    for (size_t i = 0; i < programs.size(); ++i)
        if (!Run(programs[i], copies[i], idleMs, false)) return 1;
    for (int r = 0; r < rounds; ++r) {
        for (size_t k = 0; k < programs.size(); ++k) {
            const size_t i = (k + static_cast<size_t>(r)) % programs.size();  // each takes its turn first
            if (!Run(programs[i], copies[i], idleMs, true)) return 1;
        }
        std::printf("StartBench: round %d:", r + 1);
        for (const Program& p : programs) std::printf(" %s %.0f ms", p.Label.c_str(), p.StartMs.back());
        std::printf("\n");
        std::fflush(stdout);
    }
    for (const Program& p : programs)
        std::printf("StartBench: %-8s start-up %7.1f ms  RSS %8.0f KB  idle CPU %5.1f ms (max %.1f)\n",
                    p.Label.c_str(), Median(p.StartMs), Median(p.RssKb), Median(p.IdleCpuMs),
                    *std::max_element(p.IdleCpuMs.begin(), p.IdleCpuMs.end()));
    if (GetEnvironmentVariableA("VEXAMO_DEBUG", nullptr, 0) > 0)
        for (size_t i = 0; i < programs.size(); ++i)
            if (const std::string trace = LastTrace(copies[i].substr(0, copies[i].find_last_of('\\')) + "\\Vexamo.log");
                !trace.empty())
                std::printf("StartBench: %-8s %s\n", programs[i].Label.c_str(), trace.c_str());
    const Program& yardstick = programs.front();
    for (size_t i = 1; i < programs.size(); ++i) {
        std::vector<double> start, rss;
        for (int r = 0; r < rounds; ++r) {
            start.push_back(programs[i].StartMs[r] / yardstick.StartMs[r]);
            rss.push_back(programs[i].RssKb[r] / yardstick.RssKb[r]);
        }
        std::printf("StartBench: %-8s / %s  start-up %.2f (goal <= 1.15)  RSS %.2f (goal <= 1.3)\n",
                    programs[i].Label.c_str(), yardstick.Label.c_str(), Median(start), Median(rss));
    }
    std::fflush(stdout);
    return 0;
}
