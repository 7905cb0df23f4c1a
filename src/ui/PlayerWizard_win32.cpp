#include "ui/PlayerWizard_win32.h"

#include <commdlg.h>

#include <map>
#include <vector>

#include "../../resources/resource.h"
#include "platform/Jpeg.h"
#include "platform/win32/Controls_win32.h"
#include "platform/win32/ScopedGdi.h"
#include "platform/win32/Window.h"
#include "ui/PlayerWizard_res.h"

namespace vexamo {

namespace {

using win32::GdiObject;

// --- What the shared control mirror does not cover --------------------------------------------
// The page's fixed texts, the radio groups, the pictures and the command-line boxes, whose caret
// must stay where the user typed. Each call writes only what differs.

std::string ControlText(HWND control) {
    const int n = GetWindowTextLengthA(control);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    GetWindowTextA(control, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    return text;
}

void MirrorState(HWND control, bool enabled, bool visible) {
    if (!control) return;
    if ((IsWindowEnabled(control) != FALSE) != enabled) EnableWindow(control, enabled);
    // The control's own flag: IsWindowVisible also answers false while the dialog is not shown yet.
    const bool shown = (GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != visible) ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
}

// An edit box keeps its caret where the user typed when the text it gets back has the same
// length (a tag's spelling corrected), else the caret goes where the change began.
void MirrorEdit(HWND control, const TEdit& record, bool onPage) {
    if (!control) return;
    if (ControlText(control) != record.Text) {
        DWORD start = 0, end = 0;
        SendMessageA(control, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        const size_t before = static_cast<size_t>(GetWindowTextLengthA(control));
        SetWindowTextA(control, record.Text.c_str());
        if (before != record.Text.size()) start = end = static_cast<DWORD>(std::min<size_t>(start, record.Text.size()));
        SendMessageA(control, EM_SETSEL, start, end);
    }
    if (record.MaxLength > 0) SendMessageA(control, EM_LIMITTEXT, static_cast<WPARAM>(record.MaxLength), 0);
    MirrorState(control, record.Enabled, record.Visible && onPage);
}

void MirrorRadioGroup(HWND dialog, const int (&ids)[2], const TRadioGroup& record, bool onPage) {
    for (int i = 0; i < 2; ++i) {
        HWND button = GetDlgItem(dialog, ids[i]);
        SendMessageA(button, BM_SETCHECK, record.ItemIndex == i ? BST_CHECKED : BST_UNCHECKED, 0);
        MirrorState(button, record.Enabled, record.Visible && onPage);
    }
}

// "Name|patterns|Name|patterns|" to the dialog's pairs of zero-ended strings.
std::string DialogFilter(const std::string& filter) {
    std::string out = filter;
    while (!out.empty() && out.back() == '|') out.pop_back();
    for (char& c : out)
        if (c == '|') c = '\0';
    out.append(2, '\0');
    return out;
}

UINT_PTR CALLBACK IconPreviewHook(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == CDN_SELCHANGE) {
        char path[MAX_PATH] = {};
        SendMessageA(GetParent(dialog), CDM_GETFILEPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
        const int size = win32::Scale(32);
        HICON icon = static_cast<HICON>(LoadImageA(nullptr, path, IMAGE_ICON, size, size, LR_LOADFROMFILE));
        HICON old = reinterpret_cast<HICON>(
            SendDlgItemMessageA(dialog, IDC_ICONPREVIEW, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0));
        if (old) DestroyIcon(old);
    } else if (msg == WM_DESTROY) {
        HICON old = reinterpret_cast<HICON>(SendDlgItemMessageA(dialog, IDC_ICONPREVIEW, STM_SETICON, 0, 0));
        if (old) DestroyIcon(old);
    }
    return 0;
}

constexpr COLORREF Maroon = RGB(128, 0, 0);
constexpr COLORREF Grey = RGB(128, 128, 128);
constexpr COLORREF WarningRed = RGB(255, 0, 0);

class PlayerWizardWindow : public PlayerWizardHost, public win32::Dialog {
public:
    PlayerWizardWindow(HINSTANCE instance, HWND owner) : instance_(instance), owner_(owner) {}
    ~PlayerWizardWindow() override {
        for (auto& [id, icon] : icons_)
            if (icon.Handle) DestroyIcon(icon.Handle);
    }

    void Attach(TfrmPlayerWizard* form) { form_ = form; }

    void ShowModal(TfrmPlayerWizard&) override { RunModal(instance_, IDD_PLAYERWIZARD, owner_); }
    void Close(TfrmPlayerWizard&) override { EndModal(IDCANCEL); }
    void Released(TfrmPlayerWizard&) override {
        form_ = nullptr;
        delete this;
    }

    std::string OpenFile(const std::string& filter) override { return RunFileDialog(filter, false); }
    std::string ChooseIcon(const std::string& filter) override { return RunFileDialog(filter, true); }

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_INITDIALOG:
                Prepare();
                Mirror();
                return TRUE;
            case WM_COMMAND:
                // Nothing reaches a wizard that has finished, while its window is being taken down.
                if (form_ && !form_->Closed && !syncing_ && !(mirror_ && mirror_->Putting()))
                    Command(LOWORD(wParam), HIWORD(wParam));
                return TRUE;
            case WM_DESTROY:
                // The mirror's tooltip goes with the dialog; no record is put after this.
                mirror_.reset();
                return FALSE;
            case WM_CLOSE:
                // The close box cancels the wizard, also while the test area is open.
                if (form_ && !form_->Closed) Run([&] { form_->btCancelClick(); });
                return TRUE;
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORSTATIC:
                return Colour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), msg);
            case WM_DRAWITEM:
                if (wParam == IDC_WIZARD_BANNER) DrawBanner(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            case WM_DPICHANGED: {
                const RECT* r = reinterpret_cast<const RECT*>(lParam);
                SetWindowPos(Handle(), nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
                return TRUE;
            }
            default:
                return FALSE;
        }
    }

private:
    struct ShownIcon {
        std::string Picture;
        HICON Handle = nullptr;
        bool Loaded = false;
    };

    // Runs a handler of the portable window and shows its state again.
    template <typename F>
    void Run(F&& handler) {
        if (mirror_) mirror_->Take();
        handler();
        if (form_ && !form_->Closed && Handle() && mirror_) Mirror();
    }

    void Command(int id, int code) {
        TfrmPlayerWizard& f = *form_;
        switch (id) {
            case IDOK:
                // Enter presses Next only while Next can be pressed.
                if (f.btNext.Visible && f.btNext.Enabled) Run([&] { f.btNextClick(); });
                break;
            case IDCANCEL:
                // Escape closes the test area first, as its button would.
                if (f.TestAreaOpen())
                    Run([&] { f.btTestClick(); });
                else
                    Run([&] { f.btCancelClick(); });
                break;
            case IDC_btBack: Run([&] { f.btBackClick(); }); break;
            case IDC_Button1: Run([&] { f.btIconClick(); }); break;
            case IDC_btPlayer: Run([&] { f.btPlayerClick(); }); break;
            case IDC_btTest: Run([&] { f.btTestClick(); }); break;
            case IDC_btExecute: Run([&] { f.btExecuteClick(); }); break;
            case IDC_btOpenFile: Run([&] { f.btOpenFileClick(); }); break;
            case IDC_btPlaylist: Run([&] { f.btPlaylistClick(); }); break;
            case IDC_btFile2: Run([&] { f.btFile2Click(); }); break;
            case IDC_btSubtitle: Run([&] { f.btSubtitleClick(); }); break;
            case IDC_edPlayerName:
                if (code == EN_CHANGE) {
                    Run([&] { f.edPlayerNameChange(); });
                } else if (code == EN_KILLFOCUS && IsChild(Handle(), GetFocus())) {
                    // Leaving the box for another control of the wizard, not for another window.
                    Run([&] { f.edPlayerNameExit(); });
                }
                break;
            case IDC_edSingleFileFlag:
            case IDC_edPlaylistFlag:
            case IDC_edSubtitleFlag:
                if (code == EN_CHANGE) FlagChanged(id);
                break;
            case IDC_RdPlaylistYes:
            case IDC_RdPlaylistNo:
                if (code == BN_CLICKED) {
                    f.RdPlaylist.ItemIndex = id == IDC_RdPlaylistYes ? 0 : 1;
                    Run([&] { f.RdPlaylistClick(); });
                }
                break;
            case IDC_RdSubsSupportYes:
            case IDC_RdSubsSupportNo:
                if (code == BN_CLICKED) {
                    f.RdSubsSupport.ItemIndex = id == IDC_RdSubsSupportYes ? 0 : 1;
                    Run([&] { f.RdSubsSupportClick(); });
                }
                break;
            case IDC_cboPlaylist:
                if (code == CBN_SELCHANGE) {
                    mirror_->Take();
                } else if (code == CBN_KILLFOCUS && IsChild(Handle(), GetFocus())) {
                    Run([&] { f.cboPlaylistExit(); });
                }
                break;
            default:
                break;
        }
    }

    // Every change of a command-line box, typed, pasted or cut, goes through the guard with the
    // text the box held before it, so any change that drops a tag can be undone.
    void FlagChanged(int id) {
        TfrmPlayerWizard& f = *form_;
        const std::string typed = ControlText(Item(id));
        if (id == IDC_edSingleFileFlag) {
            f.edSingleFileFlagKeyDown();
            f.edSingleFileFlag.Text = typed;
            Run([&] { f.edSingleFileFlagChange(); });
        } else if (id == IDC_edPlaylistFlag) {
            f.edPlaylistFlagKeyDown();
            f.edPlaylistFlag.Text = typed;
            Run([&] { f.edPlaylistFlagChange(); });
        } else {
            f.edSubtitleFlagKeyDown();
            f.edSubtitleFlag.Text = typed;
            Run([&] { f.edSubtitleFlagChange(); });
        }
    }

    void Prepare() {
        LOGFONTA lf{};
        HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0));
        GetObjectA(dialogFont, sizeof lf, &lf);
        lf.lfWeight = FW_BOLD;
        bold_ = GdiObject<HFONT>(CreateFontIndirectA(&lf));
        for (int id : {IDC_edSingleFileFlag, IDC_edPlaylistFlag, IDC_edSubtitleFlag, IDC_lblWarning, IDC_LblFinalCmd1,
                       IDC_LblFinalCmd2, IDC_LblFinalCmd3, IDC_LblCmd})
            SendDlgItemMessageA(Handle(), id, WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()), FALSE);
        black_ = GdiObject<HBRUSH>(CreateSolidBrush(RGB(0, 0, 0)));
        white_ = GdiObject<HBRUSH>(CreateSolidBrush(RGB(255, 255, 255)));

