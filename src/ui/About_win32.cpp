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
        box_.BindControls(Mirror());
        OnDialogKey([this](TDialogKey key, const TControl*) { box_.DialogKey(key); });
        // The support address is the one grey link.
        Colour({IDC_ABOUT_LBLLINKSUPPORT}, SupportGrey);
        OnDraw(IDC_ABOUT_PRODUCT, [this](const DRAWITEMSTRUCT& item) { product_.DrawFitted(item.hDC, item.rcItem); });
        OnDraw(IDC_ABOUT_MAKER, [this](const DRAWITEMSTRUCT& item) { maker_.DrawFitted(item.hDC, item.rcItem); });

        Embolden({IDC_ABOUT_HOMELABEL, IDC_ABOUT_SUPPORTLABEL});
        link_ = win32::BoldFont(win32::DialogFont(Handle()), true);
        win32::SetFont(Handle(), {IDC_ABOUT_LBLVEXAMO, IDC_ABOUT_LBLLINKSUPPORT, IDC_ABOUT_LBLURL}, link_);
        win32::SizeClientAndCentre(Handle(), ClientWidth, ClientHeight);
        return true;
    }

private:
    TAboutBox& box_;
    win32::Picture product_{IDR_ABOUT_PRODUCT}, maker_{IDR_ABOUT_MAKER};
    win32::Font link_;
};

}  // namespace

std::unique_ptr<AboutBoxHost> AboutBoxBinding(TAboutBox& box) { return std::make_unique<AboutDialog>(box); }

}  // namespace vexamo
