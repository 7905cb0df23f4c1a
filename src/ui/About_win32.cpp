#include "ui/About_win32.h"

#include <vector>

#include "../../resources/resource.h"
#include "platform/Jpeg.h"
#include "platform/win32/Controls_win32.h"
#include "platform/win32/ScopedGdi.h"
#include "platform/win32/Window.h"
#include "ui/OptionsDialogs.h"

namespace vexamo {

namespace {

// A picture ready for StretchDIBits: 32-bit rows, top row first.
struct Picture {
    BITMAPINFO Info{};
    std::vector<std::uint32_t> Pixels;
};

Picture LoadPicture(HINSTANCE instance, int id) {
    Picture picture;
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return picture;
    const JpegImage image = DecodeJpeg(std::string(static_cast<const char*>(data), SizeofResource(instance, found)));
    picture.Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    picture.Info.bmiHeader.biWidth = image.Width;
    picture.Info.bmiHeader.biHeight = -image.Height;
    picture.Info.bmiHeader.biPlanes = 1;
    picture.Info.bmiHeader.biBitCount = 32;
    picture.Info.bmiHeader.biCompression = BI_RGB;
    picture.Pixels.resize(static_cast<size_t>(image.Width) * image.Height);
    for (size_t i = 0; i < picture.Pixels.size(); ++i) {
        const unsigned char* rgb = &image.Rgb[i * 3];
        picture.Pixels[i] = (std::uint32_t{rgb[0]} << 16) | (std::uint32_t{rgb[1]} << 8) | rgb[2];
    }
    return picture;
}

// Draws the picture as large as fits the rectangle, keeping its shape, centred.
void DrawPicture(HDC dc, const RECT& box, const Picture& picture) {
    FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
    const int pw = picture.Info.bmiHeader.biWidth;
    const int ph = -picture.Info.bmiHeader.biHeight;
    if (pw <= 0 || ph <= 0) return;
    const int bw = box.right - box.left, bh = box.bottom - box.top;
    int w = bw, h = MulDiv(bw, ph, pw);
    if (h > bh) {
        h = bh;
        w = MulDiv(bh, pw, ph);
    }
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, box.left + (bw - w) / 2, box.top + (bh - h) / 2, w, h, 0, 0, pw, ph, picture.Pixels.data(),
                  &picture.Info, DIB_RGB_COLORS, SRCCOPY);
}

class AboutDialog : public AboutBoxHost, public win32::Dialog {
public:
    AboutDialog(HINSTANCE instance, TAboutBox& box) : instance_(instance), box_(box) {}

    int ShowModal(TAboutBox&) override {
        HWND active = GetActiveWindow();
        return static_cast<int>(RunModal(instance_, IDD_ABOUT, active && IsWindowVisible(active) ? active : nullptr));
    }

    void Close(TAboutBox&, int modalResult) override { EndModal(modalResult); }

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_INITDIALOG:
                Prepare();
                return TRUE;
            case WM_COMMAND:
                switch (LOWORD(wParam)) {
                    case IDOK: box_.OKButtonClick(); return TRUE;
                    case IDCANCEL: EndModal(IDCANCEL); return TRUE;  // Escape and the close box
                    case IDC_ABOUT_HOME: box_.lblVexamoClick(); return TRUE;
                    case IDC_ABOUT_URL: box_.lblUrlClick(); return TRUE;
                    case IDC_ABOUT_SUPPORT: box_.lblLinkSupportClick(); return TRUE;
                    default: break;
                }
                break;
            case WM_CTLCOLORSTATIC: {
                if (!mirror_) break;
                HDC dc = reinterpret_cast<HDC>(wParam);
                HWND control = reinterpret_cast<HWND>(lParam);
                const INT_PTR brush = mirror_->CtlColorStatic(dc, control);
                // The support address is the one grey link.
                if (brush && GetDlgCtrlID(control) == IDC_ABOUT_SUPPORT) SetTextColor(dc, RGB(128, 128, 128));
                return brush;
            }
            case WM_SETCURSOR:
                if (mirror_ && mirror_->SetCursor(reinterpret_cast<HWND>(wParam))) {
                    SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, TRUE);
                    return TRUE;
                }
                break;
            case WM_DRAWITEM: {
                auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
                if (item->CtlID == IDC_ABOUT_PRODUCT) DrawPicture(item->hDC, item->rcItem, product_);
                else if (item->CtlID == IDC_ABOUT_MAKER) DrawPicture(item->hDC, item->rcItem, maker_);
                else break;
                return TRUE;
            }
            default:
                break;
        }
        return FALSE;
    }

private:
    void Prepare() {
        HWND dialog = Handle();
        SetWindowTextA(dialog, box_.Caption.c_str());
        mirror_ = std::make_unique<win32::ControlMirror>(dialog);
        mirror_->Bind(IDC_ABOUT_VERSION, box_.lblVersion);
        mirror_->BindLink(IDC_ABOUT_HOME, box_.lblVexamo);
        mirror_->BindLink(IDC_ABOUT_SUPPORT, box_.lblLinkSupport);
        mirror_->BindLink(IDC_ABOUT_URL, box_.lblUrl);
        mirror_->Bind(IDOK, box_.OKButton);
        mirror_->Put();

        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
        font.lfWeight = FW_BOLD;
        bold_ = win32::GdiObject<HFONT>(CreateFontIndirectA(&font));
        font.lfUnderline = TRUE;
        link_ = win32::GdiObject<HFONT>(CreateFontIndirectA(&font));
        for (int id : {IDC_ABOUT_HOME_LABEL, IDC_ABOUT_SUPPORT_LABEL})
            SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()), FALSE);
        for (int id : {IDC_ABOUT_HOME, IDC_ABOUT_SUPPORT, IDC_ABOUT_URL})
            SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(link_.get()), FALSE);

        // A picture that cannot be decoded leaves its place empty; the box still works.
        try {
            product_ = LoadPicture(instance_, IDR_ABOUT_PRODUCT);
            maker_ = LoadPicture(instance_, IDR_ABOUT_MAKER);
        } catch (const std::exception&) {
        }

        win32::SizeClientAndCentre(dialog, 460, 214);
    }

    HINSTANCE instance_;
    TAboutBox& box_;
    std::unique_ptr<win32::ControlMirror> mirror_;
    Picture product_, maker_;
    win32::GdiObject<HFONT> bold_, link_;
};

class AboutWindow : public TAboutBox {
public:
    explicit AboutWindow(HINSTANCE instance) : TAboutBox(&dialog_), dialog_(instance, *this) {}
    ~AboutWindow() override = default;

private:
    AboutDialog dialog_;
};

}  // namespace

std::unique_ptr<TAboutBox> CreateAboutBoxWindow(HINSTANCE instance) { return std::make_unique<AboutWindow>(instance); }

}  // namespace vexamo
