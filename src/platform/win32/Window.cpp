#include "platform/win32/Window.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/Dispatch.h"
#include "platform/Layout.h"
#include "platform/win32/Controls_win32.h"
#include "platform/win32/Menu.h"
#include "platform/win32/Pictures.h"

namespace vexamo::win32 {

namespace {

ErrorHandler errorHandler = nullptr;
// The modeless dialogs alive now, for the message loop.
std::vector<HWND> modeless;

void Forget(HWND hwnd) { modeless.erase(std::remove(modeless.begin(), modeless.end(), hwnd), modeless.end()); }

// Where a context menu opens: at the mouse, or for the keyboard (no position) below the selected
// row of a list view, else at the control's top left corner.
POINT ContextMenuPoint(HWND control, LPARAM lParam) {
    if (lParam != -1) return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT r{};
    const int selected = IsClass(control, WC_LISTVIEWA) ? ListView_GetNextItem(control, -1, LVNI_SELECTED) : -1;
    if (selected >= 0 && ListView_GetItemRect(control, selected, &r, LVIR_LABEL)) {
        POINT p{r.left, r.bottom};
        ClientToScreen(control, &p);
        return p;
    }
    GetWindowRect(control, &r);
    return {r.left, r.top};
}

// Runs `f` behind the guard; false when it threw.
bool Guarded(const std::function<void()>& f) {
    try {
        f();
        return true;
    } catch (const std::exception& e) {
        try {
            if (errorHandler) errorHandler(e);
        } catch (...) {
            // Reporting must never throw through a window procedure.
        }
        return false;
    }
}

// Registers a window class of the executable under wc.lpszClassName, once per name; the arrow
// cursor unless the class names its own.
void RegisterClassOnce(WNDCLASSA wc) {
    static std::set<std::string> registered;
    if (!registered.insert(wc.lpszClassName).second) return;
    wc.hInstance = Instance();
    if (!wc.hCursor) wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
}

// The binding of a window: stored in `slot` when the system makes the window (`created`), and
// taken away at WM_NCDESTROY, so that no later message reaches a binding that may be gone.
template <typename Binding>
Binding* BindingOf(HWND hwnd, int slot, UINT msg, Binding* created) {
    if (created) SetWindowLongPtrA(hwnd, slot, reinterpret_cast<LONG_PTR>(created));
    auto* self = reinterpret_cast<Binding*>(GetWindowLongPtrA(hwnd, slot));
    if (self && msg == WM_NCDESTROY) SetWindowLongPtrA(hwnd, slot, 0);
    return self;
}

// A binding's answer to a message behind the error guard, `failed` when it threw. What the
// handler closes is freed once it, and every handler around it, has returned.
template <typename R, typename F>
R Answered(F answer, R failed) {
    R result = failed;
    const Dispatch::Handler scope;
    return Guarded([&] { result = answer(); }) ? result : failed;
}

}  // namespace

void SetErrorHandler(ErrorHandler handler) { errorHandler = handler; }

int ScreenDpi() {
    static const int dpi = [] {
        const ScopedGetDC screen(nullptr);
        const int read = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
        return read > 0 ? read : 96;
    }();
    return dpi;
}

int Scale(int pixelsAt96) { return ScaleAt(pixelsAt96, ScreenDpi()); }

int Unscale(int pixels) { return MulDiv(pixels, 96, ScreenDpi()); }

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

bool IsClass(HWND window, const char* name) {
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    return lstrcmpiA(cls, name) == 0;
}

std::string WindowText(HWND hwnd) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
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

RECT CentredOnWorkArea(HWND window, int width, int height) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(window ? MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)
                           : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY),
                    &monitor);
    const RECT& area = monitor.rcWork;
    const TBox at = CentredIn({area.left, area.top, area.right, area.bottom}, width, height);
    return {at.Left, at.Top, at.Right, at.Bottom};
}

RECT FrameFor(HWND window, int width, int height) {
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
    return frame;
}

void SetClientAndCentre(HWND window, int width, int height) {
    const RECT frame = FrameFor(window, Scale(width), Scale(height));
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
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetParent(child) != window) continue;  // owned popups such as tooltips
        RECT box{};
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
        const TBox at = Proportional({box.left, box.top, box.right, box.bottom}, before.right, before.bottom,
                                     Scale(width), Scale(height));
        // A drop-down list's height is that of its open list, not of what the window rect shows.
        const int h = IsClass(child, "ComboBox") ? Scale(120) : at.Bottom - at.Top;
        SetWindowPos(child, nullptr, at.Left, at.Top, at.Right - at.Left, h, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetClientAndCentre(window, width, height);
}

HWND ModalOwner() {
    HWND active = GetActiveWindow();
    return active && IsWindowVisible(active) ? active : nullptr;
}

void PaintNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG msg;
    PeekMessageA(&msg, window, WM_PAINT, WM_PAINT, PM_NOREMOVE);
}

// --- Window -----------------------------------------------------------------------------------

Window::~Window() {
    if (!hwnd_) return;
    // The binding is being destroyed: the window's last messages must not reach it.
    HWND h = std::exchange(hwnd_, nullptr);
    SetWindowLongPtrA(h, GWLP_USERDATA, 0);
    DestroyWindow(h);
}

HWND Window::Create(DWORD exStyle, const char* title, DWORD style, int x, int y, int width, int height) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WndProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = ClassName();
    PrepareClass(wc);
    RegisterClassOnce(wc);
    return CreateWindowExA(exStyle, ClassName(), title, style, x, y, width, height, nullptr, nullptr, Instance(), this);
}

