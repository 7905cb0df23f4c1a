#include "ui/main_win32.h"

#include "../../resources/resource.h"
#include "platform/win32/Window.h"

namespace vexamo {

namespace {

// Owns the real window of one portable TfrmMain; lives as long as that window does.
class FrmMainWindow : public FrmMainHost, public win32::Window {
public:
    explicit FrmMainWindow(HINSTANCE instance) : instance_(instance) {}

    void Attach(TfrmMain* form) { form_ = form; }

    void Show(TfrmMain& form) override {
        if (!Handle())
            Create(instance_, WS_EX_APPWINDOW, form.Caption.c_str(), WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX,
                   CW_USEDEFAULT, CW_USEDEFAULT, win32::Scale(560), win32::Scale(420));
        ShowWindow(Handle(), SW_SHOWNORMAL);
        SetForegroundWindow(Handle());
    }

    void Close(TfrmMain&) override { ShowWindow(Handle(), SW_HIDE); }

    void Released(TfrmMain&) override {
        form_ = nullptr;
        delete this;
    }

protected:
    const char* ClassName() const override { return "TfrmMain"; }
    void PrepareClass(WNDCLASSA& wc) const override { wc.hIcon = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_APP)); }

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (!form_) return Default(msg, wParam, lParam);
        switch (msg) {
            case WM_ACTIVATE:
                if (LOWORD(wParam) != WA_INACTIVE) form_->FormActivate();
                break;
            case WM_CLOSE:
                // Frees the portable window, which releases (and deletes) this binding: return at once.
                form_->Close();
                return 0;
            default:
                break;
        }
        return Default(msg, wParam, lParam);
    }

private:
    HINSTANCE instance_;
    TfrmMain* form_ = nullptr;
};

}  // namespace

std::unique_ptr<TfrmMain> CreateFrmMainWindow(HINSTANCE instance, TrayAgent& tray) {
    auto* window = new FrmMainWindow(instance);
    auto form = std::make_unique<TfrmMain>(tray, window);
    window->Attach(form.get());
    return form;
}

}  // namespace vexamo
