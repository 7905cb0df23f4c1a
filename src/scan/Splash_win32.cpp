#include "scan/Splash_win32.h"

#include <cstring>
#include <exception>

#include "platform/Jpeg.h"
#include "platform/win32/ScopedGdi.h"
#include "platform/win32/Window.h"
#include "platform/win32/WinApi.h"
#include "scan/ScanResources.h"
#include <commctrl.h>

namespace vexamo {

namespace {

using win32::Scale;

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

// Owns the real progress window of one portable TfrmScaning.
class ScaningWindow : public ScaningHost, public win32::Window {
public:
    ScaningWindow() : instance_(GetModuleHandleA(nullptr)) {}

    void Attach(TfrmScaning* form) { form_ = form; }

    void Show(TfrmScaning& form) override {
        if (!Handle()) Open(form);
        ShowWindow(Handle(), SW_SHOWNOACTIVATE);
        Repaint(form);
    }

    void Repaint(TfrmScaning& form) override {
        if (!Handle()) return;
        SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(form.ProgBar.Position), 0);
        // The scan keeps the message loop waiting: paint now, not when it next runs.
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        // Looking at the queue (nothing is taken from it) tells the system the program is alive, so
        // that a long search does not get the window marked as not responding, and lets Wine put
        // what was painted on the screen.
        MSG msg;
        PeekMessageA(&msg, Handle(), WM_PAINT, WM_PAINT, PM_NOREMOVE);
    }

    void Hide(TfrmScaning&) override {
        if (Handle()) ShowWindow(Handle(), SW_HIDE);
    }

    void Released(TfrmScaning&) override {
        form_ = nullptr;
        delete this;
    }

protected:
    const char* ClassName() const override { return "TfrmScaning"; }
    void PrepareClass(WNDCLASSA& wc) const override {
        wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32514));  // the hourglass: a scan runs
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    }

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_PAINT) {
            Paint();
            return 0;
        }
        return Default(msg, wParam, lParam);
    }

private:
    static RECT Scaled(const TRectangle& r) {
        return {Scale(r.Left), Scale(r.Top), Scale(r.Left + r.Width), Scale(r.Top + r.Height)};
    }

    void Open(TfrmScaning& form) {
        picture_ = win32::GdiObject<HBITMAP>(LoadJpegResource(instance_, IDR_SCAN_SPLASH));
        font_ = win32::GdiObject<HFONT>(CreateFontA(-MulDiv(8, win32::ScreenDpi(), 72), 0, 0, 0, FW_BOLD, FALSE,
                                                    FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                                    "Arial"));
        const int w = Scale(TfrmScaning::ClientWidth), h = Scale(TfrmScaning::ClientHeight);
        Create(instance_, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "", WS_POPUP, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h);
        const RECT b = Scaled(TfrmScaning::ProgBarBounds);
        bar_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_BORDER, b.left, b.top,
                               b.right - b.left, b.bottom - b.top, Handle(), nullptr, instance_, nullptr);
        SendMessageA(bar_, PBM_SETRANGE32, static_cast<WPARAM>(form.ProgBar.Min), form.ProgBar.Max);
    }

    void Paint() {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        if (picture_) {
            HDC mem = CreateCompatibleDC(dc);
            {
                win32::ScopedSelect picture(mem, picture_);
                SetStretchBltMode(dc, HALFTONE);
                StretchBlt(dc, 0, 0, Scale(TfrmScaning::ClientWidth), Scale(TfrmScaning::ClientHeight), mem, 0, 0,
                           TfrmScaning::ClientWidth, TfrmScaning::ClientHeight, SRCCOPY);
            }
            DeleteDC(mem);
        }
        if (form_) {
            RECT r = Scaled(TfrmScaning::lblScanBounds);
            win32::ScopedSelect font(dc, font_);
            win32::ScopedTextColours colours(dc);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(0, 0, 0));
            DrawTextA(dc, form_->lblScan.Caption.c_str(), -1, &r, DT_SINGLELINE | DT_NOPREFIX);
        }
        EndPaint(Handle(), &ps);
    }

    HINSTANCE instance_;
    HWND bar_ = nullptr;
    win32::GdiObject<HBITMAP> picture_;
    win32::GdiObject<HFONT> font_;
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
