// Stand-in media player for the end-to-end tests: records how it was started and exits at once.
// Each start appends its whole wide command line, in UTF-8, as one line to standin.log in the
// folder of its own executable, and the arguments as CommandLineToArgvW splits them, separated by
// tabs (no name can hold one), as one line to standin-args.log. A test thus reads exactly what
// the agent asked the shell to run, and what a player made of it, whatever the names' script.
// The process's creation time and the time it came to write (FILETIME ticks, as GetProcessTimes
// and GetSystemTimePreciseAsFileTime give them) go as one line to standin-started.log, so that a
// benchmark knows when the player was started, and when it ran, whenever it reads.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

std::string Utf8(const wchar_t* wide, int length) {
    if (length == 0) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, wide, length, out.data(), size, nullptr, nullptr);
    return out;
}

// Several players may be started in quick succession: retry briefly while another instance
// holds the file, and append under an exclusive open so lines never interleave.
bool AppendLine(const std::wstring& path, const std::string& line) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE f = CreateFileW(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            const BOOL ok = WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(f);
            return ok && written == line.size();
        }
        Sleep(20);
    }
    return false;
}

unsigned long long Ticks(const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    std::wstring folder(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, folder.data(), static_cast<DWORD>(folder.size()));
    if (n == 0 || n >= folder.size()) return 2;
    folder.resize(n);
    folder.erase(folder.find_last_of(L'\\') + 1);

    const wchar_t* line = GetCommandLineW();
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(line, &count);
    std::string args;
    for (int i = 1; argv && i < count; ++i) args += (i > 1 ? "\t" : "") + Utf8(argv[i], lstrlenW(argv[i]));
    LocalFree(argv);

    // Before the logs the tests wait for: a test that saw them may clear the folder.
    FILETIME running{};
    GetSystemTimePreciseAsFileTime(&running);
    AppendLine(folder + L"standin-started.log", std::to_string(Ticks(created)) + " " + std::to_string(Ticks(running)) + "\r\n");
    // The arguments first: a test that sees the command line may then read them too.
    const bool argsOk = AppendLine(folder + L"standin-args.log", args + "\r\n");
    const bool lineOk = AppendLine(folder + L"standin.log", Utf8(line, lstrlenW(line)) + "\r\n");
    return argsOk && lineOk ? 0 : 1;
}
