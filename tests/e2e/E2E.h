// Helpers for the end-to-end tests: they drive the real Vexamo.exe under Wine the way a user and
// Windows would, from outside the process.
//
// The tests run inside tests/e2e/run-e2e.sh, which gives every test group (GoogleTest suite) a
// fresh Wine prefix, its own X display and the CD-ROM drives the suite's name asks for, and
// passes their places in the environment (see the accessors below).
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// --- Places ----------------------------------------------------------------------------------
// All paths are Windows paths. Folders end with a backslash.

// The folder holding the test programs and Vexamo.exe (the driver's own folder).
std::string BuildDir();
std::string VexamoExe();
std::string StandInExe();
// The installer the build made beside the driver; empty when the build made none.
std::string InstallerExe();
// Scratch space of this test group; left in place after the run for inspection.
std::string WorkDir();
// The folder behind a CD-ROM drive of this group (its "disc"); empty when the group has no such
// drive. Files put there are seen on the drive at once.
std::string CdRomFolder(char drive = 'D');

// --- Program folders ---------------------------------------------------------------------------
// A fresh folder for one run of the agent: WorkDir plus the current test's name, emptied first.
class ProgramFolder {
public:
    ProgramFolder();
    explicit ProgramFolder(const std::string& name);

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

    // Copies Vexamo.exe into the folder and returns its path there.
    std::string InstallVexamo() const;
    // Copies the stand-in player into a subfolder (so its standin.log is its own) and returns
    // the path of its executable.
    std::string InstallStandIn(const std::string& subfolder = "Player") const;

    void Write(const std::string& name, const std::string& text) const;
    std::optional<std::string> Read(const std::string& name) const;
    bool Exists(const std::string& name) const;

private:
    std::string path_;
};

// Writes or reads a whole file at a full path (UTF-8, of any length); Write creates missing folders.
void WriteFile(const std::string& path, const std::string& text);
std::optional<std::string> ReadFile(const std::string& path);
// Empties a folder (ending in a backslash), but for the entry named `keep`.
void RemoveTree(const std::string& folder, const std::string& keep = "");
// The lines the stand-in player recorded in its folder, oldest first: its wide command lines in
// UTF-8, and for each start the arguments as CommandLineToArgvW split them.
std::vector<std::string> StandInLog(const std::string& standInExe);
std::vector<std::vector<std::string>> StandInArguments(const std::string& standInExe);

// --- Processes ---------------------------------------------------------------------------------
// A started program; killed when the object goes, so a failing test leaves nothing running.
class Process {
public:
    Process() = default;
    // Starts exe with the given parameters; the working folder defaults to the exe's folder.
    static Process Start(const std::string& exe, const std::string& params = "",
                         const std::string& workDir = "");
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    HANDLE Handle() const { return handle_; }
    DWORD Id() const { return id_; }
    bool Running() const;
    // True when the process ended within the time; its exit code is stored in *code.
    bool WaitExit(DWORD timeoutMs, DWORD* code = nullptr) const;
    void Kill();

private:
    HANDLE handle_ = nullptr;
    DWORD id_ = 0;
};

// --- Waiting -----------------------------------------------------------------------------------
// Polls until the condition holds or the time is up; returns the condition's last value.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD stepMs = 50);

// --- Windows -----------------------------------------------------------------------------------
std::string WindowText(HWND wnd);
std::string ClassName(HWND wnd);
// Top-level windows of a process (pid 0: of every process), visible or not.
std::vector<HWND> TopLevelWindows(DWORD pid);
// Waits for a top-level window of the process with the class and/or caption (an empty string
// matches anything); returns nullptr when none came within the time.
HWND WaitForWindow(DWORD pid, const std::string& className, const std::string& caption,
                   DWORD timeoutMs, bool visibleOnly = false);
// Waits for a dialog box (class "#32770", which includes message boxes) of the process.
HWND WaitForDialog(DWORD pid, DWORD timeoutMs, const std::string& caption = "");

// What a dialog shows: its caption, its static texts (non-empty, in tab order) and its buttons'
// captions with their control ids.
struct DialogContent {
    std::string Caption;
    std::vector<std::string> Texts;
    struct Button {
        std::string Caption;
        int Id;
    };
    std::vector<Button> Buttons;
    // The message of a message box: its text control (id 0xFFFF).
    std::string Message;
};
DialogContent ReadDialog(HWND dialog);

// Direct children, optionally filtered by class and caption (empty matches anything).
std::vector<HWND> Children(HWND parent, const std::string& className = "",
                           const std::string& caption = "");
// The first visible control, at any depth under the window, whose text contains the part.
HWND FindDescendant(HWND top, const std::string& textPart);
// Clicks the dialog's button whose caption, without '&', equals the text ("Yes", "OK").
bool ClickButton(HWND dialog, const std::string& caption);
// Sends the command of a control id (IDOK, IDYES, ...) to the dialog, as a click would.
void PressButtonId(HWND dialog, int id);

// SendMessage that gives up after the time (a modal loop inside the handler must not hang the
// test); true when the handler returned within it.
bool SendWithin(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, DWORD timeoutMs, LRESULT* result = nullptr);
// Tells a window that a disc arrived in (DBT_DEVICEARRIVAL) or left (DBT_DEVICEREMOVECOMPLETE)
// a drive, as Windows' broadcast would; Wine sends none for its folder drives.
bool SendDeviceChange(HWND wnd, WPARAM event, char drive, DWORD timeoutMs = 2000);

// --- Registry ----------------------------------------------------------------------------------
constexpr const char* CdRomServiceKey = "SYSTEM\\CurrentControlSet\\Services\\Cdrom";

std::optional<DWORD> RegReadDword(HKEY root, const std::string& key, const std::string& name);
std::optional<std::string> RegReadString(HKEY root, const std::string& key, const std::string& name);
void RegWriteDword(HKEY root, const std::string& key, const std::string& name, DWORD value);
void RegWriteString(HKEY root, const std::string& key, const std::string& name, const std::string& value);
void RegDeleteValue(HKEY root, const std::string& key, const std::string& name);

// --- Screenshots -------------------------------------------------------------------------------
// Saves the whole X display as <group screenshots>/<name>.png and returns its Unix path, or an
// empty string when it could not be taken.
std::string Screenshot(const std::string& name);
// Saves only the part of the display that a window covers (the virtual desktop fills the display
// from its top left corner).
std::string ScreenshotWindow(const std::string& name, HWND wnd);
std::string ScreenshotRect(const std::string& name, RECT r);

}  // namespace e2e
