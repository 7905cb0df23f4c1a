#include "platform/win32/Window.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/Dispatch.h"
#include "platform/win32/Controls_win32.h"
#include "platform/win32/ScopedGdi.h"

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
    static const int dpi = [] {
        const ScopedGetDC screen(nullptr);
        const int read = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
        return read > 0 ? read : 96;
    }();
    return dpi;
}

int Scale(int pixelsAt96) { return MulDiv(pixelsAt96, ScreenDpi(), 96); }

int Unscale(int pixels) { return MulDiv(pixels, 96, ScreenDpi()); }

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

std::string WindowText(HWND hwnd) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

void RegisterClassOnce(WNDCLASSA wc) {
    static std::set<std::string> registered;
    if (!registered.insert(wc.lpszClassName).second) return;
    wc.hInstance = Instance();
    if (!wc.hCursor) wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
}

void RegisterDialogClass(const char* name, int iconId) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefDlgProcA;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hIcon = LoadIconA(Instance(), MAKEINTRESOURCEA(iconId));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    RegisterClassOnce(wc);
}

RECT WorkArea(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    const HMONITOR on = window ? MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)
                               : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    GetMonitorInfoA(on, &monitor);
    return monitor.rcWork;
}

RECT CentredOnWorkArea(HWND window, int width, int height) {
    const RECT area = WorkArea(window);
    const int left = area.left + (area.right - area.left - width) / 2;
    const int top = area.top + (area.bottom - area.top - height) / 2;
    return {left, top, left + width, top + height};
}

void SetClientAndCentre(HWND window, int width, int height) {
    RECT frame{0, 0, Scale(width), Scale(height)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
    const RECT at = CentredOnWorkArea(window, frame.right - frame.left, frame.bottom - frame.top);
    SetWindowPos(window, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void SizeClientAndCentre(HWND window, int width, int height) {
    // The template is laid out in dialog units, which follow the dialog font; a font wider or
    // narrower than the one the layout was made with would push controls out of the fixed client
    // area. Every control keeps its place in proportion instead.
    RECT before{};
    GetClientRect(window, &before);
    const int oldW = before.right > 0 ? before.right : 1;
    const int oldH = before.bottom > 0 ? before.bottom : 1;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetParent(child) != window) continue;  // owned popups such as tooltips
        RECT box{};
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
        char cls[32] = {};
        GetClassNameA(child, cls, sizeof cls);
        // A drop-down list's height is that of its open list, not of what the window rect shows.
        const bool combo = lstrcmpiA(cls, "ComboBox") == 0;
        const int left = MulDiv(box.left, Scale(width), oldW);
        const int top = MulDiv(box.top, Scale(height), oldH);
        const int w = MulDiv(box.right, Scale(width), oldW) - left;
        const int h = combo ? Scale(120) : MulDiv(box.bottom, Scale(height), oldH) - top;
        SetWindowPos(child, nullptr, left, top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetClientAndCentre(window, width, height);
}

HWND ModalOwner() {
    HWND active = GetActiveWindow();
    return active && IsWindowVisible(active) ? active : nullptr;
}

// --- Window -----------------------------------------------------------------------------------

Window::~Window() {
    if (!hwnd_) return;
    // The binding is being destroyed: the window's last messages must not reach it.
    HWND h = std::exchange(hwnd_, nullptr);
    SetWindowLongPtrA(h, GWLP_USERDATA, 0);
    DestroyWindow(h);
}

HWND Window::Create(DWORD exStyle, const char* title, DWORD style, int x, int y, int width, int height,
                    HWND parent) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WndProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = ClassName();
    PrepareClass(wc);
    RegisterClassOnce(wc);
    return CreateWindowExA(exStyle, ClassName(), title, style, x, y, width, height, parent, nullptr, Instance(), this);
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

Dialog::Dialog() = default;

Dialog::~Dialog() {
    if (!hwnd_) return;
    HWND h = std::exchange(hwnd_, nullptr);
    SetWindowLongPtrA(h, DWLP_USER, 0);
    Forget(h);
    mirror_.reset();
    if (modal_)
        EndDialog(h, IDCANCEL);
    else
        DestroyWindow(h);
}

HWND Dialog::CreateModeless(int templateId, HWND owner) {
    modal_ = false;
    ended_ = false;
    HWND h = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(templateId), owner, DlgProc,
                                reinterpret_cast<LPARAM>(this));
    if (h) modeless.push_back(h);
    return h;
}

INT_PTR Dialog::RunModal(int templateId, HWND owner) {
    modal_ = true;
    ended_ = false;
    return DialogBoxParamA(Instance(), MAKEINTRESOURCEA(templateId), owner, DlgProc, reinterpret_cast<LPARAM>(this));
}

void Dialog::EndModal(INT_PTR result) {
    if (!hwnd_ || !modal_) return;
    ended_ = true;
    EndDialog(hwnd_, result);
}

void Dialog::Run(const std::function<void()>& handler) {
    if (!mirror_ || ended_) return;
    mirror_->Take();
    Guarded(handler);
    if (mirror_ && hwnd_ && !ended_) PutRecords();
}

void Dialog::PutRecords() {
    if (!mirror_ || !hwnd_) return;
    mirror_->Put();
    Shown();
}

INT_PTR Dialog::Answer(LRESULT value) {
    SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, value);
    return TRUE;
}

std::optional<INT_PTR> Dialog::Message(UINT, WPARAM, LPARAM) { return std::nullopt; }

INT_PTR Dialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        mirror_ = std::make_unique<ControlMirror>(hwnd_);
        const bool focus = InitDialog();
        PutRecords();
        return focus ? TRUE : FALSE;
    }
    if (!mirror_) return FALSE;
    if (msg == WM_DESTROY) {
        // The mirror's tooltip goes with the dialog; no record is put after this.
        mirror_.reset();
        return FALSE;
    }
    if (ended_ && (msg == WM_COMMAND || msg == WM_NOTIFY)) return TRUE;
    // What the controls report while the records are put comes from the program, not the user.
    if (mirror_->Putting() && (msg == WM_COMMAND || msg == WM_NOTIFY)) return FALSE;
    if (const std::optional<INT_PTR> answer = Message(msg, wParam, lParam)) return *answer;
    if (!mirror_) return FALSE;
    switch (msg) {
        case WM_DRAWITEM:
            return mirror_->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
        case WM_CTLCOLORSTATIC:
            return mirror_->CtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_SETCURSOR:
            if (mirror_->SetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return Answer(TRUE);
            return FALSE;
        case WM_NOTIFY:
            mirror_->Notify(*reinterpret_cast<const NMHDR*>(lParam));
            return FALSE;
        default:
            return FALSE;
    }
}

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
        self->mirror_.reset();
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
