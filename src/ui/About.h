// The about box: the program's version and the links to its home page, its maker and support.
#pragma once

#include <memory>
#include <string>

#include "platform/Controls.h"

namespace vexamo {

class RecordMirror;
class TAboutBox;

// What the window binding does for the portable window.
class AboutBoxHost {
public:
    virtual ~AboutBoxHost() = default;
    // Shows the box modally; returns when it closed, with the modal result.
    virtual int ShowModal() = 0;
    virtual void Close(int modalResult) = 0;
};
using AboutBoxHostFactory = HostFactory<TAboutBox, AboutBoxHost>;

inline const std::string HomePageAddress = "https://vexamo.example.com/";
inline const std::string MakerAddress = "https://www.example.com/";
inline const std::string SupportAddress = "support@vexamo.example.com";

class TAboutBox {
public:
    explicit TAboutBox(const AboutBoxHostFactory& makeHost = {});
    ~TAboutBox();
    TAboutBox(const TAboutBox&) = delete;
    TAboutBox& operator=(const TAboutBox&) = delete;

    std::string Caption = "About";
    TLabel lblVersion;
    TLabel lblVexamo;
    TLabel lblLinkSupport;
    TLabel lblUrl;
    TButton OKButton;

    // Shows the box modally and frees it when it closes; returns the modal result. Nothing of the
    // box may be touched after it returns.
    int ShowModal();

    // Ties the records to the controls of the box's template.
    void BindControls(RecordMirror& m);
    void FormCreate();
    void lblVexamoClick();
    void lblUrlClick();
    void lblLinkSupportClick();
    void OKButtonClick();
    // Escape and the close box close the box as cancelled.
    void DialogKey(TDialogKey key);
    // Frees the box and empties the reference through which the tray sees that one is open.
    void FormClose();

private:
    std::unique_ptr<AboutBoxHost> host_;
};

}  // namespace vexamo
