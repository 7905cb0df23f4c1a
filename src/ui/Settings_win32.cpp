// The real options window behind the portable TFrmOptions.
#include "../../resources/resource.h"
#include "platform/win32/Controls_win32.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/ShellDialogs.h"
#include "platform/win32/Window.h"
#include "ui/Settings.h"
#include "ui/Settings_res.h"
#include <uxtheme.h>

namespace vexamo {

namespace {

constexpr int ClientWidth = 526, ClientHeight = 400;

class OptionsDialog : public FrmOptionsHost, public win32::Dialog {
public:
    explicit OptionsDialog(TFrmOptions& form) : form_(form) {}

    int ShowModal() override { return static_cast<int>(RunModal(IDD_OPTIONS, win32::ModalOwner())); }
    void Close(int modalResult) override { EndModal(modalResult); }
    std::optional<std::string> ChooseFolder(const std::string& title, const std::string& preselected) override {
        return win32::ChooseFolder(Handle(), title, preselected);
    }

protected:
    bool InitDialog() override {
        HWND dialog = Handle();
        icon_ = win32::LoadIconSized(IDI_APP, GetSystemMetrics(SM_CXICON));
        SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
        SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
        TCITEMA page{};
        page.mask = TCIF_TEXT;
        char general[] = "General";
        page.pszText = general;
        SendDlgItemMessageA(dialog, IDC_OPTIONS_PAGES, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&page));
        Embolden({IDC_OPTIONS_HEADMONITOR, IDC_OPTIONS_HEADWINDOWS, IDC_OPTIONS_HEADSUBTITLES, IDC_OPTIONS_HEADNOTE});
        // The decorative icons: the program's own picture beside each section.
        for (int id : {IDC_OPTIONS_ICONMONITOR, IDC_OPTIONS_ICONWINDOWS, IDC_OPTIONS_ICONSUBTITLES})
            ShowIcon(id, IDI_APP, GetSystemMetrics(SM_CXSMICON));

        form_.BindControls(Mirror());
        win32::SizeClientAndCentre(dialog, ClientWidth, ClientHeight);
        return true;
    }

    std::optional<INT_PTR> Message(UINT msg, WPARAM wParam, LPARAM) override {
        if (msg != WM_CTLCOLORSTATIC) return std::nullopt;
        // Every label and box lies on the page, whose body a visual style draws in the window
        // colour; without one it is the dialog's own face.
        const int colour = IsAppThemed() && IsThemeActive() ? COLOR_WINDOW : COLOR_BTNFACE;
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(colour));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(colour));
    }

private:
    TFrmOptions& form_;
    win32::Icon icon_;
};

}  // namespace

std::unique_ptr<FrmOptionsHost> OptionsBinding(TFrmOptions& form) { return std::make_unique<OptionsDialog>(form); }

}  // namespace vexamo
