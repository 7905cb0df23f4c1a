// The real progress window behind the portable TfrmScaning.
#include "scan/Splash.h"

#include "../../resources/resource.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/Window.h"

namespace vexamo {

namespace {

using win32::Scale;

constexpr int LabelPoints = 8;

// Decoded at the first scan and kept: every later scan shows the same picture at once.
const win32::Picture& SplashPicture() {
    static const win32::Picture picture(IDR_SCAN_SPLASH);
    return picture;
}

RECT Scaled(const TRectangle& r) { return {Scale(r.Left), Scale(r.Top), Scale(r.Left + r.Width), Scale(r.Top + r.Height)}; }

// Owns the real progress window of one portable TfrmScaning; the window is made when first shown.
class ScaningWindow : public ScaningHost, public win32::Window {
public:
    explicit ScaningWindow(TfrmScaning& form) : form_(form) {}

    void Show() override {
        if (!Handle()) Open();
        ShowWindow(Handle(), SW_SHOWNOACTIVATE);
        Repaint();
    }

    void Repaint() override {
        if (!Handle()) return;
        SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(form_.ProgBar.Position), 0);
        win32::PaintNow(Handle());
    }

    void Hide() override {
        if (Handle()) ShowWindow(Handle(), SW_HIDE);
    }

protected:
    const char* ClassName() const override { return "TfrmScaning"; }
    void PrepareClass(WNDCLASSA& wc) const override {
        wc.hCursor = LoadCursorA(nullptr, IDC_WAIT);  // a scan runs
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    }

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != WM_PAINT) return Default(msg, wParam, lParam);
        Paint();
        return 0;
    }

private:
    void Open() {
        font_ = win32::Font(CreateFontA(-MulDiv(LabelPoints, win32::ScreenDpi(), 72), 0, 0, 0, FW_BOLD, FALSE, FALSE,
                                        FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                        DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial"));
        const RECT at = win32::CentredOnWorkArea(nullptr, Scale(TfrmScaning::ClientWidth),
                                                 Scale(TfrmScaning::ClientHeight));
        Create(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "", WS_POPUP, at.left, at.top, at.right - at.left,
               at.bottom - at.top);
        const RECT b = Scaled(TfrmScaning::ProgBarBounds);
        bar_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_BORDER, b.left, b.top,
                               b.right - b.left, b.bottom - b.top, Handle(), nullptr, win32::Instance(), nullptr);
        SendMessageA(bar_, PBM_SETRANGE32, static_cast<WPARAM>(form_.ProgBar.Min), form_.ProgBar.Max);
    }

    void Paint() {
        const win32::ScopedPaint dc(Handle());
        SplashPicture().Draw(dc, 0, 0, Scale(TfrmScaning::ClientWidth), Scale(TfrmScaning::ClientHeight));
        win32::DrawTextOver(dc, form_.lblScan.Caption, Scaled(TfrmScaning::lblScanBounds), RGB(0, 0, 0),
                            DT_SINGLELINE | DT_NOPREFIX, font_);
    }

    TfrmScaning& form_;
    HWND bar_ = nullptr;
    win32::Font font_;
};

}  // namespace

std::unique_ptr<ScaningHost> ScaningBinding(TfrmScaning& form) { return std::make_unique<ScaningWindow>(form); }

}  // namespace vexamo
