// Stand-in media player for the end-to-end tests: records how it was started and exits at once.
// Each start appends its whole command line as one line to standin.log in the folder of its own
// executable, so a test reads exactly what the agent asked the shell to run.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 2;
    std::string log(path, n);
    log.erase(log.find_last_of('\\') + 1);
    log += "standin.log";

    std::string line = GetCommandLineA();
    line += "\r\n";

    // Several players may be started in quick succession: retry briefly while another instance
    // holds the file, and append under an exclusive open so lines never interleave.
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE f = CreateFileA(log.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            const BOOL ok = WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(f);
            return ok && written == line.size() ? 0 : 1;
        }
        Sleep(20);
    }
    return 1;
}
