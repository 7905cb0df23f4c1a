#include "e2e/E2E.h"

#include <dbt.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace e2e {

namespace {

std::string Env(const char* name) {
    char buf[4096];
    const DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

// Wine shows the whole Unix file system as drive Z:.
std::string FromUnix(const std::string& unixPath) {
    std::string p = "Z:" + unixPath;
    for (char& c : p)
        if (c == '/') c = '\\';
    if (p.back() != '\\') p += '\\';
    return p;
}

std::string WithSlash(std::string p) {
    if (!p.empty() && p.back() != '\\') p += '\\';
    return p;
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::wstring WideText(const std::string& text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), n > 0 ? static_cast<int>(text.size()) : 0, wide.data(), n);
    return wide;
}

std::string Utf8(const wchar_t* wide) {
    const int length = lstrlenW(wide);
    if (length == 0) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, length, out.data(), n, nullptr, nullptr);
    return out;
}

// Paths are UTF-8 and may be longer than MAX_PATH: the wide functions reach them in the "\\?\"
// form, which takes full paths only (all the tests use).
std::wstring Wide(const std::string& path) {
    const std::wstring wide = WideText(path);
    return wide.size() < MAX_PATH - 12 ? wide : L"\\\\?\\" + wide;
}

void MakeFolders(const std::string& folder) {
    for (std::size_t i = 3; i <= folder.size(); ++i)
        if (i == folder.size() || folder[i] == '\\') CreateDirectoryW(Wide(folder.substr(0, i)).c_str(), nullptr);
}

}  // namespace

void RemoveTree(const std::string& folder, const std::string& keep) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(Wide(folder + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = Utf8(fd.cFileName);
        if (name == "." || name == ".." || (!keep.empty() && name == keep)) continue;
        const std::string full = folder + name;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(full + "\\");
            RemoveDirectoryW(Wide(full).c_str());
        } else {
            SetFileAttributesW(Wide(full).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(Wide(full).c_str());
        }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
}

namespace {

std::string CurrentTestName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!info) return "NoTest";
    return std::string(info->test_suite_name()) + "." + info->name();
}

std::string StripAmpersands(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size()) ++i;  // "&&" stands for one '&'
        out += s[i];
    }
    return out;
}

class Key {
public:
    Key(HKEY root, const std::string& path, bool create) {
        const LONG rc = create ? RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &key_, nullptr)
                               : RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | KEY_SET_VALUE, &key_);
        if (rc != ERROR_SUCCESS) key_ = nullptr;
    }
    ~Key() {
        if (key_) RegCloseKey(key_);
    }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

// --- Places ----------------------------------------------------------------------------------

std::string BuildDir() {
    const std::string over = Env("VEXAMO_E2E_BUILD");
    if (!over.empty()) return FromUnix(over);
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return FolderOf(std::string(path, n));
}

std::string VexamoExe() { return BuildDir() + "Vexamo.exe"; }
std::string StandInExe() { return BuildDir() + "StandInPlayer.exe"; }

std::string InstallerExe() {
#ifdef VEXAMO_SETUP_EXE
    return BuildDir() + VEXAMO_SETUP_EXE;
#else
    return "";
#endif
}

std::string WorkDir() {
    const std::string work = Env("VEXAMO_E2E_WORK");
    if (!work.empty()) return FromUnix(work);
    return WithSlash(Env("TEMP")) + "vexamo-e2e\\";
}

std::string CdRomFolder(char drive) {
    const std::string name = std::string("VEXAMO_E2E_CDROM_") + static_cast<char>(toupper(drive));
    const std::string folder = Env(name.c_str());
    return folder.empty() ? std::string() : FromUnix(folder);
}

// --- Files -------------------------------------------------------------------------------------

void WriteFile(const std::string& path, const std::string& text) {
    MakeFolders(FolderOf(path));
    HANDLE f = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
    DWORD written = 0;
    const BOOL ok = ::WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(f);
    if (!ok || written != text.size()) throw std::runtime_error("cannot write " + path);
}

std::optional<std::string> ReadFile(const std::string& path) {
    HANDLE f = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string text;
    char buf[65536];
    DWORD got = 0;
    while (::ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) text.append(buf, got);
    CloseHandle(f);
    return text;
}

namespace {

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(separator, start);
        if (end == std::string::npos) end = text.size();
        parts.push_back(text.substr(start, end - start));
        start = end + separator.size();
    }
    return parts;
}

}  // namespace

std::vector<std::string> StandInLog(const std::string& standInExe) {
    return Split(ReadFile(FolderOf(standInExe) + "standin.log").value_or(""), "\r\n");
}

std::vector<std::vector<std::string>> StandInArguments(const std::string& standInExe) {
    std::vector<std::vector<std::string>> starts;
    for (const std::string& line : Split(ReadFile(FolderOf(standInExe) + "standin-args.log").value_or(""), "\r\n"))
        starts.push_back(Split(line, "\t"));
    return starts;
}

