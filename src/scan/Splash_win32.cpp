#include "scan/Splash_win32.h"

#include <cstring>
#include <exception>

#include "platform/Jpeg.h"
#include "platform/win32/WinApi.h"
#include "scan/ScanResources.h"
#include "ui/main.h"
#include <commctrl.h>

namespace vexamo {

namespace {

const char* const ScaningClassName = "TfrmScaning";

// The picture resource decoded into a bitmap of the screen's kind; null when it cannot be read.
HBITMAP LoadJpegResource(HINSTANCE instance, int id) {
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!found) return nullptr;
    HGLOBAL loaded = LoadResource(instance, found);
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!data) return nullptr;
    JpegImage image;
    try {
        image = DecodeJpeg(std::string(data, SizeofResource(instance, found)));
    } catch (const std::exception&) {
        return nullptr;  // a window without its picture still tells the user to wait
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.Width;
    info.bmiHeader.biHeight = -image.Height;  // top row first, as decoded
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    const int stride = (image.Width * 3 + 3) & ~3;
    auto* out = static_cast<unsigned char*>(bits);
    for (int y = 0; y < image.Height; ++y) {
        const unsigned char* in = image.Rgb.data() + static_cast<size_t>(y) * image.Width * 3;
        unsigned char* row = out + static_cast<size_t>(y) * stride;
        for (int x = 0; x < image.Width; ++x) {
            row[x * 3] = in[x * 3 + 2];
            row[x * 3 + 1] = in[x * 3 + 1];
            row[x * 3 + 2] = in[x * 3];
        }
    }
    return bitmap;
}

class ScaningWindow : public ScaningHost {
public:
    ScaningWindow() : instance_(GetModuleHandleA(nullptr)) {}
    ~ScaningWindow() override {
        if (hwnd_) DestroyWindow(hwnd_);
        if (picture_) DeleteObject(picture_);
        if (font_) DeleteObject(font_);
    }

    void Attach(TfrmScaning* form) { form_ = form; }

    void Show(TfrmScaning& form) override {
        if (!hwnd_) Create(form);
        ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        Repaint(form);
    }

    void Repaint(TfrmScaning& form) override {
        if (!hwnd_) return;
        SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(form.ProgBar.Position), 0);
        // The scan keeps the message loop waiting: paint now, not when it next runs.
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

    void Released(TfrmScaning&) override {
        form_ = nullptr;
        delete this;
    }

private:
    void Create(TfrmScaning& form) {
        static const bool registered = [this] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = WndProc;
            wc.hInstance = instance_;
            wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32514));  // the hourglass: a scan runs
            wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
            wc.lpszClassName = ScaningClassName;
            return RegisterClassA(&wc) != 0;
        }();
        (void)registered;
        picture_ = LoadJpegResource(instance_, IDR_SCAN_SPLASH);
        HDC screen = GetDC(nullptr);
        font_ = CreateFontA(-MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_SWISS, "Arial");
        ReleaseDC(nullptr, screen);

        const int w = TfrmScaning::ClientWidth, h = TfrmScaning::ClientHeight;
        hwnd_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, ScaningClassName, "", WS_POPUP,
                                (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w,
                                h, nullptr, nullptr, instance_, this);
        const TRectangle b = TfrmScaning::ProgBarBounds;
        bar_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_BORDER, b.Left, b.Top, b.Width,
                               b.Height, hwnd_, nullptr, instance_, nullptr);
        SendMessageA(bar_, PBM_SETRANGE32, static_cast<WPARAM>(form.ProgBar.Min), form.ProgBar.Max);
    }

    void Paint() {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        if (picture_) {
            HDC mem = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(mem, picture_);
            BitBlt(dc, 0, 0, TfrmScaning::ClientWidth, TfrmScaning::ClientHeight, mem, 0, 0, SRCCOPY);
            SelectObject(mem, old);
            DeleteDC(mem);
        }
        if (form_) {
            const TRectangle l = TfrmScaning::lblScanBounds;
            RECT r{l.Left, l.Top, l.Left + l.Width, l.Top + l.Height};
            HGDIOBJ oldFont = SelectObject(dc, font_);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(0, 0, 0));
            DrawTextA(dc, form_->lblScan.Caption.c_str(), -1, &r, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
            SelectObject(dc, oldFont);
        }
        EndPaint(hwnd_, &ps);
    }

    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NCCREATE) {
            auto* self = static_cast<ScaningWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<ScaningWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && msg == WM_PAINT) {
            self->Paint();
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    HWND bar_ = nullptr;
    HBITMAP picture_ = nullptr;
    HFONT font_ = nullptr;
    TfrmScaning* form_ = nullptr;
};

}  // namespace

std::unique_ptr<TfrmScaning> CreateScaningWindow() {
    auto* window = new ScaningWindow();
    auto form = std::make_unique<TfrmScaning>(window);
    window->Attach(form.get());
    return form;
}

}  // namespace vexamo
