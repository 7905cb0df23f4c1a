// The one base of every real window of the program. A binding derives from `Window` (a window
// of its own class) or `Dialog` (a dialog template from the resources); the base stores `this`
// when the system creates the window, finds it again for every message and runs the binding's
// one `HandleMessage` behind the program's single error guard.
//
// Ownership is the same everywhere: the portable window owns its binding, the binding owns its
// real window and destroys it in its destructor. The real window never owns anything. Every
// message runs inside a Dispatch::Handler scope, so a window that closes while one of its
// handlers (or a nested loop one of them started) is still on the stack is hidden at once and
// freed once the outermost handler has returned.
#pragma once

#include <exception>
#include <utility>

#include "platform/win32/WinApi.h"

namespace vexamo::win32 {

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

// Pixels at 96 DPI to pixels at the screen's DPI; the program declares itself DPI-aware, so
// every size it gives in pixels is scaled through here.
int Scale(int pixelsAt96);
int ScreenDpi();

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }

protected:
    // Registers the class on first use (one class per binding type, named by ClassName).
    HWND Create(HINSTANCE instance, DWORD exStyle, const char* title, DWORD style, int x, int y, int width,
                int height, HWND parent = nullptr);
    virtual const char* ClassName() const = 0;
    virtual void PrepareClass(WNDCLASSA&) const {}
    // Every message of the window; return Default(...) for what the binding does not handle.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcA(hwnd_, msg, wParam, lParam); }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

class Dialog {
public:
    Dialog() = default;
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    HWND Handle() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

    // A modeless dialog: the message loop routes its keyboard (Tab, Enter, Escape, access keys).
    HWND CreateModeless(HINSTANCE instance, int templateId, HWND owner);
    // A modal dialog; returns what EndModal was given (IDCANCEL when the close box ended it).
    INT_PTR RunModal(HINSTANCE instance, int templateId, HWND owner);
    void EndModal(INT_PTR result);

protected:
    // Every message of the dialog, as a dialog procedure answers: FALSE for the default handling.
    virtual INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static INT_PTR CALLBACK DlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    bool modal_ = false;
};

// The program's message loop: gives modeless dialogs their keyboard handling. Returns the code
// that ended it.
int RunMessageLoop();

}  // namespace vexamo::win32
