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
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/win32/ScopedGdi.h"
#include "platform/win32/WinApi.h"
#include <commctrl.h>

namespace vexamo::win32 {

class ControlMirror;

// Where an error that no handler caught goes (the program logs and shows it). Installed once by
// the program entry; without one the error is dropped rather than crossing the system's stack.
using ErrorHandler = void (*)(const std::exception&);
void SetErrorHandler(ErrorHandler handler);

// The program declares itself aware of the system DPI, which stays the same for the whole run: it
// is read once, and every size the program gives in pixels at 96 DPI is scaled through here.
int ScreenDpi();
int Scale(int pixelsAt96);
// Pixels on the screen back to pixels at 96 DPI.
int Unscale(int pixels);

// The executable, which holds every resource of the program.
HINSTANCE Instance();

std::string WindowText(HWND hwnd);
// Whether a window is of the class `name` (a control's kind), in any case.
bool IsClass(HWND window, const char* name);

// A dialog template's own class (CLASS in the template), so that the dialog can be told from
// message boxes and found from outside; with the program's icon.
void RegisterDialogClass(const char* name, int iconId);

// A rectangle of the given size centred on the work area (the screen without the taskbar) of the
// monitor a window is on, or of the primary monitor for none.
RECT CentredOnWorkArea(HWND window, int width, int height);
// The window rectangle around a client area of the given size in pixels, by the window's styles.
RECT FrameFor(HWND window, int width, int height);
// Sets a window's client area to the size given at 96 DPI, scaled, centred on the work area; the
// controls stay where the binding puts them.
void SetClientAndCentre(HWND window, int width, int height);
// The same for a dialog, whose template's controls keep their places in proportion.
void SizeClientAndCentre(HWND dialog, int width, int height);

// The owner of a modal window: the window the user works in when it is on screen; the tray's
// hidden window would only hide the modal one from the taskbar.
HWND ModalOwner();

// Paints a window now, while the message loop waits for a long handler (a scan). Looking at the
// queue (nothing is taken from it) tells the system the program is alive, so that the window is
// not marked as not responding, and lets Wine put what was painted on the screen.
void PaintNow(HWND window);

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }

protected:
    // Registers the class on first use (one class per binding type, named by ClassName).
    HWND Create(DWORD exStyle, const char* title, DWORD style, int x, int y, int width, int height);
    virtual const char* ClassName() const = 0;
    virtual void PrepareClass(WNDCLASSA&) const {}
    // Every message of the window; return Default(...) for what the binding does not handle.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcA(hwnd_, msg, wParam, lParam); }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// A dialog whose controls show the records of a portable window through a ControlMirror, and
// whose controls' events run the handlers their records name.
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

protected:
    // WM_INITDIALOG: the binding ties the records to their controls (Mirror().Bind...) and
    // prepares pictures and fonts; the base then shows the records. True lets the system focus
    // the first control.
    virtual bool InitDialog() { return true; }
    // Every other message the base does not route, as a dialog procedure answers (see Answer).
    // Nothing leaves it to the base, which draws and colours what the binding declared, runs the
    // controls' events, opens the lists' menus, and then to the system.
    virtual std::optional<INT_PTR> Message(UINT msg, WPARAM wParam, LPARAM lParam);
    // What the window shows besides its records (its size, focus), after every put.
    virtual void Shown() {}

    // Enter and Escape (IDOK and IDCANCEL) where no record of a control with that id has a click
    // handler; `focused` is the record of the control with the keyboard focus, if any.
    void OnDialogKey(std::function<void(TDialogKey key, const TControl* focused)> handler);
    // Paints an owner-drawn control.
    void OnDraw(int id, std::function<void(const DRAWITEMSTRUCT&)> draw);
    // The text colour of static or edit controls (none: the system's), on a background of their
    // own or, without one, on the dialog's face (the text drawn transparently).
    struct Colours {
        std::optional<COLORREF> Text, Back;
    };
    void Colour(std::initializer_list<int> ids, std::optional<COLORREF> text, std::optional<COLORREF> back = {});
    // The dialog font in bold on the controls; Bold() is that font, for variants of it.
    void Embolden(std::initializer_list<int> ids);
    HFONT Bold();
    // An icon of the resources at `size` pixels in an icon control.
    void ShowIcon(int id, int iconId, int size);

    ControlMirror& Mirror() { return *mirror_; }
    // Runs one handler of the portable window: the user's changes into the records first, the
    // handler behind the error guard, then the records back on screen, also when it threw. Once
    // the modal show has ended nothing runs.
    void Run(const std::function<void()>& handler);
    // Puts the records on screen now (a long handler that paints as it goes).
    void PutRecords();
    // A result for messages whose answer a dialog procedure gives through DWLP_MSGRESULT.
    INT_PTR Answer(LRESULT value);

private:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    bool Routed(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT ColourOf(HDC dc, HWND control, UINT msg);
    static INT_PTR CALLBACK DlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    bool modal_ = false;
    bool ended_ = false;
    std::unique_ptr<ControlMirror> mirror_;
    std::function<void(TDialogKey, const TControl*)> dialogKey_;
    std::map<int, std::function<void(const DRAWITEMSTRUCT&)>> draws_;
    std::map<int, Colours> colours_;
    std::map<COLORREF, GdiObject<HBRUSH>> brushes_;
    Font bold_;
    std::vector<Icon> icons_;
};

// The program's message loop: gives modeless dialogs their keyboard handling. Returns the code
// that ended it.
int RunMessageLoop();

}  // namespace vexamo::win32
