// The real about box behind the portable TAboutBox.
#include "ui/About.h"

#include "../../resources/resource.h"
#include "platform/win32/Controls_win32.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/Window.h"
#include "ui/About_res.h"

namespace vexamo {

namespace {

constexpr int ClientWidth = 460, ClientHeight = 214;
constexpr COLORREF SupportGrey = RGB(128, 128, 128);

class AboutDialog : public AboutBoxHost, public win32::Dialog {
public:
    explicit AboutDialog(TAboutBox& box) : box_(box) {}

    int ShowModal() override { return static_cast<int>(RunModal(IDD_ABOUT, win32::ModalOwner())); }
    void Close(int modalResult) override { EndModal(modalResult); }

protected:
    bool InitDialog() override {
        HWND dialog = Handle();
        win32::ControlMirror& m = Mirror();
        m.BindCaption(box_.Caption);
        m.Bind(IDC_ABOUT_LBLVERSION, box_.lblVersion);
        m.BindLink(IDC_ABOUT_LBLVEXAMO, box_.lblVexamo);
        m.BindLink(IDC_ABOUT_LBLLINKSUPPORT, box_.lblLinkSupport);
        m.BindLink(IDC_ABOUT_LBLURL, box_.lblUrl);
        m.Bind(IDOK, box_.OKButton);
        OnClick(IDOK, [this] { box_.OKButtonClick(); });
        OnClick(IDCANCEL, [this] { box_.DialogKey(TDialogKey::Escape); });
        OnClick(IDC_ABOUT_LBLVEXAMO, [this] { box_.lblVexamoClick(); });
        OnClick(IDC_ABOUT_LBLURL, [this] { box_.lblUrlClick(); });
        OnClick(IDC_ABOUT_LBLLINKSUPPORT, [this] { box_.lblLinkSupportClick(); });

        bold_ = win32::BoldFont(win32::DialogFont(dialog));
        link_ = win32::BoldFont(win32::DialogFont(dialog), true);
        win32::SetFont(dialog, {IDC_ABOUT_HOMELABEL, IDC_ABOUT_SUPPORTLABEL}, bold_);
        win32::SetFont(dialog, {IDC_ABOUT_LBLVEXAMO, IDC_ABOUT_LBLLINKSUPPORT, IDC_ABOUT_LBLURL}, link_);
        win32::SizeClientAndCentre(dialog, ClientWidth, ClientHeight);
        return true;
    }

    std::optional<INT_PTR> Message(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_CTLCOLORSTATIC: {
                HDC dc = reinterpret_cast<HDC>(wParam);
                HWND control = reinterpret_cast<HWND>(lParam);
                const INT_PTR brush = Mirror().CtlColorStatic(dc, control);
                // The support address is the one grey link.
                if (brush && GetDlgCtrlID(control) == IDC_ABOUT_LBLLINKSUPPORT) SetTextColor(dc, SupportGrey);
                return brush;
            }
            case WM_DRAWITEM: {
                const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
                if (item.CtlID == IDC_ABOUT_PRODUCT) product_.DrawFitted(item.hDC, item.rcItem);
                else if (item.CtlID == IDC_ABOUT_MAKER) maker_.DrawFitted(item.hDC, item.rcItem);
                else return std::nullopt;
                return TRUE;
            }
            default:
                return std::nullopt;
        }
    }

private:
    TAboutBox& box_;
    win32::Picture product_{IDR_ABOUT_PRODUCT}, maker_{IDR_ABOUT_MAKER};
    win32::Font bold_, link_;
};

}  // namespace

std::unique_ptr<AboutBoxHost> AboutBoxBinding(TAboutBox& box) { return std::make_unique<AboutDialog>(box); }

}  // namespace vexamo
