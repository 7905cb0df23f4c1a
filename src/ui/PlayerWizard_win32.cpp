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
constexpr int SmallIcon = 16;
// On the command-line pages the examples' "e.g:" is the page's text 5, their switches 10 and up.
constexpr int ExampleLead = 5, FirstExampleSwitch = 10;

// The icon of the file selected now; what the preview showed before is freed.
UINT_PTR CALLBACK IconPreviewHook(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
    const bool selected = msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == CDN_SELCHANGE;
    if (!selected && msg != WM_DESTROY) return 0;
    const HICON icon =
        selected ? win32::LoadIconFile(win32::DialogFilePath(dialog), win32::Scale(TfrmPlayerWizard::IconSize)).release() : nullptr;
    const win32::Icon old(reinterpret_cast<HICON>(
        SendDlgItemMessageA(dialog, IDC_WIZARD_ICONPREVIEW, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0)));
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
        Embolden({IDC_WIZARD_EDSINGLEFILEFLAG, IDC_WIZARD_EDPLAYLISTFLAG, IDC_WIZARD_EDSUBTITLEFLAG, IDC_WIZARD_LBLWARNING,
                  IDC_WIZARD_LBLFINALCMD1, IDC_WIZARD_LBLFINALCMD2, IDC_WIZARD_LBLFINALCMD3, IDC_WIZARD_LBLCMD});
        ShowIcon(IDC_WIZARD_TESTICON, IDI_WIZARD_TEST, win32::Scale(SmallIcon));
        ShowIcon(IDC_WIZARD_CMDICON, IDI_WIZARD_CMD, win32::Scale(SmallIcon));
        Colour({IDC_WIZARD_EDSINGLEFILEFLAG, IDC_WIZARD_EDPLAYLISTFLAG, IDC_WIZARD_EDSUBTITLEFLAG}, White, Black);
        Colour({IDC_WIZARD_LBLFINALPLAYERNAME, IDC_WIZARD_LBLPLAYLISTEXT}, std::nullopt, White);
        Colour({IDC_WIZARD_LBLWARNING}, WarningRed);
        // The command-line pages' examples: their "e.g:" grey, their switches maroon.
        for (int page : {Page::TabSingle, Page::TabPlaylist, Page::TabSubs}) {
            const int first = IDC_WIZARD_PAGETEXT + page * WIZARD_PAGETEXTS_PER_PAGE;
            Colour({first + ExampleLead}, Grey);
            for (int k = FirstExampleSwitch; k < WIZARD_PAGETEXTS_PER_PAGE; ++k) Colour({first + k}, Maroon);
        }
        OnDraw(IDC_WIZARD_BANNER, [this](const DRAWITEMSTRUCT& item) {
            // Stretched proportionally to the banner's height; what does not fit is cut on the right.
            const int h = item.rcItem.bottom - item.rcItem.top;
            if (banner_) banner_.Draw(item.hDC, item.rcItem.left, item.rcItem.top, MulDiv(banner_.Width(), h, banner_.Height()), h);
        });

        form_.BindControls(Mirror());
        OnDialogKey([this](TDialogKey key, const TControl*) { form_.DialogKey(key); });
        return true;
    }

    // The height with or without the test area, and the keyboard on the page.
    void Shown() override {
        if (shownHeight_ != form_.Height) {
            shownHeight_ = form_.Height;
            // The template is laid out in dialog units, so the window grows with the dialog font and DPI.
            RECT r{0, 0, WIZARD_CLIENT_WIDTH, form_.Height == WizardTestHeight ? WIZARD_TEST_CLIENT_HEIGHT : WIZARD_CLIENT_HEIGHT};
            MapDialogRect(Handle(), &r);
            const RECT frame = win32::FrameFor(Handle(), r.right, r.bottom);
            SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (shownPage_ != form_.PageControl.ActivePage) {
            shownPage_ = form_.PageControl.ActivePage;
            // Posted: the focus moves once the handler that changed the page has finished.
            PostMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Mirror().HandleOf(form_.PageFocus())), TRUE);
        }
    }

    std::optional<INT_PTR> Message(UINT msg, WPARAM, LPARAM) override {
        if (msg != WM_CLOSE) return std::nullopt;
        // The close box cancels the wizard, also while the test area is open.
        Run([&] { form_.btCancelClick(); });
        return TRUE;
    }

private:
    TfrmPlayerWizard& form_;
    int shownHeight_ = 0;
    int shownPage_ = -1;
    win32::Picture banner_{IDR_WIZARD_BANNER};
};

}  // namespace

std::unique_ptr<PlayerWizardHost> PlayerWizardBinding(TfrmPlayerWizard& wizard) {
    return std::make_unique<PlayerWizardWindow>(wizard);
}

}  // namespace vexamo