ProgramFolder::ProgramFolder() : ProgramFolder(CurrentTestName()) {}

ProgramFolder::ProgramFolder(const std::string& name) : path_(WorkDir() + name + "\\") {
    RemoveTree(path_);
    MakeFolders(path_);
}

std::string ProgramFolder::InstallVexamo() const {
    const std::string target = path_ + "Vexamo.exe";
    if (!CopyFileA(VexamoExe().c_str(), target.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + VexamoExe() + " to " + target);
    return target;
}

std::string ProgramFolder::InstallStandIn(const std::string& subfolder) const {
    const std::string folder = path_ + subfolder + "\\";
    MakeFolders(folder);
    const std::string target = folder + "StandInPlayer.exe";
    if (!CopyFileA(StandInExe().c_str(), target.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + StandInExe() + " to " + target);
    return target;
}

void ProgramFolder::Write(const std::string& name, const std::string& text) const { WriteFile(path_ + name, text); }
std::optional<std::string> ProgramFolder::Read(const std::string& name) const { return ReadFile(path_ + name); }
bool ProgramFolder::Exists(const std::string& name) const {
    return GetFileAttributesA((path_ + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// --- Processes ---------------------------------------------------------------------------------

Process Process::Start(const std::string& exe, const std::string& params, const std::string& workDir) {
    std::string cmd = "\"" + exe + "\"";
    if (!params.empty()) cmd += " " + params;
    const std::string dir = workDir.empty() ? FolderOf(exe) : workDir;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
        throw std::runtime_error("cannot start " + cmd + " (error " + std::to_string(GetLastError()) + ")");
    CloseHandle(pi.hThread);
    // Let the program reach its message loop before the test talks to it.
    WaitForInputIdle(pi.hProcess, 5000);
    Process p;
    p.handle_ = pi.hProcess;
    p.id_ = pi.dwProcessId;
    return p;
}

Process::Process(Process&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), id_(std::exchange(other.id_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Kill();
        handle_ = std::exchange(other.handle_, nullptr);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

Process::~Process() { Kill(); }

bool Process::Running() const { return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }

bool Process::WaitExit(DWORD timeoutMs, DWORD* code) const {
    if (!handle_ || WaitForSingleObject(handle_, timeoutMs) != WAIT_OBJECT_0) return false;
    if (code) GetExitCodeProcess(handle_, code);
    return true;
}

void Process::Kill() {
    if (!handle_) return;
    if (Running()) {
        TerminateProcess(handle_, 9);
        WaitForSingleObject(handle_, 5000);
    }
    CloseHandle(handle_);
    handle_ = nullptr;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD stepMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= end) return condition();
        Sleep(stepMs);
    }
}

// --- Windows -----------------------------------------------------------------------------------

std::string WindowText(HWND wnd) {
    // WM_GETTEXT works across processes for every control, unlike GetWindowText.
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutA(wnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len)) return "";
    std::string text(len + 1, '\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(wnd, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             2000, &got))
        return "";
    text.resize(got);
    return text;
}

std::string ClassName(HWND wnd) {
    char buf[256];
    const int n = GetClassNameA(wnd, buf, sizeof buf);
    return std::string(buf, n > 0 ? n : 0);
}

std::vector<HWND> TopLevelWindows(DWORD pid) {
    struct Ctx {
        DWORD Pid;
        std::vector<HWND> Found;
    } ctx{pid, {}};
    EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (c->Pid == 0 || owner == c->Pid) c->Found.push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.Found;
}

HWND WaitForWindow(DWORD pid, const std::string& className, const std::string& caption, DWORD timeoutMs,
                   bool visibleOnly) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : TopLevelWindows(pid)) {
                if (visibleOnly && !IsWindowVisible(w)) continue;
                if (!className.empty() && ClassName(w) != className) continue;
                if (!caption.empty() && WindowText(w) != caption) continue;
                found = w;
                return true;
            }
            return false;
        },
        timeoutMs);
    return found;
}

HWND WaitForDialog(DWORD pid, DWORD timeoutMs, const std::string& caption) {
    return WaitForWindow(pid, "#32770", caption, timeoutMs, true);
}

std::vector<HWND> Children(HWND parent, const std::string& className, const std::string& caption) {
    std::vector<HWND> out;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!className.empty() && _stricmp(ClassName(c).c_str(), className.c_str()) != 0) continue;
        if (!caption.empty() && WindowText(c) != caption) continue;
        out.push_back(c);
    }
    return out;
}

DialogContent ReadDialog(HWND dialog) {
    DialogContent d;
    d.Caption = WindowText(dialog);
    for (HWND c : Children(dialog)) {
        const std::string cls = ClassName(c);
        const std::string text = WindowText(c);
        if (_stricmp(cls.c_str(), "Button") == 0) {
            d.Buttons.push_back({text, GetDlgCtrlID(c)});
        } else if (_stricmp(cls.c_str(), "Static") == 0 && !text.empty()) {
            d.Texts.push_back(text);
            if (GetDlgCtrlID(c) == 0xFFFF) d.Message = text;
        }
    }
    return d;
}

