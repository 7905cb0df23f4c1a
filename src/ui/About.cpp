#include "ui/About.h"
#include "ui/About_res.h"

#include <memory>

#include "../../resources/Version.h"
#include "app/Globals.h"
#include "platform/Dispatch.h"
#include "platform/Mirror.h"
#include "platform/Platform.h"

namespace vexamo {

TAboutBox::TAboutBox(const AboutBoxHostFactory& makeHost) {
    lblVexamo.Caption = "Homepage";
    lblLinkSupport.Caption = SupportAddress;
    lblUrl.Caption = MakerAddress;
    OKButton.Caption = "&OK";
    lblVexamo.OnClick = [this] { lblVexamoClick(); };
    lblLinkSupport.OnClick = [this] { lblLinkSupportClick(); };
    lblUrl.OnClick = [this] { lblUrlClick(); };
    OKButton.OnClick = [this] { OKButtonClick(); };
    if (makeHost) host_ = makeHost(*this);
}

TAboutBox::~TAboutBox() = default;

int TAboutBox::ShowModal() {
    return ShowModalBetween([&] { FormCreate(); }, [&] { return host_ ? host_->ShowModal() : ModalCancel; },
                            [&] { FormClose(); });
}

// The version resource is made from the same header, so the box and the file's properties agree.
void TAboutBox::BindControls(RecordMirror& m) {
    m.BindCaption(Caption);
    m.Bind(IDC_ABOUT_LBLVERSION, lblVersion);
    m.BindLink(IDC_ABOUT_LBLVEXAMO, lblVexamo);
    m.BindLink(IDC_ABOUT_LBLLINKSUPPORT, lblLinkSupport);
    m.BindLink(IDC_ABOUT_LBLURL, lblUrl);
    m.Bind(IdOk, OKButton);
}

void TAboutBox::FormCreate() { lblVersion.Caption = "V." VEXAMO_VERSION_TEXT; }

// A link the shell cannot open (no browser, no mail program) simply does nothing.
void TAboutBox::lblVexamoClick() { Sys().ShellOpen(HomePageAddress, ""); }

void TAboutBox::lblUrlClick() { Sys().ShellOpen(lblUrl.Caption, ""); }

// A bare address means nothing to the shell; as a mailto: link it opens the user's mail program.
void TAboutBox::lblLinkSupportClick() { Sys().ShellOpen("mailto:" + lblLinkSupport.Caption, ""); }

void TAboutBox::OKButtonClick() {
    if (host_) host_->Close(ModalOk);
}

void TAboutBox::DialogKey(TDialogKey key) {
    if (key == TDialogKey::Escape && host_) host_->Close(ModalCancel);
}

void TAboutBox::FormClose() {
    std::unique_ptr<TAboutBox> self;
    if (Globals.AboutBox.get() == this) self = std::move(Globals.AboutBox);
    Dispatch::Release(std::move(self));
}

}  // namespace vexamo
