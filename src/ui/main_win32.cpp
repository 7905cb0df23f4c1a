// The real configuration window behind the portable TfrmMain.
#include "../../resources/resource.h"
#include "platform/Layout.h"
#include "platform/win32/Controls_win32.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/Window.h"
#include "ui/main.h"
#include "ui/main_res.h"

namespace vexamo {

namespace {

using win32::Scale;

// The banner's colours, top to bottom, its title and its pictures' sizes at 96 DPI.
constexpr COLORREF BannerTop = RGB(38, 74, 132);
constexpr COLORREF BannerBottom = RGB(70, 128, 196);
constexpr COLORREF BannerText = RGB(255, 255, 255);
constexpr COLORREF BannerGreyText = RGB(170, 190, 220);
constexpr int BannerHeight = 60, BannerMargin = 10, TitlePoints = 20;
constexpr int PlayerPicture = 16, StepPicture = 16, BannerPicture = 40;

// Paints the part `area` of the banner, given in the coordinates of a control whose top lies
// `top` pixels below the banner's top; the banner is `height` pixels high.
void PaintBannerBand(HDC dc, RECT area, int top, int height) {
    for (int y = area.top; y < area.bottom; ++y) {
        RECT line{area.left, y, area.right, y + 1};
        const win32::GdiObject<HBRUSH> brush(CreateSolidBrush(Blend(BannerTop, BannerBottom, y + top, height)));
        FillRect(dc, &line, brush);
    }
}

// Owns the real window of one portable TfrmMain; lives as long as that window does.
class FrmMainWindow : public FrmMainHost, public win32::Dialog {
public:
    explicit FrmMainWindow(TfrmMain& form) : form_(form) {
        win32::RegisterDialogClass("TfrmMain", IDI_APP);
        CreateModeless(IDD_MAIN, nullptr);
    }

    void Show() override {
        if (!Handle()) return;
        PutRecords();
        ShowWindow(Handle(), SW_SHOWNORMAL);
        SetForegroundWindow(Handle());
    }

    void Hide() override {
        if (Handle()) ShowWindow(Handle(), SW_HIDE);
    }

    void Repaint() override {
        if (!Handle()) return;
        PutRecords();
        win32::PaintNow(Handle());
    }

protected:
    bool InitDialog() override {
        const int dpi = win32::ScreenDpi();
        const int pictures = PictureSize(PlayerPicture, dpi, {16, 24, 32});
        players_ = win32::LoadImageStrip(pictures == 32 ? IDB_PLAYERS_32 : pictures == 24 ? IDB_PLAYERS_24 : IDB_PLAYERS_16,
                                         pictures, pictures, PlayerPictureCount);
        const int steps[] = {IDC_MAIN_STEP1, IDC_MAIN_STEP2, IDC_MAIN_STEP3, IDC_MAIN_STEP4};
        for (int i = 0; i < 4; ++i) ShowIcon(steps[i], IDI_STEP_1 + i, PictureSize(StepPicture, dpi, {16, 24, 32}));
        bannerSize_ = PictureSize(BannerPicture, dpi, {40, 60, 80});
        banner_ = win32::LoadIconSized(IDI_BANNER, bannerSize_);

        // The step numbers stand out; their titles keep the dialog font, whose width the dialog
        // units are measured in, so that they fit at every DPI.
        Embolden({IDC_MAIN_LABEL2, IDC_MAIN_LBLSTEP2, IDC_MAIN_LABEL9, IDC_MAIN_LABEL7});
        LOGFONTA title = win32::FontOf(Bold());
        title.lfHeight = -MulDiv(TitlePoints, win32::ScreenDpi(), 72);
        lstrcpynA(title.lfFaceName, "Arial", LF_FACESIZE);
        title_ = win32::Font(CreateFontIndirectA(&title));
        // The status bar sits at the bottom of whatever size the dialog units gave the window.
        SendDlgItemMessageA(Handle(), IDC_MAIN_STSTATUS, WM_SIZE, 0, 0);

        Mirror().SetImages(IDC_MAIN_LSTPLAYERS, players_);
        form_.BindControls(Mirror());
        OnDialogKey([this](TDialogKey key, const TControl* focused) { form_.DialogKey(key, focused); });
        OnDraw(IDC_MAIN_BANNER, [this](const DRAWITEMSTRUCT& draw) { DrawBanner(draw); });
        OnDraw(IDC_MAIN_LBLABOUT, [this](const DRAWITEMSTRUCT& draw) { DrawAbout(draw); });
        // No focus yet: focusing a control would activate the window while it is still hidden,
        // and its activation (which takes the tray icon away) belongs to Show.
        return false;
    }

