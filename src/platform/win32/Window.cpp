#include "platform/win32/Window.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Dispatch.h"

namespace vexamo::win32 {

namespace {

ErrorHandler errorHandler = nullptr;
// The modeless dialogs alive now, for the message loop.
std::vector<HWND> modeless;

void Forget(HWND hwnd) { modeless.erase(std::remove(modeless.begin(), modeless.end(), hwnd), modeless.end()); }

}  // namespace

void SetErrorHandler(ErrorHandler handler) { errorHandler = handler; }

void ReportError(const std::exception& e) {
    if (!errorHandler) return;
    try {
        errorHandler(e);
    } catch (...) {
        // Reporting must never throw through a window procedure.
    }
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int Scale(int pixelsAt96) { return MulDiv(pixelsAt96, ScreenDpi(), 96); }

// --- Window -----------------------------------------------------------------------------------

Window::~Window() {
    if (!hwnd_) return;
    // The binding is being destroyed: the window's last messages must not reach it.
    HWND h = std::exchange(hwnd_, nullptr);
    SetWindowLongPtrA(h, GWLP_USERDATA, 0);
    DestroyWindow(h);
}

HWND Window::Create(HINSTANCE instance, DWORD exStyle, const char* title, DWORD style, int x, int y, int width,
                    int height, HWND parent) {
    WNDCLASSA wc{};
    if (!GetClassInfoA(instance, ClassName(), &wc)) {
        wc = {};
        wc.lpfnWndProc = WndProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = ClassName();
        PrepareClass(wc);
        RegisterClassA(&wc);
    }
    return CreateWindowExA(exStyle, ClassName(), title, style, x, y, width, height, parent, nullptr, instance, this);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) { return Default(msg, wParam, lParam); }

LRESULT CALLBACK Window::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* created = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        created->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        // Destroyed by the system (the application ends): the binding keeps no dead handle.
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    LRESULT result = 0;
    // What the handler closes is freed once it, and every handler around it, has returned.
    const Dispatch::Handler scope;
    if (!Guarded([&] { result = self->HandleMessage(msg, wParam, lParam); })) return 0;
    return result;
}

// --- Dialog -----------------------------------------------------------------------------------

Dialog::~Dialog() {
    if (!hwnd_) return;
    HWND h = std::exchange(hwnd_, nullptr);
    SetWindowLongPtrA(h, DWLP_USER, 0);
    Forget(h);
    if (modal_)
        EndDialog(h, IDCANCEL);
    else
        DestroyWindow(h);
}

HWND Dialog::CreateModeless(HINSTANCE instance, int templateId, HWND owner) {
    modal_ = false;
    HWND h = CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), owner, DlgProc, reinterpret_cast<LPARAM>(this));
    if (h) modeless.push_back(h);
    return h;
}

INT_PTR Dialog::RunModal(HINSTANCE instance, int templateId, HWND owner) {
    modal_ = true;
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, DlgProc, reinterpret_cast<LPARAM>(this));
}

void Dialog::EndModal(INT_PTR result) {
    if (hwnd_ && modal_) EndDialog(hwnd_, result);
}

INT_PTR Dialog::HandleMessage(UINT, WPARAM, LPARAM) { return FALSE; }

INT_PTR CALLBACK Dialog::DlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto* created = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(created));
        created->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self) return FALSE;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        Forget(hwnd);
        self->hwnd_ = nullptr;
        return FALSE;
    }
    INT_PTR result = FALSE;
    const Dispatch::Handler scope;
    if (!Guarded([&] { result = self->HandleMessage(msg, wParam, lParam); })) return TRUE;
    return result;
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        HWND dialog = nullptr;
        for (HWND h : modeless)
            if (h == msg.hwnd || IsChild(h, msg.hwnd)) dialog = h;
        if (dialog && IsDialogMessageA(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace vexamo::win32
