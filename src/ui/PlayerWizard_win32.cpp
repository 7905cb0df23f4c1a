// The real player wizard behind the portable TfrmPlayerWizard; it exists while the wizard is
// shown, modal over the window the user works in.
#include "ui/PlayerWizard.h"

#include "../../resources/resource.h"
#include "platform/win32/Controls_win32.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/ShellDialogs.h"
#include "platform/win32/Window.h"
#include "ui/PlayerWizard_res.h"

namespace vexamo {

namespace {

using Page = TfrmPlayerWizard::Page;

constexpr COLORREF Maroon = RGB(128, 0, 0);
constexpr COLORREF Grey = RGB(128, 128, 128);
constexpr COLORREF WarningRed = RGB(255, 0, 0);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr int SmallIcon = 16, PlayerIcon = 32;
// On the command-line pages the examples' "e.g:" is the page's text 5, their switches 10 and up.
constexpr int ExampleLead = 5, FirstExampleSwitch = 10;

UINT_PTR CALLBACK IconPreviewHook(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == CDN_SELCHANGE) {
        char path[MAX_PATH] = {};
        SendMessageA(GetParent(dialog), CDM_GETFILEPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
        const int size = win32::Scale(PlayerIcon);
        HICON icon = static_cast<HICON>(LoadImageA(nullptr, path, IMAGE_ICON, size, size, LR_LOADFROMFILE));
        const win32::Icon old(reinterpret_cast<HICON>(
            SendDlgItemMessageA(dialog, IDC_WIZARD_ICONPREVIEW, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0)));
    } else if (msg == WM_DESTROY) {
        const win32::Icon old(
            reinterpret_cast<HICON>(SendDlgItemMessageA(dialog, IDC_WIZARD_ICONPREVIEW, STM_SETICON, 0, 0)));
    }
    return 0;
}

class PlayerWizardWindow : public PlayerWizardHost, public win32::Dialog {
public:
    explicit PlayerWizardWindow(TfrmPlayerWizard& wizard) : form_(wizard) {}