        const int small = win32::Scale(16);
        for (auto [id, res] : {std::pair{IDC_TestIcon, IDI_WIZARD_TEST}, std::pair{IDC_CmdIcon, IDI_WIZARD_CMD}}) {
            HICON icon = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(res), IMAGE_ICON, small, small, 0));
            icons_[id] = {"", icon, true};
            SendDlgItemMessageA(Handle(), id, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        }
        LoadBanner();
        shownHeight_ = 0;
        shownPage_ = -1;

        TfrmPlayerWizard& f = *form_;
        mirror_ = std::make_unique<win32::ControlMirror>(Handle());
        win32::ControlMirror& m = *mirror_;
        m.Bind(IDC_edPlayerName, f.edPlayerName);
        m.Bind(IDC_Button1, f.Button1);
        m.Bind(IDC_LblIcon, f.LblIcon);
        m.Bind(IDC_btPlayer, f.btPlayer);
        m.Bind(IDC_cboPlaylist, f.cboPlaylist);
        m.Bind(IDC_LblFinalPlayerName, f.LblFinalPlayerName);
        m.Bind(IDC_LblPlaylistExt, f.LblPlaylistExt);
        m.Bind(IDC_LblFinalCmd1, f.LblFinalCmd1);
        m.Bind(IDC_LblFinalCmd2, f.LblFinalCmd2);
        m.Bind(IDC_LblFinalCmd3, f.LblFinalCmd3);
        m.Bind(IDC_lblWarning, f.lblWarning);
        m.Bind(IDC_btTest, f.btTest);
        m.Bind(IDCANCEL, f.btCancel);
        m.Bind(IDC_btBack, f.btBack);
        m.Bind(IDOK, f.btNext);
        m.Bind(IDC_LblCmd, f.LblCmd);
        m.Bind(IDC_btExecute, f.btExecute);
        m.Bind(IDC_btOpenFile, f.btOpenFile);
        m.Bind(IDC_btPlaylist, f.btPlaylist);
        m.Bind(IDC_btFile2, f.btFile2);
        m.Bind(IDC_btSubtitle, f.btSubtitle);
    }

    void LoadBanner() {
        HRSRC res = FindResourceA(instance_, MAKEINTRESOURCEA(IDR_WIZARD_BANNER), MAKEINTRESOURCEA(10));
        HGLOBAL data = res ? LoadResource(instance_, res) : nullptr;
        if (!data) return;
        const std::string bytes(static_cast<const char*>(LockResource(data)), SizeofResource(instance_, res));
        banner_ = DecodeJpeg(bytes);
    }

    void DrawBanner(const DRAWITEMSTRUCT& item) {
        const RECT& r = item.rcItem;
        if (banner_.Width == 0) return;
        // Stretched proportionally to the banner's height; what does not fit is cut on the right.
        const int h = r.bottom - r.top;
        const int w = MulDiv(banner_.Width, h, banner_.Height);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = banner_.Width;
        bi.bmiHeader.biHeight = -banner_.Height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 24;
        bi.bmiHeader.biCompression = BI_RGB;
        const int stride = (banner_.Width * 3 + 3) & ~3;
        std::vector<unsigned char> bgr(static_cast<size_t>(stride) * banner_.Height);
        for (int y = 0; y < banner_.Height; ++y)
            for (int x = 0; x < banner_.Width; ++x)
                for (int c = 0; c < 3; ++c)
                    bgr[static_cast<size_t>(y) * stride + x * 3 + c] =
                        banner_.Rgb[(static_cast<size_t>(y) * banner_.Width + x) * 3 + (2 - c)];
        SetStretchBltMode(item.hDC, HALFTONE);
        StretchDIBits(item.hDC, r.left, r.top, w, h, 0, 0, banner_.Width, banner_.Height, bgr.data(), &bi,
                      DIB_RGB_COLORS, SRCCOPY);
    }

    INT_PTR Colour(HDC dc, HWND control, UINT msg) {
        const int id = GetDlgCtrlID(control);
        if (msg == WM_CTLCOLOREDIT) {
            if (id != IDC_edSingleFileFlag && id != IDC_edPlaylistFlag && id != IDC_edSubtitleFlag) return FALSE;
            SetTextColor(dc, RGB(255, 255, 255));
            SetBkColor(dc, RGB(0, 0, 0));
            return reinterpret_cast<INT_PTR>(black_.get());
        }
        if (id == IDC_LblFinalPlayerName || id == IDC_LblPlaylistExt) {
            SetBkColor(dc, RGB(255, 255, 255));
            return reinterpret_cast<INT_PTR>(white_.get());
        }
        // The examples on the command-line pages: a grey "e.g:" and maroon switches.
        const int page = (id - IDC_PAGETEXT) / IDC_PAGETEXT_PER_PAGE;
        const int k = (id - IDC_PAGETEXT) % IDC_PAGETEXT_PER_PAGE;
        const bool example = id >= IDC_PAGETEXT && (page == 1 || page == 3 || page == 5);
        COLORREF text;
        if (id == IDC_lblWarning)
            text = WarningRed;
        else if (example && k >= 10)
            text = Maroon;
        else if (example && k == 5)
            text = Grey;
        else
            return FALSE;
        SetTextColor(dc, text);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }

    // A picture control shows its file's icon, or the program's icon for none (or an unreadable one).
    void MirrorIcon(int id, const std::string& picture, bool visible) {
        ShownIcon& shown = icons_[id];
        if (!shown.Loaded || shown.Picture != picture) {
            const int size = win32::Scale(32);
            HICON icon = nullptr;
            if (!picture.empty())
                icon = static_cast<HICON>(LoadImageA(nullptr, picture.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
            if (!icon)
                icon = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, size, size, 0));
            SendDlgItemMessageA(Handle(), id, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
            if (shown.Handle) DestroyIcon(shown.Handle);
            shown = {picture, icon, true};
        }
        MirrorState(Item(id), true, visible);
    }

    // The portable window's whole state onto the real one.
    void Mirror() {
        const bool wasSyncing = syncing_;
        syncing_ = true;
        TfrmPlayerWizard& f = *form_;
        const int page = f.PageControl.ActivePage;
        const bool area = f.TestAreaOpen();
        using P = TfrmPlayerWizard::Page;

        mirror_->Put();
        for (int p = 0; p < P::PageCount; ++p)
            for (int k = 0; k < IDC_PAGETEXT_PER_PAGE; ++k)
                MirrorState(Item(IDC_PAGETEXT + p * IDC_PAGETEXT_PER_PAGE + k), true, p == page);
        MirrorIcon(IDC_ImgIcon, f.ImgIcon.Picture, f.ImgIcon.Visible);
        MirrorEdit(Item(IDC_edSingleFileFlag), f.edSingleFileFlag, true);
        MirrorEdit(Item(IDC_edPlaylistFlag), f.edPlaylistFlag, true);
        MirrorEdit(Item(IDC_edSubtitleFlag), f.edSubtitleFlag, true);
        MirrorRadioGroup(Handle(), {IDC_RdPlaylistYes, IDC_RdPlaylistNo}, f.RdPlaylist, true);
        MirrorRadioGroup(Handle(), {IDC_RdSubsSupportYes, IDC_RdSubsSupportNo}, f.RdSubsSupport, true);
        MirrorIcon(IDC_ImgFinalIcon, f.ImgFinalIcon.Picture, f.ImgFinalIcon.Visible);

        MirrorState(Item(IDC_TestIcon), true, f.PanelTest.Visible);
        MirrorState(Item(IDC_ButtonBarLine), true, !area);
        const int emu = f.PageEmulator.Visible ? f.PageEmulator.ActivePage : -1;
        MirrorState(Item(IDC_BrowseText), true, emu >= 0);
        MirrorState(Item(IDC_FileText), true, emu == 0);
        MirrorState(Item(IDC_PlaylistText), true, emu == 1);
        MirrorState(Item(IDC_File2Text), true, emu == 2);
        MirrorState(Item(IDC_SubtitleText), true, emu == 2);
        MirrorState(Item(IDC_PanelCmd), true, f.PanelCmd.Visible);
        MirrorState(Item(IDC_CmdIcon), true, f.PanelCmd.Visible);

        if (ControlText(Handle()) != f.Caption) SetWindowTextA(Handle(), f.Caption.c_str());
        if (shownHeight_ != f.Height) {
            shownHeight_ = f.Height;
            Resize(f.Height == WizardTestHeight ? WIZARD_TEST_CLIENT_HEIGHT : WIZARD_CLIENT_HEIGHT);
        }
        if (shownPage_ != page) {
            shownPage_ = page;
            FocusPage(page);
        }
        syncing_ = wasSyncing;
    }

    // The template is laid out in dialog units, so the window grows with the dialog font and DPI.
    void Resize(int clientHeightDlu) {
        RECT r{0, 0, WIZARD_CLIENT_WIDTH, clientHeightDlu};
        MapDialogRect(Handle(), &r);
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE));
        const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE));
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
        SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // The keyboard follows the page: the command line on its pages, else the page's first control.
    void FocusPage(int page) {
        using P = TfrmPlayerWizard::Page;
        int id = IDOK;
        switch (page) {
            case P::TabPlayerLocation: id = IDC_edPlayerName; break;
            case P::TabSingle: id = IDC_edSingleFileFlag; break;
            case P::TabPlaylist: id = IDC_edPlaylistFlag; break;
            case P::TabSubs: id = IDC_edSubtitleFlag; break;
            case P::TabPlaylistSup: id = form_->RdPlaylist.ItemIndex == 1 ? IDC_RdPlaylistNo : IDC_RdPlaylistYes; break;
            case P::TabSubsSup:
                id = form_->RdSubsSupport.ItemIndex == 1 ? IDC_RdSubsSupportNo : IDC_RdSubsSupportYes;
                break;
            default: break;
        }
        // Posted: the focus moves once the handler that changed the page has finished.
        PostMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
    }

    std::string RunFileDialog(const std::string& filter, bool iconPreview) {
        const std::string pairs = DialogFilter(filter);
        char file[MAX_PATH] = {};
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = Handle();
        ofn.hInstance = instance_;
        ofn.lpstrFilter = pairs.c_str();
        ofn.lpstrFile = file;
        ofn.nMaxFile = MAX_PATH;
        ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        if (iconPreview) {
            ofn.Flags |= OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
            ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_ICONPREVIEW);
            ofn.lpfnHook = IconPreviewHook;
        }
        return GetOpenFileNameA(&ofn) ? std::string(file) : std::string();
    }

    HINSTANCE instance_;
    HWND owner_;
    TfrmPlayerWizard* form_ = nullptr;
    bool syncing_ = false;
    int shownHeight_ = 0;
    int shownPage_ = -1;
    GdiObject<HFONT> bold_;
    GdiObject<HBRUSH> black_;
    GdiObject<HBRUSH> white_;
    JpegImage banner_;
    std::map<int, ShownIcon> icons_;
    std::unique_ptr<win32::ControlMirror> mirror_;
};

}  // namespace

std::unique_ptr<TfrmPlayerWizard> CreatePlayerWizardWindow(HINSTANCE instance, HWND owner) {
    auto* window = new PlayerWizardWindow(instance, owner);
    auto form = std::make_unique<TfrmPlayerWizard>(window);
    window->Attach(form.get());
    return form;
}

}  // namespace vexamo
