#include "ui/Settings_win32.h"

#include <commctrl.h>
#include <shlobj.h>
#include <uxtheme.h>

#include "../../resources/resource.h"
#include "platform/win32/Controls_win32.h"
#include "platform/win32/ScopedGdi.h"
#include "platform/win32/Window.h"
#include "ui/OptionsDialogs.h"

namespace vexamo {

namespace {

// The modal window goes on top of the window the user opened it from; the tray's hidden window
// would only hide it from the taskbar.
HWND OwnerOfModal() {
    HWND active = GetActiveWindow();
    return active && IsWindowVisible(active) ? active : nullptr;
}

int CALLBACK PreselectFolder(HWND chooser, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data) SendMessageA(chooser, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

class OptionsDialog : public FrmOptionsHost, public win32::Dialog {
public:
    OptionsDialog(HINSTANCE instance, TFrmOptions& form) : instance_(instance), form_(form) {}
    ~OptionsDialog() override {
        if (icon_) DestroyIcon(icon_);
        if (small_) DestroyIcon(small_);
    }

    int ShowModal(TFrmOptions&) override {
        return static_cast<int>(RunModal(instance_, IDD_OPTIONS, OwnerOfModal()));
    }

    void Close(TFrmOptions&, int modalResult) override { EndModal(modalResult); }

    std::optional<std::string> ChooseFolder(const std::string& title, const std::string& preselected) override {
        const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const DWORD attributes = GetFileAttributesA(preselected.c_str());
        const bool exists = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        BROWSEINFOA info{};
        info.hwndOwner = Handle();
        info.pidlRoot = nullptr;  // the whole shell namespace
        info.lpszTitle = title.c_str();
        info.ulFlags = BIF_RETURNONLYFSDIRS;
        info.lpfn = PreselectFolder;
        info.lParam = exists ? reinterpret_cast<LPARAM>(preselected.c_str()) : 0;
        std::optional<std::string> chosen;
        if (LPITEMIDLIST item = SHBrowseForFolderA(&info)) {
            char path[MAX_PATH] = {};
            if (SHGetPathFromIDListA(item, path)) chosen = path;
            CoTaskMemFree(item);
        }
        if (SUCCEEDED(com)) CoUninitialize();
        return chosen;
    }

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_INITDIALOG:
                Prepare();
                mirror_->Put();
                return TRUE;
            case WM_COMMAND:
                if (mirror_ && !mirror_->Putting() &&
                    (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == CBN_SELCHANGE)) {
                    Command(LOWORD(wParam));
                    return TRUE;
                }
                break;
            case WM_DRAWITEM: {
                const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
                if (draw.CtlID != IDC_OPT_DRIVES) break;
                win32::DrawCheckListItem(draw);
                return TRUE;
            }
            case WM_CTLCOLORSTATIC: {
                // Every label and box lies on the page, whose body a visual style draws in the
                // window colour; without one it is the dialog's own face.
                HDC dc = reinterpret_cast<HDC>(wParam);
                const int colour = IsAppThemed() && IsThemeActive() ? COLOR_WINDOW : COLOR_BTNFACE;
                SetBkColor(dc, GetSysColor(colour));
                return reinterpret_cast<INT_PTR>(GetSysColorBrush(colour));
            }
            default:
                break;
        }
        return FALSE;
    }

private:
    void Prepare() {
        HWND dialog = Handle();
        SetWindowTextA(dialog, form_.Caption.c_str());
        icon_ = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
        SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
        SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

        TCITEMA page{};
        page.mask = TCIF_TEXT;
        char general[] = "General";
        page.pszText = general;
        SendDlgItemMessageA(dialog, IDC_OPT_PAGES, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&page));

        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
        font.lfWeight = FW_BOLD;
        bold_ = win32::GdiObject<HFONT>(CreateFontIndirectA(&font));
        for (int id : {IDC_OPT_HEAD_MONITOR, IDC_OPT_HEAD_WINDOWS, IDC_OPT_HEAD_SUBTITLES, IDC_OPT_HEAD_NOTE})
            SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()), FALSE);
        // The decorative icons: the program's own picture beside each section.
        small_ = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
        for (int id : {IDC_OPT_ICON_MONITOR, IDC_OPT_ICON_WINDOWS, IDC_OPT_ICON_SUBTITLES})
            SendDlgItemMessageA(dialog, id, STM_SETICON, reinterpret_cast<WPARAM>(small_), 0);

        mirror_ = std::make_unique<win32::ControlMirror>(dialog);
        win32::ControlMirror& m = *mirror_;
        m.Bind(IDC_OPT_DRIVES_USER, form_.Settings_DrivesUser);
        m.Bind(IDC_OPT_DRIVES, form_.Settings_cbDrives);
        m.Bind(IDC_OPT_DRIVES_ALL, form_.Settings_DrivesAll);
        m.Bind(IDC_OPT_MONITOR_DEFAULT, form_.rdMonitorDefault);
        m.Bind(IDC_OPT_MONITOR_ON, form_.rdMonitorOn);
        m.Bind(IDC_OPT_ONPLAY_MIN, form_.rdOnPlayMin);
        m.Bind(IDC_OPT_ONPLAY_CLOSE, form_.rdOnPlayClose);
        m.Bind(IDC_OPT_CDAUTORUN, form_.Settings_CDAutorun);
        m.Bind(IDC_OPT_STARTUP, form_.Settings_Startup);
        m.Bind(IDC_OPT_USESUBS, form_.Settings_UseSubs);
        m.Bind(IDC_OPT_SUBS_EXTS, form_.lblSubtitles);
        m.Bind(IDC_OPT_SUBS_PATH, form_.Settings_SubsPath);
        m.Bind(IDC_OPT_NONE, form_.btNone);
        m.Bind(IDC_OPT_SUBS_FOLDER, form_.LblSubsFolder);
        m.Bind(IDOK, form_.btOk);
        m.Bind(IDCANCEL, form_.btCancel);

        win32::SizeClientAndCentre(dialog, 526, 400);
    }

    void Command(int id) {
        mirror_->Take();
        switch (id) {
            case IDOK: form_.btOkClick(); return;  // the window may be closing: show nothing more
            case IDCANCEL: form_.btCancelClick(); return;
            case IDC_OPT_DRIVES_USER: form_.Settings_DrivesUserClick(); break;
            case IDC_OPT_DRIVES_ALL: form_.Settings_DrivesAllClick(); break;
            case IDC_OPT_MONITOR_DEFAULT: form_.rdMonitorDefaultClick(); break;
            case IDC_OPT_MONITOR_ON: form_.rdMonitorOnClick(); break;
            case IDC_OPT_ONPLAY_MIN: form_.rdOnPlayMinClick(); break;
            case IDC_OPT_ONPLAY_CLOSE: form_.rdOnPlayCloseClick(); break;
            case IDC_OPT_SUBS_PATH: form_.Settings_SubsPathClick(); break;
            case IDC_OPT_NONE: form_.btNoneClick(); break;
            default: break;
        }
        mirror_->Put();
    }

    HINSTANCE instance_;
    TFrmOptions& form_;
    std::unique_ptr<win32::ControlMirror> mirror_;
    HICON icon_ = nullptr;
    HICON small_ = nullptr;
    win32::GdiObject<HFONT> bold_;
};

// The portable window with its real window: freeing one frees the other.
class OptionsWindow : public TFrmOptions {
public:
    OptionsWindow(HINSTANCE instance, TrayAgent& tray) : TFrmOptions(tray, &dialog_), dialog_(instance, *this) {}
    ~OptionsWindow() override = default;

private:
    OptionsDialog dialog_;
};

}  // namespace

std::unique_ptr<TFrmOptions> CreateOptionsWindow(HINSTANCE instance, TrayAgent& tray) {
    return std::make_unique<OptionsWindow>(instance, tray);
}

}  // namespace vexamo
