// The one base of every real window of the program. A binding derives from `Window` (a window
// of its own class) or `Dialog` (a dialog template from the resources); the base stores `this`
// when the system creates the window, finds it again for every message and runs the binding's
// answer behind the program's single error guard.
//
// Ownership is the same everywhere: the portable window owns its binding (its HostFactory made
// it), the binding owns its real window and destroys it in its destructor, and refers back to the
// portable window. The real window never owns anything. Every message runs inside a
// Dispatch::Handler scope, so a window that closes while one of its handlers (or a nested loop one
// of them started) is still on the stack is hidden at once and freed once the outermost handler
// has returned.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/win32/WinApi.h"

namespace vexamo::win32 {

class ControlMirror;

// Where an error that no handler caught goes (the program logs and shows it). Installed once by
// the program entry; without one the error is dropped rather than crossing the system's stack.
using ErrorHandler = void (*)(const std::exception&);
void SetErrorHandler(ErrorHandler handler);
void ReportError(const std::exception& e);

// Runs `f` behind the guard; false when it threw.
template <typename F>
bool Guarded(F&& f) {
    try {
        std::forward<F>(f)();
        return true;
    } catch (const std::exception& e) {
        ReportError(e);
        return false;
    }
}

// The program declares itself aware of the system DPI, which stays the same for the whole run: it
// is read once, and every size the program gives in pixels at 96 DPI is scaled through here.
int ScreenDpi();
int Scale(int pixelsAt96);
// Pixels on the screen back to pixels at 96 DPI.
int Unscale(int pixels);

// The executable, which holds every resource of the program.
HINSTANCE Instance();

std::string WindowText(HWND hwnd);

// Registers a window class of the executable under wc.lpszClassName, once per name.
void RegisterClassOnce(WNDCLASSA wc);
// A dialog template's own class (CLASS in the template), so that the dialog can be told from
// message boxes and found from outside; with the program's icon.
void RegisterDialogClass(const char* name, int iconId);

// The work area (the screen without the taskbar) of the monitor a window is on, or of the
// primary monitor for none.
RECT WorkArea(HWND window);
// A rectangle of the given size centred on that work area.
RECT CentredOnWorkArea(HWND window, int width, int height);
// Sets a dialog's client area to the size given at 96 DPI, scaled, and centres the dialog on the
// work area of its screen. The template's controls keep their places in proportion.
void SizeClientAndCentre(HWND dialog, int width, int height);
// Sets a window's client area to the size given at 96 DPI, scaled, centred on the work area; the
// controls stay where the binding puts them.
void SetClientAndCentre(HWND window, int width, int height);

// The owner of a modal window: the window the user works in when it is on screen; the tray's
// hidden window would only hide the modal one from the taskbar.
HWND ModalOwner();

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }

protected:
    // Registers the class on first use (one class per binding type, named by ClassName).
    HWND Create(DWORD exStyle, const char* title, DWORD style, int x, int y, int width, int height,
                HWND parent = nullptr);
    virtual const char* ClassName() const = 0;
    virtual void PrepareClass(WNDCLASSA&) const {}
    // Every message of the window; return Default(...) for what the binding does not handle.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcA(hwnd_, msg, wParam, lParam); }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// A dialog whose controls show the records of a portable window through a ControlMirror.
class Dialog {
public:
    Dialog();
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    HWND Handle() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

    // A modeless dialog: the message loop routes its keyboard (Tab, Enter, Escape, access keys).
    HWND CreateModeless(int templateId, HWND owner);
    // A modal dialog; returns what EndModal was given (IDCANCEL when the close box ended it).
    INT_PTR RunModal(int templateId, HWND owner);
    // Ends the modal show; from here on no message reaches the portable window.
    void EndModal(INT_PTR result);
    // TRANSITIONAL: the two bindings still written against the earlier base.
    HWND CreateModeless(HINSTANCE, int templateId, HWND owner) { return CreateModeless(templateId, owner); }
    INT_PTR RunModal(HINSTANCE, int templateId, HWND owner) { return RunModal(templateId, owner); }

protected:
    // Every message: WM_INITDIALOG to InitDialog, the rest to Message and then the base.
    virtual INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // WM_INITDIALOG: the binding ties the records to their controls (Mirror().Bind...) and
    // prepares pictures and fonts; the base then shows the records. True lets the system focus
    // the first control.
    virtual bool InitDialog() { return true; }
    // Every other message, as a dialog procedure answers (see Answer). Nothing leaves it to the
    // base, which draws bound check lists, colours links, keeps list columns within their range,
    // and then to the system.
    virtual std::optional<INT_PTR> Message(UINT msg, WPARAM wParam, LPARAM lParam);
    // What the window shows besides its records (its caption, size, focus), after every put.
    virtual void Shown() {}

    ControlMirror& Mirror() { return *mirror_; }
    bool HasMirror() const { return mirror_ != nullptr; }
    // Runs one handler of the portable window: the user's changes into the records first, the
    // handler behind the error guard, then the records back on screen, also when it threw. Once
    // the modal show has ended nothing runs.
    void Run(const std::function<void()>& handler);
    // Puts the records on screen now (a long handler that paints as it goes).
    void PutRecords();
    // A result for messages whose answer a dialog procedure gives through DWLP_MSGRESULT.
    INT_PTR Answer(LRESULT value);

private:
    static INT_PTR CALLBACK DlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    bool ended_ = false;
    std::unique_ptr<ControlMirror> mirror_;
};

// The program's message loop: gives modeless dialogs their keyboard handling. Returns the code
// that ended it.
int RunMessageLoop();

}  // namespace vexamo::win32