    void ShowModal() override { RunModal(IDD_WIZARD, win32::ModalOwner()); }
    void Close() override { EndModal(IDCANCEL); }
    std::string OpenFile(const std::string& filter) override { return win32::OpenFile(Handle(), filter); }
    std::string ChooseIcon(const std::string& filter) override {
        return win32::OpenFile(Handle(), filter, {IDD_WIZARD_ICONPREVIEW, IconPreviewHook});
    }

protected:
    bool InitDialog() override {
        bold_ = win32::BoldFont(win32::DialogFont(Handle()));
        win32::SetFont(Handle(),
                       {IDC_WIZARD_EDSINGLEFILEFLAG, IDC_WIZARD_EDPLAYLISTFLAG, IDC_WIZARD_EDSUBTITLEFLAG,
                        IDC_WIZARD_LBLWARNING, IDC_WIZARD_LBLFINALCMD1, IDC_WIZARD_LBLFINALCMD2,
                        IDC_WIZARD_LBLFINALCMD3, IDC_WIZARD_LBLCMD},
                       bold_);
        black_ = win32::GdiObject<HBRUSH>(CreateSolidBrush(Black));
        white_ = win32::GdiObject<HBRUSH>(CreateSolidBrush(White));
        testIcon_ = win32::LoadIconSized(IDI_WIZARD_TEST, win32::Scale(SmallIcon));
        cmdIcon_ = win32::LoadIconSized(IDI_WIZARD_CMD, win32::Scale(SmallIcon));
        SendDlgItemMessageA(Handle(), IDC_WIZARD_TESTICON, STM_SETICON, reinterpret_cast<WPARAM>(testIcon_.get()), 0);
        SendDlgItemMessageA(Handle(), IDC_WIZARD_CMDICON, STM_SETICON, reinterpret_cast<WPARAM>(cmdIcon_.get()), 0);

        TfrmPlayerWizard& f = form_;
        win32::ControlMirror& m = Mirror();
        m.BindCaption(f.Caption);
        for (int p = 0; p < Page::PageCount; ++p)
            for (int k = 0; k < WIZARD_PAGETEXTS_PER_PAGE; ++k)
                m.BindFixed({IDC_WIZARD_PAGETEXT + p * WIZARD_PAGETEXTS_PER_PAGE + k}, f.Pages[p]);
        m.Bind(IDC_WIZARD_EDPLAYERNAME, f.edPlayerName);
        m.Bind(IDC_WIZARD_IMGICON, f.ImgIcon, IDI_APP, PlayerIcon);
        m.Bind(IDC_WIZARD_BUTTON1, f.Button1);
        m.Bind(IDC_WIZARD_LBLICON, f.LblIcon);
        m.Bind(IDC_WIZARD_BTPLAYER, f.btPlayer);
        m.Bind(IDC_WIZARD_EDSINGLEFILEFLAG, f.edSingleFileFlag);
        m.Bind(IDC_WIZARD_EDPLAYLISTFLAG, f.edPlaylistFlag);
        m.Bind(IDC_WIZARD_EDSUBTITLEFLAG, f.edSubtitleFlag);
        m.Bind({IDC_WIZARD_RDPLAYLISTYES, IDC_WIZARD_RDPLAYLISTNO}, f.RdPlaylist);
        m.Bind(IDC_WIZARD_CBOPLAYLIST, f.cboPlaylist);
        m.Bind({IDC_WIZARD_RDSUBSSUPPORTYES, IDC_WIZARD_RDSUBSSUPPORTNO}, f.RdSubsSupport);
        m.Bind(IDC_WIZARD_LBLFINALPLAYERNAME, f.LblFinalPlayerName);
        m.Bind(IDC_WIZARD_IMGFINALICON, f.ImgFinalIcon, IDI_APP, PlayerIcon);
        m.Bind(IDC_WIZARD_LBLPLAYLISTEXT, f.LblPlaylistExt);
        m.Bind(IDC_WIZARD_LBLFINALCMD1, f.LblFinalCmd1);
        m.Bind(IDC_WIZARD_LBLFINALCMD2, f.LblFinalCmd2);
        m.Bind(IDC_WIZARD_LBLFINALCMD3, f.LblFinalCmd3);
        m.Bind(IDC_WIZARD_LBLWARNING, f.lblWarning);
        m.BindFixed({IDC_WIZARD_TESTICON}, f.PanelTest);
        m.Bind(IDC_WIZARD_BTTEST, f.btTest);
        m.BindFixed({IDC_WIZARD_BUTTONBAR}, f.ButtonBar);
        m.Bind(IDCANCEL, f.btCancel);
        m.Bind(IDC_WIZARD_BTBACK, f.btBack);
        m.Bind(IDOK, f.btNext);
        m.BindFixed({IDC_WIZARD_BROWSETEXT}, f.PageEmulator);
        m.BindFixed({IDC_WIZARD_FILETEXT}, f.EmulatorPages[0]);
        m.BindFixed({IDC_WIZARD_PLAYLISTTEXT}, f.EmulatorPages[1]);
        m.BindFixed({IDC_WIZARD_FILE2TEXT, IDC_WIZARD_SUBTITLETEXT}, f.EmulatorPages[2]);
        m.Bind(IDC_WIZARD_BTOPENFILE, f.btOpenFile);
        m.Bind(IDC_WIZARD_BTPLAYLIST, f.btPlaylist);
        m.Bind(IDC_WIZARD_BTFILE2, f.btFile2);
        m.Bind(IDC_WIZARD_BTSUBTITLE, f.btSubtitle);
        m.BindFixed({IDC_WIZARD_PANELCMD, IDC_WIZARD_CMDICON}, f.PanelCmd);
        m.Bind(IDC_WIZARD_LBLCMD, f.LblCmd);
        m.Bind(IDC_WIZARD_BTEXECUTE, f.btExecute);

        OnClick(IDOK, [&f] { f.DialogKey(TDialogKey::Enter); });
        OnClick(IDCANCEL, [&f] { f.DialogKey(TDialogKey::Escape); });
        OnClick(IDC_WIZARD_BTBACK, [&f] { f.btBackClick(); });
        OnClick(IDC_WIZARD_BUTTON1, [&f] { f.btIconClick(); });
        OnClick(IDC_WIZARD_BTPLAYER, [&f] { f.btPlayerClick(); });
        OnClick(IDC_WIZARD_BTTEST, [&f] { f.btTestClick(); });
        OnClick(IDC_WIZARD_BTEXECUTE, [&f] { f.btExecuteClick(); });
        OnClick(IDC_WIZARD_BTOPENFILE, [&f] { f.btOpenFileClick(); });
        OnClick(IDC_WIZARD_BTPLAYLIST, [&f] { f.btPlaylistClick(); });
        OnClick(IDC_WIZARD_BTFILE2, [&f] { f.btFile2Click(); });
        OnClick(IDC_WIZARD_BTSUBTITLE, [&f] { f.btSubtitleClick(); });
        On(IDC_WIZARD_EDPLAYERNAME, EN_CHANGE, [&f] { f.edPlayerNameChange(); });
        // Leaving a box for another control of the wizard, not for another window.
        On(IDC_WIZARD_EDPLAYERNAME, EN_KILLFOCUS, [this, &f] {
            if (IsChild(Handle(), GetFocus())) f.edPlayerNameExit();
        });
        On(IDC_WIZARD_CBOPLAYLIST, CBN_KILLFOCUS, [this, &f] {
            if (IsChild(Handle(), GetFocus())) f.cboPlaylistExit();
        });
        On(IDC_WIZARD_CBOPLAYLIST, CBN_SELCHANGE, [] {});  // only the choice, into the record
        On(IDC_WIZARD_EDSINGLEFILEFLAG, EN_CHANGE, [&f] { f.edSingleFileFlagChange(); });
        On(IDC_WIZARD_EDPLAYLISTFLAG, EN_CHANGE, [&f] { f.edPlaylistFlagChange(); });
        On(IDC_WIZARD_EDSUBTITLEFLAG, EN_CHANGE, [&f] { f.edSubtitleFlagChange(); });
        OnClick(IDC_WIZARD_RDPLAYLISTYES, [&f] { f.RadioClicked(f.RdPlaylist, 0); });
        OnClick(IDC_WIZARD_RDPLAYLISTNO, [&f] { f.RadioClicked(f.RdPlaylist, 1); });
        OnClick(IDC_WIZARD_RDSUBSSUPPORTYES, [&f] { f.RadioClicked(f.RdSubsSupport, 0); });
        OnClick(IDC_WIZARD_RDSUBSSUPPORTNO, [&f] { f.RadioClicked(f.RdSubsSupport, 1); });
        return true;
    }

