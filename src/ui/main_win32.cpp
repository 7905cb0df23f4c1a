#include "ui/main_win32.h"

#include <exception>

#include "../../resources/resource.h"

namespace vexamo {

namespace {

const char* const FrmMainClassName = "TfrmMain";

// Owns the real window of one portable TfrmMain; lives as long as that window does.
class FrmMainWindow : public FrmMainHost {
public:
    explicit FrmMainWindow(HINSTANCE instance) : instance_(instance) {}

    void Attach(TfrmMain* form) { form_ = form; }

    void Show(TfrmMain& form) override {
        if (!hwnd_) Create(form);
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        SetForegroundWindow(hwnd_);
    }

    void Close(TfrmMain&) override { Destroy(); }

    void Released(TfrmMain&) override {
        form_ = nullptr;
        Destroy();
        delete this;
    }

private:
    void Create(TfrmMain& form) {
        static bool registered = [this] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = WndProc;
            wc.hInstance = instance_;
            wc.hIcon = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_APP));
            wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = FrmMainClassName;
            return RegisterClassA(&wc) != 0;
        }();
        (void)registered;
        hwnd_ = CreateWindowExA(WS_EX_APPWINDOW, FrmMainClassName, form.Caption.c_str(),
                                WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX, CW_USEDEFAULT, CW_USEDEFAULT, 560, 420,
                                nullptr, nullptr, instance_, this);
    }

    void Destroy() {
        if (!hwnd_) return;
        HWND h = hwnd_;
        hwnd_ = nullptr;
        SetWindowLongPtrA(h, GWLP_USERDATA, 0);
        DestroyWindow(h);
    }

    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NCCREATE) {
            auto* self = static_cast<FrmMainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<FrmMainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (!self || !self->form_) return DefWindowProcA(hwnd, msg, wParam, lParam);
        try {
            switch (msg) {
                case WM_ACTIVATE:
                    if (LOWORD(wParam) != WA_INACTIVE) self->form_->FormActivate();
                    break;
                case WM_CLOSE:
                    // Frees the portable window, which releases (and deletes) this binding.
                    self->form_->Close();
                    return 0;
                default:
                    break;
            }
        } catch (const std::exception& e) {
            HandleException(e);
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    TfrmMain* form_ = nullptr;
};

}  // namespace

std::unique_ptr<TfrmMain> CreateFrmMainWindow(HINSTANCE instance) {
    auto* window = new FrmMainWindow(instance);
    auto form = std::make_unique<TfrmMain>(window);
    window->Attach(form.get());
    return form;
}

}  // namespace vexamo
