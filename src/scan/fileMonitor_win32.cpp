// The real "File Monitor" dialog behind the portable TfrmMonitor; it exists only while shown.
#include "scan/fileMonitor.h"

#include "../../resources/resource.h"
#include "platform/win32/Controls_win32.h"
#include "platform/win32/Menu.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/ShellDialogs.h"
#include "platform/win32/Window.h"
#include "scan/fileMonitor_res.h"

namespace vexamo {

namespace {

using win32::Scale;

constexpr COLORREF Navy = RGB(0, 0, 128);
constexpr COLORREF Gray = RGB(128, 128, 128);

constexpr int BannerWidth = 450, BannerHeight = 69;
constexpr int MenuPictureSize = 16;
constexpr int MenuBannerStart = 60;

// Owns the real dialog of one portable TfrmMonitor while it is shown modally.
class MonitorWindow : public MonitorHost, public win32::Dialog {
public:
    explicit MonitorWindow(TfrmMonitor& form) : form_(form) {}

    void ShowModal() override { RunModal(IDD_MONITOR, nullptr); }

    void EndModal() override { Dialog::EndModal(IDCANCEL); }

    int PopupOptions(bool atSelectedRow) override {
        POINT at{};
        RECT row{};
        HWND list = Item(IDC_MONITOR_LSTFILETYPES);
        if (atSelectedRow && ListView_GetItemRect(list, form_.lstFileTypes.ItemIndex, &row, LVIR_BOUNDS)) {
            at = {(row.left + row.right) / 2, row.bottom};
            ClientToScreen(list, &at);
        } else {
            GetCursorPos(&at);
        }
        return menu_->Choose(Handle(), at, TPM_CENTERALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON);
    }

    std::string ChooseFile(const std::string& filter) override { return win32::OpenFile(Handle(), filter); }

protected:
    bool InitDialog() override {
        win32::SetClientAndCentre(Handle(), TfrmMonitor::ClientWidth, TfrmMonitor::ClientHeight);
        for (const TfrmMonitor::Place& p : TfrmMonitor::Places)
            MoveWindow(Item(p.Id), Scale(p.Left), Scale(p.Top), Scale(p.Width), Scale(p.Height), FALSE);

        Embolden({IDC_MONITOR_LABEL5, IDC_MONITOR_LABEL1, IDC_MONITOR_LBLDEVICE, IDCANCEL});
        LOGFONTA heading = win32::FontOf(Bold());
        heading.lfHeight = heading.lfHeight * 3 / 2;
        heading_ = win32::Font(CreateFontIndirectA(&heading));
        Colour({IDC_MONITOR_LABEL5, IDC_MONITOR_LABEL3, IDC_MONITOR_LBLCDLABEL, IDC_MONITOR_LABEL2}, std::nullopt);
        Colour({IDC_MONITOR_LABEL1, IDC_MONITOR_LBLDEVICE}, Gray);

        // Pictures enlarged with the screen's DPI, as the text beside them is.
        banner_ = win32::LoadPngBitmap(IDB_SCAN_BANNER, Scale(BannerWidth), Scale(BannerHeight));
        types_ = win32::LoadImageStrip(IDB_SCAN_TYPES, Scale(TfrmMonitor::TypePictureWidth),
                                       Scale(TfrmMonitor::TypePictureHeight), TfrmMonitor::TypePictureCount);
        menuPictures_ = win32::LoadImageStrip(IDB_SCAN_POPUP, Scale(MenuPictureSize), Scale(MenuPictureSize), 1);
        menu_ = std::make_unique<win32::PopupMenu>([this] { return form_.popOptions; },
                                                   win32::MenuLook{menuPictures_, MenuBannerStart});

        win32::ControlMirror& m = Mirror();
        m.SetImages(IDC_MONITOR_LSTFILETYPES, types_);
        form_.BindControls(m);
        m.UseHandCursor(IDC_MONITOR_LSTFILETYPES);
        m.UseHandCursor(IDCANCEL);
        m.UnwrappedHints();
        OnDialogKey([this](TDialogKey key, const TControl*) { form_.DialogKey(key); });
        SetForegroundWindow(Handle());
        return true;
    }

    std::optional<INT_PTR> Message(UINT msg, WPARAM wParam, LPARAM lParam) override {
        LRESULT menuAnswer = 0;
        if (menu_ && menu_->Message(msg, wParam, lParam, menuAnswer)) return Answer(menuAnswer);
        if (msg == WM_PAINT) {
            Paint();
            return TRUE;
        }
        // The context-menu key (or Shift+F10) on the list; a right click came as NM_RCLICK.
        if (msg != WM_CONTEXTMENU || reinterpret_cast<HWND>(wParam) != Item(IDC_MONITOR_LSTFILETYPES) || lParam != -1)
            return std::nullopt;
        Run([&] { form_.lstFileTypesKeyDown(ListKey::ContextMenu); });
        return TRUE;
    }

private:
    void Paint() {
        const win32::ScopedPaint dc(Handle());
        if (banner_) {
            const win32::MemoryDC memory(dc);
            const win32::ScopedSelect picture(memory, banner_);
            BitBlt(dc, 0, 0, Scale(BannerWidth), Scale(BannerHeight), memory, 0, 0, SRCCOPY);
        }
        const TfrmMonitor::Place& h = TfrmMonitor::HeadingPlace;
        const RECT r{Scale(h.Left), Scale(h.Top), Scale(h.Left + h.Width), Scale(h.Top + h.Height)};
        win32::DrawTextOver(dc, form_.Label4.Caption, r, Navy, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, heading_);
    }

    TfrmMonitor& form_;
    win32::Font heading_;
    win32::Bitmap banner_;
    win32::ImageList types_, menuPictures_;
    std::unique_ptr<win32::PopupMenu> menu_;
};

}  // namespace

std::unique_ptr<MonitorHost> MonitorBinding(TfrmMonitor& form) { return std::make_unique<MonitorWindow>(form); }

}  // namespace vexamo
