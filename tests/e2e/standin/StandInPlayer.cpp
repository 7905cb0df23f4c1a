// Stand-in media player for the end-to-end tests: records how it was started and exits at once.
// Each start appends its whole command line as one line to standin.log in the folder of its own
// executable, so a test reads exactly what the agent asked the shell to run. Beside it,
// standin.args holds the arguments as the player's own runtime splits them (CommandLineToArgvW),
// one start per line, in UTF-8, separated by tabs (a character no Windows path holds).
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string out(static_cast<size_t>(n - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

std::string SplitArguments() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::string line;
    for (int i = 1; argv && i < count; ++i) line += (i > 1 ? "\t" : "") + Utf8(argv[i]);
    LocalFree(argv);
    return line + "\r\n";
}

// Several players may be started in quick succession: retry briefly while another instance
// holds the file, and append under an exclusive open so lines never interleave.
bool Append(const std::string& path, const std::string& line) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE f = CreateFileA(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 2;
    std::string folder(path, n);
    folder.erase(folder.find_last_of('\\') + 1);
    // The arguments first: a test that sees the log line finds them already written.
    const bool args = Append(folder + "standin.args", SplitArguments());
    return Append(folder + "standin.log", std::string(GetCommandLineA()) + "\r\n") && args ? 0 : 1;
}
