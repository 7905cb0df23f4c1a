#include "ui/main_win32.h"

#include <exception>

#include "../../resources/resource.h"
#include "platform/win32/Controls_win32.h"
#include "platform/win32/ScopedGdi.h"
#include "platform/win32/Window.h"
#include "scan/Splash_win32.h"
#include "scan/fileMonitor_win32.h"
#include "ui/PlayerWizard_win32.h"
#include "ui/main_res.h"

namespace vexamo {

namespace {

using win32::ControlMirror;
using win32::Scale;

// The banner's colours, top to bottom, and its text.
constexpr COLORREF BannerTop = RGB(38, 74, 132);
constexpr COLORREF BannerBottom = RGB(70, 128, 196);
constexpr int BannerHeight96 = 60;

COLORREF Blend(COLORREF a, COLORREF b, int num, int den) {
    auto mix = [&](int x, int y) { return x + (y - x) * num / (den > 0 ? den : 1); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

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
    FrmMainWindow(HINSTANCE instance, TfrmMain& form) : instance_(instance), form_(form) {
        // A dialog class of its own, named after the window, so that it can be told from message
        // boxes and found from outside.
        static const bool registered = [instance] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefDlgProcA;
            wc.cbWndExtra = DLGWINDOWEXTRA;
            wc.hInstance = instance;
            wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
            wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = "TfrmMain";
            return RegisterClassA(&wc) != 0;
        }();
        (void)registered;
        CreateModeless(instance, IDD_FRMMAIN, nullptr);
    }

    ~FrmMainWindow() override {
        mirror_.reset();
        // The player list owns its image list and frees it with itself.
        for (HICON icon : icons_) DestroyIcon(icon);
    }

    void Show() override {
        if (!Handle() || !mirror_) return;
        mirror_->Put();
        ShowWindow(Handle(), SW_SHOWNORMAL);
        SetForegroundWindow(Handle());
    }

    void Hide() override {
        if (Handle()) ShowWindow(Handle(), SW_HIDE);
    }

    void Repaint() override {
        if (!Handle() || !mirror_) return;
        mirror_->Put();
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        // Looking at the queue (nothing is taken from it) keeps a long scan from getting the window
        // marked as not responding, and lets Wine put what was painted on the screen.
        MSG msg;
        PeekMessageA(&msg, Handle(), WM_PAINT, WM_PAINT, PM_NOREMOVE);
    }

    std::unique_ptr<TfrmMonitor> CreateChooser() override { return CreateMonitorWindow(); }
    std::unique_ptr<TfrmScaning> CreateProgressWindow() override { return CreateScaningWindow(); }

    void RunPlayerWizard(const std::string& playerName) override {
        // Modal over this window; the wizard's real window goes with it when it returns.
        std::unique_ptr<TfrmPlayerWizard> wizard = CreatePlayerWizardWindow(instance_, Handle());
        if (playerName.empty())
            wizard->NewPlayer();
        else
            wizard->EditPlayer(true, playerName);
    }

private:
    // Runs a handler the way the portable window expects: what the user changed is in the state
    // first, and the state is shown afterwards. A window the handler closed is only hidden by now.
    template <typename F>
    void Run(F&& handler) {
        mirror_->Take();
        win32::Guarded(handler);
        mirror_->Put();
    }

    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (!mirror_ && msg != WM_INITDIALOG) return FALSE;
        switch (msg) {
            case WM_INITDIALOG:
                Init();
                // No focus yet: focusing a control would activate the window while it is still
                // hidden, and its activation (which takes the tray icon away) belongs to Show.
                return FALSE;
            case WM_COMMAND:
                return Command(LOWORD(wParam), HIWORD(wParam));
            case WM_NOTIFY:
                return Notify(*reinterpret_cast<NMHDR*>(lParam));
            case WM_CONTEXTMENU:
                return ContextMenu(reinterpret_cast<HWND>(wParam), lParam);
            case WM_SYSCOMMAND: {
                const UINT command = static_cast<UINT>(wParam & 0xFFF0);
                if (command != SC_CLOSE && command != SC_MINIMIZE) return FALSE;
                Run([&] { form_.WMSysCommand(command == SC_CLOSE ? SysCommand::Close : SysCommand::Minimize); });
                return TRUE;
            }
            case WM_CLOSE:
                Run([&] { form_.WMSysCommand(SysCommand::Close); });
                return TRUE;
            case WM_ACTIVATE:
                if (LOWORD(wParam) != WA_INACTIVE) Run([&] { form_.FormActivate(); });
                return FALSE;
            case WM_DRAWITEM:
                return DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            case WM_CTLCOLORSTATIC:
                return mirror_->CtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
            case WM_SETCURSOR:
                if (mirror_->SetCursor(reinterpret_cast<HWND>(wParam))) {
                    SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, TRUE);
                    return TRUE;
                }
                return FALSE;
            default:
                return FALSE;
        }
    }