    // The height with or without the test area, and the keyboard on the page.
    void Shown() override {
        if (shownHeight_ != form_.Height) {
            shownHeight_ = form_.Height;
            Resize(form_.Height == WizardTestHeight ? WIZARD_TEST_CLIENT_HEIGHT : WIZARD_CLIENT_HEIGHT);
        }
        if (shownPage_ != form_.PageControl.ActivePage) {
            shownPage_ = form_.PageControl.ActivePage;
            FocusPage(shownPage_);
        }
    }

    std::optional<INT_PTR> Message(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_CLOSE:
                // The close box cancels the wizard, also while the test area is open.
                Run([&] { form_.btCancelClick(); });
                return TRUE;
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORSTATIC:
                return Colour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), msg);
            case WM_DRAWITEM: {
                const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
                if (item.CtlID != IDC_WIZARD_BANNER) return std::nullopt;
                // Stretched proportionally to the banner's height; what does not fit is cut on the right.
                const int h = item.rcItem.bottom - item.rcItem.top;
                if (banner_) banner_.Draw(item.hDC, item.rcItem.left, item.rcItem.top, MulDiv(banner_.Width(), h, banner_.Height()), h);
                return TRUE;
            }
            default:
                return std::nullopt;
        }
    }

private:
    INT_PTR Colour(HDC dc, HWND control, UINT msg) {
        const int id = GetDlgCtrlID(control);
        if (msg == WM_CTLCOLOREDIT) {
            if (id != IDC_WIZARD_EDSINGLEFILEFLAG && id != IDC_WIZARD_EDPLAYLISTFLAG && id != IDC_WIZARD_EDSUBTITLEFLAG)
                return FALSE;
            SetTextColor(dc, White);
            SetBkColor(dc, Black);
            return reinterpret_cast<INT_PTR>(black_.get());
        }
        if (id == IDC_WIZARD_LBLFINALPLAYERNAME || id == IDC_WIZARD_LBLPLAYLISTEXT) {
            SetBkColor(dc, White);
            return reinterpret_cast<INT_PTR>(white_.get());
        }
        const int page = (id - IDC_WIZARD_PAGETEXT) / WIZARD_PAGETEXTS_PER_PAGE;
        const int k = (id - IDC_WIZARD_PAGETEXT) % WIZARD_PAGETEXTS_PER_PAGE;
        const bool example = id >= IDC_WIZARD_PAGETEXT &&
                             (page == Page::TabSingle || page == Page::TabPlaylist || page == Page::TabSubs);
        COLORREF text;
        if (id == IDC_WIZARD_LBLWARNING)
            text = WarningRed;
        else if (example && k >= FirstExampleSwitch)
            text = Maroon;
        else if (example && k == ExampleLead)
            text = Grey;
        else
            return FALSE;
        SetTextColor(dc, text);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }

    // The template is laid out in dialog units, so the window grows with the dialog font and DPI.
    void Resize(int clientHeightDlu) {
        RECT r{0, 0, WIZARD_CLIENT_WIDTH, clientHeightDlu};
        MapDialogRect(Handle(), &r);
        AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)));
        SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // The keyboard follows the page: the command line on its pages, else the page's first control.
    void FocusPage(int page) {
        int id = IDOK;
        switch (page) {
            case Page::TabPlayerLocation: id = IDC_WIZARD_EDPLAYERNAME; break;
            case Page::TabSingle: id = IDC_WIZARD_EDSINGLEFILEFLAG; break;
            case Page::TabPlaylist: id = IDC_WIZARD_EDPLAYLISTFLAG; break;
            case Page::TabSubs: id = IDC_WIZARD_EDSUBTITLEFLAG; break;
            case Page::TabPlaylistSup:
                id = form_.RdPlaylist.ItemIndex == 1 ? IDC_WIZARD_RDPLAYLISTNO : IDC_WIZARD_RDPLAYLISTYES;
                break;
            case Page::TabSubsSup:
                id = form_.RdSubsSupport.ItemIndex == 1 ? IDC_WIZARD_RDSUBSSUPPORTNO : IDC_WIZARD_RDSUBSSUPPORTYES;
                break;
            default: break;
        }
        // Posted: the focus moves once the handler that changed the page has finished.
        PostMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
    }

    TfrmPlayerWizard& form_;
    int shownHeight_ = 0;
    int shownPage_ = -1;
    win32::Font bold_;
    win32::GdiObject<HBRUSH> black_, white_;
    win32::Icon testIcon_, cmdIcon_;
    win32::Picture banner_{IDR_WIZARD_BANNER};
};

}  // namespace

std::unique_ptr<PlayerWizardHost> PlayerWizardBinding(TfrmPlayerWizard& wizard) {
    return std::make_unique<PlayerWizardWindow>(wizard);
}

}  // namespace vexamo