    void Shown() override {
        if ((IsWindowEnabled(Handle()) != FALSE) != form_.Enabled) EnableWindow(Handle(), form_.Enabled);
    }

    std::optional<INT_PTR> Message(UINT msg, WPARAM wParam, LPARAM) override {
        switch (msg) {
            case WM_SYSCOMMAND:
                if ((wParam & 0xFFF0) == SC_CLOSE) Run([&] { form_.WMSysCommand(SysCommand::Close); });
                else if ((wParam & 0xFFF0) == SC_MINIMIZE) Run([&] { form_.WMSysCommand(SysCommand::Minimize); });
                else return FALSE;
                return TRUE;
            case WM_CLOSE:
                Run([&] { form_.WMSysCommand(SysCommand::Close); });
                return TRUE;
            case WM_ACTIVATE:
                if (LOWORD(wParam) != WA_INACTIVE) Run([&] { form_.FormActivate(); });
                return FALSE;
            default:
                return std::nullopt;
        }
    }

private:
    void DrawBanner(const DRAWITEMSTRUCT& draw) {
        const RECT r = draw.rcItem;
        PaintBannerBand(draw.hDC, r, 0, r.bottom - r.top);
        int x = r.left + Scale(BannerMargin);
        if (banner_) {
            DrawIconEx(draw.hDC, x, r.top + (r.bottom - r.top - bannerSize_) / 2, banner_, bannerSize_, bannerSize_, 0,
                       nullptr, DI_NORMAL);
            x += bannerSize_ + Scale(BannerMargin);
        }
        win32::DrawTextOver(draw.hDC, "Vexamo", {x, r.top, r.right, r.bottom}, BannerText,
                            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, title_);
    }

    // "About Us..." lies on the banner: it paints its own piece of the banner under its text.
    void DrawAbout(const DRAWITEMSTRUCT& draw) {
        const HWND banner = Item(IDC_MAIN_BANNER);
        RECT place{}, bannerArea{};
        GetWindowRect(draw.hwndItem, &place);
        MapWindowPoints(nullptr, banner, reinterpret_cast<POINT*>(&place), 2);
        GetClientRect(banner, &bannerArea);
        PaintBannerBand(draw.hDC, draw.rcItem, place.top, bannerArea.bottom > 0 ? bannerArea.bottom : Scale(BannerHeight));
        win32::DrawTextOver(draw.hDC, win32::WindowText(draw.hwndItem), draw.rcItem,
                            IsWindowEnabled(draw.hwndItem) ? BannerText : BannerGreyText,
                            DT_SINGLELINE | DT_RIGHT | DT_VCENTER | DT_NOPREFIX);
        if (draw.itemState & ODS_FOCUS) DrawFocusRect(draw.hDC, &draw.rcItem);
    }

    TfrmMain& form_;
    win32::ImageList players_;
    win32::Icon banner_;
    int bannerSize_ = 0;
    win32::Font title_;
};

}  // namespace

std::unique_ptr<FrmMainHost> FrmMainBinding(TfrmMain& form) { return std::make_unique<FrmMainWindow>(form); }

}  // namespace vexamo