    void Init() {
        mirror_ = std::make_unique<ControlMirror>(Handle());
        const int dpi = win32::ScreenDpi();

        const int pictureSize = win32::PictureSize(16, {16, 24, 32});
        const int bitmap = pictureSize == 32 ? IDB_PLAYERS_32 : pictureSize == 24 ? IDB_PLAYERS_24 : IDB_PLAYERS_16;
        HIMAGELIST players = ImageList_Create(pictureSize, pictureSize, ILC_COLOR24 | ILC_MASK, PlayerPictureCount, 0);
        if (HBITMAP strip = static_cast<HBITMAP>(
                LoadImageA(instance_, MAKEINTRESOURCEA(bitmap), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
            ImageList_AddMasked(players, strip, RGB(255, 0, 255));
            DeleteObject(strip);
        }
        const int stepSize = win32::PictureSize(16, {16, 24, 32});
        const int steps[] = {IDC_STEP1, IDC_STEP2, IDC_STEP3, IDC_STEP4};
        for (int i = 0; i < 4; ++i) {
            HICON icon = static_cast<HICON>(
                LoadImageA(instance_, MAKEINTRESOURCEA(IDI_STEP_1 + i), IMAGE_ICON, stepSize, stepSize, 0));
            icons_.push_back(icon);
            SendDlgItemMessageA(Handle(), steps[i], STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        }
        bannerSize_ = win32::PictureSize(40, {40, 60, 80});
        banner_ = static_cast<HICON>(
            LoadImageA(instance_, MAKEINTRESOURCEA(IDI_BANNER), IMAGE_ICON, bannerSize_, bannerSize_, 0));
        icons_.push_back(banner_);
        SendMessageA(Handle(), WM_SETICON, ICON_BIG,
                     reinterpret_cast<LPARAM>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                                         GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                                                         LR_SHARED)));
        SendMessageA(Handle(), WM_SETICON, ICON_SMALL,
                     reinterpret_cast<LPARAM>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                                         GetSystemMetrics(SM_CXSMICON),
                                                         GetSystemMetrics(SM_CYSMICON), LR_SHARED)));

        // The step numbers stand out; their titles keep the dialog font, whose width the dialog
        // units are measured in, so that they fit at every DPI.
        LOGFONTA lf{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
        LOGFONTA bold = lf;
        bold.lfWeight = FW_BOLD;
        boldFont_ = win32::GdiObject<HFONT>(CreateFontIndirectA(&bold));
        for (int id : {IDC_LABEL2, IDC_LBLSTEP2, IDC_LABEL9, IDC_LABEL7})
            SendDlgItemMessageA(Handle(), id, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), FALSE);
        LOGFONTA title = bold;
        title.lfHeight = -MulDiv(20, dpi, 72);
        lstrcpynA(title.lfFaceName, "Arial", LF_FACESIZE);
        titleFont_ = win32::GdiObject<HFONT>(CreateFontIndirectA(&title));