HWND FindDescendant(HWND top, const std::string& textPart) {
    for (HWND child : Children(top)) {
        if (IsWindowVisible(child) && WindowText(child).find(textPart) != std::string::npos) return child;
        if (HWND inner = FindDescendant(child, textPart)) return inner;
    }
    return nullptr;
}

bool ClickButton(HWND dialog, const std::string& caption) {
    for (HWND c : Children(dialog, "Button"))
        if (StripAmpersands(WindowText(c)) == StripAmpersands(caption)) {
            // Posted: the click may close a modal loop that the test is not part of.
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), BN_CLICKED), reinterpret_cast<LPARAM>(c));
            return true;
        }
    return false;
}

void PressButtonId(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool SendWithin(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, DWORD timeoutMs, LRESULT* result) {
    DWORD_PTR r = 0;
    const bool done = SendMessageTimeoutA(wnd, msg, wp, lp, SMTO_NORMAL, timeoutMs, &r) != 0;
    if (result) *result = static_cast<LRESULT>(r);
    return done;
}

bool SendDeviceChange(HWND wnd, WPARAM event, char drive, DWORD timeoutMs) {
    DEV_BROADCAST_VOLUME vol{};
    vol.dbcv_size = sizeof vol;
    vol.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    vol.dbcv_unitmask = 1u << (toupper(drive) - 'A');
    vol.dbcv_flags = DBTF_MEDIA;
    // Device changes carry a pointer and so cannot be posted; the handler may open a modal
    // window, which is why the wait is bounded.
    return SendWithin(wnd, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&vol), timeoutMs);
}

// --- Registry ----------------------------------------------------------------------------------

std::optional<DWORD> RegReadDword(HKEY root, const std::string& key, const std::string& name) {
    Key k(root, key, false);
    DWORD value = 0, size = sizeof value, type = 0;
    if (!k.get() || RegQueryValueExA(k.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                                     &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return value;
}

std::optional<std::string> RegReadString(HKEY root, const std::string& key, const std::string& name) {
    Key k(root, key, false);
    DWORD size = 0, type = 0;
    if (!k.get() || RegQueryValueExA(k.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::string value(size, '\0');
    if (RegQueryValueExA(k.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.resize(size);
    while (!value.empty() && value.back() == '\0') value.pop_back();
    return value;
}

void RegWriteDword(HKEY root, const std::string& key, const std::string& name, DWORD value) {
    Key k(root, key, true);
    if (!k.get() || RegSetValueExA(k.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                   sizeof value) != ERROR_SUCCESS)
        throw std::runtime_error("cannot write registry value " + key + "\\" + name);
}

void RegWriteString(HKEY root, const std::string& key, const std::string& name, const std::string& value) {
    Key k(root, key, true);
    if (!k.get() || RegSetValueExA(k.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        throw std::runtime_error("cannot write registry value " + key + "\\" + name);
}

void RegDeleteValue(HKEY root, const std::string& key, const std::string& name) {
    Key k(root, key, false);
    if (k.get()) RegDeleteValueA(k.get(), name.c_str());
}

// --- Screenshots -------------------------------------------------------------------------------

namespace {

// Runs ImageMagick's import on the display; /wait makes Wine's start.exe return when the picture
// is written.
std::string Import(const std::string& name, const std::string& options) {
    const std::string dir = Env("VEXAMO_E2E_SCREENS");
    if (dir.empty() || Env("DISPLAY").empty()) return "";
    const std::string file = dir + "/" + name + ".png";
    std::string cmd = "start.exe /wait /unix /usr/bin/import -window root " + options + "\"" + file + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
        return "";
    CloseHandle(pi.hThread);
    const bool done = WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0;
    if (!done) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    if (!done) return "";
    std::string shown = FromUnix(file);  // where Wine shows the file
    shown.pop_back();
    const bool written = WaitUntil([&] { return GetFileAttributesA(shown.c_str()) != INVALID_FILE_ATTRIBUTES; }, 5000);
    return written ? file : "";
}

}  // namespace

std::string Screenshot(const std::string& name) { return Import(name, ""); }

std::string ScreenshotWindow(const std::string& name, HWND wnd) {
    RECT r{};
    if (!GetWindowRect(wnd, &r)) return "";
    return ScreenshotRect(name, r);
}

std::string ScreenshotRect(const std::string& name, RECT r) {
    r.left = std::max(r.left, 0L);
    r.top = std::max(r.top, 0L);
    const std::string crop = std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) + "+" +
                             std::to_string(r.left) + "+" + std::to_string(r.top);
    return Import(name, "-crop " + crop + " +repage ");
}

}  // namespace e2e