LRESULT CALLBACK Window::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* created = msg == WM_NCCREATE ? static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams) : nullptr;
    if (created) created->hwnd_ = hwnd;
    Window* self = BindingOf(hwnd, GWLP_USERDATA, msg, created);
    // Destroyed by the system (the application ends): the binding keeps no dead handle.
    if (self && msg == WM_NCDESTROY) self->hwnd_ = nullptr;
    if (!self || msg == WM_NCDESTROY) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return Answered<LRESULT>([&] { return self->HandleMessage(msg, wParam, lParam); }, 0);
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

void Dialog::OnDialogKey(std::function<void(TDialogKey, const TControl*)> handler) { dialogKey_ = std::move(handler); }

void Dialog::OnDraw(int id, std::function<void(const DRAWITEMSTRUCT&)> draw) { draws_[id] = std::move(draw); }

void Dialog::Colour(std::initializer_list<int> ids, std::optional<COLORREF> text, std::optional<COLORREF> back) {
    for (int id : ids) colours_[id] = {text, back};
    if (back && !brushes_.count(*back)) brushes_.emplace(*back, GdiObject<HBRUSH>(CreateSolidBrush(*back)));
}

HFONT Dialog::Bold() {
    if (!bold_) bold_ = BoldFont(DialogFont(hwnd_));
    return bold_;
}

void Dialog::Embolden(std::initializer_list<int> ids) { SetFont(hwnd_, ids, Bold()); }

void Dialog::ShowIcon(int id, int iconId, int size) {
    icons_.push_back(LoadIconSized(iconId, size));
    SendDlgItemMessageA(hwnd_, id, STM_SETICON, reinterpret_cast<WPARAM>(icons_.back().get()), 0);
}

void Dialog::Run(const std::function<void()>& handler) {
    if (!mirror_ || ended_) return;
    mirror_->Take();
    if (handler) Guarded(handler);
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

// The controls' events and the lists' menus; true when one ran.
bool Dialog::Routed(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND) {
        const WORD id = LOWORD(wParam), code = HIWORD(wParam);
        const std::optional<TNotifyEvent> event = mirror_->Command(reinterpret_cast<HWND>(lParam), code);
        const bool key = (id == IDOK || id == IDCANCEL) && code == BN_CLICKED && (!event || !*event);
        if (key && dialogKey_) {
            const TControl* focused = mirror_->Focused();
            Run([&] { dialogKey_(id == IDOK ? TDialogKey::Enter : TDialogKey::Escape, focused); });
        } else if (event) {
            Run(*event);
        }
        return key || event;
    }
    if (msg == WM_NOTIFY) {
        const std::optional<TNotifyEvent> event = mirror_->Notify(*reinterpret_cast<const NMHDR*>(lParam));
        if (event) Run(*event);
        return event.has_value();
    }
    if (msg != WM_CONTEXTMENU) return false;
    const HWND control = reinterpret_cast<HWND>(wParam);
    TPopupMenu* records = mirror_->PopupMenuOf(control);
    if (!records) return false;
    const POINT at = ContextMenuPoint(control, lParam);
    Run(records->OnPopup);
    PopupMenu menu([records] { return *records; });
    if (const int chosen = menu.Choose(hwnd_, at, TPM_RIGHTBUTTON | TPM_LEFTALIGN); chosen >= 0 && records->OnClick)
        Run([&] { records->OnClick(chosen); });
    return true;
}

LRESULT Dialog::ColourOf(HDC dc, HWND control, UINT msg) {
    LRESULT link = 0;
    if (msg == WM_CTLCOLORSTATIC && mirror_->IsLink(control)) {
        SetTextColor(dc, IsWindowEnabled(control) ? RGB(0, 102, 204) : GetSysColor(COLOR_GRAYTEXT));
        SetBkMode(dc, TRANSPARENT);
        link = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    const auto rule = colours_.find(GetDlgCtrlID(control));
    if (rule == colours_.end()) return link;
    if (rule->second.Text) SetTextColor(dc, *rule->second.Text);
    if (const std::optional<COLORREF> back = rule->second.Back) {
        SetBkColor(dc, *back);
        return reinterpret_cast<LRESULT>(brushes_.at(*back).get());
    }
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

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
    const bool fromControl = msg == WM_COMMAND || msg == WM_NOTIFY;
    if (ended_ && fromControl) return TRUE;
    // What the controls report while the records are put comes from the program, not the user.
    if (mirror_->Putting() && fromControl) return FALSE;
    if (Routed(msg, wParam, lParam)) return msg == WM_NOTIFY ? Answer(0) : TRUE;
    if (const std::optional<INT_PTR> answer = Message(msg, wParam, lParam)) return *answer;
    if (!mirror_) return FALSE;
    switch (msg) {
        case WM_DRAWITEM: {
            const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (const auto at = draws_.find(static_cast<int>(draw.CtlID)); at != draws_.end()) {
                at->second(draw);
                return TRUE;
            }
            return mirror_->DrawItem(draw) ? TRUE : FALSE;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return ColourOf(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), msg);
        case WM_SETCURSOR:
            if (mirror_->SetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return Answer(TRUE);
            return FALSE;
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK Dialog::DlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* created = msg == WM_INITDIALOG ? reinterpret_cast<Dialog*>(lParam) : nullptr;
    if (created) created->hwnd_ = hwnd;
    Dialog* self = BindingOf(hwnd, DWLP_USER, msg, created);
    if (!self) return FALSE;
    if (msg == WM_NCDESTROY) {
        Forget(hwnd);
        self->mirror_.reset();
        self->hwnd_ = nullptr;
        return FALSE;
    }
    return Answered<INT_PTR>([&] { return self->HandleMessage(msg, wParam, lParam); }, TRUE);
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