        // The status bar sits at the bottom of whatever size the dialog units gave the window.
        SendDlgItemMessageA(Handle(), IDC_STSTATUS, WM_SIZE, 0, 0);

        ControlMirror& m = *mirror_;
        m.BindLink(IDC_LBLABOUT, form_.lblAbout);
        m.Bind(IDC_LSTPLAYERS, form_.lstPlayers, players);
        m.Bind(IDC_CHKEXTSAUDIO, form_.chkExtsAudio);
        m.BindLink(IDC_LBLSELALLAUDIO, form_.LblSelAllAudio);
        m.Bind(IDC_CHKEXTSVIDEO, form_.ChkExtsVideo);
        m.BindLink(IDC_LBLSELALLVIDEO, form_.LblSelAllVideo);
        m.Bind(IDC_CHKDISCS, form_.chkDiscs);
        m.Bind(IDC_CHKPROMPT, form_.chkPrompt);
        m.Bind(IDC_BTADD, form_.btAdd);
        m.Bind(IDC_LSTLOADEDPLAYERS, form_.LstLoadedPlayers);
        m.Bind(IDC_RDNOPLAYERPRIORITY, form_.rdNoPlayerPriority);
        m.Bind(IDC_RDPLAYERPRIORITY, form_.rdPlayerPriority);
        m.Bind(IDC_CBODIFPLAYER, form_.cboDifPlayer);
        m.Bind(IDC_RDMONITORON, form_.RdMonitorOn);
        m.Bind(IDC_RDMONITOROFF, form_.RdMonitorOff);
        m.Bind(IDC_BTSETTINGS, form_.btSettings);
        m.Bind(IDC_BTSCANNOW, form_.btScanNow);
        m.Bind(IDC_PROGBAR, form_.ProgBar);
        m.Bind(IDC_BTEXIT, form_.btExit);
        m.Bind(IDC_STSTATUS, form_.stStatus);
        SetWindowTextA(Handle(), form_.Caption.c_str());
        m.Put();
    }

    INT_PTR Command(int id, int code) {
        switch (id) {
            case IDCANCEL:
                // Escape does what the close box does.
                Run([&] { form_.WMSysCommand(SysCommand::Close); });
                return TRUE;
            case IDOK:
                // Enter on the available players chooses the selected row, as a click would.
                if (GetFocus() == mirror_->Item(IDC_LSTPLAYERS)) Run([&] { form_.lstPlayersClick(); });
                return TRUE;
            case IDC_BTADD: Clicked(code, &TfrmMain::btAddClick); return TRUE;
            case IDC_BTSETTINGS: Clicked(code, &TfrmMain::btSettingsClick); return TRUE;
            case IDC_BTSCANNOW: Clicked(code, &TfrmMain::btScanNowClick); return TRUE;
            case IDC_BTEXIT: Clicked(code, &TfrmMain::btExitClick); return TRUE;
            case IDC_LBLABOUT: Clicked(code, &TfrmMain::lblAboutClick); return TRUE;
            case IDC_LBLSELALLAUDIO: Clicked(code, &TfrmMain::LblSelAllAudioClick); return TRUE;
            case IDC_LBLSELALLVIDEO: Clicked(code, &TfrmMain::LblSelAllVideoClick); return TRUE;
            case IDC_CHKPROMPT: Clicked(code, nullptr); return TRUE;  // only its tick: no handler
            case IDC_RDNOPLAYERPRIORITY:
                RadioClicked(code, form_.rdNoPlayerPriority, &TfrmMain::rdNoPlayerPriorityClick);
                return TRUE;
            case IDC_RDPLAYERPRIORITY:
                RadioClicked(code, form_.rdPlayerPriority, &TfrmMain::rdPlayerPriorityClick);
                return TRUE;
            case IDC_RDMONITORON: RadioClicked(code, form_.RdMonitorOn, &TfrmMain::RdMonitorOnClick); return TRUE;
            case IDC_RDMONITOROFF: RadioClicked(code, form_.RdMonitorOff, &TfrmMain::RdMonitorOffClick); return TRUE;
            case IDC_CBODIFPLAYER:
                if (code == CBN_SELCHANGE) Run([&] { form_.cboDifPlayerChange(); });
                return TRUE;
            case IDC_CHKEXTSAUDIO:
                if (code == win32::CLN_CLICKCHECK) Run([&] { form_.chkExtsAudioClickCheck(); });
                return TRUE;
            case IDC_CHKEXTSVIDEO:
                if (code == win32::CLN_CLICKCHECK) Run([&] { form_.ChkExtsVideoClickCheck(); });
                return TRUE;
            case IDC_CHKDISCS:
                if (code == win32::CLN_CLICKCHECK) Run([&] { form_.chkDiscsClickCheck(); });
                return TRUE;
            default:
                return FALSE;
        }
    }

    void Clicked(int code, void (TfrmMain::*handler)()) {
        if (code != BN_CLICKED && code != STN_CLICKED) return;
        Run([&] {
            if (handler) (form_.*handler)();
        });
    }

    // A radio button's handler runs when the click checked it, not when it was checked already.
    void RadioClicked(int code, TRadioButton& radio, void (TfrmMain::*handler)()) {
        if (code != BN_CLICKED) return;
        const bool was = radio.Checked;
        Run([&] {
            if (!was && radio.Checked) (form_.*handler)();
        });
    }

    INT_PTR Notify(const NMHDR& header) {
        if (mirror_->Putting()) return FALSE;
        if (header.idFrom == IDC_LSTPLAYERS) {
            if (header.code == NM_CLICK) {
                Run([&] { form_.lstPlayersClick(); });
            } else if (header.code == LVN_ITEMCHANGED) {
                // A row reached with the keyboard is chosen as a click would choose it; the
                // mouse's own click follows as NM_CLICK. "(Add new Player)" opens the wizard only
                // on a click or Enter, not while the user walks past it.
                const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
                const bool selected = (change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED);
                if (selected && change.iItem > 0 && GetKeyState(VK_LBUTTON) >= 0 && GetKeyState(VK_RBUTTON) >= 0)
                    Run([&] { form_.lstPlayersClick(); });
            }
        } else if (header.idFrom == IDC_LSTLOADEDPLAYERS && header.code == LVN_ITEMCHANGED) {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            const UINT oldImage = change.uOldState & LVIS_STATEIMAGEMASK;
            const UINT newImage = change.uNewState & LVIS_STATEIMAGEMASK;
            // A new row gets its first check box picture without the user; that is no change.
            if ((change.uChanged & LVIF_STATE) && oldImage != 0 && oldImage != newImage)
                Run([&] { form_.LstLoadedPlayersChange(change.iItem); });
        }
        return FALSE;
    }

    INT_PTR ContextMenu(HWND control, LPARAM lParam) {
        const int id = GetDlgCtrlID(control);
        if (id != IDC_LSTPLAYERS && id != IDC_LSTLOADEDPLAYERS) return FALSE;
        const POINT at = win32::ContextMenuPoint(control, lParam);
        if (id == IDC_LSTPLAYERS) {
            Run([&] { form_.PopPlayerPopup(); });
            const int chosen = win32::TrackPopup(Handle(), form_.PopPlayer, at);
            if (chosen == TfrmMain::PopPlayerEdit) Run([&] { form_.PopPlayerEditClick(); });
            if (chosen == TfrmMain::PopPlayerDelete) Run([&] { form_.PopPlayerDeleteClick(); });
            if (chosen == TfrmMain::popPlayerResetAll) Run([&] { form_.popPlayerResetAllClick(); });
        } else {
            Run([&] { form_.PopListOptionsPopup(); });
            const int chosen = win32::TrackPopup(Handle(), form_.PopListOptions, at);
            if (chosen == TfrmMain::popLstDelete) Run([&] { form_.popLstDeleteClick(); });
            if (chosen == TfrmMain::popLstDelAll) Run([&] { form_.popLstDelAllClick(); });
            if (chosen == TfrmMain::popCmdLines) Run([&] { form_.popCmdLinesClick(); });
        }
        return TRUE;
    }

    INT_PTR DrawItem(const DRAWITEMSTRUCT& draw) {
        switch (draw.CtlID) {
            case IDC_CHKEXTSAUDIO:
            case IDC_CHKEXTSVIDEO:
            case IDC_CHKDISCS:
                win32::DrawCheckListItem(draw);
                return TRUE;
            case IDC_BANNER:
                DrawBanner(draw);
                return TRUE;
            case IDC_LBLABOUT:
                DrawAbout(draw);
                return TRUE;
            default:
                return FALSE;
        }
    }

    int BannerPixels() const {
        RECT r{};
        GetClientRect(GetDlgItem(Handle(), IDC_BANNER), &r);
        return r.bottom > 0 ? r.bottom : Scale(BannerHeight96);
    }

    void DrawBanner(const DRAWITEMSTRUCT& draw) {
        const RECT r = draw.rcItem;
        PaintBannerBand(draw.hDC, r, 0, r.bottom - r.top);
        const int margin = Scale(10);
        int x = r.left + margin;
        if (banner_) {
            const int size = bannerSize_;
            DrawIconEx(draw.hDC, x, r.top + (r.bottom - r.top - size) / 2, banner_, size, size, 0, nullptr, DI_NORMAL);
            x += size + margin;
        }
        const win32::ScopedSelect font(draw.hDC, titleFont_);
        const win32::ScopedTextColours colours(draw.hDC);
        SetBkMode(draw.hDC, TRANSPARENT);
        SetTextColor(draw.hDC, RGB(255, 255, 255));
        RECT text{x, r.top, r.right, r.bottom};
        DrawTextA(draw.hDC, "Vexamo", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }

    // "About Us..." lies on the banner: it paints its own piece of the banner under its text.
    void DrawAbout(const DRAWITEMSTRUCT& draw) {
        RECT place{};
        GetWindowRect(draw.hwndItem, &place);
        MapWindowPoints(nullptr, GetDlgItem(Handle(), IDC_BANNER), reinterpret_cast<POINT*>(&place), 2);
        PaintBannerBand(draw.hDC, draw.rcItem, place.top, BannerPixels());
        char text[64] = {};
        GetWindowTextA(draw.hwndItem, text, sizeof text);
        const win32::ScopedTextColours colours(draw.hDC);
        SetBkMode(draw.hDC, TRANSPARENT);
        SetTextColor(draw.hDC, IsWindowEnabled(draw.hwndItem) ? RGB(255, 255, 255) : RGB(170, 190, 220));
        RECT r = draw.rcItem;
        DrawTextA(draw.hDC, text, -1, &r, DT_SINGLELINE | DT_RIGHT | DT_VCENTER | DT_NOPREFIX);
        if (draw.itemState & ODS_FOCUS) DrawFocusRect(draw.hDC, &draw.rcItem);
    }

    HINSTANCE instance_;
    TfrmMain& form_;
    std::unique_ptr<ControlMirror> mirror_;
    HICON banner_ = nullptr;
    int bannerSize_ = 0;
    std::vector<HICON> icons_;
    win32::GdiObject<HFONT> boldFont_;
    win32::GdiObject<HFONT> titleFont_;
};

}  // namespace

std::unique_ptr<TfrmMain> CreateFrmMainWindow(HINSTANCE instance, TrayAgent& agent) {
    return std::make_unique<TfrmMain>(
        agent, [instance](TfrmMain& form) { return std::make_unique<FrmMainWindow>(instance, form); });
}

}  // namespace vexamo
